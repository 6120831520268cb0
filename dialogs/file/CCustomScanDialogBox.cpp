#include "dialogs/file/CCustomScanDialogBox.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/CAppButton.h"
#include "app/CAppearanceApp.h"
#include "app/CCicnButton.h"
#include "app/CMainWindow.h"
#include "prefs/LanguageTables.h"
#include "prefs/WXDefaultDir.h"
#include "output/color/AdobeRGBPages.h"
#include "dialogs/file/FunctionDialogKit.h"
#include "dialogs/file/RecordFormatOptions.h"
#include "dialogs/file/FunctionDialogParts.h"
#include "dialogs/file/ScanSettingRules.h"
#include "framework/LControl.h"
#include "framework/LEditText.h"
#include "framework/LPopupButton.h"
#include "framework/UReanimator.h"
#include "output/export/WXChoosers.h"
#include "output/export/WXExport.h"
#include "output/hub/UProcess.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hub/WXFolders.h"
#include "output/hub/WXLaunch.h"
#include "output/hubdialogs/CWXUtility.h"
#include "output/hubdialogs/WXScan.h"
#include "preview/CPreviewDialog.h"
#include "preview/CStitchDialog.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

namespace {

using namespace ScanSettingRules;
using namespace FunctionDialogKit;
using R = PREF_SCANX;

enum : SInt16 { kDefaultNameItem = 1, kNoAppItem = 2 };
constexpr OSType kCreator = 'prvw';
enum : CommandT { kCommandQuit = 10 };

using Step = ScanSettingPopups::Step;
// What each choice shows again.
const std::vector<ScanSettingPopups::Reshow> kReshows = {
    {'MODE',
     {Step::kShowImageMode, Step::kShowFileType, Step::kShowResolution, Step::kShowSize, Step::kShowDriverWindow,
      Step::kShowImageMode}},
    {'IMAG',
     {Step::kShowFileType, Step::kShowResolution, Step::kShowSize, Step::kShowAdobeRGB, Step::kShowDriverWindow}},
    {'RESL', {Step::kShowImageMode, Step::kShowSize, Step::kShowFileType}},
    {'SIZE', {Step::kShowImageMode, Step::kShowFileType, Step::kShowResolution, Step::kShowDriverWindow}},
    {'FTYP',
     {Step::kShowImageMode, Step::kShowResolution, Step::kShowSize, Step::kShowAdobeRGB, Step::kShowDriverWindow}},
    {'UION',
     {Step::kShowSource, Step::kShowImageMode, Step::kShowFileType, Step::kShowResolution, Step::kShowSize,
      Step::kShowAdobeRGB}},
    {'SVAD', {Step::kShowDriverWindow}},
};
enum : SInt32 {
  kItemDropPendingPages = 8,
  kItemForgetApp = 10,
  kItemNoPermission = 13,
  kItemNoApp = 17,
  kItemPendingOnClose = 27,
};
enum : short { kTransferFailed = 1, kTransferCancelledInDriverWindow = 3 };
// Systems that launch the target application before the scan.
constexpr SInt32 kFirstLaunchingSystem = 0x1010, kLastLaunchingSystem = 0x101F;

// The dialog that shows the disk checks' alerts.
LCommander* sAlertOwner = nullptr;
void ShowDiskAlert(long item) { Alert(sAlertOwner, item); }

SDimension16 CustomSize(RecordBytes r) {
  return CWXUtility::StoredScanSize(r, R::kCustomSize);
}

// The scan records hold no PDF options: these functions write no PDF.
using FormatOptions = RecordFormatOptions<R>;

}  // namespace

CCustomScanDialogBox::CCustomScanDialogBox(LStream* stream, const SCustomScanKind& kind)
    : LDialogBox(stream),
      CPreferences(PREFS_FILE_NAME, 0),
      mKind(kind),
      mPopups({kind.idBase, R::kFileType, R::kCheckUION, R::kCheckSVAD, R::kCustomSize}) {}

CCustomScanDialogBox::~CCustomScanDialogBox() {
  mStitchDialog = nullptr;
  Save_Setting();
  DeletePages(mPendingPages, mPendingExif);
  if (CAppearanceApp::sApplication) CAppearanceApp::sApplication->mFunctionDialogOpen = 0;
}

