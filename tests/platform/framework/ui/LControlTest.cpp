#include <gtest/gtest.h>

#include <string>

#include "FrameworkFixture.h"
#include "display/Display.h"
#include "framework/FrameworkDriver.h"
#include "framework/LCheckBox.h"
#include "framework/LDialogBox.h"
#include "framework/LEditText.h"
#include "framework/LPopupButton.h"
#include "framework/LRadioButton.h"
#include "framework/LWindow.h"
#include "toolbox/TextConvert.h"
#include "windows/TestDriver.h"

using namespace wxframework;

namespace {

class LControlTest : public FrameworkFixture {
 protected:
  void SetUp() override {
    FrameworkFixture::SetUp();
    mDialog = LWindow::CreateWindow(300, mApp);
    mDialog->Show();
    mDialog->Select();
  }
  void TearDown() override {
    delete mDialog;
    FrameworkFixture::TearDown();
  }
  template <class T>
  T* Pane(PaneIDT id) {
    return FindPaneAs<T>(mDialog, id);
  }
  LWindow* mDialog = nullptr;
};

}  // namespace

TEST_F(LControlTest, SetValueBroadcastsOnlyAChange) {
  auto* box = Pane<LCheckBox>('CBXS');
  MessageLog log;
  box->AddListener(&log);
  EXPECT_EQ(box->GetValue(), 1);
  box->SetValue(1);
  EXPECT_TRUE(log.messages.empty());
  box->SetValue(0);
  box->SetValue(5);  // clamped to 1: a change
  box->SetValue(1);
  EXPECT_EQ(log.messages, (std::vector<MessageT>{'CBXS', 'CBXS'}));
}

TEST_F(LControlTest, ClickingACheckBoxTogglesIt) {
  auto* box = Pane<LCheckBox>('CBXS');
  ClickPane(box);
  PumpEvents();
  EXPECT_EQ(box->GetValue(), 0);
  ClickPane(box);
  PumpEvents();
  EXPECT_EQ(box->GetValue(), 1);
}

TEST_F(LControlTest, ReleasingOutsideTheControlDoesNothing) {
  auto* box = Pane<LCheckBox>('CBXS');
  Rect frame;
  box->CalcPortFrameRect(frame);
  Point inside = {static_cast<SInt16>(frame.top + 5), static_cast<SInt16>(frame.left + 5)};
  Point outside = {static_cast<SInt16>(frame.bottom + 40), inside.h};
  box->PortToGlobalPoint(inside);
  box->PortToGlobalPoint(outside);
  wxdriver::Drag(inside, outside);
  PumpEvents();
  EXPECT_EQ(box->GetValue(), 1);
  EXPECT_EQ(box->GetHilitedHotSpot(), 0);
}

TEST_F(LControlTest, RadioGroupKeepsOneOn) {
  auto* normal = Pane<LRadioButton>('RDNR');
  auto* high = Pane<LRadioButton>('RDHI');
  ClickPane(high);
  PumpEvents();
  EXPECT_EQ(high->GetValue(), 1);
  EXPECT_EQ(normal->GetValue(), 0);
  ClickPane(high);  // a radio button never turns itself off
  PumpEvents();
  EXPECT_EQ(high->GetValue(), 1);
  normal->SetValue(1);
  EXPECT_EQ(high->GetValue(), 0);
}

TEST_F(LControlTest, PopupChoiceSetsTheValueAndTheMark) {
  auto* popup = Pane<LPopupButton>('POPL');
  EXPECT_EQ(popup->GetValue(), 2);
  EXPECT_EQ(popup->GetMinValue(), 1);
  EXPECT_EQ(popup->GetMaxValue(), 3);
  MessageLog log;
  popup->AddListener(&log);
  ChoosePopupItem(mDialog, 'POPL', 3);
  PumpEvents();
  EXPECT_EQ(popup->GetValue(), 3);
  EXPECT_EQ(PaneText(mDialog, 'POPL'), "German");
  EXPECT_EQ(log.messages, (std::vector<MessageT>{'POPL'}));
  CharParameter mark;
  GetItemMark(popup->GetMacMenuH(), 3, &mark);
  EXPECT_NE(mark, noMark);
  GetItemMark(popup->GetMacMenuH(), 2, &mark);
  EXPECT_EQ(mark, noMark);
  popup->SetValue(0);  // nothing chosen
  EXPECT_EQ(popup->GetValue(), 0);
  EXPECT_EQ(PaneText(mDialog, 'POPL'), "");
  GetItemMark(popup->GetMacMenuH(), 3, &mark);
  EXPECT_EQ(mark, noMark);
  EXPECT_EQ(log.messages.size(), 2u);
}

