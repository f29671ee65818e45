// Undo and redo of every kind of change, Ctrl+Z inside a field, and the
// questions before unsaved changes would be lost, with the title's mark.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/model.h"
#include "app/model_win32.h"
#include "app/project_file.h"
#include "common/file_io.h"
#include "designer/edit_history.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/palette.h"
#include "designer/polygon.h"
#include "designer/surface.h"
#include "resources/resource.h"
#include "tests/gui/gui_support.h"
#include "tests/win32/held_keys.h"

namespace quorvin::gui {
namespace {

namespace fs = std::filesystem;

HWND field(int id) { return GetDlgItem(toolWindow, id); }
POINT at(int x, int y) { return screenOf(surfaceWindow(), x, y); }
std::string designFile() { return serializeProject(project, objects); }

// A key with Ctrl held, posted to `target` as the keyboard would queue it.
void ctrlKey(HWND target, UINT key, bool shift = false) {
  const HeldKeys held(true, shift);
  PostMessageW(target, WM_KEYDOWN, key, 1);
  pump();
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
  pump();
}

void typeInto(int id, const std::wstring& text) {
  const HWND target = field(id);
  SetFocus(target);
  SendMessageW(target, EM_SETSEL, 0, -1);
  for (const wchar_t c : text) {
    SendMessageW(target, WM_KEYDOWN, 'A', 1);
    SendMessageW(target, WM_CHAR, c, 1);
    SendMessageW(target, WM_KEYUP, 'A', 0xC0000001);
  }
  SetFocus(mainWindow);
  pump();
}

class UndoTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    if (HasFatalFailure()) return;
    movePaletteAside();
    newDesign(L"Undo", L"UndoClass");
    MoveWindow(surfaceWindow(), 10, 10, 360, 320, TRUE);
    pump();
  }
};

