#pragma once
// The polygon outline: point markers (children of the main window), adding,
// dragging, typing and deleting points, and the rebuild that moves the
// surface to the points' bounding box and cuts it to the polygon.

#include "common/win32/win32.h"

namespace quorvin {

inline constexpr UINT WM_POINT_COMMIT = 0x8000;   // WM_APP
inline constexpr UINT WM_POINT_RESTORE = 0x8001;  // WM_APP + 1
inline constexpr int kMarkerIdBase = 300;         // marker id = base + index

LRESULT CALLBACK markerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's mouse and Delete handlers, which serve only the outline.
void onMainWindowButtonDown();
void onMainWindowButtonUp(WPARAM wParam, LPARAM lParam);
void onMainWindowMouseMove(WPARAM wParam, LPARAM lParam);
// Deletes the active point; false when no point is active (the key then
// goes to the surface).
bool deleteActivePoint();

// Markers of an opened project: made at markerPoints, point 0 committed.
void createOpenedProjectMarkers();
void destroyPointMarkers();
void showPointMarkers();
void hidePointMarkers();

}  // namespace quorvin
