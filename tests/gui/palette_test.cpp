// The tool palette: its children, the cells' looks and hints, the tool
// choice, the font choice, the ID check on a background click, and a
// palette that cannot load its pictures.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/font_record.h"
#include "app/main_window.h"
#include "app/model.h"
#include "common/file_io.h"
#include "common/win32/gdi.h"
#include "common/win32/text.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/palette.h"
#include "designer/tool_cells.h"
#include "resources/resource.h"
#include "tests/gui/gui_support.h"

namespace quorvin::gui {
namespace {

using PaletteTest = DesignerTest;

// A child's rectangle in its parent's client coordinates.
std::wstring statusText() {
  wchar_t text[256] = {};
  GetDlgItemTextW(mainWindow, kStatusLineId, text, 256);
  return text;
}

// ---- Pixels ------------------------------------------------------------------

using Pixels = std::vector<std::uint32_t>;  // 0x00RRGGBB, row by row

// A 32-bit top-down DIB section of cell size to draw into or copy to.
struct Canvas {
  MemoryDc dc;
  UniqueBitmap bitmap;
  std::uint32_t* bits = nullptr;
  std::optional<SelectObjectGuard> select;

  Canvas() {
    const WindowDc screen = getWindowDc(nullptr);
    dc.reset(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kToolCellSize;
    info.bmiHeader.biHeight = -kToolCellSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* raw = nullptr;
    bitmap.reset(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &raw, nullptr, 0));
    bits = static_cast<std::uint32_t*>(raw);
    select.emplace(dc.get(), bitmap.get());
  }
  Pixels pixels() {
    GdiFlush();
    Pixels out(bits, bits + kToolCellSize * kToolCellSize);
    for (auto& p : out) p &= 0xFFFFFF;
    return out;
  }
};

// What a cell shows on screen now.
Pixels onScreen(HWND cell) {
  Canvas canvas;
  const WindowDc dc = getWindowDc(cell);
  BitBlt(canvas.dc.get(), 0, 0, kToolCellSize, kToolCellSize, dc.get(), 0, 0, SRCCOPY);
  return canvas.pixels();
}

// One look of a bitmap file, drawn as the cell should draw it.
Pixels expectedLook(const std::filesystem::path& file, bool chosen) {
  const std::optional<std::string> bytes = readFileBytes(file);
  if (!bytes) return {};
  const auto layout = checkToolBitmap(*bytes);
  if (!layout) return {};
  Canvas canvas;
  const int half = layout->halfWidth();
  StretchDIBits(canvas.dc.get(), 0, 0, half, layout->height, chosen ? half : 0, 0, half,
                layout->height, bytes->data() + layout->pixelsOffset,
                reinterpret_cast<const BITMAPINFO*>(bytes->data() + layout->headerOffset),
                DIB_RGB_COLORS, SRCCOPY);
  return canvas.pixels();
}

HWND cellOf(ToolCode tool) { return GetDlgItem(toolWindow, static_cast<int>(tool)); }

// For each cell in table order: true when it shows its chosen look. Fails
// the test when a cell shows neither look.
std::vector<bool> chosenCells(const std::filesystem::path& folder) {
  std::vector<bool> chosen;
  for (const ToolCellInfo& info : toolCellTable()) {
    const Pixels shown = onScreen(cellOf(info.tool));
    const bool isChosen = shown == expectedLook(folder / info.bitmapFile, true);
    const bool isNormal = shown == expectedLook(folder / info.bitmapFile, false);
    EXPECT_TRUE(isChosen || isNormal) << "cell " << static_cast<int>(info.tool)
                                      << " shows neither of its looks";
    chosen.push_back(isChosen);
  }
  return chosen;
}

std::vector<bool> onlyChosen(int cell) {
  std::vector<bool> v(9, false);
  v[static_cast<std::size_t>(cell)] = true;
  return v;
}

// ---- Children ----------------------------------------------------------------

TEST_F(PaletteTest, HoldsCellsButtonsLabelsAndFieldsWhereTheyBelong) {
  ASSERT_NE(toolWindow, nullptr);
  for (const ToolCellInfo& info : toolCellTable()) {
    SCOPED_TRACE(static_cast<int>(info.tool));
    const HWND cell = cellOf(info.tool);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(classOf(cell), L"Static");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(cell, GWL_STYLE)), 0x50000100u);
    const RECT r = rectInParent(cell);
    EXPECT_EQ(r.left, info.x);
    EXPECT_EQ(r.top, info.y);
    EXPECT_EQ(r.right - r.left, 26);
    EXPECT_EQ(r.bottom - r.top, 26);
  }

