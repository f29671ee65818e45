// The designer as a whole, started in a folder of its own.
#include "app/main_window.h"
#include "app/model.h"
#include "tests/gui/gui_support.h"

namespace quorvin::gui {
namespace {

using ShellTest = DesignerTest;

TEST_F(ShellTest, StartsWithMainWindowAndNoProject) {
  ASSERT_NE(mainWindow, nullptr);
  EXPECT_EQ(project.surface, 0u);
  EXPECT_EQ(currentTool, ToolCode::Select);
  screenshot(mainWindow, "shell-start");
}

}  // namespace
}  // namespace quorvin::gui
