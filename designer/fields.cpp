// The property fields. (Being written.)
#include "designer/fields.h"

namespace quorvin {

LRESULT CALLBACK fieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}
void subclassFields(HWND) {}
void showObjectFields(const DesignObject&) {}
void showWindowFields() {}
void showPointFields(int) {}

}  // namespace quorvin
