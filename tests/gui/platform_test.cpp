// The Windows side of the core's platform seams: CP932 at the window
// boundary and files under wide (Japanese) paths.
#include <gtest/gtest.h>

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/win32/text.h"
#include "tests/temp_dir.h"

namespace quorvin {
namespace {

TEST(WindowText, Cp932SurvivesTheWideWindowText) {
  // "表示ソ" holds trail bytes 0x5C, the usual victims of narrow handling.
  const std::string cp932 = utf8ToCp932("表示ソ abc");
  ASSERT_EQ(cp932.size(), 10u);
  const HWND label = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(label, nullptr);
  setWindowTextCp932(label, cp932);
  wchar_t wide[32] = {};
  GetWindowTextW(label, wide, 32);
  EXPECT_EQ(std::wstring(wide), L"\u8868\u793A\u30BD abc");
  EXPECT_EQ(windowTextCp932(label), cp932);
  setWindowTextCp932(label, "");
  EXPECT_EQ(windowTextCp932(label), "");
  DestroyWindow(label);
}

// Windows would put look-alikes ("best fit") or U+30FB where the portable
// contract wants '?' and U+FFFD.
TEST(Cp932Windows, KeepsThePortableReplacements) {
  EXPECT_EQ(utf8ToCp932("\xC3\xA9\xE2\x88\x9E"), "?\x81\x87");  // é ∞
  EXPECT_EQ(cp932ToUtf8("\x81\x20" "a\x82"), "\xEF\xBF\xBD" "a\xEF\xBF\xBD");
  EXPECT_EQ(cp932ToWide(std::string("\x82\xA0\0\x82\xA2", 5)), std::wstring(L"\u3042\0\u3044", 3));
}

TEST(FileIo, ReplacesAFileUnderAJapanesePath) {
  TempDir dir;
  const Path folder = dir.path() / utf8ToWide("設定");
  ASSERT_TRUE(std::filesystem::create_directory(folder));
  const Path target = folder / utf8ToWide("テスト.mwd");
  ASSERT_TRUE(writeFileReplacing(target, "old\r\n"));
  // Replacing an existing file is where Windows differs from POSIX rename.
  ASSERT_TRUE(writeFileReplacing(target, std::string("new\0\x1A\r\n", 7)));
  EXPECT_EQ(readFileBytes(target).value(), std::string("new\0\x1A\r\n", 7));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                          std::filesystem::directory_iterator()),
            1);
}

}  // namespace
}  // namespace quorvin
