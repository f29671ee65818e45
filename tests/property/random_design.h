#pragma once
// Seeded random designs for the round-trip tests: the same seed gives the
// same design on every system (own generator and own ranges, no standard
// distributions, whose algorithms differ between libraries).

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "app/model.h"

namespace quorvin::testing {

// splitmix64: small, fast, and the same everywhere.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // A number in [0, bound); bound > 0.
  std::uint32_t below(std::uint32_t bound) { return static_cast<std::uint32_t>(next() % bound); }
  // A number in [low, high].
  std::int64_t between(std::int64_t low, std::int64_t high) {
    return low + static_cast<std::int64_t>(next() % static_cast<std::uint64_t>(high - low + 1));
  }
  bool oneIn(std::uint32_t n) { return below(n) == 0; }

 private:
  std::uint64_t state_;
};

// A coordinate or size: mostly small numbers of either sign, sometimes the
// extremes of the 32-bit range.
inline std::int32_t randomNumber(Random& random) {
  switch (random.below(8)) {
    case 0:
      return std::numeric_limits<std::int32_t>::min() + static_cast<std::int32_t>(random.below(3));
    case 1:
      return std::numeric_limits<std::int32_t>::max() - static_cast<std::int32_t>(random.below(3));
    case 2:
      return static_cast<std::int32_t>(random.next());
    default:
      return static_cast<std::int32_t>(random.between(-2000, 2000));
  }
}

// Pieces texts are made of: ASCII, the characters the file format escapes or
// splits on (comma, blanks, percent, CR, '$'), and CP932: double-byte
// characters whose second byte is an ASCII letter, '\' or '|', and half-width
// katakana. Never a line feed (the editor refuses it) or a NUL.
inline std::string randomPiece(Random& random) {
  static const char* const kPieces[] = {
      "a", "Z", "7", "_", ",", ",,", " ", "  ", "\t", "%", "%2", "20", "%20", "0%", "$",
      "$TITLE$", "\r", "\x1A", "ID_OK", "\"", "\\",
      "\x83\x5C",          // ソ, second byte '\'
      "\x95\x5C",          // 表
      "\x83\x7C",          // ポ, second byte '|'
      "\x82\xA0",          // あ
      "\x93\xFA\x96\x7B",  // 日本
      "\x81\x40",          // ideographic space
      "\xB1\xDD",          // half-width katakana
      "\xFC\xFC",          // last lead and trail bytes
  };
  return kPieces[random.below(sizeof kPieces / sizeof kPieces[0])];
}

// True when a text written to a project file reads back as itself: the
// reader turns every "%20%" into ",", and one that ends in "%20" right before
// a comma gains a false "%20%" once the comma is escaped.
inline bool survivesEscaping(const std::string& text) {
  return text.find("%20%") == std::string::npos && text.find("%20,") == std::string::npos;
}

// A text of up to `maxPieces` pieces that survives escaping.
inline std::string randomText(Random& random, std::uint32_t maxPieces) {
  for (;;) {
    std::string text;
    const std::uint32_t pieces = random.below(maxPieces + 1);
    for (std::uint32_t i = 0; i < pieces; ++i) text += randomPiece(random);
    if (survivesEscaping(text)) return text;
  }
}

// The font block of case `index`: for the first 256 cases byte p is
// (index + 97 p) mod 256, so that over them every byte of the block takes
// every value; then blocks of line ends, and random blocks.
inline FontSpec fontForCase(std::uint32_t index, Random& random) {
  unsigned char bytes[sizeof(FontSpec)];
  for (std::size_t p = 0; p < sizeof bytes; ++p) {
    if (index < 256) {
      bytes[p] = static_cast<unsigned char>((index + 97 * p) & 0xFF);
    } else {
      switch (index % 4) {
        case 0:
          bytes[p] = p % 2 == 0 ? '\r' : '\n';  // CR LF pairs inside the block
          break;
        case 1:
          bytes[p] = random.oneIn(2) ? '\n' : '\r';
          break;
        default:
          bytes[p] = static_cast<unsigned char>(random.next());
      }
    }
  }
  FontSpec font;
  std::memcpy(&font, bytes, sizeof bytes);
  return font;
}

constexpr ObjectKind kAllKinds[] = {
    ObjectKind::BUTTON,  ObjectKind::EDIT,     ObjectKind::EDIT_M, ObjectKind::EDIT_MV,
    ObjectKind::EDIT_MH, ObjectKind::EDIT_MVH, ObjectKind::STATIC, ObjectKind::LISTBOX,
};

// A number moved by 5, wrapping at the ends of the range.
inline std::int32_t shifted(std::int32_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) + 5u);
}

struct RandomDesign {
  Project project;
  std::vector<DesignObject> objects;  // objectCount used entries, then free ones
};

// A design as the editor holds it: live window and procedure handles, spare
// free entries, an outline of 3 to 200 points in half of the cases, and
// region points that differ from the markers.
inline RandomDesign randomDesign(std::uint32_t index, Random& random) {
  RandomDesign design;
  Project& p = design.project;
  p.title = randomText(random, 12);
  p.className = randomText(random, 6);
  p.variableNames = {"hWnd", "hInst", "hFont", "hRgn", "pt"};
  p.surface = 0x1000 + index;
  p.fontHandle = 0x2000 + index;
  p.x = randomNumber(random);
  p.y = randomNumber(random);
  p.width = randomNumber(random);
  p.height = randomNumber(random);
  p.font = fontForCase(index, random);
  p.activePoint = static_cast<std::int32_t>(random.between(-1, 2));

  if (random.oneIn(2)) {
    p.regionMode = RegionMode::Polygon;
    p.pointCount = static_cast<std::int32_t>(random.between(3, 200));
    p.growPointArrays(p.pointCount + static_cast<std::int32_t>(random.below(12)));
    for (std::int32_t i = 0; i < p.pointCount; ++i) {
      const auto at = static_cast<std::size_t>(i);
      p.markerPoints[at] = {randomNumber(random), randomNumber(random)};
      p.regionPoints[at] = {shifted(p.markerPoints[at].x), shifted(p.markerPoints[at].y)};
    }
  }

  p.objectCount = static_cast<std::int32_t>(random.below(26));
  design.objects.resize(static_cast<std::size_t>(p.objectCount) + random.below(6));
  for (std::int32_t i = 0; i < p.objectCount; ++i) {
    DesignObject& o = design.objects[static_cast<std::size_t>(i)];
    o.window = 0x10000 + static_cast<WindowHandle>(i);
    o.savedProc = 0x20000;
    o.kind = kAllKinds[random.below(8)];
    o.x = randomNumber(random);
    o.y = randomNumber(random);
    o.width = randomNumber(random);
    o.height = randomNumber(random);
    o.style = random.oneIn(8) ? (random.oneIn(2) ? 0u : 0xFFFFFFFFu)
                              : static_cast<std::uint32_t>(random.next());
    o.caption = o.kind == ObjectKind::LISTBOX && random.oneIn(2) ? "" : randomText(random, 10);
    o.idName = random.oneIn(6) ? "" : randomText(random, 5);
  }
  return design;
}

}  // namespace quorvin::testing
