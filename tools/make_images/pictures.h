#pragma once
// The pictures of the designer: the nine tool-palette bitmaps and the program
// icon, drawn in code so that they can always be drawn again.

#include <filesystem>
#include <string>
#include <vector>

#include "tools/make_images/raster.h"

namespace quorvin::images {

// Side of one palette cell, in pixels. A tool bitmap holds two cells side by
// side: the normal look on the left, the chosen look on the right.
inline constexpr int kCellPx = 26;

// One file the tool writes: its path relative to the output folder
// ("bitmaps/Select.bmp", ..., "quorvin.ico") and its complete contents.
struct ImageFile {
  std::string relativePath;
  std::string bytes;
};

// The 52 x 26 picture of one tool, by bitmap file name ("Select.bmp", ...).
// Throws std::invalid_argument for an unknown name.
Canvas drawToolBitmap(const std::string& fileName);

// The program icon at `sizePx` (16 or 32); transparent around the drawing.
// Throws std::invalid_argument for any other size.
Canvas drawIcon(int sizePx);

// Every file, in a fixed order: the nine tool bitmaps in palette cell order,
// then the icon (32 x 32 and 16 x 16 images).
std::vector<ImageFile> makeImageFiles();

// Writes every file of makeImageFiles() under `folder`, making the folders
// it needs. Returns false (with a message in `error`) on the first failure;
// each file is either fully written or left as it was.
bool writeImageFiles(const std::filesystem::path& folder, std::string& error);

}  // namespace quorvin::images
