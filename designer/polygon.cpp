// The polygon outline: the point markers, the main window's handlers that
// add, hide and delete points, and the commit that rebuilds the outline from
// the markers and cuts the surface to it.
#include "designer/polygon.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

#include "app/main_window.h"
#include "app/model.h"
#include "app/model_win32.h"
#include "common/win32/gdi.h"
#include "common/win32/window_idioms.h"
#include "designer/design_changes.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/geometry.h"
#include "designer/outline_points.h"
#include "designer/repaint.h"
#include "designer/surface.h"

namespace quorvin {

WNDPROC markerStaticProc = nullptr;
HRGN regionHandle = nullptr;

namespace {

constexpr UINT kShowOnTop = SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE;

int controlIdOf(int index) { return kMarkerIdBase + index; }

bool isMarker(HWND window) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == &markerProc;
}

// True when the active point indexes the point arrays (the only state in
// which a marker message may touch them).
bool activePointInRange() {
  return project.activePoint >= 0 && project.activePoint < project.pointCapacity() &&
         static_cast<std::size_t>(project.activePoint) < project.regionPoints.size();
}

// Every marker window made, dead ones included until the next look-up
// drops them. Asking the system for the main window's children instead
// costs a call into Wine's server per child: with 500 markers that was most
// of a press on a control (which makes sure the markers are hidden).
std::vector<HWND> madeMarkers;

// A new marker window (visible, not yet subclassed) with its top-left at
// `topLeft`, in main-window client coordinates. Null when it cannot be made.
HWND createMarkerWindow(int index, RegionPoint topLeft) {
  const HWND marker = CreateWindowExW(0, L"STATIC", L"", kMarkerStyle, topLeft.x, topLeft.y,
                                      kMarkerSize, kMarkerSize, mainWindow,
                                      idAsMenu(controlIdOf(index)), GetModuleHandleW(nullptr),
                                      nullptr);
  if (marker != nullptr) madeMarkers.push_back(marker);
  return marker;
}

// Remembers the STATIC class procedure from `marker` (marker 300 when the
// first markers are made).
void takeStaticProc(HWND marker) {
  markerStaticProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(marker, GWLP_WNDPROC));
}

void subclassMarker(HWND marker) {
  const auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(marker, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&markerProc)));
  // Markers are all of one class: should none have given its procedure yet,
  // this one's serves.
  if (markerStaticProc == nullptr) markerStaticProc = previous;
}

void bringToTopAndShow(HWND marker) {
  SetWindowPos(marker, HWND_TOP, 0, 0, 0, 0, kShowOnTop);
}

FrameMetrics currentFrameMetrics() {
  return {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME),
          GetSystemMetrics(SM_CYCAPTION)};
}

// The same pixels as `region`, its rectangles merged: the union with a copy
// of itself. Wine builds polygon regions of self-crossing outlines with
// side-by-side rectangles in one band, which its window-region call refuses;
// the union merges them. Null on failure.
UniqueRegion mergedRegion(HRGN region) {
  UniqueRegion copy(CreateRectRgn(0, 0, 0, 0));
  UniqueRegion merged(CreateRectRgn(0, 0, 0, 0));
  if (!copy || !merged || CombineRgn(copy.get(), region, nullptr, RGN_COPY) == ERROR ||
      CombineRgn(merged.get(), region, copy.get(), RGN_OR) == ERROR)
    return UniqueRegion(nullptr);
  return merged;
}

// Gives `region` to `window`. With `onlyChanges` (the window's rectangle
// has not changed) only where the old and the new region differ may be
// repainted, else the whole window is.
RegionReplaced giveRegion(HWND window, UniqueRegion& region, bool onlyChanges) {
  const RegionReplaced result =
      onlyChanges ? replaceWindowRegion(window, region.get())
      : SetWindowRgn(window, region.get(), TRUE) != 0 ? RegionReplaced::WindowRedrawn
                                                      : RegionReplaced::Refused;
  if (result != RegionReplaced::Refused) regionHandle = region.release();
  return result;
}

