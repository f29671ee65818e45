#pragma once
// The model's font record (LOGFONTA layout, CP932 face name) as the wide
// API's LOGFONTW and back, and fonts made from it.

#include "app/model.h"
#include "common/win32/win32.h"

namespace quorvin {

// Face name from CP932, read up to its terminator or its 32 bytes (a face
// read from a file may fill them all); every other field copied.
LOGFONTW logFontOf(const FontSpec& font);
// Face name to CP932, cut on a whole character so that its terminator fits.
FontSpec fontSpecOf(const LOGFONTW& font);
// CreateFontIndirectW of logFontOf(font); the caller owns the result.
HFONT createFontFromSpec(const FontSpec& font);

}  // namespace quorvin
