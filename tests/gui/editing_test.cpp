// The editing state as a user meets it: the property fields always show and
// change one explicit target (after Open, after a frame move, after a point
// or the outline goes), Delete waits for the mouse, choosing a tool drops a
// picked-up corner, and the small mends around them (no context menu on a
// placed edit box, hints through the status line's handle, the Settings
// dialog's OK).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/model.h"
#include "app/model_win32.h"
#include "common/win32/text.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/palette.h"
#include "designer/polygon.h"
#include "designer/surface.h"
#include "resources/resource.h"
#include "tests/gui/gui_support.h"

namespace quorvin::gui {
namespace {

namespace fs = std::filesystem;

HWND field(int id) { return GetDlgItem(toolWindow, id); }
std::wstring fieldText(int id) { return textOf(field(id)); }
HWND controlOf(int index) { return asHwnd(objects[static_cast<std::size_t>(index)].window); }
POINT at(int x, int y) { return screenOf(surfaceWindow(), x, y); }

// One key in a field as the keyboard gives it: press, release (the release
// applies the fields).
void tapKey(int id, UINT key) {
  const HWND target = field(id);
  SetFocus(target);
  SendMessageW(target, WM_KEYDOWN, key, 1);
  SendMessageW(target, WM_KEYUP, key, 0xC0000001);
  pump();
}

void pressDelete() {
  SendMessageW(mainWindow, WM_KEYDOWN, VK_DELETE, 0);
  pump();
}

class EditingTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    if (HasFatalFailure()) return;
    movePaletteAside();
  }

  void saveAs(const fs::path& file) {
    DialogScript script;
    script.then(chooseFile(file.wstring()));
    command(IDM_FILE_SAVE);
    ASSERT_TRUE(script.done());
  }
  // Open, answering the save question No.
  void openFile(const fs::path& file) {
    DialogScript script;
    script.then(answerMessageBox(IDNO)).then(chooseFile(file.wstring()));
    command(IDM_FILE_OPEN);
    ASSERT_TRUE(script.done());
  }
};

TEST_F(EditingTest, TheFieldsShowAndChangeOnlyTheirTargetThroughOpenAndFrameMoves) {
  newDesign(L"First", L"FirstClass");
  MoveWindow(surfaceWindow(), 30, 20, 300, 250, TRUE);
  place(static_cast<int>(ToolCode::Static), {20, 20}, {120, 50});
  const fs::path first = folder() / "first.mwd";
  saveAs(first);

  // Open over another design: the fields show the opened one.
  newDesign(L"Second", L"SecondClass");
  EXPECT_EQ(fieldText(kCaptionFieldId), L"Second");
  openFile(first);
  ASSERT_EQ(project.title, "First");
  EXPECT_EQ(fieldText(kCaptionFieldId), L"First");
  EXPECT_EQ(fieldText(kIdFieldId), L"FirstClass");
  EXPECT_EQ(fieldText(kWidthFieldId), L"300");
  // A key in W right after Open changes nothing that was not typed.
  tapKey(kWidthFieldId, VK_END);
  EXPECT_EQ(project.title, "First");
  EXPECT_EQ(project.className, "FirstClass");
  EXPECT_EQ(project.height, 250);
  EXPECT_EQ(objects[0].caption, "STATIC");

  // A frame move with a control selected: the window becomes the target.
  click(at(60, 35));
  ASSERT_EQ(selectedObject, 0);
  SetWindowPos(surfaceWindow(), nullptr, 40, 25, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  pump();
  EXPECT_EQ(project.x, 40);
  EXPECT_EQ(selectedObject, -1);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(surfaceWindow(), 13000)));
  EXPECT_EQ(fieldText(kXFieldId), L"40");
  SetFocus(field(kCaptionFieldId));
  SetWindowTextW(field(kCaptionFieldId), L"Moved");
  tapKey(kCaptionFieldId, VK_END);
  EXPECT_EQ(project.title, "Moved");
  EXPECT_EQ(objects[0].caption, "STATIC");
  EXPECT_EQ(objects[0].width, 100);

  // Minimised, the surface is an icon: the design keeps its rectangle.
  ShowWindow(surfaceWindow(), SW_MINIMIZE);
  pump();
  EXPECT_EQ(project.width, 300);
  EXPECT_EQ(project.height, 250);
  ShowWindow(surfaceWindow(), SW_RESTORE);
  pump();
  EXPECT_EQ(project.width, 300);
}