void CCustomScanDialogBox::FinishCreateSelf() {
  LDialogBox::FinishCreateSelf();
  CWXUtility::FindPaneAs<LControl>(this, 'SCT1');
  CWXUtility::FindPaneAs<LControl>(this, 'SCT2');
  mPopups.Find(this, Working(), PrefAll());
  mMode = mPopups.SourcePopup();
  mImage = mPopups.ImagePopup();
  mSize = mPopups.SizePopup();
  mFileType = mPopups.FileTypePopup();
  mDriverWindow = CWXUtility::FindPaneAs<LControl>(this, 'UION');
  mDayFolder = CWXUtility::FindPaneAs<LControl>(this, 'DYIN');
  mName = CWXUtility::FindPaneAs<LEditText>(this, 'FNAM');
  mFolder = CWXUtility::FindPaneAs<LPane>(this, 'FOLD');
  mAppName = CWXUtility::FindPaneAs<LPane>(this, 'SCNA');
  mAppIcon = CWXUtility::FindPaneAs<CCicnButton>(this, 'FICN');
  mPreview = CWXUtility::FindPaneAs<LControl>(this, 'SPRE');
  mAdobeRGB = CWXUtility::FindPaneAs<LControl>(this, 'SVAD');
  mOptions = CWXUtility::FindPaneAs<LControl>(this, 'PDFS');
  mAskName = CWXUtility::FindPaneAs<LControl>(this, 'EZFN');
  mHistory = CWXUtility::FindPaneAs<LPopupButton>(this, 'PuFN');
  for (PaneIDT id : {PaneIDT('DFLT'), PaneIDT('APLY'), PaneIDT('CNCL'), PaneIDT('OKBT')}) CWXUtility::FindPaneAs<LPane>(this, id);
  // A dropped application is shown around the application's name.
  mDrop = std::make_unique<CAppDropArea>(this, mAppName, this);

  UReanimator::LinkListenerToControls(this, this, mKind.idBase);
  mJPEGSwapped = 0;
  Load_Setting();
  Str255 name;
  R::kDefaultFileName.get(Working(), name);
  mName->SetDescriptor(name);
  ShowTargetApp();
  CheckOutputFolder();
  mCommitted = mWorking;
  mBusy = 0;
  CWXUtility::sIsQuellaneOpened = 0;
  mAutoStart = 0;
}


// ---- Record and controls -----------------------------------------------------------------

void CCustomScanDialogBox::Load_Setting() {
  StoredRecord().getBytes(0, mWorking.bytes.data(), R::kSize);
  Prefs_Set(0);
  Prefs_Set(0);
}

void CCustomScanDialogBox::Save_Setting() { std::memcpy(StoredRecord().data(), mWorking.bytes.data(), R::kSize); }

void CCustomScanDialogBox::Prefs_Set(unsigned char factory) {
  RecordBytes r = Working();
  if (factory == 1) {
    const UInt32 tag = R::kTag.get(r);
    RecordBytes defaults = (this->*mKind.defaults)();
    std::memcpy(r.data(), defaults.data(), R::kSize);
    R::kTag.set(r, tag);
  }
  CWXUtility::StStopListening quiet(this);
  mPopups.ShowRecord();
  mDriverWindow->SetValue(R::kCheckUION.get(r));
  mDayFolder->SetValue(R::kCheckDYIN.get(r));
  mPreview->SetValue(R::kCheckFIRE.get(r));
  mAdobeRGB->SetValue(R::kCheckSVAD.get(r));
  mAskName->SetValue(R::kCheckEZFN.get(r));
  SetMode_Popup();
  SetImageMode_Popup();
  SetFileType_Popup();
  SetResolution_Popup();
  SetSize_Popup();
  SetUIonBox();
  SetAdobeRGBCheckBox();
}

long CCustomScanDialogBox::Source() const { return mPopups.Source(); }
long CCustomScanDialogBox::Code() { return mPopups.Code(); }
UInt32 CCustomScanDialogBox::FileType() const { return mPopups.FileType(); }

long CCustomScanDialogBox::GetImageMode(long item) { return ImageModeOfItem(item, Source()); }
long CCustomScanDialogBox::GetImageModePopupNum(long code, long source) { return ItemOfImageMode(code, source); }

