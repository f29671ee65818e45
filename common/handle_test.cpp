#include "common/handle.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvin {
namespace {

std::vector<int> released;

struct FakeTraits {
  using Type = int;
  static int invalid() noexcept { return 0; }
  static void release(int h) noexcept { released.push_back(h); }
};
using FakeHandle = UniqueHandle<FakeTraits>;

TEST(UniqueHandle, ReleasesOnceThroughMovesAndResets) {
  released.clear();
  {
    FakeHandle a(1);
    FakeHandle b(2);
    b = std::move(a);  // 2 released at once, 1 moves over
    EXPECT_EQ(released, std::vector<int>{2});
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), 1);
    FakeHandle c(std::move(b));
    c.reset(3);  // 1 released
    EXPECT_EQ(c.release(), 3);  // given up, never released
    FakeHandle d(4);
  }
  EXPECT_EQ(released, (std::vector<int>{2, 1, 4}));
  static_assert(!std::is_copy_constructible_v<FakeHandle>);
  static_assert(!std::is_copy_assignable_v<FakeHandle>);
}

}  // namespace
}  // namespace quorvin
