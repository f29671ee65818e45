#include "app/project_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/settings_file.h"
#include "tests/temp_dir.h"

namespace quorvin {
namespace {

using namespace std::string_literals;

// The default font record, byte by byte: -13, 0, 0, 0, 400, then italic ..
// pitch (SHIFTJIS_CHARSET 0x80, PROOF_QUALITY 2, FIXED_PITCH|FF_MODERN 0x31),
// then "ＭＳ ゴシック" in CP932 padded with NULs to 32 bytes.
const std::string kDefaultFontBytes =
    "\xF3\xFF\xFF\xFF"s "\0\0\0\0"s "\0\0\0\0"s "\0\0\0\0"s "\x90\x01\0\0"s
    "\0\0\0\x80\0\0\x02\x31"s
    "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E"s + std::string(19, '\0');

const std::string kExampleHeader =
    "1\r\n120\r\n80\r\n208\r\n227\r\n1\r\n0\r\n9\r\n4\r\nTestClass\r\nTest\r\n";
const std::string kExampleObject =
    "300\r\n10\r\n20\r\n80\r\n24\r\n1342186240ld\r\n6\r\n9\r\nButton\r\nID_BUTTON\r\n";
const std::string kExampleFile = kExampleHeader + kDefaultFontBytes + kExampleObject;

struct Design {
  Project project;
  std::vector<DesignObject> objects;
};

Design exampleDesign() {
  Design d;
  d.project.title = "Test";
  d.project.className = "TestClass";
  d.project.x = 120;
  d.project.y = 80;
  d.project.width = 208;
  d.project.height = 227;
  d.project.font = defaultFontSpec();
  d.project.objectCount = 1;
  d.objects.resize(10);
  DesignObject& button = d.objects[0];
  button.window = 0x1234;  // live handles are not stored
  button.savedProc = 0x5678;
  button.kind = ObjectKind::BUTTON;
  button.x = 10;
  button.y = 20;
  button.width = 80;
  button.height = 24;
  button.style = 0x50002300;
  button.caption = "Button";
  button.idName = "ID_BUTTON";
  return d;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// Parses `bytes` into a sentinel record; on refusal checks that the
// sentinel is untouched.
bool parseKeepsSentinelOnFailure(std::string_view bytes) {
  Project out;
  out.title = "sentinel";
  out.objectCount = 7;
  std::vector<DesignObject> outObjects(3);
  outObjects[0].caption = "keep";
  const Project outBefore = out;
  const std::vector<DesignObject> objectsBefore = outObjects;
  const bool ok = parseProject(bytes, out, outObjects);
  if (!ok) {
    EXPECT_EQ(out, outBefore);
    EXPECT_EQ(outObjects, objectsBefore);
  }
  return ok;
}

TEST(ProjectFile, ExampleIsWrittenByteForByteAndReadBack) {
  const Design d = exampleDesign();
  ASSERT_EQ(kDefaultFontBytes.size(), 60u);
  EXPECT_EQ(serializeProject(d.project, d.objects), kExampleFile);

  TempDir dir;
  const Path path = dir.path() / "example.mwd";
  ASSERT_TRUE(saveProject(path, d.project, d.objects));
  EXPECT_EQ(readFileBytes(path).value(), kExampleFile);

  Project read;
  read.surface = 99;
  read.fontHandle = 98;
  std::vector<DesignObject> readObjects;
  ASSERT_TRUE(readProject(path, read, readObjects));
  EXPECT_EQ(read.title, "Test");
  EXPECT_EQ(read.className, "TestClass");
  EXPECT_EQ(read.x, 120);
  EXPECT_EQ(read.height, 227);
  EXPECT_EQ(read.objectCount, 1);
  EXPECT_EQ(read.font, defaultFontSpec());
  EXPECT_EQ(read.regionMode, RegionMode::Rectangle);
  EXPECT_EQ(read.pointCount, 0);
  EXPECT_EQ(read.pointCapacity(), 0);
  EXPECT_EQ(read.surface, 0u);
  EXPECT_EQ(read.fontHandle, 0u);
  EXPECT_EQ(read.activePoint, -1);
  EXPECT_EQ(read.activeMarker, 0u);
  ASSERT_EQ(readObjects.size(), 11u);
  DesignObject expected = d.objects[0];
  expected.window = 0;
  expected.savedProc = 0;
  EXPECT_EQ(readObjects[0], expected);
  for (std::size_t i = 1; i < readObjects.size(); ++i) EXPECT_EQ(readObjects[i], DesignObject{});

  // Read, then write: the same bytes.
  EXPECT_EQ(serializeProject(read, readObjects), kExampleFile);
}

// The global overload saves the global project; reading never looks at
// setting.ini (the names are the caller's to read) and says why it refused.
TEST(ProjectFile, GlobalOverloadSavesTheProjectAndReadersSayWhy) {
  TempDir dir;
  ASSERT_TRUE(writeFileReplacing(
      dir.path() / "setting.ini", "5\r\n4\r\n4\r\n5\r\n2\r\nhFont\r\nhRgn\r\nhWnd\r\nhInst\r\npt\r\n"));

  Design d = exampleDesign();
  project = d.project;
  objects = d.objects;
  const Path path = dir.path() / "global.mwd";
  ASSERT_TRUE(saveProject(path));
  EXPECT_EQ(readFileBytes(path).value(), kExampleFile);

  Project read;
  std::vector<DesignObject> readObjects;
  ASSERT_TRUE(readProject(path, read, readObjects));
  EXPECT_EQ(read.variableNames, VariableNames{});
  EXPECT_EQ(project, d.project);  // reading never touches the current project

  // Refusals say why, and change nothing.
  const Project before = read;
  EXPECT_EQ(readProject(dir.path() / "absent.mwd", read, readObjects).problem,
            ReadProblem::Missing);
  EXPECT_EQ(readProject(dir.path(), read, readObjects).problem, ReadProblem::Unreadable);
  const std::string file = readFileBytes(path).value();
  const std::pair<std::size_t, const char*> cuts[] = {
      {3, "header"}, {file.find("TestClass") + 2, "title and class name"},
      {file.size() - 20, "controls"}};
  for (const auto& [cut, part] : cuts) {
    ASSERT_TRUE(writeFileReplacing(dir.path() / "cut.mwd", file.substr(0, cut)));
    const ReadResult result = readProject(dir.path() / "cut.mwd", read, readObjects);
    EXPECT_EQ(result.problem, ReadProblem::Damaged) << part;
    EXPECT_EQ(result.damage, part);
  }
  EXPECT_EQ(read, before);

  clearProject();
  objects.clear();
}

TEST(ProjectFile, EscapingCommas) {
  EXPECT_EQ(escapeText("a,b", ",", "%20%"), "a%20%b");
  EXPECT_EQ(escapeText("a%20%b", "%20%", ","), "a,b");
  EXPECT_EQ(escapeText(",,", ",", "%20%"), "%20%%20%");
  // Left to right without overlaps: the second match starts after the first.
  EXPECT_EQ(escapeText("%20%20%", "%20%", ","), ",20%");
  EXPECT_EQ(escapeText("aaa", "aa", "b"), "ba");
  EXPECT_EQ(escapeText("abc", "", "x"), "abc");

  Design d = exampleDesign();
  d.objects[0].caption = "a,b";
  d.project.title = "T,1";
  const std::string bytes = serializeProject(d.project, d.objects);
  EXPECT_NE(bytes.find("\r\n6\r\n9\r\na%20%b\r\nID_BUTTON\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\n9\r\n6\r\nTestClass\r\nT%20%1\r\n"), std::string::npos);
  Project read;
  std::vector<DesignObject> readObjects;
  ASSERT_TRUE(parseProject(bytes, read, readObjects));
  EXPECT_EQ(readObjects[0].caption, "a,b");
  EXPECT_EQ(read.title, "T,1");

  // A caption typed as a%20%b cannot be told from an escaped comma.
  d.objects[0].caption = "a%20%b";
  ASSERT_TRUE(parseProject(serializeProject(d.project, d.objects), read, readObjects));
  EXPECT_EQ(readObjects[0].caption, "a,b");
}

TEST(ProjectFile, TextsWithSpacesAndEmptyTextsSurvive) {
  Design d = exampleDesign();
  d.project.title = " Main  window ";
  d.objects[0].caption = "Open file";
  d.objects[0].idName = "";
  d.objects[1] = d.objects[0];
  d.objects[1].kind = ObjectKind::LISTBOX;
  d.objects[1].caption = "";
  d.objects[1].idName = "ID_LIST";
  d.objects[2] = d.objects[0];
  d.objects[2].caption = "\x83\x5c\x83\x74\x83\x67";  // "ソフト": trail bytes 0x5C
  d.objects[2].style = 0x50000003;
  d.project.objectCount = 3;
  const std::string bytes = serializeProject(d.project, d.objects);
  EXPECT_NE(bytes.find("\r\n9\r\n0\r\nOpen file\r\n\r\n600\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\n0\r\n7\r\n\r\nID_LIST\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\n1342177283ld\r\n"), std::string::npos);

  Project read;
  std::vector<DesignObject> readObjects;
  ASSERT_TRUE(parseProject(bytes, read, readObjects));
  EXPECT_EQ(read.title, " Main  window ");
  for (int i = 0; i < 3; ++i) {
    DesignObject expected = d.objects[static_cast<std::size_t>(i)];
    expected.window = 0;
    expected.savedProc = 0;
    EXPECT_EQ(readObjects[static_cast<std::size_t>(i)], expected) << i;
  }
  EXPECT_EQ(serializeProject(read, readObjects), bytes);
}

TEST(ProjectFile, FontBlockHoldsAnyBytes) {
  Design d = exampleDesign();
  d.project.font.lfHeight = 0x0A;                      // one 0x0A
  d.project.font.lfWidth = 0x0D;                       // a lone 0x0D
  d.project.font.lfEscapement = 0x0A0D;                // 0x0D then 0x0A
  d.project.font.lfOrientation = 0x201A;               // 0x1A, 0x20
  d.project.font.lfFaceName[31] = '\x0D';              // 0x0D as the last byte
  d.project.font.lfFaceName[0] = '\x09';
  const std::string bytes = serializeProject(d.project, d.objects);
  // Two 0x0A in the record: two more bytes than the plain example.
  EXPECT_EQ(bytes.size(), kExampleFile.size() + 2);
  const std::size_t block = kExampleHeader.size();
  EXPECT_EQ(bytes.substr(block, 6), "\x0D\x0A\0\0\0\x0D"s);
  EXPECT_EQ(bytes.substr(block + 9, 6), "\x0D\x0D\x0A\0\0\x1A"s);

  Project read;
  std::vector<DesignObject> readObjects;
  ASSERT_TRUE(parseProject(bytes, read, readObjects));
  EXPECT_EQ(read.font, d.project.font);
  EXPECT_EQ(readObjects[0].caption, "Button");
  EXPECT_EQ(serializeProject(read, readObjects), bytes);

  // A single 0x0A: 61 bytes in the file.
  Design one = exampleDesign();
  one.project.font.lfWidth = 0x0A;
  EXPECT_EQ(serializeProject(one.project, one.objects).size(), kExampleFile.size() + 1);
}

TEST(ProjectFile, FivePointOutline) {
  Design d = exampleDesign();
  d.project.regionMode = RegionMode::Polygon;
  d.project.growPointArrays(10);
  const RegionPoint points[5] = {{110, 70}, {318, 70}, {-5, 400}, {250, 300}, {120, 2147483647}};
  for (int i = 0; i < 5; ++i) d.project.markerPoints[static_cast<std::size_t>(i)] = points[i];
  d.project.regionPoints[0] = {9, 9};  // rebuilt on opening, never stored
  d.project.pointCount = 5;
  d.project.activePoint = 2;
  const std::string bytes = serializeProject(d.project, d.objects);
  const std::string header =
      replaced(kExampleHeader, "\r\n1\r\n0\r\n", "\r\n2\r\n5\r\n") +
      "110\r\n70\r\n318\r\n70\r\n-5\r\n400\r\n250\r\n300\r\n120\r\n2147483647\r\n";
  EXPECT_EQ(bytes.substr(0, header.size()), header);
  EXPECT_EQ(bytes.substr(header.size(), 60), kDefaultFontBytes);

  Project read;
  std::vector<DesignObject> readObjects;
  ASSERT_TRUE(parseProject(bytes, read, readObjects));
  EXPECT_EQ(read.regionMode, RegionMode::Polygon);
  EXPECT_EQ(read.pointCount, 5);
  EXPECT_EQ(read.pointCapacity(), 15);
  ASSERT_EQ(read.regionPoints.size(), 15u);
  for (int i = 0; i < 15; ++i) {
    const std::size_t at = static_cast<std::size_t>(i);
    EXPECT_EQ(read.markerPoints[at], i < 5 ? points[i] : RegionPoint{});
    EXPECT_EQ(read.regionPoints[at], RegionPoint{});
  }
  EXPECT_EQ(read.activePoint, -1);
  EXPECT_EQ(serializeProject(read, readObjects), bytes);
}

TEST(ProjectFile, LineFeedOnlyFileReads) {
  Project read;
  std::vector<DesignObject> readObjects;
  ASSERT_TRUE(parseProject(fromCrLf(kExampleFile), read, readObjects));
  EXPECT_EQ(read.className, "TestClass");
  EXPECT_EQ(read.font, defaultFontSpec());
  EXPECT_EQ(readObjects[0].idName, "ID_BUTTON");
  EXPECT_EQ(serializeProject(read, readObjects), kExampleFile);

  // Blanks around numbers are allowed; the style still ends in "ld".
  const std::string padded =
      replaced(replaced(kExampleFile, "300\r\n10\r\n", " 300\t\r\n10 \r\n"), "\r\n1342186240ld\r\n",
               "\r\n 1342186240ld \r\n");
  ASSERT_TRUE(parseProject(padded, read, readObjects));
  EXPECT_EQ(readObjects[0].style, 0x50002300u);
}

TEST(ProjectFile, DamagedFilesAreRefusedUntouched) {
  const std::string polygon = replaced(kExampleFile, "\r\n1\r\n0\r\n9\r\n", "\r\n2\r\n3\r\n9\r\n");
  const std::string bad[] = {
      "",
      "garbage",
      std::string(100, '\x1A'),
      replaced(kExampleFile, "1\r\n120", "-1\r\n120"),
      replaced(kExampleFile, "1\r\n120", "2000000000\r\n120"),
      replaced(kExampleFile, "1\r\n120", "2\r\n120"),  // one object missing
      replaced(kExampleFile, "1\r\n120", "1x\r\n120"),
      replaced(kExampleFile, "\r\n80\r\n", "\r\n2147483648\r\n"),
      replaced(kExampleFile, "\r\n80\r\n", "\r\n-2147483649\r\n"),
      replaced(kExampleFile, "\r\n80\r\n", "\r\n8 0\r\n"),
      replaced(kExampleFile, "\r\n1\r\n0\r\n9\r\n", "\r\n3\r\n0\r\n9\r\n"),  // regionMode
      replaced(kExampleFile, "\r\n1\r\n0\r\n9\r\n", "\r\n0\r\n0\r\n9\r\n"),
      replaced(kExampleFile, "\r\n1\r\n0\r\n9\r\n", "\r\n1\r\n4\r\n9\r\n"),  // points, no polygon
      replaced(kExampleFile, "\r\n1\r\n0\r\n9\r\n", "\r\n2\r\n2\r\n9\r\n"),  // two-point polygon
      replaced(kExampleFile, "\r\n1\r\n0\r\n9\r\n", "\r\n2\r\n2000000000\r\n9\r\n"),
      replaced(kExampleFile, "\r\n1\r\n0\r\n9\r\n", "\r\n2\r\n-3\r\n9\r\n"),
      polygon,  // claims three points but holds none
      replaced(kExampleFile, "\r\n9\r\n4\r\n", "\r\n-1\r\n4\r\n"),
      replaced(kExampleFile, "\r\n9\r\n4\r\n", "\r\n9\r\n100000\r\n"),
      replaced(kExampleFile, "300\r\n", "301\r\n"),  // unknown kind
      replaced(kExampleFile, "300\r\n", "0\r\n"),
      replaced(kExampleFile, "1342186240ld", "1342186240"),
      replaced(kExampleFile, "1342186240ld", "4294967296ld"),
      replaced(kExampleFile, "1342186240ld", "-1ld"),
      replaced(kExampleFile, "1342186240ld", "ld"),
      replaced(kExampleFile, "1342186240ld", "13421 86240ld"),
      replaced(kExampleFile, "\r\n6\r\n9\r\n", "\r\n2000000000\r\n9\r\n"),
      replaced(kExampleFile, "\r\n6\r\n9\r\n", "\r\n6\r\n-9\r\n"),
      kExampleHeader + kDefaultFontBytes.substr(0, 30),  // font cut short
  };
  for (const std::string& bytes : bad)
    EXPECT_FALSE(parseKeepsSentinelOnFailure(bytes)) << bytes;

  // A readable polygon with three points, for contrast.
  EXPECT_TRUE(parseKeepsSentinelOnFailure(
      replaced(polygon, "\r\nTest\r\n", "\r\nTest\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n")));

  // Damaged on disk: readProject refuses it the same way.
  TempDir dir;
  const Path path = dir.path() / "bad.mwd";
  ASSERT_TRUE(writeFileReplacing(path, bad[4]));
  Project out;
  out.title = "kept";
  std::vector<DesignObject> outObjects;
  EXPECT_FALSE(readProject(path, out, outObjects));
  EXPECT_EQ(out.title, "kept");
  EXPECT_TRUE(outObjects.empty());
}

TEST(ProjectFile, EveryTruncationIsRefusedOrReadsCleanly) {
  Design d = exampleDesign();
  d.project.regionMode = RegionMode::Polygon;
  d.project.growPointArrays(10);
  d.project.pointCount = 3;
  d.project.markerPoints[1] = {-7, 12};
  d.project.font.lfWidth = 0x0D0A;
  d.project.font.lfFaceName[31] = '\x0A';
  d.objects[1] = d.objects[0];
  d.objects[1].caption = "";
  d.project.objectCount = 2;

  for (const std::string& whole :
       {kExampleFile, serializeProject(d.project, d.objects), fromCrLf(kExampleFile)}) {
    Project full;
    std::vector<DesignObject> fullObjects;
    ASSERT_TRUE(parseProject(whole, full, fullObjects));
    for (std::size_t length = 0; length < whole.size(); ++length) {
      const std::string_view cut = std::string_view(whole).substr(0, length);
      Project out;
      std::vector<DesignObject> outObjects;
      if (parseKeepsSentinelOnFailure(cut)) {
        ASSERT_TRUE(parseProject(cut, out, outObjects));
        EXPECT_EQ(out, full) << length;
        EXPECT_EQ(outObjects, fullObjects) << length;
      }
    }
  }
}

TEST(ProjectFile, FailedSaveKeepsOldFile) {
  TempDir dir;
  const Path path = dir.path() / "keep.mwd";
  const Design d = exampleDesign();
  ASSERT_TRUE(saveProject(path, d.project, d.objects));

  Design changed = exampleDesign();
  changed.project.title = "Changed";
  EXPECT_FALSE(saveProject(dir.path() / "missing" / "x.mwd", changed.project, changed.objects));
  EXPECT_FALSE(saveProject(dir.path(), changed.project, changed.objects));  // a folder
  EXPECT_TRUE(std::filesystem::is_directory(dir.path()));

  // Projects that would not read back are refused rather than written.
  Design broken = exampleDesign();
  broken.objects[0].caption = "two\nlines";
  EXPECT_FALSE(saveProject(path, broken.project, broken.objects));
  broken = exampleDesign();
  broken.project.objectCount = 11;  // more than the array holds
  EXPECT_FALSE(saveProject(path, broken.project, broken.objects));
  broken = exampleDesign();
  broken.project.regionMode = RegionMode::Polygon;
  broken.project.pointCount = 3;  // point arrays never allocated
  EXPECT_FALSE(saveProject(path, broken.project, broken.objects));
  EXPECT_FALSE(canSaveProject(broken.project, broken.objects));
  // The serializer still never reads past the arrays.
  const std::string clamped = "1\r\n120\r\n80\r\n208\r\n227\r\n2\r\n0\r\n";
  EXPECT_EQ(serializeProject(broken.project, broken.objects).substr(0, clamped.size()), clamped);

  EXPECT_EQ(readFileBytes(path).value(), kExampleFile);
}

}  // namespace
}  // namespace quorvin
