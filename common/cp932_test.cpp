#include "common/cp932.h"

#include <gtest/gtest.h>

namespace quorvin {
namespace {

TEST(Cp932, RoundTripsJapaneseAndAscii) {
  const std::string utf8 = "ＭＳ ゴシック 表示 ソ 能 abc";
  const std::string cp932 = utf8ToCp932(utf8);
  // "表" is 0x95 0x5C in CP932: the trail byte is a backslash.
  EXPECT_NE(cp932.find("\x95\x5C"), std::string::npos);
  EXPECT_EQ(cp932.substr(0, 2), "\x82\x6C");
  EXPECT_EQ(cp932ToUtf8(cp932), utf8);
}

TEST(Cp932, ReplacesWhatCannotBeConverted) {
  EXPECT_EQ(utf8ToCp932("a\xF0\x9F\x98\x80" "b"), "a?b");  // emoji
  EXPECT_EQ(cp932ToUtf8("a\x81"), "a\xEF\xBF\xBD");        // cut lead byte
  EXPECT_EQ(utf8ToCp932(""), "");
}

}  // namespace
}  // namespace quorvin
