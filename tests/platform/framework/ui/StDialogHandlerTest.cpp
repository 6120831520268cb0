#include "framework/StDialogHandler.h"

#include <gtest/gtest.h>

#include "FrameworkFixture.h"
#include "framework/FrameworkDriver.h"
#include "framework/LCheckBox.h"
#include "framework/LWindow.h"

using namespace wxframework;

namespace {

class StDialogHandlerTest : public FrameworkFixture {};

}  // namespace

TEST_F(StDialogHandlerTest, EachPassReturnsThatPassesMessage) {
  QueueDialogAction([](LWindow* dialog) { ClickPane(dialog, 'CBXS'); });
  AnswerNextDialog(900);
  std::vector<MessageT> passes;
  SInt32 boxAtOK = -1;
  {
    StDialogHandler handler(300, mApp);
    for (int i = 0; i < 50; ++i) {
      MessageT message = handler.DoDialog();
      passes.push_back(message);
      if (message == 900) {
        boxAtOK = FindPaneAs<LCheckBox>(handler.GetDialog(), 'CBXS')->GetValue();
        break;
      }
    }
  }
  std::vector<MessageT> heard;
  for (MessageT m : passes)
    if (m != msg_Nothing) heard.push_back(m);
  EXPECT_EQ(heard, (std::vector<MessageT>{'CBXS', 900}));
  EXPECT_EQ(boxAtOK, 0);
  EXPECT_TRUE(mApp->GetSubCommanders().empty());  // the dialog went with the handler
}

TEST_F(StDialogHandlerTest, AnAnswerWithoutAButtonEndsThePassWithIt) {
  AnswerNextDialog('BOK2');
  StDialogHandler handler(300, mApp);
  MessageT message = msg_Nothing;
  for (int i = 0; i < 10 && message == msg_Nothing; ++i) message = handler.DoDialog();
  EXPECT_EQ(message, static_cast<MessageT>('BOK2'));
}

TEST_F(StDialogHandlerTest, ClicksInOtherWindowsAreRefusedWhileItRuns) {
  LWindow* other = LWindow::CreateWindow(310, mApp);
  MessageLog log;
  FindPaneAs<LControl>(other, 'BTN1')->AddListener(&log);
  QueueDialogAction([other](LWindow*) { ClickPane(other, 'BTN1'); });
  {
    StDialogHandler handler(300, mApp);
    for (int i = 0; i < 10; ++i) handler.DoDialog();
  }
  EXPECT_TRUE(log.messages.empty());
  delete other;
}

TEST_F(StDialogHandlerTest, TheDialogIsDeletedWhenTheCallerUnwinds) {
  try {
    StDialogHandler handler(300, mApp);
    handler.DoDialog();
    throw 42;
  } catch (int) {
  }
  EXPECT_TRUE(mApp->GetSubCommanders().empty());
  EXPECT_EQ(GetWindowList(), nullptr);
}

namespace {

struct EventApp : LApplication {
  std::vector<SInt32> numbers;
  void HandleAppleEvent(const AppleEvent&, AppleEvent&, AEDesc&, SInt32 number) override { numbers.push_back(number); }
};

}  // namespace

TEST_F(StDialogHandlerTest, HighLevelEventsReachTheApplicationWhileADialogRuns) {
  delete mApp;
  auto* app = new EventApp;
  mApp = app;
  app->AddEventTableEntry('aevt', 'rapp', ae_ReopenApp);
  static int payload = 0;  // what the poster hands over; read only while its event is current
  PostHighLevelEvent('aevt', 'rapp', &payload);
  {
    StDialogHandler handler(300, app);
    for (int i = 0; i < 10; ++i) handler.DoDialog();
  }
  EXPECT_EQ(app->numbers, (std::vector<SInt32>{ae_ReopenApp}));
}
