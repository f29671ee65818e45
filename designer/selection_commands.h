#pragma once
// Commands on the selected controls from the keyboard and the Layout
// menu: nudging and sizing with the arrow keys, walking the selection with
// Tab, selecting all, and lining up, matching and spacing out. Each one that
// changes the design is one undo step.

#include <cstdint>

#include "designer/selection_edits.h"

namespace quorvin {

// Moves every selected control by (dx, dy) and changes its size by (dw, dh)
// (sizes stop at 0). False when there is nothing to move or the mouse is
// busy with a move, a picked-up corner or a placement.
bool nudgeSelection(std::int32_t dx, std::int32_t dy, std::int32_t dw, std::int32_t dh);

// Tab: the control after the primary one (by creation order, from the last
// back to the first) becomes the only selection; Shift+Tab the one before.
// With nothing selected Tab takes the first, Shift+Tab the last. False with
// no controls or while the mouse is busy.
bool walkSelection(bool backwards);

// Every control becomes selected; the primary one stays the primary.
bool selectAllControls();

// True when the command has enough controls selected to act on.
bool arrangeAvailable(ArrangeCommand command);
// Applies the command to the selection (to the primary control's place or
// size where it has one), one undo step. False when it is not available.
bool arrangeSelection(ArrangeCommand command);

// Copy: the selected controls go to the system clipboard in Quorvin's own
// format, and their creation statements as text. Cut copies, then deletes
// them (one undo step). Paste adds the controls on the clipboard, with
// names made unique, and selects them: with `atCursor` (a paste from the
// keyboard) and the mouse pointer over the design surface, their bounding
// box's top-left lands at the pointer (on the grid when snapping is on);
// otherwise each paste lands an offset further from the original.
// Duplicate pastes the selection an offset away without the clipboard.
// False when nothing was done.
bool copySelection();
bool cutSelection();
bool pasteControls(bool atCursor = false);
bool duplicateSelection();
// True when the clipboard holds controls of Quorvin's.
bool canPasteControls();

}  // namespace quorvin
