#pragma once
// The model's opaque handles (numbers in the portable records) as the
// Windows handles they stand for.

#include <cstdint>

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

}  // namespace quorvin
