#include "common/file_io.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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
  // Read straight into the text, sized from the file's length when the
  // system knows it, so that a large file is neither copied nor regrown.
  std::error_code error;
  const auto known = std::filesystem::file_size(path, error);
  constexpr std::size_t kChunk = std::size_t(1) << 16;
  std::size_t chunk = kChunk;
  // A small file (a template, setting.ini) gets no 64 kB of fresh memory to
  // be filled for a few bytes.
  if (!error && known < maxBytes) chunk = static_cast<std::size_t>(known) + 1;
  std::string bytes;
  for (;;) {
    const std::size_t at = bytes.size();
    bytes.resize(at + chunk);
    const std::size_t n = std::fread(bytes.data() + at, 1, chunk, file.get());
    bytes.resize(at + n);
    if (bytes.size() > maxBytes) return std::nullopt;
    if (n < chunk && (std::feof(file.get()) || std::ferror(file.get()))) break;
    chunk = kChunk;
  }
  if (std::ferror(file.get())) return std::nullopt;
  return bytes;
}

std::optional<FileView> FileView::open(const Path& path, std::size_t maxBytes) {
  FileView view;
#ifndef _WIN32
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat status {};
  if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
    const auto size = static_cast<std::uintmax_t>(status.st_size);
    if (size > maxBytes) {
      ::close(fd);
      return std::nullopt;
    }
    void* mapping = ::mmap(nullptr, static_cast<std::size_t>(size), PROT_READ,
                           MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (mapping != MAP_FAILED) {
      ::close(fd);
      view.mapping_ = mapping;
      view.data_ = static_cast<const char*>(mapping);
      view.size_ = static_cast<std::size_t>(size);
      return view;
    }
  }
  ::close(fd);
#endif
  std::optional<std::string> bytes = readFileBytes(path, maxBytes);
  if (!bytes) return std::nullopt;
  view.read_ = std::move(*bytes);
  view.data_ = view.read_.data();
  view.size_ = view.read_.size();
  return view;
}

FileView::FileView(FileView&& other) noexcept
    : size_(other.size_), mapping_(other.mapping_), read_(std::move(other.read_)) {
  data_ = mapping_ != nullptr ? other.data_ : read_.data();
  other.mapping_ = nullptr;
  other.data_ = nullptr;
  other.size_ = 0;
}

FileView::~FileView() {
#ifndef _WIN32
  if (mapping_ != nullptr) ::munmap(mapping_, size_);
#endif
}

FileReplacement::FileReplacement(const Path& target) : target_(target) {
  // A name of our own beside the target, so that the final rename stays on
  // one volume and never touches another writer's temporary file.
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  temp_ = target;
  temp_ += ".tmp" + std::to_string(static_cast<unsigned long long>(stamp) % 1000000007ULL) +
           "_" + std::to_string(counter++);
  file_ = openFile(temp_, "wb");
  ok_ = file_ != nullptr;
}

FileReplacement::~FileReplacement() {
  if (committed_) return;
  file_.reset();
  std::error_code error;
  if (!temp_.empty()) std::filesystem::remove(temp_, error);
}

void FileReplacement::write(std::string_view bytes) {
  if (!ok_ || bytes.empty()) return;
  ok_ = std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) == bytes.size();
}

bool FileReplacement::commit() {
  if (!ok_ || committed_) return false;
  ok_ = std::fflush(file_.get()) == 0 && !std::ferror(file_.get());
  if (std::fclose(file_.release()) != 0) ok_ = false;
  if (!ok_) return false;
  std::error_code error;
  std::filesystem::rename(temp_, target_, error);
  if (error) {
    ok_ = false;
    return false;
  }
  committed_ = true;
  return true;
}

bool writeFileReplacing(const Path& target, std::string_view bytes) {
  FileReplacement file(target);
  file.write(bytes);
  return file.commit();
}

std::string toCrLf(std::string_view text) {
  // Sized exactly, then copied in runs between the line feeds: a generated
  // source of megabytes is converted at the speed of memcpy.
  const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  std::string out(text.size() + lines, '\0');
  char* to = out.data();
  while (!text.empty()) {
    const std::size_t feed = text.find('\n');
    const std::size_t run = feed == std::string_view::npos ? text.size() : feed;
    std::memcpy(to, text.data(), run);
    to += run;
    if (feed == std::string_view::npos) break;
    *to++ = '\r';
    *to++ = '\n';
    text.remove_prefix(run + 1);
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
