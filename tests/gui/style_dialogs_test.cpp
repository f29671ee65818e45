// The style dialog and the edit-variant dialog, worked like a user would:
// check boxes and radio buttons are clicked (BM_CLICK posted to them), keys
// and the close box are posted to the dialog, and the mouse is moved over
// the boxes with the real cursor.
#include "styles/style_dialogs.h"

#include <cstring>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/model.h"
#include "app/model_win32.h"
#include "common/win32/text.h"
#include "designer/editing_state.h"
#include "designer/palette.h"
#include "designer/surface.h"
#include "resources/resource.h"
#include "styles/style_dialog_rules.h"
#include "styles/style_tables.h"
#include "tests/gui/gui_support.h"

namespace quorvin::gui {
namespace {

constexpr int kOk = IDC_SETSTYLE_OK;
constexpr int kCancel = IDC_SETSTYLE_CANCEL;

int rowOf(StyleTable table, const char* name) {
  for (std::size_t row = 0; row < table.size(); ++row)
    if (std::strcmp(table[row].name, name) == 0) return static_cast<int>(row);
  ADD_FAILURE() << "no row " << name;
  return -1000;
}
int windowBox(const char* name) { return kFirstWindowStyleBoxId + rowOf(WindowStyleTable, name); }
int kindBox(StyleTable table, const char* name) {
  return kFirstKindStyleBoxId + rowOf(table, name);
}

bool isChecked(HWND dialog, int id) {
  return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

SIZE outerSize(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// A child's rectangle in its parent's client coordinates.
RECT placeIn(HWND parent, HWND child) { return rectIn(child, parent); }

int childCount(HWND window) {
  int count = 0;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    ++count;
  return count;
}

HWND sampleOf(HWND dialog) {
  return GetDlgItem(GetDlgItem(dialog, IDC_SETSTYLE_SAMPLE_FRAME), IDC_SETSTYLE_SAMPLE);
}

std::uint32_t styleOf(HWND window) {
  return static_cast<std::uint32_t>(GetWindowLongW(window, GWL_STYLE));
}

std::wstring className(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

void pressEscape(HWND dialog) {
  const HWND focus = GetFocus();
  PostMessageW(focus != nullptr ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
}

// A design with one placed control per test, selected as a press on it
// would select it.
class StyleDialogTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    if (HasFatalFailure()) return;
    newDesign(L"Styles", L"StyleClass");
  }

  // Places a control with `tool` and selects it; returns its index.
  int placeSelected(ToolCode tool) {
    place(static_cast<int>(tool), {20, 20}, {140, 80});
    EXPECT_GT(project.objectCount, 0);
    selectedObject = project.objectCount - 1;
    return selectedObject;
  }

  DesignObject& object(int index) { return objects[static_cast<std::size_t>(index)]; }

  // Opens the style dialog for the selection and answers it with `steps`,
  // one step each time the dialog has settled; returns its result.
  INT_PTR styleDialog(std::vector<DialogAction> steps) {
    DialogScript script;
    for (DialogAction& step : steps) script.then(std::move(step));
    const INT_PTR result = runStyleDialog(mainWindow);
    EXPECT_TRUE(script.done());
    return result;
  }

  // The same for the edit-variant dialog, opened from the palette.
  INT_PTR variantDialog(std::vector<DialogAction> steps) {
    DialogScript script;
    for (DialogAction& step : steps) script.then(std::move(step));
    const INT_PTR result = runEditVariantDialog(toolWindow);
    EXPECT_TRUE(script.done());
    return result;
  }

  // The outer size of the style dialog for the selection, and where its OK
  // button stands in the client area.
  struct Measures {
    SIZE size{};
    RECT ok{};
  };
  Measures measuredDialog() {
    Measures measures;
    styleDialog({[&](const DialogInfo& info) {
      measures.size = outerSize(info.window);
      measures.ok = placeIn(info.window, GetDlgItem(info.window, kOk));
      clickButton(info.window, kCancel);
    }});
    return measures;
  }
};

TEST_F(StyleDialogTest, WithoutSelectionShowsOnlyTheTemplateAndChangesNothing) {
  const int index = placeSelected(ToolCode::Button);
  const std::uint32_t style = object(index).style;
  const HWND control = asHwnd(object(index).window);
  selectedObject = -1;
  for (int closer : {kOk, kCancel}) {
    const INT_PTR result = styleDialog({
        [&](const DialogInfo& info) {
          EXPECT_EQ(info.title, L"SettingStyle");
          EXPECT_EQ(childCount(info.window), 4);
          pressEscape(info.window);
        },
        [&](const DialogInfo& info) {
          EXPECT_TRUE(IsWindowVisible(info.window));
          clickButton(info.window, closer);
        },
    });
    EXPECT_EQ(result, closer);
    EXPECT_EQ(object(index).style, style);
    EXPECT_EQ(asHwnd(object(index).window), control);
  }
}

TEST_F(StyleDialogTest, OpensWithTheBoxesOfTheStyleAndGrowsWithTheKind) {
  selectedObject = -1;
  const Measures atTemplate = measuredDialog();
  const SIZE templateSize = atTemplate.size;

  for (ToolCode tool : {ToolCode::Edit, ToolCode::Static}) {
    placeSelected(tool);
    const Measures measures = measuredDialog();
    EXPECT_EQ(measures.size.cx, templateSize.cx);
    EXPECT_EQ(measures.size.cy, templateSize.cy);
    EXPECT_EQ(measures.ok.top, atTemplate.ok.top);
  }

  const int button = placeSelected(ToolCode::Button);
  ASSERT_EQ(object(button).style, 0x50002300u);
  styleDialog({[&](const DialogInfo& info) {
    const HWND dialog = info.window;
    const SIZE size = outerSize(dialog);
    EXPECT_EQ(size.cx, templateSize.cx);
    EXPECT_EQ(size.cy, templateSize.cy + 50);
    const RECT ok = placeIn(dialog, GetDlgItem(dialog, kOk));
    EXPECT_EQ(ok.left, atTemplate.ok.left);
    EXPECT_EQ(ok.top, atTemplate.ok.top + 50);
    for (const char* name : {"BS_MULTILINE", "BS_CENTER"})
      EXPECT_TRUE(isChecked(dialog, kindBox(ButtonStyleTable, name))) << name;
    for (const char* name : {"BS_LEFT", "BS_RIGHT", "BS_DEFPUSHBUTTON", "BS_NOTIFY"})
      EXPECT_FALSE(isChecked(dialog, kindBox(ButtonStyleTable, name))) << name;
    EXPECT_TRUE(isChecked(dialog, windowBox("WS_VISIBLE")));
    EXPECT_FALSE(isChecked(dialog, windowBox("WS_BORDER")));
    // Per-kind boxes in three columns 140 pixels apart, lines 19 apart.
    const RECT fifth = placeIn(dialog, GetDlgItem(dialog, kFirstKindStyleBoxId + 4));
    EXPECT_EQ(fifth.left, 141);
    EXPECT_EQ(fifth.top, 79);
    // The sample: the object's class and style inside the "Sample" frame.
    const HWND sample = sampleOf(dialog);
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(className(sample), L"Button");
    EXPECT_EQ(styleOf(sample), 0x50002300u);
    const RECT inFrame = placeIn(GetDlgItem(dialog, IDC_SETSTYLE_SAMPLE_FRAME), sample);
    EXPECT_EQ(inFrame.left, 25);
    EXPECT_EQ(inFrame.top, 25);
    clickButton(dialog, kCancel);
  }});

  placeSelected(ToolCode::ListBox);
  styleDialog({[&](const DialogInfo& info) {
    const HWND dialog = info.window;
    const SIZE size = outerSize(dialog);
    EXPECT_EQ(size.cx, templateSize.cx + 215);
    EXPECT_EQ(size.cy, templateSize.cy + 50);
    EXPECT_EQ(placeIn(dialog, GetDlgItem(dialog, kFirstKindStyleBoxId + 0)).left, 1);
    EXPECT_EQ(placeIn(dialog, GetDlgItem(dialog, kFirstKindStyleBoxId + 1)).left, 221);
    EXPECT_EQ(placeIn(dialog, GetDlgItem(dialog, kFirstKindStyleBoxId + 2)).left, 441);
    EXPECT_TRUE(isChecked(dialog, kindBox(ListBoxStyleTable, "LBS_NOINTEGRALHEIGHT")));
    // The frame and the description stand 150 pixels above the bottom.
    RECT client{};
    GetClientRect(dialog, &client);
    const RECT frame = placeIn(dialog, GetDlgItem(dialog, IDC_SETSTYLE_SAMPLE_FRAME));
    EXPECT_EQ(frame.left, 5);
    EXPECT_EQ(frame.top, client.bottom - 150);
    EXPECT_EQ(frame.right - frame.left, 100);
    const RECT description = placeIn(dialog, GetDlgItem(dialog, IDC_SETSTYLE_DESCRIPTION));
    EXPECT_EQ(description.left, 115);
    EXPECT_EQ(description.right - description.left, client.right - 125);
    // OK and CANCEL moved with the growth.
    const RECT ok = placeIn(dialog, GetDlgItem(dialog, kOk));
    EXPECT_EQ(ok.left, atTemplate.ok.left + 215);
    EXPECT_EQ(ok.top, atTemplate.ok.top + 50);
    const RECT cancel = placeIn(dialog, GetDlgItem(dialog, kCancel));
    EXPECT_EQ(cancel.top, ok.top);
    EXPECT_LE(cancel.right, client.right);
    const HWND sample = sampleOf(dialog);
    EXPECT_EQ(className(sample), L"ListBox");
    EXPECT_TRUE(GetWindowLongW(sample, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    clickButton(dialog, kCancel);
  }});
}

TEST_F(StyleDialogTest, CheckingCombinesValuesAndKeepsUnshownBits) {
  const int index = placeSelected(ToolCode::CheckBox);
  // As read from a file: a plain check box type and WS_TABSTOP, which no box
  // shows.
  object(index).style = 0x50000002u | WS_TABSTOP;
  HWND sampleBefore = nullptr;
  const INT_PTR result = styleDialog({
      [&](const DialogInfo& info) {
        EXPECT_TRUE(isChecked(info.window, kindBox(ButtonStyleTable, "BS_CHECKBOX")));
        sampleBefore = sampleOf(info.window);
        clickButton(info.window, kindBox(ButtonStyleTable, "BS_RADIOBUTTON"));
      },
      [&](const DialogInfo& info) {
        // 0x0002 | 0x0004: the type 0x0006, and both boxes stay checked.
        EXPECT_EQ(object(index).style & 0x000Fu, 0x0006u);
        EXPECT_TRUE(object(index).style & WS_TABSTOP);
        EXPECT_TRUE(isChecked(info.window, kindBox(ButtonStyleTable, "BS_CHECKBOX")));
        EXPECT_TRUE(isChecked(info.window, kindBox(ButtonStyleTable, "BS_RADIOBUTTON")));
        // The sample took the style in place.
        EXPECT_EQ(sampleOf(info.window), sampleBefore);
        EXPECT_EQ(styleOf(sampleBefore) & 0x000Fu, 0x0006u);
        clickButton(info.window, kindBox(ButtonStyleTable, "BS_NOTIFY"));
      },
      [&](const DialogInfo& info) {
        EXPECT_EQ(object(index).style, 0x50000006u | WS_TABSTOP | BS_NOTIFY);
        clickButton(info.window, kindBox(ButtonStyleTable, "BS_NOTIFY"));  // unchecks
      },
      [&](const DialogInfo& info) {
        // Rebuilt from the boxes: WS_TABSTOP is gone, WS_CHILD is there.
        EXPECT_EQ(object(index).style, 0x50000006u);
        clickButton(info.window, kOk);
      },
  });
  EXPECT_EQ(result, kOk);
}

TEST_F(StyleDialogTest, WindowStyleBoxesRemakeTheSample) {
  const int index = placeSelected(ToolCode::Button);
  HWND sampleBefore = nullptr;
  styleDialog({
      [&](const DialogInfo& info) {
        sampleBefore = sampleOf(info.window);
        EXPECT_TRUE(IsWindowVisible(sampleBefore));
        clickButton(info.window, windowBox("WS_VISIBLE"));
      },
      [&](const DialogInfo& info) {
        EXPECT_EQ(object(index).style, 0x40002300u);
        const HWND sample = sampleOf(info.window);
        ASSERT_NE(sample, nullptr);
        EXPECT_FALSE(IsWindow(sampleBefore));
        EXPECT_FALSE(IsWindowVisible(sample));
        clickButton(info.window, windowBox("WS_VISIBLE"));
      },
      [&](const DialogInfo& info) {
        EXPECT_EQ(object(index).style, 0x50002300u);
        EXPECT_TRUE(IsWindowVisible(sampleOf(info.window)));
        clickButton(info.window, windowBox("WS_BORDER"));
      },
      [&](const DialogInfo& info) {
        EXPECT_EQ(object(index).style, 0x50802300u);
        EXPECT_EQ(styleOf(sampleOf(info.window)), 0x50802300u);
        clickButton(info.window, kCancel);
      },
  });
}

TEST_F(StyleDialogTest, ListBoxStandardAddsBorderAndScrollBarWhileTheirBoxesStay) {
  const int index = placeSelected(ToolCode::ListBox);
  styleDialog({
      [&](const DialogInfo& info) {
        clickButton(info.window, kindBox(ListBoxStyleTable, "LBS_STANDARD"));
      },
      [&](const DialogInfo& info) {
        EXPECT_EQ(object(index).style & 0x00A00003u, 0x00A00003u);
        EXPECT_TRUE(isChecked(info.window, kindBox(ListBoxStyleTable, "LBS_STANDARD")));
        EXPECT_FALSE(isChecked(info.window, windowBox("WS_BORDER")));
        EXPECT_FALSE(isChecked(info.window, windowBox("WS_VSCROLL")));
        clickButton(info.window, kOk);
      },
  });
  EXPECT_EQ(object(index).style & 0x00A00003u, 0x00A00003u);
}

TEST_F(StyleDialogTest, EscapeLeavesTheDialogOpenAndTheStyleAlone) {
  const int index = placeSelected(ToolCode::Button);
  const INT_PTR result = styleDialog({
      [&](const DialogInfo& info) { pressEscape(info.window); },
      [&](const DialogInfo& info) {
        EXPECT_TRUE(IsWindowVisible(info.window));
        EXPECT_EQ(object(index).style, 0x50002300u);
        EXPECT_EQ(styleOf(sampleOf(info.window)), 0x50002300u);
        clickButton(info.window, kCancel);
      },
  });
  EXPECT_EQ(result, kCancel);
}

TEST_F(StyleDialogTest, TheMouseOverABoxShowsItsDescription) {
  placeSelected(ToolCode::Button);
  const std::wstring leftText = cp932ToWide(
      ButtonStyleTable[static_cast<std::size_t>(rowOf(ButtonStyleTable, "BS_LEFT"))].description);
  const std::wstring visibleText = cp932ToWide(WindowStyleTable[0].description);
  ASSERT_FALSE(leftText.empty());
  auto hover = [](HWND dialog, int id) {
    const HWND item = GetDlgItem(dialog, id);
    RECT rect{};
    GetClientRect(item, &rect);
    const HWND target = mouseMove(screenOf(item, rect.right / 2, rect.bottom / 2));
    EXPECT_EQ(target, item) << "the cursor is not over control " << id;
  };
  // The cursor away from where the dialog opens, which would otherwise show a
  // description at once.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  styleDialog({
      [&](const DialogInfo& info) {
        const HWND dialog = info.window;
        EXPECT_EQ(itemText(dialog, IDC_SETSTYLE_DESCRIPTION), L"");
        hover(dialog, kindBox(ButtonStyleTable, "BS_LEFTTEXT"));
        EXPECT_EQ(itemText(dialog, IDC_SETSTYLE_DESCRIPTION), leftText);
        hover(dialog, windowBox("WS_VISIBLE"));
        EXPECT_EQ(itemText(dialog, IDC_SETSTYLE_DESCRIPTION), visibleText);
        hover(dialog, kOk);  // not a style box: the text stays
        EXPECT_EQ(itemText(dialog, IDC_SETSTYLE_DESCRIPTION), visibleText);
        hover(dialog, kindBox(ButtonStyleTable, "BS_MULTILINE"));
      },
      [&](const DialogInfo& info) {
        screenshot(info.window, "style-dialog-button");
        clickButton(info.window, kCancel);
      },
  });
}

TEST_F(StyleDialogTest, CancelPutsBackTheStyleAndKeepsTheControl) {
  const int index = placeSelected(ToolCode::Button);
  const HWND control = asHwnd(object(index).window);
  const INT_PTR result = styleDialog({
      [&](const DialogInfo& info) {
        clickButton(info.window, kindBox(ButtonStyleTable, "BS_MULTILINE"));  // unchecks
      },
      [&](const DialogInfo& info) { clickButton(info.window, windowBox("WS_DISABLED")); },
      [&](const DialogInfo& info) {
        EXPECT_EQ(object(index).style, 0x58000300u);
        clickButton(info.window, kCancel);
      },
  });
  EXPECT_EQ(result, kCancel);
  EXPECT_EQ(object(index).style, 0x50002300u);
  EXPECT_EQ(asHwnd(object(index).window), control);
  EXPECT_EQ(styleOf(control), 0x50002300u);
}

TEST_F(StyleDialogTest, OkRemakesTheControlOnTheSurface) {
  // The first of two: made again, it must go back above the second.
  const int index = placeSelected(ToolCode::Button);
  place(static_cast<int>(ToolCode::Edit), {20, 100}, {140, 140});
  ASSERT_EQ(project.objectCount, 2);
  selectedObject = index;
  const HWND before = asHwnd(object(index).window);
  // Opened by the palette's Style button.
  DialogScript script;
  script
      .then([&](const DialogInfo& info) {
        clickButton(info.window, kindBox(ButtonStyleTable, "BS_MULTILINE"));  // unchecks
      })
      .then([&](const DialogInfo& info) {
        clickButton(info.window, kindBox(ButtonStyleTable, "BS_DEFPUSHBUTTON"));
      })
      .then([&](const DialogInfo& info) { clickButton(info.window, kOk); });
  clickButton(toolWindow, kStyleButtonId);
  pump();
  EXPECT_TRUE(script.done());

  const DesignObject& remade = object(index);
  EXPECT_EQ(remade.style, 0x50000301u);
  const HWND control = asHwnd(remade.window);
  ASSERT_NE(control, nullptr);
  EXPECT_NE(control, before);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(styleOf(control), 0x50000301u);
  EXPECT_EQ(GetParent(control), asHwnd(project.surface));
  EXPECT_EQ(GetDlgCtrlID(control), kControlIdBase + index);
  EXPECT_EQ(className(control), L"Button");
  EXPECT_EQ(GetWindowLongPtrW(control, GWLP_WNDPROC),
            reinterpret_cast<LONG_PTR>(placedControlProc));
  EXPECT_EQ(SendMessageW(control, WM_GETFONT, 0, 0), static_cast<LRESULT>(project.fontHandle));
  wchar_t text[32] = {};
  GetWindowTextW(control, text, 32);
  EXPECT_STREQ(text, L"Button");
  const RECT rect = placeIn(asHwnd(project.surface), control);
  EXPECT_EQ(rect.left, remade.x);
  EXPECT_EQ(rect.right - rect.left, remade.width);
  // It keeps its place in the stacking (the generated code's creation order).
  std::vector<HWND> stacked;
  for (HWND child = GetWindow(asHwnd(project.surface), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    if (child == control || child == asHwnd(object(index + 1).window)) stacked.push_back(child);
  EXPECT_EQ(stacked, (std::vector<HWND>{control, asHwnd(object(index + 1).window)}));
  screenshot(mainWindow, "style-dialog-button-remade");
}

// ---- The edit-variant dialog ---------------------------------------------

using EditVariantDialogTest = StyleDialogTest;

constexpr int kVariantOk = IDC_EDITMENU_OK;
constexpr int kVariantCancel = IDC_EDITMENU_CANCEL;

TEST_F(EditVariantDialogTest, OkWithoutTouchingChoosesThePlainEdit) {
  for (ToolCode before : {ToolCode::Select, ToolCode::ListBox, ToolCode::EditMVH}) {
    currentTool = before;
    const INT_PTR result = variantDialog({[&](const DialogInfo& info) {
      EXPECT_EQ(info.title, L"EDIT");
      EXPECT_TRUE(isChecked(info.window, IDC_EDITMENU_NORMAL));
      EXPECT_EQ(currentTool, ToolCode::Edit);
      clickButton(info.window, kVariantOk);
    }});
    EXPECT_EQ(result, kVariantOk);
    EXPECT_EQ(currentTool, ToolCode::Edit);
    EXPECT_EQ(highlightedCell, 2);
  }
}

TEST_F(EditVariantDialogTest, TheLastChoiceIsPlacedAfterOk) {
  // Opened by a click on the palette's Edit cell.
  DialogScript script;
  script.then([&](const DialogInfo& info) { clickButton(info.window, IDC_EDITMENU_VSCROLL); })
      .then([&](const DialogInfo& info) {
        EXPECT_EQ(currentTool, ToolCode::EditMV);
        clickButton(info.window, IDC_EDITMENU_HSCROLL);
      })
      .then([&](const DialogInfo& info) {
        EXPECT_EQ(currentTool, ToolCode::EditMH);
        EXPECT_FALSE(isChecked(info.window, IDC_EDITMENU_VSCROLL));
        screenshot(info.window, "edit-variant-dialog");
        clickButton(info.window, kVariantOk);
      });
  const HWND editCell = GetDlgItem(toolWindow, static_cast<int>(ToolCode::Edit));
  ASSERT_NE(editCell, nullptr);
  click(screenOf(editCell, 13, 13));
  EXPECT_TRUE(script.done());
  EXPECT_EQ(currentTool, ToolCode::EditMH);
  EXPECT_EQ(highlightedCell, 2);

  // The next drag on the surface places that variant.
  const HWND surface = asHwnd(project.surface);
  drag(screenOf(surface, 10, 10), screenOf(surface, 110, 70));
  ASSERT_EQ(project.objectCount, 1);
  const DesignObject& placed = objects[0];
  EXPECT_EQ(placed.kind, ObjectKind::EDIT_MH);
  EXPECT_EQ(className(asHwnd(placed.window)), L"Edit");
  EXPECT_EQ(placed.style & 0x501010C4u, 0x501010C4u);
  EXPECT_EQ(placed.style & WS_VSCROLL, 0u);
  EXPECT_EQ(currentTool, ToolCode::Select);
}

TEST_F(EditVariantDialogTest, CancelReturnsToSelect) {
  const INT_PTR result = variantDialog({
      [&](const DialogInfo& info) { clickButton(info.window, IDC_EDITMENU_MULTILINE); },
      [&](const DialogInfo& info) {
        EXPECT_EQ(currentTool, ToolCode::EditM);
        clickButton(info.window, kVariantCancel);
      },
  });
  EXPECT_EQ(result, kVariantCancel);
  EXPECT_EQ(currentTool, ToolCode::Select);
  EXPECT_EQ(highlightedCell, 0);
}

TEST_F(EditVariantDialogTest, OnlyOkAndCancelCloseIt) {
  const INT_PTR result = variantDialog({
      [&](const DialogInfo& info) { clickButton(info.window, IDC_EDITMENU_VHSCROLL); },
      [&](const DialogInfo& info) { pressEscape(info.window); },
      [&](const DialogInfo& info) {
        PostMessageW(info.window, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
      },
      [&](const DialogInfo& info) {
        // Typing into a sample edit box notifies the dialog, which ignores it.
        setItemText(info.window, IDC_EDITMENU_NORMAL_SAMPLE, L"typed");
        EXPECT_TRUE(IsWindowVisible(info.window));
        EXPECT_EQ(currentTool, ToolCode::EditMVH);
        EXPECT_TRUE(isChecked(info.window, IDC_EDITMENU_VHSCROLL));
        clickButton(info.window, kVariantOk);
      },
  });
  EXPECT_EQ(result, kVariantOk);
  EXPECT_EQ(currentTool, ToolCode::EditMVH);
}

}  // namespace
}  // namespace quorvin::gui
