// The Scan-1 and Scan-2 dialogs built from their layouts over a preferences file in a
// scratch root: what their controls show for a stored record, what each control and button
// does to the working record and the target application, and what reaches the file when
// the dialog goes. Every case runs for both dialogs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/CCicnButton.h"
#include "app/CEditText.h"
#include "app/CPopupButton.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "app/wendrix/DialogClasses.h"
#include "dialogs/file/CScan1DialogBox.h"
#include "dialogs/file/CScan2DialogBox.h"
#include "framework/FrameworkDriver.h"
#include "framework/LEditText.h"
#include "framework/TRegistrar.h"
#include "framework/URegistrar.h"
#include "navigation/NavigationDriver.h"
#include "quickdraw/Appearance.h"
#include "windows/Drag.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "output/hub/WXDialogFlags.h"
#include "support/TestEnv.h"
#include "tests/dialogs/file/FunctionDialogTest.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"
#include "windows/TestDriver.h"

namespace {

namespace fs = std::filesystem;
using R = PREF_SCANX;

struct Kind {
  const char* name;
  SInt16 layout;
  const PrefSub<PREF_SCANX>& record;
  ClassIDT classID;
};
const Kind kKinds[] = {
    {"Scan-1", 6000, PREF_ALL::kScan1, 'S1lg'},
    {"Scan-2", 7000, PREF_ALL::kScan2, 'S2lg'},
};

ConstStr255Param P(const char* counted) { return reinterpret_cast<ConstStr255Param>(counted); }

class CustomScanDialog : public wxtest::FunctionDialogTest<CCustomScanDialogBox>,
                         public ::testing::WithParamInterface<Kind> {
 protected:
  void SetUp() override {
    FunctionDialogTest::SetUp();
    mApps = mRoot / "apps";
    fs::create_directories(mApps);
    Executable(mApps / "Tool");
    std::ofstream(mApps / "Viewer.desktop") << "[Desktop Entry]\nType=Application\nName=Viewer\nExec=/bin/true %F\n";
    fs::create_symlink(mApps / "Viewer.desktop", mApps / "Viewer link");
    std::ofstream(mApps / "notes.txt") << "a document";
    std::ofstream(mApps / "plain") << "not a program";
    Edit([&](RecordBytes all) {
      RecordBytes scan = Record(all);
      R::kSource.set(scan, 1);
      R::kImageMode.set(scan, 3);
      R::kFileType.set(scan, 2);
      R::kPaperSize.set(scan, UInt32(Paper_Size_A4));
      R::kResolution.set(scan, 5);
      R::kCheckUION.set(scan, 0);
      R::kTargetApp.set(scan, Spec(mApps / "Tool"));
    });
  }
  void RegisterClasses() override {
    RegisterClass_(CScan1DialogBox);
    RegisterClass_(CScan2DialogBox);
    RegisterClass_(CPopupButton);
    RegisterClass_(CFileNameAddPopup);
    RegisterClass_(CEditText);
    RegisterClass_(CCicnButton);
  }

  static void Executable(const fs::path& file) {
    std::ofstream(file) << "#!/bin/sh\nexit 0\n";
    fs::permissions(file, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
  }
  static FSSpec Spec(const fs::path& path) {
    FSSpec spec{};
    EXPECT_EQ(noErr, FSpMakeFromPOSIXPath(path.string(), &spec)) << path;
    return spec;
  }
  RecordBytes Record(RecordBytes all) const { return GetParam().record.in(all); }
  size_t RecordOffset() const { return GetParam().record.off; }

  CCustomScanDialogBox* Open() { return FunctionDialogTest::Open(GetParam().layout); }
  std::string TargetName() { return PStrToString(R::kTargetApp.get(mDialog->Working()).name); }

  fs::path mApps;
};

TEST_P(CustomScanDialog, ExecutableRegistersTheDialogUnderItsClass) {
  bool found = false;
  for (const SAppClassEntry& entry : DialogClasses()) found |= entry.classID == GetParam().classID;
  EXPECT_TRUE(found);
}

TEST_P(CustomScanDialog, ShowsItsOwnRecordAndAChangeReachesOnlyThatRecord) {
  Edit([&](RecordBytes all) { PREF_SETTING::kFilmAdapter.set(PREF_ALL::kSetting.in(all), 0); });
  const std::vector<uint8_t> before = FileBytes();
  Open();
  EXPECT_EQ(Popup('MODE')->CountMenuItems(), 1);
  EXPECT_EQ(Popup('MODE')->GetMenuID(), GetParam().layout);
  EXPECT_EQ(Popup('IMAG')->GetValue(), 4);  // code 3 is item 4
  EXPECT_EQ(Popup('FTYP')->GetValue(), 2);
  EXPECT_EQ(Popup('FTYP')->CountMenuItems(), 3);
  EXPECT_EQ(Text('SCNA'), "Tool");
  EXPECT_FALSE(Text('FOLD').empty());
  Choose('FTYP', 3);
  Close();
  const std::vector<uint8_t> after = FileBytes();
  EXPECT_EQ(after[RecordOffset() + R::kFileType.off + 3], 3);
  for (size_t i = 0; i < before.size(); ++i) {
    const bool own = i >= RecordOffset() && i < RecordOffset() + R::kSize;
    if (!own) {
      ASSERT_EQ(before[i], after[i]) << "byte " << i;
    }
  }
}

TEST_P(CustomScanDialog, FilmAdapterOffersAllThreeSourcesAndTheLastKeepsItsMenus) {
  Edit([](RecordBytes all) { PREF_SETTING::kFilmAdapter.set(PREF_ALL::kSetting.in(all), 1); });
  Open();
  EXPECT_EQ(Popup('MODE')->CountMenuItems(), 3);
  Choose('MODE', 2);
  EXPECT_EQ(Popup('RESL')->GetMenuID(), GetParam().layout + 4);
  EXPECT_EQ(Popup('IMAG')->GetMenuID(), GetParam().layout + 2);
  Choose('MODE', 3);
  EXPECT_FALSE(Popup('IMAG')->IsEnabled());
  EXPECT_FALSE(Popup('RESL')->IsEnabled());
  EXPECT_FALSE(Popup('SIZE')->IsEnabled());
  EXPECT_EQ(Popup('RESL')->GetMenuID(), GetParam().layout + 4);
  EXPECT_EQ(mDialog->Resolution_Value(), 300);
}

struct ResolutionRow {
  const char* what;
  UInt32 fileType;
  int32_t* size;
  UInt16 customWidth;
  UInt8 driverWindow;
  UInt32 storedItem;
  UInt32 item;
  SInt16 firstDisabled;  // items from here on are disabled; 10 = none
};

TEST_P(CustomScanDialog, ResolutionFollowsTheFileTypeSizeAndDriverWindow) {
  const ResolutionRow rows[] = {
      {"PICT on A4: 600 dpi and up off, a stored 600 falls to 400", 1, &Paper_Size_A4, 0, 0, 7, 6, 7},
      {"PICT on letter: at most 481", 1, &Paper_Size_letter, 0, 0, 9, 6, 7},
      {"PICT on the 11x17 stitch size, counted twice: at most 240", 1, &Paper_Size_11X17_Stitch, 0, 0, 7, 4, 5},
      {"the stitch width counts with the driver's window on", 1, &Paper_Size_11X17_Stitch, 0, 1, 7, 4, 5},
      {"a stitch stops at 600 dpi", 2, &Paper_Size_A3_Stitch, 0, 0, 9, 7, 8},
      {"a custom width of 0 sets no limit", 1, &Paper_Size_custom, 0, 0, 9, 9, 10},
      {"JPEG on A4 has every item", 2, &Paper_Size_A4, 0, 0, 9, 9, 10},
  };
  for (const ResolutionRow& row : rows) {
    SCOPED_TRACE(row.what);
    if (*row.size == 0) continue;  // a size this language does not offer
    Edit([&](RecordBytes all) {
      RecordBytes scan = Record(all);
      R::kFileType.set(scan, row.fileType);
      R::kPaperSize.set(scan, UInt32(*row.size));
      R::kCustomSize.set(scan, row.customWidth, 1000, PrefDocSize::kCentimetre);
      R::kCheckUION.set(scan, row.driverWindow);
      R::kResolution.set(scan, row.storedItem);
    });
    Open();
    EXPECT_EQ(mDialog->IsStitch(), row.driverWindow == 0 && *row.size != Paper_Size_A4 &&
                                       *row.size != Paper_Size_letter && *row.size != Paper_Size_custom);
    EXPECT_EQ(Word(R::kResolution.off), row.item);
    for (SInt16 item = 1; item <= 9; ++item)
      EXPECT_EQ(Popup('RESL')->ItemIsEnabled(item), item < row.firstDisabled) << "item " << item;
    Close();
  }
}

TEST_P(CustomScanDialog, BlackAndWhiteWithdrawsJPEGAndGreyBringsItBack) {
  Open();
  Choose('IMAG', 1);
  EXPECT_EQ(Popup('FTYP')->GetValue(), 1);
  EXPECT_FALSE(Popup('FTYP')->ItemIsEnabled(2));
  Choose('IMAG', 2);
  EXPECT_EQ(Popup('FTYP')->GetValue(), 2);
  EXPECT_TRUE(Popup('FTYP')->ItemIsEnabled(2));

  Choose('IMAG', 1);
  Choose('FTYP', 3);  // TIFF chosen in between stays
  Choose('IMAG', 2);
  EXPECT_EQ(Popup('FTYP')->GetValue(), 3);
  EXPECT_EQ(Word(R::kFileType.off), 3u);
}

TEST_P(CustomScanDialog, AdobeRGBOnlyForColourJPEGAndTheStoredByteOnlyFromItsBox) {
  Open();
  struct Row {
    const char* what;
    SInt32 mode;
    SInt32 type;
    bool enabled;
  } rows[] = {
      {"colour JPEG", 4, 2, true},  {"grey JPEG", 2, 2, false}, {"text JPEG", 3, 2, false},
      {"colour TIFF", 4, 3, false}, {"colour PICT", 4, 1, false}, {"photo JPEG", 5, 2, true},
  };
  Choose('SVAD', 1);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Choose('IMAG', row.mode);
    Choose('FTYP', row.type);
    EXPECT_EQ(Pane('SVAD')->IsEnabled(), row.enabled);
    EXPECT_EQ(mDialog->Working().u8(R::kCheckSVAD.off), 1) << "only the box stores its byte";
  }
  Choose('IMAG', 4);
  Choose('FTYP', 2);
  Choose('UION', 1);
  EXPECT_FALSE(Pane('SVAD')->IsEnabled());
}

TEST_P(CustomScanDialog, DriverWindowDisablesTheScanChoicesAndSetsTheExifColourPage) {
  Open();
  Choose('UION', 1);
  EXPECT_FALSE(Popup('MODE')->IsEnabled());
  EXPECT_FALSE(Popup('IMAG')->IsEnabled());
  EXPECT_FALSE(Popup('RESL')->IsEnabled());
  EXPECT_FALSE(Popup('SIZE')->IsEnabled());
  EXPECT_TRUE(Pane('UION')->IsEnabled());
  const std::vector<uint8_t> before = FileBytes();
  Close();
  const std::vector<uint8_t> after = FileBytes();
  EXPECT_EQ(after[56344 + 3], 2);
  EXPECT_EQ(after[RecordOffset() + R::kCheckUION.off], 1);
  for (size_t i = 0; i < before.size(); ++i) {
    const bool own = i >= RecordOffset() && i < RecordOffset() + R::kSize;
    const bool colourPage = i >= 56344 && i < 56348;
    if (!own && !colourPage) {
      ASSERT_EQ(before[i], after[i]) << "byte " << i;
    }
  }
}

TEST_P(CustomScanDialog, CloseGoesBackToTheCommittedRecordAndApplyCommits) {
  Open();
  Choose('FTYP', 3);
  mDialog->ListenToMessage(msg_Cancel, nullptr);  // the dialog closes itself
  mDialog = nullptr;
  EXPECT_EQ(FileBytes()[RecordOffset() + R::kFileType.off + 3], 2);

  Open();
  Choose('FTYP', 3);
  Pane<LEditText>('FNAM')->SetDescriptor(P("\x07Invoice"));
  mDialog->ListenToMessage('APLY', nullptr);
  mDialog->ListenToMessage(msg_Cancel, nullptr);
  mDialog = nullptr;
  Edit([&](RecordBytes all) {
    RecordBytes scan = Record(all);
    EXPECT_EQ(R::kFileType.get(scan), 3u);
    Str255 name;
    R::kDefaultFileName.get(scan, name);
    EXPECT_EQ(PStrToString(name), "Invoice");
    const UInt32 count = R::kHistory.count(scan);
    ASSERT_GE(count, 1u);
    R::kHistory.entry(scan, count - 1, name);
    EXPECT_EQ(PStrToString(name), "Invoice");
  });
}

TEST_P(CustomScanDialog, AnUnusableNameIsRefusedAndNothingStored) {
  Open();
  Pane<LEditText>('FNAM')->SetDescriptor(P("\x04" "a:b/"));
  const std::vector<uint8_t> before = FileBytes();
  wxframework::AnswerNextDialog(msg_OK);
  mDialog->ListenToMessage('APLY', nullptr);
  EXPECT_FALSE(wxframework::HasDialogActions());
  EXPECT_EQ(FileBytes(), before);
}

TEST_P(CustomScanDialog, AnUnusableNameStopsTheStartWithNothingScannedOrStored) {
  const std::string names[] = {"", ".hidden", "a:b", "   "};
  auto record = [&] {
    std::vector<uint8_t> all = FileBytes();
    return std::vector<uint8_t>(all.begin() + long(RecordOffset()), all.begin() + long(RecordOffset() + R::kSize));
  };
  const std::vector<uint8_t> before = record();
  for (const std::string& name : names) {
    SCOPED_TRACE("\"" + name + "\"");
    Open();
    Str255 text;
    PStrFromString(name, text);
    Pane<LEditText>('FNAM')->SetDescriptor(text);
    wxframework::AnswerNextDialog(msg_OK);  // the name's alert
    mDialog->ListenToMessage(msg_OK, nullptr);
    EXPECT_FALSE(wxframework::HasDialogActions());
    EXPECT_EQ(CWXUtility::sIsQuellaneOpened, 0);
    Close();
    EXPECT_EQ(record(), before);
  }
}

TEST_P(CustomScanDialog, DefaultsKeepTheButtonTagAndResetTheHistory) {
  Edit([&](RecordBytes all) {
    RecordBytes scan = Record(all);
    R::kTag.set(scan, 2007);
    R::kHistory.setCount(scan, 3);
  });
  Open();
  Choose('FTYP', 3);
  mDialog->ListenToMessage('DFLT', nullptr);
  RecordBytes r = mDialog->Working();
  EXPECT_EQ(R::kTag.get(r), 2007u);
  EXPECT_EQ(R::kHistory.count(r), 1u);
  Str255 name;
  R::kHistory.entry(r, 0, name);
  EXPECT_EQ(PStrToString(name), ListItem(GetParam().layout, 1));
  EXPECT_EQ(Popup('FTYP')->GetValue(), SInt32(R::kFileType.get(r)));
  EXPECT_EQ(Text('FNAM'), ListItem(GetParam().layout, 1));
}

TEST_P(CustomScanDialog, StoredValuesPastTheirMenusAreClamped) {
  Edit([&](RecordBytes all) {
    RecordBytes scan = Record(all);
    R::kHistory.setCount(scan, 99);
    R::kFileType.set(scan, 6);
    R::kImageMode.set(scan, 99);
    R::kResolution.set(scan, 40);
    R::kSource.set(scan, 9);
  });
  Open();
  EXPECT_EQ(Popup('FTYP')->GetValue(), 3);
  EXPECT_EQ(Word(R::kFileType.off), 3u);
  EXPECT_EQ(Popup('IMAG')->GetValue(), 4);
  EXPECT_LE(Word(R::kResolution.off), 9u);
  EXPECT_EQ(Word(R::kSource.off), UInt32(Popup('MODE')->CountMenuItems()));
  mDialog->ListenToMessage('FACB', nullptr);
  EXPECT_LE(Popup('PuFN')->CountMenuItems(), 11);
  mDialog->ListenToMessage('FACA', nullptr);
}

TEST_P(CustomScanDialog, HistoryPopupListsNewestFirstAndMarksTheCurrentName) {
  Edit([&](RecordBytes all) {
    RecordBytes scan = Record(all);
    R::kHistory.setEntry(scan, 0, P("\x05Older"));
    R::kHistory.setEntry(scan, 1, P("\x05Newer"));
    R::kHistory.setCount(scan, 2);
    R::kDefaultFileName.set(scan, P("\x05Older"));
  });
  Open();
  mDialog->Show();
  mDialog->Select();
  // The user's click: the popup fills itself as it opens.
  wxframework::ChoosePopupItem(mDialog, 'PuFN', 1);
  wxframework::PumpEvents();
  EXPECT_EQ(Text('FNAM'), "Newer");
  mDialog->ListenToMessage('FACB', nullptr);
  LPopupButton* history = Popup('PuFN');
  ASSERT_EQ(history->CountMenuItems(), 2);
  EXPECT_EQ(history->GetValue(), 1);
  mDialog->ListenToMessage('FACA', nullptr);
}

TEST_P(CustomScanDialog, DroppedApplicationsBecomeTheTargetOthersAreRefused) {
  Open();
  mDialog->Show();
  mDialog->Select();
  struct Row {
    const char* item;
    const char* stored;  // null: refused
  } rows[] = {
      {"Viewer.desktop", "Viewer.desktop"}, {"Viewer link", "Viewer.desktop"}, {"notes.txt", nullptr},
      {"plain", nullptr},                   {"Tool", "Tool"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.item);
    const std::string before = TargetName();
    Rect frame;
    mDialog->FindPaneByID('SCNA')->CalcPortFrameRect(frame);
    Point p{SInt16((frame.top + frame.bottom) / 2), SInt16((frame.left + frame.right) / 2)};
    mDialog->FindPaneByID('SCNA')->PortToGlobalPoint(p);
    wxdriver::DropFiles(p, {(mApps / row.item).string()});
    for (int i = 0; i < 5; ++i) mApp->ProcessNextEvent();
    EXPECT_EQ(TargetName(), row.stored ? row.stored : before);
  }
  EXPECT_EQ(Text('SCNA'), "Tool");
}

// What a drag over the dialog shows while it is inside: the copy-arrow cursor, and the
// highlight drawn inside the application's name, 4 pixels in from its frame.
struct DragSeen {
  WindowRef window = nullptr;
  bool inside = false;
  ThemeCursor cursor = kThemeArrowCursor;
  std::vector<UInt32> pixels;
  int width = 0;
};

OSErr WatchDrag(DragTrackingMessage message, WindowRef window, void* refCon, DragRef) {
  auto* seen = static_cast<DragSeen*>(refCon);
  if (message != kDragTrackingInWindow || window != seen->window) return noErr;
  int height = 0;
  seen->inside = true;
  seen->cursor = GetCurrentThemeCursorForTest();
  seen->pixels = wxdriver::WindowPixels(window, &seen->width, &height);
  return noErr;
}

TEST_P(CustomScanDialog, AnApplicationDraggedOverShowsTheCopyArrowAndTheHighlightInsideTheName) {
  Open();
  mDialog->Show();
  mDialog->Select();
  mDialog->UpdatePort();
  LPane* name = mDialog->FindPaneByID('SCNA');
  Rect frame;
  name->CalcPortFrameRect(frame);
  DragSeen seen;
  seen.window = mDialog->GetMacWindow();
  ASSERT_EQ(noErr, InstallTrackingHandler(&WatchDrag, seen.window, &seen));
  const std::vector<UInt32> before = [&] {
    int width = 0, height = 0;
    return wxdriver::WindowPixels(seen.window, &width, &height);
  }();
  Point p{SInt16((frame.top + frame.bottom) / 2), SInt16((frame.left + frame.right) / 2)};
  name->PortToGlobalPoint(p);
  wxdriver::DropFiles(p, {(mApps / "Tool").string()});
  for (int i = 0; i < 5; ++i) mApp->ProcessNextEvent();
  RemoveTrackingHandler(&WatchDrag, seen.window);
  ASSERT_TRUE(seen.inside);
  EXPECT_EQ(kThemeCopyArrowCursor, seen.cursor);
  const auto changed = [&](int x, int y) {
    const size_t at = size_t(y) * size_t(seen.width) + size_t(x);
    return seen.pixels[at] != before[at];
  };
  const int middle = (frame.top + frame.bottom) / 2;
  EXPECT_TRUE(changed(frame.left + 4, middle)) << "the highlight's left edge, 4 pixels in";
  EXPECT_TRUE(changed(frame.right - 5, middle)) << "its right edge";
  EXPECT_FALSE(changed(frame.left, middle)) << "the frame itself stays as it was";
  EXPECT_FALSE(changed(frame.left + 2, middle));
  EXPECT_EQ(TargetName(), "Tool");
}

TEST_P(CustomScanDialog, ChooserRemoveAndAVanishedApplication) {
  Open();
  // Remove asks first; Cancel keeps it.
  wxframework::AnswerNextDialog(msg_Cancel);
  mDialog->ListenToMessage('LKDL', nullptr);
  EXPECT_EQ(TargetName(), "Tool");
  wxframework::AnswerNextDialog(msg_OK);
  mDialog->ListenToMessage('LKDL', nullptr);
  EXPECT_EQ(TargetName(), "");
  EXPECT_EQ(Text('SCNA'), ListItem(GetParam().layout, 2));

  // The chooser starts in the applications folder.
  std::string folder;
  ASSERT_EQ(noErr, FindFolderPath(kLocalDomain, kApplicationsFolderType, true, &folder));
  Executable(fs::path(folder) / "Editor");
  wxframework::QueueDialogAction([](LWindow* d) { wxnavigation::SelectItem(d, "Editor"); });
  wxframework::AnswerNextDialog(msg_OK);
  mDialog->ListenToMessage('SCT2', nullptr);
  EXPECT_FALSE(wxframework::HasDialogActions());
  EXPECT_EQ(TargetName(), "Editor");
  EXPECT_EQ(Text('SCNA'), "Editor");

  // Removed behind the dialog's back: Apply clears it.
  fs::remove(fs::path(folder) / "Editor");
  mDialog->ListenToMessage('APLY', nullptr);
  EXPECT_EQ(TargetName(), "");
  EXPECT_EQ(Text('SCNA'), ListItem(GetParam().layout, 2));
  Close();
  Edit([&](RecordBytes all) { EXPECT_EQ(R::kTargetApp.get(Record(all)).name[0], 0); });
}

TEST_P(CustomScanDialog, ADesktopEntryIsShownByItsName) {
  std::ofstream(mApps / "org.example.Photos.desktop") << "[Desktop Entry]\nType=Application\nName=Photo Album\nExec=/bin/true %F\n";
  Edit([&](RecordBytes all) { R::kTargetApp.set(Record(all), Spec(mApps / "org.example.Photos.desktop")); });
  Open();
  EXPECT_EQ(Text('SCNA'), "Photo Album");
  Close();
}

TEST_P(CustomScanDialog, LinkingTheButtonForgetsAVanishedApplication) {
  Executable(mApps / "Gone");
  Edit([&](RecordBytes all) { R::kTargetApp.set(Record(all), Spec(mApps / "Gone")); });
  fs::remove(mApps / "Gone");
  Open();
  EXPECT_EQ(TargetName(), "Gone");
  mDialog->SetMainWindowButton(nullptr);
  EXPECT_EQ(TargetName(), "");
  Close();
  Edit([&](RecordBytes all) { EXPECT_EQ(R::kTargetApp.get(Record(all)).name[0], 0); });
}

TEST_P(CustomScanDialog, CommandsAreOffWhileAScanRuns) {
  Open();
  bool enabled = true, usesMark = false;
  UInt16 mark = 0;
  Str255 name{};
  CWXUtility::sIsQuellaneOpened = 1;
  mDialog->FindCommandStatus(10, enabled, usesMark, mark, name);
  EXPECT_FALSE(enabled);
  CWXUtility::sIsQuellaneOpened = 0;
  mDialog->FindCommandStatus(10, enabled, usesMark, mark, name);
  EXPECT_TRUE(enabled);
}

INSTANTIATE_TEST_SUITE_P(BothScans, CustomScanDialog, ::testing::ValuesIn(kKinds),
                         [](const ::testing::TestParamInfo<Kind>& info) {
                           return std::string(info.param.name).replace(4, 1, "");
                         });

}  // namespace
