#pragma once
// The tool palette (class ToolWindow): nine tool cells drawn from bitmaps,
// the Style and FONT buttons, the label list and the six property fields.

#include "app/model.h"
#include "common/win32/win32.h"

namespace quorvin {

inline constexpr int kStyleButtonId = 2100;
inline constexpr int kFontButtonId = 1090;
inline constexpr int kLabelListId = 9400;

extern int highlightedCell;  // 0..8, the cell drawn in its chosen look

LRESULT CALLBACK toolWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Highlights the cell of `code` and, for every code but Edit, makes it the
// current tool (the edit-variant dialog sets the Edit variants itself).
void selectTool(ToolCode code);

// Deletes the project's font handle, makes a new one from project.font and
// gives it to every placed control.
void applyProjectFont();

}  // namespace quorvin
