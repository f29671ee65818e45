#include "designer/arrange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <set>
#include <utility>

#include "tests/property/random_design.h"

namespace quorvin {
namespace {

using testing::Random;

constexpr int kRounds = 300;

// A few controls as a form holds them: sizes from 1 to 200, places within a
// 1,000-pixel square, sometimes overlapping.
std::vector<PixelRect> randomRects(Random& random, std::size_t count) {
  std::vector<PixelRect> rects(count);
  for (PixelRect& r : rects) {
    r.x = static_cast<std::int32_t>(random.between(-50, 1000));
    r.y = static_cast<std::int32_t>(random.between(-50, 1000));
    r.width = static_cast<std::int32_t>(random.between(1, 200));
    r.height = static_cast<std::int32_t>(random.between(1, 200));
  }
  return rects;
}

std::int64_t leftOf(const PixelRect& r) { return r.x; }
std::int64_t rightOf(const PixelRect& r) { return std::int64_t{r.x} + r.width; }
std::int64_t topOf(const PixelRect& r) { return r.y; }
std::int64_t bottomOf(const PixelRect& r) { return std::int64_t{r.y} + r.height; }

TEST(Arrange, AligningAndMatchingAreStableAndTouchOnlyWhatTheyName) {
  Random random(11);
  for (int round = 0; round < kRounds; ++round) {
    const auto rects = randomRects(random, 1 + random.below(8));
    const std::size_t primary = random.below(static_cast<std::uint32_t>(rects.size()));
    for (AlignEdge edge : {AlignEdge::Left, AlignEdge::Right, AlignEdge::Top, AlignEdge::Bottom,
                           AlignEdge::HorizontalCentre, AlignEdge::VerticalCentre}) {
      const auto once = alignTo(rects, primary, edge);
      EXPECT_EQ(alignTo(once, primary, edge), once) << "aligning twice moved something";
      EXPECT_EQ(once[primary], rects[primary]) << "the primary control moved";
      const bool across = edge == AlignEdge::Left || edge == AlignEdge::Right ||
                          edge == AlignEdge::HorizontalCentre;
      for (std::size_t i = 0; i < rects.size(); ++i) {
        EXPECT_EQ(once[i].width, rects[i].width);
        EXPECT_EQ(once[i].height, rects[i].height);
        EXPECT_EQ(across ? once[i].y : once[i].x, across ? rects[i].y : rects[i].x);
        switch (edge) {
          case AlignEdge::Left:
            EXPECT_EQ(leftOf(once[i]), leftOf(rects[primary]));
            break;
          case AlignEdge::Right:
            EXPECT_EQ(rightOf(once[i]), rightOf(rects[primary]));
            break;
          case AlignEdge::Top:
            EXPECT_EQ(topOf(once[i]), topOf(rects[primary]));
            break;
          case AlignEdge::Bottom:
            EXPECT_EQ(bottomOf(once[i]), bottomOf(rects[primary]));
            break;
          default:
            break;
        }
      }
    }
    for (SizeMatch match : {SizeMatch::Width, SizeMatch::Height, SizeMatch::Both}) {
      const auto once = matchSize(rects, primary, match);
      EXPECT_EQ(matchSize(once, primary, match), once);
      for (std::size_t i = 0; i < rects.size(); ++i) {
        EXPECT_EQ(once[i].x, rects[i].x);
        EXPECT_EQ(once[i].y, rects[i].y);
        EXPECT_EQ(once[i].width,
                  match == SizeMatch::Height ? rects[i].width : rects[primary].width);
        EXPECT_EQ(once[i].height,
                  match == SizeMatch::Width ? rects[i].height : rects[primary].height);
      }
    }
    EXPECT_EQ(alignTo(rects, rects.size(), AlignEdge::Left), rects) << "no primary, no change";
  }
  // Centres round down as the platform draws: 10 wide at 0 centres on 5,
  // a 5-wide control then starts at 3.
  EXPECT_EQ(alignTo(std::vector<PixelRect>{{0, 0, 10, 10}, {40, 0, 5, 5}}, 0,
                    AlignEdge::HorizontalCentre)[1],
            (PixelRect{3, 0, 5, 5}));
}

TEST(Arrange, SpacingKeepsTheOuterControlsAndMakesEqualGaps) {
  Random random(12);
  for (int round = 0; round < kRounds; ++round) {
    auto rects = randomRects(random, 3 + random.below(8));
    // Now and then controls of no size, and controls sharing an edge.
    if (random.below(4) == 0) rects[random.below(rects.size())].width = 0;
    if (random.below(4) == 0) rects[random.below(rects.size())].x = rects[0].x;
    for (Axis axis : {Axis::Across, Axis::Down}) {
      const auto spaced = spaceEvenly(rects, axis);
      const auto startOf = [axis](const PixelRect& r) {
        return axis == Axis::Across ? leftOf(r) : topOf(r);
      };
      const auto endOf = [axis](const PixelRect& r) {
        return axis == Axis::Across ? rightOf(r) : bottomOf(r);
      };
      std::vector<std::size_t> order(rects.size());
      std::iota(order.begin(), order.end(), std::size_t{0});
      std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::pair(startOf(rects[a]), endOf(rects[a])) <
               std::pair(startOf(rects[b]), endOf(rects[b]));
      });
      EXPECT_EQ(spaced[order.front()], rects[order.front()]) << "the first control moved";
      EXPECT_EQ(spaced[order.back()], rects[order.back()]) << "the last control moved";
      // Even gaps where the controls fit, else evenly spaced leading edges;
      // either way the order along the axis stays.
      std::int64_t occupied = 0;
      for (const PixelRect& r : rects) occupied += endOf(r) - startOf(r);
      const bool fit = endOf(rects[order.back()]) - startOf(rects[order.front()]) >= occupied;
      std::int64_t smallest = INT64_MAX, largest = INT64_MIN;
      for (std::size_t k = 0; k + 1 < order.size(); ++k) {
        const std::int64_t step = startOf(spaced[order[k + 1]]) -
                                  (fit ? endOf(spaced[order[k]]) : startOf(spaced[order[k]]));
        smallest = std::min(smallest, step);
        largest = std::max(largest, step);
      }
      EXPECT_LE(largest - smallest, 1) << "the spacing is not even";
      EXPECT_GE(smallest, 0) << "the order changed";
      for (std::size_t i = 0; i < rects.size(); ++i) {
        // Only the coordinate along the axis moves.
        EXPECT_EQ(axis == Axis::Across ? spaced[i].y : spaced[i].x,
                  axis == Axis::Across ? rects[i].y : rects[i].x);
        EXPECT_EQ(spaced[i].width, rects[i].width);
      }
      EXPECT_EQ(spaceEvenly(spaced, axis), spaced) << "spacing twice moved something";
    }
  }
}

