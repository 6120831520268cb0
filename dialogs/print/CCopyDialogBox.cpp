#include "CCopyDialogBox.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "app/CAppearanceApp.h"
#include "app/CMainWindow.h"
#include "app/CPopupButton.h"
#include "prefs/LanguageTables.h"
#include "prefs/WXDefaultDir.h"
#include "dialogs/print/CopyPageSize.h"
#include "dialogs/print/CustomScaleDialog.h"
#include "framework/LControl.h"
#include "framework/StPrintSession.h"
#include "framework/UPrinting.h"
#include "framework/UReanimator.h"
#include "output/export/WXExport.h"
#include "output/export/WXPrintScan.h"
#include "output/hub/WXChecks.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hub/WXFolders.h"
#include "output/hubdialogs/WXAlert.h"
#include "output/hubdialogs/WXPanes.h"
#include "output/hubdialogs/WXScan.h"
#include "output/hubdialogs/WXSizeDialog.h"
#include "preview/CStitchDialog.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"
#include "toolbox/Gestalt.h"
#include "toolbox/MacErrors.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"
#include "windows/Menus.h"

LPrintSpec CCopyDialogBox::sPrintSpec;

namespace {

constexpr ResIDT kLayout = 1000;
constexpr SInt16 kAlertLayout = 400, kAlertList = 400, kSizeDialog = 200;
constexpr SInt16 kTextList = 10000, kCustomText = 1, kPercentText = 4;
enum : ResIDT { kSourceMenu = 1000, kGlassModeMenu = 1001, kGlassResolutionMenu = 1004, kGlassSizeMenu = 1007 };
enum : SInt32 {
  kItemPrintFailed = 3,
  kItemNoPrinterOld = 26,
  kItemNoPrinter = 34,
};
enum : CommandT { kCommandAbout = 1, kCommandQuit = 10, kCommandSynthetic = -8388608 };
constexpr long kCallerCopy = 1;
// Systems up to this one hide the scanning dialog and cover the main window.
constexpr SInt32 kLastCoveringSystem = 0x102F;
constexpr unsigned char kBaseName[] = "\x08tempcopy";

SInt32 SystemVersion() {
  SInt32 version = 0;
  Gestalt(gestaltSystemVersion, &version);
  return version;
}

SInt32 MenuItemCount(SInt16 menuID) {
  MenuRef menu = GetMenu(menuID);
  if (!menu) return 0;
  const SInt32 count = CountMenuItems(menu);
  DisposeMenu(menu);
  return count;
}

// The printer's page for the fit to the paper; nothing when no session or page format comes.
std::optional<PageFacts> CopyPageFacts() {
  try {
    StPrintSession session(CCopyDialogBox::sPrintSpec);
    PMResolution resolution{};
    if (PMGetResolution(CCopyDialogBox::sPrintSpec.GetPageFormat(), &resolution) != noErr) return std::nullopt;
    Rect page;
    CCopyDialogBox::sPrintSpec.GetPageRect(page);
    return PageFacts{SInt16(resolution.hRes), double(page.right - page.left), double(page.bottom - page.top)};
  } catch (...) {
    return std::nullopt;
  }
}

// The dialog that shows the disk check's alert.
LCommander* sAlertOwner = nullptr;
void ShowDiskAlert(long item) { CWXUtility::Show_Error(kAlertLayout, sAlertOwner, kAlertList, item, 0, 1, nullptr, 0); }

void AppendText(Str255 text, ConstStr255Param more) {
  const size_t room = 255 - text[0], n = std::min<size_t>(more[0], room);
  std::memcpy(text + 1 + text[0], more + 1, n);
  text[0] = static_cast<unsigned char>(text[0] + n);
}

void RedrawMainWindow() {
  if (CAppearanceApp::sMainWindow) CAppearanceApp::sMainWindow->Refresh();
}

}  // namespace

CCopyDialogBox::CCopyDialogBox(LStream* stream) : LDialogBox(stream), CPreferences(PREFS_FILE_NAME, 0) {}

