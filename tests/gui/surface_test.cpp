// The design surface with the real cursor: placing every kind of control,
// selecting, moving, sizing by the corner handles, deleting, the surface's
// frame kept in step with the project, the closing question, and a design
// saved and opened again.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/model.h"
#include "app/model_win32.h"
#include "app/project_file.h"
#include "common/win32/text.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/placement.h"
#include "designer/surface.h"
#include "resources/resource.h"
#include "tests/gui/gui_support.h"

namespace quorvin::gui {
namespace {

constexpr std::array<int, 4> kHandleIds{10000, 11000, 12000, 13000};

// The window's class name in capitals (the system spells "Button").
// Class names compare without case ("Edit" and "EDIT" are one class).
std::wstring upperClassOf(HWND window) {
  std::wstring name = classOf(window);
  CharUpperW(name.data());
  return name;
}

// A child's outer rectangle in its parent's client coordinates.
RECT rectOfEntry(const DesignObject& o) { return {o.x, o.y, o.x + o.width, o.y + o.height}; }

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string describe(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

HWND surface() { return surfaceWindow(); }
HWND controlOf(int index) { return asHwnd(objects[static_cast<std::size_t>(index)].window); }
HWND handle(int i) { return GetDlgItem(surface(), kHandleIds[static_cast<std::size_t>(i)]); }
POINT at(int x, int y) { return screenOf(surface(), x, y); }

// A move of the real mouse: the window under the cursor is asked for the
// cursor first (a control's default handling asks its parent, so the
// surface hears of moves over its controls too), then gets the move.
HWND hoverTo(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  const HWND target = WindowFromPoint(screen);
  if (target == nullptr) return nullptr;
  SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  POINT client = screen;
  ScreenToClient(target, &client);
  SendMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
  pump();
  return target;
}

bool anyHandleVisible() {
  for (int i = 0; i < 4; ++i)
    if (IsWindowVisible(handle(i))) return true;
  return false;
}

// The handles sit 10 x 10 on the four corners of `r`.
void expectHandlesAround(const RECT& r) {
  const std::array<POINT, 4> corners{
      {{r.left, r.top}, {r.right, r.top}, {r.left, r.bottom}, {r.right, r.bottom}}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(IsWindowVisible(handle(i)));
    const POINT c = corners[static_cast<std::size_t>(i)];
    const RECT expected{c.x - 5, c.y - 5, c.x + 5, c.y + 5};
    EXPECT_TRUE(sameRect(rectInParent(handle(i)), expected))
        << describe(rectInParent(handle(i))) << " expected " << describe(expected);
  }
}

// Where each tool's control goes in SurfaceTest's 380 x 330 surface: three
// columns of 100 x 35.
RECT gridCell(int i) {
  const int x = 10 + (i % 3) * 120;
  const int y = 10 + (i / 3) * 45;
  return {x, y, x + 100, y + 35};
}

class SurfaceTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    if (HasFatalFailure()) return;
    newDesign(L"Sample", L"SampleClass");
    if (HasFatalFailure()) return;
    movePaletteAside();
    MoveWindow(surface(), 0, 0, 380, 330, TRUE);
    pump();
  }

