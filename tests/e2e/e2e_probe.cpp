// e2e_probe: tells the end-to-end suite what a user would see before acting:
// which window has the keyboard focus and what it holds. X knows the
// windows' places and pixels, but not which edit box of a dialog takes the
// next key; that lives in the Wine session, so the suite asks this program,
// run under Wine beside the designer.
//
// It reads commands from standard input, one per line, and answers each
// with one line on standard output (so one process serves the whole run):
//
//   focus    the foreground thread's focus window:
//            FLAGS<TAB>CLASS<TAB>ID<TAB>PARENT-ID<TAB>SEL-START<TAB>SEL-END<TAB>
//            LENGTH<TAB>ROOT<TAB>TEXT
//            FLAGS is GetGUIThreadInfo's flags in hexadecimal (menu mode
//            0x4, popup menu mode 0x10); ID and PARENT-ID are control ids
//            (0 for a top-level window); SEL-* the edit selection (-1 when
//            the window is no edit box) and LENGTH the text's length, both
//            in UTF-16 units; ROOT the title of the focus window's
//            top-level window (the dialog it is in) and TEXT the focus
//            window's text, both in UTF-8 with tabs and line breaks as
//            spaces. "none" when nothing has the
//            focus.
//   capture  the class of the window that holds the mouse in the
//            foreground thread, or "none".
//   item CLASS ID
//            the text (UTF-8) of the control ID in the first visible
//            top-level window of CLASS, or "none" when there is no such
//            control.
//   clipboard
//            the text on the clipboard as Windows programs see it (UTF-8),
//            or "none".
//   clipboard-has FORMAT
//            "yes" when the clipboard holds data of the registered format
//            FORMAT (what another program copied there), else "no".
//   quit     ends the program.
//
// Anything else is answered with "unknown command".
#include <algorithm>
#include <cstdio>
#include <string>

#include "common/win32/text.h"
#include "common/win32/win32.h"

namespace quorvin {
namespace {

// A hung target must not hang the suite: a sent message gives up after this.
constexpr UINT kSendTimeoutMs = 2000;
constexpr int kMaxText = 4096;

std::wstring classOf(HWND window) {
  wchar_t name[256]{};
  GetClassNameW(window, name, 256);
  return name;
}

// The window's text through WM_GETTEXT (also across processes), bounded in
// time.
std::wstring textOf(HWND window) {
  std::wstring text(kMaxText, L'\0');
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, kMaxText, reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &length))
    return L"";
  text.resize(std::min<std::size_t>(length, kMaxText - 1));
  for (wchar_t& c : text)
    if (c == L'\t' || c == L'\r' || c == L'\n') c = L' ';
  return text;
}

bool isEditBox(HWND window) {
  const std::wstring name = classOf(window);
  return _wcsicmp(name.c_str(), L"Edit") == 0;
}

std::string describeFocus() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(0, &info)) return "none";
  HWND focus = info.hwndFocus;
  if (focus == nullptr) return "none";
  long start = -1, end = -1;
  if (isEditBox(focus)) {
    DWORD_PTR selection = 0;
    if (SendMessageTimeoutW(focus, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &selection)) {
      start = LOWORD(selection);
      end = HIWORD(selection);
    }
  }
  const bool child = (GetWindowLongPtrW(focus, GWL_STYLE) & WS_CHILD) != 0;
  HWND parent = child ? GetParent(focus) : nullptr;
  const bool parentChild =
      parent != nullptr && (GetWindowLongPtrW(parent, GWL_STYLE) & WS_CHILD) != 0;
  char head[128];
  std::snprintf(head, sizeof head, "%lx\t", static_cast<unsigned long>(info.flags));
  std::string line = head;
  line += wideToUtf8(classOf(focus));
  const std::wstring text = textOf(focus);
  std::snprintf(head, sizeof head, "\t%d\t%d\t%ld\t%ld\t%lu\t", child ? GetDlgCtrlID(focus) : 0,
                parentChild ? GetDlgCtrlID(parent) : 0, start, end,
                static_cast<unsigned long>(text.size()));
  line += head;
  line += wideToUtf8(textOf(GetAncestor(focus, GA_ROOT)));
  line += '\t';
  line += wideToUtf8(text);
  return line;
}

std::string describeCapture() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(0, &info) || info.hwndCapture == nullptr) return "none";
  return wideToUtf8(classOf(info.hwndCapture));
}

std::string describeItem(const std::string& className, int id) {
  const std::wstring wideClass = utf8ToWide(className);
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, wideClass.c_str(), nullptr)) != nullptr) {
    if (!IsWindowVisible(window)) continue;
    const HWND item = GetDlgItem(window, id);
    return item == nullptr ? "none" : wideToUtf8(textOf(item));
  }
  return "none";
}

// The clipboard's text. Wine takes what another X program put on the X
// clipboard over a little later; a paste before then pastes nothing.
std::string describeClipboard() {
  if (!OpenClipboard(nullptr)) return "none";
  std::string text = "none";
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = wideToUtf8(wide);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::string describeClipboardFormat(const std::string& name) {
  const UINT format = RegisterClipboardFormatW(utf8ToWide(name).c_str());
  return format != 0 && IsClipboardFormatAvailable(format) ? "yes" : "no";
}

std::string answer(const std::string& command) {
  if (command == "focus") return describeFocus();
  if (command == "capture") return describeCapture();
  if (command == "clipboard") return describeClipboard();
  const std::string hasPrefix = "clipboard-has ";
  if (command.rfind(hasPrefix, 0) == 0)
    return describeClipboardFormat(command.substr(hasPrefix.size()));
  char className[128];
  int id = 0;
  if (std::sscanf(command.c_str(), "item %127s %d", className, &id) == 2)
    return describeItem(className, id);
  return "unknown command";
}

}  // namespace
}  // namespace quorvin

int main() {
  char command[256];
  while (std::fgets(command, sizeof command, stdin) != nullptr) {
    std::string name(command);
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
    if (name == "quit") break;
    std::printf("%s\n", quorvin::answer(name).c_str());
    std::fflush(stdout);
  }
  return 0;
}
