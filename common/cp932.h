#pragma once
// Conversions between CP932 (the bytes of every text in the model and in
// every file) and Unicode. They never go through the process's ANSI code
// page, so Japanese survives whatever the system's locale is.

#include <string>
#include <string_view>

namespace quorvin {

// CP932 bytes to UTF-8. An invalid byte sequence becomes U+FFFD.
std::string cp932ToUtf8(std::string_view cp932);
// UTF-8 to CP932 bytes. A character that CP932 cannot hold becomes '?'.
std::string utf8ToCp932(std::string_view utf8);

}  // namespace quorvin