bool CCustomScanDialogBox::IsStitch_Disregard_UICheckBox() { return mPopups.IsStitchDisregardingDriverWindow(); }

bool CCustomScanDialogBox::IsStitch() { return mPopups.IsStitch(); }

// ---- Setters -----------------------------------------------------------------------------

void CCustomScanDialogBox::SetMode_Popup() { mPopups.ShowSource(); }
void CCustomScanDialogBox::SetUIonBox() { mDriverWindow->Enable(); }

void CCustomScanDialogBox::SetImageMode_Popup() { mPopups.ShowImageMode(); }

void CCustomScanDialogBox::SetResolution_Popup() { mPopups.ShowResolution(); }

long CCustomScanDialogBox::Resolution_Value() { return mPopups.ResolutionValue(); }

void CCustomScanDialogBox::SetSize_Popup() {
  if (mPopups.ShowSize()) ClearCorrections();
}

void CCustomScanDialogBox::ClearCorrections() {
  RecordBytes r = Working();
  R::kCorrections.set(r, 0);
  StJPEGDialog::kLanguageOption.set(R::kJPEG.in(r), 0);
  StOtherDialog::kLanguageOption.set(R::kPICT.in(r), 0);
  StOtherDialog::kLanguageOption.set(R::kTIFF.in(r), 0);
}

void CCustomScanDialogBox::SetFileType_Popup() {
  RecordBytes r = Working();
  const UInt32 stored = R::kFileType.get(r);
  UInt32 type = stored;
  mFileType->SetValue(SInt32(type));
  const long source = Source();
  const long code = Code();
  if (source == kSourcePlaten && code == 1 && R::kCheckUION.get(r) == 0) {
    mFileType->DisableItem(kTypeJPEG);
    if (type == kTypeJPEG) {
      type = kTypePICT;
      mJPEGSwapped = 1;
    }
  } else {
    mFileType->EnableItem(kTypeJPEG);
  }
  const bool colourAgain = (source == kSourcePlaten && code != 1) || source != kSourcePlaten;
  if (mJPEGSwapped == 1 && colourAgain) {
    mJPEGSwapped = 0;
    if (type == kTypePICT) type = kTypeJPEG;
  }
  if (type != stored) R::kFileType.set(r, type);
  mFileType->SetValue(SInt32(type));
}

void CCustomScanDialogBox::SetAdobeRGBCheckBox() {
  CWXUtility::StStopListening quiet(this);
  // With pages waiting, their colour is decided: the box keeps its value.
  if (PagesPending() || R::kCheckUION.get(Working()) == 1) {
    mAdobeRGB->Disable();
    return;
  }
  if (AdobeRGBAllowed(Source(), Code(), FileType())) {
    mAdobeRGB->Enable();
  } else {
    mAdobeRGB->SetValue(0);
    mAdobeRGB->Disable();
  }
}

void CCustomScanDialogBox::SetSelect1Button() {
  CWXUtility::StStopListening quiet(this);
  RecordBytes r = Working();
  FSSpec folder = R::kFolder.get(r);
  FSSpec chosen{};
  Str255 prompt;
  GetDescriptor(prompt);
  if (CWXUtility::ChooseFolder(chosen, prompt, folder) != 1) return;
  R::kFolder.set(r, chosen);
  ShowFolderPath(mFolder, chosen);
}

void CCustomScanDialogBox::CheckOutputFolder() {
  RecordBytes r = Working();
  if (!SpecResolves(R::kFolder.get(r))) {
    FSSpec fallback{};
    CWXUtility::Get_Default_Dir(&fallback);
    R::kFolder.set(r, fallback);
  }
  ShowFolderPath(mFolder, R::kFolder.get(r));
}

// ---- The target application --------------------------------------------------------------

void CCustomScanDialogBox::SetTargetApp(const FSSpec& app) {
  R::kTargetApp.set(Working(), app);
  ShowTargetApp();
}

void CCustomScanDialogBox::ShowTargetApp() {
  const FSSpec app = TargetApp();
  Str255 name;
  if (app.name[0] == 0) {
    GetIndString(name, mKind.idBase, kNoAppItem);
  } else {
    CWXUtility::ApplicationName(app, name);
  }
  mAppName->SetDescriptor(name);
  mAppIcon->SetIconRef(app.name[0] != 0 ? CWXUtility::GetIconFromFile(app) : nullptr);
  mAppIcon->Refresh();
}

