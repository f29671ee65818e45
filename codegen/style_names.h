#pragma once
// A control's window style written as the platform's named constants, as the
// style dialog shows it: the general window styles, then the styles of the
// control's own class. Bits that no row names are not written.

#include <cstddef>
#include <cstdint>

#include "app/model.h"
#include "codegen/code_output.h"

namespace quorvin {

// Appends "NAME|" for each general window style set in `style`, then removes
// the bar that ends the output (the one after the last name, or the bar that
// ended the text before when no general style is set). Called right after a
// statement head that ends in "WS_CHILD|".
void appendGeneralStyleNames(OutputBuffer& out, std::uint32_t style);

// Appends "|NAME" for each row of the kind's style table that the style
// contains, rows taken in table order, each consuming its bits. Nothing for
// an unknown kind.
void appendClassStyleNames(OutputBuffer& out, ObjectKind kind, std::uint32_t style);

// For the output size bound: each name the two functions above would write,
// counted with one bar.
std::size_t styleNamesLength(ObjectKind kind, std::uint32_t style);

}  // namespace quorvin
