#include "dialogs/file/COcrDialogBox.h"

#include <cstring>

#include "app/CAppButton.h"
#include "app/CAppearanceApp.h"
#include "app/CCicnButton.h"
#include "app/CMainWindow.h"
#include "prefs/LanguageTables.h"
#include "prefs/WXDefaultDir.h"
#include "dialogs/file/FunctionDialogParts.h"
#include "dialogs/file/WatchedScan.h"
#include "framework/LControl.h"
#include "framework/LEditText.h"
#include "framework/LPopupButton.h"
#include "framework/UReanimator.h"
#include "output/export/WXChoosers.h"
#include "output/export/WXExport.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hub/WXLaunch.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "output/hubdialogs/CWXUtility.h"
#include "output/hubdialogs/WXScan.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"
#include "quickdraw/Appearance.h"
#include "quickdraw/QuickDraw.h"
#include "toolbox/Resources.h"

using namespace FunctionDialogParts;
using FunctionDialogKit::FileNameAccepted;

namespace {

constexpr ResIDT kLayout = 3000;
constexpr ResIDT kStrings = 3000;
enum : SInt16 { kDefaultNameItem = 1, kNoApplicationItem = 2 };
enum : ResIDT {
  kModeMenu = 3000,
  kResolutionMenu = 3001,
  kSizeMenu = 3002,
  kFileTypeMenu = 3003,
  kColourModeMenu = 3004,
  kColourFileTypeMenu = 3005,
};
enum : UInt32 { kTypePICT = 1, kTypeJPEG = 2 };
enum : SInt32 { kItemForgetApplication = 10, kItemNoPermission = 13, kItemNoApplication = 18 };
enum : CommandT { kCommandClose = 1, kCommandQuit = 10, kCommandSynthetic = -8388608 };
constexpr long kCallerOCR = 4;
constexpr OSType kCreator = 'prvw';
constexpr short kTransferCancelled = 3;

// The custom size is the last item: after the table's first stitch row's place.
long CustomItem() { return IS_J ? 13 : 8; }

OSType FileTypeCode(UInt32 item) { return item == kTypePICT ? 'PICT' : 'JPEG'; }

// The dialog that shows the disk checks' alerts.
LCommander* sAlertOwner = nullptr;
void ShowDiskAlert(long item) {
  CWXUtility::Show_Error(CWXUtility::kAlertLayout, sAlertOwner, 400, item, 0, 1, nullptr, 0);
}

}  // namespace

COcrDialogBox::COcrDialogBox(LStream* stream) : LDialogBox(stream), CPreferences(PREFS_FILE_NAME, 0) {}

COcrDialogBox::~COcrDialogBox() {
  Save_Setting();
  if (CAppearanceApp::sApplication) CAppearanceApp::sApplication->mFunctionDialogOpen = 0;
}

void COcrDialogBox::FinishCreateSelf() {
  LDialogBox::FinishCreateSelf();
  mImage = CWXUtility::FindPaneAs<LPopupButton>(this, 'IMAG');
  mResolution = CWXUtility::FindPaneAs<LPopupButton>(this, 'RESL');
  mSize = CWXUtility::FindPaneAs<LPopupButton>(this, 'SIZE');
  mFileType = CWXUtility::FindPaneAs<LPopupButton>(this, 'FTYP');
  mDayFolder = CWXUtility::FindPaneAs<LControl>(this, 'DYIN');
  mName = CWXUtility::FindPaneAs<LEditText>(this, 'FNAM');
  mFolder = CWXUtility::FindPaneAs<LPane>(this, 'FOLD');
  mAppName = CWXUtility::FindPaneAs<LPane>(this, 'SCNA');
  mAppIcon = CWXUtility::FindPaneAs<CCicnButton>(this, 'AICN');
  mOptions = CWXUtility::FindPaneAs<LControl>(this, 'PDFS');
  mAskName = CWXUtility::FindPaneAs<LControl>(this, 'EZFN');
  mHistory = CWXUtility::FindPaneAs<LPopupButton>(this, 'PuFN');
  for (PaneIDT id : {PaneIDT('OKBT'), PaneIDT('CNCL'), PaneIDT('APLY'), PaneIDT('DFLT')}) CWXUtility::FindPaneAs<LPane>(this, id);
  mDrop = std::make_unique<CAppDropArea>(this, mAppName, this);

  UReanimator::LinkListenerToControls(this, this, kLayout);
  mImage->SetMenuID(kModeMenu);
  mResolution->SetMenuID(kResolutionMenu);
  mSize->SetMenuID(kSizeMenu);
  mFileType->SetMenuID(kFileTypeMenu);
  Load_Setting();
  if (ForgetVanishedApplication()) {
    mCommitted = mWorking;
    Save_Setting();
  }
  RecordBytes r = Working();
  Str255 name;
  PREF_OCR::kDefaultFileName.get(r, name);
  mName->SetDescriptor(name);
  ShowFolder();
  mCommitted = mWorking;
  ShowApplication();
  mBusy = 0;
  CWXUtility::sIsQuellaneOpened = 0;
  mAutoStart = 0;
}

