// Start-up as the program does it: the main class, the main window, the
// font deleter and the message loop, driven in this process.
#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "app/model.h"
#include "tests/gui/gui_support.h"

namespace quorvin {
namespace {

using gui::classOf;
using gui::textOf;

class MainWindowTest : public testing::Test {
 protected:
  // Leaves no window, no queued quit message and no class behind, so that
  // the next test can start the designer again.
  void TearDown() override {
    if (mainWindow != nullptr) DestroyWindow(mainWindow);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    UnregisterClassW(L"Quorvin", GetModuleHandleW(nullptr));
    setFontDeleter(nullptr);
  }
};

TEST_F(MainWindowTest, StartsAsQuorvinWindowAndEndsLoopWhenDestroyed) {
  ASSERT_TRUE(startDesigner(GetModuleHandleW(nullptr), SW_SHOWNORMAL));
  const HWND window = mainWindow;
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FindWindowW(L"Quorvin", L"Quorvin"), window);
  EXPECT_EQ(classOf(window), L"Quorvin");
  EXPECT_EQ(textOf(window), L"Quorvin");
  EXPECT_TRUE(IsWindowVisible(window));
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
  RECT frame{};
  ASSERT_TRUE(GetWindowRect(window, &frame));
  EXPECT_EQ(frame.right - frame.left, 400);
  EXPECT_EQ(frame.bottom - frame.top, 400);
  EXPECT_EQ(GetClassLongPtrW(window, GCL_STYLE), 0x1003u);
  // The class brings the menu and the icon from the resources.
  EXPECT_NE(GetMenu(window), nullptr);
  EXPECT_NE(GetClassLongPtrW(window, GCLP_HICON), 0u);

  // The model's clearProject deletes the project's font through the deleter
  // that start-up installed.
  const HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                                 FIXED_PITCH | FF_MODERN, L"MS Gothic");
  ASSERT_NE(font, nullptr);
  project.fontHandle = reinterpret_cast<FontHandle>(font);
  clearProject();
  EXPECT_EQ(project.fontHandle, 0u);
  EXPECT_EQ(GetObjectType(font), 0u) << "the font was not deleted";

  // Destroying the main window ends the message loop with code 0.
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(mainWindow, nullptr);
  EXPECT_EQ(runMessageLoop(), 0);
}

}  // namespace
}  // namespace quorvin
