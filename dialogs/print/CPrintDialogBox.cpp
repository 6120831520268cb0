#include "dialogs/print/CPrintDialogBox.h"

#include <cstring>

#include "app/CAppearanceApp.h"
#include "app/CMainWindow.h"
#include "app/FunctionDialogRun.h"
#include "prefs/LanguageTables.h"
#include "prefs/WXDefaultDir.h"
#include "dialogs/print/CopyScanOutcome.h"
#include "dialogs/print/PrintLayoutEntry.h"
#include "dialogs/print/PrintScanEnd.h"
#include "framework/LControl.h"
#include "framework/LPopupButton.h"
#include "framework/UPrinting.h"
#include "framework/UReanimator.h"
#include "output/hub/WXChecks.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hub/WXFolders.h"
#include "output/hubdialogs/CWXUtility.h"
#include "output/hubdialogs/WXScan.h"
#include "output/hubdialogs/WXSizeDialog.h"
#include "preview/CStitchDialog.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/TextUtils.h"
#include "windows/Menus.h"

namespace {

constexpr ResIDT kLayout = 9000;
constexpr ResIDT kLayoutDialog = 1100;
constexpr SInt32 kSizeDialog = 200;
constexpr SInt16 kAlertLayout = 400;
constexpr SInt16 kAlertList = 400;
enum : SInt32 { kItemFailed = 3 };
enum : ResIDT {
  kSourceMenu = 9000,
  kPlatenModeMenu = 9001,
  kOtherFilmModeMenu = 9012,
  kPlatenResolutionMenu = 9004,
  kPlatenSizeMenu = 9007,
};
enum : CommandT { kCommandAbout = 1, kCommandQuit = 10, kCommandSynthetic = -8388608 };
constexpr long kCallerPrint = 2;
constexpr long kStitchFunction = 2;

int32_t MenuItemCount(int16_t menuID) {
  MenuRef menu = GetMenu(menuID);
  return menu ? CountMenuItems(menu) : 0;
}

// The dialog that shows the disk check's alert.
LCommander* sAlertOwner = nullptr;
void ShowDiskAlert(long item) { CWXUtility::Show_Error(kAlertLayout, sAlertOwner, kAlertList, item, 0, 1, nullptr, 0); }

void ShowPopup(LPopupButton* popup, const RulePopup& rule) {
  if (rule.menuID != 0 && popup->GetMenuID() != rule.menuID) popup->SetMenuID(rule.menuID);
  // A menu cut short (no film adapter) loses its last items.
  while (rule.items > 0 && popup->CountMenuItems() > rule.items) popup->DeleteMenuItem(popup->CountMenuItems());
  for (SInt16 item = 1; item <= popup->CountMenuItems(); ++item) {
    if (rule.ItemEnabled(item))
      popup->EnableItem(item);
    else
      popup->DisableItem(item);
  }
  popup->SetValue(rule.value);
  EnableIf(popup, rule.enabled);
}

// Print-job values stored as 0 reach the layout as 1.
void AtLeastOne(RecordBytes print, const PrefU32& field) {
  if (field.get(print) == 0) field.set(print, 1);
}

}  // namespace

CPrintDialogBox::CPrintDialogBox(LStream* stream) : LDialogBox(stream), CPreferences(PREFS_FILE_NAME, 0) {}

CPrintDialogBox::~CPrintDialogBox() {
  Save_Setting();
  if (CAppearanceApp::sApplication) CAppearanceApp::sApplication->mFunctionDialogOpen = 0;
}

void CPrintDialogBox::FinishCreateSelf() {
  LDialogBox::FinishCreateSelf();
  mMode = CWXUtility::FindPaneAs<LPopupButton>(this, 'MODE');
  mImage = CWXUtility::FindPaneAs<LPopupButton>(this, 'IMAG');
  mResolution = CWXUtility::FindPaneAs<LPopupButton>(this, 'RESL');
  mSize = CWXUtility::FindPaneAs<LPopupButton>(this, 'SIZE');
  mDriverWindow = CWXUtility::FindPaneAs<LControl>(this, 'UION');
  mBrightness = CWXUtility::FindPaneAs<LControl>(this, 'BLIT');
  mBrightnessText = CWXUtility::FindPaneAs<LPane>(this, 'BLTX');
  mMode->SetMenuID(kSourceMenu);
  mImage->SetMenuID(kPlatenModeMenu);
  mResolution->SetMenuID(kPlatenResolutionMenu);
  mSize->SetMenuID(kPlatenSizeMenu);
  UReanimator::LinkListenerToControls(this, this, kLayout);
  Load_Setting();
  mReference = mWorking;
  mScanning = 0;
  CWXUtility::sIsQuellaneOpened = 0;
  mAutoStart = 0;
}

