#include "app/CAppearanceApp.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "AppTestEnv.h"
#include "app/CAppButton.h"
#include "app/CMainWindow.h"
#include "toolbox/MacErrors.h"
#include "framework/LPicture.h"
#include "output/hub/WXFolders.h"
#include "quickdraw/QuickDraw.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "windows/MacWindows.h"

namespace wxapp {
namespace {

namespace fs = std::filesystem;

class StartUpTest : public AppTest {};

TEST_F(StartUpTest, OpenApplicationShowsTheWindowAndStoresThePrintJobFields) {
  // A copy count the user set in Print last time does not carry over; the field before the
  // job fields is no job field and keeps its value.
  WithPrefs([](RecordBytes all) {
    RecordBytes print = PREF_ALL::kPrint.in(all);
    PREF_PRINT::kCopies.set(print, 5);
    PREF_PRINT::kJob308.set(print, 7);
  });
  Start();
  ASSERT_NE(nullptr, Window());
  EXPECT_TRUE(Window()->IsVisible());
  WithPrefs([](RecordBytes all) {
    RecordBytes copy = PREF_ALL::kCopy.in(all), print = PREF_ALL::kPrint.in(all);
    EXPECT_EQ(1u, PREF_COPY::kFirstPage.get(copy));
    EXPECT_EQ(1u, PREF_COPY::kLastPage.get(copy));
    EXPECT_EQ(1u, PREF_COPY::kCopies.get(copy));
    EXPECT_EQ(1u, PREF_COPY::kCollate.get(copy));
    EXPECT_EQ(7u, PREF_PRINT::kJob308.get(print));
    EXPECT_EQ(1u, PREF_PRINT::kJob312.get(print));
    EXPECT_EQ(1u, PREF_PRINT::kJob316.get(print));
    EXPECT_EQ(1u, PREF_PRINT::kCopies.get(print));
    EXPECT_EQ(1u, PREF_PRINT::kJobFlag.get(print));
  });
}

TEST_F(StartUpTest, EveryClassOfTheTableThatExistsIsRegistered) {
  mApp = new CAppearanceApp(StandInClasses());
  const ClassIDT ids[] = {'dlog', 'wind', 'pict', 'radg', 'capt', 'scrl', 'mwnd', 'Cdlg', 'Mdlg', 'Odlg', 'Sdlg',
                          'Fdlg', 'S1lg', 'S2lg', 'STlg', 'Cpop', 'cicn', 'Ccib', 'Pctb', 'plac', 'Pdlg', 'CCpp',
                          'brda', 'tabg', 'Ttab', 'TTbl', 'TTip', 'PicP', 'tabs', 'icnp'};
  for (ClassIDT id : ids) {
    char text[7];
    FourCharCodeText(id, text);
    EXPECT_TRUE(URegistrar::IsRegistered(id)) << text;
  }
  EXPECT_TRUE(URegistrar::IsDerivedFrom('Cdlg', 'dlog'));
  EXPECT_TRUE(URegistrar::IsDerivedFrom('PicP', 'pict'));
}

TEST_F(StartUpTest, SavedPositionIsKeptOnTheScreen) {
  BitMap screenBits;
  const Rect screen = GetQDGlobalsScreenBits(&screenBits)->bounds;
  const SInt16 bar = GetMBarHeight();
  struct Case {
    const char* name;
    SInt16 top, left;
    SInt16 wantTop, wantLeft;
  } cases[] = {
      {"never saved", 0, 0, bar, 0},
      {"top above the menu bar", SInt16(bar - 5), 100, bar, 100},
      {"bottom past the screen", SInt16(screen.bottom - 20), 40, SInt16(screen.bottom - 145), 40},
      {"left of the screen", 100, -30, 100, 0},
      {"right past the screen", 100, SInt16(screen.right - 100), 100, SInt16(screen.right - 580)},
      {"inside", 120, 200, 120, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WithPrefs([&](RecordBytes all) {
      PREF_ALL::kWindowTop.set(all, c.top);
      PREF_ALL::kWindowLeft.set(all, c.left);
    });
    Start();
    ASSERT_NE(nullptr, Window());
    Rect bounds;
    Window()->GetGlobalBounds(bounds);
    EXPECT_EQ(c.wantTop, bounds.top);
    EXPECT_EQ(c.wantLeft, bounds.left);
    EXPECT_EQ(145, bounds.bottom - bounds.top);
    EXPECT_EQ(580, bounds.right - bounds.left);
    delete mApp;
    mApp = nullptr;
  }
}

TEST_F(StartUpTest, ModelDecidesBackgroundFileMoveButtonAndFileLayout) {
  struct Case {
    const char* model;
    ResIDT picture;
    bool fileMove;
    const char* fileLayoutTitle;
  } cases[] = {
      {"Dremlo Model A", 128, false, "File 5050"},
      {"Dremlo Model D", 130, true, "File 5000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model);
    Configure(c.model);
    Start();
    ASSERT_NE(nullptr, Window());
    auto* background = dynamic_cast<LPicture*>(Window()->GetSubPanes().front());
    ASSERT_NE(nullptr, background);
    EXPECT_EQ(c.picture, background->GetPictureID());
    EXPECT_EQ(c.fileMove, Window()->FindPaneByID('FILM') != nullptr);
    Window()->ListenToMessage('FILE', nullptr);
    ASSERT_EQ(1u, CStandInDialog::Made().size());
    Str255 title;
    CStandInDialog::Made().front()->GetDescriptor(title);
    EXPECT_EQ(c.fileLayoutTitle, PStrToString(title));
    delete mApp;
    mApp = nullptr;
  }
}

TEST_F(StartUpTest, ClicksAndPushesOpenTheFunctionsStandIns) {
  Start();
  struct Case {
    MessageT message;
    ClassIDT dialog;
    long function;  // the pushed function
    bool withButton;
  } cases[] = {
      {'COPY', 'Cdlg', 1, false}, {'PRNT', 'Pdlg', 2, false}, {'MAIL', 'Mdlg', 3, true}, {'OCR ', 'Odlg', 4, true},
      {'SAVE', 'Sdlg', 5, false}, {'SCN1', 'S1lg', 6, true}, {'SCN2', 'S2lg', 7, true},
  };
  for (const Case& c : cases) {
    char text[7];
    FourCharCodeText(c.message, text);
    SCOPED_TRACE(text);
    for (bool pushed : {false, true}) {
      if (pushed)
        mApp->Btn_was_pushed(c.function, 0x1200);
      else
        Window()->ListenToMessage(c.message, nullptr);
      ASSERT_EQ(1u, CStandInDialog::Made().size());
      CStandInDialog* dialog = CStandInDialog::Made().front();
      EXPECT_EQ(c.dialog, dialog->mClassID);
      EXPECT_EQ(1, mApp->mFunctionDialogOpen);
      EXPECT_TRUE(dialog->IsVisible());
      EXPECT_EQ(pushed ? 1 : 0, dialog->mStartFlag);
      EXPECT_EQ(pushed ? std::vector<MessageT>{900} : std::vector<MessageT>{}, dialog->mMessages);
      EXPECT_EQ(c.withButton, dialog->mButton != nullptr);
      if (c.withButton) {
        EXPECT_EQ(Window()->FindPaneByID(c.message), static_cast<LPane*>(dialog->mButton));
      }
      delete dialog;
      EXPECT_EQ(0, mApp->mFunctionDialogOpen);
    }
  }
  // Settings only creates its dialog.
  Window()->ListenToMessage('SET ', nullptr);
  ASSERT_EQ(1u, CStandInDialog::Made().size());
  EXPECT_EQ(ClassIDT('STlg'), CStandInDialog::Made().front()->mClassID);
  EXPECT_EQ(-1, CStandInDialog::Made().front()->mStartFlag);
  EXPECT_TRUE(CStandInDialog::Made().front()->mMessages.empty());
  delete CStandInDialog::Made().front();
  // A push of function 8 on a seven-button model does nothing.
  mApp->Btn_was_pushed(8, 0x1200);
  EXPECT_TRUE(CStandInDialog::Made().empty());
}

TEST_F(StartUpTest, FilePushFollowsTheRecordOfTheLastButton) {
  Start();
  struct Case {
    UInt16 button;
    int record;  // the File record whose byte 3673 is set, -1 for none
    bool shown;
    MessageT message;
  } cases[] = {
      {3, 1, true, 10000}, {3, 2, false, 900}, {4, 2, true, 10000}, {5, 3, true, 10000},
      {6, 4, true, 10000}, {6, 3, false, 900}, {1, 0, false, 900},  {7, 0, false, 900},
      {4, -1, false, 900},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "button " << c.button << " record " << c.record);
    WithPrefs([&](RecordBytes all) {
      PREF_ALL::kLastButton.set(all, c.button);
      for (UInt32 k = 0; k < PREF_ALL::kFileRecords; ++k)
        PREF_FILE::kFlag3673.set(PREF_ALL::File(k).in(all), int(k) == c.record ? 1 : 0);
    });
    Window()->ListenToMessage('FILE', Window());
    ASSERT_EQ(1u, CStandInDialog::Made().size());
    CStandInDialog* dialog = CStandInDialog::Made().front();
    EXPECT_EQ(c.shown, dialog->IsVisible());
    EXPECT_EQ(c.shown ? 0 : 1, dialog->mStartFlag);
    EXPECT_EQ(std::vector<MessageT>{c.message}, dialog->mMessages);
    delete dialog;
  }
}

TEST_F(StartUpTest, SecondNewWindowCommandKeepsTheTemporaryFiles) {
  Start();
  SInt16 volume = 0;
  SInt32 folder = 0;
  ASSERT_TRUE(CWXUtility::FindTempFolder(&volume, &folder));
  FSSpec page{};
  Str255 name;
  PStrFromString("tmp00001.dat", name);
  FSMakeFSSpec(volume, folder, name, &page);
  ASSERT_EQ(noErr, FSpCreate(&page, 'QlWX', '????', smSystemScript));
  mApp->ObeyCommand(cmd_New, nullptr);
  SendEvent(kAEOpenApplication, ae_OpenApp);
  FSSpec again{};
  EXPECT_EQ(noErr, FSMakeFSSpec(volume, folder, name, &again)) << "a scan's page survives a second start";
}

TEST_F(StartUpTest, MissingTemporaryBaseFallsBackToTheDefault) {
  Start();
  FSSpec oldBase{};
  WithPrefs([&](RecordBytes all) { oldBase = PREF_SETTING::kTempBase.get(PREF_ALL::kSetting.in(all)); });
  delete mApp;
  mApp = nullptr;
  // The stored base now names a folder that is gone.
  const fs::path gone = mRoot.path() / "gone";
  fs::create_directories(gone);
  FSSpec goneSpec{};
  ASSERT_EQ(noErr, FSpMakeFromPOSIXPath(gone.string(), &goneSpec));
  WithPrefs([&](RecordBytes all) { PREF_SETTING::kTempBase.set(PREF_ALL::kSetting.in(all), goneSpec); });
  fs::remove(gone);
  Start();
  ASSERT_NE(nullptr, Window());
  SInt16 volume = 0;
  SInt32 folder = 0;
  EXPECT_TRUE(CWXUtility::FindTempFolder(&volume, &folder));
  WithPrefs([&](RecordBytes all) {
    const FSSpec base = PREF_SETTING::kTempBase.get(PREF_ALL::kSetting.in(all));
    EXPECT_EQ(oldBase.parID, base.parID);
    EXPECT_EQ(PStrToString(oldBase.name), PStrToString(base.name));
  });
}

TEST_F(StartUpTest, TheTemporaryFolderGoesWithTheApplication) {
  Start();
  SInt16 volume = 0;
  SInt32 folder = 0;
  ASSERT_TRUE(CWXUtility::FindTempFolder(&volume, &folder));
  FSSpec spec{};
  ASSERT_EQ(noErr, FSMakeFSSpec(volume, folder, reinterpret_cast<ConstStr255Param>("\0"), &spec));
  std::string path;
  ASSERT_EQ(noErr, FSpGetPOSIXPath(&spec, &path));
  EXPECT_TRUE(fs::exists(path));
  delete mApp;
  mApp = nullptr;
  EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace wxapp

namespace wxapp {
namespace {

TEST_F(StartUpTest, ADialogThatCannotBeMadeLeavesNoDialogOpen) {
  Start();
  // A resource file on top of the others whose Mail layout is damaged.
  const std::string path = (mRoot.path() / "Damaged.rsrc").string();
  ASSERT_EQ(noErr, CreateResFilePath(path));
  const SInt16 damaged = OpenResFilePath(path, fsRdWrPerm);
  ASSERT_NE(-1, damaged);
  Handle layout = NewHandleClear(2);
  const Str255 noName{};
  AddResource(layout, 'PPob', 2000, noName);
  WriteResource(layout);
  EXPECT_ANY_THROW(Window()->ListenToMessage('MAIL', nullptr));
  CloseResFile(damaged);
  EXPECT_EQ(0, mApp->mFunctionDialogOpen);
  EXPECT_TRUE(CStandInDialog::Made().empty());
}

}  // namespace
}  // namespace wxapp
