#pragma once
// The places of the designer's own files on Windows: code.txt, setting.ini
// and the nine tool bitmaps, taken from the current folder at start-up or,
// where they are not there, from the folder of quorvin.exe (the choice
// itself is app/file_folders.h), and the message that names a tool bitmap
// the palette cannot use.

#include "common/file_io.h"

namespace quorvin {

// Fixes fileFolders from the folder that is current now and the program's
// folder, and templatePath and settingsPath from them. Called once at
// start-up.
void placeProgramFiles();

// The folder that is current now; empty if it cannot be read. No length
// limit: the buffer is sized from what the system reports.
Path currentFolder();

// Where the palette reads the tool bitmap `fileName` (a bare name).
Path toolBitmapPlace(const char* fileName);

// Tells the user, in a modal message box, that the tool bitmap `fileName`
// is missing or cannot be used, naming it and the folders looked in; the
// program cannot go on without it.
void reportUnusableToolBitmap(const char* fileName);

}  // namespace quorvin
