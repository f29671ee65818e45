#include "tools/make_images/raster.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace quorvin::images {
namespace {

// The pixel font: 7 rows per glyph, 'X' marks a pixel. Only the letters the
// pictures use; capitals 5 wide, small letters 4 wide.
struct Glyph {
  char ch;
  const char* rows[7];
};

constexpr Glyph kGlyphs[] = {
    {'A', {".XXX.", "X...X", "X...X", "XXXXX", "X...X", "X...X", "X...X"}},
    {'K', {"X...X", "X..X.", "X.X..", "XX...", "X.X..", "X..X.", "X...X"}},
    {'O', {".XXX.", "X...X", "X...X", "X...X", "X...X", "X...X", ".XXX."}},
    {'a', {"....", "....", ".XX.", "...X", ".XXX", "X..X", ".XXX"}},
    {'b', {"X...", "X...", "XXX.", "X..X", "X..X", "X..X", "XXX."}},
    {'c', {"....", "....", ".XXX", "X...", "X...", "X...", ".XXX"}},
};

const Glyph* findGlyph(char ch) {
  for (const Glyph& glyph : kGlyphs) {
    if (glyph.ch == ch) return &glyph;
  }
  return nullptr;
}

int glyphWidth(const Glyph& glyph) {
  return static_cast<int>(std::string_view(glyph.rows[0]).size());
}

void putLe16(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void putLe32(std::string& out, std::uint32_t value) {
  putLe16(out, value & 0xFFFF);
  putLe16(out, value >> 16);
}

// BITMAPINFOHEADER without colour table; `heightRows` as stored (an icon
// stores twice the picture height: colour rows and mask rows).
void putInfoHeader(std::string& out, int widthPx, int heightRows, int bitsPerPixel,
                   std::uint32_t imageBytes) {
  putLe32(out, 40);  // biSize
  putLe32(out, static_cast<std::uint32_t>(widthPx));
  putLe32(out, static_cast<std::uint32_t>(heightRows));
  putLe16(out, 1);  // biPlanes
  putLe16(out, static_cast<std::uint32_t>(bitsPerPixel));
  putLe32(out, 0);  // biCompression = BI_RGB
  putLe32(out, imageBytes);
  putLe32(out, 2835);  // 72 dpi, in pixels per metre
  putLe32(out, 2835);
  putLe32(out, 0);  // biClrUsed
  putLe32(out, 0);  // biClrImportant
}

// Bytes of one row of `bits`-per-pixel pixels padded to 4 bytes.
int rowStride(int widthPx, int bits) { return ((widthPx * bits + 31) / 32) * 4; }

}  // namespace

Canvas::Canvas(int widthPx, int heightPx, Color fill)
    : width_(widthPx), height_(heightPx) {
  if (widthPx <= 0 || heightPx <= 0) throw std::invalid_argument("empty canvas");
  pixels_.assign(static_cast<std::size_t>(widthPx) * static_cast<std::size_t>(heightPx), fill);
}

Color Canvas::at(int x, int y) const {
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
}

void Canvas::set(int x, int y, Color color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
          static_cast<std::size_t>(x)] = color;
}

void Canvas::fillRect(int x, int y, int widthPx, int heightPx, Color color) {
  for (int row = std::max(y, 0); row < std::min(y + heightPx, height_); ++row) {
    for (int col = std::max(x, 0); col < std::min(x + widthPx, width_); ++col) {
      set(col, row, color);
    }
  }
}

void Canvas::frameRect(int x, int y, int widthPx, int heightPx, Color color) {
  if (widthPx <= 0 || heightPx <= 0) return;
  line(x, y, x + widthPx - 1, y, color);
  line(x, y + heightPx - 1, x + widthPx - 1, y + heightPx - 1, color);
  line(x, y, x, y + heightPx - 1, color);
  line(x + widthPx - 1, y, x + widthPx - 1, y + heightPx - 1, color);
}

void Canvas::line(int x0, int y0, int x1, int y1, Color color) {
  // Bresenham: integer steps only, so the result never depends on the
  // floating-point unit of the machine that draws.
  const int dx = std::abs(x1 - x0);
  const int dy = -std::abs(y1 - y0);
  const int stepX = x0 < x1 ? 1 : -1;
  const int stepY = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    set(x0, y0, color);
    if (x0 == x1 && y0 == y1) break;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += stepX;
    }
    if (twice <= dx) {
      error += dx;
      y0 += stepY;
    }
  }
}

void Canvas::sprite(int x, int y, std::initializer_list<std::string_view> rows,
                    std::initializer_list<PaletteEntry> palette) {
  int row = 0;
  for (std::string_view line : rows) {
    for (std::size_t col = 0; col < line.size(); ++col) {
      for (const PaletteEntry& entry : palette) {
        if (entry.key == line[col]) {
          set(x + static_cast<int>(col), y + row, entry.color);
          break;
        }
      }
    }
    ++row;
  }
}

