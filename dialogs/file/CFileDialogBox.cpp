#include "dialogs/file/CFileDialogBox.h"

#include <algorithm>
#include <cstring>

#include "app/CAppButton.h"
#include "app/CAppearanceApp.h"
#include "app/CCicnButton.h"
#include "app/CMainWindow.h"
#include "app/FunctionDialogRun.h"
#include "prefs/LanguageTables.h"
#include "prefs/WXDefaultDir.h"
#include "prefs/WXModels.h"
#include "dialogs/file/CScanInfoWindow.h"
#include "dialogs/file/FunctionDialogParts.h"
#include "dialogs/file/PdfAppendPass.h"
#include "dialogs/file/PdfCompressionRule.h"
#include "dialogs/file/WatchedScan.h"
#include "framework/LControl.h"
#include "framework/LEditText.h"
#include "framework/LMultiPanelView.h"
#include "framework/LPopupButton.h"
#include "framework/LTabsControl.h"
#include "framework/UReanimator.h"
#include "output/export/WXChoosers.h"
#include "output/export/WXExport.h"
#include "output/glue/CAddPDFFile.h"
#include "output/hub/UProcess.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hub/WXFolders.h"
#include "output/hub/WXLaunch.h"
#include "output/hubdialogs/CWXUtility.h"
#include "output/hubdialogs/WXCheckBoxPrompt.h"
#include "output/hubdialogs/WXPrompts.h"
#include "output/hubdialogs/WXScan.h"
#include "preview/CPreviewDialog.h"
#include "preview/CStitchDialog.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"
#include "toolbox/Files.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

using namespace FunctionDialogParts;
using FunctionDialogKit::Alert;
using FunctionDialogKit::Ask;
using FunctionDialogKit::FileNameAccepted;

namespace {

using F = PREF_FILE;

constexpr ResIDT kLayout = 5000, kTabbedLayout = 5050;
constexpr ResIDT kStrings = 5000;
enum : SInt16 { kDefaultNameItem = 1, kNoApplicationItem = 2, kSaveToItem = 3, kAddToItem = 4 };
enum : ResIDT { kColourModes = 5001, kMonochromeModes = 5002, kAllModes = 5003, kResolutions = 5004, kSizes = 5005,
                kFileTypes = 5006 };
enum : UInt32 { kTypePerPage = 1, kTypeMultiPage = 2, kTypeAddToPDF = 3 };
enum : SInt32 {
  kItemOperationFailed = 3,
  kItemNextPage = 7,
  kItemDropPendingPages = 8,
  kItemForgetApplication = 10,
  kItemNoPermission = 13,
  kItemPendingOnClose = 27,
  kItemConfirmAddToPDF = 31,
  kItemNoPDFToAddTo = 32,
  kItemNextPageByButton = 41,
};
enum : CommandT { kCommandQuit = 10 };
constexpr long kCallerFile = 6;
constexpr OSType kCreator = 'prvw';
constexpr OSType kPDF = 'PDF ';
constexpr SInt16 kNextPageLayout = 350, kNextPageByButtonLayout = 360;
constexpr SInt16 kAlertLayout = 400, kAlertList = 400;
// Scan-information layouts: untabbed, then tabs 1 to 3.
constexpr ResIDT kInfoLayouts[] = {803, 800, 801, 802};
enum : short { kTransferFailed = 1, kTransferCancelledInDriverWindow = 3 };
constexpr SInt32 kLastCoveringSystem = 0x102F;
constexpr long kDpiOfItem[] = {75, 100, 150, 200, 300, 400};

// Image-mode codes of each tab's menu: tab 1 the colour kinds, tab 2 the monochrome kinds,
// the untabbed layout and tab 3 all of them.
constexpr long kColourCodes[] = {3, 4, 5, 6};
constexpr long kMonochromeCodes[] = {1, 2, 7};
constexpr long kAllCodes[] = {1, 2, 7, 3, 4, 5, 6};

struct ModeMenu {
  ResIDT menu;
  const long* codes;
  size_t count;
  long fallbackCode;
};

ModeMenu ModeMenuOf(long tab) {
  switch (tab) {
    case 1: return {kColourModes, kColourCodes, std::size(kColourCodes), 3};
    case 2: return {kMonochromeModes, kMonochromeCodes, std::size(kMonochromeCodes), 1};
    default: return {kAllModes, kAllCodes, std::size(kAllCodes), 3};
  }
}

bool DrawsOnCodes5And6(long code) { return code == 5 || code == 6; }

RecordBytes PDFOf(RecordBytes record) { return F::kPDF.in(record); }

template <class Field>
void CopyField(const Field& field, RecordBytes from, RecordBytes to) {
  std::memcpy(to.data() + field.off, from.data() + field.off, Field::size);
}

FSSpec AppendPDFOf(RecordBytes record) { return StPDFDialog::kAppendTo.get(PDFOf(record)); }

// A stitched page takes no corrections: the PDF's, JPEG's and both other records' go off.
void ClearCorrectionsOfStitch(RecordBytes shown, RecordBytes tab) {
  for (RecordBytes rec : {shown, tab}) {
    StPDFDialog::kOptionCBXT.set(F::kPDF.in(rec), 0);
    StJPEGDialog::kLanguageOption.set(F::kJPEG.in(rec), 0);
    StOtherDialog::kLanguageOption.set(F::kPICT.in(rec), 0);
    StOtherDialog::kLanguageOption.set(F::kTIFF.in(rec), 0);
  }
}

// The dialog that shows the disk checks' alerts.
LCommander* sAlertOwner = nullptr;
void ShowDiskAlert(long item) { Alert(sAlertOwner, item); }

}  // namespace

CFileDialogBox::CFileDialogBox(LStream* stream) : LDialogBox(stream), CPreferences(PREFS_FILE_NAME, 0) {}

CFileDialogBox::~CFileDialogBox() {
  mStitchDialog = nullptr;
  Save_Setting();
  mScanInfo.reset();
  FunctionDialogKit::DeletePages(mPendingPages, mPendingExif);
  if (CAppearanceApp::sApplication) CAppearanceApp::sApplication->mFunctionDialogOpen = 0;
}

// ---- Opening -----------------------------------------------------------------------------

