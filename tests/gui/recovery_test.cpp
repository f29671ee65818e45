// Recovery: the designer, started as a program of its own, is killed from
// outside after an edit; started again in the same folder it offers the
// design, which comes back whole. A designer running beside it in that
// folder is not offered the other's file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/recovery_files.h"
#include "common/win32/win32.h"
#include "tests/gui/gui_support.h"

namespace quorvin::gui {
namespace {

namespace fs = std::filesystem;

struct Program {
  PROCESS_INFORMATION info{};
  Program() = default;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program() { kill(); }
  DWORD id() const { return info.dwProcessId; }
  // Ended from outside, as a crash or the task manager would: no clean exit.
  void kill() {
    if (info.hProcess == nullptr) return;
    TerminateProcess(info.hProcess, 9);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    info = {};
  }
};

// Polls `found` until it gives a non-null window, or null after `timeoutMs`.
template <typename Found>
HWND waitFor(Found found, DWORD timeoutMs = 20000) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (const HWND window = found()) return window;
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(50);
  }
}

// A visible top-level window of `process` with class `className` (and
// title `title`, when given).
HWND windowOf(DWORD process, const wchar_t* className, const wchar_t* title = nullptr) {
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, className, title)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == process && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

std::wstring titleOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

class RecoveryTest : public DesignerTest {
 protected:
  void SetUp() override {
    programFolder_ = fs::current_path();  // the run folder, where quorvin.exe is
    DesignerTest::SetUp();
    // The designers below run in a folder of their own, filled as the
    // in-process one's was.
    shared_ = folder() / "shared";
    fs::create_directory(shared_);
    for (const auto& entry : fs::directory_iterator(folder())) {
      const fs::path name = entry.path().filename();
      if (entry.path().extension() == L".bmp" || name == L"code.txt" || name == L"setting.ini")
        fs::copy_file(entry.path(), shared_ / name);
    }
  }

  void start(Program& program) {
    const std::wstring exe = (programFolder_ / "quorvin.exe").wstring();
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ASSERT_TRUE(CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, shared_.c_str(), &startup, &program.info));
  }

  fs::path programFolder_;
  fs::path shared_;
};

TEST_F(RecoveryTest, AKilledDesignerOffersItsDesignAtTheNextStart) {
  Program first;
  start(first);
  const HWND main = waitFor([&] { return windowOf(first.id(), L"Quorvin"); });
  ASSERT_NE(main, nullptr);
  // New, answered in the other program's dialog.
  PostMessageW(main, WM_COMMAND, 40001, 0);
  const HWND dialog = waitFor([&] { return windowOf(first.id(), L"#32770", L"新規作成"); });
  ASSERT_NE(dialog, nullptr);
  SetDlgItemTextW(dialog, 1035, L"Before");
  SetDlgItemTextW(dialog, 1033, L"KeptClass");
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(1036, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1036)));
  ASSERT_NE(waitFor([&] { return FindWindowExW(main, nullptr, L"SubWindow", nullptr); }), nullptr);
  // An edit: a new title typed into the caption field.
  const HWND palette = waitFor([&] { return windowOf(first.id(), L"ToolWindow"); });
  ASSERT_NE(palette, nullptr);
  const HWND caption = GetDlgItem(palette, 9500);
  SendMessageW(caption, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Recovered"));
  PostMessageW(caption, WM_KEYUP, VK_END, 0xC0000001);
  // Within a couple of seconds the design is in the recovery file.
  const fs::path recovery = recoveryFileOf(shared_, first.id());
  ASSERT_NE(waitFor([&] { return fs::exists(recovery) ? main : nullptr; }, 15000), nullptr)
      << "no recovery file was written";
  first.kill();

  // The next designer in the folder offers it; Yes opens it whole.
  Program second;
  start(second);
  const HWND offer = waitFor([&] { return windowOf(second.id(), L"#32770", L"復元"); });
  ASSERT_NE(offer, nullptr) << "the design left behind was not offered";
  PostMessageW(offer, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(offer, IDYES)));
  const HWND secondMain = waitFor([&] { return windowOf(second.id(), L"Quorvin"); });
  ASSERT_NE(secondMain, nullptr);
  const HWND surface =
      waitFor([&] { return FindWindowExW(secondMain, nullptr, L"SubWindow", nullptr); });
  ASSERT_NE(surface, nullptr) << "the design did not come back";
  EXPECT_EQ(titleOf(surface), L"Recovered");
  EXPECT_EQ(titleOf(secondMain), L"*無題 - Quorvin") << "the recovered design is unsaved";
  EXPECT_FALSE(fs::exists(recovery)) << "the file taken over stays behind";
  // Its own recovery file follows, under its own name.
  const fs::path secondRecovery = recoveryFileOf(shared_, second.id());
  EXPECT_NE(waitFor([&] { return fs::exists(secondRecovery) ? secondMain : nullptr; }, 15000),
            nullptr);

  // A third designer beside the running second one is offered nothing.
  Program third;
  start(third);
  ASSERT_NE(waitFor([&] { return windowOf(third.id(), L"Quorvin"); }), nullptr);
  Sleep(500);
  EXPECT_EQ(windowOf(third.id(), L"#32770"), nullptr) << "a running designer's file was offered";
  EXPECT_TRUE(fs::exists(secondRecovery));
}

}  // namespace
}  // namespace quorvin::gui
