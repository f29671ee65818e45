// The style dialog. (Being written.)
#include "styles/style_dialogs.h"

namespace quorvin {

INT_PTR runStyleDialog(HWND) { return 1041; }

}  // namespace quorvin
