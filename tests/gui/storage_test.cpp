// Save and Code output onto storage that fails the way a user's does: a disk
// that is full, a write-protected volume, and a file that another program
// holds open. Each time the program says so in its own words, the file that
// was there before is left byte for byte, nothing half-written is left
// behind, and the design in memory is untouched.
//
// The full disk and the read-only volume come from the test runner
// (scripts/wine-run.sh mounts them when it runs as root):
//   QV_SMALL_VOLUME      an empty folder on a file system of about 1 MB,
//                        which the test fills up;
//   QV_READ_ONLY_VIEW    a read-only view of the folder QV_READ_ONLY_SOURCE.
// A Unix path (under Wine) or a Windows path; without them those tests skip.
// A file held open needs nothing and runs everywhere.
//
// Why these: a filled tmpfs and a read-only bind mount make the writes fail
// the way a full disk and a write-protected volume do. Under Wine as root a
// Unix mode on the folder stops nothing, the read-only attribute of a folder
// stops no write (on Windows neither), and a file with the read-only
// attribute is replaced all the same (Windows would refuse). A missing folder
// or a folder in the file's place also fail, but a user does not reach them
// through the save dialog.
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/model.h"
#include "codegen/code_output.h"
#include "common/file_io.h"
#include "common/handle.h"
#include "common/win32/text.h"
#include "resources/resource.h"
#include "tests/gui/gui_support.h"

namespace quorvin::gui {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kSaveFailed[] = L"データファイルの保存に失敗しました。";
constexpr wchar_t kCodeFailed[] = L"コードの保存に失敗しました。";
// Bytes of one allocation unit of the small volume (a tmpfs page), at least.
constexpr std::size_t kVolumePage = 4096;

// A folder the runner names in the environment variable `name`, as a
// Windows path; nothing when the variable is unset or names no folder.
std::optional<fs::path> folderFromEnvironment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  fs::path folder = value;
  if (value[0] == L'/') {
    // Under Wine the runner gives a Unix path; Wine's own conversion knows
    // which drive maps it.
    using ToDos = wchar_t* (*)(const char*);
    const auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (toDos == nullptr) return std::nullopt;
    const std::string unixPath(value, value + length);  // the runner's paths are ASCII
    wchar_t* dos = toDos(unixPath.c_str());
    if (dos == nullptr) return std::nullopt;
    folder = dos;
    HeapFree(GetProcessHeap(), 0, dos);
  }
  std::error_code error;
  if (!fs::is_directory(folder, error)) return std::nullopt;
  return folder;
}

// A Win32 file handle, closed when it goes out of scope.
struct FileHandleTraits {
  using Type = HANDLE;
  static Type invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void release(Type handle) noexcept { CloseHandle(handle); }
};
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

