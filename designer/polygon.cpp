// The polygon outline. (Being written.)
#include "designer/polygon.h"

namespace quorvin {

LRESULT CALLBACK markerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}
void onMainWindowButtonDown() {}
void onMainWindowButtonUp(WPARAM, LPARAM) {}
void onMainWindowMouseMove(WPARAM, LPARAM) {}
bool deleteActivePoint() { return false; }
void createOpenedProjectMarkers() {}
void destroyPointMarkers() {}
void showPointMarkers() {}
void hidePointMarkers() {}

}  // namespace quorvin
