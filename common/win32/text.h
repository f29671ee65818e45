#pragma once
// CP932 at the window boundary: the model keeps CP932 bytes, the screen gets
// UTF-16 through the wide API, converted with code page 932 explicitly (never
// the ANSI code page, which is 1252 on many systems).

#include <string>
#include <string_view>

#include "common/win32/win32.h"

namespace quorvin {

std::wstring cp932ToWide(std::string_view cp932);
std::string wideToCp932(std::wstring_view wide);
std::wstring utf8ToWide(std::string_view utf8);
std::string wideToUtf8(std::wstring_view wide);

// The window's text, as it is (wide) and as CP932.
std::wstring windowTextWide(HWND window);
std::string windowTextCp932(HWND window);
// Sets the window's text from CP932.
void setWindowTextCp932(HWND window, std::string_view cp932);

}  // namespace quorvin
