// The style dialog: one auto check box per style flag of the selected
// control (the six general window styles and the rows of the control's own
// family), a live sample of the control inside the "Sample" frame, and a
// description of the flag under the mouse. Every click writes the style
// straight into the selected object; OK makes the object's control on the
// surface again, CANCEL puts back the style the object had at opening.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/model.h"
#include "app/model_win32.h"
#include "common/win32/dialog_font.h"
#include "common/win32/gdi.h"
#include "common/win32/text.h"
#include "common/win32/window_idioms.h"
#include "designer/editing_state.h"
#include "designer/surface.h"
#include "designer/surface_aids.h"
#include "resources/resource.h"
#include "styles/style_dialog_rules.h"
#include "styles/style_dialogs.h"
#include "styles/style_tables.h"

namespace quorvin {
namespace {

constexpr int kWindowStyleRows = 6;
constexpr wchar_t kSampleText[] = L"abc";

// What the dialog works on, from WM_INITDIALOG to its end. Lives in
// runStyleDialog's frame; the dialog keeps a pointer in DWLP_USER.
struct StyleDialogState {
  // Index of the edited object in `objects`, -1 when nothing is selected
  // (the dialog then shows only its template controls).
  std::int32_t objectIndex = -1;
  // The object's style when the dialog opened, put back by CANCEL.
  std::uint32_t originalStyle = 0;
  ObjectKind kind = ObjectKind::BUTTON;
  StyleTable kindTable;  // empty for a kind without a table
  // The description shown now (a row's text, or null before the first
  // hover), so that moves within one box do not set the same text again.
  const char* shownDescription = nullptr;
  // Owned fonts; the boxes and the template's controls only borrow them, and
  // the state outlives the dialog's windows.
  UniqueFont dialogFont;    // the check boxes' font
  UniqueFont templateFont;  // the template's font remade with SHIFTJIS_CHARSET
};

// The check boxes' own window procedure, taken when the first box is hooked
// (all boxes are of the BUTTON class); the hover hook passes every message on
// to it.
WNDPROC buttonClassProc = nullptr;

StyleDialogState* stateOf(HWND dialog) {
  return reinterpret_cast<StyleDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

DesignObject& editedObject(const StyleDialogState& state) {
  return objects[static_cast<std::size_t>(state.objectIndex)];
}

// The selected object's index when it names a live entry, else -1.
std::int32_t validSelection() {
  if (selectedObject < 0 || selectedObject >= project.objectCount ||
      selectedObject >= objectCapacity())
    return -1;
  return selectedObject;
}

// The check boxes' font: 13-pixel characters.
constexpr int kCheckBoxFontHeight = -13;

HWND makeCheckBox(HWND dialog, const StyleFlag& row, int id, const PixelRect& rect) {
  return CreateWindowExW(0, L"BUTTON", cp932ToWide(row.name).c_str(), kStyleBoxStyle, rect.x,
                         rect.y, rect.width, rect.height, dialog,
                         idAsMenu(id),
                         GetModuleHandleW(nullptr), nullptr);
}

// The hover hook: the mouse over a box shows that box's description; the
// text stays until another box replaces it.
LRESULT CALLBACK styleBoxHoverProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEMOVE) {
    guardedCall([&]() -> LRESULT {
      const HWND dialog = GetParent(box);
      StyleDialogState* state = stateOf(dialog);
      if (state == nullptr) return 0;
      const char* text = styleBoxDescription(state->kindTable, GetDlgCtrlID(box));
      if (text == nullptr || text == state->shownDescription) return 0;
      SetDlgItemTextW(dialog, IDC_SETSTYLE_DESCRIPTION, cp932ToWide(text).c_str());
      state->shownDescription = text;
      return 0;
    });
  }
  if (buttonClassProc == nullptr) return DefWindowProcW(box, message, wParam, lParam);
  return CallWindowProcW(buttonClassProc, box, message, wParam, lParam);
}

void hookBox(HWND box, HFONT font) {
  if (box == nullptr) return;
  SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  const auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(styleBoxHoverProc)));
  if (buttonClassProc == nullptr) buttonClassProc = previous;
}