CCopyDialogBox::~CCopyDialogBox() {
  Save_Setting();
  if (CAppearanceApp::sApplication) CAppearanceApp::sApplication->mFunctionDialogOpen = 0;
  if (mPrinter) PMRelease(mPrinter);
}

void CCopyDialogBox::FinishCreateSelf() {
  LDialogBox::FinishCreateSelf();
  mPageSetup = CWXUtility::FindPaneAs<LControl>(this, 'STYL');
  mPrintOptions = CWXUtility::FindPaneAs<LControl>(this, 'PRNT');
  mMode = CWXUtility::FindPaneAs<CPopupButton>(this, 'MODE');
  mImage = CWXUtility::FindPaneAs<CPopupButton>(this, 'IMAG');
  mResolution = CWXUtility::FindPaneAs<CPopupButton>(this, 'RESL');
  mSize = CWXUtility::FindPaneAs<CPopupButton>(this, 'SIZE');
  mScale = CWXUtility::FindPaneAs<CPopupButton>(this, 'SCAL');
  mDriverWindow = CWXUtility::FindPaneAs<LControl>(this, 'UION');
  mBrightness = CWXUtility::FindPaneAs<LControl>(this, 'BLIT');
  for (PaneIDT id : {PaneIDT('DFLT'), PaneIDT('APLY'), PaneIDT('CNCL'), PaneIDT('OKBT')})
    CWXUtility::FindPaneAs<LPane>(this, id);

  UReanimator::LinkListenerToControls(this, this, kLayout);
  mRules.initialising = true;
  mMode->SetMenuID(kSourceMenu);
  mImage->SetMenuID(kGlassModeMenu);
  mResolution->SetMenuID(kGlassResolutionMenu);
  mSize->SetMenuID(kGlassSizeMenu);
  Load_Setting();
  mCommitted = mWorking;
  try {
    StPrintSession session(sPrintSpec);
    RecordBytes r = Working();
    for (const PrefU32& field : {PREF_COPY::kFirstPage, PREF_COPY::kLastPage, PREF_COPY::kCopies})
      if (field.get(r) == 0) field.set(r, 1);
    sPrintSpec.SetPrintJobParams(PREF_COPY::kFirstPage.get(r), PREF_COPY::kLastPage.get(r), PREF_COPY::kCopies.get(r));
    PMSetCollate(sPrintSpec.GetPrintSettings(), PREF_COPY::kCollate.get(r) != 0);
  } catch (...) {
    // Without a printer the dialog opens all the same; the start reports it.
  }
  mScanning = 0;
  CWXUtility::sIsQuellaneOpened = 0;
  mAutoStart = 0;
  mRules.initialising = false;
}

// ---- Record and controls -----------------------------------------------------------------

RecordBytes CCopyDialogBox::Setting() { return PREF_ALL::kSetting.in(PrefAll()); }

UInt16 CCopyDialogBox::ProductID() { return CMainWindow::ProductOf(PrefAll()); }

ScanRuleParams CCopyDialogBox::RuleParams() {
  ScanRuleParams p;
  p.productID = ProductID();
  p.filmAdapter = PREF_SETTING::kFilmAdapter.get(Setting()) != 0;
  p.stitchItems[0] = IS_J ? Paper_Size_B4_Stitch : Paper_Size_11X17_Stitch;
  p.stitchItems[1] = Paper_Size_A3_Stitch;
  p.stitchItems[2] = Paper_Size_432X297_Stitch;
  p.customSizeItem = Paper_Size_custom;
  p.menuItems = MenuItemCount;
  p.pageFacts = CopyPageFacts;
  p.japanese = IS_J != 0;
  return p;
}

void CCopyDialogBox::Load_Setting() {
  PREF_ALL::kCopy.in(PrefAll()).getBytes(0, mWorking.bytes.data(), PREF_COPY::kSize);
  Prefs_Set(0);
  Prefs_Set(0);
}

void CCopyDialogBox::Save_Setting() {
  std::memcpy(PREF_ALL::kCopy.in(PrefAll()).data(), mWorking.bytes.data(), PREF_COPY::kSize);
}

