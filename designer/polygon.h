#pragma once
// The polygon outline: point markers (children of the main window), adding,
// dragging, typing and deleting points, and the rebuild that moves the
// surface to the points' bounding box and cuts it to the polygon.

#include <vector>

#include "common/win32/win32.h"

namespace quorvin {

inline constexpr UINT WM_POINT_COMMIT = 0x8000;   // WM_APP
inline constexpr UINT WM_POINT_RESTORE = 0x8001;  // WM_APP + 1
inline constexpr int kMarkerIdBase = 300;         // marker id = base + index
// Style of a point marker: WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_BLACKRECT.
inline constexpr DWORD kMarkerStyle = 0x50000104;

// The STATIC class procedure, taken from marker 300 when the first markers
// are made; every marker passes its messages on to it and gets it back when
// destroyed. Null until a marker has been made.
extern WNDPROC markerStaticProc;
// The last polygon region made. The surface owns it from SetWindowRgn on
// (the system deletes it with the next region or with the surface), so this
// is a record of its value only: never delete it through this variable.
extern HRGN regionHandle;

// Subclass procedure of every marker: press (with Select), move, release
// (the commit and rebuild), WM_POINT_COMMIT and WM_POINT_RESTORE.
LRESULT CALLBACK markerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's mouse and Delete handlers, which serve only the outline.
// Button down: with points, hides the markers and no point is active; a
// marker still picked up (its release lost) is only dropped.
void onMainWindowButtonDown();
// Button up: with AddPoint and a project open, adds a point at the cursor
// (the first click makes a triangle with the surface's top corners); a
// release over a visible marker adds nothing.
void onMainWindowButtonUp(WPARAM wParam, LPARAM lParam);
// Mouse move: passed on to the active marker, if a point is active.
void onMainWindowMouseMove(WPARAM wParam, LPARAM lParam);
// Deletes the active point; false when no point is active (the key then
// goes to the surface). With three points the whole outline goes.
bool deleteActivePoint();

// Markers of an opened project: made at markerPoints, point 0 committed.
// Does nothing unless the project's outline is a polygon.
void createOpenedProjectMarkers();
// Destroys every point marker (whatever pointCount says); the project's
// point arrays are left alone, activeMarker becomes 0.
void destroyPointMarkers();
// Shows every marker on top of its siblings / hides every marker.
void showPointMarkers();
void hidePointMarkers();

// The marker windows now children of the main window, by ascending id.
// Markers are told apart from other children by their procedure, so a
// marker id that another child also uses (the status line has 400) is no
// confusion.
std::vector<HWND> pointMarkers();
// The marker of point `index`, null when there is none.
HWND pointMarker(int index);

}  // namespace quorvin
