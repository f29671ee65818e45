// The design surface (class SubWindow): placing new controls by dragging
// with a placement tool, selecting by a press, deleting the selected control,
// keeping the project's rectangle in step with the window's frame, the
// closing question, and the mouse messages passed on to the control being
// moved and to the active polygon point.
#include "designer/surface.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "app/font_record.h"
#include "app/main_window.h"
#include "app/model_win32.h"
#include "app/project_file.h"
#include "app/settings_file.h"
#include "common/win32/gdi.h"
#include "common/win32/text.h"
#include "common/win32/window_idioms.h"
#include "designer/arrange.h"
#include "designer/design_changes.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/geometry.h"
#include "designer/hollow_corners.h"
#include "designer/object_list.h"
#include "designer/palette.h"
#include "designer/placement.h"
#include "designer/polygon.h"
#include "designer/project_font.h"
#include "designer/repaint.h"
#include "designer/sizing.h"
#include "designer/surface_aids.h"

namespace quorvin {

namespace {

constexpr DWORD kSurfaceStyle = WS_CHILD | WS_OVERLAPPEDWINDOW;  // 0x40CF0000
constexpr DWORD kHandleStyle = WS_CHILD | SS_NOTIFY | SS_BLACKRECT;  // 0x40000104

// The four size handles' control ids, in the order of sizeHandlePositions.
constexpr std::array<ToolCode, 4> kHandleIds{ToolCode::SizeTopLeft, ToolCode::SizeTopRight,
                                             ToolCode::SizeBottomLeft,
                                             ToolCode::SizeBottomRight};

// One drag of the frame (from WM_ENTERSIZEMOVE) is one undo step.
std::uint64_t frameDragGroup = 0;

// The rubber band: from the press on the empty surface to the cursor, drawn
// inverted so that drawing it again takes it away.
bool bandActive = false;
bool bandAdds = false;  // Ctrl or Shift held at the press: the band adds
RegionPoint bandStart;
RegionPoint bandEnd;

void drawBand(HWND surface) {
  const HDC dc = GetDC(surface);
  if (dc == nullptr) return;
  const RECT band{std::min(bandStart.x, bandEnd.x), std::min(bandStart.y, bandEnd.y),
                  std::max(bandStart.x, bandEnd.x), std::max(bandStart.y, bandEnd.y)};
  if (band.right > band.left && band.bottom > band.top) DrawFocusRect(dc, &band);
  ReleaseDC(surface, dc);
}

HINSTANCE moduleInstance() { return GetModuleHandleW(nullptr); }

// The size handles of the surface made last. GetDlgItem would find them
// too, but it lists every child of the surface on each call: with
// thousands of controls that is most of a key release's time.
std::array<HWND, 4> sizeHandles{};

// Size handle `i` (in kHandleIds' order) of `surface`, null when it has none.
HWND sizeHandle(HWND surface, std::size_t i) {
  const HWND cached = sizeHandles[i];
  if (cached != nullptr && IsWindow(cached) && GetParent(cached) == surface) return cached;
  return GetDlgItem(surface, static_cast<int>(kHandleIds[i]));
}

// Gives a freshly created control of entry `index` the placed-control
// procedure (the previous one kept in the entry) and the project's font.
void subclassAndSetFont(int index, HWND control) {
  objects[static_cast<std::size_t>(index)].savedProc =
      asHandle(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC)));
  SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(placedControlProc));
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(asHfont(project.fontHandle)),
               TRUE);
}

// ---- Surface messages ------------------------------------------------------

void onCreate(HWND surface) {
  for (std::size_t i = 0; i < kHandleIds.size(); ++i)
    sizeHandles[i] = CreateWindowExW(0, L"STATIC", L"", kHandleStyle, 0, 0, kSizeHandleSize,
                                     kSizeHandleSize, surface,
                                     idAsMenu(static_cast<int>(kHandleIds[i])), moduleInstance(),
                                     nullptr);
}

void onDestroy(HWND surface) {
  // Only the project's own surface ends the project.
  if (surface != surfaceWindow()) return;
  const std::int32_t count = std::min(project.objectCount, objectCapacity());
  for (std::int32_t i = 0; i < count; ++i) {
    DesignObject& object = objects[static_cast<std::size_t>(i)];
    if (object.window != 0 && object.savedProc != 0)
      SetWindowLongPtrW(asHwnd(object.window), GWLP_WNDPROC,
                        static_cast<LONG_PTR>(object.savedProc));
    freeObjectTexts(object);
  }
  objects = {};
  leaveTabOrderMode();
  forgetHollowCorners();  // destroyed with the surface, its parent
  bandActive = false;
  // Nothing is left to select, move or size: a selection or a drag that
  // outlived the project would point into an empty array.
  if (GetCapture() == surface) ReleaseCapture();
  resetEditing(false);
  destroyPointMarkers();
  clearProject();
  refillFields();
  endDesignHistory();
}