void CCopyDialogBox::Prefs_Set(unsigned char defaults) {
  RecordBytes r = Working();
  if (defaults) {
    const UInt32 tag = PREF_COPY::kTag.get(r);
    RecordBytes factory = Set_Default_Copy();
    std::memcpy(r.data(), factory.data(), PREF_COPY::kSize);
    PREF_COPY::kTag.set(r, tag);
  }
  CWXUtility::StStopListening quiet(this);
  mDriverWindow->SetValue(PREF_COPY::kCheckUION.get(r));
  SetAllControls(mRules, RuleParams());
  ShowControls();
  SetUIonBox();
  SetPaperSetButton();
  SetPrintSetButton();
}

void CCopyDialogBox::ShowPopup(CPopupButton* popup, const RulePopup& state) {
  if (popup->GetMenuID() != state.menuID || popup->CountMenuItems() < state.items) popup->SetMenuID(state.menuID);
  // The source menu loses its film items without a film adapter.
  while (state.items > 0 && popup->CountMenuItems() > state.items) popup->DeleteMenuItem(popup->CountMenuItems());
  for (SInt16 item = 1; item <= popup->CountMenuItems(); ++item) {
    if (state.ItemEnabled(item))
      popup->EnableItem(item);
    else
      popup->DisableItem(item);
  }
  popup->SetMaxValue(popup->CountMenuItems());
  popup->SetValue(state.value);
  CWXUtility::EnableIf(popup, state.enabled);
}

void CCopyDialogBox::ShowCustomTexts() {
  const ScanControls& c = mRules.controls;
  RecordBytes r = Working();
  const bool glass = c.mode.value == 1 || (c.mode.value == 3 && PREF_COPY::kLastSource.get(r) != 2);
  if (glass && Paper_Size_custom >= 1 && Paper_Size_custom <= mSize->CountMenuItems()) {
    StDescriptDialog size;
    size.width = PREF_COPY::kCustomSize.width(r);
    size.height = PREF_COPY::kCustomSize.height(r);
    size.unit = SInt32(PREF_COPY::kCustomSize.unit(r));
    Str255 text;
    CWXUtility::ManuscriptPrefToString(size, text);
    mSize->SetMenuItemText(SInt16(Paper_Size_custom), text);
  }
  if (glass && Copy_Popup_Custom >= 1 && Copy_Popup_Custom <= mScale->CountMenuItems()) {
    Str255 text, part;
    GetIndString(text, kTextList, kCustomText);
    AppendText(text, reinterpret_cast<ConstStr255Param>("\x02 ("));
    NumToString(long(PREF_COPY::kCustomPercent.get(r)), part);
    AppendText(text, part);
    GetIndString(part, kTextList, kPercentText);
    AppendText(text, part);
    AppendText(text, reinterpret_cast<ConstStr255Param>("\x01)"));
    mScale->SetMenuItemText(SInt16(Copy_Popup_Custom), text);
  }
}

void CCopyDialogBox::ShowControls() {
  CWXUtility::StStopListening quiet(this);
  const ScanControls& c = mRules.controls;
  ShowPopup(mMode, c.mode);
  ShowPopup(mImage, c.imag);
  ShowPopup(mResolution, c.resl);
  ShowPopup(mSize, c.size);
  ShowPopup(mScale, c.scal);
  mBrightness->SetValue(c.brightness);
  CWXUtility::EnableIf(mBrightness, c.brightnessEnabled);
  ShowCustomTexts();
}

void CCopyDialogBox::SetMode_Popup() {
  SetModePopup(mRules, RuleParams());
  ShowControls();
}

void CCopyDialogBox::SetImageMode_Popup() {
  SetImageModePopup(mRules, RuleParams());
  ShowControls();
}

void CCopyDialogBox::SetResolution_Popup() {
  SetResolutionPopup(mRules, RuleParams());
  ShowControls();
}

