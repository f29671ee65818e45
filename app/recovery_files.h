#pragma once
// Names of recovery files: the unsaved design of a running designer, one
// file per process beside setting.ini, so that two designers started in one
// folder never take each other's. A process's file is
// "quorvin-recovery-<process id>.mwr" (a project file under another name);
// while the process runs it holds the
// file "quorvin-recovery-<process id>.lock" open, which tells a living
// designer's file from one left by a designer that did not end cleanly.

#include <cstdint>
#include <optional>
#include <vector>

#include "common/file_io.h"

namespace quorvin {

// The recovery file and the lock file of process `processId` in `folder`.
Path recoveryFileOf(const Path& folder, std::uint32_t processId);
Path recoveryLockOf(const Path& folder, std::uint32_t processId);

// The process id in a recovery file's name; nothing for any other name.
std::optional<std::uint32_t> recoveryProcessOf(const Path& file);

// The recovery files in `folder`, by ascending process id (none when the
// folder cannot be read).
std::vector<Path> recoveryFilesIn(const Path& folder);

}  // namespace quorvin
