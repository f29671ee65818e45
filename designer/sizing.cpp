#include "designer/sizing.h"

#include <algorithm>

namespace quorvin {

RegionPoint movedPosition(RegionPoint cursor, RegionPoint dragOffset) {
  return {wrappingSub(cursor.x, dragOffset.x), wrappingSub(cursor.y, dragOffset.y)};
}

RegionPoint dragOffsetOf(RegionPoint press, const PixelRect& control) {
  return {wrappingSub(press.x, control.x), wrappingSub(press.y, control.y)};
}

std::array<RegionPoint, 4> sizeHandlePositions(const PixelRect& control) {
  constexpr std::int32_t half = kSizeHandleSize / 2;
  const std::int32_t left = wrappingSub(control.x, half);
  const std::int32_t top = wrappingSub(control.y, half);
  const std::int32_t right = wrappingSub(wrappingAdd(control.x, control.width), half);
  const std::int32_t bottom = wrappingSub(wrappingAdd(control.y, control.height), half);
  return {{{left, top}, {right, top}, {left, bottom}, {right, bottom}}};
}

bool isSizingTool(ToolCode tool) {
  return tool == ToolCode::SizeTopLeft || tool == ToolCode::SizeTopRight ||
         tool == ToolCode::SizeBottomLeft || tool == ToolCode::SizeBottomRight;
}

SizingStep sizingStep(ToolCode tool, const PixelRect& rect, RegionPoint cursor) {
  if (!isSizingTool(tool)) return {rect, tool};
  PixelRect r = rect;
  ToolCode ifWidthNegative = tool;
  ToolCode ifHeightNegative = tool;
  // The dragged corner's horizontal edge: left edges move x and keep the
  // right edge, right edges keep x.
  const bool leftEdge = tool == ToolCode::SizeTopLeft || tool == ToolCode::SizeBottomLeft;
  const bool topEdge = tool == ToolCode::SizeTopLeft || tool == ToolCode::SizeTopRight;
  if (leftEdge) {
    r.width = wrappingAdd(rect.width, wrappingSub(rect.x, cursor.x));
    r.x = cursor.x;
  } else {
    r.width = wrappingSub(cursor.x, rect.x);
  }
  if (topEdge) {
    r.height = wrappingAdd(rect.height, wrappingSub(rect.y, cursor.y));
    r.y = cursor.y;
  } else {
    r.height = wrappingSub(cursor.y, rect.y);
  }
  switch (tool) {
    case ToolCode::SizeTopLeft:
      ifWidthNegative = ToolCode::SizeTopRight;
      ifHeightNegative = ToolCode::SizeBottomLeft;
      break;
    case ToolCode::SizeTopRight:
      ifWidthNegative = ToolCode::SizeTopLeft;
      ifHeightNegative = ToolCode::SizeBottomRight;
      break;
    case ToolCode::SizeBottomLeft:
      ifWidthNegative = ToolCode::SizeBottomRight;
      ifHeightNegative = ToolCode::SizeTopLeft;
      break;
    default:  // SizeBottomRight
      ifWidthNegative = ToolCode::SizeBottomLeft;
      ifHeightNegative = ToolCode::SizeTopRight;
      break;
  }
  ToolCode next = tool;
  if (r.width < 0) next = ifWidthNegative;
  if (r.height < 0) next = ifHeightNegative;
  r.width = std::max<std::int32_t>(r.width, 0);
  r.height = std::max<std::int32_t>(r.height, 0);
  return {r, next};
}

}  // namespace quorvin