// Moves the surface to the project's rectangle and cuts it to the polygon
// of the first pointCount regionPoints. True when the surface kept its
// rectangle and only the change of its shape was repainted, the main
// window's part under it included.
bool applyOutlineToSurface(const PixelRect& before) {
  const HWND surface = surfaceWindow();
  if (surface == nullptr) return false;
  const bool sameRect =
      before == PixelRect{project.x, project.y, project.width, project.height};
  MoveWindow(surface, project.x, project.y, project.width, project.height, TRUE);
  const auto count = static_cast<int>(std::min<std::size_t>(
      static_cast<std::size_t>(std::max(project.pointCount, 0)), project.regionPoints.size()));
  if (count < 3) return false;
  UniqueRegion region(CreatePolygonRgn(reinterpret_cast<const POINT*>(project.regionPoints.data()),
                                       count, WINDING));
  if (!region) return false;
  RegionReplaced result = giveRegion(surface, region, sameRect);
  if (result == RegionReplaced::Refused) {
    UniqueRegion merged = mergedRegion(region.get());
    if (merged) result = giveRegion(surface, merged, sameRect);
  }
  return result == RegionReplaced::ChangesRepainted;
}

// The commit: the active marker's place becomes its point, the outline is
// rebuilt, the surface follows, and with a drag (state 1) the fields show
// the point.
void commitActivePoint() {
  const HWND marker = asHwnd(project.activeMarker);
  const auto index = static_cast<std::size_t>(project.activePoint);
  if (IsWindow(marker)) {
    const RECT frame = rectInParent(marker);  // the main window's client coordinates
    project.markerPoints[index] = {frame.left, frame.top};
  }
  if (const HWND captured = GetCapture(); captured != nullptr && isMarker(captured))
    ReleaseCapture();
  const PixelRect before{project.x, project.y, project.width, project.height};
  // A point that keeps the outline's bounding box changes the shape only:
  // what the old and the new shape do not share is repainted, not the
  // whole main window with thousands of controls on the surface.
  const bool onlyChanges =
      rebuildOutline(project, currentFrameMetrics()) && applyOutlineToSurface(before);
  if (mainWindow != nullptr && !onlyChanges) InvalidateRect(mainWindow, nullptr, TRUE);
  if (markerDragState == kMarkerDragged) showPointFields(project.activePoint);
  endPointDrag();
}

void onMarkerButtonDown(HWND marker) {
  if (markerDragState == kMarkerDragged || currentTool != ToolCode::Select) return;
  const int index = GetDlgCtrlID(marker) - kMarkerIdBase;
  beginPointDrag(index, cursorIn(marker));
  project.activePoint = index;
  project.activeMarker = asHandle(marker);
  // The release then reaches the marker wherever it happens, also outside
  // the main window, so a drag always ends with a commit.
  SetCapture(marker);
  showPointFields(index);
}

// The dragged marker follows the cursor (main-window client coordinates),
// keeping the grab offset; no clamping.
void onMarkerMouseMove() {
  if (markerDragState != kMarkerDragged || !activePointInRange()) return;
  const HWND marker = asHwnd(project.activeMarker);
  RECT frame{};
  if (!IsWindow(marker) || !GetWindowRect(marker, &frame)) return;
  const RegionPoint cursor = cursorIn(mainWindow);
  MoveWindow(marker, cursor.x - markerGrabOffset.x, cursor.y - markerGrabOffset.y,
             frame.right - frame.left, frame.bottom - frame.top, TRUE);
}

void onMarkerButtonUp() {
  if ((markerDragState != kMarkerDragged && markerDragState != kMarkerPutBack) || !activePointInRange()) return;
  // A drag (state 1) is a change of its own; a point put back (state 2) is
  // part of what typed or deleted it, which records the step.
  const bool dragged = markerDragState == kMarkerDragged;
  commitActivePoint();
  if (dragged) designChanged();
}

void onPointCommit(HWND marker, WPARAM wParam, LPARAM lParam) {
  markerDragState = kMarkerDragged;
  project.activeMarker = asHandle(marker);
  SendNotifyMessageW(marker, WM_LBUTTONUP, wParam, lParam);
}

// Puts the active marker back to its stored point; the sender commits it.
void onPointRestore() {
  if (!activePointInRange()) return;
  markerDragState = kMarkerPutBack;
  const RegionPoint place = project.markerPoints[static_cast<std::size_t>(project.activePoint)];
  MoveWindow(asHwnd(project.activeMarker), place.x, place.y, kMarkerSize, kMarkerSize, TRUE);
}