void CFileDialogBox::FinishCreateSelf() {
  LDialogBox::FinishCreateSelf();
  RecordBytes all = PrefAll();
  mTabbed = CWXUtility::Is4ButtonDriver(CMainWindow::ProductOf(all)) ? 0 : 1;
  mOptions = CWXUtility::FindPaneAs<LControl>(this, 'PDFS');
  mSelect = CWXUtility::FindPaneAs<LControl>(this, 'SCT1');
  CWXUtility::FindPaneAs<LControl>(this, 'SCT2');
  mImage = CWXUtility::FindPaneAs<LPopupButton>(this, 'IMAG');
  mResolution = CWXUtility::FindPaneAs<LPopupButton>(this, 'RESL');
  mSize = CWXUtility::FindPaneAs<LPopupButton>(this, 'SIZE');
  mFileType = CWXUtility::FindPaneAs<LPopupButton>(this, 'FTYP');
  mDayFolder = CWXUtility::FindPaneAs<LControl>(this, 'DYIN');
  mName = CWXUtility::FindPaneAs<LEditText>(this, 'FNAM');
  mFolder = CWXUtility::FindPaneAs<LPane>(this, 'FOLD');
  mAppName = CWXUtility::FindPaneAs<LPane>(this, 'SCNA');
  mAppIcon = CWXUtility::FindPaneAs<CCicnButton>(this, 'FICN');
  mPreview = CWXUtility::FindPaneAs<LControl>(this, 'SPRE');
  mSaveTo = CWXUtility::FindPaneAs<LPane>(this, 'TOTX');
  if (mTabbed) {
    mTabs = CWXUtility::FindPaneAs<LTabsControl>(this, 'TABS');
    mTabs->AddListener(this);
    mPanels = dynamic_cast<LMultiPanelView*>(FindPaneByID('MPVW'));
  }
  CWXUtility::FindPaneAs<LControl>(this, 'DFLT');
  mShowDialog = CWXUtility::FindPaneAs<LControl>(this, 'EZCB');
  mAskName = CWXUtility::FindPaneAs<LControl>(this, 'EZFN');
  mHistory = CWXUtility::FindPaneAs<LPopupButton>(this, 'PuFN');
  for (PaneIDT id : {PaneIDT('OKBT'), PaneIDT('CNCL'), PaneIDT('APLY')}) CWXUtility::FindPaneAs<LPane>(this, id);
  mDrop = std::make_unique<CAppDropArea>(this, mAppName, this);
  UReanimator::LinkListenerToControls(this, this, mTabbed ? kTabbedLayout : kLayout);

  // The tab: the one of the scanner button that opened the dialog, else the one last used;
  // a stored tab out of range is tab 1.
  UInt32 tab = 0;
  if (mTabbed) {
    const UInt16 button = PREF_ALL::kLastButton.get(all);
    if (button >= 4 && button <= 6)
      tab = button - 3u;
    else
      tab = F::kCurrentTab.get(PREF_ALL::File(2).in(all));
    if (tab < 1 || tab > 3) tab = 1;
  }
  std::memcpy(PREF_ALL::File(0).in(all).data(), PREF_ALL::File(mTabbed ? 1 + tab : 1).in(all).data(), F::kSize);
  F::kCurrentTab.set(PREF_ALL::File(0).in(all), tab);
  CWXUtility::sTabMode = UInt16(tab);
  if (mTabs) {
    CWXUtility::StStopListening quiet(this);
    mTabs->SetValue(SInt32(tab));
  }
  mRememberedTab = tab;
  mImage->SetMenuID(ModeMenuOf(long(tab)).menu);

  for (UInt32 k = 0; k < kRecords; ++k)
    PREF_ALL::File(k).in(all).getBytes(0, mWorking[k].bytes.data(), F::kSize);
  F::kCurrentTab.set(Working(0), tab);
  if (mTabbed)
    for (UInt32 k : {2u, 3u, 4u}) F::kCurrentTab.set(Working(k), tab);
  else
    F::kCurrentTab.set(Working(1), 0);
  mResolution->SetMenuID(kResolutions);
  mSize->SetMenuID(kSizes);
  mFileType->SetMenuID(kFileTypes);
  mPageCount = 0;
  Load_Setting();

  RecordBytes r = Working();
  if (!SpecResolves(F::kFolder.get(r))) {
    FSSpec fallback{};
    CWXUtility::Get_Default_Dir(&fallback);
    F::kFolder.set(r, fallback);
    F::kFolder.set(TabRecord(), fallback);
  }
  if (!AppendPDFChosen()) {
    FSSpec pdf = AppendPDFOf(r);
    pdf.name[0] = 0;
    StPDFDialog::kAppendTo.set(PDFOf(r), pdf);
    StPDFDialog::kAppendTo.set(PDFOf(TabRecord()), pdf);
  }
  {
    CWXUtility::StStopListening quiet(this);
    SetSaveToStaticText();
    SetFolderNameEditText();
    SetFileNameEditText();
  }
  for (UInt32 k = 1; k < kRecords; ++k) F::kTargetApp.set(Working(k), App());
  mCommitted = mWorking;
  ShowApplication();
  mBusy = 0;
  CWXUtility::sIsQuellaneOpened = 0;
  mButtonRun = 0;
}

void CFileDialogBox::SetMainWindowButton(CAppButton* button) {
  mButton = button;
  const FSSpec app = App();
  if (app.name[0] == 0 || SpecResolves(app)) return;
  F::kTargetApp.clear(Working());
  ShowApplication();
  StoreFileName(Working());
  Commit();
  ShowButtonIcon(mButton, App());
}

// ---- Records -----------------------------------------------------------------------------

UInt32 CFileDialogBox::Tab() const {
  if (!mTabs) return 0;
  return UInt32(std::clamp<SInt32>(mTabs->GetValue(), 1, 3));
}

UInt32 CFileDialogBox::FileType() const { return UInt32(mFileType->GetValue()); }

bool CFileDialogBox::AppendPDFChosen() {
  const FSSpec pdf = AppendPDFOf(Working());
  return pdf.name[0] != 0 && SpecResolves(pdf);
}

long CFileDialogBox::ImageModeCode() const { return GetImageModeFromPopupID(long(Tab()), mImage->GetValue()); }

// The size item as the paper table numbers it (the two share their rows).
long CFileDialogBox::PaperIndex() const { return mSize->GetValue(); }

void CFileDialogBox::Load_Setting() {
  PREF_ALL::File(0).in(PrefAll()).getBytes(0, mWorking[0].bytes.data(), F::kSize);
  F::kCurrentTab.set(Working(0), mRememberedTab);
  Prefs_Set(false);
  Prefs_Set(false);
}

void CFileDialogBox::Save_Setting() {
  for (UInt32 k = 0; k < kRecords; ++k)
    std::memcpy(PREF_ALL::File(k).in(PrefAll()).data(), mWorking[k].bytes.data(), F::kSize);
}

void CFileDialogBox::Commit() {
  mCommitted = mWorking;
  Save_Setting();
}

void CFileDialogBox::ToAllCopies(void (*set)(RecordBytes)) {
  for (UInt32 k = 0; k < kRecords; ++k) set(Working(k));
}

void CFileDialogBox::Prefs_Set(bool defaults) {
  RecordBytes r = Working();
  if (defaults) {
    const FSSpec app = App();
    const UInt32 tag = F::kTag.get(r);
    const UInt32 tab = F::kCurrentTab.get(r);
    RecordBytes factory = Set_Default_File_Tab(long(tab));
    std::memcpy(r.data(), factory.data(), F::kSize);
    F::kCurrentTab.set(r, tab);
    if (mTabbed) {
      for (UInt32 k : {2u, 3u, 4u}) {
        F::kButtonPending.set(Working(k), 1);
        F::kCurrentTab.set(Working(k), tab);
      }
      for (UInt32 k = 0; k < kRecords; ++k) F::kTargetApp.set(Working(k), app);
    } else {
      F::kButtonPending.set(Working(1), 1);
      F::kCurrentTab.set(Working(1), tab);
      for (UInt32 k = 0; k < kRecords; ++k) F::kTargetApp.clear(Working(k));
    }
    mPreview->Enable();
    F::kTag.set(r, tag);
  }
  const UInt32 tab = F::kCurrentTab.get(r);
  if (tab >= 1 && tab <= 3) F::kFlag3672.set(r, F::kFlag3672.get(Working(1 + tab)));
  CWXUtility::StStopListening quiet(this);
  mDayFolder->SetValue(F::kFlag21.get(r));
  mPreview->SetValue(F::kFlag3672.get(r));
  if (F::kFlag3673.get(r) == 1) {
    mShowDialog->SetValue(1);
    F::kFlag3675.set(r, 0);
    mAskName->Disable();
    mShowDialog->Enable();
  }
  if (F::kFlag3674.get(r) == 1) {
    F::kFlag3673.set(r, 0);
    mAskName->Enable();
    mShowDialog->Disable();
  }
  SetImageMode_Popup();
  SetFileType_Popup();
  SetResolution_Popup();
  SetSize_Popup();
  SetPdfButton();
  SetNameAndSelectAndFolder();
  SetPreviewCheckBox();
  SetDayInCheckBox();
  SetEZCheckBox();
  std::memcpy(TabRecord().data(), r.data(), F::kSize);
}