TEST_F(LControlTest, PopupRangeFollowsItsItemsAndTextsAreLiteral) {
  auto* popup = Pane<LPopupButton>('POPL');
  const unsigned char meta[] = "\x0A(x;y!z/Q<B";
  popup->InsertMenuItem(meta, 0, true);
  EXPECT_EQ(popup->CountMenuItems(), 4);
  EXPECT_EQ(popup->GetMaxValue(), 4);
  Str255 text;
  popup->GetMenuItemText(1, text);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "(x;y!z/Q<B");
  EXPECT_TRUE(popup->ItemIsEnabled(1));
  popup->AppendMenuItem(reinterpret_cast<const unsigned char*>("\x00"), false);  // empty text is allowed
  EXPECT_EQ(popup->GetMaxValue(), 5);
  EXPECT_FALSE(popup->ItemIsEnabled(5));
  popup->DeleteAllMenuItems();
  EXPECT_EQ(popup->GetMinValue(), 0);
  EXPECT_EQ(popup->GetMaxValue(), 0);
  EXPECT_EQ(popup->GetValue(), 0);
  // Another popup of the same menu is not touched.
  MenuRef shared = GetMenu(500);
  EXPECT_EQ(CountMenuItems(shared), 3);
}

TEST_F(LControlTest, EditTextTakesTypedKeysUpToItsLimit) {
  auto* field = Pane<LEditText>('EDWD');
  MessageLog log;
  field->AddListener(&log);
  int beeps = DpyBeepCount();
  TypeIntoPane(mDialog, 'EDWD', "1234567");
  PumpEvents();
  EXPECT_EQ(field->GetText(), "123456");
  EXPECT_EQ(DpyBeepCount(), beeps + 1);  // the seventh key
  EXPECT_EQ(log.messages.size(), 6u);
  EXPECT_EQ(field->GetValue(), 123456);
  wxdriver::Key(kBackspaceCharCode);
  wxdriver::Key(kLeftArrowCharCode);
  wxdriver::Key('9');
  PumpEvents();
  EXPECT_EQ(field->GetText(), "123495");
}

TEST_F(LControlTest, TwoByteCharactersAreNeverSplit) {
  SetSystemScriptForLanguage('J');
  auto* field = Pane<LEditText>('EDWD');
  field->SetMaxChars(5);
  // "ab", then two two-byte characters: the second no longer fits whole.
  TypeIntoPane(mDialog, 'EDWD', std::string("ab\x82\xA0\x82\xA2"));
  PumpEvents();
  EXPECT_EQ(field->GetText(), std::string("ab\x82\xA0"));
  wxdriver::Key(kBackspaceCharCode);
  PumpEvents();
  EXPECT_EQ(field->GetText(), "ab");
  field->SetDescriptor(reinterpret_cast<const unsigned char*>("\x06" "a\x82\xA0\x82\xA2" "b"));
  EXPECT_EQ(field->GetText(), std::string("a\x82\xA0\x82\xA2"));  // cut at five bytes, on a boundary
  field->SetSelection(2, 2);  // inside a character: moves to its start
  SInt16 start, end;
  field->GetSelection(start, end);
  EXPECT_EQ(start, 1);
}

TEST_F(LControlTest, ReturnAndEscapePressTheDialogButtons) {
  MessageLog log;
  FindPaneAs<LControl>(mDialog, 900)->AddListener(&log);
  FindPaneAs<LControl>(mDialog, 901)->AddListener(&log);
  wxdriver::Key(kReturnCharCode);
  wxdriver::Key(kEscapeCharCode);
  wxdriver::Key('.', 0, cmdKey);
  PumpEvents();
  EXPECT_EQ(log.messages, (std::vector<MessageT>{900, 901, 901}));
}
