// The designer as a whole, started in a folder of its own: start-up, the
// menu commands with their file dialogs and messages, closing, and the keys
// and clicks the main window hands on.
#include <filesystem>
#include <optional>
#include <string>

#include "app/main_window.h"
#include "app/model.h"
#include "app/project_file.h"
#include "app/settings_file.h"
#include "codegen/code_output.h"
#include "common/cp932.h"
#include "common/file_io.h"
#include "designer/editing_state.h"
#include "designer/palette.h"
#include "resources/resource.h"
#include "tests/gui/gui_support.h"

namespace quorvin::gui {
namespace {

using ShellTest = DesignerTest;

HWND surface() { return reinterpret_cast<HWND>(project.surface); }

// True when `upper` comes before `lower` in the z-order of top-level windows.
bool isAbove(HWND upper, HWND lower) {
  for (HWND window = GetTopWindow(nullptr); window != nullptr;
       window = GetWindow(window, GW_HWNDNEXT)) {
    if (window == upper) return true;
    if (window == lower) return false;
  }
  return false;
}

// The quit message waiting in the queue, if any (pump() drops it).
std::optional<WPARAM> takeQuit() {
  MSG message;
  if (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return message.wParam;
  return std::nullopt;
}

// A click through the system's input queue, which activates the window
// under the cursor as a user's click does; returns once the press and the
// release have been handled and that window is active.
void realClick(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  const HWND target = GetAncestor(WindowFromPoint(screen), GA_ROOT);
  INPUT input[2]{};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof input[0]);
  constexpr DWORD kClickTimeoutMs = 5000;
  for (const DWORD start = GetTickCount(); GetTickCount() - start < kClickTimeoutMs; Sleep(10)) {
    pump();
    if (HIWORD(GetQueueStatus(QS_MOUSEBUTTON)) == 0 && GetActiveWindow() == target) return;
  }
  ADD_FAILURE() << "the click was not handled within " << kClickTimeoutMs << " ms";
}

// ---- Start-up --------------------------------------------------------------

TEST_F(ShellTest, StartsWithPaletteAboveTheMainWindowAndStatusLineAtTheBottom) {
  ASSERT_NE(mainWindow, nullptr);
  EXPECT_EQ(project.surface, 0u);
  EXPECT_EQ(currentTool, ToolCode::Select);
  EXPECT_EQ(selectedObject, -1);
  EXPECT_EQ(project.pointCount, 0);
  EXPECT_EQ(project.activePoint, -1);
  EXPECT_TRUE(std::filesystem::equivalent(templatePath, folder() / "code.txt"));
  EXPECT_TRUE(std::filesystem::equivalent(settingsPath, folder() / "setting.ini"));

  // The palette: owned, at the main window's top-left + (10, 50), 87 x 250.
  ASSERT_TRUE(IsWindow(toolWindow));
  EXPECT_EQ(classOf(toolWindow), L"ToolWindow");
  EXPECT_EQ(GetWindow(toolWindow, GW_OWNER), mainWindow);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(toolWindow, GWL_STYLE)) &
                (WS_POPUP | WS_CAPTION | WS_CHILD),
            static_cast<DWORD>(WS_POPUP | WS_CAPTION));
  EXPECT_TRUE(IsWindowVisible(toolWindow));
  RECT mainFrame{}, toolFrame{};
  GetWindowRect(mainWindow, &mainFrame);
  GetWindowRect(toolWindow, &toolFrame);
  EXPECT_EQ(toolFrame.left, mainFrame.left + 10);
  EXPECT_EQ(toolFrame.top, mainFrame.top + 50);
  EXPECT_EQ(toolFrame.right - toolFrame.left, 87);
  EXPECT_EQ(toolFrame.bottom - toolFrame.top, 250);
  // Above its owner, also once the owner is active again: a real click in
  // the palette lands in the palette.
  EXPECT_TRUE(isAbove(toolWindow, mainWindow)) << "at start";
  SetActiveWindow(mainWindow);
  pump();
  EXPECT_TRUE(isAbove(toolWindow, mainWindow)) << "after SetActiveWindow";
  realClick(screenOf(mainWindow, 300, 200));
  EXPECT_TRUE(isAbove(toolWindow, mainWindow)) << "after a click";
  const POINT inPalette = screenOf(toolWindow, 40, 200);
  EXPECT_EQ(GetAncestor(WindowFromPoint(inPalette), GA_ROOT), toolWindow);
  EXPECT_EQ(GetClassLongPtrW(toolWindow, GCLP_HBRBACKGROUND),
            reinterpret_cast<ULONG_PTR>(GetStockObject(LTGRAY_BRUSH)));