long CFileDialogBox::GetImageModeFromPopupID(long tab, long item) {
  if (tab < 0 || tab > 3) return 3;
  const ModeMenu menu = ModeMenuOf(tab);
  if (item < 1 || size_t(item) > menu.count) return menu.fallbackCode;
  return menu.codes[item - 1];
}

bool CFileDialogBox::IsStitch() const {
  const SInt32 item = mSize->GetValue();
  for (int32_t stitch : {Paper_Size_B4_Stitch, Paper_Size_11X17_Stitch, Paper_Size_A3_Stitch, Paper_Size_432X297_Stitch})
    if (stitch > 0 && item == stitch) return true;
  return false;
}

// ---- Setters -----------------------------------------------------------------------------

void CFileDialogBox::SetImageMode_Popup() {
  RecordBytes r = Working();
  RecordBytes pdf = PDFOf(r);
  const bool stitch = IsStitch();
  if (!stitch) StPDFDialog::kRestricted.set(pdf, 0);
  const long tab = long(Tab());
  const ModeMenu menu = ModeMenuOf(tab);
  mImage->SetMenuID(menu.menu);
  if (stitch) {
    if (tab == 1)
      for (SInt16 item : {3, 4}) mImage->DisableItem(item);
    if (tab == 0 || tab == 3)
      for (SInt16 item : {6, 7}) mImage->DisableItem(item);
  }
  long code = long(F::kSetting4.get(r));
  const long* found = std::find(menu.codes, menu.codes + menu.count, code);
  if (found == menu.codes + menu.count) {
    code = menu.fallbackCode;
    found = std::find(menu.codes, menu.codes + menu.count, code);
  }
  F::kSetting4.set(r, UInt32(code));
  if (code == 1) StPDFDialog::kRestricted.set(pdf, 1);
  mImage->SetValue(SInt32(found - menu.codes + 1));
  mImage->Enable();
}

void CFileDialogBox::SetResolution_Popup() {
  RecordBytes r = Working();
  mResolution->SetMenuID(kResolutions);
  UInt32 item = ShowStoredItem(mResolution, F::kSetting8.get(r));
  if (DrawsOnCodes5And6(long(F::kSetting4.get(r)))) {
    for (SInt16 off : {2, 4, 6}) mResolution->DisableItem(off);
    if (item % 2 == 0) item -= 1;
    mResolution->SetValue(SInt32(item));
  }
  F::kSetting8.set(r, item);
  F::kSetting8.set(TabRecord(), item);
  mResolution->Enable();
}

long CFileDialogBox::Resolution_Value() {
  const SInt32 item = std::clamp<SInt32>(mResolution->GetValue(), 1, SInt32(std::size(kDpiOfItem)));
  return kDpiOfItem[item - 1];
}

void CFileDialogBox::SetSize_Popup() {
  RecordBytes r = Working();
  F::kPaperSize.set(r, ShowStoredItem(mSize, F::kPaperSize.get(r)));
  EnableIf(mSize, !DrawsOnCodes5And6(long(F::kSetting4.get(r))));
  if (IsStitch()) ClearCorrectionsOfStitch(r, TabRecord());
  FunctionDialogKit::ShowCustomSize(mSize, r, F::kCustomSize);
}

void CFileDialogBox::SetFileType_Popup() {
  F::kSetting16.set(Working(), ShowStoredItem(mFileType, F::kSetting16.get(Working())));
  mFileType->Enable();
}

void CFileDialogBox::SetPdfButton() { mOptions->Enable(); }
void CFileDialogBox::SetPreviewCheckBox() { mPreview->Enable(); }

void CFileDialogBox::SetNameAndSelectAndFolder() {
  mName->Enable();
  mSelect->Enable();
  mFolder->Enable();
}

void CFileDialogBox::SetDayInCheckBox() { EnableIf(mDayFolder, FileType() != kTypeAddToPDF); }

void CFileDialogBox::SetFileNameEditText() {
  Str255 name;
  if (FileType() == kTypeAddToPDF && AppendPDFOf(Working()).name[0] != 0)
    F::kFileName.get(Working(), name);
  else
    F::kDefaultFileName.get(Working(), name);
  mName->SetDescriptor(name);
}

void CFileDialogBox::SetFolderNameEditText() {
  RecordBytes r = Working();
  if (FileType() != kTypeAddToPDF) {
    if (!SpecResolves(F::kFolder.get(r))) {
      FSSpec fallback{};
      CWXUtility::Get_Default_Dir(&fallback);
      F::kFolder.set(r, fallback);
    }
    FunctionDialogKit::ShowFolderPath(mFolder, F::kFolder.get(r));
    return;
  }
  FSSpec pdf = AppendPDFOf(r);
  if (pdf.name[0] != 0 && !SpecResolves(pdf)) {
    pdf.name[0] = 0;
    StPDFDialog::kAppendTo.set(PDFOf(r), pdf);
  }
  if (pdf.name[0] == 0) {
    Str255 empty{};
    mFolder->SetDescriptor(empty);
    return;
  }
  FunctionDialogKit::ShowFolderPath(mFolder, pdf);
}

void CFileDialogBox::SetSaveToStaticText() {
  Str255 text;
  GetIndString(text, kStrings, FileType() == kTypeAddToPDF ? kAddToItem : kSaveToItem);
  mSaveTo->SetDescriptor(text);
}

void CFileDialogBox::SetPdfCompress() { ApplyPdfCompressionRule(PDFOf(Working()), ImageModeCode() == 1); }

void CFileDialogBox::SetEZCheckBox() {
  RecordBytes r = Working();
  RecordBytes tab = TabRecord();
  if (F::kFlag3673.get(r) == 0 && F::kFlag3674.get(r) == 0) {
    mAskName->Enable();
    mShowDialog->Enable();
  }
  if (FileType() == kTypeAddToPDF || F::kFlag3673.get(r) == 1) {
    for (RecordBytes rec : {r, tab}) {
      F::kFlag3674.set(rec, 0);
      F::kFlag3675.set(rec, 0);
    }
    mAskName->Disable();
  } else {
    mAskName->Enable();
  }
  if (F::kFlag3674.get(r) == 1) {
    for (RecordBytes rec : {r, tab}) F::kFlag3673.set(rec, 0);
    mShowDialog->Disable();
  }
  if (FileType() == kTypeAddToPDF) mShowDialog->Enable();
  mAskName->SetValue(F::kFlag3674.get(r));
  mShowDialog->SetValue(F::kFlag3673.get(r));
}

void CFileDialogBox::SetFileNamePdfAdd() {
  Str255 name;
  NewCopyName(AppendPDFOf(Working()), SInt16(mName->GetMaxChars()), name);
  F::kFileName.set(Working(), name);
  F::kFileName.set(TabRecord(), name);
}

