// The Settings dialog. (Being written.)
#include "app/dialogs.h"

namespace quorvin {

INT_PTR runSettingsDialog(HWND) { return 1029; }

}  // namespace quorvin