  struct Expected {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    RECT place;  // left, top, right, bottom
  };
  const Expected children[] = {
      {kStyleButtonId, L"Button", L"Style", 0x50000300, {1, 80, 79, 100}},
      {kFontButtonId, L"Button", L"FONT", 0x50000300, {1, 201, 82, 221}},
      {kCaptionFieldId, L"Edit", L"", 0x50000080, {18, 111, 80, 125}},
      {kIdFieldId, L"Edit", L"", 0x50000088, {18, 125, 80, 138}},
      {kWidthFieldId, L"Edit", L"", 0x50002080, {18, 138, 80, 151}},
      {kHeightFieldId, L"Edit", L"", 0x50002080, {18, 151, 80, 164}},
      {kXFieldId, L"Edit", L"", 0x50002080, {18, 164, 80, 177}},
      {kYFieldId, L"Edit", L"", 0x50002080, {18, 177, 80, 189}},
  };
  const HFONT font = reinterpret_cast<HFONT>(SendMessageW(
      GetDlgItem(toolWindow, kStyleButtonId), WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  for (const Expected& e : children) {
    SCOPED_TRACE(e.id);
    const HWND child = GetDlgItem(toolWindow, e.id);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(classOf(child), e.className);
    EXPECT_EQ(textOf(child), e.text);
    // The edit control adds its own state bits to the style; ours are all there.
    const auto style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
    EXPECT_EQ(style & e.style, e.style);
    const RECT r = rectInParent(child);
    EXPECT_EQ(r.left, e.place.left);
    EXPECT_EQ(r.top, e.place.top);
    EXPECT_EQ(r.right, e.place.right);
    EXPECT_EQ(r.bottom, e.place.bottom);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), font);
  }

  const HWND list = GetDlgItem(toolWindow, kLabelListId);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(classOf(list), L"ListBox");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(list, GWL_STYLE)) & 0x50000001u, 0x50000001u);
  EXPECT_EQ(rectInParent(list).left, 1);
  EXPECT_EQ(rectInParent(list).top, 111);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)), font);
  const wchar_t* labels[] = {L"C", L"ID", L"W", L"H", L"x", L"y"};
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 6);
  for (int i = 0; i < 6; ++i) {
    wchar_t item[16] = {};
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, labels[i]);
  }

  // The palette's font: 13 pixels, Shift-JIS, MS Gothic.
  LOGFONTW logFont{};
  ASSERT_NE(GetObjectW(font, sizeof logFont, &logFont), 0);
  EXPECT_EQ(logFont.lfHeight, 13);
  EXPECT_EQ(logFont.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_STREQ(logFont.lfFaceName, L"ＭＳ ゴシック");

  screenshot(toolWindow, "palette");
}

// ---- Cells -------------------------------------------------------------------

