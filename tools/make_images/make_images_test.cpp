#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "common/file_io.h"
#include "tests/temp_dir.h"
#include "tools/make_images/pictures.h"
#include "tools/make_images/raster.h"

namespace quorvin::images {
namespace {

std::uint32_t le16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint8_t>(bytes.at(at)) |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes.at(at + 1))) << 8;
}

std::uint32_t le32(const std::string& bytes, std::size_t at) {
  return le16(bytes, at) | le16(bytes, at + 2) << 16;
}

// The pixel (x, y), y counted from the top, of a 24-bit bottom-up BMP.
Color bmpPixel(const std::string& bmp, int x, int y) {
  const auto width = static_cast<int>(le32(bmp, 18));
  const auto height = static_cast<int>(le32(bmp, 22));
  const int stride = ((width * 24 + 31) / 32) * 4;
  const std::size_t at = le32(bmp, 10) + static_cast<std::size_t>((height - 1 - y) * stride + x * 3);
  return {static_cast<std::uint8_t>(bmp.at(at + 2)), static_cast<std::uint8_t>(bmp.at(at + 1)),
          static_cast<std::uint8_t>(bmp.at(at))};
}

TEST(MakeImages, CommittedFilesAreWhatTheToolDraws) {
  // The committed pictures must always be reproducible from the code: draw
  // them into a fresh folder and compare byte for byte.
  TempDir dir;
  std::string error;
  ASSERT_TRUE(writeImageFiles(dir.path(), error)) << error;

  const std::filesystem::path committed = QUORVIN_RESOURCES_DIR;
  const auto files = makeImageFiles();
  ASSERT_EQ(files.size(), 10u);
  for (const ImageFile& file : files) {
    SCOPED_TRACE(file.relativePath);
    const auto drawn = readFileBytes(dir.path() / file.relativePath);
    const auto stored = readFileBytes(committed / file.relativePath);
    ASSERT_TRUE(drawn.has_value());
    ASSERT_TRUE(stored.has_value()) << "missing in resources/; run the regenerate_images target";
    EXPECT_TRUE(*drawn == *stored) << "differs from resources/; run the regenerate_images target";
  }
}

