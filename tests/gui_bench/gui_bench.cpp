// Benchmarks of the real program's windows on a large design (1,000
// controls): opening the project, one step of a drag (the handling of one
// mouse move while a control is moved), the release that ends a move, and
// one key release in the property fields; and the same drag step with 200
// controls selected, lining them up and pasting them. Each step is timed on its own,
// first the program's handling of the message, then with the painting it
// causes, since that is what the user waits for.
//
// Not a test: run it by hand under Wine with tests/gui_bench/run.sh (see
// docs/performance.md). It starts the designer in the current folder, which
// must hold code.txt, setting.ini and the nine tool bitmaps.
//
//   quorvin_gui_bench.exe [--controls=N] [--repetitions=N] [--skip-open]
//                         [--only=GROUP]
//
// --only runs one group of rows, for quicker rounds while working on it:
// open, single (press, click, drag step, key releases, undo and redo),
// order, selection (200 selected: drag step, align, space, paste), delete,
// outline.
//
// Also: a press and a click that select, Delete, and on the design with an
// outline the markers shown and hidden and a marker dragged and released.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/model.h"
#include "app/model_win32.h"
#include "app/own_settings.h"
#include "app/project_file.h"
#include "common/cp932.h"
#include "designer/design_changes.h"
#include "designer/edit_history.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/placement.h"
#include "designer/polygon.h"
#include "designer/selection_commands.h"
#include "designer/surface.h"
#include "designer/surface_aids.h"
#include "tests/gui_bench/floor.h"
#include "tests/win32/held_keys.h"

