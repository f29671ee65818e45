#include "designer/object_list.h"

#include <algorithm>
#include <utility>

namespace quorvin {

namespace {

std::int32_t usableCount(const std::vector<DesignObject>& objects,
                         std::int32_t count) {
  return std::clamp<std::int32_t>(count, 0, static_cast<std::int32_t>(objects.size()));
}

// low < p < low + extent, without overflow.
bool strictlyInside(std::int32_t p, std::int32_t low, std::int32_t extent) {
  return p > low && std::int64_t{p} < std::int64_t{low} + extent;
}

}  // namespace

std::int32_t hitTestObjects(const std::vector<DesignObject>& objects,
                            std::int32_t count, RegionPoint point) {
  const std::int32_t n = usableCount(objects, count);
  for (std::int32_t i = 0; i < n; ++i) {
    const DesignObject& o = objects[static_cast<std::size_t>(i)];
    if (strictlyInside(point.x, o.x, o.width) && strictlyInside(point.y, o.y, o.height))
      return i;
  }
  return -1;
}

ObjectRemoval removeObjectEntry(std::vector<DesignObject>& objects,
                                std::int32_t& objectCount, std::int32_t index) {
  ObjectRemoval result;
  const std::int32_t n = usableCount(objects, objectCount);
  if (index < 0 || index >= n) return result;
  result.removed = true;
  result.removedWindow = objects[static_cast<std::size_t>(index)].window;
  for (std::int32_t i = index; i + 1 < n; ++i) {
    objects[static_cast<std::size_t>(i)] =
        std::move(objects[static_cast<std::size_t>(i + 1)]);
    result.moved.push_back({objects[static_cast<std::size_t>(i)].window, i});
  }
  objects[static_cast<std::size_t>(n - 1)] = DesignObject{};
  objectCount = n - 1;
  return result;
}

ObjectsRemoval removeObjectEntries(std::vector<DesignObject>& objects, std::int32_t& objectCount,
                                   std::vector<std::int32_t> indices) {
  ObjectsRemoval result;
  const std::int32_t n = usableCount(objects, objectCount);
  std::vector<bool> goes(static_cast<std::size_t>(n), false);
  for (const std::int32_t index : indices)
    if (index >= 0 && index < n) goes[static_cast<std::size_t>(index)] = true;
  std::int32_t kept = 0;
  for (std::int32_t i = 0; i < n; ++i) {
    DesignObject& entry = objects[static_cast<std::size_t>(i)];
    if (goes[static_cast<std::size_t>(i)]) {
      result.removedWindows.push_back(entry.window);
      continue;
    }
    if (kept != i) {
      objects[static_cast<std::size_t>(kept)] = std::move(entry);
      result.moved.push_back({objects[static_cast<std::size_t>(kept)].window, kept});
    }
    ++kept;
  }
  for (std::int32_t i = kept; i < n; ++i) objects[static_cast<std::size_t>(i)] = DesignObject{};
  objectCount = kept;
  return result;
}

}  // namespace quorvin
