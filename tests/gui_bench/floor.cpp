#include "tests/gui_bench/floor.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/font_record.h"
#include "app/model.h"
#include "app/project_file.h"
#include "common/win32/gdi.h"
#include "common/win32/text.h"
#include "common/win32/win32.h"
#include "common/win32/window_idioms.h"
#include "designer/arrange.h"
#include "designer/outline_points.h"
#include "designer/polygon.h"
#include "designer/repaint.h"
#include "designer/sizing.h"
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

// Paints everything the host's windows are waiting to have painted, now.
void paintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
}

// Runs `step` `repetitions` times (with the repetition's number), each
// painted, into `samplesMs`.
template <typename Step>
void timeSteps(HWND host, int repetitions, std::vector<double>& samplesMs, Step step) {
  for (int i = 0; i < repetitions; ++i) {
    const double begin = nowMs();
    step(i);
    paintNow(host);
    samplesMs.push_back(nowMs() - begin);
  }
}

// A key release resizing the middle control (with and without its two
// handles following it), and the four handles moved to its neighbour.
void timeSingleControlFloors(HWND host, HWND window, const std::vector<DesignObject>& controls,
                             const std::vector<HWND>& children, StepFloors& steps) {
  const std::size_t middle = children.size() / 2;
  const DesignObject& control = controls[middle];
  const DesignObject& next = controls[middle + 1];
  const auto widened = [&control](int i) {
    return PixelRect{control.x, control.y, control.width + (i % 2 == 0 ? 4 : 0), control.height};
  };
  const auto resize = [&](int i) {
    const PixelRect rect = widened(i);
    MoveWindow(children[middle], rect.x, rect.y, rect.width, rect.height, TRUE);
  };
  timeSteps(host, steps.repetitions, steps.resizeMs, resize);

  // The handles: made once, as the designer's surface makes them.
  std::array<HWND, 4> handles{};
  for (HWND& handle : handles)
    handle = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_NOTIFY | SS_BLACKRECT, 0, 0,
                             kSizeHandleSize, kSizeHandleSize, window, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  placeHandleWindows(handles, rectOf(control));
  paintNow(host);
  timeSteps(host, steps.repetitions, steps.resizeWithHandlesMs, [&](int i) {
    resize(i);
    placeHandleWindows(handles, widened(i));
  });
  timeSteps(host, steps.repetitions, steps.pressMs, [&](int i) {
    placeHandleWindows(handles, rectOf(i % 2 == 0 ? next : control));
  });
  for (const HWND handle : handles) DestroyWindow(handle);
  paintNow(host);
}