void CCustomScanDialogBox::ForgetVanishedTargetApp() {
  if (TargetApp().name[0] == 0 || SpecResolves(TargetApp())) return;
  SetTargetApp(FSSpec{});
}

void CCustomScanDialogBox::UpdateMainWindowButton() {
  if (!mButton) return;
  const FSSpec app = TargetApp();
  mButton->SetIconRef(app.name[0] != 0 ? CWXUtility::GetIconFromFile(app) : nullptr);
  mButton->Refresh();
}

void CCustomScanDialogBox::SetMainWindowButton(CAppButton* button) {
  mButton = button;
  if (TargetApp().name[0] == 0 || SpecResolves(TargetApp())) return;
  SetTargetApp(FSSpec{});
  UpdateMainWindowButton();
  StoreName();
  mCommitted = mWorking;
  Save_Setting();
}

void CCustomScanDialogBox::StoreName() {
  Str255 name;
  mName->GetDescriptor(name);
  R::kDefaultFileName.set(Working(), name);
}

void CCustomScanDialogBox::AdjustMouseSelf(Point, const EventRecord&, RgnHandle) { mDrop->AdjustCursor(); }

// ---- Messages ----------------------------------------------------------------------------

void CCustomScanDialogBox::ShowAgain(ScanSettingPopups::Step step) {
  switch (step) {
    case ScanSettingPopups::kShowFileType: SetFileType_Popup(); break;
    case ScanSettingPopups::kShowAdobeRGB: SetAdobeRGBCheckBox(); break;
    case ScanSettingPopups::kShowDriverWindow: SetUIonBox(); break;
    case ScanSettingPopups::kClearStitchCorrections: ClearCorrections(); break;
    default: break;
  }
}

void CCustomScanDialogBox::ListenToMessage(MessageT message, void* param) {
  const bool valued = message != msg_ScanEnded && message != msg_OK && message != msg_Cancel && message != 'DiET';
  const long value = (valued && param) ? *static_cast<SInt32*>(param) : 0;
  if (HandleHistoryMessage(this, message, value, mHistory, mName, Working(), R::kHistory, mHistoryMatch)) return;
  if (mPopups.Choose(message, value, this, kReshows, [this](ScanSettingPopups::Step step) { ShowAgain(step); })) return;
  switch (message) {
    case msg_OK: OnStart(); break;
    case msg_Cancel: OnClose(); break;
    case msg_ScanEnded: OnScanEnded(static_cast<CThreadChecker*>(param)); break;
    case 'StCl': OnStitchClosed(); break;
    case 'DYIN': R::kCheckDYIN.set(Working(), UInt8(value)); break;
    case 'EZFN':
      R::kCheckEZFN.set(Working(), UInt8(value));
      R::kFlag3437.set(Working(), UInt8(value));
      break;
    case 'SPRE': OnPreview(value); break;
    case 'PDFS': OnFormatOptions(); break;
    case 'SCT1': SetSelect1Button(); break;
    case 'SCT2': OnChooseApp(); break;
    case 'DiET':
      if (param) SetTargetApp(*static_cast<const FSSpec*>(param));
      break;
    case 'LKDL': OnForgetApp(); break;
    case 'APLY': OnApply(); break;
    case 'DFLT': OnDefaults(); break;
    default: break;
  }
}

void CCustomScanDialogBox::DropPendingPages() {
  DeletePages(mPendingPages, mPendingExif);
  mWorking = mCommitted;
}

void CCustomScanDialogBox::OnPreview(long value) {
  CWXUtility::StStopListening quiet(this);
  if (!PagesPending()) {
    R::kCheckFIRE.set(Working(), UInt8(value));
    SetFileType_Popup();
    return;
  }
  if (!Ask(this, kItemDropPendingPages)) {
    mPreview->SetValue(1);
    return;
  }
  DropPendingPages();
  R::kCheckFIRE.set(Working(), 0);
  // The committed record may differ from what the controls showed.
  Prefs_Set(0);
  mPreview->SetValue(0);
  mName->Enable();
  mDayFolder->Enable();
  mFolder->Enable();
  FindPaneByID('SCT1')->Enable();
}