void CFileDialogBox::SetSelect1Button() {
  RecordBytes r = Working();
  Str255 title;
  GetDescriptor(title);
  if (FileType() != kTypeAddToPDF) {
    FSSpec folder = F::kFolder.get(r);
    FSSpec chosen{};
    const long answer = CWXUtility::ChooseFolder(chosen, title, folder);
    if (answer == 1) F::kFolder.set(r, chosen);
    F::kFolder.set(TabRecord(), F::kFolder.get(r));
    if (answer == 1) SetFolderNameEditText();
    return;
  }
  FSSpec last = AppendPDFOf(r);
  FSSpec chosen{};
  if (CWXUtility::ChoosePDFFile(chosen, nullptr, last) == 1) {
    StPDFDialog::kAppendTo.set(PDFOf(r), chosen);
    SetFileNamePdfAdd();
    SetFileNameEditText();
    SetFolderNameEditText();
  }
  StPDFDialog::kAppendTo.set(PDFOf(TabRecord()), AppendPDFOf(r));
}

void CFileDialogBox::StoreFileName(RecordBytes record) {
  Str255 name;
  mName->GetDescriptor(name);
  if (F::kSetting16.get(record) == kTypeAddToPDF && AppendPDFOf(record).name[0] != 0)
    F::kFileName.set(record, name);
  else
    F::kDefaultFileName.set(record, name);
}

void CFileDialogBox::FileTypePopupMessage_Sub(long type) {
  RecordBytes r = Working();
  RecordBytes tab = TabRecord();
  Str255 name;
  mName->GetDescriptor(name);
  const bool intoNewCopy = F::kSetting16.get(tab) == kTypeAddToPDF && AppendPDFOf(tab).name[0] != 0;
  for (RecordBytes rec : {r, tab}) {
    (intoNewCopy ? F::kFileName : F::kDefaultFileName).set(rec, name);
    F::kSetting16.set(rec, UInt32(type));
    RecordBytes pdf = PDFOf(rec);
    FunctionDialogKit::MarkPdfFileType(pdf, type == kTypeMultiPage || type == kTypeAddToPDF,
                                       type == kTypeAddToPDF);
    FSSpec append = StPDFDialog::kAppendTo.get(pdf);
    if (type == kTypeAddToPDF && append.name[0] != 0 && !SpecResolves(append)) {
      append.name[0] = 0;
      StPDFDialog::kAppendTo.set(pdf, append);
    }
  }
  EnableIf(mAskName, type != kTypeAddToPDF);
}

// ---- Application -------------------------------------------------------------------------

void CFileDialogBox::ShowApplication() {
  FunctionDialogParts::ShowApplication(mAppName, mAppIcon, App(), kStrings, kNoApplicationItem);
}

void CFileDialogBox::SetApplication(const FSSpec& app) {
  for (UInt32 k = 0; k < kRecords; ++k) F::kTargetApp.set(Working(k), app);
  ShowApplication();
}

bool CFileDialogBox::ForgetVanishedApplication() {
  const FSSpec app = App();
  if (app.name[0] == 0 || SpecResolves(app)) return false;
  F::kTargetApp.clear(Working());
  ShowApplication();
  return true;
}

void CFileDialogBox::AdjustMouseSelf(Point, const EventRecord&, RgnHandle) { mDrop->AdjustCursor(); }

// ---- Messages ----------------------------------------------------------------------------

void CFileDialogBox::ListenToMessage(MessageT message, void* param) {
  const bool valued = message != msg_ScanEnded && message != msg_OK && message != msg_Cancel &&
                      message != msg_ApplicationDropped && message != CStitchDialog::msg_StitchClosed &&
                      message != CMainWindow::msg_AskFirst;
  const long value = (valued && param) ? *static_cast<SInt32*>(param) : 0;
  if (FunctionDialogKit::HandleHistoryMessage(this, message, value, mHistory, mName, TabRecord(), F::kHistory,
                                              mHistoryMatch))
    return;
  switch (message) {
    case msg_OK: OnStart(); break;
    case msg_Cancel: OnClose(); break;
    case msg_ScanEnded: OnScanEnded(static_cast<CThreadChecker*>(param)); break;
    case CMainWindow::msg_AskFirst: OnNotices(); break;
    case 'APLY': OnApply(); break;
    case 'DFLT': OnDefaults(); break;
    case 'IMAG': OnImageMode(value); break;
    case 'RESL': OnResolution(value); break;
    case 'SIZE': OnSize(value); break;
    case 'FTYP': OnFileType(value); break;
    case 'DYIN':
      F::kFlag21.set(Working(), UInt8(value));
      F::kFlag21.set(TabRecord(), UInt8(value));
      break;
    case 'PDFS': OnFormatOptions(); break;
    case 'SCT1': {
      CWXUtility::StStopListening quiet(this);
      SetSelect1Button();
      break;
    }
    case 'SCT2': OnChooseApplication(); break;
    case 'LKDL': OnForgetApplication(); break;
    case msg_ApplicationDropped: SetApplication(*static_cast<const FSSpec*>(param)); break;
    case 'EZCB': OnShowDialogBox(value); break;
    case 'EZFN': OnAskName(value); break;
    case 'SPRE': OnPreview(value); break;
    case CStitchDialog::msg_StitchClosed: OnStitchClosed(); break;
    case 'TABS': OnTab(); break;
    default: break;
  }
}

void CFileDialogBox::OnNotices() {
  RecordBytes r = Working();
  if (F::kButtonPending.get(r) == 1) {
    if (!mTabbed) {
      F::kButtonPending.set(Working(1), 0);
    } else if (CWXUtility::EZPDFButtonOnCheckMsg(this) == 1) {
      for (UInt32 k = 0; k < kRecords; ++k) F::kButtonPending.set(Working(k), 0);
    }
  }
  if (PREF_ALL::kLastButton.get(PrefAll()) == 6 && F::kFlag3680.get(r) == 1 &&
      CWXUtility::SkipFavoriteScanCheckMsg(this) == 1) {
    for (UInt32 k = 0; k < kRecords; ++k)
      if (k == 0 || (mTabbed ? k >= 2 : k == 1)) F::kFlag3680.set(Working(k), 0);
  }
}

void CFileDialogBox::OnApply() {
  Str255 name;
  mName->GetDescriptor(name);
  if (!FileNameAccepted(this, name)) return;
  ForgetVanishedApplication();
  RecordBytes r = Working();
  RecordBytes tab = TabRecord();
  StoreFileName(r);
  StoreFileName(tab);
  CWXUtility::CheckHistFileName(name, r, F::kHistory);
  CopyField(F::kHistory, r, tab);
  RecordBytes pdf = PDFOf(r), tabPDF = PDFOf(tab);
  StPDFDialog::kSavedCompression.set(tabPDF, StPDFDialog::kSavedCompression.get(pdf));
  StPDFDialog::kCompression.set(tabPDF, StPDFDialog::kCompression.get(pdf));
  StPDFDialog::kRestricted.set(tabPDF, StPDFDialog::kRestricted.get(pdf));
  Commit();
  ShowButtonIcon(mButton, App());
}

void CFileDialogBox::OnDefaults() {
  CWXUtility::StStopListening quiet(this);
  const bool pending = PagesPending();
  bool reset = true;
  if (pending) {
    reset = Ask(this, kItemDropPendingPages);
    if (reset) FunctionDialogKit::DeletePages(mPendingPages, mPendingExif);
  }
  if (reset) {
    if (!pending) SetSaveToStaticText();
    Prefs_Set(true);
    Prefs_Set(false);
    SetFileNameEditText();
    SetSaveToStaticText();
    SetFolderNameEditText();
    ShowApplication();
  }
  Str255 name;
  GetIndString(name, kStrings, kDefaultNameItem);
  for (RecordBytes rec : {Working(), TabRecord()}) {
    F::kHistory.setEntry(rec, 0, name);
    F::kHistory.setCount(rec, 1);
  }
}