// Two hundred controls (half the design, if smaller) from the first quarter
// on: lined up, their hollow handles taken away, and copies of them made.
void timeSelectionFloors(HWND host, HWND window, const std::vector<DesignObject>& controls,
                         const std::vector<HWND>& children, StepFloors& steps) {
  const std::size_t count = children.size();
  const std::size_t first = count / 4;
  const std::size_t selected = std::min<std::size_t>(200, count / 2);
  const DesignObject& primary = controls[first + selected - 1];
  std::vector<PixelRect> home;
  std::vector<PixelRect> aligned;
  for (std::size_t k = first; k < first + selected; ++k) {
    home.push_back(rectOf(controls[k]));
    aligned.push_back(home.back());
    aligned.back().x = primary.x;
  }
  const std::vector<PixelRect> spaced = spaceEvenly(home, Axis::Across);
  const auto moveAll = [&](const std::vector<PixelRect>& rects) {
    for (std::size_t k = 0; k < rects.size(); ++k)
      MoveWindow(children[first + k], rects[k].x, rects[k].y, rects[k].width, rects[k].height,
                 TRUE);
  };
  for (int i = 0; i < steps.repetitions; ++i) {
    timeSteps(host, 1, steps.alignMs, [&](int) { moveAll(aligned); });
    moveAll(home);
    paintNow(host);
    timeSteps(host, 1, steps.spaceMs, [&](int) { moveAll(spaced); });
    moveAll(home);
    paintNow(host);
  }

  // The squares: one window whose region they are, as the designer draws
  // the hollow handles.
  std::vector<RECT> squares;
  for (std::size_t k = first; k < first + selected; ++k)
    for (const RegionPoint corner : sizeHandlePositions(rectOf(controls[k])))
      squares.push_back(
          {corner.x, corner.y, corner.x + kSizeHandleSize, corner.y + kSizeHandleSize});
  RECT client{};
  GetClientRect(window, &client);
  const HWND cut = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_BLACKFRAME, 0, 0,
                                   client.right, client.bottom, window, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
  for (int i = 0; i < steps.repetitions && cut != nullptr; ++i) {
    UniqueRegion region = regionOfRects(squares);
    if (SetWindowRgn(cut, region.get(), FALSE) != 0) region.release();
    SetWindowPos(cut, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    paintNow(host);
    timeSteps(host, 1, steps.squaresHiddenMs, [&](int) { ShowWindow(cut, SW_HIDE); });
  }
  if (cut != nullptr) DestroyWindow(cut);

  const HFONT font = reinterpret_cast<HFONT>(SendMessageW(children[first], WM_GETFONT, 0, 0));
  for (int i = 0; i < steps.repetitions; ++i) {
    std::vector<HWND> copies;
    timeSteps(host, 1, steps.pasteMs, [&](int) {
      for (std::size_t k = first; k < first + selected; ++k) {
        const DesignObject& control = controls[k];
        const HWND copy = CreateWindowExW(
            recreatedExStyleOf(control.kind), cp932ToWide(windowClassOf(control.kind)).c_str(),
            cp932ToWide(control.caption).c_str(), control.style | WS_CHILD, control.x + 8,
            control.y + 8, control.width, control.height, window,
            idAsMenu(kControlIdBase + static_cast<int>(count + k)), GetModuleHandleW(nullptr),
            nullptr);
        SendMessageW(copy, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        copies.push_back(copy);
      }
    });
    for (const HWND copy : copies) DestroyWindow(copy);
    paintNow(host);
  }
}

// The point markers hidden, then shown one call each, then hidden at once.
void timeMarkerFloors(HWND host, const std::vector<HWND>& markers, StepFloors& steps) {
  constexpr UINT kOnlyShow = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  for (int i = 0; i < steps.repetitions; ++i) {
    for (const HWND marker : markers)
      SetWindowPos(marker, nullptr, 0, 0, 0, 0, kOnlyShow | SWP_NOZORDER | SWP_HIDEWINDOW);
    paintNow(host);
    timeSteps(host, 1, steps.markersShownMs, [&](int) {
      for (const HWND marker : markers)
        SetWindowPos(marker, HWND_TOP, 0, 0, 0, 0, kOnlyShow | SWP_SHOWWINDOW);
    });
    timeSteps(host, 1, steps.markersHiddenMs, [&](int) { hideChildrenAtOnce(host, markers); });
  }
}

// The floors of single steps on the design shown: `window` holds the
// controls (`children`, in their order), `host` the markers. Delete runs
// last: it takes controls away.
void timeStepFloors(HWND host, HWND window, const std::vector<DesignObject>& controls,
                    std::vector<HWND>& children, const std::vector<HWND>& markers,
                    StepFloors& steps) {
  if (children.size() >= 2) {
    timeSingleControlFloors(host, window, controls, children, steps);
    timeSelectionFloors(host, window, controls, children, steps);
  }
  if (!markers.empty()) timeMarkerFloors(host, markers, steps);
  timeSteps(host, std::min<int>(steps.repetitions, static_cast<int>(children.size())),
            steps.deleteMs, [&](int) {
              DestroyWindow(children.front());
              children.erase(children.begin());
              for (std::size_t k = 0; k < children.size(); ++k)
                SetWindowLongPtrW(children[k], GWLP_ID, kControlIdBase + static_cast<LONG_PTR>(k));
            });
}

}  // namespace

double showDesignAtTheFloorMs(const std::filesystem::path& file, StepFloors* steps) {
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
  std::vector<HWND> children;
  for (int i = 0; i < count; ++i) {
    const DesignObject& control = controls[static_cast<std::size_t>(i)];
    const HWND child = CreateWindowExW(
        recreatedExStyleOf(control.kind), cp932ToWide(windowClassOf(control.kind)).c_str(),
        cp932ToWide(control.caption).c_str(), control.style | WS_CHILD, control.x, control.y,
        control.width, control.height, window, idAsMenu(kControlIdBase + i), instance, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    children.push_back(child);
  }
  std::vector<POINT> outline;
  std::vector<HWND> markers;
  for (int i = 0; i < points; ++i) {
    const RegionPoint& marker = design.markerPoints[static_cast<std::size_t>(i)];
    markers.push_back(CreateWindowExW(0, L"STATIC", L"", kMarkerStyle, marker.x, marker.y,
                                      kMarkerSize, kMarkerSize, parent,
                                      idAsMenu(kMarkerIdBase + i), instance, nullptr));
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

  if (steps != nullptr) timeStepFloors(parent, window, controls, children, markers, *steps);

  DestroyWindow(window);
  for (const HWND marker : markers) DestroyWindow(marker);
  ShowWindow(parent, SW_HIDE);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  return elapsed;
}

}  // namespace quorvin