void CCopyDialogBox::SetSize_Popup() {
  SetSizePopup(mRules, RuleParams());
  ShowControls();
}

void CCopyDialogBox::SetBlightness() {
  SetBrightness(mRules, RuleParams());
  ShowControls();
}

void CCopyDialogBox::SetFit_Paper_button() {
  SetFitPaperButton(mRules, RuleParams());
  ShowControls();
}

void CCopyDialogBox::SetUIonBox() { mDriverWindow->Enable(); }
void CCopyDialogBox::SetPaperSetButton() { mPageSetup->Enable(); }
void CCopyDialogBox::SetPrintSetButton() { mPrintOptions->Enable(); }

long CCopyDialogBox::Resolution_Value() { return ResolutionValue(mRules); }

long CCopyDialogBox::CalcInputResolution_Value(long outputResolution) {
  return CalcInputResolutionValue(mRules, RuleParams(), int32_t(outputResolution));
}

long CCopyDialogBox::GetImageMode(long item) { return ::GetImageMode(int32_t(Source()), int32_t(item)); }

long CCopyDialogBox::GetImageModePopupNum(long code, long source) {
  return ::GetImageModePopupNum(int32_t(code), int32_t(source));
}

long CCopyDialogBox::Code() { return GetImageMode(mRules.controls.imag.value); }

bool CCopyDialogBox::IsStitch() { return ::IsStitch(mRules, RuleParams()); }
bool CCopyDialogBox::IsStitch_Disregard_UICheckBox() { return IsStitchDisregardUI(mRules, RuleParams()); }

SInt32 CCopyDialogBox::ShowCustomScaleDialog() { return ::ShowCustomScaleDialog(this, Working()); }

SDimension16 CCopyDialogBox::CustomSize() {
  RecordBytes r = Working();
  return CWXUtility::StoredScanSize(r, PREF_COPY::kCustomSize);
}

// ---- Messages ----------------------------------------------------------------------------

void CCopyDialogBox::ListenToMessage(MessageT message, void* param) {
  for (PaneIDT id : {PaneIDT('DFLT'), PaneIDT('APLY'), PaneIDT('CNCL'), PaneIDT('OKBT')})
    CWXUtility::FindPaneAs<LPane>(this, id);
  const bool valued = message != msg_ScanEnded && message != msg_OK && message != msg_Cancel &&
                      message != CStitchDialog::msg_StitchClosed;
  const SInt32 value = (valued && param) ? *static_cast<SInt32*>(param) : 0;
  const ScanRuleParams p = RuleParams();
  switch (message) {
    case msg_OK:
      // A session that goes on in the driver's window is still running.
      if (mScanning == 0) OnStart();
      return;
    case msg_Cancel:
      mWorking = mCommitted;
      DoClose();
      return;
    case msg_ScanEnded: OnScanEnded(static_cast<CThreadChecker*>(param)); return;
    case CStitchDialog::msg_StitchClosed: OnStitchClosed(); return;
    case 'APLY':
      mCommitted = mWorking;
      Save_Setting();
      return;
    case 'DFLT':
      Prefs_Set(1);
      Prefs_Set(0);
      return;
    case 'STYL': OnPageSetup(); return;
    case 'PRNT': OnPrintOptions(); return;
    case 'CHOS':
      Refresh();
      RedrawMainWindow();
      return;
    case 'MODE': OnModeChanged(mRules, p, value); break;
    case 'IMAG': OnImageModeChanged(mRules, p, value); break;
    case 'RESL': OnResolutionChanged(mRules, p, value); break;
    case 'SIZE':
      OnSizeChanged(mRules, p, value, [this] {
        CWXUtility::EditStoredManuscriptSize(kSizeDialog, this, Working(), PREF_COPY::kCustomSize);
      });
      break;
    case 'SCAL': OnScaleChanged(mRules, p, value, [this] { ShowCustomScaleDialog(); }); break;
    case 'BLIT': OnBrightnessChanged(mRules, p, value); break;
    case 'UION':
      OnUIChanged(mRules, p, value);
      if (value != 0) EXIF_PREF::kColourPage.set(PREF_ALL::kExif.in(PrefAll()), 2);
      break;
    default: return;
  }
  ShowControls();
}

