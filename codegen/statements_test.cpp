#include "codegen/statements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "codegen/codegen_test_support.h"
#include "common/cp932.h"

namespace quorvin {
namespace {

using testing::makeObject;
using testing::TestDesign;

constexpr std::uint32_t kPushButton = 0x50002300;

TEST(Statements, PushButtonStatement) {
  const TestDesign design({makeObject(ObjectKind::BUTTON, "Button", "ID_BUTTON", kPushButton)});
  EXPECT_EQ(design.generate("$ADD_OBJ$"),
            "CreateWindow( \"BUTTON\",\"Button\",WS_CHILD|WS_VISIBLE|BS_MULTILINE|BS_CENTER, "
            "10, 20, 80, 24, hwnd, (HMENU)ID_BUTTON, hinst, NULL );\n");
}

// Captions go between quotes escaped: a backslash and a quote get a
// backslash, the second byte of a two-byte character (ソ is 83 5C) is left
// alone. The wide output has the same statements with W calls and L"...".
TEST(Statements, HeadsOfTheOtherKindsAndEscapedCaptions) {
  const TestDesign design({
      makeObject(ObjectKind::EDIT_MVH, "a\"b\\c\x83\x5C", "ID_EDIT", 0x503010C4, -5, 0, 1, 2),
      makeObject(ObjectKind::STATIC, "Static", "ID_STATIC", 0x50000000, 3, 4, 5, 6),
      makeObject(ObjectKind::LISTBOX, "ignored", "ID_LIST", 0x50A00003, 7, 8, 9, 10),
      makeObject(ObjectKind::BUTTON, "OK", "ID_OK", 0x50000000, 1, 1, 1, 1),
  });
  EXPECT_EQ(design.generate("$ADD_OBJ$"),
            "CreateWindowEx( WS_EX_CLIENTEDGE, \"EDIT\",\"a\\\"b\\\\c\x83\x5C\",WS_CHILD|WS_VISIBLE|"
            "WS_HSCROLL|WS_VSCROLL|ES_WANTRETURN|ES_AUTOHSCROLL|ES_AUTOVSCROLL|ES_MULTILINE, "
            "-5, 0, 1, 2, hwnd, (HMENU)ID_EDIT, hinst, NULL );\n"
            "CreateWindowEx( WS_EX_TRANSPARENT,\"STATIC\",\"Static\",WS_CHILD|WS_VISIBLE, "
            "3, 4, 5, 6, hwnd, (HMENU)ID_STATIC, hinst, NULL );\n"
            "CreateWindowEx( WS_EX_CLIENTEDGE, \"LISTBOX\", NULL,WS_CHILD|WS_VISIBLE|WS_BORDER|"
            "WS_VSCROLL|LBS_STANDARD, 7, 8, 9, 10, hwnd, (HMENU)ID_LIST, hinst, NULL );\n"
            "CreateWindow( \"BUTTON\",\"OK\",WS_CHILD|WS_VISIBLE, 1, 1, 1, 1, hwnd, (HMENU)ID_OK, hinst, "
            "NULL );\n");
  EXPECT_EQ(generateCode("$ADD_OBJ$$SET_FONT$", design.project, design.objects, nullptr,
                         CodeEncoding::Utf8Wide),
            "\xEF\xBB\xBF"
            "CreateWindowExW( WS_EX_CLIENTEDGE, L\"EDIT\",L\"a\\\"b\\\\c\xE3\x82\xBD\",WS_CHILD|"
            "WS_VISIBLE|WS_HSCROLL|WS_VSCROLL|ES_WANTRETURN|ES_AUTOHSCROLL|ES_AUTOVSCROLL|"
            "ES_MULTILINE, -5, 0, 1, 2, hwnd, (HMENU)ID_EDIT, hinst, NULL );\n"
            "CreateWindowExW( WS_EX_TRANSPARENT,L\"STATIC\",L\"Static\",WS_CHILD|WS_VISIBLE, "
            "3, 4, 5, 6, hwnd, (HMENU)ID_STATIC, hinst, NULL );\n"
            "CreateWindowExW( WS_EX_CLIENTEDGE, L\"LISTBOX\", NULL,WS_CHILD|WS_VISIBLE|WS_BORDER|"
            "WS_VSCROLL|LBS_STANDARD, 7, 8, 9, 10, hwnd, (HMENU)ID_LIST, hinst, NULL );\n"
            "CreateWindowW( L\"BUTTON\",L\"OK\",WS_CHILD|WS_VISIBLE, 1, 1, 1, 1, hwnd, (HMENU)ID_OK, hinst, "
            "NULL );\n"
            "SendDlgItemMessageW( hwnd, ID_EDIT, WM_SETFONT, (WPARAM)hfont, MAKELPARAM(TRUE, 0) );\n"
            "SendDlgItemMessageW( hwnd, ID_STATIC, WM_SETFONT, (WPARAM)hfont, MAKELPARAM(TRUE, 0) );\n"
            "SendDlgItemMessageW( hwnd, ID_LIST, WM_SETFONT, (WPARAM)hfont, MAKELPARAM(TRUE, 0) );\n"
            "SendDlgItemMessageW( hwnd, ID_OK, WM_SETFONT, (WPARAM)hfont, MAKELPARAM(TRUE, 0) );\n");
}

// A control whose ID name cannot be #defined (empty, blank, not an
// identifier, or already used by an earlier control) is written as its
// number and gets no #define line; the others keep their numbers.
TEST(Statements, DefineAndSetFontLinesFollowTheIndentation) {
  TestDesign design({
      makeObject(ObjectKind::BUTTON, "A", "", kPushButton),
      makeObject(ObjectKind::BUTTON, "B", "ID_BUTTON", kPushButton),
      makeObject(ObjectKind::EDIT, "", "ID_EDIT", 0x50010080),
      makeObject(ObjectKind::BUTTON, "C", "ID_BUTTON", kPushButton),
      makeObject(ObjectKind::BUTTON, "D", " ", kPushButton),
      makeObject(ObjectKind::BUTTON, "E", "1D", kPushButton),
      makeObject(ObjectKind::BUTTON, "F", " ID_F\t", kPushButton),
  });
  EXPECT_EQ(design.generate("\t$DEFINE$\nx"),
            "\t#define ID_BUTTON\t200\n\t#define ID_EDIT\t300\n\t#define  ID_F\t\t700\n\nx");
  const auto setFont = [](const char* id) {
    return std::string(" \tSendDlgItemMessage( hwnd, ") + id +
           ", WM_SETFONT, (WPARAM)hfont, MAKELPARAM(TRUE, 0) );\n";
  };
  EXPECT_EQ(design.generate(" \t$SET_FONT$"), setFont("100") + setFont("ID_BUTTON") +
                                                 setFont("ID_EDIT") + setFont("400") +
                                                 setFont("500") + setFont("600") +
                                                 setFont(" ID_F\t"));
  const std::string statements = design.generate("$ADD_OBJ$");
  for (const char* id : {"(HMENU)100,", "(HMENU)ID_BUTTON,", "(HMENU)400,", "(HMENU)600,"})
    EXPECT_NE(statements.find(id), std::string::npos) << id;
  // After other text on the line the further lines start in column 0, and
  // the first object's statement takes the template's own indentation.
  design.project.objectCount = 3;
  EXPECT_EQ(design.generate("\tx = $DEFINE$"),
            "\tx = #define ID_BUTTON\t200\n#define ID_EDIT\t300\n");
  const std::string indented = design.generate("\t$ADD_OBJ$");
  EXPECT_EQ(indented.rfind("\tCreateWindow( ", 0), 0u);
  EXPECT_EQ(indented.find("\tCreateWindow( "), 0u);
  EXPECT_EQ(indented.find("\tCreateWindowEx( "), indented.rfind('\n', indented.size() - 2) + 1);
}

TEST(Statements, CreateFontLine) {
  TestDesign design;
  EXPECT_EQ(design.generate("\t$CREATE_FONT$"),
            "\thfont = CreateFont( -13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, "
            "SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, "
            "FIXED_PITCH|FF_MODERN, \"" +
                utf8ToCp932("ＭＳ ゴシック") + "\" );\n");

  FontSpec& font = design.project.font;
  font.lfHeight = 20;
  font.lfWeight = 700;
  font.lfItalic = 255;
  font.lfStrikeOut = 1;
  font.lfCharSet = 0;  // the fixed names are written whatever the record holds
  font.lfQuality = 0;
  std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), 'A');  // no terminator
  EXPECT_EQ(design.generate("$CREATE_FONT$"),
            "hfont = CreateFont( 20, 0, 0, 0, FW_BOLD, TRUE, FALSE, TRUE, SHIFTJIS_CHARSET, "
            "OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH|FF_MODERN, \"" +
                std::string(32, 'A') + "\" );\n");
}

