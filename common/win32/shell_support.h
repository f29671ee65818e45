#pragma once
// Small things every window procedure of the shell uses: the model's opaque
// handles as Windows handles, and the guard that keeps exceptions inside a
// procedure.

#include <cstdint>
#include <utility>

#include "app/model.h"
#include "common/win32/win32.h"

namespace quorvin {

inline HWND asHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }
inline WindowHandle asHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }
inline HFONT asHfont(FontHandle handle) { return reinterpret_cast<HFONT>(handle); }
inline FontHandle asHandle(HFONT font) { return reinterpret_cast<FontHandle>(font); }
inline WNDPROC asWndProc(ProcHandle handle) { return reinterpret_cast<WNDPROC>(handle); }
inline ProcHandle asHandle(WNDPROC procedure) { return reinterpret_cast<ProcHandle>(procedure); }

// The surface as a window handle (null while no project is open).
inline HWND surfaceWindow() { return asHwnd(project.surface); }

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

}  // namespace quorvin