void CCopyDialogBox::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                       Str255 outName) {
  if (CWXUtility::sIsQuellaneOpened == 1) {
    outEnabled = false;
    return;
  }
  if (command == kCommandAbout || command == kCommandQuit || command == kCommandSynthetic) {
    outEnabled = mScanning == 0;
    return;
  }
  LWindow::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
}

// ---- Print setup -------------------------------------------------------------------------

void CCopyDialogBox::OnPageSetup() {
  try {
    StPrintSession session(sPrintSpec);
    UPrinting::AskPageSetup(sPrintSpec, this);
  } catch (...) {
    // No printer: the sheet does not come, and the start says so.
  }
  Refresh();
  RedrawMainWindow();
}

void CCopyDialogBox::OnPrintOptions() {
  RecordBytes r = Working();
  try {
    StPrintSession session(sPrintSpec);
    sPrintSpec.SetPrintJobParams(PREF_COPY::kFirstPage.get(r), PREF_COPY::kLastPage.get(r), PREF_COPY::kCopies.get(r));
    PMSetCollate(sPrintSpec.GetPrintSettings(), PREF_COPY::kCollate.get(r) != 0);
    CWXUtility::SetCurrentPrinter(sPrintSpec.GetPrintSession(), mPrinter);
    if (UPrinting::AskPrintJob(sPrintSpec, this)) {
      UInt32 first = 0, last = 0, copies = 0;
      sPrintSpec.GetPrintJobParams(first, last, copies);
      PREF_COPY::kFirstPage.set(r, first);
      PREF_COPY::kLastPage.set(r, last);
      PREF_COPY::kCopies.set(r, copies);
      Boolean collate = true;
      PMGetCollate(sPrintSpec.GetPrintSettings(), &collate);
      PREF_COPY::kCollate.set(r, collate ? 1 : 0);
      PMPrinter current = nullptr;
      if (PMSessionGetCurrentPrinter(sPrintSpec.GetPrintSession(), &current) == noErr && current) {
        PMRetain(current);
        if (mPrinter) PMRelease(mPrinter);
        mPrinter = current;
      }
    }
  } catch (...) {
    // As for the page setup.
  }
  Refresh();
  RedrawMainWindow();
}

// ---- The run -----------------------------------------------------------------------------

void CCopyDialogBox::ShowAlert(SInt32 item) { CWXUtility::Show_Error(kAlertLayout, this, kAlertList, item, 0, 1, nullptr, 0); }

bool CCopyDialogBox::PrinterReady() {
  bool ready = false;
  try {
    StPrintSession session(sPrintSpec);
    CFArrayRef printers = nullptr;
    CFIndex current = -1;
    PMPrinter printer = nullptr;
    if (PMSessionCreatePrinterList(sPrintSpec.GetPrintSession(), &printers, &current, &printer) == noErr)
      ready = printer != nullptr;
    if (printers) CFRelease(printers);
  } catch (...) {
    ready = false;
  }
  if (!ready) ShowAlert(SystemVersion() > kLastCoveringSystem ? kItemNoPrinter : kItemNoPrinterOld);
  return ready;
}

