#include "codegen/code_output.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "codegen/codegen_test_support.h"
#include "common/file_io.h"
#include "tests/temp_dir.h"

namespace quorvin {
namespace {

using testing::makeObject;
using testing::TestDesign;

TEST(CodeOutput, LineIndentationAndDecimalWidth) {
  const std::pair<const char*, const char*> indentations[] = {
      {"", ""},          {"abc", ""},     {"  ", "  "},   {"x\n\t \t", "\t \t"},
      {"x\n", ""},       {"x\n a ", ""},  {"ab\t", ""},   {"\t\n  ", "  "},
  };
  for (const auto& [text, blanks] : indentations) {
    std::string copy = "stale";
    EXPECT_EQ(lineIndentation(text, &copy), std::string(blanks).size()) << text;
    EXPECT_EQ(copy, blanks) << text;
  }
  const std::pair<std::int64_t, std::size_t> widths[] = {
      {0, 1}, {9, 1}, {10, 2}, {-5, 2}, {-10, 3}, {INT32_MAX, 10}, {INT32_MIN, 11},
      {std::numeric_limits<std::int64_t>::min(), 20},
  };
  for (const auto& [value, width] : widths) EXPECT_EQ(decimalWidth(value), width) << value;
}

TEST(CodeOutput, OccurrencesGrowByTwentyAndSortByPosition) {
  OccurrenceList list;
  for (std::size_t i = 0; i < 20; ++i) list.add({1000 - i, Placeholder::X});
  EXPECT_EQ(list.capacity(), 21u);
  list.add({5, Placeholder::Y});  // would take the last free slot
  EXPECT_EQ(list.capacity(), 41u);
  for (std::size_t i = 0; i < 20; ++i) list.add({2000 + 7 * (i % 5) + 100 * i, Placeholder::X});
  EXPECT_EQ(list.capacity(), 61u);
  ASSERT_EQ(list.size(), 41u);
  list.sortByPosition();
  for (std::size_t i = 1; i < list.size(); ++i) {
    EXPECT_LT(list.entries()[i - 1].position, list.entries()[i].position);
  }
  EXPECT_EQ(list.entries()[0].placeholder, Placeholder::Y);

  // The scan finds every hit, placeholder by placeholder, without overlap.
  const OccurrenceList found = findPlaceholders("$X$$X$X$ $HWND$INST$ $TITLE$$TITLE$");
  ASSERT_EQ(found.size(), 6u);
  EXPECT_EQ(found.entries()[0].placeholder, Placeholder::Title);
  EXPECT_EQ(found.entries()[0].position, 21u);
  EXPECT_EQ(found.entries()[5].position, 3u);  // the second $X$; "$X$" at 5 overlaps it
}

TEST(CodeOutput, SingleValuePlaceholdersAndOrdinaryText) {
  TestDesign design;
  design.project.x = -12;
  design.project.title = "T $HWND$";
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"int main() { return 0; }\n\n", "int main() { return 0; }\n\n"},
      {"$TITLE$|$C_NAME$|$X$,$Y$,$WIDTH$,$HEIGHT$", "T $HWND$|Class|-12,50,200,150"},
      {"$HWND$INST$", "hwndhinst"},
      {"$X$Y$WIDTH$", "-1250200"},
      {"$HWND$HWND$", "hwndHWND$"},
      {"$HFONT$ = $HFONT$;", "hfont = hfont;"},
      {"$FOO$ $ cost $5 $$ $HWND $hwnd$ $TITLE", "$FOO$ $ cost $5 $$ $HWND $hwnd$ $TITLE"},
      {"a$$TITLE$$b", "a$T $HWND$$b"},
  };
  for (const auto& [templateText, expected] : cases) {
    CodeGenerationReport report;
    EXPECT_EQ(design.generate(templateText, &report), expected) << templateText;
    EXPECT_FALSE(report.grew);
  }
}

