// The New and Settings dialogs, answered the way a user would: through the
// menu, with the fields typed into and the buttons clicked.
#include <filesystem>
#include <string>

#include "app/main_window.h"
#include "app/model.h"
#include "common/cp932.h"
#include "common/file_io.h"
#include "common/win32/text.h"
#include "designer/editing_state.h"
#include "resources/resource.h"
#include "tests/gui/gui_support.h"

namespace quorvin::gui {
namespace {

using DialogsTest = DesignerTest;

std::string cp932(const char* utf8) { return utf8ToCp932(utf8); }

std::wstring windowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

// The bytes of the run folder's setting.ini (gui_support copies it in).
constexpr char kRunSettings[] = "5\r\n4\r\n4\r\n5\r\n2\r\nhFont\r\nhRgn\r\nhWnd\r\nhInst\r\npt\r\n";

TEST_F(DialogsTest, NewWithEmptyFieldsAsksForTheTitleFirstThenTheClassName) {
  HWND titleFocus = nullptr;
  HWND classFocus = nullptr;
  DialogScript script;
  script.then([](const DialogInfo& info) { clickButton(info.window, IDC_NEWFILE_OK); })
      .then(answerMessageBox(IDOK, L"タイトル名を入力してください"))
      .then([&](const DialogInfo& info) {
        titleFocus =
            GetFocus() == GetDlgItem(info.window, IDC_NEWFILE_TITLE) ? info.window : nullptr;
        EXPECT_EQ(project.surface, 0u) << "a refused OK must change nothing";
        setItemText(info.window, IDC_NEWFILE_TITLE, L"Title");
        clickButton(info.window, IDC_NEWFILE_OK);
      })
      .then(answerMessageBox(IDOK, L"クラス名を入力してください"))
      .then([&](const DialogInfo& info) {
        classFocus =
            GetFocus() == GetDlgItem(info.window, IDC_NEWFILE_CLASS) ? info.window : nullptr;
        clickButton(info.window, IDC_NEWFILE_CANCEL);
      });
  command(IDM_FILE_NEW);
  ASSERT_TRUE(script.done());
  const auto& seen = script.seen();
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen[0].title, L"新規作成");
  EXPECT_EQ(seen[1].title, L"error");
  EXPECT_EQ(seen[3].title, L"error");
  EXPECT_NE(titleFocus, nullptr) << "the focus is not back in the title field";
  EXPECT_NE(classFocus, nullptr) << "the focus is not in the class-name field";
  // CANCEL left everything as it was.
  EXPECT_EQ(project.surface, 0u);
  EXPECT_TRUE(project.title.empty());
}

TEST_F(DialogsTest, NewMakesACentredSurfaceWithTheTitleAndAFreshProject) {
  // Something of an earlier editing session that New must reset.
  currentTool = ToolCode::Button;
  pickupPending = 1;
  newDesign(L"日本語の窓", L"MainClass");

  const HWND surface = reinterpret_cast<HWND>(project.surface);
  ASSERT_TRUE(IsWindow(surface));
  EXPECT_TRUE(IsWindowVisible(surface));
  EXPECT_EQ(GetParent(surface), mainWindow);
  EXPECT_EQ(windowText(surface), L"日本語の窓");

  // 200 x 200, placed from the main window's outer rectangle taken into
  // client coordinates.
  RECT frame{};
  GetWindowRect(mainWindow, &frame);
  POINT bottomRight{frame.right, frame.bottom};
  ScreenToClient(mainWindow, &bottomRight);
  RECT outer{};
  GetWindowRect(surface, &outer);
  POINT topLeft{outer.left, outer.top};
  ScreenToClient(mainWindow, &topLeft);
  EXPECT_EQ(outer.right - outer.left, 200);
  EXPECT_EQ(outer.bottom - outer.top, 200);
  EXPECT_EQ(topLeft.x, bottomRight.x / 2 - 100);
  EXPECT_EQ(topLeft.y, bottomRight.y / 2 - 100);

  EXPECT_EQ(project.title, cp932("日本語の窓"));
  EXPECT_EQ(project.className, "MainClass");
  EXPECT_EQ(project.font, defaultFontSpec());
  ASSERT_NE(project.fontHandle, 0u);
  EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(project.fontHandle)),
            static_cast<DWORD>(OBJ_FONT));
  EXPECT_EQ(objects.size(), 10u);
  EXPECT_EQ(project.objectCount, 0);
  EXPECT_EQ(project.regionMode, RegionMode::Rectangle);
  EXPECT_EQ(selectedObject, -1);
  EXPECT_EQ(currentTool, ToolCode::Select);
  EXPECT_EQ(pickupPending, 0);
  // The names come from the folder's setting.ini.
  EXPECT_EQ(project.variableNames.hwnd, "hWnd");
  EXPECT_EQ(project.variableNames.point, "pt");
  screenshot(mainWindow, "new-design");
}

