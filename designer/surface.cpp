// The design surface window procedure. (Being written: until then the least
// that keeps the program consistent.)
#include "designer/surface.h"

namespace quorvin {

LRESULT CALLBACK surfaceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND createSurface(int, int, int, int) { return nullptr; }
bool createPlacedControl(int, ToolCode, RegionPoint, RegionPoint) { return false; }
HWND recreateObjectControl(int) { return nullptr; }
bool placeFromRelease() { return false; }
void placeSizeHandles(const DesignObject&) {}
void hideSizeHandles() {}
bool openProject(const Path&) { return false; }

RegionPoint cursorIn(HWND window) {
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(window, &p);
  return {p.x, p.y};
}

}  // namespace quorvin
