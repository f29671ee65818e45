#include "designer/field_values.h"

namespace quorvin {

std::string formatFieldNumber(std::int32_t value) {
  return std::to_string(static_cast<std::uint32_t>(value));
}

FieldNumber parseFieldNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i == text.size()) return {};
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return {};
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > 0xFFFFFFFFu) return {};
  }
  return {static_cast<std::uint32_t>(value), true};
}

FieldTexts objectFieldTexts(const DesignObject& object) {
  return {object.caption,
          object.idName,
          formatFieldNumber(object.width),
          formatFieldNumber(object.height),
          formatFieldNumber(object.x),
          formatFieldNumber(object.y)};
}

FieldTexts windowFieldTexts(const Project& project) {
  return {project.title,
          project.className,
          formatFieldNumber(project.width),
          formatFieldNumber(project.height),
          formatFieldNumber(project.x),
          formatFieldNumber(project.y)};
}

FieldTexts pointFieldTexts(RegionPoint marker) {
  return {"", "", "0", "0", formatFieldNumber(marker.x), formatFieldNumber(marker.y)};
}

bool applyNumberFields(const FieldTexts& texts, std::int32_t& width,
                       std::int32_t& height, std::int32_t& x, std::int32_t& y) {
  const std::string* sources[] = {&texts.width, &texts.height, &texts.x, &texts.y};
  std::int32_t* targets[] = {&width, &height, &x, &y};
  for (int i = 0; i < 4; ++i) {
    const FieldNumber number = parseFieldNumber(*sources[i]);
    *targets[i] = storedFieldValue(number.value);
    if (!number.ok) return false;
  }
  return true;
}

bool applyObjectFieldTexts(DesignObject& object, const FieldTexts& texts) {
  setObjectText(object, kObjectCaption, texts.caption);
  setObjectText(object, kObjectIdName, texts.idName);
  return applyNumberFields(texts, object.width, object.height, object.x, object.y);
}

bool applyWindowFieldTexts(Project& project, const FieldTexts& texts) {
  setProjectText(project, kProjectTitle, texts.caption);
  setProjectText(project, kProjectClassName, texts.idName);
  return applyNumberFields(texts, project.width, project.height, project.x,
                           project.y);
}

FieldTexts sharedFieldTexts(std::span<const DesignObject* const> selected) {
  if (selected.empty()) return {};
  FieldTexts shared = objectFieldTexts(*selected.front());
  std::string FieldTexts::*const members[] = {&FieldTexts::caption, &FieldTexts::idName,
                                               &FieldTexts::width,   &FieldTexts::height,
                                               &FieldTexts::x,       &FieldTexts::y};
  for (const DesignObject* object : selected.subspan(1)) {
    const FieldTexts own = objectFieldTexts(*object);
    for (const auto member : members)
      if (shared.*member != own.*member) (shared.*member).clear();
  }
  return shared;
}

bool applyTypedFieldTexts(DesignObject& object, const FieldTexts& shown, const FieldTexts& typed) {
  if (typed.caption != shown.caption) setObjectText(object, 1, typed.caption);
  if (typed.idName != shown.idName) setObjectText(object, 2, typed.idName);
  const std::string FieldTexts::*const sources[] = {&FieldTexts::width, &FieldTexts::height,
                                                     &FieldTexts::x, &FieldTexts::y};
  std::int32_t* targets[] = {&object.width, &object.height, &object.x, &object.y};
  bool moved = false;
  for (int i = 0; i < 4; ++i) {
    if (typed.*sources[i] == shown.*sources[i]) continue;
    const FieldNumber number = parseFieldNumber(typed.*sources[i]);
    if (!number.ok) continue;
    moved = moved || *targets[i] != storedFieldValue(number.value);
    *targets[i] = storedFieldValue(number.value);
  }
  return moved;
}

RegionPoint pointFromFieldTexts(const FieldTexts& texts) {
  return {storedFieldValue(parseFieldNumber(texts.x).value),
          storedFieldValue(parseFieldNumber(texts.y).value)};
}

}  // namespace quorvin
