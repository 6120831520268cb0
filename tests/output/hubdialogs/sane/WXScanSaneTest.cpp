#include <gtest/gtest.h>

#include "prefs/LanguageTables.h"
#include "framework/FrameworkDriver.h"
#include "framework/LListener.h"
#include "framework/LThread.h"
#include "framework/LWindow.h"
#include "tests/output/DialogTestEnv.h"
#include "output/hubdialogs/WXScan.h"
#include "platform/twain/sane/SaneTestConfig.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "toolbox/TextUtils.h"

namespace {

::testing::Environment* const gSaneEnvironment =
    ::testing::AddGlobalTestEnvironment(new wxsane::SaneTestEnvironment(WX_TWAIN_SOURCE_DIR));

struct EndListener : LListener {
  void ListenToMessage(MessageT message, void*) override { ends += message == msg_ScanEnded; }
  int ends = 0;
};

class SaneScanEntryTest : public wxtest::DialogTest {};

TEST_F(SaneScanEntryTest, TestDeviceScanThroughTheEntryEndsOnceWithItsPage) {
  SelectLanguage(reinterpret_cast<ConstStr255Param>("\x01" "E"));
  CTWAIN::SetApplicationHost(mApp);
  wxtest::ScratchDir temp;
  CTWAIN twain;
  twain.SetTempFolder(wxscan::FolderSpec(temp.path()));
  EndListener dialog;
  CThreadChecker checker(nullptr, &twain);
  checker.AddListener(&dialog);
  Str255 model;
  PStrFromString("Dremlo Model A", model);
  // A custom 20 x 15 mm area at 50 dpi.
  const long scanned = CWXUtility::ImportFromDevice(5, 1, &checker, model, SDimension16{200, 150}, 'JPEG', 1, 2, 0,
                                                    Paper_Size_custom, 50, mApp, 4, 0);
  ASSERT_EQ(1, scanned);
  for (int i = 0; i < 200 && dialog.ends == 0; ++i) {
    mApp->ProcessNextEvent();
    LThread::Yield();
  }
  for (int i = 0; i < 5; ++i) mApp->ProcessNextEvent();
  EXPECT_EQ(1, dialog.ends);
  EXPECT_EQ(0, twain.GetResult());
  ASSERT_EQ(1, twain.GetImageCount());
  TW_IMAGEINFO info = (*twain.GetImageInfoArray())[1];
  EXPECT_EQ(39, info.ImageWidth);
  EXPECT_EQ(29, info.ImageLength);
  EXPECT_EQ(1u, wxscan::FilesIn(temp.path()));
  CWXUtility::DeleteAllTempFile(&checker);
  EXPECT_EQ(0u, wxscan::FilesIn(temp.path()));
}

}  // namespace
