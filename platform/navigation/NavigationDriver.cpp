#include "navigation/NavigationDriver.h"

#include "framework/FrameworkDriver.h"
#include "framework/LException.h"
#include "framework/LWindow.h"
#include "navigation/LNavItemTable.h"
#include "windows/TestDriver.h"

namespace wxnavigation {

namespace {

void ClickRow(LWindow* chooser, const std::string& name, int clicks) {
  auto* table = wxframework::FindPaneAs<LNavItemTable>(chooser, 'ITEM');
  const TableIndexT row = table->RowNamed(name);
  Rect frame;
  if (row == 0 || !table->FetchLocalCellFrame({row, 1}, frame)) Throw_(err_NilPointer);
  const Point centre = {SInt16((frame.top + frame.bottom) / 2), SInt16(frame.left + 30)};
  for (int i = 0; i < clicks; ++i) wxdriver::ClickInWindow(chooser->GetMacWindow(), centre);
}

}  // namespace

void SelectItem(LWindow* chooser, const std::string& name) { ClickRow(chooser, name, 1); }
void EnterItem(LWindow* chooser, const std::string& name) { ClickRow(chooser, name, 2); }
void GoUp(LWindow* chooser, SInt16 level) { wxframework::ChoosePopupItem(chooser, 'PATH', level); }
void TypeLocation(LWindow* chooser, const std::string& bytes) { wxframework::TypeIntoPane(chooser, 'LOCN', bytes); }

std::vector<std::string> ShownNames(LWindow* chooser) {
  std::vector<std::string> names;
  for (const NavItem& item : wxframework::FindPaneAs<LNavItemTable>(chooser, 'ITEM')->GetItems())
    names.push_back(item.shown);
  return names;
}

}  // namespace wxnavigation
