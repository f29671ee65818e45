#include "app/file_folders.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <set>

#include "tests/temp_dir.h"

namespace quorvin {
namespace {

TEST(FileFolders, CurrentFolderFirstThenTheProgramsWithoutRepeats) {
  const Path current = Path("work") / "designs";
  const Path program = Path("tools") / "quorvin";
  EXPECT_EQ(lookupFolders(current, program), (std::vector<Path>{current, program}));
  // Started in its own folder, or with a folder that cannot be read.
  EXPECT_EQ(lookupFolders(program, program / ""), (std::vector<Path>{program}));
  const Path dotted = Path("tools") / "." / "quorvin";
  EXPECT_EQ(lookupFolders(dotted, program), (std::vector<Path>{dotted}));
  EXPECT_EQ(lookupFolders({}, program), (std::vector<Path>{program}));
  EXPECT_EQ(lookupFolders(current, {}), (std::vector<Path>{current}));
  EXPECT_TRUE(lookupFolders({}, {}).empty());
}

// Over random folders and random sets of existing files: a file is taken
// from the first folder that holds it, and only a file that no folder holds
// falls back to the first folder.
TEST(FileFolders, EachFileComesFromTheFirstFolderHoldingIt) {
  std::mt19937 random(16);
  const std::vector<Path> names{"code.txt", "setting.ini", "ListBox.bmp"};
  for (int round = 0; round < 200; ++round) {
    std::vector<Path> folders;
    const int folderCount = static_cast<int>(random() % 3);
    for (int i = 0; i < folderCount; ++i) folders.push_back(Path("f" + std::to_string(i)));
    std::set<Path> existing;
    for (const Path& folder : folders)
      for (const Path& name : names)
        if (random() % 2 == 0) existing.insert(folder / name);
    const FileExists exists = [&](const Path& path) { return existing.count(path) != 0; };

    for (const Path& name : names) {
      const std::optional<Path> found = findInFolders(folders, name, exists);
      const Path place = placeOf(folders, name, exists);
      std::optional<Path> expected;
      for (const Path& folder : folders)
        if (!expected && existing.count(folder / name)) expected = folder / name;
      EXPECT_EQ(found, expected);
      if (expected) {
        EXPECT_EQ(place, *expected);
      } else {
        EXPECT_EQ(place, folders.empty() ? name : folders.front() / name);
      }
    }
  }
}

TEST(FileFolders, TheDiskAnswersForRegularFilesOnly) {
  TempDir dir;
  std::ofstream(dir.path() / "code.txt") << "x";
  EXPECT_TRUE(isExistingFile(dir.path() / "code.txt"));
  EXPECT_FALSE(isExistingFile(dir.path() / "setting.ini"));
  EXPECT_FALSE(isExistingFile(dir.path()));
  const std::vector<Path> folders = lookupFolders(dir.path() / "elsewhere", dir.path());
  EXPECT_EQ(placeOf(folders, "code.txt", isExistingFile), dir.path() / "code.txt");
  EXPECT_EQ(placeOf(folders, "setting.ini", isExistingFile),
            dir.path() / "elsewhere" / "setting.ini");
}

}  // namespace
}  // namespace quorvin