// ---- Record and controls -----------------------------------------------------------------

ScanRuleParams CPrintDialogBox::Params() {
  RecordBytes setting = PREF_ALL::kSetting.in(PrefAll());
  ScanRuleParams p;
  p.kind = ScanDialogKind::Print;
  p.menuBase = kSourceMenu;
  p.filmImageMenu1120 = kOtherFilmModeMenu;
  p.customSizeOffset = PREF_PRINT::kCustomSize.off;
  p.brightnessOffset = PREF_PRINT::kBrightness.off;
  p.uionOffset = PREF_PRINT::kCheckUION.off;
  p.productID = CMainWindow::ProductOf(PrefAll());
  p.filmAdapter = PREF_SETTING::kFilmAdapter.get(setting) != 0;
  p.stitchItems[0] = IS_J ? Paper_Size_B4_Stitch : Paper_Size_11X17_Stitch;
  p.stitchItems[1] = Paper_Size_A3_Stitch;
  p.stitchItems[2] = Paper_Size_432X297_Stitch;
  p.customSizeItem = Paper_Size_custom;
  p.menuItems = &MenuItemCount;
  p.japanese = IS_J;
  return p;
}

long CPrintDialogBox::Source() const { return mMode->GetValue(); }

void CPrintDialogBox::Load_Setting() {
  PREF_ALL::kPrint.in(PrefAll()).getBytes(0, mWorking.bytes.data(), PREF_PRINT::kSize);
  Prefs_Set(0);
  Prefs_Set(0);
}

void CPrintDialogBox::Save_Setting() {
  std::memcpy(PREF_ALL::kPrint.in(PrefAll()).data(), mWorking.bytes.data(), PREF_PRINT::kSize);
}

void CPrintDialogBox::Prefs_Set(unsigned char inDefaults) {
  RecordBytes r = Working();
  if (inDefaults == 1) {
    const UInt32 tag = PREF_PRINT::kTag.get(r);
    RecordBytes defaults = Set_Default_Print();
    std::memcpy(mWorking.bytes.data(), defaults.data(), PREF_PRINT::kSize);
    PREF_PRINT::kTag.set(r, tag);
  }
  CWXUtility::StStopListening quiet(this);
  SetAllControls(mRules, Params());
  ShowControls();
}

void CPrintDialogBox::ShowControls() {
  const ScanControls& c = mRules.controls;
  ShowPopup(mMode, c.mode);
  ShowPopup(mImage, c.imag);
  ShowPopup(mResolution, c.resl);
  ShowPopup(mSize, c.size);
  ShowCustomSize();
  mBrightness->SetValue(c.brightness);
  EnableIf(mBrightness, c.brightnessEnabled);
  Str255 level;
  NumToString(c.brightness, level);
  mBrightnessText->SetDescriptor(level);
  mDriverWindow->SetValue(PREF_PRINT::kCheckUION.get(Working()));
  mDriverWindow->Enable();
}

void CPrintDialogBox::ShowCustomSize() {
  if (mSize->GetMenuID() != kPlatenSizeMenu || Paper_Size_custom > mSize->CountMenuItems()) return;
  RecordBytes r = Working();
  StDescriptDialog size;
  size.width = PREF_PRINT::kCustomSize.width(r);
  size.height = PREF_PRINT::kCustomSize.height(r);
  size.unit = SInt32(PREF_PRINT::kCustomSize.unit(r));
  Str255 text;
  CWXUtility::ManuscriptPrefToString(size, text);
  mSize->SetMenuItemText(SInt16(Paper_Size_custom), text);
}

long CPrintDialogBox::GetResolutionValue() { return ResolutionValue(mRules); }
long CPrintDialogBox::GetImageMode(long inItem) { return ::GetImageMode(int32_t(Source()), int32_t(inItem)); }
bool CPrintDialogBox::IsStitch() { return ::IsStitch(mRules, Params()); }
bool CPrintDialogBox::IsStitch_Disregard_UICheckBox() { return IsStitchDisregardUI(mRules, Params()); }

