// The GDI owners: objects deleted when their owner goes, the previous object
// selected back by the guard.
#include "common/win32/gdi.h"

#include <gtest/gtest.h>

namespace quorvin {
namespace {

HFONT makeFont() {
  return CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                     L"Tahoma");
}

TEST(Gdi, GuardSelectsBackThePreviousFontAndOwnerDeletesIt) {
  WindowDc dc = getWindowDc(nullptr);
  ASSERT_TRUE(dc);
  const HGDIOBJ before = GetCurrentObject(dc.get(), OBJ_FONT);
  HFONT raw = nullptr;
  {
    UniqueFont font(makeFont());
    raw = font.get();
    ASSERT_NE(raw, nullptr);
    {
      SelectObjectGuard guard(dc.get(), font.get());
      EXPECT_TRUE(guard);
      EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), font.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), before);
    EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_FONT));
  }
  EXPECT_EQ(GetObjectType(raw), 0u);
}

TEST(Gdi, GuardLeavesDcAloneWhenNothingIsSelected) {
  WindowDc dc = getWindowDc(nullptr);
  ASSERT_TRUE(dc);
  const HGDIOBJ before = GetCurrentObject(dc.get(), OBJ_FONT);
  UniqueRegion region(CreateRectRgn(0, 0, 10, 10));
  {
    SelectObjectGuard regionGuard(dc.get(), region.get());
    SelectObjectGuard nullGuard(dc.get(), nullptr);
    EXPECT_FALSE(regionGuard);
    EXPECT_FALSE(nullGuard);
  }
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), before);
  EXPECT_EQ(GetObjectType(region.get()), static_cast<DWORD>(OBJ_REGION));
}

}  // namespace
}  // namespace quorvin
