// Round-trip properties of the project and settings files over a few hundred
// seeded random designs: saved and read back they give the same design, and
// saved again the same bytes.

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <set>
#include <sstream>
#include <span>
#include <string>
#include <vector>

#include "app/project_file.h"
#include "app/settings_file.h"
#include "codegen/c_text.h"
#include "codegen/code_output.h"
#include "common/cp932.h"
#include "common/file_io.h"
#include "tests/property/random_design.h"
#include "tests/temp_dir.h"
#include "tools/quorvin_gen/quorvin_gen.h"

namespace quorvin {
namespace {

using testing::Random;
using testing::RandomDesign;

constexpr std::uint32_t kCases = 300;

// Compares what the file stores; handles, capacities and the editing state
// are not stored and are checked separately.
void expectSameStoredDesign(const RandomDesign& want, const Project& got,
                            const std::vector<DesignObject>& gotObjects) {
  const Project& p = want.project;
  EXPECT_EQ(got.title, p.title);
  EXPECT_EQ(got.className, p.className);
  EXPECT_EQ(got.x, p.x);
  EXPECT_EQ(got.y, p.y);
  EXPECT_EQ(got.width, p.width);
  EXPECT_EQ(got.height, p.height);
  EXPECT_EQ(std::memcmp(&got.font, &p.font, sizeof(FontSpec)), 0);
  EXPECT_EQ(got.regionMode, p.regionMode);
  ASSERT_EQ(got.pointCount, p.pointCount);
  for (std::int32_t i = 0; i < p.pointCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    EXPECT_EQ(got.markerPoints[at], p.markerPoints[at]) << "point " << i;
  }
  ASSERT_EQ(got.objectCount, p.objectCount);
  for (std::int32_t i = 0; i < p.objectCount; ++i) {
    const DesignObject& a = want.objects[static_cast<std::size_t>(i)];
    const DesignObject& b = gotObjects[static_cast<std::size_t>(i)];
    EXPECT_EQ(b.kind, a.kind) << "object " << i;
    EXPECT_EQ(b.x, a.x) << "object " << i;
    EXPECT_EQ(b.y, a.y) << "object " << i;
    EXPECT_EQ(b.width, a.width) << "object " << i;
    EXPECT_EQ(b.height, a.height) << "object " << i;
    EXPECT_EQ(b.style, a.style) << "object " << i;
    EXPECT_EQ(b.caption, a.caption) << "object " << i;
    EXPECT_EQ(b.idName, a.idName) << "object " << i;
  }
}

// What a freshly read design looks like besides the stored fields.
void expectFreshlyRead(const Project& got, const std::vector<DesignObject>& gotObjects) {
  EXPECT_EQ(got.surface, 0u);
  EXPECT_EQ(got.fontHandle, 0u);
  EXPECT_EQ(got.activeMarker, 0u);
  EXPECT_EQ(got.activePoint, -1);
  ASSERT_EQ(gotObjects.size(), static_cast<std::size_t>(got.objectCount) + 10);
  for (std::int32_t i = 0; i < got.objectCount; ++i) {
    EXPECT_EQ(gotObjects[static_cast<std::size_t>(i)].window, 0u);
    EXPECT_EQ(gotObjects[static_cast<std::size_t>(i)].savedProc, 0u);
  }
  if (got.regionMode == RegionMode::Polygon) {
    EXPECT_EQ(got.pointCapacity(), got.pointCount + 10);
    EXPECT_EQ(got.regionPoints, std::vector<RegionPoint>(got.regionPoints.size()));
  } else {
    EXPECT_EQ(got.pointCapacity(), 0);
  }
}

TEST(RoundTrip, RandomDesignsSaveReadAndSaveAgainUnchanged) {
  TempDir dir;
  const Path file = dir.path() / "design.mwd";
  Random random(20240607);
  for (std::uint32_t index = 0; index < kCases; ++index) {
    SCOPED_TRACE("case " + std::to_string(index));
    const RandomDesign design = testing::randomDesign(index, random);
    ASSERT_TRUE(canSaveProject(design.project, design.objects));
    // Every tenth case goes through the disk, the others stay in memory.
    const bool onDisk = index % 10 == 0;
    std::string firstBytes;
    Project read;
    std::vector<DesignObject> readObjects;
    if (onDisk) {
      ASSERT_TRUE(saveProject(file, design.project, design.objects));
      ASSERT_TRUE(readProject(file, read, readObjects));
      firstBytes = readFileBytes(file).value();
      EXPECT_EQ(firstBytes, serializeProject(design.project, design.objects));
    } else {
      firstBytes = serializeProject(design.project, design.objects);
      ASSERT_TRUE(parseProject(firstBytes, read, readObjects));
    }
    expectSameStoredDesign(design, read, readObjects);
    expectFreshlyRead(read, readObjects);
    EXPECT_EQ(serializeProject(read, readObjects), firstBytes);
    if (::testing::Test::HasFailure()) return;  // one broken case is enough to read
  }
}

// "%20%" is how a comma is stored, so a text typed with "%20%" reads back
// with a comma in its place, and a text holding "%20" right before a comma
// cannot be told apart from an escaped comma either. Whatever the text,
// what is read back once stays the same through every later save.
TEST(RoundTrip, TextsResemblingTheCommaEscapeSettleAfterOneSave) {
  struct Case {
    std::string typed;
    std::string readBack;
  };
  const Case cases[] = {
      {"a%20%b", "a,b"},
      {"%20%", ","},
      {"%20%%20%", ",,"},
      {"50%20,x", "50,20%x"},
      {"%20,", ",20%"},
      {"%2,0%", "%2,0%"},
      {"%,20%", "%,20%"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Project p;
    p.title = c.typed;
    std::vector<DesignObject> objects(1);
    p.objectCount = 1;
    objects[0].caption = c.typed;
    Project read;
    std::vector<DesignObject> readObjects;
    ASSERT_TRUE(parseProject(serializeProject(p, objects), read, readObjects));
    EXPECT_EQ(read.title, c.readBack);
    EXPECT_EQ(readObjects[0].caption, c.readBack);
    EXPECT_EQ(testing::survivesEscaping(c.typed), c.readBack == c.typed);

    Project again;
    std::vector<DesignObject> againObjects;
    const std::string saved = serializeProject(read, readObjects);
    ASSERT_TRUE(parseProject(saved, again, againObjects));
    EXPECT_EQ(again.title, read.title);
    EXPECT_EQ(serializeProject(again, againObjects), saved);
  }
}

TEST(RoundTrip, RandomSettingsWriteAndReadBackUnchanged) {
  TempDir dir;
  const Path file = dir.path() / "setting.ini";
  Random random(77);
  for (std::uint32_t index = 0; index < kCases; ++index) {
    SCOPED_TRACE("case " + std::to_string(index));
    // Names as the reader gives them back: not empty, no blank at either end.
    VariableNames names;
    for (std::string* name :
         {&names.hwnd, &names.hinstance, &names.hfont, &names.hrgn, &names.point}) {
      do {
        *name = testing::randomText(random, 4);
        while (!name->empty() && (name->front() == ' ' || name->front() == '\t'))
          name->erase(0, 1);
        while (!name->empty() && (name->back() == ' ' || name->back() == '\t'))
          name->pop_back();
      } while (name->empty());
    }
    VariableNames read;
    std::string bytes;
    if (index % 10 == 0) {
      ASSERT_TRUE(writeSettings(file, names));
      ASSERT_TRUE(readSettings(file, read));
      bytes = readFileBytes(file).value();
    } else {
      bytes = serializeSettings(names);
      ASSERT_TRUE(parseSettings(bytes, read));
    }
    EXPECT_EQ(read, names);
    EXPECT_EQ(serializeSettings(read), bytes);
    if (::testing::Test::HasFailure()) return;
  }
}

// The output of code generation stays within the bound computed before
// rendering, for random designs under the shipped template and under
// templates made of placeholders at random indentations; streamed in pieces
// of any size, the file's bytes are the whole text's, up to its first NUL,
// with CR LF line ends.
TEST(RoundTrip, GeneratedCodeStaysWithinItsBound) {
  const std::optional<std::string> shipped =
      readCodeTemplate(Path(QUORVIN_SOURCE_DIR) / "codegen" / "code.txt");
  ASSERT_TRUE(shipped.has_value());
  static const char* const kFragments[] = {
      "$ADD_OBJ$", "$DEFINE$", "$SET_FONT$", "$POINT$",  "$ADD_POINT$", "$DELHRGN$",
      "$CREATE_FONT$", "$TITLE$", "$C_NAME$", "$HWND$", "$INST$", "$X$", "$WIDTH$",
      "\n", "\n\t", "    ", " ", "x", "$", "$HWND", "INST$",
  };
  Random random(4242);
  for (std::uint32_t index = 0; index < kCases; ++index) {
    SCOPED_TRACE("case " + std::to_string(index));
    RandomDesign design = testing::randomDesign(index, random);
    if (random.oneIn(3)) design.project.variableNames = {};  // absent: defaults
    std::string made;
    const std::uint32_t pieces = random.below(40);
    for (std::uint32_t i = 0; i < pieces; ++i)
      made += kFragments[random.below(sizeof kFragments / sizeof kFragments[0])];
    for (const std::string& text : {*shipped, made}) {
      for (CodeEncoding encoding : {CodeEncoding::Cp932, CodeEncoding::Utf8Wide}) {
        CodeGenerationReport report;
        const std::string out =
            generateCode(text, design.project, design.objects, &report, encoding);
        if (encoding == CodeEncoding::Cp932) {
          EXPECT_EQ(out.size(), report.length);
        }
        EXPECT_LE(report.length, report.bound);
        EXPECT_FALSE(report.grew);

        std::string streamed;
        streamCodeFile(text, design.project, design.objects, encoding,
                       [&streamed](std::string_view piece) { streamed.append(piece); },
                       1 + random.below(200));
        EXPECT_EQ(streamed, toCrLf(out.substr(0, out.find('\0'))));
      }
    }
    if (::testing::Test::HasFailure()) return;
  }
}

// quorvin-gen writes the designer's source for a design read from its file,
// byte for byte, in both encodings, whether its ID names all stand or some
// are warned about.
TEST(RoundTrip, QuorvinGenWritesTheDesignersSourceFromTheFile) {
  TempDir dir;
  const Path templates = Path(QUORVIN_SOURCE_DIR) / "codegen";
  Random random(2727);
  for (std::uint32_t index = 0; index < kCases / 3; ++index) {
    SCOPED_TRACE("case " + std::to_string(index));
    RandomDesign design = testing::randomDesign(index, random);
    auto& objects = design.objects;
    const std::int32_t count = design.project.objectCount;
    if (index % 2 == 0) {
      // Names that all stand, some blank, a few with blanks around them;
      // in some cases one repeated name (written with warnings).
      for (std::int32_t i = 0; i < count; ++i) {
        std::string& name = objects[static_cast<std::size_t>(i)].idName;
        name = random.oneIn(9) ? " " : "ID_" + std::to_string(i) + (random.oneIn(7) ? "\t" : "");
      }
      if (count > 1 && random.oneIn(4)) objects[1].idName = objects[0].idName;
    }
    ASSERT_TRUE(saveProject(dir.path() / "design.mwd", design.project, objects));
    Project read;
    std::vector<DesignObject> readObjects;
    ASSERT_TRUE(readProject(dir.path() / "design.mwd", read, readObjects));
    deriveRegionPoints(read);
    for (const bool unicode : {false, true}) {
      const std::string templateFile = unicode ? "code_unicode.txt" : "code.txt";
      const CodeEncoding encoding = unicode ? CodeEncoding::Utf8Wide : CodeEncoding::Cp932;
      std::vector<std::string> args{"-t", (templates / templateFile).string(), "-o", "out.cpp",
                                    "design.mwd"};
      if (unicode) args.insert(args.begin(), "--unicode");
      std::ostringstream out;
      std::ostringstream err;
      ASSERT_EQ(runQuorvinGen(args, out, err, dir.path()), 0) << err.str();
      EXPECT_EQ(readFileBytes(dir.path() / "out.cpp"),
                generateCodeFile(*readCodeTemplate(templates / templateFile), read, readObjects,
                                 encoding));
    }
    if (::testing::Test::HasFailure()) return;
  }
}

// The contents of a C string literal as a compiler reading CP932 sees them:
// a two-byte character is one character, a backslash escapes the next one.
// Nothing when an unescaped quote ends the literal early.
std::optional<std::string> unescapeLiteral(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (isCp932LeadByte(c) && i + 1 < text.size()) {
      out += text.substr(i++, 2);
    } else if (c == '\\' && i + 1 < text.size()) {
      out += text[++i];
    } else if (c == '"' || c == '\\') {
      return std::nullopt;
    } else {
      out += text[i];
    }
  }
  return out;
}

// For random designs: every caption reads back from its literal as itself,
// and every control gets an id of its own: a name #defined once or its
// number, so the source has neither a redefinition nor two equal ids.
TEST(RoundTrip, GeneratedTextsAndIdsAreSoundC) {
  Random random(1313);
  for (std::uint32_t index = 0; index < kCases; ++index) {
    SCOPED_TRACE("case " + std::to_string(index));
    RandomDesign design = testing::randomDesign(index, random);
    // Repeated names, as old files hold them.
    for (std::size_t i = 1; i < design.objects.size(); i += 3)
      design.objects[i].idName = design.objects[i - 1].idName;
    const std::size_t count = static_cast<std::size_t>(design.project.objectCount);
    const CodeSource source = makeCodeSource(design.project, design.objects);
    std::set<std::string> ids;
    for (std::size_t i = 0; i < count; ++i) {
      const DesignObject& object = design.objects[i];
      EXPECT_EQ(unescapeLiteral(escapedCText(object.caption)), std::string(object.caption.c_str()));
      const WrittenId& id = source.ids[i];
      const std::string key = id.defined ? std::string(object.idName.c_str()) : id.text;
      if (id.defined) {
        EXPECT_TRUE(isIdentifierName(object.idName));
        EXPECT_EQ(id.text, object.idName.c_str());
      } else {
        EXPECT_EQ(id.text, std::to_string(100 * (i + 1)));
      }
      // Names compare without their blanks, as the preprocessor sees them.
      std::string trimmed = key;
      trimmed.erase(0, trimmed.find_first_not_of(" \t"));
      trimmed.erase(trimmed.find_last_not_of(" \t") + 1);
      EXPECT_TRUE(ids.insert(trimmed).second) << key;
    }
    const std::vector<IdNameWarning> warnings =
        idNameWarnings(std::span<const DesignObject>(design.objects.data(), count));
    std::size_t numbered = 0;
    for (const WrittenId& id : source.ids) numbered += id.defined ? 0 : 1;
    std::size_t warned = 0;
    for (const IdNameWarning& warning : warnings)
      warned += warning.kind == IdNameWarning::Kind::Repeated ? warning.numbers.size() - 1 : 1;
    std::size_t blank = 0;
    for (std::size_t i = 0; i < count; ++i)
      blank += std::string(design.objects[i].idName.c_str()).find_first_not_of(" \t") ==
                       std::string::npos
                   ? 1
                   : 0;
    // Every control written as its number was either warned about or blank.
    EXPECT_EQ(numbered, warned + blank);
    if (::testing::Test::HasFailure()) return;
  }
}

}  // namespace
}  // namespace quorvin