TEST(MakeImages, ToolBitmapsAre52By26TwentyFourBitBottomUp) {
  const char* const names[] = {"Select.bmp",   "Button.bmp",   "EditBox.bmp",
                               "Static.bmp",   "ListBox.bmp",  "CheckBox.bmp",
                               "RadioButton.bmp", "GroupBox.bmp", "Add_Point.bmp"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    const std::string bmp = encodeBmp24(drawToolBitmap(name));
    ASSERT_EQ(bmp.size(), 14u + 40u + 52u * 3u * 26u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(le32(bmp, 2), bmp.size());  // bfSize
    EXPECT_EQ(le32(bmp, 10), 54u);        // bfOffBits
    EXPECT_EQ(le32(bmp, 14), 40u);        // biSize
    EXPECT_EQ(le32(bmp, 18), 52u);        // biWidth
    EXPECT_EQ(le32(bmp, 22), 26u);        // biHeight > 0: bottom-up
    EXPECT_EQ(le16(bmp, 26), 1u);         // biPlanes
    EXPECT_EQ(le16(bmp, 28), 24u);        // biBitCount
    EXPECT_EQ(le32(bmp, 30), 0u);         // BI_RGB

    // Rows really are stored bottom-up: the cell at rest is lit from the
    // top left (white corner) and shaded at the bottom right (black).
    EXPECT_EQ(bmpPixel(bmp, 0, 0), (Color{255, 255, 255}));
    EXPECT_EQ(bmpPixel(bmp, 25, 25), (Color{0, 0, 0}));

    // The chosen look differs from the look at rest.
    bool differs = false;
    for (int y = 0; y < kCellPx && !differs; ++y) {
      for (int x = 0; x < kCellPx && !differs; ++x) {
        differs = !(bmpPixel(bmp, x, y) == bmpPixel(bmp, x + kCellPx, y));
      }
    }
    EXPECT_TRUE(differs);
  }
  EXPECT_THROW(drawToolBitmap("Missing.bmp"), std::invalid_argument);
}

TEST(MakeImages, BmpRowsArePaddedToFourBytes) {
  // 3 pixels of 3 bytes need 3 bytes of padding per row.
  Canvas canvas(3, 2, Color{1, 2, 3});
  canvas.set(0, 0, Color{10, 20, 30});  // top left
  const std::string bmp = encodeBmp24(canvas);
  ASSERT_EQ(bmp.size(), 54u + 2u * 12u);
  EXPECT_EQ(le32(bmp, 34), 24u);  // biSizeImage
  // The top row is stored last; its first pixel is B, G, R.
  EXPECT_EQ(bmp.substr(54 + 12, 3), std::string("\x1e\x14\x0a", 3));
  EXPECT_EQ(bmp.substr(54 + 9, 3), std::string(3, '\0'));
  EXPECT_EQ(bmpPixel(bmp, 2, 1), (Color{1, 2, 3}));
}

TEST(MakeImages, IconHoldsThirtyTwoAndSixteenPixelImagesWithMasks) {
  const std::string ico = encodeIco({drawIcon(32), drawIcon(16)});
  ASSERT_GE(ico.size(), 6u + 2u * 16u);
  EXPECT_EQ(le16(ico, 0), 0u);
  EXPECT_EQ(le16(ico, 2), 1u);  // icon, not cursor
  ASSERT_EQ(le16(ico, 4), 2u);

  const int sizes[] = {32, 16};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(sizes[i]);
    const std::size_t entry = 6 + 16 * static_cast<std::size_t>(i);
    const auto size = static_cast<std::uint32_t>(sizes[i]);
    EXPECT_EQ(static_cast<std::uint8_t>(ico[entry]), size);
    EXPECT_EQ(static_cast<std::uint8_t>(ico[entry + 1]), size);
    EXPECT_EQ(le16(ico, entry + 6), 32u);  // bits per pixel
    const std::uint32_t bytes = le32(ico, entry + 8);
    const std::uint32_t offset = le32(ico, entry + 12);
    const std::uint32_t colourBytes = size * size * 4;
    const std::uint32_t maskBytes = ((size + 31) / 32) * 4 * size;
    ASSERT_EQ(bytes, 40 + colourBytes + maskBytes);
    ASSERT_LE(offset + bytes, ico.size());
    EXPECT_EQ(le32(ico, offset), 40u);
    EXPECT_EQ(le32(ico, offset + 4), size);
    EXPECT_EQ(le32(ico, offset + 8), 2 * size);  // colour rows and mask rows

    // Top-left corner pixel: transparent, alpha 0 and its mask bit set. The
    // top row is the last colour row and the last mask row.
    const std::uint32_t topColourRow = offset + 40 + (size - 1) * size * 4;
    EXPECT_EQ(static_cast<std::uint8_t>(ico[topColourRow + 3]), 0u);
    const std::uint32_t topMaskRow = offset + 40 + colourBytes + (size - 1) * ((size + 31) / 32) * 4;
    EXPECT_TRUE(static_cast<std::uint8_t>(ico[topMaskRow]) & 0x80);
    // The middle of the picture is opaque and not masked.
    const std::uint32_t middleRow = size / 2;
    const std::uint32_t middle = offset + 40 + middleRow * size * 4 + (size / 2) * 4;
    EXPECT_EQ(static_cast<std::uint8_t>(ico[middle + 3]), 255u);
    const std::uint32_t middleMask =
        offset + 40 + colourBytes + middleRow * ((size + 31) / 32) * 4 + (size / 2) / 8;
    EXPECT_FALSE(static_cast<std::uint8_t>(ico[middleMask]) & (0x80 >> ((size / 2) % 8)));
  }
  EXPECT_THROW(drawIcon(48), std::invalid_argument);
}

}  // namespace
}  // namespace quorvin::images
