// Drives quorvin.exe from the release package as a separate process, the way
// a user's session would see it: started with another folder current, it
// must find its files beside itself. Runs under Wine in the same prefix.
//
//   package_driver design PROGRAM FOLDER   New, place a button, save
//                                          FOLDER\設計.mwd, write the code
//                                          to FOLDER\窓.cpp, Exit
//   package_driver missing PROGRAM FOLDER [BMP]
//                                          expects the message box that
//                                          names a missing ListBox.bmp, and
//                                          keeps a picture of it in BMP
//
// Prints what failed and returns 1; 0 when every step worked.
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <functional>
#include <string>

#include "common/win32/text.h"
#include "common/win32/win32.h"
#include "tests/win32/screen_capture.h"

namespace {

constexpr DWORD kPatienceMs = 30000;  // for anything the program has to do
constexpr int kNewCommand = 40001;
constexpr int kSaveCommand = 40009;
constexpr int kCodeOutputCommand = 40005;
constexpr int kExitCommand = 40002;
constexpr int kButtonCell = 1010;
constexpr int kFileNameBox = 0x47c;  // the common file dialogs' name box
constexpr int kMessageText = 0xFFFF;  // a message box's text

[[noreturn]] void fail(const std::wstring& what) {
  std::fprintf(stderr, "package_driver: %s\n", quorvin::wideToUtf8(what).c_str());
  std::fflush(stderr);
  std::exit(1);
}

void say(const std::wstring& what) {
  std::printf("package_driver: %s\n", quorvin::wideToUtf8(what).c_str());
  std::fflush(stdout);
}

// Polls `found` until it gives a window or the patience runs out.
HWND waitFor(const std::function<HWND()>& found, const std::wstring& what) {
  const DWORD start = GetTickCount();
  do {
    if (const HWND window = found()) return window;
    Sleep(50);
  } while (GetTickCount() - start < kPatienceMs);
  fail(L"gave up waiting for " + what);
}

void waitUntil(const std::function<bool()>& done, const std::wstring& what) {
  waitFor([&]() -> HWND { return done() ? GetDesktopWindow() : nullptr; }, what);
}

// The visible top-level window of `processId` with that class and title.
HWND topLevelOf(DWORD processId, const wchar_t* className, const wchar_t* title) {
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, className, title)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

std::wstring itemText(HWND dialog, int id) {
  wchar_t text[2048] = {};
  GetDlgItemTextW(dialog, id, text, 2048);
  return text;
}

void pressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Mouse messages as a press or release there makes them: the cursor put at
// the place (the designer reads it from the system) and the message sent to
// the window under it.
void mouse(UINT message, WPARAM keys, POINT screen) {
  SetCursorPos(screen.x, screen.y);
  const HWND target = WindowFromPoint(screen);
  POINT client = screen;
  ScreenToClient(target, &client);
  SendMessageW(target, message, keys, MAKELPARAM(client.x, client.y));
}

bool fileIsComplete(const std::filesystem::path& file) {
  std::error_code error;
  const auto size = std::filesystem::file_size(file, error);
  if (error || size == 0) return false;
  Sleep(200);
  return std::filesystem::file_size(file, error) == size && !error;
}

struct Program {
  PROCESS_INFORMATION info{};
  ~Program() {
    if (info.hProcess == nullptr) return;
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 99);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  DWORD id() const { return info.dwProcessId; }
  DWORD waitForExit() {
    if (WaitForSingleObject(info.hProcess, kPatienceMs) != WAIT_OBJECT_0)
      fail(L"the program did not end");
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return code;
  }
};

// Starts `program` with `folder` as its current directory.
void start(Program& started, const std::wstring& program, const std::wstring& folder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &started.info))
    fail(L"could not start " + program + L" (error " + std::to_wstring(GetLastError()) + L")");
}

// Answers the save dialog that `command` opens with `file`, then waits for
// the file; fails at once when the designer reports an error instead.
void saveThroughDialog(const Program& program, HWND main, int command,
                       const std::filesystem::path& file) {
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  const HWND dialog = waitFor([&] { return topLevelOf(program.id(), L"#32770", L"名前を付けて保存"); },
                              L"the save dialog");
  waitUntil([&] { return GetDlgItem(dialog, kFileNameBox) != nullptr; }, L"its file name box");
  SetDlgItemTextW(dialog, kFileNameBox, file.wstring().c_str());
  pressButton(dialog, IDOK);
  waitUntil(
      [&] {
        if (const HWND error = topLevelOf(program.id(), L"#32770", L"error"))
          fail(L"the designer reported: " + itemText(error, kMessageText));
        return fileIsComplete(file) && !IsWindow(dialog);
      },
      L"the file " + file.wstring());
}

