// The Settings dialog: the five identifier names of generated code, read
// from setting.ini when it opens and written back on OK.
#include "app/dialogs.h"
#include "app/main_window.h"
#include "app/model.h"
#include "app/model_win32.h"
#include "app/settings_file.h"
#include "common/win32/dialog_font.h"
#include "common/win32/gdi.h"
#include "common/win32/text.h"
#include "common/win32/window_idioms.h"
#include "resources/resource.h"

namespace quorvin {
namespace {

struct SettingsDialogState {
  UniqueFont font;  // borrowed by the dialog's controls until WM_DESTROY
};

// The fields in the order OK stores them, with the project text each feeds
// (setProjectText: 4 hwnd, 5 hinstance, 6 hfont, 7 hrgn, 8 point).
struct NameField {
  int id;
  int projectText;
  std::string VariableNames::*name;
};
constexpr NameField kNameFields[] = {
    {IDC_SETTING_HWND, 4, &VariableNames::hwnd},
    {IDC_SETTING_HINSTANCE, 5, &VariableNames::hinstance},
    {IDC_SETTING_HFONT, 6, &VariableNames::hfont},
    {IDC_SETTING_HRGN, 7, &VariableNames::hrgn},
    {IDC_SETTING_POINT, 8, &VariableNames::point},
};

void onInit(HWND dialog, SettingsDialogState& state) {
  state.font = applyJapaneseDialogFont(dialog);
  // Replaces the names in the project even if the dialog is then cancelled.
  readSettings();
  SetFocus(GetDlgItem(dialog, IDC_SETTING_HWND));
  for (const NameField& field : kNameFields)
    setWindowTextCp932(GetDlgItem(dialog, field.id), project.variableNames.*field.name);
}

// OK: every field is stored as the file holds it (trimmed, an empty one as
// "NO_DATA"), so that memory and file never differ, and the file written; a
// failed write is reported as a failed save is, and the names stay in memory.
void onOk(HWND dialog) {
  for (const NameField& field : kNameFields)
    setProjectText(field.projectText, settingNameAsWritten(readDialogText(dialog, field.id)));
  if (!writeSettings()) showError(dialog, L"設定ファイルの保存に失敗しました。");
  EndDialog(dialog, IDC_SETTING_OK);
}

INT_PTR handleSettingsDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      onInit(dialog, *reinterpret_cast<SettingsDialogState*>(lParam));
      return FALSE;  // the focus is set
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_SETTING_OK:
          onOk(dialog);
          return TRUE;
        case IDC_SETTING_CANCEL:
        case IDCANCEL:  // Escape and the close box act as CANCEL
          EndDialog(dialog, IDC_SETTING_CANCEL);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_DESTROY: {
      auto* state = reinterpret_cast<SettingsDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
      if (state != nullptr) state->font.reset();
      return FALSE;
    }
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return guardedCall([&] { return handleSettingsDialog(dialog, message, wParam, lParam); }, FALSE);
}

}  // namespace

INT_PTR runSettingsDialog(HWND owner) {
  SettingsDialogState state;
  const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), L"ID_DLG_SETTING", owner,
                                         settingsDialogProc, reinterpret_cast<LPARAM>(&state));
  return result == IDC_SETTING_OK ? IDC_SETTING_OK : IDC_SETTING_CANCEL;
}

}  // namespace quorvin