namespace quorvin {
namespace {

// ---- Timing harness --------------------------------------------------------

double nowMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / ticksPerMs;
}

// One row of the table: the times of every repetition, in milliseconds.
struct Row {
  std::string name;
  std::vector<double> samplesMs;
};

double quantile(std::vector<double> sorted, double q) {
  std::sort(sorted.begin(), sorted.end());
  const double position = q * static_cast<double>(sorted.size() - 1);
  const std::size_t below = static_cast<std::size_t>(position);
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (sorted[above] - sorted[below]) * (position - static_cast<double>(below));
}

void printTable(const std::vector<Row>& rows) {
  std::printf("\n%-46s %5s %10s %10s %10s %10s\n", "step", "reps", "median ms", "min ms",
              "max ms", "IQR ms");
  for (const Row& row : rows) {
    if (row.samplesMs.empty()) continue;
    const auto [min, max] = std::minmax_element(row.samplesMs.begin(), row.samplesMs.end());
    std::printf("%-46s %5zu %10.3f %10.3f %10.3f %10.3f\n", row.name.c_str(),
                row.samplesMs.size(), quantile(row.samplesMs, 0.5), *min, *max,
                quantile(row.samplesMs, 0.75) - quantile(row.samplesMs, 0.25));
  }
  std::fflush(stdout);
}

// ---- Driving the program ---------------------------------------------------

// Dispatches every waiting message (a quit message is dropped: the
// designer's loop is not running here).
void pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Paints everything that is waiting to be painted, now: what the user sees
// only once this is done.
void paintNow() {
  RedrawWindow(mainWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  pump();
}

POINT screenOf(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return p;
}

// A mouse message as the system would send it for the cursor at `screen`.
void sendMouse(UINT message, WPARAM buttons, POINT screen) {
  SetCursorPos(screen.x, screen.y);
  const HWND target = WindowFromPoint(screen);
  if (target == nullptr) return;
  POINT client = screen;
  ScreenToClient(target, &client);
  SendMessageW(target, message, buttons, MAKELPARAM(client.x, client.y));
}

// ---- The design --------------------------------------------------------------

constexpr int kColumns = 40;
constexpr int kCellWidth = 22;
constexpr int kCellHeight = 20;
constexpr int kControlWidth = 20;
constexpr int kControlHeight = 16;

// `count` controls of every kind in a grid of 40 columns, all inside the
// visible surface, with ordinary captions and identifier names; optionally
// a 500-point outline (a rounded rectangle around the grid).
void writeDesign(const std::filesystem::path& file, int count, bool outline) {
  // Every kind with the style a new control of it gets.
  const auto kinds = placementTable();
  const int rows = (count + kColumns - 1) / kColumns;
  Project p;
  p.title = utf8ToCp932("性能測定");
  p.className = "BenchWindow";
  p.font = defaultFontSpec();
  p.x = 10;
  p.y = 10;
  p.width = kColumns * kCellWidth + 60;
  p.height = rows * kCellHeight + 80;
  std::vector<DesignObject> list(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const PlacementDefaults& ks = kinds[static_cast<std::size_t>(i) % kinds.size()];
    DesignObject& o = list[static_cast<std::size_t>(i)];
    o.kind = ks.kind;
    o.style = ks.style;
    o.x = 20 + (i % kColumns) * kCellWidth;
    o.y = 20 + (i / kColumns) * kCellHeight;
    o.width = kControlWidth;
    o.height = kControlHeight;
    if (ks.kind != ObjectKind::LISTBOX) o.caption = "Item" + std::to_string(i);
    o.idName = "ID_ITEM_" + std::to_string(i);
  }
  p.objectCount = count;
  if (outline) {
    // |x/a|^4 + |y/b|^4 = 1 holds the grid with room to spare.
    constexpr int kPoints = 500;
    const double a = p.width / 2.0 * 1.19 + 20, b = p.height / 2.0 * 1.19 + 20;
    const double cx = a + 20, cy = b + 40;
    p.regionMode = RegionMode::Polygon;
    p.growPointArrays(kPoints + 10);
    p.pointCount = kPoints;
    for (int i = 0; i < kPoints; ++i) {
      const double angle = 2 * 3.14159265358979 * i / kPoints;
      const double c = std::cos(angle), s = std::sin(angle);
      p.markerPoints[static_cast<std::size_t>(i)] = {
          static_cast<std::int32_t>(std::lround(cx + a * std::copysign(std::sqrt(std::abs(c)), c))) - 10,
          static_cast<std::int32_t>(std::lround(cy + b * std::copysign(std::sqrt(std::abs(s)), s))) - 10};
    }
  }
  if (!saveProject(file, p, list)) {
    std::fprintf(stderr, "cannot write %s\n", file.string().c_str());
    std::exit(2);
  }
}

void closeProject() {
  if (project.surface != 0) DestroyWindow(surfaceWindow());
  pump();
}

bool openDesign(const std::filesystem::path& file) {
  const bool opened = openProject(file);
  paintNow();
  return opened;
}

POINT centreOf(int index) {
  const DesignObject& o = objects[static_cast<std::size_t>(index)];
  return screenOf(surfaceWindow(), o.x + o.width / 2, o.y + o.height / 2);
}

// ---- The benchmarks ----------------------------------------------------------

// The platform's own share of opening `file` (see floor.h), run between the
// designer's steps so that both see the machine as it is at that moment.
Row benchFloor(const std::filesystem::path& file, const char* name, int repetitions) {
  Row row{name, {}};
  for (int i = 0; i < repetitions; ++i) {
    const double ms = showDesignAtTheFloorMs(file);
    if (ms < 0) {
      std::fprintf(stderr, "cannot read %s\n", file.string().c_str());
      std::exit(2);
    }
    row.samplesMs.push_back(ms);
  }
  return row;
}

// The platform's share of single steps on the design in `file` (see
// floor.h), each repeated `repetitions` times.
StepFloors stepFloors(const std::filesystem::path& file, int repetitions) {
  StepFloors floors;
  floors.repetitions = repetitions;
  showDesignAtTheFloorMs(file, &floors);
  paintNow();
  return floors;
}

Row benchOpen(const std::filesystem::path& file, const char* name, int repetitions) {
  Row row{name, {}};
  for (int i = 0; i < repetitions; ++i) {
    closeProject();
    const double start = nowMs();
    if (!openDesign(file)) {
      std::fprintf(stderr, "cannot open %s\n", file.string().c_str());
      std::exit(2);
    }
    row.samplesMs.push_back(nowMs() - start);
  }
  return row;
}

// With a control pressed (moving), one mouse move by one pixel, back and
// forth: the handler alone, then handler and painting.
void benchDragStep(int index, int repetitions, std::vector<Row>& rows) {
  const POINT centre = centreOf(index);
  sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, centre);
  paintNow();
  if (currentTool != ToolCode::Moving) {
    wchar_t className[64] = L"";
    GetClassNameW(WindowFromPoint(centre), className, 64);
    std::fprintf(stderr, "the press did not start a move (tool %d, target %p %ls, control %p)\n",
                 static_cast<int>(currentTool), static_cast<void*>(WindowFromPoint(centre)), className,
                 static_cast<void*>(asHwnd(objects[static_cast<std::size_t>(index)].window)));
    std::exit(2);
  }
  Row handler{"drag step: mouse move handled", {}};
  Row painted{"drag step: handled and painted", {}};
  POINT at = centre;
  for (int i = 0; i < repetitions; ++i) {
    at.x += (i % 2 == 0) ? 1 : -1;
    const double start = nowMs();
    sendMouse(WM_MOUSEMOVE, MK_LBUTTON, at);
    const double handled = nowMs();
    paintNow();
    const double end = nowMs();
    handler.samplesMs.push_back(handled - start);
    painted.samplesMs.push_back(end - start);
  }
  // The release that ends it repaints every place the move went through;
  // each later repetition moves by a pixel first (a release without a move
  // is a click, with nothing to repaint).
  Row release{"release ending a move, painted", {}};
  for (int i = 0; i < std::max(1, repetitions / 10); ++i) {
    if (i > 0) {
      sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, at);
      at.x += (i % 2 == 0) ? 1 : -1;
      sendMouse(WM_MOUSEMOVE, MK_LBUTTON, at);
      paintNow();
    }
    const double start = nowMs();
    sendMouse(WM_LBUTTONUP, 0, at);
    paintNow();
    release.samplesMs.push_back(nowMs() - start);
  }
  rows.push_back(std::move(handler));
  rows.push_back(std::move(painted));
  rows.push_back(std::move(release));
}

