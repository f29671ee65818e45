// A large design in the real program: 2,000 controls of every kind and a
// 500-point outline, opened through the menu, a control selected and
// dragged, the first control deleted (every later control renumbered), a
// point dragged, a control resized in the fields, saved, opened again and
// written as code, with nothing lost on the way; the same design without
// the outline resized in the fields. After each step the screen shows what
// a repaint of everything would show.
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/model.h"
#include "app/model_win32.h"
#include "app/project_file.h"
#include "app/settings_file.h"
#include "codegen/code_output.h"
#include "common/cp932.h"
#include "common/file_io.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/outline_points.h"
#include "designer/placement.h"
#include "designer/polygon.h"
#include "designer/surface.h"
#include "resources/resource.h"
#include "tests/gui/gui_support.h"
#include "tests/win32/held_keys.h"
#include "tests/win32/screen_capture.h"

namespace quorvin::gui {
namespace {

constexpr int kControls = 2000;
constexpr int kPoints = 500;

// The controls lie in a grid of 50 columns and 40 rows of 18 x 14 pixel
// cells, each control 16 x 12: none overlaps another, and the centre of a
// selected control stays clear of its size handles (10 x 10 on its
// corners), so that a drag that starts there keeps the cursor on it.
constexpr int kColumns = 50;
constexpr int kRows = kControls / kColumns;
constexpr int kCellWidth = 18;
constexpr int kCellHeight = 14;
constexpr int kControlWidth = 16;
constexpr int kControlHeight = 12;
constexpr int kGridWidth = kColumns * kCellWidth;   // 900
constexpr int kGridHeight = kRows * kCellHeight;    // 560
// The outline is a rounded rectangle around the grid, |x/a|^4 + |y/b|^4 = 1
// (which holds a rectangle of half sizes a / 2^(1/4), b / 2^(1/4)), with
// 30 pixels to spare; its vertices lie in the main window's client area.
constexpr double kFourthRootOfTwo = 1.189207;
constexpr int kRadiusX = static_cast<int>(kGridWidth / 2 * kFourthRootOfTwo) + 30;   // 565
constexpr int kRadiusY = static_cast<int>(kGridHeight / 2 * kFourthRootOfTwo) + 30;  // 362
constexpr int kCentreX = 590;  // main-window client coordinates
constexpr int kCentreY = 400;

struct Design {
  Project project;
  std::vector<DesignObject> objects;  // objectCount entries, no spare
};

FrameMetrics systemFrame() {
  return {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME),
          GetSystemMetrics(SM_CYCAPTION)};
}

// Every kind with the style a new control of it gets; captions plain,
// Japanese and with commas (which the file escapes).
Design makeDesign() {
  const auto kinds = placementTable();
  const std::string japanese = utf8ToCp932("項目");
  Design design;
  Project& p = design.project;
  p.title = utf8ToCp932("大きな設計");
  p.className = "LargeDesign";
  p.font = defaultFontSpec();
  p.regionMode = RegionMode::Polygon;
  p.growPointArrays(kPoints + 10);
  p.pointCount = kPoints;
  for (int i = 0; i < kPoints; ++i) {
    const double angle = 2 * 3.14159265358979 * i / kPoints;
    const double c = std::cos(angle), s = std::sin(angle);
    const RegionPoint vertex{
        static_cast<std::int32_t>(std::lround(kCentreX + kRadiusX * std::copysign(std::sqrt(std::abs(c)), c))),
        static_cast<std::int32_t>(std::lround(kCentreY + kRadiusY * std::copysign(std::sqrt(std::abs(s)), s)))};
    p.markerPoints[static_cast<std::size_t>(i)] = {vertex.x - kMarkerHalf, vertex.y - kMarkerHalf};
  }
  // The rectangle and the region follow from the points when the file is
  // opened; the file holds them as the program would have saved them.
  rebuildOutline(p, systemFrame());

  // The outline's centre in the surface's client area is (a, b).
  const int gridLeft = kRadiusX - kGridWidth / 2;
  const int gridTop = kRadiusY - kGridHeight / 2;
  design.objects.resize(kControls);
  for (int i = 0; i < kControls; ++i) {
    const PlacementDefaults& ks = kinds[static_cast<std::size_t>(i) % kinds.size()];
    DesignObject& o = design.objects[static_cast<std::size_t>(i)];
    o.kind = ks.kind;
    o.style = ks.style;
    o.x = gridLeft + (i % kColumns) * kCellWidth;
    o.y = gridTop + (i / kColumns) * kCellHeight;
    o.width = kControlWidth;
    o.height = kControlHeight;
    if (ks.kind != ObjectKind::LISTBOX)
      o.caption = (i % 3 == 0 ? japanese : i % 3 == 1 ? std::string("a,b") : "Item") +
                  std::to_string(i);
    o.idName = "ID_ITEM_" + std::to_string(i);
  }
  p.objectCount = kControls;
  return design;
}

// What survives a save and an open: everything but windows and procedures.
struct Saved {
  ObjectKind kind;
  std::int32_t x, y, width, height;
  std::string caption, idName;
  std::uint32_t style;
  friend bool operator==(const Saved&, const Saved&) = default;
};
std::vector<Saved> savedPart(const std::vector<DesignObject>& list, int count) {
  std::vector<Saved> result;
  for (int i = 0; i < count; ++i) {
    const DesignObject& o = list[static_cast<std::size_t>(i)];
    result.push_back({o.kind, o.x, o.y, o.width, o.height, o.caption, o.idName, o.style});
  }
  return result;
}

HWND controlOf(int index) { return asHwnd(objects[static_cast<std::size_t>(index)].window); }

POINT centreOf(int index) {
  const DesignObject& o = objects[static_cast<std::size_t>(index)];
  return screenOf(surfaceWindow(), o.x + o.width / 2, o.y + o.height / 2);
}

// Every placed control: its window exists, is a child of the surface and
// has the id 1000000 + its index; no other child has such an id.
void expectControlsNumbered(int count) {
  std::map<HWND, int> ids;
  for (HWND child = GetWindow(surfaceWindow(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    if (id >= kControlIdBase) ids[child] = id;
  }
  EXPECT_EQ(static_cast<int>(ids.size()), count) << "controls on the surface";
  int wrong = 0;
  for (int i = 0; i < count; ++i) {
    const auto found = ids.find(controlOf(i));
    if (found == ids.end() || found->second != kControlIdBase + i) {
      if (++wrong <= 5) ADD_FAILURE() << "control " << i << " is not numbered " << kControlIdBase + i;
    }
  }
  EXPECT_EQ(wrong, 0);
}

class ScaleTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    if (HasFatalFailure()) return;
    // Room for the whole outline; the palette goes beside it.
    MoveWindow(mainWindow, 0, 0, 1180, 1000, TRUE);
    if (toolWindow != nullptr)
      SetWindowPos(toolWindow, nullptr, 1185, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pump();
  }

  // Times a step and reports it with the test's output.
  template <typename Step>
  void timed(const char* name, Step step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    std::printf("  %-30s %6lld ms\n", name, static_cast<long long>(ms));
  }

  void open(const std::filesystem::path& file, bool askSave) {
    DialogScript script;
    if (askSave) script.then(answerMessageBox(IDNO, L"保存しますか？"));
    script.then(chooseFile(file.wstring()));
    command(IDM_FILE_OPEN);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(script.seen().size(), askSave ? 2u : 1u) << "no error after opening";
  }

  // The main window as the screen shows it after `step`, and again after
  // all of it has been repainted: the same pixels, so the step repainted
  // everything it changed and left no traces. The shown point markers'
  // and size handles' squares are left out: they overlap windows that do
  // not clip their siblings (the surface, the neighbouring controls), and
  // there the system paints them in an order of its own (a whole repaint
  // draws the surface over part of each marker, a marker shown or moved is
  // drawn over the surface).
  void expectAsWhollyRepainted(const std::string& step) {
    pump();
    const auto leftFile = folder() / (step + "-as-left.bmp");
    const auto whole = folder() / (step + "-repainted.bmp");
    ASSERT_TRUE(testing::captureWhenSettled(mainWindow, leftFile, pump));
    RedrawWindow(mainWindow, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ASSERT_TRUE(testing::captureWhenSettled(mainWindow, whole, pump));
    const auto asLeft = readFileBytes(leftFile);
    const auto repainted = readFileBytes(whole);
    ASSERT_TRUE(asLeft.has_value() && repainted.has_value());
    ASSERT_EQ(asLeft->size(), repainted->size());
    if (*asLeft == *repainted) return;
    RECT frame{};
    GetWindowRect(mainWindow, &frame);
    std::vector<RECT> markers;
    std::vector<HWND> squares = pointMarkers();
    for (const ToolCode handle : {ToolCode::SizeTopLeft, ToolCode::SizeTopRight,
                                  ToolCode::SizeBottomLeft, ToolCode::SizeBottomRight})
      squares.push_back(GetDlgItem(surfaceWindow(), static_cast<int>(handle)));
    for (const HWND square : squares) {
      RECT rect{};
      if (square != nullptr && IsWindowVisible(square) && GetWindowRect(square, &rect))
        markers.push_back(rect);
    }
    // Where they differ, for the report: the BMP rows run bottom-up.
    const int width = frame.right - frame.left;
    const std::size_t stride = static_cast<std::size_t>((width * 3 + 3) & ~3);
    constexpr std::size_t kHeaderBytes = 54;
    int left = width, top = 1 << 20, right = -1, bottom = -1, count = 0;
    for (std::size_t at = kHeaderBytes; at < asLeft->size(); ++at) {
      if ((*asLeft)[at] == (*repainted)[at]) continue;
      const int row = static_cast<int>((at - kHeaderBytes) / stride);
      const int x = static_cast<int>((at - kHeaderBytes) % stride) / 3;
      const int y = (frame.bottom - frame.top) - 1 - row;
      const POINT onScreen{frame.left + x, frame.top + y};
      if (std::any_of(markers.begin(), markers.end(),
                      [&](const RECT& square) { return PtInRect(&square, onScreen) != 0; }))
        continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
      ++count;
    }
    if (count == 0) return;
    ADD_FAILURE() << step << ": the screen differs from a whole repaint in " << count
                  << " bytes, within x " << left << ".." << right << ", y " << top << ".."
                  << bottom << " of the main window";
  }

  // A key release in the W field holding `width`, as typing there ends.
  void typeWidth(int width) {
    const HWND field = GetDlgItem(toolWindow, kWidthFieldId);
    SetWindowTextW(field, std::to_wstring(width).c_str());
    SendMessageW(field, WM_KEYUP, '0', 0xC0000001);
    pump();
  }

  void saveAs(int commandId, const std::filesystem::path& file) {
    DialogScript script;
    script.then(chooseFile(file.wstring()));
    command(commandId);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(script.seen().size(), 1u) << "no error after writing";
  }
};

TEST_F(ScaleTest, TwoThousandControlsAndFiveHundredPointsSurviveEditingSavingAndCodeOutput) {
  Design expected = makeDesign();
  const auto original = folder() / "large.mwd";
  ASSERT_TRUE(saveProject(original, expected.project, expected.objects));

  timed("open", [&] { open(original, false); });
  ASSERT_NE(project.surface, 0u);
  ASSERT_EQ(project.objectCount, kControls);
  ASSERT_EQ(project.pointCount, kPoints);
  EXPECT_EQ(savedPart(objects, kControls), savedPart(expected.objects, kControls));
  EXPECT_EQ(pointMarkers().size(), static_cast<std::size_t>(kPoints));
  EXPECT_EQ(project.x, expected.project.x);
  EXPECT_EQ(project.y, expected.project.y);
  EXPECT_EQ(project.width, expected.project.width);
  EXPECT_EQ(project.height, expected.project.height);
  expectControlsNumbered(kControls);
  expectAsWhollyRepainted("open");

  // A press selects a control in the middle of the grid; a drag moves it.
  constexpr int kMoved = 1234;
  timed("select and drag", [&] {
    const POINT from = centreOf(kMoved);
    ASSERT_EQ(WindowFromPoint(from), controlOf(kMoved));
    const POINT to{from.x + 9, from.y + 4};
    // Alt held: placed freely, not caught by the snap lines of the
    // neighbours, so the control moves by exactly the pointer's offset.
    {
      const AltHeld alt;
      drag(from, to, 6);
    }
  });
  if (HasFatalFailure()) return;
  EXPECT_EQ(selectedObject, kMoved);
  EXPECT_EQ(currentTool, ToolCode::Select);
  expected.objects[kMoved].x += 9;
  expected.objects[kMoved].y += 4;
  const RECT moved = rectInParent(controlOf(kMoved));
  EXPECT_EQ(moved.left, expected.objects[kMoved].x);
  EXPECT_EQ(moved.top, expected.objects[kMoved].y);
  expectAsWhollyRepainted("drag");

  // Three controls of one row chosen with Ctrl+click and nudged a pixel to
  // the right with the arrow key: their hollow corners go and come back
  // without a trace.
  constexpr std::array<int, 3> kNudged{510, 512, 514};
  timed("choose three and nudge them", [&] {
    click(centreOf(kNudged[0]));
    for (const int index : {kNudged[1], kNudged[2]}) {
      const HeldKeys ctrl(true, false);
      click(centreOf(index));
    }
    ASSERT_EQ(selectedControls().size(), kNudged.size());
    for (const UINT message : {WM_KEYDOWN, WM_KEYUP}) {
      PostMessageW(GetFocus() != nullptr ? GetFocus() : mainWindow, message, VK_RIGHT,
                   message == WM_KEYDOWN ? 1 : 0xC0000001);
      pump();
    }
  });
  if (HasFatalFailure()) return;
  for (const int index : kNudged) {
    ++expected.objects[static_cast<std::size_t>(index)].x;
    EXPECT_EQ(rectInParent(controlOf(index)).left, expected.objects[static_cast<std::size_t>(index)].x);
  }
  expectAsWhollyRepainted("nudge-several");

  // The first control is selected and deleted: the 1,999 others move down
  // one index and take the ids that go with it.
  std::vector<HWND> windowsAfterFirst;
  for (int i = 1; i < kControls; ++i) windowsAfterFirst.push_back(controlOf(i));
  const HWND first = controlOf(0);
  timed("select and delete the first", [&] {
    click(centreOf(0));
    ASSERT_EQ(selectedObject, 0);
    SendMessageW(mainWindow, WM_KEYDOWN, VK_DELETE, 0);
    pump();
  });
  if (HasFatalFailure()) return;
  EXPECT_FALSE(IsWindow(first));
  ASSERT_EQ(project.objectCount, kControls - 1);
  EXPECT_EQ(selectedObject, -1);
  expected.objects.erase(expected.objects.begin());
  expected.project.objectCount = kControls - 1;
  EXPECT_EQ(savedPart(objects, kControls - 1), savedPart(expected.objects, kControls - 1));
  for (int i = 0; i < kControls - 1; ++i)
    ASSERT_EQ(controlOf(i), windowsAfterFirst[static_cast<std::size_t>(i)]) << i;
  expectControlsNumbered(kControls - 1);
  expectAsWhollyRepainted("delete");

  // A press on the background shows the markers; the point at the top of
  // the outline is dragged sideways, which reshapes the surface within the
  // same rectangle.
  constexpr int kTopPoint = kPoints * 3 / 4;
  timed("show the points", [&] { click(screenOf(surfaceWindow(), kRadiusX, 40)); });
  expectAsWhollyRepainted("points-shown");
  timed("drag a point", [&] {
    const HWND marker = pointMarkers()[kTopPoint];
    const POINT from = screenOf(marker, kMarkerHalf, kMarkerHalf);
    drag(from, {from.x + 7, from.y}, 3);
  });
  expected.project.markerPoints[kTopPoint].x += 7;
  rebuildOutline(expected.project, systemFrame());
  EXPECT_EQ(project.x, expected.project.x);
  EXPECT_EQ(project.width, expected.project.width);
  EXPECT_EQ(project.markerPoints[kTopPoint], expected.project.markerPoints[kTopPoint]);
  expectAsWhollyRepainted("point");

  // A control is selected (the markers go) and made a pixel wider in the
  // fields (short of its neighbour: overlapping siblings paint in an order
  // of the system's own).
  // (The control moved earlier overlaps its neighbour: another one.)
  constexpr int kWidened = kMoved + 5;
  timed("select, markers hidden", [&] { click(centreOf(kWidened)); });
  ASSERT_EQ(selectedObject, kWidened);
  expectAsWhollyRepainted("markers-hidden");
  timed("type a width", [&] { typeWidth(kControlWidth + 1); });
  expected.objects[kWidened].width = kControlWidth + 1;
  expectAsWhollyRepainted("width");

  // Saved through the menu, opened again: the same design.
  const auto saved = folder() / "edited.mwd";
  timed("save", [&] { saveAs(IDM_FILE_SAVE, saved); });
  // The same bytes as the design expected, written by the same function.
  const auto expectedFile = folder() / "expected.mwd";
  ASSERT_TRUE(saveProject(expectedFile, expected.project, expected.objects));
  EXPECT_TRUE(readFileBytes(saved) == readFileBytes(expectedFile)) << "saved bytes";
  timed("open again", [&] { open(saved, true); });
  ASSERT_EQ(project.objectCount, kControls - 1);
  ASSERT_EQ(project.pointCount, kPoints);
  EXPECT_EQ(savedPart(objects, kControls - 1), savedPart(expected.objects, kControls - 1));
  EXPECT_EQ(std::vector<RegionPoint>(project.markerPoints.begin(),
                                     project.markerPoints.begin() + kPoints),
            std::vector<RegionPoint>(expected.project.markerPoints.begin(),
                                     expected.project.markerPoints.begin() + kPoints));
  EXPECT_EQ(std::vector<RegionPoint>(project.regionPoints.begin(),
                                     project.regionPoints.begin() + kPoints),
            std::vector<RegionPoint>(expected.project.regionPoints.begin(),
                                     expected.project.regionPoints.begin() + kPoints));
  EXPECT_EQ(project.title, expected.project.title);
  EXPECT_EQ(project.className, expected.project.className);
  EXPECT_EQ(project.font, expected.project.font);
  expectControlsNumbered(kControls - 1);

  // Code output writes what the generator makes of the same design.
  const auto code = folder() / "large.cpp";
  timed("code output", [&] { saveAs(IDM_FILE_CODE_OUTPUT, code); });
  const auto templateText = readCodeTemplate(templatePath);
  ASSERT_TRUE(templateText.has_value());
  ASSERT_TRUE(readSettings(settingsPath, expected.project.variableNames));
  const auto written = readFileBytes(code);
  ASSERT_TRUE(written.has_value());
  const std::string generated =
      toCrLf(generateCode(*templateText, expected.project, expected.objects));
  EXPECT_TRUE(*written == generated) << "the code written (" << written->size()
                                     << " bytes) differs from the generator's ("
                                     << generated.size() << " bytes)";
  // The deleted control is gone; the former second control is the first.
  EXPECT_EQ(written->find("ID_ITEM_0\t"), std::string::npos);
  EXPECT_NE(written->find("#define ID_ITEM_1\t100\r\n"), std::string::npos);
  EXPECT_NE(written->find("#define ID_ITEM_1999\t199900\r\n"), std::string::npos);

  // Without the outline the fields size the designed window itself:
  // narrower, then wider again, each time painted as a whole repaint would.
  Design plain = expected;
  plain.project.regionMode = RegionMode::Rectangle;
  plain.project.pointCount = 0;
  const auto plainFile = folder() / "plain.mwd";
  ASSERT_TRUE(saveProject(plainFile, plain.project, plain.objects));
  timed("open without the outline", [&] { open(plainFile, true); });
  ASSERT_EQ(project.regionMode, RegionMode::Rectangle);
  click(screenOf(surfaceWindow(), 4, 4));
  ASSERT_EQ(selectedObject, -1);
  expectAsWhollyRepainted("plain");
  timed("type a narrower window", [&] { typeWidth(project.width - 200); });
  EXPECT_EQ(project.width, plain.project.width - 200);
  expectAsWhollyRepainted("window-narrower");
  timed("type a wider window", [&] { typeWidth(project.width + 30); });
  EXPECT_EQ(project.width, plain.project.width - 170);
  expectAsWhollyRepainted("window-wider");
}

}  // namespace
}  // namespace quorvin::gui
