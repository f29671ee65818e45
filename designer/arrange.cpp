#include "designer/arrange.h"

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>

namespace quorvin {
namespace {

// Arithmetic in 64 bits, stored back with the same wrap-around as the rest
// of the geometry: numbers from files may be anything.
using Wide = std::int64_t;
std::int32_t narrow(Wide value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

Wide right(const PixelRect& r) { return Wide{r.x} + r.width; }
Wide bottom(const PixelRect& r) { return Wide{r.y} + r.height; }
Wide centreX(const PixelRect& r) { return Wide{r.x} + r.width / 2; }
Wide centreY(const PixelRect& r) { return Wide{r.y} + r.height / 2; }

Wide start(const PixelRect& r, Axis axis) { return axis == Axis::Across ? r.x : r.y; }
Wide extent(const PixelRect& r, Axis axis) { return axis == Axis::Across ? r.width : r.height; }
void setStart(PixelRect& r, Axis axis, Wide value) {
  (axis == Axis::Across ? r.x : r.y) = narrow(value);
}

std::vector<PixelRect> copyOf(std::span<const PixelRect> rects) {
  return {rects.begin(), rects.end()};
}

bool contains(const PixelRect& outer, const PixelRect& inner) {
  return inner.x >= outer.x && inner.y >= outer.y && right(inner) <= right(outer) &&
         bottom(inner) <= bottom(outer);
}

}  // namespace

std::vector<PixelRect> alignTo(std::span<const PixelRect> rects, std::size_t primary,
                               AlignEdge edge) {
  std::vector<PixelRect> result = copyOf(rects);
  if (primary >= rects.size()) return result;
  const PixelRect& p = rects[primary];
  for (PixelRect& r : result) {
    switch (edge) {
      case AlignEdge::Left:
        r.x = p.x;
        break;
      case AlignEdge::Top:
        r.y = p.y;
        break;
      case AlignEdge::Right:
        r.x = narrow(right(p) - r.width);
        break;
      case AlignEdge::Bottom:
        r.y = narrow(bottom(p) - r.height);
        break;
      case AlignEdge::HorizontalCentre:
        r.x = narrow(centreX(p) - r.width / 2);
        break;
      case AlignEdge::VerticalCentre:
        r.y = narrow(centreY(p) - r.height / 2);
        break;
    }
  }
  return result;
}

std::vector<PixelRect> matchSize(std::span<const PixelRect> rects, std::size_t primary,
                                 SizeMatch match) {
  std::vector<PixelRect> result = copyOf(rects);
  if (primary >= rects.size()) return result;
  const PixelRect& p = rects[primary];
  for (PixelRect& r : result) {
    if (match != SizeMatch::Height) r.width = p.width;
    if (match != SizeMatch::Width) r.height = p.height;
  }
  return result;
}

std::vector<PixelRect> spaceEvenly(std::span<const PixelRect> rects, Axis axis) {
  std::vector<PixelRect> result = copyOf(rects);
  if (rects.size() < 3) return result;
  // Equal starts: the shorter one first, as the spacing below lays them out,
  // so that spacing the result again finds the same order.
  std::vector<std::size_t> order(rects.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const Wide startA = start(rects[a], axis), startB = start(rects[b], axis);
    return startA != startB ? startA < startB : extent(rects[a], axis) < extent(rects[b], axis);
  });
  const PixelRect& first = rects[order.front()];
  const PixelRect& last = rects[order.back()];
  const auto steps = static_cast<Wide>(order.size() - 1);
  Wide occupied = 0;
  for (std::size_t i : order) occupied += extent(rects[i], axis);
  const Wide room = start(last, axis) + extent(last, axis) - start(first, axis) - occupied;
  if (room < 0) {
    // They do not fit: equal (negative) gaps could carry a control past its
    // neighbours and a second spacing would shuffle them again. Their
    // leading edges are spaced evenly instead, which keeps the order.
    const Wide span = start(last, axis) - start(first, axis);
    const Wide step = span / steps, extra = span % steps;
    for (std::size_t k = 1; k + 1 < order.size(); ++k) {
      const auto rank = static_cast<Wide>(k);
      setStart(result[order[k]], axis, start(first, axis) + rank * step + std::min(rank, extra));
    }
    return result;
  }
  const Wide gap = room / steps, extra = room % steps;
  Wide position = start(first, axis) + extent(first, axis);
  for (std::size_t k = 1; k + 1 < order.size(); ++k) {
    position += gap + (static_cast<Wide>(k) <= extra ? 1 : 0);
    PixelRect& r = result[order[k]];
    setStart(r, axis, position);
    position += extent(r, axis);
  }
  return result;
}

std::vector<PixelRect> centreInClient(std::span<const PixelRect> rects, std::int32_t clientWidth,
                                      std::int32_t clientHeight, Axis axis) {
  std::vector<PixelRect> result = copyOf(rects);
  if (rects.empty()) return result;
  Wide low = std::numeric_limits<Wide>::max(), high = std::numeric_limits<Wide>::min();
  for (const PixelRect& r : rects) {
    low = std::min(low, start(r, axis));
    high = std::max(high, start(r, axis) + extent(r, axis));
  }
  const Wide client = axis == Axis::Across ? clientWidth : clientHeight;
  const Wide shift = (client - (high - low)) / 2 - low;
  for (PixelRect& r : result) setStart(r, axis, start(r, axis) + shift);
  return result;
}

std::vector<std::size_t> touchedByBand(std::span<const PixelRect> rects, RegionPoint corner,
                                       RegionPoint opposite) {
  const Wide left = std::min(corner.x, opposite.x), top = std::min(corner.y, opposite.y);
  const Wide bandRight = std::max(corner.x, opposite.x),
             bandBottom = std::max(corner.y, opposite.y);
  std::vector<std::size_t> touched;
  if (left == bandRight || top == bandBottom) return touched;
  for (std::size_t i = 0; i < rects.size(); ++i) {
    const PixelRect& r = rects[i];
    if (r.width <= 0 || r.height <= 0) continue;
    if (r.x < bandRight && right(r) > left && r.y < bandBottom && bottom(r) > top)
      touched.push_back(i);
  }
  return touched;
}

std::int32_t snapToGrid(std::int32_t value, std::int32_t step) {
  if (step < 2) return value;
  const Wide v = value, s = step;
  Wide below = v / s * s;
  if (below > v) below -= s;  // division rounds towards zero
  return narrow(v - below >= (s + 1) / 2 ? below + s : below);
}

SnapResult snapToOthers(const PixelRect& moving, std::span<const PixelRect> others,
                        std::int32_t tolerance) {
  SnapResult result{moving, std::nullopt, std::nullopt};
  // For one axis: the smallest shift that puts one of the moving lines on
  // one of the others' lines; ties go to the first line found.
  const auto best = [&](auto linesOf) -> std::optional<std::pair<Wide, Wide>> {
    std::optional<std::pair<Wide, Wide>> found;  // shift, line
    const std::array<Wide, 3> own = linesOf(moving);
    for (const PixelRect& other : others) {
      for (Wide line : linesOf(other)) {
        for (Wide mine : own) {
          const Wide shift = line - mine;
          if (shift < -tolerance || shift > tolerance) continue;
          if (!found || std::abs(shift) < std::abs(found->first)) found = {{shift, line}};
        }
      }
    }
    return found;
  };
  if (const auto x = best([](const PixelRect& r) {
        return std::array<Wide, 3>{r.x, centreX(r), right(r)};
      })) {
    result.rect.x = narrow(moving.x + x->first);
    result.lineX = narrow(x->second);
  }
  if (const auto y = best([](const PixelRect& r) {
        return std::array<Wide, 3>{r.y, centreY(r), bottom(r)};
      })) {
    result.rect.y = narrow(moving.y + y->first);
    result.lineY = narrow(y->second);
  }
  return result;
}

LineSpan snapLineSpan(const PixelRect& moved, std::span<const PixelRect> others,
                      std::int32_t line, bool vertical) {
  // Along the line: y for a vertical line, x for a horizontal one.
  const auto start = [vertical](const PixelRect& r) -> Wide { return vertical ? r.y : r.x; };
  const auto end = [vertical](const PixelRect& r) -> Wide {
    return vertical ? bottom(r) : right(r);
  };
  const auto hasLine = [vertical, line](const PixelRect& r) {
    return vertical ? (r.x == line || centreX(r) == line || right(r) == line)
                    : (r.y == line || centreY(r) == line || bottom(r) == line);
  };
  Wide from = start(moved);
  Wide to = end(moved);
  std::optional<std::pair<Wide, const PixelRect*>> nearest;  // gap, rectangle
  for (const PixelRect& other : others) {
    if (!hasLine(other)) continue;
    const Wide gap = std::max<Wide>({Wide{0}, start(other) - end(moved), start(moved) - end(other)});
    if (!nearest || gap < nearest->first) nearest = {{gap, &other}};
  }
  if (nearest) {
    from = std::min(from, start(*nearest->second));
    to = std::max(to, end(*nearest->second));
  }
  return {narrow(from), narrow(to)};
}

std::vector<std::size_t> orderByPosition(std::span<const PixelRect> rects,
                                         std::span<const bool> isGroupBox) {
  const std::size_t count = rects.size();
  std::vector<std::size_t> byTop(count);
  std::iota(byTop.begin(), byTop.end(), std::size_t{0});
  std::stable_sort(byTop.begin(), byTop.end(), [&](std::size_t a, std::size_t b) {
    return rects[a].y != rects[b].y ? rects[a].y < rects[b].y : rects[a].x < rects[b].x;
  });
  // Rows: a control belongs to the current row while its top lies above the
  // bottom of the row's first control.
  std::vector<std::size_t> order;
  order.reserve(count);
  for (std::size_t rowStart = 0; rowStart < count;) {
    const Wide rowBottom = bottom(rects[byTop[rowStart]]);
    std::size_t rowEnd = rowStart + 1;
    while (rowEnd < count && rects[byTop[rowEnd]].y < rowBottom) ++rowEnd;
    std::stable_sort(byTop.begin() + static_cast<std::ptrdiff_t>(rowStart),
                     byTop.begin() + static_cast<std::ptrdiff_t>(rowEnd),
                     [&](std::size_t a, std::size_t b) { return rects[a].x < rects[b].x; });
    order.insert(order.end(), byTop.begin() + static_cast<std::ptrdiff_t>(rowStart),
                 byTop.begin() + static_cast<std::ptrdiff_t>(rowEnd));
    rowStart = rowEnd;
  }
  // A group box moves up to just before the first control it contains.
  // Outer boxes are moved after inner ones (larger boxes last), so an outer
  // box ends before an inner box it contains.
  std::vector<std::size_t> boxes;
  for (std::size_t i = 0; i < count && i < isGroupBox.size(); ++i)
    if (isGroupBox[i]) boxes.push_back(i);
  std::stable_sort(boxes.begin(), boxes.end(), [&](std::size_t a, std::size_t b) {
    return Wide{rects[a].width} * rects[a].height < Wide{rects[b].width} * rects[b].height;
  });
  for (std::size_t box : boxes) {
    const auto at = std::find(order.begin(), order.end(), box);
    const auto firstInside = std::find_if(order.begin(), at, [&](std::size_t i) {
      return i != box && contains(rects[box], rects[i]);
    });
    if (firstInside == at) continue;
    order.erase(at);
    order.insert(firstInside, box);
  }
  return order;
}

}  // namespace quorvin
