#pragma once
// The order of the placed controls. The generated code creates the controls
// in the order of `objects`, so that order is both their tab order and their
// z-order; every command that changes it goes through reorderObjectEntries,
// which renumbers the controls as a deletion does (control id = base + new
// index). Portable: the window layer applies the renumbering and restacks.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "app/model.h"
#include "designer/object_list.h"

namespace quorvin {

// A permutation of 0 .. count-1: order[k] is the old index of the entry that
// goes to place k.
using EntryOrder = std::vector<std::size_t>;

// True when `order` holds every index 0 .. count-1 exactly once.
bool isEntryOrder(std::span<const std::size_t> order, std::size_t count);

// Puts the entries 0 .. order.size()-1 of `objects` in `order`. The result
// names every control whose index changed, with its new index, in ascending
// new index. Nothing changes (and nothing comes back) when `order` is not a
// permutation of 0 .. objectCount-1 or objectCount exceeds objects.size().
std::optional<std::vector<MovedControl>> reorderObjectEntries(std::vector<DesignObject>& objects,
                                                              std::int32_t objectCount,
                                                              std::span<const std::size_t> order);

// The orders of the two stacking commands for the chosen entries (indices
// below `count`, any order, repeats ignored): bringing them to the front
// puts them last, created after every other control, keeping their order
// among themselves; sending them to the back puts them first.
EntryOrder orderBringingToFront(std::size_t count, std::span<const std::size_t> chosen);
EntryOrder orderSendingToBack(std::size_t count, std::span<const std::size_t> chosen);

// One click in the tab-order mode. The controls numbered so far in this
// visit of the mode hold places 0 .. nextPlace-1. Clicking one of the others
// gives it place nextPlace (the controls between keep their order) and the
// next click numbers the place after it; clicking one already numbered
// changes no order and numbering goes on after it.
struct TabOrderClick {
  EntryOrder order;           // the identity when nothing moves
  std::size_t nextPlace = 0;  // the place the next click gives
  std::size_t clickedPlace = 0;  // where the clicked control now is
};
// Null when `clicked` is not below `count`; nextPlace above count counts
// as count.
std::optional<TabOrderClick> tabOrderClick(std::size_t count, std::size_t nextPlace,
                                           std::size_t clicked);

// The place of every old index under `order` (the inverse permutation).
std::vector<std::size_t> placesOf(std::span<const std::size_t> order);

}  // namespace quorvin
