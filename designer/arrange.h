#pragma once
// Arranging several controls at once: the geometry behind lining up,
// matching sizes, spacing out, centring, the rubber band, the grid, snap
// lines and ordering by position. Pure functions over rectangles in surface
// client coordinates; the caller applies the results to the design through
// its one path of changes (one undo step per command).
//
// Every function that takes a `primary` index expects it to name an entry
// of `rects`; with an index out of range the rectangles come back as they
// were.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "app/model.h"
#include "designer/geometry.h"

namespace quorvin {

// ---- Lining up and matching sizes ---------------------------------------

enum class AlignEdge { Left, Right, Top, Bottom, HorizontalCentre, VerticalCentre };

// Moves every rectangle so that its EDGE lies where the primary's does;
// sizes stay. HorizontalCentre lines up the centres across (the same x
// centre), VerticalCentre the centres down (the same y centre). Centres are
// x + width / 2 rounded down, so odd and even widths line up to the pixel
// the platform would draw.
std::vector<PixelRect> alignTo(std::span<const PixelRect> rects, std::size_t primary,
                               AlignEdge edge);

enum class SizeMatch { Width, Height, Both };

// Gives every rectangle the primary's width, height or both; top-left
// corners stay.
std::vector<PixelRect> matchSize(std::span<const PixelRect> rects, std::size_t primary,
                                 SizeMatch match);

enum class Axis { Across, Down };

// Spaces the rectangles evenly along AXIS: the first and the last (by their
// left or top edge) stay where they are, the others move so that the gaps
// between neighbours are equal (they differ by at most a pixel where the
// room does not divide; the larger gaps come first). Fewer than three
// rectangles come back as they were. Rectangles that do not fit between the
// outer two get evenly spaced leading edges (left or top) instead, so that
// they keep their order. Spacing the result again changes nothing.
std::vector<PixelRect> spaceEvenly(std::span<const PixelRect> rects, Axis axis);

// Moves the rectangles together so that their bounding box is centred in a
// client area of `clientWidth` x `clientHeight` pixels along AXIS (the
// other coordinate stays).
std::vector<PixelRect> centreInClient(std::span<const PixelRect> rects, std::int32_t clientWidth,
                                      std::int32_t clientHeight, Axis axis);

// ---- Choosing -----------------------------------------------------------

// The indices, ascending, of the rectangles that the rubber band from
// `corner` to `opposite` touches (shares at least one pixel with). A band
// of zero width or height touches nothing.
std::vector<std::size_t> touchedByBand(std::span<const PixelRect> rects, RegionPoint corner,
                                       RegionPoint opposite);

// ---- Grid and snap lines ------------------------------------------------

inline constexpr std::int32_t kDefaultGridStep = 8;  // pixels

// The multiple of `step` nearest to `value` (halves round up); a step below
// 2 leaves the value as it is.
std::int32_t snapToGrid(std::int32_t value, std::int32_t step);

// Where a dragged rectangle lines up with another control: for each axis the
// nearest of its three lines (left, centre, right; top, centre, bottom) to
// any of the same lines of the others, if within `tolerance` pixels.
struct SnapResult {
  PixelRect rect;                     // moved by the snap (size unchanged)
  std::optional<std::int32_t> lineX;  // the vertical line it snapped to
  std::optional<std::int32_t> lineY;  // the horizontal line it snapped to
};
SnapResult snapToOthers(const PixelRect& moving, std::span<const PixelRect> others,
                        std::int32_t tolerance);

// The stretch along a snap line that is worth drawing: over the moved
// rectangle and the nearest other one that has the line (`line` is its
// left, centre or right for a vertical line; top, centre or bottom for a
// horizontal one). Just the moved rectangle's stretch when none has it. A
// short line repaints little when it goes, whatever the form's size.
struct LineSpan {
  std::int32_t from = 0;  // top (vertical line) or left (horizontal line)
  std::int32_t to = 0;    // exclusive
};
LineSpan snapLineSpan(const PixelRect& moved, std::span<const PixelRect> others,
                      std::int32_t line, bool vertical);

// ---- Order ----------------------------------------------------------------

// The order in which the controls are created (and so the tab order and
// the z-order) when ordered by position: rows from top to bottom, and in a
// row from left to right. A control starts a new row when its top lies at
// or below the bottom of the current row's first control. A group box comes
// before every control it contains, whatever their places. Returns a
// permutation of 0 .. rects.size() - 1: result[k] is the index of the
// control that goes to place k. `isGroupBox` has one entry per rectangle.
std::vector<std::size_t> orderByPosition(std::span<const PixelRect> rects,
                                         std::span<const bool> isGroupBox);

}  // namespace quorvin
