// The property fields: what they show and how a key release applies them to
// the active point, the selected control or the designed window.
#include "designer/fields.h"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/model_win32.h"
#include "common/scoped_flag.h"
#include "common/win32/text.h"
#include "common/win32/window_idioms.h"
#include "designer/design_changes.h"
#include "designer/editing_state.h"
#include "designer/geometry.h"
#include "designer/placed_control.h"
#include "designer/polygon.h"
#include "designer/repaint.h"
#include "designer/surface.h"

namespace quorvin {

namespace {

// The EDIT class procedure, taken from the first field before subclassing.
WNDPROC fieldEditProc = nullptr;

// True from an Enter press in a field until its release. The Enter check
// looks only at releases whose press the field saw: the release of the Enter
// that closes the warning box itself lands in the ID field again and must
// not open the box anew.
bool enterPressedInField = false;

// The undo group of the present visit to a field: all the keys typed from
// the moment a field takes the focus are one step.
std::uint64_t fieldVisitGroup = 0;

// True while a key release applies the fields. Moving the surface makes it
// refill the fields from its geometry; during the application that would
// overwrite the text being typed (and put the caret back to its start), so
// the fields keep what the user typed while the record takes the geometry.
bool applyingFields = false;

// The ID field turns letters into capitals, also those of a text set into
// it. A name stored with small letters (a class name, a name read from a
// file) must show as it is, or the next key release would store it changed:
// the capitals rule is lifted while the text is set.
void setIdFieldText(HWND idField, std::string_view text) {
  const LONG style = GetWindowLongW(idField, GWL_STYLE);
  SetWindowLongW(idField, GWL_STYLE, style & ~ES_UPPERCASE);
  setWindowTextCp932(idField, text);
  SetWindowLongW(idField, GWL_STYLE, style);
}

// What the fields were last filled with: with several controls selected, a
// key release applies only the fields whose text differs from it.
FieldTexts shownTexts;

void writeFieldTexts(HWND palette, const FieldTexts& texts) {
  if (palette == nullptr || applyingFields) return;
  shownTexts = texts;
  const std::array<std::pair<int, const std::string*>, 6> fields{{
      {kCaptionFieldId, &texts.caption},
      {kIdFieldId, &texts.idName},
      {kWidthFieldId, &texts.width},
      {kHeightFieldId, &texts.height},
      {kXFieldId, &texts.x},
      {kYFieldId, &texts.y},
  }};
  for (const auto& [id, text] : fields) {
    const HWND field = GetDlgItem(palette, id);
    if (id == kIdFieldId)
      setIdFieldText(field, *text);
    else
      setWindowTextCp932(field, *text);
  }
}

bool isValidObjectIndex(int index) {
  return index >= 0 && index < project.objectCount && index < objectCapacity() &&
         objects[static_cast<std::size_t>(index)].window != 0;
}

// The active point's marker goes to the typed position and commits there,
// which rebuilds the outline.
bool activePointIndexValid() {
  return project.activePoint >= 0 && project.activePoint < project.pointCount &&
         project.activePoint < project.pointCapacity() && project.activeMarker != 0;
}

void applyPointFields(const FieldTexts& texts, WPARAM wParam, LPARAM lParam) {
  const int point = project.activePoint;
  project.markerPoints[static_cast<std::size_t>(point)] = pointFromFieldTexts(texts);
  const HWND marker = asHwnd(project.activeMarker);
  SendNotifyMessageW(marker, WM_POINT_RESTORE, wParam, lParam);
  SendNotifyMessageW(marker, WM_LBUTTONUP, wParam, lParam);
}

// The selected controls' entries (those that still have a window).
std::vector<const DesignObject*> selectedEntries() {
  std::vector<const DesignObject*> entries;
  for (const std::int32_t index : selectedControls())
    if (isValidObjectIndex(index)) entries.push_back(&objects[static_cast<std::size_t>(index)]);
  return entries;
}

// Several controls selected: what was typed goes to every one of them.
void applySelectionFields(const FieldTexts& texts) {
  const ScopedFlag applying(applyingFields);
  std::vector<std::int32_t> moved;
  std::vector<PixelRect> rects;
  for (const std::int32_t index : selectedControls()) {
    if (!isValidObjectIndex(index)) continue;
    DesignObject& object = objects[static_cast<std::size_t>(index)];
    const PixelRect before = rectOf(object);
    if (texts.caption != shownTexts.caption)
      setWindowTextCp932(asHwnd(object.window), texts.caption);
    if (applyTypedFieldTexts(object, shownTexts, texts)) {
      moved.push_back(index);
      rects.push_back(rectOf(object));
      setRect(object, before);  // giveControlsRects tells a size from a move
    }
  }
  shownTexts = texts;
  giveControlsRects(moved, rects, true);
}

// A key release in a field: all six fields apply to the target they were
// filled from, and to nothing else, then the Enter check. With a polygon
// outline the window's fields stand for nothing: neither happens.
void onFieldKeyUp(HWND field, WPARAM wParam, LPARAM lParam) {
  const HWND palette = GetParent(field);
  const FieldTarget target = fieldTarget();
  if (project.surface != 0) {
    const FieldTexts texts = readFieldTexts(palette);
    // A key changes the target alone: the undo step records only it.
    std::vector<std::int32_t> touched;
    switch (target.kind) {
      case FieldTarget::Kind::Point:
        if (target.index == project.activePoint && activePointIndexValid())
          applyPointFields(texts, wParam, lParam);
        break;
      case FieldTarget::Kind::Window:
        if (project.regionMode == RegionMode::Polygon) return;
        applyWindowFields(texts);
        break;
      case FieldTarget::Kind::Control:
        if (selectedControls().size() > 1) {
          touched = selectedControls();
          applySelectionFields(texts);
        } else if (isValidObjectIndex(target.index)) {
          touched = {target.index};
          applyObjectFields(objects[static_cast<std::size_t>(target.index)], texts);
        }
        break;
      case FieldTarget::Kind::None:
        break;
    }
    designChanged(fieldVisitGroup, touched);
  }
  if (wParam == VK_RETURN && enterPressedInField) reportEmptyIdField(palette);
}

LRESULT passToEdit(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (fieldEditProc == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return CallWindowProcW(fieldEditProc, window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK fieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return guardedCall([&]() -> LRESULT {
    switch (message) {
      case WM_KEYDOWN:
        if (wParam == VK_RETURN) enterPressedInField = true;
        break;
      case WM_KEYUP:
        onFieldKeyUp(window, wParam, lParam);
        if (wParam == VK_RETURN) enterPressedInField = false;
        break;
      case WM_KILLFOCUS:
        enterPressedInField = false;
        break;
      case WM_SETFOCUS:
        fieldVisitGroup = newChangeGroup();
        break;
      default:
        break;
    }
    return passToEdit(window, message, wParam, lParam);
  });
}

void subclassFields(HWND palette) {
  const HWND first = GetDlgItem(palette, kCaptionFieldId);
  if (first == nullptr) return;
  const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(first, GWLP_WNDPROC));
  if (current != fieldProc) fieldEditProc = current;
  for (const int id : {kCaptionFieldId, kIdFieldId, kWidthFieldId, kHeightFieldId, kXFieldId,
                       kYFieldId}) {
    const HWND field = GetDlgItem(palette, id);
    if (field != nullptr)
      SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(fieldProc));
  }
}

void refillFields() {
  const FieldTarget target = fieldTarget();
  switch (target.kind) {
    case FieldTarget::Kind::None:
      writeFieldTexts(toolWindow, FieldTexts{});
      break;
    case FieldTarget::Kind::Window:
      writeFieldTexts(toolWindow, windowFieldTexts(project));
      break;
    case FieldTarget::Kind::Control:
      if (selectedControls().size() > 1)
        writeFieldTexts(toolWindow, sharedFieldTexts(selectedEntries()));
      else if (isValidObjectIndex(target.index))
        writeFieldTexts(toolWindow, objectFieldTexts(objects[static_cast<std::size_t>(target.index)]));
      break;
    case FieldTarget::Kind::Point:
      if (target.index >= 0 && target.index < project.pointCapacity())
        writeFieldTexts(toolWindow, pointFieldTexts(
                                        project.markerPoints[static_cast<std::size_t>(target.index)]));
      break;
  }
}

void showControlFields(int index) {
  selectControl(index);
  refillFields();
}

void showObjectFields(const DesignObject& object) {
  const auto index = &object - objects.data();
  if (index < 0 || index >= objectCapacity()) return;
  showControlFields(static_cast<int>(index));
}

void showWindowFields() {
  selectWindow();
  refillFields();
}

void showPointFields(int pointIndex) {
  if (pointIndex < 0 || pointIndex >= project.pointCapacity()) return;
  targetPoint(pointIndex);
  refillFields();
}

bool applyingFieldTexts() { return applyingFields; }

FieldTexts readFieldTexts(HWND palette) {
  const auto text = [palette](int id) { return windowTextCp932(GetDlgItem(palette, id)); };
  return {text(kCaptionFieldId), text(kIdFieldId), text(kWidthFieldId),
          text(kHeightFieldId),  text(kXFieldId),  text(kYFieldId)};
}

void applyObjectFields(DesignObject& object, const FieldTexts& texts) {
  const ScopedFlag applying(applyingFields);
  const HWND control = asHwnd(object.window);
  // A key in one field changes one thing: the control is told only what
  // differs, so that it repaints (and its siblings recompute what they
  // show) only when something of it really changed.
  const bool captionChanged = texts.caption != object.caption;
  const RegionPoint place{object.x, object.y};
  const RegionPoint size{object.width, object.height};
  if (captionChanged) setWindowTextCp932(control, texts.caption);
  if (!applyObjectFieldTexts(object, texts)) return;
  const bool moved = !(place == RegionPoint{object.x, object.y});
  const bool resized = !(size == RegionPoint{object.width, object.height});
  if (!moved && !resized) return;
  MoveWindow(control, object.x, object.y, object.width, object.height, TRUE);
  placeSizeHandles(object);
  if (resized) InvalidateRect(control, nullptr, TRUE);
}

void applyWindowFields(const FieldTexts& texts) {
  const ScopedFlag applying(applyingFields);
  const HWND surface = surfaceWindow();
  setWindowTextCp932(surface, texts.caption);
  if (!applyWindowFieldTexts(project, texts)) return;
  // A new size repaints the frame and what was gained or uncovered, not the
  // controls that stay where they were (a repaint of thousands of them
  // takes seconds); a new position moves the window as ever.
  const bool repainted =
      resizeRepaintingChanges(surface, project.x, project.y, project.width, project.height);
  // The system keeps a window with a caption and a sizing frame at least at
  // its smallest tracking size; when it did so and the size did not change,
  // the surface was not told. The record takes what the surface really is.
  if (IsWindow(surface)) {
    const RECT frame = rectInParent(surface);
    project.x = frame.left;
    project.y = frame.top;
    project.width = frame.right - frame.left;
    project.height = frame.bottom - frame.top;
  }
  if (!repainted) InvalidateRect(surface, nullptr, TRUE);
}

bool reportEmptyIdField(HWND palette) {
  const HWND idField = GetDlgItem(palette, kIdFieldId);
  if (idField == nullptr || GetWindowTextLengthW(idField) != 0 || GetFocus() != idField)
    return false;
  showError(palette, kMissingIdMessage);
  SetFocus(idField);
  return true;
}

}  // namespace quorvin
