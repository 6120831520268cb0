#include "framework/UMenus.h"

#include "framework/LCommander.h"
#include "framework/LDataStream.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"

namespace {

CommandT ChoiceToCommand(SInt32 choice) {
  if (choice == 0) return cmd_Nothing;
  return UMenus::CommandOf(static_cast<MenuID>(choice >> 16), static_cast<MenuItemIndex>(choice & 0xFFFF));
}

void LoadCommands(MenuRef menu) {
  Handle data = GetResource('Mcmd', GetMenuID(menu));
  if (!data) return;
  LDataStream stream(static_cast<const void*>(*data), static_cast<SInt32>(GetHandleSize(data)));
  UInt16 count = 0;
  stream >> count;
  for (UInt16 item = 1; item <= count && item <= CountMenuItems(menu); ++item) {
    SInt32 command = 0;
    stream >> command;
    SetMenuItemCommandID(menu, item, static_cast<MenuCommand>(command));
  }
}

}  // namespace

void UMenus::InstallMenuBar(ResIDT menuBarID) {
  Handle data = GetResource('MBAR', menuBarID);
  if (!data) return;
  LDataStream stream(static_cast<const void*>(*data), static_cast<SInt32>(GetHandleSize(data)));
  UInt16 count = 0;
  stream >> count;
  for (UInt16 i = 0; i < count; ++i) {
    SInt16 id = 0;
    stream >> id;
    if (MenuRef menu = GetMenu(id)) {
      LoadCommands(menu);
      InsertMenu(menu, 0);
    }
  }
  DrawMenuBar();
}

CommandT UMenus::CommandOf(MenuID menu, MenuItemIndex item) {
  MenuCommand command = 0;
  if (GetMenuItemCommandID(GetMenuHandle(menu), item, &command) == 0 && command != 0)
    return static_cast<CommandT>(command);
  return -((static_cast<CommandT>(menu) << 16) | item);
}

CommandT UMenus::MenuSelect(Point where) { return ChoiceToCommand(::MenuSelect(where)); }

CommandT UMenus::MenuKey(char key) { return ChoiceToCommand(::MenuKey(static_cast<unsigned char>(key))); }

void UMenus::UpdateMenuBar() {
  LCommander* target = LCommander::GetTarget();
  if (!target) return;
  for (UInt16 m = 1; m <= CountMenuBarMenus(); ++m) {
    MenuRef menu = GetIndMenuInBar(m);
    MenuID id = GetMenuID(menu);
    bool enabled = true, usesMark = false;
    UInt16 mark = 0;
    Str255 name;
    name[0] = 0;
    target->ProcessCommandStatus(WholeMenuCommand(id), enabled, usesMark, mark, name);
    if (enabled)
      EnableMenuItem(menu, 0);
    else
      DisableMenuItem(menu, 0);
    for (MenuItemIndex item = 1; item <= CountMenuItems(menu); ++item) {
      enabled = false;
      usesMark = false;
      mark = 0;
      name[0] = 0;
      target->ProcessCommandStatus(CommandOf(id, item), enabled, usesMark, mark, name);
      if (enabled)
        EnableMenuItem(menu, item);
      else
        DisableMenuItem(menu, item);
      if (usesMark) SetItemMark(menu, item, static_cast<CharParameter>(mark));
      if (name[0]) SetMenuItemText(menu, item, name);
    }
  }
  DrawMenuBar();
}
