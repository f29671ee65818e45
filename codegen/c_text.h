#pragma once
// Texts and names as C source holds them: captions, the face name, the
// title and the class name go between double quotes, so a backslash or a
// quote in them is escaped; a control's ID name is #defined, so one that
// cannot be (blank, not an identifier, or taken by an earlier control) is
// written as the number its #define line would have given it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/model.h"

namespace quorvin {

// `text` (CP932, up to its first NUL) as the contents of a C string literal:
// a backslash becomes \\ and a double quote \". Both bytes of a two-byte
// character are copied untouched (its second byte may be 0x5C, the
// backslash). Nothing else changes. The result replaces `out`.
void escapeCText(std::string_view text, std::string& out);
std::string escapedCText(std::string_view text);
// The same without a copy when nothing needs escaping (the usual case): a
// view of `text` up to its first NUL, else of `storage`, which then holds
// the escaped text.
std::string_view escapedCTextView(std::string_view text, std::string& storage);
// The length escapeCText gives, without building it.
std::size_t escapedCTextLength(std::string_view text);

// The number a control's #define line gives it: 100 x (index + 1).
inline std::int64_t controlNumber(std::size_t index) {
  return 100 * (static_cast<std::int64_t>(index) + 1);
}

// True when `name` without surrounding blanks (space, tab) is a C
// identifier. Bytes above 0x7F count as identifier characters: compilers
// take Japanese identifiers, and such names have always been written as
// they stand.
bool isIdentifierName(std::string_view name);

// What stands for one control's ID in the generated code.
struct WrittenId {
  std::string text;  // the ID name as stored up to its first NUL, or the number
  bool defined;      // true: a #define line is written for it
};
// One entry per object, in list order. An ID name is used when it is an
// identifier and no earlier control uses the same name; otherwise the
// control is written with its number and gets no #define line, so every
// control keeps an id of its own and the source has no redefinition.
std::vector<WrittenId> writtenIds(std::span<const DesignObject> objects);

// An ID name that the generated source cannot use as it stands.
struct IdNameWarning {
  enum class Kind { Repeated, NotIdentifier };
  Kind kind;
  std::string name;                   // CP932, blanks trimmed
  std::vector<std::int64_t> numbers;  // the numbers of the controls using it
};
// The repeated names (in the order of their first use) and the names that
// are not identifiers; blank names are not warned about (the fields allow
// them, and they simply get their numbers).
std::vector<IdNameWarning> idNameWarnings(std::span<const DesignObject> objects);
// The same, given the ids writtenIds made for `objects`: a design whose names
// all stand as they are (the usual case) is settled without a second table of
// the names.
std::vector<IdNameWarning> idNameWarnings(std::span<const DesignObject> objects,
                                          std::span<const WrittenId> ids);

// One warning as a line of text (UTF-8, no line end), for quorvin-gen.
std::string describeIdNameWarning(const IdNameWarning& warning);

// The designer's question before writing a source with `warnings` (not
// empty), in Japanese, UTF-8: which names cannot be used as they stand,
// what is written for them, and whether to write anyway.
std::string idNameQuestion(const std::vector<IdNameWarning>& warnings);

}  // namespace quorvin
