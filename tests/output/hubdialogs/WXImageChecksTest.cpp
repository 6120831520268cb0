#include "output/hubdialogs/WXImageChecks.h"

#include <gtest/gtest.h>

#include "framework/LWindow.h"
#include "scanner/CTWAIN.h"
#include "tests/output/DialogTestEnv.h"

namespace {

class ImageWidth : public wxtest::DialogTest {};

TEST_F(ImageWidth, AnImageTooWideEndsTheConnection) {
  struct Case {
    std::vector<TW_INT32> widths;
    long result;
  } cases[] = {{{4095}, 0}, {{100, 4095}, 0}, {{4096}, 1}, {{100, 5000, 100}, 1}, {{}, 0}};
  for (const Case& c : cases) {
    CTWAIN* twain = new CTWAIN;
    for (TW_INT32 w : c.widths) {
      TW_IMAGEINFO info{};
      info.ImageWidth = w;
      twain->GetImageInfoArray()->AddItem(info);
    }
    std::string shown;
    wxframework::QueueDialogAction([&](LWindow* d) { shown = wxframework::PaneText(d, 'TXMS'); });
    wxframework::AnswerNextDialog(900);
    EXPECT_EQ(CWXUtility::CheckImageWidthOver(twain, mApp), c.result);
    wxframework::ClearDialogActions();
    if (c.result == 1) {
      EXPECT_EQ(twain, nullptr) << "the caller keeps no dangling connection";
      EXPECT_EQ(shown, wxtest::ResourceText(400, 28));
    } else {
      EXPECT_NE(twain, nullptr);
      EXPECT_EQ(shown, "");
      delete twain;
    }
  }
  CTWAIN* none = nullptr;
  EXPECT_EQ(CWXUtility::CheckImageWidthOver(none, mApp), 0);
}

}  // namespace
