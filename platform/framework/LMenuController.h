// The menu of a control (a popup): a private copy of a 'MENU' resource, edited item by item.
// Inserted texts are taken literally. After every change the owner's minimum and maximum
// follow the item count (1..count, or 0..0 when empty) and the mark follows its value.
#pragma once

#include "framework/FrameworkTypes.h"
#include "windows/Menus.h"

class LControl;

class LMenuController {
 public:
  explicit LMenuController(LControl* owner);
  LMenuController(const LMenuController&) = delete;
  LMenuController& operator=(const LMenuController&) = delete;
  virtual ~LMenuController();

  // Loads another menu (an unknown ID leaves an empty menu).
  virtual void SetMenuID(ResIDT menuID);
  ResIDT GetMenuID() const { return mMenuID; }
  MenuRef GetMacMenuH() const { return mMenu; }

  SInt16 CountMenuItems() const;
  void InsertMenuItem(ConstStr255Param text, SInt16 afterItem, bool enabled = true);
  void AppendMenuItem(ConstStr255Param text, bool enabled = true);
  void DeleteMenuItem(SInt16 item);
  void DeleteAllMenuItems();
  StringPtr GetMenuItemText(SInt16 item, Str255 outText) const;
  void SetMenuItemText(SInt16 item, ConstStr255Param text);
  void EnableItem(SInt16 item);
  void DisableItem(SInt16 item);
  bool ItemIsEnabled(SInt16 item) const;

 protected:
  // Puts the mark on `item` alone.
  void MarkItem(SInt16 item);
  // Range and value of the owner after the items changed.
  void SyncOwner();

  LControl* mOwner;
  MenuRef mMenu = nullptr;
  ResIDT mMenuID = 0;
};