// ---- Messages ----------------------------------------------------------------------------

void CPrintDialogBox::ListenToMessage(MessageT message, void* param) {
  for (PaneIDT id : {PaneIDT('DFLT'), PaneIDT('APLY'), PaneIDT('CNCL'), PaneIDT('OKBT')}) CWXUtility::FindPaneAs<LPane>(this, id);
  mRules.controls.mode.value = SInt32(Source());
  const bool valued = message != msg_ScanEnded && message != msg_OK && message != msg_Cancel;
  const long value = (valued && param) ? *static_cast<SInt32*>(param) : 0;
  switch (message) {
    case msg_OK: OnStart(); break;
    case msg_Cancel: OnCancel(); break;
    case msg_ScanEnded: OnScanEnded(static_cast<CThreadChecker*>(param)); break;
    case CStitchDialog::msg_StitchClosed: OnStitchClosed(); break;
    case 'APLY': OnApply(); break;
    case 'DFLT': OnDefaults(); break;
    case 'MODE': OnMode(value); break;
    case 'IMAG': OnImageMode(value); break;
    case 'RESL': OnResolution(value); break;
    case 'SIZE': OnSize(value); break;
    case 'BLIT': OnBrightness(value); break;
    case 'UION': OnDriverWindow(value); break;
    default: break;
  }
}

void CPrintDialogBox::OnMode(long item) {
  CWXUtility::StStopListening quiet(this);
  OnModeChanged(mRules, Params(), int32_t(item));
  ShowControls();
}

void CPrintDialogBox::OnImageMode(long item) {
  CWXUtility::StStopListening quiet(this);
  OnImageModeChanged(mRules, Params(), int32_t(item));
  ShowControls();
}

void CPrintDialogBox::OnResolution(long item) {
  CWXUtility::StStopListening quiet(this);
  OnResolutionChanged(mRules, Params(), int32_t(item));
  ShowControls();
}

void CPrintDialogBox::OnSize(long item) {
  CWXUtility::StStopListening quiet(this);
  OnSizeChanged(mRules, Params(), int32_t(item), [this] {
    CWXUtility::EditStoredManuscriptSize(kSizeDialog, this, Working(), PREF_PRINT::kCustomSize);
  });
  ShowControls();
}

void CPrintDialogBox::OnBrightness(long level) {
  CWXUtility::StStopListening quiet(this);
  OnBrightnessChanged(mRules, Params(), int32_t(level));
  ShowControls();
}

void CPrintDialogBox::OnDriverWindow(long value) {
  CWXUtility::StStopListening quiet(this);
  OnUIChanged(mRules, Params(), int32_t(value));
  ShowControls();
}

void CPrintDialogBox::OnApply() {
  mReference = mWorking;
  Save_Setting();
}

void CPrintDialogBox::OnDefaults() {
  Prefs_Set(1);
  Prefs_Set(0);
}

void CPrintDialogBox::OnCancel() {
  mWorking = mReference;
  DoClose();
}

void CPrintDialogBox::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                        Str255 outName) {
  if (CWXUtility::sIsQuellaneOpened == 1) {
    outEnabled = false;
    return;
  }
  if (command == kCommandAbout || command == kCommandQuit || command == kCommandSynthetic) {
    outEnabled = mScanning == 0;
    return;
  }
  LDialogBox::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
}

// ---- The run -----------------------------------------------------------------------------

void CPrintDialogBox::OnStart() {
  // The driver's window leaves the dialog enabled while it scans.
  if (mScanning == 1) return;
  {
    CWXUtility::StStopListening quiet(this);
    mReference = mWorking;
    Save_Setting();
  }
  if (PREF_PRINT::kCheckUION.get(Working()) == 0) {
    if (!TempFolderReady()) {
      CWXUtility::Show_Error(kAlertLayout, this, kAlertList, kItemFailed, 0, 1, nullptr, 0);
      return;
    }
    if (!DiskSpaceSuffices()) return;
  }
  if (IsStitch())
    StartStitch();
  else
    StartScan();
}

