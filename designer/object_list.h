#pragma once
// The placed controls as a list: finding the control under a point and
// removing one entry with the compaction that keeps entries 0..count-1 in use
// and every later entry zero.

#include <cstdint>
#include <vector>

#include "app/model.h"

namespace quorvin {

// The first of the entries 0..count-1 whose rectangle strictly contains
// `point` (x < px < x + width and y < py < y + height), or -1. A point on a
// control's border hits nothing; of overlapping controls the lower index
// wins. `count` is held to objects.size().
std::int32_t hitTestObjects(const std::vector<DesignObject>& objects,
                            std::int32_t count, RegionPoint point);

// A control whose entry moved down one slot; its child id must become the
// id base + newIndex.
struct MovedControl {
  WindowHandle window = 0;
  std::int32_t newIndex = 0;
  friend bool operator==(const MovedControl&, const MovedControl&) = default;
};

struct ObjectRemoval {
  bool removed = false;             // false: index outside 0..count-1, nothing changed
  WindowHandle removedWindow = 0;   // the control to destroy
  std::vector<MovedControl> moved;  // in ascending new index
};

// Removes entry `index` of the entries 0..objectCount-1: every later entry
// moves down one slot (texts and all fields), the last used slot is zeroed
// and objectCount is lowered by one. The caller destroys removedWindow,
// renumbers the moved controls and clears the selection. `objectCount` is
// held to objects.size() first, so a count that overstates the array never
// reads past it.
ObjectRemoval removeObjectEntry(std::vector<DesignObject>& objects,
                                std::int32_t& objectCount, std::int32_t index);

struct ObjectsRemoval {
  std::vector<WindowHandle> removedWindows;  // the controls to destroy
  std::vector<MovedControl> moved;           // in ascending new index
};

// Removes every entry of `indices` (in any order; repeats and indices
// outside 0..objectCount-1 ignored) in one pass: the entries that stay keep
// their order and close up, the freed slots at the end are zeroed and
// objectCount drops by the number removed.
ObjectsRemoval removeObjectEntries(std::vector<DesignObject>& objects, std::int32_t& objectCount,
                                   std::vector<std::int32_t> indices);

}  // namespace quorvin
