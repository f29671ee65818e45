// The property fields: what they show for a control, for the designed
// window and for a polygon point, and how typing into them changes the
// design at every key release.
#include <string>

#include "app/main_window.h"
#include "app/model.h"
#include "app/model_win32.h"
#include "common/cp932.h"
#include "common/win32/text.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/palette.h"
#include "designer/polygon.h"
#include "designer/surface.h"
#include "tests/gui/gui_support.h"

namespace quorvin::gui {
namespace {

HWND field(int id) { return GetDlgItem(toolWindow, id); }

std::wstring fieldText(int id) { return textOf(field(id)); }

// The six fields, top to bottom.
std::vector<std::wstring> allFields() {
  std::vector<std::wstring> texts;
  for (const int id : {kCaptionFieldId, kIdFieldId, kWidthFieldId, kHeightFieldId, kXFieldId,
                       kYFieldId})
    texts.push_back(fieldText(id));
  return texts;
}

// A key as the keyboard gives it to the focused field: press, character,
// release. Each release applies the fields.
void pressKey(HWND target, UINT key, wchar_t character = 0) {
  SendMessageW(target, WM_KEYDOWN, key, 1);
  if (character != 0) SendMessageW(target, WM_CHAR, character, 1);
  SendMessageW(target, WM_KEYUP, key, 0xC0000001);
}

// Types `text` into the field, replacing what it holds, and calls `after`
// after each key release.
template <typename After>
void retype(int id, const std::wstring& text, After after) {
  const HWND target = field(id);
  SetFocus(target);
  SendMessageW(target, EM_SETSEL, 0, -1);
  for (const wchar_t c : text) {
    const SHORT scan = VkKeyScanW(c);
    pressKey(target, scan == -1 ? VK_PROCESSKEY : static_cast<UINT>(scan & 0xFF), c);
    after();
  }
}
void retype(int id, const std::wstring& text) {
  retype(id, text, [] {});
}

// Select all and Delete: the field is empty.
void clearField(int id) {
  const HWND target = field(id);
  SetFocus(target);
  SendMessageW(target, EM_SETSEL, 0, -1);
  pressKey(target, VK_DELETE);
}

HWND controlOf(int index) {
  return reinterpret_cast<HWND>(objects[static_cast<std::size_t>(index)].window);
}

// A window's rectangle in its parent's client coordinates.
std::string cp932(const char* utf8) { return utf8ToCp932(utf8); }

class FieldsTest : public DesignerTest {
 protected:
  // A design with one push button at (10, 10), 80 x 30, selected.
  void designWithSelectedButton() {
    newDesign(L"Fields", L"FieldClass");
    place(static_cast<int>(ToolCode::Button), {10, 10}, {90, 40});
    ASSERT_EQ(project.objectCount, 1);
    click(screenOf(controlOf(0), 40, 15));
    ASSERT_EQ(selectedObject, 0);
    ASSERT_EQ(currentTool, ToolCode::Select);
  }
};

TEST_F(FieldsTest, ShowTheSelectedControlThenTheWindowOnABackgroundClick) {
  designWithSelectedButton();
  EXPECT_EQ(allFields(), (std::vector<std::wstring>{L"Button", L"ID_BUTTON", L"80", L"30",
                                                    L"10", L"10"}));

  click(screenOf(surfaceWindow(), 150, 150));
  ASSERT_EQ(selectedObject, -1);
  // The class name shows as it is stored, though the ID field turns typed
  // letters into capitals.
  EXPECT_EQ(allFields(),
            (std::vector<std::wstring>{L"Fields", L"FieldClass",
                                       std::to_wstring(project.width),
                                       std::to_wstring(project.height),
                                       std::to_wstring(project.x), std::to_wstring(project.y)}));
  // A key release stores back what is shown: nothing changes.
  const Project before = project;
  pressKey(field(kCaptionFieldId), VK_SHIFT);
  EXPECT_EQ(project, before);
}

TEST_F(FieldsTest, TypingAWidthResizesTheControlAtEveryKeyRelease) {
  designWithSelectedButton();
  const HWND button = controlOf(0);
  std::vector<int> widths;
  retype(kWidthFieldId, L"120", [&] {
    const RECT r = rectInParent(button);
    EXPECT_EQ(r.right - r.left, objects[0].width);
    widths.push_back(objects[0].width);
  });
  EXPECT_EQ(widths, (std::vector<int>{1, 12, 120}));
  EXPECT_EQ(rectInParent(button).left, 10);

  // The size handles follow: the bottom-right one centred on the new corner.
  const RECT handle = rectInParent(GetDlgItem(surfaceWindow(), 13000));
  EXPECT_EQ(handle.left, 10 + 120 - 5);
  EXPECT_EQ(handle.top, 10 + 30 - 5);

  // Letters are refused by the number fields.
  retype(kWidthFieldId, L"7x");
  EXPECT_EQ(fieldText(kWidthFieldId), L"7");
  EXPECT_EQ(objects[0].width, 7);
}

TEST_F(FieldsTest, AFieldThatIsNotANumberStoresZeroAndLeavesTheControlAsItIs) {
  designWithSelectedButton();
  const HWND button = controlOf(0);

  clearField(kWidthFieldId);
  EXPECT_EQ(objects[0].width, 0);
  EXPECT_EQ(objects[0].height, 30);
  EXPECT_EQ(rectInParent(button).right - rectInParent(button).left, 80) << "the control keeps its size";

  // Text pasted into H while W is fine: W applies, H stores 0, x and y are
  // not read, and the window stays.
  retype(kWidthFieldId, L"50");
  SetWindowTextW(field(kHeightFieldId), L"3a");
  SetWindowTextW(field(kXFieldId), L"99");
  pressKey(field(kCaptionFieldId), VK_RIGHT);
  EXPECT_EQ(objects[0].width, 50);
  EXPECT_EQ(objects[0].height, 0);
  EXPECT_EQ(objects[0].x, 10);
  EXPECT_EQ(rectInParent(button).right - rectInParent(button).left, 50)
      << "the window took the last complete rectangle";

  retype(kHeightFieldId, L"20");
  EXPECT_EQ(objects[0].x, 99);
  const RECT r = rectInParent(button);
  EXPECT_EQ(r.left, 99);
  EXPECT_EQ(r.right - r.left, 50);
  EXPECT_EQ(r.bottom - r.top, 20);
}

TEST_F(FieldsTest, ANegativeXShowsUnsignedAndTravelsBackUnchanged) {
  designWithSelectedButton();
  objects[0].x = -5;
  MoveWindow(controlOf(0), -5, 10, 80, 30, TRUE);
  showObjectFields(objects[0]);
  EXPECT_EQ(fieldText(kXFieldId), L"4294967291");

  pressKey(field(kYFieldId), VK_TAB);
  EXPECT_EQ(objects[0].x, -5);
  EXPECT_EQ(rectInParent(controlOf(0)).left, -5);
}

TEST_F(FieldsTest, CaptionAndIdFieldsRenameTheControlLive) {
  designWithSelectedButton();
  std::vector<std::wstring> shown;
  retype(kCaptionFieldId, L"日本語", [&] { shown.push_back(textOf(controlOf(0))); });
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"日", L"日本", L"日本語"}));
  EXPECT_EQ(objects[0].caption, cp932("日本語"));

  retype(kIdFieldId, L"id_ok");
  EXPECT_EQ(fieldText(kIdFieldId), L"ID_OK");
  EXPECT_EQ(objects[0].idName, "ID_OK");

  // A name read from a file may hold small letters: shown and kept as is.
  setObjectText(objects[0], 2, "idCancel");
  showObjectFields(objects[0]);
  EXPECT_EQ(fieldText(kIdFieldId), L"idCancel");
  pressKey(field(kCaptionFieldId), VK_END);
  EXPECT_EQ(objects[0].idName, "idCancel");
}

