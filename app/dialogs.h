#pragma once
// The New and Settings dialogs, each run modally from its resource template
// with the main window as owner.

#include <string>

#include "common/win32/win32.h"

namespace quorvin {

// Asks for a title and a class name; on OK replaces the project with a new
// one and a fresh 200 x 200 surface. Returns 1036 (OK) or 1037 (CANCEL).
INT_PTR runNewDialog(HWND owner);

// Edits the five variable names and writes setting.ini on OK. Returns 1028
// (OK) or 1029 (CANCEL).
INT_PTR runSettingsDialog(HWND owner);

// The text of a dialog control as CP932, or "NO_DATA" when it is empty.
std::string readDialogText(HWND dialog, int controlId);

}  // namespace quorvin
