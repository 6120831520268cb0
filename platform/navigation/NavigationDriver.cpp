#include "navigation/NavigationDriver.h"

#include "framework/FrameworkDriver.h"
#include "framework/LException.h"
#include "framework/LScroller.h"
#include "framework/LWindow.h"
#include "navigation/LNavItemTable.h"
#include "windows/TestDriver.h"

namespace wxnavigation {

namespace {

void ClickRow(LWindow* chooser, const std::string& name, int clicks) {
  auto* table = wxframework::FindPaneAs<LNavItemTable>(chooser, 'ITEM');
  const TableIndexT row = table->RowNamed(name);
  if (row == 0) Throw_(err_NilPointer);
  Rect frame, shown;
  // A row out of sight is scrolled to the top first, as a user would.
  if (!table->FetchLocalCellFrame({row, 1}, frame) && table->CalcLocalFrameRect(shown)) {
    auto* scroller = wxframework::FindPaneAs<LScroller>(chooser, 'SCRL');
    scroller->ScrollImageTo(0, scroller->GetScrollPosition().v + frame.top - shown.top, true);
  }
  if (!table->FetchLocalCellFrame({row, 1}, frame)) Throw_(err_NilPointer);
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
