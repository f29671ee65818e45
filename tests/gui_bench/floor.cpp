#include "tests/gui_bench/floor.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/font_record.h"
#include "app/model.h"
#include "app/project_file.h"
#include "common/win32/gdi.h"
#include "common/win32/text.h"
#include "common/win32/win32.h"
#include "common/win32/window_idioms.h"
#include "designer/outline_points.h"
#include "designer/polygon.h"
#include "designer/surface.h"

namespace quorvin {
namespace {

constexpr wchar_t kHostClass[] = L"QuorvinFloorHost";
// The design's window: a sizing frame and a caption, as the surface has.
constexpr DWORD kWindowStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW;

double nowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void registerHostClass() {
  WNDCLASSEXW host{};
  host.cbSize = sizeof host;
  host.lpfnWndProc = DefWindowProcW;
  host.hInstance = GetModuleHandleW(nullptr);
  host.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  host.lpszClassName = kHostClass;
  RegisterClassExW(&host);  // a second registration fails harmlessly
}

// The top-level window that stands for the designer's main window: made
// once, outside the timing, as the main window exists before a design is
// opened.
HWND host() {
  static HWND window = [] {
    registerHostClass();
    return CreateWindowExW(0, kHostClass, L"floor", WS_POPUP | WS_VISIBLE, 0, 0, 1180, 1000,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }();
  return window;
}

}  // namespace

double showDesignAtTheFloorMs(const std::filesystem::path& file,
                              std::vector<double>* resizeSamplesMs, int resizeRepetitions) {
  Project design;
  std::vector<DesignObject> controls;
  if (!readProject(file, design, controls)) return -1;
  const HWND parent = host();
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const int count = std::clamp<int>(design.objectCount, 0, static_cast<int>(controls.size()));
  const int points =
      design.regionMode == RegionMode::Polygon
          ? std::clamp<int>(design.pointCount, 0, static_cast<int>(design.markerPoints.size()))
          : 0;

  // Shown only while it is measured: left on the screen, it would cover the
  // designer's windows that the other benchmarks press on.
  ShowWindow(parent, SW_SHOWNA);
  UpdateWindow(parent);
  const double start = nowMs();
  const UniqueFont font(createFontFromSpec(design.font));
  const HWND window =
      CreateWindowExW(0, L"STATIC", cp932ToWide(design.title).c_str(), kWindowStyle, design.x,
                      design.y, design.width, design.height, parent, nullptr, instance, nullptr);
  for (int i = 0; i < count; ++i) {
    const DesignObject& control = controls[static_cast<std::size_t>(i)];
    const HWND child = CreateWindowExW(
        recreatedExStyleOf(control.kind), cp932ToWide(windowClassOf(control.kind)).c_str(),
        cp932ToWide(control.caption).c_str(), control.style | WS_CHILD, control.x, control.y,
        control.width, control.height, window, idAsMenu(kControlIdBase + i), instance, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  }
  std::vector<POINT> outline;
  for (int i = 0; i < points; ++i) {
    const RegionPoint& marker = design.markerPoints[static_cast<std::size_t>(i)];
    CreateWindowExW(0, L"STATIC", L"", kMarkerStyle, marker.x, marker.y, kMarkerSize, kMarkerSize,
                    parent, idAsMenu(kMarkerIdBase + i), instance, nullptr);
    // The region is relative to the window's outer corner, as the
    // designer makes it from the markers.
    outline.push_back(
        {marker.x + kMarkerSize / 2 - design.x, marker.y + kMarkerSize / 2 - design.y});
  }
  if (points >= 3) {
    UniqueRegion region(CreatePolygonRgn(outline.data(), points, WINDING));
    if (SetWindowRgn(window, region.get(), TRUE) != 0) region.release();  // the window owns it
  }
  RedrawWindow(parent, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
  const double elapsed = nowMs() - start;

  // A key release that resizes one control: the middle child 4 pixels
  // wider and back, each painted.
  if (resizeSamplesMs != nullptr && count > 0) {
    const DesignObject& middle = controls[static_cast<std::size_t>(count / 2)];
    const HWND child = GetDlgItem(window, kControlIdBase + count / 2);
    for (int i = 0; i < resizeRepetitions; ++i) {
      const double begin = nowMs();
      MoveWindow(child, middle.x, middle.y, middle.width + (i % 2 == 0 ? 4 : 0), middle.height,
                 TRUE);
      UpdateWindow(window);
      GdiFlush();
      resizeSamplesMs->push_back(nowMs() - begin);
    }
  }

  DestroyWindow(window);
  for (int i = 0; i < points; ++i)
    if (const HWND marker = GetDlgItem(parent, kMarkerIdBase + i)) DestroyWindow(marker);
  ShowWindow(parent, SW_HIDE);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  return elapsed;
}

}  // namespace quorvin