void CFileDialogBox::OnImageMode(long item) {
  CWXUtility::StStopListening quiet(this);
  const long tab = long(Tab());
  RecordBytes rec = TabRecord();
  const long code = GetImageModeFromPopupID(tab, item);
  F::kSetting4.set(rec, UInt32(code));
  F::kSetting4.set(Working(), UInt32(code));
  if (code == 1 && tab != 1) StPDFDialog::kRestricted.set(PDFOf(rec), 1);
  if (tab == 1) StPDFDialog::kRestricted.set(PDFOf(rec), 0);
  StPDFDialog::kRestricted.set(PDFOf(Working()), StPDFDialog::kRestricted.get(PDFOf(rec)));
  SetResolution_Popup();
  SetSize_Popup();
  SetPdfCompress();
}

void CFileDialogBox::OnResolution(long item) {
  CWXUtility::StStopListening quiet(this);
  F::kSetting8.set(Working(), UInt32(item));
  F::kSetting8.set(TabRecord(), UInt32(item));
  SetSize_Popup();
}

void CFileDialogBox::OnSize(long item) {
  CWXUtility::StStopListening quiet(this);
  RecordBytes r = Working();
  RecordBytes tab = TabRecord();
  F::kPaperSize.set(r, UInt32(item));
  F::kPaperSize.set(tab, UInt32(item));
  if (IsStitch()) ClearCorrectionsOfStitch(r, tab);
  if (item == Paper_Size_custom) {
    CWXUtility::EditStoredManuscriptSize(200, this, r, F::kCustomSize);
    CopyField(F::kCustomSize, r, tab);
    FunctionDialogKit::ShowCustomSize(mSize, r, F::kCustomSize);
  }
  SetImageMode_Popup();
  SetResolution_Popup();
}

void CFileDialogBox::OnFileType(long item) {
  CWXUtility::StStopListening quiet(this);
  FileTypePopupMessage_Sub(item);
  SetFileNameEditText();
  SetSaveToStaticText();
  SetFolderNameEditText();
  SetDayInCheckBox();
  SetEZCheckBox();
  SetNameAndSelectAndFolder();
  SetPreviewCheckBox();
}

void CFileDialogBox::OnFormatOptions() {
  CWXUtility::StStopListening quiet(this);
  RecordBytes r = Working();
  StPDFDialog options;
  PDFOf(r).getBytes(0, options.bytes.data(), StPDFDialog::kSize);
  CWXUtility::PDFSetting(300, this, options, 1, 0, F::kFlag20.get(r), IsStitch() ? 1 : 0);
  std::memcpy(PDFOf(r).data(), options.bytes.data(), StPDFDialog::kSize);
  std::memcpy(PDFOf(TabRecord()).data(), options.bytes.data(), StPDFDialog::kSize);
  F::kSetting3676.set(r, StPDFDialog::kOptionCBXP.get(options.view()));
}

void CFileDialogBox::OnChooseApplication() {
  FSSpec chosen{};
  Str255 title;
  GetDescriptor(title);
  if (CWXUtility::ChooseApplication(chosen, title) == 1)
    SetApplication(chosen);
  else
    ShowApplication();
}

void CFileDialogBox::OnForgetApplication() {
  CWXUtility::StStopListening quiet(this);
  if (App().name[0] == 0) return;
  if (CWXUtility::Show_Error(kAlertLayout, this, kAlertList, kItemForgetApplication, 1, 1, nullptr, 0) != msg_OK)
    return;
  SetApplication(FSSpec{});
}

void CFileDialogBox::OnShowDialogBox(long value) {
  CWXUtility::StStopListening quiet(this);
  F::kFlag3673.set(Working(), UInt8(value));
  F::kFlag3673.set(TabRecord(), UInt8(value));
  EnableIf(mAskName, value == 0 && FileType() != kTypeAddToPDF);
}

void CFileDialogBox::OnAskName(long value) {
  CWXUtility::StStopListening quiet(this);
  for (RecordBytes rec : {Working(), TabRecord()}) {
    F::kFlag3674.set(rec, UInt8(value));
    F::kFlag3675.set(rec, UInt8(value));
  }
  EnableIf(mShowDialog, value == 0);
}

void CFileDialogBox::OnPreview(long value) {
  CWXUtility::StStopListening quiet(this);
  if (PagesPending()) {
    if (!Ask(this, kItemDropPendingPages)) {
      mPreview->SetValue(1);
      return;
    }
    FunctionDialogKit::DeletePages(mPendingPages, mPendingExif);
    mWorking = mCommitted;
    value = 0;
    mPreview->SetValue(0);
  }
  for (UInt32 k = 0; k < kRecords; ++k) F::kFlag3672.set(Working(k), UInt8(value));
  // The restored records may differ from what the controls showed.
  Prefs_Set(false);
  SetFileNameEditText();
  SetFolderNameEditText();
  SetSaveToStaticText();
}

void CFileDialogBox::OnTab() {
  Str255 name;
  mName->GetDescriptor(name);
  if (!FileNameAccepted(this, name)) {
    CWXUtility::StStopListening quiet(this);
    mTabs->SetValue(SInt32(mRememberedTab));
    return;
  }
  {
    CWXUtility::StStopListening quiet(this);
    RecordBytes left = Working(1 + mRememberedTab);
    std::memcpy(left.data(), Working().data(), F::kSize);
    StoreFileName(left);
    if (mPanels) mPanels->SwitchToPanel(1, true);
    const UInt32 tab = Tab();
    for (UInt32 k : {0u, 2u, 3u, 4u}) F::kCurrentTab.set(Working(k), tab);
    F::kCurrentTab.set(PREF_ALL::File(0).in(PrefAll()), tab);
    CWXUtility::sTabMode = UInt16(tab);
    std::memcpy(Working().data(), Working(1 + tab).data(), F::kSize);
    mFileType->SetValue(SInt32(F::kSetting16.get(Working())));
    SetFileNameEditText();
  }
  FileTypePopupMessage_Sub(long(F::kSetting16.get(Working())));
  {
    CWXUtility::StStopListening quiet(this);
    SetFolderNameEditText();
  }
  mRememberedTab = Tab();
  Prefs_Set(false);
  Prefs_Set(false);
  Refresh();
}

void CFileDialogBox::OnStitchClosed() {
  mStitchDialog = nullptr;
  if (!IsVisible()) Show();
  if (mButtonRun == 0) return;
  mButtonRun = 0;
  if (mStartingStitch)
    mCloseWhenStarted = true;
  else
    DoClose();
}

void CFileDialogBox::OnClose() {
  if (PagesPending()) {
    if (Ask(this, kItemPendingOnClose)) {
      PreviewRun(nullptr);
      return;
    }
    if (!Ask(this, kItemDropPendingPages)) return;
    FunctionDialogKit::DeletePages(mPendingPages, mPendingExif);
  }
  for (UInt32 k = 0; k < kRecords; ++k) F::kCurrentTab.set(Committed(k), F::kCurrentTab.get(Working(k)));
  mWorking = mCommitted;
  DoClose();
}

void CFileDialogBox::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                       Str255 outName) {
  if (!FunctionDialogKit::DecideCommandWhileScanning(command, mBusy, outEnabled))
    LDialogBox::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
}

// ---- The run -----------------------------------------------------------------------------

bool CFileDialogBox::DiskSpaceSuffices(const FSSpec& destination) {
  RecordBytes r = Working();
  const SDimension16 custom = CWXUtility::StoredScanSize(r, F::kCustomSize);
  sAlertOwner = this;
  const bool enough = CWXUtility::CheckHDSpace(destination, PaperIndex(), ImageModeCode(), 1, Resolution_Value(),
                                               custom, CMainWindow::ProductOf(PrefAll()), IsStitch() ? 1 : 0,
                                               &ShowDiskAlert) != 0;
  sAlertOwner = nullptr;
  return enough;
}