TEST(Statements, FontWeightNames) {
  const std::pair<std::int32_t, const char*> cases[] = {
      {0, "FW_DONTCARE"}, {99, "FW_DONTCARE"},   {100, "FW_THIN"},   {250, "FW_EXTRALIGHT"},
      {300, "FW_LIGHT"},  {450, "FW_NORMAL"},    {500, "FW_MEDIUM"}, {600, "FW_SEMIBOLD"},
      {700, "FW_BOLD"},   {800, "FW_EXTRABOLD"}, {999, "FW_HEAVY"},  {1000, "1000"},
      {-1, "-1"},
  };
  for (const auto& [weight, name] : cases) EXPECT_EQ(fontWeightText(weight), name) << weight;
}

TEST(Statements, RegionWithOnePointAndWithout) {
  const char* templateText = "\t$POINT$\n\t$ADD_POINT$\n\t$DELHRGN$ x";
  EXPECT_EQ(TestDesign().generate(templateText), "\t\n\t\n\t x");
  const TestDesign design({}, {{-3, 7}});
  EXPECT_EQ(design.generate(templateText),
            "\tstatic HRGN hrgn ;\n"
            "\tPOINT pt[1] ;\n"
            "\tpt[0].x = -3 ;\n"
            "\tpt[0].y = 7 ;\n"
            "\thrgn = CreatePolygonRgn( pt, 1, WINDING ) ;\n"
            "\tSetWindowRgn( hwnd, hrgn, TRUE ) ;\n"
            "\tInvalidateRgn( hwnd, NULL, TRUE ) ;\n"
            "\tDeleteObject( hrgn ) ; x");
}

TEST(Statements, AbsentVariableNamesAreWrittenAsDefaults) {
  TestDesign design({makeObject(ObjectKind::BUTTON, "B", "ID_B", 0x40000000)}, {{1, 2}});
  design.project.variableNames = {};
  design.project.variableNames.hrgn = "myRgn";
  const std::string out = design.generate("$HWND$ $INST$ $HFONT$ $POINT$ $ADD_OBJ$");
  EXPECT_EQ(out,
            "hWnd hInst hFont static HRGN myRgn ;\nPOINT pt[1] ; "
            "CreateWindow( \"BUTTON\",\"B\",WS_CHILD, 10, 20, 80, 24, hWnd, (HMENU)ID_B, "
            "hInst, NULL );\n");
}

}  // namespace
}  // namespace quorvin
