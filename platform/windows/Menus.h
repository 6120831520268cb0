// Menu Manager: menus loaded from 'MENU' resources or made in code, their items (text,
// enable state, mark, key equivalent, command), the menu bar, and menu choice.
//
// AppendMenu and InsertMenuItem read the classic metacharacters (';' separates items,
// '(' disables, '!' marks, '/' sets the key equivalent, '^' and '<' are dropped); the
// ...ItemText calls take the text literally, as user texts (names, history) must be.
#pragma once

#include "toolbox/MacTypes.h"
#include "windows/MacWindows.h"

typedef struct OpaqueMenuRef* MenuRef;
typedef MenuRef MenuHandle;
typedef SInt16 MenuID;
typedef UInt16 MenuItemIndex;
typedef UInt32 MenuCommand;
typedef SInt16 CharParameter;

enum : CharParameter { noMark = 0, checkMark = 0x12 };

MenuRef NewMenu(MenuID menuID, ConstStr255Param title);
// The menu of 'MENU' resource `resourceID`; the same menu for every call until disposed.
// Null when the resource is missing or damaged.
MenuRef GetMenu(SInt16 resourceID);
void DisposeMenu(MenuRef menu);
// A private copy (not tied to the resource) that the caller disposes of.
OSStatus DuplicateMenu(MenuRef source, MenuRef* outMenu);
MenuID GetMenuID(MenuRef menu);
UInt16 CountMenuItems(MenuRef menu);

void AppendMenu(MenuRef menu, ConstStr255Param data);
void InsertMenuItem(MenuRef menu, ConstStr255Param itemString, MenuItemIndex afterItem);
OSStatus InsertMenuItemText(MenuRef menu, ConstStr255Param text, MenuItemIndex afterItem);
void DeleteMenuItem(MenuRef menu, MenuItemIndex item);
OSStatus DeleteMenuItems(MenuRef menu, MenuItemIndex firstItem, UInt32 numItems);

void GetMenuItemText(MenuRef menu, MenuItemIndex item, Str255 text);
void SetMenuItemText(MenuRef menu, MenuItemIndex item, ConstStr255Param text);
// Item 0 stands for the whole menu.
void EnableMenuItem(MenuRef menu, MenuItemIndex item);
void DisableMenuItem(MenuRef menu, MenuItemIndex item);
Boolean IsMenuItemEnabled(MenuRef menu, MenuItemIndex item);
void CheckMenuItem(MenuRef menu, MenuItemIndex item, Boolean checked);
void SetItemMark(MenuRef menu, MenuItemIndex item, CharParameter mark);
void GetItemMark(MenuRef menu, MenuItemIndex item, CharParameter* mark);
OSStatus SetMenuItemCommandID(MenuRef menu, MenuItemIndex item, MenuCommand command);
OSStatus GetMenuItemCommandID(MenuRef menu, MenuItemIndex item, MenuCommand* command);

// The menu bar.
void InsertMenu(MenuRef menu, MenuID beforeID);  // 0: at the end
void ClearMenuBar();
MenuRef GetMenuHandle(MenuID menuID);
UInt16 CountMenuBarMenus();
MenuRef GetIndMenuInBar(UInt16 index);  // 1-based
// The bar is a strip window along the top of the main screen (null while it has no menus);
// a click in it goes to MenuSelect.
void DrawMenuBar();
WindowRef MenuBarWindow();

// Choice: (menu ID << 16) | item, or 0 when nothing was chosen. A popup shows `menu` with
// item `popUpItem` at top/left (global) and follows the mouse until the button goes up.
SInt32 PopUpMenuSelect(MenuRef menu, SInt16 top, SInt16 left, SInt16 popUpItem);
SInt32 MenuSelect(Point startPt);
// The enabled item whose key equivalent is `key` (case-insensitive), or 0.
SInt32 MenuKey(CharParameter key);

// Test hook: the next PopUpMenuSelect or MenuSelect answers `item` of `menuID` at once
// (0 = nothing chosen), as though the user had chosen it.
void MenuSetNextChoice(MenuID menuID, MenuItemIndex item);
