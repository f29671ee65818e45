#pragma once
// The editing state that the surface, the placed controls, the palette and
// the polygon markers share. One instance of each; single UI thread, no locks.

#include <cstdint>

#include "app/model.h"

namespace quorvin {

// Cursor at the last left-button press, in surface client coordinates (the
// main window's point-adding handler stores main-window client coordinates).
inline RegionPoint pressPoint;
// Cursor last read on a move or a release, surface client coordinates.
inline RegionPoint cursorPoint;
// Cursor minus the selected control's top-left when a move began.
inline RegionPoint dragOffset;
// 1 while a size handle or a polygon marker is picked up and not dropped.
inline std::int32_t pickupPending = 0;

// 0 idle; 1 a marker is being dragged or committed; 2 being put back.
inline std::int32_t markerDragState = 0;
// Cursor inside the marker (marker client coordinates) when it was pressed.
inline RegionPoint markerGrabOffset;

}  // namespace quorvin
