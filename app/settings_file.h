#pragma once
// setting.ini: the five identifier names that generated code uses for the
// window, instance, font, region and point-array variables.
//
// The file is CP932 text with CR LF line ends, ten lines: the byte lengths of
// hfont, hrgn, hwnd, hinstance and point, then the five names in the same
// order. It is edited by hand now and then, so the reader is lenient where it
// can be (a name is the whole of its line with surrounding blanks trimmed; a
// name whose length differs from its stated length is still taken) and
// refuses only what it cannot make sense of.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/model.h"
#include "common/file_io.h"

namespace quorvin {

// A number line as this program's text files hold it: optional blanks
// (space, tab) around a decimal 32-bit signed number with an optional "-",
// nothing else. The line end must already be stripped. Shared with the
// project file.
std::optional<std::int32_t> parseNumberLine(std::string_view line);

// A name as the file holds it: surrounding blanks trimmed, "NO_DATA" for one
// that is then empty. (A view into `name` or a static text.)
std::string_view settingNameAsWritten(std::string_view name);

// The file's bytes for `names`, CR LF line ends. Each name is written with
// surrounding blanks trimmed, and one that is then empty as "NO_DATA", so
// that the file always reads back.
std::string serializeSettings(const VariableNames& names);

// Parses a whole setting.ini. On success replaces all five names. A damaged
// file (fewer than ten lines, a length line that is not a non-negative
// decimal number, a name line that is empty after trimming) is refused with
// that part named, and `names` is left as it was. Never touches the disk.
ReadResult parseSettings(std::string_view bytes, VariableNames& names);

// Reads the file at `path` into `names`. A missing, unreadable or damaged
// file is refused (and says which) and leaves `names` as it was.
ReadResult readSettings(const Path& path, VariableNames& names);

// Writes `names` to `path` without ever destroying the previous file: the
// bytes go to a temporary file beside it which then replaces it. Returns
// false, with the old file as it was, on any failure, and when a name holds
// a line feed (it would not read back).
bool writeSettings(const Path& path, const VariableNames& names);

}  // namespace quorvin
