#pragma once
// Conversions between CP932 (the bytes of every text in the model and in
// every file) and Unicode. They never go through the process's ANSI code
// page, so Japanese survives whatever the system's locale is.

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvin {

// CP932 bytes to UTF-8. An invalid byte sequence becomes U+FFFD.
std::string cp932ToUtf8(std::string_view cp932);
// UTF-8 to CP932 bytes. A character that CP932 cannot hold becomes '?'.
std::string utf8ToCp932(std::string_view utf8);

// True for the first byte of a two-byte CP932 character.
constexpr bool isCp932LeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The longest prefix of `text` of at most `maxBytes` bytes that does not cut
// a two-byte character in half.
constexpr std::string_view wholeCp932Prefix(std::string_view text, std::size_t maxBytes) {
  std::size_t kept = 0;
  while (kept < text.size()) {
    const bool pair =
        isCp932LeadByte(static_cast<unsigned char>(text[kept])) && kept + 1 < text.size();
    const std::size_t next = kept + (pair ? 2 : 1);
    if (next > maxBytes) break;
    kept = next;
  }
  return text.substr(0, kept);
}

}  // namespace quorvin