  // The status line: id 400, its top 20 pixels along the bottom edge, in
  // the Japanese fixed-pitch font.
  ASSERT_NE(statusLine, nullptr);
  EXPECT_EQ(GetDlgItem(mainWindow, 400), statusLine);
  EXPECT_EQ(classOf(statusLine), L"Static");
  RECT client{};
  GetClientRect(mainWindow, &client);
  RECT line = rectIn(statusLine, mainWindow);
  EXPECT_EQ(line.left, 0);
  EXPECT_EQ(line.top, client.bottom - 20);
  EXPECT_EQ(line.right - line.left, client.right);
  EXPECT_EQ(line.bottom - line.top, client.bottom);
  ASSERT_TRUE(statusFont);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(statusLine, WM_GETFONT, 0, 0)), statusFont.get());
  LOGFONTW font{};
  ASSERT_NE(GetObjectW(statusFont.get(), sizeof font, &font), 0);
  EXPECT_EQ(font.lfHeight, -16);
  EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(font.lfQuality, PROOF_QUALITY);
  EXPECT_EQ(font.lfPitchAndFamily, FIXED_PITCH | FF_MODERN);
  EXPECT_EQ(std::wstring(font.lfFaceName), L"ＭＳ ゴシック");

  // It follows the window's size.
  SetWindowPos(mainWindow, nullptr, 0, 0, 520, 470, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  pump();
  GetClientRect(mainWindow, &client);
  line = rectIn(statusLine, mainWindow);
  EXPECT_EQ(line.top, client.bottom - 20);
  EXPECT_EQ(line.right - line.left, client.right);

  // The surface class waits for New.
  WNDCLASSEXW surfaceClass{};
  surfaceClass.cbSize = sizeof surfaceClass;
  ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"SubWindow", &surfaceClass));
  EXPECT_EQ(surfaceClass.style, 0x1003u);
  EXPECT_EQ(surfaceClass.hbrBackground, GetSysColorBrush(COLOR_BTNFACE));
  screenshot(mainWindow, "shell-start");
}

TEST_F(ShellTest, PathsOfAFolderWithALongJapaneseNameAreKeptWhole) {
  // Over 256 bytes as CP932, well under the system's path limit.
  const std::wstring part(60, L'長');
  const auto deep = folder() / part / part;
  std::filesystem::create_directories(deep);
  for (const auto& entry : std::filesystem::directory_iterator(folder()))
    if (entry.is_regular_file())
      std::filesystem::copy_file(entry.path(), deep / entry.path().filename());
  DestroyWindow(mainWindow);
  pump();
  takeQuit();
  UnregisterClassW(L"Quorvin", GetModuleHandleW(nullptr));
  ASSERT_TRUE(SetCurrentDirectoryW(deep.c_str()));
  ASSERT_TRUE(startDesigner(GetModuleHandleW(nullptr), SW_SHOWNORMAL));
  // The surface and palette classes are still registered from the first
  // start; they serve the second one as well.
  EXPECT_TRUE(IsWindow(toolWindow));
  ASSERT_GT(utf8ToCp932(reinterpret_cast<const char*>(templatePath.u8string().c_str())).size(),
            256u);
  EXPECT_TRUE(std::filesystem::equivalent(templatePath, deep / "code.txt"));
  EXPECT_EQ(settingsPath.filename(), L"setting.ini");
  EXPECT_TRUE(std::filesystem::equivalent(settingsPath.parent_path(), deep));
  // A file dialog that changes the current folder does not move them.
  SetCurrentDirectoryW(folder().c_str());
  EXPECT_TRUE(readCodeTemplate(templatePath).has_value());
}

// ---- No project ---------------------------------------------------------------