void CCustomScanDialogBox::OnFormatOptions() {
  CWXUtility::StStopListening quiet(this);
  RecordBytes r = Working();
  const UInt8 driverWindow = R::kCheckUION.get(r);
  const UInt8 stitch = IsStitch() ? 1 : 0;
  if (FileType() == kTypeJPEG) {
    StJPEGDialog options;
    R::kJPEG.in(r).getBytes(0, options.bytes.data(), StJPEGDialog::kSize);
    CWXUtility::JPEGSetting(310, this, options, 1, 0, driverWindow, stitch);
    std::memcpy(R::kJPEG.in(r).data(), options.bytes.data(), StJPEGDialog::kSize);
    R::kSetting3440.set(r, StJPEGDialog::kOptionPRB.get(options.view()));
    return;
  }
  const PrefSub<StOtherDialog>& field = FileType() == kTypePICT ? R::kPICT : R::kTIFF;
  StOtherDialog options;
  field.in(r).getBytes(0, options.bytes.data(), StOtherDialog::kSize);
  CWXUtility::OtherSetting(320, this, options, 1, 0, driverWindow, stitch);
  std::memcpy(field.in(r).data(), options.bytes.data(), StOtherDialog::kSize);
  R::kSetting3440.set(r, StOtherDialog::kOptionPRB.get(options.view()));
}

void CCustomScanDialogBox::OnChooseApp() {
  FSSpec chosen{};
  Str255 prompt;
  GetDescriptor(prompt);
  if (CWXUtility::ChooseApplication(chosen, prompt) == 1) SetTargetApp(chosen);
}

void CCustomScanDialogBox::OnForgetApp() {
  if (TargetApp().name[0] == 0) return;
  if (Ask(this, kItemForgetApp)) SetTargetApp(FSSpec{});
}

void CCustomScanDialogBox::OnApply() {
  Str255 name;
  mName->GetDescriptor(name);
  if (!FileNameAccepted(this, name)) return;
  ForgetVanishedTargetApp();
  RecordBytes r = Working();
  StoreName();
  CWXUtility::CheckHistFileName(name, r, R::kHistory);
  mCommitted = mWorking;
  Save_Setting();
  UpdateMainWindowButton();
  Str255 caption;
  R::kButtonName.get(r, caption);
  if (CAppearanceApp::sMainWindow) (CAppearanceApp::sMainWindow->*mKind.setButtonName)(caption);
}

void CCustomScanDialogBox::OnDefaults() {
  CWXUtility::StStopListening quiet(this);
  bool reset = true;
  if (PagesPending()) {
    reset = Ask(this, kItemDropPendingPages);
    if (reset) DropPendingPages();
  }
  if (reset) {
    Prefs_Set(1);
    Prefs_Set(0);
    Str255 name;
    R::kDefaultFileName.get(Working(), name);
    mName->SetDescriptor(name);
    ShowTargetApp();
    CheckOutputFolder();
  }
  Str255 name;
  GetIndString(name, mKind.idBase, kDefaultNameItem);
  RecordBytes r = Working();
  R::kHistory.setEntry(r, 0, name);
  R::kHistory.setCount(r, 1);
}

void CCustomScanDialogBox::OnClose() {
  if (PagesPending()) {
    if (Ask(this, kItemPendingOnClose)) {
      PreviewRun(nullptr, nullptr);
      return;
    }
    if (!Ask(this, kItemDropPendingPages)) return;
    DeletePages(mPendingPages, mPendingExif);
  }
  mWorking = mCommitted;
  DoClose();
}

void CCustomScanDialogBox::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark,
                                             UInt16& outMark, Str255 outName) {
  if (!DecideCommandWhileScanning(command, mBusy, outEnabled))
    LDialogBox::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
}

// ---- The run -----------------------------------------------------------------------------

