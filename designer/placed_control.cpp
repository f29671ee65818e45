// The placed-control procedure and the size handles: every control on the
// surface is a live window of its real class, subclassed here so that it
// does not work like a control (presses never reach it), a press selects it
// and starts a move, and a release over it finishes a placement or a move.
#include "designer/placed_control.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/model_win32.h"
#include "common/win32/window_idioms.h"
#include "designer/design_changes.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/geometry.h"
#include "designer/hollow_corners.h"
#include "designer/placement.h"
#include "designer/polygon.h"
#include "designer/repaint.h"
#include "designer/sizing.h"
#include "designer/surface.h"
#include "designer/surface_aids.h"

namespace quorvin {

namespace {

// The entry of a placed control, found from its id (base + index); -1 when
// the window is not (or no longer) the control of that entry.
int entryIndexOf(HWND control) {
  const long long index = static_cast<long long>(GetDlgCtrlID(control)) - kControlIdBase;
  if (index < 0 || index >= objectCapacity()) return -1;
  if (objects[static_cast<std::size_t>(index)].window != asHandle(control)) return -1;
  return static_cast<int>(index);
}

// The control's own procedure: the one kept in its entry, or, for a control
// whose entry is gone, its class's procedure (which is what was kept, since
// controls are subclassed right after they are made).
WNDPROC ownProcedureOf(HWND control, int index) {
  WNDPROC procedure = nullptr;
  if (index >= 0) procedure = asWndProc(objects[static_cast<std::size_t>(index)].savedProc);
  if (procedure == nullptr || procedure == placedControlProc)
    procedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(control, GCLP_WNDPROC));
  return procedure;
}

// Messages the controls answer without drawing (they never hold the mouse
// here: presses do not reach them).
bool answeredWithoutDrawing(UINT message) {
  switch (message) {
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
    case WM_MOUSEACTIVATE:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_GETFONT:
    case WM_GETDLGCODE:
    case WM_GETOBJECT:
    case WM_QUERYUISTATE:
      return true;
    default:
      return false;
  }
}

// Anything else may draw: the pixels kept under the hollow corners are no
// longer the ones to put back.
LRESULT passOn(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!answeredWithoutDrawing(message)) surfacePixelsChanged();
  return CallWindowProcW(ownProcedureOf(control, entryIndexOf(control)), control, message,
                         wParam, lParam);
}

// While several controls are dragged, only their outlines follow the
// cursor, drawn inverted so that drawing them again takes them away; the
// controls move once, at the release. Moving hundreds of windows at every
// mouse move would cost a window move each among all their siblings.
RegionPoint selectionDragDelta;
bool selectionOutlinesShown = false;

void drawSelectionOutlines() {
  const HWND surface = surfaceWindow();
  const HDC dc = surface != nullptr ? GetDC(surface) : nullptr;
  if (dc == nullptr) return;
  for (const std::int32_t index : selectedControls()) {
    if (index < 0 || index >= project.objectCount || index >= objectCapacity()) continue;
    const DesignObject& object = objects[static_cast<std::size_t>(index)];
    const RECT outline{object.x + selectionDragDelta.x, object.y + selectionDragDelta.y,
                       object.x + selectionDragDelta.x + object.width,
                       object.y + selectionDragDelta.y + object.height};
    if (outline.right > outline.left && outline.bottom > outline.top) DrawFocusRect(dc, &outline);
  }
  ReleaseDC(surface, dc);
}

// The release: the outlines go and the controls take their place.
void finishSelectionDrag() {
  if (selectionOutlinesShown) drawSelectionOutlines();
  selectionOutlinesShown = false;
  const RegionPoint delta = std::exchange(selectionDragDelta, RegionPoint{});
  moveSelectionBy(delta.x, delta.y);
}

void sendToActiveMarker(UINT message, WPARAM wParam, LPARAM lParam) {
  if (project.activePoint >= 0 && project.activeMarker != 0)
    SendNotifyMessageW(asHwnd(project.activeMarker), message, wParam, lParam);
}

// Edit boxes on the surface show the arrow, not the text cursor.
void keepArrowOverEdit(int index) {
  if (index < 0 || !isEditKind(objects[static_cast<std::size_t>(index)].kind)) return;
  const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  if (GetCursor() != arrow) SetCursor(arrow);
}