int Canvas::text(int x, int y, std::string_view text, Color color) {
  int penX = x;
  for (char ch : text) {
    const Glyph* glyph = findGlyph(ch);
    if (glyph == nullptr) continue;
    for (int row = 0; row < 7; ++row) {
      const std::string_view line = glyph->rows[row];
      for (std::size_t col = 0; col < line.size(); ++col) {
        if (line[col] == 'X') set(penX + static_cast<int>(col), y + row, color);
      }
    }
    penX += glyphWidth(*glyph) + 1;
  }
  return textWidth(text);
}

int Canvas::textWidth(std::string_view text) {
  int width = 0;
  for (char ch : text) {
    const Glyph* glyph = findGlyph(ch);
    if (glyph == nullptr) continue;
    width += (width > 0 ? 1 : 0) + glyphWidth(*glyph);
  }
  return width;
}

void Canvas::paste(int x, int y, const Canvas& source) {
  for (int row = 0; row < source.height(); ++row) {
    for (int col = 0; col < source.width(); ++col) {
      const Color pixel = source.at(col, row);
      if (pixel.a != 0) set(x + col, y + row, pixel);
    }
  }
}

std::string encodeBmp24(const Canvas& canvas) {
  const int stride = rowStride(canvas.width(), 24);
  const auto imageBytes = static_cast<std::uint32_t>(stride * canvas.height());
  constexpr std::uint32_t kHeadersBytes = 14 + 40;

  std::string out;
  out.reserve(kHeadersBytes + imageBytes);
  out += "BM";
  putLe32(out, kHeadersBytes + imageBytes);  // bfSize
  putLe32(out, 0);                           // bfReserved1, bfReserved2
  putLe32(out, kHeadersBytes);               // bfOffBits
  putInfoHeader(out, canvas.width(), canvas.height(), 24, imageBytes);
  for (int y = canvas.height() - 1; y >= 0; --y) {
    const std::size_t rowStart = out.size();
    for (int x = 0; x < canvas.width(); ++x) {
      const Color pixel = canvas.at(x, y);
      out.push_back(static_cast<char>(pixel.b));
      out.push_back(static_cast<char>(pixel.g));
      out.push_back(static_cast<char>(pixel.r));
    }
    out.resize(rowStart + static_cast<std::size_t>(stride), '\0');
  }
  return out;
}

std::string encodeIco(const std::vector<Canvas>& images) {
  constexpr std::uint32_t kDirectoryBytes = 6;
  constexpr std::uint32_t kEntryBytes = 16;

  std::vector<std::string> bodies;
  for (const Canvas& image : images) {
    if (image.width() > 256 || image.height() > 256) {
      throw std::invalid_argument("icon image larger than 256 pixels");
    }
    const int colourStride = rowStride(image.width(), 32);
    const int maskStride = rowStride(image.width(), 1);
    const auto imageBytes =
        static_cast<std::uint32_t>((colourStride + maskStride) * image.height());

    std::string body;
    putInfoHeader(body, image.width(), 2 * image.height(), 32, imageBytes);
    for (int y = image.height() - 1; y >= 0; --y) {
      for (int x = 0; x < image.width(); ++x) {
        const Color pixel = image.at(x, y);
        body.push_back(static_cast<char>(pixel.b));
        body.push_back(static_cast<char>(pixel.g));
        body.push_back(static_cast<char>(pixel.r));
        body.push_back(static_cast<char>(pixel.a));
      }
    }
    for (int y = image.height() - 1; y >= 0; --y) {
      std::string row(static_cast<std::size_t>(maskStride), '\0');
      for (int x = 0; x < image.width(); ++x) {
        if (image.at(x, y).a == 0) {
          row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
        }
      }
      body += row;
    }
    bodies.push_back(std::move(body));
  }

  std::string out;
  putLe16(out, 0);  // reserved
  putLe16(out, 1);  // type: icon
  putLe16(out, static_cast<std::uint32_t>(images.size()));
  auto offset = static_cast<std::uint32_t>(kDirectoryBytes + kEntryBytes * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    // Width and height 256 are stored as 0.
    out.push_back(static_cast<char>(images[i].width() & 0xFF));
    out.push_back(static_cast<char>(images[i].height() & 0xFF));
    out.push_back(0);  // colour count: not a palette image
    out.push_back(0);  // reserved
    putLe16(out, 1);   // planes
    putLe16(out, 32);  // bits per pixel
    putLe32(out, static_cast<std::uint32_t>(bodies[i].size()));
    putLe32(out, offset);
    offset += static_cast<std::uint32_t>(bodies[i].size());
  }
  for (const std::string& body : bodies) out += body;
  return out;
}

}  // namespace quorvin::images
