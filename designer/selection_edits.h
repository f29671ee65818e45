#pragma once
// What the keyboard and the Layout menu do to the selected controls'
// rectangles: the nudge of an arrow key and the arrangement commands,
// as pure functions the shell applies in one batch and one undo step.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "designer/arrange.h"
#include "designer/geometry.h"

namespace quorvin {

// The Layout menu's commands, in the menu's order.
enum class ArrangeCommand {
  AlignLefts,
  AlignRights,
  AlignTops,
  AlignBottoms,
  AlignCentresAcross,  // the same x centre as the primary
  AlignCentresDown,    // the same y centre as the primary
  SameWidth,
  SameHeight,
  SameSize,
  SpaceAcross,
  SpaceDown,
  CentreInWindowAcross,
  CentreInWindowDown,
};

// How many controls must be selected for the command to do anything: two
// to line up with or match the primary, three to space out, one to centre.
std::size_t minimumSelection(ArrangeCommand command);

// The rectangles after the command; `primary` indexes `rects`, the client
// size is the designed window's client area. A selection below the minimum
// comes back unchanged.
std::vector<PixelRect> arrangedRects(ArrangeCommand command, std::span<const PixelRect> rects,
                                     std::size_t primary, std::int32_t clientWidth,
                                     std::int32_t clientHeight);

// An arrow key: the rectangle moves by (dx, dy) and its size changes by
// (dw, dh); a size never goes below 0.
PixelRect nudgedRect(const PixelRect& rect, std::int32_t dx, std::int32_t dy, std::int32_t dw,
                     std::int32_t dh);

}  // namespace quorvin
