// A TWAIN connection to the fake source, set up the way the scan entry does it.
#pragma once

#include <memory>
#include <regex>
#include <sstream>

#include "platform/twain/fake/FakePixel.h"
#include "platform/twain/fake/FakeScript.h"
#include "ScanTestSupport.h"
#include "support/TestEnv.h"

namespace wxscan {

struct ScanSettings {
  long caller = 5;
  unsigned long fileType = 'JPEG';
  unsigned char showUI = 0;
  long source = 1;
  long imageMode = 2;
  long resolution = 75;
  Rect area{0, 0, 100, 100};
  long level = 4;
  unsigned char flag = 0;
};

class FakeScanTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    wxfake::UseFakeSource();
    CTWAIN::SetApplicationHost(&sApp);
  }
  void TearDown() override { mTwain.reset(); }

  // Opens the fake with `script` and negotiates `settings`; the scan itself is not started.
  void Open(const std::string& script, const ScanSettings& settings = ScanSettings()) {
    mLog = wxfake::WriteFakeScript(mScripts.path(), script);
    mTwain = std::make_unique<CTWAIN>();
    mTwain->SetTempFolder(FolderSpec(mTemp.path()));
    unsigned char name[33];
    PStrFromString("Fake Scanner", name, sizeof name);
    ASSERT_EQ(1, mTwain->SetDriverAndOpen(name));
    Rect area = settings.area;
    mTwain->Setup_Parameter(settings.caller, settings.fileType, settings.showUI, settings.source, settings.imageMode,
                            settings.resolution, area, settings.level, settings.flag);
  }
  void Scan(const std::string& script, const ScanSettings& settings = ScanSettings()) {
    Open(script, settings);
    ASSERT_EQ(1, mTwain->Scan());
    ASSERT_TRUE(PumpUntilDone(sApp, *mTwain));
  }
  std::string Log() const { return wxfake::ReadLog(mLog); }

  // The capability sets the source received, each as "cap=XXXX ..." without its code.
  std::vector<std::string> Sets() const {
    std::vector<std::string> sets;
    std::istringstream in(Log());
    std::string line;
    while (std::getline(in, line)) {
      if (line.rfind("0001 0001 0006 ", 0) == 0) sets.push_back(line.substr(15, line.rfind(" rc=") - 15));
    }
    return sets;
  }

  // What a page of the fake looks like in a raw scan file.
  static std::vector<unsigned char> ExpectedFile(int page, int width, int depth, int height) {
    size_t rowBytes = (size_t(width) * depth + 7) / 8;
    std::vector<unsigned char> file;
    for (int y = 0; y < height; ++y) {
      for (size_t x = 0; x < rowBytes; ++x) file.push_back(FakePixel(page, y, static_cast<int>(x)));
      if (rowBytes & 1) file.push_back(0);
    }
    return file;
  }

  static TestApplication sApp;
  wxtest::ScratchDir mScripts, mTemp;
  std::filesystem::path mLog;
  std::unique_ptr<CTWAIN> mTwain;
};

inline TestApplication FakeScanTest::sApp;

}  // namespace wxscan
