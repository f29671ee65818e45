// The tool palette window procedure. (Being written.)
#include "designer/palette.h"

namespace quorvin {

int highlightedCell = 0;

LRESULT CALLBACK toolWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

void selectTool(ToolCode code) {
  if (code != ToolCode::Edit) currentTool = code;
}

void applyProjectFont() {}

}  // namespace quorvin
