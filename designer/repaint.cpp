#include "designer/repaint.h"

#include <cstring>

#include "common/win32/gdi.h"
#include "common/win32/window_idioms.h"
#include "designer/geometry.h"
#include "designer/sizing.h"

namespace quorvin {

namespace {

constexpr UINT kRepaintAll = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;

// The places covered during the present move; null between moves.
UniqueRegion moveTrail;
// Where the move began, and whether the control has been anywhere else
// since: a press and release without a move (a click) leaves nothing to
// repaint.
RECT moveTrailStart{};
bool moveTrailLeftStart = false;

// The control's rectangle with room for the handles centred on its corners.
RECT withHandles(const DesignObject& object) {
  constexpr int half = kSizeHandleSize / 2;
  return {object.x - half, object.y - half, object.x + object.width + half,
          object.y + object.height + half};
}

void addRect(HRGN region, const RECT& rect) {
  const UniqueRegion piece(CreateRectRgnIndirect(&rect));
  if (piece) CombineRgn(region, region, piece.get(), RGN_OR);
}

}  // namespace

void startMoveTrail(const DesignObject& object) {
  moveTrailStart = withHandles(object);
  moveTrailLeftStart = false;
  moveTrail.reset(CreateRectRgnIndirect(&moveTrailStart));
}

void widenMoveTrail(const DesignObject& object) {
  if (!moveTrail) return;
  const RECT place = withHandles(object);
  if (EqualRect(&place, &moveTrailStart) == FALSE) moveTrailLeftStart = true;
  addRect(moveTrail.get(), place);
}

void repaintMoveTrail(HWND surface) {
  if (surface != nullptr && (!moveTrail || moveTrailLeftStart))
    RedrawWindow(surface, nullptr, moveTrail.get(), RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  moveTrail.reset();
}

UniqueRegion regionOfRects(std::span<const RECT> rects) {
  if (rects.empty()) return UniqueRegion();
  std::vector<BYTE> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* const header = reinterpret_cast<RGNDATA*>(data.data());
  header->rdh.dwSize = sizeof(RGNDATAHEADER);
  header->rdh.iType = RDH_RECTANGLES;
  header->rdh.nCount = static_cast<DWORD>(rects.size());
  header->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  RECT bounds = rects.front();
  for (const RECT& rect : rects) UnionRect(&bounds, &bounds, &rect);
  header->rdh.rcBound = bounds;
  std::memcpy(header->Buffer, rects.data(), rects.size() * sizeof(RECT));
  return UniqueRegion(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), header));
}

void hideChildrenAtOnce(HWND parent, const std::vector<HWND>& children) {
  UniqueRegion covered(CreateRectRgn(0, 0, 0, 0));
  bool hidden = false;
  for (const HWND child : children) {
    if (!IsWindowVisible(child)) continue;
    if (covered) addRect(covered.get(), rectInParent(child));
    SetWindowPos(child, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                     SWP_NOACTIVATE);
    hidden = true;
  }
  if (hidden) RedrawWindow(parent, nullptr, covered.get(), kRepaintAll);
}

RegionReplaced replaceWindowRegion(HWND window, HRGN region) {
  const auto whole = [&] {
    return SetWindowRgn(window, region, TRUE) != 0 ? RegionReplaced::WindowRedrawn
                                                   : RegionReplaced::Refused;
  };
  UniqueRegion old(CreateRectRgn(0, 0, 0, 0));
  UniqueRegion changed(CreateRectRgn(0, 0, 0, 0));
  if (!old || !changed || !IsWindowVisible(window) || GetWindowRgn(window, old.get()) == ERROR ||
      CombineRgn(changed.get(), old.get(), region, RGN_XOR) == ERROR)
    return whole();
  if (SetWindowRgn(window, region, FALSE) == 0) return RegionReplaced::Refused;
  // Inside both shapes nothing changed; what one of them holds and the
  // other does not is the window's to paint or the parent's, children of
  // both included.
  const RECT frame = rectInParent(window);
  OffsetRgn(changed.get(), frame.left, frame.top);
  RedrawWindow(GetParent(window), nullptr, changed.get(), kRepaintAll);
  return RegionReplaced::ChangesRepainted;
}

bool resizeRepaintingChanges(HWND window, int x, int y, int width, int height) {
  const RECT before = rectInParent(window);
  RECT clientBefore{};
  GetClientRect(window, &clientBefore);
  if (before.left != x || before.top != y || !IsWindowVisible(window)) {
    MoveWindow(window, x, y, width, height, TRUE);
    return false;
  }
  if (before.right - before.left == width && before.bottom - before.top == height) return true;
  SetWindowPos(window, nullptr, x, y, width, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  const RECT after = rectInParent(window);
  RECT clientAfter{};
  GetClientRect(window, &clientAfter);
  // The client area keeps its origin: what it gained is new, and what lay
  // under its old frame; the frame is drawn anew.
  UniqueRegion gained(CreateRectRgnIndirect(&clientAfter));
  const UniqueRegion kept(CreateRectRgnIndirect(&clientBefore));
  if (gained && kept) CombineRgn(gained.get(), gained.get(), kept.get(), RGN_DIFF);
  RedrawWindow(window, nullptr, gained.get(), RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  // The frame: the window's rectangle outside its client area, in client
  // coordinates (the frame's are negative to the left and above).
  POINT origin{0, 0};
  MapWindowPoints(window, GetParent(window), &origin, 1);
  const RECT outer{after.left - origin.x, after.top - origin.y, after.right - origin.x,
                   after.bottom - origin.y};
  UniqueRegion frame(CreateRectRgnIndirect(&outer));
  const UniqueRegion client(CreateRectRgnIndirect(&clientAfter));
  if (frame && client) CombineRgn(frame.get(), frame.get(), client.get(), RGN_DIFF);
  RedrawWindow(window, nullptr, frame.get(), RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
  // What the window no longer covers is the parent's, and its other
  // children's.
  UniqueRegion uncovered(CreateRectRgnIndirect(&before));
  const UniqueRegion covered(CreateRectRgnIndirect(&after));
  if (uncovered && covered &&
      CombineRgn(uncovered.get(), uncovered.get(), covered.get(), RGN_DIFF) != NULLREGION)
    RedrawWindow(GetParent(window), nullptr, uncovered.get(), kRepaintAll);
  return true;
}

}  // namespace quorvin
