#include "framework/LMenuController.h"

#include <algorithm>

#include "framework/LControl.h"

LMenuController::LMenuController(LControl* owner) : mOwner(owner), mMenu(NewMenu(0, reinterpret_cast<const unsigned char*>(""))) {}

LMenuController::~LMenuController() { DisposeMenu(mMenu); }

void LMenuController::SetMenuID(ResIDT menuID) {
  MenuRef copy = nullptr;
  if (DuplicateMenu(GetMenu(menuID), &copy) != 0) copy = NewMenu(menuID, reinterpret_cast<const unsigned char*>(""));
  DisposeMenu(mMenu);
  mMenu = copy;
  mMenuID = menuID;
  SyncOwner();
}

SInt16 LMenuController::CountMenuItems() const { return static_cast<SInt16>(::CountMenuItems(mMenu)); }

void LMenuController::InsertMenuItem(ConstStr255Param text, SInt16 afterItem, bool enabled) {
  InsertMenuItemText(mMenu, text, static_cast<MenuItemIndex>(afterItem < 0 ? 0 : afterItem));
  MenuItemIndex at = static_cast<MenuItemIndex>(afterItem < 0 ? 1 : std::min<int>(afterItem + 1, CountMenuItems()));
  if (!enabled) DisableMenuItem(mMenu, at);
  SyncOwner();
}

void LMenuController::AppendMenuItem(ConstStr255Param text, bool enabled) {
  InsertMenuItem(text, CountMenuItems(), enabled);
}

void LMenuController::DeleteMenuItem(SInt16 item) {
  ::DeleteMenuItem(mMenu, static_cast<MenuItemIndex>(item));
  SyncOwner();
}

void LMenuController::DeleteAllMenuItems() {
  DeleteMenuItems(mMenu, 1, ::CountMenuItems(mMenu));
  SyncOwner();
}

StringPtr LMenuController::GetMenuItemText(SInt16 item, Str255 out) const {
  ::GetMenuItemText(mMenu, static_cast<MenuItemIndex>(item), out);
  return out;
}

void LMenuController::SetMenuItemText(SInt16 item, ConstStr255Param text) {
  ::SetMenuItemText(mMenu, static_cast<MenuItemIndex>(item), text);
  mOwner->Refresh();
}

void LMenuController::EnableItem(SInt16 item) { EnableMenuItem(mMenu, static_cast<MenuItemIndex>(item)); }

void LMenuController::DisableItem(SInt16 item) { DisableMenuItem(mMenu, static_cast<MenuItemIndex>(item)); }

bool LMenuController::ItemIsEnabled(SInt16 item) const {
  return IsMenuItemEnabled(mMenu, static_cast<MenuItemIndex>(item));
}

void LMenuController::MarkItem(SInt16 item) {
  for (MenuItemIndex i = 1; i <= ::CountMenuItems(mMenu); ++i) CheckMenuItem(mMenu, i, i == item);
}

void LMenuController::SyncOwner() {
  SInt16 count = CountMenuItems();
  mOwner->SetMinValue(count > 0 ? 1 : 0);
  mOwner->SetMaxValue(count);
  MarkItem(static_cast<SInt16>(mOwner->GetValue()));
  mOwner->Refresh();
}
