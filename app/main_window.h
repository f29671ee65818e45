#pragma once
// The main window: start-up, the three window classes, the menu commands,
// the status line and the close question. Its client area is the desk on
// which the design surface floats.

#include "common/file_io.h"
#include "common/win32/gdi.h"
#include "common/win32/win32.h"

namespace quorvin {

// Owned by the program for its whole life; null until created.
extern HWND mainWindow;
extern HWND toolWindow;   // the tool palette, owned by the main window
extern HWND statusLine;   // STATIC child, id 400, along the bottom edge
extern UniqueFont statusFont;  // deleted when the main window is destroyed

inline constexpr int kStatusLineId = 400;

// Full path of setting.ini, fixed once at start-up (the folder that is
// current then). Empty until then: reads and writes simply fail.
extern Path settingsPath;
// setting.ini at settingsPath into / from the names of the global project.
// A failed read leaves the names as they were.
ReadResult readSettings();
bool writeSettings();

// Registers one window class: arrow cursor, icon IDI_ICON, menu ID_MENU when
// `withMenu`; background 15 is the COLOR_BTNFACE system brush, any other
// value a stock object index. Returns the class atom, 0 on failure.
ATOM registerWindowClass(const wchar_t* className, UINT classStyle, bool withMenu,
                         HINSTANCE instance, WNDPROC procedure, int backgroundIndex);

// Creates the 400 x 400 main window "Quorvin", shows and paints it. Returns
// false when the window cannot be made.
bool createMainWindow(const wchar_t* className, HINSTANCE instance, int showCommand);

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Fixes fileFolders (the current folder, then the program's), templatePath
// and settingsPath, registers the main class and creates the main window.
// False when start-up fails.
bool startDesigner(HINSTANCE instance, int showCommand);

// Gets, translates and dispatches until WM_QUIT; returns its wParam.
int runMessageLoop();

// True while an open design differs from what was last opened or saved.
bool designHasUnsavedChanges();
// Before a command drops the design (New, Open, Exit, Escape, a close box):
// with unsaved changes asks "保存しますか？" with Yes (save, to the design's
// file or under a name then chosen), No and Cancel. True when the command
// may go on: nothing unsaved, saved, or No.
bool confirmDesignMayGo(HWND owner);
// The close box's question: "保存しますか？" as above with unsaved changes,
// else "閉じてもよいですか？" Yes/No. True when the window may close.
bool closeQuestion(HWND owner);

// The designer's own keys (Ctrl+Z undo, Ctrl+Y and Ctrl+Shift+Z redo,
// Ctrl+S save) for a message of the main window or the palette, unless a
// text field has the focus (the key is then the field's). True when the
// message was turned into a command and must not be dispatched.
bool translateDesignerKey(const MSG& message);

// Shows a message box owned by `owner` with CP932-free wide texts; the
// program's error boxes use the caption "error", OK only, no icon.
void showError(HWND owner, const wchar_t* text);

}  // namespace quorvin