// True when the cursor lies on a visible marker.
bool cursorOnMarker() {
  POINT cursor{};
  GetCursorPos(&cursor);
  for (const HWND marker : pointMarkers()) {
    RECT frame{};
    if (IsWindowVisible(marker) && GetWindowRect(marker, &frame) && PtInRect(&frame, cursor))
      return true;
  }
  return false;
}

// The first point: three markers, the designed window's top corners and the
// clicked point. Nothing changes when a marker cannot be made.
void startOutlineAt(RegionPoint clicked, WPARAM wParam, LPARAM lParam) {
  const std::array<RegionPoint, 3> places = firstTriangleMarkers(project, clicked);
  std::array<HWND, 3> markers{};
  for (std::size_t i = 0; i < markers.size(); ++i) {
    markers[i] = createMarkerWindow(static_cast<int>(i), places[i]);
    if (markers[i] == nullptr) {
      for (const HWND made : markers)
        if (made != nullptr) DestroyWindow(made);
      return;
    }
  }
  startOutline(project, clicked);
  takeStaticProc(markers[0]);
  for (const HWND marker : markers) {
    bringToTopAndShow(marker);
    subclassMarker(marker);
  }
  SendNotifyMessageW(markers[2], WM_POINT_COMMIT, wParam, lParam);
}

// A further point at the end of the outline.
void appendPointAt(RegionPoint clicked, WPARAM wParam, LPARAM lParam) {
  const int index = std::max(project.pointCount, 0);
  const HWND marker = createMarkerWindow(
      index, {clicked.x - kMarkerHalf, clicked.y - kMarkerHalf});
  if (marker == nullptr) return;
  appendOutlinePoint(project, clicked);
  bringToTopAndShow(marker);
  subclassMarker(marker);
  SendNotifyMessageW(marker, WM_POINT_COMMIT, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK markerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Taken first: WM_DESTROY puts the class procedure back.
  const WNDPROC next = markerStaticProc;
  guardedCall([&]() -> LRESULT {
    switch (message) {
      case WM_DESTROY:
        if (next != nullptr)
          SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next));
        break;
      case WM_LBUTTONDOWN:
        onMarkerButtonDown(window);
        break;
      case WM_MOUSEMOVE:
        onMarkerMouseMove();
        break;
      case WM_LBUTTONUP:
        onMarkerButtonUp();
        break;
      case WM_POINT_COMMIT:
        onPointCommit(window, wParam, lParam);
        break;
      case WM_POINT_RESTORE:
        onPointRestore();
        break;
      default:
        break;
    }
    return 0;
  });
  if (next == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return CallWindowProcW(next, window, message, wParam, lParam);
}

void onMainWindowButtonDown() {
  // A marker still picked up (its release was lost) is dropped by the press,
  // as a press on the surface drops it; left pending, it would make every
  // later press on a marker be ignored.
  if (project.activePoint >= 0 && pickupPending == kPickedUp && markerDragState == kMarkerDragged) {
    SendNotifyMessageW(asHwnd(project.activeMarker), WM_LBUTTONUP, 0, 0);
    return;
  }
  if (project.pointCount <= 0) return;
  hidePointMarkers();
  project.activePoint = -1;
}

void onMainWindowButtonUp(WPARAM wParam, LPARAM lParam) {
  if (currentTool != ToolCode::AddPoint || project.surface == 0 || mainWindow == nullptr) return;
  if (cursorOnMarker()) return;
  showPointMarkers();
  pressPoint = cursorIn(mainWindow);
  if (project.pointCount <= 0)
    startOutlineAt(pressPoint, wParam, lParam);
  else
    appendPointAt(pressPoint, wParam, lParam);
  InvalidateRect(mainWindow, nullptr, TRUE);
  designChanged();
}

void onMainWindowMouseMove(WPARAM wParam, LPARAM lParam) {
  if (project.activePoint < 0) return;
  const HWND marker = pointMarker(project.activePoint);
  if (marker != nullptr) SendNotifyMessageW(marker, WM_MOUSEMOVE, wParam, lParam);
}

