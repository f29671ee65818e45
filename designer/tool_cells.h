#pragma once
// The nine tool cells of the palette: their table (tool, place, bitmap file,
// status-line hint), which cell a tool code highlights, and the check that a
// cell's bitmap file can be drawn without reading outside it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "app/model.h"

namespace quorvin {

constexpr std::int32_t kToolCellSize = 26;  // pixels, square

struct ToolCellInfo {
  ToolCode tool;           // also the cell's control id
  std::int32_t x;          // palette client coordinates
  std::int32_t y;
  const char* bitmapFile;  // bare file name, see app/file_folders.h for where
  const char* hint;        // status-line text, CP932
};

// The nine cells in cell order (Select, Button, Edit, Static, ListBox,
// CheckBox, AddPoint, GroupBox, RadioButton), which is also the order in
// which their bitmaps are loaded.
std::span<const ToolCellInfo> toolCellTable();

// The cell of a tool code (1000 -> 0, 1010 -> 1, 1030 -> 2, 1060 -> 3,
// 1070 -> 4, 1080 -> 5, 1100 -> 6, 1110 -> 7, 1120 -> 8), -1 for any other.
std::int32_t cellIndexOfTool(ToolCode code);

// The highlighted cell after selecting `code`: its cell, or `current` when
// the code has none.
std::int32_t highlightedCellAfter(ToolCode code, std::int32_t current);

// The current tool after selecting `code`: the code itself, except for the
// Edit cell, whose variant the edit-variant dialog has already chosen.
ToolCode currentToolAfter(ToolCode code, ToolCode current);

// Where the drawing finds what it needs in a bitmap file that passed the
// check. Offsets are from the start of the file.
struct ToolBitmapLayout {
  std::size_t headerOffset = 14;  // the BITMAPINFOHEADER, colour table after it
  std::size_t pixelsOffset = 0;   // bfOffBits
  std::int32_t width = 0;         // biWidth, 1..4096
  std::int32_t height = 0;        // |biHeight|, 1..4096
  std::uint16_t bitCount = 0;     // 4, 8, 16, 24 or 32
  // Each look is half the bitmap: the normal look at x 0, the chosen one
  // at x halfWidth().
  std::int32_t halfWidth() const { return width / 2; }
  friend bool operator==(const ToolBitmapLayout&, const ToolBitmapLayout&) = default;
};

// Accepts a whole bitmap file only when the drawing can use it safely:
// byte 0 is 'B'; the file holds the 14-byte file header and a 40-byte (or
// larger) info header; biBitCount is 4, 8, 16, 24 or 32; the pixels are
// uncompressed (BI_RGB, or BI_BITFIELDS at 16 or 32 bits with its three masks
// inside the file); width 1..4096 and |height| 1..4096; the colour table lies
// inside the file; and bfOffBits plus the padded rows of pixel data end
// inside the file. Anything else is refused like a missing file.
std::optional<ToolBitmapLayout> checkToolBitmap(std::string_view file);

}  // namespace quorvin
