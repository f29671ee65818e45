#include "designer/selection_edits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace quorvin {
namespace {

constexpr ArrangeCommand kCommands[] = {
    ArrangeCommand::AlignLefts,          ArrangeCommand::AlignRights,
    ArrangeCommand::AlignTops,           ArrangeCommand::AlignBottoms,
    ArrangeCommand::AlignCentresAcross,  ArrangeCommand::AlignCentresDown,
    ArrangeCommand::SameWidth,           ArrangeCommand::SameHeight,
    ArrangeCommand::SameSize,            ArrangeCommand::SpaceAcross,
    ArrangeCommand::SpaceDown,           ArrangeCommand::CentreInWindowAcross,
    ArrangeCommand::CentreInWindowDown};

// Over random selections: a selection too small for a command comes back
// as it was; lining up, spacing and centring keep every size; matching sizes
// keeps every top-left corner; the primary never moves or changes size
// except when centring or spacing; repeating a command changes nothing more.
// An arrow never leaves a negative size.
TEST(SelectionEdits, CommandsKeepWhatTheyDoNotConcern) {
  std::uint64_t seed = 4242;
  const auto below = [&seed](std::uint32_t bound) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::int32_t>((seed >> 33) % bound);
  };
  for (int run = 0; run < 400; ++run) {
    std::vector<PixelRect> rects(static_cast<std::size_t>(1 + below(6)));
    for (PixelRect& r : rects) r = {below(300) - 50, below(300) - 50, below(80), below(40)};
    const ArrangeCommand command = kCommands[below(13)];
    const std::size_t primary = rects.size() - 1;
    const std::vector<PixelRect> after = arrangedRects(command, rects, primary, 400, 300);
    ASSERT_EQ(after.size(), rects.size());
    if (rects.size() < minimumSelection(command)) {
      EXPECT_EQ(after, rects);
      continue;
    }
    const bool sizes = command == ArrangeCommand::SameWidth ||
                       command == ArrangeCommand::SameHeight || command == ArrangeCommand::SameSize;
    const bool movesPrimary = command == ArrangeCommand::SpaceAcross ||
                              command == ArrangeCommand::SpaceDown ||
                              command == ArrangeCommand::CentreInWindowAcross ||
                              command == ArrangeCommand::CentreInWindowDown;
    for (std::size_t i = 0; i < rects.size(); ++i) {
      if (sizes) {
        EXPECT_EQ(after[i].x, rects[i].x);
        EXPECT_EQ(after[i].y, rects[i].y);
      } else {
        EXPECT_EQ(after[i].width, rects[i].width);
        EXPECT_EQ(after[i].height, rects[i].height);
      }
    }
    if (!movesPrimary) {
      EXPECT_EQ(after[primary], rects[primary]);
    }
    // (Spacing out rectangles wider than their room reorders them, so a
    // second spacing may move them again.)
    if (command != ArrangeCommand::SpaceAcross && command != ArrangeCommand::SpaceDown) {
      EXPECT_EQ(arrangedRects(command, after, primary, 400, 300), after);
    }

    const PixelRect nudged = nudgedRect(rects[0], below(3) - 1, below(3) - 1, below(5) - 2,
                                        below(5) - 2);
    EXPECT_GE(nudged.width, 0);
    EXPECT_GE(nudged.height, 0);
  }
}

}  // namespace
}  // namespace quorvin
