#pragma once
// What helps to place controls neatly on the design surface: the grid (its
// dots and the snapping of placing, moving and sizing), the snap lines
// shown while a control is dragged, and the order of the controls: bring to
// front, send to back, order by position and the tab-order mode in which
// each control shows its number and clicks give the order.
//
// Every command works on the selection (every selected control) and is one
// undo step. Holding Alt while dragging places freely.

#include <cstdint>
#include <span>

#include "app/model.h"
#include "common/win32/win32.h"
#include "designer/geometry.h"

namespace quorvin {

// ---- Grid ----------------------------------------------------------------

// The grid settings (ownSettings) changed: the surface repaints its dots.
void gridSettingsChanged();
// WM_ERASEBKGND of the surface: paints the background with the grid's dots
// when the grid is shown. False when the grid is hidden (the class brush
// erases as before).
bool eraseSurfaceWithGrid(HWND surface, HDC dc);

// A point of a placement drag, on the grid when snapping is on and Alt is
// not held.
RegionPoint snappedPlacementPoint(RegionPoint point);

// ---- Snap lines while dragging -------------------------------------------

// Where control `moving` goes when the drag puts its top-left at `raw`:
// lined up with another control's edge or centre when one is near (a snap
// line then shows the alignment), else on the grid when snapping is on.
// Alt held: `raw` as it is.
RegionPoint snappedMovePosition(std::int32_t moving, RegionPoint raw);
// The cursor dragging a corner of control `sizing`, snapped the same way.
RegionPoint snappedSizingCursor(std::int32_t sizing, RegionPoint cursor);
// The drag ended: the snap lines go.
void hideSnapLines();

// ---- Order -----------------------------------------------------------------

// Bring to front: the selected controls are created last. Send to back:
// first. Order by position: every control, rows top to bottom, then left to
// right, a group box before what it holds. Each renumbers the controls and
// restacks their windows; nothing happens when the order stays.
void bringSelectionToFront();
void sendSelectionToBack();
void orderControlsByPosition();

// Makes the stacking of the controls' windows follow their order (entry 0
// on top, as creation in that order gives), with the size handles above
// them and the surface's marks below. `stackedAt[k]` is the place among the
// controls' windows, top first, where the window of entry k stands now: the
// windows stand in the order of the list between changes, so a reordering
// passes its order (the old index of each new place). Only the windows out
// of place move: those outside the longest run already in the right order,
// so bringing one control to front moves one window, whatever the design's
// size. (Asking the system how the windows stack would cost a call into
// Wine's server per window: tens of milliseconds at 2,000 controls.)
void restackControls(std::span<const std::size_t> stackedAt);

// The same after the window of entry `index` was made again, below all
// others; the rest stand in the list's order.
void restackControlMadeAgain(std::size_t index);

// The tab-order mode: entered and left by its command, left by Escape and
// when the design goes. Entering it clears the selection.
bool tabOrderModeActive();
void toggleTabOrderMode();
void leaveTabOrderMode();
// A press on control `index` while the mode is on: it takes the next place.
void tabOrderClickOn(std::int32_t index);
// The design changed under the mode (undo, a placement, a deletion): the
// numbers follow.
void refreshTabOrderNumbers();

}  // namespace quorvin
