#pragma once
// The six property fields as texts: what they show for a control, for the
// designed window and for a polygon point, how their numbers are written and
// read, and how a key release applies them.
//
// Numbers travel as unsigned 32-bit decimal: a negative coordinate shows as
// its unsigned equivalent (-5 as "4294967291") and is read back to the same
// signed value.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/model.h"

namespace quorvin {

// The fields' texts, top to bottom: caption, ID, W, H, x, y. CP932.
struct FieldTexts {
  std::string caption;
  std::string idName;
  std::string width;
  std::string height;
  std::string x;
  std::string y;
  friend bool operator==(const FieldTexts&, const FieldTexts&) = default;
};

// A signed 32-bit value as the unsigned decimal text of its bits.
std::string formatFieldNumber(std::int32_t value);

struct FieldNumber {
  std::uint32_t value = 0;  // 0 whenever ok is false
  bool ok = false;
  friend bool operator==(const FieldNumber&, const FieldNumber&) = default;
};

// Reads a field the way an unsigned dialog-item number is read: optional
// leading blanks (space or tab), then one or more decimal digits, and nothing
// else. Empty text, a sign, any other character or a value above 4294967295
// is not a number: value 0, ok false.
FieldNumber parseFieldNumber(std::string_view text);

// The signed 32-bit value whose bits are `value` (4294967291 -> -5).
constexpr std::int32_t storedFieldValue(std::uint32_t value) {
  return static_cast<std::int32_t>(value);
}

// What the fields show for a control, for the designed window (title, class
// name, outer rectangle) and for a polygon point (caption and ID empty, W and
// H "0", x and y the marker's top-left in main-window client coordinates).
FieldTexts objectFieldTexts(const DesignObject& object);
FieldTexts windowFieldTexts(const Project& project);
FieldTexts pointFieldTexts(RegionPoint marker);

// Reads W, H, x, y in this order into width, height, x, y. Each is stored as
// read; the first that is not a number stores 0 in its own target and ends
// the reading, leaving the later targets as they were. True when all four
// were numbers (only then does the window follow the record).
bool applyNumberFields(const FieldTexts& texts, std::int32_t& width,
                       std::int32_t& height, std::int32_t& x, std::int32_t& y);

// A key release with a control selected: caption and idName always take the
// texts, then the numbers as above. True when the control's window should be
// moved to the record's rectangle.
bool applyObjectFieldTexts(DesignObject& object, const FieldTexts& texts);

// A key release with nothing selected: title and className take the texts,
// then the numbers go into the project's width, height, x, y. True when the
// surface should be moved to them.
bool applyWindowFieldTexts(Project& project, const FieldTexts& texts);

// What the fields show for several selected controls: each field the value
// they all share, empty where any two differ. One control shows as
// objectFieldTexts does.
FieldTexts sharedFieldTexts(std::span<const DesignObject* const> selected);

// A key release with several controls selected: only the fields whose text
// the user changed from what was `shown` apply, each to the control as
// typed (so a field left empty because the values differ changes nothing);
// a changed number field that is not a number applies nothing. True when
// the control's rectangle changed.
bool applyTypedFieldTexts(DesignObject& object, const FieldTexts& shown, const FieldTexts& typed);

// A key release with a polygon point active: the point's marker position
// from the x and y fields, without the number check (not a number reads 0).
RegionPoint pointFromFieldTexts(const FieldTexts& texts);

}  // namespace quorvin
