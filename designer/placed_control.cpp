// The placed-control procedure. (Being written.)
#include "designer/surface.h"

namespace quorvin {

LRESULT CALLBACK placedControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quorvin
