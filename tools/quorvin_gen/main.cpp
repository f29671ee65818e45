// quorvin-gen's entry point: the command line in, the exit code out. All the
// work is in runQuorvinGen.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "tools/quorvin_gen/quorvin_gen.h"

#ifdef __linux__
#include <malloc.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#endif
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "common/win32/text.h"
#include "common/win32/win32.h"
#endif

namespace {

// The messages are UTF-8. A Windows console shows them through the wide
// API, whatever its code page; a file or pipe gets the bytes.
void writeMessages(const std::string& text) {
  if (text.empty()) return;
#ifdef _WIN32
  HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
    const std::wstring wide = quorvin::utf8ToWide(text);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
#endif
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

#ifdef __linux__
// Gives the heap, in one system call, the pages that reading and generating
// a project of `projectBytes` will take, and keeps them for the process. Each
// page a fresh process touches otherwise costs a page fault, and on virtual
// machines a fault costs as much as formatting a hundred statements: without
// this, faults were most of quorvin-gen's time on a large design. Memory
// grows by about what the run needs anyway; when the system refuses, the
// pages simply come one fault at a time as before.
void prepareHeap(std::uintmax_t projectBytes) {
  constexpr std::size_t kFixedBytes = std::size_t(1) << 19;
  constexpr std::uintmax_t kLargestPrepared = std::uintmax_t(1) << 28;
  constexpr std::size_t kPage = 4096;
  // A project whose controls are read straight from the file (the usual
  // case) needs a table of its ID names and the output's buffers: about half
  // its bytes and a fixed part. Preparing more cost more than it saved; the
  // general path, which holds every control, gets the rest page by page.
  const std::size_t bytes =
      kFixedBytes + static_cast<std::size_t>(std::min(projectBytes, kLargestPrepared) / 2);
  // Large blocks from the heap too (not from mappings of their own, fresh
  // each time), and freed memory kept rather than handed back.
  mallopt(M_MMAP_THRESHOLD, static_cast<int>(2 * kLargestPrepared + kFixedBytes));
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(4 * kLargestPrepared));
  void* block = std::malloc(bytes);
  if (block == nullptr) return;
  const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(block) + kPage - 1) & ~(kPage - 1);
  const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~(kPage - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
  std::free(block);
}

// The size of the project file among the arguments (the one argument that is
// not an option or an option's value), 0 when there is none.
std::uintmax_t projectFileSize(const std::vector<std::string>& args) {
  std::error_code error;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-t" || arg == "--template" || arg == "-s" || arg == "--settings" || arg == "-o" ||
        arg == "--output") {
      ++i;
    } else if (!arg.empty() && arg[0] != '-') {
      const std::uintmax_t size = std::filesystem::file_size(arg, error);
      return error ? 0 : size;
    }
  }
  return 0;
}
#endif

// Standard output through the C library's stream.
class StandardOutput : public quorvin::GenOutput {
 public:
  bool write(std::string_view bytes) override {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
      failed_ = true;
    return !failed_;
  }
  bool flush() override {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) failed_ = true;
    return !failed_;
  }

 private:
  bool failed_ = false;
};

// The messages, gathered to be shown at the end.
class Messages : public quorvin::GenOutput {
 public:
  bool write(std::string_view bytes) override {
    text_ += bytes;
    return true;
  }
  bool flush() override { return true; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

int run(const std::vector<std::string>& args) {
  Messages messages;
  std::error_code error;
  const std::filesystem::path cwd = std::filesystem::current_path(error);
  int status;
  if (error) {
    messages.write("quorvin-gen: cannot determine the current folder: " + error.message() + "\n");
    status = static_cast<int>(quorvin::GenExit::BadInput);
  } else {
    StandardOutput out;
    status = quorvin::runQuorvinGen(args, out, messages, cwd);
  }
  writeMessages(messages.text());
  return status;
}

}  // namespace

#ifdef _WIN32
// The wide command line, so that paths in any script (a Japanese folder
// name, say) arrive intact whatever the ANSI code page is.
int wmain(int argc, wchar_t** argv) {
  // The generated bytes go out unchanged: no LF to CR LF translation.
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(quorvin::wideToUtf8(argv[i]));
  return run(args);
}
#else
int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
#ifdef __linux__
  prepareHeap(projectFileSize(args));
#endif
  return run(args);
}
#endif