// Keeps the project's rectangle equal to the surface's frame; with a polygon
// outline the frame is not the user's to change, and the surface goes back.
void onGeometryChanged(HWND surface) {
  // A minimised surface is an icon, not the designed window's size.
  if (IsIconic(surface)) return;
  if (project.regionMode == RegionMode::Polygon) {
    MoveWindow(surface, project.x, project.y, project.width, project.height, TRUE);
    return;
  }
  const RECT frame = rectInParent(surface);
  const POINT topLeft{frame.left, frame.top};
  const std::int32_t width = frame.right - frame.left;
  const std::int32_t height = frame.bottom - frame.top;
  if (topLeft.x == project.x && topLeft.y == project.y && width == project.width &&
      height == project.height)
    return;
  project.x = topLeft.x;
  project.y = topLeft.y;
  project.width = width;
  project.height = height;
  // The user took the window by its frame: it becomes what the fields show
  // and change, and a control selected before is no longer.
  if (project.activePoint < 0 && !applyingFieldTexts()) {
    if (selectedObject >= 0) hideSizeHandles();
    showWindowFields();
  }
  // Typed into the fields, the change is theirs to record (one step per
  // visit); a drag of the frame is one step.
  if (!applyingFieldTexts()) designChanged(frameDragGroup);
}

void onClose(HWND surface) {
  if (closeQuestion(surface)) DestroyWindow(surface);
}

// Deletes the selected controls; the later controls close up and take the
// ids that go with their new places. One undo step however many went.
void deleteSelectedObject() {
  // Never under the mouse: a control being moved or sized stays.
  if (!deleteAllowed() || selectedEntry() == nullptr) return;
  const std::vector<std::int32_t> chosen = selectedControls();
  hideHollowCorners();  // before the windows under them go
  // Destroyed while their entries still name them, so that their own
  // procedure finds the procedure to put back.
  for (const std::int32_t index : chosen)
    if (index >= 0 && index < project.objectCount && index < objectCapacity())
      if (const HWND removed = asHwnd(objects[static_cast<std::size_t>(index)].window))
        DestroyWindow(removed);
  const ObjectsRemoval removal = removeObjectEntries(objects, project.objectCount, chosen);
  for (const MovedControl& moved : removal.moved)
    SetWindowLongPtrW(asHwnd(moved.window), GWLP_ID, kControlIdBase + moved.newIndex);
  selectedControlRemoved();
  refillFields();
  hideSizeHandles();
  designChanged();
}

void sendToActiveMarker(UINT message, WPARAM wParam, LPARAM lParam) {
  if (project.activePoint >= 0 && project.activeMarker != 0)
    SendNotifyMessageW(asHwnd(project.activeMarker), message, wParam, lParam);
}

void sendToSelectedControl(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const DesignObject* selected = selectedEntry())
    SendNotifyMessageW(asHwnd(selected->window), message, wParam, lParam);
}

void onButtonDown(HWND surface, WPARAM wParam, LPARAM lParam) {
  pressPoint = cursorIn(surface);
  // The surface holds the mouse while a new control is dragged out, so that
  // the release ends the placement wherever it happens.
  if (isPlacementTool(currentTool)) SetCapture(surface);
  if (currentTool != ToolCode::Select) return;
  if (project.activePoint >= 0 && pickupPending == kPickedUp) {
    // A polygon point is being dragged: this press drops it.
    SendNotifyMessageW(asHwnd(project.activeMarker), WM_LBUTTONUP, wParam, lParam);
    return;
  }
  if (tabOrderModeActive()) {
    // Presses that a control lets through (a group box) still number it.
    tabOrderClickOn(hitTestObjects(objects, project.objectCount, pressPoint));
    return;
  }
  // Presses that a control lets through (a group box) still select it.
  const std::int32_t hit = hitTestObjects(objects, project.objectCount, pressPoint);
  const bool adding = selectionKeysHeld();
  if (hit >= 0 && (adding || (isSelected(hit) && selectedControls().size() > 1))) {
    showPointMarkers();
    pressOnControl(hit);
    return;
  }
  // Ctrl or Shift on the background keeps the selection for the band to add to.
  if (hit < 0 && adding && selectedEntry() != nullptr) {
    beginBand(surface, true);
    return;
  }
  // A press on the background deselects and shows the designed window.
  showPointMarkers();
  project.activePoint = -1;
  selectTool(ToolCode::Select);
  hideSizeHandles();
  showWindowFields();
  if (hit < 0) {
    beginBand(surface, false);
    return;
  }
  if (project.pointCount > 0) {
    hidePointMarkers();
    project.activePoint = -1;
  }
  const DesignObject& object = objects[static_cast<std::size_t>(hit)];
  showControlFields(hit);
  placeSizeHandles(object);
  beginMove(object);
}

