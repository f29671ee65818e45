#pragma once
// The producers of the seven multi-line placeholders: the control creation
// statements, the #define lines, the font, the WM_SETFONT statements and the
// polygon region. Each appends its replacement at the end of the output built
// so far. Every line after the first starts with the indentation that the
// output's last line had when the producer was called, so that all lines line
// up under the placeholder.

#include <cstddef>
#include <cstdint>
#include <string>

#include "codegen/code_output.h"

namespace quorvin {

// One window-creation statement per object.
void produceAddObj(OutputBuffer& out, const CodeSource& source);
// One "#define name number" line per object; the numbers are 100, 200, ...
// in list order.
void produceDefine(OutputBuffer& out, const CodeSource& source);
// The one CreateFont assignment, also without objects.
void produceCreateFont(OutputBuffer& out, const CodeSource& source);
// One WM_SETFONT statement per object.
void produceSetFont(OutputBuffer& out, const CodeSource& source);
// The region variable and the point array (nothing without points).
void producePoint(OutputBuffer& out, const CodeSource& source);
// The point assignments, then the region's creation and setting.
void produceAddPoint(OutputBuffer& out, const CodeSource& source);
// The region's deletion.
void produceDelHrgn(OutputBuffer& out, const CodeSource& source);

// Runs the producer of a multi-line placeholder; does nothing for another.
void produceReplacement(Placeholder placeholder, OutputBuffer& out,
                        const CodeSource& source);

// For the output size bound: the exact length of a producer's text written
// with an empty indentation, and the number of its lines that get the
// indentation. Both 0 for a single-value placeholder.
std::size_t replacementLength(Placeholder placeholder, const CodeSource& source);
std::size_t indentedLineCount(Placeholder placeholder, const CodeSource& source);

// The weight name of the font line: FW_DONTCARE .. FW_HEAVY by hundreds for
// 0..999, the decimal number otherwise.
std::string fontWeightText(std::int32_t weight);

}  // namespace quorvin
