// Several controls at once, as a user works them: the rubber band and
// Ctrl+click, typing into the fields for all of them, deleting them, moving
// them with the mouse, the arrow keys and Tab (never taken from a field),
// a Layout command that undo takes back to the byte, and copy and paste.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/model.h"
#include "app/model_win32.h"
#include "app/own_settings.h"
#include "app/project_file.h"
#include "designer/edit_history.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/geometry.h"
#include "designer/sizing.h"
#include "designer/surface.h"
#include "resources/resource.h"
#include "tests/gui/gui_support.h"
#include "tests/win32/held_keys.h"

namespace quorvin::gui {
namespace {

HWND field(int id) { return GetDlgItem(toolWindow, id); }
std::wstring fieldText(int id) { return textOf(field(id)); }
POINT at(int x, int y) { return screenOf(surfaceWindow(), x, y); }
std::string designFile() { return serializeProject(project, objects); }
const DesignObject& control(int index) { return objects[static_cast<std::size_t>(index)]; }
std::vector<std::int32_t> selection() { return selectedControls(); }

// A key as the keyboard queues it for the window with the focus.
void key(UINT code, bool control = false, bool shift = false) {
  const HeldKeys held(control, shift);
  HWND target = GetFocus();
  if (target == nullptr) target = mainWindow;
  PostMessageW(target, WM_KEYDOWN, code, 1);
  pump();
  PostMessageW(target, WM_KEYUP, code, 0xC0000001);
  pump();
}

void ctrlClick(POINT screen) {
  const HeldKeys held(true, false);
  click(screen);
}

// The hollow corners that show around the selected controls other than
// the primary one, counted on the screen as the user sees it: squares
// centred on a control's corners, their rim in the frame colour and white
// inside, wherever no control lies over them (a control repainting itself
// paints over its siblings).
int hollowHandlesShown() {
  const HWND surface = surfaceWindow();
  RedrawWindow(surface, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  const HDC dc = GetDC(surface);
  const COLORREF rim = GetSysColor(COLOR_WINDOWFRAME);
  const COLORREF inside = GetSysColor(COLOR_WINDOW);
  const auto underAControl = [](int x, int y) {
    for (int i = 0; i < project.objectCount; ++i) {
      const PixelRect r = rectOf(control(i));
      if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) return true;
    }
    return false;
  };
  int count = 0;
  for (int i = 0; i < project.objectCount; ++i) {
    for (const RegionPoint corner : sizeHandlePositions(rectOf(control(i)))) {
      bool hollow = true;
      for (int y = 0; y < kSizeHandleSize && hollow; ++y)
        for (int x = 0; x < kSizeHandleSize && hollow; ++x) {
          if (underAControl(corner.x + x, corner.y + y)) continue;
          const bool onRim = x == 0 || y == 0 || x == kSizeHandleSize - 1 || y == kSizeHandleSize - 1;
          hollow = GetPixel(dc, corner.x + x, corner.y + y) == (onRim ? rim : inside);
        }
      if (hollow) ++count;
    }
  }
  ReleaseDC(surface, dc);
  return count;
}

// The surface's client area as the screen shows it after a command, and
// again after all of it has been repainted: the same, so the command
// repainted everything it changed, and only that. The selection's handle
// squares are left out: they overlap controls that do not clip their
// siblings, and the system paints such overlaps in an order of its own.
void expectAsWhollyRepainted() {
  const HWND surface = surfaceWindow();
  RECT client{};
  GetClientRect(surface, &client);
  const auto shown = [&] {
    RedrawWindow(surface, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::vector<COLORREF> pixels;
    const HDC dc = GetDC(surface);
    for (int y = 0; y < client.bottom; ++y)
      for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(surface, dc);
    return pixels;
  };
  const std::vector<COLORREF> asLeft = shown();
  RedrawWindow(surface, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  const std::vector<COLORREF> whole = shown();
  int differing = 0;
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x) {
      bool onHandle = false;
      for (const std::int32_t index : selectedControls())
        for (const RegionPoint corner : sizeHandlePositions(rectOf(control(index))))
          onHandle = onHandle || (x >= corner.x && x < corner.x + kSizeHandleSize &&
                                  y >= corner.y && y < corner.y + kSizeHandleSize);
      const std::size_t at = static_cast<std::size_t>(y * client.right + x);
      if (!onHandle && asLeft[at] != whole[at]) ++differing;
    }
  EXPECT_EQ(differing, 0) << "pixels the command left unpainted";
}

bool menuItemEnabled(int id) {
  SendMessageW(mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetMenu(mainWindow)), 0);
  return (GetMenuState(GetMenu(mainWindow), static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) == 0;
}

class SelectionTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    if (HasFatalFailure()) return;
    movePaletteAside();
    newDesign(L"Several", L"SeveralClass");
    MoveWindow(surfaceWindow(), 10, 10, 360, 320, TRUE);
    pump();
    // A (20,20 80x30), B (150,30 80x30), C (40,150 100x40).
    place(static_cast<int>(ToolCode::Button), {20, 20}, {100, 50});
    place(static_cast<int>(ToolCode::Static), {150, 30}, {230, 60});
    place(static_cast<int>(ToolCode::Button), {40, 150}, {140, 190});
    ASSERT_EQ(project.objectCount, 3);
    SetFocus(mainWindow);
    pump();
  }
};

TEST_F(SelectionTest, BandAndCtrlClickChooseTheFieldsTypeForAllAndDeleteTakesAll) {
  // A band from the empty corner touches A and B, not C.
  drag(at(5, 5), at(160, 40));
  EXPECT_EQ(selection(), (std::vector<std::int32_t>{0, 1}));
  EXPECT_EQ(selectedObject, 1);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(surfaceWindow(), 13000)));
  EXPECT_EQ(hollowHandlesShown(), 4);
  // What they share shows; what differs is empty.
  EXPECT_EQ(fieldText(kWidthFieldId), L"80");
  EXPECT_EQ(fieldText(kHeightFieldId), L"30");
  EXPECT_EQ(fieldText(kXFieldId), L"");
  EXPECT_EQ(fieldText(kCaptionFieldId), L"");

  ctrlClick(at(90, 170));  // C joins and leads
  EXPECT_EQ(selection().size(), 3u);
  EXPECT_EQ(selectedObject, 2);
  ctrlClick(at(60, 35));  // A leaves
  EXPECT_EQ(selection(), (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(hollowHandlesShown(), 4);
  EXPECT_EQ(fieldText(kHeightFieldId), L"");

  // A width typed goes to both; the empty fields change nothing.
  const HWND width = field(kWidthFieldId);
  SetFocus(width);
  SendMessageW(width, EM_SETSEL, 0, -1);
  for (const wchar_t c : std::wstring(L"50")) {
    SendMessageW(width, WM_KEYDOWN, 'A', 1);
    SendMessageW(width, WM_CHAR, c, 1);
    SendMessageW(width, WM_KEYUP, 'A', 0xC0000001);
  }
  SetFocus(mainWindow);
  pump();
  EXPECT_EQ(control(1).width, 50);
  EXPECT_EQ(control(2).width, 50);
  EXPECT_EQ(control(0).width, 80);
  EXPECT_EQ(control(1).height, 30);
  EXPECT_EQ(control(2).height, 40);
  EXPECT_EQ(control(2).x, 40);
  EXPECT_EQ(control(1).caption, "STATIC");
  RECT onScreen = rectInParent(asHwnd(control(2).window));
  EXPECT_EQ(onScreen.right - onScreen.left, 50);

  // Delete takes both, in one step that undo gives back whole.
  const std::string before = designFile();
  const std::size_t steps = editHistory.undoCount();
  SendMessageW(mainWindow, WM_KEYDOWN, VK_DELETE, 0);
  pump();
  ASSERT_EQ(project.objectCount, 1);
  EXPECT_EQ(control(0).x, 20);
  EXPECT_EQ(editHistory.undoCount(), steps + 1);
  key('Z', true);
  EXPECT_EQ(designFile(), before);
}

TEST_F(SelectionTest, DraggingOneOfTheSelectionMovesThemAll) {
  click(at(60, 35));
  ctrlClick(at(190, 45));
  ASSERT_EQ(selection().size(), 2u);
  const std::size_t steps = editHistory.undoCount();
  drag(at(60, 35), at(90, 75), 6);
  EXPECT_EQ(control(0).x, 50);
  EXPECT_EQ(control(0).y, 60);
  EXPECT_EQ(control(1).x, 180);
  EXPECT_EQ(control(1).y, 70);
  EXPECT_EQ(control(2).x, 40);  // not selected, not moved
  EXPECT_EQ(rectInParent(asHwnd(control(1).window)).left, 180);
  EXPECT_EQ(selectedObject, 0);  // the one dragged leads
  EXPECT_EQ(selection().size(), 2u);
  EXPECT_EQ(hollowHandlesShown(), 4);
  EXPECT_EQ(editHistory.undoCount(), steps + 1);
}

TEST_F(SelectionTest, ArrowsNudgeAndSizeTabWalksAndAFieldKeepsItsArrows) {
  key('A', true);  // Ctrl+A
  ASSERT_EQ(selection().size(), 3u);
  const std::size_t steps = editHistory.undoCount();
  key(VK_RIGHT);
  key(VK_DOWN, false, true);  // Shift: a grid step
  key(VK_RIGHT, true);        // Ctrl: one pixel wider
  EXPECT_EQ(control(0).x, 21);
  EXPECT_EQ(control(0).y, 28);
  EXPECT_EQ(control(0).width, 81);
  EXPECT_EQ(control(2).x, 41);
  EXPECT_EQ(control(2).y, 158);
  EXPECT_EQ(control(2).width, 101);
  EXPECT_EQ(rectInParent(asHwnd(control(1).window)).left, 151);
  EXPECT_EQ(editHistory.undoCount(), steps + 3);
  command(IDM_OPTION_GRID_STEP_16);  // Shift+arrow follows the chosen step
  key(VK_UP, false, true);
  EXPECT_EQ(control(0).y, 12);
  key(VK_DOWN, false, true);

  key(VK_TAB);  // from the primary (C, the last) round to A
  EXPECT_EQ(selection(), (std::vector<std::int32_t>{0}));
  key(VK_TAB, false, true);
  EXPECT_EQ(selection(), (std::vector<std::int32_t>{2}));
  EXPECT_EQ(fieldText(kXFieldId), L"41");

  // In a field the arrows move the caret, not the control.
  const HWND x = field(kXFieldId);
  SetFocus(x);
  SendMessageW(x, EM_SETSEL, 2, 2);
  key(VK_LEFT);
  DWORD caret = 0;
  SendMessageW(x, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
  EXPECT_EQ(caret, 1u);
  EXPECT_EQ(control(2).x, 41);
  key(VK_TAB);
  EXPECT_EQ(selection(), (std::vector<std::int32_t>{2}));
  // A click on a tool cell leaves the focus on the palette itself, which
  // has no use for the keys: they move the selection.
  SetFocus(toolWindow);
  key(VK_LEFT);
  EXPECT_EQ(control(2).x, 40);
}

TEST_F(SelectionTest, LayoutCommandsWaitForEnoughControlsAndUndoToTheByte) {
  click(at(60, 35));
  EXPECT_FALSE(menuItemEnabled(IDM_LAYOUT_ALIGN_LEFTS));
  EXPECT_TRUE(menuItemEnabled(IDM_LAYOUT_CENTRE_ACROSS));
  ctrlClick(at(90, 170));
  EXPECT_TRUE(menuItemEnabled(IDM_LAYOUT_ALIGN_LEFTS));
  EXPECT_FALSE(menuItemEnabled(IDM_LAYOUT_SPACE_DOWN));
  key('A', true);
  EXPECT_TRUE(menuItemEnabled(IDM_LAYOUT_SPACE_DOWN));

  const std::string before = designFile();
  const std::size_t steps = editHistory.undoCount();
  key(VK_LEFT, true, true);  // align lefts to the primary (C, at 40)
  EXPECT_EQ(control(0).x, 40);
  EXPECT_EQ(control(1).x, 40);
  EXPECT_EQ(control(2).x, 40);
  EXPECT_EQ(rectInParent(asHwnd(control(1).window)).left, 40);
  EXPECT_EQ(editHistory.undoCount(), steps + 1);
  expectAsWhollyRepainted();
  const std::string aligned = designFile();
  key('Z', true);
  EXPECT_EQ(designFile(), before);
  key('Y', true);
  EXPECT_EQ(designFile(), aligned);
  EXPECT_EQ(selection().size(), 3u);  // undo and redo keep what was selected
  command(IDM_LAYOUT_SAME_SIZE);
  EXPECT_EQ(control(0).width, 100);
  EXPECT_EQ(control(1).height, 40);
}

TEST_F(SelectionTest, CopyPasteDuplicateAndCutKeepEveryPropertyAndNameThemApart) {
  click(at(60, 35));      // A, ID_BUTTON
  ctrlClick(at(90, 170));  // C, ID_BUTTON2
  const std::size_t steps = editHistory.undoCount();
  key('C', true);
  // The creation statements went to the clipboard as text.
  ASSERT_TRUE(OpenClipboard(mainWindow));
  const HANDLE text = GetClipboardData(CF_UNICODETEXT);
  const std::wstring statements =
      text != nullptr ? std::wstring(static_cast<const wchar_t*>(GlobalLock(text))) : L"";
  if (text != nullptr) GlobalUnlock(text);
  CloseClipboard();
  EXPECT_NE(statements.find(L"ID_BUTTON2"), std::wstring::npos);
  EXPECT_NE(statements.find(L"CreateWindow("), std::wstring::npos);

  SetCursorPos(at(0, 0).x - 40, at(0, 0).y);  // the pointer off the surface
  key('V', true);
  ASSERT_EQ(project.objectCount, 5);
  EXPECT_EQ(control(3).x, 28);
  EXPECT_EQ(control(3).y, 28);
  EXPECT_EQ(control(3).caption, control(0).caption);
  EXPECT_EQ(control(3).style, control(0).style);
  EXPECT_EQ(control(3).idName, "ID_BUTTON3");
  EXPECT_EQ(control(4).idName, "ID_BUTTON4");
  EXPECT_EQ(rectInParent(asHwnd(control(4).window)).left, 48);
  EXPECT_EQ(selection(), (std::vector<std::int32_t>{3, 4}));
  EXPECT_EQ(editHistory.undoCount(), steps + 1);
  expectAsWhollyRepainted();

  key('D', true);  // the pasted pair again, one step further
  ASSERT_EQ(project.objectCount, 7);
  EXPECT_EQ(control(5).x, 36);
  EXPECT_EQ(control(6).idName, "ID_BUTTON6");

  key('X', true);  // cut: gone, and on the clipboard for the next paste
  EXPECT_EQ(project.objectCount, 5);
  key('V', true);
  EXPECT_EQ(project.objectCount, 7);
  EXPECT_EQ(control(5).x, 44);

  // Ctrl+V with the pointer over the surface pastes there, on the grid
  // when snapping is on; the menu's Paste still lands offset.
  command(IDM_OPTION_GRID_SNAP);
  ASSERT_TRUE(ownSettings.gridSnap);
  SetCursorPos(at(203, 133).x, at(203, 133).y);
  key('V', true);
  ASSERT_EQ(project.objectCount, 9);
  EXPECT_EQ(rectOf(control(7)), (PixelRect{200, 136, 80, 30}));
  EXPECT_EQ(rectOf(control(8)), (PixelRect{220, 266, 100, 40}));
  command(IDM_EDIT_PASTE);
  ASSERT_EQ(project.objectCount, 11);
  EXPECT_EQ(control(9).x, 52);
  EXPECT_EQ(editHistory.undoCount(), steps + 6);
  for (int undo = 0; undo < 6; ++undo) key('Z', true);
  EXPECT_EQ(project.objectCount, 3);
}

}  // namespace
}  // namespace quorvin::gui
