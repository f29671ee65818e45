#pragma once
// Placing a new control on the design surface: what each placement tool
// makes (class, text, style, identifier name, kind) and the rectangle that a
// drag from a press point to a release point gives.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/model.h"
#include "designer/geometry.h"

namespace quorvin {

// One row of the table of new controls, chosen by the current tool.
// Texts are static ASCII (valid CP932), never null.
struct PlacementDefaults {
  ToolCode tool;
  const char* windowClass;   // "BUTTON", "EDIT", "STATIC", "LISTBOX"
  const char* caption;       // window text and stored caption; "" for a list box
  std::uint32_t style;       // always contains WS_CHILD | WS_VISIBLE
  std::uint32_t exStyle;     // 0, WS_EX_CLIENTEDGE or WS_EX_TRANSPARENT
  const char* idName;        // the same fixed name for every new control of a tool
  ObjectKind kind;
};

// The eleven rows, in the order Button, Edit, EditM, EditMV, EditMH, EditMVH,
// Static, ListBox, CheckBox, GroupBox, RadioButton.
std::span<const PlacementDefaults> placementTable();

// The row of `tool`, or null when `tool` is not a placement tool.
const PlacementDefaults* placementDefaultsFor(ToolCode tool);

// True for the eleven tools that place a control when a drag ends.
bool isPlacementTool(ToolCode tool);

// The rectangle of a drag from `press` to `release`: left/top the smaller
// coordinates, width/height the absolute differences. Nothing when both
// points share their x or their y (nothing is placed then). A difference
// that does not fit 32 bits is held at the largest value.
std::optional<PixelRect> placementRectangle(RegionPoint press,
                                            RegionPoint release);

// The record of a control that `tool` places at `rect`: kind, rectangle,
// caption, idName and style from the table; window and savedProc 0. The
// window layer fills `window` and `savedProc`, and replaces `style` by the
// style that the created control reports. Nothing for a non-placement tool.
std::optional<DesignObject> newPlacedObject(ToolCode tool, const PixelRect& rect);

// The ID name for a new control whose default name is `base`, so that no two
// controls share one: `base` itself while no control in `placed` has it,
// otherwise `base` followed by the lowest number from 2 on that none has
// (ID_BUTTON, ID_BUTTON2, ID_BUTTON3, ...).
std::string uniqueIdName(std::string_view base, std::span<const DesignObject> placed);

}  // namespace quorvin
