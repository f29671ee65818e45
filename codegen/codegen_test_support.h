#pragma once
// Small builders for the code generation tests: projects and objects made up
// in the test, never the globals.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/model.h"
#include "codegen/code_output.h"

namespace quorvin::testing {

inline DesignObject makeObject(ObjectKind kind, std::string caption, std::string idName,
                               std::uint32_t style, std::int32_t x = 10, std::int32_t y = 20,
                               std::int32_t width = 80, std::int32_t height = 24) {
  DesignObject object;
  object.window = 1;
  object.kind = kind;
  object.caption = std::move(caption);
  object.idName = std::move(idName);
  object.style = style;
  object.x = x;
  object.y = y;
  object.width = width;
  object.height = height;
  return object;
}

// A project holding `objects` and the outline `points`, with the variable
// names hwnd, hinst, hfont, hrgn, pt and the default font.
struct TestDesign {
  Project project;
  std::vector<DesignObject> objects;

  explicit TestDesign(std::vector<DesignObject> placed = {},
                      std::vector<RegionPoint> points = {}) {
    project.title = "Title";
    project.className = "Class";
    project.variableNames = {"hwnd", "hinst", "hfont", "hrgn", "pt"};
    project.surface = 1;
    project.x = 100;
    project.y = 50;
    project.width = 200;
    project.height = 150;
    project.font = defaultFontSpec();
    objects = std::move(placed);
    project.objectCount = static_cast<std::int32_t>(objects.size());
    objects.resize(objects.size() + 5);  // spare capacity, as in the program
    project.pointCount = static_cast<std::int32_t>(points.size());
    project.growPointArrays(project.pointCount + 10);
    for (std::size_t i = 0; i < points.size(); ++i) project.regionPoints[i] = points[i];
    if (!points.empty()) project.regionMode = RegionMode::Polygon;
  }

  std::string generate(std::string_view templateText,
                       CodeGenerationReport* report = nullptr) const {
    return generateCode(templateText, project, objects, report);
  }
};

}  // namespace quorvin::testing
