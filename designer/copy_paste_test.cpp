#include "designer/copy_paste.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>
#include <string>
#include <vector>

namespace quorvin {
namespace {

// Copy and paste over random designs: every property comes back but the
// place (moved by the offset) and the ID name (unique among the controls
// there and the ones pasted, unchanged where it was free); the statements
// carry every copied caption; what is not ours pastes nothing. A paste at
// the cursor puts the bounding box's top-left there (on the nearest grid
// point when snapping) and keeps the controls' places relative to each
// other; without a cursor they land one offset further.
TEST(CopyPaste, PastedControlsKeepTheirPropertiesAndGetFreeNames) {
  std::uint64_t seed = 31;
  const auto below = [&seed](std::uint32_t bound) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::int32_t>((seed >> 33) % bound);
  };
  const ObjectKind kinds[] = {ObjectKind::BUTTON, ObjectKind::EDIT_MV, ObjectKind::STATIC,
                              ObjectKind::LISTBOX};
  const char* names[] = {"ID_OK", "ID_OK2", "IDC_NAME", "", "ID_3"};
  Project project;
  project.title = "T";
  project.className = "C";
  for (int run = 0; run < 200; ++run) {
    std::vector<DesignObject> placed(static_cast<std::size_t>(below(5)));
    std::vector<DesignObject> copied(static_cast<std::size_t>(1 + below(4)));
    for (auto* list : {&placed, &copied})
      for (DesignObject& o : *list) {
        o.kind = kinds[below(4)];
        o.x = below(200) - 20;
        o.y = below(200);
        o.width = below(90);
        o.height = below(40);
        o.caption = below(2) ? "表示" : "Cancel";
        o.idName = names[below(5)];
        o.style = 0x50000000u | static_cast<std::uint32_t>(below(0x10000));
        o.window = 77;
      }
    const std::string data = copiedControlsData(project, copied);
    const std::vector<DesignObject> pasted = pastedControls(data, placed, 8, 8);
    ASSERT_EQ(pasted.size(), copied.size());
    std::vector<std::string> taken;
    for (const DesignObject& o : placed) taken.push_back(o.idName);
    for (std::size_t i = 0; i < pasted.size(); ++i) {
      EXPECT_EQ(pasted[i].kind, copied[i].kind);
      EXPECT_EQ(pasted[i].caption, copied[i].caption);
      EXPECT_EQ(pasted[i].style, copied[i].style);
      EXPECT_EQ(pasted[i].x, copied[i].x + 8);
      EXPECT_EQ(pasted[i].y, copied[i].y + 8);
      EXPECT_EQ(pasted[i].width, copied[i].width);
      EXPECT_EQ(pasted[i].window, 0u);
      const bool wasFree = std::find(taken.begin(), taken.end(), copied[i].idName) == taken.end();
      if (copied[i].idName.empty() || wasFree) {
        EXPECT_EQ(pasted[i].idName, copied[i].idName);
      } else {
        EXPECT_EQ(std::find(taken.begin(), taken.end(), pasted[i].idName), taken.end());
      }
      taken.push_back(pasted[i].idName);
    }
    PastePlace place;
    place.snapStep = below(2) ? 0 : 8 << below(2);
    place.offset = 8 * (1 + below(3));
    if (below(2)) place.cursor = RegionPoint{below(400) - 50, below(400) - 50};
    const std::vector<DesignObject> placedAt = pastedControls(data, placed, place);
    ASSERT_EQ(placedAt.size(), copied.size());
    std::int32_t left = placedAt[0].x, top = placedAt[0].y;
    for (std::size_t i = 0; i < placedAt.size(); ++i) {
      EXPECT_EQ(placedAt[i].idName, pasted[i].idName);
      EXPECT_EQ(placedAt[i].x - copied[i].x, placedAt[0].x - copied[0].x);
      EXPECT_EQ(placedAt[i].y - copied[i].y, placedAt[0].y - copied[0].y);
      left = std::min(left, placedAt[i].x);
      top = std::min(top, placedAt[i].y);
    }
    if (!place.cursor) {
      EXPECT_EQ(placedAt[0].x, copied[0].x + place.offset);
      EXPECT_EQ(placedAt[0].y, copied[0].y + place.offset);
    } else {
      const std::int32_t step = std::max(place.snapStep, 1);
      for (const auto& [corner, wanted] : {std::pair{left, place.cursor->x}, {top, place.cursor->y}}) {
        EXPECT_EQ(((corner % step) + step) % step, 0);
        EXPECT_LE(std::abs(corner - wanted), step / 2);
      }
    }
    const std::string statements = copiedControlsStatements(project, copied);
    for (const DesignObject& o : copied) {
      if (o.kind != ObjectKind::LISTBOX) {
        EXPECT_NE(statements.find(o.caption), std::string::npos);
      }
    }
  }
  EXPECT_TRUE(pastedControls("not a design", {}, 8, 8).empty());
  EXPECT_TRUE(pastedControls("", {}, 8, 8).empty());
}

}  // namespace
}  // namespace quorvin
