#include <gtest/gtest.h>

#include <cstring>

#include "FrameworkFixture.h"
#include "framework/FrameworkDriver.h"
#include "framework/LMultiPanelView.h"
#include "framework/LPlaceHolder.h"
#include "framework/LScroller.h"
#include "framework/LStr255.h"
#include "framework/LTabsControl.h"
#include "framework/LTextTableView.h"
#include "framework/LWindow.h"
#include "windows/TestDriver.h"

using namespace wxframework;

namespace {

class ViewsTest : public FrameworkFixture {
 protected:
  void SetUp() override {
    FrameworkFixture::SetUp();
    mWindow = LWindow::CreateWindow(340, mApp);
    mWindow->Show();
    mWindow->Select();
  }
  void TearDown() override {
    delete mWindow;
    FrameworkFixture::TearDown();
  }
  LWindow* mWindow = nullptr;
};

std::string CellText(LTable* table, TableIndexT row) {
  Str255 text;
  UInt32 size = sizeof text;
  table->GetCellData(STableCell{row, 1}, text, size);
  return std::string(reinterpret_cast<char*>(text + 1), text[0]);
}

}  // namespace

TEST_F(ViewsTest, TabsBroadcastTheChosenTabWithinTheirRange) {
  auto* tabs = FindPaneAs<LTabsControl>(mWindow, 'TABS');
  EXPECT_EQ(tabs->CountTabs(), 3);
  MessageLog log;
  tabs->AddListener(&log);
  Rect frame;
  tabs->CalcPortFrameRect(frame);
  Point third = {static_cast<SInt16>(frame.top + 8), static_cast<SInt16>(frame.right - 30)};
  wxdriver::ClickInWindow(mWindow->GetMacWindow(), third);
  PumpEvents();
  EXPECT_EQ(tabs->GetValue(), 3);
  EXPECT_EQ(log.messages, (std::vector<MessageT>{'TABS'}));
  tabs->SetValue(9);
  EXPECT_EQ(tabs->GetValue(), 3);
}

TEST_F(ViewsTest, OnePanelShowsAtATime) {
  auto* panels = FindPaneAs<LMultiPanelView>(mWindow, 'MPVW');
  EXPECT_EQ(panels->GetCurrentIndex(), 1);
  EXPECT_TRUE(FindPane(mWindow, 'CBP1')->IsVisible());
  EXPECT_EQ(FindPane(mWindow, 'CBP2'), nullptr);  // built on first use
  panels->SwitchToPanel(2, true);
  EXPECT_FALSE(FindPane(mWindow, 'CBP1')->IsVisible());
  EXPECT_TRUE(FindPane(mWindow, 'CBP2')->IsVisible());
  panels->SwitchToPanel(1, true);
  EXPECT_TRUE(FindPane(mWindow, 'CBP1')->IsVisible());
}

TEST_F(ViewsTest, TableRowsCellsAndSelection) {
  auto* table = FindPaneAs<LTextTableView>(mWindow, 'ATBL');
  TableIndexT rows, cols;
  table->GetTableSize(rows, cols);
  EXPECT_EQ(rows, 3u);
  EXPECT_EQ(cols, 1u);
  table->SetCellData(STableCell{3, 1}, LStr255("Last"), 5);
  table->InsertRows(1, 0, LStr255("First"), 6);
  EXPECT_EQ(CellText(table, 1), "First");
  EXPECT_EQ(CellText(table, 4), "Last");
  table->SelectCell(STableCell{4, 1});
  table->RemoveRows(1, 1);
  STableCell selected;
  ASSERT_TRUE(table->GetSelectedCell(selected));
  EXPECT_EQ(selected.row, 3u);  // follows its row
  table->RemoveRows(99, 2);     // to the end
  table->GetTableSize(rows, cols);
  EXPECT_EQ(rows, 1u);
  EXPECT_FALSE(table->GetSelectedCell(selected));
  EXPECT_FALSE(table->IsValidCell(STableCell{2, 1}));
  table->InsertRows(2, 1);
  ClickPane(table);  // the middle of three 16-pixel rows in a 64-pixel frame: row 2 or 3
  PumpEvents();
  ASSERT_TRUE(table->GetSelectedCell(selected));
  Rect cellFrame;
  ASSERT_TRUE(table->FetchLocalCellFrame(selected, cellFrame));
  EXPECT_EQ(cellFrame.bottom - cellFrame.top, 16);
}

TEST_F(ViewsTest, APlaceHolderLendsItsPlaceAndGivesThePaneBack) {
  auto* holder = FindPaneAs<LPlaceHolder>(mWindow, 'PHLD');
  LPane* box = FindPane(mWindow, 'ATBL');
  LView* home = box->GetSuperView();
  Rect before;
  box->CalcPortFrameRect(before);
  holder->InstallOccupant(box);
  EXPECT_EQ(box->GetSuperView(), holder);
  EXPECT_EQ(holder->RemoveOccupant(), box);
  Rect after;
  box->CalcPortFrameRect(after);
  EXPECT_EQ(box->GetSuperView(), home);
  EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
}

TEST_F(ViewsTest, TheScrollerScrollsByLinesAndPagesWithinTheImage) {
  auto* scroller = FindPaneAs<LScroller>(mWindow, 'SCRL');
  scroller->VertScroll(kControlDownButtonPart);
  EXPECT_EQ(scroller->GetScrollPosition().v, 16);
  scroller->VertScroll(kControlUpButtonPart);
  scroller->VertScroll(kControlUpButtonPart);
  EXPECT_EQ(scroller->GetScrollPosition().v, 0);
  for (int i = 0; i < 20; ++i) scroller->HorizScroll(kControlPageDownPart);
  EXPECT_EQ(scroller->GetScrollPosition().h, 400 - 100);  // image width less the view's
}

namespace {

struct ShowCounter : LPane {
  using LPane::LPane;
  int shown = 0;
  void ShowSelf() override { ++shown; }
};

}  // namespace

TEST_F(ViewsTest, SetVisibleMarksAPaneVisibleWithoutTheShowStep) {
  SPaneInfo info = MakePaneInfo(mWindow, 'MARK', 0, 0, 10, 10);
  info.visible = false;
  auto* pane = new ShowCounter(info);
  EXPECT_FALSE(pane->IsVisible());
  pane->SetVisible(true);
  EXPECT_TRUE(pane->IsVisible());
  EXPECT_EQ(pane->shown, 0);
  pane->Hide();
  pane->Show();
  EXPECT_EQ(pane->shown, 1);
}
