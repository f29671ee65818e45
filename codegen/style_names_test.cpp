#include "codegen/style_names.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace quorvin {
namespace {

// The style expression as a creation statement carries it.
std::string expression(ObjectKind kind, std::uint32_t style) {
  OutputBuffer out(0);
  out.append("WS_CHILD|");
  appendGeneralStyleNames(out, style);
  appendClassStyleNames(out, kind, style);
  std::string text(out.view());
  // The size bound counts exactly what was written after "WS_CHILD".
  EXPECT_EQ(styleNamesLength(kind, style), text.size() - 8) << text;
  return text;
}

struct TypeRow {
  std::uint32_t low;
  const char* button;
  const char* statics;
};

TEST(StyleNames, TypeFieldsOfButtonsAndStatics) {
  const TypeRow rows[] = {
      {0, "", ""},
      {1, "|BS_DEFPUSHBUTTON", "|SS_CENTER"},
      {2, "|BS_CHECKBOX", "|SS_RIGHT"},
      {3, "|BS_AUTOCHECKBOX", "|SS_ICON"},
      {4, "|BS_RADIOBUTTON", "|SS_BLACKRECT"},
      {5, "|BS_3STATE", "|SS_GRAYRECT"},
      {6, "|BS_AUTO3STATE", "|SS_WHITERECT"},
      {7, "|BS_GROUPBOX", "|SS_BLACKFRAME"},
      {8, "", "|SS_GRAYFRAME"},
      {9, "|BS_AUTORADIOBUTTON", "|SS_WHITEFRAME"},
      {10, "|BS_CHECKBOX", "|SS_GRAYFRAME|SS_RIGHT"},
      {11, "|BS_OWNERDRAW", "|SS_SIMPLE"},
      {12, "|BS_RADIOBUTTON", "|SS_LEFTNOWORDWRAP"},
      {13, "|BS_AUTORADIOBUTTON|BS_RADIOBUTTON", "|SS_LEFTNOWORDWRAP|SS_CENTER"},
      {14, "|BS_AUTO3STATE", "|SS_BITMAP"},
      {15, "|BS_OWNERDRAW|BS_RADIOBUTTON", "|SS_BITMAP|SS_CENTER"},
  };
  for (const TypeRow& row : rows) {
    SCOPED_TRACE(row.low);
    EXPECT_EQ(expression(ObjectKind::BUTTON, row.low), std::string("WS_CHILD") + row.button);
    EXPECT_EQ(expression(ObjectKind::STATIC, row.low), std::string("WS_CHILD") + row.statics);
  }
}

TEST(StyleNames, StylesOfNewControlsAndMultiBitValues) {
  struct Case {
    ObjectKind kind;
    std::uint32_t style;
    const char* expected;
  };
  const Case cases[] = {
      {ObjectKind::BUTTON, 0x50002300, "WS_CHILD|WS_VISIBLE|BS_MULTILINE|BS_CENTER"},
      {ObjectKind::BUTTON, 0x50000003, "WS_CHILD|WS_VISIBLE|BS_AUTOCHECKBOX"},
      {ObjectKind::BUTTON, 0x50000009, "WS_CHILD|WS_VISIBLE|BS_AUTORADIOBUTTON"},
      {ObjectKind::BUTTON, 0x50000007, "WS_CHILD|WS_VISIBLE|BS_GROUPBOX"},
      {ObjectKind::BUTTON, 0x40000C00, "WS_CHILD|BS_VCENTER"},
      {ObjectKind::BUTTON, 0x40000300, "WS_CHILD|BS_CENTER"},
      {ObjectKind::BUTTON, 0x40000002, "WS_CHILD|BS_CHECKBOX"},
      {ObjectKind::LISTBOX, 0x50A00003, "WS_CHILD|WS_VISIBLE|WS_BORDER|WS_VSCROLL|LBS_STANDARD"},
      {ObjectKind::LISTBOX, 0x50A00001, "WS_CHILD|WS_VISIBLE|WS_BORDER|WS_VSCROLL|LBS_NOTIFY"},
      {ObjectKind::EDIT_MVH, 0x503010C4,
       "WS_CHILD|WS_VISIBLE|WS_HSCROLL|WS_VSCROLL|ES_WANTRETURN|ES_AUTOHSCROLL|"
       "ES_AUTOVSCROLL|ES_MULTILINE"},
      {ObjectKind::EDIT, 0x58C10000, "WS_CHILD|WS_VISIBLE|WS_DISABLED|WS_BORDER|WS_DLGFRAME"},
      // A bit that no row names is never written; an unknown kind has no
      // class names.
      {ObjectKind::STATIC, 0x40010010, "WS_CHILD"},
      {static_cast<ObjectKind>(999), 0x50000001, "WS_CHILD|WS_VISIBLE"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(expression(c.kind, c.style), c.expected) << std::hex << c.style;
  }
}

}  // namespace
}  // namespace quorvin
