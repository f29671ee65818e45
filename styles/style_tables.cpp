#include "styles/style_tables.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

// Generated at build time from styles/style_descriptions.txt: one CP932
// constant `style_text::description_<NAME>` per described flag.
#include "styles/style_descriptions_cp932.h"

namespace quorvin {
namespace {

// One row: the constant's name, its value and the paragraph written for the
// same name, so that a name cannot end up beside another flag's text.
#define QUORVIN_STYLE_ROW(NAME, VALUE) \
  StyleFlag { #NAME, VALUE, style_text::description_##NAME }

constexpr StyleFlag kWindowRows[] = {
    QUORVIN_STYLE_ROW(WS_VISIBLE, 0x10000000),
    QUORVIN_STYLE_ROW(WS_DISABLED, 0x08000000),
    QUORVIN_STYLE_ROW(WS_BORDER, 0x00800000),
    QUORVIN_STYLE_ROW(WS_DLGFRAME, 0x00400000),
    QUORVIN_STYLE_ROW(WS_HSCROLL, 0x00100000),
    QUORVIN_STYLE_ROW(WS_VSCROLL, 0x00200000),
};

// Per-kind tables fall in value, so that a multi-bit value (a type or an
// alignment of a field, LBS_STANDARD) takes its bits before the smaller
// values and flags that lie inside it.
constexpr StyleFlag kButtonRows[] = {
    QUORVIN_STYLE_ROW(BS_NOTIFY, 0x4000),
    QUORVIN_STYLE_ROW(BS_MULTILINE, 0x2000),
    QUORVIN_STYLE_ROW(BS_PUSHLIKE, 0x1000),
    QUORVIN_STYLE_ROW(BS_VCENTER, 0x0C00),
    QUORVIN_STYLE_ROW(BS_BOTTOM, 0x0800),
    QUORVIN_STYLE_ROW(BS_TOP, 0x0400),
    QUORVIN_STYLE_ROW(BS_CENTER, 0x0300),
    QUORVIN_STYLE_ROW(BS_RIGHT, 0x0200),
    QUORVIN_STYLE_ROW(BS_LEFT, 0x0100),
    QUORVIN_STYLE_ROW(BS_BITMAP, 0x0080),
    QUORVIN_STYLE_ROW(BS_ICON, 0x0040),
    // Shares the paragraph of BS_LEFT, which explains both flags.
    StyleFlag{"BS_LEFTTEXT", 0x0020, style_text::description_BS_LEFT},
    QUORVIN_STYLE_ROW(BS_OWNERDRAW, 0x000B),
    QUORVIN_STYLE_ROW(BS_AUTORADIOBUTTON, 0x0009),
    QUORVIN_STYLE_ROW(BS_GROUPBOX, 0x0007),
    QUORVIN_STYLE_ROW(BS_AUTO3STATE, 0x0006),
    QUORVIN_STYLE_ROW(BS_3STATE, 0x0005),
    QUORVIN_STYLE_ROW(BS_RADIOBUTTON, 0x0004),
    QUORVIN_STYLE_ROW(BS_AUTOCHECKBOX, 0x0003),
    QUORVIN_STYLE_ROW(BS_CHECKBOX, 0x0002),
    QUORVIN_STYLE_ROW(BS_DEFPUSHBUTTON, 0x0001),
};

constexpr StyleFlag kEditRows[] = {
    QUORVIN_STYLE_ROW(ES_NUMBER, 0x2000),
    QUORVIN_STYLE_ROW(ES_WANTRETURN, 0x1000),
    QUORVIN_STYLE_ROW(ES_READONLY, 0x0800),
    QUORVIN_STYLE_ROW(ES_OEMCONVERT, 0x0400),
    QUORVIN_STYLE_ROW(ES_NOHIDESEL, 0x0100),
    QUORVIN_STYLE_ROW(ES_AUTOHSCROLL, 0x0080),
    QUORVIN_STYLE_ROW(ES_AUTOVSCROLL, 0x0040),
    QUORVIN_STYLE_ROW(ES_PASSWORD, 0x0020),
    QUORVIN_STYLE_ROW(ES_LOWERCASE, 0x0010),
    QUORVIN_STYLE_ROW(ES_UPPERCASE, 0x0008),
    QUORVIN_STYLE_ROW(ES_MULTILINE, 0x0004),
    QUORVIN_STYLE_ROW(ES_RIGHT, 0x0002),
    QUORVIN_STYLE_ROW(ES_CENTER, 0x0001),
};

constexpr StyleFlag kStaticRows[] = {
    QUORVIN_STYLE_ROW(SS_CENTERIMAGE, 0x0200),
    QUORVIN_STYLE_ROW(SS_NOTIFY, 0x0100),
    QUORVIN_STYLE_ROW(SS_NOPREFIX, 0x0080),
    QUORVIN_STYLE_ROW(SS_BITMAP, 0x000E),
    QUORVIN_STYLE_ROW(SS_LEFTNOWORDWRAP, 0x000C),
    QUORVIN_STYLE_ROW(SS_SIMPLE, 0x000B),
    QUORVIN_STYLE_ROW(SS_WHITEFRAME, 0x0009),
    QUORVIN_STYLE_ROW(SS_GRAYFRAME, 0x0008),
    QUORVIN_STYLE_ROW(SS_BLACKFRAME, 0x0007),
    QUORVIN_STYLE_ROW(SS_WHITERECT, 0x0006),
    QUORVIN_STYLE_ROW(SS_GRAYRECT, 0x0005),
    QUORVIN_STYLE_ROW(SS_BLACKRECT, 0x0004),
    QUORVIN_STYLE_ROW(SS_ICON, 0x0003),
    QUORVIN_STYLE_ROW(SS_RIGHT, 0x0002),
    QUORVIN_STYLE_ROW(SS_CENTER, 0x0001),
};

constexpr StyleFlag kListBoxRows[] = {
    // LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER.
    QUORVIN_STYLE_ROW(LBS_STANDARD, 0x00A00003),
    QUORVIN_STYLE_ROW(LBS_NOSEL, 0x4000),
    QUORVIN_STYLE_ROW(LBS_NODATA, 0x2000),
    QUORVIN_STYLE_ROW(LBS_DISABLENOSCROLL, 0x1000),
    QUORVIN_STYLE_ROW(LBS_EXTENDEDSEL, 0x0800),
    QUORVIN_STYLE_ROW(LBS_WANTKEYBOARDINPUT, 0x0400),
    QUORVIN_STYLE_ROW(LBS_MULTICOLUMN, 0x0200),
    QUORVIN_STYLE_ROW(LBS_NOINTEGRALHEIGHT, 0x0100),
    QUORVIN_STYLE_ROW(LBS_USETABSTOPS, 0x0080),
    QUORVIN_STYLE_ROW(LBS_HASSTRINGS, 0x0040),
    QUORVIN_STYLE_ROW(LBS_OWNERDRAWVARIABLE, 0x0020),
    QUORVIN_STYLE_ROW(LBS_OWNERDRAWFIXED, 0x0010),
    QUORVIN_STYLE_ROW(LBS_MULTIPLESEL, 0x0008),
    QUORVIN_STYLE_ROW(LBS_NOREDRAW, 0x0004),
    QUORVIN_STYLE_ROW(LBS_SORT, 0x0002),
    QUORVIN_STYLE_ROW(LBS_NOTIFY, 0x0001),
};

#undef QUORVIN_STYLE_ROW

static_assert(std::size(kWindowRows) == 6);
static_assert(std::size(kButtonRows) == 21);
static_assert(std::size(kEditRows) == 13);
static_assert(std::size(kStaticRows) == 15);
static_assert(std::size(kListBoxRows) == 16);

}  // namespace

// constinit: the tables are usable from other translation units' static
// initialisers, whatever the order of initialisation.
constinit const StyleTable WindowStyleTable{kWindowRows};
constinit const StyleTable ButtonStyleTable{kButtonRows};
constinit const StyleTable EditStyleTable{kEditRows};
constinit const StyleTable StaticStyleTable{kStaticRows};
constinit const StyleTable ListBoxStyleTable{kListBoxRows};

StyleTable StyleTableFor(std::int32_t kind) {
  switch (static_cast<ObjectKind>(kind)) {
    case ObjectKind::BUTTON:
      return ButtonStyleTable;
    case ObjectKind::EDIT:
    case ObjectKind::EDIT_M:
    case ObjectKind::EDIT_MV:
    case ObjectKind::EDIT_MH:
    case ObjectKind::EDIT_MVH:
      return EditStyleTable;
    case ObjectKind::STATIC:
      return StaticStyleTable;
    case ObjectKind::LISTBOX:
      return ListBoxStyleTable;
  }
  return {};
}

std::vector<int> DecomposeStyle(StyleTable table, std::uint32_t style) {
  std::vector<int> rows;
  ForEachDecomposedRow(table, style,
                       [&rows](std::size_t row) { rows.push_back(static_cast<int>(row)); });
  return rows;
}

std::array<bool, 6> WindowStyleMarks(std::uint32_t style) {
  std::array<bool, 6> marks{};
  for (std::size_t i = 0; i < marks.size(); ++i) {
    marks[i] = (style & kWindowRows[i].value) != 0;
  }
  return marks;
}

std::uint32_t ComposeStyle(StyleTable table, const std::vector<bool>& marked,
                           const std::array<bool, 6>& windowMarks) {
  std::uint32_t style = kWsChild;
  const std::size_t rows = std::min(table.size(), marked.size());
  for (std::size_t i = 0; i < rows; ++i) {
    if (marked[i]) style |= table[i].value;
  }
  for (std::size_t i = 0; i < windowMarks.size(); ++i) {
    if (windowMarks[i]) style |= kWindowRows[i].value;
  }
  return style;
}

}  // namespace quorvin