// The band's release: what it touches becomes the selection (or joins it).
void endBand(HWND surface) {
  drawBand(surface);
  bandActive = false;
  if (GetCapture() == surface) ReleaseCapture();
  const std::int32_t count = std::min(project.objectCount, objectCapacity());
  std::vector<PixelRect> rects;
  rects.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (std::int32_t i = 0; i < count; ++i) rects.push_back(rectOf(objects[static_cast<std::size_t>(i)]));
  std::vector<std::int32_t> chosen = bandAdds ? selectedControls() : std::vector<std::int32_t>{};
  const std::int32_t primary = selectedObject;
  for (const std::size_t index : touchedByBand(rects, bandStart, bandEnd))
    chosen.push_back(static_cast<std::int32_t>(index));
  if (chosen.empty()) return;  // a click on the background: the window stays selected
  if (project.pointCount > 0) {
    hidePointMarkers();
    project.activePoint = -1;
  }
  selectControls(chosen, bandAdds ? primary : chosen.back());
  refillFields();
  showSelectionHandles();
}

void onButtonUp(WPARAM wParam, LPARAM lParam) {
  if (bandActive) {
    if (const HWND surface = surfaceWindow()) endBand(surface);
  } else if (isPlacementTool(currentTool)) {
    placeFromRelease();
    if (const HWND surface = surfaceWindow(); surface != nullptr && GetCapture() == surface)
      ReleaseCapture();
  } else if (currentTool == ToolCode::AddPoint) {
    SendNotifyMessageW(mainWindow, WM_LBUTTONUP, wParam, lParam);
  } else if (currentTool == ToolCode::Moving) {
    sendToSelectedControl(WM_LBUTTONUP, wParam, lParam);
  }
  sendToActiveMarker(WM_LBUTTONUP, wParam, lParam);
}

void onMouseMove(WPARAM wParam, LPARAM lParam) {
  if (bandActive) {
    if (const HWND surface = surfaceWindow()) {
      drawBand(surface);
      bandEnd = cursorIn(surface);
      drawBand(surface);
    }
    return;
  }
  // The cursor may run ahead of the control being moved.
  if (currentTool == ToolCode::Moving) sendToSelectedControl(WM_MOUSEMOVE, wParam, lParam);
  sendToActiveMarker(WM_MOUSEMOVE, wParam, lParam);
}

void onCommand(WPARAM wParam) {
  switch (static_cast<ToolCode>(wParam)) {
    case ToolCode::SizeTopLeft:
    case ToolCode::SizeTopRight:
    case ToolCode::SizeBottomLeft:
    case ToolCode::SizeBottomRight:
      pickUpOrDropCorner(static_cast<ToolCode>(wParam));
      break;
    default:
      break;
  }
}

LRESULT handleSurfaceMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (isSizingTool(currentTool)) applySizingStep();
  switch (message) {
    case WM_CREATE:
      onCreate(window);
      return 0;
    case WM_DESTROY:
      onDestroy(window);
      return 0;
    case WM_MOVE:
    case WM_SIZE:
      onGeometryChanged(window);
      return 0;
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
      frameDragGroup = newChangeGroup();
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_CLOSE:
      onClose(window);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_DELETE) deleteSelectedObject();
      if (wParam == VK_ESCAPE) leaveTabOrderMode();
      return 0;
    case WM_ERASEBKGND:
      surfacePixelsChanged();
      if (eraseSurfaceWithGrid(window, reinterpret_cast<HDC>(wParam))) return 1;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_COMMAND:
      onCommand(wParam);
      return 0;
    case WM_LBUTTONDOWN:
      onButtonDown(window, wParam, lParam);
      return 0;
    case WM_LBUTTONUP:
      onButtonUp(wParam, lParam);
      return 0;
    case WM_MOUSEMOVE:
      onMouseMove(wParam, lParam);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

