#include "output/hubdialogs/HubDialog.h"

#include <gtest/gtest.h>

#include "support/TestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "framework/LPushButton.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

using wxframework::AnswerNextDialog;
using wxframework::HasDialogActions;

namespace {

constexpr SInt32 kLayout = 400;  // the alert's layout: an OK and a Cancel button

class HubDialogTest : public wxtest::DialogTest {};

}  // namespace

TEST_F(HubDialogTest, TheApplicationsResourcesAreCurrentWhileTheDialogLives) {
  wxtest::ScratchDir temp;
  const std::string other = (temp / "other.rsrc").string();
  ASSERT_EQ(CreateResFilePath(other), noErr);
  const SInt16 otherRef = OpenResFilePath(other, fsRdPerm);
  ASSERT_NE(otherRef, -1);
  UseResFile(otherRef);
  {
    HubDialog<> dialog(kLayout, mApp);
    EXPECT_EQ(CurResFile(), ApplicationResFile());
    EXPECT_NE(dialog.dialog(), nullptr);
  }
  EXPECT_EQ(CurResFile(), otherRef);
  CloseResFile(otherRef);
}

TEST_F(HubDialogTest, OKEndsOnlyOnceAccepted) {
  HubDialog<> dialog(kLayout, mApp);
  int asked = 0;
  AnswerNextDialog(msg_OK);
  AnswerNextDialog(msg_OK);
  EXPECT_EQ(dialog.Run([&] { return ++asked == 2; }), msg_OK);
  EXPECT_EQ(asked, 2) << "a refused OK keeps the dialog up";
  EXPECT_FALSE(HasDialogActions());
}

TEST_F(HubDialogTest, CancelEndsWithoutAccepting) {
  HubDialog<> dialog(kLayout, mApp);
  bool accepted = false;
  AnswerNextDialog(msg_Cancel);
  EXPECT_EQ(dialog.Run([&] { return accepted = true; }), msg_Cancel);
  EXPECT_FALSE(accepted);
}

TEST_F(HubDialogTest, OtherMessagesGoToTheResponseWhichMayEndTheDialog) {
  HubDialog<> dialog(kLayout, mApp);
  std::vector<MessageT> heard;
  AnswerNextDialog('ONE ');
  AnswerNextDialog('TWO ');
  const SInt32 answer = dialog.Run([] { return true; },
                                   [&](MessageT message) -> SInt32 {
                                     if (message != msg_Nothing) heard.push_back(message);
                                     return message == 'TWO ' ? 1234 : 0;
                                   });
  EXPECT_EQ(answer, 1234);
  EXPECT_EQ(heard, (std::vector<MessageT>{'ONE ', 'TWO '}));
}

TEST_F(HubDialogTest, AMissingPaneOrOneOfAnotherClassThrows) {
  HubDialog<> dialog(kLayout, mApp);
  EXPECT_NE(dialog.Pane<LPushButton>('BTCN'), nullptr);
  EXPECT_THROW(dialog.Pane<LPushButton>('TXMS'), LException);
  EXPECT_THROW(dialog.Pane<LPushButton>('none'), LException);
}
