#include "app/model.h"

#include <cstring>

namespace quorvin {

Project project;
std::vector<DesignObject> objects;

namespace {
FontDeleter fontDeleter = nullptr;
}

bool isKnownObjectKind(std::int32_t value) {
  switch (static_cast<ObjectKind>(value)) {
    case ObjectKind::BUTTON:
    case ObjectKind::EDIT:
    case ObjectKind::EDIT_M:
    case ObjectKind::EDIT_MV:
    case ObjectKind::EDIT_MH:
    case ObjectKind::EDIT_MVH:
    case ObjectKind::STATIC:
    case ObjectKind::LISTBOX:
      return true;
  }
  return false;
}

bool isEditKind(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::EDIT:
    case ObjectKind::EDIT_M:
    case ObjectKind::EDIT_MV:
    case ObjectKind::EDIT_MH:
    case ObjectKind::EDIT_MVH:
      return true;
    default:
      return false;
  }
}

const char* windowClassOf(ObjectKind kind) {
  if (isEditKind(kind)) return "EDIT";
  switch (kind) {
    case ObjectKind::STATIC:
      return "STATIC";
    case ObjectKind::LISTBOX:
      return "LISTBOX";
    default:
      return "BUTTON";
  }
}

std::uint32_t recreatedExStyleOf(ObjectKind kind) {
  constexpr std::uint32_t kClientEdge = 0x200;  // WS_EX_CLIENTEDGE
  return (isEditKind(kind) || kind == ObjectKind::LISTBOX) ? kClientEdge : 0;
}

FontSpec defaultFontSpec() {
  FontSpec font;
  font.lfHeight = -13;
  font.lfWeight = 400;
  font.lfCharSet = 128;         // SHIFTJIS_CHARSET
  font.lfQuality = 2;           // PROOF_QUALITY
  font.lfPitchAndFamily = 0x31; // FIXED_PITCH | FF_MODERN
  // "ＭＳ ゴシック" in CP932.
  static const char kFace[] =
      "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
  std::memcpy(font.lfFaceName, kFace, sizeof kFace);
  return font;
}

void Project::growPointArrays(std::int32_t capacity) {
  if (capacity <= pointCapacity()) return;
  regionPoints.resize(static_cast<std::size_t>(capacity));
  markerPoints.resize(static_cast<std::size_t>(capacity));
}

void setFontDeleter(FontDeleter deleter) { fontDeleter = deleter; }

void setObjectText(DesignObject& object, int which, std::string_view text) {
  if (which == 1)
    object.caption.assign(text);
  else if (which == 2)
    object.idName.assign(text);
}

void freeObjectTexts(DesignObject& object) {
  object.caption.clear();
  object.caption.shrink_to_fit();
  object.idName.clear();
  object.idName.shrink_to_fit();
}

void setProjectText(Project& target, int which, std::string_view text) {
  std::string* slot = nullptr;
  switch (which) {
    case 1: slot = &target.title; break;
    case 3: slot = &target.className; break;
    case 4: slot = &target.variableNames.hwnd; break;
    case 5: slot = &target.variableNames.hinstance; break;
    case 6: slot = &target.variableNames.hfont; break;
    case 7: slot = &target.variableNames.hrgn; break;
    case 8: slot = &target.variableNames.point; break;
    default: return;
  }
  slot->assign(text);
}

void releaseProject(Project& target) {
  target.title = {};
  target.className = {};
  target.variableNames = {};
  target.regionPoints = {};
  target.markerPoints = {};
  target.regionMode = RegionMode::Rectangle;
}

void clearProject(Project& target) {
  releaseProject(target);
  if (target.fontHandle != 0 && fontDeleter != nullptr)
    fontDeleter(target.fontHandle);
  target = Project{};  // zero everything; activePoint -1, Rectangle
}

std::int32_t takeFreeObjectSlot() {
  for (std::size_t i = 0; i < objects.size(); ++i)
    if (objects[i].window == 0) return static_cast<std::int32_t>(i);
  const std::size_t first = objects.size();
  objects.resize(first + 5);
  return static_cast<std::int32_t>(first);
}

}  // namespace quorvin
