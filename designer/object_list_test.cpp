#include "designer/object_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "designer/geometry.h"

namespace quorvin {
namespace {

DesignObject control(WindowHandle window, PixelRect rect, const char* caption,
                     const char* idName) {
  DesignObject o;
  o.window = window;
  o.kind = ObjectKind::STATIC;
  setRect(o, rect);
  o.caption = caption;
  o.idName = idName;
  o.style = 0x50000100;
  o.savedProc = window + 1000;
  return o;
}

TEST(HitTest, StrictInsideAndLowerIndexWins) {
  std::vector<DesignObject> objects(10);
  objects[0] = control(11, {10, 10, 100, 50}, "group", "ID_G");  // 10..110 x 10..60
  objects[1] = control(12, {20, 20, 30, 20}, "inner", "ID_I");   // inside entry 0
  objects[2] = control(13, {200, 10, 10, 10}, "far", "ID_F");
  objects[3] = control(14, {300, 300, 10, 10}, "unused", "");     // beyond the count
  const std::int32_t count = 3;
  struct Case {
    RegionPoint p;
    std::int32_t hit;
  };
  const Case cases[] = {
      {{30, 30}, 0},    // on both 0 and 1: the lower index
      {{11, 11}, 0},    // just inside
      {{10, 30}, -1},   // left edge
      {{110, 30}, -1},  // right edge (x + width)
      {{50, 10}, -1},   // top edge
      {{50, 60}, -1},   // bottom edge (y + height)
      {{205, 15}, 2},
      {{210, 15}, -1},
      {{305, 305}, -1},  // only entries below the count are tried
      {{-1, -1}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "(" << c.p.x << ", " << c.p.y << ")");
    EXPECT_EQ(hitTestObjects(objects, count, c.p), c.hit);
  }
  // Zero-sized controls are never hit; a count beyond the array is held to it.
  objects[0] = control(11, {10, 10, 0, 0}, "", "");
  EXPECT_EQ(hitTestObjects(objects, count, {10, 10}), -1);
  EXPECT_EQ(hitTestObjects(objects, 1000, {305, 305}), 3);
  // x + width beyond INT32_MAX does not wrap around.
  objects[0] = control(11, {INT32_MAX - 5, 0, 100, 100}, "", "");
  EXPECT_EQ(hitTestObjects(objects, 1, {INT32_MAX - 1, 50}), 0);
}

TEST(RemoveObject, MiddleOfThreeCompactsAndRenumbers) {
  std::vector<DesignObject> objects(5);
  objects[0] = control(11, {0, 0, 10, 10}, "first", "ID_A");
  objects[1] = control(12, {20, 0, 10, 10}, "second", "ID_B");
  objects[2] = control(13, {40, 5, 15, 25}, "third", "ID_C");
  const DesignObject third = objects[2];
  std::int32_t count = 3;

  const ObjectRemoval r = removeObjectEntry(objects, count, 1);
  EXPECT_TRUE(r.removed);
  EXPECT_EQ(r.removedWindow, 12u);
  EXPECT_EQ(r.moved, (std::vector<MovedControl>{{13, 1}}));
  EXPECT_EQ(count, 2);
  EXPECT_EQ(objects[0].caption, "first");
  EXPECT_EQ(objects[1], third);  // texts, rectangle, style, savedProc all moved
  EXPECT_EQ(objects[2], DesignObject{});
  EXPECT_EQ(objects.size(), 5u);  // capacity is kept
}

TEST(RemoveObject, FirstLastAndOutOfRange) {
  std::vector<DesignObject> objects(3);
  objects[0] = control(11, {}, "a", "ID_A");
  objects[1] = control(12, {}, "b", "ID_B");
  objects[2] = control(13, {}, "c", "ID_C");
  std::int32_t count = 3;

  // Deleting control 0 of three gives the others the indices 0 and 1.
  ObjectRemoval r = removeObjectEntry(objects, count, 0);
  EXPECT_EQ(r.moved, (std::vector<MovedControl>{{12, 0}, {13, 1}}));
  EXPECT_EQ(objects[0].idName, "ID_B");
  EXPECT_EQ(objects[1].idName, "ID_C");

  // The last one moves nothing.
  r = removeObjectEntry(objects, count, 1);
  EXPECT_TRUE(r.moved.empty());
  EXPECT_EQ(r.removedWindow, 13u);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(objects[1], DesignObject{});

  for (std::int32_t bad : {-1, 1, 5}) {
    r = removeObjectEntry(objects, count, bad);
    EXPECT_FALSE(r.removed);
    EXPECT_EQ(count, 1);
  }
  EXPECT_EQ(objects[0].caption, "b");

  // A count that overstates the array never reads past it.
  std::int32_t overstated = 99;
  r = removeObjectEntry(objects, overstated, 2);
  EXPECT_TRUE(r.removed);
  EXPECT_EQ(overstated, 2);
}

// Removing any set of entries at once keeps the others in their order,
// names every moved control with its new index, and leaves zeroed slots.
TEST(RemoveObject, AnySetAtOnceKeepsTheRestInOrder) {
  std::uint64_t seed = 99;
  const auto below = [&seed](std::uint32_t bound) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::int32_t>((seed >> 33) % bound);
  };
  for (int run = 0; run < 300; ++run) {
    const std::int32_t count = below(12);
    std::vector<DesignObject> objects;
    for (std::int32_t i = 0; i < count + 3; ++i)
      objects.push_back(i < count ? control(100 + i, {i, i, 5, 5}, "c", "ID") : DesignObject{});
    std::vector<std::int32_t> gone;
    for (int k = below(8); k > 0; --k) gone.push_back(below(static_cast<std::uint32_t>(count) + 3) - 1);
    std::int32_t objectCount = count;
    const ObjectsRemoval removal = removeObjectEntries(objects, objectCount, gone);
    std::vector<WindowHandle> expected;
    for (std::int32_t i = 0; i < count; ++i)
      if (std::find(gone.begin(), gone.end(), i) == gone.end()) expected.push_back(100 + i);
    ASSERT_EQ(objectCount, static_cast<std::int32_t>(expected.size()));
    EXPECT_EQ(removal.removedWindows.size(), static_cast<std::size_t>(count) - expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(objects[i].window, expected[i]);
    for (std::size_t i = expected.size(); i < objects.size(); ++i)
      EXPECT_EQ(objects[i], DesignObject{});
    for (const MovedControl& moved : removal.moved)
      EXPECT_EQ(objects[static_cast<std::size_t>(moved.newIndex)].window, moved.window);
  }
}

}  // namespace
}  // namespace quorvin
