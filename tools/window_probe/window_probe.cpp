// window_probe: starts a program generated from a Quorvin project, checks
// the window it makes against the project, closes it and checks that it ends
// cleanly.
//
//   window_probe PROGRAM.exe PROJECT.json [--unicode] [--code-page N]
//
// PROJECT.json is `quorvin-gen --json` of the project the program was
// generated from; --unicode says the program is the Unicode output, whose
// texts must read back right whatever the ANSI code page; --code-page makes
// sure the run has the ANSI code page N. Checked: the top-level window of
// the project's class appears, with the title and the rectangle of the
// project; it has exactly one child per object, in the objects' order, each
// with the object's control id (100, 200, ... in list order), window class,
// position, style bits, extended style, caption and font; Tab moves the
// keyboard focus through the children that have WS_TABSTOP in that order,
// round to the first, and Shift+Tab back; it has a window region exactly
// when the project has an outline, whose bounds are those of the outline;
// and after WM_CLOSE the program ends with exit code 0. Every mismatch is
// printed; the exit code is 0 when all checks passed, 1 otherwise, 2 on
// wrong usage.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "common/handle.h"
#include "common/win32/gdi.h"
#include "common/win32/text.h"
#include "common/win32/win32.h"

namespace quorvin {
namespace {

using nlohmann::json;

constexpr DWORD kWindowTimeoutMs = 15000;
constexpr DWORD kExitTimeoutMs = 10000;

// Style bits that the project sets and the system must keep as they are:
// the class's own styles (the low word: BS_, ES_, SS_, LBS_ types and flags)
// and the general visibility and enabled state. The system may add or remove
// other general bits of its own (scroll bars, borders, clipping).
constexpr DWORD kCheckedStyleBits = 0x0000FFFF | WS_VISIBLE | WS_DISABLED;
constexpr DWORD kLbsNoIntegralHeight = 0x0100;

// A process or thread handle, closed with CloseHandle.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type invalid() noexcept { return nullptr; }
  static void release(Type handle) noexcept { CloseHandle(handle); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

class Checks {
 public:
  void expect(bool ok, const std::string& what) {
    ++count_;
    if (!ok) {
      ++failed_;
      std::printf("MISMATCH: %s\n", what.c_str());
    }
  }
  int count() const { return count_; }
  int failed() const { return failed_; }

 private:
  int count_ = 0;
  int failed_ = 0;
};

template <typename T>
std::string str(const T& value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

std::string classOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return wideToUtf8(name);
}

// The text through WM_GETTEXT: GetWindowText does not ask a window of
// another process, and an edit control keeps its text to itself.
std::string textOf(HWND window) {
  const auto length = static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  const LRESULT got = SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(length + 1),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return wideToUtf8(text);
}

bool sameIgnoringCase(const std::string& a, const std::string& b) {
  return CompareStringOrdinal(utf8ToWide(a).c_str(), -1, utf8ToWide(b).c_str(), -1, TRUE) ==
         CSTR_EQUAL;
}

// The window class that a control of the kind is made of.
std::string windowClassOf(const std::string& kindName) {
  if (kindName == "BUTTON") return "Button";
  if (kindName.rfind("EDIT", 0) == 0) return "Edit";
  if (kindName == "STATIC") return "Static";
  if (kindName == "LISTBOX") return "ListBox";
  return kindName;
}

// The extended style the generated statement gives the kind.
DWORD exStyleOf(const std::string& kindName) {
  if (kindName.rfind("EDIT", 0) == 0 || kindName == "LISTBOX") return WS_EX_CLIENTEDGE;
  if (kindName == "STATIC") return WS_EX_TRANSPARENT;
  return 0;
}

struct Search {
  std::wstring className;
  DWORD processId = 0;
  HWND found = nullptr;
};

BOOL CALLBACK findTopLevel(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  if (pid == search->processId && search->className == name) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK collectChild(HWND window, LPARAM data) {
  auto* children = reinterpret_cast<std::vector<HWND>*>(data);
  if (GetParent(window) != nullptr) children->push_back(window);
  return TRUE;
}

// The program's shown top-level window of the class, or null after the
// time-out or when the program ended.
HWND waitForWindow(const std::wstring& className, const PROCESS_INFORMATION& process) {
  const DWORD start = GetTickCount();
  for (;;) {
    Search search{className, process.dwProcessId, nullptr};
    EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&search));
    // Shown means that WinMain is past CreateWindow, and so WM_CREATE (the
    // controls, the font, the region) is done.
    if (search.found != nullptr && IsWindowVisible(search.found)) return search.found;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) return nullptr;
    if (GetTickCount() - start > kWindowTimeoutMs) return nullptr;
    Sleep(20);
  }
}

void checkWindow(HWND window, const json& project, Checks& checks, bool textsComparable) {
  if (textsComparable) {
    checks.expect(textOf(window) == project["title"].get<std::string>(),
                  "title '" + textOf(window) + "', project '" +
                      project["title"].get<std::string>() + "'");
  }
  RECT rect{};
  GetWindowRect(window, &rect);
  const int x = project["x"], y = project["y"], width = project["width"],
            height = project["height"];
  checks.expect(rect.left == x && rect.top == y && rect.right - rect.left == width &&
                    rect.bottom - rect.top == height,
                "window rectangle " + str(rect.left) + "," + str(rect.top) + " " +
                    str(rect.right - rect.left) + "x" + str(rect.bottom - rect.top) +
                    ", project " + str(x) + "," + str(y) + " " + str(width) + "x" + str(height));
}

void checkRegion(HWND window, const json& outline, Checks& checks) {
  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  const int kind = GetWindowRgn(window, region.get());
  const json& points = outline["regionPoints"];
  if (outline["regionMode"] != 2 || points.empty()) {
    checks.expect(kind == ERROR, "the window has a region but the project has no outline");
    return;
  }
  checks.expect(kind == SIMPLEREGION || kind == COMPLEXREGION,
                "the window has no region but the project has an outline");
  if (kind != SIMPLEREGION && kind != COMPLEXREGION) return;
  int left = points[0]["x"], top = points[0]["y"], right = left, bottom = top;
  for (const json& point : points) {
    left = std::min(left, point["x"].get<int>());
    top = std::min(top, point["y"].get<int>());
    right = std::max(right, point["x"].get<int>());
    bottom = std::max(bottom, point["y"].get<int>());
  }
  RECT box{};
  GetRgnBox(region.get(), &box);
  // A polygon region leaves out its right and bottom edges.
  const auto closeTo = [](LONG a, int b) { return a >= b - 1 && a <= b + 1; };
  checks.expect(closeTo(box.left, left) && closeTo(box.top, top) && closeTo(box.right, right) &&
                    closeTo(box.bottom, bottom),
                "region bounds " + str(box.left) + "," + str(box.top) + "-" + str(box.right) +
                    "," + str(box.bottom) + ", outline " + str(left) + "," + str(top) + "-" +
                    str(right) + "," + str(bottom));
}

// The project's font as the generated CreateFont makes it.
UniqueFont createProjectFont(const json& font) {
  return UniqueFont(CreateFontW(
      font["height"].get<int>(), 0, 0, 0, font["weight"].get<int>() / 100 * 100,
      font["italic"].get<int>() != 0, font["underline"].get<int>() != 0,
      font["strikeOut"].get<int>() != 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
      CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH | FF_MODERN,
      utf8ToWide(font["faceName"].get<std::string>()).c_str()));
}

// Whether the control uses the project's font. Where WM_GETFONT answers
// across processes (Windows) the font's record is compared. Wine does not
// answer it, so an edit control with a caption is checked by what the font
// does: the distance between its first and last character, as the edit
// control lays them out, must be the width of the text before the last
// character in the project's font.
void checkFont(HWND control, const json& object, const json& font, const std::string& who,
               Checks& checks) {
  const auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW actual{};
  if (handle != nullptr && GetObjectW(handle, sizeof actual, &actual) == sizeof actual) {
    const std::string face = wideToUtf8(actual.lfFaceName);
    const bool same =
        actual.lfHeight == font["height"].get<int>() &&
        actual.lfWeight == font["weight"].get<int>() / 100 * 100 &&
        (actual.lfItalic != 0) == (font["italic"].get<int>() != 0) &&
        (actual.lfUnderline != 0) == (font["underline"].get<int>() != 0) &&
        (actual.lfStrikeOut != 0) == (font["strikeOut"].get<int>() != 0) &&
        face == font["faceName"].get<std::string>();
    checks.expect(same, who + ": font " + str(actual.lfHeight) + " " + str(actual.lfWeight) +
                            " '" + face + "', project " + font.dump());
    return;
  }

  const std::string kind = object["kindName"];
  const std::wstring caption = utf8ToWide(object["caption"].get<std::string>());
  constexpr DWORD kEsPassword = 0x0020;
  if (kind.rfind("EDIT", 0) != 0 || caption.size() < 2 ||
      (object["style"].get<DWORD>() & kEsPassword) != 0)
    return;
  const auto last = static_cast<WPARAM>(caption.size() - 1);
  const auto first = static_cast<DWORD>(SendMessageW(control, EM_POSFROMCHAR, 0, 0));
  const auto end = static_cast<DWORD>(SendMessageW(control, EM_POSFROMCHAR, last, 0));
  const int laidOut = static_cast<short>(LOWORD(end)) - static_cast<short>(LOWORD(first));

  UniqueFont projectFont = createProjectFont(font);
  HDC dc = GetDC(nullptr);
  const HGDIOBJ old = SelectObject(dc, projectFont.get());
  SIZE size{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(last), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  checks.expect(laidOut >= size.cx - 1 && laidOut <= size.cx + 1,
                who + ": the text is laid out " + str(laidOut) + " px wide, " + str(size.cx) +
                    " px in the project's font");
}

void checkControls(HWND window, const json& project, Checks& checks, bool textsComparable) {
  std::vector<HWND> children;
  EnumChildWindows(window, collectChild, reinterpret_cast<LPARAM>(&children));
  const json& objects = project["objects"];
  checks.expect(children.size() == objects.size(),
                str(children.size()) + " children, project " + str(objects.size()) + " objects");

  // The children come in creation order, which is the objects' order.
  for (std::size_t index = 0; index < objects.size(); ++index) {
    const json& object = objects[index];
    const int id = object["controlId"];
    const std::string kind = object["kindName"];
    const std::string who = "control " + str(id) + " (" + object["idName"].get<std::string>() +
                            ", " + kind + ")";
    const HWND control = index < children.size() ? children[index] : nullptr;
    checks.expect(control != nullptr, who + ": missing");
    if (control == nullptr) continue;
    checks.expect(GetDlgCtrlID(control) == id,
                  who + ": control id " + str(GetDlgCtrlID(control)));
    checks.expect(GetDlgItem(window, id) == control, who + ": its id is not its own");

    checks.expect(sameIgnoringCase(classOf(control), windowClassOf(kind)),
                  who + ": class " + classOf(control));

    const auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    const auto wanted = object["style"].get<DWORD>();
    char styles[96];
    std::snprintf(styles, sizeof styles, "style 0x%08lX, project 0x%08lX (compared 0x%08lX)",
                  static_cast<unsigned long>(style), static_cast<unsigned long>(wanted),
                  static_cast<unsigned long>(kCheckedStyleBits));
    checks.expect((style & WS_CHILD) != 0 &&
                      (style & kCheckedStyleBits) == (wanted & kCheckedStyleBits),
                  who + ": " + styles);
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(control, GWL_EXSTYLE));
    checks.expect((exStyle & exStyleOf(kind)) == exStyleOf(kind),
                  who + ": extended style " + str(exStyle));

    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rect), 2);
    // A list box without LBS_NOINTEGRALHEIGHT fits its height to whole items.
    const bool heightFixed = kind != "LISTBOX" || (wanted & kLbsNoIntegralHeight) != 0;
    const int x = object["x"], y = object["y"], width = object["width"],
              height = object["height"];
    checks.expect(rect.left == x && rect.top == y && rect.right - rect.left == width &&
                      (!heightFixed || rect.bottom - rect.top == height),
                  who + ": rectangle " + str(rect.left) + "," + str(rect.top) + " " +
                      str(rect.right - rect.left) + "x" + str(rect.bottom - rect.top) +
                      ", project " + str(x) + "," + str(y) + " " + str(width) + "x" +
                      str(height));

