#pragma once
// The tool palette (class ToolWindow): nine tool cells drawn from bitmaps,
// the Style and FONT buttons, the label list and the six property fields.

#include <cstddef>

#include "app/model.h"
#include "common/win32/win32.h"

namespace quorvin {

inline constexpr int kStyleButtonId = 2100;
inline constexpr int kFontButtonId = 1090;
inline constexpr int kLabelListId = 9400;

// The largest tool bitmap file the palette reads; a larger one is refused
// like a missing one.
inline constexpr std::size_t kMaxToolBitmapBytes = std::size_t(4) << 20;

extern int highlightedCell;  // 0..8, the cell drawn in its chosen look

// Creating the window builds its children and loads the nine bitmaps from
// the places fixed at start-up (the current folder, else the program's); a
// bitmap that is missing or unusable is named in a message box, then
// destroys the window during its creation (CreateWindowEx returns null) and,
// as any destruction of the palette does, posts the quit message with code 0.
LRESULT CALLBACK toolWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Highlights the cell of `code` and, for every code but Edit, makes it the
// current tool (the edit-variant dialog sets the Edit variants itself).
// Works without a palette too (then only the state changes).
void selectTool(ToolCode code);


}  // namespace quorvin
