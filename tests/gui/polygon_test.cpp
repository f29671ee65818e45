// The polygon outline with the real cursor: points added with the point tool,
// dragged and typed, deleted, and an outlined design saved, opened again and
// written as code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/model.h"
#include "app/model_win32.h"
#include "codegen/code_output.h"
#include "common/win32/gdi.h"
#include "designer/editing_state.h"
#include "designer/outline_points.h"
#include "designer/palette.h"
#include "designer/polygon.h"
#include "tests/gui/gui_support.h"

namespace quorvin::gui {
namespace {

FrameMetrics systemFrame() {
  return {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME),
          GetSystemMetrics(SM_CYCAPTION)};
}

// A window's outer rectangle in main-window client coordinates.
RECT rectInMain(HWND window) { return rectIn(window, mainWindow); }

POINT markerCentre(int index) {
  const RECT r = rectInMain(pointMarker(index));
  return screenOf(mainWindow, r.left + kMarkerHalf, r.top + kMarkerHalf);
}

std::wstring fieldText(int id) {
  wchar_t text[64] = {};
  GetDlgItemTextW(toolWindow, id, text, 64);
  return text;
}

UniqueRegion surfaceRegion() {
  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(surfaceWindow(), region.get()) == ERROR) return UniqueRegion(nullptr);
  return region;
}

class PolygonTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    newDesign(L"Outline", L"OutlineClass");
    movePaletteAside();
    pump();
  }

  // A click with the point tool at a point of the main window's client area
  // (on the surface or beside it: both add the point).
  void addPoint(int clientX, int clientY) {
    selectTool(ToolCode::AddPoint);
    click(screenOf(mainWindow, clientX, clientY));
  }

  void pressDelete() {
    SendMessageW(mainWindow, WM_KEYDOWN, VK_DELETE, 0);
    pump();
  }

  // Presses marker `index` with Select at its centre, moves the cursor by
  // (dx, dy) in small steps (each move leaves it over the marker, which
  // follows), and releases there unless `release` is false.
  void dragMarker(int index, int dx, int dy, bool release = true) {
    selectTool(ToolCode::Select);
    const POINT from = markerCentre(index);
    mouseDown(from);
    const int steps = std::max(std::abs(dx), std::abs(dy)) / 2 + 1;
    for (int i = 1; i <= steps; ++i) mouseMove({from.x + dx * i / steps, from.y + dy * i / steps});
    if (release) mouseUp({from.x + dx, from.y + dy});
    pump();
  }

  // The outline as the markers give it: each marker at its point, the
  // designed window's rectangle and regionPoints as the rebuild makes them
  // with the system's frame metrics, the surface there, cut to the polygon.
  void expectOutlineApplied() {
    ASSERT_EQ(project.regionMode, RegionMode::Polygon);
    ASSERT_GE(project.pointCount, 3);
    auto markers = pointMarkers();
    ASSERT_EQ(static_cast<int>(markers.size()), project.pointCount);
    for (int i = 0; i < project.pointCount; ++i) {
      const RECT r = rectInMain(markers[static_cast<std::size_t>(i)]);
      EXPECT_EQ(GetDlgCtrlID(markers[static_cast<std::size_t>(i)]), kMarkerIdBase + i);
      EXPECT_EQ(r.left, project.markerPoints[static_cast<std::size_t>(i)].x) << "marker " << i;
      EXPECT_EQ(r.top, project.markerPoints[static_cast<std::size_t>(i)].y) << "marker " << i;
      EXPECT_EQ(r.right - r.left, kMarkerSize);
      EXPECT_EQ(r.bottom - r.top, kMarkerSize);
    }
    // Every marker lies above the surface, so the cursor finds it there.
    for (HWND above = GetWindow(surfaceWindow(), GW_HWNDPREV); above != nullptr;
         above = GetWindow(above, GW_HWNDPREV))
      std::erase(markers, above);
    EXPECT_TRUE(markers.empty()) << markers.size() << " markers lie below the surface";
    Project expected = project;
    ASSERT_TRUE(rebuildOutline(expected, systemFrame()));
    EXPECT_EQ(project.x, expected.x);
    EXPECT_EQ(project.y, expected.y);
    EXPECT_EQ(project.width, expected.width);
    EXPECT_EQ(project.height, expected.height);
    EXPECT_EQ(project.regionPoints, expected.regionPoints);
    const RECT surface = rectInMain(surfaceWindow());
    EXPECT_EQ(surface.left, project.x);
    EXPECT_EQ(surface.top, project.y);
    EXPECT_EQ(surface.right - surface.left, project.width);
    EXPECT_EQ(surface.bottom - surface.top, project.height);
    const UniqueRegion region = surfaceRegion();
    ASSERT_TRUE(region) << "the surface has no region";
    const UniqueRegion polygon(
        CreatePolygonRgn(reinterpret_cast<const POINT*>(project.regionPoints.data()),
                         project.pointCount, WINDING));
    const UniqueRegion difference(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(difference.get(), region.get(), polygon.get(), RGN_XOR), NULLREGION)
        << "the surface is not cut to the polygon";
  }
};

