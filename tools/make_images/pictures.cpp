#include "tools/make_images/pictures.h"

#include <stdexcept>

#include "common/file_io.h"

namespace quorvin::images {
namespace {

// The classic three-dimensional palette of Windows controls.
constexpr Color kBlack{0, 0, 0};
constexpr Color kWhite{255, 255, 255};
constexpr Color kShadow{128, 128, 128};
constexpr Color kFace{192, 192, 192};
constexpr Color kLight{223, 223, 223};
constexpr Color kNavy{0, 0, 128};
constexpr Color kTitleEnd{16, 132, 208};
// The chosen cell: a pale blue ground inside a blue frame.
constexpr Color kChosenGround{204, 222, 250};
constexpr Color kChosenFrame{0, 84, 200};
constexpr Color kPointMark{200, 0, 0};

// Raised edge of a push button or of a palette cell at rest: light from the
// top left, two pixels wide.
void raisedEdge(Canvas& canvas, int x, int y, int w, int h) {
  canvas.line(x, y, x + w - 2, y, kWhite);
  canvas.line(x, y, x, y + h - 2, kWhite);
  canvas.line(x, y + h - 1, x + w - 1, y + h - 1, kBlack);
  canvas.line(x + w - 1, y, x + w - 1, y + h - 1, kBlack);
  canvas.line(x + 1, y + 1, x + w - 3, y + 1, kLight);
  canvas.line(x + 1, y + 1, x + 1, y + h - 3, kLight);
  canvas.line(x + 1, y + h - 2, x + w - 2, y + h - 2, kShadow);
  canvas.line(x + w - 2, y + 1, x + w - 2, y + h - 2, kShadow);
}

// Sunken edge of an edit field or list box, two pixels wide.
void sunkenEdge(Canvas& canvas, int x, int y, int w, int h) {
  canvas.line(x, y, x + w - 2, y, kShadow);
  canvas.line(x, y, x, y + h - 2, kShadow);
  canvas.line(x, y + h - 1, x + w - 1, y + h - 1, kWhite);
  canvas.line(x + w - 1, y, x + w - 1, y + h - 1, kWhite);
  canvas.line(x + 1, y + 1, x + w - 3, y + 1, kBlack);
  canvas.line(x + 1, y + 1, x + 1, y + h - 3, kBlack);
  canvas.line(x + 1, y + h - 2, x + w - 2, y + h - 2, kLight);
  canvas.line(x + w - 2, y + 1, x + w - 2, y + h - 2, kLight);
}

// A white field with a sunken edge, as edit boxes and list boxes are drawn.
void sunkenField(Canvas& canvas, int x, int y, int w, int h) {
  canvas.fillRect(x, y, w, h, kWhite);
  sunkenEdge(canvas, x, y, w, h);
}

// Short black strokes standing for a line of text.
void textStroke(Canvas& canvas, int x, int y, int lengthPx, Color color = kBlack) {
  canvas.line(x, y, x + lengthPx - 1, y, color);
}

// --- The tool pictures. Each draws into the cell whose top-left corner is
// (x, y); the chosen look draws the same picture one pixel lower and further
// right, as a pressed button shows its face.

void drawSelect(Canvas& canvas, int x, int y) {
  // The standard arrow pointer.
  canvas.sprite(x + 8, y + 4,
                {
                    "K",
                    "KK",
                    "KWK",
                    "KWWK",
                    "KWWWK",
                    "KWWWWK",
                    "KWWWWWK",
                    "KWWWWWWK",
                    "KWWWWWWWK",
                    "KWWWWWWWWK",
                    "KWWWWWKKKKK",
                    "KWWKWWK",
                    "KWK KWWK",
                    "KK  KWWK",
                    "K    KWWK",
                    "     KWWK",
                    "      KK",
                },
                {{'K', kBlack}, {'W', kWhite}});
}

void drawButton(Canvas& canvas, int x, int y) {
  // A default push button: black outline, raised face, caption "OK".
  const int left = x + 3;
  const int top = y + 6;
  const int width = 20;
  const int height = 14;
  canvas.fillRect(left, top, width, height, kFace);
  canvas.frameRect(left, top, width, height, kBlack);
  raisedEdge(canvas, left + 1, top + 1, width - 2, height - 2);
  const int textWidth = Canvas::textWidth("OK");
  canvas.text(left + (width - textWidth) / 2, top + 3, "OK", kBlack);
}

void drawEditBox(Canvas& canvas, int x, int y) {
  // A single-line edit box holding "ab", with the caret after the text.
  const int left = x + 2;
  const int top = y + 6;
  sunkenField(canvas, left, top, 21, 14);
  const int textRight = left + 4 + canvas.text(left + 4, top + 4, "ab", kBlack);
  canvas.line(textRight + 2, top + 3, textRight + 2, top + 11, kBlack);
}

void drawStatic(Canvas& canvas, int x, int y) {
  // A bold capital A: plain text on the window's ground.
  canvas.sprite(x + 6, y + 4,
                {
                    "     XXXX",
                    "     XXXX",
                    "    XXXXXX",
                    "    XXXXXX",
                    "   XXX  XXX",
                    "   XXX  XXX",
                    "   XX    XX",
                    "  XXX    XXX",
                    "  XXX    XXX",
                    "  XXXXXXXXXX",
                    " XXXXXXXXXXXX",
                    " XXX      XXX",
                    " XXX      XXX",
                    "XXX        XXX",
                    "XXX        XXX",
                    "XXX        XXX",
                },
                {{'X', kBlack}});
}

void drawListBox(Canvas& canvas, int x, int y) {
  // A list box: lines of text, one selected, and a vertical scroll bar.
  const int left = x + 2;
  const int top = y + 3;
  const int width = 21;
  const int height = 20;
  sunkenField(canvas, left, top, width, height);

  // Items, the second one selected.
  textStroke(canvas, left + 3, top + 4, 8);
  canvas.fillRect(left + 2, top + 6, 11, 3, kNavy);
  textStroke(canvas, left + 3, top + 7, 6, kWhite);
  textStroke(canvas, left + 3, top + 10, 9);
  textStroke(canvas, left + 3, top + 13, 7);
  textStroke(canvas, left + 3, top + 16, 8);

  // Scroll bar inside the right edge: two arrow buttons and a thumb.
  const int barLeft = left + width - 2 - 7;
  const int barTop = top + 2;
  const int barHeight = height - 4;
  canvas.fillRect(barLeft, barTop, 7, barHeight, kLight);
  for (int buttonTop : {barTop, barTop + barHeight - 6}) {
    canvas.fillRect(barLeft, buttonTop, 7, 6, kFace);
    raisedEdge(canvas, barLeft, buttonTop, 7, 6);
  }
  // Up arrow and down arrow, three pixels high.
  canvas.set(barLeft + 3, barTop + 2, kBlack);
  textStroke(canvas, barLeft + 2, barTop + 3, 3);
  const int downTop = barTop + barHeight - 6;
  textStroke(canvas, barLeft + 2, downTop + 2, 3);
  canvas.set(barLeft + 3, downTop + 3, kBlack);
  // Thumb near the top of the track.
  canvas.fillRect(barLeft, barTop + 6, 7, 4, kFace);
  raisedEdge(canvas, barLeft, barTop + 6, 7, 4);
}

void drawCheckBox(Canvas& canvas, int x, int y) {
  // A 13 x 13 check box with its tick, and its label to the right.
  const int left = x + 3;
  const int top = y + 6;
  sunkenField(canvas, left, top, 13, 13);
  canvas.sprite(left + 3, top + 3,
                {
                    "      X",
                    "     XX",
                    "X   XXX",
                    "XX XXX",
                    "XXXXX",
                    " XXX",
                    "  X",
                },
                {{'X', kBlack}});
  textStroke(canvas, left + 15, top + 4, 5);
  textStroke(canvas, left + 15, top + 8, 4);
}

void drawRadioButton(Canvas& canvas, int x, int y) {
  // A round 12 x 12 radio button with its dot, and its label to the right.
  // Outer ring 'o' and inner ring 'i' are lit from the top left like the
  // sunken edge of a field.
  const int left = x + 3;
  const int top = y + 7;
  const char* rows[] = {
      "....oooo....",
      "..ooiiiioo..",
      ".oiiwwwwiio.",
      ".oiwwwwwwio.",
      "oiwwwddwwwio",
      "oiwwddddwwio",
      "oiwwddddwwio",
      "oiwwwddwwwio",
      ".oiwwwwwwio.",
      ".oiiwwwwiio.",
      "..ooiiiioo..",
      "....oooo....",
  };
  for (int row = 0; row < 12; ++row) {
    for (int col = 0; col < 12; ++col) {
      const bool lit = row + col >= 11;  // bottom-right half
      Color color;
      switch (rows[row][col]) {
        case 'o': color = lit ? kWhite : kShadow; break;
        case 'i': color = lit ? kLight : kBlack; break;
        case 'w': color = kWhite; break;
        case 'd': color = kBlack; break;
        default: continue;
      }
      canvas.set(left + col, top + row, color);
    }
  }
  textStroke(canvas, left + 14, top + 4, 5);
  textStroke(canvas, left + 14, top + 8, 4);
}

void drawGroupBox(Canvas& canvas, int x, int y) {
  // An etched frame with the caption "ab" set into its top edge.
  const int left = x + 3;
  const int top = y + 8;
  const int width = 19;
  const int height = 14;
  canvas.frameRect(left + 1, top + 1, width, height, kWhite);
  canvas.frameRect(left, top, width, height, kShadow);
  const int captionLeft = left + 3;
  const int captionWidth = Canvas::textWidth("ab");
  canvas.fillRect(captionLeft - 1, top, captionWidth + 2, 2, kFace);
  canvas.text(captionLeft, top - 5, "ab", kBlack);
}

void drawAddPoint(Canvas& canvas, int x, int y) {
  // A polygon outline whose corners carry the black square markers that the
  // designer shows, and a red cross where the next corner goes.
  struct Corner {
    int x;
    int y;
  };
  const Corner corners[] = {{4, 20}, {6, 9}, {13, 5}, {20, 19}};
  constexpr int kCornerCount = 4;
  for (int i = 0; i < kCornerCount; ++i) {
    const Corner& from = corners[i];
    const Corner& to = corners[(i + 1) % kCornerCount];
    canvas.line(x + from.x, y + from.y, x + to.x, y + to.y, kNavy);
  }
  for (const Corner& corner : corners) {
    canvas.fillRect(x + corner.x - 1, y + corner.y - 1, 3, 3, kBlack);
  }
  const Corner added{19, 7};
  canvas.line(x + added.x - 3, y + added.y, x + added.x + 3, y + added.y, kPointMark);
  canvas.line(x + added.x, y + added.y - 3, x + added.x, y + added.y + 3, kPointMark);
}

// The two looks of one cell: left the cell at rest (raised), right the chosen
// cell (sunken, blue ground and frame, picture pressed in by one pixel).
Canvas drawToolCells(void (*drawPicture)(Canvas&, int, int)) {
  Canvas canvas(2 * kCellPx, kCellPx, kFace);

  raisedEdge(canvas, 0, 0, kCellPx, kCellPx);
  drawPicture(canvas, 0, 0);

  const int chosenLeft = kCellPx;
  canvas.fillRect(chosenLeft, 0, kCellPx, kCellPx, kChosenGround);
  drawPicture(canvas, chosenLeft + 1, 1);
  sunkenEdge(canvas, chosenLeft, 0, kCellPx, kCellPx);
  canvas.frameRect(chosenLeft + 1, 1, kCellPx - 2, kCellPx - 2, kChosenFrame);
  return canvas;
}

struct ToolPicture {
  const char* fileName;
  void (*draw)(Canvas&, int, int);
};

// In the palette's cell order.
constexpr ToolPicture kToolPictures[] = {
    {"Select.bmp", drawSelect},     {"Button.bmp", drawButton},
    {"EditBox.bmp", drawEditBox},   {"Static.bmp", drawStatic},
    {"ListBox.bmp", drawListBox},   {"CheckBox.bmp", drawCheckBox},
    {"Add_Point.bmp", drawAddPoint}, {"GroupBox.bmp", drawGroupBox},
    {"RadioButton.bmp", drawRadioButton},
};

// The caption bar of the icon's window: navy fading into blue from left to
// right, `rows` high.
void captionBar(Canvas& canvas, int left, int top, int width, int rows) {
  for (int col = 0; col < width; ++col) {
    const int span = width > 1 ? width - 1 : 1;
    const auto mix = [&](std::uint8_t from, std::uint8_t to) {
      return static_cast<std::uint8_t>(from + (to - from) * col / span);
    };
    const Color shade{mix(kNavy.r, kTitleEnd.r), mix(kNavy.g, kTitleEnd.g),
                      mix(kNavy.b, kTitleEnd.b)};
    canvas.line(left + col, top, left + col, top + rows - 1, shade);
  }
}

// The icon: a small window with a caption, an edit box, a check box and a
// push button that is selected, its four size handles at its corners.
Canvas drawIcon32() {
  Canvas canvas(32, 32, kTransparent);
  canvas.fillRect(0, 1, 32, 30, kFace);
  canvas.frameRect(0, 1, 32, 30, kBlack);
  captionBar(canvas, 1, 2, 30, 7);
  textStroke(canvas, 4, 5, 10, kWhite);
  // Close box.
  canvas.fillRect(23, 3, 7, 5, kFace);
  canvas.sprite(25, 4, {"X.X", ".X.", "X.X"}, {{'X', kBlack}});

  // Edit box with a line of text and the caret.
  sunkenField(canvas, 3, 11, 26, 7);
  textStroke(canvas, 6, 14, 8);
  canvas.line(16, 13, 16, 15, kBlack);

  // Check box, checked.
  sunkenField(canvas, 3, 20, 9, 9);
  canvas.sprite(5, 22, {"....X", "...XX", "X.XX.", "XXX..", ".X..."}, {{'X', kBlack}});

  // Push button, selected: outline, raised face, caption, size handles.
  canvas.frameRect(15, 21, 13, 7, kBlack);
  raisedEdge(canvas, 16, 22, 11, 5);
  textStroke(canvas, 18, 24, 7);
  for (const int handleX : {14, 28}) {
    for (const int handleY : {20, 28}) {
      canvas.fillRect(handleX - 1, handleY - 1, 3, 3, kNavy);
    }
  }
  return canvas;
}

Canvas drawIcon16() {
  Canvas canvas(16, 16, kTransparent);
  canvas.fillRect(0, 1, 16, 14, kFace);
  canvas.frameRect(0, 1, 16, 14, kBlack);
  captionBar(canvas, 1, 2, 14, 3);
  canvas.set(13, 3, kWhite);
  // Edit box and push button.
  canvas.fillRect(2, 6, 12, 3, kWhite);
  canvas.line(2, 6, 13, 6, kShadow);
  canvas.line(2, 6, 2, 8, kShadow);
  canvas.line(4, 7, 8, 7, kBlack);
  canvas.frameRect(6, 10, 8, 3, kBlack);
  canvas.line(8, 11, 11, 11, kBlack);
  return canvas;
}

}  // namespace

Canvas drawToolBitmap(const std::string& fileName) {
  for (const ToolPicture& picture : kToolPictures) {
    if (fileName == picture.fileName) return drawToolCells(picture.draw);
  }
  throw std::invalid_argument("no tool picture named " + fileName);
}

Canvas drawIcon(int sizePx) {
  if (sizePx == 32) return drawIcon32();
  if (sizePx == 16) return drawIcon16();
  throw std::invalid_argument("the icon is drawn at 16 and 32 pixels only");
}

std::vector<ImageFile> makeImageFiles() {
  std::vector<ImageFile> files;
  for (const ToolPicture& picture : kToolPictures) {
    files.push_back({std::string("bitmaps/") + picture.fileName,
                     encodeBmp24(drawToolCells(picture.draw))});
  }
  files.push_back({"quorvin.ico", encodeIco({drawIcon(32), drawIcon(16)})});
  return files;
}

bool writeImageFiles(const std::filesystem::path& folder, std::string& error) {
  for (const ImageFile& file : makeImageFiles()) {
    const std::filesystem::path target = folder / file.relativePath;
    std::error_code ignored;
    std::filesystem::create_directories(target.parent_path(), ignored);
    if (!writeFileReplacing(target, file.bytes)) {
      error = "cannot write " + target.string();
      return false;
    }
  }
  return true;
}

}  // namespace quorvin::images
