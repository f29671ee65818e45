// CP932 conversions on Windows, through MultiByteToWideChar with code page
// 932 named explicitly. They keep the contract of common/cp932.h that the
// iconv version keeps: an invalid CP932 character becomes U+FFFD (Windows
// would give U+30FB), and a character that CP932 cannot hold becomes one '?'
// (Windows would give one per UTF-16 unit, or a look-alike "best fit").
#include <optional>
#include <utility>

#include "common/cp932.h"
#include "common/win32/text.h"

namespace quorvin {
namespace {

constexpr UINT kCp932 = 932;

std::optional<std::wstring> toWide(UINT codePage, DWORD flags, std::string_view in) {
  if (in.empty()) return std::wstring();
  const int n = MultiByteToWideChar(codePage, flags, in.data(), static_cast<int>(in.size()),
                                    nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, flags, in.data(), static_cast<int>(in.size()), out.data(), n);
  return out;
}

std::string fromWide(UINT codePage, DWORD flags, std::wstring_view in) {
  if (in.empty()) return {};
  const char* defaultChar = codePage == CP_UTF8 ? nullptr : "?";
  const int n = WideCharToMultiByte(codePage, flags, in.data(), static_cast<int>(in.size()),
                                    nullptr, 0, defaultChar, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, flags, in.data(), static_cast<int>(in.size()), out.data(), n,
                      defaultChar, nullptr);
  return out;
}

// Bytes of the CP932 character that starts at in[0]: two after a lead byte
// when a second byte follows, else one.
std::size_t cp932CharLength(std::string_view in) {
  return isCp932LeadByte(static_cast<unsigned char>(in[0])) && in.size() >= 2 ? 2 : 1;
}

bool isSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDFFF; }

}  // namespace

std::wstring cp932ToWide(std::string_view cp932) {
  if (auto whole = toWide(kCp932, MB_ERR_INVALID_CHARS, cp932)) return *std::move(whole);
  // Something is invalid: convert character by character.
  std::wstring out;
  out.reserve(cp932.size());
  while (!cp932.empty()) {
    const std::size_t length = cp932CharLength(cp932);
    const auto one = toWide(kCp932, MB_ERR_INVALID_CHARS, cp932.substr(0, length));
    out += one ? *one : std::wstring(1, L'\xFFFD');
    cp932.remove_prefix(length);
  }
  return out;
}

std::string wideToCp932(std::wstring_view wide) {
  // CP932 holds nothing outside the Basic Multilingual Plane: a surrogate
  // pair (or a lone surrogate) is one character that becomes one '?'.
  std::wstring units;
  units.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    if (!isSurrogate(wide[i])) {
      units += wide[i];
      continue;
    }
    units += L'?';
    const bool pair = wide[i] <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                      wide[i + 1] <= 0xDFFF;
    if (pair) ++i;
  }
  return fromWide(kCp932, WC_NO_BEST_FIT_CHARS, units);
}

std::wstring utf8ToWide(std::string_view utf8) {
  return toWide(CP_UTF8, 0, utf8).value_or(std::wstring());
}
std::string wideToUtf8(std::wstring_view wide) { return fromWide(CP_UTF8, 0, wide); }

std::string cp932ToUtf8(std::string_view cp932) { return wideToUtf8(cp932ToWide(cp932)); }
std::string utf8ToCp932(std::string_view utf8) { return wideToCp932(utf8ToWide(utf8)); }

std::wstring windowTextWide(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

std::string windowTextCp932(HWND window) { return wideToCp932(windowTextWide(window)); }

void setWindowTextCp932(HWND window, std::string_view cp932) {
  SetWindowTextW(window, cp932ToWide(cp932).c_str());
}

}  // namespace quorvin