void beginBand(HWND surface, bool adds) {
  bandActive = true;
  bandAdds = adds;
  bandStart = bandEnd = pressPoint;
  SetCapture(surface);
}

bool selectionKeysHeld() {
  return GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0;
}

void showSelectionHandles() {
  const HWND surface = surfaceWindow();
  const DesignObject* primary = selectedEntry();
  if (surface == nullptr) return;
  if (primary == nullptr) {
    hideSizeHandles();
    return;
  }
  // The squares shown before go first, while the pixels under them are
  // still the ones kept.
  hideHollowCorners();
  placeSizeHandles(*primary);
  std::vector<RegionPoint> corners;
  for (const std::int32_t index : selectedControls()) {
    if (index == selectedObject || index < 0 || index >= project.objectCount ||
        index >= objectCapacity())
      continue;
    for (const RegionPoint corner : sizeHandlePositions(rectOf(objects[static_cast<std::size_t>(index)])))
      corners.push_back(corner);
  }
  showHollowCorners(surface, corners);
}

void hideOtherHandles() { hideHollowCorners(); }

LRESULT CALLBACK surfaceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return guardedCall([&] { return handleSurfaceMessage(window, message, wParam, lParam); });
}

DesignObject* selectedEntry() {
  if (selectedObject < 0 || selectedObject >= project.objectCount ||
      selectedObject >= objectCapacity())
    return nullptr;
  return &objects[static_cast<std::size_t>(selectedObject)];
}

HWND createSurface(int x, int y, int width, int height) {
  const HWND surface = CreateWindowExW(0, L"SubWindow", cp932ToWide(project.title).c_str(),
                                       kSurfaceStyle, x, y, width, height, mainWindow, nullptr,
                                       moduleInstance(), nullptr);
  project.surface = asHandle(surface);
  return surface;
}

bool createPlacedControl(int slot, ToolCode tool, RegionPoint release, RegionPoint press) {
  const PlacementDefaults* row = placementDefaultsFor(tool);
  const std::optional<PixelRect> rect = placementRectangle(press, release);
  if (row == nullptr || !rect || slot < 0 || slot >= objectCapacity()) return false;
  std::optional<DesignObject> made = newPlacedObject(tool, *rect);
  // The controls before the slot are the placed ones: a second control of a
  // kind gets a name of its own (ID_BUTTON2), so that the generated ids do
  // not clash.
  made->idName = uniqueIdName(row->idName, std::span<const DesignObject>(
                                               objects.data(), static_cast<std::size_t>(slot)));
  const HWND control = CreateWindowExW(
      row->exStyle, cp932ToWide(row->windowClass).c_str(), cp932ToWide(row->caption).c_str(),
      row->style, rect->x, rect->y, rect->width, rect->height, surfaceWindow(),
      idAsMenu(kControlIdBase + slot), moduleInstance(), nullptr);
  if (control == nullptr) return false;
  made->window = asHandle(control);
  objects[static_cast<std::size_t>(slot)] = *std::move(made);
  subclassAndSetFont(slot, control);
  // The platform may add bits of its own; the record holds what it reports.
  objects[static_cast<std::size_t>(slot)].style =
      static_cast<std::uint32_t>(GetWindowLongW(control, GWL_STYLE));
  return true;
}

HWND recreateObjectControl(int index) {
  if (index < 0 || index >= objectCapacity()) return nullptr;
  DesignObject& object = objects[static_cast<std::size_t>(index)];
  if (object.window != 0) {
    DestroyWindow(asHwnd(object.window));
    object.window = 0;
  }
  // Whatever a file says, the control is made as a child of the surface: a
  // style without WS_CHILD (or with WS_POPUP) would make a top-level window
  // whose "menu" is the control id, and the creation would fail.
  const DWORD windowStyle = (object.style | WS_CHILD) & ~static_cast<DWORD>(WS_POPUP);
  const HWND control = CreateWindowExW(
      recreatedExStyleOf(object.kind), cp932ToWide(windowClassOf(object.kind)).c_str(),
      cp932ToWide(object.caption).c_str(), windowStyle, object.x, object.y, object.width,
      object.height, surfaceWindow(), idAsMenu(kControlIdBase + index), moduleInstance(),
      nullptr);
  if (control == nullptr) return nullptr;
  object.window = asHandle(control);
  subclassAndSetFont(index, control);
  return control;
}

