#include "designer/selection_edits.h"

#include <algorithm>

namespace quorvin {

std::size_t minimumSelection(ArrangeCommand command) {
  switch (command) {
    case ArrangeCommand::SpaceAcross:
    case ArrangeCommand::SpaceDown:
      return 3;
    case ArrangeCommand::CentreInWindowAcross:
    case ArrangeCommand::CentreInWindowDown:
      return 1;
    default:
      return 2;
  }
}

std::vector<PixelRect> arrangedRects(ArrangeCommand command, std::span<const PixelRect> rects,
                                     std::size_t primary, std::int32_t clientWidth,
                                     std::int32_t clientHeight) {
  if (rects.size() < minimumSelection(command) || primary >= rects.size())
    return {rects.begin(), rects.end()};
  switch (command) {
    case ArrangeCommand::AlignLefts:
      return alignTo(rects, primary, AlignEdge::Left);
    case ArrangeCommand::AlignRights:
      return alignTo(rects, primary, AlignEdge::Right);
    case ArrangeCommand::AlignTops:
      return alignTo(rects, primary, AlignEdge::Top);
    case ArrangeCommand::AlignBottoms:
      return alignTo(rects, primary, AlignEdge::Bottom);
    case ArrangeCommand::AlignCentresAcross:
      return alignTo(rects, primary, AlignEdge::HorizontalCentre);
    case ArrangeCommand::AlignCentresDown:
      return alignTo(rects, primary, AlignEdge::VerticalCentre);
    case ArrangeCommand::SameWidth:
      return matchSize(rects, primary, SizeMatch::Width);
    case ArrangeCommand::SameHeight:
      return matchSize(rects, primary, SizeMatch::Height);
    case ArrangeCommand::SameSize:
      return matchSize(rects, primary, SizeMatch::Both);
    case ArrangeCommand::SpaceAcross:
      return spaceEvenly(rects, Axis::Across);
    case ArrangeCommand::SpaceDown:
      return spaceEvenly(rects, Axis::Down);
    case ArrangeCommand::CentreInWindowAcross:
      return centreInClient(rects, clientWidth, clientHeight, Axis::Across);
    case ArrangeCommand::CentreInWindowDown:
      return centreInClient(rects, clientWidth, clientHeight, Axis::Down);
  }
  return {rects.begin(), rects.end()};
}

PixelRect nudgedRect(const PixelRect& rect, std::int32_t dx, std::int32_t dy, std::int32_t dw,
                     std::int32_t dh) {
  return {rect.x + dx, rect.y + dy, std::max(rect.width + dw, 0),
          std::max(rect.height + dh, 0)};
}

}  // namespace quorvin
