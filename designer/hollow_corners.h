#pragma once
// The corners of the selected controls other than the primary one: white
// squares with a black border, where the primary's are black, as dialog
// editors tell them apart.
//
// One window over the controls draws them all: its window region is the
// squares, so showing or moving hundreds of corners is one window change,
// where a window per corner cost the system a move each among thousands of
// siblings. It only shows: every click goes through to what lies beneath.

#include <span>

#include "app/model.h"
#include "common/win32/win32.h"

namespace quorvin {

// Shows squares at `corners` (their top-left points, in `surface`'s client
// coordinates) on `surface`, in place of any shown before.
void showHollowCorners(HWND surface, std::span<const RegionPoint> corners);

// Takes the squares away (the system repaints what they covered); nothing
// when none are shown.
void hideHollowCorners();

// The surface that held the squares is gone (they went with it).
void forgetHollowCorners();

}  // namespace quorvin