void COcrDialogBox::SetMainWindowButton(CAppButton* button) {
  mButton = button;
  if (!ForgetVanishedApplication()) return;
  mCommitted = mWorking;
  Save_Setting();
  ShowButtonIcon(mButton, App());
}

FSSpec COcrDialogBox::App() { return PREF_OCR::kOCRApp.get(Working()); }

bool COcrDialogBox::ForgetVanishedApplication() {
  const FSSpec app = App();
  if (app.name[0] == 0 || SpecResolves(app)) return false;
  PREF_OCR::kOCRApp.clear(Working());
  ShowApplication();
  return true;
}

void COcrDialogBox::ShowFolder() {
  RecordBytes r = Working();
  if (!SpecResolves(PREF_OCR::kFolder.get(r))) {
    FSSpec fallback{};
    CWXUtility::Get_Default_Dir(&fallback);
    PREF_OCR::kFolder.set(r, fallback);
  }
  ShowShortPath(mFolder, PREF_OCR::kFolder.get(r));
}

void COcrDialogBox::ShowApplication() {
  FunctionDialogParts::ShowApplication(mAppName, mAppIcon, App(), kStrings, kNoApplicationItem);
}

// ---- Record and controls -----------------------------------------------------------------

void COcrDialogBox::Load_Setting() {
  PREF_ALL::kOCR.in(PrefAll()).getBytes(0, mWorking.bytes.data(), PREF_OCR::kSize);
  Prefs_Set(0);
}

void COcrDialogBox::Save_Setting() {
  std::memcpy(PREF_ALL::kOCR.in(PrefAll()).data(), mWorking.bytes.data(), PREF_OCR::kSize);
}

void COcrDialogBox::Prefs_Set(unsigned char reset) {
  RecordBytes r = Working();
  if (reset == 1) {
    const UInt32 tag = PREF_OCR::kTag.get(r);
    RecordBytes defaults = Set_Default_OCR();
    std::memcpy(r.data(), defaults.data(), PREF_OCR::kSize);
    PREF_OCR::kTag.set(r, tag);
  }
  CWXUtility::StStopListening quiet(this);
  mDayFolder->SetValue(PREF_OCR::kCheckDYIN.get(r));
  mAskName->SetValue(PREF_OCR::kCheckEZFN.get(r));
  SetImageMode_Popup();
  SetFileType_Popup();
  SetResolution_Popup();
  SetSize_Popup();
}

void COcrDialogBox::SetImageMode_Popup() {
  RecordBytes r = Working();
  const long product = CMainWindow::ProductOf(PrefAll());
  mImage->SetMenuID(CWXUtility::IsColorOCRDriver(product) ? kColourModeMenu : kModeMenu);
  PREF_OCR::kColourMode.set(r, ShowStoredItem(mImage, PREF_OCR::kColourMode.get(r)));
  EnableIf(mImage, PREF_OCR::kFlag16.get(r) == 0);
}