// One key release in the W field, its text switching between two widths:
// with a control selected the control is resized; with nothing selected the
// designed window (the surface) is.
Row benchKeyRelease(const char* name, int repetitions, int widthA, int widthB) {
  const HWND field = GetDlgItem(toolWindow, kWidthFieldId);
  // The user clicks into the field and types: one visit, whose keys make
  // one undo step.
  SetFocus(field);
  Row row{name, {}};
  for (int i = 0; i < repetitions; ++i) {
    SetWindowTextW(field, std::to_wstring(i % 2 == 0 ? widthA : widthB).c_str());
    paintNow();
    const double start = nowMs();
    SendMessageW(field, WM_KEYUP, '0', 0xC0000001);
    paintNow();
    row.samplesMs.push_back(nowMs() - start);
  }
  return row;
}

// Undo and redo of one step, alternately: the step taken back and made
// again, each with its painting.
void benchUndoRedo(const char* what, int repetitions, std::vector<Row>& rows) {
  Row undo{std::string("undo of ") + what + ", painted", {}};
  Row redo{std::string("redo of ") + what + ", painted", {}};
  for (int i = 0; i < repetitions; ++i) {
    double start = nowMs();
    if (!undoDesign()) {
      std::fprintf(stderr, "nothing to undo\n");
      std::exit(2);
    }
    paintNow();
    undo.samplesMs.push_back(nowMs() - start);
    start = nowMs();
    redoDesign();
    paintNow();
    redo.samplesMs.push_back(nowMs() - start);
  }
  rows.push_back(std::move(undo));
  rows.push_back(std::move(redo));
}

