#include "styles/style_dialog_rules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace quorvin {
namespace {

int rowOf(StyleTable table, const char* name) {
  for (std::size_t i = 0; i < table.size(); ++i)
    if (std::strcmp(table[i].name, name) == 0) return static_cast<int>(i);
  ADD_FAILURE() << "no row " << name;
  return -1;
}

TEST(StyleDialogLayout, BoxesGrowthAndPlacement) {
  const RegionPoint windowBoxes[] = {{1, 10}, {111, 10}, {221, 10},
                                     {1, 29}, {111, 29}, {221, 29}};
  for (int row = 0; row < 6; ++row) {
    const PixelRect r = windowStyleBoxRect(row);
    EXPECT_EQ((RegionPoint{r.x, r.y}), windowBoxes[row]) << "row " << row;
    EXPECT_EQ(r.width, 100);
    EXPECT_EQ(r.height, 15);
  }
  EXPECT_EQ(kindStyleBoxRect(ObjectKind::BUTTON, 0), (PixelRect{1, 60, 130, 15}));
  EXPECT_EQ(kindStyleBoxRect(ObjectKind::BUTTON, 4), (PixelRect{141, 79, 130, 15}));
  EXPECT_EQ(kindStyleBoxRect(ObjectKind::EDIT_MV, 20), (PixelRect{281, 174, 130, 15}));
  EXPECT_EQ(kindStyleBoxRect(ObjectKind::LISTBOX, 5), (PixelRect{441, 79, 130, 15}));
  EXPECT_EQ(kindStyleBoxRect(ObjectKind::LISTBOX, 1), (PixelRect{221, 60, 130, 15}));

  EXPECT_EQ(styleDialogGrowth(ObjectKind::BUTTON), (DialogGrowth{0, 50}));
  EXPECT_EQ(styleDialogGrowth(ObjectKind::LISTBOX), (DialogGrowth{215, 50}));
  for (ObjectKind k : {ObjectKind::EDIT, ObjectKind::EDIT_M, ObjectKind::EDIT_MV,
                       ObjectKind::EDIT_MH, ObjectKind::EDIT_MVH, ObjectKind::STATIC,
                       static_cast<ObjectKind>(999)})
    EXPECT_EQ(styleDialogGrowth(k), DialogGrowth{}) << static_cast<int>(k);

  const EdgeRect client{0, 0, 400, 300};
  EXPECT_EQ(sampleFrameRect(client), (PixelRect{5, 150, 100, 100}));
  EXPECT_EQ(descriptionRect(client), (PixelRect{115, 150, 275, 100}));
  EXPECT_EQ(descriptionRect({0, 0, 100, 300}).width, 0);
}

TEST(StyleDialogClicks, WindowStyleBoxesSetAndClearTheirBit) {
  const int visible = rowOf(WindowStyleTable, "WS_VISIBLE");
  const int disabled = rowOf(WindowStyleTable, "WS_DISABLED");
  const std::uint32_t style = 0x50012300;  // with WS_TABSTOP, which no box shows
  EXPECT_EQ(windowStyleClick(style, disabled, true), 0x58012300u);
  EXPECT_EQ(windowStyleClick(style, visible, false), 0x40012300u);
  EXPECT_EQ(windowStyleClick(style, -1, true), style);
  EXPECT_EQ(windowStyleClick(style, 6, true), style);
}

TEST(StyleDialogClicks, KindBoxesCombineOnCheckAndRebuildOnUncheck) {
  const StyleTable buttons = ButtonStyleTable;
  // A check box with BS_CHECKBOX; checking BS_RADIOBUTTON combines the two
  // values of the type field into BS_AUTO3STATE (6).
  {
    const std::uint32_t style = 0x50000002;
    std::vector<bool> checks = initialKindChecks(buttons, style);
    const int radio = rowOf(buttons, "BS_RADIOBUTTON");
    checks[static_cast<std::size_t>(radio)] = true;
    EXPECT_EQ(kindStyleClick(buttons, style, radio, true, checks, WindowStyleMarks(style)),
              0x50000006u);
  }
  // WS_TABSTOP survives checking and goes at the first unchecking, which
  // rebuilds the style from the boxes (WS_CHILD always included).
  {
    std::uint32_t style = 0x50012300;  // WS_TABSTOP | BS_MULTILINE | BS_CENTER
    std::vector<bool> checks = initialKindChecks(buttons, style);
    EXPECT_TRUE(checks[static_cast<std::size_t>(rowOf(buttons, "BS_MULTILINE"))]);
    EXPECT_TRUE(checks[static_cast<std::size_t>(rowOf(buttons, "BS_CENTER"))]);
    const std::array<bool, 6> windowChecks = WindowStyleMarks(style);

    const int notify = rowOf(buttons, "BS_NOTIFY");
    checks[static_cast<std::size_t>(notify)] = true;
    style = kindStyleClick(buttons, style, notify, true, checks, windowChecks);
    EXPECT_EQ(style, 0x50016300u);

    const int center = rowOf(buttons, "BS_CENTER");
    checks[static_cast<std::size_t>(center)] = false;
    style = kindStyleClick(buttons, style, center, false, checks, windowChecks);
    EXPECT_EQ(style, 0x50006000u);  // WS_CHILD | WS_VISIBLE | BS_NOTIFY | BS_MULTILINE

    // Every box unchecked still leaves WS_CHILD, never 0.
    std::vector<bool> none(buttons.size(), false);
    EXPECT_EQ(kindStyleClick(buttons, style, notify, false, none, {}), 0x40000000u);

    // A row outside the table changes nothing.
    EXPECT_EQ(kindStyleClick(buttons, style, -1, false, none, {}), style);
    EXPECT_EQ(kindStyleClick(buttons, style, static_cast<int>(buttons.size()), true, none, {}),
              style);
  }
  // LBS_STANDARD adds its window-style bits too.
  {
    const StyleTable lists = ListBoxStyleTable;
    const std::uint32_t style = 0x50000100;
    const int standard = rowOf(lists, "LBS_STANDARD");
    std::vector<bool> checks = initialKindChecks(lists, style);
    checks[static_cast<std::size_t>(standard)] = true;
    EXPECT_EQ(kindStyleClick(lists, style, standard, true, checks, WindowStyleMarks(style)),
              0x50A00103u);
  }
}

TEST(StyleDialogHover, DescriptionOfTheBoxUnderTheMouse) {
  const StyleTable edits = EditStyleTable;
  EXPECT_EQ(styleBoxDescription(edits, 2201), WindowStyleTable[0].description);
  EXPECT_EQ(styleBoxDescription(edits, 2206), WindowStyleTable[5].description);
  EXPECT_EQ(styleBoxDescription(edits, 2207), edits[0].description);
  EXPECT_EQ(styleBoxDescription(edits, 2207 + static_cast<int>(edits.size()) - 1),
            edits.back().description);
  EXPECT_EQ(styleBoxDescription(edits, 2207 + static_cast<int>(edits.size())), nullptr);
  EXPECT_EQ(styleBoxDescription(StyleTable{}, 2207), nullptr);
  for (int other : {1040, 1041, 2101, 2200})
    EXPECT_EQ(styleBoxDescription(edits, other), nullptr) << other;
}

TEST(EditVariantDialog, RadioButtonChoosesTheTool) {
  struct Case {
    int id;
    std::optional<ToolCode> tool;
  };
  const Case cases[] = {{1005, ToolCode::Edit},   {1004, ToolCode::EditM},
                        {1006, ToolCode::EditMV}, {1007, ToolCode::EditMH},
                        {1008, ToolCode::EditMVH}, {1009, std::nullopt},
                        {1014, std::nullopt},     {2, std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(editVariantTool(c.id), c.tool) << c.id;
}

}  // namespace
}  // namespace quorvin
