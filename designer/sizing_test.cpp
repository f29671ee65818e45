#include "designer/sizing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace quorvin {
namespace {

using T = ToolCode;

TEST(SizingStep, EveryCornerAndEverySwitch) {
  const PixelRect start{100, 100, 50, 40};  // right edge 150, bottom 140
  struct Case {
    T tool;
    RegionPoint cursor;
    PixelRect rect;
    T next;
  };
  const Case cases[] = {
      // Growing and shrinking without crossing keep the corner.
      {T::SizeTopLeft, {90, 95}, {90, 95, 60, 45}, T::SizeTopLeft},
      {T::SizeTopRight, {170, 90}, {100, 90, 70, 50}, T::SizeTopRight},
      {T::SizeBottomLeft, {90, 160}, {90, 100, 60, 60}, T::SizeBottomLeft},
      {T::SizeBottomRight, {160, 150}, {100, 100, 60, 50}, T::SizeBottomRight},
      {T::SizeBottomRight, {150, 140}, {100, 100, 50, 40}, T::SizeBottomRight},
      // Reaching the opposite edge exactly gives 0 without a switch.
      {T::SizeBottomRight, {100, 100}, {100, 100, 0, 0}, T::SizeBottomRight},
      // Crossing horizontally.
      {T::SizeTopLeft, {160, 120}, {160, 120, 0, 20}, T::SizeTopRight},
      {T::SizeTopRight, {80, 110}, {100, 110, 0, 30}, T::SizeTopLeft},
      {T::SizeBottomLeft, {170, 120}, {170, 100, 0, 20}, T::SizeBottomRight},
      {T::SizeBottomRight, {90, 120}, {100, 100, 0, 20}, T::SizeBottomLeft},
      // Crossing vertically.
      {T::SizeTopLeft, {120, 150}, {120, 150, 30, 0}, T::SizeBottomLeft},
      {T::SizeTopRight, {120, 150}, {100, 150, 20, 0}, T::SizeBottomRight},
      {T::SizeBottomLeft, {120, 80}, {120, 100, 30, 0}, T::SizeTopLeft},
      {T::SizeBottomRight, {120, 90}, {100, 100, 20, 0}, T::SizeTopRight},
      // Crossing both: the height's switch is the one that stays.
      {T::SizeTopLeft, {160, 150}, {160, 150, 0, 0}, T::SizeBottomLeft},
      {T::SizeTopRight, {80, 150}, {100, 150, 0, 0}, T::SizeBottomRight},
      {T::SizeBottomLeft, {170, 80}, {170, 100, 0, 0}, T::SizeTopLeft},
      {T::SizeBottomRight, {80, 70}, {100, 100, 0, 0}, T::SizeTopRight},
      // Not a sizing code: nothing changes.
      {T::Moving, {0, 0}, start, T::Moving},
      {T::Select, {500, 500}, start, T::Select},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "tool " << static_cast<int>(c.tool) << " cursor ("
                                    << c.cursor.x << ", " << c.cursor.y << ")");
    const SizingStep step = sizingStep(c.tool, start, c.cursor);
    EXPECT_EQ(step.rect, c.rect);
    EXPECT_EQ(step.tool, c.next);
  }
}

TEST(SizingStep, BottomRightDraggedPastTopLeftFlipsAndGrowsFromThere) {
  // The cursor walks one pixel at a time from the bottom-right corner up and
  // left, 20 pixels past the top-left corner (100, 100), as a drag does.
  struct Walk {
    PixelRect start;
    PixelRect end;
  };
  const Walk walks[] = {
      // A square: both edges are crossed in the same step.
      {{100, 100, 40, 40}, {80, 80, 20, 20}},
      // Wider than high: the height crosses first.
      {{100, 100, 50, 40}, {80, 70, 20, 30}},
  };
  for (const Walk& w : walks) {
    SizingStep s{w.start, T::SizeBottomRight};
    std::vector<T> tools{s.tool};
    const int steps = std::max(w.start.width, w.start.height) + 20;
    for (int i = 1; i <= steps; ++i) {
      const RegionPoint cursor{w.start.x + w.start.width - i, w.start.y + w.start.height - i};
      s = sizingStep(s.tool, s.rect, cursor);
      ASSERT_GE(s.rect.width, 0) << "step " << i;
      ASSERT_GE(s.rect.height, 0) << "step " << i;
      if (tools.back() != s.tool) tools.push_back(s.tool);
    }
    // Top-right when the height (or both) crossed, then top-left; the
    // rectangle grows again from the crossing, ending at the old top-left.
    EXPECT_EQ(tools, (std::vector<T>{T::SizeBottomRight, T::SizeTopRight, T::SizeTopLeft}));
    EXPECT_EQ(s.rect, w.end);
    EXPECT_EQ(s.rect.x + s.rect.width, 100);
    EXPECT_EQ(s.rect.y + s.rect.height, 100);
  }

  // Jumping straight above-left ends at top-right with w = h = 0; with the
  // cursor held still the next steps turn to top-left and grow to it.
  SizingStep s = sizingStep(T::SizeBottomRight, {100, 100, 50, 40}, {80, 70});
  EXPECT_EQ(s, (SizingStep{{100, 100, 0, 0}, T::SizeTopRight}));
  s = sizingStep(s.tool, s.rect, {80, 70});
  EXPECT_EQ(s, (SizingStep{{100, 70, 0, 30}, T::SizeTopLeft}));
  s = sizingStep(s.tool, s.rect, {80, 70});
  EXPECT_EQ(s, (SizingStep{{80, 70, 20, 30}, T::SizeTopLeft}));
}

TEST(Moving, FollowsTheCursorWithoutClampingAndPlacesHandles) {
  // Grabbed 10, 20 inside the control; the cursor left of and above the
  // surface gives negative coordinates.
  const RegionPoint offset = dragOffsetOf({110, 220}, {100, 200, 30, 40});
  EXPECT_EQ(offset, (RegionPoint{10, 20}));
  EXPECT_EQ(movedPosition({3, 4}, offset), (RegionPoint{-7, -16}));
  EXPECT_EQ(movedPosition({-50, 0}, offset), (RegionPoint{-60, -20}));
  EXPECT_EQ(movedPosition({110, 220}, offset), (RegionPoint{100, 200}));

  const auto handles = sizeHandlePositions({-5, 10, 30, 0});
  EXPECT_EQ(handles[0], (RegionPoint{-10, 5}));   // top-left
  EXPECT_EQ(handles[1], (RegionPoint{20, 5}));    // top-right
  EXPECT_EQ(handles[2], (RegionPoint{-10, 5}));   // bottom-left (height 0)
  EXPECT_EQ(handles[3], (RegionPoint{20, 5}));    // bottom-right
  const auto spread = sizeHandlePositions({100, 100, 50, 40});
  EXPECT_EQ(spread[2], (RegionPoint{95, 135}));
  EXPECT_EQ(spread[3], (RegionPoint{145, 135}));
}

}  // namespace
}  // namespace quorvin