bool isChecked(HWND dialog, int id) {
  return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

HWND sampleFrame(HWND dialog) { return GetDlgItem(dialog, IDC_SETSTYLE_SAMPLE_FRAME); }
HWND sampleOf(HWND dialog) { return GetDlgItem(sampleFrame(dialog), IDC_SETSTYLE_SAMPLE); }

// The sample control inside the "Sample" frame, of the object's class, with
// `style`. It is always made a child: a style read from a file without
// WS_CHILD would otherwise give a stray pop-up at the screen's corner.
void makeSample(HWND dialog, ObjectKind kind, std::uint32_t style) {
  CreateWindowExW(recreatedExStyleOf(kind), cp932ToWide(windowClassOf(kind)).c_str(), kSampleText,
                  style | kWsChild, kStyleSampleRect.x, kStyleSampleRect.y, kStyleSampleRect.width,
                  kStyleSampleRect.height, sampleFrame(dialog),
                  idAsMenu(IDC_SETSTYLE_SAMPLE),
                  GetModuleHandleW(nullptr), nullptr);
}

// Repaints the part of the dialog from the frame's top-left corner to the
// client area's bottom-right corner, background included.
void repaintSampleArea(HWND dialog) {
  const RECT frame = rectInParent(sampleFrame(dialog));
  const POINT topLeft{frame.left, frame.top};
  RECT client{};
  GetClientRect(dialog, &client);
  UniqueRegion region(CreateRectRgn(topLeft.x, topLeft.y, client.right, client.bottom));
  if (region) InvalidateRgn(dialog, region.get(), TRUE);
}

void moveBy(HWND dialog, int id, const DialogGrowth& growth) {
  const HWND item = GetDlgItem(dialog, id);
  const RECT rect = rectInParent(item);
  MoveWindow(item, rect.left + growth.wider, rect.top + growth.taller, rect.right - rect.left,
             rect.bottom - rect.top, TRUE);
}

void growForKind(HWND dialog, ObjectKind kind) {
  const DialogGrowth growth = styleDialogGrowth(kind);
  if (growth == DialogGrowth{}) return;
  RECT rect{};
  GetWindowRect(dialog, &rect);
  MoveWindow(dialog, rect.left, rect.top, rect.right - rect.left + growth.wider,
             rect.bottom - rect.top + growth.taller, TRUE);
  moveBy(dialog, IDC_SETSTYLE_OK, growth);
  moveBy(dialog, IDC_SETSTYLE_CANCEL, growth);
}

void placeFrameAndDescription(HWND dialog) {
  RECT client{};
  GetClientRect(dialog, &client);
  const EdgeRect edges{client.left, client.top, client.right, client.bottom};
  const PixelRect frame = sampleFrameRect(edges);
  const PixelRect description = descriptionRect(edges);
  MoveWindow(sampleFrame(dialog), frame.x, frame.y, frame.width, frame.height, TRUE);
  MoveWindow(GetDlgItem(dialog, IDC_SETSTYLE_DESCRIPTION), description.x, description.y,
             description.width, description.height, TRUE);
}

// WM_INITDIALOG: makes the boxes, the sample and the font, grows the dialog
// for the kind and checks the boxes that the object's style contains.
void onInitDialog(HWND dialog, StyleDialogState& state) {
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
  state.templateFont = applyJapaneseDialogFont(dialog);
  if (state.objectIndex < 0) return;

  const DesignObject& object = editedObject(state);
  std::array<HWND, kWindowStyleRows> windowBoxes{};
  for (int row = 0; row < kWindowStyleRows; ++row)
    windowBoxes[static_cast<std::size_t>(row)] =
        makeCheckBox(dialog, WindowStyleTable[static_cast<std::size_t>(row)],
                     kFirstWindowStyleBoxId + row, windowStyleBoxRect(row));

  state.dialogFont = makeGothicFont(kCheckBoxFontHeight);
  const HFONT font = state.dialogFont.get();

  if (!state.kindTable.empty()) {
    growForKind(dialog, state.kind);
    makeSample(dialog, state.kind, object.style);
    const std::vector<bool> checks = initialKindChecks(state.kindTable, object.style);
    for (std::size_t row = 0; row < state.kindTable.size(); ++row) {
      const int id = kFirstKindStyleBoxId + static_cast<int>(row);
      const HWND box = makeCheckBox(dialog, state.kindTable[row], id,
                                    kindStyleBoxRect(state.kind, static_cast<int>(row)));
      hookBox(box, font);
      if (checks[row]) SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    }
  }

  const std::array<bool, kWindowStyleRows> marks = WindowStyleMarks(object.style);
  for (std::size_t row = 0; row < windowBoxes.size(); ++row) {
    hookBox(windowBoxes[row], font);
    if (marks[row]) SendMessageW(windowBoxes[row], BM_SETCHECK, BST_CHECKED, 0);
  }

  placeFrameAndDescription(dialog);
}

std::array<bool, kWindowStyleRows> windowBoxChecks(HWND dialog) {
  std::array<bool, kWindowStyleRows> checks{};
  for (int row = 0; row < kWindowStyleRows; ++row)
    checks[static_cast<std::size_t>(row)] = isChecked(dialog, kFirstWindowStyleBoxId + row);
  return checks;
}

std::vector<bool> kindBoxChecks(HWND dialog, StyleTable table) {
  std::vector<bool> checks(table.size(), false);
  for (std::size_t row = 0; row < table.size(); ++row)
    checks[row] = isChecked(dialog, kFirstKindStyleBoxId + static_cast<int>(row));
  return checks;
}

// A window-style box has toggled: the row's bit follows it and the sample is
// made again, since some of these bits (WS_VISIBLE, the frames, the scroll
// bars) cannot be changed on a live control.
void onWindowStyleClick(HWND dialog, StyleDialogState& state, int row) {
  DesignObject& object = editedObject(state);
  const std::uint32_t style =
      windowStyleClick(object.style, row, isChecked(dialog, kFirstWindowStyleBoxId + row));
  if (!state.kindTable.empty()) {
    if (const HWND sample = sampleOf(dialog)) DestroyWindow(sample);
    makeSample(dialog, state.kind, style);
  }
  repaintSampleArea(dialog);
  object.style = style;
}

// A per-kind box has toggled (or another command arrived, which counts as a
// click on a row outside the table): the style follows the click rules and
// the sample takes the style in place.
void onKindStyleClick(HWND dialog, StyleDialogState& state, int row) {
  DesignObject& object = editedObject(state);
  const bool inside = row >= 0 && static_cast<std::size_t>(row) < state.kindTable.size();
  if (inside) {
    object.style = kindStyleClick(state.kindTable, object.style, row,
                                  isChecked(dialog, kFirstKindStyleBoxId + row),
                                  kindBoxChecks(dialog, state.kindTable), windowBoxChecks(dialog));
  }
  if (const HWND sample = sampleOf(dialog)) {
    SetWindowLongPtrW(sample, GWL_STYLE,
                      static_cast<LONG_PTR>(static_cast<LONG>(object.style | kWsChild)));
    // Frame and scroll bars are recomputed only when told so.
    SetWindowPos(sample, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  repaintSampleArea(dialog);
}

void onOk(HWND dialog, const StyleDialogState& state) {
  if (state.objectIndex >= 0) {
    // Made again below all others: it goes back to its place in the stacking.
    if (recreateObjectControl(state.objectIndex) != nullptr)
      restackControlMadeAgain(static_cast<std::size_t>(state.objectIndex));
    if (const HWND surface = surfaceWindow()) InvalidateRect(surface, nullptr, TRUE);
  }
  EndDialog(dialog, IDC_SETSTYLE_OK);
}

void onCancel(HWND dialog, const StyleDialogState& state) {
  // The clicks wrote into the object as they came; giving up puts the style
  // back, so that the project agrees with the control on the surface again.
  if (state.objectIndex >= 0) editedObject(state).style = state.originalStyle;
  EndDialog(dialog, IDC_SETSTYLE_CANCEL);
}

void onCommand(HWND dialog, StyleDialogState& state, int id, int notification) {
  if (id == IDC_SETSTYLE_OK) return onOk(dialog, state);
  if (id == IDC_SETSTYLE_CANCEL) return onCancel(dialog, state);
  if (state.objectIndex < 0) return;
  const bool click = notification == BN_CLICKED;
  const int windowRow = id - kFirstWindowStyleBoxId;
  if (click && windowRow >= 0 && windowRow < kWindowStyleRows)
    return onWindowStyleClick(dialog, state, windowRow);
  // Per-kind boxes, and every other command (Escape's IDCANCEL among them)
  // as a row outside the table: the dialog stays open.
  const int kindRow = click ? id - kFirstKindStyleBoxId : -1;
  onKindStyleClick(dialog, state, kindRow);
}

INT_PTR CALLBACK styleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return guardedCall([&]() -> LRESULT {
    switch (message) {
      case WM_INITDIALOG:
        onInitDialog(dialog, *reinterpret_cast<StyleDialogState*>(lParam));
        return TRUE;
      case WM_COMMAND:
        if (StyleDialogState* state = stateOf(dialog))
          onCommand(dialog, *state, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
      default:
        return FALSE;
    }
  });
}

}  // namespace

INT_PTR runStyleDialog(HWND owner) {
  StyleDialogState state;
  state.objectIndex = validSelection();
  if (state.objectIndex >= 0) {
    const DesignObject& object = editedObject(state);
    state.originalStyle = object.style;
    state.kind = object.kind;
    state.kindTable = StyleTableFor(object.kind);
  }
  return DialogBoxParamW(GetModuleHandleW(nullptr), L"ID_DLG_SETSTYLE", owner, styleDialogProc,
                         reinterpret_cast<LPARAM>(&state));
}

}  // namespace quorvin