// A temporary base folder that went missing is made again, with the working folder in it;
// a start that can make neither scans nothing.
bool CPrintDialogBox::TempFolderReady() {
  RecordBytes setting = PREF_ALL::kSetting.in(PrefAll());
  FSSpec base = PREF_SETTING::kTempBase.get(setting);
  SInt32 dirID = 0;
  Boolean isDirectory = false;
  if (FSpGetDirectoryID(&base, &dirID, &isDirectory) != fnfErr) return true;
  FSSpec work = PREF_SETTING::kTempFolder.get(setting);
  if (CWXUtility::Get_Default_TempDir(&work, &base) == 0 || CWXUtility::Create_Default_TempDir(base, &work) == 0)
    return false;
  PREF_SETTING::kTempFolder.set(setting, work);
  PREF_SETTING::kTempBase.set(setting, base);
  return true;
}

bool CPrintDialogBox::DiskSpaceSuffices() {
  RecordBytes r = Working();
  const SDimension16 custom = CWXUtility::StoredScanSize(r, PREF_PRINT::kCustomSize);
  sAlertOwner = this;
  const bool enough = CWXUtility::CheckHDSpace(PREF_SETTING::kTempFolder.get(PREF_ALL::kSetting.in(PrefAll())),
                                               mSize->GetValue(), GetImageMode(mImage->GetValue()), Source(),
                                               GetResolutionValue(), custom, CMainWindow::ProductOf(PrefAll()),
                                               IsStitch(), &ShowDiskAlert) != 0;
  sAlertOwner = nullptr;
  return enough;
}

void CPrintDialogBox::StartScan() {
  RecordBytes setting = PREF_ALL::kSetting.in(PrefAll());
  RecordBytes r = Working();
  const UInt8 isTWAIN = PREF_SETTING::kTWAIN.get(setting);
  Str255 model;
  PREF_SETTING::kModelName.get(setting, model);
  const long mode = ScanImageModeCode(int32_t(GetImageMode(mImage->GetValue())), int32_t(Source()),
                                      CMainWindow::ProductOf(PrefAll()));
  const SDimension16 custom = CWXUtility::StoredScanSize(r, PREF_PRINT::kCustomSize);
  CoverForScan(this);
  SetScanRunning(this, mScanning, 1);
  Scanner* scanner = nullptr;
  CTWAIN* twain = nullptr;
  CThreadChecker* checker = nullptr;
  const FSSpec temp = CWXUtility::TempFolderSpec();
  if (isTWAIN) {
    twain = new CTWAIN;
    twain->SetTempFolder(temp);
    checker = new CThreadChecker(this, twain);
  } else {
    scanner = new Scanner;
    scanner->SetTempFolder(temp);
    checker = new CThreadChecker(this, scanner);
  }
  const long started = CWXUtility::ImportFromDevice(
      kCallerPrint, isTWAIN, checker, model, custom, 0, Source(), mode, PREF_PRINT::kCheckUION.get(r),
      mSize->GetValue(), GetResolutionValue(), this, long(PREF_PRINT::kBrightness.get(r)),
      UInt8(PREF_PRINT::kJob308.get(r) & 0xFF));
  if (started != 0) return;
  // No end message follows a scan that did not start.
  SetScanRunning(this, mScanning, 0);
  delete checker;
  delete scanner;
  delete twain;
  UncoverAfterScan(this);
}

void CPrintDialogBox::StartStitch() {
  RecordBytes setting = PREF_ALL::kSetting.in(PrefAll());
  RecordBytes r = Working();
  Str255 model;
  PREF_SETTING::kModelName.get(setting, model);
  const SInt32 fault = CWXUtility::SourceOpenFault(model);
  Refresh();
  if (fault != 0) {
    CWXUtility::Show_Error(kAlertLayout, this, kAlertList, fault, 0, 1, nullptr, 0);
    return;
  }
  if (IsVisible()) Hide();
  const SDimension16 custom = CWXUtility::StoredScanSize(r, PREF_PRINT::kCustomSize);
  const long mode = ScanImageModeCode(int32_t(GetImageMode(mImage->GetValue())), int32_t(Source()),
                                      CMainWindow::ProductOf(PrefAll()));
  // The wizard may report that it closed before it returns.
  mStartingStitch = true;
  CStitchDialog* wizard = CStitchDialog::ShowStitchDialog(
      kStitchFunction, PREF_SETTING::kTWAIN.get(setting), model, custom, Source(), mode,
      PREF_PRINT::kCheckUION.get(r), mSize->GetValue(), GetResolutionValue(), this,
      long(PREF_PRINT::kBrightness.get(r)), 0, 2, this, 0, 0, FSSpec{}, PREF_SETTING::kTempFolder.get(setting), nullptr,
      nullptr, nullptr, nullptr, 0, 0, 0, nullptr);
  mStartingStitch = false;
  mStitchDialog = wizard;
  if (mCloseWhenStarted) DoClose();
}