bool deleteActivePoint() {
  if (project.activePoint < 0) return false;
  const int index = project.activePoint;
  const int count = project.pointCount;
  if (index >= project.pointCapacity() || index >= count) return true;  // ignored
  if (count <= 3) {
    // A drag in progress ends with the marker it moved.
    endPointDrag();
    destroyPointMarkers();
    deleteOutlinePoint(project, index);
    if (const HWND surface = surfaceWindow(); surface != nullptr) SetWindowRgn(surface, nullptr, TRUE);
    regionHandle = nullptr;
    if (mainWindow != nullptr) InvalidateRect(mainWindow, nullptr, TRUE);
    // The fields showed the point that went: they show the window (or the
    // selected control) again.
    outlineRemoved();
    refillFields();
    designChanged();
    return true;
  }
  // Looked up before any id changes: the later markers keep their order.
  // One walk over the main window's children, not one per marker.
  std::vector<HWND> later(static_cast<std::size_t>(count - index - 1), nullptr);
  for (const HWND marker : pointMarkers()) {
    const int at = GetDlgCtrlID(marker) - kMarkerIdBase;
    if (at > index && at < count) later[static_cast<std::size_t>(at - index - 1)] = marker;
  }
  if (const HWND marker = pointMarker(index); marker != nullptr) DestroyWindow(marker);
  if (deleteOutlinePoint(project, index) != PointDeletion::PointRemoved) return true;
  for (std::size_t i = 0; i < later.size(); ++i) {
    if (later[i] != nullptr)
      SetWindowLongPtrW(later[i], GWLP_ID, controlIdOf(index + static_cast<int>(i)));
  }
  const HWND first = pointMarker(0);
  project.activeMarker = asHandle(first);
  if (first != nullptr) {
    SendNotifyMessageW(first, WM_POINT_RESTORE, VK_DELETE, 0);
    SendNotifyMessageW(first, WM_LBUTTONUP, VK_DELETE, 0);
  }
  // The fields showed the point that went; point 0 is active now.
  showPointFields(0);
  designChanged();
  return true;
}

void createOpenedProjectMarkers() {
  if (project.regionMode != RegionMode::Polygon || mainWindow == nullptr) return;
  const int count = static_cast<int>(std::min<std::size_t>(
      static_cast<std::size_t>(std::max(project.pointCount, 0)), project.markerPoints.size()));
  if (count == 0) return;
  const HWND first = createMarkerWindow(0, project.markerPoints[0]);
  if (first == nullptr) return;
  takeStaticProc(first);
  subclassMarker(first);
  for (int i = 1; i < count; ++i) {
    const HWND marker = createMarkerWindow(i, project.markerPoints[static_cast<std::size_t>(i)]);
    if (marker != nullptr) subclassMarker(marker);
  }
  // New children go below their older siblings: the markers are brought
  // above the surface made before them, or it would hide them. While the
  // surface is not shown yet (a design being opened) they are not painted
  // one by one: the commit below then repaints the whole main window.
  const HWND surface = surfaceWindow();
  const UINT paint = surface != nullptr && IsWindowVisible(surface) ? 0 : SWP_NOREDRAW;
  for (const HWND marker : pointMarkers())
    SetWindowPos(marker, HWND_TOP, 0, 0, 0, 0, kShowOnTop | paint);
  project.activePoint = 0;
  SendNotifyMessageW(first, WM_POINT_COMMIT, 0, 0);
}

void destroyPointMarkers() {
  for (const HWND marker : pointMarkers()) DestroyWindow(marker);
  project.activeMarker = 0;
}

void showPointMarkers() {
  for (const HWND marker : pointMarkers()) bringToTopAndShow(marker);
}

void hidePointMarkers() {
  // Each hidden marker alone would make the surface under it repaint.
  if (mainWindow != nullptr) hideChildrenAtOnce(mainWindow, pointMarkers());
}

std::vector<HWND> pointMarkers() {
  // A marker is a live, subclassed child of the main window; the checks
  // read the process's own window records, without the server.
  std::erase_if(madeMarkers, [](HWND marker) { return !IsWindow(marker); });
  std::vector<HWND> markers;
  if (mainWindow == nullptr) return markers;
  for (const HWND marker : madeMarkers)
    if (isMarker(marker) && GetParent(marker) == mainWindow) markers.push_back(marker);
  std::sort(markers.begin(), markers.end(),
            [](HWND a, HWND b) { return GetDlgCtrlID(a) < GetDlgCtrlID(b); });
  return markers;
}

HWND pointMarker(int index) {
  if (mainWindow == nullptr) return nullptr;
  for (const HWND marker : madeMarkers)
    if (IsWindow(marker) && GetDlgCtrlID(marker) == controlIdOf(index) && isMarker(marker) &&
        GetParent(marker) == mainWindow)
      return marker;
  return nullptr;
}

}  // namespace quorvin
