// The chooser's list of a folder's items: one row per item, its icon and name. A double
// click broadcasts msg_NavEnterItem with the row (TableIndexT*).
#pragma once

#include <vector>

#include "framework/LBroadcaster.h"
#include "framework/LTable.h"
#include "navigation/Navigation.h"

constexpr MessageT msg_NavEnterItem = 'NvEn';

class LNavItemTable : public LTable, public LBroadcaster {
 public:
  static constexpr ClassIDT class_ID = 'NvIt';
  using Inherited = LTable;

  explicit LNavItemTable(LStream* stream) : LTable(stream) {}

  void SetItems(std::vector<NavItem> items);
  const std::vector<NavItem>& GetItems() const { return mItems; }
  // The selected item, or null.
  const NavItem* SelectedItem() const;
  // The row of the item shown as `name`, 0 when there is none.
  TableIndexT RowNamed(const std::string& name) const;

 protected:
  void DrawSelf() override;
  void DrawCell(const STableCell& cell) override;
  void HiliteCell(const STableCell& cell) override;
  void UnhiliteCell(const STableCell& cell) override;
  void ClickCell(const STableCell& cell, const SMouseDownEvent& event) override;

 private:
  std::vector<NavItem> mItems;
};
