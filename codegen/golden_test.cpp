// Templates rendered for sample projects, compared byte for byte with the
// files under testdata/. Run with QUORVIN_UPDATE_GOLDEN=1 to write the files
// anew after a deliberate change, then review the difference.
//
// testdata/first_template.txt is the template as Quorvin first shipped it,
// standing for the users' own templates: the sources of designs that
// compiled then must stay the same to the byte (default_*.golden).

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "codegen/code_output.h"
#include "codegen/codegen_test_support.h"
#include "common/cp932.h"
#include "common/file_io.h"
#include "tests/temp_dir.h"

namespace quorvin {
namespace {

using testing::makeObject;
using testing::TestDesign;

const std::filesystem::path kSourceDir = QUORVIN_CODEGEN_SOURCE_DIR;

// Renders `templateFile` for `design` the way the command does, and compares
// the written file with testdata/<name>.
void checkGolden(const TestDesign& design, const char* name,
                 const std::filesystem::path& templateFile =
                     kSourceDir / "testdata" / "first_template.txt",
                 CodeEncoding encoding = CodeEncoding::Cp932) {
  const std::optional<std::string> templateText = readCodeTemplate(templateFile);
  ASSERT_TRUE(templateText.has_value());
  CodeGenerationReport report;
  const std::string output =
      generateCode(*templateText, design.project, design.objects, &report, encoding);
  EXPECT_FALSE(report.grew);
  // The template has no placeholder left unreplaced.
  EXPECT_EQ(output.find("$"), std::string::npos);

  TempDir dir;
  ASSERT_TRUE(writeCodeFile(dir.path() / name, output));
  const std::string written = readFileBytes(dir.path() / name).value();
  const std::filesystem::path golden = kSourceDir / "testdata" / name;
  const char* update = std::getenv("QUORVIN_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    ASSERT_TRUE(writeFileReplacing(golden, written));
    return;
  }
  const std::optional<std::string> expected = readFileBytes(golden);
  ASSERT_TRUE(expected.has_value()) << golden << " is missing; run with QUORVIN_UPDATE_GOLDEN=1";
  EXPECT_TRUE(written == *expected) << "differs from " << golden
                                    << "; run with QUORVIN_UPDATE_GOLDEN=1 and review";
}

TEST(GoldenCode, DefaultTemplateWithEveryKind) {
  const auto sj = [](const char* utf8) { return utf8ToCp932(utf8); };
  TestDesign design(
      testing::everyKindObjects(),
      {{0, 0}, {360, 0}, {360, 250}, {180, 300}, {0, 250}});
  design.project.title = sj("サンプル表示");
  design.project.className = "SampleWindow";
  design.project.x = 40;
  design.project.y = 30;
  design.project.width = 360;
  design.project.height = 300;
  design.project.font.lfHeight = -16;
  design.project.font.lfWeight = 700;
  design.project.font.lfItalic = 1;
  design.project.font.lfUnderline = 1;
  checkGolden(design, "default_sample.golden");
}

TEST(GoldenCode, DefaultTemplateWithoutObjectsOrOutline) {
  TestDesign design;
  design.project.variableNames = {};  // no setting.ini: the default names
  design.project.x = -12;
  checkGolden(design, "default_empty.golden");
}

// What the old output got wrong, in both shipped templates: a name used
// twice, an empty and a non-identifier name, quotes and backslashes in the
// texts next to characters whose second byte is a backslash. These sources
// are compiled by the build's compile tests.
TEST(GoldenCode, ShippedTemplatesWithRepeatedNamesAndEscapedTexts) {
  const auto sj = [](const char* utf8) { return utf8ToCp932(utf8); };
  TestDesign design(
      {
          makeObject(ObjectKind::BUTTON, sj("Say \"hi\" 表"), "ID_BUTTON", 0x50012300, 10, 10, 90, 24),
          makeObject(ObjectKind::BUTTON, "C:\\new", "ID_BUTTON", 0x50012300, 110, 10, 90, 24),
          makeObject(ObjectKind::EDIT, sj("ソ\\\""), "", 0x50010080, 10, 40, 90, 22),
          makeObject(ObjectKind::STATIC, sj("能力"), "ID LABEL", 0x50000000, 110, 40, 90, 20),
          makeObject(ObjectKind::LISTBOX, "", "ID_LIST", 0x50A10003, 10, 70, 190, 60),
      },
      {{0, 0}, {260, 0}, {260, 200}, {0, 200}});
  design.project.title = sj("\"表\" \\ ソ");
  design.project.className = "Quote\\Class";
  std::memcpy(design.project.font.lfFaceName, sj("ＭＳ ゴシック").c_str(), sj("ＭＳ ゴシック").size() + 1);
  checkGolden(design, "names_cp932.golden", kSourceDir / "code.txt");
  checkGolden(design, "names_unicode.golden", kSourceDir / "code_unicode.txt",
              CodeEncoding::Utf8Wide);
}

}  // namespace
}  // namespace quorvin
