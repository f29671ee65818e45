#pragma once
// A tiny raster toolkit for drawing the tool pictures and the program icon
// pixel by pixel: a canvas with clipped primitives, a small pixel font, and
// encoders for 24-bit BMP files and ICO files. Deterministic by design: the
// same drawing always gives the same bytes, so the committed pictures can be
// checked against a fresh drawing.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace quorvin::images {

struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 255;  // 0 = transparent (only the icon uses it)

  friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kTransparent{0, 0, 0, 0};

// One entry of a sprite's palette: the character in the sprite rows and the
// colour it stands for. Characters not in the palette (and ' ') are skipped.
struct PaletteEntry {
  char key;
  Color color;
};

// A rectangle of pixels, row 0 at the top. Every drawing call clips to the
// canvas, so pictures may be drawn partly outside without harm.
class Canvas {
 public:
  // A canvas of width x height pixels, all `fill`. Sizes must be positive.
  Canvas(int widthPx, int heightPx, Color fill);

  int width() const { return width_; }
  int height() const { return height_; }

  // The pixel at (x, y); (x, y) must lie on the canvas.
  Color at(int x, int y) const;
  void set(int x, int y, Color color);

  void fillRect(int x, int y, int widthPx, int heightPx, Color color);
  // A one-pixel outline of the rectangle.
  void frameRect(int x, int y, int widthPx, int heightPx, Color color);
  // Both end points included.
  void line(int x0, int y0, int x1, int y1, Color color);

  // Draws rows of characters with their top-left corner at (x, y): each
  // character is looked up in `palette` and drawn as one pixel.
  void sprite(int x, int y, std::initializer_list<std::string_view> rows,
              std::initializer_list<PaletteEntry> palette);

  // Draws `text` with the built-in pixel font (glyphs 7 pixels high, one
  // pixel apart), top-left corner at (x, y). Returns the width drawn.
  // Characters without a glyph are drawn as nothing.
  int text(int x, int y, std::string_view text, Color color);
  // The width that text() would draw, without drawing.
  static int textWidth(std::string_view text);

  // Copies `source` with its top-left corner at (x, y); transparent source
  // pixels leave the canvas as it was.
  void paste(int x, int y, const Canvas& source);

 private:
  int width_;
  int height_;
  std::vector<Color> pixels_;  // row-major, top row first
};

// A Windows BMP file: BITMAPFILEHEADER, BITMAPINFOHEADER (40 bytes, no
// compression, no colour table), 24 bits per pixel, rows bottom-up, each row
// padded to a multiple of 4 bytes. Alpha is ignored.
std::string encodeBmp24(const Canvas& canvas);

// A Windows ICO file with one 32-bit image per canvas (each at most 256 x 256
// pixels), in the order given: BGRA colour rows bottom-up followed by the
// 1-bit AND mask, whose bit is set where the pixel is fully transparent.
std::string encodeIco(const std::vector<Canvas>& images);

}  // namespace quorvin::images