TEST_F(EditingTest, DeleteWaitsForTheMouseAndAToolDropsAPickedUpCorner) {
  newDesign(L"Mouse", L"MouseClass");
  MoveWindow(surfaceWindow(), 0, 0, 380, 330, TRUE);
  place(static_cast<int>(ToolCode::Button), {50, 50}, {150, 110});

  // Delete while the control is still held: it stays, and the program
  // keeps answering the mouse afterwards.
  mouseDown(at(100, 80));
  mouseMove(at(110, 90));
  ASSERT_EQ(currentTool, ToolCode::Moving);
  pressDelete();
  SendMessageW(surfaceWindow(), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(project.objectCount, 1);
  mouseUp(at(110, 90));
  pump();
  EXPECT_EQ(currentTool, ToolCode::Select);
  EXPECT_EQ(objects[0].x, 60);
  click(at(300, 300));
  EXPECT_EQ(selectedObject, -1);
  click(at(110, 90));
  EXPECT_EQ(selectedObject, 0);

  // A corner picked up, then a tool chosen: the corner is dropped where it
  // was dragged to, nothing stays pending.
  click(at(160, 120));  // the bottom-right handle
  ASSERT_EQ(currentTool, ToolCode::SizeBottomRight);
  SetCursorPos(at(200, 150).x, at(200, 150).y);
  SendMessageW(surfaceWindow(), WM_MOUSEMOVE, 0, 0);
  pump();
  selectTool(ToolCode::Static);
  EXPECT_EQ(pickupPending, 0);
  EXPECT_EQ(currentTool, ToolCode::Static);
  const RECT r = rectInParent(controlOf(0));
  EXPECT_EQ(r.right, 200);
  EXPECT_EQ(r.bottom, 150);
  EXPECT_EQ(objects[0].width, 140);
  // The next press places, and Delete works again on what is selected.
  place(static_cast<int>(ToolCode::Static), {250, 250}, {300, 280});
  EXPECT_EQ(project.objectCount, 2);
  pressDelete();
  EXPECT_EQ(project.objectCount, 1);
}

TEST_F(EditingTest, AfterAPointOrTheOutlineGoesTheFieldsShowWhatIsLeft) {
  newDesign(L"Outline", L"OutlineClass");
  const RECT s = rectIn(surfaceWindow(), mainWindow);
  selectTool(ToolCode::AddPoint);
  click(screenOf(mainWindow, s.left + 60, s.top + 180));
  click(screenOf(mainWindow, s.left + 20, s.top + 150));
  selectTool(ToolCode::Select);
  if (project.pointCount != 4) GTEST_SKIP() << "the polygon outline is not there";
  ASSERT_EQ(project.activePoint, 3);
  const RegionPoint first = project.markerPoints[0];

  // The active point goes: point 0 is active, and the fields show it.
  pressDelete();
  ASSERT_EQ(project.pointCount, 3);
  ASSERT_EQ(project.activePoint, 0);
  EXPECT_EQ(fieldText(kXFieldId), std::to_wstring(first.x));
  EXPECT_EQ(fieldText(kYFieldId), std::to_wstring(first.y));
  tapKey(kXFieldId, VK_END);
  EXPECT_EQ(project.markerPoints[0], first);

  // The outline goes: the fields show the window, and a key changes nothing.
  pressDelete();
  ASSERT_EQ(project.regionMode, RegionMode::Rectangle);
  const Project before = project;
  EXPECT_EQ(fieldText(kCaptionFieldId), L"Outline");
  EXPECT_EQ(fieldText(kWidthFieldId), std::to_wstring(project.width));
  tapKey(kCaptionFieldId, VK_END);
  EXPECT_EQ(project.title, "Outline");
  EXPECT_EQ(project.width, before.width);
  EXPECT_EQ(project.height, before.height);
}

// A popup menu found while it is up is closed again and counted.
bool menuSeen = false;
void CALLBACK closeAnyMenu(HWND, UINT, UINT_PTR, DWORD) {
  const HWND menu = FindWindowW(L"#32768", nullptr);
  if (menu != nullptr && IsWindowVisible(menu)) {
    menuSeen = true;
    EndMenu();
  }
}

TEST_F(EditingTest, NoContextMenuHintsReachTheStatusLineAndSettingsOkSaysWhenItFails) {
  newDesign(L"Small", L"SmallClass");
  MoveWindow(surfaceWindow(), 0, 0, 300, 200, TRUE);
  place(static_cast<int>(ToolCode::Edit), {20, 20}, {150, 50});
  menuSeen = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, closeAnyMenu);
  const HWND edit = controlOf(0);
  SendMessageW(edit, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
  SendMessageW(edit, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
  const POINT p = at(30, 30);
  SendMessageW(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit), MAKELPARAM(p.x, p.y));
  pump();
  KillTimer(nullptr, timer);
  EXPECT_FALSE(menuSeen) << "the placed edit box showed its own menu";

  // A child of the main window with the status line's id (as marker 400 of
  // a 101-point outline has), on top of it: the hint still goes to the
  // status line.
  const HWND decoy = CreateWindowExW(0, L"STATIC", L"decoy", WS_CHILD, 0, 0, 10, 10, mainWindow,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusLineId)),
                                     GetModuleHandleW(nullptr), nullptr);
  SetWindowPos(decoy, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowTextW(statusLine, L"");
  SendMessageW(GetDlgItem(toolWindow, static_cast<int>(ToolCode::Button)), WM_MOUSEMOVE, 0, 0);
  EXPECT_FALSE(textOf(statusLine).empty());
  EXPECT_EQ(textOf(decoy), L"decoy");
  DestroyWindow(decoy);

  // Settings OK: the names kept are the names written (trimmed, an empty
  // one "NO_DATA"), and a setting.ini that cannot be written is reported.
  fs::remove(folder() / "setting.ini");
  fs::create_directory(folder() / "setting.ini");
  {
    DialogScript script;
    script.then([](const DialogInfo& info) {
      setItemText(info.window, IDC_SETTING_HWND, L"  myWindow ");
      setItemText(info.window, IDC_SETTING_HINSTANCE, L"");
      clickButton(info.window, IDC_SETTING_OK);
    });
    script.then(answerMessageBox(IDOK, L"設定ファイルの保存に失敗しました。"));
    command(IDM_OPTION_SETTINGS);
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(project.variableNames.hwnd, "myWindow");
  EXPECT_EQ(project.variableNames.hinstance, "NO_DATA");
}

}  // namespace
}  // namespace quorvin::gui
