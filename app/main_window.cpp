// The main window: start-up, the three window classes, the window procedure
// with the menu commands, the status line, the close question and the
// hand-over of mouse and Delete keys to the polygon outline.
#include "app/main_window.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "app/model.h"
#include "app/model_win32.h"
#include "app/own_settings.h"
#include "app/project_file.h"
#include "app/recovery.h"
#include "app/settings_file.h"
#include "app/start_files.h"
#include "codegen/code_output.h"
#include "common/win32/text.h"
#include "common/win32/window_idioms.h"
#include "designer/design_changes.h"
#include "designer/edit_history.h"
#include "designer/editing_state.h"
#include "designer/palette.h"
#include "designer/polygon.h"
#include "designer/project_font.h"
#include "designer/selection_commands.h"
#include "designer/surface.h"
#include "designer/surface_aids.h"
#include "resources/resource.h"

namespace quorvin {

Path settingsPath;
HWND mainWindow = nullptr;
HWND toolWindow = nullptr;
HWND statusLine = nullptr;
UniqueFont statusFont;

namespace {

constexpr wchar_t kMainClassName[] = L"Quorvin";
constexpr wchar_t kMainTitle[] = L"Quorvin";
constexpr wchar_t kSurfaceClassName[] = L"SubWindow";
constexpr wchar_t kToolClassName[] = L"ToolWindow";
constexpr int kMainWidth = 400;   // pixels, outer size
constexpr int kMainHeight = 400;  // pixels, outer size
// CS_VREDRAW | CS_HREDRAW | CS_BYTEALIGNCLIENT
constexpr UINT kClassStyle = 0x1003;
constexpr int kGreyBrush = GRAY_BRUSH;
constexpr int kLightGreyBrush = LTGRAY_BRUSH;
constexpr int kButtonFaceBackground = COLOR_BTNFACE;  // 15: the system colour brush

// The tool palette sits over the main window's top-left corner.
constexpr int kToolOffsetX = 10;  // pixels from the main window's outer left
constexpr int kToolOffsetY = 50;  // pixels from the main window's outer top
constexpr int kToolWidth = 87;
constexpr int kToolHeight = 250;
constexpr DWORD kToolStyle = WS_POPUP | WS_CAPTION;  // 0x80C00000

constexpr int kStatusLineHeight = 20;  // pixels of the status line inside the client area
constexpr int kStatusFontHeight = -16;


// ---- Message boxes and file dialogs ----------------------------------------------


// The three file dialogs: what each shows and whether it opens or saves.
struct FileDialogKind {
  const wchar_t* title;
  const wchar_t* filter;  // pairs of description and pattern, ending "\0\0"
  const wchar_t* defaultExtension;
  bool opens;
};
constexpr wchar_t kProjectFilter[] = L"MakeWindowDataFile\0*.mwd\0";
constexpr FileDialogKind kSaveProject{L"名前を付けて保存", kProjectFilter, L"mwd", false};
constexpr FileDialogKind kOpenProject{L"ファイルを開く", kProjectFilter, L"mwd", true};
constexpr FileDialogKind kSaveCode{L"名前を付けて保存", L"C/C++ファイル\0*.cpp;*.c\0", L"cpp",
                                   false};

// Runs one of the three file dialogs; the chosen path, or nothing when the
// dialog was cancelled.
std::optional<Path> chooseFileName(HWND owner, const FileDialogKind& kind) {
  wchar_t fileName[MAX_PATH] = {};
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFile = fileName;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  dialog.lpstrTitle = kind.title;
  dialog.lpstrFilter = kind.filter;
  dialog.lpstrDefExt = kind.defaultExtension;
  const bool chosen =
      (kind.opens ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog)) != FALSE;
  if (!chosen || fileName[0] == L'\0') return std::nullopt;
  return Path(fileName);
}

bool projectIsOpen() { return project.surface != 0; }

// The check mark of the Unicode output item follows the setting.
void showUnicodeOutputChoice(HWND window) {
  CheckMenuItem(GetMenu(window), IDM_OPTION_UNICODE_OUTPUT,
                MF_BYCOMMAND | (ownSettings.unicodeOutput ? MF_CHECKED : MF_UNCHECKED));
}

// The check marks of the grid's items follow the settings.
void showGridChoices(HWND window) {
  const HMENU menu = GetMenu(window);
  const auto check = [menu](int id, bool on) {
    CheckMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
  };
  check(IDM_OPTION_GRID_SHOW, ownSettings.gridVisible);
  check(IDM_OPTION_GRID_SNAP, ownSettings.gridSnap);
  const int step = ownSettings.gridStep;
  const int chosen = step == 4 ? IDM_OPTION_GRID_STEP_4
                     : step == 16 ? IDM_OPTION_GRID_STEP_16
                                  : IDM_OPTION_GRID_STEP_8;
  CheckMenuRadioItem(menu, IDM_OPTION_GRID_STEP_4, IDM_OPTION_GRID_STEP_16,
                     static_cast<UINT>(chosen), MF_BYCOMMAND);
  check(IDM_ORDER_TAB_MODE, tabOrderModeActive());
}

// The file the design was last opened from or saved to; empty for a design
// that has never been saved.
Path designFile;

// "*name - Quorvin" while there are unsaved changes, "name - Quorvin" when
// there are none ("無題" for a design never saved), "Quorvin" with no design.
void updateTitle() {
  if (mainWindow == nullptr) return;
  std::wstring title = kMainTitle;
  if (projectIsOpen()) {
    const std::wstring name =
        designFile.empty() ? std::wstring(L"無題") : designFile.filename().wstring();
    title = (editHistory.changed() ? L"*" : L"") + name + L" - " + title;
  }
  // Called at every key typed into a field: a title set again, unchanged,
  // would still be redrawn and handed to the window manager each time.
  if (windowTextWide(mainWindow) != title) SetWindowTextW(mainWindow, title.c_str());
}

// Every commit, undo, redo, save and reset: the title's mark and the
// recovery file follow.
void onDesignStateChanged() {
  updateTitle();
  recoveryDesignStateChanged(mainWindow);
}

// ---- Creation -------------------------------------------------------------------

// A class registered earlier in this process under the same name serves as
// well as a new registration (the main window may be created again, as the
// GUI tests do, without the program unregistering its classes).
bool registerChildClass(const wchar_t* name, HINSTANCE instance, WNDPROC procedure,
                        int backgroundIndex) {
  if (registerWindowClass(name, kClassStyle, false, instance, procedure, backgroundIndex) != 0)
    return true;
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS &&
         GetClassInfoExW(instance, name, &existing) != FALSE && existing.lpfnWndProc == procedure;
}

void onCreate(HWND window) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  if (!registerChildClass(kSurfaceClassName, instance, surfaceWindowProc, kButtonFaceBackground) ||
      !registerChildClass(kToolClassName, instance, toolWindowProc, kLightGreyBrush))
    return;

