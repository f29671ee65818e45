// Fuzz target: code generation from an arbitrary template and an arbitrary
// design.
//
// The input is a template, a NUL byte, then a design: the bytes after the
// NUL are read as a project file, and when they do not parse, a design is
// built from them directly (random kinds, rectangles, texts, names, font,
// outline), so that designs no file would hold are covered too. The
// template never holds a NUL, as the template reader delivers it.
//
// Properties: the output stays within the size bound computed before
// rendering, the output buffer never has to grow, and a template without a
// dollar sign comes out unchanged.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/project_file.h"
#include "codegen/code_output.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace quorvin;

// Takes values from the front of the bytes; zeros once they run out.
class ByteSource {
 public:
  explicit ByteSource(std::string_view bytes) : rest_(bytes) {}

  std::uint8_t byte() {
    if (rest_.empty()) return 0;
    const auto value = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return value;
  }
  std::uint32_t u32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t{byte()} << (8 * i);
    return value;
  }
  std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
  // A text of up to `maxLength` bytes, any byte value included.
  std::string text(std::size_t maxLength) {
    const std::size_t length = std::min<std::size_t>(byte() % (maxLength + 1), rest_.size());
    std::string result(rest_.substr(0, length));
    rest_.remove_prefix(length);
    return result;
  }

 private:
  std::string_view rest_;
};

constexpr std::int32_t kKinds[] = {300, 400, 410, 420, 430, 440, 500, 600};

void buildDesign(std::string_view bytes, Project& project, std::vector<DesignObject>& objects) {
  ByteSource in(bytes);
  project.title = in.text(40);
  project.className = in.text(40);
  VariableNames& names = project.variableNames;
  for (std::string* name : {&names.hwnd, &names.hinstance, &names.hfont, &names.hrgn,
                            &names.point})
    *name = in.text(12);
  project.x = in.i32();
  project.y = in.i32();
  project.width = in.i32();
  project.height = in.i32();
  char font[sizeof(FontSpec)];
  for (char& c : font) c = static_cast<char>(in.byte());
  std::memcpy(&project.font, font, sizeof font);

  // A count a little beyond the entries that exist now and then: the
  // generator must clamp it.
  const std::size_t entries = in.byte() % 24;
  objects.resize(entries);
  project.objectCount = static_cast<std::int32_t>(entries) + (in.byte() % 8 == 0 ? 2 : 0);
  for (DesignObject& object : objects) {
    const std::uint8_t kind = in.byte();
    // Mostly the eight kinds; now and then a value no file would hold.
    object.kind = static_cast<ObjectKind>(kind < 240 ? kKinds[kind % 8] : in.i32());
    object.x = in.i32();
    object.y = in.i32();
    object.width = in.i32();
    object.height = in.i32();
    object.style = in.u32();
    object.caption = in.text(30);
    object.idName = in.text(20);
  }

  const std::size_t points = in.byte() % 64;
  if (points > 0) {
    project.regionMode = RegionMode::Polygon;
    project.growPointArrays(static_cast<std::int32_t>(points) + 10);
    for (std::size_t i = 0; i < points; ++i) {
      project.regionPoints[i] = {in.i32(), in.i32()};
      project.markerPoints[i] = project.regionPoints[i];
    }
    project.pointCount = static_cast<std::int32_t>(points) + (in.byte() % 8 == 0 ? 20 : 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string_view templateText = input.substr(0, nul);
  const std::string_view designBytes =
      nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);

  Project project;
  std::vector<DesignObject> objects;
  if (parseProject(designBytes, project, objects)) {
    // A file holds no region points (the editor rebuilds them from the
    // markers) and no names (they come from setting.ini).
    std::copy(project.markerPoints.begin(), project.markerPoints.end(),
              project.regionPoints.begin());
    project.variableNames = {"hWnd", "hInst", "hFont", "hRgn", "pt"};
  } else {
    project = Project();
    objects.clear();
    buildDesign(designBytes, project, objects);
  }

  CodeGenerationReport report;
  const std::string output = generateCode(templateText, project, objects, &report);
  FUZZ_CHECK(output.size() == report.length);
  FUZZ_CHECK(report.length <= report.bound);
  FUZZ_CHECK(report.capacity == 4 * report.bound);
  FUZZ_CHECK(!report.grew);
  if (templateText.find('$') == std::string_view::npos) {
    FUZZ_CHECK(report.occurrences == 0);
    FUZZ_CHECK(output == templateText);
  }
  return 0;
}
