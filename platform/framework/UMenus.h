// The application's menu bar as commands: every item carries a command number (from the
// 'Mcmd' resource of its menu: u16 count, then one i32 per item); an item without one
// stands for -((menu << 16) | item), and -(menu << 16) names a whole menu when command
// status is asked.
#pragma once

#include "framework/FrameworkTypes.h"
#include "windows/Menus.h"

class UMenus {
 public:
  // Puts the menus that 'MBAR' `menuBarID` lists (u16 count, then menu IDs) in the bar.
  static void InstallMenuBar(ResIDT menuBarID);
  static CommandT CommandOf(MenuID menu, MenuItemIndex item);
  static constexpr CommandT WholeMenuCommand(MenuID menu) { return -(static_cast<CommandT>(menu) << 16); }
  // The command of the item the user chose, or cmd_Nothing.
  static CommandT MenuSelect(Point where);
  static CommandT MenuKey(char key);
  // Asks the target the status of every menu and item and enables, disables and marks them.
  static void UpdateMenuBar();
};
