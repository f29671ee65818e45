#include "common/file_io.h"

#include <atomic>
#include <chrono>
#include <system_error>

namespace quorvin {

UniqueFile openFile(const Path& path, const char* mode) {
#ifdef _WIN32
  std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
  return UniqueFile(_wfopen(path.c_str(), wideMode.c_str()));
#else
  return UniqueFile(std::fopen(path.c_str(), mode));
#endif
}

std::optional<std::string> readFileBytes(const Path& path, std::size_t maxBytes) {
  UniqueFile file = openFile(path, "rb");
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[1 << 16];
  for (;;) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
    if (n == 0) break;
    if (bytes.size() + n > maxBytes) return std::nullopt;
    bytes.append(buffer, n);
  }
  if (std::ferror(file.get())) return std::nullopt;
  return bytes;
}

bool writeFileReplacing(const Path& target, std::string_view bytes) {
  // A name of our own beside the target, so that the final rename stays on
  // one volume and never touches another writer's temporary file.
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  Path temp = target;
  temp += ".tmp" + std::to_string(static_cast<unsigned long long>(stamp) % 1000000007ULL) +
          "_" + std::to_string(counter++);

  bool ok = false;
  {
    std::FILE* raw = nullptr;
    {
      UniqueFile file = openFile(temp, "wb");
      if (!file) return false;
      ok = bytes.empty() ||
           std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
      ok = ok && std::fflush(file.get()) == 0 && !std::ferror(file.get());
      raw = file.release();
    }
    if (std::fclose(raw) != 0) ok = false;
  }
  std::error_code error;
  if (ok) {
    std::filesystem::rename(temp, target, error);
    ok = !error;
  }
  if (!ok) std::filesystem::remove(temp, error);
  return ok;
}

std::string toCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16 + 1);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string fromCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

ReadResult unreadableFile(const Path& path) {
  std::error_code error;
  const bool exists = std::filesystem::exists(path, error);
  return {exists || error ? ReadProblem::Unreadable : ReadProblem::Missing, {}};
}

}  // namespace quorvin