TEST(Arrange, CentringPutsTheGroupInTheMiddleAndKeepsItsShape) {
  Random random(13);
  for (int round = 0; round < kRounds; ++round) {
    const auto rects = randomRects(random, 1 + random.below(6));
    const auto width = static_cast<std::int32_t>(random.between(100, 1500));
    const auto height = static_cast<std::int32_t>(random.between(100, 1500));
    const auto across = centreInClient(rects, width, height, Axis::Across);
    std::int64_t low = INT64_MAX, high = INT64_MIN;
    for (std::size_t i = 0; i < rects.size(); ++i) {
      low = std::min(low, leftOf(across[i]));
      high = std::max(high, rightOf(across[i]));
      EXPECT_EQ(across[i].x - rects[i].x, across[0].x - rects[0].x) << "the group changed shape";
      EXPECT_EQ(across[i].y, rects[i].y);
    }
    EXPECT_LE(std::abs(low - (width - high)), 1) << "not centred across";
  }
}

TEST(Arrange, TheRubberBandTouchesWhatItOverlaps) {
  Random random(14);
  for (int round = 0; round < kRounds; ++round) {
    const auto rects = randomRects(random, random.below(12));
    const RegionPoint a{static_cast<std::int32_t>(random.between(-100, 1100)),
                        static_cast<std::int32_t>(random.between(-100, 1100))};
    const RegionPoint b{static_cast<std::int32_t>(random.between(-100, 1100)),
                        static_cast<std::int32_t>(random.between(-100, 1100))};
    const auto touched = touchedByBand(rects, a, b);
    EXPECT_EQ(touched, touchedByBand(rects, b, a)) << "the band depends on the drag's direction";
    const std::set<std::size_t> chosen(touched.begin(), touched.end());
    for (std::size_t i = 0; i < rects.size(); ++i) {
      // A pixel of the control inside the band, by brute force on corners
      // and the band's own corners.
      const std::int64_t left = std::max<std::int64_t>(rects[i].x, std::min(a.x, b.x));
      const std::int64_t right = std::min<std::int64_t>(rightOf(rects[i]), std::max(a.x, b.x));
      const std::int64_t top = std::max<std::int64_t>(rects[i].y, std::min(a.y, b.y));
      const std::int64_t bottom = std::min<std::int64_t>(bottomOf(rects[i]), std::max(a.y, b.y));
      EXPECT_EQ(chosen.count(i) == 1, left < right && top < bottom) << "control " << i;
    }
  }
}