// Bring to front and send to back of one control, alternately (each
// renumbers and restacks the controls after the first that moves), then
// order by position (which puts the control sent to the back in its place
// again, restacking every control) and its undo, each painted.
void benchOrder(int index, int repetitions, std::vector<Row>& rows) {
  sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, centreOf(index));
  sendMouse(WM_LBUTTONUP, 0, centreOf(index));
  paintNow();
  Row front{"bring to front, painted", {}};
  Row back{"send to back, painted", {}};
  for (int i = 0; i < repetitions; ++i) {
    double start = nowMs();
    bringSelectionToFront();
    paintNow();
    front.samplesMs.push_back(nowMs() - start);
    start = nowMs();
    sendSelectionToBack();
    paintNow();
    back.samplesMs.push_back(nowMs() - start);
  }
  Row byPosition{"order by position, painted", {}};
  Row undoOrder{"undo of order by position, painted", {}};
  for (int i = 0; i < repetitions; ++i) {
    double start = nowMs();
    orderControlsByPosition();
    paintNow();
    byPosition.samplesMs.push_back(nowMs() - start);
    start = nowMs();
    undoDesign();
    paintNow();
    undoOrder.samplesMs.push_back(nowMs() - start);
  }
  rows.push_back(std::move(front));
  rows.push_back(std::move(back));
  rows.push_back(std::move(byPosition));
  rows.push_back(std::move(undoOrder));
}

// A selection of 200 controls (half the design, if smaller): one step of
// dragging them all, then two Layout commands and a paste of them, each
// undone again before the next repetition.
void benchSelection(int count, int repetitions, std::vector<Row>& rows) {
  const int size = std::min(200, count / 2);
  std::vector<std::int32_t> indices;
  for (int i = 0; i < size; ++i) indices.push_back(count / 4 + i);
  selectControls(indices, indices.back());
  refillFields();
  showSelectionHandles();
  paintNow();
  const POINT centre = centreOf(indices.back());
  sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, centre);
  paintNow();
  if (currentTool != ToolCode::Moving || selectedControls().size() != indices.size()) {
    std::fprintf(stderr, "the press did not start moving the selection\n");
    std::exit(2);
  }
  const std::string label = std::to_string(size) + " selected";
  Row handler{"drag step, " + label + ": mouse move handled", {}};
  Row painted{"drag step, " + label + ": handled and painted", {}};
  POINT at = centre;
  for (int i = 0; i < repetitions * 10; ++i) {
    at.x += (i % 2 == 0) ? 1 : -1;
    const double start = nowMs();
    sendMouse(WM_MOUSEMOVE, MK_LBUTTON, at);
    const double handled = nowMs();
    paintNow();
    const double end = nowMs();
    handler.samplesMs.push_back(handled - start);
    painted.samplesMs.push_back(end - start);
  }
  sendMouse(WM_LBUTTONUP, 0, at);
  paintNow();
  // Each command timed handled, then with the painting it causes.
  const auto timed = [&](const std::string& name, const auto& step) {
    Row handled{name + ", handled", {}};
    Row shown{name + ", painted", {}};
    for (int i = 0; i < repetitions; ++i) {
      const double start = nowMs();
      step();
      const double done = nowMs();
      paintNow();
      handled.samplesMs.push_back(done - start);
      shown.samplesMs.push_back(nowMs() - start);
      undoDesign();
      paintNow();
    }
    rows.push_back(std::move(handled));
    rows.push_back(std::move(shown));
  };
  rows.push_back(std::move(handler));
  rows.push_back(std::move(painted));
  timed("align lefts, " + label, [] { arrangeSelection(ArrangeCommand::AlignLefts); });
  timed("space evenly across, " + label, [] { arrangeSelection(ArrangeCommand::SpaceAcross); });
  copySelection();
  timed("paste of " + label, [] { pasteControls(); });
}

// Press and release on a control (alternately two): the press selects it,
// the release ends the (empty) move. The press alone, then the whole click.
void benchClick(int a, int b, int repetitions, std::vector<Row>& rows) {
  Row press{"press on a control, painted", {}};
  Row click{"click that selects, painted", {}};
  for (int i = 0; i < repetitions; ++i) {
    const POINT at = centreOf(i % 2 == 0 ? a : b);
    const double start = nowMs();
    sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, at);
    paintNow();
    const double pressed = nowMs();
    sendMouse(WM_LBUTTONUP, 0, at);
    paintNow();
    press.samplesMs.push_back(pressed - start);
    click.samplesMs.push_back(nowMs() - start);
  }
  rows.push_back(std::move(press));
  rows.push_back(std::move(click));
}

