#include "designer/ordering.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace quorvin {

namespace {

EntryOrder identity(std::size_t count) {
  EntryOrder order(count);
  std::iota(order.begin(), order.end(), std::size_t{0});
  return order;
}

std::vector<bool> chosenMask(std::size_t count, std::span<const std::size_t> chosen) {
  std::vector<bool> mask(count, false);
  for (const std::size_t i : chosen)
    if (i < count) mask[i] = true;
  return mask;
}

// The unchosen entries and the chosen ones, each in their current order,
// the chosen ones first or last.
EntryOrder partitioned(std::size_t count, std::span<const std::size_t> chosen,
                       bool chosenFirst) {
  const std::vector<bool> mask = chosenMask(count, chosen);
  EntryOrder order;
  order.reserve(count);
  for (const bool takeChosen : {chosenFirst, !chosenFirst})
    for (std::size_t i = 0; i < count; ++i)
      if (mask[i] == takeChosen) order.push_back(i);
  return order;
}

}  // namespace

bool isEntryOrder(std::span<const std::size_t> order, std::size_t count) {
  if (order.size() != count) return false;
  std::vector<bool> seen(count, false);
  for (const std::size_t i : order) {
    if (i >= count || seen[i]) return false;
    seen[i] = true;
  }
  return true;
}

std::optional<std::vector<MovedControl>> reorderObjectEntries(std::vector<DesignObject>& objects,
                                                              std::int32_t objectCount,
                                                              std::span<const std::size_t> order) {
  if (objectCount < 0 || static_cast<std::size_t>(objectCount) > objects.size() ||
      !isEntryOrder(order, static_cast<std::size_t>(objectCount)))
    return std::nullopt;
  std::vector<DesignObject> placed;
  placed.reserve(order.size());
  for (const std::size_t from : order) placed.push_back(std::move(objects[from]));
  std::vector<MovedControl> moved;
  for (std::size_t k = 0; k < placed.size(); ++k) {
    if (order[k] != k)
      moved.push_back({placed[k].window, static_cast<std::int32_t>(k)});
    objects[k] = std::move(placed[k]);
  }
  return moved;
}

EntryOrder orderBringingToFront(std::size_t count, std::span<const std::size_t> chosen) {
  return partitioned(count, chosen, false);
}

EntryOrder orderSendingToBack(std::size_t count, std::span<const std::size_t> chosen) {
  return partitioned(count, chosen, true);
}

std::optional<TabOrderClick> tabOrderClick(std::size_t count, std::size_t nextPlace,
                                           std::size_t clicked) {
  if (clicked >= count) return std::nullopt;
  nextPlace = std::min(nextPlace, count);
  TabOrderClick result{identity(count), clicked + 1, clicked};
  if (clicked < nextPlace) return result;
  // The clicked control takes place nextPlace; those from nextPlace up to
  // it move one place on.
  std::rotate(result.order.begin() + static_cast<std::ptrdiff_t>(nextPlace),
              result.order.begin() + static_cast<std::ptrdiff_t>(clicked),
              result.order.begin() + static_cast<std::ptrdiff_t>(clicked) + 1);
  result.nextPlace = nextPlace + 1;
  result.clickedPlace = nextPlace;
  return result;
}

std::vector<std::size_t> placesOf(std::span<const std::size_t> order) {
  std::vector<std::size_t> places(order.size());
  for (std::size_t k = 0; k < order.size(); ++k)
    if (order[k] < places.size()) places[order[k]] = k;
  return places;
}

}  // namespace quorvin