TEST(Arrange, GridAndSnapLines) {
  Random random(15);
  for (int round = 0; round < kRounds * 10; ++round) {
    const auto value = static_cast<std::int32_t>(random.between(-5000, 5000));
    const auto step = static_cast<std::int32_t>(random.between(2, 64));
    const std::int32_t snapped = snapToGrid(value, step);
    EXPECT_EQ(((snapped % step) + step) % step, 0);
    EXPECT_LE(std::abs(snapped - value), step / 2);
    EXPECT_EQ(snapToGrid(snapped, step), snapped);
  }
  EXPECT_EQ(snapToGrid(12, 8), 16);  // halves round up
  EXPECT_EQ(snapToGrid(-12, 8), -8);
  EXPECT_EQ(snapToGrid(7, 1), 7);

  for (int round = 0; round < kRounds; ++round) {
    const auto others = randomRects(random, 1 + random.below(6));
    const PixelRect moving = randomRects(random, 1)[0];
    const auto tolerance = static_cast<std::int32_t>(random.between(0, 8));
    const SnapResult snap = snapToOthers(moving, others, tolerance);
    EXPECT_EQ(snap.rect.width, moving.width);
    EXPECT_EQ(snap.rect.height, moving.height);
    EXPECT_LE(std::abs(snap.rect.x - moving.x), tolerance);
    EXPECT_LE(std::abs(snap.rect.y - moving.y), tolerance);
    if (snap.lineX) {
      const std::int64_t line = *snap.lineX;
      EXPECT_TRUE(leftOf(snap.rect) == line || rightOf(snap.rect) == line ||
                  snap.rect.x + snap.rect.width / 2 == line);
      // The line is drawn over the moved control and one that has the line.
      const LineSpan span = snapLineSpan(snap.rect, others, *snap.lineX, true);
      EXPECT_LE(span.from, snap.rect.y);
      EXPECT_GE(span.to, snap.rect.y + snap.rect.height);
      EXPECT_TRUE(std::any_of(others.begin(), others.end(), [&](const PixelRect& o) {
        return (o.x == line || o.x + o.width == line || o.x + o.width / 2 == line) &&
               span.from <= o.y && span.to >= o.y + o.height;
      }));
    } else {
      EXPECT_EQ(snap.rect.x, moving.x);
    }
  }
  // A left edge 3 pixels from another's lines up with it.
  const SnapResult near =
      snapToOthers({103, 50, 20, 20}, std::vector<PixelRect>{{100, 0, 40, 10}}, 4);
  EXPECT_EQ(near.rect.x, 100);
  EXPECT_EQ(near.lineX, 100);
  EXPECT_FALSE(near.lineY);
}

TEST(Arrange, OrderByPositionReadsRowsAndPutsGroupBoxesFirst) {
  // Two rows, the second's controls slightly out of line; a group box
  // around the last two, drawn last.
  const std::vector<PixelRect> form{
      {200, 10, 80, 20},  // 0: row 1, right
      {10, 12, 80, 20},   // 1: row 1, left
      {200, 62, 80, 20},  // 2: row 2, right, inside the box
      {10, 60, 80, 20},   // 3: row 2, left, inside the box
      {0, 40, 300, 60},   // 4: the group box
  };
  const bool boxes[] = {false, false, false, false, true};
  EXPECT_EQ(orderByPosition(form, boxes), (std::vector<std::size_t>{1, 0, 4, 3, 2}));

  Random random(16);
  for (int round = 0; round < kRounds; ++round) {
    const auto rects = randomRects(random, random.below(12));
    // std::vector<bool> has no contiguous storage to view.
    const std::unique_ptr<bool[]> groupBox(new bool[rects.size() + 1]);
    for (std::size_t i = 0; i < rects.size(); ++i) groupBox[i] = random.oneIn(4);
    const std::span<const bool> flagsOf(groupBox.get(), rects.size());
    const auto order = orderByPosition(rects, flagsOf);
    std::vector<std::size_t> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::size_t> all(rects.size());
    std::iota(all.begin(), all.end(), std::size_t{0});
    ASSERT_EQ(sorted, all) << "not a permutation";
    std::vector<std::size_t> place(rects.size());
    for (std::size_t k = 0; k < order.size(); ++k) place[order[k]] = k;
    for (std::size_t box = 0; box < rects.size(); ++box) {
      if (!groupBox[box]) continue;
      for (std::size_t i = 0; i < rects.size(); ++i) {
        const bool inside = i != box && leftOf(rects[i]) >= leftOf(rects[box]) &&
                            topOf(rects[i]) >= topOf(rects[box]) &&
                            rightOf(rects[i]) <= rightOf(rects[box]) &&
                            bottomOf(rects[i]) <= bottomOf(rects[box]);
        // Two boxes of the same size hold each other; either order will do.
        if (inside && !(groupBox[i] && rects[i] == rects[box])) {
          EXPECT_LT(place[box], place[i]) << "group box " << box << " after control " << i;
        }
      }
    }
    EXPECT_EQ(orderByPosition(rects, flagsOf), order) << "not the same order twice";
  }
}

}  // namespace
}  // namespace quorvin
