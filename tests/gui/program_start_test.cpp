// The program itself: quorvin.exe, started from the current folder, shows
// its main window and ends its message loop with the quit message's code.
#include <gtest/gtest.h>

#include "common/win32/win32.h"

namespace quorvin {
namespace {

struct Process {
  PROCESS_INFORMATION info{};
  ~Process() {
    if (info.hProcess == nullptr) return;
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 99);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
};

// The visible top-level window of class and title "Quorvin" that belongs to
// `processId`, waiting up to `timeoutMs`; null when none appears.
HWND waitForMainWindow(DWORD processId, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"Quorvin", L"Quorvin")) != nullptr) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == processId && IsWindowVisible(window)) return window;
    }
    Sleep(50);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

TEST(ProgramStart, MainWindowAppearsAndQuitCodeIsTheExitCode) {
  ASSERT_NE(GetFileAttributesW(L"quorvin.exe"), INVALID_FILE_ATTRIBUTES)
      << "quorvin.exe is not in the current folder";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  wchar_t commandLine[] = L"quorvin.exe";
  Process program;
  ASSERT_TRUE(CreateProcessW(L"quorvin.exe", commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &program.info));

  const HWND window = waitForMainWindow(program.info.dwProcessId, 20000);
  ASSERT_NE(window, nullptr) << "no visible main window appeared";
  RECT frame{};
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.right - frame.left, 400);
  EXPECT_EQ(frame.bottom - frame.top, 400);

  // The quit message ends the loop; its code becomes the exit code.
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  ASSERT_TRUE(PostThreadMessageW(thread, WM_QUIT, 7, 0));
  ASSERT_EQ(WaitForSingleObject(program.info.hProcess, 20000), WAIT_OBJECT_0);
  DWORD exitCode = 0;
  GetExitCodeProcess(program.info.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 7u);
}

}  // namespace
}  // namespace quorvin