void CCopyDialogBox::OnStart() {
  mCommitted = mWorking;
  Save_Setting();
  RecordBytes r = Working();
  const UInt16 product = ProductID();
  if (PREF_COPY::kCheckUION.get(r) == 0) {
    RecordBytes setting = Setting();
    FSSpec base = PREF_SETTING::kTempBase.get(setting), temp = PREF_SETTING::kTempFolder.get(setting);
    SInt32 dirID = 0;
    Boolean isDirectory = false;
    if (FSpGetDirectoryID(&base, &dirID, &isDirectory) == fnfErr) {
      CWXUtility::Get_Default_TempDir(&temp, &base);
      CWXUtility::Create_Default_TempDir(base, &temp);
      // Written at once: the scan entry finds its folder through the file.
      PREF_SETTING::kTempBase.set(setting, base);
      PREF_SETTING::kTempFolder.set(setting, temp);
      CPreferences store(PREFS_FILE_NAME, 0);
      PREF_SETTING::kTempBase.set(PREF_ALL::kSetting.in(store.PrefAll()), base);
      PREF_SETTING::kTempFolder.set(PREF_ALL::kSetting.in(store.PrefAll()), temp);
    }
    sAlertOwner = this;
    const unsigned char enough =
        CWXUtility::CheckHDSpace(temp, mSize->GetValue(), Code(), Source(),
                                 CalcInputResolution_Value(Resolution_Value()), CustomSize(), product,
                                 IsStitch() ? 1 : 0, &ShowDiskAlert);
    sAlertOwner = nullptr;
    if (enough == 0) return;
  }
  if (!PrinterReady()) return;
  const long mode = ScanImageModeCode(int32_t(Code()), int32_t(Source()), product);
  const long input = CalcInputResolution_Value(Resolution_Value());
  if (IsStitch())
    StartStitch(mode, input);
  else
    StartScan(mode, input);
}

void CCopyDialogBox::CoverForScan() {
  if (SystemVersion() <= kLastCoveringSystem) {
    Hide();
    if (CAppearanceApp::sMainWindow) CAppearanceApp::sMainWindow->DisableWindow();
  } else {
    Disable();
  }
  UpdatePort();
}

void CCopyDialogBox::UncoverAfterScan() {
  if (SystemVersion() <= kLastCoveringSystem && CAppearanceApp::sMainWindow)
    CAppearanceApp::sMainWindow->EnableWindow();
  if (!IsVisible()) Show();
  Enable();
  Refresh();
}

void CCopyDialogBox::SetRunning(UInt8 running) {
  mScanning = running;
  CWXUtility::sIsQuellaneOpened = running;
  if (running) SwitchTarget(this);
  LCommander::SetUpdateCommandStatus(true);
}

void CCopyDialogBox::StartScan(long imageMode, long inputResolution) {
  RecordBytes r = Working();
  RecordBytes setting = Setting();
  const UInt8 isTWAIN = PREF_SETTING::kTWAIN.get(setting);
  Str255 model;
  PREF_SETTING::kModelName.get(setting, model);
  CoverForScan();
  SetRunning(1);
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
      kCallerCopy, isTWAIN, checker, model, CustomSize(), 0, Source(), imageMode, PREF_COPY::kCheckUION.get(r),
      mSize->GetValue(), inputResolution, this, long(PREF_COPY::kBrightness.get(r)),
      UInt8(PREF_COPY::kScanOption.get(r) & 0xFF));
  if (started == 0) {
    // No end message follows a scan that did not start.
    SetRunning(0);
    delete checker;
    delete scanner;
    delete twain;
    RedrawMainWindow();
    UncoverAfterScan();
  }
  PREF_ALL::kLastButton.set(PrefAll(), 0);
}

void CCopyDialogBox::StartStitch(long imageMode, long inputResolution) {
  RecordBytes r = Working();
  RecordBytes setting = Setting();
  Str255 model;
  PREF_SETTING::kModelName.get(setting, model);
  const SInt32 fault = CWXUtility::SourceOpenFault(model);
  Refresh();
  RedrawMainWindow();
  if (fault != 0) {
    ShowAlert(fault);
    return;
  }
  if (IsVisible()) Hide();
  const FSSpec temp = PREF_SETTING::kTempFolder.get(setting);
  // The wizard may report that it closed before it returns.
  mStartingStitch = true;
  CStitchDialog* wizard = CStitchDialog::ShowStitchDialog(
      kCallerCopy, PREF_SETTING::kTWAIN.get(setting), model, CustomSize(), Source(), imageMode,
      PREF_COPY::kCheckUION.get(r), mSize->GetValue(), inputResolution, this, long(PREF_COPY::kBrightness.get(r)), 0,
      1, this, 0, 0, FSSpec{}, temp, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, nullptr);
  mStartingStitch = false;
  mStitchDialog = wizard;
  if (mCloseWhenStarted) DoClose();
}

