#pragma once
// The rules of the style dialog and of the edit-variant dialog, apart from
// their windows: where the check boxes go, how the dialog grows with the kind
// of control, what a click on a box does to the style, which description the
// box under the mouse shows, and which tool each edit-variant choice sets.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/model.h"
#include "designer/geometry.h"
#include "styles/style_tables.h"

namespace quorvin {

// Check box ids: 2201 + row of WindowStyleTable, 2207 + row of the kind's
// table (the same numbers as in resources/resource.h).
constexpr int kFirstWindowStyleBoxId = 2201;
constexpr int kFirstKindStyleBoxId = 2207;

// The style and size of every check box the dialog makes (WS_CHILD |
// WS_VISIBLE | BS_VCENTER | BS_AUTOCHECKBOX).
constexpr std::uint32_t kStyleBoxStyle = 0x50000C03;

// The sample control, in the client area of the "Sample" group box.
constexpr PixelRect kStyleSampleRect{25, 25, 50, 50};

// The window-style box of `row` (0..5): 100 x 15 pixels, three to a line,
// at x 1, 111, 221 and y 10, 29. Dialog client coordinates.
PixelRect windowStyleBoxRect(int row);

// The per-kind box of `row`: 130 x 15 pixels, column row mod 3, line
// row div 3, y = 60 + 19 x line, x = 1 + 140 x column, or 1 + 220 x column
// for a list box (whose names are longer).
PixelRect kindStyleBoxRect(ObjectKind kind, int row);

// How much the dialog grows for a kind, and how far OK and CANCEL move right
// and down with it: a button 50 taller, a list box 215 wider and 50 taller,
// any other kind not at all.
struct DialogGrowth {
  std::int32_t wider = 0;
  std::int32_t taller = 0;
  friend bool operator==(const DialogGrowth&, const DialogGrowth&) = default;
};
DialogGrowth styleDialogGrowth(ObjectKind kind);

// A client rectangle as the platform reports it.
struct EdgeRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// The "Sample" group box and the description area, placed from the dialog's
// client rectangle after the growth: the group box 100 x 100 at (left + 5,
// bottom - 150), the description at (left + 115, bottom - 150), as wide as
// the client less 125 (never below 0) and 100 high.
PixelRect sampleFrameRect(const EdgeRect& client);
PixelRect descriptionRect(const EdgeRect& client);

// Per-kind boxes checked when the dialog opens: one flag per row of `table`,
// true for the rows that DecomposeStyle finds in `style`.
std::vector<bool> initialKindChecks(StyleTable table, std::uint32_t style);

// A click on window-style box `row` that has just become `checked`: the row's
// bits are added, or cleared when unchecked. A row outside the table leaves
// the style as it is.
std::uint32_t windowStyleClick(std::uint32_t style, int row, bool checked);

// A click on per-kind box `row` of `table` that has just become `checked`:
// checked adds the row's bits and nothing else (other boxes keep their
// marks); unchecked rebuilds the style from the boxes alone with
// ComposeStyle(table, kindChecks, windowChecks), which drops bits that no
// box shows (WS_TABSTOP, WS_GROUP, unnamed bits) and always adds WS_CHILD.
// A row outside the table, or a rebuilt style of 0, leaves the style as it
// is. kindChecks and windowChecks are the boxes' states after the click.
std::uint32_t kindStyleClick(StyleTable table, std::uint32_t style, int row,
                             bool checked, const std::vector<bool>& kindChecks,
                             const std::array<bool, 6>& windowChecks);

// The description shown while the mouse is over the box with `controlId`:
// a window-style row for 2201..2206, a row of `kindTable` for 2207 + row, and
// null for any other id (the text area then keeps what it shows). CP932.
const char* styleBoxDescription(StyleTable kindTable, int controlId);

// The tool that a radio button of the edit-variant dialog chooses: 1005
// NORMAL -> Edit, 1004 MULTILINE -> EditM, 1006 VSCROLL -> EditMV, 1007
// HSCROLL -> EditMH, 1008 VHSCROLL -> EditMVH; nothing for any other id.
std::optional<ToolCode> editVariantTool(int radioId);

}  // namespace quorvin
