#pragma once
// The design surface (class SubWindow): the window that stands for the
// designed window, with the placed controls as its children.

#include <array>

#include "app/model.h"
#include "common/file_io.h"
#include "common/win32/win32.h"
#include "designer/geometry.h"
// The placed controls' procedure, moving and sizing, used with the surface.
#include "designer/placed_control.h"

namespace quorvin {

inline constexpr int kControlIdBase = 1000000;  // control id = base + index

LRESULT CALLBACK surfaceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the surface for the current project (class SubWindow, text the
// project's title, WS_CHILD | WS_OVERLAPPEDWINDOW) at the given rectangle in
// main-window client coordinates, stores it in project.surface. Not shown.
HWND createSurface(int x, int y, int width, int height);

// Fills objects[slot] from a placement drag with `tool`, creates its control,
// subclasses it and gives it the project's font; `style` becomes what the
// created control reports. False, with the entry untouched, when the drag is
// degenerate (same x or same y), `tool` places nothing, `slot` is outside
// `objects` or the control cannot be made. objectCount is the caller's.
bool createPlacedControl(int slot, ToolCode tool, RegionPoint release, RegionPoint press);

// Makes objects[index]'s control again from its record (class and extended
// style by kind, caption, stored style, id base + index), subclassed and
// given fontHandle. Destroys the old window first if there is one. The
// control is always made a child (WS_CHILD added, WS_POPUP left out, for
// styles read from a file); the stored style is left as it is. Null, with
// `window` 0, when the control cannot be made.
HWND recreateObjectControl(int index);

// Places a new control after a release with a placement tool, at the drag
// from pressPoint to the cursor; shared by the surface and by releases that
// land on a placed control. Then the Select tool, and the new control is the
// selection (handles around it, the fields showing it). True when placed; a degenerate drag places nothing and keeps the tool.
bool placeFromRelease();

// The selected control's entry, or null when nothing is selected (or the
// index is outside the entries in use). Valid until `objects` changes.
DesignObject* selectedEntry();

// Starts moving the selected control `object` from pressPoint: the tool
// becomes Moving and the surface captures the mouse, so that the move and its release arrive even
// when the cursor is over a size handle or outside the surface (the surface
// passes them on to the control, whose release ends the move and the
// capture).
void beginMove(const DesignObject& object);

// Moves the four size handles around `object` (centred on its corners) and
// shows them; hides them. Both do nothing while no surface exists.
// hideSizeHandles hides the other selected controls' corners as well.
void placeSizeHandles(const DesignObject& object);
void hideSizeHandles();

// Moves `handles` (top-left, top-right, bottom-left, bottom-right; null ones
// skipped) onto the corners of `rect`, in their parent's client
// coordinates, and shows them.
void placeHandleWindows(const std::array<HWND, 4>& handles, const PixelRect& rect);

// Black handles around the primary control, hollow ones around every other
// selected control; all hidden when nothing is selected.
void showSelectionHandles();
// Hides the hollow corners only (while a selection is dragged they stay
// where the controls were; they come back at the release).
void hideOtherHandles();

// A press on the empty surface with the Select tool starts a rubber band
// at pressPoint (the surface captures the mouse until the release). With
// `adds` the controls it touches join the selection instead of replacing it.
void beginBand(HWND surface, bool adds);

// Ctrl or Shift held: a click adds a control to the selection or takes it out.
bool selectionKeysHeld();

// Reads `path` and shows it on a new surface, replacing the open project.
// False when the file cannot be read (nothing changes then). A control that
// cannot be made again leaves the list, so that every entry in use has a
// window.
bool openProject(const Path& path);

// The cursor position in `window`'s client coordinates, read from the system.
RegionPoint cursorIn(HWND window);

}  // namespace quorvin