TEST_F(FieldsTest, WithNothingSelectedTheFieldsChangeTheDesignedWindow) {
  newDesign(L"Old", L"OldClass");
  ASSERT_EQ(selectedObject, -1);
  showWindowFields();
  const HWND surface = surfaceWindow();

  retype(kCaptionFieldId, L"新しい窓");
  EXPECT_EQ(textOf(surface), L"新しい窓");
  EXPECT_EQ(project.title, cp932("新しい窓"));

  retype(kIdFieldId, L"Cls");
  EXPECT_EQ(project.className, "CLS");

  // The surface has a smallest size: while the typed width is below it the
  // record keeps the surface's real width, and the typing goes on.
  retype(kWidthFieldId, L"260", [&] {
    const RECT r = rectInParent(surface);
    EXPECT_EQ(project.width, r.right - r.left);
  });
  EXPECT_EQ(fieldText(kWidthFieldId), L"260");
  retype(kXFieldId, L"20");
  retype(kYFieldId, L"30");
  const RECT r = rectInParent(surface);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.right - r.left, 260);
  EXPECT_EQ(project.x, 20);
  EXPECT_EQ(project.y, 30);
  EXPECT_EQ(project.width, 260);
}

TEST_F(FieldsTest, EnterInAnEmptyIdFieldWarnsEvenWithoutAProject) {
  ASSERT_EQ(project.surface, 0u);
  const HWND idField = field(kIdFieldId);
  SetWindowTextW(idField, L"");
  SetFocus(idField);
  HWND owner = nullptr;
  {
    DialogScript script;
    script.then([&](const DialogInfo& info) {
      owner = GetWindow(info.window, GW_OWNER);
      answerMessageBox(IDOK, kMissingIdMessage)(info);
    });
    pressKey(idField, VK_RETURN);
    pump();
    EXPECT_TRUE(script.done());
    ASSERT_EQ(script.seen().size(), 1u);
    EXPECT_EQ(script.seen()[0].title, L"error");
  }
  EXPECT_EQ(owner, toolWindow);
  EXPECT_EQ(GetFocus(), idField);

  // The release of the Enter that closed the box lands in the field again;
  // it must not bring the box back. Other keys never warn.
  {
    DialogScript script;  // any box would be reported as unexpected
    SendMessageW(idField, WM_KEYUP, VK_RETURN, 0xC0000001);
    pressKey(idField, VK_TAB);
    pump();
    EXPECT_TRUE(script.seen().empty());
  }
  // Nothing was applied without a project.
  EXPECT_TRUE(project.title.empty());
}

