#pragma once
// Where the designer finds its own files: the template code.txt, setting.ini
// and the nine tool bitmaps. Each is looked for in the folder that is current
// when the program starts and, when it is not there, in the folder of the
// program itself, so that the designer works when started from a shortcut
// or a command prompt in any folder. The place of each file is decided once,
// at start-up; it is read and written there from then on.

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "common/file_io.h"

namespace quorvin {

// Tells whether a file of that path exists (a predicate, so that the choice
// can be made without touching the disk).
using FileExists = std::function<bool(const Path&)>;

// The folders to look in, in order: `current`, then `programFolder`. An empty
// folder is left out, and so is one that names an earlier folder again (the
// usual case of a program started in its own folder); names that differ only
// in the case of ASCII letters or a trailing separator count as the same on
// Windows.
std::vector<Path> lookupFolders(const Path& current, const Path& programFolder);

// `name` in the first of `folders` where `exists` finds it; nothing when no
// folder holds it.
std::optional<Path> findInFolders(std::span<const Path> folders, const Path& name,
                                  const FileExists& exists);

// Where `name` is read and written: in the first folder that holds it, else
// in the first folder (where a file made later, setting.ini from the Settings
// dialog, is created); the bare name, relative to the current folder, when
// there are no folders.
Path placeOf(std::span<const Path> folders, const Path& name, const FileExists& exists);

// The disk's answer: true for an existing regular file (or a link to one).
bool isExistingFile(const Path& path);

// The folders fixed at start-up (lookupFolders). Empty until then: the files
// are then looked for in the current folder alone.
extern std::vector<Path> fileFolders;

}  // namespace quorvin
