// Fuzz target: the check of a palette cell's bitmap file.
//
// Any bytes: when checkToolBitmap accepts them, its layout agrees with the
// file's own fields, and everything the drawing call reads (the info header
// with its masks and colour table, and every padded pixel row) lies inside
// the file. The ranges are recomputed here from the file's fields and every
// byte of them is read, so that AddressSanitizer also sees a read past the
// end of the exactly sized input.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "designer/tool_cells.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

std::uint64_t u32At(const std::uint8_t* data, std::size_t at) {
  return std::uint64_t{data[at]} | std::uint64_t{data[at + 1]} << 8 |
         std::uint64_t{data[at + 2]} << 16 | std::uint64_t{data[at + 3]} << 24;
}

// Reads every byte of [begin, end) after checking that it lies in the input.
unsigned touch(const std::uint8_t* data, std::size_t size, std::uint64_t begin,
               std::uint64_t end) {
  FUZZ_CHECK(begin <= end && end <= size);
  unsigned sum = 0;
  for (std::uint64_t i = begin; i < end; ++i) sum += data[i];
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const std::optional<quorvin::ToolBitmapLayout> layout = quorvin::checkToolBitmap(file);
  if (!layout) return 0;

  FUZZ_CHECK(size >= 54 && data[0] == 'B');
  FUZZ_CHECK(layout->headerOffset == 14);
  FUZZ_CHECK(layout->pixelsOffset == u32At(data, 10));
  FUZZ_CHECK(static_cast<std::uint32_t>(layout->width) == u32At(data, 18));
  const auto fileHeight = static_cast<std::int32_t>(u32At(data, 22));
  FUZZ_CHECK(layout->height == (fileHeight < 0 ? -static_cast<std::int64_t>(fileHeight)
                                               : fileHeight));
  FUZZ_CHECK(layout->bitCount == (data[28] | data[29] << 8));
  FUZZ_CHECK(layout->bitCount >= 4);
  FUZZ_CHECK(layout->width >= 1 && layout->height >= 1);
  FUZZ_CHECK(layout->halfWidth() >= 0 && layout->halfWidth() <= layout->width);

  // The BITMAPINFO handed to the drawing: the header as long as it says,
  // BI_BITFIELDS masks behind a 40-byte header, then the colour table.
  const std::uint64_t infoSize = u32At(data, 14);
  const std::uint64_t compression = u32At(data, 30);
  const std::uint64_t masks = compression == 3 && infoSize == 40 ? 12 : 0;
  std::uint64_t colours = u32At(data, 46);
  if (colours == 0 && layout->bitCount <= 8) colours = std::uint64_t{1} << layout->bitCount;
  const std::uint64_t infoEnd = layout->headerOffset + infoSize + masks + 4 * colours;
  volatile unsigned sink = touch(data, size, layout->headerOffset, infoEnd);

  // Every row of both halves, rows padded to four bytes.
  const std::uint64_t rowBytes =
      (static_cast<std::uint64_t>(layout->width) * layout->bitCount + 31) / 32 * 4;
  const std::uint64_t pixelsEnd =
      layout->pixelsOffset + rowBytes * static_cast<std::uint64_t>(layout->height);
  sink = sink + touch(data, size, layout->pixelsOffset, pixelsEnd);
  (void)sink;
  return 0;
}