TEST_F(ShellTest, WithoutAProjectSaveAndCodeOutputDoNothingAndOpenAsksNothing) {
  DialogScript script;
  command(IDM_FILE_SAVE);
  command(IDM_FILE_CODE_OUTPUT);
  // Delete with no project and no point does nothing either.
  SendMessageW(mainWindow, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_TRUE(script.seen().empty());

  script.then(cancelDialog());
  command(IDM_FILE_OPEN);
  ASSERT_TRUE(script.done());
  ASSERT_EQ(script.seen().size(), 1u);
  EXPECT_EQ(script.seen()[0].title, L"ファイルを開く");
  EXPECT_EQ(project.surface, 0u);
}

TEST_F(ShellTest, OpeningADamagedFileReportsItAndKeepsTheState) {
  const auto bad = folder() / "bad.mwd";
  ASSERT_TRUE(writeFileReplacing(bad, "not a project\r\n"));
  DialogScript script;
  script.then(chooseFile(bad.wstring()))
      .then(answerMessageBox(IDOK, L"データファイルの読み込みに失敗しました。"));
  command(IDM_FILE_OPEN);
  ASSERT_TRUE(script.done());
  ASSERT_EQ(script.seen().size(), 2u);
  EXPECT_EQ(script.seen()[1].title, L"error");
  EXPECT_EQ(project.surface, 0u);
}

// ---- Open's save question ----------------------------------------------------------

TEST_F(ShellTest, OpenAnsweredNoGoesStraightToTheOpenDialogAndOpensTheFile) {
  newDesign(L"Saved", L"SavedClass");
  const auto file = folder() / "saved.mwd";
  ASSERT_TRUE(saveProject(file));
  newDesign(L"Current", L"CurrentClass");
  const HWND before = surface();

  DialogScript script;
  script.then(answerMessageBox(IDNO, L"保存しますか？")).then(chooseFile(file.wstring()));
  command(IDM_FILE_OPEN);
  ASSERT_TRUE(script.done());
  ASSERT_EQ(script.seen().size(), 2u);
  EXPECT_EQ(script.seen()[0].title, L"保存確認");
  EXPECT_EQ(script.seen()[1].title, L"ファイルを開く");
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(project.title, "Saved");
  EXPECT_TRUE(IsWindowVisible(surface()));
}

TEST_F(ShellTest, OpenAnsweredYesSavesFirstAndACancelledSaveOpensNothing) {
  newDesign(L"Kept", L"KeptClass");
  const HWND kept = surface();

  {
    DialogScript cancelled;
    cancelled.then(answerMessageBox(IDYES)).then(cancelDialog());
    command(IDM_FILE_OPEN);
    ASSERT_TRUE(cancelled.done());
    ASSERT_EQ(cancelled.seen().size(), 2u);
    EXPECT_EQ(cancelled.seen()[1].title, L"名前を付けて保存");
    EXPECT_EQ(surface(), kept);
    EXPECT_EQ(project.title, "Kept");
  }

  // Yes, a name, then the open dialog: the project is saved before anything
  // else is opened.
  const auto first = folder() / "first.mwd";
  DialogScript saved;
  saved.then(answerMessageBox(IDYES)).then(chooseFile(first.wstring())).then(cancelDialog());
  command(IDM_FILE_OPEN);
  ASSERT_TRUE(saved.done());
  ASSERT_EQ(saved.seen().size(), 3u);
  EXPECT_EQ(saved.seen()[2].title, L"ファイルを開く");
  Project read;
  std::vector<DesignObject> readObjects;
  ASSERT_TRUE(readProject(first, read, readObjects));
  EXPECT_EQ(read.title, "Kept");
  EXPECT_EQ(surface(), kept);
}

TEST_F(ShellTest, AFailedSaveIsReportedAndAbandonsTheOpen) {
  newDesign(L"Title", L"Class");
  // A title with a line feed cannot be written so that it reads back.
  setProjectText(1, "two\nlines");
  const auto file = folder() / "never.mwd";
  {
    DialogScript script;
    script.then(answerMessageBox(IDYES))
        .then(chooseFile(file.wstring()))
        .then(answerMessageBox(IDOK, L"データファイルの保存に失敗しました。"));
    command(IDM_FILE_OPEN);
    ASSERT_TRUE(script.done());
    // No open dialog after the error.
    EXPECT_EQ(script.seen().size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(file));
  }

  DialogScript save;
  save.then(chooseFile(file.wstring()))
      .then(answerMessageBox(IDOK, L"データファイルの保存に失敗しました。"));
  command(IDM_FILE_SAVE);
  ASSERT_TRUE(save.done());
  EXPECT_FALSE(std::filesystem::exists(file));
}

// ---- Save and code output ---------------------------------------------------------

TEST_F(ShellTest, SaveWritesAProjectFileThatReadsBack) {
  newDesign(L"Saved design", L"DesignClass");
  place(static_cast<int>(ToolCode::Button), {20, 20}, {90, 50});
  DialogScript script;
  // No extension typed: the dialog adds .mwd.
  script.then(chooseFile((folder() / "design").wstring()));
  command(IDM_FILE_SAVE);
  ASSERT_TRUE(script.done());
  ASSERT_EQ(script.seen().size(), 1u);
  EXPECT_EQ(script.seen()[0].title, L"名前を付けて保存");
  Project read;
  std::vector<DesignObject> readObjects;
  ASSERT_TRUE(readProject(folder() / "design.mwd", read, readObjects));
  EXPECT_EQ(read.title, "Saved design");
  EXPECT_EQ(read.className, "DesignClass");
  EXPECT_EQ(read.x, project.x);
  EXPECT_EQ(read.y, project.y);
  EXPECT_EQ(read.width, 200);
  EXPECT_EQ(read.height, 200);
  EXPECT_EQ(read.objectCount, project.objectCount);
  EXPECT_EQ(read.font, project.font);
}

// Two buttons get names of their own, so the source gives each its id and
// font. Names that repeat (as old files hold them) are asked about first.
// The Unicode output writes UTF-8 from code_unicode.txt and is remembered in
// quorvin.ini, never in setting.ini.
TEST_F(ShellTest, CodeOutputWritesWhatTheGeneratorMakes) {
  newDesign(L"窓", L"CodeClass");
  place(static_cast<int>(ToolCode::Button), {20, 20}, {90, 50});
  place(static_cast<int>(ToolCode::Button), {20, 60}, {90, 90});
  ASSERT_EQ(project.objectCount, 2);
  EXPECT_EQ(objects[0].idName, "ID_BUTTON");
  EXPECT_EQ(objects[1].idName, "ID_BUTTON2");
  DialogScript script;
  script.then(chooseFile((folder() / "window").wstring()));
  command(IDM_FILE_CODE_OUTPUT);
  ASSERT_TRUE(script.done());
  ASSERT_EQ(script.seen().size(), 1u);
  EXPECT_EQ(script.seen()[0].title, L"名前を付けて保存");
  const auto templateText = readCodeTemplate(templatePath);
  ASSERT_TRUE(templateText.has_value());
  const auto written = readFileBytes(folder() / "window.cpp");
  ASSERT_TRUE(written.has_value()) << "the default extension is cpp";
  EXPECT_EQ(*written, toCrLf(generateCode(*templateText)));
  EXPECT_NE(written->find(utf8ToCp932("窓")), std::string::npos);

  objects[1].idName = "ID_BUTTON";
  DialogScript refused;
  refused.then(answerMessageBox(IDNO));
  command(IDM_FILE_CODE_OUTPUT);
  ASSERT_TRUE(refused.done());
  ASSERT_EQ(refused.seen().size(), 1u) << "No writes nothing and asks for no file";
  EXPECT_EQ(refused.seen()[0].title, L"コード出力");
  EXPECT_NE(refused.seen()[0].text.find(L"ID_BUTTON (100, 200)"), std::wstring::npos);

  const std::string settingIni = readFileBytes(folder() / "setting.ini").value_or("");
  command(IDM_OPTION_UNICODE_OUTPUT);
  EXPECT_EQ(GetMenuState(GetMenu(mainWindow), IDM_OPTION_UNICODE_OUTPUT, MF_BYCOMMAND) &
                MF_CHECKED,
            static_cast<UINT>(MF_CHECKED));
  DialogScript wide;
  wide.then(answerMessageBox(IDYES)).then(chooseFile((folder() / "wide.cpp").wstring()));
  command(IDM_FILE_CODE_OUTPUT);
  ASSERT_TRUE(wide.done());
  const auto wideTemplate = readCodeTemplate(folder() / "code_unicode.txt");
  ASSERT_TRUE(wideTemplate.has_value());
  EXPECT_EQ(readFileBytes(folder() / "wide.cpp").value_or(""),
            toCrLf(generateCode(*wideTemplate, CodeEncoding::Utf8Wide)));
  EXPECT_EQ(readFileBytes(folder() / "quorvin.ini").value_or(""), "unicodeOutput=1\r\n");
  EXPECT_EQ(readFileBytes(folder() / "setting.ini").value_or(""), settingIni);
}

TEST_F(ShellTest, CodeOutputWithoutTheTemplateReportsItAfterTheDialogAndWritesNothing) {
  newDesign(L"Title", L"Class");
  std::filesystem::remove(folder() / "code.txt");
  const auto target = folder() / "out.cpp";
  DialogScript script;
  script.then(chooseFile(target.wstring()))
      .then(answerMessageBox(IDOK, L"コードファイルの読み込みに失敗しました。"));
  command(IDM_FILE_CODE_OUTPUT);
  ASSERT_TRUE(script.done());
  ASSERT_EQ(script.seen().size(), 2u);
  EXPECT_EQ(script.seen()[1].title, L"error");
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_NE(project.surface, 0u);
}

TEST_F(ShellTest, SaveOpenAndCodeOutputWorkInAFolderWithAJapaneseName) {
  const auto japanese = folder() / L"設計フォルダ";
  std::filesystem::create_directories(japanese);
  newDesign(L"日本語", L"JapaneseClass");
  place(static_cast<int>(ToolCode::Static), {30, 30}, {110, 60});
  const int count = project.objectCount;
  const auto file = japanese / L"設計.mwd";
  {
    DialogScript save;
    save.then(chooseFile(file.wstring()));
    command(IDM_FILE_SAVE);
    ASSERT_TRUE(save.done());
    ASSERT_TRUE(std::filesystem::exists(file));
  }
  newDesign(L"Other", L"OtherClass");
  {
    DialogScript open;
    open.then(answerMessageBox(IDNO)).then(chooseFile(file.wstring()));
    command(IDM_FILE_OPEN);
    ASSERT_TRUE(open.done());
    EXPECT_EQ(open.seen().size(), 2u) << "no error after opening";
    EXPECT_EQ(project.title, utf8ToCp932("日本語"));
    EXPECT_EQ(project.objectCount, count);
  }

  const auto code = japanese / L"コード.cpp";
  DialogScript output;
  output.then(chooseFile(code.wstring()));
  command(IDM_FILE_CODE_OUTPUT);
  ASSERT_TRUE(output.done());
  EXPECT_TRUE(std::filesystem::exists(code));
}

// ---- Ending --------------------------------------------------------------------

TEST_F(ShellTest, ClosingAsksAndNoKeepsTheProgramRunning) {
  newDesign(L"Title", L"Class");
  const HWND window = mainWindow;
  DialogScript script;
  script.then([this](const DialogInfo& info) {
    screenshot(info.window, "close-question");
    EXPECT_NE(GetDlgItem(info.window, IDYES), nullptr);
    EXPECT_NE(GetDlgItem(info.window, IDNO), nullptr);
    EXPECT_EQ(GetDlgItem(info.window, IDOK), nullptr);
    answerMessageBox(IDNO, L"閉じてもよいですか？")(info);
  });
  SendMessageW(window, WM_CLOSE, 0, 0);
  pump();
  ASSERT_TRUE(script.done());
  EXPECT_EQ(script.seen()[0].title, L"終了確認");
  EXPECT_TRUE(IsWindow(window));
  EXPECT_NE(project.surface, 0u);
  EXPECT_FALSE(takeQuit().has_value());

  script.then(answerMessageBox(IDYES));
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(mainWindow, nullptr);
  EXPECT_EQ(project.surface, 0u);
  EXPECT_EQ(takeQuit(), std::optional<WPARAM>(0));
}

// Alt+F4 on the palette reaches the main window's question; No keeps all.
TEST_F(ShellTest, ClosingThePaletteAsksTheMainWindowsQuestion) {
  newDesign(L"Title", L"Class");
  DialogScript script;
  script.then(answerMessageBox(IDNO, L"閉じてもよいですか？"));
  SendMessageW(toolWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
  pump();
  ASSERT_TRUE(script.done());
  EXPECT_TRUE(IsWindow(toolWindow));
  EXPECT_NE(project.surface, 0u);
  EXPECT_FALSE(takeQuit().has_value());
}

TEST_F(ShellTest, EscapeEndsAtOnceAndExitPostsQuitWithoutDestroying) {
  newDesign(L"Title", L"Class");
  const HWND window = mainWindow;
  const HWND designSurface = surface();
  DialogScript script;  // no dialog may appear
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDM_FILE_EXIT, 0), 0);
  EXPECT_EQ(takeQuit(), std::optional<WPARAM>(0));
  EXPECT_TRUE(IsWindow(window));

  SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(IsWindow(designSurface));
  EXPECT_EQ(project.surface, 0u);
  EXPECT_EQ(project.fontHandle, 0u);
  EXPECT_EQ(takeQuit(), std::optional<WPARAM>(0));
  EXPECT_TRUE(script.seen().empty());
}

