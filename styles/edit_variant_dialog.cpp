// The edit-variant dialog. (Being written.)
#include "app/model.h"
#include "styles/style_dialogs.h"

namespace quorvin {

INT_PTR runEditVariantDialog(HWND) {
  currentTool = ToolCode::Edit;
  return 1014;
}

}  // namespace quorvin
