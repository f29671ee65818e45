#include "designer/selection_commands.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_window.h"
#include "app/model.h"
#include "app/model_win32.h"
#include "app/own_settings.h"
#include "common/win32/text.h"
#include "designer/copy_paste.h"
#include "designer/design_changes.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/hollow_corners.h"
#include "designer/placed_control.h"
#include "designer/polygon.h"
#include "designer/surface.h"

namespace quorvin {

namespace {

// The mouse is not in the middle of something the keys would disturb.
bool keysMayEdit() {
  return project.surface != 0 && currentTool == ToolCode::Select && pickupPending == kNothingPickedUp;
}

std::int32_t controlCount() { return std::clamp(project.objectCount, 0, objectCapacity()); }

// The selected controls that exist, primary last (as the selection keeps it).
std::vector<std::int32_t> selectedIndices() {
  std::vector<std::int32_t> indices;
  for (const std::int32_t index : selectedControls())
    if (index >= 0 && index < controlCount()) indices.push_back(index);
  return indices;
}

// A new selection from the keyboard: the fields and the handles follow, and
// an active polygon point gives way as it does to a click on a control.
void showNewSelection() {
  if (project.pointCount > 0) {
    hidePointMarkers();
    project.activePoint = -1;
  }
  refillFields();
  showSelectionHandles();
}

// The rectangles go to the controls; fields, handles and the undo step follow.
void applyRects(const std::vector<std::int32_t>& indices, const std::vector<PixelRect>& rects) {
  giveControlsRects(indices, rects, true);
  refillFields();
  designChanged();
}

// Quorvin's own clipboard format: the copied controls as a design file.
UINT controlsFormat() {
  static const UINT format = RegisterClipboardFormatW(L"Quorvin.Controls");
  return format;
}

// The design file's bytes may hold NULs (the font record), and the
// clipboard may round its memory up: the data travels after its length.
std::string unframed(std::string_view block) {
  const std::size_t newline = block.find('\n');
  if (newline == std::string_view::npos || newline == 0 || newline > 10) return {};
  std::size_t length = 0;
  for (const char c : block.substr(0, newline)) {
    if (c < '0' || c > '9') return {};
    length = length * 10 + static_cast<std::size_t>(c - '0');
  }
  if (length > block.size() - newline - 1) return {};
  return std::string(block.substr(newline + 1, length));
}

// Pastes since the last copy that landed offset: each lands one further.
std::int32_t pastesSinceCopy = 0;

// The mouse pointer in surface client coordinates when it is over the
// surface or one of its controls (not over the palette, a menu or another
// program's window in front).
std::optional<RegionPoint> pointerOnSurface() {
  const HWND surface = surfaceWindow();
  POINT point{};
  if (surface == nullptr || !GetCursorPos(&point)) return std::nullopt;
  HWND under = WindowFromPoint(point);
  while (under != nullptr && under != surface) under = GetParent(under);
  if (under != surface) return std::nullopt;
  ScreenToClient(surface, &point);
  RECT client{};
  GetClientRect(surface, &client);
  if (!PtInRect(&client, point)) return std::nullopt;
  return RegionPoint{point.x, point.y};
}

std::vector<DesignObject> selectedRecords() {
  std::vector<DesignObject> records;
  for (const std::int32_t index : selectedIndices())
    records.push_back(objects[static_cast<std::size_t>(index)]);
  return records;
}

// Hands `bytes` (with a terminating NUL) to the open clipboard as `format`;
// the clipboard owns the memory once it took it.
void putOnClipboard(UINT format, const void* bytes, std::size_t size) {
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (memory == nullptr) return;
  if (void* target = GlobalLock(memory)) {
    std::memcpy(target, bytes, size);
    GlobalUnlock(memory);
    if (SetClipboardData(format, memory) != nullptr) return;
  }
  GlobalFree(memory);
}

std::string textWithCrLf(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// The records become controls after the last one, selected; one undo step.
bool addControls(const std::vector<DesignObject>& records) {
  if (records.empty()) return false;
  hideHollowCorners();  // before new controls come over them
  std::vector<std::int32_t> added;
  for (const DesignObject& record : records) {
    const std::int32_t slot = takeFreeObjectSlot();
    objects[static_cast<std::size_t>(slot)] = record;
    if (recreateObjectControl(slot) == nullptr) {
      objects[static_cast<std::size_t>(slot)] = DesignObject{};
      break;
    }
    ++project.objectCount;
    added.push_back(slot);
  }
  if (added.empty()) return false;
  selectControls(added, added.back());
  showNewSelection();
  designChanged();
  return true;
}

}  // namespace

bool copySelection() {
  const std::vector<DesignObject> copied = selectedRecords();
  if (project.surface == 0 || copied.empty()) return false;
  const std::string data = copiedControlsData(project, copied);
  const std::string text = textWithCrLf(copiedControlsStatements(project, copied));
  const std::wstring wide = cp932ToWide(text);
  if (!OpenClipboard(mainWindow)) return false;
  EmptyClipboard();
  const std::string framed = std::to_string(data.size()) + "\n" + data;
  putOnClipboard(controlsFormat(), framed.data(), framed.size());
  putOnClipboard(CF_TEXT, text.c_str(), text.size() + 1);
  // Given as well, so that a program reading Unicode text gets the Japanese
  // right whatever the system's code page.
  putOnClipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  CloseClipboard();
  pastesSinceCopy = 0;
  return true;
}

bool cutSelection() {
  if (!keysMayEdit() || !deleteAllowed() || !copySelection()) return false;
  SendMessageW(surfaceWindow(), WM_KEYDOWN, VK_DELETE, 0);
  return true;
}

bool canPasteControls() {
  return project.surface != 0 && IsClipboardFormatAvailable(controlsFormat()) != FALSE;
}

bool pasteControls(bool atCursor) {
  if (!keysMayEdit() || !canPasteControls() || !OpenClipboard(mainWindow)) return false;
  std::string data;
  if (const HANDLE memory = GetClipboardData(controlsFormat())) {
    if (const auto* bytes = static_cast<const char*>(GlobalLock(memory))) {
      data = unframed(std::string_view(bytes, GlobalSize(memory)));
      GlobalUnlock(memory);
    }
  }
  CloseClipboard();
  PastePlace place;
  if (atCursor) place.cursor = pointerOnSurface();
  if (place.cursor) {
    if (ownSettings.gridSnap) place.snapStep = ownSettings.gridStep;
  } else {
    ++pastesSinceCopy;
    place.offset = kPasteOffset * pastesSinceCopy;
  }
  return addControls(pastedControls(
      data, std::span<const DesignObject>(objects.data(), static_cast<std::size_t>(controlCount())),
      place));
}

bool duplicateSelection() {
  const std::vector<DesignObject> copied = selectedRecords();
  if (!keysMayEdit() || copied.empty()) return false;
  return addControls(pastedControls(
      copiedControlsData(project, copied),
      std::span<const DesignObject>(objects.data(), static_cast<std::size_t>(controlCount())),
      kPasteOffset, kPasteOffset));
}

bool nudgeSelection(std::int32_t dx, std::int32_t dy, std::int32_t dw, std::int32_t dh) {
  const std::vector<std::int32_t> indices = selectedIndices();
  if (!keysMayEdit() || indices.empty()) return false;
  std::vector<PixelRect> rects;
  for (const std::int32_t index : indices)
    rects.push_back(nudgedRect(rectOf(objects[static_cast<std::size_t>(index)]), dx, dy, dw, dh));
  applyRects(indices, rects);
  return true;
}

bool walkSelection(bool backwards) {
  const std::int32_t count = controlCount();
  if (!keysMayEdit() || count == 0) return false;
  std::int32_t next = backwards ? count - 1 : 0;
  if (selectedObject >= 0 && selectedObject < count)
    next = (selectedObject + (backwards ? count - 1 : 1)) % count;
  selectControl(next);
  showNewSelection();
  return true;
}

bool selectAllControls() {
  const std::int32_t count = controlCount();
  if (!keysMayEdit() || count == 0) return false;
  std::vector<std::int32_t> all(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) all[static_cast<std::size_t>(i)] = i;
  selectControls(all, selectedObject >= 0 ? selectedObject : count - 1);
  showNewSelection();
  return true;
}

bool arrangeAvailable(ArrangeCommand command) {
  return keysMayEdit() && selectedEntry() != nullptr &&
         selectedIndices().size() >= minimumSelection(command);
}

bool arrangeSelection(ArrangeCommand command) {
  if (!arrangeAvailable(command)) return false;
  const std::vector<std::int32_t> indices = selectedIndices();
  std::vector<PixelRect> rects;
  for (const std::int32_t index : indices)
    rects.push_back(rectOf(objects[static_cast<std::size_t>(index)]));
  RECT client{};
  GetClientRect(surfaceWindow(), &client);
  // The primary is the last of the selection.
  const std::vector<PixelRect> arranged =
      arrangedRects(command, rects, rects.size() - 1, client.right, client.bottom);
  if (arranged == rects) return true;  // nothing moves: no step to undo
  applyRects(indices, arranged);
  return true;
}

}  // namespace quorvin
