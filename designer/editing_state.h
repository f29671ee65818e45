#pragma once
// The editing state: what is selected, which tool or interaction is under
// way, what a size handle or a point marker has picked up, and what the six
// property fields stand for. One instance on the one UI thread, no locks.
//
// The window procedures change the selection, the tool and the fields'
// target only through the named transitions below, so the three never
// disagree: the fields apply to exactly the target they were last filled
// from, and a control being moved or sized cannot be deleted under the
// mouse. Portable: the shell turns messages into these calls and then does
// the window work (handles, field texts, capture) that goes with them.

#include <cstdint>
#include <vector>

#include "app/model.h"
#include "designer/geometry.h"

namespace quorvin {

// What the property fields show and what a key release in them changes.
struct FieldTarget {
  enum class Kind : std::int32_t {
    None,     // no design open: the fields stand for nothing
    Window,   // the designed window
    Control,  // objects[index]
    Point,    // polygon point `index`
  };
  Kind kind = Kind::None;
  std::int32_t index = -1;  // control or point index; -1 for None and Window

  static FieldTarget none() { return {}; }
  static FieldTarget window() { return {Kind::Window, -1}; }
  static FieldTarget control(std::int32_t i) { return {Kind::Control, i}; }
  static FieldTarget point(std::int32_t k) { return {Kind::Point, k}; }
  friend bool operator==(const FieldTarget&, const FieldTarget&) = default;
};

// The current tool or interaction mode (Moving, a sizing code while a
// corner is picked up).
extern ToolCode currentTool;
// Index of the selected control, -1 when none. With several controls
// selected it is the primary one (the last clicked): the one the others are
// lined up with and sized to, and the one the style dialog edits.
extern std::int32_t selectedObject;

// The selected controls in the order they joined the selection; the primary
// is always the last. Empty exactly when selectedObject is -1.
const std::vector<std::int32_t>& selectedControls();
// True when control `index` is one of the selection.
bool isSelected(std::int32_t index);

// Cursor at the last left-button press, in surface client coordinates (the
// main window's point-adding handler stores main-window client coordinates).
inline RegionPoint pressPoint;
// Cursor last read on a move or a release, surface client coordinates.
inline RegionPoint cursorPoint;
// Cursor minus the selected control's top-left when a move began.
inline RegionPoint dragOffset;
// The values of pickupPending: kPickedUp while a size handle or a polygon
// marker is picked up and not dropped.
inline constexpr std::int32_t kNothingPickedUp = 0;
inline constexpr std::int32_t kPickedUp = 1;
inline std::int32_t pickupPending = kNothingPickedUp;

// The values of markerDragState.
inline constexpr std::int32_t kMarkerIdle = 0;
inline constexpr std::int32_t kMarkerDragged = 1;   // being dragged or committed
inline constexpr std::int32_t kMarkerPutBack = 2;   // being put back where it was
inline std::int32_t markerDragState = kMarkerIdle;
// Cursor inside the marker (marker client coordinates) when it was pressed.
inline RegionPoint markerGrabOffset;

// The fields' target as it stands.
FieldTarget fieldTarget();

// ---- Transitions ----------------------------------------------------------

// A design was opened, made new or closed: nothing selected, the Select
// tool, nothing picked up or moving; the fields stand for the designed
// window, or for nothing when `designOpen` is false.
void resetEditing(bool designOpen);

// Control `index` becomes the selection and the fields' target. (The undo
// history is told of every selection change.)
void selectControl(std::int32_t index);
// Ctrl+click or Shift+click: a control not yet selected joins the selection
// and becomes the primary one; a selected one leaves it (when it was the
// primary, the one of those left that joined last takes its place).
// Leaving the last one selects the window.
void toggleControl(std::int32_t index);
// A click without Ctrl or Shift on a control that is already one of several
// selected: it becomes the primary one, the selection stays.
void makePrimary(std::int32_t index);
// The rubber band, Ctrl+A: `indices` become the selection (duplicates and
// negative entries ignored), `primary` the primary one when it is among
// them, else the last of them. An empty list selects the window.
void selectControls(const std::vector<std::int32_t>& indices, std::int32_t primary);

// No control is selected; the fields stand for the designed window (a press
// on the surface's background, a move or size of its frame, a deletion).
void selectWindow();
// The selected controls went (deleted): nothing selected, the window is the
// target; the undo history still remembers it as selected.
void selectedControlRemoved();

// Polygon point `index` becomes the fields' target (pressed, dragged,
// typed, or made active after a deletion). The selection is left alone.
void targetPoint(std::int32_t index);
// The outline went: the fields stand for the designed window again.
void outlineRemoved();

// A press on the selected control starts moving it: the tool becomes
// Moving and `dragOffset` keeps the grabbed point under the cursor.
void beginMove(RegionPoint press, const PixelRect& control);
// The release ends the move: back to Select.
void endMove();

// A size handle was clicked: the corner is picked up (the tool becomes its
// sizing code). A second click drops it (dropCorner).
void pickUpCorner(ToolCode corner);
void dropCorner();
// While sizing, the dragged corner changes when the cursor crosses the
// opposite edge.
void switchCorner(ToolCode corner);
// True while a corner is picked up.
bool cornerPickedUp();

// A tool is chosen on the palette (or in the edit-variant dialog). Edit
// keeps the current tool (the dialog chooses the variant); a move under way
// ends and a picked-up corner is dropped first: the caller applies the drop
// to the control when this returns true.
bool chooseTool(ToolCode code);
// The edit-variant dialog's choice (Edit, EditM, ... EditMVH) becomes the
// tool, as chooseTool does for the other cells.
bool chooseEditVariant(ToolCode variant);

// A point marker is pressed: it is picked up (dragged until its release)
// and point `index` becomes the fields' target.
void beginPointDrag(std::int32_t index, RegionPoint grabOffset);
// The marker's position was committed: nothing is picked up any more.
void endPointDrag();

// True when the Delete key may act on the design: not while a control is
// moved, a corner or a point marker is picked up.
bool deleteAllowed();

}  // namespace quorvin
