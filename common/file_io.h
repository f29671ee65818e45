#pragma once
// File access for the portable core: whole-file reads, and writes that never
// destroy the previous file. Paths are std::filesystem::path, wide on
// Windows, so folders with Japanese names work.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quorvin {

using Path = std::filesystem::path;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
// An open C stream, closed when it goes out of scope.
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens `path` with an fopen mode ("rb", "wb"); null on failure.
UniqueFile openFile(const Path& path, const char* mode);

// The whole file as bytes (binary), or nothing when it cannot be read.
// Files larger than `maxBytes` are refused.
std::optional<std::string> readFileBytes(const Path& path,
                                         std::size_t maxBytes = std::size_t(1) << 30);

// A whole file's bytes to read through, mapped into memory where the system
// allows it (nothing copied, and no fresh pages to fault in; the file must
// not be cut short by another program meanwhile), else read. Nothing when the
// file cannot be read or is larger than `maxBytes`.
class FileView {
 public:
  static std::optional<FileView> open(const Path& path, std::size_t maxBytes);
  FileView(FileView&& other) noexcept;
  FileView& operator=(FileView&&) = delete;
  FileView(const FileView&) = delete;
  ~FileView();

  std::string_view bytes() const { return {data_, size_}; }

 private:
  FileView() = default;
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  void* mapping_ = nullptr;  // what to unmap, or null
  std::string read_;         // the bytes when not mapped
};

// Writes `bytes` to a new file beside `target`, checks every write, the flush
// and the close, then replaces `target` with it. On any failure returns false,
// removes the temporary file and leaves `target` as it was.
bool writeFileReplacing(const Path& target, std::string_view bytes);

// The same written piece by piece: a new file beside `target` that takes its
// place only when commit() succeeds. Until then `target` is untouched; a
// replacement that is not committed removes its temporary file.
class FileReplacement {
 public:
  explicit FileReplacement(const Path& target);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // False once opening or a write failed.
  bool ok() const { return ok_; }
  void write(std::string_view bytes);
  // Flushes, closes and renames; true when all of it succeeded.
  bool commit();

 private:
  Path target_;
  Path temp_;
  UniqueFile file_;
  bool ok_ = false;
  bool committed_ = false;
};

// Why a reader refused a file. A reader's result converts to true when the
// file was read.
enum class ReadProblem {
  None,        // read
  Missing,     // no such file
  Unreadable,  // there, but not a file that can be read (a folder, no access,
               // larger than any such file can be)
  Damaged,     // read, but not a file of this kind; `damage` says where
};
struct ReadResult {
  ReadProblem problem = ReadProblem::None;
  std::string damage;  // for Damaged: the part that is not as it must be
  explicit operator bool() const { return problem == ReadProblem::None; }
};

// Missing or Unreadable for a file whose bytes could not be read.
ReadResult unreadableFile(const Path& path);

// Every LF becomes CR LF: the platform's text mode, done by hand so that the
// bytes are the same on every system.
std::string toCrLf(std::string_view text);
// Every CR LF pair becomes LF; lone CRs stay.
std::string fromCrLf(std::string_view text);

}  // namespace quorvin
