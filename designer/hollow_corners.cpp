// The hollow corners of the selected controls other than the primary one:
// one see-through window cut to the squares, and the pixels it covers kept
// while it shows.

#include "designer/hollow_corners.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "common/win32/gdi.h"
#include "common/win32/window_idioms.h"
#include "designer/repaint.h"
#include "designer/sizing.h"

namespace quorvin {

namespace {

constexpr wchar_t kHollowCornersClass[] = L"QuorvinHollowCorners";

// Made as needed, destroyed with its parent, the surface.
HWND cornersWindow = nullptr;
std::vector<RECT> squares;  // in cornersWindow's client coordinates
bool cornersShown = false;

// What the squares cover, as it was when they were shown. Valid until
// something on the surface draws (surfacePixelsChanged).
struct KeptPixels {
  UniqueBitmap bitmap;
  SIZE size{};           // of the bitmap, pixels
  RECT at{};             // where the pixels were taken, in the surface's client coordinates
  UniqueRegion squares;  // the squares, in the surface's client coordinates
  bool valid = false;
};
KeptPixels kept;

LRESULT paintHollowCorners(HWND window) {
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(window, &paint);
  const HBRUSH border = GetSysColorBrush(COLOR_WINDOWFRAME);
  const HBRUSH inside = GetSysColorBrush(COLOR_WINDOW);
  for (const RECT& square : squares) {
    RECT common{};
    if (IntersectRect(&common, &square, &paint.rcPaint) == FALSE) continue;
    FrameRect(dc, &square, border);
    RECT inner = square;
    InflateRect(&inner, -1, -1);
    FillRect(dc, &inner, inside);
  }
  EndPaint(window, &paint);
  return 0;
}

HWND cornersWindowOf(HWND surface) {
  if (cornersWindow != nullptr && IsWindow(cornersWindow) && GetParent(cornersWindow) == surface)
    return cornersWindow;
  if (!windowClassReady(kHollowCornersClass, seeThroughProc<paintHollowCorners>)) return nullptr;
  cornersWindow = CreateWindowExW(0, kHollowCornersClass, L"", WS_CHILD, 0, 0, 0, 0, surface,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
  cornersShown = false;
  return cornersWindow;
}

// The surface's pixels with the controls on it, but without the windows
// beside the surface (the outline's markers) that may lie over it.
WindowDc surfacePixelsDc(HWND surface) {
  return WindowDc(GetDCEx(surface, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS),
                  WindowDcTraits{surface});
}

// Keeps the pixels of `at` on `surface`; `squaresOnSurface` is what will be
// put back of them.
void keepPixels(HWND surface, const RECT& at, UniqueRegion squaresOnSurface) {
  kept.valid = false;
  const WindowDc screen = surfacePixelsDc(surface);
  if (!screen || !squaresOnSurface) return;
  const LONG width = at.right - at.left;
  const LONG height = at.bottom - at.top;
  if (!kept.bitmap || kept.size.cx < width || kept.size.cy < height) {
    kept.bitmap.reset(CreateCompatibleBitmap(screen.get(), width, height));
    kept.size = kept.bitmap ? SIZE{width, height} : SIZE{};
    if (!kept.bitmap) return;
  }
  const MemoryDc memory(CreateCompatibleDC(screen.get()));
  const SelectObjectGuard chosen(memory.get(), kept.bitmap.get());
  if (!chosen ||
      BitBlt(memory.get(), 0, 0, width, height, screen.get(), at.left, at.top, SRCCOPY) == FALSE)
    return;
  kept.at = at;
  kept.squares = std::move(squaresOnSurface);
  kept.valid = true;
}

// Hides the window without a repaint and draws the kept pixels where its
// squares were. False, with the window left as it was, when that cannot be
// done.
bool hideAndPutBackPixels(HWND surface) {
  if (!kept.valid || !kept.bitmap || !kept.squares) return false;
  kept.valid = false;
  const WindowDc screen = surfacePixelsDc(surface);
  if (!screen) return false;
  const MemoryDc memory(CreateCompatibleDC(screen.get()));
  const SelectObjectGuard chosen(memory.get(), kept.bitmap.get());
  if (!chosen) return false;
  SetWindowPos(cornersWindow, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW |
                   SWP_NOREDRAW);
  SelectClipRgn(screen.get(), kept.squares.get());
  const BOOL drawn = BitBlt(screen.get(), kept.at.left, kept.at.top, kept.at.right - kept.at.left,
                            kept.at.bottom - kept.at.top, memory.get(), 0, 0, SRCCOPY);
  SelectClipRgn(screen.get(), nullptr);
  if (drawn == FALSE)
    RedrawWindow(surface, nullptr, kept.squares.get(),
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  return true;
}

}  // namespace

void showHollowCorners(HWND surface, std::span<const RegionPoint> corners) {
  hideHollowCorners();
  if (corners.empty()) return;
  const HWND window = cornersWindowOf(surface);
  if (window == nullptr) return;
  RECT bounds{corners.front().x, corners.front().y, corners.front().x, corners.front().y};
  for (const RegionPoint corner : corners) {
    bounds.left = std::min<LONG>(bounds.left, corner.x);
    bounds.top = std::min<LONG>(bounds.top, corner.y);
    bounds.right = std::max<LONG>(bounds.right, corner.x + kSizeHandleSize);
    bounds.bottom = std::max<LONG>(bounds.bottom, corner.y + kSizeHandleSize);
  }
  // The region is the squares, relative to the window's rectangle around them.
  squares.clear();
  for (const RegionPoint corner : corners)
    squares.push_back({corner.x - bounds.left, corner.y - bounds.top,
                       corner.x - bounds.left + kSizeHandleSize,
                       corner.y - bounds.top + kSizeHandleSize});
  UniqueRegion region = regionOfRects(squares);
  if (!region) return;
  UniqueRegion onSurface(CreateRectRgn(0, 0, 0, 0));
  if (onSurface && CombineRgn(onSurface.get(), region.get(), nullptr, RGN_COPY) != ERROR)
    OffsetRgn(onSurface.get(), bounds.left, bounds.top);
  // What the squares will cover, as it shows once the painting waiting on
  // the surface is done.
  RedrawWindow(surface, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  keepPixels(surface, bounds, std::move(onSurface));
  if (SetWindowRgn(window, region.get(), FALSE) == 0) {
    kept.valid = false;
    return;
  }
  region.release();  // the window owns it now
  // At the bottom of the stacking, as the surface's marks: the controls do
  // not clip their siblings and overlapping siblings are painted from the
  // top down, so the lowest is painted last and its squares show whole over
  // the corners of the controls. Clicks pass through it whatever its place.
  SetWindowPos(window, HWND_BOTTOM, bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  cornersShown = true;
}

void hideHollowCorners() {
  const bool wasShown = std::exchange(cornersShown, false);
  if (!wasShown || cornersWindow == nullptr || !IsWindow(cornersWindow)) {
    kept.valid = false;
    return;
  }
  const HWND surface = GetParent(cornersWindow);
  if (hideAndPutBackPixels(surface)) return;
  ShowWindow(cornersWindow, SW_HIDE);
  // What they covered is painted now: a control moved next would otherwise
  // take its new place under the surface's pending erase.
  RedrawWindow(surface, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void surfacePixelsChanged() { kept.valid = false; }

void forgetHollowCorners() {
  cornersWindow = nullptr;
  cornersShown = false;
  squares.clear();
  kept = KeptPixels{};
}

}  // namespace quorvin
