// Placing neatly and ordering, as a user does it: the grid and the snap
// lines on real drags, the tab-order mode by clicks, bring to front and its
// undo, order by position; the saved file and the stacking of the windows
// follow the order.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/model.h"
#include "app/model_win32.h"
#include "app/own_settings.h"
#include "app/project_file.h"
#include "common/file_io.h"
#include "designer/editing_state.h"
#include "designer/surface.h"
#include "resources/resource.h"
#include "tests/gui/gui_support.h"
#include "tests/win32/held_keys.h"

namespace quorvin::gui {
namespace {

namespace fs = std::filesystem;

POINT at(int x, int y) { return screenOf(surfaceWindow(), x, y); }
std::string designFile() { return serializeProject(project, objects); }

std::vector<std::string> idNamesOf(const std::vector<DesignObject>& list, std::int32_t count) {
  std::vector<std::string> names;
  for (std::int32_t i = 0; i < count; ++i) names.push_back(list[static_cast<std::size_t>(i)].idName);
  return names;
}

// The placed controls' entries in the order their windows stack, top first.
std::vector<int> stackingOrder() {
  std::vector<int> order;
  for (HWND child = GetWindow(surfaceWindow(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    for (std::int32_t i = 0; i < project.objectCount; ++i)
      if (objects[static_cast<std::size_t>(i)].window == asHandle(child)) order.push_back(i);
  return order;
}

// Every control's id is the base plus its place, and the windows stack in
// the same order as the list: the surface stands for the generated window.
void expectWindowsFollowTheList() {
  std::vector<int> expected;
  for (std::int32_t i = 0; i < project.objectCount; ++i) {
    expected.push_back(i);
    EXPECT_EQ(GetDlgCtrlID(asHwnd(objects[static_cast<std::size_t>(i)].window)),
              kControlIdBase + i);
  }
  EXPECT_EQ(stackingOrder(), expected);
}

// The visible marks of the surface (snap lines, tab-order numbers).
int visibleMarks() {
  int count = 0;
  for (HWND child = GetWindow(surfaceWindow(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    if (classOf(child) == L"QuorvinMark" && IsWindowVisible(child)) ++count;
  return count;
}

class ArrangingTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    if (HasFatalFailure()) return;
    movePaletteAside();
    newDesign(L"Arrange", L"ArrangeClass");
    MoveWindow(surfaceWindow(), 10, 10, 400, 320, TRUE);
    pump();
  }
  void saveAs(const fs::path& file) {
    DialogScript script;
    script.then(chooseFile(file.wstring()));
    command(IDM_FILE_SAVE);
    ASSERT_TRUE(script.done());
  }
  // Three buttons in a row: ID_BUTTON, ID_BUTTON2, ID_BUTTON3 from the left.
  void placeThreeButtons() {
    place(static_cast<int>(ToolCode::Button), {20, 20}, {100, 50});
    place(static_cast<int>(ToolCode::Button), {140, 20}, {220, 50});
    place(static_cast<int>(ToolCode::Button), {260, 20}, {340, 50});
    ASSERT_EQ(project.objectCount, 3);
  }
};

TEST_F(ArrangingTest, TheGridAndTheSnapLinesCatchRealDragsAndAltPlacesFreely) {
  const std::string settingIni = readFileBytes(folder() / "setting.ini").value_or("");
  command(IDM_OPTION_GRID_SHOW);
  command(IDM_OPTION_GRID_SNAP);
  EXPECT_EQ(GetMenuState(GetMenu(mainWindow), IDM_OPTION_GRID_SNAP, MF_BYCOMMAND) & MF_CHECKED,
            static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(ownSettings.gridStep, 8);

  // Both corners of a placement land on the grid.
  place(static_cast<int>(ToolCode::Button), {13, 11}, {90, 45});
  ASSERT_EQ(project.objectCount, 1);
  EXPECT_EQ(rectOf(objects[0]), (PixelRect{16, 8, 72, 40}));

  // A move puts the top-left on the grid.
  drag(at(30, 20), at(51, 31));
  EXPECT_EQ(rectOf(objects[0]), (PixelRect{40, 16, 72, 40}));

  // A second control dragged near the first's left edge, off the grid,
  // lines up with it; the snap line shows while it is dragged and goes at
  // the release.
  place(static_cast<int>(ToolCode::Button), {200, 200}, {280, 230});
  ASSERT_EQ(project.objectCount, 2);
  mouseDown(at(210, 210));
  mouseMove(at(180, 170));
  mouseMove(at(53, 150));  // top-left (43, 140): 3 pixels right of x = 40
  EXPECT_EQ(objects[1].x, 40);
  EXPECT_EQ(visibleMarks(), 1) << "one snap line (the shared left edge)";
  mouseUp(at(53, 150));
  pump();
  EXPECT_EQ(visibleMarks(), 0);
  EXPECT_EQ(objects[1].y, 144) << "the other axis still on the grid";

  // Alt held: the control goes exactly where the mouse puts it.
  {
    const AltHeld alt;
    drag(at(50, 150), at(53, 153));
  }
  EXPECT_EQ(rectOf(objects[1]), (PixelRect{43, 147, 80, 32}));

  // The choice is Quorvin's own: quorvin.ini keeps it, setting.ini stays.
  command(IDM_OPTION_GRID_STEP_16);
  const std::string ini = readFileBytes(folder() / "quorvin.ini").value_or("");
  EXPECT_NE(ini.find("gridVisible=1\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("gridSnap=1\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("gridStep=16\r\n"), std::string::npos) << ini;
  EXPECT_EQ(readFileBytes(folder() / "setting.ini").value_or(""), settingIni);
  screenshot(surfaceWindow(), "grid_16");
}

TEST_F(ArrangingTest, TabOrderModeNumbersTheClickedControlsAndTheFileFollows) {
  placeThreeButtons();
  command(IDM_ORDER_TAB_MODE);
  EXPECT_EQ(visibleMarks(), 3) << "every control shows its number";
  // Third, first, second: the order the user wants.
  click(at(300, 35));
  click(at(60, 35));
  click(at(180, 35));
  screenshot(surfaceWindow(), "tab_order_mode");
  // Escape leaves the mode (and does not close the designer).
  SendMessageW(mainWindow, WM_KEYDOWN, VK_ESCAPE, 0);
  pump();
  EXPECT_FALSE(quitPosted());
  EXPECT_EQ(visibleMarks(), 0);
  EXPECT_EQ(selectedObject, -1) << "clicks in the mode select nothing";

  const fs::path file = folder() / "tab.mwd";
  saveAs(file);
  Project read;
  std::vector<DesignObject> readObjects;
  ASSERT_TRUE(readProject(file, read, readObjects));
  EXPECT_EQ(idNamesOf(readObjects, read.objectCount),
            (std::vector<std::string>{"ID_BUTTON3", "ID_BUTTON", "ID_BUTTON2"}));
  EXPECT_EQ(readObjects[0].x, 260);
  expectWindowsFollowTheList();

  // The whole visit of the mode is one step.
  command(IDM_EDIT_UNDO);
  EXPECT_EQ(idNamesOf(objects, project.objectCount),
            (std::vector<std::string>{"ID_BUTTON", "ID_BUTTON2", "ID_BUTTON3"}));
  expectWindowsFollowTheList();
}

TEST_F(ArrangingTest, BringToFrontSendToBackAndOrderByPositionAreStepsThatUndo) {
  placeThreeButtons();
  const std::string start = designFile();
  click(at(60, 35));  // ID_BUTTON selected
  command(IDM_ORDER_FRONT);
  EXPECT_EQ(idNamesOf(objects, project.objectCount),
            (std::vector<std::string>{"ID_BUTTON2", "ID_BUTTON3", "ID_BUTTON"}));
  EXPECT_EQ(selectedObject, 2) << "the selection stays on its control";
  expectWindowsFollowTheList();
  const std::string front = designFile();

  command(IDM_EDIT_UNDO);
  EXPECT_EQ(designFile(), start);
  EXPECT_EQ(selectedObject, 0);
  expectWindowsFollowTheList();
  command(IDM_EDIT_REDO);
  EXPECT_EQ(designFile(), front);
  expectWindowsFollowTheList();

  // Back again, then the order of the rows: a lower control goes after.
  command(IDM_ORDER_BACK);
  EXPECT_EQ(designFile(), start);
  drag(at(180, 35), at(180, 135));  // ID_BUTTON2 down to the second row
  command(IDM_ORDER_BY_POSITION);
  EXPECT_EQ(idNamesOf(objects, project.objectCount),
            (std::vector<std::string>{"ID_BUTTON", "ID_BUTTON3", "ID_BUTTON2"}));
  expectWindowsFollowTheList();
  command(IDM_EDIT_UNDO);
  EXPECT_EQ(idNamesOf(objects, project.objectCount),
            (std::vector<std::string>{"ID_BUTTON", "ID_BUTTON2", "ID_BUTTON3"}));
  expectWindowsFollowTheList();

  // A control that undo makes again takes its place in the stacking too.
  click(at(60, 35));
  SendMessageW(mainWindow, WM_KEYDOWN, VK_DELETE, 0);
  pump();
  command(IDM_EDIT_UNDO);
  ASSERT_EQ(project.objectCount, 3);
  expectWindowsFollowTheList();
}

}  // namespace
}  // namespace quorvin::gui