void COcrDialogBox::SetResolution_Popup() {
  RecordBytes r = Working();
  mResolution->SetMenuID(kResolutionMenu);
  PREF_OCR::kSetting4.set(r, ShowStoredItem(mResolution, PREF_OCR::kSetting4.get(r)));
  EnableIf(mResolution, PREF_OCR::kFlag16.get(r) == 0);
}

long COcrDialogBox::Resolution_Value() { return mResolution->GetValue() == 2 ? 400 : 300; }

void COcrDialogBox::SetSize_Popup() {
  RecordBytes r = Working();
  mSize->SetMenuID(kSizeMenu);
  PREF_OCR::kPaperSize.set(r, ShowStoredItem(mSize, PREF_OCR::kPaperSize.get(r)));
  EnableIf(mSize, PREF_OCR::kFlag16.get(r) == 0);
  ShowCustomSize();
}

void COcrDialogBox::ShowCustomSize() {
  if (CustomItem() > mSize->CountMenuItems()) return;
  RecordBytes r = Working();
  StDescriptDialog size;
  size.width = PREF_OCR::kCustomSize.width(r) / 100.0;
  size.height = PREF_OCR::kCustomSize.height(r) / 100.0;
  size.unit = SInt32(PREF_OCR::kCustomSize.unit(r));
  Str255 text;
  CWXUtility::ManuscriptPrefToString(size, text);
  mSize->SetMenuItemText(SInt16(CustomItem()), text);
}

long COcrDialogBox::PaperIndex() {
  const long item = mSize->GetValue();
  return item == CustomItem() ? long(Paper_Size_custom) : item;
}

void COcrDialogBox::SetFileType_Popup() {
  RecordBytes r = Working();
  const bool colour = CWXUtility::IsColorOCRDriver(CMainWindow::ProductOf(PrefAll())) != 0;
  mFileType->SetMenuID(colour ? kColourFileTypeMenu : kFileTypeMenu);
  UInt32 type = ShowStoredItem(mFileType, PREF_OCR::kColourSetting.get(r));
  if (colour) {
    mFileType->EnableItem(kTypeJPEG);
    if (mImage->GetValue() == 1) {
      mFileType->DisableItem(kTypeJPEG);
      if (type == kTypeJPEG) {
        type = kTypePICT;
        mJPEGSwapped = 1;
      }
    } else if (mJPEGSwapped == 1) {
      type = kTypeJPEG;
      mJPEGSwapped = 0;
    }
  }
  PREF_OCR::kColourSetting.set(r, type);
  mFileType->SetValue(SInt32(type));
  mFileType->Enable();
}

long COcrDialogBox::GetImageMode(long item) { return item; }

void COcrDialogBox::SetSelect1Button() {
  RecordBytes r = Working();
  FSSpec folder = PREF_OCR::kFolder.get(r);
  FSSpec chosen{};
  Str255 title;
  GetDescriptor(title);
  if (CWXUtility::ChooseFolder(chosen, title, folder) != 1) return;
  PREF_OCR::kFolder.set(r, chosen);
  ShowShortPath(mFolder, chosen);
}

// ---- Messages ----------------------------------------------------------------------------

