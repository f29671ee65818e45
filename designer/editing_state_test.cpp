#include "designer/editing_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

#include "designer/sizing.h"

namespace quorvin {
namespace {

constexpr ToolCode kCorners[] = {ToolCode::SizeTopLeft, ToolCode::SizeTopRight,
                                 ToolCode::SizeBottomLeft, ToolCode::SizeBottomRight};
constexpr ToolCode kCells[] = {ToolCode::Select,   ToolCode::Button,   ToolCode::Edit,
                               ToolCode::Static,   ToolCode::ListBox,  ToolCode::CheckBox,
                               ToolCode::AddPoint, ToolCode::GroupBox, ToolCode::RadioButton};

// Random runs of the transitions the window procedures make. Whatever the
// order, the state never contradicts itself: the fields' target names the
// selection when it is a control, a control being moved or sized is never
// deletable, and choosing a tool always leaves nothing picked up or moving.
// The selection holds each control once, is empty exactly when nothing is
// selected, and its last member is the primary control the fields show.
TEST(EditingState, RandomTransitionsKeepTheStateConsistent) {
  std::uint64_t seed = 12345;
  const auto below = [&seed](std::uint32_t bound) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::int32_t>((seed >> 33) % bound);
  };
  for (int run = 0; run < 200; ++run) {
    resetEditing(true);
    ASSERT_EQ(fieldTarget(), FieldTarget::window());
    for (int step = 0; step < 50; ++step) {
      SCOPED_TRACE(testing::Message() << "run " << run << " step " << step);
      switch (below(13)) {
        case 0:
          selectControl(below(5));
          break;
        case 1:
          selectWindow();
          break;
        case 2:
          if (selectedObject >= 0 && currentTool == ToolCode::Select) beginMove({below(50), below(50)}, {1, 2, 30, 40});
          break;
        case 3:
          endMove();
          EXPECT_NE(currentTool, ToolCode::Moving);
          break;
        case 4:
          if (selectedObject >= 0 && currentTool == ToolCode::Select)
            pickUpCorner(kCorners[below(4)]);
          break;
        case 5:
          if (cornerPickedUp()) {
            switchCorner(kCorners[below(4)]);
          } else {
            dropCorner();
          }
          break;
        case 6: {
          const bool pickedUp = cornerPickedUp();
          const ToolCode cell = kCells[below(9)];
          const ToolCode before = currentTool;
          EXPECT_EQ(chooseTool(cell), pickedUp);
          EXPECT_EQ(pickupPending, 0);
          EXPECT_FALSE(isSizingTool(currentTool));
          EXPECT_NE(currentTool, ToolCode::Moving);
          if (cell != ToolCode::Edit) {
            EXPECT_EQ(currentTool, cell);
          } else if (before != ToolCode::Moving && !isSizingTool(before)) {
            EXPECT_EQ(currentTool, before);
          }
          break;
        }
        case 7:
          targetPoint(below(4));
          EXPECT_EQ(fieldTarget().kind, FieldTarget::Kind::Point);
          break;
        case 8:
          outlineRemoved();
          EXPECT_NE(fieldTarget().kind, FieldTarget::Kind::Point);
          break;
        case 9:
          if (deleteAllowed() && selectedObject >= 0) selectedControlRemoved();
          break;
        case 10: {
          const std::int32_t index = below(5);
          const bool was = isSelected(index);
          toggleControl(index);
          EXPECT_NE(isSelected(index), was);
          if (!was) {
            EXPECT_EQ(selectedObject, index);
          }
          break;
        }
        case 11: {
          const std::int32_t index = below(5);
          const auto before = selectedControls().size();
          const bool was = isSelected(index);
          makePrimary(index);
          EXPECT_EQ(selectedObject, index);
          if (was) {
            EXPECT_EQ(selectedControls().size(), before);
          }
          break;
        }
        case 12: {
          std::vector<std::int32_t> band;
          for (int k = below(6); k > 0; --k) band.push_back(below(7) - 1);
          const std::int32_t primary = below(6) - 1;
          selectControls(band, primary);
          for (const std::int32_t index : band)
            if (index >= 0) {
              EXPECT_TRUE(isSelected(index));
            }
          if (std::find(band.begin(), band.end(), primary) != band.end() && primary >= 0) {
            EXPECT_EQ(selectedObject, primary);
          }
          break;
        }
      }
      const std::vector<std::int32_t>& chosen = selectedControls();
      EXPECT_EQ(std::set<std::int32_t>(chosen.begin(), chosen.end()).size(), chosen.size());
      EXPECT_EQ(chosen.empty(), selectedObject < 0);
      if (!chosen.empty()) {
        EXPECT_EQ(chosen.back(), selectedObject);
      }
      if (selectedObject < 0 && fieldTarget().kind != FieldTarget::Kind::Point) {
        EXPECT_NE(fieldTarget().kind, FieldTarget::Kind::Control);
      }
      if (fieldTarget().kind == FieldTarget::Kind::Control) {
        EXPECT_EQ(fieldTarget().index, selectedObject);
      }
      if (currentTool == ToolCode::Moving || isSizingTool(currentTool) || pickupPending != 0) {
        EXPECT_FALSE(deleteAllowed());
      }
      if (isSizingTool(currentTool)) {
        EXPECT_EQ(pickupPending, 1);
      }
    }
  }
  // A point drag: picked up until its commit, and Delete waits for it.
  resetEditing(true);
  beginPointDrag(2, {3, 4});
  EXPECT_EQ(fieldTarget(), FieldTarget::point(2));
  EXPECT_FALSE(deleteAllowed());
  endPointDrag();
  EXPECT_TRUE(deleteAllowed());
  // Closing the design leaves the fields standing for nothing.
  resetEditing(false);
  EXPECT_EQ(fieldTarget(), FieldTarget::none());
  EXPECT_EQ(selectedObject, -1);
  EXPECT_EQ(currentTool, ToolCode::Select);
  // The edit-variant dialog's choice is taken as it is.
  chooseEditVariant(ToolCode::EditMV);
  EXPECT_EQ(currentTool, ToolCode::EditMV);
  chooseTool(ToolCode::Edit);
  EXPECT_EQ(currentTool, ToolCode::EditMV);
}

}  // namespace
}  // namespace quorvin