int design(const std::wstring& programFile, const std::filesystem::path& folder) {
  Program program;
  start(program, programFile, folder.wstring());
  const HWND main = waitFor([&] { return topLevelOf(program.id(), L"Quorvin", L"Quorvin"); },
                            L"the main window");
  const HWND palette =
      waitFor([&] { return topLevelOf(program.id(), L"ToolWindow", nullptr); }, L"the palette");
  say(L"started with its palette, from " + folder.wstring());

  PostMessageW(main, WM_COMMAND, MAKEWPARAM(kNewCommand, 0), 0);
  const HWND newDialog =
      waitFor([&] { return topLevelOf(program.id(), L"#32770", L"新規作成"); }, L"the New dialog");
  SetDlgItemTextW(newDialog, 1035, L"パッケージ");
  SetDlgItemTextW(newDialog, 1033, L"PackageWindow");
  pressButton(newDialog, 1036);
  const HWND surface = waitFor([&] { return FindWindowExW(main, nullptr, L"SubWindow", nullptr); },
                               L"the design surface");

  // The Button cell, then a drag on the surface.
  const HWND cell = GetDlgItem(palette, kButtonCell);
  if (cell == nullptr) fail(L"the palette has no Button cell");
  SendMessageW(cell, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  POINT from{20, 20}, to{110, 50};
  ClientToScreen(surface, &from);
  ClientToScreen(surface, &to);
  mouse(WM_LBUTTONDOWN, MK_LBUTTON, from);
  mouse(WM_MOUSEMOVE, MK_LBUTTON, {(from.x + to.x) / 2, (from.y + to.y) / 2});
  mouse(WM_LBUTTONUP, 0, to);
  const HWND button = waitFor([&] { return FindWindowExW(surface, nullptr, L"Button", L"Button"); },
                              L"the placed button");
  RECT placed{};
  GetWindowRect(button, &placed);
  if (placed.right - placed.left != 90 || placed.bottom - placed.top != 30)
    fail(L"the placed button is not 90 x 30");
  say(L"placed a button");

  saveThroughDialog(program, main, kSaveCommand, folder / L"設計.mwd");
  say(L"saved the design");
  saveThroughDialog(program, main, kCodeOutputCommand, folder / L"窓.cpp");
  say(L"wrote the code");

  PostMessageW(main, WM_COMMAND, MAKEWPARAM(kExitCommand, 0), 0);
  const DWORD code = program.waitForExit();
  if (code != 0) fail(L"the program ended with code " + std::to_wstring(code));
  return 0;
}

int missing(const std::wstring& programFile, const std::filesystem::path& folder,
            const std::filesystem::path& picture) {
  Program program;
  start(program, programFile, folder.wstring());
  const HWND box = waitFor([&] { return topLevelOf(program.id(), L"#32770", L"error"); },
                           L"the message about the missing bitmap");
  const std::wstring text = itemText(box, kMessageText);
  say(L"the message: " + text);
  const std::filesystem::path programFolder = std::filesystem::path(programFile).parent_path();
  for (const std::wstring& part :
       {std::wstring(L"「ListBox.bmp」が見つかりません。"), folder.wstring(), programFolder.wstring()})
    if (text.find(part) == std::wstring::npos) fail(L"the message does not name " + part);
  if (topLevelOf(program.id(), L"Quorvin", L"Quorvin") != nullptr)
    fail(L"the main window is shown although the palette cannot work");
  if (!picture.empty()) {
    quorvin::testing::captureWhenSettled(box, picture);
  }
  pressButton(box, IDOK);
  const DWORD code = program.waitForExit();
  if (code != 0) fail(L"the program ended with code " + std::to_wstring(code));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4 && argc != 5) fail(L"usage: package_driver design|missing PROGRAM FOLDER [BMP]");
  const std::wstring mode = argv[1];
  if (mode == L"design") return design(argv[2], argv[3]);
  if (mode == L"missing") return missing(argv[2], argv[3], argc == 5 ? argv[4] : L"");
  fail(L"unknown mode " + mode);
}
