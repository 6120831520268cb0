#include "output/hubdialogs/WXCheckBoxPrompt.h"

#include <gtest/gtest.h>

#include "framework/LCheckBox.h"
#include "framework/LException.h"
#include "framework/LWindow.h"
#include "tests/output/DialogTestEnv.h"

namespace {

using namespace wxframework;

class FavoriteNotice : public wxtest::DialogTest {};

TEST_F(FavoriteNotice, AnswersWithItsCheckBoxClearedOnEntry) {
  struct Case {
    const char* what;
    std::vector<std::function<void(LWindow*)>> actions;
    SInt32 answer;
  } cases[] = {
      {"OK alone", {}, 0},
      {"ticked, then OK", {[](LWindow* d) { ClickPane(d, 'CbDD'); }}, 1},
      {"ticked twice, then OK", {[](LWindow* d) { ClickPane(d, 'CbDD'); }, [](LWindow* d) { ClickPane(d, 'CbDD'); }}, 0},
  };
  for (const Case& c : cases) {
    SInt32 onEntry = -1;
    QueueDialogAction([&](LWindow* d) { onEntry = PaneValue(d, 'CbDD'); });
    for (const auto& action : c.actions) QueueDialogAction(action);
    AnswerNextDialog(900);
    EXPECT_EQ(CWXUtility::SkipFavoriteScanCheckMsg(mApp), c.answer) << c.what;
    EXPECT_EQ(onEntry, 0) << c.what;
    EXPECT_FALSE(HasDialogActions()) << c.what;
  }
}

TEST_F(FavoriteNotice, ALayoutWithoutItsCheckBoxIsAnError) {
  try {
    CWXUtility::CheckBoxPrompt(CWXUtility::kFavoriteScanNoticeLayout, 'none', mApp);
    FAIL() << "no exception";
  } catch (const LException& e) {
    EXPECT_EQ(e.GetErrorCode(), err_NilPointer);
  }
}

}  // namespace