TEST(CodeOutput, IndentationIsMeasuredOnTheOutput) {
  TestDesign design({makeObject(ObjectKind::BUTTON, "B", "ID_A", 0x40000000),
                     makeObject(ObjectKind::BUTTON, "C", "ID_B", 0x40000000)});
  design.project.title = " \t";
  // A blank replacement before the placeholder counts as indentation; an
  // empty multi-line replacement ($POINT$ without points) is no text at all.
  EXPECT_EQ(design.generate("  $TITLE$$DEFINE$"), "   \t#define ID_A\t100\n   \t#define ID_B\t200\n");
  EXPECT_EQ(design.generate("\t$POINT$$DEFINE$"), "\t#define ID_A\t100\n\t#define ID_B\t200\n");
  // Text produced earlier on the line is not blank, even when the template
  // shows only blanks before the placeholder.
  EXPECT_EQ(design.generate("$HWND$ $DEFINE$"), "hwnd #define ID_A\t100\n#define ID_B\t200\n");
  // A multi-line replacement that ends its line starts a fresh one.
  EXPECT_EQ(design.generate("$DEFINE$  $DEFINE$").substr(34),
            "  #define ID_A\t100\n  #define ID_B\t200\n");
}

TEST(CodeOutput, LongTemplateIsUsedWhole) {
  std::string templateText;
  while (templateText.size() < 6000) templateText += "/* filler text of the template */\n";
  templateText += "$TITLE$ $ADD_OBJ$";
  const TestDesign design({makeObject(ObjectKind::STATIC, "S", "ID_S", 0x50000000)});
  const std::string out = design.generate(templateText);
  EXPECT_EQ(out.substr(0, templateText.size() - 17), templateText.substr(0, templateText.size() - 17));
  EXPECT_EQ(out.substr(templateText.size() - 17, 29), "Title CreateWindowEx( WS_EX_T");

  TempDir dir;
  ASSERT_TRUE(writeFileReplacing(dir.path() / "code.txt", toCrLf(templateText)));
  EXPECT_EQ(readCodeTemplate(dir.path() / "code.txt").value(), templateText);
}

TEST(CodeOutput, ReadsAndWritesInTextMode) {
  TempDir dir;
  const auto file = dir.path() / "code.txt";
  EXPECT_FALSE(readCodeTemplate(dir.path() / "missing.txt"));
  ASSERT_TRUE(writeFileReplacing(file, std::string("a\r\nb\rc\r\n\r\nd\0ignored\r\n", 21)));
  EXPECT_EQ(readCodeTemplate(file).value(), "a\nb\rc\n\nd");

  const auto source = dir.path() / "out.c";
  EXPECT_TRUE(writeCodeFile(source, std::string("x\ny\n\0z", 6)));
  EXPECT_EQ(readFileBytes(source).value(), "x\r\ny\r\n");
  // An empty output leaves an empty file and counts as a failure.
  EXPECT_FALSE(writeCodeFile(source, ""));
  EXPECT_EQ(readFileBytes(source).value(), "");
  EXPECT_FALSE(writeCodeFile(dir.path() / "no such folder" / "out.c", "text"));
}

TEST(CodeOutput, CommandReadsTemplateGeneratesAndWrites) {
  TempDir dir;
  const auto target = dir.path() / "out.c";
  EXPECT_EQ(outputCode(dir.path() / "missing.txt", target), CodeOutputResult::TemplateUnreadable);
  EXPECT_FALSE(std::filesystem::exists(target));

  const TestDesign design;
  project = design.project;
  ASSERT_TRUE(writeFileReplacing(dir.path() / "code.txt", "$C_NAME$\r\n$TITLE$\r\n"));
  EXPECT_EQ(outputCode(dir.path() / "code.txt", target), CodeOutputResult::Written);
  EXPECT_EQ(readFileBytes(target).value(), "Class\r\nTitle\r\n");
  ASSERT_TRUE(writeFileReplacing(dir.path() / "empty.txt", ""));
  EXPECT_EQ(outputCode(dir.path() / "empty.txt", target), CodeOutputResult::WriteFailed);
  clearProject();
}

