#include "framework/LEditField.h"

#include <gtest/gtest.h>

#include <string>

#include "FrameworkFixture.h"
#include "display/Display.h"
#include "framework/FrameworkDriver.h"
#include "framework/LUndoer.h"
#include "framework/LWindow.h"
#include "toolbox/TextConvert.h"
#include "windows/TestDriver.h"

using namespace wxframework;

namespace {

class LEditFieldTest : public FrameworkFixture {
 protected:
  void SetUp() override {
    FrameworkFixture::SetUp();
    mWindow = LWindow::CreateWindow(350, mApp);
    mWindow->Show();
    mWindow->Select();
    mField = FindPaneAs<LEditField>(mWindow, 'NOTE');
  }
  void TearDown() override {
    delete mWindow;
    FrameworkFixture::TearDown();
  }
  std::string Text() const {
    TEHandle te = mField->GetMacTEH();
    return std::string(*(*te)->hText, static_cast<size_t>((*te)->teLength));
  }
  LWindow* mWindow = nullptr;
  LEditField* mField = nullptr;
};

}  // namespace

TEST_F(LEditFieldTest, LongTextWrapsIntoLinesAndReturnsBreakThem) {
  TypeIntoPane(mWindow, 'NOTE', "one two three four five six seven eight nine ten eleven twelve");
  wxdriver::Key(kReturnCharCode);
  wxdriver::Type("end");
  PumpEvents();
  TEHandle te = mField->GetMacTEH();
  EXPECT_EQ(Text(), "one two three four five six seven eight nine ten eleven twelve\rend");
  EXPECT_GE((*te)->nLines, 3);  // wrapped at least once, plus the line after the return
  EXPECT_EQ((*te)->lineStarts[(*te)->nLines - 1], (*te)->teLength - 3);
  EXPECT_GT((*te)->lineHeight, 0);
  // The caret stays in view: the text scrolled up past the field's three lines.
  Point caret = TEGetPoint((*te)->selEnd, te);
  EXPECT_LE(caret.v, (*te)->viewRect.bottom);
}

TEST_F(LEditFieldTest, DeletionAndCursorKeysWorkOnWholeTwoByteCharacters) {
  SetSystemScriptForLanguage('J');
  TypeIntoPane(mWindow, 'NOTE', std::string("a\x82\xA0" "b"));
  wxdriver::Key(kLeftArrowCharCode);
  wxdriver::Key(kBackspaceCharCode);
  PumpEvents();
  EXPECT_EQ(Text(), "ab");
  TESetSelect(1, 1, mField->GetMacTEH());
  wxdriver::Key(0x82);
  wxdriver::Key(0xA2);
  wxdriver::Key(kLeftArrowCharCode);
  wxdriver::Key(kDeleteCharCode);
  PumpEvents();
  EXPECT_EQ(Text(), "ab");
}

TEST_F(LEditFieldTest, TheLimitHoldsAndLongTextIsCutOnACharacterBoundary) {
  std::string long600(600, 'x');
  mField->SetText(long600.data(), static_cast<SInt32>(long600.size()));
  EXPECT_EQ(Text().size(), 400u);
  int beeps = DpyBeepCount();
  wxdriver::Key('y');
  PumpEvents();
  EXPECT_EQ(DpyBeepCount(), beeps + 1);
  EXPECT_EQ(Text().size(), 400u);
}

TEST_F(LEditFieldTest, AnUndoerTakesBackARunOfTypingAndRedoesIt) {
  mField->AddAttachment(new LUndoer);
  TypeIntoPane(mWindow, 'NOTE', "abc");
  PumpEvents();
  EXPECT_EQ(Text(), "abc");
  bool enabled = false, usesMark = false;
  UInt16 mark = 0;
  Str255 name;
  mField->ProcessCommandStatus(cmd_Undo, enabled, usesMark, mark, name);
  EXPECT_TRUE(enabled);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "Undo");
  mField->ProcessCommand(cmd_Undo);
  EXPECT_EQ(Text(), "");
  mField->ProcessCommand(cmd_Undo);  // now a redo
  EXPECT_EQ(Text(), "abc");
  wxdriver::Key('d');
  PumpEvents();
  mField->ProcessCommand(cmd_Undo);
  EXPECT_EQ(Text(), "");  // the run went on from where it was redone
}
