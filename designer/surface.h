#pragma once
// The design surface (class SubWindow): the window that stands for the
// designed window, with the placed controls as its children, and the placed-
// control procedure that turns presses on controls into selection and moves.

#include "app/model.h"
#include "common/file_io.h"
#include "common/win32/win32.h"

namespace quorvin {

inline constexpr int kControlIdBase = 1000000;  // control id = base + index

LRESULT CALLBACK surfaceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK placedControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the surface for the current project (class SubWindow, text the
// project's title, WS_CHILD | WS_OVERLAPPEDWINDOW) at the given rectangle in
// main-window client coordinates, stores it in project.surface. Not shown.
HWND createSurface(int x, int y, int width, int height);

// Fills objects[slot] from a placement drag with `tool`, creates its control,
// subclasses it and gives it the project's font. False when the drag is
// degenerate (same x or same y) and nothing was made.
bool createPlacedControl(int slot, ToolCode tool, RegionPoint release, RegionPoint press);

// Makes objects[index]'s control again from its record (class and extended
// style by kind, caption, stored style, id base + index), subclassed and
// given fontHandle. Destroys the old window first if there is one.
HWND recreateObjectControl(int index);

// Places a new control after a release with a placement tool; shared by the
// surface and by releases that land on a placed control. True when placed.
bool placeFromRelease();

void placeSizeHandles(const DesignObject& object);
void hideSizeHandles();

// Reads `path` and shows it on a new surface, replacing the open project.
// False when the file cannot be read (nothing changes then).
bool openProject(const Path& path);

// The cursor position in `window`'s client coordinates, read from the system.
RegionPoint cursorIn(HWND window);

}  // namespace quorvin
