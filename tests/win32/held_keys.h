#pragma once
// Keys held down as far as this thread's GetKeyState can tell, for code
// under test that reads modifiers that way; no key message is sent.

#include <algorithm>
#include <iterator>

#include "common/win32/win32.h"

namespace quorvin {

// Ctrl, Shift and Alt as chosen (each with its left-hand key) down for the
// guard's lifetime; the keyboard state it found is put back at the end.
class HeldKeys {
 public:
  HeldKeys(bool control, bool shift, bool alt = false) {
    GetKeyboardState(saved_);
    BYTE held[256];
    std::copy(std::begin(saved_), std::end(saved_), std::begin(held));
    if (control) held[VK_CONTROL] = held[VK_LCONTROL] = kDown;
    if (shift) held[VK_SHIFT] = held[VK_LSHIFT] = kDown;
    if (alt) held[VK_MENU] = held[VK_LMENU] = kDown;
    SetKeyboardState(held);
  }
  ~HeldKeys() { SetKeyboardState(saved_); }
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;

 private:
  static constexpr BYTE kDown = 0x80;  // the high bit: the key is down
  BYTE saved_[256]{};
};

// Alt alone: placing freely, past the grid and the snap lines.
class AltHeld : public HeldKeys {
 public:
  AltHeld() : HeldKeys(false, false, true) {}
};

}  // namespace quorvin
