#pragma once
// Moving a placed control with the mouse and sizing it by one of its four
// corner handles. All coordinates are surface client coordinates.

#include <array>
#include <cstdint>

#include "app/model.h"
#include "designer/geometry.h"

namespace quorvin {

constexpr std::int32_t kSizeHandleSize = 10;  // pixels, square, centred on a corner

// The control's new top-left while it follows the cursor: cursor minus the
// offset taken when the move began. Not clamped: a control may leave the
// surface to negative coordinates.
RegionPoint movedPosition(RegionPoint cursor, RegionPoint dragOffset);

// The offset that keeps the grabbed point under the cursor: press minus the
// control's top-left.
RegionPoint dragOffsetOf(RegionPoint press, const PixelRect& control);

// Top-left corners of the four handles, in the order top-left, top-right,
// bottom-left, bottom-right (the tool codes SizeTopLeft..SizeBottomRight):
// (x-5, y-5), (x+w-5, y-5), (x-5, y+h-5), (x+w-5, y+h-5).
std::array<RegionPoint, 4> sizeHandlePositions(const PixelRect& control);

// True for SizeTopLeft, SizeTopRight, SizeBottomLeft and SizeBottomRight.
bool isSizingTool(ToolCode tool);

struct SizingStep {
  PixelRect rect;
  ToolCode tool;  // the corner being dragged after the step
  friend bool operator==(const SizingStep&, const SizingStep&) = default;
};

// One sizing step: the dragged corner (the sizing tool) goes to `cursor`.
// When the width turns negative the corner switches to its horizontal mirror,
// then when the height turns negative to its vertical mirror (so with both
// negative the height's switch is the one that stays); afterwards a negative
// width or height becomes 0. A tool that is not a sizing code leaves rect
// and tool unchanged.
SizingStep sizingStep(ToolCode tool, const PixelRect& rect, RegionPoint cursor);

}  // namespace quorvin
