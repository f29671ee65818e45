#include "tests/gui/gui_support.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <fstream>
#include <system_error>

#include "app/main_window.h"
#include "app/model.h"
#include "common/win32/gdi.h"
#include "designer/editing_state.h"
#include "designer/palette.h"
#include "tests/win32/screen_capture.h"

namespace quorvin::gui {

namespace {
bool quitSeen = false;
}  // namespace

void pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {  // the loop it ends is ours
      quitSeen = true;
      continue;
    }
    if (translateDesignerKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool quitPosted() {
  MSG message;
  if (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) quitSeen = true;
  return quitSeen;
}

// ---- Mouse ----------------------------------------------------------------

namespace {

HWND sendMouse(UINT message, WPARAM buttons, POINT screen) {
  SetCursorPos(screen.x, screen.y);
  // As the system does: a window that captured the mouse gets it all.
  HWND target = GetCapture();
  if (target == nullptr) target = WindowFromPoint(screen);
  if (target == nullptr) return nullptr;
  POINT client = screen;
  ScreenToClient(target, &client);
  SendMessageW(target, message, buttons, MAKELPARAM(client.x, client.y));
  return target;
}

}  // namespace

HWND mouseDown(POINT screen) { return sendMouse(WM_LBUTTONDOWN, MK_LBUTTON, screen); }
HWND mouseMove(POINT screen) { return sendMouse(WM_MOUSEMOVE, MK_LBUTTON, screen); }
HWND mouseUp(POINT screen) { return sendMouse(WM_LBUTTONUP, 0, screen); }

void drag(POINT from, POINT to, int steps) {
  mouseDown(from);
  for (int i = 1; i <= steps; ++i) {
    const POINT p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
    mouseMove(p);
  }
  mouseUp(to);
  pump();
}

void click(POINT screen) {
  mouseDown(screen);
  mouseUp(screen);
  pump();
}

POINT screenOf(HWND window, int clientX, int clientY) {
  POINT p{clientX, clientY};
  ClientToScreen(window, &p);
  return p;
}

// ---- Looking at windows ------------------------------------------------------

std::wstring classOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring textOf(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

RECT rectIn(HWND window, HWND parent) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// ---- Modal dialogs --------------------------------------------------------

namespace {

constexpr UINT kTimerMs = 40;
constexpr DWORD kUnscriptedMs = 3000;  // then an unexpected dialog is cancelled

}  // namespace

struct DialogScript::State {
  std::deque<DialogAction> actions;
  std::vector<DialogInfo> seen;
  UINT_PTR timer = 0;
  HWND lastActed = nullptr;
  // Whether a timer tick has come since lastActed was acted on. A timer
  // message comes only when no posted message is waiting, so by then the
  // dialog has handled what the action posted (a click, a command).
  bool reacted = true;
  HWND unscripted = nullptr;
  DWORD unscriptedSince = 0;
};
namespace {

// The scripts alive, innermost last; the timer serves the innermost.
std::vector<DialogScript::State*> scripts;

BOOL CALLBACK findActiveDialog(HWND window, LPARAM result) {
  if (classOf(window) == L"#32770" && IsWindowVisible(window) && IsWindowEnabled(window)) {
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
  }
  return TRUE;
}

DialogInfo describe(HWND dialog) {
  DialogInfo info;
  info.window = dialog;
  wchar_t text[1024] = {};
  GetWindowTextW(dialog, text, 1024);
  info.title = text;
  text[0] = 0;
  if (GetDlgItem(dialog, 0xFFFF) != nullptr) GetDlgItemTextW(dialog, 0xFFFF, text, 1024);
  info.text = text;
  return info;
}

void CALLBACK onScriptTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (scripts.empty()) return;
  DialogScript::State* script = scripts.back();
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), findActiveDialog, reinterpret_cast<LPARAM>(&dialog));
  if (dialog == nullptr) return;
  const DWORD now = GetTickCount();
  if (dialog == script->lastActed && !script->reacted) {
    script->reacted = true;
    return;
  }
  if (script->actions.empty()) {
    if (script->unscripted != dialog) {
      script->unscripted = dialog;
      script->unscriptedSince = now;
    } else if (now - script->unscriptedSince > kUnscriptedMs) {
      const DialogInfo info = describe(dialog);
      ADD_FAILURE() << "unexpected dialog \"" << std::string(info.title.begin(), info.title.end())
                    << "\" was cancelled";
      script->seen.push_back(info);
      // EndDialog, not IDCANCEL: some dialogs rightly ignore Escape.
      EndDialog(dialog, IDCANCEL);
      script->lastActed = dialog;
      script->reacted = false;
    }
    return;
  }
  const DialogInfo info = describe(dialog);
  script->seen.push_back(info);
  DialogAction action = std::move(script->actions.front());
  script->actions.pop_front();
  script->lastActed = dialog;
  script->reacted = false;
  action(info);
}

}  // namespace

DialogScript::DialogScript() : state_(new State) {
  state_->timer = SetTimer(nullptr, 0, kTimerMs, onScriptTimer);
  scripts.push_back(state_);
}

