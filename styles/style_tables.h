#pragma once
// The catalogue of window-style flags that the style dialog shows and the
// code generator names: six general window styles and one table per control
// family. Constant data; row order is significant (dialog order, the order of
// decomposition and the order of names in generated code).

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "app/model.h"

namespace quorvin {

struct StyleFlag {
  const char* name;         // the platform's constant name, ASCII
  std::uint32_t value;      // the platform's value of that constant
  const char* description;  // one paragraph of Japanese, CP932, NUL-terminated
};

using StyleTable = std::span<const StyleFlag>;

extern const StyleTable WindowStyleTable;   // 6 rows
extern const StyleTable ButtonStyleTable;   // 21 rows
extern const StyleTable EditStyleTable;     // 13 rows
extern const StyleTable StaticStyleTable;   // 15 rows
extern const StyleTable ListBoxStyleTable;  // 16 rows

constexpr std::uint32_t kWsChild = 0x40000000;  // WS_CHILD, in every control

// The per-kind table of an ObjectKind value; empty for an unknown value.
StyleTable StyleTableFor(std::int32_t kind);
inline StyleTable StyleTableFor(ObjectKind kind) {
  return StyleTableFor(static_cast<std::int32_t>(kind));
}

// Row positions of `table` that `style` contains: rows are taken in table
// order, each when all its bits are still in the remainder, which then loses
// them.
std::vector<int> DecomposeStyle(StyleTable table, std::uint32_t style);
// The same rows, handed to `visit` (with the row's position) one by one,
// without a list: the code generator names them for every control.
template <typename Visit>
void ForEachDecomposedRow(StyleTable table, std::uint32_t style, Visit visit) {
  std::uint32_t remainder = style;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const std::uint32_t value = table[i].value;
    if ((remainder & value) == value) {
      visit(i);
      remainder &= ~value;
    }
  }
}

// For each row of WindowStyleTable, whether its bit is set in `style`.
std::array<bool, 6> WindowStyleMarks(std::uint32_t style);

// OR of the marked rows of `table` and of WindowStyleTable, OR WS_CHILD.
// `marked` holds one flag per row of `table`; extra or missing flags are
// ignored (missing means unmarked).
std::uint32_t ComposeStyle(StyleTable table, const std::vector<bool>& marked,
                           const std::array<bool, 6>& windowMarks);

}  // namespace quorvin
