#include "framework/StDialogHandler.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "FrameworkFixture.h"
#include "framework/FrameworkDriver.h"
#include "framework/LApplication.h"
#include "framework/LCheckBox.h"
#include "framework/LException.h"
#include "framework/LWindow.h"
#include "support/Xvfb.h"
#include "toolbox/MacErrors.h"
#include "display/Display.h"

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

// A dialog that waits for its user waits without spinning, and a quit request (SIGTERM) ends
// it as its Cancel button would; a caller that keeps asking is unwound so the application
// can quit. On a real screen, in a child process: the headless display never waits.
TEST_F(StDialogHandlerTest, IdlePassesWaitAndAQuitRequestEndsTheDialog) {
  WX_REQUIRE_XVFB();
  const std::string display = wxtest::Xvfb::Get().name();
  const pid_t child = fork();
  if (child == 0) {
    setenv("DISPLAY", display.c_str(), 1);
    if (!DpyUseScreen()) _exit(2);
    int wrong = 0;
    {
      StDialogHandler handler(300, mApp);
      constexpr int kPasses = 30;
      rusage before{}, after{};
      getrusage(RUSAGE_SELF, &before);
      for (int i = 0; i < kPasses; ++i) handler.DoDialog();
      getrusage(RUSAGE_SELF, &after);
      // Every idle pass gave the processor up while it waited for input.
      if (after.ru_nvcsw - before.ru_nvcsw < kPasses / 2) wrong |= 4;
      LApplication::InstallQuitSignalHandlers();
      std::raise(SIGTERM);
      if (handler.DoDialog() == msg_Nothing) wrong |= 8;
      try {
        handler.DoDialog();
        wrong |= 16;
      } catch (const LException& e) {
        if (e.GetErrorCode() != userCanceledErr) wrong |= 16;
      }
    }
    std::fflush(stderr);
    _exit(wrong);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "2 no screen, 4 spun while idle, 8 quit not answered, 16 not unwound";
}
