// Undo and redo over seeded random edit sequences: every kind of change the
// designer makes, committed through the one path, the design saved after
// each step; undone all the way back and redone all the way forward, every
// state gives, byte for byte, the file saved at the same step before. A
// commit that names the controls it touched records the same steps.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/project_file.h"
#include "designer/edit_history.h"
#include "designer/geometry.h"
#include "designer/object_list.h"
#include "designer/outline_points.h"
#include "tests/property/random_design.h"

namespace quorvin::testing {
namespace {

struct Design {
  Project project;
  std::vector<DesignObject> objects;
  std::int32_t selected = -1;
};

std::string fileOf(const Project& project, const std::vector<DesignObject>& objects) {
  return serializeProject(project, objects);
}

// One random change of the kinds the designer makes. Returns the commit
// group: a run of typing in one field is one group. `touched` receives the
// controls changed in place (none for a change of the project's own
// record); it stays empty-handed for a placement or a deletion.
std::uint64_t randomEdit(Design& d, Random& random, std::uint64_t& nextGroup,
                         std::optional<std::vector<std::int32_t>>& touched) {
  Project& p = d.project;
  const auto count = static_cast<std::uint32_t>(p.objectCount);
  touched = std::vector<std::int32_t>{};
  const auto some = [&]() -> DesignObject& {
    const auto index = static_cast<std::int32_t>(random.below(count));
    touched->push_back(index);
    return d.objects[static_cast<std::size_t>(index)];
  };
  switch (random.below(12)) {
    case 0: {  // a placement
      DesignObject o;
      o.window = 0x10000 + random.below(1000);
      o.kind = kAllKinds[random.below(8)];
      o.x = static_cast<std::int32_t>(random.between(-50, 500));
      o.y = static_cast<std::int32_t>(random.between(-50, 500));
      o.width = static_cast<std::int32_t>(random.between(1, 300));
      o.height = static_cast<std::int32_t>(random.between(1, 300));
      o.style = static_cast<std::uint32_t>(random.next());
      o.caption = randomText(random, 4);
      o.idName = "ID_NEW";
      touched.reset();
      d.objects.resize(static_cast<std::size_t>(p.objectCount));
      d.objects.push_back(o);
      d.selected = p.objectCount++;
      return 0;
    }
    case 1:  // a deletion
      touched.reset();
      if (count > 0) removeObjectEntry(d.objects, p.objectCount, static_cast<std::int32_t>(random.below(count)));
      d.selected = -1;
      return 0;
    case 2:  // a move or a size change
      if (count > 0) {
        DesignObject& o = some();
        std::int32_t& value = random.oneIn(2) ? o.x : o.width;
        value = wrappingAdd(value, static_cast<std::int32_t>(random.between(-20, 20)));
      }
      return 0;
    case 3:  // typing in a field: several keys, one group
      if (count > 0) {
        DesignObject& o = some();
        const std::uint64_t group = nextGroup++;
        o.caption += randomPiece(random);
        return group;
      }
      return 0;
    case 4:
      p.title = randomText(random, 5);
      return nextGroup++;
    case 5:
      p.className = randomText(random, 3);
      return 0;
    case 6:  // the style dialog
      if (count > 0) some().style ^= 1u << random.below(32);
      return 0;
    case 7:  // a font choice
      p.font = fontForCase(random.below(300), random);
      return 0;
    case 8:  // a point added (the first makes the outline)
      if (p.pointCount == 0)
        startOutline(p, {static_cast<std::int32_t>(random.between(0, 300)), 200});
      else
        appendOutlinePoint(p, {static_cast<std::int32_t>(random.between(0, 300)),
                               static_cast<std::int32_t>(random.between(0, 300))});
      p.markerPoints[static_cast<std::size_t>(p.activePoint)] = {
          static_cast<std::int32_t>(random.between(0, 300)), 100};
      rebuildOutline(p, {4, 4, 19});
      return 0;
    case 9:  // a point moved, or deleted (the last three take the outline)
      if (p.pointCount > 0) {
        const auto k = static_cast<std::int32_t>(random.below(static_cast<std::uint32_t>(p.pointCount)));
        if (random.oneIn(2)) {
          std::int32_t& x = p.markerPoints[static_cast<std::size_t>(k)].x;
          x = wrappingAdd(x, 7);
          rebuildOutline(p, {4, 4, 19});
        } else {
          deleteOutlinePoint(p, k);
          if (p.pointCount > 0) rebuildOutline(p, {4, 4, 19});
        }
      }
      return 0;
    default:  // the window moved or sized by its frame
      if (p.regionMode == RegionMode::Rectangle) {
        p.x = wrappingAdd(p.x, static_cast<std::int32_t>(random.between(-9, 9)));
        p.height = wrappingAdd(p.height, static_cast<std::int32_t>(random.between(-9, 9)));
      }
      return 0;
  }
}

TEST(UndoRedo, RandomEditsUndoneAndRedoneGiveTheSameFilesByteForByte) {
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    Random random(seed);
    Design d;
    RandomDesign start = randomDesign(seed, random);
    d.project = start.project;
    d.project.regionMode = RegionMode::Rectangle;
    d.project.pointCount = 0;
    d.project.markerPoints.clear();
    d.project.regionPoints.clear();
    d.objects = start.objects;
    EditHistory history;
    history.reset(snapshotOf(d.project, d.objects, d.selected));
    // files[i]: the design saved after recorded step i (0: as opened).
    std::vector<std::string> files{fileOf(d.project, d.objects)};
    std::uint64_t nextGroup = 1;
    Random sayWhatChanged(seed + 1000);  // apart, so the edits stay those of the seed
    const int steps = seed % 4 == 0 ? 160 : 60;  // some runs pass the limit
    std::size_t savedAt = 0;
    for (int step = 0; step < steps; ++step) {
      std::optional<std::vector<std::int32_t>> touched;
      const std::uint64_t group = randomEdit(d, random, nextGroup, touched);
      // A run of keys in one field: more commits of the same group.
      const int keys = group != 0 ? 1 + static_cast<int>(random.below(3)) : 1;
      bool started = false;  // a step of this group is recorded
      for (int key = 0; key < keys; ++key) {
        if (key > 0) d.project.title += "k";
        // Where the edit knows what it touched, half the commits say so.
        const bool recorded =
            touched && sayWhatChanged.oneIn(2)
                ? history.commitTouched(d.project, d.objects, d.selected, group, *touched)
                : history.commit(snapshotOf(d.project, d.objects, d.selected), group);
        const std::string file = fileOf(d.project, d.objects);
        if (!recorded) {
          EXPECT_EQ(file, files.back());
        } else if (started) {
          files.back() = file;  // the same step, extended
        } else {
          files.push_back(file);
        }
        started = started || recorded;
      }
      if (random.oneIn(15)) {
        history.markSaved();
        savedAt = files.size() - 1;
      }
      EXPECT_EQ(history.changed(), files.size() - 1 != savedAt);
    }
    ASSERT_LE(history.undoCount(), EditHistory::kDefaultLimit);
    const std::size_t last = files.size() - 1;
    const std::size_t oldest = last - history.undoCount();
    if (steps > 100) {
      EXPECT_EQ(history.undoCount(), EditHistory::kDefaultLimit);
    }
    // All the way back...
    for (std::size_t at = last; at > oldest; --at) {
      const auto design = history.undo();
      ASSERT_TRUE(design.has_value()) << at;
      EXPECT_EQ(fileOf(design->project, design->objects), files[at - 1]) << "undo to " << at - 1;
      EXPECT_EQ(history.changed(), at - 1 != savedAt);
    }
    EXPECT_FALSE(history.undo().has_value());
    // ... and all the way forward.
    for (std::size_t at = oldest + 1; at <= last; ++at) {
      const auto design = history.redo();
      ASSERT_TRUE(design.has_value()) << at;
      EXPECT_EQ(fileOf(design->project, design->objects), files[at]) << "redo to " << at;
    }
    EXPECT_FALSE(history.redo().has_value());
    // A new change after an undo clears the redo steps.
    ASSERT_TRUE(history.undo().has_value());
    d.project.title = "after undo";
    EXPECT_TRUE(history.commit(snapshotOf(d.project, d.objects, d.selected)));
    EXPECT_FALSE(history.canRedo());
  }
}

// Undo brings back the selection that went with the step.
TEST(UndoRedo, UndoRestoresTheSelectionOfItsStep) {
  Design d;
  d.project.objectCount = 2;
  d.objects.resize(2);
  EditHistory history;
  history.reset(snapshotOf(d.project, d.objects, -1));
  history.noteSelection(1);  // control 1 selected, then moved
  d.objects[1].x = 40;
  ASSERT_TRUE(history.commit(snapshotOf(d.project, d.objects, 1)));
  history.noteSelection(-1);
  const auto back = history.undo();
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->selectedObject, 1);
  EXPECT_EQ(back->objects[1].x, 0);
}

}  // namespace
}  // namespace quorvin::testing
