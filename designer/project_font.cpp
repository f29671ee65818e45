#include "designer/project_font.h"

#include <algorithm>
#include <utility>

#include "app/font_record.h"
#include "app/model_win32.h"

namespace quorvin {

void deleteProjectFontHandle(FontHandle font) {
  if (font != 0) DeleteObject(asHfont(font));
}

void setProjectFont(UniqueFont font) {
  const HFONT made = font.release();
  const FontHandle old = std::exchange(project.fontHandle, asHandle(made));
  // The controls take the new font before the old one goes, so none of
  // them ever holds a deleted font.
  const int count = std::min(project.objectCount, objectCapacity());
  for (int i = 0; i < count; ++i) {
    const WindowHandle control = objects[static_cast<std::size_t>(i)].window;
    if (control != 0)
      SendMessageW(asHwnd(control), WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
  }
  deleteProjectFontHandle(old);
}

void applyProjectFont() { setProjectFont(UniqueFont(createFontFromSpec(project.font))); }

void releaseProjectFont() { deleteProjectFontHandle(std::exchange(project.fontHandle, 0)); }

}  // namespace quorvin
