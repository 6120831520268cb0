// The preview, its EXIF dialog and its enlarged view on the private X screen: screenshots
// kept for a person to look at, each the same as what the dialog drew.
#include <gtest/gtest.h>

#include "framework/LThread.h"
#include "support/DialogShot.h"
#include "tests/preview/dialog/PreviewFixture.h"

using wxtest::MakePage;

namespace {

using PreviewOnScreen = wxtest::OnScreen<wxtest::PreviewTest>;

TEST_F(PreviewOnScreen, SevenPagesTheirEXIFAndOneEnlarged) {
  Scan(std::vector<wxtest::RawPage>(7, MakePage(32, 300, 200)));
  int dialog = -2, exif = -2, enlarged = -2;
  Do([](CPreviewDialog* d) {
    for (ArrayIndexT k = 1; k <= 7; ++k) {
      Cell(d, k)->GetPicture()->SpendTime(EventRecord{});
      LThread::Yield();
    }
    ClickCell(d, 2);
  });
  Do([](CPreviewDialog* d) { wxframework::ClickPane(d, 'R090'); });
  Do([](CPreviewDialog* d) { wxframework::ClickPane(Cell(d, 4)->GetCheckBox()); });
  Do([](CPreviewDialog* d) { wxframework::ClickPane(Cell(d, 1)->GetCaption()); });
  Do([&](CPreviewDialog* d) {
    EXPECT_NE(nullptr, Cell(d, 1)->GetCaption()->GetEditField()) << "the caption is being edited";
    dialog = wxtest::ShootDialog(d, "preview", "preview-seven-pages.png");
  });
  Do([](CPreviewDialog* d) { ClickCell(d, 3); });
  wxframework::AnswerNextDialog('SETE');
  wxframework::QueueDialogAction([&](LWindow* d) { exif = wxtest::ShootDialog(d, "preview", "exif-dialog.png"); });
  wxframework::AnswerNextDialog(901);
  Do([](CPreviewDialog* d) { wxframework::ClickPane(Cell(d, 5)->GetPicture()); });
  Do([](CPreviewDialog* d) { wxframework::ClickPane(Cell(d, 5)->GetPicture()); });
  wxframework::QueueDialogAction([&](LWindow* d) {
    auto* window = dynamic_cast<CPrevPrevWindow*>(d);
    ASSERT_NE(nullptr, window) << "a double-click shows the page enlarged";
    window->GetView()->SpendTime(EventRecord{});
    LThread::Yield();
    enlarged = wxtest::ShootDialog(d, "preview", "enlarged-page.png");
  });
  wxframework::AnswerNextDialog(900);
  wxframework::AnswerNextDialog('RTUN');
  EXPECT_EQ(MessageT('RTUN'), Show({.popup = 2}));
  EXPECT_EQ(0, dialog);
  EXPECT_EQ(0, exif);
  EXPECT_EQ(0, enlarged);
}

}  // namespace