DialogScript::~DialogScript() {
  KillTimer(nullptr, state_->timer);
  std::erase(scripts, state_);
  delete state_;
}

DialogScript& DialogScript::then(DialogAction action) {
  state_->actions.push_back(std::move(action));
  return *this;
}

const std::vector<DialogInfo>& DialogScript::seen() const { return state_->seen; }
bool DialogScript::done() const { return state_->actions.empty(); }

void clickButton(HWND dialog, int id) {
  const HWND button = GetDlgItem(dialog, id);
  if (button != nullptr)
    PostMessageW(button, BM_CLICK, 0, 0);
  else
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void setItemText(HWND dialog, int id, const std::wstring& text) {
  SetDlgItemTextW(dialog, id, text.c_str());
}

std::wstring itemText(HWND dialog, int id) {
  wchar_t text[1024] = {};
  GetDlgItemTextW(dialog, id, text, 1024);
  return text;
}

DialogAction answerMessageBox(int button, std::wstring expectText) {
  return [button, expectText](const DialogInfo& info) {
    if (!expectText.empty()) {
      EXPECT_TRUE(info.text == expectText) << "message box text differs";
    }
    // Message box buttons answer to WM_COMMAND with their ids.
    PostMessageW(info.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(info.window, button)));
  };
}

DialogAction chooseFile(const std::wstring& path) {
  return [path](const DialogInfo& info) {
    constexpr int kFileNameBox = 0x47c;
    setItemText(info.window, kFileNameBox, path);
    clickButton(info.window, IDOK);
  };
}

DialogAction cancelDialog() {
  return [](const DialogInfo& info) { PostMessageW(info.window, WM_COMMAND, IDCANCEL, 0); };
}

// ---- The designer in a folder of its own ----------------------------------

namespace {

std::filesystem::path freshFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  static int counter = 0;
  std::filesystem::path folder = std::filesystem::path(temp) /
                                 (L"quorvin-gui-" + std::to_wstring(GetCurrentProcessId()) +
                                  L"-" + std::to_wstring(++counter));
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace

void DesignerTest::SetUp() {
  runFolder_ = std::filesystem::current_path();
  folder_ = freshFolder();
  for (const auto& entry : std::filesystem::directory_iterator(runFolder_)) {
    const auto ext = entry.path().extension();
    const auto name = entry.path().filename();
    if (ext == L".bmp" || name == L"code.txt" || name == L"code_unicode.txt" ||
        name == L"setting.ini")
      std::filesystem::copy_file(entry.path(), folder_ / name);
  }
  prepareFolder(folder_);
  quitSeen = false;
  SetCurrentDirectoryW(folder_.c_str());
  ASSERT_TRUE(startDesigner(GetModuleHandleW(nullptr), SW_SHOWNORMAL));
  pump();
}

void DesignerTest::TearDown() {
  if (mainWindow != nullptr) DestroyWindow(mainWindow);
  if (toolWindow != nullptr) DestroyWindow(toolWindow);
  pump();
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  UnregisterClassW(L"Quorvin", instance);
  UnregisterClassW(L"SubWindow", instance);
  UnregisterClassW(L"ToolWindow", instance);
  clearProject();
  objects.clear();
  resetEditing(false);
  markerDragState = 0;
  mainWindow = toolWindow = statusLine = nullptr;
  statusFont.reset();
  setFontDeleter(nullptr);
  SetCurrentDirectoryW(runFolder_.c_str());
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void DesignerTest::command(int id) {
  SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  pump();
}

void DesignerTest::newDesign(const std::wstring& title, const std::wstring& className) {
  DialogScript script;
  script.then([&](const DialogInfo& info) {
    setItemText(info.window, 1035, title);
    setItemText(info.window, 1033, className);
    clickButton(info.window, 1036);
  });
  command(40001);
  ASSERT_TRUE(script.done());
  ASSERT_NE(project.surface, 0u);
}

void DesignerTest::place(int tool, POINT fromClient, POINT toClient) {
  const auto code = static_cast<ToolCode>(tool);
  if (code == ToolCode::Edit || code == ToolCode::EditM || code == ToolCode::EditMV ||
      code == ToolCode::EditMH || code == ToolCode::EditMVH) {
    selectTool(ToolCode::Edit);
    currentTool = code;  // the variant, as the edit-variant dialog leaves it
  } else {
    selectTool(code);
  }
  const HWND surface = reinterpret_cast<HWND>(project.surface);
  drag(screenOf(surface, fromClient.x, fromClient.y), screenOf(surface, toClient.x, toClient.y));
}

void DesignerTest::movePaletteAside() {
  constexpr int kAsideX = 900;
  if (toolWindow != nullptr)
    SetWindowPos(toolWindow, nullptr, kAsideX, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DesignerTest::screenshot(HWND window, const std::string& name) {
  pump();
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const auto folder = runFolder_.parent_path() / "artifacts";
  std::filesystem::create_directories(folder);
  testing::captureWhenSettled(window, folder / (name + ".bmp"), pump);
}

}  // namespace quorvin::gui
