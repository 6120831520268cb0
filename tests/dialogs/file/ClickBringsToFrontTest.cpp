// A click in the Save, File or Mail dialog, in its content or its title bar, brings the
// program back to the front when another application (one handed the written files) is there.
#include <gtest/gtest.h>

#include "app/CCicnButton.h"
#include "app/CEditText.h"
#include "app/CPopupButton.h"
#include "appservices/Processes.h"
#include "toolbox/MacErrors.h"
#include "dialogs/file/CFileDialogBox.h"
#include "dialogs/file/CMailDialogBox.h"
#include "dialogs/file/CSaveDialogBox.h"
#include "framework/FrameworkDriver.h"
#include "framework/TRegistrar.h"
#include "output/export/CMailerSelectDialog.h"
#include "output/export/CPreferenceApplTable.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "tests/dialogs/file/FunctionDialogTest.h"
#include "windows/MacWindows.h"
#include "windows/TestDriver.h"

namespace {

template <class Box>
class ClickBringsToFront : public wxtest::FunctionDialogTest<Box> {
 protected:
  void SetUp() override {
    wxtest::FunctionDialogTest<Box>::SetUp();
    this->Edit([](RecordBytes all) {
      Str255 model;
      PStrFromString("Dremlo Model A", model);
      PREF_SETTING::kModelName.set(PREF_ALL::kSetting.in(all), model);
      PREF_SETTING::kTWAIN.set(PREF_ALL::kSetting.in(all), 1);
    });
  }
  void RegisterClasses() override {
    RegisterClass_(Box);
    RegisterClass_(CPopupButton);
    RegisterClass_(CEditText);
    RegisterClass_(CCicnButton);
    RegisterClass_(CFileNameAddPopup);
    RegisterClass_(CMailerSelectDialog);
    RegisterClass_(CPreferenceApplTable);
  }

  static bool SelfInFront() {
    ProcessSerialNumber self{0, kCurrentProcess}, front{};
    Boolean same = false;
    return GetFrontProcess(&front) == noErr && SameProcess(&front, &self, &same) == noErr && same;
  }

  // Another application comes to the front, then the user clicks at `where` (global).
  bool ClickWithAnotherInFront(Point where) {
    const ProcessSerialNumber other = ProcessAddSender('OTHR');
    EXPECT_EQ(noErr, SetFrontProcess(&other));
    EXPECT_FALSE(SelfInFront());
    wxdriver::Click(where);
    wxframework::PumpEvents();
    return SelfInFront();
  }

  void Check(ResIDT layout) {
    Box* dialog = this->Open(layout);
    dialog->Show();
    dialog->Select();
    wxframework::PumpEvents();
    Rect content;
    dialog->GetGlobalBounds(content);
    // A bare spot of the content, left of the bottom row of buttons.
    EXPECT_TRUE(ClickWithAnotherInFront(Point{SInt16(content.bottom - 4), SInt16(content.left + 4)})) << "content";
    EXPECT_TRUE(dialog->IsActive());
    Rect bar;
    GetWindowBounds(dialog->GetMacWindow(), kWindowTitleBarRgn, &bar);
    EXPECT_TRUE(ClickWithAnotherInFront(Point{SInt16((bar.top + bar.bottom) / 2), SInt16(bar.left + 60)})) << "title bar";
  }
};

using SaveClick = ClickBringsToFront<CSaveDialogBox>;
using FileClick = ClickBringsToFront<CFileDialogBox>;
using MailClick = ClickBringsToFront<CMailDialogBox>;

TEST_F(SaveClick, ContentOrTitleBar) { Check(4000); }
TEST_F(FileClick, ContentOrTitleBar) { Check(5050); }
TEST_F(MailClick, ContentOrTitleBar) { Check(2000); }

}  // namespace
