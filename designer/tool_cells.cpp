#include "designer/tool_cells.h"

#include <array>

namespace quorvin {

namespace {

constexpr std::array<ToolCellInfo, 9> kToolCells{{
    // "オブジェクトを選択します。"
    {ToolCode::Select, 1, 1, "Select.bmp",
     "\x83\x49\x83\x75\x83\x57\x83\x46\x83\x4e\x83\x67\x82\xf0\x91\x49\x91\xf0"
     "\x82\xb5\x82\xdc\x82\xb7\x81\x42"},
    // "ボタンを追加します。"
    {ToolCode::Button, 27, 1, "Button.bmp",
     "\x83\x7b\x83\x5e\x83\x93\x82\xf0\x92\xc7\x89\xc1\x82\xb5\x82\xdc\x82\xb7"
     "\x81\x42"},
    // "エディットボックスを追加します" (no closing full stop)
    {ToolCode::Edit, 53, 1, "EditBox.bmp",
     "\x83\x47\x83\x66\x83\x42\x83\x62\x83\x67\x83\x7b\x83\x62\x83\x4e\x83\x58"
     "\x82\xf0\x92\xc7\x89\xc1\x82\xb5\x82\xdc\x82\xb7"},
    // "スターチックを追加します。"
    {ToolCode::Static, 1, 53, "Static.bmp",
     "\x83\x58\x83\x5e\x81\x5b\x83\x60\x83\x62\x83\x4e\x82\xf0\x92\xc7\x89\xc1"
     "\x82\xb5\x82\xdc\x82\xb7\x81\x42"},
    // "リストボックスを追加します。"
    {ToolCode::ListBox, 1, 27, "ListBox.bmp",
     "\x83\x8a\x83\x58\x83\x67\x83\x7b\x83\x62\x83\x4e\x83\x58\x82\xf0\x92\xc7"
     "\x89\xc1\x82\xb5\x82\xdc\x82\xb7\x81\x42"},
    // "チェックボックスを追加します。"
    {ToolCode::CheckBox, 27, 27, "CheckBox.bmp",
     "\x83\x60\x83\x46\x83\x62\x83\x4e\x83\x7b\x83\x62\x83\x4e\x83\x58\x82\xf0"
     "\x92\xc7\x89\xc1\x82\xb5\x82\xdc\x82\xb7\x81\x42"},
    // "多角形ウィンドウ：ポイントを追加します。"
    {ToolCode::AddPoint, 53, 53, "Add_Point.bmp",
     "\x91\xbd\x8a\x70\x8c\x60\x83\x45\x83\x42\x83\x93\x83\x68\x83\x45\x81\x46"
     "\x83\x7c\x83\x43\x83\x93\x83\x67\x82\xf0\x92\xc7\x89\xc1\x82\xb5\x82\xdc"
     "\x82\xb7\x81\x42"},
    // "グループボックスを追加します。"
    {ToolCode::GroupBox, 27, 53, "GroupBox.bmp",
     "\x83\x4f\x83\x8b\x81\x5b\x83\x76\x83\x7b\x83\x62\x83\x4e\x83\x58\x82\xf0"
     "\x92\xc7\x89\xc1\x82\xb5\x82\xdc\x82\xb7\x81\x42"},
    // "ラジオボタンを追加します。"
    {ToolCode::RadioButton, 53, 27, "RadioButton.bmp",
     "\x83\x89\x83\x57\x83\x49\x83\x7b\x83\x5e\x83\x93\x82\xf0\x92\xc7\x89\xc1"
     "\x82\xb5\x82\xdc\x82\xb7\x81\x42"},
}};

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::int64_t kMaxSide = 4096;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

std::uint32_t readU32(std::string_view bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i)
    v |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
  return v;
}

std::uint16_t readU16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(
      static_cast<unsigned char>(bytes[at]) |
      (static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8));
}

}  // namespace

std::span<const ToolCellInfo> toolCellTable() { return kToolCells; }

std::int32_t cellIndexOfTool(ToolCode code) {
  for (std::size_t i = 0; i < kToolCells.size(); ++i)
    if (kToolCells[i].tool == code) return static_cast<std::int32_t>(i);
  return -1;
}

std::int32_t highlightedCellAfter(ToolCode code, std::int32_t current) {
  const std::int32_t cell = cellIndexOfTool(code);
  return cell >= 0 ? cell : current;
}

ToolCode currentToolAfter(ToolCode code, ToolCode current) {
  return code == ToolCode::Edit ? current : code;
}

std::optional<ToolBitmapLayout> checkToolBitmap(std::string_view file) {
  const std::uint64_t size = file.size();
  if (size < kFileHeaderSize + kInfoHeaderSize) return std::nullopt;
  if (file[0] != 'B') return std::nullopt;

  const std::uint64_t pixelsOffset = readU32(file, 10);   // bfOffBits
  const std::uint64_t infoSize = readU32(file, 14);       // biSize
  const std::int64_t width = static_cast<std::int32_t>(readU32(file, 18));
  const std::int64_t height = static_cast<std::int32_t>(readU32(file, 22));
  const std::uint16_t bitCount = readU16(file, 28);
  const std::uint32_t compression = readU32(file, 30);
  const std::uint64_t coloursUsed = readU32(file, 46);    // biClrUsed

  if (infoSize < kInfoHeaderSize || kFileHeaderSize + infoSize > size) return std::nullopt;
  if (bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    return std::nullopt;
  const bool bitfields = compression == kBiBitfields && (bitCount == 16 || bitCount == 32);
  if (compression != kBiRgb && !bitfields) return std::nullopt;
  if (width < 1 || width > kMaxSide) return std::nullopt;
  const std::int64_t rows = height < 0 ? -height : height;
  if (rows < 1 || rows > kMaxSide) return std::nullopt;

  // What the drawing call reads after the info header: the three masks of
  // BI_BITFIELDS (inside larger headers already), then the colour table.
  const std::uint64_t masks = (bitfields && infoSize == kInfoHeaderSize) ? 12 : 0;
  std::uint64_t colours = coloursUsed;
  if (bitCount <= 8) {
    const std::uint64_t full = std::uint64_t{1} << bitCount;
    if (colours > full) return std::nullopt;
    if (colours == 0) colours = full;
  } else if (colours > 256) {
    return std::nullopt;
  }
  if (kFileHeaderSize + infoSize + masks + 4 * colours > size) return std::nullopt;

  const std::uint64_t rowBytes = ((static_cast<std::uint64_t>(width) * bitCount + 31) / 32) * 4;
  const std::uint64_t pixelBytes = rowBytes * static_cast<std::uint64_t>(rows);
  if (pixelsOffset < kFileHeaderSize + kInfoHeaderSize) return std::nullopt;
  if (pixelsOffset > size || pixelBytes > size - pixelsOffset) return std::nullopt;

  ToolBitmapLayout layout;
  layout.pixelsOffset = static_cast<std::size_t>(pixelsOffset);
  layout.width = static_cast<std::int32_t>(width);
  layout.height = static_cast<std::int32_t>(rows);
  layout.bitCount = bitCount;
  return layout;
}

}  // namespace quorvin