// The first control selected, then Delete (the key as the main window gets
// it): every later control is renumbered.
Row benchDelete(const char* name, int repetitions) {
  Row row{name, {}};
  for (int i = 0; i < repetitions && project.objectCount > 1; ++i) {
    sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, centreOf(0));
    sendMouse(WM_LBUTTONUP, 0, centreOf(0));
    paintNow();
    const double start = nowMs();
    SendMessageW(mainWindow, WM_KEYDOWN, VK_DELETE, 0);
    paintNow();
    row.samplesMs.push_back(nowMs() - start);
  }
  return row;
}

// With the outline's markers shown (a press on the surface's background),
// a point marker is pressed, dragged by one pixel back and forth, and
// released, which rebuilds the outline and cuts the surface again.
void benchMarker(int repetitions, std::vector<Row>& rows) {
  Row step{"marker drag step, painted", {}};
  Row release{"marker release (outline rebuilt), painted", {}};
  const std::vector<HWND> markers = pointMarkers();
  if (markers.empty()) return;
  // A marker on the outline's top edge: moving it by a pixel keeps the
  // surface's rectangle.
  // (The points go clockwise on the screen from the right: the top one is
  // three quarters along, and stays inside the main window at any size.)
  const HWND marker = markers[markers.size() * 3 / 4];
  for (int i = 0; i < repetitions; ++i) {
    RECT frame{};
    GetWindowRect(marker, &frame);
    POINT at{frame.left + 10, frame.top + 10};
    sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, at);
    paintNow();
    for (int j = 0; j < 4; ++j) {
      at.x += (j % 2 == 0) ? 1 : -1;
      const double start = nowMs();
      sendMouse(WM_MOUSEMOVE, MK_LBUTTON, at);
      paintNow();
      step.samplesMs.push_back(nowMs() - start);
    }
    at.x += (i % 2 == 0) ? 1 : -1;
    sendMouse(WM_MOUSEMOVE, MK_LBUTTON, at);
    paintNow();
    const double start = nowMs();
    sendMouse(WM_LBUTTONUP, 0, at);
    paintNow();
    release.samplesMs.push_back(nowMs() - start);
  }
  rows.push_back(std::move(step));
  rows.push_back(std::move(release));
}

// A press on the surface's background shows the outline's 500 markers; a
// press on a control hides them again.
void benchMarkersShownAndHidden(int index, int repetitions, std::vector<Row>& rows) {
  Row shown{"press on the background, markers shown", {}};
  Row hidden{"press on a control, markers hidden", {}};
  const POINT background = screenOf(surfaceWindow(), project.width / 2, 4);
  for (int i = 0; i < repetitions; ++i) {
    double start = nowMs();
    sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, background);
    sendMouse(WM_LBUTTONUP, 0, background);
    paintNow();
    shown.samplesMs.push_back(nowMs() - start);
    start = nowMs();
    sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, centreOf(index));
    sendMouse(WM_LBUTTONUP, 0, centreOf(index));
    paintNow();
    hidden.samplesMs.push_back(nowMs() - start);
  }
  rows.push_back(std::move(shown));
  rows.push_back(std::move(hidden));
}

