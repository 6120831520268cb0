#include "navigation/LNavItemTable.h"

#include "framework/StColorState.h"
#include "quickdraw/Icons.h"
#include "quickdraw/QuickDrawText.h"
#include "toolbox/TextConvert.h"

namespace {
constexpr SInt16 kIconSize = 16;
constexpr RGBColor kBlack = {0, 0, 0};
constexpr RGBColor kWhite = {0xFFFF, 0xFFFF, 0xFFFF};
}

void LNavItemTable::SetItems(std::vector<NavItem> items) {
  TableIndexT rows = 0, cols = 0;
  GetTableSize(rows, cols);
  SelectCell({0, 0});
  RemoveRows(rows, 1, false);
  mItems = std::move(items);
  InsertRows(UInt32(mItems.size()), 0, nullptr, 0, true);
}

const NavItem* LNavItemTable::SelectedItem() const {
  STableCell cell{0, 0};
  if (!GetSelectedCell(cell) || cell.row < 1 || cell.row > mItems.size()) return nullptr;
  return &mItems[cell.row - 1];
}

TableIndexT LNavItemTable::RowNamed(const std::string& name) const {
  for (size_t i = 0; i < mItems.size(); ++i)
    if (mItems[i].shown == name) return TableIndexT(i + 1);
  return 0;
}

void LNavItemTable::DrawSelf() {
  Rect frame;
  if (CalcLocalFrameRect(frame)) {
    StColorState saved;
    RGBBackColor(&kWhite);
    EraseRect(&frame);
  }
  LTable::DrawSelf();
}

void LNavItemTable::DrawCell(const STableCell& cell) {
  Rect frame;
  if (cell.row < 1 || cell.row > mItems.size() || !FetchLocalCellFrame(cell, frame)) return;
  const NavItem& item = mItems[cell.row - 1];
  StColorState saved;
  RGBForeColor(&kBlack);
  RGBBackColor(&kWhite);
  EraseRect(&frame);
  IconRef icon = nullptr;
  SInt16 label = kNoLabel;
  const SInt16 top = SInt16(frame.top + (frame.bottom - frame.top - kIconSize) / 2);
  Rect iconRect = {top, SInt16(frame.left + 2), SInt16(top + kIconSize), SInt16(frame.left + 2 + kIconSize)};
  if (GetIconRefFromFile(&item.spec, &icon, &label) == noErr) {
    PlotIconRef(&iconRect, kAlignAbsoluteCenter, kTransformNone, kIconServicesNormalUsageFlag, icon);
    ReleaseIconRef(icon);
  }
  Str255 name;
  if (!UTF8ToPString(item.shown, name, sizeof name)) UTF8ToPString("?", name, sizeof name);
  TruncString(SInt16(frame.right - iconRect.right - 8), name, truncMiddle);
  MoveTo(SInt16(iconRect.right + 4), SInt16(frame.bottom - 4));
  DrawString(name);
}

void LNavItemTable::HiliteCell(const STableCell& cell) {
  Rect frame;
  if (FetchLocalCellFrame(cell, frame)) InvertRect(&frame);
}

void LNavItemTable::UnhiliteCell(const STableCell& cell) {
  Rect frame;
  if (FetchLocalCellFrame(cell, frame)) InvertRect(&frame);
}

void LNavItemTable::ClickCell(const STableCell& cell, const SMouseDownEvent& event) {
  LTable::ClickCell(cell, event);
  TableIndexT row = cell.row;
  if (GetClickCount() > 1) BroadcastMessage(msg_NavEnterItem, &row);
}
