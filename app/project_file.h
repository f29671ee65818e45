#pragma once
// The project file (.mwd): one Project with its controls, its polygon
// outline and its font, so that a design can be closed and opened again.
//
// Layout, every line ending CR LF:
//   header     objectCount, x, y, width, height, regionMode, pointCount,
//              length of className, length of title, className, title
//   points     only for a polygon: x and y of each markerPoints entry
//   font       the 60 bytes of FontSpec, each 0x0A written as 0x0D 0x0A,
//              no line end after it
//   objects    per control: kind, x, y, width, height, style as "<u32>ld",
//              length of caption, length of idName, caption, idName
// Texts are CP932, escaped (each "," as "%20%"); a stated length is that of
// the escaped text. There is no magic number and no version.
//
// The reader takes each text as the whole of its line, so texts with spaces
// survive, and refuses a damaged file as a whole without touching anything.

#include <string>
#include <string_view>
#include <vector>

#include "app/model.h"
#include "common/file_io.h"

namespace quorvin {

// A design with thousands of controls is a few hundred kilobytes; refusing
// anything far bigger keeps a stray file from exhausting memory.
inline constexpr std::size_t kMaxProjectFileBytes = 16 * 1024 * 1024;

// `text` with every occurrence of `from` replaced by `to`, scanning left to
// right without overlaps. An empty `from` returns `text` unchanged.
std::string escapeText(std::string_view text, std::string_view from, std::string_view to);

// True when `source` and `objects` make a file that reads back as they are:
// 0 <= objectCount <= objects.size(), every one of those objects of a known
// kind, a Rectangle with no points or a Polygon with 3 to
// markerPoints.size() points, and no text holding a line feed.
bool canSaveProject(const Project& source, const std::vector<DesignObject>& objects);

// The file's bytes for `source` and the first objectCount entries of
// `objects`. Never reads past the arrays: the object and point counts
// written are clamped to what the arrays hold. Meant for projects that pass
// canSaveProject; others give a file that may not read back.
std::string serializeProject(const Project& source, const std::vector<DesignObject>& objects);

// Parses a whole project file. On success `out` becomes a fresh record
// (surface, fontHandle and activeMarker 0, activePoint -1, variableNames
// empty; for a polygon both point arrays hold pointCount + 10 entries, the
// marker points read and the region points zero) and `outObjects` holds
// objectCount + 10 entries (the ones read with window and savedProc 0, the
// rest zero). A damaged or truncated file is refused, naming the part that
// is damaged (header, title and class name, outline points, font,
// controls), and leaves both untouched. Allocates only for what the bytes
// actually hold.
ReadResult parseProjectWhy(std::string_view bytes, Project& out,
                           std::vector<DesignObject>& outObjects);
// The same, for callers that need only yes or no (the fuzzers).
bool parseProject(std::string_view bytes, Project& out, std::vector<DesignObject>& outObjects);

// Writes `source` and its objects to `path`. The previous file is never
// destroyed: the bytes go to a temporary file beside it, which then replaces
// it. Returns false, with the old file as it was, when the project fails
// canSaveProject or any step of the writing fails.
bool saveProject(const Path& path, const Project& source, const std::vector<DesignObject>& objects);
// The same for the global project and objects.
bool saveProject(const Path& path);

// Reads the project file at `path` as parseProjectWhy does; the record's
// variableNames stay empty (they are setting.ini's, read by the caller).
// A file that is missing, unreadable (also larger than any project file
// could be) or damaged is refused and says which; then `out`, `outObjects`
// and the current project are untouched.
ReadResult readProject(const Path& path, Project& out, std::vector<DesignObject>& outObjects);

}  // namespace quorvin
