#include <gtest/gtest.h>

#include <string>

#include "FrameworkFixture.h"
#include "framework/FrameworkDriver.h"
#include "framework/LException.h"
#include "framework/LHandleStream.h"
#include "framework/LPushButton.h"
#include "framework/LWindow.h"
#include "framework/UReanimator.h"
#include "toolbox/Clock.h"

using namespace wxframework;

namespace {

class LWindowTest : public FrameworkFixture {};

}  // namespace

TEST_F(LWindowTest, CreateWindowBuildsEveryPaneFromTheLayout) {
  LWindow* window = LWindow::CreateWindow(310, mApp);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->IsVisible());  // the layout says visible
  EXPECT_EQ(window->GetSuperCommander(), mApp);
  LView* view = FindPaneAs<LView>(window, 'VIEW');
  auto* button = FindPaneAs<LPushButton>(window, 'BTN1');
  EXPECT_EQ(button->GetSuperView(), view);
  Rect frame;
  button->CalcPortFrameRect(frame);
  EXPECT_EQ(frame.left, 20);  // 10 inside the view, which is 10 inside the window
  EXPECT_EQ(frame.top, 20);
  EXPECT_EQ(std::string(PaneText(window, 'BTN1')), "Press");
  EXPECT_EQ(LWindow::FetchWindowObject(window->GetMacWindow()), window);
  EXPECT_THROW(FindPaneAs<LWindow>(window, 'BTN1'), LException);  // wrong class: 'nilP'
  window->DoClose();
  EXPECT_TRUE(mApp->GetSubCommanders().empty());
}

TEST_F(LWindowTest, BoundPanesStretchWithTheWindow) {
  LWindow* window = LWindow::CreateWindow(310, mApp);
  LView* view = FindPaneAs<LView>(window, 'VIEW');
  SDimension16 before, after;
  view->GetFrameSize(before);
  window->ResizeWindowBy(30, 15);
  view->GetFrameSize(after);
  EXPECT_EQ(after.width, before.width + 30);
  EXPECT_EQ(after.height, before.height + 15);
  Rect bounds;
  window->GetGlobalBounds(bounds);
  window->MoveWindowBy(5, 7);
  Rect moved;
  window->GetGlobalBounds(moved);
  EXPECT_EQ(moved.left, bounds.left + 5);
  EXPECT_EQ(moved.top, bounds.top + 7);
  delete window;
}

TEST_F(LWindowTest, AnUnknownClassNamesItsIDAndLeavesNothingBehind) {
  WindowRef before = GetWindowList();
  try {
    LWindow::CreateWindow(320, mApp);
    FAIL();
  } catch (const LException& ex) {
    EXPECT_NE(std::string(ex.what()).find("'Zzzz'"), std::string::npos) << ex.what();
  }
  EXPECT_EQ(GetWindowList(), before);
  EXPECT_TRUE(mApp->GetSubCommanders().empty());
  EXPECT_THROW(LWindow::CreateWindow(9999, mApp), LException);  // no such layout
}

// Two clicks a few ticks apart count as a double click whatever the machine's load: the
// clock is a fake that moves one tick per reading.
TEST_F(LWindowTest, ClicksReachThePaneAndCountDoubleClicks) {
  ClockSetFake(0, 1000);
  ClockSetAutoAdvance(1);
  struct RealClockAfter {
    ~RealClockAfter() { ClockUseReal(); }
  } realClockAfter;
  LWindow* window = LWindow::CreateWindow(310, mApp);
  window->Select();
  MessageLog log;
  FindPaneAs<LPushButton>(window, 'BTN1')->AddListener(&log);
  ClickPane(window, 'BTN1');
  PumpEvents();
  EXPECT_EQ(log.messages, (std::vector<MessageT>{'BTN1'}));
  EXPECT_EQ(LPane::sClickCount, 1);
  ClickPane(window, 'BTN1');
  PumpEvents();
  EXPECT_EQ(LPane::sClickCount, 2);
  EXPECT_EQ(LPane::sLastPaneClicked, FindPane(window, 'BTN1'));
  delete window;
  EXPECT_EQ(LPane::sLastPaneClicked, nullptr);
}

TEST_F(LWindowTest, ADisabledWindowIgnoresClicks) {
  LWindow* window = LWindow::CreateWindow(310, mApp);
  window->Select();
  MessageLog log;
  FindPaneAs<LPushButton>(window, 'BTN1')->AddListener(&log);
  window->Disable();
  ClickPane(window, 'BTN1');
  PumpEvents();
  EXPECT_TRUE(log.messages.empty());
  delete window;
}

TEST_F(LWindowTest, RestorePlacePutsBackGeometryAndVisibility) {
  LWindow* window = LWindow::CreateWindow(310, mApp);
  LView* view = FindPaneAs<LView>(window, 'VIEW');
  LPane* button = FindPane(window, 'BTN1');
  LHandleStream place;
  view->SavePlace(&place);
  view->MoveBy(40, 3, false);
  button->ResizeFrameTo(5, 5, false);
  button->Hide();
  place.SetMarker(0);
  view->RestorePlace(&place);
  Rect frame;
  button->CalcPortFrameRect(frame);
  EXPECT_EQ(frame.left, 20);
  EXPECT_EQ(frame.right - frame.left, 80);
  EXPECT_TRUE(button->IsVisible());
  delete window;
}
