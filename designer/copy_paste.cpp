#include "designer/copy_paste.h"

#include <algorithm>

#include "app/project_file.h"
#include "codegen/code_output.h"
#include "codegen/statements.h"
#include "designer/placement.h"

namespace quorvin {

namespace {

// The project as the copied controls alone would make it: same font and
// names, no outline, no windows.
Project copiedProject(const Project& project, std::size_t count) {
  Project copy;
  copy.title = project.title;
  copy.className = project.className;
  copy.variableNames = project.variableNames;
  copy.width = project.width;
  copy.height = project.height;
  copy.x = project.x;
  copy.y = project.y;
  copy.font = project.font;
  copy.objectCount = static_cast<std::int32_t>(count);
  return copy;
}

std::vector<DesignObject> withoutWindows(std::span<const DesignObject> copied) {
  std::vector<DesignObject> objects(copied.begin(), copied.end());
  for (DesignObject& object : objects) {
    object.window = 0;
    object.savedProc = 0;
  }
  return objects;
}

// A name that is taken becomes the next free one of its family: ID_OK2
// copied beside ID_OK and ID_OK2 becomes ID_OK3, not ID_OK22.
std::string freeIdName(const std::string& name, std::span<const DesignObject> placed) {
  bool taken = false;
  for (const DesignObject& object : placed) taken = taken || object.idName == name;
  if (!taken) return name;
  std::size_t end = name.size();
  while (end > 0 && name[end - 1] >= '0' && name[end - 1] <= '9') --end;
  return uniqueIdName(end > 0 ? std::string_view(name).substr(0, end) : std::string_view(name),
                      placed);
}

}  // namespace

std::string copiedControlsData(const Project& project, std::span<const DesignObject> copied) {
  return serializeProject(copiedProject(project, copied.size()), withoutWindows(copied));
}

std::vector<DesignObject> pastedControls(std::string_view data,
                                         std::span<const DesignObject> placed, std::int32_t dx,
                                         std::int32_t dy) {
  Project read;
  std::vector<DesignObject> objects;
  if (!parseProject(data, read, objects)) return {};
  objects.resize(static_cast<std::size_t>(std::max(read.objectCount, 0)));
  std::vector<DesignObject> names(placed.begin(), placed.end());
  for (DesignObject& object : objects) {
    object.x += dx;
    object.y += dy;
    if (!object.idName.empty()) object.idName = freeIdName(object.idName, names);
    names.push_back(object);
  }
  return objects;
}

std::vector<DesignObject> pastedControls(std::string_view data,
                                         std::span<const DesignObject> placed,
                                         const PastePlace& place) {
  if (!place.cursor) return pastedControls(data, placed, place.offset, place.offset);
  std::vector<DesignObject> pasted = pastedControls(data, placed, 0, 0);
  if (pasted.empty()) return pasted;
  std::int32_t left = pasted.front().x;
  std::int32_t top = pasted.front().y;
  for (const DesignObject& object : pasted) {
    left = std::min(left, object.x);
    top = std::min(top, object.y);
  }
  const std::int32_t x = snapToGrid(place.cursor->x, place.snapStep);
  const std::int32_t y = snapToGrid(place.cursor->y, place.snapStep);
  for (DesignObject& object : pasted) {
    object.x = wrappingAdd(x, wrappingSub(object.x, left));
    object.y = wrappingAdd(y, wrappingSub(object.y, top));
  }
  return pasted;
}

std::string copiedControlsStatements(const Project& project,
                                     std::span<const DesignObject> copied) {
  const Project copy = copiedProject(project, copied.size());
  const std::vector<DesignObject> objects = withoutWindows(copied);
  const CodeSource source = makeCodeSource(copy, objects);
  OutputBuffer out(256 * (objects.size() + 1));
  produceAddObj(out, source);
  return std::string(out.view());
}

}  // namespace quorvin