void CCustomScanDialogBox::OnStart() {
  RecordBytes r = Working();
  if (R::kCheckUION.get(r) == 0 && !DiskSpaceSuffices()) return;
  Str255 name;
  mName->GetDescriptor(name);
  if (mAutoStart == 1 && R::kFlag3437.get(r) == 1 && AskForName(this, r, R::kHistory, name) == 1) {
    CWXUtility::StStopListening quiet(this);
    mName->SetDescriptor(name);
  }
  if (!FileNameAccepted(this, name)) {
    SwitchTarget(mName);
    return;
  }
  ForgetVanishedTargetApp();
  StoreName();
  mCommitted = mWorking;
  Save_Setting();
  UpdateMainWindowButton();
  if (TargetApp().name[0] == 0) {
    Alert(this, kItemNoApp);
    FSSpec chosen{};
    Str255 prompt;
    GetDescriptor(prompt);
    if (CWXUtility::ChooseApplication(chosen, prompt) != 1) return;
    SetTargetApp(chosen);
    UpdateMainWindowButton();
  }
  StoreName();
  CWXUtility::CheckHistFileName(name, r, R::kHistory);
  Str255 caption;
  R::kButtonName.get(r, caption);
  if (CAppearanceApp::sMainWindow) (CAppearanceApp::sMainWindow->*mKind.setButtonName)(caption);
  mCommitted = mWorking;
  Save_Setting();
  const FSSpec folder = R::kFolder.get(r);
  if (CWXUtility::check_permission(&folder, R::kCheckDYIN.get(r)) == 0) {
    Alert(this, kItemNoPermission);
    return;
  }
  if (IsStitch())
    StartStitch();
  else
    StartScan();
}

bool CCustomScanDialogBox::DiskSpaceSuffices() {
  RecordBytes r = Working();
  const UInt16 product = CMainWindow::ProductOf(PrefAll());
  sAlertOwner = this;
  const bool destination = CWXUtility::CheckHDSpace(R::kFolder.get(r), mSize->GetValue(), Code(), Source(),
                                                    Resolution_Value(), CustomSize(r), product, IsStitch(),
                                                    &ShowDiskAlert) != 0;
  sAlertOwner = nullptr;
  if (!destination) return false;
  // A temporary base folder removed meanwhile is made again at its default place.
  if (!FunctionDialogParts::TempFolderReady(PrefAll(), this)) return false;
  sAlertOwner = this;
  const bool temporary = CWXUtility::CheckHDSpace(CWXUtility::TempFolderSpec(), mSize->GetValue(), Code(), Source(),
                                                  Resolution_Value(), CustomSize(r), product, IsStitch(),
                                                  &ShowDiskAlert) != 0;
  sAlertOwner = nullptr;
  return temporary;
}

void CCustomScanDialogBox::SetRunning(UInt8 running) {
  mBusy = running;
  CWXUtility::sIsQuellaneOpened = running;
  if (running) SwitchTarget(this);
  LCommander::SetUpdateCommandStatus(true);
}

void CCustomScanDialogBox::StartScan() {
  RecordBytes setting = PREF_ALL::kSetting.in(PrefAll());
  RecordBytes r = Working();
  const UInt8 isTWAIN = PREF_SETTING::kTWAIN.get(setting);
  Str255 model;
  PREF_SETTING::kModelName.get(setting, model);
  const long mode = mPopups.CodeForScan();
  // Read before the scan disables the dialog, and the box with it.
  const bool adobeRGB = R::kCheckSVAD.get(r) == 1 && mAdobeRGB->IsEnabled();
  CoverForScan(this);
  SetRunning(1);
  const FSSpec app = TargetApp();
  const SInt32 system = SystemVersion();
  if (system >= kFirstLaunchingSystem && system <= kLastLaunchingSystem && SpecResolves(app)) {
    try {
      CWXUtility::LaunchWithFSSpec(app);
    } catch (const LException&) {
      // The files are still written; handing them on later tries again.
    }
    UProcess::SetFront(UProcess::GetMyPSN());
    Activate();
  }
  Scanner* scanner = nullptr;
  CTWAIN* twain = nullptr;
  CThreadChecker* checker = nullptr;
  const FSSpec temp = CWXUtility::TempFolderSpec();
  if (isTWAIN) {
    twain = new CTWAIN;
    twain->SetTempFolder(temp);
    // Adobe RGB pages are converted here, so the source must not match them first.
    if (adobeRGB && AdobeRGBPages::ProfileInstalled()) twain->EnableColorMatching(0);
    checker = new CThreadChecker(this, twain);
  } else {
    scanner = new Scanner;
    scanner->SetTempFolder(temp);
    checker = new CThreadChecker(this, scanner);
  }
  const long started = CWXUtility::ImportFromDevice(
      mKind.caller, isTWAIN, checker, model, CustomSize(r), FileTypeCode(FileType()), Source(), mode,
      R::kCheckUION.get(r), mSize->GetValue(), Resolution_Value(), this, 0, UInt8(R::kSetting3440.get(r) & 0xFF));
  if (started == 0) {
    // No end message follows a scan that did not start, on either road.
    SetRunning(0);
    delete checker;
    delete scanner;
    delete twain;
    UncoverAfterScan(this);
  }
  if (mKind.clearsLastButton) PREF_ALL::kLastButton.set(PrefAll(), 0);
}