void onDestroy(HWND control, int index) {
  const WNDPROC own = ownProcedureOf(control, index);
  SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
}

// A press selects the control and starts moving it; it never reaches the
// control, so buttons do not press and check boxes do not toggle.
void onButtonDown(int index, WPARAM wParam, LPARAM lParam) {
  const HWND surface = surfaceWindow();
  if (surface == nullptr) return;
  pressPoint = cursorIn(surface);
  if (currentTool != ToolCode::Select || index < 0) return;
  if (project.activePoint >= 0 && pickupPending == kPickedUp) {
    // A polygon point is being dragged: this press drops it.
    SendNotifyMessageW(asHwnd(project.activeMarker), WM_LBUTTONUP, wParam, lParam);
    return;
  }
  if (tabOrderModeActive()) {
    tabOrderClickOn(index);
    return;
  }
  pressOnControl(index);
}

// True when the release placed a new control (the release is then consumed).
bool onButtonUp(WPARAM wParam, LPARAM lParam) {
  if (isPlacementTool(currentTool)) {
    const bool placed = placeFromRelease();
    if (surfaceWindow() != nullptr) UpdateWindow(surfaceWindow());
    if (placed) return true;
  } else if (currentTool == ToolCode::AddPoint) {
    SendNotifyMessageW(mainWindow, WM_LBUTTONUP, wParam, lParam);
  } else if (currentTool == ToolCode::Moving) {
    // The end of a move: every place the control and its handles went
    // through is repainted, so that no traces remain (several controls
    // move only now, each repainting where it was and where it goes).
    hideSnapLines();
    if (selectedControls().size() > 1) finishSelectionDrag();
    repaintMoveTrail(surfaceWindow());
    endMove();
    if (selectedControls().size() > 1) {
      refillFields();
      showSelectionHandles();
    } else if (selectedEntry() != nullptr) {
      showControlFields(selectedObject);
    }
    if (GetCapture() == surfaceWindow()) ReleaseCapture();
    designChanged();
  }
  sendToActiveMarker(WM_LBUTTONUP, wParam, lParam);
  return false;
}

void onMouseMove(WPARAM wParam, LPARAM lParam) {
  if (currentTool == ToolCode::Moving) moveSelectedToCursor();
  sendToActiveMarker(WM_MOUSEMOVE, wParam, lParam);
}

LRESULT handleControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  const int index = entryIndexOf(control);
  // Only where the cursor is chosen: a lookup of the arrow at every message
  // cost a moment for each of hundreds of edit boxes moved at once.
  if (message == WM_SETCURSOR || message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE)
    keepArrowOverEdit(index);
  switch (message) {
    case WM_DESTROY:
      onDestroy(control, index);
      break;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
      onMouseMove(wParam, lParam);
      break;
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
      onButtonDown(index, wParam, lParam);
      return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_CONTEXTMENU:
      // A placed edit box would offer its own Undo/Cut/Paste menu.
      return 0;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
      if (onButtonUp(wParam, lParam)) return 0;
      break;
    default:
      break;
  }
  return passOn(control, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK placedControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return guardedCall([&] { return handleControlMessage(window, message, wParam, lParam); });
}

void pressOnControl(int index) {
  if (project.pointCount > 0) hidePointMarkers();
  project.activePoint = -1;
  if (selectionKeysHeld()) {
    // Ctrl or Shift: the control joins or leaves the selection; no move.
    toggleControl(index);
    refillFields();
    showSelectionHandles();
    return;
  }
  if (isSelected(index) && selectedControls().size() > 1) {
    // A press on one of several: it leads, and they all move together.
    makePrimary(index);
    refillFields();
    showSelectionHandles();
    selectionDragDelta = {};
    selectionOutlinesShown = false;
    beginMove(objects[static_cast<std::size_t>(index)]);
    return;
  }
  showControlFields(index);
  hideOtherHandles();
  placeSizeHandles(objects[static_cast<std::size_t>(index)]);
  beginMove(objects[static_cast<std::size_t>(index)]);
}

