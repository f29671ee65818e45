#pragma once
// Recovery of unsaved work: while the design has unsaved changes it is
// written, through the same atomic save as Save, to this process's recovery
// file a couple of seconds after the last change; a save, a discarded design
// and a clean exit remove the file. At start, a recovery file left by a
// designer that did not end cleanly is offered.

#include "common/file_io.h"
#include "common/win32/win32.h"

namespace quorvin {

// The delay after the last change before the recovery file is written.
inline constexpr UINT kRecoveryDelayMs = 2000;
inline constexpr UINT_PTR kRecoveryTimerId = 0x5152;  // "QR"

// Fixes the folder (that of setting.ini), offers a design left behind there
// (owner `owner`; Yes opens it as an unsaved design, No throws it away),
// then marks this process's own file as in use.
void startRecovery(HWND owner, const Path& folder);
// The design changed, was saved, or went: the file is scheduled, or removed
// when nothing is unsaved.
void recoveryDesignStateChanged(HWND timerOwner);
// WM_TIMER with kRecoveryTimerId: writes the file now (or removes it).
void onRecoveryTimer(HWND timerOwner);
// A clean end: the file and the lock go.
void endRecovery();

}  // namespace quorvin
