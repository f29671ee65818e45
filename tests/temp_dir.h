#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#ifdef _WIN32
#include <random>
#endif

namespace quorvin {

class TempDir {
 public:
  TempDir() {
#ifdef _WIN32
    // No mkdtemp: try random names until one is new.
    std::random_device random;
    for (int attempt = 0;; ++attempt) {
      if (attempt == 100) std::abort();
      path_ = std::filesystem::temp_directory_path() /
              ("quorvin-test-" + std::to_string(random()));
      std::error_code error;
      if (std::filesystem::create_directory(path_, error)) break;
    }
#else
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quorvin-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
#endif
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace quorvin