  void placeIn(ToolCode tool, const RECT& r) {
    place(static_cast<int>(tool), {r.left, r.top}, {r.right, r.bottom});
  }
  void placeButton(const RECT& r) { placeIn(ToolCode::Button, r); }
};

// ---- Placing -----------------------------------------------------------------

TEST_F(SurfaceTest, EveryToolPlacesItsControlFromTheTable) {
  const auto table = placementTable();
  ASSERT_EQ(table.size(), 11u);
  for (std::size_t i = 0; i < table.size(); ++i) {
    placeIn(table[i].tool, gridCell(static_cast<int>(i)));
    EXPECT_EQ(currentTool, ToolCode::Select) << "tool " << i;
    EXPECT_EQ(selectedObject, static_cast<int>(i));
  }
  ASSERT_EQ(project.objectCount, 11);
  EXPECT_EQ(objects.size(), 15u);  // the eleventh grew the array by 5
  for (std::size_t i = 0; i < table.size(); ++i) {
    SCOPED_TRACE(i);
    const PlacementDefaults& row = table[i];
    const DesignObject& o = objects[i];
    const HWND control = controlOf(static_cast<int>(i));
    ASSERT_TRUE(IsWindow(control));
    EXPECT_EQ(GetParent(control), surface());
    EXPECT_EQ(upperClassOf(control), cp932ToWide(row.windowClass));
    EXPECT_EQ(textOf(control), cp932ToWide(row.caption));
    EXPECT_EQ(o.caption, row.caption);
    EXPECT_EQ(o.idName, row.idName);
    EXPECT_EQ(o.kind, row.kind);
    EXPECT_EQ(GetDlgCtrlID(control), 1000000 + static_cast<int>(i));
    // The stored style is what the control reports, the table's bits at least.
    EXPECT_EQ(o.style, static_cast<std::uint32_t>(GetWindowLongW(control, GWL_STYLE)));
    EXPECT_EQ(o.style & row.style, row.style);
    EXPECT_EQ(static_cast<std::uint32_t>(GetWindowLongW(control, GWL_EXSTYLE)) & 0x220u,
              row.exStyle);
    const RECT cell = gridCell(static_cast<int>(i));
    EXPECT_TRUE(sameRect(rectOfEntry(o), cell)) << describe(rectOfEntry(o));
    EXPECT_TRUE(sameRect(rectInParent(control), cell)) << describe(rectInParent(control));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
              asHfont(project.fontHandle));
    EXPECT_NE(GetWindowLongPtrW(control, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(asWndProc(o.savedProc)));
  }
  // Five more: the sixteenth grows the array to 20.
  for (int i = 0; i < 5; ++i) {
    const int x = 10 + i * 70;
    placeButton({x, 280, x + 60, 300});
  }
  EXPECT_EQ(project.objectCount, 16);
  EXPECT_EQ(objects.size(), 20u);
  EXPECT_EQ(GetDlgCtrlID(controlOf(15)), 1000015);
  screenshot(mainWindow, "surface-design");
}

TEST_F(SurfaceTest, DragDirectionDoesNotMatterAndDegenerateDragsPlaceNothing) {
  const RECT r{40, 30, 120, 70};
  const std::array<std::array<POINT, 2>, 4> drags{{{{{r.left, r.top}, {r.right, r.bottom}}},
                                                   {{{r.right, r.bottom}, {r.left, r.top}}},
                                                   {{{r.right, r.top}, {r.left, r.bottom}}},
                                                   {{{r.left, r.bottom}, {r.right, r.top}}}}};
  for (std::size_t i = 0; i < drags.size(); ++i) {
    place(static_cast<int>(ToolCode::Static), drags[i][0], drags[i][1]);
    ASSERT_EQ(project.objectCount, static_cast<int>(i) + 1);
    EXPECT_TRUE(sameRect(rectOfEntry(objects[i]), r)) << i;
    EXPECT_TRUE(sameRect(rectInParent(controlOf(static_cast<int>(i))), r)) << i;
  }
  // Ending on the press point's column or row: nothing, and the tool stays.
  const int count = project.objectCount;
  place(static_cast<int>(ToolCode::ListBox), {200, 150}, {200, 250});
  EXPECT_EQ(currentTool, ToolCode::ListBox);
  drag(at(200, 150), at(300, 150));
  EXPECT_EQ(currentTool, ToolCode::ListBox);
  EXPECT_EQ(project.objectCount, count);
  EXPECT_EQ(objects[static_cast<std::size_t>(count)].window, 0u);
  // The next drag with the same tool still places.
  drag(at(200, 150), at(300, 250));
  EXPECT_EQ(project.objectCount, count + 1);
  EXPECT_EQ(objects[static_cast<std::size_t>(count)].kind, ObjectKind::LISTBOX);
  EXPECT_EQ(currentTool, ToolCode::Select);
}

// The new control is the selection, and what Delete, Style and the fields
// act on: never the one selected before, whose handles are gone.
TEST_F(SurfaceTest, PlacingSelectsTheNewControlAndDeleteTakesIt) {
  placeButton({20, 20, 100, 50});
  click(at(60, 35));
  EXPECT_EQ(selectedObject, 0);
  EXPECT_TRUE(anyHandleVisible());
  // A placement may start and end over an existing control.
  place(static_cast<int>(ToolCode::CheckBox), {60, 35}, {160, 120});
  ASSERT_EQ(project.objectCount, 2);
  EXPECT_TRUE(sameRect(rectOfEntry(objects[1]), RECT{60, 35, 160, 120}));
  EXPECT_EQ(selectedObject, 1);
  expectHandlesAround({60, 35, 160, 120});
  EXPECT_EQ(textOf(GetDlgItem(toolWindow, kCaptionFieldId)), L"CheckBox");
  EXPECT_EQ(currentTool, ToolCode::Select);
  SendMessageW(mainWindow, WM_KEYDOWN, VK_DELETE, 0);
  pump();
  ASSERT_EQ(project.objectCount, 1);
  EXPECT_EQ(objects[0].caption, "Button");
  EXPECT_EQ(selectedObject, -1);
  EXPECT_FALSE(anyHandleVisible());
}

// ---- Selecting and moving ----------------------------------------------------

TEST_F(SurfaceTest, PressSelectsAndTheControlFollowsTheCursor) {
  placeButton({40, 40, 120, 70});
  const HWND button = controlOf(0);
  EXPECT_EQ(mouseDown(at(50, 45)), button);
  EXPECT_EQ(selectedObject, 0);
  EXPECT_EQ(currentTool, ToolCode::Moving);
  expectHandlesAround({40, 40, 120, 70});
  // Presses never reach the control: it is not pushed and has no focus.
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  EXPECT_NE(GetFocus(), button);

  mouseMove(at(60, 50));
  EXPECT_TRUE(sameRect(rectInParent(button), RECT{50, 45, 130, 75}));
  // The cursor runs ahead onto the surface: the surface passes the move on.
  EXPECT_EQ(mouseMove(at(200, 150)), surface());
  EXPECT_TRUE(sameRect(rectInParent(button), RECT{190, 145, 270, 175}))
      << describe(rectInParent(button));
  EXPECT_TRUE(sameRect(rectOfEntry(objects[0]), RECT{190, 145, 270, 175}));
  expectHandlesAround({190, 145, 270, 175});
  mouseUp(at(200, 150));
  pump();
  EXPECT_EQ(currentTool, ToolCode::Select);
  EXPECT_EQ(selectedObject, 0);

  // Dragged off the left edge: a negative x, no clamping.
  drag(at(200, 150), at(5, 150));
  EXPECT_EQ(objects[0].x, -5);
  EXPECT_EQ(rectInParent(button).left, -5);
  EXPECT_EQ(currentTool, ToolCode::Select);

  // A press on the background deselects.
  click(at(300, 20));
  EXPECT_EQ(selectedObject, -1);
  EXPECT_FALSE(anyHandleVisible());
}

// On a small control the handles that appear at the press cover the cursor;
// the surface holds the mouse during the move, so the move still ends.
TEST_F(SurfaceTest, SmallControlMoveEndsEvenOverItsHandles) {
  placeButton({50, 50, 58, 58});
  click(at(300, 300));  // placed, it is selected; pressed, it is again
  mouseDown(at(52, 52));
  ASSERT_EQ(currentTool, ToolCode::Moving);
  for (int step = 1; step <= 6; ++step) mouseMove(at(52 + 3 * step, 52 + 3 * step));
  mouseUp(at(70, 70));
  pump();
  EXPECT_EQ(currentTool, ToolCode::Select);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(objects[0].x, 68);
  EXPECT_EQ(objects[0].y, 68);
}

TEST_F(SurfaceTest, GroupBoxIsSelectedThroughTheSurfacesHitTest) {
  placeIn(ToolCode::GroupBox, {20, 20, 200, 150});
  // Its border line is not inside it.
  EXPECT_EQ(mouseDown(at(20, 80)), surface());
  EXPECT_EQ(selectedObject, -1);
  mouseUp(at(20, 80));
  // A group box lets presses through to its parent.
  EXPECT_EQ(mouseDown(at(100, 80)), surface());
  EXPECT_EQ(selectedObject, 0);
  EXPECT_EQ(currentTool, ToolCode::Moving);
  mouseMove(at(110, 90));
  mouseUp(at(110, 90));
  pump();
  EXPECT_TRUE(sameRect(rectOfEntry(objects[0]), RECT{30, 30, 210, 160}));
  EXPECT_EQ(currentTool, ToolCode::Select);
}

TEST_F(SurfaceTest, PressesDoNotWorkTheControls) {
  placeIn(ToolCode::CheckBox, {20, 20, 140, 50});
  placeIn(ToolCode::Edit, {20, 80, 140, 110});
  const HWND check = controlOf(0);
  click(at(30, 35));
  click(at(30, 35));
  EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  // Over an edit box the cursor is the arrow, not the text cursor.
  SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
  EXPECT_EQ(mouseMove(at(60, 95)), controlOf(1));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
  click(at(60, 95));
  EXPECT_NE(GetFocus(), controlOf(1));
  EXPECT_EQ(selectedObject, 1);
}

// ---- Sizing by the corner handles --------------------------------------------

TEST_F(SurfaceTest, BottomRightCornerDraggedPastTheTopLeftFlipsAndNeverGoesNegative) {
  placeButton({50, 50, 110, 80});
  click(at(80, 65));
  ASSERT_EQ(selectedObject, 0);
  const HWND button = controlOf(0);
  click(at(110, 80));  // the bottom-right handle's centre
  EXPECT_EQ(currentTool, ToolCode::SizeBottomRight);
  EXPECT_EQ(pickupPending, 1);
  struct Step {
    POINT cursor;
    ToolCode corner;  // being dragged afterwards
  };
  const Step path[] = {{{100, 70}, ToolCode::SizeBottomRight},
                       {{60, 40}, ToolCode::SizeTopRight},
                       {{40, 30}, ToolCode::SizeTopLeft},
                       {{30, 20}, ToolCode::SizeTopLeft}};
  for (const Step& step : path) {
    hoverTo(at(step.cursor.x, step.cursor.y));
    EXPECT_EQ(currentTool, step.corner) << step.cursor.x;
    EXPECT_GE(objects[0].width, 0);
    EXPECT_GE(objects[0].height, 0);
  }
  // The corner crossed both edges: the top-left one is dragged now, and the
  // old top-left corner is the fixed one.
  EXPECT_EQ(currentTool, ToolCode::SizeTopLeft);
  EXPECT_TRUE(sameRect(rectOfEntry(objects[0]), RECT{30, 20, 50, 50}))
      << describe(rectOfEntry(objects[0]));
  expectHandlesAround({30, 20, 50, 50});
  // The control keeps its old look until the drop.
  EXPECT_TRUE(sameRect(rectInParent(button), RECT{50, 50, 110, 80}));
  click(at(30, 20));  // on the dragged corner's handle
  EXPECT_EQ(currentTool, ToolCode::Select);
  EXPECT_EQ(pickupPending, 0);
  EXPECT_TRUE(sameRect(rectInParent(button), RECT{30, 20, 50, 50}))
      << describe(rectInParent(button));
}

TEST_F(SurfaceTest, CornerDroppedInsideTheControlShrinksIt) {
  placeButton({50, 50, 150, 110});
  click(at(100, 80));
  click(at(150, 110));
  ASSERT_EQ(currentTool, ToolCode::SizeBottomRight);
  hoverTo(at(120, 90));
  EXPECT_TRUE(sameRect(rectOfEntry(objects[0]), RECT{50, 50, 120, 90}));
  // The handle lies over the control, still at its old size: the click
  // must land on the handle.
  EXPECT_EQ(WindowFromPoint(at(120, 90)), handle(3));
  click(at(120, 90));
  EXPECT_EQ(currentTool, ToolCode::Select);
  EXPECT_TRUE(sameRect(rectInParent(controlOf(0)), RECT{50, 50, 120, 90}))
      << describe(rectInParent(controlOf(0)));
  EXPECT_EQ(selectedObject, 0);
  expectHandlesAround({50, 50, 120, 90});
  screenshot(surface(), "surface-selected-control");
  // While a corner is picked up, Delete does nothing.
  click(at(120, 90));
  ASSERT_EQ(currentTool, ToolCode::SizeBottomRight);
  SendMessageW(surface(), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(project.objectCount, 1);
  click(at(120, 90));
  EXPECT_EQ(currentTool, ToolCode::Select);
}

// ---- Deleting ----------------------------------------------------------------

TEST_F(SurfaceTest, DeletingTheMiddleOfThreeRenumbersTheLastOne) {
  placeButton({10, 10, 90, 40});
  placeIn(ToolCode::Static, {10, 60, 90, 90});
  placeIn(ToolCode::ListBox, {120, 60, 220, 160});
  const HWND middle = controlOf(1);
  const HWND last = controlOf(2);
  // Nothing selected: nothing happens.
  click(at(300, 300));
  SendMessageW(surface(), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(project.objectCount, 3);

  click(at(50, 75));
  ASSERT_EQ(selectedObject, 1);
  SendMessageW(surface(), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_FALSE(IsWindow(middle));
  EXPECT_EQ(project.objectCount, 2);
  EXPECT_EQ(selectedObject, -1);
  EXPECT_FALSE(anyHandleVisible());
  EXPECT_EQ(GetDlgCtrlID(controlOf(0)), 1000000);
  EXPECT_EQ(controlOf(1), last);
  EXPECT_EQ(GetDlgCtrlID(last), 1000001);
  EXPECT_EQ(objects[1].kind, ObjectKind::LISTBOX);
  EXPECT_EQ(objects[1].idName, "ID_LISTBOX");
  EXPECT_TRUE(sameRect(rectOfEntry(objects[1]), RECT{120, 60, 220, 160}));
  EXPECT_EQ(objects[2], DesignObject{});
  // The moved control still works as a placed control under its new id.
  drag(at(170, 110), at(180, 120));
  EXPECT_TRUE(sameRect(rectInParent(last), RECT{130, 70, 230, 170}));

  // The main window's Delete reaches the surface too.
  SendMessageW(mainWindow, WM_KEYDOWN, VK_DELETE, 0);
  pump();
  EXPECT_EQ(project.objectCount, 1);
  EXPECT_EQ(objects[0].caption, "Button");
}

// ---- The surface's frame and closing -----------------------------------------

TEST_F(SurfaceTest, FrameChangesReachTheProjectExceptWithAnOutline) {
  // The fields show the designed window's values even while a control is
  // selected.
  placeButton({10, 10, 90, 40});
  click(at(50, 25));
  ASSERT_EQ(selectedObject, 0);
  MoveWindow(surface(), 30, 40, 250, 180, TRUE);
  pump();
  EXPECT_EQ(project.x, 30);
  EXPECT_EQ(project.y, 40);
  EXPECT_EQ(project.width, 250);
  EXPECT_EQ(project.height, 180);
  EXPECT_EQ(textOf(GetDlgItem(toolWindow, kXFieldId)), L"30");
  EXPECT_EQ(textOf(GetDlgItem(toolWindow, kWidthFieldId)), L"250");
  EXPECT_EQ(textOf(GetDlgItem(toolWindow, kCaptionFieldId)), L"Sample");
  const RECT before = rectInParent(surface());
  // With a polygon outline the frame springs back.
  project.regionMode = RegionMode::Polygon;
  MoveWindow(surface(), 60, 70, 150, 120, TRUE);
  pump();
  EXPECT_TRUE(sameRect(rectInParent(surface()), before)) << describe(rectInParent(surface()));
  EXPECT_EQ(project.width, 250);
  project.regionMode = RegionMode::Rectangle;
}

// The design has unsaved changes (placed, and the frame moved in SetUp): the
// close box asks whether to save them; Cancel keeps everything, No closes.
TEST_F(SurfaceTest, ClosingAsksAndCancelKeepsEverything) {
  placeButton({10, 10, 90, 40});
  {
    DialogScript script;
    script.then(answerMessageBox(IDCANCEL, L"保存しますか？"));
    SendMessageW(surface(), WM_CLOSE, 0, 0);
    pump();
    EXPECT_TRUE(script.done());
    ASSERT_EQ(script.seen().size(), 1u);
    EXPECT_EQ(script.seen()[0].title, L"保存確認");
  }
  ASSERT_NE(project.surface, 0u);
  EXPECT_EQ(project.objectCount, 1);
  EXPECT_TRUE(IsWindow(controlOf(0)));
  EXPECT_EQ(project.title, "Sample");
  {
    DialogScript script;
    script.then(answerMessageBox(IDNO));
    SendMessageW(surface(), WM_CLOSE, 0, 0);
    pump();
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(project.surface, 0u);
  EXPECT_EQ(project.objectCount, 0);
  EXPECT_TRUE(objects.empty());
  EXPECT_TRUE(IsWindow(mainWindow));
}

// ---- Saved and opened again ----------------------------------------------------

TEST_F(SurfaceTest, SavedDesignOpensWithEveryControlMadeAgain) {
  const auto table = placementTable();
  for (std::size_t i = 0; i < table.size(); ++i)
    placeIn(table[i].tool, gridCell(static_cast<int>(i)));
  // A caption with Japanese in it travels as CP932.
  setObjectText(objects[0], 1, "\x83\x7b\x83\x5e\x83\x93");  // ボタン
  const std::vector<DesignObject> placed(objects.begin(), objects.begin() + 11);
  const Project before = project;
  const std::wstring path = (folder() / L"design.mwd").wstring();
  {
    DialogScript script;
    script.then(chooseFile(path));
    command(IDM_FILE_SAVE);
    EXPECT_TRUE(script.done());
  }
  ASSERT_TRUE(std::filesystem::exists(path));
  {
    DialogScript script;
    script.then(answerMessageBox(IDNO)).then(chooseFile(path));
    command(IDM_FILE_OPEN);
    EXPECT_TRUE(script.done());
  }
  ASSERT_NE(project.surface, 0u);
  EXPECT_TRUE(IsWindowVisible(surface()));
  EXPECT_EQ(textOf(surface()), L"Sample");
  EXPECT_EQ(project.x, before.x);
  EXPECT_EQ(project.width, before.width);
  EXPECT_EQ(selectedObject, -1);
  ASSERT_EQ(project.objectCount, 11);
  for (std::size_t i = 0; i < placed.size(); ++i) {
    SCOPED_TRACE(i);
    const DesignObject& o = objects[i];
    const HWND control = controlOf(static_cast<int>(i));
    ASSERT_TRUE(IsWindow(control));
    EXPECT_EQ(o.kind, placed[i].kind);
    EXPECT_EQ(o.caption, placed[i].caption);
    EXPECT_EQ(o.idName, placed[i].idName);
    EXPECT_EQ(o.style, placed[i].style);
    EXPECT_EQ(upperClassOf(control), cp932ToWide(windowClassOf(o.kind)));
    EXPECT_EQ(textOf(control), cp932ToWide(o.caption));
    EXPECT_EQ(static_cast<std::uint32_t>(GetWindowLongW(control, GWL_STYLE)) & o.style, o.style);
    EXPECT_EQ(static_cast<std::uint32_t>(GetWindowLongW(control, GWL_EXSTYLE)) & 0x220u,
              recreatedExStyleOf(o.kind));
    EXPECT_EQ(GetDlgCtrlID(control), 1000000 + static_cast<int>(i));
    EXPECT_TRUE(sameRect(rectInParent(control), rectOfEntry(placed[i])));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
              asHfont(project.fontHandle));
  }
  EXPECT_EQ(textOf(controlOf(0)), L"ボタン");
  LOGFONTW font{};
  ASSERT_NE(GetObjectW(asHfont(project.fontHandle), sizeof font, &font), 0);
  EXPECT_EQ(std::wstring(font.lfFaceName), L"ＭＳ ゴシック");
  EXPECT_EQ(font.lfHeight, before.font.lfHeight);
  // The controls opened are placed controls: a press selects and moves.
  drag(at(60, 25), at(70, 30));
  EXPECT_EQ(selectedObject, 0);
  EXPECT_EQ(objects[0].x, 20);

  // A file that cannot be read changes nothing.
  const WindowHandle shown = project.surface;
  EXPECT_FALSE(openProject(folder() / L"missing.mwd"));
  EXPECT_EQ(project.surface, shown);
  EXPECT_EQ(project.objectCount, 11);
}

TEST_F(SurfaceTest, ControlFromAFileIsAChildWhateverItsStyleSays) {
  // A popup style from a file would make a top-level window (and fail, its
  // "menu" being the control id).
  DesignObject popup;
  popup.kind = ObjectKind::BUTTON;
  popup.x = 10;
  popup.y = 20;
  popup.width = 80;
  popup.height = 30;
  popup.caption = "Popup";
  popup.idName = "ID_POPUP";
  popup.style = WS_POPUP | WS_VISIBLE;
  const std::filesystem::path path = folder() / L"popup.mwd";
  Project source = project;
  source.objectCount = 1;
  ASSERT_TRUE(saveProject(path, source, {popup}));
  ASSERT_TRUE(openProject(path));
  ASSERT_EQ(project.objectCount, 1);
  const HWND control = controlOf(0);
  ASSERT_TRUE(IsWindow(control));
  EXPECT_EQ(GetParent(control), surface());
  EXPECT_EQ(GetDlgCtrlID(control), 1000000);
  EXPECT_EQ(objects[0].style, static_cast<std::uint32_t>(WS_POPUP | WS_VISIBLE));
  EXPECT_TRUE(sameRect(rectInParent(control), RECT{10, 20, 90, 50}));
}

}  // namespace
}  // namespace quorvin::gui
