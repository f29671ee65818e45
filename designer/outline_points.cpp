#include "designer/outline_points.h"

#include <algorithm>

namespace quorvin {

namespace {

RegionPoint markerOfVertex(std::int32_t x, std::int32_t y) {
  return {wrappingSub(x, kMarkerHalf), wrappingSub(y, kMarkerHalf)};
}

std::int32_t validPointCount(const Project& project) {
  const auto size = static_cast<std::int32_t>(
      std::min(project.markerPoints.size(), project.regionPoints.size()));
  return std::clamp<std::int32_t>(project.pointCount, 0, size);
}

// Grows both arrays to `grownTo` entries when fewer than `needed` are there,
// and keeps regionPoints at least as long as markerPoints.
void ensurePointCapacity(Project& project, std::int32_t needed, std::int32_t grownTo) {
  if (needed > project.pointCapacity()) project.growPointArrays(std::max(needed, grownTo));
  if (project.regionPoints.size() < project.markerPoints.size())
    project.regionPoints.resize(project.markerPoints.size());
}

}  // namespace

ExtremeIndices extremeIndices(std::span<const RegionPoint> points) {
  ExtremeIndices e;
  for (std::size_t i = 1; i < points.size(); ++i) {
    const auto index = static_cast<std::int32_t>(i);
    if (points[i].x < points[static_cast<std::size_t>(e.minX)].x) e.minX = index;
    if (points[i].y < points[static_cast<std::size_t>(e.minY)].y) e.minY = index;
    if (points[i].x > points[static_cast<std::size_t>(e.maxX)].x) e.maxX = index;
    if (points[i].y > points[static_cast<std::size_t>(e.maxY)].y) e.maxY = index;
  }
  return e;
}

PixelRect outlineWindowRect(std::span<const RegionPoint> markers,
                            const FrameMetrics& m) {
  if (markers.empty()) return {};
  const ExtremeIndices e = extremeIndices(markers);
  const RegionPoint left = markers[static_cast<std::size_t>(e.minX)];
  const RegionPoint top = markers[static_cast<std::size_t>(e.minY)];
  const RegionPoint right = markers[static_cast<std::size_t>(e.maxX)];
  const RegionPoint bottom = markers[static_cast<std::size_t>(e.maxY)];
  PixelRect r;
  r.x = wrappingAdd(wrappingSub(left.x, m.frameX), kMarkerHalf);
  r.y = wrappingAdd(wrappingSub(wrappingSub(top.y, m.captionY), m.frameY), kMarkerHalf);
  r.width = wrappingAdd(wrappingAdd(m.frameX, wrappingSub(right.x, left.x)), kMarkerHalf);
  r.height = wrappingAdd(
      wrappingAdd(wrappingAdd(m.frameY, m.captionY), wrappingSub(bottom.y, top.y)),
      kMarkerHalf);
  r.x = std::max<std::int32_t>(r.x, 0);
  r.y = std::max<std::int32_t>(r.y, 0);
  return r;
}

bool rebuildOutline(Project& project, const FrameMetrics& metrics) {
  const std::int32_t count = validPointCount(project);
  if (count == 0) return false;
  const std::span<const RegionPoint> markers(project.markerPoints.data(),
                                             static_cast<std::size_t>(count));
  const PixelRect r = outlineWindowRect(markers, metrics);
  project.x = r.x;
  project.y = r.y;
  project.width = r.width;
  project.height = r.height;
  for (std::size_t i = 0; i < markers.size(); ++i) {
    project.regionPoints[i] = {
        wrappingAdd(wrappingSub(markers[i].x, r.x), kMarkerHalf),
        wrappingAdd(wrappingSub(markers[i].y, r.y), kMarkerHalf)};
  }
  return true;
}

std::array<RegionPoint, 3> firstTriangleMarkers(const Project& project,
                                                RegionPoint clicked) {
  return {markerOfVertex(project.x, project.y),
          markerOfVertex(wrappingAdd(project.x, project.width), project.y),
          markerOfVertex(clicked.x, clicked.y)};
}

void startOutline(Project& project, RegionPoint clicked) {
  const std::array<RegionPoint, 3> markers = firstTriangleMarkers(project, clicked);
  ensurePointCapacity(project, 3, kPointArrayStep);
  for (std::size_t i = 0; i < markers.size(); ++i) project.markerPoints[i] = markers[i];
  project.pointCount = 3;
  project.activePoint = 2;
  project.regionMode = RegionMode::Polygon;
}

std::int32_t appendOutlinePoint(Project& project, RegionPoint clicked) {
  const std::int32_t index = std::max<std::int32_t>(project.pointCount, 0);
  ensurePointCapacity(project, index + 1, project.pointCapacity() + kPointArrayStep);
  project.activePoint = index;
  project.markerPoints[static_cast<std::size_t>(index)] =
      markerOfVertex(clicked.x, clicked.y);
  project.pointCount = index + 1;
  return index;
}

PointDeletion deleteOutlinePoint(Project& project, std::int32_t index) {
  const std::int32_t count = validPointCount(project);
  if (index < 0 || index >= count) return PointDeletion::Ignored;
  if (count <= 3) {
    project.regionMode = RegionMode::Rectangle;
    std::fill(project.regionPoints.begin(), project.regionPoints.end(), RegionPoint{});
    std::fill(project.markerPoints.begin(), project.markerPoints.end(), RegionPoint{});
    project.pointCount = 0;
    project.activePoint = -1;
    project.activeMarker = 0;
    return PointDeletion::OutlineRemoved;
  }
  auto first = project.markerPoints.begin() + index;
  std::move(first + 1, project.markerPoints.begin() + count, first);
  project.markerPoints[static_cast<std::size_t>(count - 1)] = RegionPoint{};
  project.pointCount = count - 1;
  project.activePoint = 0;
  return PointDeletion::PointRemoved;
}

}  // namespace quorvin