TEST_F(PolygonTest, FirstClickMakesTriangleOfSurfaceTopCornersAndClickAndCutsSurface) {
  const HWND surface = surfaceWindow();
  const RECT before = rectInMain(surface);
  const RegionPoint clicked{before.left + 100, before.top + 180};
  addPoint(clicked.x, clicked.y);

  ASSERT_EQ(project.pointCount, 3);
  EXPECT_EQ(project.pointCapacity(), 10);
  EXPECT_EQ(project.regionPoints.size(), 10u);
  EXPECT_EQ(project.activePoint, 2);
  EXPECT_EQ(project.activeMarker, asHandle(pointMarker(2)));
  EXPECT_EQ(currentTool, ToolCode::AddPoint) << "points are added one after the other";
  EXPECT_EQ(project.markerPoints[0], (RegionPoint{before.left - 10, before.top - 10}));
  EXPECT_EQ(project.markerPoints[1], (RegionPoint{before.right - 10, before.top - 10}));
  EXPECT_EQ(project.markerPoints[2], (RegionPoint{clicked.x - 10, clicked.y - 10}));
  for (int i = 0; i < 3; ++i) {
    const HWND marker = pointMarker(i);
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(GetParent(marker), mainWindow);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(marker, GWL_STYLE)), kMarkerStyle);
    EXPECT_TRUE(IsWindowVisible(marker));
  }
  expectOutlineApplied();

  // The old top-left corner is now where the designed window's client area
  // begins; the bottom corners of the window lie outside the triangle.
  const FrameMetrics frame = systemFrame();
  EXPECT_EQ(project.x, before.left - frame.frameX);
  EXPECT_EQ(project.y, before.top - frame.frameY - frame.captionY);
  EXPECT_EQ(project.regionPoints[0], (RegionPoint{frame.frameX, frame.frameY + frame.captionY}));
  // The fields show the point just added.
  EXPECT_EQ(fieldText(9200), std::to_wstring(project.markerPoints[2].x));
  EXPECT_EQ(fieldText(9300), std::to_wstring(project.markerPoints[2].y));
  EXPECT_EQ(fieldText(9000), L"0");
  const UniqueRegion region = surfaceRegion();
  ASSERT_TRUE(region);
  EXPECT_FALSE(PtInRegion(region.get(), 3, project.height - 3));
  EXPECT_FALSE(PtInRegion(region.get(), project.width - 3, project.height - 3));
  const RegionPoint centre{
      (project.regionPoints[0].x + project.regionPoints[1].x + project.regionPoints[2].x) / 3,
      (project.regionPoints[0].y + project.regionPoints[1].y + project.regionPoints[2].y) / 3};
  EXPECT_TRUE(PtInRegion(region.get(), centre.x, centre.y));
  screenshot(mainWindow, "polygon-triangle");
}

TEST_F(PolygonTest, FurtherClicksAppendInClickOrderAndClickOnMarkerAddsNothing) {
  const RECT s = rectInMain(surfaceWindow());
  addPoint(s.left + 150, s.top + 190);  // on the surface
  // Beside the surface, on the main window's own background.
  addPoint(s.left - 40, s.top + 120);
  ASSERT_EQ(project.pointCount, 4);
  EXPECT_EQ(project.markerPoints[3], (RegionPoint{s.left - 50, s.top + 110}));
  EXPECT_EQ(project.activePoint, 3);
  EXPECT_EQ(project.activeMarker, asHandle(pointMarker(3)));
  expectOutlineApplied();
  // The fourth vertex closes the polygon after the third, not elsewhere.
  EXPECT_EQ(project.regionPoints[3].x, project.markerPoints[3].x - project.x + 10);

  const std::vector<RegionPoint> points(project.markerPoints.begin(),
                                        project.markerPoints.begin() + 4);
  selectTool(ToolCode::AddPoint);
  click(markerCentre(1));
  EXPECT_EQ(project.pointCount, 4);
  EXPECT_EQ(std::vector<RegionPoint>(project.markerPoints.begin(), project.markerPoints.begin() + 4),
            points);
  EXPECT_EQ(pointMarker(4), nullptr);
}