bool CFileDialogBox::BothDisksSuffice() {
  const FSSpec destination =
      FileType() == kTypeAddToPDF ? AppendPDFOf(Working()) : F::kFolder.get(Working());
  return DiskSpaceSuffices(CWXUtility::TempFolderSpec()) && DiskSpaceSuffices(destination);
}

void CFileDialogBox::OnStart() {
  mFirstPass = 1;
  mAppendStarted = 0;
  mPageCount = 0;
  mRunPDF = FSSpec{};
  mRunPDFHasPages = false;
  mRunFailed = false;
  RecordBytes all = PrefAll();
  if (mButtonRun == 1 && mTabbed) {
    const UInt16 button = PREF_ALL::kLastButton.get(all);
    if (button >= 4 && button <= 6 && SInt32(button - 3) != mTabs->GetValue()) {
      mTabs->SetValue(SInt32(button - 3));  // switches the records through "TABS"
    }
    RecordBytes r = Working();
    if (F::kButtonPending.get(r) == 1 && CWXUtility::EZPDFButtonOnCheckMsg(this) == 1)
      for (UInt32 k : {0u, 2u, 3u, 4u}) F::kButtonPending.set(Working(k), 0);
    if (Tab() == 3 && F::kFlag3680.get(r) == 1 && F::kFlag3673.get(r) == 1 &&
        CWXUtility::SkipFavoriteScanCheckMsg(this) == 1)
      for (UInt32 k : {0u, 2u, 3u, 4u}) F::kFlag3680.set(Working(k), 0);
  }
  Str255 name;
  mName->GetDescriptor(name);
  if (mButtonRun == 1 && F::kFlag3675.get(TabRecord()) == 1 &&
      FunctionDialogKit::AskForName(this, Working(), F::kHistory, name) == 1) {
    CWXUtility::StStopListening quiet(this);
    mName->SetDescriptor(name);
  }
  if (!FileNameAccepted(this, name)) {
    SwitchTarget(mName);
    return;
  }
  const UInt32 type = FileType();
  ForgetVanishedApplication();
  RecordBytes r = Working();
  RecordBytes tab = TabRecord();
  for (RecordBytes rec : {r, tab}) (type == kTypeAddToPDF ? F::kFileName : F::kDefaultFileName).set(rec, name);
  CWXUtility::CheckHistFileName(name, r, F::kHistory);
  CopyField(F::kHistory, r, tab);
  Commit();
  ShowButtonIcon(mButton, App());

  if (type == kTypeAddToPDF) {
    if (!AppendPDFChosen()) {
      Alert(this, kItemNoPDFToAddTo);
      FSSpec last = AppendPDFOf(r);
      FSSpec chosen{};
      long answer = 0;
      {
        CWXUtility::StStopListening quiet(this);
        answer = CWXUtility::ChoosePDFFile(chosen, nullptr, last);
      }
      if (answer != 1) return;
      StPDFDialog::kAppendTo.set(PDFOf(r), chosen);
      StPDFDialog::kAppendTo.set(PDFOf(tab), chosen);
      CWXUtility::StStopListening quiet(this);
      SetFileNamePdfAdd();
      SetFileNameEditText();
      SetFolderNameEditText();
      Refresh();
    } else {
      FSSpec pdf = AppendPDFOf(r);
      if (CAddPDFFile::CheckPDFFile(pdf) == 0) return;
    }
    if (F::kFlag3672.get(r) == 0) {
      const LStr255 longName = CWXUtility::GetPDFAddLongName(AppendPDFOf(r));
      if (CWXUtility::Show_Error(kAlertLayout, this, kAlertList, kItemConfirmAddToPDF, 1, 1, longName, 0) != msg_OK)
        return;
    }
    mName->GetDescriptor(name);
  }
  if (!TempFolderReady(all, this)) return;
  if (!BothDisksSuffice()) return;
  Commit();
  const FSSpec folder = F::kFolder.get(r);
  bool writable = CWXUtility::check_permission(&folder, F::kFlag21.get(r)) != 0;
  if (writable && type == kTypeAddToPDF) {
    // The new copy is written beside the chosen PDF.
    const FSSpec pdf = AppendPDFOf(r);
    FSSpec beside{};
    FSMakeFSSpec(pdf.vRefNum, pdf.parID, nullptr, &beside);
    writable = CWXUtility::check_permission(&beside, 0) != 0;
  }
  if (!writable) {
    Alert(this, kItemNoPermission);
    return;
  }
  ShowButtonIcon(mButton, App());
  if (IsStitch())
    StartStitch();
  else
    StartScan();
}

void CFileDialogBox::StartStitch() {
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
  const FSSpec destination = FileType() == kTypeAddToPDF ? AppendPDFOf(r) : F::kFolder.get(r);
  StPDFDialog pdf;
  StJPEGDialog jpeg;
  StOtherDialog pict, tiff;
  PDFOf(r).getBytes(0, pdf.bytes.data(), StPDFDialog::kSize);
  F::kJPEG.in(r).getBytes(0, jpeg.bytes.data(), StJPEGDialog::kSize);
  F::kPICT.in(r).getBytes(0, pict.bytes.data(), StOtherDialog::kSize);
  F::kTIFF.in(r).getBytes(0, tiff.bytes.data(), StOtherDialog::kSize);
  const SDimension16 custom = CWXUtility::StoredScanSize(r, F::kCustomSize);
  // The wizard may report that it closed before it returns.
  mStartingStitch = true;
  mCloseWhenStarted = false;
  CStitchDialog* wizard = CStitchDialog::ShowStitchDialog(
      kCallerFile, PREF_SETTING::kTWAIN.get(setting), model, custom, 1, ImageModeCode(), F::kFlag20.get(r),
      PaperIndex(), Resolution_Value(), this, 0, UInt8(F::kSetting3676.get(r) & 0xFF), App().name[0] != 0 ? 4 : 5,
      this, 0, UInt8(StPDFDialog::kUnused4.get(PDFOf(r)) & 0xFF), destination, CWXUtility::TempFolderSpec(), &pdf,
      &jpeg, &pict, &tiff, F::kFlag3672.get(r), long(F::kCurrentTab.get(r)), kPDF, &mWorking[0]);
  mStartingStitch = false;
  mStitchDialog = wizard;
  if (mCloseWhenStarted) DoClose();
}

void CFileDialogBox::StartScan() {
  RecordBytes r = Working();
  CoverForScan(this);
  SetScanRunning(this, mBusy, 1);
  LaunchBeforeScan(this, App());
  const SDimension16 custom = CWXUtility::StoredScanSize(r, F::kCustomSize);
  const ScanRequest request{kCallerFile, custom,          kPDF,          1, ImageModeCode(), F::kFlag20.get(r),
                            PaperIndex(), Resolution_Value(), UInt8(F::kSetting3676.get(r) & 0xFF)};
  // On the screen before the scanner is opened, which can take seconds.
  ShowScanInfo();
  if (!StartWatchedScan(this, PrefAll(), request)) {
    CloseScanInfo();
    SetScanRunning(this, mBusy, 0);
    UncoverAfterScan(this);
  }
  PREF_ALL::kLastButton.set(PrefAll(), 0);
}

