#include "framework/UMenus.h"

#include <gtest/gtest.h>

#include "FrameworkFixture.h"
#include "framework/FrameworkDriver.h"
#include "windows/TestDriver.h"

using namespace wxframework;

namespace {

struct CommandApp : LApplication {
  std::vector<CommandT> obeyed;
  bool closeEnabled = false;
  bool ObeyCommand(CommandT command, void* param) override {
    obeyed.push_back(command);
    return LApplication::ObeyCommand(command, param);
  }
  void FindCommandStatus(CommandT command, bool& enabled, bool& usesMark, UInt16& mark, Str255 name) override {
    if (command == cmd_New) {
      enabled = true;
      return;
    }
    if (command == cmd_Close) {
      enabled = closeEnabled;
      return;
    }
    LApplication::FindCommandStatus(command, enabled, usesMark, mark, name);
  }
};

class UMenusTest : public FrameworkFixture {
 protected:
  void SetUp() override {
    FrameworkFixture::SetUp();
    delete mApp;
    mApp = mCommands = new CommandApp;
    UMenus::InstallMenuBar(128);
  }
  void TearDown() override {
    ClearMenuBar();
    FrameworkFixture::TearDown();
  }
  CommandApp* mCommands = nullptr;
};

}  // namespace

TEST_F(UMenusTest, ItemsCarryTheirCommandsAndWholeMenusHaveTheirOwn) {
  EXPECT_EQ(UMenus::CommandOf(128, 1), cmd_New);
  EXPECT_EQ(UMenus::CommandOf(128, 4), cmd_Quit);
  EXPECT_EQ(UMenus::CommandOf(128, 3), -((128 << 16) | 3));
  EXPECT_EQ(UMenus::WholeMenuCommand(128), -8388608);
}

TEST_F(UMenusTest, StatusGreysCommandsAndKeyEquivalentsFollowIt) {
  UMenus::UpdateMenuBar();
  MenuRef file = GetMenuHandle(128);
  EXPECT_TRUE(IsMenuItemEnabled(file, 1));
  EXPECT_FALSE(IsMenuItemEnabled(file, 2));
  wxdriver::Key('w', 0, cmdKey);  // Close is disabled: no command
  wxdriver::Key('n', 0, cmdKey);
  PumpEvents();
  EXPECT_EQ(mCommands->obeyed, (std::vector<CommandT>{cmd_New}));
  mCommands->closeEnabled = true;
  LCommander::SetUpdateCommandStatus(true);  // the next pass asks again
  PumpEvents();
  EXPECT_TRUE(IsMenuItemEnabled(file, 2));
}

TEST_F(UMenusTest, ChoosingFromTheBarRunsTheCommand) {
  WindowRef bar = MenuBarWindow();
  ASSERT_NE(bar, nullptr);
  Rect bounds;
  GetWindowBounds(bar, kWindowContentRgn, &bounds);
  Point title = {static_cast<SInt16>(bounds.top + 8), static_cast<SInt16>(bounds.left + 14)};
  Point quit = {static_cast<SInt16>(bounds.bottom + 1 + 3 * 18 + 9), static_cast<SInt16>(bounds.left + 30)};
  wxdriver::Drag(title, quit, 5);
  PumpEvents();
  EXPECT_EQ(mCommands->obeyed, (std::vector<CommandT>{cmd_Quit}));
  EXPECT_EQ(mCommands->GetState(), programState_Quitting);
}
