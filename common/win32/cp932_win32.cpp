// CP932 conversions on Windows, through MultiByteToWideChar with code page
// 932 named explicitly.
#include <vector>

#include "common/cp932.h"
#include "common/win32/text.h"

namespace quorvin {
namespace {

constexpr UINT kCp932 = 932;

std::wstring toWide(UINT codePage, std::string_view in) {
  if (in.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, in.data(), static_cast<int>(in.size()), out.data(), n);
  return out;
}

std::string fromWide(UINT codePage, std::wstring_view in) {
  if (in.empty()) return {};
  const char* defaultChar = codePage == CP_UTF8 ? nullptr : "?";
  const int n = WideCharToMultiByte(codePage, 0, in.data(), static_cast<int>(in.size()), nullptr, 0,
                                    defaultChar, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, in.data(), static_cast<int>(in.size()), out.data(), n,
                      defaultChar, nullptr);
  return out;
}

}  // namespace

std::wstring cp932ToWide(std::string_view cp932) { return toWide(kCp932, cp932); }
std::string wideToCp932(std::wstring_view wide) { return fromWide(kCp932, wide); }
std::wstring utf8ToWide(std::string_view utf8) { return toWide(CP_UTF8, utf8); }
std::string wideToUtf8(std::wstring_view wide) { return fromWide(CP_UTF8, wide); }

std::string cp932ToUtf8(std::string_view cp932) { return wideToUtf8(cp932ToWide(cp932)); }
std::string utf8ToCp932(std::string_view utf8) { return wideToCp932(utf8ToWide(utf8)); }

std::string windowTextCp932(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return wideToCp932(text);
}

void setWindowTextCp932(HWND window, std::string_view cp932) {
  SetWindowTextW(window, cp932ToWide(cp932).c_str());
}

}  // namespace quorvin
