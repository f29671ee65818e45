#include "app/font_record.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <cwchar>
#include <string>

#include "common/cp932.h"
#include "common/win32/text.h"

namespace quorvin {

// The model's font record is the platform's LOGFONTA byte for byte: project
// files store it as a raw block.
static_assert(sizeof(FontSpec) == sizeof(LOGFONTA));
static_assert(offsetof(FontSpec, lfWeight) == offsetof(LOGFONTA, lfWeight));
static_assert(offsetof(FontSpec, lfItalic) == offsetof(LOGFONTA, lfItalic));
static_assert(offsetof(FontSpec, lfPitchAndFamily) == offsetof(LOGFONTA, lfPitchAndFamily));
static_assert(offsetof(FontSpec, lfFaceName) == offsetof(LOGFONTA, lfFaceName));
static_assert(sizeof(FontSpec::lfFaceName) == sizeof(LOGFONTA::lfFaceName));

namespace {

// Both records share every field but the face name.
template <typename From, typename To>
void copyMetrics(const From& from, To& to) {
  to.lfHeight = from.lfHeight;
  to.lfWidth = from.lfWidth;
  to.lfEscapement = from.lfEscapement;
  to.lfOrientation = from.lfOrientation;
  to.lfWeight = from.lfWeight;
  to.lfItalic = from.lfItalic;
  to.lfUnderline = from.lfUnderline;
  to.lfStrikeOut = from.lfStrikeOut;
  to.lfCharSet = from.lfCharSet;
  to.lfOutPrecision = from.lfOutPrecision;
  to.lfClipPrecision = from.lfClipPrecision;
  to.lfQuality = from.lfQuality;
  to.lfPitchAndFamily = from.lfPitchAndFamily;
}

}  // namespace

LOGFONTW logFontOf(const FontSpec& font) {
  LOGFONTW out{};
  copyMetrics(font, out);
  const std::size_t length = strnlen(font.lfFaceName, sizeof font.lfFaceName);
  const std::wstring face = cp932ToWide(std::string_view(font.lfFaceName, length));
  std::copy_n(face.begin(), std::min<std::size_t>(face.size(), LF_FACESIZE - 1), out.lfFaceName);
  return out;
}

FontSpec fontSpecOf(const LOGFONTW& font) {
  FontSpec out{};
  copyMetrics(font, out);
  const std::string face =
      wideToCp932(std::wstring_view(font.lfFaceName, wcsnlen(font.lfFaceName, LF_FACESIZE)));
  const std::string_view kept = wholeCp932Prefix(face, sizeof out.lfFaceName - 1);
  std::memcpy(out.lfFaceName, kept.data(), kept.size());
  return out;
}

HFONT createFontFromSpec(const FontSpec& font) {
  const LOGFONTW logFont = logFontOf(font);
  return CreateFontIndirectW(&logFont);
}

}  // namespace quorvin
