#include "app/file_folders.h"

#include <string>
#include <system_error>

namespace quorvin {

std::vector<Path> fileFolders;

namespace {

// A folder's name as compared: normalised, without a trailing separator,
// and on Windows with ASCII letters folded (the file system ignores case).
Path::string_type comparable(const Path& folder) {
  Path normal = folder.lexically_normal();
  if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
  Path::string_type text = normal.native();
#ifdef _WIN32
  for (auto& c : text)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
#endif
  return text;
}

}  // namespace

std::vector<Path> lookupFolders(const Path& current, const Path& programFolder) {
  std::vector<Path> folders;
  for (const Path* folder : {&current, &programFolder}) {
    if (folder->empty()) continue;
    bool known = false;
    for (const Path& earlier : folders) known = known || comparable(earlier) == comparable(*folder);
    if (!known) folders.push_back(*folder);
  }
  return folders;
}

std::optional<Path> findInFolders(std::span<const Path> folders, const Path& name,
                                  const FileExists& exists) {
  for (const Path& folder : folders) {
    Path candidate = folder / name;
    if (exists(candidate)) return candidate;
  }
  return std::nullopt;
}

Path placeOf(std::span<const Path> folders, const Path& name, const FileExists& exists) {
  if (std::optional<Path> found = findInFolders(folders, name, exists)) return *std::move(found);
  return folders.empty() ? name : folders.front() / name;
}

bool isExistingFile(const Path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace quorvin
