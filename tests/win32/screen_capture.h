#pragma once
// Pictures of windows for the Windows tests' artefacts, taken from the
// screen as a user sees it.

#include <filesystem>
#include <functional>

#include "common/win32/win32.h"

namespace quorvin::testing {

// Writes what the screen shows of `window` (frame included) as a 24-bit BMP
// file. Wine paints into an off-screen surface and copies it to the display
// later, from the message loop: a single copy can catch a window half
// drawn, so the picture is taken once two copies in a row agree (or after a
// few seconds, with the last copy). `pump` runs before every copy: a test
// whose own thread draws the window dispatches its messages there. Returns
// false when nothing could be written.
bool captureWhenSettled(HWND window, const std::filesystem::path& file,
                        const std::function<void()>& pump = [] {});

}  // namespace quorvin::testing