void moveSelectedToCursor() {
  DesignObject* selected = selectedEntry();
  const HWND surface = surfaceWindow();
  if (selected == nullptr || surface == nullptr) return;
  cursorPoint = cursorIn(surface);
  const RegionPoint free = movedPosition(cursorPoint, dragOffset);
  if (selectedControls().size() > 1) {
    const RegionPoint delta{free.x - selected->x, free.y - selected->y};
    if (delta == selectionDragDelta && selectionOutlinesShown) return;
    if (selectionOutlinesShown) drawSelectionOutlines();
    selectionDragDelta = delta;
    drawSelectionOutlines();
    selectionOutlinesShown = true;
    return;
  }
  // At the press point the control is where it was: the mouse move the
  // system sends after a press (or the pointer brought back) neither snaps
  // it nor shows lines, so a click on a control never shifts it.
  RegionPoint topLeft = free;
  if (cursorPoint == pressPoint)
    hideSnapLines();
  else
    topLeft = snappedMovePosition(selectedObject, free);
  selected->x = topLeft.x;
  selected->y = topLeft.y;
  MoveWindow(asHwnd(selected->window), selected->x, selected->y, selected->width,
             selected->height, TRUE);
  // Re-read: moving the window may have run other procedures.
  if ((selected = selectedEntry()) != nullptr) {
    placeSizeHandles(*selected);
    widenMoveTrail(*selected);
  }
}

void moveSelectionBy(std::int32_t dx, std::int32_t dy) {
  if (dx == 0 && dy == 0) return;
  std::vector<std::int32_t> moved;
  std::vector<PixelRect> rects;
  for (const std::int32_t index : selectedControls()) {
    if (index < 0 || index >= project.objectCount || index >= objectCapacity()) continue;
    PixelRect rect = rectOf(objects[static_cast<std::size_t>(index)]);
    rect.x += dx;
    rect.y += dy;
    moved.push_back(index);
    rects.push_back(rect);
  }
  giveControlsRects(moved, rects, false);
}

void giveControlsRects(const std::vector<std::int32_t>& indices, const std::vector<PixelRect>& rects,
                       bool withOtherHandles) {
  // The hollow corners go before the controls under them move: the pixels
  // they keep are the ones from before the move.
  hideHollowCorners();
  // One batch for all of them: the system repaints only where controls left
  // and arrived, once, instead of once per control.
  HDWP batch = BeginDeferWindowPos(static_cast<int>(indices.size()));
  for (std::size_t k = 0; k < indices.size() && k < rects.size(); ++k) {
    DesignObject& object = objects[static_cast<std::size_t>(indices[k])];
    const bool sized = object.width != rects[k].width || object.height != rects[k].height;
    setRect(object, rects[k]);
    if (batch != nullptr && object.window != 0)
      batch = DeferWindowPos(batch, asHwnd(object.window), nullptr, object.x, object.y,
                             std::max(object.width, 0), std::max(object.height, 0),
                             SWP_NOZORDER | SWP_NOACTIVATE | (sized ? 0 : SWP_NOSIZE));
  }
  if (batch != nullptr) EndDeferWindowPos(batch);
  if (withOtherHandles) {
    showSelectionHandles();
  } else if (const DesignObject* primary = selectedEntry()) {
    placeSizeHandles(*primary);
  }
}

void pickUpOrDropCorner(ToolCode corner) {
  if (pickupPending == kNothingPickedUp) {
    pickUpCorner(corner);
    return;
  }
  dropCorner();
  applyDroppedCorner();
}

void applyDroppedCorner() {
  DesignObject* selected = selectedEntry();
  if (selected == nullptr) return;
  hideSnapLines();
  const HWND control = asHwnd(selected->window);
  MoveWindow(control, selected->x, selected->y, selected->width, selected->height, TRUE);
  InvalidateRect(control, nullptr, TRUE);
  if (selectedEntry() != nullptr) showControlFields(selectedObject);
  designChanged();
}

void applySizingStep() {
  // Placing the handles sends messages to the surface, which would run the
  // step again from inside itself.
  static bool running = false;
  DesignObject* selected = selectedEntry();
  const HWND surface = surfaceWindow();
  if (running || !isSizingTool(currentTool) || selected == nullptr || surface == nullptr)
    return;
  running = true;
  cursorPoint = snappedSizingCursor(selectedObject, cursorIn(surface));
  const SizingStep step = sizingStep(currentTool, rectOf(*selected), cursorPoint);
  setRect(*selected, step.rect);
  switchCorner(step.tool);
  placeSizeHandles(*selected);
  running = false;
}

}  // namespace quorvin
