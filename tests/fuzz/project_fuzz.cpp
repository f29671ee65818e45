// Fuzz target: the project file reader.
//
// Any bytes: parseProject either refuses them and leaves its outputs exactly
// as they were, or gives a design in the shape the editor expects, which
// saves (canSaveProject), reads back as the same design and saves again as
// the same bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/project_file.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace quorvin;

// What the outputs hold before a parse: anything a parse could not produce.
Project sentinelProject() {
  Project p;
  p.title = "sentinel";
  p.variableNames.hwnd = "kept";
  p.surface = 7;
  p.objectCount = 1;
  p.pointCount = 3;
  p.regionMode = RegionMode::Polygon;
  p.growPointArrays(3);
  return p;
}
std::vector<DesignObject> sentinelObjects() {
  std::vector<DesignObject> objects(1);
  objects[0].window = 9;
  objects[0].caption = "kept";
  return objects;
}

// The shape of every design parseProject returns.
void checkFreshDesign(const Project& p, const std::vector<DesignObject>& objects) {
  FUZZ_CHECK(p.surface == 0 && p.fontHandle == 0 && p.activeMarker == 0);
  FUZZ_CHECK(p.activePoint == -1);
  FUZZ_CHECK(p.variableNames == VariableNames{});
  FUZZ_CHECK(p.objectCount >= 0);
  FUZZ_CHECK(objects.size() == static_cast<std::size_t>(p.objectCount) + 10);
  for (std::size_t i = static_cast<std::size_t>(p.objectCount); i < objects.size(); ++i)
    FUZZ_CHECK(objects[i] == DesignObject{});
  for (std::int32_t i = 0; i < p.objectCount; ++i) {
    const DesignObject& o = objects[static_cast<std::size_t>(i)];
    FUZZ_CHECK(o.window == 0 && o.savedProc == 0);
    FUZZ_CHECK(isKnownObjectKind(static_cast<std::int32_t>(o.kind)));
  }
  if (p.regionMode == RegionMode::Polygon) {
    FUZZ_CHECK(p.pointCount >= 3);
    FUZZ_CHECK(p.pointCapacity() == p.pointCount + 10);
    FUZZ_CHECK(p.regionPoints.size() == p.markerPoints.size());
    for (const RegionPoint& point : p.regionPoints) FUZZ_CHECK(point == RegionPoint{});
  } else {
    FUZZ_CHECK(p.regionMode == RegionMode::Rectangle);
    FUZZ_CHECK(p.pointCount == 0 && p.markerPoints.empty() && p.regionPoints.empty());
  }
  FUZZ_CHECK(canSaveProject(p, objects));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  Project first = sentinelProject();
  std::vector<DesignObject> firstObjects = sentinelObjects();
  if (!parseProject(bytes, first, firstObjects)) {
    FUZZ_CHECK(first == sentinelProject());
    FUZZ_CHECK(firstObjects == sentinelObjects());
    return 0;
  }
  checkFreshDesign(first, firstObjects);

  // A text read from a file may hold a raw comma right after "%20" (this
  // program never writes one, but a file can). Saved, its comma becomes
  // "%20%", and the reader then finds the "%20%" that starts at the first
  // '%': such a text comes back changed, exactly as the escaping round trip
  // changes it. Every other text comes back as it was, and the second file
  // is the same as the first.
  Project expected = first;
  std::vector<DesignObject> expectedObjects = firstObjects;
  const auto settle = [](std::string& text) {
    text = escapeText(escapeText(text, ",", "%20%"), "%20%", ",");
  };
  settle(expected.title);
  settle(expected.className);
  for (DesignObject& object : expectedObjects) {
    settle(object.caption);
    settle(object.idName);
  }

  const std::string saved = serializeProject(first, firstObjects);
  Project second;
  std::vector<DesignObject> secondObjects;
  FUZZ_CHECK(parseProject(saved, second, secondObjects));
  FUZZ_CHECK(second == expected);
  FUZZ_CHECK(secondObjects == expectedObjects);
  FUZZ_CHECK(serializeProject(second, secondObjects) == saved);
  return 0;
}