bool placeFromRelease() {
  const HWND surface = surfaceWindow();
  if (surface == nullptr || !isPlacementTool(currentTool)) return false;
  // With the grid on, both corners of the drag lie on it.
  cursorPoint = snappedPlacementPoint(cursorIn(surface));
  pressPoint = snappedPlacementPoint(pressPoint);
  if (!placementRectangle(pressPoint, cursorPoint)) return false;  // the tool stays
  const std::int32_t slot = takeFreeObjectSlot();
  if (!createPlacedControl(slot, currentTool, cursorPoint, pressPoint)) return false;
  ++project.objectCount;
  // Recorded before the new control is selected: undoing the placement
  // brings back the selection it began with.
  designChanged();
  selectTool(ToolCode::Select);
  // The new control is the selection, as a press on it would make it; an
  // active polygon point gives way as it does to such a press.
  if (project.pointCount > 0) {
    hidePointMarkers();
    project.activePoint = -1;
  }
  showControlFields(slot);
  placeSizeHandles(objects[static_cast<std::size_t>(slot)]);
  return true;
}

void placeSizeHandles(const DesignObject& object) {
  const HWND surface = surfaceWindow();
  if (surface == nullptr) return;
  std::array<HWND, 4> handles{};
  for (std::size_t i = 0; i < kHandleIds.size(); ++i) handles[i] = sizeHandle(surface, i);
  surfacePixelsChanged();  // the black squares may come over the hollow ones
  placeHandleWindows(handles, rectOf(object));
}

void placeHandleWindows(const std::array<HWND, 4>& handles, const PixelRect& rect) {
  const std::array<RegionPoint, 4> positions = sizeHandlePositions(rect);
  // One batch: the system works out the parent's visible regions once for
  // the four handles instead of once each.
  HDWP batch = BeginDeferWindowPos(static_cast<int>(handles.size()));
  for (std::size_t i = 0; i < handles.size() && batch != nullptr; ++i) {
    if (handles[i] == nullptr) continue;
    batch = DeferWindowPos(batch, handles[i], nullptr, positions[i].x, positions[i].y,
                           kSizeHandleSize, kSizeHandleSize,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  if (batch != nullptr) EndDeferWindowPos(batch);
}

void beginMove(const DesignObject& object) {
  beginMove(pressPoint, rectOf(object));
  startMoveTrail(object);
  if (const HWND surface = surfaceWindow()) SetCapture(surface);
}

void hideSizeHandles() {
  const HWND surface = surfaceWindow();
  if (surface == nullptr) return;
  hideHollowCorners();
  for (std::size_t i = 0; i < kHandleIds.size(); ++i)
    if (const HWND handle = sizeHandle(surface, i)) ShowWindow(handle, SW_HIDE);
}

bool openProject(const Path& path) {
  Project opened;
  std::vector<DesignObject> openedObjects;
  if (!readProject(path, opened, openedObjects)) return false;
  // The names of generated code are setting.ini's; without it they stay
  // absent.
  readSettings(settingsPath, opened.variableNames);
  if (project.surface != 0) DestroyWindow(surfaceWindow());  // ends the current project
  clearProject();  // no-op after the surface went; a project without one holds nothing
  project = std::move(opened);
  objects = std::move(openedObjects);
  resetEditing(true);
  setProjectFont(UniqueFont(createFontFromSpec(project.font)));
  const HWND surface = createSurface(project.x, project.y, project.width, project.height);
  if (surface == nullptr) {
    clearProject();
    objects = {};
    return false;
  }
  // Every control is made again; one that cannot be made leaves the list,
  // so that the entries in use always have a window.
  project.objectCount = std::clamp<std::int32_t>(project.objectCount, 0, objectCapacity());
  for (std::int32_t i = 0; i < project.objectCount;) {
    if (recreateObjectControl(i) != nullptr) {
      ++i;
    } else {
      removeObjectEntry(objects, project.objectCount, i);
    }
  }
  // The fields show the opened design (its first point, with an outline),
  // never what they held for the design before.
  refillFields();
  if (project.regionMode == RegionMode::Polygon) createOpenedProjectMarkers();
  ShowWindow(surface, SW_SHOWNORMAL);
  UpdateWindow(surface);
  startDesignHistory();
  return true;
}

RegionPoint cursorIn(HWND window) {
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(window, &p);
  return {p.x, p.y};
}

}  // namespace quorvin
