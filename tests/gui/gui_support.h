#pragma once
// In-process GUI scenarios: start the designer in a folder of its own, drive
// its windows with real cursor positions and the messages a press or a drag
// produces, and answer its modal dialogs the way a user would, by finding
// them and working their controls.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/win32/win32.h"
#include "common/win32/window_idioms.h"

namespace quorvin::gui {

// Dispatches every message that is waiting (never blocks). A quit message
// is not dispatched but remembered (see quitPosted).
void pump();
// True when a quit message has been posted since the current DesignerTest
// started (taken from the queue here, or already swallowed by pump).
bool quitPosted();

// ---- Mouse ---------------------------------------------------------------
// Each puts the real cursor at `screen` (SetCursorPos) and sends the message
// to the window under it (WindowFromPoint), with client coordinates in
// lParam, exactly as a press, move or release there would (to the window
// that captured the mouse, if one did).
HWND mouseDown(POINT screen);
HWND mouseMove(POINT screen);
HWND mouseUp(POINT screen);
// Press at `from`, `steps` moves towards `to`, release at `to`.
void drag(POINT from, POINT to, int steps = 4);
void click(POINT screen);

// Screen point of a point in `window`'s client coordinates.
POINT screenOf(HWND window, int clientX, int clientY);

// ---- Looking at windows ----------------------------------------------------
std::wstring classOf(HWND window);
std::wstring textOf(HWND window);
// `window`'s outer rectangle in `parent`'s client coordinates (screen
// coordinates for a null parent).
RECT rectIn(HWND window, HWND parent);

// ---- Modal dialogs -------------------------------------------------------
// What a scripted answer sees: the dialog and its texts.
struct DialogInfo {
  HWND window = nullptr;
  std::wstring title;
  std::wstring text;  // a message box's message (control 0xFFFF), else ""
};
using DialogAction = std::function<void(const DialogInfo&)>;

// Queues answers for the modal dialogs that the next calls open, in order.
// A timer of the thread (dispatched by the dialogs' own loops) gives each
// dialog that becomes the enabled, visible, topmost dialog of this thread the
// next action. A dialog left without an action is cancelled after a few
// seconds and the test fails, so a scenario never hangs.
class DialogScript {
 public:
  DialogScript();
  ~DialogScript();
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;

  DialogScript& then(DialogAction action);
  // Every dialog seen, in order.
  const std::vector<DialogInfo>& seen() const;
  // True when every queued action has run.
  bool done() const;

  // Scripts nest: the newest one answers until it is destroyed, then the
  // one before it takes over again. (Defined in gui_support.cpp.)
  struct State;

 private:
  State* state_;
};

// Actions. Clicks are posted (BM_CLICK to the button), so the dialog's loop
// handles them as it would a user's.
void clickButton(HWND dialog, int id);
void setItemText(HWND dialog, int id, const std::wstring& text);
std::wstring itemText(HWND dialog, int id);
// Message boxes: IDOK 1, IDYES 6, IDNO 7.
DialogAction answerMessageBox(int button, std::wstring expectText = {});
// The common file dialogs: types the name into the file-name box and
// presses OK, or cancels.
DialogAction chooseFile(const std::wstring& path);
DialogAction cancelDialog();

// ---- The designer in a folder of its own ---------------------------------
// Copies what the program reads from its current folder (the templates,
// setting.ini, the nine bitmaps) from the run folder into a fresh folder,
// makes it current and starts the designer there. TearDown destroys what is
// left, resets the shared state and unregisters the classes, so every test
// starts the same way.
class DesignerTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Called after the folder has been filled and before the designer starts:
  // a test may remove or replace files there.
  virtual void prepareFolder(const std::filesystem::path& /*folder*/) {}

  // The folder the designer runs in (its current directory).
  const std::filesystem::path& folder() const { return folder_; }
  // Sends a menu command to the main window (runs to completion).
  void command(int id);
  // Starts a new design through the New dialog.
  void newDesign(const std::wstring& title, const std::wstring& className);
  // Drags a placement with `tool` (a ToolCode value) on the surface, in
  // surface client coordinates.
  void place(int tool, POINT fromClient, POINT toClient);
  // Writes a screenshot of `window` (frame included) as a BMP into the
  // artefacts folder beside the run folder; the test script turns them into
  // PNG files.
  void screenshot(HWND window, const std::string& name);
  // Moves the palette aside (it floats over the main window's left part),
  // so that the cursor reaches the whole surface and the markers.
  void movePaletteAside();

 private:
  std::filesystem::path runFolder_;
  std::filesystem::path folder_;
};

}  // namespace quorvin::gui
