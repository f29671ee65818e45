#pragma once
// Small builders for the code generation tests: projects and objects made up
// in the test, never the globals.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/model.h"
#include "codegen/code_output.h"
#include "common/cp932.h"

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

// One control of every kind and edit variant, Japanese captions among them
// (表 and ソ have a backslash as their second CP932 byte); the sample design
// of the golden test and of quorvin-gen's samples.
inline std::vector<DesignObject> everyKindObjects() {
  const auto sj = [](const char* utf8) { return utf8ToCp932(utf8); };
  return {
      makeObject(ObjectKind::BUTTON, sj("表示"), "ID_SHOW", 0x50002300, 20, 240, 80, 24),
      makeObject(ObjectKind::BUTTON, sj("チェック"), "ID_CHECK", 0x50000003, 20, 10, 120, 20),
      makeObject(ObjectKind::BUTTON, sj("ラジオ"), "ID_RADIO", 0x50000009, 20, 35, 120, 20),
      makeObject(ObjectKind::BUTTON, sj("グループ"), "ID_GROUP", 0x50000007, 150, 5, 180, 70),
      makeObject(ObjectKind::EDIT, "Edit", "ID_EDIT", 0x50010080, 20, 60, 120, 22),
      makeObject(ObjectKind::EDIT_M, "", "ID_EDIT_M", 0x50001044, 20, 90, 100, 40),
      makeObject(ObjectKind::EDIT_MV, "", "ID_EDIT_MV", 0x50201044, 130, 90, 100, 40),
      makeObject(ObjectKind::EDIT_MH, "", "ID_EDIT_MH", 0x50101084, 240, 90, 100, 40),
      makeObject(ObjectKind::EDIT_MVH, "", "ID_EDIT_MVH", 0x503010C4, 20, 140, 100, 40),
      makeObject(ObjectKind::STATIC, sj("ソフト"), "ID_LABEL", 0x50000001, 130, 140, 80, 20),
      makeObject(ObjectKind::LISTBOX, "", "ID_LIST", 0x50A00003, 220, 140, 110, 80),
  };
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
