#include "app/recovery_files.h"

#include <algorithm>
#include <string>
#include <system_error>

namespace quorvin {

namespace {
constexpr char kPrefix[] = "quorvin-recovery-";
// Not ".mwd": the file dialogs list *.mwd, where a recovery file would
// look like one of the user's designs.
constexpr char kDesignExtension[] = ".mwr";
constexpr char kLockExtension[] = ".lock";
// The longest decimal process id (32 bits).
constexpr std::size_t kMaxDigits = 10;

Path named(const Path& folder, std::uint32_t processId, const char* extension) {
  return folder / (kPrefix + std::to_string(processId) + extension);
}
}  // namespace

Path recoveryFileOf(const Path& folder, std::uint32_t processId) {
  return named(folder, processId, kDesignExtension);
}

Path recoveryLockOf(const Path& folder, std::uint32_t processId) {
  return named(folder, processId, kLockExtension);
}

std::optional<std::uint32_t> recoveryProcessOf(const Path& file) {
  const std::string name = file.filename().string();
  const std::string prefix = kPrefix;
  const std::string extension = kDesignExtension;
  if (name.size() <= prefix.size() + extension.size() || name.rfind(prefix, 0) != 0 ||
      name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
    return std::nullopt;
  const std::string digits =
      name.substr(prefix.size(), name.size() - prefix.size() - extension.size());
  if (digits.empty() || digits.size() > kMaxDigits ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  const unsigned long long value = std::stoull(digits);
  if (value > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

std::vector<Path> recoveryFilesIn(const Path& folder) {
  std::vector<std::pair<std::uint32_t, Path>> found;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    if (const auto process = recoveryProcessOf(it->path())) found.emplace_back(*process, it->path());
  }
  std::sort(found.begin(), found.end());
  std::vector<Path> files;
  for (auto& entry : found) files.push_back(std::move(entry.second));
  return files;
}

}  // namespace quorvin
