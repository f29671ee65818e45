#pragma once
// The style dialog (check boxes per style flag with a live sample) and the
// edit-variant dialog (which of the five edit boxes the Edit tool places).

#include "common/win32/win32.h"

namespace quorvin {

// Edits the style of objects[selectedObject]; OK re-makes its control.
// Returns 1040 (OK) or 1041 (CANCEL).
INT_PTR runStyleDialog(HWND owner);

// Sets currentTool to the chosen edit variant; OK highlights the Edit cell,
// CANCEL returns to Select.
INT_PTR runEditVariantDialog(HWND owner);

}  // namespace quorvin