// ---- Keys and clicks handed on ----------------------------------------------------------

TEST_F(ShellTest, DeleteInTheMainWindowDeletesTheSelectedControlOrTheActivePoint) {
  newDesign(L"Title", L"Class");
  place(static_cast<int>(ToolCode::Button), {20, 20}, {90, 50});
  ASSERT_EQ(project.objectCount, 1);
  click(screenOf(reinterpret_cast<HWND>(objects[0].window), 10, 10));
  ASSERT_EQ(selectedObject, 0);
  SendMessageW(mainWindow, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(project.objectCount, 0);

  // A click with the AddPoint tool on the main window's free area reaches
  // the outline: the first click makes a triangle.
  selectTool(ToolCode::AddPoint);
  RECT client{};
  GetClientRect(mainWindow, &client);
  click(screenOf(mainWindow, client.right - 20, client.bottom - 40));
  ASSERT_EQ(project.pointCount, 3);
  ASSERT_GE(project.activePoint, 0);
  // Delete with a point active takes the point, not a control: with three
  // points the whole outline goes.
  SendMessageW(mainWindow, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(project.pointCount, 0);
  EXPECT_EQ(project.regionMode, RegionMode::Rectangle);
  EXPECT_EQ(GetDlgItem(mainWindow, 300), nullptr);
}

TEST_F(ShellTest, DestroyingTheMainWindowWithAPolygonOutlineLeavesNothing) {
  newDesign(L"Polygon", L"Class");
  selectTool(ToolCode::AddPoint);
  RECT client{};
  GetClientRect(mainWindow, &client);
  click(screenOf(mainWindow, client.right - 20, client.bottom - 40));
  ASSERT_EQ(project.regionMode, RegionMode::Polygon);
  const HWND marker = GetDlgItem(mainWindow, 300);
  ASSERT_NE(marker, nullptr);
  selectTool(ToolCode::Select);
  screenshot(mainWindow, "polygon-design");
  DestroyWindow(mainWindow);
  EXPECT_FALSE(IsWindow(marker));
  EXPECT_EQ(project.pointCount, 0);
  EXPECT_TRUE(project.markerPoints.empty());
  EXPECT_TRUE(project.regionPoints.empty());
  EXPECT_FALSE(statusFont);
}

TEST_F(ShellTest, ScreenshotOfADesign) {
  newDesign(L"設計中の窓", L"DesignClass");
  const HWND designSurface = surface();
  SetWindowPos(designSurface, nullptr, 0, 0, 230, 210, SWP_NOMOVE | SWP_NOZORDER);
  place(static_cast<int>(ToolCode::Static), {10, 12}, {80, 32});
  place(static_cast<int>(ToolCode::Edit), {85, 10}, {200, 34});
  place(static_cast<int>(ToolCode::CheckBox), {10, 45}, {120, 65});
  place(static_cast<int>(ToolCode::RadioButton), {10, 70}, {120, 90});
  place(static_cast<int>(ToolCode::ListBox), {130, 45}, {200, 120});
  place(static_cast<int>(ToolCode::Button), {10, 130}, {90, 160});
  place(static_cast<int>(ToolCode::Button), {110, 130}, {200, 160});
  SetWindowTextW(statusLine, L"ボタン");
  screenshot(mainWindow, "design");
}

}  // namespace
}  // namespace quorvin::gui