TEST_F(DialogsTest, NewReplacesAnOpenProjectWithoutAskingToSave) {
  newDesign(L"First", L"FirstClass");
  const HWND first = reinterpret_cast<HWND>(project.surface);
  const FontHandle firstFont = project.fontHandle;
  // newDesign's script holds only the New dialog: a save question would be
  // an unexpected dialog and fail the test.
  newDesign(L"Second", L"SecondClass");
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(firstFont)), 0u) << "old font leaked";
  const HWND second = reinterpret_cast<HWND>(project.surface);
  EXPECT_NE(second, first);
  EXPECT_EQ(windowText(second), L"Second");
  EXPECT_EQ(project.className, "SecondClass");
}

TEST_F(DialogsTest, SettingsOkStoresNoDataForAnEmptyFieldAndWritesSettingIni) {
  const auto settingIni = folder() / "setting.ini";
  std::wstring shownHwnd, shownRgn;
  DialogScript script;
  script.then([&](const DialogInfo& info) {
    EXPECT_EQ(info.title, L"Setting");
    EXPECT_EQ(GetFocus(), GetDlgItem(info.window, IDC_SETTING_HWND));
    shownHwnd = itemText(info.window, IDC_SETTING_HWND);
    shownRgn = itemText(info.window, IDC_SETTING_HRGN);
    setItemText(info.window, IDC_SETTING_HWND, L"hMain");
    setItemText(info.window, IDC_SETTING_HRGN, L"");
    clickButton(info.window, IDC_SETTING_OK);
  });
  command(IDM_OPTION_SETTINGS);
  ASSERT_TRUE(script.done());
  EXPECT_EQ(shownHwnd, L"hWnd");
  EXPECT_EQ(shownRgn, L"hRgn");
  EXPECT_EQ(project.variableNames.hwnd, "hMain");
  EXPECT_EQ(project.variableNames.hrgn, "NO_DATA");
  EXPECT_EQ(project.variableNames.hinstance, "hInst");
  EXPECT_EQ(readFileBytes(settingIni),
            std::string("5\r\n7\r\n5\r\n5\r\n2\r\nhFont\r\nNO_DATA\r\nhMain\r\nhInst\r\npt\r\n"));
}

TEST_F(DialogsTest, SettingsCancelledLeavesTheFileButRereadsIt) {
  const auto settingIni = folder() / "setting.ini";
  ASSERT_EQ(readFileBytes(settingIni), std::string(kRunSettings));
  project.variableNames.hwnd = "changedInMemory";
  DialogScript script;
  script.then([](const DialogInfo& info) {
    setItemText(info.window, IDC_SETTING_HFONT, L"typedButCancelled");
    clickButton(info.window, IDC_SETTING_CANCEL);
  });
  command(IDM_OPTION_SETTINGS);
  ASSERT_TRUE(script.done());
  EXPECT_EQ(readFileBytes(settingIni), std::string(kRunSettings));
  EXPECT_EQ(project.variableNames.hwnd, "hWnd");
  EXPECT_EQ(project.variableNames.hfont, "hFont");
}

TEST_F(DialogsTest, SettingsWithoutSettingIniShowsEmptyFieldsAndOkCreatesIt) {
  const auto settingIni = folder() / "setting.ini";
  std::filesystem::remove(settingIni);
  std::wstring shown = L"?";
  DialogScript script;
  script.then([&](const DialogInfo& info) {
    shown = itemText(info.window, IDC_SETTING_POINT);
    setItemText(info.window, IDC_SETTING_POINT, L"日本");
    clickButton(info.window, IDC_SETTING_OK);
  });
  command(IDM_OPTION_SETTINGS);
  ASSERT_TRUE(script.done());
  EXPECT_EQ(shown, L"");
  // Every untouched field was empty: NO_DATA. Japanese is stored as CP932.
  EXPECT_EQ(project.variableNames.point, cp932("日本"));
  EXPECT_EQ(readFileBytes(settingIni),
            "7\r\n7\r\n7\r\n7\r\n4\r\nNO_DATA\r\nNO_DATA\r\nNO_DATA\r\nNO_DATA\r\n" +
                cp932("日本") + "\r\n");
}

TEST_F(DialogsTest, EscapeClosesBothDialogsAsCancel) {
  const auto settingIni = folder() / "setting.ini";
  DialogScript script;
  script
      .then([](const DialogInfo& info) {
        setItemText(info.window, IDC_NEWFILE_TITLE, L"T");
        setItemText(info.window, IDC_NEWFILE_CLASS, L"C");
        PostMessageW(info.window, WM_COMMAND, IDCANCEL, 0);
      })
      .then([](const DialogInfo& info) {
        setItemText(info.window, IDC_SETTING_HWND, L"");
        PostMessageW(info.window, WM_COMMAND, IDCANCEL, 0);
      });
  command(IDM_FILE_NEW);
  command(IDM_OPTION_SETTINGS);
  ASSERT_TRUE(script.done());
  EXPECT_EQ(project.surface, 0u);
  EXPECT_EQ(readFileBytes(settingIni), std::string(kRunSettings));
}

}  // namespace
}  // namespace quorvin::gui
