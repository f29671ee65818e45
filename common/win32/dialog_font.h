#pragma once
// Japanese in dialogs whatever the system's locale: the dialog manager makes
// the template's font with the default character set, and on a system whose
// ANSI code page is not 932 (and under Wine always) Japanese labels then come
// out as empty boxes. A dialog calls this from WM_INITDIALOG: it makes the
// dialog's own font again with SHIFTJIS_CHARSET and gives it to every child.

#include "common/win32/gdi.h"
#include "common/win32/win32.h"

namespace quorvin {

// Returns the font it made; the dialog keeps it until WM_DESTROY (the
// children only borrow it). Empty when the dialog has no font.
inline UniqueFont applyJapaneseDialogFont(HWND dialog) {
  const auto current = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  LOGFONTW logFont{};
  if (current == nullptr || GetObjectW(current, sizeof logFont, &logFont) == 0) return {};
  logFont.lfCharSet = SHIFTJIS_CHARSET;
  UniqueFont font(CreateFontIndirectW(&logFont));
  if (!font) return {};
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  return font;
}

}  // namespace quorvin