// One control at a time: press and click, the drag step, the key releases
// with their floor, undo and redo of a move and of a deletion, the drag
// step again with Alt and with the grid.
void benchSingleControl(const std::filesystem::path& plain, int middle, int repetitions,
                        std::vector<Row>& rows) {
  benchClick(middle, middle + 1, repetitions * 3, rows);
  benchDragStep(middle, repetitions * 10, rows);

  // The control is selected (the move ended): the fields apply to it.
  rows.push_back(benchKeyRelease("key release, control selected, painted", repetitions * 3,
                                 kControlWidth + 4, kControlWidth));
  {
    // Their floors: the platform resizing one of as many controls, with and
    // without the handles that follow it, moving the handles as a press
    // does, and a Delete's destruction and renumbering.
    const StepFloors floors = stepFloors(plain, repetitions * 3);
    rows.push_back({"floor: one control resized among them, painted", floors.resizeMs});
    rows.push_back({"floor: the same with its two handles", floors.resizeWithHandlesMs});
    rows.push_back({"floor: four handles to the next control", floors.pressMs});
    rows.push_back({"floor: Delete (destroyed, later renumbered)", floors.deleteMs});
  }
  {
    // The same key on the last control, in the grid's bottom-right corner:
    // its moving handles cover no neighbour (in the grid the handles of
    // the others reach 3 pixels into the next control), as in a design
    // whose controls stand apart.
    const int last = project.objectCount - 1;
    sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, centreOf(last));
    sendMouse(WM_LBUTTONUP, 0, centreOf(last));
    paintNow();
    rows.push_back(benchKeyRelease("key release, control standing apart, painted",
                                   repetitions * 3, kControlWidth + 4, kControlWidth));
  }
  // A move of one control, one step; then the deletion of the first
  // control, whose undo gives every later control its id back.
  const POINT moved = centreOf(middle);
  sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, moved);
  sendMouse(WM_MOUSEMOVE, MK_LBUTTON, {moved.x + 3, moved.y + 2});
  sendMouse(WM_LBUTTONUP, 0, {moved.x + 3, moved.y + 2});
  paintNow();
  benchUndoRedo("a move", repetitions * 3, rows);
  sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, centreOf(0));
  sendMouse(WM_LBUTTONUP, 0, centreOf(0));
  SendMessageW(mainWindow, WM_KEYDOWN, VK_DELETE, 0);
  paintNow();
  benchUndoRedo("a deletion", repetitions * 3, rows);
  // The design is selected again by the redo (nothing selected): the
  // control in the middle is selected for the key releases below.
  sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, centreOf(middle));
  sendMouse(WM_LBUTTONUP, 0, centreOf(middle));
  paintNow();
  // A press on the background selects nothing: the fields apply to the
  // designed window.
  sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, screenOf(surfaceWindow(), 5, 5));
  sendMouse(WM_LBUTTONUP, 0, screenOf(surfaceWindow(), 5, 5));
  paintNow();
  rows.push_back(benchKeyRelease("key release, window, painted", repetitions,
                                 project.width + 10, project.width));
  // The drag step again, side by side: with Alt held (placed freely, no
  // snap lines), then with the grid shown and snapping.
  const auto dragStepAgain = [&](const char* suffix) {
    std::vector<Row> again;
    benchDragStep(middle, repetitions * 10, again);
    for (Row& row : again) {
      row.name += suffix;
      rows.push_back(std::move(row));
    }
  };
  {
    const AltHeld alt;
    dragStepAgain(" (Alt)");
  }
  ownSettings.gridVisible = true;
  ownSettings.gridSnap = true;
  gridSettingsChanged();
  paintNow();
  dragStepAgain(" (grid)");
  ownSettings.gridVisible = false;
  ownSettings.gridSnap = false;
  gridSettingsChanged();
  paintNow();
}

int intOption(int argc, wchar_t** argv, const wchar_t* name, int fallback) {
  const std::size_t length = std::wcslen(name);
  for (int i = 1; i < argc; ++i)
    if (std::wcsncmp(argv[i], name, length) == 0) return std::max(1, _wtoi(argv[i] + length));
  return fallback;
}

