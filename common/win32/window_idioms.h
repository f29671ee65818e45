#pragma once
// Win32 idioms the shell needs in many places, written once: a control id
// passed where CreateWindowEx wants a menu handle, a window's rectangle in
// its parent's client coordinates, a Yes/No question and the fixed-pitch
// Japanese font of the designer's own windows, and the guard that keeps
// exceptions inside a window procedure.

#include <utility>

#include "common/win32/gdi.h"
#include "common/win32/win32.h"

namespace quorvin {

// A child window's id travels in CreateWindowEx's menu parameter.
inline HMENU idAsMenu(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

// `window`'s outer rectangle in the client coordinates of its parent (of its
// owner for an owned pop-up; of the screen for a top-level window). All zero
// when `window` is not a window.
inline RECT rectInParent(HWND window) {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return RECT{};
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// True when the user answers Yes to the question `text` in a box owned by
// `owner`.
inline bool askYesNo(HWND owner, const wchar_t* text, const wchar_t* caption) {
  return MessageBoxW(owner, text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// "ＭＳ ゴシック" with the Shift-JIS character set, fixed pitch, `height` as
// CreateFont takes it (negative: the character height in pixels; positive:
// the cell height). The caller owns the font; empty when it cannot be made.
inline UniqueFont makeGothicFont(int height) {
  return UniqueFont(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                                FIXED_PITCH | FF_MODERN, L"ＭＳ ゴシック"));
}

// Runs `body` and returns its result; an exception (only std::bad_alloc can
// arise in practice) never crosses into the system's code: the message is
// answered with `fallback` instead.
template <typename Body>
LRESULT guardedCall(Body&& body, LRESULT fallback = 0) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return fallback;
  }
}

// Registers the window class `className` of this module with `procedure`
// and the arrow cursor, unless it is registered already. False when it
// cannot be.
inline bool windowClassReady(const wchar_t* className, WNDPROC procedure) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, className, &existing) != FALSE) return true;
  WNDCLASSEXW made{};
  made.cbSize = sizeof made;
  made.lpfnWndProc = procedure;
  made.hInstance = instance;
  made.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  made.lpszClassName = className;
  return RegisterClassExW(&made) != 0;
}

// The procedure of a child that only shows: `Paint` answers WM_PAINT, the
// background is never erased, and every click goes through to what lies
// beneath.
template <LRESULT (*Paint)(HWND)>
LRESULT CALLBACK seeThroughProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return guardedCall([&]() -> LRESULT {
    switch (message) {
      case WM_NCHITTEST:
        return HTTRANSPARENT;
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT:
        return Paint(window);
      default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
  });
}

}  // namespace quorvin
