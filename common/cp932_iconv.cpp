// CP932 conversions for POSIX systems, through iconv.
#include <iconv.h>

#include <cerrno>
#include <cstddef>

#include "common/cp932.h"

namespace quorvin {
namespace {

// Length of the input character starting at `p` that iconv refused, so that
// it is replaced as a whole.
using CharLength = std::size_t (*)(const char* p, std::size_t left);

std::size_t cp932CharLength(const char* p, std::size_t left) {
  return isCp932LeadByte(static_cast<unsigned char>(*p)) && left >= 2 ? 2 : 1;
}

std::size_t utf8CharLength(const char* p, std::size_t left) {
  std::size_t n = 1;
  while (n < left && (static_cast<unsigned char>(p[n]) & 0xC0) == 0x80) ++n;
  return n;
}

std::string convert(std::string_view in, const char* to, const char* from,
                    std::string_view replacement, CharLength charLength) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  out.reserve(in.size() * 2 + 8);
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char buffer[4096];
  while (srcLeft > 0) {
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out.append(replacement);
      const std::size_t skip = charLength(src, srcLeft);
      src += skip;
      srcLeft -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string cp932ToUtf8(std::string_view cp932) {
  return convert(cp932, "UTF-8", "CP932", "\xEF\xBF\xBD", cp932CharLength);
}

std::string utf8ToCp932(std::string_view utf8) {
  return convert(utf8, "CP932", "UTF-8", "?", utf8CharLength);
}

}  // namespace quorvin