int run(int argc, wchar_t** argv) {
  const int count = intOption(argc, argv, L"--controls=", 1000);
  const int repetitions = intOption(argc, argv, L"--repetitions=", 7);
  if (!startDesigner(GetModuleHandleW(nullptr), SW_SHOWNORMAL)) {
    std::fprintf(stderr, "the designer did not start (are the bitmaps in the current folder?)\n");
    return 2;
  }
  // Room for the whole design; the palette beside it.
  MoveWindow(mainWindow, 0, 0, 1180, 1000, TRUE);
  SetWindowPos(toolWindow, nullptr, 1185, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pump();

  const auto plain = std::filesystem::current_path() / "bench-plain.mwd";
  const auto outlined = std::filesystem::current_path() / "bench-outline.mwd";
  writeDesign(plain, count, false);
  writeDesign(outlined, count, true);
  std::printf("%d controls, %d repetitions (more for the short steps)\n", count, repetitions);

  std::vector<Row> rows;
  // --skip-open: the opens take most of a run at 2,000 controls.
  bool skipOpen = false;
  std::wstring only;
  for (int i = 1; i < argc; ++i) {
    skipOpen = skipOpen || std::wcscmp(argv[i], L"--skip-open") == 0;
    if (std::wcsncmp(argv[i], L"--only=", 7) == 0) only = argv[i] + 7;
  }
  const auto wanted = [&](const wchar_t* group) { return only.empty() || only == group; };
  if (!skipOpen && wanted(L"open")) {
    rows.push_back(benchFloor(plain, "floor: the platform shows the design", repetitions));
    rows.push_back(benchOpen(plain, "open, painted", repetitions));
    rows.push_back(benchFloor(outlined, "floor: the same with the outline", repetitions));
    rows.push_back(benchOpen(outlined, "open with a 500-point outline, painted", repetitions));
  }

  openDesign(plain);
  const int middle = count / 2;
  if (wanted(L"single")) benchSingleControl(plain, middle, repetitions, rows);
  if (wanted(L"order")) benchOrder(middle, repetitions, rows);
  if (wanted(L"selection")) {
    benchSelection(count, repetitions, rows);
    // Their floors: the platform moving and making as many controls.
    const StepFloors floors = stepFloors(plain, repetitions);
    const std::string label = std::to_string(std::min(200, count / 2)) + " controls";
    rows.push_back({"floor: " + label + " moved (align)", floors.alignMs});
    rows.push_back({"floor: " + label + " spaced evenly across", floors.spaceMs});
    rows.push_back({"floor: hollow handles of " + label + " hidden", floors.squaresHiddenMs});
    rows.push_back({"floor: " + label + " made (paste)", floors.pasteMs});
  }

  // The first controls deleted one after the other.
  if (wanted(L"delete")) rows.push_back(benchDelete("Delete, painted", repetitions));

  // The outline: markers shown and hidden, a marker dragged and released,
  // a click on a control, the fields with a control and with a point.
  if (wanted(L"outline")) {
    openDesign(outlined);
    const int inOutline = std::min(middle, project.objectCount - 1);
    benchMarkersShownAndHidden(inOutline, repetitions, rows);
    sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, screenOf(surfaceWindow(), project.width / 2, 4));
    sendMouse(WM_LBUTTONUP, 0, screenOf(surfaceWindow(), project.width / 2, 4));
    paintNow();
    benchMarker(repetitions, rows);
    benchClick(inOutline, inOutline + 1, repetitions * 3, rows);
    rows[rows.size() - 2].name = "outline: press on a control, painted";
    rows[rows.size() - 1].name = "outline: click that selects, painted";
    rows.push_back(benchKeyRelease("outline: key release, control selected, painted",
                                   repetitions * 3, kControlWidth + 4, kControlWidth));
    // The floors of the same steps on the design with the outline.
    const StepFloors floors = stepFloors(outlined, repetitions * 3);
    rows.push_back({"floor, outline: markers shown", floors.markersShownMs});
    rows.push_back({"floor, outline: markers hidden", floors.markersHiddenMs});
    rows.push_back({"floor, outline: four handles to the next control", floors.pressMs});
    rows.push_back({"floor, outline: resized with its two handles", floors.resizeWithHandlesMs});
  }
  printTable(rows);

  closeProject();
  DestroyWindow(mainWindow);
  pump();
  std::filesystem::remove(plain);
  std::filesystem::remove(outlined);
  return 0;
}

}  // namespace
}  // namespace quorvin

int wmain(int argc, wchar_t** argv) { return quorvin::run(argc, argv); }