std::vector<fs::path> filesIn(const fs::path& folder) {
  std::vector<fs::path> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// Removes the files in `folder`, so that the next test finds it empty.
void removeFiles(const fs::path& folder) {
  std::error_code ignored;
  for (const fs::path& name : filesIn(folder)) fs::remove(folder / name, ignored);
}

// Fills the file system of `folder` to the last byte with the file `name`.
void fillUp(const fs::path& folder, const wchar_t* name) {
  UniqueFileHandle filler(
      CreateFileW((folder / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(filler) << "cannot create the filler, error " << GetLastError();
  const std::string block(64 * 1024, 'f');
  // Ever smaller writes until not even one byte fits.
  for (DWORD size = static_cast<DWORD>(block.size()); size > 0; size /= 2) {
    DWORD written = 0;
    while (WriteFile(filler.get(), block.data(), size, &written, nullptr) && written == size) {
    }
  }
  ULARGE_INTEGER freeBytes{};
  ASSERT_TRUE(GetDiskFreeSpaceExW(folder.c_str(), &freeBytes, nullptr, nullptr));
  ASSERT_EQ(freeBytes.QuadPart, 0u) << "the volume is not full";
}

// A handle on `file` as an editor that locks what it opens holds it: no
// sharing at all.
UniqueFileHandle holdOpen(const fs::path& file) {
  return UniqueFileHandle(CreateFileW(
      file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

class StorageTest : public DesignerTest {
 protected:
  void SetUp() override {
    DesignerTest::SetUp();
    if (HasFatalFailure()) return;
    newDesign(L"保存先", L"StorageClass");
    place(static_cast<int>(ToolCode::Button), {20, 20}, {100, 50});
    place(static_cast<int>(ToolCode::Edit), {20, 70}, {150, 95});
  }

  // Runs Save or Code output (`commandId`) and chooses `file` in the save
  // dialog, confirming the overwrite when the file exists. With `error`,
  // expects that message with the caption "error" next; without, no more
  // dialogs.
  void saveThroughMenu(int commandId, const fs::path& file, const wchar_t* error) {
    const bool exists = fs::exists(file);
    DialogScript script;
    script.then(chooseFile(file.wstring()));
    if (exists) script.then(answerMessageBox(IDYES));  // "replace it?"
    if (error != nullptr) script.then(answerMessageBox(IDOK, error));
    command(commandId);
    EXPECT_TRUE(script.done());
    const std::size_t expected = 1 + (exists ? 1 : 0) + (error != nullptr ? 1 : 0);
    ASSERT_EQ(script.seen().size(), expected);
    if (error != nullptr) {
      EXPECT_EQ(script.seen().back().title, L"error");
    }
  }

  // The project and every control as they stand, to compare after a
  // failed write.
  struct Snapshot {
    Project project;
    std::vector<DesignObject> objects;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
  };
  static Snapshot snapshot() { return {project, objects}; }

  // Saves and writes the code into `folder` once (the files a failed write
  // must then leave alone), then gives the button a caption long enough
  // that the next files need more room than these take (a write over the
  // old file would run out of space half-way), and returns the two files'
  // bytes.
  std::pair<std::string, std::string> writePreviousFiles(const fs::path& folder) {
    saveThroughMenu(IDM_FILE_SAVE, folder / "design.mwd", nullptr);
    saveThroughMenu(IDM_FILE_CODE_OUTPUT, folder / "design.cpp", nullptr);
    const std::string caption(3 * kVolumePage, 'W');
    setObjectText(objects[0], 1, caption);
    setWindowTextCp932(reinterpret_cast<HWND>(objects[0].window), caption);
    return {readFileBytes(folder / "design.mwd").value_or(""),
            readFileBytes(folder / "design.cpp").value_or("")};
  }
};

TEST_F(StorageTest, OnAFullDiskSaveAndCodeOutputFailAndKeepThePreviousFiles) {
  const auto volume = folderFromEnvironment(L"QV_SMALL_VOLUME");
  if (!volume)
    GTEST_SKIP() << "QV_SMALL_VOLUME is not set: the runner could not mount a small volume "
                    "(it needs root)";
  const fs::path folder = *volume / L"設計";
  fs::create_directories(folder);
  const auto [previousProject, previousCode] = writePreviousFiles(folder);
  ASSERT_FALSE(previousProject.empty());
  ASSERT_FALSE(previousCode.empty());
  fillUp(*volume, L"filler.bin");
  if (HasFatalFailure()) return;

  const Snapshot before = snapshot();
  saveThroughMenu(IDM_FILE_SAVE, folder / "design.mwd", kSaveFailed);
  saveThroughMenu(IDM_FILE_CODE_OUTPUT, folder / "design.cpp", kCodeFailed);
  // A file that does not exist yet is not left behind half-written.
  saveThroughMenu(IDM_FILE_SAVE, folder / "new.mwd", kSaveFailed);
  EXPECT_EQ(readFileBytes(folder / "design.mwd"), previousProject);
  EXPECT_EQ(readFileBytes(folder / "design.cpp"), previousCode);
  EXPECT_EQ(filesIn(folder), (std::vector<fs::path>{"design.cpp", "design.mwd"}))
      << "a temporary file was left on the full disk";
  EXPECT_TRUE(snapshot() == before) << "a failed save changed the design";
  EXPECT_TRUE(IsWindowVisible(reinterpret_cast<HWND>(project.surface)));

  // Once there is room again, the same commands write.
  fs::remove(*volume / L"filler.bin");
  saveThroughMenu(IDM_FILE_SAVE, folder / "design.mwd", nullptr);
  EXPECT_NE(readFileBytes(folder / "design.mwd"), previousProject);
  // The folder itself stays: the file dialog made it the current folder.
  removeFiles(folder);
}

TEST_F(StorageTest, InAReadOnlyFolderSaveAndCodeOutputFailAndKeepThePreviousFiles) {
  const auto view = folderFromEnvironment(L"QV_READ_ONLY_VIEW");
  const auto source = folderFromEnvironment(L"QV_READ_ONLY_SOURCE");
  if (!view || !source)
    GTEST_SKIP() << "QV_READ_ONLY_VIEW / QV_READ_ONLY_SOURCE are not set: the runner could "
                    "not mount a read-only view (it needs root)";
  const auto [previousProject, previousCode] = writePreviousFiles(*source);

  const Snapshot before = snapshot();
  saveThroughMenu(IDM_FILE_SAVE, *view / "design.mwd", kSaveFailed);
  saveThroughMenu(IDM_FILE_CODE_OUTPUT, *view / "design.cpp", kCodeFailed);
  saveThroughMenu(IDM_FILE_CODE_OUTPUT, *view / "other.cpp", kCodeFailed);
  EXPECT_EQ(readFileBytes(*view / "design.mwd"), previousProject);
  EXPECT_EQ(readFileBytes(*view / "design.cpp"), previousCode);
  EXPECT_EQ(filesIn(*source), (std::vector<fs::path>{"design.cpp", "design.mwd"}));
  EXPECT_TRUE(snapshot() == before) << "a failed save changed the design";
  removeFiles(*source);
}

TEST_F(StorageTest, OverFilesAnotherProgramHoldsOpenSaveAndCodeOutputFailAndKeepThem) {
  const auto [previousProject, previousCode] = writePreviousFiles(folder());
  const Snapshot before = snapshot();
  {
    const auto heldProject = holdOpen(folder() / "design.mwd");
    const auto heldCode = holdOpen(folder() / "design.cpp");
    ASSERT_TRUE(heldProject && heldCode) << "error " << GetLastError();
    saveThroughMenu(IDM_FILE_SAVE, folder() / "design.mwd", kSaveFailed);
    saveThroughMenu(IDM_FILE_CODE_OUTPUT, folder() / "design.cpp", kCodeFailed);
  }
  EXPECT_EQ(readFileBytes(folder() / "design.mwd"), previousProject);
  EXPECT_EQ(readFileBytes(folder() / "design.cpp"), previousCode);
  for (const fs::path& name : filesIn(folder()))
    EXPECT_EQ(name.wstring().find(L".tmp"), std::wstring::npos) << name;
  EXPECT_TRUE(snapshot() == before) << "a failed save changed the design";

  // Closed by the other program: saving works again.
  saveThroughMenu(IDM_FILE_SAVE, folder() / "design.mwd", nullptr);
  EXPECT_NE(readFileBytes(folder() / "design.mwd"), previousProject);
}

}  // namespace
}  // namespace quorvin::gui
