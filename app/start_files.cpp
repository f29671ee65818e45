#include "app/start_files.h"

#include <optional>
#include <string>
#include <vector>

#include "app/file_folders.h"
#include "app/main_window.h"
#include "app/settings_file.h"
#include "codegen/code_output.h"
#include "common/win32/text.h"
#include "common/win32/win32.h"

namespace quorvin {

namespace {

constexpr char kSettingsFileName[] = "setting.ini";


// The folder that holds the running program; empty if it cannot be read.
Path programFolder() {
  std::wstring file(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, file.data(), static_cast<DWORD>(file.size()));
    if (length == 0) return {};
    if (length < file.size()) {
      file.resize(length);
      return Path(file).parent_path();
    }
    file.resize(file.size() * 2);  // the name was cut short
  }
}

// The folders the files are looked for in; the current one before start-up.
std::vector<Path> foldersLookedIn() {
  if (!fileFolders.empty()) return fileFolders;
  return lookupFolders(currentFolder(), {});
}

}  // namespace

Path currentFolder() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return {};
  std::wstring folder(needed, L'\0');
  const DWORD length = GetCurrentDirectoryW(needed, folder.data());
  if (length == 0 || length >= needed) return {};
  folder.resize(length);
  return Path(folder);
}

void placeProgramFiles() {
  fileFolders = lookupFolders(currentFolder(), programFolder());
  templatePath = placeOf(fileFolders, kTemplateFileName, isExistingFile);
  settingsPath = placeOf(fileFolders, kSettingsFileName, isExistingFile);
}

Path toolBitmapPlace(const char* fileName) {
  return placeOf(fileFolders, fileName, isExistingFile);
}

void reportUnusableToolBitmap(const char* fileName) {
  const std::vector<Path> folders = foldersLookedIn();
  const std::optional<Path> found = findInFolders(folders, fileName, isExistingFile);
  std::wstring text;
  if (found) {
    text = L"ツールのビットマップ「" + found->wstring() +
           L"」を読み込めません。\nファイルが壊れているか、使えない形式です。";
  } else {
    text = L"ツールのビットマップ「" + cp932ToWide(fileName) + L"」が見つかりません。";
  }
  text += L"\n\n探したフォルダー:";
  for (const Path& folder : folders) text += L"\n    " + folder.wstring();
  text += L"\n\nQuorvin を終了します。";
  // No owner: the main window is not shown yet and goes with the palette.
  MessageBoxW(nullptr, text.c_str(), L"error", MB_OK | MB_ICONERROR);
}

}  // namespace quorvin
