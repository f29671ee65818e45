// The grid, the snap lines and the order of the controls on the surface.
// The marks drawn over the controls (snap lines, tab-order numbers) are
// small child windows of the surface that let every click through to what
// lies below: moving one repaints only the pixels it leaves and covers, so
// a drag over a large design never repaints the whole surface.
#include "designer/surface_aids.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/model_win32.h"
#include "app/own_settings.h"
#include "common/win32/gdi.h"
#include "common/win32/window_idioms.h"
#include "designer/arrange.h"
#include "designer/design_changes.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/hollow_corners.h"
#include "designer/ordering.h"
#include "designer/surface.h"

namespace quorvin {

namespace {

constexpr wchar_t kMarkClassName[] = L"QuorvinMark";
constexpr std::int32_t kSnapTolerance = 4;  // pixels within which a line catches
constexpr BYTE kGroupBoxStyle = 0x07;       // BS_GROUPBOX in the low style bits
constexpr DWORD kButtonTypeMask = 0x0F;

// Child ids of the marks, clear of the controls (base + index) and of the
// size handles (10000 .. 13000).
constexpr int kVerticalLineId = 14000;
constexpr int kHorizontalLineId = 14001;
constexpr int kFirstNumberId = 20000;  // + place; at most kControlIdBase - 20000 numbers

// How a mark paints itself (kept in GWLP_USERDATA).
enum MarkLook : LONG_PTR { kLine = 0, kNumbered = 1, kNotYetNumbered = 2 };

constexpr int kNumberHeight = 14;    // pixels
constexpr int kNumberDigitWidth = 7;  // pixels per digit, plus the margins
constexpr int kNumberMargin = 4;

// ---- Marks -------------------------------------------------------------------

LRESULT paintMark(HWND mark) {
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(mark, &paint);
  RECT client{};
  GetClientRect(mark, &client);
  const LONG_PTR look = GetWindowLongPtrW(mark, GWLP_USERDATA);
  const int background = look == kNotYetNumbered ? COLOR_INFOBK : COLOR_HIGHLIGHT;
  FillRect(dc, &client, GetSysColorBrush(background));
  wchar_t text[16] = {};
  if (GetWindowTextW(mark, text, 16) > 0) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(look == kNotYetNumbered ? COLOR_INFOTEXT : COLOR_HIGHLIGHTTEXT));
    const SelectObjectGuard font(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  EndPaint(mark, &paint);
  return 0;
}

// The surface's mark `id`, made (hidden) when it does not exist yet.
HWND markWindow(int id) {
  const HWND surface = surfaceWindow();
  if (surface == nullptr) return nullptr;
  if (const HWND found = GetDlgItem(surface, id)) return found;
  if (!windowClassReady(kMarkClassName, seeThroughProc<paintMark>)) return nullptr;
  return CreateWindowExW(0, kMarkClassName, L"", WS_CHILD, 0, 0, 0, 0, surface,
                         idAsMenu(id),
                         GetModuleHandleW(nullptr), nullptr);
}

// Marks go to the bottom of the stacking: siblings that overlap are painted
// from the top down, and the controls do not clip their siblings, so the
// window painted last (the lowest) is the one seen. Clicks pass through the
// marks whatever their place.
void showMarkAt(HWND mark, const RECT& at) {
  surfacePixelsChanged();  // drawn over whatever lies there
  SetWindowPos(mark, HWND_BOTTOM, at.left, at.top, at.right - at.left, at.bottom - at.top,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// ---- Selection, free placing ---------------------------------------------------

// The selected controls, ascending.
std::vector<std::size_t> selectedIndices() {
  std::vector<std::size_t> chosen;
  const std::int32_t used = std::min(project.objectCount, objectCapacity());
  for (const std::int32_t index : selectedControls())
    if (index >= 0 && index < used) chosen.push_back(static_cast<std::size_t>(index));
  std::sort(chosen.begin(), chosen.end());
  return chosen;
}

bool isSelected(std::size_t index, const std::vector<std::size_t>& chosen) {
  return std::binary_search(chosen.begin(), chosen.end(), index);
}

bool placingFreely() { return GetKeyState(VK_MENU) < 0; }

std::int32_t usedCount() { return std::clamp(project.objectCount, 0, objectCapacity()); }

// The rectangles of the controls a dragged control may line up with: all
// but the selected ones.
std::vector<PixelRect> otherRects() {
  const std::vector<std::size_t> chosen = selectedIndices();
  std::vector<PixelRect> rects;
  const auto count = static_cast<std::size_t>(usedCount());
  rects.reserve(count);
  for (std::size_t i = 0; i < count; ++i)
    if (!isSelected(i, chosen)) rects.push_back(rectOf(objects[i]));
  return rects;
}

// The snap lines as shown now: a mouse move that keeps a control on the
// same line touches no window (a drag along a line costs nothing more).
struct ShownLine {
  HWND window = nullptr;  // of the surface it was shown on
  std::optional<std::int32_t> at;
  LineSpan span;
};
ShownLine shownVertical;
ShownLine shownHorizontal;

// Shows the line of `id` at `at` (a vertical one at x = at, a horizontal
// one at y = at) over `span`, or hides it.
void showSnapLine(int id, bool vertical, std::optional<std::int32_t> at, LineSpan span,
                  ShownLine& shown) {
  const HWND surface = surfaceWindow();
  if (!at) span = {};
  const bool same = shown.window != nullptr && IsWindow(shown.window) != FALSE &&
                    GetParent(shown.window) == surface && shown.at == at &&
                    shown.span.from == span.from && shown.span.to == span.to;
  if (same) return;
  const HWND line = at ? markWindow(id) : GetDlgItem(surface, id);
  if (line == nullptr) return;
  shown = {line, at, span};
  if (!at) {
    ShowWindow(line, SW_HIDE);
  } else if (vertical) {
    showMarkAt(line, {*at, span.from, *at + 1, span.to});
  } else {
    showMarkAt(line, {span.from, *at, span.to, *at + 1});
  }
}

// The lines at `lineX` and `lineY` between `moved` and the nearest of
// `others` on each; none where a line is absent.
void showSnapLines(std::optional<std::int32_t> lineX, std::optional<std::int32_t> lineY,
                   const PixelRect& moved = {}, std::span<const PixelRect> others = {}) {
  showSnapLine(kVerticalLineId, true, lineX,
               lineX ? snapLineSpan(moved, others, *lineX, true) : LineSpan{}, shownVertical);
  showSnapLine(kHorizontalLineId, false, lineY,
               lineY ? snapLineSpan(moved, others, *lineY, false) : LineSpan{}, shownHorizontal);
}

// Where `rect` (a moved control, or a sized corner as a rectangle of no
// size) comes to rest: on another control's line where one is near, else,
// with snapping on, on the grid; the lines it rests on are shown.
RegionPoint snapShowingLines(const PixelRect& rect) {
  const std::vector<PixelRect> others = otherRects();
  const SnapResult snap = snapToOthers(rect, others, kSnapTolerance);
  RegionPoint at{snap.rect.x, snap.rect.y};
  if (ownSettings.gridSnap) {
    if (!snap.lineX) at.x = snapToGrid(rect.x, ownSettings.gridStep);
    if (!snap.lineY) at.y = snapToGrid(rect.y, ownSettings.gridStep);
  }
  showSnapLines(snap.lineX, snap.lineY, {at.x, at.y, rect.width, rect.height}, others);
  return at;
}

// ---- Grid ----------------------------------------------------------------

// The pattern of one grid cell (a dot in its top-left corner), made again
// when the step changes. Brushes align their pattern to the client origin,
// so the dots fall on multiples of the step.
UniqueBrush gridBrush;
int gridBrushStep = 0;

HBRUSH gridPattern(HDC dc) {
  const int step = ownSettings.gridStep;
  if (gridBrush && gridBrushStep == step) return gridBrush.get();
  gridBrush.reset();
  const UniqueBitmap cell(CreateCompatibleBitmap(dc, step, step));
  const MemoryDc cellDc(CreateCompatibleDC(dc));
  if (!cell || !cellDc) return nullptr;
  {
    const SelectObjectGuard selected(cellDc.get(), cell.get());
    const RECT whole{0, 0, step, step};
    FillRect(cellDc.get(), &whole, GetSysColorBrush(COLOR_BTNFACE));
    SetPixel(cellDc.get(), 0, 0, GetSysColor(COLOR_BTNSHADOW));
  }
  gridBrush.reset(CreatePatternBrush(cell.get()));  // copies the bitmap
  gridBrushStep = step;
  return gridBrush.get();
}

// ---- Order -----------------------------------------------------------------

// Marks the entries of the longest strictly rising run (not necessarily
// adjacent) in `values`: the windows that may stay where they are.
std::vector<bool> longestRising(std::span<const std::size_t> values) {
  const std::size_t n = values.size();
  std::vector<std::size_t> tails;  // tails[len-1]: index ending the best run of len
  std::vector<std::size_t> previous(n, n);
  for (std::size_t i = 0; i < n; ++i) {
    const auto at = std::lower_bound(tails.begin(), tails.end(), values[i],
                                     [&](std::size_t t, std::size_t v) { return values[t] < v; });
    if (at != tails.begin()) previous[i] = *(at - 1);
    if (at == tails.end()) tails.push_back(i);
    else *at = i;
  }
  std::vector<bool> marked(n, false);
  for (std::size_t i = tails.empty() ? n : tails.back(); i < n; i = previous[i]) marked[i] = true;
  return marked;
}

// Puts the controls in `order`, renumbers and restacks them, keeps the
// selection on the same controls, and records one step.
void applyOrder(const EntryOrder& order) {
  if (surfaceWindow() == nullptr || !deleteAllowed()) return;
  const std::vector<std::size_t> places = placesOf(order);
  const auto moved = reorderObjectEntries(objects, usedCount(), order);
  if (!moved || moved->empty()) return;
  for (const MovedControl& m : *moved)
    SetWindowLongPtrW(asHwnd(m.window), GWLP_ID, kControlIdBase + m.newIndex);
  const std::int32_t wasSelected = selectedObject;
  if (wasSelected >= 0 && static_cast<std::size_t>(wasSelected) < places.size())
    selectedObject = static_cast<std::int32_t>(places[static_cast<std::size_t>(wasSelected)]);
  restackControls(order);
  // Recorded with the selection on its control's new place, so that undo
  // and redo select the same control. (The numbers of the tab-order mode
  // follow every recorded change.)
  designChanged();
  if (selectedObject >= 0) showControlFields(selectedObject);
}

// ---- Tab-order mode ------------------------------------------------------

bool tabMode = false;
std::size_t tabNextPlace = 0;
std::uint64_t tabGroup = 0;
int shownNumbers = 0;  // number marks made so far (ids kFirstNumberId + k)

void placeNumber(int place) {
  const HWND mark = markWindow(kFirstNumberId + place);
  if (mark == nullptr) return;
  const DesignObject& object = objects[static_cast<std::size_t>(place)];
  const std::wstring text = std::to_wstring(place + 1);
  SetWindowTextW(mark, text.c_str());
  SetWindowLongPtrW(mark, GWLP_USERDATA,
                    static_cast<std::size_t>(place) < tabNextPlace ? kNumbered : kNotYetNumbered);
  const int width = static_cast<int>(text.size()) * kNumberDigitWidth + kNumberMargin;
  showMarkAt(mark, {object.x, object.y, object.x + width, object.y + kNumberHeight});
  InvalidateRect(mark, nullptr, FALSE);
}

void destroyNumbers() {
  const HWND surface = surfaceWindow();
  for (int k = 0; k < shownNumbers && surface != nullptr; ++k)
    if (const HWND mark = GetDlgItem(surface, kFirstNumberId + k)) DestroyWindow(mark);
  shownNumbers = 0;
}

}  // namespace

void gridSettingsChanged() {
  if (const HWND surface = surfaceWindow()) InvalidateRect(surface, nullptr, TRUE);
}

bool eraseSurfaceWithGrid(HWND surface, HDC dc) {
  if (!ownSettings.gridVisible) return false;
  const HBRUSH pattern = gridPattern(dc);
  if (pattern == nullptr) return false;
  RECT client{};
  GetClientRect(surface, &client);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  FillRect(dc, &client, pattern);
  return true;
}

RegionPoint snappedPlacementPoint(RegionPoint point) {
  if (!ownSettings.gridSnap || placingFreely()) return point;
  return {snapToGrid(point.x, ownSettings.gridStep), snapToGrid(point.y, ownSettings.gridStep)};
}

RegionPoint snappedMovePosition(std::int32_t moving, RegionPoint raw) {
  if (moving < 0 || moving >= usedCount() || placingFreely()) {
    hideSnapLines();
    return raw;
  }
  const DesignObject& object = objects[static_cast<std::size_t>(moving)];
  return snapShowingLines({raw.x, raw.y, object.width, object.height});
}

RegionPoint snappedSizingCursor(std::int32_t sizing, RegionPoint cursor) {
  if (sizing < 0 || sizing >= usedCount() || placingFreely()) {
    hideSnapLines();
    return cursor;
  }
  // The corner alone lines up: a rectangle of no size at the cursor.
  return snapShowingLines({cursor.x, cursor.y, 0, 0});
}

void hideSnapLines() {
  if (surfaceWindow() != nullptr) showSnapLines(std::nullopt, std::nullopt);
}

void bringSelectionToFront() {
  applyOrder(orderBringingToFront(static_cast<std::size_t>(usedCount()), selectedIndices()));
}

void sendSelectionToBack() {
  applyOrder(orderSendingToBack(static_cast<std::size_t>(usedCount()), selectedIndices()));
}

void orderControlsByPosition() {
  const auto count = static_cast<std::size_t>(usedCount());
  std::vector<PixelRect> rects;
  rects.reserve(count);
  std::unique_ptr<bool[]> groupBoxes(new bool[count]);
  for (std::size_t i = 0; i < count; ++i) {
    rects.push_back(rectOf(objects[i]));
    groupBoxes[i] = objects[i].kind == ObjectKind::BUTTON &&
                    (objects[i].style & kButtonTypeMask) == kGroupBoxStyle;
  }
  applyOrder(orderByPosition(rects, std::span<const bool>(groupBoxes.get(), count)));
}

namespace {

constexpr UINT kOnlyOrder = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;

// Puts control `k` right below the nearest control before it that has a
// window, or on top of them all.
void stackBelowPredecessor(std::size_t k) {
  const HWND control = asHwnd(objects[k].window);
  if (control == nullptr) return;
  HWND above = nullptr;
  for (std::size_t j = k; j > 0 && above == nullptr;) above = asHwnd(objects[--j].window);
  SetWindowPos(control, above == nullptr ? HWND_TOP : above, 0, 0, 0, 0, kOnlyOrder);
}

// The handles stay above every control, the marks below (see showMarkAt).
void restackAids(HWND surface) {
  for (const ToolCode id : {ToolCode::SizeTopLeft, ToolCode::SizeTopRight,
                            ToolCode::SizeBottomLeft, ToolCode::SizeBottomRight})
    if (const HWND handle = GetDlgItem(surface, static_cast<int>(id)))
      SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0, kOnlyOrder);
  for (const int id : {kVerticalLineId, kHorizontalLineId})
    if (const HWND mark = GetDlgItem(surface, id))
      SetWindowPos(mark, HWND_BOTTOM, 0, 0, 0, 0, kOnlyOrder);
  for (int k = 0; k < shownNumbers; ++k)
    if (const HWND mark = GetDlgItem(surface, kFirstNumberId + k))
      SetWindowPos(mark, HWND_BOTTOM, 0, 0, 0, 0, kOnlyOrder);
}

}  // namespace

void restackControls(std::span<const std::size_t> stackedAt) {
  const HWND surface = surfaceWindow();
  if (surface == nullptr) return;
  const auto count = std::min(static_cast<std::size_t>(usedCount()), stackedAt.size());
  const std::vector<bool> inPlace = longestRising(stackedAt.first(count));
  for (std::size_t k = 0; k < count; ++k)
    if (!inPlace[k]) stackBelowPredecessor(k);
  restackAids(surface);
}

void restackControlMadeAgain(std::size_t index) {
  const auto count = static_cast<std::size_t>(usedCount());
  std::vector<std::size_t> stackedAt(count);
  for (std::size_t k = 0; k < count; ++k) stackedAt[k] = k;
  if (index < count) stackedAt[index] = count;  // below them all
  restackControls(stackedAt);
}

bool tabOrderModeActive() { return tabMode; }

void toggleTabOrderMode() {
  if (tabMode) {
    leaveTabOrderMode();
    return;
  }
  if (surfaceWindow() == nullptr || !deleteAllowed()) return;
  // The clicks of the mode number controls; none is selected meanwhile.
  if (selectedObject >= 0) {
    hideSizeHandles();
    showWindowFields();
  }
  tabMode = true;
  tabNextPlace = 0;
  // One visit of the mode is one undo step, however many clicks it takes.
  tabGroup = newChangeGroup();
  refreshTabOrderNumbers();
}

void leaveTabOrderMode() {
  if (!tabMode) return;
  tabMode = false;
  tabNextPlace = 0;
  destroyNumbers();
}

void tabOrderClickOn(std::int32_t index) {
  if (!tabMode || index < 0 || index >= usedCount()) return;
  const auto click = tabOrderClick(static_cast<std::size_t>(usedCount()), tabNextPlace,
                                   static_cast<std::size_t>(index));
  if (!click) return;
  tabNextPlace = click->nextPlace;
  const auto moved = reorderObjectEntries(objects, usedCount(), click->order);
  if (moved && !moved->empty()) {
    for (const MovedControl& m : *moved)
      SetWindowLongPtrW(asHwnd(m.window), GWLP_ID, kControlIdBase + m.newIndex);
    restackControls(click->order);
    designChanged(tabGroup);  // the numbers follow the recorded change
  } else {
    refreshTabOrderNumbers();  // only the look of the numbered ones changed
  }
}

void refreshTabOrderNumbers() {
  if (!tabMode || surfaceWindow() == nullptr) return;
  const int count = std::min(usedCount(), kControlIdBase - kFirstNumberId);
  for (int k = count; k < shownNumbers; ++k)
    if (const HWND mark = GetDlgItem(surfaceWindow(), kFirstNumberId + k)) DestroyWindow(mark);
  tabNextPlace = std::min(tabNextPlace, static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) placeNumber(k);
  shownNumbers = count;
}

}  // namespace quorvin
