#include "designer/ordering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "app/project_file.h"
#include "tests/property/random_design.h"

namespace quorvin {
namespace {

using testing::Random;

constexpr int kRounds = 200;

EntryOrder randomOrder(Random& random, std::size_t count) {
  EntryOrder order(count);
  std::iota(order.begin(), order.end(), std::size_t{0});
  for (std::size_t i = count; i > 1; --i)
    std::swap(order[i - 1], order[random.below(static_cast<std::uint32_t>(i))]);
  return order;
}

std::vector<std::size_t> randomChoice(Random& random, std::size_t count) {
  std::vector<std::size_t> chosen;
  for (std::size_t i = 0; i < count; ++i)
    if (random.oneIn(3)) chosen.push_back(i);
  return chosen;
}

// Any reordering keeps every control (texts and all) and the free entries,
// names each control whose place changed with a place that really is its
// own, and the inverse order gives back the saved file byte for byte.
TEST(Ordering, AnyReorderKeepsEveryControlAndTheInverseGivesTheFileBack) {
  Random random(14);
  for (std::uint32_t round = 0; round < kRounds; ++round) {
    testing::RandomDesign design = testing::randomDesign(round, random);
    const std::vector<DesignObject> before = design.objects;
    const std::string file = serializeProject(design.project, design.objects);
    const auto count = static_cast<std::size_t>(design.project.objectCount);
    const EntryOrder order = randomOrder(random, count);

    const auto moved = reorderObjectEntries(design.objects, design.project.objectCount, order);
    ASSERT_TRUE(moved.has_value());
    for (std::size_t k = 0; k < count; ++k) EXPECT_EQ(design.objects[k], before[order[k]]);
    for (std::size_t k = count; k < before.size(); ++k) EXPECT_EQ(design.objects[k], before[k]);
    std::size_t changed = 0;
    for (const MovedControl& m : *moved) {
      EXPECT_EQ(design.objects[static_cast<std::size_t>(m.newIndex)].window, m.window);
      EXPECT_NE(order[static_cast<std::size_t>(m.newIndex)], static_cast<std::size_t>(m.newIndex));
    }
    for (std::size_t k = 0; k < count; ++k) changed += order[k] != k ? 1 : 0;
    EXPECT_EQ(moved->size(), changed);

    ASSERT_TRUE(reorderObjectEntries(design.objects, design.project.objectCount, placesOf(order)));
    EXPECT_EQ(serializeProject(design.project, design.objects), file);
    EXPECT_EQ(design.objects, before);

    // Not a permutation of the used entries: nothing changes.
    EntryOrder broken = order;
    if (count > 1) broken[0] = broken[1];
    else broken.push_back(0);
    EXPECT_FALSE(reorderObjectEntries(design.objects, design.project.objectCount, broken));
    EXPECT_EQ(design.objects, before);
  }
}

// Front and back keep the order of the chosen controls among themselves
// and of the others among themselves; front puts the chosen last.
TEST(Ordering, FrontAndBackMoveOnlyTheChosenAndKeepEveryRelativeOrder) {
  Random random(15);
  for (int round = 0; round < kRounds; ++round) {
    const std::size_t count = random.below(30);
    const std::vector<std::size_t> chosen = randomChoice(random, count);
    for (const bool front : {true, false}) {
      const EntryOrder order =
          front ? orderBringingToFront(count, chosen) : orderSendingToBack(count, chosen);
      ASSERT_TRUE(isEntryOrder(order, count));
      const auto isChosen = [&](std::size_t i) {
        return std::find(chosen.begin(), chosen.end(), i) != chosen.end();
      };
      const std::size_t firstChosenPlace = front ? count - chosen.size() : 0;
      for (std::size_t k = 0; k < count; ++k) {
        EXPECT_EQ(isChosen(order[k]),
                  k >= firstChosenPlace && k < firstChosenPlace + chosen.size());
        if (k > 0 && isChosen(order[k]) == isChosen(order[k - 1])) {
          EXPECT_LT(order[k - 1], order[k]);
        }
      }
    }
  }
}

// Clicking every control once, in any order, makes exactly that order the
// tab order; clicks on controls already numbered change nothing.
TEST(Ordering, ClickingEveryControlInTurnGivesThatOrder) {
  Random random(16);
  for (int round = 0; round < kRounds; ++round) {
    const std::size_t count = 1 + random.below(25);
    const EntryOrder wanted = randomOrder(random, count);  // wanted[k]: original index
    EntryOrder current(count);  // current[k]: original index at place k
    std::iota(current.begin(), current.end(), std::size_t{0});
    std::size_t next = 0;
    for (const std::size_t original : wanted) {
      if (random.oneIn(4) && next > 0) {
        const std::size_t again = random.below(static_cast<std::uint32_t>(next));
        const auto click = tabOrderClick(count, next, again);
        ASSERT_TRUE(click);
        EntryOrder unchanged(count);
        std::iota(unchanged.begin(), unchanged.end(), std::size_t{0});
        EXPECT_EQ(click->order, unchanged) << "a numbered control moved";
        // Numbering goes on after it; number the rest from where we were.
        EXPECT_EQ(click->nextPlace, again + 1);
      }
      const std::size_t at = static_cast<std::size_t>(
          std::find(current.begin(), current.end(), original) - current.begin());
      const auto click = tabOrderClick(count, next, at);
      ASSERT_TRUE(click);
      ASSERT_TRUE(isEntryOrder(click->order, count));
      EntryOrder after(count);
      for (std::size_t k = 0; k < count; ++k) after[k] = current[click->order[k]];
      current = after;
      EXPECT_EQ(current[click->clickedPlace], original);
      next = click->nextPlace;
    }
    EXPECT_EQ(current, wanted);
    EXPECT_FALSE(tabOrderClick(count, 0, count));
  }
}

}  // namespace
}  // namespace quorvin
