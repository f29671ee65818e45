#pragma once
// RAII owners for GDI resources, built on UniqueHandle: GDI objects (fonts,
// regions, brushes, bitmaps) deleted with DeleteObject, a window's device
// context given back with ReleaseDC, and a guard that selects an object into
// a device context and puts the previous one back.

#include "common/handle.h"
#include "common/win32/win32.h"

namespace quorvin {

// A GDI object of type T, deleted with DeleteObject. Never hold a stock
// object here (GetStockObject): those are not to be deleted.
template <typename T>
struct GdiObjectTraits {
  using Type = T;
  static T invalid() noexcept { return nullptr; }
  static void release(T object) noexcept { DeleteObject(object); }
};

using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
// SetWindowRgn takes over a region when it succeeds: call release() then.
using UniqueRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;

// The device context of a window from GetDC; ReleaseDC needs that window, so
// the traits hold it.
struct WindowDcTraits {
  using Type = HDC;
  HWND window = nullptr;
  static HDC invalid() noexcept { return nullptr; }
  void release(HDC dc) const noexcept { ReleaseDC(window, dc); }
};
using WindowDc = UniqueHandle<WindowDcTraits>;

// GetDC(window), released when the result goes out of scope. Empty (false)
// when GetDC fails.
inline WindowDc getWindowDc(HWND window) {
  return WindowDc(GetDC(window), WindowDcTraits{window});
}

// A memory device context from CreateCompatibleDC, deleted with DeleteDC.
struct MemoryDcTraits {
  using Type = HDC;
  static HDC invalid() noexcept { return nullptr; }
  static void release(HDC dc) noexcept { DeleteDC(dc); }
};
using MemoryDc = UniqueHandle<MemoryDcTraits>;

// Selects `object` (a font, brush, pen or bitmap) into `dc` for the guard's
// lifetime and selects the previous object back on destruction, so that the
// object can then be deleted. The guard owns neither the DC nor the object;
// both must outlive it. A failed selection (null DC or object, or a region,
// which SelectObject copies as the clip region instead of selecting it)
// leaves the DC as it was and restores nothing.
class SelectObjectGuard {
 public:
  SelectObjectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(nullptr) {
    if (dc == nullptr || object == nullptr || GetObjectType(object) == OBJ_REGION) return;
    previous_ = SelectObject(dc, object);
    if (previous_ == HGDI_ERROR) previous_ = nullptr;
  }
  ~SelectObjectGuard() {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
  }
  SelectObjectGuard(const SelectObjectGuard&) = delete;
  SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;

  // True when the object was selected.
  explicit operator bool() const noexcept { return previous_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace quorvin
