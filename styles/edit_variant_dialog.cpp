// The edit-variant dialog: which of the five edit boxes (NORMAL, MULTILINE,
// VSCROLL, HSCROLL, VHSCROLL) the Edit tool places next. The choice lives in
// currentTool from the moment a radio button is clicked; only OK and CANCEL
// close the dialog.
#include "app/model.h"
#include "app/model_win32.h"
#include "common/win32/window_idioms.h"
#include "designer/editing_state.h"
#include "designer/palette.h"
#include "resources/resource.h"
#include "styles/style_dialog_rules.h"
#include "styles/style_dialogs.h"

namespace quorvin {
namespace {

// NORMAL gets the focus and the check. On Windows the focus landing on the
// unchecked auto radio button reports a click on it at once; other platforms
// (Wine) do not, so the NORMAL choice is made here as well: after opening,
// currentTool is Edit whatever it was.
void onInitDialog(HWND dialog) {
  SetFocus(GetDlgItem(dialog, IDC_EDITMENU_NORMAL));
  SendDlgItemMessageW(dialog, IDC_EDITMENU_NORMAL, BM_SETCHECK, BST_CHECKED, 0);
  chooseEditVariant(ToolCode::Edit);
}

void onCommand(HWND dialog, int id, int notification) {
  switch (id) {
    case IDC_EDITMENU_OK:
      selectTool(ToolCode::Edit);  // highlights the Edit cell, keeps the variant
      EndDialog(dialog, IDC_EDITMENU_OK);
      return;
    case IDC_EDITMENU_CANCEL:
      selectTool(ToolCode::Select);
      EndDialog(dialog, IDC_EDITMENU_CANCEL);
      return;
    default:
      break;
  }
  // The check has already moved to the clicked radio button. Everything else
  // (Escape's and the close box's IDCANCEL, the sample edits' notifications)
  // is ignored and the dialog stays open.
  if (notification != BN_CLICKED && notification != BN_DOUBLECLICKED) return;
  if (const auto tool = editVariantTool(id)) chooseEditVariant(*tool);
}

INT_PTR CALLBACK editVariantDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return guardedCall([&]() -> LRESULT {
    switch (message) {
      case WM_INITDIALOG:
        onInitDialog(dialog);
        return FALSE;  // the focus is set
      case WM_COMMAND:
        onCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
      default:
        return FALSE;
    }
  });
}

}  // namespace

INT_PTR runEditVariantDialog(HWND owner) {
  return DialogBoxParamW(GetModuleHandleW(nullptr), L"ID_EDIT_MENU", owner, editVariantDialogProc,
                         0);
}

}  // namespace quorvin
