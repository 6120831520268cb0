// The scanner-button tool and a second launch, run as separate processes against the
// application running in this test.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "AppTestEnv.h"
#include "app/PushScanEvents.h"
#include "appservices/InstanceChannel.h"

namespace wxapp {
namespace {

namespace fs = std::filesystem;

const std::string kTool = WX_BUTTON_TOOL_PATH;
const std::string kWendrix = WX_WENDRIX_PATH;

class ButtonToolTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    // The tool names its file by the real time.
    ClockSetAutoAdvance(0);
    ClockUseReal();
    WithPrefs([](RecordBytes all) { ResetButtonAssignments(all, 7); });
  }
  void TearDown() override {
    AEStopListening();
    AppTest::TearDown();
  }
  // Runs the loop until a stand-in dialog is open (the events come over the socket).
  bool PumpUntilADialogOpens() {
    for (int i = 0; i < 300 && CStandInDialog::Made().empty(); ++i) {
      mApp->ProcessNextEvent(0);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return !CStandInDialog::Made().empty();
  }
};

TEST_F(ButtonToolTest, APushReachesTheRunningApplicationAsAReopen) {
  Start();
  std::string message;
  ASSERT_EQ(InstanceRole::kFirst, AEClaimSingleInstance(&message)) << message;
  // The tool waits for the application to take the event, so the loop runs meanwhile.
  int status = -1;
  std::thread tool([&] { status = wxtest::Run("'" + kTool + "' --device 'Dremlo Model A' --button 1"); });
  const bool opened = PumpUntilADialogOpens();
  tool.join();
  EXPECT_EQ(0, status);
  ASSERT_TRUE(opened);
  CStandInDialog* dialog = CStandInDialog::Made().front();
  EXPECT_EQ(ClassIDT('Cdlg'), dialog->mClassID);
  EXPECT_EQ(1, dialog->mStartFlag);
  EXPECT_EQ(std::vector<MessageT>{900}, dialog->mMessages);
  delete dialog;

  // A second plain launch hands over and ends; the push it finds was handled already.
  std::atomic<int> launched = -1;
  std::thread second([&] { launched = wxtest::Run("'" + kWendrix + "'"); });
  for (int i = 0; i < 300 && launched == -1; ++i) {
    mApp->ProcessNextEvent(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  second.join();
  EXPECT_EQ(0, launched.load());
  EXPECT_TRUE(CStandInDialog::Made().empty());
}

TEST_F(ButtonToolTest, WithNoApplicationRunningTheToolLaunchesOneAsTheButtonService) {
  const fs::path record = mRoot.path() / "launched.txt";
  const fs::path app = mRoot.path() / "recorder";
  std::ofstream(app) << "#!/bin/sh\necho \"launched by $WX_LAUNCHER_SIGNATURE\" >> '" << record.string() << "'\n";
  fs::permissions(app, fs::perms::owner_all);
  ASSERT_EQ(0, wxtest::Run("'" + kTool + "' --device 'Dremlo Model A' --button 2 --app '" + app.string() + "'"));
  std::string line;
  for (int i = 0; i < 300 && line.empty(); ++i) {
    std::ifstream in(record);
    std::getline(in, line);
    if (line.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ("launched by syui", line);
}

TEST_F(ButtonToolTest, AMalformedArgumentIsRefused) {
  EXPECT_NE(0, wxtest::Run("'" + kTool + "' --button seven 2>/dev/null"));
}

}  // namespace
}  // namespace wxapp
