#include "designer/tool_cells.h"

#include <gtest/gtest.h>

#include <string>

#include "common/cp932.h"

namespace quorvin {
namespace {

TEST(ToolCells, ToolCodeToCell) {
  struct Case {
    std::int32_t code;
    std::int32_t cell;
  };
  const Case cases[] = {{1000, 0}, {1010, 1}, {1030, 2}, {1060, 3}, {1070, 4},
                        {1080, 5}, {1100, 6}, {1110, 7}, {1120, 8},
                        // Edit variants, interaction modes and strangers: no cell.
                        {1041, -1}, {1050, -1}, {5000, -1}, {10000, -1}, {0, -1}, {1090, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const auto code = static_cast<ToolCode>(c.code);
    EXPECT_EQ(cellIndexOfTool(code), c.cell);
    EXPECT_EQ(highlightedCellAfter(code, 4), c.cell >= 0 ? c.cell : 4);
  }
  // The Edit cell keeps the variant chosen in its dialog; all others set it.
  EXPECT_EQ(currentToolAfter(ToolCode::Edit, ToolCode::EditMH), ToolCode::EditMH);
  EXPECT_EQ(currentToolAfter(ToolCode::Select, ToolCode::EditMH), ToolCode::Select);
  EXPECT_EQ(currentToolAfter(ToolCode::AddPoint, ToolCode::Select), ToolCode::AddPoint);
}

TEST(ToolCells, TableHoldsPlacesFilesAndHints) {
  struct Row {
    ToolCode tool;
    std::int32_t x, y;
    const char* file;
    const char* hintUtf8;
  };
  const Row rows[] = {
      {ToolCode::Select, 1, 1, "Select.bmp", "オブジェクトを選択します。"},
      {ToolCode::Button, 27, 1, "Button.bmp", "ボタンを追加します。"},
      {ToolCode::Edit, 53, 1, "EditBox.bmp", "エディットボックスを追加します"},
      {ToolCode::Static, 1, 53, "Static.bmp", "スターチックを追加します。"},
      {ToolCode::ListBox, 1, 27, "ListBox.bmp", "リストボックスを追加します。"},
      {ToolCode::CheckBox, 27, 27, "CheckBox.bmp", "チェックボックスを追加します。"},
      {ToolCode::AddPoint, 53, 53, "Add_Point.bmp", "多角形ウィンドウ：ポイントを追加します。"},
      {ToolCode::GroupBox, 27, 53, "GroupBox.bmp", "グループボックスを追加します。"},
      {ToolCode::RadioButton, 53, 27, "RadioButton.bmp", "ラジオボタンを追加します。"},
  };
  const auto table = toolCellTable();
  ASSERT_EQ(table.size(), std::size(rows));
  for (std::size_t i = 0; i < table.size(); ++i) {
    SCOPED_TRACE(rows[i].file);
    EXPECT_EQ(table[i].tool, rows[i].tool);
    EXPECT_EQ(table[i].x, rows[i].x);
    EXPECT_EQ(table[i].y, rows[i].y);
    EXPECT_STREQ(table[i].bitmapFile, rows[i].file);
    EXPECT_EQ(std::string(table[i].hint), utf8ToCp932(rows[i].hintUtf8));
  }
}

void put32(std::string& f, std::size_t at, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i) f[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A bottom-up BI_RGB bitmap file with a full colour table for <= 8 bpp.
std::string bitmapFile(std::int32_t width, std::int32_t height, std::uint16_t bits) {
  const std::uint32_t colours = bits <= 8 ? (1u << bits) : 0;
  const std::uint32_t offBits = 14 + 40 + 4 * colours;
  const std::uint32_t rowBytes = ((static_cast<std::uint32_t>(width) * bits + 31) / 32) * 4;
  const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
  std::string f(offBits + rowBytes * rows, '\0');
  f[0] = 'B';
  f[1] = 'M';
  put32(f, 2, static_cast<std::uint32_t>(f.size()));
  put32(f, 10, offBits);
  put32(f, 14, 40);
  put32(f, 18, static_cast<std::uint32_t>(width));
  put32(f, 22, static_cast<std::uint32_t>(height));
  f[26] = 1;  // planes
  f[28] = static_cast<char>(bits);
  return f;
}

TEST(ToolBitmap, AcceptsFourBitsAndMore) {
  for (std::uint16_t bits : {4, 8, 16, 24, 32}) {
    SCOPED_TRACE(bits);
    const std::string f = bitmapFile(52, 26, bits);
    const auto layout = checkToolBitmap(f);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->headerOffset, 14u);
    EXPECT_EQ(layout->pixelsOffset, bits <= 8 ? 54u + 4u * (1u << bits) : 54u);
    EXPECT_EQ(layout->width, 52);
    EXPECT_EQ(layout->height, 26);
    EXPECT_EQ(layout->halfWidth(), 26);
    EXPECT_EQ(layout->bitCount, bits);
  }
  // Top-down rows (negative height) are drawn as |height| rows.
  const auto topDown = checkToolBitmap(bitmapFile(52, -26, 24));
  ASSERT_TRUE(topDown);
  EXPECT_EQ(topDown->height, 26);
  // An odd width: rows are padded to 4 bytes (3 pixels at 24 bits = 12 bytes).
  EXPECT_TRUE(checkToolBitmap(bitmapFile(3, 2, 24)));
}

TEST(ToolBitmap, RefusesWhatCannotBeDrawnSafely) {
  struct Case {
    const char* what;
    std::string file;
  };
  std::vector<Case> cases;
  cases.push_back({"1 bpp", bitmapFile(52, 26, 1)});
  cases.push_back({"2 bpp", bitmapFile(52, 26, 2)});
  {
    std::string f = bitmapFile(52, 26, 24);
    f[0] = 'X';
    cases.push_back({"not B", f});
  }
  cases.push_back({"empty", ""});
  cases.push_back({"file header only", bitmapFile(52, 26, 24).substr(0, 14)});
  cases.push_back({"info header cut", bitmapFile(52, 26, 24).substr(0, 53)});
  {
    std::string f = bitmapFile(52, 26, 24);
    f.pop_back();  // last pixel byte missing
    cases.push_back({"pixels truncated", f});
  }
  {
    std::string f = bitmapFile(52, 26, 24);
    put32(f, 10, static_cast<std::uint32_t>(f.size()));  // pixels start at the end
    cases.push_back({"offset at end", f});
  }
  {
    std::string f = bitmapFile(52, 26, 24);
    put32(f, 10, 0xFFFFFFF0u);
    cases.push_back({"offset far outside", f});
  }
  {
    std::string f = bitmapFile(52, 26, 24);
    put32(f, 10, 0);
    cases.push_back({"offset inside the headers", f});
  }
  {
    std::string f = bitmapFile(52, 26, 24);
    put32(f, 14, 0xFFFFFFFFu);
    cases.push_back({"header size outside", f});
  }
  {
    std::string f = bitmapFile(52, 26, 24);
    put32(f, 14, 12);  // an old core header is too small for the drawing
    cases.push_back({"header size small", f});
  }
  {
    std::string f = bitmapFile(52, 26, 24);
    put32(f, 18, 100000);
    put32(f, 22, 100000);  // 100000 x 100000 x 3 bytes claimed
    cases.push_back({"huge dimensions", f});
  }
  {
    std::string f = bitmapFile(52, 26, 32);
    put32(f, 18, 0x40000000u);  // rows * width * 4 would overflow 32 bits
    put32(f, 22, 4);
    cases.push_back({"overflowing width", f});
  }
  {
    std::string f = bitmapFile(52, 26, 24);
    put32(f, 18, static_cast<std::uint32_t>(-52));
    cases.push_back({"negative width", f});
  }
  {
    std::string f = bitmapFile(52, 26, 24);
    put32(f, 22, 0);
    cases.push_back({"zero height", f});
  }
  {
    std::string f = bitmapFile(5000, 1, 24);
    cases.push_back({"wider than 4096", f});
  }
  {
    std::string f = bitmapFile(52, 26, 8);
    put32(f, 46, 300);  // more colours than 8 bits can index
    cases.push_back({"colour count too large", f});
  }
  {
    // A colour table that runs past the end of a file too short to hold it.
    std::string f = bitmapFile(2, 1, 8);
    f.resize(14 + 40 + 100);
    put32(f, 10, 14 + 40);
    cases.push_back({"colour table outside", f});
  }
  {
    std::string f = bitmapFile(52, 26, 8);
    put32(f, 30, 1);  // BI_RLE8: compressed length cannot be checked
    cases.push_back({"compressed", f});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(checkToolBitmap(c.file));
  }
}

TEST(ToolBitmap, BitfieldsOnlyAtSixteenAndThirtyTwoBits) {
  std::string f = bitmapFile(4, 4, 16);
  put32(f, 30, 3);  // BI_BITFIELDS: three masks follow the 40-byte header
  put32(f, 10, 14 + 40 + 12);
  f.resize(14 + 40 + 12 + 8 * 4);
  EXPECT_TRUE(checkToolBitmap(f));
  std::string eight = bitmapFile(4, 4, 8);
  put32(eight, 30, 3);
  EXPECT_FALSE(checkToolBitmap(eight));
}

}  // namespace
}  // namespace quorvin