    if (textsComparable && kind != "LISTBOX") {
      const std::string caption = object["caption"];
      checks.expect(textOf(control) == caption,
                    who + ": text '" + textOf(control) + "', project '" + caption + "'");
    }
    checkFont(control, object, project["font"], who, checks);
  }
}

// The window that has the keyboard focus in the program's thread.
HWND focusOf(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// Waits until the program's focus is `wanted`, as a key's effect arrives
// only once the program has taken it from its queue.
bool focusBecomes(DWORD thread, HWND wanted) {
  constexpr DWORD kFocusTimeoutMs = 5000;
  for (const DWORD start = GetTickCount(); GetTickCount() - start < kFocusTimeoutMs; Sleep(20)) {
    if (focusOf(thread) == wanted) return true;
  }
  return false;
}

void pressTab(bool shift) {
  std::vector<INPUT> keys;
  const auto key = [&keys](WORD code, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    keys.push_back(input);
  };
  if (shift) key(VK_SHIFT, false);
  key(VK_TAB, false);
  key(VK_TAB, true);
  if (shift) key(VK_SHIFT, true);
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

// Tab, pressed as a user does, goes through the children that take it
// (WS_TABSTOP, visible, enabled) in creation order and round to the first;
// Shift+Tab goes back.
void checkTabOrder(HWND window, DWORD thread, Checks& checks) {
  std::vector<HWND> children;
  EnumChildWindows(window, collectChild, reinterpret_cast<LPARAM>(&children));
  std::vector<HWND> stops;
  for (HWND child : children) {
    const auto style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
    if ((style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE))
      stops.push_back(child);
    // Every control that takes the focus is a tab stop; static texts and
    // group boxes are not.
    const bool takesFocus = (SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_STATIC) == 0;
    checks.expect(takesFocus == ((style & WS_TABSTOP) != 0),
                  "control " + str(GetDlgCtrlID(child)) +
                      (takesFocus ? " takes the focus but is no tab stop"
                                  : " is a tab stop but takes no focus"));
  }
  if (stops.empty()) return;
  SetForegroundWindow(window);
  const auto name = [&children](HWND control) {
    const auto at = std::find(children.begin(), children.end(), control);
    return at == children.end() ? std::string("no control")
                                : "control " + str(GetDlgCtrlID(control));
  };
  // The first one has the focus when the window is shown.
  checks.expect(focusBecomes(thread, stops[0]),
                "the focus is on " + name(focusOf(thread)) + ", not on the first tab stop " +
                    name(stops[0]));
  for (std::size_t step = 1; step <= stops.size(); ++step) {
    const HWND next = stops[step % stops.size()];
    pressTab(false);
    if (!focusBecomes(thread, next)) {
      checks.expect(false, "Tab went to " + name(focusOf(thread)) + ", not " + name(next));
      return;
    }
  }
  pressTab(true);
  checks.expect(focusBecomes(thread, stops.back()),
                "Shift+Tab went to " + name(focusOf(thread)) + ", not " + name(stops.back()));
}

std::string readAll(const wchar_t* path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int probe(const std::wstring& program, const std::wstring& jsonPath, bool unicode,
          unsigned codePage) {
  json project;
  try {
    project = json::parse(readAll(jsonPath.c_str()));
  } catch (const std::exception& error) {
    std::printf("window_probe: cannot read %s: %s\n", wideToUtf8(jsonPath).c_str(), error.what());
    return 1;
  }

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    std::printf("window_probe: cannot start %s (error %lu)\n", wideToUtf8(program).c_str(),
                GetLastError());
    return 1;
  }
  KernelHandle processHandle(process.hProcess);
  KernelHandle threadHandle(process.hThread);

  Checks checks;
  const std::string className = project["className"];
  const HWND window = waitForWindow(utf8ToWide(className), process);
  checks.expect(window != nullptr, "no shown window of class '" + className + "' within " +
                                       str(kWindowTimeoutMs / 1000) + " s");
  if (codePage != 0) {
    checks.expect(GetACP() == codePage,
                  "ANSI code page " + str(GetACP()) + ", wanted " + str(codePage));
  }
  if (window != nullptr) {
    // The 8-bit output's texts read back right only where the ANSI code
    // page is CP932; the Unicode output's everywhere.
    const bool textsComparable = unicode || GetACP() == 932;
    if (!textsComparable) std::printf("note: ANSI code page %u, texts not compared\n", GetACP());
    checkWindow(window, project, checks, textsComparable);
    checkControls(window, project, checks, textsComparable);
    checkTabOrder(window, process.dwThreadId, checks);
    checkRegion(window, project["outline"], checks);
    PostMessageW(window, WM_CLOSE, 0, 0);
  }

  const bool ended = WaitForSingleObject(process.hProcess, kExitTimeoutMs) == WAIT_OBJECT_0;
  checks.expect(ended, "the program did not end within " + str(kExitTimeoutMs / 1000) +
                           " s of WM_CLOSE");
  if (!ended) {
    TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, kExitTimeoutMs);
  } else {
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    checks.expect(exitCode == 0, "exit code " + str(exitCode));
  }

  std::printf("window_probe: %s: %d checks, %d failed\n", className.c_str(), checks.count(),
              checks.failed());
  return checks.failed() == 0 ? 0 : 1;
}

}  // namespace
}  // namespace quorvin

int wmain(int argc, wchar_t** argv) {
  bool unicode = false;
  unsigned codePage = 0;
  bool usage = argc < 3;
  for (int i = 3; i < argc && !usage; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--unicode") {
      unicode = true;
    } else if (arg == L"--code-page" && i + 1 < argc) {
      codePage = static_cast<unsigned>(std::wcstoul(argv[++i], nullptr, 10));
    } else {
      usage = true;
    }
  }
  if (usage) {
    std::printf("usage: window_probe PROGRAM.exe PROJECT.json [--unicode] [--code-page N]\n");
    return 2;
  }
  try {
    return quorvin::probe(argv[1], argv[2], unicode, codePage);
  } catch (const std::exception& error) {
    std::printf("window_probe: %s\n", error.what());
    return 1;
  }
}
