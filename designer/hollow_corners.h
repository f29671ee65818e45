#pragma once
// The corners of the selected controls other than the primary one: white
// squares with a black border, where the primary's are black, as dialog
// editors tell them apart.
//
// One window over the controls draws them all: its window region is the
// squares, so showing or moving hundreds of corners is one window change,
// where a window per corner cost the system a move each among thousands of
// siblings. It only shows: every click goes through to what lies beneath.
//
// Taking the squares away would make every control under one repaint (an
// edit box with scroll bars takes milliseconds under Wine). So the pixels
// they cover are kept when they are shown and put back when they go, as
// long as nothing on the surface has drawn since; otherwise the system
// repaints what they covered.

#include <span>

#include "app/model.h"
#include "common/win32/win32.h"

namespace quorvin {

// Shows squares at `corners` (their top-left points, in `surface`'s client
// coordinates) on `surface`, in place of any shown before. Paints what is
// pending on the surface first, so that the pixels kept are the ones seen.
void showHollowCorners(HWND surface, std::span<const RegionPoint> corners);

// Takes the squares away; nothing when none are shown.
void hideHollowCorners();

// Tells that something on the surface drew or may draw under the squares:
// the pixels kept are no longer the ones to put back. The surface's
// painting, the placed controls' own procedures and the marks shown over
// the surface call it.
void surfacePixelsChanged();

// The surface that held the squares is gone (they went with it).
void forgetHollowCorners();

}  // namespace quorvin
