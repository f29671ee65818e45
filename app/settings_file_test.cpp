#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <limits>

#include "app/own_settings.h"
#include "tests/temp_dir.h"

namespace quorvin {
namespace {

VariableNames sampleNames() {
  VariableNames names;
  names.hwnd = "hWnd";
  names.hinstance = "hInst";
  names.hfont = "hFont";
  names.hrgn = "hRgn";
  names.point = "pt";
  return names;
}

TEST(SettingsFile, WritesLengthsThenNamesInFileOrderWithCrLf) {
  TempDir dir;
  const Path path = dir.path() / "setting.ini";
  ASSERT_TRUE(writeSettings(path, sampleNames()));
  EXPECT_EQ(readFileBytes(path).value(),
            "5\r\n4\r\n4\r\n5\r\n2\r\nhFont\r\nhRgn\r\nhWnd\r\nhInst\r\npt\r\n");

  VariableNames noData = sampleNames();
  noData.hrgn = "NO_DATA";
  EXPECT_EQ(serializeSettings(noData).substr(0, 6), "5\r\n7\r\n");

  // Blank names would make the file unreadable: trimmed, and empty as NO_DATA.
  VariableNames blank = sampleNames();
  blank.hfont = " ";
  blank.point = " p t\t";
  EXPECT_EQ(serializeSettings(blank),
            "7\r\n4\r\n4\r\n5\r\n3\r\nNO_DATA\r\nhRgn\r\nhWnd\r\nhInst\r\np t\r\n");
}

TEST(SettingsFile, ReadMapsFileOrderToFieldsAndRoundTrips) {
  TempDir dir;
  const Path path = dir.path() / "setting.ini";
  ASSERT_TRUE(writeFileReplacing(
      path, "5\r\n4\r\n4\r\n5\r\n2\r\nhFont\r\nhRgn\r\nhWnd\r\nhInst\r\npt\r\n"));
  VariableNames names;
  ASSERT_TRUE(readSettings(path, names));
  EXPECT_EQ(names, sampleNames());
  EXPECT_EQ(names.hwnd, "hWnd");
  EXPECT_EQ(names.hfont, "hFont");

}

TEST(SettingsFile, HandEditedFilesAreReadLeniently) {
  VariableNames names;
  // LF only, blanks around names and numbers, lengths that no longer match,
  // no line end after the last name, a Japanese (CP932) name.
  ASSERT_TRUE(parseSettings(" 5\n4 \n4\n5\n2\n  hFontX \n\thRgn\nhWnd\nhInst\n\x83\x7c\x83\x43", names));
  EXPECT_EQ(names.hfont, "hFontX");
  EXPECT_EQ(names.hrgn, "hRgn");
  EXPECT_EQ(names.point, "\x83\x7c\x83\x43");
}

TEST(SettingsFile, MissingOrDamagedFileLeavesNamesUnchanged) {
  TempDir dir;
  VariableNames names = sampleNames();
  EXPECT_EQ(readSettings(dir.path() / "absent.ini", names).problem, ReadProblem::Missing);
  EXPECT_EQ(readSettings(dir.path(), names).problem, ReadProblem::Unreadable);  // a folder
  EXPECT_FALSE(readSettings(Path(), names));
  const char* damaged[] = {
      "",
      "5\r\n4\r\n4\r\n5\r\n2\r\nhFont\r\nhRgn\r\nhWnd\r\nhInst\r\n",  // nine lines
      "5\r\n-4\r\n4\r\n5\r\n2\r\nhFont\r\nhRgn\r\nhWnd\r\nhInst\r\npt\r\n",
      "5\r\nx\r\n4\r\n5\r\n2\r\nhFont\r\nhRgn\r\nhWnd\r\nhInst\r\npt\r\n",
      "5\r\n4\r\n4\r\n5\r\n99999999999\r\nhFont\r\nhRgn\r\nhWnd\r\nhInst\r\npt\r\n",
      "5\r\n4\r\n4\r\n5\r\n2\r\nhFont\r\n  \r\nhWnd\r\nhInst\r\npt\r\n",  // empty name
      "5\r\n4\r\n4\r\n5\r\n2\r\nhFont\r\nhRgn\r\nhWnd\r\nhInst\r\n\r\n",
  };
  for (const char* bytes : damaged) {
    const Path path = dir.path() / "setting.ini";
    ASSERT_TRUE(writeFileReplacing(path, bytes));
    const ReadResult result = readSettings(path, names);
    EXPECT_EQ(result.problem, ReadProblem::Damaged) << bytes;
    EXPECT_FALSE(result.damage.empty());
    EXPECT_EQ(names, sampleNames()) << bytes;
  }
}

TEST(SettingsFile, FailedWriteKeepsOldFile) {
  TempDir dir;
  const Path path = dir.path() / "setting.ini";
  ASSERT_TRUE(writeSettings(path, sampleNames()));
  const std::string before = readFileBytes(path).value();
  EXPECT_FALSE(writeSettings(dir.path() / "missing" / "setting.ini", sampleNames()));
  EXPECT_FALSE(writeSettings(dir.path(), sampleNames()));  // target is a folder
  EXPECT_FALSE(writeSettings(Path(), sampleNames()));
  VariableNames twoLines = sampleNames();
  twoLines.hwnd = "h\nWnd";
  EXPECT_FALSE(writeSettings(path, twoLines));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path()));
  EXPECT_EQ(readFileBytes(path).value(), before);
}