void COcrDialogBox::ListenToMessage(MessageT message, void* param) {
  const bool valued = message != msg_ScanEnded && message != msg_OK && message != msg_Cancel &&
                      message != msg_ApplicationDropped;
  const long value = (valued && param) ? *static_cast<SInt32*>(param) : 0;
  RecordBytes r = Working();
  if (FunctionDialogKit::HandleHistoryMessage(this, message, value, mHistory, mName, r, PREF_OCR::kHistory,
                                              mHistoryMatch))
    return;
  switch (message) {
    case msg_OK: OnStart(); break;
    case msg_Cancel:
      mWorking = mCommitted;
      DoClose();
      break;
    case msg_ScanEnded: OnScanEnded(static_cast<CThreadChecker*>(param)); break;
    case 'APLY': OnApply(); break;
    case 'DFLT': OnDefaults(); break;
    case 'IMAG': {
      CWXUtility::StStopListening quiet(this);
      PREF_OCR::kColourMode.set(r, UInt32(value));
      SetFileType_Popup();
      break;
    }
    case 'RESL': PREF_OCR::kSetting4.set(r, UInt32(value)); break;
    case 'SIZE': OnSize(value); break;
    case 'FTYP': PREF_OCR::kColourSetting.set(r, UInt32(value)); break;
    case 'DYIN': PREF_OCR::kCheckDYIN.set(r, UInt8(value)); break;
    case 'EZFN':
      PREF_OCR::kCheckEZFN.set(r, UInt8(value));
      PREF_OCR::kFlag3413.set(r, UInt8(value));
      break;
    case 'PDFS': OnFormatOptions(); break;
    case 'SCT1': {
      CWXUtility::StStopListening quiet(this);
      SetSelect1Button();
      break;
    }
    case 'SCT2': OnChooseApplication(); break;
    case 'LKDL': OnForgetApplication(); break;
    case msg_ApplicationDropped: OnApplicationDropped(*static_cast<const FSSpec*>(param)); break;
    default: break;
  }
}

void COcrDialogBox::OnSize(long item) {
  CWXUtility::StStopListening quiet(this);
  RecordBytes r = Working();
  PREF_OCR::kPaperSize.set(r, UInt32(item));
  if (item != CustomItem()) return;
  CWXUtility::EditStoredManuscriptSize(200, this, r, PREF_OCR::kCustomSize);
  ShowCustomSize();
}

void COcrDialogBox::OnFormatOptions() {
  CWXUtility::StStopListening quiet(this);
  RecordBytes r = Working();
  const UInt8 driverWindow = PREF_OCR::kFlag16.get(r);
  UInt32 third = 0;
  if (mFileType->GetValue() == SInt32(kTypePICT)) {
    StOtherDialog options;
    PREF_OCR::kPICT.in(r).getBytes(0, options.bytes.data(), StOtherDialog::kSize);
    CWXUtility::OtherSetting(320, this, options, 1, 0, driverWindow, 0);
    std::memcpy(PREF_OCR::kPICT.in(r).data(), options.bytes.data(), StOtherDialog::kSize);
    third = StOtherDialog::kOptionPRB.get(options.view());
  } else {
    StJPEGDialog options;
    PREF_OCR::kJPEG.in(r).getBytes(0, options.bytes.data(), StJPEGDialog::kSize);
    CWXUtility::JPEGSetting(310, this, options, 1, 0, driverWindow, 0);
    std::memcpy(PREF_OCR::kJPEG.in(r).data(), options.bytes.data(), StJPEGDialog::kSize);
    third = StJPEGDialog::kOptionPRB.get(options.view());
  }
  PREF_OCR::kSetting3416.set(r, third);
}

void COcrDialogBox::OnChooseApplication() {
  FSSpec chosen{};
  Str255 title;
  GetDescriptor(title);
  if (CWXUtility::ChooseApplication(chosen, title) != 1) return;
  OnApplicationDropped(chosen);
}

void COcrDialogBox::OnApplicationDropped(const FSSpec& app) {
  PREF_OCR::kOCRApp.set(Working(), app);
  ShowApplication();
}

void COcrDialogBox::OnForgetApplication() {
  CWXUtility::StStopListening quiet(this);
  if (App().name[0] == 0) return;
  if (CWXUtility::Show_Error(CWXUtility::kAlertLayout, this, 400, kItemForgetApplication, 1, 1, nullptr, 0) != msg_OK)
    return;
  PREF_OCR::kOCRApp.clear(Working());
  ShowApplication();
}

void COcrDialogBox::Commit() {
  mCommitted = mWorking;
  Save_Setting();
}

