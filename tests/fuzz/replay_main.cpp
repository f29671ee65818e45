// Runs a fuzz target over stored inputs without libFuzzer, so that the
// ordinary test build checks the seed corpus and every input a fuzzer once
// crashed on. Arguments are files or folders (every regular file in them, in
// name order); a folder that does not exist is skipped. Each input is handed
// over in a heap block of exactly its size, as libFuzzer does, so that a
// read past its end is caught by AddressSanitizer and valgrind. A broken
// property aborts; finding no input at all is an error too.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool runOne(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return false;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // An empty input still gets a block of its own (new[] of 0 is valid).
  const std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[bytes.size()]);
  if (!bytes.empty()) std::memcpy(exact.get(), bytes.data(), bytes.size());
  LLVMFuzzerTestOneInput(exact.get(), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path arg = argv[i];
    std::error_code error;
    if (fs::is_directory(arg, error)) {
      std::vector<fs::path> files;
      for (const fs::directory_entry& entry : fs::directory_iterator(arg))
        if (entry.is_regular_file()) files.push_back(entry.path());
      std::sort(files.begin(), files.end());
      inputs.insert(inputs.end(), files.begin(), files.end());
    } else if (fs::exists(arg, error)) {
      inputs.push_back(arg);
    }
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs found\n");
    return 1;
  }
  for (const fs::path& input : inputs)
    if (!runOne(input)) return 1;
  std::printf("%zu inputs passed\n", inputs.size());
  return 0;
}
