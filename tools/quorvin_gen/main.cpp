// quorvin-gen's entry point: the command line in, the exit code out. All the
// work is in runQuorvinGen.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
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
//
// A large preparation is asked for in 2 MB pages. On the virtual machines
// measured, a fresh 4 kB page costs a few microseconds at its first write
// even after it was populated (the host backs it only then): touching the
// 10,000-control design's 2.5 MB took 3 to 4 ms, a third of the whole run;
// in 2 MB pages the same took 0.4 ms. Where the kernel has no such page
// free, or large pages are off, it quietly uses small ones.
void prepareHeap(std::uintmax_t projectBytes) {
  constexpr std::size_t kFixedBytes = std::size_t(1) << 20;
  constexpr std::uintmax_t kLargestPrepared = std::uintmax_t(1) << 28;
  constexpr std::size_t kPage = 4096;
  constexpr std::size_t kLargePage = std::size_t(2) << 20;
  // The objects parsed from a project take about twice its bytes.
  const std::size_t needed =
      kFixedBytes + static_cast<std::size_t>(std::min(projectBytes, kLargestPrepared) * 2);
  // Room for the needed bytes to begin at a large page's start; not worth it
  // for a small design, whose few pages cost little.
  const bool large = needed >= kLargePage;
  const std::size_t bytes = large ? needed + kLargePage : needed;
  if (large) {
    // The heap hands out its free room from the bottom up, so what the run
    // allocates lies at the start of the block: a spacer, never freed, puts
    // that start at a large page's start. Its pages are never touched.
    void* probe = std::malloc(1);
    if (probe == nullptr) return;
    const auto at = reinterpret_cast<std::uintptr_t>(probe);
    std::free(probe);
    const std::uintptr_t boundary = (at + kLargePage - 1) & ~(kLargePage - 1);
    constexpr std::size_t kChunkOverhead = 64;
    if (boundary - at > kChunkOverhead) {
      void* spacer = std::malloc(boundary - at - kChunkOverhead);
      (void)spacer;  // deliberately kept
    }
  }
  // Large blocks from the heap too (not from mappings of their own, fresh
  // each time), and freed memory kept rather than handed back.
  mallopt(M_MMAP_THRESHOLD, static_cast<int>(2 * kLargestPrepared + kFixedBytes));
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(4 * kLargestPrepared));
  void* block = std::malloc(bytes);
  if (block == nullptr) return;
  const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(block) + kPage - 1) & ~(kPage - 1);
  const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~(kPage - 1);
  if (large) {
    const std::uintptr_t largeBegin = (begin + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t largeEnd = end & ~(kLargePage - 1);
    if (largeEnd > largeBegin)
      madvise(reinterpret_cast<void*>(largeBegin), largeEnd - largeBegin, MADV_HUGEPAGE);
  }
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

int run(const std::vector<std::string>& args) {
  std::ostringstream messages;
  std::error_code error;
  const std::filesystem::path cwd = std::filesystem::current_path(error);
  int status;
  if (error) {
    messages << "quorvin-gen: cannot determine the current folder: " << error.message() << '\n';
    status = static_cast<int>(quorvin::GenExit::BadInput);
  } else {
    status = quorvin::runQuorvinGen(args, std::cout, messages, cwd);
  }
  writeMessages(messages.str());
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