void COcrDialogBox::OnApply() {
  Str255 name;
  mName->GetDescriptor(name);
  if (!FileNameAccepted(this, name)) return;
  ForgetVanishedApplication();
  RecordBytes r = Working();
  PREF_OCR::kDefaultFileName.set(r, name);
  CWXUtility::CheckHistFileName(name, r, PREF_OCR::kHistory);
  Commit();
  ShowButtonIcon(mButton, App());
}

void COcrDialogBox::OnDefaults() {
  CWXUtility::StStopListening quiet(this);
  Prefs_Set(1);
  RecordBytes r = Working();
  Str255 name;
  PREF_OCR::kDefaultFileName.get(r, name);
  mName->SetDescriptor(name);
  ShowApplication();
  ShowFolder();
  GetIndString(name, kStrings, kDefaultNameItem);
  PREF_OCR::kHistory.setEntry(r, 0, name);
  PREF_OCR::kHistory.setCount(r, 1);
}

void COcrDialogBox::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                      Str255 outName) {
  if (CWXUtility::sIsQuellaneOpened == 1) {
    outEnabled = false;
    return;
  }
  if (command == kCommandClose || command == kCommandQuit || command == kCommandSynthetic) {
    outEnabled = mBusy == 0;
    return;
  }
  LDialogBox::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
}

void COcrDialogBox::AdjustMouseSelf(Point, const EventRecord&, RgnHandle) { mDrop->AdjustCursor(); }

// ---- The run -----------------------------------------------------------------------------

bool COcrDialogBox::DiskSpaceSuffices(const FSSpec& folder) {
  RecordBytes r = Working();
  const SDimension16 custom = CWXUtility::StoredScanSize(r, PREF_OCR::kCustomSize);
  sAlertOwner = this;
  const bool enough = CWXUtility::CheckHDSpace(folder, PaperIndex(), GetImageMode(mImage->GetValue()), 1,
                                               Resolution_Value(), custom, CMainWindow::ProductOf(PrefAll()), 0,
                                               &ShowDiskAlert) != 0;
  sAlertOwner = nullptr;
  return enough;
}

void COcrDialogBox::OnStart() {
  RecordBytes r = Working();
  if (!DiskSpaceSuffices(PREF_OCR::kFolder.get(r))) return;
  if (!TempFolderReady(PrefAll(), this)) return;
  if (!DiskSpaceSuffices(PREF_SETTING::kTempFolder.get(PREF_ALL::kSetting.in(PrefAll())))) return;
  Str255 name;
  mName->GetDescriptor(name);
  if (mAutoStart == 1 && PREF_OCR::kFlag3413.get(r) == 1) {
    const UInt32 count = PREF_OCR::kHistory.count(r);
    Str255 names[PrefHistory::kEntries];
    for (UInt32 i = 0; i < count; ++i) PREF_OCR::kHistory.entry(r, i, names[i]);
    if (CWXUtility::AddFileName(this, name, long(count), names) == 1) {
      CWXUtility::StStopListening quiet(this);
      mName->SetDescriptor(name);
    }
  }
  if (!FileNameAccepted(this, name)) {
    SwitchTarget(mName);
    return;
  }
  ForgetVanishedApplication();
  PREF_OCR::kDefaultFileName.set(r, name);
  Commit();
  ShowButtonIcon(mButton, App());
  if (App().name[0] == 0) {
    CWXUtility::Show_Error(CWXUtility::kAlertLayout, this, 400, kItemNoApplication, 0, 1, nullptr, 0);
    FSSpec chosen{};
    Str255 title;
    GetDescriptor(title);
    if (CWXUtility::ChooseApplication(chosen, title) != 1) return;
    OnApplicationDropped(chosen);
    ShowButtonIcon(mButton, chosen);
    UpdatePort();
  }
  PREF_OCR::kDefaultFileName.set(r, name);
  CWXUtility::CheckHistFileName(name, r, PREF_OCR::kHistory);
  Commit();
  const FSSpec folder = PREF_OCR::kFolder.get(r);
  if (CWXUtility::check_permission(&folder, PREF_OCR::kCheckDYIN.get(r)) == 0) {
    CWXUtility::Show_Error(CWXUtility::kAlertLayout, this, 400, kItemNoPermission, 0, 1, nullptr, 0);
    return;
  }
  StartScan();
}

