#include "designer/placement.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace quorvin {

namespace {

constexpr std::uint32_t kChildVisible = 0x50000000;  // WS_CHILD | WS_VISIBLE
constexpr std::uint32_t kClientEdge = 0x200;         // WS_EX_CLIENTEDGE
constexpr std::uint32_t kTransparent = 0x20;         // WS_EX_TRANSPARENT
// ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN
constexpr std::uint32_t kMultiLineEdit = 0x10C4;
constexpr std::uint32_t kVScroll = 0x00200000;
constexpr std::uint32_t kHScroll = 0x00100000;

constexpr std::array<PlacementDefaults, 11> kPlacementTable{{
    // BS_MULTILINE | BS_CENTER
    {ToolCode::Button, "BUTTON", "Button", kChildVisible | 0x2300, 0,
     "ID_BUTTON", ObjectKind::BUTTON},
    // ES_AUTOHSCROLL
    {ToolCode::Edit, "EDIT", "EDIT", kChildVisible | 0x80, kClientEdge,
     "ID_EDIT", ObjectKind::EDIT},
    {ToolCode::EditM, "EDIT", "EDIT_M", kChildVisible | kMultiLineEdit,
     kClientEdge, "ID_EDIT_M", ObjectKind::EDIT_M},
    {ToolCode::EditMV, "EDIT", "EDIT_MV",
     kChildVisible | kVScroll | kMultiLineEdit, kClientEdge, "ID_EDIT_MV",
     ObjectKind::EDIT_MV},
    {ToolCode::EditMH, "EDIT", "EDIT_MH",
     kChildVisible | kHScroll | kMultiLineEdit, kClientEdge, "ID_EDIT_MH",
     ObjectKind::EDIT_MH},
    {ToolCode::EditMVH, "EDIT", "EDIT_MVH",
     kChildVisible | kVScroll | kHScroll | kMultiLineEdit, kClientEdge,
     "ID_EDIT_MVH", ObjectKind::EDIT_MVH},
    // SS_NOTIFY
    {ToolCode::Static, "STATIC", "STATIC", kChildVisible | 0x100, kTransparent,
     "ID_STATIC", ObjectKind::STATIC},
    // LBS_NOINTEGRALHEIGHT; a list box has no window text
    {ToolCode::ListBox, "LISTBOX", "", kChildVisible | 0x100, kClientEdge,
     "ID_LISTBOX", ObjectKind::LISTBOX},
    // BS_AUTOCHECKBOX
    {ToolCode::CheckBox, "BUTTON", "CheckBox", kChildVisible | 0x3, 0,
     "ID_CHECKBOX", ObjectKind::BUTTON},
    // BS_GROUPBOX
    {ToolCode::GroupBox, "BUTTON", "GroupBox", kChildVisible | 0x7, 0,
     "ID_GROUPBOX", ObjectKind::BUTTON},
    // BS_AUTORADIOBUTTON
    {ToolCode::RadioButton, "BUTTON", "RadioButton", kChildVisible | 0x9, 0,
     "ID_RADIOBUTTON", ObjectKind::BUTTON},
}};

// |a - b| held at INT32_MAX.
std::int32_t distance(std::int32_t a, std::int32_t b) {
  const std::int64_t d = std::llabs(std::int64_t{a} - std::int64_t{b});
  return static_cast<std::int32_t>(
      std::min<std::int64_t>(d, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::span<const PlacementDefaults> placementTable() { return kPlacementTable; }

const PlacementDefaults* placementDefaultsFor(ToolCode tool) {
  for (const PlacementDefaults& row : kPlacementTable)
    if (row.tool == tool) return &row;
  return nullptr;
}

bool isPlacementTool(ToolCode tool) {
  return placementDefaultsFor(tool) != nullptr;
}

std::optional<PixelRect> placementRectangle(RegionPoint press,
                                            RegionPoint release) {
  if (press.x == release.x || press.y == release.y) return std::nullopt;
  return PixelRect{std::min(press.x, release.x), std::min(press.y, release.y),
                   distance(press.x, release.x), distance(press.y, release.y)};
}

std::optional<DesignObject> newPlacedObject(ToolCode tool, const PixelRect& rect) {
  const PlacementDefaults* row = placementDefaultsFor(tool);
  if (row == nullptr) return std::nullopt;
  DesignObject object;
  object.kind = row->kind;
  setRect(object, rect);
  setObjectText(object, kObjectCaption, row->caption);
  setObjectText(object, kObjectIdName, row->idName);
  object.style = row->style;
  return object;
}

std::string uniqueIdName(std::string_view base, std::span<const DesignObject> placed) {
  // The numbers already taken after `base`; the answer is the lowest free
  // one, so a set of at most placed.size() + 1 flags is enough.
  std::vector<bool> taken(placed.size() + 2, false);
  for (const DesignObject& object : placed) {
    const std::string_view name(object.idName.c_str());
    if (name.substr(0, base.size()) != base) continue;
    const std::string_view suffix = name.substr(base.size());
    if (suffix.empty()) {
      taken[1] = true;
      continue;
    }
    if (suffix.size() > 9 || suffix[0] < '2' || suffix[0] > '9') continue;
    std::size_t number = 0;
    bool digits = true;
    for (char c : suffix) {
      digits = digits && c >= '0' && c <= '9';
      number = number * 10 + static_cast<std::size_t>(c - '0');
    }
    if (digits && number < taken.size()) taken[number] = true;
  }
  if (!taken[1]) return std::string(base);
  std::size_t number = 2;
  while (taken[number]) ++number;
  return std::string(base) + std::to_string(number);
}

}  // namespace quorvin
