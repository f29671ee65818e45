#include "common/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/temp_dir.h"

namespace quorvin {
namespace {

TEST(FileIo, ReplacesTargetAndLeavesNoTemporaryFile) {
  TempDir dir;
  const Path target = dir.path() / "x.bin";
  ASSERT_TRUE(writeFileReplacing(target, "old"));
  ASSERT_TRUE(writeFileReplacing(target, std::string("new\0\x1A", 5)));
  EXPECT_EQ(readFileBytes(target).value(), std::string("new\0\x1A", 5));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(FileIo, FailureInReadOnlyFolderKeepsOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
  TempDir dir;
  const Path target = dir.path() / "keep.txt";
  ASSERT_TRUE(writeFileReplacing(target, "precious"));
  chmod(dir.path().c_str(), 0500);
  EXPECT_FALSE(writeFileReplacing(target, "lost"));
  chmod(dir.path().c_str(), 0700);
  EXPECT_EQ(readFileBytes(target).value(), "precious");
}

TEST(FileIo, FailureWhenFolderIsMissing) {
  TempDir dir;
  const Path target = dir.path() / "missing-folder" / "x.txt";
  EXPECT_FALSE(writeFileReplacing(target, "data"));
  EXPECT_FALSE(readFileBytes(target).has_value());
}

TEST(FileIo, LineEndTranslation) {
  EXPECT_EQ(toCrLf("a\nb\r\n"), "a\r\nb\r\r\n");
  EXPECT_EQ(fromCrLf("a\r\nb\rc\r"), "a\nb\rc\r");
}

}  // namespace
}  // namespace quorvin
