#include "codegen/style_names.h"

#include <cstring>

#include "styles/style_tables.h"

namespace quorvin {

namespace {

// Calls `visit` with each general style name set in `style`, in table order.
template <typename Visit>
void forEachGeneralName(std::uint32_t style, Visit visit) {
  const std::array<bool, 6> marks = WindowStyleMarks(style);
  for (std::size_t row = 0; row < marks.size() && row < WindowStyleTable.size(); ++row) {
    if (marks[row]) visit(WindowStyleTable[row].name);
  }
}

// Calls `visit` with the name of each row of the kind's table that the style
// contains, in the style dialog's decomposition.
template <typename Visit>
void forEachClassName(ObjectKind kind, std::uint32_t style, Visit visit) {
  const StyleTable table = StyleTableFor(kind);
  ForEachDecomposedRow(table, style, [&](std::size_t row) { visit(table[row].name); });
}

}  // namespace

void appendGeneralStyleNames(OutputBuffer& out, std::uint32_t style) {
  forEachGeneralName(style, [&](const char* name) {
    out.append(name);
    out.append('|');
  });
  if (!out.view().empty() && out.view().back() == '|') out.dropLast();
}

void appendClassStyleNames(OutputBuffer& out, ObjectKind kind, std::uint32_t style) {
  forEachClassName(kind, style, [&](const char* name) {
    out.append('|');
    out.append(name);
  });
}

std::size_t styleNamesLength(ObjectKind kind, std::uint32_t style) {
  std::size_t length = 0;
  const auto count = [&](const char* name) { length += std::strlen(name) + 1; };
  forEachGeneralName(style, count);
  forEachClassName(kind, style, count);
  return length;
}

}  // namespace quorvin
