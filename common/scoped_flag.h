#pragma once
// Raises a flag for a scope: "this code is under way", read by handlers
// that a call inside the scope reaches again (a message sent back to the
// sender, say) and that must then hold still.

#include <utility>

namespace quorvin {

// Sets `flag` to true for the guard's lifetime and puts back the value it
// had, so guards nest. The flag must outlive the guard.
class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) noexcept : flag_(flag), previous_(std::exchange(flag, true)) {}
  ~ScopedFlag() { flag_ = previous_; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
  bool previous_;
};

}  // namespace quorvin
