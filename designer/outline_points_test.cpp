#include "designer/outline_points.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvin {
namespace {

const FrameMetrics kMetrics{4, 4, 19};  // frame x, frame y, caption height

Project withMarkers(const std::vector<RegionPoint>& markers) {
  Project p;
  p.growPointArrays(10);
  for (std::size_t i = 0; i < markers.size(); ++i) p.markerPoints[i] = markers[i];
  p.pointCount = static_cast<std::int32_t>(markers.size());
  p.regionMode = RegionMode::Polygon;
  return p;
}

std::vector<RegionPoint> firstRegionPoints(const Project& p) {
  return {p.regionPoints.begin(), p.regionPoints.begin() + p.pointCount};
}

TEST(OutlineRebuild, WorkedExample) {
  Project p = withMarkers({{100, 100}, {300, 100}, {200, 250}});
  ASSERT_TRUE(rebuildOutline(p, kMetrics));
  // Leftmost vertex 110 lies fx = 4 inside x; topmost vertex 110 lies
  // cy + fy = 23 below y; 10 pixels past the rightmost and lowest vertex.
  EXPECT_EQ(p.x, 106);
  EXPECT_EQ(p.y, 87);
  EXPECT_EQ(p.width, 214);
  EXPECT_EQ(p.height, 183);
  EXPECT_EQ(firstRegionPoints(p), (std::vector<RegionPoint>{{4, 23}, {204, 23}, {104, 173}}));
}

TEST(OutlineRebuild, EarliestIndexWinsTies) {
  const std::vector<RegionPoint> points{{50, 80}, {50, 60}, {90, 60}, {90, 80}};
  EXPECT_EQ(extremeIndices(points), (ExtremeIndices{0, 1, 2, 0}));
  EXPECT_EQ(extremeIndices(std::vector<RegionPoint>{{7, 9}}), (ExtremeIndices{}));
  EXPECT_EQ(extremeIndices({}), (ExtremeIndices{}));
}

TEST(OutlineRebuild, PositionClampedAtZeroWhileTheRegionFollowsTheMarkers) {
  Project p = withMarkers({{-30, 5}, {40, 5}, {0, 60}});
  ASSERT_TRUE(rebuildOutline(p, kMetrics));
  EXPECT_EQ(p.x, 0);   // -24 before clamping
  EXPECT_EQ(p.y, 0);   // -8 before clamping
  EXPECT_EQ(p.width, 84);
  EXPECT_EQ(p.height, 88);
  EXPECT_EQ(firstRegionPoints(p), (std::vector<RegionPoint>{{-20, 15}, {50, 15}, {10, 70}}));
}

TEST(OutlineRebuild, OnePointAndNoPoint) {
  Project p = withMarkers({{100, 100}});
  ASSERT_TRUE(rebuildOutline(p, kMetrics));
  EXPECT_EQ(p.x, 106);
  EXPECT_EQ(p.y, 87);
  EXPECT_EQ(p.width, 14);
  EXPECT_EQ(p.height, 33);
  EXPECT_EQ(p.regionPoints[0], (RegionPoint{4, 23}));

  Project empty;
  empty.x = 5;
  EXPECT_FALSE(rebuildOutline(empty, kMetrics));
  EXPECT_EQ(empty.x, 5);
  // A count beyond the arrays is held to them.
  Project lying = withMarkers({{100, 100}});
  lying.pointCount = 1000;
  EXPECT_TRUE(rebuildOutline(lying, kMetrics));
}

TEST(OutlinePoints, FirstClickMakesATriangleAndTheArraysGrowByTen) {
  Project p;
  p.x = 50;
  p.y = 60;
  p.width = 200;
  p.height = 100;
  startOutline(p, {120, 200});
  EXPECT_EQ(p.pointCapacity(), 10);
  EXPECT_EQ(p.regionPoints.size(), 10u);
  EXPECT_EQ(p.pointCount, 3);
  EXPECT_EQ(p.activePoint, 2);
  EXPECT_EQ(p.regionMode, RegionMode::Polygon);
  // The surface's top-left and top-right corners, then the clicked point,
  // each as its marker's top-left corner.
  EXPECT_EQ(std::vector<RegionPoint>(p.markerPoints.begin(), p.markerPoints.begin() + 3),
            (std::vector<RegionPoint>{{40, 50}, {240, 50}, {110, 190}}));

  for (int i = 3; i < 10; ++i) {
    EXPECT_EQ(appendOutlinePoint(p, {i, i}), i);
    EXPECT_EQ(p.activePoint, i);
  }
  EXPECT_EQ(p.pointCapacity(), 10);
  EXPECT_EQ(appendOutlinePoint(p, {300, 310}), 10);  // the eleventh point
  EXPECT_EQ(p.pointCapacity(), 20);
  EXPECT_EQ(p.regionPoints.size(), 20u);
  EXPECT_EQ(p.pointCount, 11);
  EXPECT_EQ(p.markerPoints[10], (RegionPoint{290, 300}));
  EXPECT_EQ(p.markerPoints[2], (RegionPoint{110, 190}));  // earlier points kept
}

TEST(OutlinePoints, DeletingMovesLaterPointsDownOrRemovesTheOutline) {
  Project p = withMarkers({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}});
  p.activePoint = 1;
  EXPECT_EQ(deleteOutlinePoint(p, 1), PointDeletion::PointRemoved);
  EXPECT_EQ(p.pointCount, 4);
  EXPECT_EQ(p.activePoint, 0);
  EXPECT_EQ(p.regionMode, RegionMode::Polygon);
  EXPECT_EQ(std::vector<RegionPoint>(p.markerPoints.begin(), p.markerPoints.begin() + 5),
            (std::vector<RegionPoint>{{1, 1}, {3, 3}, {4, 4}, {5, 5}, {0, 0}}));

  EXPECT_EQ(deleteOutlinePoint(p, 4), PointDeletion::Ignored);
  EXPECT_EQ(deleteOutlinePoint(p, -1), PointDeletion::Ignored);
  EXPECT_EQ(deleteOutlinePoint(p, 3), PointDeletion::PointRemoved);  // the last one
  EXPECT_EQ(p.pointCount, 3);

  // One of the last three: the outline goes, the window keeps its rectangle.
  ASSERT_TRUE(rebuildOutline(p, kMetrics));
  const PixelRect kept{p.x, p.y, p.width, p.height};
  p.activeMarker = 77;
  EXPECT_EQ(deleteOutlinePoint(p, 2), PointDeletion::OutlineRemoved);
  EXPECT_EQ(p.regionMode, RegionMode::Rectangle);
  EXPECT_EQ(p.pointCount, 0);
  EXPECT_EQ(p.activePoint, -1);
  EXPECT_EQ(p.activeMarker, 0u);
  EXPECT_EQ(p.pointCapacity(), 10);
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(p.markerPoints[i], RegionPoint{});
    EXPECT_EQ(p.regionPoints[i], RegionPoint{});
  }
  EXPECT_EQ((PixelRect{p.x, p.y, p.width, p.height}), kept);
  EXPECT_EQ(deleteOutlinePoint(p, 0), PointDeletion::Ignored);

  // A new outline starts again in the arrays that are already there.
  startOutline(p, {10, 10});
  EXPECT_EQ(p.pointCapacity(), 10);
  EXPECT_EQ(p.pointCount, 3);
}

}  // namespace
}  // namespace quorvin
