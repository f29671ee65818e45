#include "app/recovery.h"

#include <system_error>

#include "app/main_window.h"
#include "app/model.h"
#include "app/project_file.h"
#include "app/recovery_files.h"
#include "common/win32/window_idioms.h"
#include "designer/design_changes.h"
#include "designer/surface.h"

namespace quorvin {

namespace {

Path recoveryFolder;
// This process's lock file, held open while the program runs, readable by
// others (a folder can still be copied) but not writable: a designer whose
// lock cannot be opened for writing runs. The system closes it when the
// process is killed; the file itself then stays until a designer takes over
// the recovery file that goes with it.
HANDLE lockFile = INVALID_HANDLE_VALUE;

Path ownRecoveryFile() {
  return recoveryFolder.empty() ? Path() : recoveryFileOf(recoveryFolder, GetCurrentProcessId());
}

void removeQuietly(const Path& file) {
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
}

// True when the designer that wrote `file` still runs: it holds its lock
// file open, sharing it for reading only.
bool ownerRuns(std::uint32_t processId) {
  const Path lock = recoveryLockOf(recoveryFolder, processId);
  const HANDLE probe = CreateFileW(lock.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    return false;
  }
  return GetLastError() == ERROR_SHARING_VIOLATION;
}

// The first recovery file whose designer has gone, if any.
Path leftBehindFile() {
  for (const Path& file : recoveryFilesIn(recoveryFolder)) {
    const auto process = recoveryProcessOf(file);
    if (process && !ownerRuns(*process)) return file;
  }
  return {};
}

void offerLeftBehind(HWND owner) {
  const Path file = leftBehindFile();
  if (file.empty()) return;
  const auto process = recoveryProcessOf(file);
  if (askYesNo(owner, L"前回正常に終了しなかったときのデザインが残っています。開きますか？",
               L"復元")) {
    if (openProject(file)) {
      // Opened from no file of the user's: everything is unsaved.
      markDesignUnsaved();
    } else {
      showError(owner, L"データファイルの読み込みに失敗しました。");
    }
  }
  removeQuietly(file);
  if (process) removeQuietly(recoveryLockOf(recoveryFolder, *process));
}

}  // namespace

void startRecovery(HWND owner, const Path& folder) {
  recoveryFolder = folder;
  if (recoveryFolder.empty()) return;
  offerLeftBehind(owner);
  const Path lock = recoveryLockOf(recoveryFolder, GetCurrentProcessId());
  lockFile = CreateFileW(lock.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  recoveryDesignStateChanged(owner);
}

void recoveryDesignStateChanged(HWND timerOwner) {
  if (recoveryFolder.empty()) return;
  if (designHasUnsavedChanges()) {
    // Restarted at every change: written once the user pauses.
    if (timerOwner != nullptr) SetTimer(timerOwner, kRecoveryTimerId, kRecoveryDelayMs, nullptr);
  } else {
    if (timerOwner != nullptr) KillTimer(timerOwner, kRecoveryTimerId);
    removeQuietly(ownRecoveryFile());
  }
}

void onRecoveryTimer(HWND timerOwner) {
  KillTimer(timerOwner, kRecoveryTimerId);
  if (recoveryFolder.empty()) return;
  if (designHasUnsavedChanges())
    saveProject(ownRecoveryFile());  // a failure keeps the previous recovery file
  else
    removeQuietly(ownRecoveryFile());
}

void endRecovery() {
  if (!recoveryFolder.empty()) removeQuietly(ownRecoveryFile());
  if (lockFile != INVALID_HANDLE_VALUE) {
    CloseHandle(lockFile);
    removeQuietly(recoveryLockOf(recoveryFolder, GetCurrentProcessId()));
  }
  lockFile = INVALID_HANDLE_VALUE;
  recoveryFolder.clear();
}

}  // namespace quorvin
