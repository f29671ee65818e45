#include "app/model.h"

#include <gtest/gtest.h>

namespace quorvin {
namespace {

TEST(Model, ObjectArrayGrowsByFiveWhenFull) {
  objects.assign(10, {});
  for (int i = 0; i < 10; ++i) objects[static_cast<size_t>(i)].window = 1;
  EXPECT_EQ(takeFreeObjectSlot(), 10);  // the eleventh control
  EXPECT_EQ(objectCapacity(), 15);
  for (int i = 10; i < 15; ++i) {
    EXPECT_EQ(objects[static_cast<size_t>(i)], DesignObject{});
    objects[static_cast<size_t>(i)].window = 1;
  }
  EXPECT_EQ(takeFreeObjectSlot(), 15);  // the sixteenth
  EXPECT_EQ(objectCapacity(), 20);
  objects[3].window = 0;
  EXPECT_EQ(takeFreeObjectSlot(), 3);
  objects.clear();
}

TEST(Model, TextSettersIgnoreUnknownSlots) {
  Project p;
  setProjectText(p, 1, "Title");
  setProjectText(p, 2, "ignored");
  setProjectText(p, 3, "Class");
  setProjectText(p, 8, "pt");
  EXPECT_EQ(p.title, "Title");
  EXPECT_EQ(p.className, "Class");
  EXPECT_EQ(p.variableNames.point, "pt");
  DesignObject o;
  setObjectText(o, 1, "Cap");
  setObjectText(o, 2, "ID_X");
  setObjectText(o, 3, "no");
  EXPECT_EQ(o.caption, "Cap");
  EXPECT_EQ(o.idName, "ID_X");
  freeObjectTexts(o);
  EXPECT_TRUE(o.caption.empty() && o.idName.empty());
}

FontHandle deletedFont = 0;

TEST(Model, ClearProjectDeletesFontAndResets) {
  setFontDeleter([](FontHandle h) { deletedFont = h; });
  Project p;
  p.title = "t";
  p.fontHandle = 77;
  p.surface = 5;
  p.regionMode = RegionMode::Polygon;
  p.growPointArrays(10);
  p.pointCount = 3;
  p.activePoint = 1;
  clearProject(p);
  EXPECT_EQ(deletedFont, 77u);
  EXPECT_EQ(p, Project{});
  EXPECT_EQ(p.activePoint, -1);
  EXPECT_EQ(p.regionMode, RegionMode::Rectangle);
  setFontDeleter(nullptr);
}

TEST(Model, DefaultFontIsMsGothic13) {
  const FontSpec f = defaultFontSpec();
  EXPECT_EQ(f.lfHeight, -13);
  EXPECT_EQ(f.lfWeight, 400);
  EXPECT_EQ(f.lfCharSet, 128);
  EXPECT_EQ(f.lfPitchAndFamily, 0x31);
  EXPECT_STREQ(f.lfFaceName, "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e");
}

}  // namespace
}  // namespace quorvin