TEST(SettingsFile, NumberLines) {
  EXPECT_EQ(parseNumberLine(" -2147483648\t"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(parseNumberLine("2147483647"), std::numeric_limits<std::int32_t>::max());
  for (const char* bad : {"", " ", "-", "2147483648", "-2147483649", "1 2", "+1", "1x", "0x10"})
    EXPECT_FALSE(parseNumberLine(bad).has_value()) << bad;
}

// quorvin.ini: missing means the defaults; the choice is written and read
// back; lines of other settings survive; damaged values keep the default.
TEST(OwnSettingsFile, KeepsTheChoiceAndLinesItDoesNotKnow) {
  TempDir dir;
  const Path path = dir.path() / kOwnSettingsFileName;
  EXPECT_FALSE(readOwnSettings(path).unicodeOutput);
  OwnSettings settings = parseOwnSettings("; comment\r\ngrid = 8\r\n unicodeOutput = 1 \r\n\r\n");
  EXPECT_TRUE(settings.unicodeOutput);
  ASSERT_TRUE(writeOwnSettings(path, settings));
  EXPECT_EQ(readFileBytes(path).value(), "unicodeOutput=1\r\n; comment\r\ngrid = 8\r\n");
  const OwnSettings read = readOwnSettings(path);
  EXPECT_TRUE(read.unicodeOutput);
  EXPECT_EQ(read.otherLines, settings.otherLines);
  for (const char* damaged : {"unicodeOutput=yes", "unicodeOutput", "\xFF\x00=1", ""})
    EXPECT_FALSE(parseOwnSettings(damaged).unicodeOutput) << damaged;

  // The grid: every combination reads back as written; a step that is not
  // one of the choices reads as the default.
  for (const int step : kGridSteps)
    for (const bool visible : {false, true})
      for (const bool snap : {false, true}) {
        OwnSettings grid = read;
        grid.gridVisible = visible;
        grid.gridSnap = snap;
        grid.gridStep = step;
        const OwnSettings back = parseOwnSettings(serializeOwnSettings(grid));
        EXPECT_EQ(back.gridVisible, visible);
        EXPECT_EQ(back.gridSnap, snap);
        EXPECT_EQ(back.gridStep, step);
        EXPECT_EQ(back.otherLines, read.otherLines);
      }
  for (const char* damaged : {"gridStep=5", "gridStep=", "gridStep=08", "gridStep=-8"})
    EXPECT_EQ(parseOwnSettings(damaged).gridStep, kDefaultOwnGridStep) << damaged;
}

}  // namespace
}  // namespace quorvin