void CPrintDialogBox::OnScanEnded(CThreadChecker* checker) {
  if (!checker) return;
  SetScanRunning(this, mScanning, 0);
  UncoverAfterScan(this);
  CTWAIN* twain = checker->GetTWAIN();
  // Read before anything deletes the connection.
  const CopyScanOutcome scan = CaptureCopyScan(twain, checker->GetScanner());
  const bool driverWindow = PREF_PRINT::kCheckUION.get(Working()) == 1;
  const PrintScanEnd end =
      PlanPrintScanEnd(scan, driverWindow, twain && twain->GetShowDriverUI() != 0, IsStitch());
  if (end.route == PrintScanRoute::Continue) {
    SetScanRunning(this, mScanning, 1);
    ContinueScanSession(twain, checker);
    return;
  }
  if (twain && !IsStitch()) {
    ShowScanRefusals(twain, end.alerts, [this](short item) {
      CWXUtility::Show_Error(kAlertLayout, this, kAlertList, item, 0, 1, nullptr, 0);
      Refresh();
    });
    CWXUtility::ShowScannerFault(this, *twain);
  }
  if (end.route == PrintScanRoute::Layout)
    LayOut(checker, scan);
  else
    Discard(checker, scan);
}

void CPrintDialogBox::LayOut(CThreadChecker* checker, const CopyScanOutcome& scan) {
  RecordBytes r = Working();
  AtLeastOne(r, PREF_PRINT::kJob312);
  AtLeastOne(r, PREF_PRINT::kJob316);
  AtLeastOne(r, PREF_PRINT::kCopies);
  mStitchDialog = nullptr;
  const MessageT result = PrintLayoutSetting(kLayoutDialog, this, 0, PREF_SETTING::kTWAIN.get(PREF_ALL::kSetting.in(PrefAll())),
                                             checker, &UPrinting::sAppPrintSpec, r);
  RecordBytes reference = Reference();
  std::memcpy(reference.data() + PREF_PRINT::kJob312.off, r.data() + PREF_PRINT::kJob312.off,
              PREF_PRINT::kJobFlag.off + 1 - PREF_PRINT::kJob312.off);
  KeepStoredExif();
  if (result != kLayoutFinished) {
    AfterBack(scan);
    return;
  }
  mWorking = mReference;
  if (mAutoStart == 1 && PREF_SETTING::kQuitOption.get(PREF_ALL::kSetting.in(PrefAll())) == 1) {
    ProcessCommand(kCommandQuit);
    return;
  }
  DoClose();
}

// The layout's preview may have saved a new EXIF default; the dialog's own write at close
// must not put the older one back.
void CPrintDialogBox::KeepStoredExif() {
  CPreferences stored(PREFS_FILE_NAME, 0);
  std::memcpy(PREF_ALL::kExif.in(PrefAll()).data(), PREF_ALL::kExif.in(stored.PrefAll()).data(), EXIF_PREF::kSize);
}

void CPrintDialogBox::Discard(CThreadChecker* checker, const CopyScanOutcome& scan) {
  DeleteScanRun(checker);
  Refresh();
  mStitchDialog = nullptr;
  AfterBack(scan);
}

void CPrintDialogBox::AfterBack(const CopyScanOutcome& scan) {
  if (IsVisible()) Activate();
  if (mAutoStart == 0) return;
  mAutoStart = 0;
  if (scan.twain && scan.result == kScanCancelled) DoClose();
}

// The wizard closes itself once it has handed over or given up; the dialog only forgets it.
void CPrintDialogBox::OnStitchClosed() {
  mStitchDialog = nullptr;
  if (!IsVisible()) Show();
  if (mAutoStart == 0) return;
  mAutoStart = 0;
  if (mStartingStitch)
    mCloseWhenStarted = true;
  else
    DoClose();
}
