// The tool palette: its window procedure, the nine tool cells with their
// bitmaps and hints, the tool choice and the project font choice.
#include "designer/palette.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <utility>

#include "app/font_record.h"
#include "app/main_window.h"
#include "app/model_win32.h"
#include "app/start_files.h"
#include "common/file_io.h"
#include "common/win32/gdi.h"
#include "common/win32/text.h"
#include "common/win32/window_idioms.h"
#include "designer/design_changes.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/project_font.h"
#include "designer/surface.h"
#include "designer/tool_cells.h"
#include "styles/style_dialogs.h"

namespace quorvin {

int highlightedCell = 0;

namespace {

// One tool cell: its STATIC window and the bitmap file it is drawn from.
struct ToolCell {
  HWND window = nullptr;
  std::string fileImage;    // the whole bitmap file, owned; empty = not loaded
  ToolBitmapLayout layout;  // where the drawing finds header and pixels in it
};

constexpr std::size_t kCellCount = 9;
std::array<ToolCell, kCellCount> toolCells;
// The STATIC class procedure, taken from cell 0 before the cells are subclassed.
WNDPROC cellStaticProc = nullptr;
// The palette's own font (buttons, label list, fields); owned until the
// palette and its children are gone.
UniqueFont toolFont;

// Children of the palette besides the cells.
struct ChildSpec {
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;
  int id;
  int x, y, width, height;  // palette client coordinates, pixels
};

constexpr DWORD kCellStyle = WS_CHILD | WS_VISIBLE | SS_NOTIFY;            // 0x50000100
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | BS_CENTER;          // 0x50000300
constexpr DWORD kLabelListStyle = WS_CHILD | WS_VISIBLE | LBS_NOTIFY;      // 0x50000001
constexpr DWORD kTextFieldStyle = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;  // 0x50000080
constexpr DWORD kIdFieldStyle = kTextFieldStyle | ES_UPPERCASE;            // 0x50000088
constexpr DWORD kNumberFieldStyle = kTextFieldStyle | ES_NUMBER;           // 0x50002080
constexpr int kFieldWidth = 62;
constexpr int kToolFontHeight = 13;  // the cell height of the palette's own texts

constexpr std::array<ChildSpec, 9> kChildren{{
    {L"BUTTON", L"Style", kButtonStyle, kStyleButtonId, 1, 80, 78, 20},
    {L"BUTTON", L"FONT", kButtonStyle, kFontButtonId, 1, 201, 81, 20},
    {L"LISTBOX", nullptr, kLabelListStyle, kLabelListId, 1, 111, 17, 94},
    {L"EDIT", nullptr, kTextFieldStyle, kCaptionFieldId, 18, 111, kFieldWidth, 14},
    {L"EDIT", nullptr, kIdFieldStyle, kIdFieldId, 18, 125, kFieldWidth, 13},
    {L"EDIT", nullptr, kNumberFieldStyle, kWidthFieldId, 18, 138, kFieldWidth, 13},
    {L"EDIT", nullptr, kNumberFieldStyle, kHeightFieldId, 18, 151, kFieldWidth, 13},
    {L"EDIT", nullptr, kNumberFieldStyle, kXFieldId, 18, 164, kFieldWidth, 13},
    {L"EDIT", nullptr, kNumberFieldStyle, kYFieldId, 18, 177, kFieldWidth, 12},
}};

constexpr std::array<const wchar_t*, 6> kFieldLabels{L"C", L"ID", L"W", L"H", L"x", L"y"};

// ---- Cells ---------------------------------------------------------------

int cellIndexOfWindow(HWND cell) {
  return cellIndexOfTool(static_cast<ToolCode>(GetDlgCtrlID(cell)));
}

// Reads a cell's whole bitmap file and keeps it when the drawing can use
// it; false (and no image) for a missing, oversized or unusable file.
bool loadCellBitmap(ToolCell& cell, const Path& file) {
  cell.fileImage.clear();
  cell.fileImage.shrink_to_fit();
  std::optional<std::string> bytes = readFileBytes(file, kMaxToolBitmapBytes);
  if (!bytes) return false;
  const std::optional<ToolBitmapLayout> layout = checkToolBitmap(*bytes);
  if (!layout) return false;
  cell.fileImage = *std::move(bytes);
  cell.layout = *layout;
  return true;
}

// Copies one half of the cell's bitmap 1:1 to (0, 0) of `dc`: the left half
// for the normal look, the right half for the chosen one.
void drawCellLook(const ToolCell& cell, HDC dc, bool chosen) {
  if (cell.fileImage.empty() || dc == nullptr) return;
  const ToolBitmapLayout& layout = cell.layout;
  const int half = layout.halfWidth();
  const auto* info =
      reinterpret_cast<const BITMAPINFO*>(cell.fileImage.data() + layout.headerOffset);
  const void* pixels = cell.fileImage.data() + layout.pixelsOffset;
  StretchDIBits(dc, 0, 0, half, layout.height, chosen ? half : 0, 0, half, layout.height,
                pixels, info, DIB_RGB_COLORS, SRCCOPY);
}

// Draws cell `index` at once through a device context of its own.
void redrawCell(int index, bool chosen) {
  if (index < 0 || index >= static_cast<int>(kCellCount)) return;
  const ToolCell& cell = toolCells[static_cast<std::size_t>(index)];
  if (cell.window == nullptr) return;
  const WindowDc dc = getWindowDc(cell.window);
  drawCellLook(cell, dc.get(), chosen);
}

void paintCell(HWND window) {
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(window, &paint);
  const int index = cellIndexOfWindow(window);
  if (index >= 0)
    drawCellLook(toolCells[static_cast<std::size_t>(index)], dc, index == highlightedCell);
  EndPaint(window, &paint);
}

// The cell's hint goes into the main window's status line.
void showHint(HWND cell) {
  const int index = cellIndexOfWindow(cell);
  if (index < 0) return;
  const std::wstring hint = cp932ToWide(toolCellTable()[static_cast<std::size_t>(index)].hint);
  // Through its handle: a point marker may carry the status line's id too.
  if (statusLine != nullptr) SetWindowTextW(statusLine, hint.c_str());
}

LRESULT passToStatic(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (cellStaticProc == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return CallWindowProcW(cellStaticProc, window, message, wParam, lParam);
}

LRESULT CALLBACK cellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return guardedCall([&]() -> LRESULT {
    switch (message) {
      case WM_PAINT:
        // Painted here; the STATIC procedure then finds nothing left to paint.
        paintCell(window);
        showHint(window);
        break;
      case WM_MOUSEMOVE:
        showHint(window);
        break;
      case WM_LBUTTONUP:
        selectTool(static_cast<ToolCode>(GetDlgCtrlID(window)));
        break;
      default:
        break;
    }
    return passToStatic(window, message, wParam, lParam);
  });
}

// Creates the nine cells, loads their bitmaps in table order and subclasses
// them. False as soon as one bitmap cannot be used, which is then named in
// `unusableBitmap` (null when a cell could not be made).
bool createCells(HWND palette, HINSTANCE instance, const char*& unusableBitmap) {
  const auto table = toolCellTable();
  for (std::size_t i = 0; i < kCellCount; ++i) {
    const ToolCellInfo& info = table[i];
    toolCells[i].window = CreateWindowExW(
        0, L"STATIC", nullptr, kCellStyle, info.x, info.y, kToolCellSize, kToolCellSize,
        palette, idAsMenu(static_cast<int>(info.tool)), instance, nullptr);
    if (toolCells[i].window == nullptr) return false;
  }
  for (std::size_t i = 0; i < kCellCount; ++i) {
    if (!loadCellBitmap(toolCells[i], toolBitmapPlace(table[i].bitmapFile))) {
      unusableBitmap = table[i].bitmapFile;
      return false;
    }
  }
  cellStaticProc =
      reinterpret_cast<WNDPROC>(GetWindowLongPtrW(toolCells[0].window, GWLP_WNDPROC));
  for (const ToolCell& cell : toolCells)
    SetWindowLongPtrW(cell.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(cellProc));
  return true;
}

void forgetCells() {
  for (ToolCell& cell : toolCells) cell = ToolCell{};
  cellStaticProc = nullptr;
}

// ---- The font choice -------------------------------------------------------

// The common font dialog, then the project font made anew whatever the
// answer. The dialog does not start from the current font.
void chooseProjectFont(HWND owner) {
  LOGFONTW logFont = logFontOf(project.font);
  CHOOSEFONTW choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = owner;
  choice.lpLogFont = &logFont;
  choice.Flags = CF_SCREENFONTS | CF_EFFECTS;
  choice.rgbColors = 0;
  choice.nFontType = SCREEN_FONTTYPE;
  if (ChooseFontW(&choice)) project.font = fontSpecOf(logFont);
  applyProjectFont();
}

// ---- The palette window ------------------------------------------------------

LRESULT onCreate(HWND window, const CREATESTRUCTW& create) {
  highlightedCell = 0;
  const char* unusableBitmap = nullptr;
  if (!createCells(window, create.hInstance, unusableBitmap)) {
    // Without its pictures the palette cannot work: it goes, and with it
    // the program (WM_DESTROY posts the quit message), after saying why.
    if (unusableBitmap != nullptr) reportUnusableToolBitmap(unusableBitmap);
    DestroyWindow(window);
    return -1;
  }
  for (const ChildSpec& child : kChildren)
    CreateWindowExW(0, child.className, child.text, child.style, child.x, child.y, child.width,
                    child.height, window, idAsMenu(child.id),
                    create.hInstance, nullptr);
  for (const wchar_t* label : kFieldLabels)
    SendDlgItemMessageW(window, kLabelListId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
  toolFont = makeGothicFont(kToolFontHeight);
  for (const ChildSpec& child : kChildren)
    SendDlgItemMessageW(window, child.id, WM_SETFONT, reinterpret_cast<WPARAM>(toolFont.get()),
                        TRUE);
  UpdateWindow(window);
  subclassFields(window);
  return 0;
}

// After the children are gone: nothing of this palette stays behind.
void onFinalDestroy(HWND window) {
  forgetCells();
  toolFont.reset();
  if (toolWindow == window) toolWindow = nullptr;
}

void onCommand(HWND window, int id, int notification) {
  switch (id) {
    case static_cast<int>(ToolCode::Edit):
      if (notification == STN_CLICKED) runEditVariantDialog(window);
      break;
    case kFontButtonId:
      if (notification == BN_CLICKED) {
        chooseProjectFont(window);
        designChanged();
      }
      break;
    case kStyleButtonId:
      if (notification == BN_CLICKED) {
        runStyleDialog(mainWindow);
        designChanged();
      }
      break;
    default:
      break;
  }
}

// A press on the palette's background takes the focus out of the fields,
// unless the ID field is left empty.
void onBackgroundPress(HWND window) {
  const bool warned = reportEmptyIdField(window);
  SendDlgItemMessageW(window, kLabelListId, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  if (!warned) SetFocus(window);
}

}  // namespace

LRESULT CALLBACK toolWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return guardedCall(
          [&] { return onCreate(window, *reinterpret_cast<const CREATESTRUCTW*>(lParam)); }, -1);
    case WM_CLOSE:
      // Alt+F4 on the palette: the program ends only through the main
      // window's close question, never by losing the palette unasked.
      if (mainWindow != nullptr) SendMessageW(mainWindow, WM_CLOSE, 0, 0);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      onFinalDestroy(window);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_COMMAND:
      return guardedCall([&]() -> LRESULT {
        onCommand(window, LOWORD(wParam), HIWORD(wParam));
        return 0;
      });
    case WM_LBUTTONDOWN:
      return guardedCall([&]() -> LRESULT {
        onBackgroundPress(window);
        return 0;
      });
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void selectTool(ToolCode code) {
  redrawCell(highlightedCell, false);
  highlightedCell = highlightedCellAfter(code, highlightedCell);
  // A corner still picked up is dropped where it is, not left pending.
  if (chooseTool(code)) applyDroppedCorner();
  // The handles serve the Select tool only; with another tool they would
  // catch the presses of a placement that starts on them.
  if (currentTool != ToolCode::Select)
    hideSizeHandles();
  else if (selectedEntry() != nullptr)
    showSelectionHandles();
  redrawCell(highlightedCell, true);
}

}  // namespace quorvin
