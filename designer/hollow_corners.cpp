// The hollow corners of the selected controls other than the primary one:
// one see-through window cut to the squares.

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
  if (!region || SetWindowRgn(window, region.get(), FALSE) == 0) return;
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
  // What they covered is repainted by the system.
  if (std::exchange(cornersShown, false) && cornersWindow != nullptr && IsWindow(cornersWindow))
    ShowWindow(cornersWindow, SW_HIDE);
}

void forgetHollowCorners() {
  cornersWindow = nullptr;
  cornersShown = false;
  squares.clear();
}

}  // namespace quorvin
