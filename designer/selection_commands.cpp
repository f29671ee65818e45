#include "designer/selection_commands.h"

#include <algorithm>
#include <vector>

#include "app/model.h"
#include "common/win32/shell_support.h"
#include "designer/design_changes.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/placed_control.h"
#include "designer/polygon.h"
#include "designer/surface.h"

namespace quorvin {

namespace {

// The mouse is not in the middle of something the keys would disturb.
bool keysMayEdit() {
  return project.surface != 0 && currentTool == ToolCode::Select && pickupPending == 0;
}

std::int32_t controlCount() { return std::clamp(project.objectCount, 0, objectCapacity()); }

// The selected controls that exist, primary last (as the selection keeps it).
std::vector<std::int32_t> selectedIndices() {
  std::vector<std::int32_t> indices;
  for (const std::int32_t index : selectedControls())
    if (index >= 0 && index < controlCount()) indices.push_back(index);
  return indices;
}

// A new selection from the keyboard: the fields and the handles follow, and
// an active polygon point gives way as it does to a click on a control.
void showNewSelection() {
  if (project.pointCount > 0) {
    hidePointMarkers();
    project.activePoint = -1;
  }
  refillFields();
  showSelectionHandles();
}

// The rectangles go to the controls; fields, handles and the undo step follow.
void applyRects(const std::vector<std::int32_t>& indices, const std::vector<PixelRect>& rects) {
  giveControlsRects(indices, rects, true);
  refillFields();
  designChanged();
}

}  // namespace

bool nudgeSelection(std::int32_t dx, std::int32_t dy, std::int32_t dw, std::int32_t dh) {
  const std::vector<std::int32_t> indices = selectedIndices();
  if (!keysMayEdit() || indices.empty()) return false;
  std::vector<PixelRect> rects;
  for (const std::int32_t index : indices)
    rects.push_back(nudgedRect(rectOf(objects[static_cast<std::size_t>(index)]), dx, dy, dw, dh));
  applyRects(indices, rects);
  return true;
}

bool walkSelection(bool backwards) {
  const std::int32_t count = controlCount();
  if (!keysMayEdit() || count == 0) return false;
  std::int32_t next = backwards ? count - 1 : 0;
  if (selectedObject >= 0 && selectedObject < count)
    next = (selectedObject + (backwards ? count - 1 : 1)) % count;
  selectControl(next);
  showNewSelection();
  return true;
}

bool selectAllControls() {
  const std::int32_t count = controlCount();
  if (!keysMayEdit() || count == 0) return false;
  std::vector<std::int32_t> all(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) all[static_cast<std::size_t>(i)] = i;
  selectControls(all, selectedObject >= 0 ? selectedObject : count - 1);
  showNewSelection();
  return true;
}

bool arrangeAvailable(ArrangeCommand command) {
  return keysMayEdit() && selectedEntry() != nullptr &&
         selectedIndices().size() >= minimumSelection(command);
}

bool arrangeSelection(ArrangeCommand command) {
  if (!arrangeAvailable(command)) return false;
  const std::vector<std::int32_t> indices = selectedIndices();
  std::vector<PixelRect> rects;
  for (const std::int32_t index : indices)
    rects.push_back(rectOf(objects[static_cast<std::size_t>(index)]));
  RECT client{};
  GetClientRect(surfaceWindow(), &client);
  // The primary is the last of the selection.
  const std::vector<PixelRect> arranged =
      arrangedRects(command, rects, rects.size() - 1, client.right, client.bottom);
  if (arranged == rects) return true;  // nothing moves: no step to undo
  applyRects(indices, arranged);
  return true;
}

}  // namespace quorvin