// Templates built to strain the output bound: hundreds of placeholders, deep
// indentation before every multi-line placeholder, blank replacements in
// front of them, long names, many objects and points and long captions.
std::vector<std::string> adversarialLines() {
  const auto blanks = [](std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += (i % 3 == 0) ? '\t' : ' ';
    return text;
  };
  std::vector<std::string> lines;
  for (int block = 0; block < 10; ++block) {
    for (int p = 0; p < kPlaceholderCount; ++p) {
      lines.push_back(blanks(300) + std::string(placeholderText(static_cast<Placeholder>(p))) + "\n");
    }
    lines.push_back("$TITLE$$ADD_OBJ$\n");
    lines.push_back(blanks(100) + "$ADD_OBJ$" + blanks(400) + "$SET_FONT$\n");
    lines.push_back(blanks(300) + "$POINT$$ADD_POINT$$DELHRGN$$DEFINE$\n");
    lines.push_back(blanks(50) + "$HWND$ADD_OBJ$\n");
    lines.push_back(blanks(20) + "$HWND$$INST$$TITLE$$ADD_POINT$ $X$Y$WIDTH$HEIGHT$\n");
    lines.push_back("$$$ $ $FOO$ $ADD_OBJ $\n");
  }
  return lines;
}

TEST(CodeOutput, BoundHoldsForAdversarialTemplates) {
  const std::string longText(300, 'c');
  std::vector<DesignObject> many;
  const ObjectKind kinds[] = {ObjectKind::BUTTON,  ObjectKind::EDIT,    ObjectKind::EDIT_M,
                              ObjectKind::EDIT_MV, ObjectKind::EDIT_MH, ObjectKind::EDIT_MVH,
                              ObjectKind::STATIC,  ObjectKind::LISTBOX};
  for (int i = 0; i < 30; ++i) {
    many.push_back(makeObject(kinds[i % 8], longText, std::string(200, 'I'), 0xFFFFFFFF,
                              INT32_MIN, INT32_MAX, INT32_MIN, -1));
  }
  std::vector<RegionPoint> points(50, RegionPoint{INT32_MIN, INT32_MIN});

  TestDesign full(many, points);
  full.project.title = std::string(500, ' ');
  full.project.variableNames = {std::string(100, 'w'), std::string(100, 'i'),
                                std::string(100, 'f'), std::string(100, 'r'),
                                std::string(100, 'p')};
  full.project.x = INT32_MIN;
  full.project.font.lfHeight = INT32_MIN;
  full.project.font.lfWeight = INT32_MIN;
  std::fill(std::begin(full.project.font.lfFaceName), std::end(full.project.font.lfFaceName), 'F');

  TestDesign blankNames;  // no objects, no points: every multi-line text empty
  blankNames.project.title = std::string(200, '\t');
  blankNames.project.variableNames.hwnd = std::string(150, ' ');

  TestDesign one({makeObject(ObjectKind::BUTTON, "B", "ID", 0x50002300)}, {{1, 2}, {3, 4}, {5, 6}});

  const std::vector<std::string> lines = adversarialLines();
  std::string templateText;
  for (const std::string& line : lines) templateText += line;

  for (const TestDesign* design : {&full, &blankNames, &one}) {
    CodeGenerationReport report;
    const std::string out = design->generate(templateText, &report);
    EXPECT_GT(report.occurrences, 250u);
    EXPECT_FALSE(report.grew);
    EXPECT_LE(report.length, report.bound);
    EXPECT_EQ(report.length, out.size());
    // Each template line ends in a line feed, so it renders on its own: the
    // whole output is the outputs of the lines one after the other.
    std::string joined;
    for (const std::string& line : lines) {
      CodeGenerationReport lineReport;
      joined += design->generate(line, &lineReport);
      ASSERT_FALSE(lineReport.grew) << line;
      ASSERT_LE(lineReport.length, lineReport.bound) << line;
    }
    EXPECT_TRUE(out == joined);
  }
}

TEST(CodeOutput, OutputBufferGrowsInsteadOfOverflowing) {
  OutputBuffer out(4);
  out.append("abc");
  EXPECT_FALSE(out.grew());
  appendFormatted(out, "%s=%d", "long text", -7);
  EXPECT_TRUE(out.grew());
  EXPECT_EQ(out.view(), "abclong text=-7");
  EXPECT_EQ(out.c_str()[out.size()], '\0');
  out.dropLast();
  EXPECT_EQ(std::string(out.c_str()), "abclong text=-");
}

}  // namespace
}  // namespace quorvin