void CCustomScanDialogBox::StartStitch() {
  RecordBytes setting = PREF_ALL::kSetting.in(PrefAll());
  RecordBytes r = Working();
  Str255 model;
  PREF_SETTING::kModelName.get(setting, model);
  const SInt32 fault = CWXUtility::SourceOpenFault(model);
  Refresh();
  if (fault != 0) {
    Alert(this, fault);
    return;
  }
  if (IsVisible()) Hide();
  const long mode = mPopups.CodeForScan();
  FormatOptions options(r);
  // The wizard may report that it closed before it returns.
  mStartingStitch = true;
  CStitchDialog* wizard = CStitchDialog::ShowStitchDialog(
      mKind.caller, PREF_SETTING::kTWAIN.get(setting), model, CustomSize(r), Source(), mode, R::kCheckUION.get(r),
      mSize->GetValue(), Resolution_Value(), this, 0, UInt8(R::kSetting3440.get(r) & 0xFF), mKind.finishing, this,
      R::kCheckSVAD.get(r), 0, R::kFolder.get(r), CWXUtility::TempFolderSpec(), nullptr, &options.jpeg, &options.pict,
      &options.tiff, R::kCheckFIRE.get(r), 0, FileTypeCode(FileType()), nullptr);
  mStartingStitch = false;
  mStitchDialog = wizard;
  if (mCloseWhenStarted) DoClose();
}

void CCustomScanDialogBox::OnScanEnded(CThreadChecker* checker) {
  if (!checker) return;
  SetRunning(0);
  UncoverAfterScan(this);
  CTWAIN* twain = checker->GetTWAIN();
  RecordBytes r = Working();
  UInt8 adobeRGB = 0;
  if (twain && !IsStitch()) {
    if (R::kCheckUION.get(r) == 1 && twain->GetResult() == kTransferCancelledInDriverWindow) {
      SetRunning(1);
      twain->Scan_Continue();
      checker->StartRepeating();
      return;
    }
    if (FileType() == kTypePICT && R::kCheckUION.get(r) == 1) {
      CTWAIN* connection = twain;
      if (CWXUtility::CheckImageWidthOver(connection, this) == 1) {
        delete checker;
        return;
      }
    }
    if (twain->GetResult() == kTransferFailed) ShowTransferRefusals(this, *twain, R::kCheckUION.get(r) == 1);
    // A box the setting disabled keeps its stored tick, which must not convert.
    if (R::kCheckSVAD.get(r) == 1 && mAdobeRGB->IsEnabled()) adobeRGB = AdobeRGBPages::Convert(*twain);
  }
  mRunAdobeRGB = adobeRGB;
  if (R::kCheckFIRE.get(r) == 1) {
    PreviewRun(checker, twain);
    return;
  }
  StoreName();
  FormatOptions options(r);
  Str255 name;
  R::kDefaultFileName.get(r, name);
  TArray<FSSpec>* written = CWXUtility::ExportToFile(
      PREF_SETTING::kTWAIN.get(PREF_ALL::kSetting.in(PrefAll())), checker, FileTypeCode(FileType()), name,
      R::kFolder.get(r), R::kCheckDYIN.get(r), options.pdf, options.jpeg, options.pict, options.tiff,
      IsStitch() ? 1 : 0, kCreator, DefaultNameChosen(), 0, mRunAdobeRGB);
  const short result = twain ? twain->GetResult() : 0;
  DeleteRunObjects(checker);
  mStitchDialog = nullptr;
  Refresh();
  const bool handedOn = HandOn(written);
  delete written;
  if (IsVisible()) Activate();
  EndRun(handedOn, result != kTransferCancelledInDriverWindow);
}

