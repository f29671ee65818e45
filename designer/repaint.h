#pragma once
// Repainting only what changed. With thousands of controls on the surface a
// repaint of the whole surface takes seconds under Wine, while the pixels
// that really change after a move, a hidden marker or a new outline are a
// few. These helpers leave the screen exactly as a whole repaint would, by
// invalidating the places that changed (old and new), children included.

#include <span>
#include <vector>

#include "app/model.h"
#include "common/win32/gdi.h"
#include "common/win32/win32.h"

namespace quorvin {

// Every place the selected control and its size handles have covered since
// the move began (surface client coordinates). Start at the press, widen at
// every step, repaint and forget at the release.
void startMoveTrail(const DesignObject& object);
void widenMoveTrail(const DesignObject& object);
// Invalidates the trail on `surface` (erase on, the controls within it
// included) and forgets it; without a trail (a release with no move begun
// here) the whole surface is invalidated. A trail that never left its start
// (a click) is only forgotten: nothing moved, nothing is left to repaint.
void repaintMoveTrail(HWND surface);

// Hides the visible ones of `children` (windows of `parent`) without
// repainting after each, then invalidates once what they covered, the
// siblings and their children under them included: the same pixels as
// hiding them one by one.
void hideChildrenAtOnce(HWND parent, const std::vector<HWND>& children);

// The union of `rects` as one region, made in one call (hundreds of
// rectangles combined one by one would cost more than the rest of a step).
// Empty (false) when there are none or the region cannot be made.
UniqueRegion regionOfRects(std::span<const RECT> rects);

// Gives `window` the region `region` (window coordinates); on success the
// window owns it (released from `region`). The window's rectangle must not
// have changed since its last region: only where the old and the new region
// differ is repainted, in `window` and in its parent under it. Without an
// old region (or when the window is hidden) the window is redrawn whole, as
// SetWindowRgn with redraw on does, and the parent is the caller's.
enum class RegionReplaced { Refused, WindowRedrawn, ChangesRepainted };
RegionReplaced replaceWindowRegion(HWND window, HRGN region);

// Moves and sizes `window` (a child) to the rectangle in its parent's
// client coordinates, repaint on. When only the size changes, the kept part
// of the client area is not repainted: the frame, the client area gained and
// the part of the parent uncovered are. Otherwise as MoveWindow with repaint
// on. True when only the changes were repainted (or nothing changed);
// false when the window was moved with MoveWindow.
bool resizeRepaintingChanges(HWND window, int x, int y, int width, int height);

}  // namespace quorvin