  RECT frame{};
  GetWindowRect(window, &frame);
  // A palette that cannot load its pictures destroys itself (which ends the
  // program) during its creation; the handle is then null.
  toolWindow = CreateWindowExW(0, kToolClassName, L"", kToolStyle, frame.left + kToolOffsetX,
                               frame.top + kToolOffsetY, kToolWidth, kToolHeight, window, nullptr,
                               instance, nullptr);
  if (toolWindow != nullptr) {
    ShowWindow(toolWindow, SW_SHOWNA);
    UpdateWindow(toolWindow);
  }

  statusLine = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                               idAsMenu(kStatusLineId),
                               instance, nullptr);
  statusFont = makeGothicFont(kStatusFontHeight);
  if (statusLine != nullptr)
    SendMessageW(statusLine, WM_SETFONT, reinterpret_cast<WPARAM>(statusFont.get()), TRUE);

  resetEditing(false);
  project.pointCount = 0;
  project.activePoint = -1;
  showUnicodeOutputChoice(window);
  showGridChoices(window);
}

// Brings the palette above the main window. Windows keeps an owned window
// above its owner by itself; Wine does not always (an owner raised when it is
// activated, or shown after the palette, can cover it).
void raiseToolWindow() {
  if (toolWindow == nullptr || !IsWindow(toolWindow)) return;
  // Placing it just below its owner first makes the z-order really change,
  // so that Wine restacks the palette's X window even when its own z-order
  // already had the palette on top: Wine raises the X window of a window
  // that takes the keyboard focus without changing its z-order.
  if (mainWindow != nullptr)
    SetWindowPos(toolWindow, mainWindow, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(toolWindow, HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// Keeps the status line along the bottom edge: its top 20 pixels lie inside
// the client area, the rest below it.
void placeStatusLine(HWND window) {
  if (statusLine == nullptr) return;
  RECT client{};
  GetClientRect(window, &client);
  MoveWindow(statusLine, 0, client.bottom - kStatusLineHeight, client.right, client.bottom, TRUE);
}

// ---- Menu commands ----------------------------------------------------------------

// Writes the design to `path`; on success it is the design's file and has
// no unsaved changes. A failure is shown.
bool saveTo(HWND window, const Path& path) {
  designChanged();  // a field still being typed in counts
  if (!saveProject(path)) {
    showError(window, L"データファイルの保存に失敗しました。");
    return false;
  }
  designFile = path;
  editHistory.markSaved();
  updateTitle();
  return true;
}

// Saves the project under a name the user chooses. False when the dialog
// was cancelled or the file could not be written (the error is shown).
bool saveWithDialog(HWND window) {
  const auto path = chooseFileName(window, kSaveProject);
  if (!path) return false;
  return saveTo(window, *path);
}

// Saves to the design's file, asking for a name only when it has none.
bool saveOver(HWND window) {
  if (designFile.empty()) return saveWithDialog(window);
  return saveTo(window, designFile);
}

void onOpen(HWND window) {
  if (designHasUnsavedChanges()) {
    if (!confirmDesignMayGo(window)) return;
  } else if (projectIsOpen() && askYesNo(window, L"保存しますか？", L"保存確認") &&
             !saveWithDialog(window)) {
    return;
  }
  const auto path = chooseFileName(window, kOpenProject);
  if (!path) return;
  if (!openProject(*path)) {
    showError(window, L"データファイルの読み込みに失敗しました。");
    return;
  }
  designFile = *path;
  updateTitle();
}

void onNew(HWND window) {
  if (!confirmDesignMayGo(window)) return;
  if (runNewDialog(window) == IDC_NEWFILE_OK) designFile.clear();
  updateTitle();
}

// Exit, Escape and the close box: unsaved changes are asked about first.
void onExit(HWND window) {
  if (!confirmDesignMayGo(window)) return;
  // Ends the loop at once; the window is not destroyed first. A clean end:
  // nothing is left to recover.
  endRecovery();
  PostQuitMessage(0);
}

void onEditCommand(int id) {
  designChanged();  // a field still being typed in is a step of its own
  if (id == IDM_EDIT_UNDO)
    undoDesign();
  else
    redoDesign();
}

// Undo and Redo are offered only when there is a step to take.
void onInitMenuPopup(HMENU menu) {
  const auto enable = [menu](int id, bool on) {
    EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  };
  designChanged();
  enable(IDM_EDIT_UNDO, projectIsOpen() && editHistory.canUndo());
  enable(IDM_EDIT_REDO, projectIsOpen() && editHistory.canRedo());
  const bool oneSelected = projectIsOpen() && selectedObject >= 0;
  enable(IDM_ORDER_FRONT, oneSelected);
  enable(IDM_ORDER_BACK, oneSelected);
  enable(IDM_ORDER_BY_POSITION, projectIsOpen());
  enable(IDM_ORDER_TAB_MODE, projectIsOpen());
  if (mainWindow != nullptr) showGridChoices(mainWindow);
  enable(IDM_EDIT_SELECT_ALL, projectIsOpen() && project.objectCount > 0);
  const bool anySelected = projectIsOpen() && !selectedControls().empty();
  enable(IDM_EDIT_CUT, anySelected);
  enable(IDM_EDIT_COPY, anySelected);
  enable(IDM_EDIT_DUPLICATE, anySelected);
  enable(IDM_EDIT_PASTE, canPasteControls());
  // A command that has too few controls to act on is greyed.
  for (int id = IDM_LAYOUT_FIRST; id <= IDM_LAYOUT_LAST; ++id)
    enable(id, arrangeAvailable(static_cast<ArrangeCommand>(id - IDM_LAYOUT_FIRST)));
}

void onSave(HWND window) {
  if (projectIsOpen()) saveWithDialog(window);
}

void onCodeOutput(HWND window) {
  if (!projectIsOpen()) return;
  // ID names that repeat (old files can hold such) or are not identifiers:
  // say so, and write only if the user still wants to.
  const std::vector<IdNameWarning> warnings = idNameWarnings(std::span<const DesignObject>(
      objects.data(), std::min(objects.size(), static_cast<std::size_t>(
                                                   std::max(project.objectCount, 0)))));
  if (!warnings.empty() &&
      !askYesNo(window, utf8ToWide(idNameQuestion(warnings)).c_str(), L"コード出力"))
    return;
  const auto path = chooseFileName(window, kSaveCode);
  if (!path) return;
  const CodeEncoding encoding =
      ownSettings.unicodeOutput ? CodeEncoding::Utf8Wide : CodeEncoding::Cp932;
  switch (outputCode(templateFor(templatePath, encoding), *path, encoding)) {
    case CodeOutputResult::Written:
      break;
    case CodeOutputResult::TemplateUnreadable:
      showError(window, L"コードファイルの読み込みに失敗しました。");
      break;
    case CodeOutputResult::WriteFailed:
      showError(window, L"コードの保存に失敗しました。");
      break;
  }
}

// Switches the code output between CP932 for the 8-bit API and UTF-8 for the
// wide API, and remembers the choice in quorvin.ini (never in setting.ini,
// whose format is fixed).
void onUnicodeOutput(HWND window) {
  ownSettings.unicodeOutput = !ownSettings.unicodeOutput;
  showUnicodeOutputChoice(window);
  writeOwnSettings(ownSettingsPath, ownSettings);
}

// A grid command: the setting changes, is remembered in quorvin.ini (never
// in setting.ini) and the surface shows it.
void onGridCommand(HWND window, int id) {
  switch (id) {
    case IDM_OPTION_GRID_SHOW:
      ownSettings.gridVisible = !ownSettings.gridVisible;
      break;
    case IDM_OPTION_GRID_SNAP:
      ownSettings.gridSnap = !ownSettings.gridSnap;
      break;
    case IDM_OPTION_GRID_STEP_4:
      ownSettings.gridStep = 4;
      break;
    case IDM_OPTION_GRID_STEP_16:
      ownSettings.gridStep = 16;
      break;
    default:
      ownSettings.gridStep = kDefaultOwnGridStep;
      break;
  }
  showGridChoices(window);
  writeOwnSettings(ownSettingsPath, ownSettings);
  gridSettingsChanged();
}

// The order commands act on the design: a field still being typed in is
// a step of its own first.
void onOrderCommand(HWND window, int id) {
  if (!projectIsOpen()) return;
  designChanged();
  switch (id) {
    case IDM_ORDER_FRONT:
      bringSelectionToFront();
      break;
    case IDM_ORDER_BACK:
      sendSelectionToBack();
      break;
    case IDM_ORDER_BY_POSITION:
      orderControlsByPosition();
      break;
    default:
      toggleTabOrderMode();
      break;
  }
  showGridChoices(window);
}

// `fromKey`: the command came from a shortcut, not the menu.
void onCommand(HWND window, int id, bool fromKey) {
  switch (id) {
    case IDM_OPTION_GRID_SHOW:
    case IDM_OPTION_GRID_SNAP:
    case IDM_OPTION_GRID_STEP_4:
    case IDM_OPTION_GRID_STEP_8:
    case IDM_OPTION_GRID_STEP_16:
      onGridCommand(window, id);
      break;
    case IDM_ORDER_FRONT:
    case IDM_ORDER_BACK:
    case IDM_ORDER_BY_POSITION:
    case IDM_ORDER_TAB_MODE:
      onOrderCommand(window, id);
      break;
    case IDM_FILE_NEW:
      onNew(window);
      break;
    case IDM_FILE_SAVE_OVER:
      if (projectIsOpen()) saveOver(window);
      break;
    case IDM_EDIT_UNDO:
    case IDM_EDIT_REDO:
      onEditCommand(id);
      break;
    case IDM_FILE_OPEN:
      onOpen(window);
      break;
    case IDM_FILE_SAVE:
      onSave(window);
      break;
    case IDM_FILE_CODE_OUTPUT:
      onCodeOutput(window);
      break;
    case IDM_FILE_EXIT:
      onExit(window);
      break;
    case IDM_OPTION_SETTINGS:
      runSettingsDialog(window);
      break;
    case IDM_OPTION_UNICODE_OUTPUT:
      onUnicodeOutput(window);
      break;
    case IDM_EDIT_SELECT_ALL:
      selectAllControls();
      break;
    case IDM_EDIT_COPY:
      copySelection();
      break;
    case IDM_EDIT_CUT:
      designChanged();
      cutSelection();
      break;
    case IDM_EDIT_PASTE:
      designChanged();
      pasteControls(fromKey);  // Ctrl+V pastes where the pointer is
      break;
    case IDM_EDIT_DUPLICATE:
      designChanged();
      duplicateSelection();
      break;
    default:
      if (id >= IDM_LAYOUT_FIRST && id <= IDM_LAYOUT_LAST) {
        designChanged();  // a field still being typed in is a step of its own
        arrangeSelection(static_cast<ArrangeCommand>(id - IDM_LAYOUT_FIRST));
      }
      break;
  }
}

// ---- Keys, closing, destruction ---------------------------------------------------

void onKeyDown(HWND window, WPARAM key, LPARAM lParam) {
  if (key == VK_ESCAPE && tabOrderModeActive()) {
    // Escape first ends the tab-order mode; only then does it close.
    leaveTabOrderMode();
    showGridChoices(window);
  } else if (key == VK_ESCAPE) {
    if (confirmDesignMayGo(window)) DestroyWindow(window);
  } else if (key == VK_DELETE) {
    // Never under the mouse: a control being moved or sized, or a point
    // being dragged, stays.
    if (!deleteAllowed()) return;
    if (project.activePoint >= 0) {
      deleteActivePoint();
    } else if (projectIsOpen()) {
      SendNotifyMessageW(surfaceWindow(), WM_KEYDOWN, VK_DELETE, lParam);
    }
  }
}

void onClose(HWND window) {
  if (closeQuestion(window)) DestroyWindow(window);
}

void onDestroy() {
  if (project.regionMode == RegionMode::Polygon) destroyPointMarkers();
  if (projectIsOpen()) {
    DestroyWindow(surfaceWindow());
    clearProject();
  }
  project.markerPoints.clear();
  project.regionPoints.clear();
  project.pointCount = 0;
  statusFont.reset();
  releaseProjectFont();
  mainWindow = nullptr;
  statusLine = nullptr;
  endRecovery();
  PostQuitMessage(0);
}

LRESULT handleMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      onCreate(window);
      return 0;
    case WM_MOVE:
    case WM_SIZE:
      placeStatusLine(window);
      return 0;
    case WM_SETFOCUS: {
      const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
      raiseToolWindow();
      return result;
    }
    case WM_ACTIVATE: {
      const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
      if (LOWORD(wParam) != WA_INACTIVE) raiseToolWindow();
      return result;
    }
    case WM_COMMAND:
      onCommand(window, LOWORD(wParam), HIWORD(wParam) == 1);
      return 0;
    case WM_INITMENUPOPUP:
      onInitMenuPopup(reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_TIMER:
      if (wParam == kRecoveryTimerId) onRecoveryTimer(window);
      return 0;
    case WM_KEYDOWN:
      onKeyDown(window, wParam, lParam);
      return 0;
    case WM_LBUTTONDOWN:
      onMainWindowButtonDown();
      return 0;
    case WM_LBUTTONUP:
      onMainWindowButtonUp(wParam, lParam);
      return 0;
    case WM_MOUSEMOVE:
      onMainWindowMouseMove(wParam, lParam);
      return 0;
    case WM_CLOSE:
      onClose(window);
      return 0;
    case WM_DESTROY:
      onDestroy();
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

ATOM registerWindowClass(const wchar_t* className, UINT classStyle, bool withMenu,
                         HINSTANCE instance, WNDPROC procedure, int backgroundIndex) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = classStyle;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, L"IDI_ICON");
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = backgroundIndex == kButtonFaceBackground
                                  ? GetSysColorBrush(COLOR_BTNFACE)
                                  : static_cast<HBRUSH>(GetStockObject(backgroundIndex));
  windowClass.lpszMenuName = withMenu ? L"ID_MENU" : nullptr;
  windowClass.lpszClassName = className;
  return RegisterClassExW(&windowClass);
}

bool createMainWindow(const wchar_t* className, HINSTANCE instance, int showCommand) {
  const HWND window =
      CreateWindowExW(0, className, kMainTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                      kMainWidth, kMainHeight, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return false;
  mainWindow = window;
  setDesignStateListener(onDesignStateChanged);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  // An owned pop-up shown during its owner's creation can stay behind the
  // owner under Wine.
  raiseToolWindow();
  return true;
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return guardedCall([&] { return handleMainMessage(window, message, wParam, lParam); });
}

bool startDesigner(HINSTANCE instance, int showCommand) {
  // Recovery files belong to the folder the designer works in.
  const Path folder = currentFolder();
  placeProgramFiles();
  // Quorvin's own settings live beside setting.ini, wherever that was found.
  ownSettingsPath = settingsPath.parent_path() / kOwnSettingsFileName;
  ownSettings = readOwnSettings(ownSettingsPath);
  setFontDeleter(deleteProjectFontHandle);
  if (registerWindowClass(kMainClassName, kClassStyle, true, instance, mainWindowProc,
                          kGreyBrush) == 0)
    return false;
  if (!createMainWindow(kMainClassName, instance, showCommand)) return false;
  startRecovery(mainWindow, folder);
  return true;
}

int runMessageLoop() {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      endRecovery();  // the loop ended: a clean end
      return static_cast<int>(message.wParam);
    }
    if (got == -1) return 0;  // only for an invalid window filter; never here
    if (translateDesignerKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool designHasUnsavedChanges() { return projectIsOpen() && editHistory.changed(); }

bool confirmDesignMayGo(HWND owner) {
  if (!designHasUnsavedChanges()) return true;
  designChanged();
  switch (MessageBoxW(owner, L"保存しますか？", L"保存確認", MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
      return saveOver(owner);
    case IDNO:
      return true;
    default:
      return false;
  }
}

bool closeQuestion(HWND owner) {
  designChanged();
  if (designHasUnsavedChanges()) return confirmDesignMayGo(owner);
  return askYesNo(owner, L"閉じてもよいですか？", L"終了確認");
}

namespace {

// True when the keyboard focus is the main window, the surface or one of
// its controls, or the palette itself (after a click on a tool cell): the
// design's own keys (arrows, Tab, Ctrl+A, the Layout shortcuts) are taken
// only then, never from the palette's fields or a dialog.
bool designHasFocus() {
  const HWND focus = GetFocus();
  if (focus == nullptr || mainWindow == nullptr) return false;
  if (focus == mainWindow || (toolWindow != nullptr && focus == toolWindow)) return true;
  const HWND surface = surfaceWindow();
  return surface != nullptr && (focus == surface || IsChild(surface, focus));
}

// The Layout menu's shortcut for `key` with the modifiers held, or 0.
int layoutShortcut(WPARAM key, bool control, bool shift) {
  if (control && shift) {
    switch (key) {
      case VK_LEFT: return IDM_LAYOUT_ALIGN_LEFTS;
      case VK_RIGHT: return IDM_LAYOUT_ALIGN_RIGHTS;
      case VK_UP: return IDM_LAYOUT_ALIGN_TOPS;
      case VK_DOWN: return IDM_LAYOUT_ALIGN_BOTTOMS;
      case 'W': return IDM_LAYOUT_SAME_WIDTH;
      case 'H': return IDM_LAYOUT_SAME_HEIGHT;
      case 'B': return IDM_LAYOUT_SAME_SIZE;
      case 'A': return IDM_LAYOUT_SPACE_ACROSS;
      case 'D': return IDM_LAYOUT_SPACE_DOWN;
      case VK_F9: return IDM_LAYOUT_CENTRE_ACROSS;
      default: return 0;
    }
  }
  if (key != VK_F9) return 0;
  if (control) return IDM_LAYOUT_CENTRE_DOWN;
  return shift ? IDM_LAYOUT_ALIGN_CENTRES_ACROSS : IDM_LAYOUT_ALIGN_CENTRES_DOWN;
}

// Arrows move the selection by a pixel, with Shift by the grid step; with
// Ctrl they change its size by a pixel (right and down grow it). Tab and
// Shift+Tab walk the selection through the controls.
bool designKey(WPARAM key, bool control, bool shift) {
  const std::int32_t step = shift ? ownSettings.gridStep : 1;
  switch (key) {
    case VK_LEFT: return control ? nudgeSelection(0, 0, -1, 0) : nudgeSelection(-step, 0, 0, 0);
    case VK_RIGHT: return control ? nudgeSelection(0, 0, 1, 0) : nudgeSelection(step, 0, 0, 0);
    case VK_UP: return control ? nudgeSelection(0, 0, 0, -1) : nudgeSelection(0, -step, 0, 0);
    case VK_DOWN: return control ? nudgeSelection(0, 0, 0, 1) : nudgeSelection(0, step, 0, 0);
    case VK_TAB: return !control && walkSelection(shift);
    default: return false;
  }
}

}  // namespace

bool translateDesignerKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || mainWindow == nullptr) return false;
  const bool control = GetKeyState(VK_CONTROL) < 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  if (designHasFocus()) {
    if (const int layout = layoutShortcut(message.wParam, control, shift)) {
      SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(layout, 1), 0);
      return true;
    }
    int edit = 0;
    if (control && !shift) {
      switch (message.wParam) {
        case 'A': edit = IDM_EDIT_SELECT_ALL; break;
        case 'C': edit = IDM_EDIT_COPY; break;
        case 'X': edit = IDM_EDIT_CUT; break;
        case 'V': edit = IDM_EDIT_PASTE; break;
        case 'D': edit = IDM_EDIT_DUPLICATE; break;
        default: break;
      }
    }
    if (edit != 0) {
      SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(edit, 1), 0);
      return true;
    }
    if (designKey(message.wParam, control, shift)) return true;
  }
  if (!control) return false;
  // Keys belong to what has the focus: a text field keeps Ctrl+Z for
  // itself, and dialogs run loops of their own.
  const HWND focus = GetFocus();
  wchar_t className[16] = {};
  if (focus != nullptr && GetClassNameW(focus, className, 16) > 0 &&
      lstrcmpiW(className, L"Edit") == 0)
    return false;
  const HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (root != mainWindow && root != toolWindow) return false;
  int command = 0;
  switch (message.wParam) {
    case 'Z':
      command = shift ? IDM_EDIT_REDO : IDM_EDIT_UNDO;
      break;
    case 'Y':
      command = IDM_EDIT_REDO;
      break;
    case 'S':
      command = IDM_FILE_SAVE_OVER;
      break;
    default:
      return false;
  }
  SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(command, 1), 0);
  return true;
}

ReadResult readSettings() { return readSettings(settingsPath, project.variableNames); }
bool writeSettings() { return writeSettings(settingsPath, project.variableNames); }

void showError(HWND owner, const wchar_t* text) { MessageBoxW(owner, text, L"error", MB_OK); }

}  // namespace quorvin
