#include "designer/placement.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace quorvin {
namespace {

TEST(Placement, RectangleIsTheSameInAllFourDragDirections) {
  const PixelRect expected{10, 20, 30, 40};
  const RegionPoint topLeft{10, 20}, bottomRight{40, 60};
  const RegionPoint topRight{40, 20}, bottomLeft{10, 60};
  EXPECT_EQ(placementRectangle(topLeft, bottomRight), expected);
  EXPECT_EQ(placementRectangle(bottomRight, topLeft), expected);
  EXPECT_EQ(placementRectangle(topRight, bottomLeft), expected);
  EXPECT_EQ(placementRectangle(bottomLeft, topRight), expected);
  // Negative coordinates (a drag that started outside the client area).
  EXPECT_EQ(placementRectangle({-5, -5}, {5, 1}), (PixelRect{-5, -5, 10, 6}));
}

TEST(Placement, DegenerateDragsPlaceNothing) {
  EXPECT_FALSE(placementRectangle({10, 20}, {10, 60}));  // same column
  EXPECT_FALSE(placementRectangle({10, 20}, {40, 20}));  // same row
  EXPECT_FALSE(placementRectangle({10, 20}, {10, 20}));  // a click
  EXPECT_TRUE(placementRectangle({10, 20}, {11, 21}));   // one pixel is enough
}

TEST(Placement, HugeDragIsHeldAtTheLargestWidth) {
  const auto r = placementRectangle({INT32_MIN, 0}, {INT32_MAX, 1});
  ASSERT_TRUE(r);
  EXPECT_EQ(r->x, INT32_MIN);
  EXPECT_EQ(r->width, INT32_MAX);
}

TEST(Placement, EveryPlacementToolMakesItsControl) {
  struct Row {
    ToolCode tool;
    const char* windowClass;
    const char* caption;
    std::uint32_t style;
    std::uint32_t exStyle;
    const char* idName;
    ObjectKind kind;
  };
  const Row rows[] = {
      {ToolCode::Button, "BUTTON", "Button", 0x50002300, 0, "ID_BUTTON", ObjectKind::BUTTON},
      {ToolCode::Edit, "EDIT", "EDIT", 0x50000080, 0x200, "ID_EDIT", ObjectKind::EDIT},
      {ToolCode::EditM, "EDIT", "EDIT_M", 0x500010C4, 0x200, "ID_EDIT_M", ObjectKind::EDIT_M},
      {ToolCode::EditMV, "EDIT", "EDIT_MV", 0x502010C4, 0x200, "ID_EDIT_MV", ObjectKind::EDIT_MV},
      {ToolCode::EditMH, "EDIT", "EDIT_MH", 0x501010C4, 0x200, "ID_EDIT_MH", ObjectKind::EDIT_MH},
      {ToolCode::EditMVH, "EDIT", "EDIT_MVH", 0x503010C4, 0x200, "ID_EDIT_MVH",
       ObjectKind::EDIT_MVH},
      {ToolCode::Static, "STATIC", "STATIC", 0x50000100, 0x20, "ID_STATIC", ObjectKind::STATIC},
      {ToolCode::ListBox, "LISTBOX", "", 0x50000100, 0x200, "ID_LISTBOX", ObjectKind::LISTBOX},
      {ToolCode::CheckBox, "BUTTON", "CheckBox", 0x50000003, 0, "ID_CHECKBOX", ObjectKind::BUTTON},
      {ToolCode::GroupBox, "BUTTON", "GroupBox", 0x50000007, 0, "ID_GROUPBOX", ObjectKind::BUTTON},
      {ToolCode::RadioButton, "BUTTON", "RadioButton", 0x50000009, 0, "ID_RADIOBUTTON",
       ObjectKind::BUTTON},
  };
  ASSERT_EQ(placementTable().size(), std::size(rows));
  const PixelRect rect{1, 2, 3, 4};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.idName);
    ASSERT_TRUE(isPlacementTool(row.tool));
    const PlacementDefaults* d = placementDefaultsFor(row.tool);
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d->windowClass, row.windowClass);
    EXPECT_EQ(d->exStyle, row.exStyle);
    // The class is the one that a control re-created from a file gets.
    EXPECT_STREQ(windowClassOf(row.kind), row.windowClass);
    const auto object = newPlacedObject(row.tool, rect);
    ASSERT_TRUE(object);
    EXPECT_EQ(object->caption, row.caption);
    EXPECT_EQ(object->idName, row.idName);
    EXPECT_EQ(object->style, row.style);
    EXPECT_EQ(object->kind, row.kind);
    EXPECT_EQ(object->x, 1);
    EXPECT_EQ(object->y, 2);
    EXPECT_EQ(object->width, 3);
    EXPECT_EQ(object->height, 4);
    EXPECT_EQ(object->window, 0u);
  }
  for (ToolCode other : {ToolCode::Select, ToolCode::AddPoint, ToolCode::Moving,
                         ToolCode::SizeTopLeft, ToolCode::SizeBottomRight}) {
    EXPECT_FALSE(isPlacementTool(other));
    EXPECT_FALSE(newPlacedObject(other, rect));
  }
}

// Controls placed one after another, some renamed or deleted between:
// every new one gets the lowest free numbered name, the first the bare one.
TEST(Placement, NewControlsGetTheLowestFreeName) {
  std::vector<DesignObject> placed;
  const auto place = [&placed](const char* base) {
    DesignObject object;
    object.idName = uniqueIdName(base, placed);
    placed.push_back(object);
    return object.idName;
  };
  EXPECT_EQ(place("ID_BUTTON"), "ID_BUTTON");
  EXPECT_EQ(place("ID_BUTTON"), "ID_BUTTON2");
  EXPECT_EQ(place("ID_EDIT"), "ID_EDIT");
  EXPECT_EQ(place("ID_BUTTON"), "ID_BUTTON3");
  placed[0].idName = "ID_OK";  // renamed: its name is free again
  EXPECT_EQ(place("ID_BUTTON"), "ID_BUTTON");
  placed.erase(placed.begin() + 1);  // ID_BUTTON2 deleted
  EXPECT_EQ(place("ID_BUTTON"), "ID_BUTTON2");
  EXPECT_EQ(place("ID_BUTTON"), "ID_BUTTON4");
  // Names that only look numbered do not take a number.
  for (const char* name : {"ID_BUTTON05", "ID_BUTTON1", "ID_BUTTON5x", "ID_BUTTONS"}) {
    DesignObject object;
    object.idName = name;
    placed.push_back(object);
  }
  EXPECT_EQ(place("ID_BUTTON"), "ID_BUTTON5");
}

}  // namespace
}  // namespace quorvin
