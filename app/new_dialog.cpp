// The New dialog. (Being written.)
#include "app/dialogs.h"

namespace quorvin {

INT_PTR runNewDialog(HWND) { return 1037; }
std::string readDialogText(HWND, int) { return "NO_DATA"; }

}  // namespace quorvin
