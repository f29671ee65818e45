// Fuzz target: the setting.ini reader.
//
// Any bytes: parseSettings either refuses them and leaves the names as they
// were, or gives five usable names (not empty, no line feed, no blank at
// either end) that write and read back unchanged, as the same bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/settings_file.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace quorvin;

const VariableNames kSentinel{"w", "i", "f", "r", "p"};

void checkName(const std::string& name) {
  FUZZ_CHECK(!name.empty());
  FUZZ_CHECK(name.find('\n') == std::string::npos);
  FUZZ_CHECK(name.front() != ' ' && name.front() != '\t');
  FUZZ_CHECK(name.back() != ' ' && name.back() != '\t');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  VariableNames names = kSentinel;
  if (!parseSettings(bytes, names)) {
    FUZZ_CHECK(names == kSentinel);
    return 0;
  }
  for (const std::string* name :
       {&names.hwnd, &names.hinstance, &names.hfont, &names.hrgn, &names.point})
    checkName(*name);

  const std::string saved = serializeSettings(names);
  VariableNames again = kSentinel;
  FUZZ_CHECK(parseSettings(saved, again));
  FUZZ_CHECK(again == names);
  FUZZ_CHECK(serializeSettings(again) == saved);
  return 0;
}