TEST_F(PaletteTest, ClickingACellMovesTheChosenLookAndSetsTheTool) {
  ASSERT_NE(toolWindow, nullptr);
  pump();
  EXPECT_EQ(chosenCells(folder()), onlyChosen(0)) << "Select starts chosen";

  const ToolCode clicks[] = {ToolCode::Button, ToolCode::CheckBox, ToolCode::AddPoint,
                             ToolCode::RadioButton, ToolCode::Select};
  for (const ToolCode tool : clicks) {
    SCOPED_TRACE(static_cast<int>(tool));
    click(screenOf(cellOf(tool), 13, 13));
    EXPECT_EQ(currentTool, tool);
    EXPECT_EQ(highlightedCell, cellIndexOfTool(tool));
    EXPECT_EQ(chosenCells(folder()), onlyChosen(cellIndexOfTool(tool)));
  }

  // A repaint of the whole palette keeps the same picture.
  selectTool(ToolCode::GroupBox);
  RedrawWindow(toolWindow, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(chosenCells(folder()), onlyChosen(cellIndexOfTool(ToolCode::GroupBox)));
}

TEST_F(PaletteTest, MovingOverACellShowsItsHint) {
  ASSERT_NE(toolWindow, nullptr);
  for (const ToolCellInfo& info : toolCellTable()) {
    SCOPED_TRACE(static_cast<int>(info.tool));
    mouseMove(screenOf(cellOf(info.tool), 5, 20));
    EXPECT_EQ(statusText(), cp932ToWide(info.hint));
  }
  EXPECT_EQ(statusText(), L"ラジオボタンを追加します。");
  // A tool choice from elsewhere changes the look, not the hint.
  selectTool(ToolCode::Button);
  EXPECT_EQ(statusText(), L"ラジオボタンを追加します。");
}

TEST_F(PaletteTest, EditCellKeepsTheVariantAndOtherCodesKeepTheCell) {
  ASSERT_NE(toolWindow, nullptr);
  currentTool = ToolCode::EditMH;  // as the edit-variant dialog leaves it
  selectTool(ToolCode::Edit);
  EXPECT_EQ(currentTool, ToolCode::EditMH);
  EXPECT_EQ(highlightedCell, 2);
  EXPECT_EQ(chosenCells(folder()), onlyChosen(2));

  // A code without a cell changes the tool but not the chosen cell.
  selectTool(ToolCode::Moving);
  EXPECT_EQ(currentTool, ToolCode::Moving);
  EXPECT_EQ(highlightedCell, 2);
  EXPECT_EQ(chosenCells(folder()), onlyChosen(2));
}

TEST_F(PaletteTest, PressingTheEditCellAsksForTheVariant) {
  ASSERT_NE(toolWindow, nullptr);
  const POINT editCell = screenOf(cellOf(ToolCode::Edit), 13, 13);
  // The press opens the dialog; while it is open the palette gets no release.
  HWND owner = nullptr;
  {
    DialogScript script;
    script.then([&](const DialogInfo& info) {
      owner = GetWindow(info.window, GW_OWNER);
      clickButton(info.window, IDC_EDITMENU_HSCROLL);
    });
    script.then([](const DialogInfo& info) { clickButton(info.window, IDC_EDITMENU_OK); });
    mouseDown(editCell);
    pump();
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(owner, toolWindow);
  EXPECT_EQ(currentTool, ToolCode::EditMH);
  EXPECT_EQ(chosenCells(folder()), onlyChosen(2));

  {
    DialogScript script;
    script.then([](const DialogInfo& info) { clickButton(info.window, IDC_EDITMENU_CANCEL); });
    mouseDown(editCell);
    pump();
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(currentTool, ToolCode::Select);
  EXPECT_EQ(chosenCells(folder()), onlyChosen(0));
}

// ---- Background click: the ID check ---------------------------------------------

TEST_F(PaletteTest, BackgroundClickWarnsOnlyAboutAnEmptyFocusedIdField) {
  ASSERT_NE(toolWindow, nullptr);
  const HWND idField = GetDlgItem(toolWindow, kIdFieldId);
  const HWND list = GetDlgItem(toolWindow, kLabelListId);
  RECT client{};
  GetClientRect(toolWindow, &client);
  const POINT background = screenOf(toolWindow, 40, client.bottom - 3);
  ASSERT_EQ(WindowFromPoint(background), toolWindow);

  // Empty and focused: the warning, then the focus back in the field.
  SendMessageW(list, LB_SETCURSEL, 2, 0);
  SetFocus(idField);
  {
    HWND owner = nullptr;
    DialogScript script;
    script.then([&](const DialogInfo& info) {
      owner = GetWindow(info.window, GW_OWNER);
      answerMessageBox(IDOK, kMissingIdMessage)(info);
    });
    click(background);
    EXPECT_TRUE(script.done());
    ASSERT_EQ(script.seen().size(), 1u);
    EXPECT_EQ(script.seen()[0].title, L"error");
    EXPECT_EQ(owner, toolWindow);
  }
  EXPECT_EQ(GetFocus(), idField);
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);

  // Filled in: no warning, and the focus leaves the fields.
  SetWindowTextW(idField, L"ID_OK");
  SetFocus(idField);
  SendMessageW(list, LB_SETCURSEL, 1, 0);
  {
    DialogScript script;  // any box would be reported as unexpected
    click(background);
    EXPECT_TRUE(script.seen().empty());
  }
  EXPECT_EQ(GetFocus(), toolWindow);
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);

  // Empty but not focused: no warning either.
  SetWindowTextW(idField, L"");
  SetFocus(GetDlgItem(toolWindow, kCaptionFieldId));
  {
    DialogScript script;
    click(background);
    EXPECT_TRUE(script.seen().empty());
  }
  EXPECT_EQ(GetFocus(), toolWindow);
}

// ---- The font choice ---------------------------------------------------------------

constexpr int kFaceBox = 0x470;  // the font dialog's face-name combo box (cmb1)
constexpr int kSizeBox = 0x472;  // its size combo box (cmb3)

std::wstring comboText(HWND combo, int index) {
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// Chooses the item `text` of a combo box of the font dialog as a user would.
void chooseInCombo(HWND dialog, int id, int index) {
  const HWND combo = GetDlgItem(dialog, id);
  SendMessageW(combo, CB_SETCURSEL, index, 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

std::wstring faceOf(HFONT font) {
  LOGFONTW logFont{};
  GetObjectW(font, sizeof logFont, &logFont);
  return logFont.lfFaceName;
}

HFONT fontOfControl(int index) {
  return reinterpret_cast<HFONT>(
      SendMessageW(reinterpret_cast<HWND>(objects[static_cast<std::size_t>(index)].window),
                   WM_GETFONT, 0, 0));
}

TEST_F(PaletteTest, FontButtonGivesTheChosenFontToEveryControl) {
  ASSERT_NE(toolWindow, nullptr);
  newDesign(L"Fonts", L"FontClass");
  place(static_cast<int>(ToolCode::Button), {10, 10}, {90, 40});
  place(static_cast<int>(ToolCode::Static), {10, 60}, {90, 80});
  ASSERT_EQ(project.objectCount, 2);
  const HFONT before = reinterpret_cast<HFONT>(project.fontHandle);

  // A face other than the current one, and the size 20.
  std::wstring chosenFace;
  HWND owner = nullptr;
  DialogScript script;
  script.then([&](const DialogInfo& info) {
    owner = GetWindow(info.window, GW_OWNER);
    const HWND faces = GetDlgItem(info.window, kFaceBox);
    const int count = static_cast<int>(SendMessageW(faces, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count && chosenFace.empty(); ++i) {
      const std::wstring face = comboText(faces, i);
      if (!face.empty() && face[0] != L'@' && face != cp932ToWide(project.font.lfFaceName)) {
        chooseInCombo(info.window, kFaceBox, i);
        chosenFace = face;
      }
    }
    const HWND sizes = GetDlgItem(info.window, kSizeBox);
    const LRESULT twenty = SendMessageW(sizes, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(L"20"));
    if (twenty != CB_ERR) chooseInCombo(info.window, kSizeBox, static_cast<int>(twenty));
    clickButton(info.window, IDOK);
  });
  SendMessageW(GetDlgItem(toolWindow, kFontButtonId), BM_CLICK, 0, 0);
  pump();
  ASSERT_TRUE(script.done());
  ASSERT_FALSE(chosenFace.empty()) << "the font dialog offered no other face";
  EXPECT_EQ(owner, toolWindow);

  EXPECT_EQ(cp932ToWide(project.font.lfFaceName), chosenFace);
  EXPECT_EQ(project.font.lfHeight, -MulDiv(20, 96, 72)) << "size 20 at 96 dpi";
  const HFONT after = reinterpret_cast<HFONT>(project.fontHandle);
  ASSERT_NE(after, nullptr);
  EXPECT_NE(after, before);
  EXPECT_EQ(GetObjectType(before), 0u) << "the old font was not deleted";
  EXPECT_EQ(faceOf(after), chosenFace);
  for (int i = 0; i < project.objectCount; ++i) EXPECT_EQ(fontOfControl(i), after);
}

TEST_F(PaletteTest, CancelledFontChoiceRemakesTheUnchangedFont) {
  ASSERT_NE(toolWindow, nullptr);
  newDesign(L"Fonts", L"FontClass");
  place(static_cast<int>(ToolCode::ListBox), {10, 10}, {90, 60});
  ASSERT_EQ(project.objectCount, 1);
  const FontSpec kept = project.font;
  const HFONT before = reinterpret_cast<HFONT>(project.fontHandle);

  DialogScript script;
  script.then(cancelDialog());
  SendMessageW(GetDlgItem(toolWindow, kFontButtonId), BM_CLICK, 0, 0);
  pump();
  ASSERT_TRUE(script.done());

  EXPECT_EQ(project.font, kept);
  const HFONT after = reinterpret_cast<HFONT>(project.fontHandle);
  ASSERT_NE(after, nullptr);
  EXPECT_NE(after, before);
  EXPECT_EQ(GetObjectType(before), 0u) << "the old font was not deleted";
  EXPECT_EQ(fontOfControl(0), after);
  LOGFONTW made{};
  ASSERT_NE(GetObjectW(after, sizeof made, &made), 0);
  EXPECT_EQ(made.lfHeight, kept.lfHeight);
  EXPECT_EQ(made.lfCharSet, kept.lfCharSet);
  EXPECT_EQ(made.lfFaceName, cp932ToWide(kept.lfFaceName));
}

TEST(FontSpecConversion, FaceNamesTravelThroughCp932AndStayInTheirBytes) {
  // A face read from a file may fill all 32 bytes with no terminator.
  FontSpec full{};
  full.lfHeight = -20;
  full.lfWeight = 700;
  full.lfItalic = 1;
  full.lfCharSet = SHIFTJIS_CHARSET;
  std::memset(full.lfFaceName, 'F', sizeof full.lfFaceName);
  const LOGFONTW wide = logFontOf(full);
  EXPECT_EQ(wide.lfHeight, -20);
  EXPECT_EQ(wide.lfWeight, 700);
  EXPECT_EQ(wide.lfItalic, 1);
  EXPECT_EQ(wide.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(std::wstring(wide.lfFaceName), std::wstring(31, L'F'));

  // Back to CP932: a Japanese face longer than 31 bytes is cut before the
  // character that would not fit whole.
  LOGFONTW japanese{};
  const std::wstring face = L"A" + std::wstring(20, L'ゴ');  // 1 + 40 bytes in CP932
  std::copy(face.begin(), face.end(), japanese.lfFaceName);
  const FontSpec back = fontSpecOf(japanese);
  EXPECT_EQ(std::string(back.lfFaceName), wideToCp932(L"A" + std::wstring(15, L'ゴ')));
  EXPECT_EQ(back.lfFaceName[31], '\0');

  const FontSpec defaults = defaultFontSpec();
  EXPECT_EQ(fontSpecOf(logFontOf(defaults)), defaults);
}

// ---- A palette without its pictures ---------------------------------------------------

struct BadBitmap {
  const char* name;
  const char* file;
  // Turns the good file into a bad one; nullopt removes it.
  std::function<std::optional<std::string>(std::string)> spoil;
};

void PrintTo(const BadBitmap& bad, std::ostream* out) { *out << bad.name; }

// The file with a little-endian value written over its bytes at `at`.
std::optional<std::string> patched(std::string bytes, std::size_t at, std::uint32_t value,
                                   std::size_t width = 4) {
  if (bytes.size() < at + width) return bytes;
  for (std::size_t i = 0; i < width; ++i) bytes.at(at + i) = static_cast<char>(value >> (8 * i));
  return bytes;
}

class BadBitmapTest : public DesignerTest, public testing::WithParamInterface<BadBitmap> {
 protected:
  void prepareFolder(const std::filesystem::path& folder) override {
    const auto file = folder / GetParam().file;
    std::optional<std::string> bytes = readFileBytes(file);
    ASSERT_TRUE(bytes.has_value());
    std::filesystem::remove(file);
    const std::optional<std::string> spoilt = GetParam().spoil(*bytes);
    if (spoilt) std::ofstream(file, std::ios::binary) << *spoilt;
    // The start-up's message box, answered as a user would.
    script_.emplace().then(answerMessageBox(IDOK));
  }
  std::optional<DialogScript> script_;
};

TEST_P(BadBitmapTest, EndsTheProgramAtStartNamingTheFile) {
  EXPECT_EQ(toolWindow, nullptr);
  EXPECT_EQ(FindWindowW(L"ToolWindow", nullptr), nullptr) << "the palette is still there";
  EXPECT_TRUE(quitPosted()) << "no quit message";
  // Before it ends, the program said which file stopped it and where it
  // looked (the current folder, then the test program's own).
  ASSERT_TRUE(script_->done()) << "no message box at start";
  ASSERT_EQ(script_->seen().size(), 1u);
  const std::wstring& text = script_->seen()[0].text;
  const std::wstring file = std::filesystem::path(GetParam().file).wstring();
  const bool missing = std::string_view(GetParam().name) == "MissingListBox";
  EXPECT_NE(text.find(missing ? L"「" + file + L"」が見つかりません。"
                              : (folder().filename() / file).wstring() + L"」を読み込めません。"),
            std::wstring::npos)
      << wideToUtf8(text);
  EXPECT_NE(text.find(L"探したフォルダー:\n    "), std::wstring::npos) << wideToUtf8(text);
  EXPECT_NE(text.find(folder().filename().wstring()), std::wstring::npos) << wideToUtf8(text);
  EXPECT_EQ(script_->seen()[0].title, L"error");
}

INSTANTIATE_TEST_SUITE_P(
    Palette, BadBitmapTest,
    testing::Values(
        BadBitmap{"MissingListBox", "ListBox.bmp",
                  [](std::string) -> std::optional<std::string> { return std::nullopt; }},
        // The header promises 2600 rows; the file holds 26.
        BadBitmap{"RowsBeyondTheFile", "Static.bmp",
                  [](std::string b) { return patched(std::move(b), 22, 2600); }},
        BadBitmap{"PixelsOffsetBeyondTheFile", "GroupBox.bmp",
                  [](std::string b) { return patched(std::move(b), 10, 0x7FFFFFF0u); }},
        BadBitmap{"OneBitPerPixel", "Button.bmp",
                  [](std::string b) { return patched(std::move(b), 28, 1, 2); }}),
    [](const testing::TestParamInfo<BadBitmap>& info) { return std::string(info.param.name); });

// ---- Other bitmap formats ------------------------------------------------------------

// A 52 x 26 bitmap whose left half is `normal` and right half `chosen`, with
// the top row of both halves `top`: 4 bits per pixel with a colour table, or
// 24 bits stored top-down (negative height).
std::string makeBitmap(int bitCount, bool topDown, COLORREF normal, COLORREF chosen,
                       COLORREF top) {
  constexpr int kWidth = 52;
  constexpr int kHeight = 26;
  const int paletteEntries = bitCount == 4 ? 16 : 0;
  const int rowBytes = ((kWidth * bitCount + 31) / 32) * 4;
  const std::uint32_t pixelsOffset = 14 + 40 + static_cast<std::uint32_t>(paletteEntries) * 4;
  std::string file(pixelsOffset + static_cast<std::size_t>(rowBytes) * kHeight, '\0');
  auto put = [&](std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) file[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, static_cast<std::uint32_t>(file.size()), 4);
  put(10, pixelsOffset, 4);
  put(14, 40, 4);
  put(18, kWidth, 4);
  put(22, static_cast<std::uint32_t>(topDown ? -kHeight : kHeight), 4);
  put(26, 1, 2);
  put(28, static_cast<std::uint32_t>(bitCount), 2);
  auto bgr = [](COLORREF c) {
    return static_cast<std::uint32_t>(GetBValue(c) | (GetGValue(c) << 8) | (GetRValue(c) << 16));
  };
  const COLORREF colours[] = {normal, chosen, top};
  if (bitCount == 4)
    for (int i = 0; i < 3; ++i) put(54 + static_cast<std::size_t>(i) * 4, bgr(colours[i]), 4);
  for (int row = 0; row < kHeight; ++row) {
    const bool isTopRow = topDown ? row == 0 : row == kHeight - 1;  // file row order
    const std::size_t rowStart = pixelsOffset + static_cast<std::size_t>(row) * rowBytes;
    for (int x = 0; x < kWidth; ++x) {
      const int index = isTopRow ? 2 : (x < kWidth / 2 ? 0 : 1);
      if (bitCount == 4) {
        const std::size_t at = rowStart + static_cast<std::size_t>(x) / 2;
        const auto nibble = static_cast<unsigned char>(x % 2 == 0 ? index << 4 : index);
        file[at] = static_cast<char>(static_cast<unsigned char>(file[at]) | nibble);
      } else {
        put(rowStart + static_cast<std::size_t>(x) * 3, bgr(colours[index]), 3);
      }
    }
  }
  return file;
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

class OtherBitmapsTest : public DesignerTest {
 protected:
  void prepareFolder(const std::filesystem::path& folder) override {
    std::ofstream(folder / "Select.bmp", std::ios::binary) << makeBitmap(4, false, kRed, kBlue, kGreen);
    std::ofstream(folder / "Button.bmp", std::ios::binary) << makeBitmap(24, true, kBlue, kRed, kGreen);
  }
};

COLORREF pixelOf(HWND cell, int x, int y) {
  const WindowDc dc = getWindowDc(cell);
  return GetPixel(dc.get(), x, y) & 0xFFFFFF;
}

TEST_F(OtherBitmapsTest, PaletteBitmapsOfFourBitsOrTopDownAreDrawnAsTheyAre) {
  ASSERT_NE(toolWindow, nullptr) << "the palette refused a usable bitmap";
  pump();
  const HWND select = cellOf(ToolCode::Select);
  const HWND button = cellOf(ToolCode::Button);
  EXPECT_EQ(pixelOf(select, 5, 10), kBlue) << "Select starts in its chosen look";
  EXPECT_EQ(pixelOf(select, 5, 0), kGreen) << "the top row is at the top";
  EXPECT_EQ(pixelOf(button, 20, 10), kBlue);
  EXPECT_EQ(pixelOf(button, 20, 0), kGreen);

  selectTool(ToolCode::Button);
  EXPECT_EQ(pixelOf(select, 5, 10), kRed);
  EXPECT_EQ(pixelOf(button, 20, 10), kRed);
  EXPECT_EQ(pixelOf(button, 20, 0), kGreen);
}

}  // namespace
}  // namespace quorvin::gui
