#pragma once
// The one path of every change of the design in the window layer: the undo
// step it records, the unsaved-changes mark it sets, and undo and redo that
// make the windows match a recorded design again.

#include <cstdint>
#include <functional>
#include <span>

#include "common/win32/win32.h"

namespace quorvin {

// Every change of the design calls this once it is done (a placement, a
// deletion, the end of a move or a size change, a key release in a field,
// the style dialog's OK, a font choice, a point added, moved or deleted, the
// outline removed, the window moved or sized). `group`: see
// EditHistory::commit; 0 is a step of its own. Nothing happens while undo
// or redo itself moves the windows, or while no design is open.
void designChanged(std::uint64_t group = 0);
// The same for a change that touched only the designed window's own record
// and the controls at `touched`, adding or removing none (a key in a
// field): only those are compared and recorded.
void designChanged(std::uint64_t group, std::span<const std::int32_t> touched);

// A new group of commits (a visit to a field, one drag of the frame).
std::uint64_t newChangeGroup();

// A design was made new or opened: no steps, nothing unsaved. / The design
// went: no history.
void startDesignHistory();
void endDesignHistory();

// Undo or redo one step (pending changes are committed first); the
// controls, the surface, the outline, the font, the fields and the
// selection follow. False when there was no step.
bool undoDesign();
bool redoDesign();

// The design on screen is on no disk (brought back from a recovery file).
void markDesignUnsaved();

// True while undo or redo moves the windows (their messages are no change).
bool restoringDesign();

// Called after every commit, undo, redo, save and reset, so that the main
// window can show the unsaved-changes mark. Installed by the main window.
void setDesignStateListener(std::function<void()> listener);

}  // namespace quorvin