bool CCustomScanDialogBox::HandOn(const TArray<FSSpec>* written) {
  const FSSpec app = TargetApp();
  // An application removed since the start gets nothing; the files stay where they are.
  if (!written || written->GetCount() == 0 || !SpecResolves(app)) return false;
  try {
    const ProcessSerialNumber process = CWXUtility::LaunchWithFSSpec(app);
    if (process.highLongOfPSN == 0 && process.lowLongOfPSN == 0) return false;
    CWXUtility::SendOpenDocListWithPSN(process, *written);
    return true;
  } catch (const LException&) {
    return false;
  }
}

UInt8 CCustomScanDialogBox::DefaultNameChosen() {
  Str255 name, defaultName;
  mName->GetDescriptor(name);
  GetIndString(defaultName, mKind.idBase, kDefaultNameItem);
  return SameText(name, defaultName) ? 1 : 0;
}

void CCustomScanDialogBox::PreviewRun(CThreadChecker* checker, CTWAIN* twain) {
  RecordBytes r = Working();
  if (twain) twain->DisableDS();
  StoreName();
  FormatOptions options(r);
  FSSpec folder = R::kFolder.get(r);
  unsigned char dayFolder = R::kCheckDYIN.get(r);
  long fileType = long(R::kFileType.get(r));
  Str255 name;
  R::kDefaultFileName.get(r, name);
  TArray<FSSpec>* written = nullptr;
  const MessageT answer = CPreviewDialog::ShowPreviewDialog(
      PREF_SETTING::kTWAIN.get(PREF_ALL::kSetting.in(PrefAll())), checker, &mPendingPages, &mPendingExif, this,
      folder, dayFolder, name, &options.pdf, &options.jpeg, &options.pict, &options.tiff, fileType, mKind.caller,
      kCreator, &written, 0, mRunAdobeRGB, nullptr, nullptr, nullptr, IsStitch() ? 1 : 0, 0, 1);
  R::kFolder.set(r, folder);
  R::kCheckDYIN.set(r, dayFolder);
  R::kFileType.set(r, std::clamp<UInt32>(UInt32(fileType), kTypePICT, kTypeTIFF));
  options.StoreInto(r);
  SetAdobeRGBCheckBox();
  ReloadDefaultExif(PrefAll());
  {
    CWXUtility::StStopListening quiet(this);
    mDayFolder->SetValue(dayFolder);
    mFileType->SetValue(SInt32(R::kFileType.get(r)));
    ShowFolderPath(mFolder, folder);
  }
  const short result = twain ? twain->GetResult() : 0;
  if (checker) {
    DeleteRunObjects(checker);
    Refresh();
    mStitchDialog = nullptr;
  }
  const bool handedOn = answer == 'SEND' && HandOn(written);
  delete written;
  if (IsVisible()) Activate();
  if (!checker) {
    if (handedOn) DoClose();
    return;
  }
  if (answer == 'RTUN' && mAutoStart) {
    // Scanned, unsaved pages stay pending with the dialog open.
    mAutoStart = 0;
    return;
  }
  EndRun(handedOn, result != kTransferCancelledInDriverWindow && answer != msg_Cancel);
}

void CCustomScanDialogBox::EndRun(bool handedOn, bool mayQuit) {
  if (mAutoStart == 0) {
    if (handedOn) DoClose();
    return;
  }
  mAutoStart = 0;
  if (mayQuit && PREF_SETTING::kQuitOption.get(PREF_ALL::kSetting.in(PrefAll())) == 1) {
    ProcessCommand(kCommandQuit);
    return;
  }
  DoClose();
}

void CCustomScanDialogBox::OnStitchClosed() {
  // The wizard closes itself once it has handed over or given up; the dialog only forgets it.
  mStitchDialog = nullptr;
  if (!IsVisible()) Show();
  if (mAutoStart == 0) return;
  mAutoStart = 0;
  if (mStartingStitch)
    mCloseWhenStarted = true;
  else
    DoClose();
}
