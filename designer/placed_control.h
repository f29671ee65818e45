#pragma once
// The placed-control procedure and the size handles' work: every control on
// the surface is subclassed so that a press selects it and starts a move,
// and the corner handles size the selected control.

#include <cstdint>
#include <vector>

#include "app/model.h"
#include "common/win32/win32.h"
#include "designer/geometry.h"

namespace quorvin {

// Subclass procedure of every placed control (the control's own procedure
// is kept in its entry's savedProc).
LRESULT CALLBACK placedControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A click on the size handle of `corner` (a sizing tool code): picks that
// corner up when nothing is picked up (the corner becomes the current tool),
// otherwise drops the corner being dragged and gives the selected control
// its stored rectangle.
void pickUpOrDropCorner(ToolCode corner);
// After a corner was dropped (dropCorner): the selected control takes its
// stored rectangle and the fields show it.
void applyDroppedCorner();

// While a corner is picked up: the dragged corner of the selected control's
// stored rectangle goes to the cursor (switching corners when it crosses the
// opposite edge) and the handles follow. The control keeps its place and
// size until the drop.
void applySizingStep();

// While a control is being moved: the selected control's top-left goes to
// the cursor minus dragOffset, and the handles follow. With several
// selected, their outlines follow the cursor and the controls all move by
// as much at the release.
void moveSelectedToCursor();

// A press with the Select tool on control `index` (on it, or on the surface
// over a group box): with Ctrl or Shift held it joins or leaves the
// selection; otherwise it is selected (staying with the others when it
// already was one of several) and the move begins.
void pressOnControl(int index);

// Every selected control moves by (dx, dy) in one batch; the primary's
// handles follow.
void moveSelectionBy(std::int32_t dx, std::int32_t dy);

// Gives the controls `indices` the rectangles `rects` (records and windows,
// one batch of window moves). The hollow corners are taken away first; then
// the primary's handles follow, and with `withOtherHandles` every selected
// control's handles (otherwise the caller shows them again).
void giveControlsRects(const std::vector<std::int32_t>& indices, const std::vector<PixelRect>& rects,
                       bool withOtherHandles);

}  // namespace quorvin
