#pragma once
// A key held down as far as this thread's GetKeyState can tell, for code
// under test that reads modifiers that way; no key message is sent.

#include <algorithm>
#include <iterator>

#include "common/win32/win32.h"

namespace quorvin {

// Alt (VK_MENU and VK_LMENU) down for the guard's lifetime; the keyboard
// state it found is put back at the end.
class AltHeld {
 public:
  AltHeld() {
    GetKeyboardState(saved_);
    BYTE held[256];
    std::copy(std::begin(saved_), std::end(saved_), std::begin(held));
    held[VK_MENU] = held[VK_LMENU] = kDown;
    SetKeyboardState(held);
  }
  ~AltHeld() { SetKeyboardState(saved_); }
  AltHeld(const AltHeld&) = delete;
  AltHeld& operator=(const AltHeld&) = delete;

 private:
  static constexpr BYTE kDown = 0x80;  // the high bit: the key is down
  BYTE saved_[256]{};
};

}  // namespace quorvin