void COcrDialogBox::SetRunning(UInt8 running) {
  mBusy = running;
  CWXUtility::sIsQuellaneOpened = running;
  if (running) SwitchTarget(this);
  LCommander::SetUpdateCommandStatus(true);
}

void COcrDialogBox::StartScan() {
  RecordBytes r = Working();
  CoverForScan(this);
  SetRunning(1);
  LaunchBeforeScan(this, App());
  const SDimension16 custom = CWXUtility::StoredScanSize(r, PREF_OCR::kCustomSize);
  const ScanRequest request{kCallerOCR,
                            custom,
                            FileTypeCode(UInt32(mFileType->GetValue())),
                            1,
                            GetImageMode(mImage->GetValue()),
                            PREF_OCR::kFlag16.get(r),
                            PaperIndex(),
                            Resolution_Value(),
                            UInt8(PREF_OCR::kSetting3416.get(r) & 0xFF)};
  if (!StartWatchedScan(this, PrefAll(), request)) {
    // No end message follows a scan that did not start.
    SetRunning(0);
    UncoverAfterScan(this);
  }
  PREF_ALL::kLastButton.set(PrefAll(), 0);
}

void COcrDialogBox::OnScanEnded(CThreadChecker* checker) {
  if (!checker) return;
  SetRunning(0);
  UncoverAfterScan(this);
  RecordBytes r = Working();
  CTWAIN* twain = checker->GetTWAIN();
  if (twain && twain->GetResult() == kTransferCancelled && PREF_OCR::kFlag16.get(r) == 1) {
    // The driver's window stays up for another scan.
    SetRunning(1);
    twain->Scan_Continue();
    checker->StartRepeating();
    return;
  }
  if (twain) CWXUtility::ShowScannerFault(this, *twain);
  Str255 name, defaultName;
  mName->GetDescriptor(name);
  PREF_OCR::kDefaultFileName.set(r, name);
  GetIndString(defaultName, kStrings, kDefaultNameItem);
  StPDFDialog pdf;
  StJPEGDialog jpeg;
  StOtherDialog pict, tiff;
  PREF_OCR::kJPEG.in(r).getBytes(0, jpeg.bytes.data(), StJPEGDialog::kSize);
  PREF_OCR::kPICT.in(r).getBytes(0, pict.bytes.data(), StOtherDialog::kSize);
  PREF_OCR::kTIFF.in(r).getBytes(0, tiff.bytes.data(), StOtherDialog::kSize);
  std::unique_ptr<TArray<FSSpec>> written(CWXUtility::ExportToFile(
      PREF_SETTING::kTWAIN.get(PREF_ALL::kSetting.in(PrefAll())), checker,
      FileTypeCode(UInt32(mFileType->GetValue())), name, PREF_OCR::kFolder.get(r), PREF_OCR::kCheckDYIN.get(r), pdf,
      jpeg, pict, tiff, 0, kCreator, SameText(name, defaultName) ? 1 : 0, 0, 0));
  const short result = twain ? twain->GetResult() : 0;
  Scanner* scanner = checker->GetScanner();
  delete checker;
  delete scanner;
  delete twain;
  Refresh();
  if (CAppearanceApp::sMainWindow) CAppearanceApp::sMainWindow->Refresh();
  const bool handedOn = written && written->GetCount() > 0 && App().name[0] != 0 && HandOn(App(), *written);
  written.reset();
  if (IsVisible()) Activate();
  if (mAutoStart == 1) {
    mAutoStart = 0;
    if (PREF_SETTING::kQuitOption.get(PREF_ALL::kSetting.in(PrefAll())) == 1 && result != kTransferCancelled)
      ProcessCommand(kCommandQuit);
    else
      DoClose();
    return;
  }
  if (handedOn) DoClose();
}