TEST_F(FieldsTest, WithAPolygonOutlineAndNothingSelectedTypingChangesNothing) {
  newDesign(L"Shape", L"ShapeClass");
  showWindowFields();
  project.regionMode = RegionMode::Polygon;  // as if the outline had points
  const Project before = project;
  retype(kCaptionFieldId, L"X");
  clearField(kIdFieldId);
  {
    DialogScript script;
    pressKey(field(kIdFieldId), VK_RETURN);
    pump();
    EXPECT_TRUE(script.seen().empty()) << "no warning with a polygon outline";
  }
  EXPECT_EQ(project, before);
  EXPECT_EQ(textOf(surfaceWindow()), L"Shape");
  project.regionMode = RegionMode::Rectangle;
}

TEST_F(FieldsTest, WithAPointActiveTypingMovesItsMarker) {
  newDesign(L"Shape", L"ShapeClass");
  selectTool(ToolCode::AddPoint);
  click(screenOf(surfaceWindow(), 100, 120));
  if (project.pointCount != 3) GTEST_SKIP() << "the polygon outline is not there yet";
  ASSERT_EQ(project.activePoint, 2);
  const HWND marker = GetDlgItem(mainWindow, 302);
  ASSERT_NE(marker, nullptr);
  showPointFields(2);
  EXPECT_EQ(allFields(), (std::vector<std::wstring>{L"", L"", L"0", L"0",
                                                    std::to_wstring(project.markerPoints[2].x),
                                                    std::to_wstring(project.markerPoints[2].y)}));
  selectTool(ToolCode::Select);
  const RECT shapeBefore = rectInParent(surfaceWindow());

  retype(kXFieldId, L"340");
  EXPECT_EQ(project.markerPoints[2].x, 340);
  EXPECT_EQ(rectInParent(marker).left, 340);
  // The outline follows: the surface now reaches past the moved vertex.
  const RECT shapeAfter = rectInParent(surfaceWindow());
  EXPECT_NE(shapeAfter.right, shapeBefore.right);
  EXPECT_EQ(project.width, shapeAfter.right - shapeAfter.left);
}

}  // namespace
}  // namespace quorvin::gui
