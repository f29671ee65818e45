#include "styles/style_tables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/cp932.h"

namespace quorvin {
namespace {

using Rows = std::vector<std::pair<std::string, std::uint32_t>>;

// The contract: names and values are the platform's, in this order.
const Rows kWindow = {{"WS_VISIBLE", 0x10000000}, {"WS_DISABLED", 0x08000000},
                      {"WS_BORDER", 0x00800000},  {"WS_DLGFRAME", 0x00400000},
                      {"WS_HSCROLL", 0x00100000}, {"WS_VSCROLL", 0x00200000}};
const Rows kButton = {
    {"BS_NOTIFY", 0x4000},     {"BS_MULTILINE", 0x2000},      {"BS_PUSHLIKE", 0x1000},
    {"BS_VCENTER", 0x0C00},    {"BS_BOTTOM", 0x0800},         {"BS_TOP", 0x0400},
    {"BS_CENTER", 0x0300},     {"BS_RIGHT", 0x0200},          {"BS_LEFT", 0x0100},
    {"BS_BITMAP", 0x0080},     {"BS_ICON", 0x0040},           {"BS_LEFTTEXT", 0x0020},
    {"BS_OWNERDRAW", 0x000B},  {"BS_AUTORADIOBUTTON", 0x0009}, {"BS_GROUPBOX", 0x0007},
    {"BS_AUTO3STATE", 0x0006}, {"BS_3STATE", 0x0005},         {"BS_RADIOBUTTON", 0x0004},
    {"BS_AUTOCHECKBOX", 0x0003}, {"BS_CHECKBOX", 0x0002},     {"BS_DEFPUSHBUTTON", 0x0001}};
const Rows kEdit = {{"ES_NUMBER", 0x2000},      {"ES_WANTRETURN", 0x1000}, {"ES_READONLY", 0x0800},
                    {"ES_OEMCONVERT", 0x0400},  {"ES_NOHIDESEL", 0x0100},  {"ES_AUTOHSCROLL", 0x0080},
                    {"ES_AUTOVSCROLL", 0x0040}, {"ES_PASSWORD", 0x0020},   {"ES_LOWERCASE", 0x0010},
                    {"ES_UPPERCASE", 0x0008},   {"ES_MULTILINE", 0x0004},  {"ES_RIGHT", 0x0002},
                    {"ES_CENTER", 0x0001}};
const Rows kStatic = {{"SS_CENTERIMAGE", 0x0200}, {"SS_NOTIFY", 0x0100},     {"SS_NOPREFIX", 0x0080},
                      {"SS_BITMAP", 0x000E},      {"SS_LEFTNOWORDWRAP", 0x000C}, {"SS_SIMPLE", 0x000B},
                      {"SS_WHITEFRAME", 0x0009},  {"SS_GRAYFRAME", 0x0008},  {"SS_BLACKFRAME", 0x0007},
                      {"SS_WHITERECT", 0x0006},   {"SS_GRAYRECT", 0x0005},   {"SS_BLACKRECT", 0x0004},
                      {"SS_ICON", 0x0003},        {"SS_RIGHT", 0x0002},      {"SS_CENTER", 0x0001}};
const Rows kListBox = {
    {"LBS_STANDARD", 0x00A00003},       {"LBS_NOSEL", 0x4000},
    {"LBS_NODATA", 0x2000},             {"LBS_DISABLENOSCROLL", 0x1000},
    {"LBS_EXTENDEDSEL", 0x0800},        {"LBS_WANTKEYBOARDINPUT", 0x0400},
    {"LBS_MULTICOLUMN", 0x0200},        {"LBS_NOINTEGRALHEIGHT", 0x0100},
    {"LBS_USETABSTOPS", 0x0080},        {"LBS_HASSTRINGS", 0x0040},
    {"LBS_OWNERDRAWVARIABLE", 0x0020},  {"LBS_OWNERDRAWFIXED", 0x0010},
    {"LBS_MULTIPLESEL", 0x0008},        {"LBS_NOREDRAW", 0x0004},
    {"LBS_SORT", 0x0002},               {"LBS_NOTIFY", 0x0001}};

const std::vector<std::pair<StyleTable, const Rows*>> kTables = {
    {WindowStyleTable, &kWindow}, {ButtonStyleTable, &kButton}, {EditStyleTable, &kEdit},
    {StaticStyleTable, &kStatic}, {ListBoxStyleTable, &kListBox}};
const std::vector<StyleTable> kKindTables = {ButtonStyleTable, EditStyleTable, StaticStyleTable,
                                             ListBoxStyleTable};

// Names of the rows that DecomposeStyle marks.
std::vector<std::string> marked(StyleTable table, std::uint32_t style) {
  std::vector<std::string> names;
  for (int row : DecomposeStyle(table, style)) names.emplace_back(table[row].name);
  return names;
}

using Names = std::vector<std::string>;

TEST(StyleTables, RowsHaveThePlatformNamesAndValuesInOrder) {
  for (const auto& [table, rows] : kTables) {
    ASSERT_EQ(table.size(), rows->size());
    for (std::size_t i = 0; i < table.size(); ++i) {
      EXPECT_EQ(table[i].name, (*rows)[i].first) << "row " << i;
      EXPECT_EQ(table[i].value, (*rows)[i].second) << table[i].name;
    }
  }
}

TEST(StyleTables, TableForKind) {
  EXPECT_EQ(StyleTableFor(ObjectKind::BUTTON).data(), ButtonStyleTable.data());
  for (auto kind : {ObjectKind::EDIT, ObjectKind::EDIT_M, ObjectKind::EDIT_MV, ObjectKind::EDIT_MH,
                    ObjectKind::EDIT_MVH}) {
    EXPECT_EQ(StyleTableFor(kind).data(), EditStyleTable.data());
  }
  EXPECT_EQ(StyleTableFor(ObjectKind::STATIC).data(), StaticStyleTable.data());
  EXPECT_EQ(StyleTableFor(ObjectKind::LISTBOX).data(), ListBoxStyleTable.data());
  for (std::int32_t unknown : {0, -1, 301, 450, 700, 1000}) {
    EXPECT_TRUE(StyleTableFor(unknown).empty()) << unknown;
  }
}

TEST(DecomposeStyle, EveryListedValueAloneMarksExactlyItsOwnRow) {
  for (StyleTable table : kKindTables) {
    for (std::size_t i = 0; i < table.size(); ++i) {
      EXPECT_EQ(DecomposeStyle(table, table[i].value), std::vector<int>{static_cast<int>(i)})
          << table[i].name;
      // WS_CHILD and the window styles take no row of a per-kind table.
      EXPECT_EQ(DecomposeStyle(table, table[i].value | kWsChild | 0x10000000),
                std::vector<int>{static_cast<int>(i)})
          << table[i].name;
    }
  }
}

TEST(DecomposeStyle, ZeroMarksNothing) {
  for (StyleTable table : kKindTables) EXPECT_TRUE(DecomposeStyle(table, 0).empty());
  EXPECT_EQ(WindowStyleMarks(0), (std::array<bool, 6>{}));
}

TEST(DecomposeStyle, FieldValuesWithoutARowSplitIntoListedOnes) {
  EXPECT_EQ(marked(StaticStyleTable, 0x000D), (Names{"SS_LEFTNOWORDWRAP", "SS_CENTER"}));
  EXPECT_EQ(marked(StaticStyleTable, 0x000A), (Names{"SS_GRAYFRAME", "SS_RIGHT"}));
  EXPECT_EQ(marked(StaticStyleTable, 0x0010), Names{});  // static bit without a row
  EXPECT_EQ(marked(ButtonStyleTable, 0x0008), Names{});
  EXPECT_EQ(marked(ButtonStyleTable, 0x000D), (Names{"BS_AUTORADIOBUTTON", "BS_RADIOBUTTON"}));
  EXPECT_EQ(marked(ButtonStyleTable, 0x0C00), Names{"BS_VCENTER"});
  EXPECT_EQ(marked(ButtonStyleTable, 0x0300), Names{"BS_CENTER"});
  // A new push button: WS_CHILD | WS_VISIBLE | BS_MULTILINE | BS_CENTER.
  EXPECT_EQ(marked(ButtonStyleTable, 0x50002300), (Names{"BS_MULTILINE", "BS_CENTER"}));
}

TEST(DecomposeStyle, ListBoxStandardNeedsAllFourBits) {
  constexpr std::uint32_t childVisible = 0x50000000;
  EXPECT_EQ(marked(ListBoxStyleTable, childVisible | 0x00A00003), Names{"LBS_STANDARD"});
  EXPECT_EQ(WindowStyleMarks(childVisible | 0x00A00003),
            (std::array<bool, 6>{true, false, true, false, false, true}));
  // Without WS_VSCROLL, or without LBS_SORT, the single flags show instead.
  EXPECT_EQ(marked(ListBoxStyleTable, childVisible | 0x00800003), (Names{"LBS_SORT", "LBS_NOTIFY"}));
  EXPECT_EQ(marked(ListBoxStyleTable, childVisible | 0x00A00001), Names{"LBS_NOTIFY"});
  // WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY.
  EXPECT_EQ(marked(ListBoxStyleTable, 0x50800001), Names{"LBS_NOTIFY"});
  EXPECT_EQ(WindowStyleMarks(0x50800001),
            (std::array<bool, 6>{true, false, true, false, false, false}));
}

TEST(WindowStyleMarks, EachRowFollowsItsOwnBit) {
  for (std::size_t i = 0; i < WindowStyleTable.size(); ++i) {
    std::array<bool, 6> expected{};
    expected[i] = true;
    EXPECT_EQ(WindowStyleMarks(WindowStyleTable[i].value | kWsChild | 0xFFFF), expected)
        << WindowStyleTable[i].name;
  }
}

TEST(ComposeStyle, OrsMarkedRowsAndAlwaysAddsWsChild) {
  std::vector<bool> rows(ButtonStyleTable.size(), false);
  rows[19] = true;  // BS_CHECKBOX
  rows[17] = true;  // BS_RADIOBUTTON
  EXPECT_EQ(ComposeStyle(ButtonStyleTable, rows, {}), 0x40000006u);  // type of BS_AUTO3STATE

  EXPECT_EQ(ComposeStyle(ListBoxStyleTable, {}, {}), kWsChild);
  EXPECT_EQ(ComposeStyle({}, {true, true}, {true, false, false, false, false, true}), 0x50200000u);
  // Flags beyond the table are ignored; missing ones count as unmarked.
  EXPECT_EQ(ComposeStyle(EditStyleTable, std::vector<bool>(40, true), {}), 0x40003DFFu);
  EXPECT_EQ(ComposeStyle(ListBoxStyleTable, {true}, {}), 0x40A00003u);
}

TEST(StyleDescriptions, AreDistinctValidCp932ThatFitTheDialogBuffer) {
  EXPECT_EQ(ButtonStyleTable[11].description, ButtonStyleTable[8].description);  // BS_LEFTTEXT, BS_LEFT

  std::set<std::string> seen;
  int count = 0;
  for (const auto& [table, rows] : kTables) {
    for (const StyleFlag& row : table) {
      if (std::strcmp(row.name, "BS_LEFTTEXT") == 0) continue;
      ASSERT_NE(row.description, nullptr) << row.name;
      const std::string text = row.description;
      ++count;
      EXPECT_FALSE(text.empty()) << row.name;
      EXPECT_LT(text.size(), 300u) << row.name;
      EXPECT_TRUE(seen.insert(text).second) << row.name << " repeats another description";
      const std::string utf8 = cp932ToUtf8(text);
      EXPECT_EQ(utf8.find("\xEF\xBF\xBD"), std::string::npos) << row.name;
      EXPECT_EQ(utf8ToCp932(utf8), text) << row.name;
      EXPECT_NE(utf8.size(), text.size()) << row.name << " holds no Japanese";
    }
  }
  EXPECT_EQ(count, 70);
  // The build-time conversion produced the text written in the source.
  EXPECT_EQ(cp932ToUtf8(WindowStyleTable[0].description).rfind("ウィンドウを最初から表示", 0), 0u);
}

}  // namespace
}  // namespace quorvin
