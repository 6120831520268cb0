#include "framework/LApplication.h"

#include <gtest/gtest.h>

#include <csignal>

#include "FrameworkFixture.h"
#include "framework/LAttachment.h"
#include "framework/LWindow.h"
#include "windows/Events.h"
#include "windows/TestDriver.h"

namespace {

class LApplicationTest : public FrameworkFixture {};

struct CountCommand : LAttachment {
  explicit CountCommand(CommandT command) : LAttachment(command, false) {}
  void ExecuteSelf(MessageT, void*) override { ++count; }
  int count = 0;
};

TEST_F(LApplicationTest, TheDesktopsCloseRequestIsTheWindowsCloseCommand) {
  LWindow* window = LWindow::CreateWindow(310, mApp);
  auto* closes = new CountCommand(cmd_Close);
  window->AddAttachment(closes);
  wxdriver::RequestWindowClose(window->GetMacWindow());
  for (int i = 0; i < 4; ++i) mApp->ProcessNextEvent();
  EXPECT_EQ(closes->count, 1);
  window->DoClose();
}

TEST_F(LApplicationTest, SigtermQuitsAsTheQuitCommandDoes) {
  auto* quits = new CountCommand(cmd_Quit);
  mApp->AddAttachment(quits);
  LApplication::InstallQuitSignalHandlers();
  std::raise(SIGTERM);
  mApp->ProcessNextEvent();
  EXPECT_EQ(quits->count, 1);
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
}

struct RecordingApp : LApplication {
  std::vector<SInt32> numbers;
  std::vector<DescType> replyTypes;
  void HandleAppleEvent(const AppleEvent& event, AppleEvent& reply, AEDesc&, SInt32 number) override {
    numbers.push_back(number);
    replyTypes.push_back(reply.descriptorType);
    EXPECT_EQ(event.descriptorType, typeAppleEvent);
  }
};

TEST_F(LApplicationTest, AppleEventsArriveWithARealReply) {
  delete mApp;
  auto* app = new RecordingApp;
  mApp = app;
  app->AddEventTableEntry('aevt', 'oapp', ae_OpenApp);
  AppleEvent event;
  AECreateAppleEvent(kCoreEventClass, kAEOpenApplication, nullptr, kAutoGenerateReturnID, kAnyTransactionID, &event);
  ASSERT_EQ(AEPostToSelf(&event), 0);
  app->ProcessNextEvent();
  EXPECT_EQ(app->numbers, std::vector<SInt32>{ae_OpenApp});
  EXPECT_EQ(app->replyTypes, std::vector<DescType>{typeNull});
}

}  // namespace
