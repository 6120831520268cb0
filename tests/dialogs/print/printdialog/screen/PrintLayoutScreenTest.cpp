// The page-layout dialog on a private Xvfb after a Print scan of the SANE test device's feeder,
// kept for a person to look at: its thumbnails (one unchecked), the picture on its paper and
// a selected text box showing its handles.
#include <gtest/gtest.h>

#include "PrintLayoutRunEnv.h"
#include "dialogs/print/layout/CEditableTextBox.h"
#include "dialogs/print/layout/CPictureView.h"
#include "dialogs/print/layout/CPrintSizePane.h"
#include "framework/LControl.h"
#include "support/DialogShot.h"
#include "tests/output/DialogTestEnv.h"
#include "windows/TestDriver.h"

namespace wxapp {
namespace {

::testing::Environment* const gSaneEnvironment =
    ::testing::AddGlobalTestEnvironment(new wxsane::SaneTestEnvironment(WX_TWAIN_SOURCE_DIR));

class PrintLayoutOnScreen : public wxtest::OnScreen<PrintLayoutRunTest> {
 protected:
  void SetUp() override {
    wxtest::OnScreen<PrintLayoutRunTest>::SetUp();
    SetSystemScriptForLanguage(wxtest::BuildLanguage());
  }
};

Point Global(const LPane* pane, SInt32 h, SInt32 v) {
  Point p{SInt16(v), SInt16(h)};
  pane->PortToGlobalPoint(p);
  return p;
}

TEST_F(PrintLayoutOnScreen, ThumbnailsPictureAndASelectedTextBox) {
  // 100 x 80 mm, so the picture shows.
  Edit([](RecordBytes all) { PREF_PRINT::kCustomSize.set(PREF_ALL::kPrint.in(all), 800, 1000, PrefDocSize::kCentimetre); });
  ASSERT_NE(nullptr, Open());
  int differ = -2;
  WhenLoaded([&](CPrintLayoutDialog* layout) {
    FindPaneAs<LControl>(layout->Strip()->GetThumbnail(2), 'TmCb')->SetValue(0);
    ClickPane(layout, 'ADDT');
    Then([&](CPrintLayoutDialog*) { wxdriver::Type("Wendrix"); });
    Then([&](CPrintLayoutDialog* l) {
      Rect range;
      l->Area()->GetPaper()->GetPrintRangeRect(range, 1);
      wxdriver::Click(Global(l->Area(), range.right - 3, range.bottom - 3));
    });
    Then([&](CPrintLayoutDialog* l) { ClickPane(l->Area()->GetTextBoxes()[0]); });
    Then([&](CPrintLayoutDialog* l) {
      differ = wxtest::ShootDialog(l, "dialogs", "print-layout.png");
      ClickPane(l, 'BTFN');
    });
  });
  Scan();
  EXPECT_FALSE(HasDialogActions());
  EXPECT_EQ(0, differ) << "the screen does not show what the dialog drew";
}

// The window layer erases before every update, so what the dialog's own drawing erases shows
// only when it is drawn without that: the dialog is painted over and drawn again directly.
TEST_F(PrintLayoutOnScreen, TheDialogErasesItsGroundAroundThePageAndTheStrip) {
  ASSERT_NE(nullptr, Open());
  int left = -1, differ = -2;
  WhenLoaded([&](CPrintLayoutDialog* layout) {
    const RGBColor magenta{0xFFFF, 0, 0xFFFF};
    layout->FocusDraw();
    Rect all;
    layout->CalcLocalFrameRect(all);
    RGBForeColor(&magenta);
    PaintRect(&all);
    layout->Draw(nullptr);
    int width = 0, height = 0;
    left = 0;
    for (UInt32 pixel : wxdriver::WindowPixels(layout->GetMacWindow(), &width, &height))
      if ((pixel & 0xFFFFFF) == 0xFF00FF) ++left;
    differ = wxtest::ShootDialog(layout, "dialogs", "print-layout-redrawn.png");
    ClickPane(layout, 'BTFN');
  });
  Scan();
  EXPECT_FALSE(HasDialogActions());
  EXPECT_EQ(0, left) << "pixels of the paint left standing";
  EXPECT_EQ(0, differ);
}

}  // namespace
}  // namespace wxapp