void CFileDialogBox::ShowScanInfo() {
  if (SystemVersion() <= kLastCoveringSystem || mScanInfo) return;
  const UInt32 tab = F::kCurrentTab.get(Working());
  LWindow* window = LWindow::CreateWindow(kInfoLayouts[std::min<UInt32>(tab, 3)], this);
  mScanInfo.reset(dynamic_cast<CScanInfoWindow*>(window));
  if (!mScanInfo) {
    delete window;
    return;
  }
  mScanInfo->SetDisplayData(&mWorking[0], &mWorking[1], &mWorking[2], &mWorking[3], &mWorking[4]);
  mScanInfo->Show();
  mScanInfo->UpdatePort();
  if (IsVisible()) Hide();
}

void CFileDialogBox::CloseScanInfo() {
  const bool had = mScanInfo != nullptr;
  mScanInfo.reset();
  if (had || IsStitch()) {
    if (SystemVersion() <= kLastCoveringSystem && CAppearanceApp::sMainWindow)
      CAppearanceApp::sMainWindow->EnableWindow();
    if (!IsVisible()) Show();
  }
}

UInt8 CFileDialogBox::DefaultNameChosen() {
  Str255 name, defaultName;
  mName->GetDescriptor(name);
  GetIndString(defaultName, kStrings, kDefaultNameItem);
  return SameText(name, defaultName) ? 1 : 0;
}

bool CFileDialogBox::AskForNextPage() {
  CTWAIN::TerminateTWAIN();
  Str255 count;
  NumToString(SInt32(mPageCount), count);
  const bool fourButtons = CWXUtility::Is4ButtonDriver(CMainWindow::ProductOf(PrefAll()));
  for (;;) {
    const SInt32 answer =
        fourButtons ? CWXUtility::Show_Error(kNextPageLayout, this, kAlertList, kItemNextPage, 1, 0, count, 0)
                    : CWXUtility::Show_Error(kNextPageByButtonLayout, this, kAlertList, kItemNextPageByButton, 1, 0,
                                             count, SInt32(Tab()));
    if (answer != msg_OK) return false;
    if (TempFolderReady(PrefAll(), this) && BothDisksSuffice()) break;
  }
  CoverForScan(this);
  SetScanRunning(this, mBusy, 1);
  return true;
}

TArray<FSSpec>* CFileDialogBox::WritePass(CThreadChecker* checker) {
  if (mRunFailed) return nullptr;
  const UInt32 type = FileType();
  if (type == kTypeAddToPDF || (type == kTypeMultiPage && mFirstPass == 0)) return AppendPass(checker);
  RecordBytes r = Working();
  Str255 name;
  mName->GetDescriptor(name);
  StPDFDialog pdf;
  PDFOf(TabRecord()).getBytes(0, pdf.bytes.data(), StPDFDialog::kSize);
  StJPEGDialog jpeg;
  StOtherDialog pict, tiff;
  TArray<FSSpec>* written = CWXUtility::ExportToFile(
      PREF_SETTING::kTWAIN.get(PREF_ALL::kSetting.in(PrefAll())), checker, kPDF, name, F::kFolder.get(r),
      F::kFlag21.get(r), pdf, jpeg, pict, tiff, IsStitch() ? 1 : 0, kCreator, DefaultNameChosen(), 0, 0);
  // A pass that wrote nothing (the exporter has said why) ends a run of several passes.
  if (!written || written->GetCount() == 0) mRunFailed = true;
  if (written && mFirstPass == 1 && written->GetCount() > 0) {
    mRunPDF = (*written)[1];
    mRunPDFHasPages = true;
    mFirstPass = 0;
  }
  return written;
}

TArray<FSSpec>* CFileDialogBox::AppendPass(CThreadChecker* checker) {
  RecordBytes tab = TabRecord();
  StPDFDialog pdf;
  PDFOf(tab).getBytes(0, pdf.bytes.data(), StPDFDialog::kSize);
  std::unique_ptr<TArray<FSSpec>> pieces(PassAsTemporaryPDFs(
      PREF_SETTING::kTWAIN.get(PREF_ALL::kSetting.in(PrefAll())), checker, pdf, DefaultNameChosen(), kCreator));
  auto* written = new TArray<FSSpec>;
  if (!pieces) {
    // Nothing of the pass was written (the exporter has said why): the run ends with what
    // the run PDF holds.
    mRunFailed = true;
    if (mRunPDF.name[0] != 0 && SpecResolves(mRunPDF)) written->AddItem(mRunPDF);
    return written;
  }
  if (FileType() == kTypeAddToPDF && mAppendStarted == 0) {
    Str255 name;
    mName->GetDescriptor(name);
    const FSSpec chosen = AppendPDFOf(tab);
    FSSpec folder{};
    FSMakeFSSpec(chosen.vRefNum, chosen.parID, nullptr, &folder);
    mRunPDF = CWXUtility::CreateNewPDFFile(name, folder, pdf);
    mRunPDFHasPages = false;
    mAppendStarted = 1;
  }
  const AppendOutcome outcome = AppendPieces(mRunPDF, *pieces, kCreator, checker);
  if (outcome == AppendOutcome::kDone) mRunPDFHasPages = true;
  if (outcome != AppendOutcome::kDone) {
    // A copy that holds no page yet goes; pages already in the run PDF stay where they are.
    if (mRunPDF.name[0] != 0 && !mRunPDFHasPages) {
      CWXUtility::DeleteFileWithRetry(mRunPDF);
      mRunPDF = FSSpec{};
    }
    mRunFailed = true;
    Alert(this, kItemOperationFailed);
  }
  if (mRunPDF.name[0] != 0 && SpecResolves(mRunPDF)) written->AddItem(mRunPDF);
  return written;
}

void CFileDialogBox::OnScanEnded(CThreadChecker* checker) {
  if (!checker) return;
  SetScanRunning(this, mBusy, 0);
  UncoverAfterScan(this);
  if (mScanInfo && IsVisible()) Hide();
  CTWAIN* twain = checker->GetTWAIN();
  Scanner* scanner = checker->GetScanner();
  RecordBytes tab = TabRecord();
  if (twain && !IsStitch() && twain->GetResult() == kTransferCancelledInDriverWindow && F::kFlag20.get(tab) != 0) {
    // The driver's window stays up for another scan.
    SetScanRunning(this, mBusy, 1);
    twain->Scan_Continue();
    checker->StartRepeating();
    return;
  }
  if (twain && !IsStitch()) CWXUtility::ShowScannerFault(this, *twain);
  if (F::kFlag3672.get(tab) == 1) {
    PreviewRun(checker);
    return;
  }
  bool morePages = false;
  if (!IsStitch() && StPDFDialog::kUnused4.get(PDFOf(tab)) == 1) {
    if (twain && twain->GetResult() != kTransferFailed) mPageCount += UInt32(twain->GetImageCount());
    if (scanner) mPageCount += UInt32(scanner->GetImageCount());
    if (mPageCount != 0) morePages = AskForNextPage();
  }
  TArray<FSSpec>* written = WritePass(checker);
  if (morePages && !mRunFailed) {
    // The pages of this pass are in the run PDF; the next pass's list replaces this one.
    delete written;
    written = nullptr;
    checker->DataInitialize();
    if (NextPass(checker)) return;
    written = WritePass(checker);
  } else if (morePages) {
    SetScanRunning(this, mBusy, 0);
    UncoverAfterScan(this);
  }
  FinishRun(checker, written);
}

bool CFileDialogBox::NextPass(CThreadChecker* checker) {
  if (FunctionDialogKit::StartNextPass(checker, PrefAll())) {
    Refresh();
    return true;
  }
  UncoverAfterScan(this);
  CloseScanInfo();
  SetScanRunning(this, mBusy, 0);
  return false;
}

