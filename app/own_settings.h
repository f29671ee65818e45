#pragma once
// quorvin.ini: the settings of Quorvin's own (the code output's encoding, the grid),
// beside setting.ini, which keeps the variable names and its fixed format.
//
// The file is text with CR LF line ends, one "key=value" line per setting.
// Lines this version does not know (settings of a later version, comments)
// are kept and written back as they were. Reading never fails: a missing or
// damaged line leaves the setting at its default.

#include <string>
#include <string_view>
#include <vector>

#include "common/file_io.h"

namespace quorvin {

inline constexpr const char* kOwnSettingsFileName = "quorvin.ini";

// The grid steps a user may choose, in pixels; a stored step outside them
// reads as the default (8).
inline constexpr int kGridSteps[] = {4, 8, 16};
inline constexpr int kDefaultOwnGridStep = 8;

struct OwnSettings {
  bool unicodeOutput = false;  // code output as UTF-8 for the wide API
  bool gridVisible = false;    // dots on the design surface
  bool gridSnap = false;       // placing, moving and sizing snap to the grid
  int gridStep = kDefaultOwnGridStep;  // one of kGridSteps
  std::vector<std::string> otherLines;  // kept as read, without line ends
};

// Full path of quorvin.ini, fixed at start-up beside setting.ini.
extern Path ownSettingsPath;
// The designer's settings, read at start-up.
extern OwnSettings ownSettings;

OwnSettings parseOwnSettings(std::string_view bytes);
std::string serializeOwnSettings(const OwnSettings& settings);

// The settings at `path`; the defaults when the file is missing or unreadable.
OwnSettings readOwnSettings(const Path& path);
// Writes through a temporary file, so a failed write keeps the old file.
bool writeOwnSettings(const Path& path, const OwnSettings& settings);

}  // namespace quorvin