TEST_F(PolygonTest, DraggedMarkerReshapesSurfaceOnReleaseOnly) {
  const RECT s = rectInMain(surfaceWindow());
  addPoint(s.left + 100, s.top + 180);
  const Project before = project;
  const RECT surfaceBefore = rectInMain(surfaceWindow());
  const HWND marker = pointMarker(2);

  dragMarker(2, 30, -40, false);
  EXPECT_EQ(project.activePoint, 2);
  EXPECT_EQ(pickupPending, 1);
  const RECT moving = rectInMain(marker);
  EXPECT_EQ(moving.left, before.markerPoints[2].x + 30);
  EXPECT_EQ(moving.top, before.markerPoints[2].y - 40);
  // Only the marker moved so far.
  EXPECT_EQ(project.markerPoints, before.markerPoints);
  EXPECT_EQ(project.regionPoints, before.regionPoints);
  const RECT surfaceDuring = rectInMain(surfaceWindow());
  EXPECT_TRUE(EqualRect(&surfaceDuring, &surfaceBefore));

  mouseUp(markerCentre(2));
  pump();
  EXPECT_EQ(project.markerPoints[2], (RegionPoint{before.markerPoints[2].x + 30,
                                                  before.markerPoints[2].y - 40}));
  EXPECT_EQ(pickupPending, 0);
  EXPECT_EQ(markerDragState, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(project.activePoint, 2) << "the point stays active after the commit";
  EXPECT_NE(project.height, before.height);
  expectOutlineApplied();
}

// The marker holds the mouse while it is dragged: a release outside the main
// window still commits it, and a drag whose release got lost anyway ends at
// the next press on the main window, so markers can be picked up again.
TEST_F(PolygonTest, DragEndsWhereverTheButtonIsReleased) {
  const RECT s = rectInMain(surfaceWindow());
  addPoint(s.left + 100, s.top + 180);
  dragMarker(2, 0, 30, false);
  ASSERT_EQ(GetCapture(), pointMarker(2));
  RECT frame{};
  GetWindowRect(mainWindow, &frame);
  SetCursorPos(frame.right + 40, frame.top + 200);
  INPUT up{};
  up.type = INPUT_MOUSE;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(1, &up, sizeof up), 1u);
  for (int i = 0; i < 100 && markerDragState != 0; ++i) {
    Sleep(10);
    pump();
  }
  EXPECT_EQ(markerDragState, 0);
  EXPECT_EQ(pickupPending, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  const RECT dropped = rectInMain(pointMarker(2));
  EXPECT_EQ(project.markerPoints[2], (RegionPoint{dropped.left, dropped.top}));
  expectOutlineApplied();

  dragMarker(1, 0, 20, false);
  ReleaseCapture();  // the release is lost
  click(screenOf(mainWindow, 3, 3));
  EXPECT_EQ(markerDragState, 0);
  EXPECT_EQ(pickupPending, 0);
  const RECT second = rectInMain(pointMarker(1));
  EXPECT_EQ(project.markerPoints[1], (RegionPoint{second.left, second.top}));
  dragMarker(0, 10, 0);
  EXPECT_EQ(project.activePoint, 0);
  EXPECT_EQ(project.markerPoints[0].x, s.left);
}

TEST_F(PolygonTest, TypedXMovesActivePointAndOutlineFollows) {
  const RECT s = rectInMain(surfaceWindow());
  addPoint(s.left + 100, s.top + 180);
  dragMarker(1, 0, 0);  // press and release: point 1 active, fields show it
  ASSERT_EQ(project.activePoint, 1);
  const HWND xField = GetDlgItem(toolWindow, 9200);
  ASSERT_NE(xField, nullptr);
  EXPECT_EQ(fieldText(9200), std::to_wstring(project.markerPoints[1].x));

  const int y = project.markerPoints[1].y;
  SetWindowTextW(xField, L"330");
  SendMessageW(xField, WM_KEYUP, '0', 0);
  pump();
  EXPECT_EQ(project.markerPoints[1], (RegionPoint{330, y}));
  EXPECT_EQ(markerDragState, 0);
  expectOutlineApplied();
}

TEST_F(PolygonTest, DeleteRemovesActivePointAndWithThreeTheWholeOutline) {
  // A control selected before the points: Delete must not touch it while a
  // point is active.
  place(static_cast<int>(ToolCode::Button), {20, 20}, {80, 50});
  ASSERT_EQ(project.objectCount, 1);
  click(screenOf(asHwnd(objects[0].window), 5, 5));
  ASSERT_EQ(selectedObject, 0);

  const RECT s = rectInMain(surfaceWindow());
  addPoint(s.left + 100, s.top + 180);
  addPoint(s.left - 30, s.top + 100);
  ASSERT_EQ(project.pointCount, 4);
  const HWND second = pointMarker(1);
  const HWND third = pointMarker(2);
  const HWND fourth = pointMarker(3);
  const RegionPoint kept[3] = {project.markerPoints[0], project.markerPoints[2],
                               project.markerPoints[3]};
  dragMarker(1, 0, 0);
  ASSERT_EQ(project.activePoint, 1);

  pressDelete();
  EXPECT_EQ(project.objectCount, 1) << "Delete went to the control";
  EXPECT_FALSE(IsWindow(second));
  ASSERT_EQ(project.pointCount, 3);
  EXPECT_EQ(project.activePoint, 0);
  EXPECT_EQ(project.activeMarker, asHandle(pointMarker(0)));
  EXPECT_EQ(GetDlgCtrlID(third), kMarkerIdBase + 1);
  EXPECT_EQ(GetDlgCtrlID(fourth), kMarkerIdBase + 2);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(project.markerPoints[static_cast<std::size_t>(i)], kept[i]);
  expectOutlineApplied();

  const HWND first = pointMarker(0);
  const RECT last = rectInMain(surfaceWindow());
  pressDelete();
  EXPECT_EQ(project.objectCount, 1);
  EXPECT_EQ(project.regionMode, RegionMode::Rectangle);
  EXPECT_EQ(project.pointCount, 0);
  EXPECT_EQ(project.activePoint, -1);
  EXPECT_EQ(project.activeMarker, 0u);
  EXPECT_TRUE(pointMarkers().empty());
  EXPECT_FALSE(IsWindow(first) || IsWindow(third) || IsWindow(fourth));
  EXPECT_FALSE(surfaceRegion()) << "the surface is still cut";
  const RECT after = rectInMain(surfaceWindow());
  EXPECT_TRUE(EqualRect(&after, &last)) << "the surface keeps its last rectangle";
  EXPECT_EQ(project.markerPoints, std::vector<RegionPoint>(10));

  // With no point active, Delete goes to the selected control.
  pressDelete();
  EXPECT_EQ(project.objectCount, 0);
}

TEST_F(PolygonTest, EleventhPointGrowsBothArraysToTwenty) {
  const RECT s = rectInMain(surfaceWindow());
  addPoint(s.left + 190, s.top + 100);
  for (int i = 3; i < 10; ++i) addPoint(s.left + 190 - 20 * i, s.top + 180 - 5 * i);
  ASSERT_EQ(project.pointCount, 10);
  EXPECT_EQ(project.pointCapacity(), 10);
  addPoint(s.left + 5, s.top + 60);
  ASSERT_EQ(project.pointCount, 11);
  EXPECT_EQ(project.markerPoints.size(), 20u);
  EXPECT_EQ(project.regionPoints.size(), 20u);
  EXPECT_EQ(project.activePoint, 10);
  EXPECT_EQ(project.markerPoints[10], (RegionPoint{s.left - 5, s.top + 50}));
  expectOutlineApplied();
}

TEST_F(PolygonTest, PointDraggedAboveLeftOfClientAreaClampsSurfaceAtZero) {
  const RECT s = rectInMain(surfaceWindow());
  addPoint(s.left + 100, s.top + 180);
  // Grabbed near its bottom-right corner, marker 300 is dragged until the
  // cursor is at client (2, 2): its top-left ends at (-16, -16).
  selectTool(ToolCode::Select);
  const RECT m = rectInMain(pointMarker(0));
  const POINT from = screenOf(mainWindow, m.left + 18, m.top + 18);
  const POINT to = screenOf(mainWindow, 2, 2);
  mouseDown(from);
  for (POINT p = from; p.x != to.x || p.y != to.y;) {
    p.x = std::max(p.x - 2, to.x);
    p.y = std::max(p.y - 2, to.y);
    mouseMove(p);
  }
  mouseUp(to);
  pump();
  ASSERT_EQ(project.markerPoints[0], (RegionPoint{-16, -16}));
  EXPECT_EQ(project.x, 0);
  EXPECT_EQ(project.y, 0);
  EXPECT_EQ(project.regionPoints[0], (RegionPoint{-6, -6}));
  expectOutlineApplied();
}

TEST_F(PolygonTest, FivePointOutlineSavedOpensWithMarkersAndGeneratesItsRegionCode) {
  place(static_cast<int>(ToolCode::Static), {40, 40}, {150, 60});
  place(static_cast<int>(ToolCode::Button), {40, 90}, {150, 120});
  const RECT s = rectInMain(surfaceWindow());
  addPoint(s.left + 180, s.top + 190);
  addPoint(s.left + 20, s.top + 190);
  addPoint(s.left - 20, s.top + 90);
  ASSERT_EQ(project.pointCount, 5);
  const Project saved = project;
  screenshot(mainWindow, "polygon-design");

  const std::wstring file = (folder() / L"outline.mwd").wstring();
  {
    DialogScript script;
    script.then(chooseFile(file));
    command(40009);  // Save
    EXPECT_TRUE(script.done());
  }
  {
    DialogScript script;
    script.then(answerMessageBox(IDNO)).then(chooseFile(file));
    command(40008);  // Open
    EXPECT_TRUE(script.done());
  }
  ASSERT_EQ(project.pointCount, 5);
  EXPECT_EQ(project.objectCount, 2);
  EXPECT_EQ(project.pointCapacity(), 15);
  EXPECT_EQ(project.activePoint, 0);
  EXPECT_EQ(project.activeMarker, asHandle(pointMarker(0)));
  EXPECT_EQ(std::vector<RegionPoint>(project.markerPoints.begin(), project.markerPoints.begin() + 5),
            std::vector<RegionPoint>(saved.markerPoints.begin(), saved.markerPoints.begin() + 5));
  for (const HWND marker : pointMarkers()) EXPECT_TRUE(IsWindowVisible(marker));
  expectOutlineApplied();
  EXPECT_EQ(std::vector<RegionPoint>(project.regionPoints.begin(), project.regionPoints.begin() + 5),
            std::vector<RegionPoint>(saved.regionPoints.begin(), saved.regionPoints.begin() + 5));

  const auto templateText = readCodeTemplate(folder() / "code.txt");
  ASSERT_TRUE(templateText);
  const std::string code = generateCode(*templateText);
  const std::size_t regionCall = code.find("CreatePolygonRgn( ");
  ASSERT_NE(regionCall, std::string::npos) << code;
  EXPECT_NE(code.substr(regionCall, code.find('\n', regionCall) - regionCall).find(", 5, WINDING )"),
            std::string::npos);
  for (int i = 0; i < 5; ++i) {
    const RegionPoint p = project.regionPoints[static_cast<std::size_t>(i)];
    const std::string index = "[" + std::to_string(i) + "]";
    EXPECT_NE(code.find(index + ".x = " + std::to_string(p.x) + " ;"), std::string::npos) << i;
    EXPECT_NE(code.find(index + ".y = " + std::to_string(p.y) + " ;"), std::string::npos) << i;
  }
  screenshot(mainWindow, "polygon-reopened");
}

// A hundred and one points crossing each other: the surface is cut all the
// same, and marker 400, which has the status line's control id, is still told
// apart from it when the markers are hidden or destroyed.
TEST_F(PolygonTest, HundredAndOneCrossingPointsCutSurfaceAndLeaveStatusLineAlone) {
  ASSERT_NE(statusLine, nullptr);
  const RECT s = rectInMain(surfaceWindow());
  project.growPointArrays(111);
  for (int i = 0; i < 101; ++i)
    project.markerPoints[static_cast<std::size_t>(i)] = {s.left + (i * 37) % 200,
                                                         s.top + (i * 13) % 190};
  project.pointCount = 101;
  project.regionMode = RegionMode::Polygon;
  createOpenedProjectMarkers();
  ASSERT_EQ(pointMarkers().size(), 101u);
  EXPECT_EQ(GetDlgCtrlID(pointMarker(100)), 400);
  expectOutlineApplied();
  click(screenOf(mainWindow, 2, 2));  // the background hides the markers
  EXPECT_TRUE(IsWindowVisible(statusLine));
  EXPECT_FALSE(IsWindowVisible(pointMarker(100)));
  destroyPointMarkers();
  EXPECT_TRUE(IsWindow(statusLine));
  EXPECT_TRUE(pointMarkers().empty());
}

}  // namespace
}  // namespace quorvin::gui