void CCopyDialogBox::OnScanEnded(CThreadChecker* checker) {
  if (!checker) return;
  SetRunning(0);
  UncoverAfterScan();
  CTWAIN* twain = checker->GetTWAIN();
  mScan = CaptureCopyScan(twain, twain ? nullptr : checker->GetScanner());
  if (!IsStitch()) {
    const CopyEndPlan plan = PlanCopyEnd(mScan, PREF_COPY::kCheckUION.get(Working()) == 1);
    if (plan.continueSession) {
      // Cancelled in the driver's own window: it stays open for the next scan.
      SetRunning(1);
      ContinueScanSession(twain, checker);
      return;
    }
    if (twain) {
      ShowScanRefusals(twain, plan.alerts, [this](short item) { ShowAlert(item); });
      CWXUtility::ShowScannerFault(this, *twain);
    }
    Refresh();
    RedrawMainWindow();
  }
  Printer_Print(twain ? 1 : 0, checker, CopyFitFlag(Working(), ProductID()) ? 1 : 0);
}

void CCopyDialogBox::Printer_Print(unsigned char isTWAIN, CThreadChecker* checker, unsigned char fit) {
  StPDFDialog pdf;
  StJPEGDialog jpeg;
  StOtherDialog pict, tiff;
  const FSSpec folder = CWXUtility::TempFolderSpec();
  std::unique_ptr<TArray<FSSpec>> written(CWXUtility::ExportToFile(isTWAIN, checker, 'TIFF', kBaseName, folder, 0,
                                                                    pdf, jpeg, pict, tiff, IsStitch() ? 1 : 0, 0, 0,
                                                                    0, 0));
  std::vector<FSSpec> files;
  if (written)
    for (ArrayIndexT i = 1; i <= written->GetCount(); ++i) files.push_back((*written)[i]);
  const std::vector<CopyPageSize> sizes = CopyPageSizes(files, mScan.pages);
  const long percent = CopyMagnification(Working(), IS_J != 0);
  Str255 source = {0};
  if (CTWAIN* twain = checker->GetTWAIN()) {
    ConstStringPtr name = twain->GetModelString();
    std::memcpy(source, name, size_t(name[0]) + 1);
  } else {
    PREF_SETTING::kModelName.get(Setting(), source);
  }
  bool failed = false;
  for (size_t i = 0; i < files.size(); ++i) {
    ScanData page;
    page.width = SInt32(sizes[i].width);
    page.height = SInt32(sizes[i].height);
    page.resolution = Fixed(sizes[i].resolution) << 16;
    page.imageFile = files[i];
    std::memcpy(page.sourceName, source, size_t(source[0]) + 1);
    if (!failed) {
      try {
        CWXUtility::PrintScanImage(page, &sPrintSpec, fit, percent, mPrinter);
      } catch (...) {
        failed = true;
      }
    }
    CWXUtility::DeleteFileWithRetry(files[i]);
  }
  written.reset();
  delete checker->GetScanner();
  delete checker->GetTWAIN();
  delete checker;
  Refresh();
  RedrawMainWindow();
  if (failed) ShowAlert(kItemPrintFailed);
  // The wizard closes itself once it has handed its page over; the dialog only forgets it.
  mStitchDialog = nullptr;
  if (IsVisible()) Activate();
  if (mAutoStart == 0) return;
  mAutoStart = 0;
  if (CopyRunQuits(PREF_SETTING::kQuitOption.get(Setting()) == 1, mScan))
    ProcessCommand(kCommandQuit, nullptr);
  else
    DoClose();
}

void CCopyDialogBox::OnStitchClosed() {
  mStitchDialog = nullptr;
  if (!IsVisible()) Show();
  if (mAutoStart == 0) return;
  mAutoStart = 0;
  if (mStartingStitch)
    mCloseWhenStarted = true;
  else
    DoClose();
}
