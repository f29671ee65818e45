// The New dialog: asks for the title and the class name of a new designed
// window and, when both are given, replaces the project with an empty one on
// a fresh 200 x 200 surface in the middle of the main window.
#include <algorithm>
#include <cstring>

#include "app/dialogs.h"
#include "app/font_record.h"
#include "app/main_window.h"
#include "app/model.h"
#include "app/model_win32.h"
#include "app/settings_file.h"
#include "common/win32/dialog_font.h"
#include "common/win32/gdi.h"
#include "common/win32/text.h"
#include "common/win32/window_idioms.h"
#include "designer/design_changes.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/palette.h"
#include "designer/project_font.h"
#include "designer/surface.h"
#include "resources/resource.h"

namespace quorvin {
namespace {

constexpr int kSurfaceSize = 200;  // pixels, outer width and height of a new surface
constexpr int kDefaultFontHeight = -13;

// What the dialog keeps while it is open: the Japanese-capable font its
// controls borrow.
struct NewDialogState {
  UniqueFont font;
};

// The new project's font: made with CreateFont, its logical font record
// copied into project.font.
void makeDefaultProjectFont() {
  setProjectFont(makeGothicFont(kDefaultFontHeight));
  const HFONT font = asHfont(project.fontHandle);
  LOGFONTW logFont{};
  if (font != nullptr && GetObjectW(font, sizeof logFont, &logFont) != 0)
    project.font = fontSpecOf(logFont);
  else
    project.font = defaultFontSpec();
}

// The surface of a new design: 200 x 200, about in the middle of the main
// window (the outer rectangle's corners taken into client coordinates).
void createCentredSurface() {
  const HWND owner = mainWindow;
  RECT frame{};
  GetWindowRect(owner, &frame);
  POINT bottomRight{frame.right, frame.bottom};
  ScreenToClient(owner, &bottomRight);
  const int x = bottomRight.x / 2 - kSurfaceSize / 2;
  const int y = bottomRight.y / 2 - kSurfaceSize / 2;
  const HWND surface = createSurface(x, y, kSurfaceSize, kSurfaceSize);
  if (surface == nullptr) return;
  ShowWindow(surface, SW_SHOW);
  UpdateWindow(surface);
  // The fields show the new design whatever its frame reported.
  refillFields();
  startDesignHistory();
}

// Throws the current project away and starts the new one from the dialog's
// two texts.
void startNewProject(HWND dialog) {
  if (project.surface != 0) {
    // The surface's destruction frees the controls, the objects and the
    // point markers.
    DestroyWindow(surfaceWindow());
    clearProject();
  }
  makeDefaultProjectFont();
  objects.assign(10, DesignObject{});
  project.objectCount = 0;
  project.regionMode = RegionMode::Rectangle;
  selectTool(ToolCode::Select);
  resetEditing(true);
  readSettings();
  setProjectText(kProjectTitle, readDialogText(dialog, IDC_NEWFILE_TITLE));
  setProjectText(kProjectClassName, readDialogText(dialog, IDC_NEWFILE_CLASS));
  createCentredSurface();
}

bool fieldIsEmpty(HWND dialog, int id) { return GetWindowTextLengthW(GetDlgItem(dialog, id)) == 0; }

// Reports a missing text and leaves the focus in its field. The field takes
// the focus before the message too: when the message box goes, the dialog
// gives the focus back to the control that had it when the box came (the
// OK button, after a click), and under Wine that can happen after the box
// has returned.
void refuseEmptyField(HWND dialog, int id, const wchar_t* message) {
  const HWND field = GetDlgItem(dialog, id);
  SetFocus(field);
  showError(dialog, message);
  SetFocus(field);
}

// OK: both texts are required; a missing one is reported and its field gets
// the focus, the dialog staying open.
void onOk(HWND dialog) {
  if (fieldIsEmpty(dialog, IDC_NEWFILE_TITLE)) {
    refuseEmptyField(dialog, IDC_NEWFILE_TITLE, L"タイトル名を入力してください");
    return;
  }
  if (fieldIsEmpty(dialog, IDC_NEWFILE_CLASS)) {
    refuseEmptyField(dialog, IDC_NEWFILE_CLASS, L"クラス名を入力してください");
    return;
  }
  startNewProject(dialog);
  EndDialog(dialog, IDC_NEWFILE_OK);
}

INT_PTR handleNewDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<NewDialogState*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      state->font = applyJapaneseDialogFont(dialog);
      SetFocus(GetDlgItem(dialog, IDC_NEWFILE_TITLE));
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_NEWFILE_OK:
          onOk(dialog);
          return TRUE;
        case IDC_NEWFILE_CANCEL:
        case IDCANCEL:  // Escape and the close box act as CANCEL
          EndDialog(dialog, IDC_NEWFILE_CANCEL);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_DESTROY: {
      auto* state = reinterpret_cast<NewDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
      if (state != nullptr) state->font.reset();
      return FALSE;
    }
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK newDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return guardedCall([&] { return handleNewDialog(dialog, message, wParam, lParam); }, FALSE);
}

}  // namespace

INT_PTR runNewDialog(HWND owner) {
  NewDialogState state;
  const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), L"ID_DLG_NEWFILE", owner,
                                         newDialogProc, reinterpret_cast<LPARAM>(&state));
  return result == IDC_NEWFILE_OK ? IDC_NEWFILE_OK : IDC_NEWFILE_CANCEL;
}

std::string readDialogText(HWND dialog, int controlId) {
  std::string text = windowTextCp932(GetDlgItem(dialog, controlId));
  if (text.empty()) return "NO_DATA";
  return text;
}

}  // namespace quorvin