TEST_F(UndoTest, EveryKindOfChangeIsOneStepUndoneAndRedoneWithItsSelection) {
  const std::size_t start = editHistory.undoCount();
  ASSERT_EQ(start, 1u);  // the frame moved in SetUp
  // files[i]: the design after step i; names[i]: what step i was.
  std::vector<std::string> files{designFile()};
  std::vector<std::string> names{"start"};
  const auto step = [&](const char* name) {
    EXPECT_EQ(editHistory.undoCount(), start + files.size()) << name << " is not one step";
    files.push_back(designFile());
    names.push_back(name);
  };

  place(static_cast<int>(ToolCode::Button), {20, 20}, {120, 60});
  step("placement");
  place(static_cast<int>(ToolCode::Static), {20, 100}, {120, 130});
  step("second placement");
  drag(at(60, 40), at(90, 70));
  step("move");
  click(at(70, 115));  // selects the static; a click moves nothing
  ASSERT_EQ(selectedObject, 1);
  click(at(120, 130));  // its bottom-right handle
  ASSERT_EQ(currentTool, ToolCode::SizeBottomRight);
  SetCursorPos(at(160, 150).x, at(160, 150).y);
  SendMessageW(surfaceWindow(), WM_MOUSEMOVE, 0, 0);
  click(at(160, 150));
  step("size");
  typeInto(kCaptionFieldId, L"Hello");
  step("typing in the caption field");
  click(at(100, 80));  // the button, moved to (50, 50)-(150, 90)
  ASSERT_EQ(selectedObject, 0);
  SendMessageW(mainWindow, WM_KEYDOWN, VK_DELETE, 0);
  pump();
  step("deletion");
  SetWindowPos(surfaceWindow(), nullptr, 30, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  pump();
  step("window moved");
  typeInto(kCaptionFieldId, L"Title");
  step("title typed");
  const RECT s = rectIn(surfaceWindow(), mainWindow);
  selectTool(ToolCode::AddPoint);
  click(screenOf(mainWindow, s.left + 100, s.top + 250));
  selectTool(ToolCode::Select);
  ASSERT_EQ(project.pointCount, 3);
  step("point added");
  SendMessageW(mainWindow, WM_KEYDOWN, VK_DELETE, 0);
  pump();
  ASSERT_EQ(project.regionMode, RegionMode::Rectangle);
  step("outline removed");

  // All the way back with Ctrl+Z on the main window...
  SetFocus(mainWindow);
  for (std::size_t i = files.size() - 1; i > 0; --i) {
    ctrlKey(mainWindow, 'Z');
    EXPECT_EQ(designFile(), files[i - 1]) << "undo of " << names[i];
    if (names[i] == std::string("deletion")) {
      EXPECT_EQ(selectedObject, 0) << "the deleted control comes back selected";
      EXPECT_TRUE(IsWindowVisible(GetDlgItem(surfaceWindow(), 13000)));
    }
  }
  // ... and forward with Ctrl+Y and Ctrl+Shift+Z.
  for (std::size_t i = 1; i < files.size(); ++i) {
    ctrlKey(mainWindow, i % 2 == 0 ? 'Y' : 'Z', i % 2 != 0);
    EXPECT_EQ(designFile(), files[i]) << "redo of " << names[i];
  }
  EXPECT_EQ(textOf(surfaceWindow()), L"Title");
  // Every control on screen is its record again.
  for (int i = 0; i < project.objectCount; ++i) {
    const DesignObject& o = objects[static_cast<std::size_t>(i)];
    const RECT r = rectInParent(asHwnd(o.window));
    EXPECT_EQ(r.left, o.x);
    EXPECT_EQ(r.bottom - r.top, o.height);
    EXPECT_EQ(GetDlgCtrlID(asHwnd(o.window)), kControlIdBase + i);
  }
  // A new change clears what could be redone (back before the outline,
  // so that the placement lands on the rectangular surface).
  command(IDM_EDIT_UNDO);
  command(IDM_EDIT_UNDO);
  ASSERT_TRUE(editHistory.canRedo());
  place(static_cast<int>(ToolCode::Button), {200, 200}, {260, 230});
  EXPECT_FALSE(editHistory.canRedo());
}

TEST_F(UndoTest, CtrlZInAFieldIsTheFieldsAndTheDesignKeepsItsSteps) {
  place(static_cast<int>(ToolCode::Button), {20, 20}, {120, 60});
  const std::size_t steps = editHistory.undoCount();
  const HWND caption = field(kCaptionFieldId);
  SetFocus(caption);
  SendMessageW(caption, EM_SETSEL, 0, -1);
  SendMessageW(caption, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"Typed"));
  SendMessageW(caption, WM_KEYUP, 'D', 0xC0000001);
  EXPECT_EQ(objects[0].caption, "Typed");
  ctrlKey(caption, 'Z');
  EXPECT_EQ(textOf(caption), L"Button") << "Ctrl+Z did not reach the field";
  EXPECT_EQ(objects[0].caption, "Button");
  EXPECT_EQ(project.objectCount, 1) << "Ctrl+Z in a field undid the placement";
  // Delete in the field is the field's too.
  SendMessageW(caption, WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_EQ(project.objectCount, 1);
  // The visit was one step; from the main window Ctrl+Z takes it back.
  EXPECT_EQ(editHistory.undoCount(), steps + 1);
  SetFocus(mainWindow);
  ctrlKey(mainWindow, 'Z');
  EXPECT_EQ(editHistory.undoCount(), steps);
}

TEST_F(UndoTest, UnsavedChangesAreAskedAboutAndTheTitleShowsThem) {
  // SetUp moved the frame: a change, and the title says so.
  EXPECT_EQ(textOf(mainWindow), L"*無題 - Quorvin");
  place(static_cast<int>(ToolCode::Button), {20, 20}, {120, 60});
  const auto ask = [](int button) { return answerMessageBox(button, L"保存しますか？"); };
  {  // Escape, Cancel: nothing happens.
    DialogScript script;
    script.then(ask(IDCANCEL));
    SendMessageW(mainWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    pump();
    EXPECT_TRUE(script.done());
    ASSERT_NE(mainWindow, nullptr);
  }
  {  // New, Cancel: the design stays.
    DialogScript script;
    script.then(ask(IDCANCEL));
    command(IDM_FILE_NEW);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(project.objectCount, 1);
  }
  {  // The close box, Cancel.
    DialogScript script;
    script.then(ask(IDCANCEL));
    SendMessageW(mainWindow, WM_CLOSE, 0, 0);
    pump();
    EXPECT_TRUE(script.done());
    ASSERT_NE(mainWindow, nullptr);
  }
  // Save (Ctrl+S) asks for a name the first time only.
  const fs::path file = folder() / "asked.mwd";
  {
    DialogScript script;
    script.then(chooseFile(file.wstring()));
    SetFocus(mainWindow);
    ctrlKey(mainWindow, 'S');
    EXPECT_TRUE(script.done());
  }
  ASSERT_TRUE(fs::exists(file));
  EXPECT_EQ(textOf(mainWindow), L"asked.mwd - Quorvin");
  EXPECT_FALSE(designHasUnsavedChanges());
  place(static_cast<int>(ToolCode::Static), {20, 100}, {120, 130});
  EXPECT_EQ(textOf(mainWindow), L"*asked.mwd - Quorvin");
  {
    DialogScript script;  // no dialog at all
    command(IDM_FILE_SAVE_OVER);
    EXPECT_TRUE(script.seen().empty());
  }
  EXPECT_EQ(readFileBytes(file).value_or(""), designFile());
  {  // Nothing unsaved: the close box asks "閉じてもよいですか？", No keeps it.
    DialogScript script;
    script.then(answerMessageBox(IDNO, L"閉じてもよいですか？"));
    SendMessageW(mainWindow, WM_CLOSE, 0, 0);
    pump();
    EXPECT_TRUE(script.done());
  }
  // Undone to a state that differs from the file: unsaved again. Exit, Yes:
  // saved over the file, then the program ends.
  command(IDM_EDIT_UNDO);
  EXPECT_TRUE(designHasUnsavedChanges());
  {
    DialogScript script;
    script.then(ask(IDYES));
    command(IDM_FILE_EXIT);
    EXPECT_TRUE(script.done());
  }
  EXPECT_TRUE(quitPosted());
  EXPECT_EQ(readFileBytes(file).value_or(""), designFile());
  // Escape, No: the change is dropped and the program ends.
  place(static_cast<int>(ToolCode::Static), {200, 100}, {260, 130});
  {
    DialogScript script;
    script.then(ask(IDNO));
    SendMessageW(mainWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    pump();
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(mainWindow, nullptr);
}

}  // namespace
}  // namespace quorvin::gui
