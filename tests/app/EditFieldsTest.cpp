#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "AppTestEnv.h"
#include "app/CCustomSize_EditText.h"
#include "app/CDDArea_EditText.h"
#include "app/CEditText.h"
#include "app/CEditTextNotGray.h"
#include "app/CExifEditText.h"
#include "app/CPreviewEditField.h"
#include "windows/TextEdit.h"
#include "display/Display.h"
#include "framework/LListener.h"
#include "windows/TestDriver.h"
#include "quickdraw/Appearance.h"
#include "toolbox/MacErrors.h"
#include "windows/Drag.h"

namespace wxapp {
namespace {

namespace fs = std::filesystem;
using namespace wxframework;

struct DropListener : LListener {
  void ListenToMessage(MessageT message, void* param) override {
    if (message != msg_DroppedApplication) return;
    const auto* spec = static_cast<const FSSpec*>(param);
    names.push_back(PStrToString(spec->name));
  }
  std::vector<std::string> names;
};

class EditFieldsTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    mApp = new CAppearanceApp(StandInClasses());
    mWindow = LWindow::CreateWindow(9500, mApp);
    ASSERT_NE(nullptr, mWindow);
    mWindow->Show();
    mWindow->Select();
  }
  LWindow* mWindow = nullptr;
};

TEST_F(EditFieldsTest, CustomSizesTakeTwoPlacesAfterThePoint) {
  auto* size = FindPaneAs<CCustomSize_EditText>(mWindow, 'SIZE');
  struct Case {
    const char* text;
    const char* typed;
    const char* result;
  } cases[] = {
      {"12.3", "45", "12.34"},   // one more after the point, the second refused
      {"1234", "567", "123456"},  // no point: the field's own limit
      {"1234.", "56", "1234.5"},  // the point at 5 of 6: the field's limit
      {"", "7.125", "7.12"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Str255 text;
    PStrFromString(c.text, text);
    size->SetDescriptor(text);
    LCommander::SwitchTarget(size);
    size->SetSelection(255, 255);
    wxdriver::Type(c.typed);
    PumpEvents();
    EXPECT_EQ(c.result, size->GetText());
  }
}

TEST_F(EditFieldsTest, AFieldThatIsNotGreyTakesNoClicks) {
  auto* grey = FindPaneAs<CEditTextNotGray>(mWindow, 'GREY');
  ClickPane(grey);
  PumpEvents();
  EXPECT_NE(static_cast<LCommander*>(grey), LCommander::GetTarget());
  EXPECT_EQ("Shown", grey->GetText());
}

TEST_F(EditFieldsTest, ForwardDeleteRemovesAWholeTwoByteCharacter) {
  SetSystemScriptForLanguage('J');
  auto* field = FindPaneAs<CEditText>(mWindow, 'TEXT');
  const std::string text = "a\x82\xa0" "b";  // a, a two-byte hiragana, b
  Str255 p;
  PStrFromString(text, p);
  field->SetDescriptor(p);
  LCommander::SwitchTarget(field);
  field->SetSelection(1, 1);
  wxdriver::Key(0x7F, 0x75);
  PumpEvents();
  EXPECT_EQ("ab", field->GetText());
  wxdriver::Key(0x7F, 0x75);
  PumpEvents();
  EXPECT_EQ("a", field->GetText());
  SetSystemScriptForLanguage('E');
}

TEST_F(EditFieldsTest, ExifFieldsRefuseTwoByteCharactersByteByByte) {
  SetSystemScriptForLanguage('J');
  const std::string hiragana = "\x82\xa0";
  {
    SCOPED_TRACE("with a key filter");
    auto* field = FindPaneAs<CExifEditText>(mWindow, 'EXFF');
    LCommander::SwitchTarget(field);
    const int beeps = DpyBeepCount();
    wxdriver::Type(hiragana);
    PumpEvents();
    EXPECT_EQ(2, DpyBeepCount() - beeps);
    EXPECT_EQ("", field->GetText());
  }
  {
    SCOPED_TRACE("without one, one byte short of the limit");
    auto* field = FindPaneAs<CExifEditText>(mWindow, 'EXNF');
    LCommander::SwitchTarget(field);
    wxdriver::Type("abc");
    PumpEvents();
    const int beeps = DpyBeepCount();
    wxdriver::Type(hiragana + "d");
    PumpEvents();
    EXPECT_EQ(1, DpyBeepCount() - beeps) << "the lead byte beeps, the trail byte goes silently";
    EXPECT_EQ("abcd", field->GetText());
  }
  SetSystemScriptForLanguage('E');
}

TEST_F(EditFieldsTest, TheDropFieldBroadcastsApplicationsOnly) {
  const fs::path apps = mRoot.path() / "apps";
  fs::create_directories(apps);
  std::ofstream(apps / "Tool") << "#!/bin/sh\nexit 0\n";
  fs::permissions(apps / "Tool", fs::perms::owner_all);
  fs::create_symlink(apps / "Tool", apps / "Tool link");
  std::ofstream(apps / "notes.txt") << "text";
  auto* drop = FindPaneAs<CDDArea_EditText>(mWindow, 'DROP');
  DropListener listener;
  drop->AddListener(&listener);
  for (const char* item : {"Tool", "notes.txt", "Tool link"}) {
    wxdriver::DropFiles(Centre(drop), {(apps / item).string()});
    PumpEvents();
  }
  EXPECT_EQ((std::vector<std::string>{"Tool", "Tool"}), listener.names);
}

// The cursor over the drop field while a drag is inside. The desktop's drop runs no event
// loop between entering and dropping, so the framework's cursor adjustment is asked here
// as its idle time would ask it.
struct FieldUnderDrag {
  CDDArea_EditText* field = nullptr;
  bool inside = false;
  ThemeCursor cursor = kThemeArrowCursor;
};

OSErr AdjustWhileInside(DragTrackingMessage message, WindowRef, void* refCon, DragRef) {
  auto* seen = static_cast<FieldUnderDrag*>(refCon);
  if (message != kDragTrackingInWindow) return noErr;
  SetThemeCursor(kThemeArrowCursor);
  EventRecord event{};
  Rect frame;
  seen->field->CalcPortFrameRect(frame);
  seen->field->AdjustMouse(Point{SInt16(frame.top + 2), SInt16(frame.left + 2)}, event, nullptr);
  seen->inside = true;
  seen->cursor = GetCurrentThemeCursorForTest();
  return noErr;
}

TEST_F(EditFieldsTest, TheDropFieldShowsTheCopyArrowWhileAnApplicationIsOverIt) {
  const fs::path apps = mRoot.path() / "apps";
  fs::create_directories(apps);
  std::ofstream(apps / "Tool") << "#!/bin/sh\nexit 0\n";
  fs::permissions(apps / "Tool", fs::perms::owner_all);
  FieldUnderDrag seen;
  seen.field = FindPaneAs<CDDArea_EditText>(mWindow, 'DROP');
  ASSERT_EQ(noErr, InstallTrackingHandler(&AdjustWhileInside, mWindow->GetMacWindow(), &seen));
  wxdriver::DropFiles(Centre(seen.field), {(apps / "Tool").string()});
  PumpEvents();
  RemoveTrackingHandler(&AdjustWhileInside, mWindow->GetMacWindow());
  ASSERT_TRUE(seen.inside);
  EXPECT_EQ(kThemeCopyArrowCursor, seen.cursor);
  EventRecord event{};
  seen.field->AdjustMouse(Point{0, 0}, event, nullptr);
  EXPECT_EQ(kThemeArrowCursor, GetCurrentThemeCursorForTest()) << "the arrow once the drag has gone";
}

}  // namespace
}  // namespace wxapp

namespace wxapp {
namespace {

TEST_F(EditFieldsTest, ThePreviewFieldDeletesWholeTwoByteCharactersForward) {
  SetSystemScriptForLanguage('J');
  auto* field = new CPreviewEditField(MakePaneInfo(mWindow, 'PRVF', 20, 150, 200, 20),
                                      reinterpret_cast<ConstStr255Param>("\x04" "a\x82\xa0" "b"), 0, 20, false, true,
                                      &UKeyFilters::PrintingCharField, mWindow);
  field->FinishCreate();
  LCommander::SwitchTarget(field);
  TESetSelect(1, 1, field->GetMacTEH());
  wxdriver::Key(0x7F, 0x75);
  PumpEvents();
  Str255 text;
  field->GetDescriptor(text);
  EXPECT_EQ("ab", PStrToString(text));
  SetSystemScriptForLanguage('E');
}

}  // namespace
}  // namespace wxapp
