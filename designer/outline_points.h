#pragma once
// The arithmetic of the polygon outline: adding, deleting and rebuilding the
// points of the project, and the designed window's rectangle that follows
// from them. The point markers (20 x 20 windows whose centre is the vertex)
// are the window layer's; here only their recorded top-left corners,
// markerPoints, in main-window client coordinates.

#include <array>
#include <cstdint>
#include <span>

#include "app/model.h"
#include "designer/geometry.h"

namespace quorvin {

constexpr std::int32_t kMarkerSize = 20;       // pixels, square
constexpr std::int32_t kMarkerHalf = 10;       // vertex = marker top-left + (10, 10)
constexpr std::int32_t kPointArrayStep = 10;   // both point arrays grow by this

// The sizing frame and caption of a top-level window, read from the system
// at each rebuild (SM_CXFRAME, SM_CYFRAME, SM_CYCAPTION).
struct FrameMetrics {
  std::int32_t frameX = 0;
  std::int32_t frameY = 0;
  std::int32_t captionY = 0;
};

// Indices of the smallest x, smallest y, largest x and largest y among the
// points; a later point replaces an earlier one only when strictly smaller
// (larger), so the earliest index wins ties. All 0 for zero or one point.
struct ExtremeIndices {
  std::int32_t minX = 0;
  std::int32_t minY = 0;
  std::int32_t maxX = 0;
  std::int32_t maxY = 0;
  friend bool operator==(const ExtremeIndices&, const ExtremeIndices&) = default;
};
ExtremeIndices extremeIndices(std::span<const RegionPoint> points);

// The designed window's outer rectangle around the marker points: the
// leftmost vertex lies frameX inside the left edge, the topmost one
// captionY + frameY below the top edge, and the window reaches 10 pixels past
// the rightmost and the lowest vertex. x and y below 0 become 0 afterwards
// (width and height stay). `markers` must not be empty.
PixelRect outlineWindowRect(std::span<const RegionPoint> markers,
                            const FrameMetrics& metrics);

// Rebuilds from markerPoints[0..pointCount-1]: the project's x, y, width,
// height become outlineWindowRect, and regionPoints[i] = markerPoints[i] -
// (x, y) + (10, 10) with the clamped x, y. False (nothing changed) when there
// is no point. pointCount is held to the arrays' size.
bool rebuildOutline(Project& project, const FrameMetrics& metrics);

// The three markers that the first click with the point tool makes: the
// designed window's top-left corner, its top-right corner, and the clicked
// point (each as a marker top-left, i.e. vertex - (10, 10)).
std::array<RegionPoint, 3> firstTriangleMarkers(const Project& project,
                                                RegionPoint clicked);

// Starts the outline with the triangle above: the point arrays get at least
// 10 zeroed entries, markerPoints[0..2] the three markers, pointCount 3,
// activePoint 2, regionMode Polygon. Call with pointCount 0.
void startOutline(Project& project, RegionPoint clicked);

// Appends a point at `clicked` (markerPoints gets clicked - (10, 10)), the
// arrays growing by 10 when full; it becomes the active point. Returns its
// index (the marker's id is the marker id base + that index).
std::int32_t appendOutlinePoint(Project& project, RegionPoint clicked);

enum class PointDeletion {
  Ignored,         // index outside 0..pointCount-1: nothing changed
  OutlineRemoved,  // one of the last three: no outline any more
  PointRemoved,    // later markers moved down one index; point 0 is active
};

// Deletes point `index`. With three points (or fewer) the outline goes:
// regionMode Rectangle, both arrays zero-filled over their whole capacity,
// pointCount 0, activePoint -1, activeMarker 0; the designed window keeps its
// rectangle. With more, markerPoints after `index` move down one place (the
// vacated last entry is zeroed), pointCount drops by one and activePoint
// becomes 0; the caller renumbers the later markers, makes marker 0 the
// active marker and rebuilds.
PointDeletion deleteOutlinePoint(Project& project, std::int32_t index);

}  // namespace quorvin
