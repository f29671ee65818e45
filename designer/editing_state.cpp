#include "designer/editing_state.h"

#include <algorithm>

#include "designer/edit_history.h"
#include "designer/sizing.h"
#include "designer/tool_cells.h"

namespace quorvin {

ToolCode currentTool = ToolCode::Select;
std::int32_t selectedObject = -1;

namespace {
FieldTarget target;
// The selection, primary last (see selectedControls).
std::vector<std::int32_t> selection;

// The primary is the last of the selection; the fields follow it.
void takePrimaryFromSelection() {
  if (selection.empty()) {
    selectedObject = -1;
    target = FieldTarget::window();
  } else {
    selectedObject = selection.back();
    target = FieldTarget::control(selectedObject);
  }
  editHistory.noteSelection(selectedObject);
}
}  // namespace

FieldTarget fieldTarget() { return target; }

const std::vector<std::int32_t>& selectedControls() { return selection; }

bool isSelected(std::int32_t index) {
  return index >= 0 && std::find(selection.begin(), selection.end(), index) != selection.end();
}

void toggleControl(std::int32_t index) {
  if (index < 0) return;
  const auto found = std::find(selection.begin(), selection.end(), index);
  if (found != selection.end())
    selection.erase(found);
  else
    selection.push_back(index);
  takePrimaryFromSelection();
}

void makePrimary(std::int32_t index) {
  const auto found = std::find(selection.begin(), selection.end(), index);
  if (found == selection.end()) {
    selectControl(index);
    return;
  }
  selection.erase(found);
  selection.push_back(index);
  takePrimaryFromSelection();
}

void selectControls(const std::vector<std::int32_t>& indices, std::int32_t primary) {
  selection.clear();
  bool primaryAmong = false;
  for (const std::int32_t index : indices) {
    if (index < 0 || index == primary || isSelected(index)) {
      primaryAmong = primaryAmong || (index >= 0 && index == primary);
      continue;
    }
    selection.push_back(index);
  }
  if (primaryAmong) selection.push_back(primary);
  takePrimaryFromSelection();
}

void resetEditing(bool designOpen) {
  currentTool = ToolCode::Select;
  selectedObject = -1;
  selection.clear();
  pickupPending = kNothingPickedUp;
  markerDragState = kMarkerIdle;
  dragOffset = {};
  target = designOpen ? FieldTarget::window() : FieldTarget::none();
}

void selectControl(std::int32_t index) {
  selectedObject = index;
  selection.assign(index >= 0 ? 1 : 0, index);
  target = FieldTarget::control(index);
  editHistory.noteSelection(index);
}

void selectWindow() {
  selectedObject = -1;
  selection.clear();
  target = FieldTarget::window();
  editHistory.noteSelection(-1);
}

void selectedControlRemoved() {
  // The history keeps the selection the deletion began with: undoing it
  // brings the control back selected.
  selectedObject = -1;
  selection.clear();
  target = FieldTarget::window();
}

void targetPoint(std::int32_t index) { target = FieldTarget::point(index); }

void outlineRemoved() {
  target = selectedObject >= 0 ? FieldTarget::control(selectedObject) : FieldTarget::window();
}

void beginMove(RegionPoint press, const PixelRect& control) {
  dragOffset = dragOffsetOf(press, control);
  currentTool = ToolCode::Moving;
}

void endMove() {
  if (currentTool == ToolCode::Moving) currentTool = ToolCode::Select;
}

void pickUpCorner(ToolCode corner) {
  if (!isSizingTool(corner)) return;
  currentTool = corner;
  pickupPending = kPickedUp;
}

void dropCorner() {
  if (isSizingTool(currentTool)) currentTool = ToolCode::Select;
  pickupPending = kNothingPickedUp;
}

void switchCorner(ToolCode corner) {
  if (isSizingTool(currentTool) && isSizingTool(corner)) currentTool = corner;
}

bool cornerPickedUp() { return isSizingTool(currentTool) && pickupPending == kPickedUp; }

namespace {
// Ends whatever the mouse was doing to a control; true when a picked-up
// corner was dropped (the caller applies the size).
bool endControlInteraction() {
  const bool dropped = cornerPickedUp();
  if (dropped || isSizingTool(currentTool)) dropCorner();
  endMove();
  return dropped;
}
}  // namespace

bool chooseTool(ToolCode code) {
  const bool dropped = endControlInteraction();
  currentTool = currentToolAfter(code, currentTool);
  return dropped;
}

bool chooseEditVariant(ToolCode variant) {
  const bool dropped = endControlInteraction();
  currentTool = variant;
  return dropped;
}

void beginPointDrag(std::int32_t index, RegionPoint grabOffset) {
  markerGrabOffset = grabOffset;
  markerDragState = kMarkerDragged;
  pickupPending = kPickedUp;
  target = FieldTarget::point(index);
}

void endPointDrag() {
  pickupPending = kNothingPickedUp;
  markerDragState = kMarkerIdle;
}

bool deleteAllowed() {
  return currentTool != ToolCode::Moving && !isSizingTool(currentTool) && pickupPending == kNothingPickedUp;
}

}  // namespace quorvin