bool CFileDialogBox::HandOnOrShow(const TArray<FSSpec>& files) {
  const FSSpec app = PREF_FILE::kTargetApp.get(TabRecord());
  if (app.name[0] != 0) return HandOn(app, files);
  CWXUtility::OpenFolderWithFSSpec(files[1]);
  return false;
}

void CFileDialogBox::FinishRun(CThreadChecker* checker, TArray<FSSpec>* written) {
  std::unique_ptr<TArray<FSSpec>> list(written);
  CTWAIN* twain = checker->GetTWAIN();
  const short result = twain ? twain->GetResult() : 0;
  FunctionDialogKit::DeleteRunObjects(checker);
  Refresh();
  if (CAppearanceApp::sMainWindow) CAppearanceApp::sMainWindow->Refresh();
  bool handedOn = false;
  if (list && list->GetCount() > 0) {
    handedOn = HandOnOrShow(*list);
  } else if (mPageCount != 0 && mRunPDF.name[0] != 0 && SpecResolves(mRunPDF)) {
    TArray<FSSpec> runPDF;
    runPDF.AddItem(mRunPDF);
    handedOn = HandOnOrShow(runPDF);
  }
  list.reset();
  mPageCount = 0;
  CloseScanInfo();
  // The wizard closes itself once it has handed over; only its pointer is left here.
  mStitchDialog = nullptr;
  if (IsVisible()) Activate();
  if (mButtonRun == 1) {
    EndButtonRun(result);
    return;
  }
  if (handedOn) DoClose();
}

void CFileDialogBox::EndButtonRun(short result) {
  mButtonRun = 0;
  if (result != kTransferCancelledInDriverWindow &&
      PREF_SETTING::kQuitOption.get(PREF_ALL::kSetting.in(PrefAll())) == 1) {
    ProcessCommand(kCommandQuit);
    return;
  }
  DoClose();
}

void CFileDialogBox::PreviewRun(CThreadChecker* checker) {
  CTWAIN* twain = checker ? checker->GetTWAIN() : nullptr;
  RecordBytes r = Working();
  RecordBytes tab = TabRecord();
  if (checker && !IsStitch() && StPDFDialog::kUnused4.get(PDFOf(tab)) == 1) {
    if (twain && twain->GetResult() != kTransferFailed) mPageCount = UInt32(twain->GetImageCount());
    if (Scanner* scanner = checker->GetScanner()) mPageCount = UInt32(scanner->GetImageCount());
    // The pages of every pass go to the preview together.
    if (mPageCount > 0 && AskForNextPage() && NextPass(checker)) return;
  }
  if (twain) twain->DisableDS();
  const FSSpec pdfBefore = AppendPDFOf(r);
  CloseScanInfo();
  StPDFDialog pdf;
  StJPEGDialog jpeg;
  StOtherDialog pict, tiff;
  PDFOf(r).getBytes(0, pdf.bytes.data(), StPDFDialog::kSize);
  F::kJPEG.in(r).getBytes(0, jpeg.bytes.data(), StJPEGDialog::kSize);
  F::kPICT.in(r).getBytes(0, pict.bytes.data(), StOtherDialog::kSize);
  F::kTIFF.in(r).getBytes(0, tiff.bytes.data(), StOtherDialog::kSize);
  FSSpec folder = F::kFolder.get(r);
  unsigned char dated = F::kFlag21.get(r);
  long fileType = long(F::kSetting16.get(r));
  Str255 name, field;
  mName->GetDescriptor(field);
  if (checker)
    F::kDefaultFileName.get(tab, name);
  else
    mName->GetDescriptor(name);
  const bool noApplication = App().name[0] == 0;
  TArray<FSSpec>* written = nullptr;
  const MessageT answer = CPreviewDialog::ShowPreviewDialog(
      PREF_SETTING::kTWAIN.get(PREF_ALL::kSetting.in(PrefAll())), checker, &mPendingPages, &mPendingExif, this, folder,
      dated, name, &pdf, &jpeg, &pict, &tiff, fileType, kCallerFile, kCreator, &written, 0, 0, nullptr, nullptr,
      checker ? field : nullptr, IsStitch() ? 1 : 0, checker && noApplication ? 1 : 0,
      checker ? App().name[0] : 0);
  std::unique_ptr<TArray<FSSpec>> list(written);
  mPageCount = 0;
  F::kFolder.set(r, folder);
  F::kFlag21.set(r, dated);
  F::kSetting16.set(r, UInt32(fileType));
  std::memcpy(PDFOf(r).data(), pdf.bytes.data(), StPDFDialog::kSize);
  std::memcpy(F::kJPEG.in(r).data(), jpeg.bytes.data(), StJPEGDialog::kSize);
  std::memcpy(F::kPICT.in(r).data(), pict.bytes.data(), StOtherDialog::kSize);
  std::memcpy(F::kTIFF.in(r).data(), tiff.bytes.data(), StOtherDialog::kSize);
  FunctionDialogKit::ReloadDefaultExif(PrefAll());
  const FSSpec pdfAfter = AppendPDFOf(r);
  if (pdfAfter.vRefNum != pdfBefore.vRefNum || pdfAfter.parID != pdfBefore.parID ||
      !SameText(pdfAfter.name, pdfBefore.name))
    SetFileNamePdfAdd();
  {
    CWXUtility::StStopListening quiet(this);
    mDayFolder->SetValue(dated);
    mFileType->SetValue(SInt32(fileType));
    SetFolderNameEditText();
    if (checker) {
      SetFileNameEditText();
      SetSaveToStaticText();
      SetDayInCheckBox();
      SetEZCheckBox();
    }
    if (StPDFDialog::kLanguageOption.get(PDFOf(r)) == 0) StPDFDialog::kOptionCBXT.set(PDFOf(r), 0);
    F::kFolder.set(tab, F::kFolder.get(r));
    F::kFlag21.set(tab, dated);
    F::kSetting16.set(tab, UInt32(fileType));
    std::memcpy(PDFOf(tab).data(), PDFOf(r).data(), StPDFDialog::kSize);
  }
  if (!checker) {
    if (answer == 'SEND' && list && list->GetCount() > 0 && !noApplication) HandOn(App(), *list);
    return;
  }
  const short result = twain ? twain->GetResult() : 0;
  FunctionDialogKit::DeleteRunObjects(checker);
  Refresh();
  if (CAppearanceApp::sMainWindow) CAppearanceApp::sMainWindow->Refresh();
  mStitchDialog = nullptr;
  bool handedOn = false;
  if (list && list->GetCount() > 0) handedOn = HandOnOrShow(*list);
  list.reset();
  if (IsVisible()) Activate();
  if (mButtonRun == 1) {
    if (answer == 'RTUN') {
      // Scanned, unsaved pages stay pending with the dialog open.
      mButtonRun = 0;
      return;
    }
    mButtonRun = 0;
    if (answer != msg_Cancel && result != kTransferCancelledInDriverWindow &&
        PREF_SETTING::kQuitOption.get(PREF_ALL::kSetting.in(PrefAll())) == 1) {
      ProcessCommand(kCommandQuit);
      return;
    }
    if (F::kFlag3672.get(r) != 1) DoClose();
    return;
  }
  if (handedOn) DoClose();
}

void CFileDialogBox::Click(SMouseDownEvent& event) {
  if (UProcess::BringSelfToFront()) Activate();
  LDialogBox::Click(event);
}

void CFileDialogBox::ClickInTitleBar(const EventRecord& event) {
  UProcess::BringSelfToFront();
  LDialogBox::ClickInTitleBar(event);
}
