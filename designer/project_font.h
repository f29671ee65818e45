#pragma once
// The project font has one owner, project.fontHandle. setProjectFont is the
// only way a font gets there and deleteProjectFontHandle the only way one is
// deleted, so a control never holds a deleted font and none is leaked.

#include "app/model.h"
#include "common/win32/gdi.h"

namespace quorvin {

// Makes `font` the project font (ownership moves to the project; may be
// empty): every placed control takes it (redraw on), then the previous
// project font is deleted.
void setProjectFont(UniqueFont font);
// setProjectFont with a font made from the record project.font.
void applyProjectFont();
// Deletes the project font; project.fontHandle becomes 0.
void releaseProjectFont();
// Deletes a font handle the project held. The model calls it (installed as
// its font deleter) when clearProject drops a project.
void deleteProjectFontHandle(FontHandle font);

}  // namespace quorvin
