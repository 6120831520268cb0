#include "dialogs/file/CMailDialogBox.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "app/CAppButton.h"
#include "app/CAppearanceApp.h"
#include "app/CCicnButton.h"
#include "app/CMainWindow.h"
#include "app/FunctionDialogRun.h"
#include "output/hub/UProcess.h"
#include "prefs/LanguageTables.h"
#include "prefs/MailApplications.h"
#include "prefs/WXDefaultDir.h"
#include "prefs/WXModels.h"
#include "dialogs/file/FunctionDialogParts.h"
#include "dialogs/file/PdfAppendPass.h"
#include "dialogs/file/PdfAppendRoad.h"
#include "dialogs/file/WatchedScan.h"
#include "dialogs/file/RecordFormatOptions.h"
#include "dialogs/file/ScanSettingRules.h"
#include "framework/LControl.h"
#include "framework/LEditText.h"
#include "framework/LPopupButton.h"
#include "framework/UReanimator.h"
#include "output/export/WXChoosers.h"
#include "output/export/WXExport.h"
#include "output/export/WXMailer.h"
#include "output/glue/CAddPDFFile.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hub/WXLaunch.h"
#include "output/hubdialogs/CWXUtility.h"
#include "output/hubdialogs/WXScan.h"
#include "preview/CPreviewDialog.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

using namespace FunctionDialogParts;
using FunctionDialogKit::Alert;
using FunctionDialogKit::Ask;
using FunctionDialogKit::FileNameAccepted;

namespace {

constexpr ResIDT kLayout = 2000;
constexpr ResIDT kStrings = 2000;
constexpr ResIDT kApplicationStrings = 2100;
enum : SInt16 { kDefaultNameItem = 1, kSaveToItem = 2, kAddToItem = 3, kLostApplicationItem = 1 };
enum : ResIDT {
  kModeMenu = 2000,
  kSizeMenu = 2001,
  kLimitMenu = 2002,
  kResolutionMenu = 2003,
  kFileTypeMenu = 2004,
};
enum : UInt32 { kTypeJPEG = 1, kTypePDF = 2, kTypeMultiPDF = 3, kTypeAddToPDF = 4 };
constexpr UInt32 kResolutionItems = ScanSettingRules::kResolutionItems;
enum : SInt32 {
  kItemOperationFailed = 3,
  kItemNextPage = 7,
  kItemDropPendingPages = 8,
  kItemNoPermission = 13,
  kItemNoApplication = 17,
  kItemPendingOnClose = 27,
  kItemConfirmAddToPDF = 31,
  kItemNoPDFToAddTo = 32,
};
constexpr SInt16 kAlertLayout = 400;
constexpr SInt16 kNextPageLayout = 350;
enum : CommandT { kCommandQuit = 10 };
constexpr long kCallerMail = 3;
constexpr OSType kCreator = 'prvw';
enum : short { kTransferFailed = 1, kTransferCancelled = 3 };
constexpr long kBlackAndWhite = 1, kGrey = 2;
constexpr long kFirstHighResolution = 400;

// The custom size is the last item: after the table's rows up to the first stitch row.
long CustomItem() { return IS_J ? 13 : 8; }

OSType FileTypeCode(UInt32 type) { return type == kTypeJPEG ? 'JPEG' : 'PDF '; }

// Bytes a file may have, by the size-limit item.
long SizeLimit(UInt32 item) {
  switch (item) {
    case 1: return 153600;
    case 2: return 307200;
    case 3: return 614400;
    default: return 921600;
  }
}

// The estimate behind the resolutions offered: bits a pixel, and how far JPEG compresses.
double EstimatedBits(long code) {
  if (code == 1) return 1;
  if (code == 2 || code == 7) return 8;
  return 24;
}
double EstimatedRatio(long code) { return (code == 2 || code == 7) ? 0.2 : 0.08; }

// The dialog that shows the disk checks' alerts.
LCommander* sAlertOwner = nullptr;
void ShowDiskAlert(long item) { Alert(sAlertOwner, item); }

using FormatOptions = RecordFormatOptions<PREF_MAIL>;

RecordBytes PDFOf(RecordBytes r) { return PREF_MAIL::kPDF.in(r); }

}  // namespace

CMailDialogBox::CMailDialogBox(LStream* stream) : LDialogBox(stream), CPreferences(PREFS_FILE_NAME, 0) {}

CMailDialogBox::~CMailDialogBox() {
  Save_Setting();
  DeletePendingPages();
  if (CAppearanceApp::sApplication) CAppearanceApp::sApplication->mFunctionDialogOpen = 0;
}

void CMailDialogBox::FinishCreateSelf() {
  LDialogBox::FinishCreateSelf();
  mImage = CWXUtility::FindPaneAs<LPopupButton>(this, 'IMAG');
  mResolution = CWXUtility::FindPaneAs<LPopupButton>(this, 'RESL');
  mSize = CWXUtility::FindPaneAs<LPopupButton>(this, 'SIZE');
  mLimit = CWXUtility::FindPaneAs<LPopupButton>(this, 'FMAX');
  mFileType = CWXUtility::FindPaneAs<LPopupButton>(this, 'FTYP');
  mDriverWindow = CWXUtility::FindPaneAs<LControl>(this, 'UION');
  mDayFolder = CWXUtility::FindPaneAs<LControl>(this, 'DYIN');
  mOptions = CWXUtility::FindPaneAs<LControl>(this, 'PDFS');
  mSelect = CWXUtility::FindPaneAs<LControl>(this, 'SCT1');
  CWXUtility::FindPaneAs<LControl>(this, 'SCT2');
  mName = CWXUtility::FindPaneAs<LEditText>(this, 'FNAM');
  mFolder = CWXUtility::FindPaneAs<LPane>(this, 'FOLD');
  mSaveTo = CWXUtility::FindPaneAs<LPane>(this, 'TOTX');
  mAppName = CWXUtility::FindPaneAs<LPane>(this, 'SCNA');
  mAppIcon = CWXUtility::FindPaneAs<CCicnButton>(this, 'AICN');
  mPreview = CWXUtility::FindPaneAs<LControl>(this, 'SPRE');
  mAskName = CWXUtility::FindPaneAs<LControl>(this, 'EZFN');
  mHistory = CWXUtility::FindPaneAs<LPopupButton>(this, 'PuFN');
  for (PaneIDT id : {PaneIDT('OKBT'), PaneIDT('CNCL'), PaneIDT('APLY'), PaneIDT('DFLT')})
    CWXUtility::FindPaneAs<LPane>(this, id);
  mDrop = std::make_unique<CAppDropArea>(this, mAppName, this);

  UReanimator::LinkListenerToControls(this, this, kLayout);
  mImage->SetMenuID(kModeMenu);
  mResolution->SetMenuID(kResolutionMenu);
  mSize->SetMenuID(kSizeMenu);
  mLimit->SetMenuID(kLimitMenu);
  mFileType->SetMenuID(kFileTypeMenu);
  mJPEGWithdrawn = 0;
  mPageCount = 0;
  Load_Setting();
  if (ForgetVanishedApplication()) {
    mRestore = mWorking;
    Save_Setting();
  }
  RecordBytes r = Working();
  if (!SpecResolves(PREF_MAIL::kFolder.get(r))) {
    FSSpec fallback{};
    CWXUtility::Get_Default_Dir(&fallback);
    PREF_MAIL::kFolder.set(r, fallback);
  }
  if (!PDFChosen()) PDFOf(r).setU8(StPDFDialog::kAppendTo.off + 6, 0);
  {
    CWXUtility::StStopListening quiet(this);
    SetSaveToStaticText();
    SetFolderNameEditText();
    SetFileNameEditText();
  }
  ShowApplication();
  mRestore = mWorking;
  mBusy = 0;
  CWXUtility::sIsQuellaneOpened = 0;
  mAutoStart = 0;
}

void CMailDialogBox::SetMainWindowButton(CAppButton* button) {
  mButton = button;
  if (!ForgetVanishedApplication()) return;
  StoreName(FileType());
  CommitWorking();
  ShowButtonIcon(mButton, App());
}

// ---- Record -------------------------------------------------------------------------------

void CMailDialogBox::Load_Setting() {
  PREF_ALL::kMail.in(PrefAll()).getBytes(0, mWorking.bytes.data(), PREF_MAIL::kSize);
  Prefs_Set(false);
  Prefs_Set(false);
}

void CMailDialogBox::Save_Setting() {
  std::memcpy(PREF_ALL::kMail.in(PrefAll()).data(), mWorking.bytes.data(), PREF_MAIL::kSize);
}

void CMailDialogBox::CommitWorking() {
  mRestore = mWorking;
  Save_Setting();
}

void CMailDialogBox::Prefs_Set(bool factory) {
  RecordBytes r = Working();
  if (factory) {
    const UInt32 tag = PREF_MAIL::kTag.get(r);
    RecordBytes defaults = Set_Default_Mail();
    std::memcpy(r.data(), defaults.data(), PREF_MAIL::kSize);
    mPreview->Enable();
    PREF_MAIL::kTag.set(r, tag);
  }
  CWXUtility::StStopListening quiet(this);
  mDriverWindow->SetValue(PREF_MAIL::kCheckUION.get(r) ? 1 : 0);
  mDayFolder->SetValue(PREF_MAIL::kCheckDYIN.get(r) ? 1 : 0);
  mPreview->SetValue(PREF_MAIL::kCheckAIRE.get(r) ? 1 : 0);
  mAskName->SetValue(PREF_MAIL::kCheckEZFN.get(r) ? 1 : 0);
  SetImageMode_Popup();
  SetFileType_Popup();
  SetResolution_Popup();
  SetSize_Popup();
  SetFileMax_Popup();
  SetPdfButton();
  SetUIonBox();
  SetNameAndSelectAndFolder();
  SetPreviewCheckBox();
  SetDayInCheckBox();
  SetEZCheckBox();
}

UInt32 CMailDialogBox::FileType() const { return UInt32(mFileType->GetValue()); }

long CMailDialogBox::ImageCode() const { return ScanSettingRules::ImageModeOfItem(mImage->GetValue(), 1); }

long CMailDialogBox::GetImageMode(long item) { return ScanSettingRules::ImageModeOfItem(item, 1); }

long CMailDialogBox::GetImageModePopupNum(long code) { return ScanSettingRules::ItemOfImageMode(code, 1); }

long CMailDialogBox::Resolution_Value() { return ScanSettingRules::ResolutionOfItem(mResolution->GetValue(), 1); }

FSSpec CMailDialogBox::App() { return PREF_MAIL::kMailApp.get(Working()); }

bool CMailDialogBox::ForgetVanishedApplication() {
  if (!AppSet() || SpecResolves(App())) return false;
  ForgetMailApplication(Working());
  ShowApplication();
  return true;
}

void CMailDialogBox::ShowApplication() {
  RecordBytes r = Working();
  FunctionDialogParts::ShowApplication(mAppName, mAppIcon, App(), kApplicationStrings, kLostApplicationItem);
  if (!AppSet() && !MailApplicationLost(r)) {
    Str255 none{};
    mAppName->SetDescriptor(none);
  }
}

bool CMailDialogBox::PDFChosen() {
  const FSSpec pdf = StPDFDialog::kAppendTo.get(PDFOf(Working()));
  return SpecResolves(pdf);
}

long CMailDialogBox::PaperIndex() {
  const long item = mSize->GetValue();
  return item == CustomItem() ? long(Paper_Size_custom) : item;
}

void CMailDialogBox::StoreName(UInt32 fileType) {
  Str255 name;
  mName->GetDescriptor(name);
  RecordBytes r = Working();
  if (fileType == kTypeAddToPDF && StPDFDialog::kAppendTo.get(PDFOf(r)).name[0] != 0)
    PREF_MAIL::kFileName.set(r, name);
  else
    PREF_MAIL::kDefaultFileName.set(r, name);
}

void CMailDialogBox::KeepApplicationList() {
  RecordBytes from = Working();
  RecordBytes to = Restore();
  PREF_MAIL::kMailAppCount.set(to, PREF_MAIL::kMailAppCount.get(from));
  std::memcpy(to.data() + PREF_MAIL::kMailApps.off, from.data() + PREF_MAIL::kMailApps.off, PREF_MAIL::kMailApps.size);
}

// ---- Setters ------------------------------------------------------------------------------

void CMailDialogBox::SetImageMode_Popup() {
  RecordBytes r = Working();
  mImage->SetMenuID(kModeMenu);
  const UInt32 item = ShowStoredItem(mImage, UInt32(GetImageModePopupNum(long(PREF_MAIL::kSetting0.get(r)))));
  PREF_MAIL::kSetting0.set(r, UInt32(GetImageMode(long(item))));
  EnableIf(mImage, PREF_MAIL::kCheckUION.get(r) == 0);
}

void CMailDialogBox::SetJpeg_Compression() {
  RecordBytes r = Working();
  const long code = ImageCode();
  const long size = mSize->GetValue();
  const double pixels = double(SizeLimit(UInt32(mLimit->GetValue()))) * (8.0 / EstimatedBits(code)) /
                        EstimatedRatio(code);
  long width = 0, height = 0;
  if (size == CustomItem()) {
    width = PREF_MAIL::kCustomSize.width(r);
    height = PREF_MAIL::kCustomSize.height(r);
  } else {
    const PaperSizeRow row = PaperSizeAt(size);
    width = row.width;
    height = row.height;
  }
  UInt32 item = PREF_MAIL::kSetting4.get(r);
  for (UInt32 i = 1; i <= kResolutionItems; ++i) {
    const double dpi = double(ScanSettingRules::ResolutionOfItem(long(i), 1));
    const double area = double(CWXUtility::mm10_to_pixel(width, dpi)) * double(CWXUtility::mm10_to_pixel(height, dpi));
    if (area < pixels) continue;
    if (i > 1) mResolution->DisableItem(SInt16(i));
    if (item >= i) item = i > 1 ? i - 1 : 1;
  }
  PREF_MAIL::kSetting4.set(r, item);
}

void CMailDialogBox::SetResolution_Popup() {
  RecordBytes r = Working();
  mResolution->SetMenuID(kResolutionMenu);
  if (PREF_MAIL::kCheckUION.get(r) != 0) {
    // The driver's window chooses; the stored choice shows, disabled.
    PREF_MAIL::kSetting4.set(r, ShowStoredItem(mResolution, PREF_MAIL::kSetting4.get(r)));
    mResolution->Disable();
    return;
  }
  for (UInt32 i = 1; i <= kResolutionItems; ++i) mResolution->EnableItem(SInt16(i));
  PREF_MAIL::kSetting4.set(r, std::clamp<UInt32>(PREF_MAIL::kSetting4.get(r), 1, kResolutionItems));
  const long code = ImageCode();
  const UInt32 type = FileType();
  if (type == kTypeJPEG && code != 5 && code != 6) SetJpeg_Compression();
  ScanSettingRules::ResolutionSetting setting{};
  setting.item = PREF_MAIL::kSetting4.get(r);
  setting.fileType = type == kTypeJPEG ? ScanSettingRules::kTypeJPEG : ScanSettingRules::kTypeFirstPDF;
  setting.imageMode = code;
  const ScanSettingRules::ResolutionChoice choice = ScanSettingRules::ChooseResolution(setting);
  for (UInt32 i = 1; i <= kResolutionItems; ++i)
    if (!choice.Enabled(i)) mResolution->DisableItem(SInt16(i));
  PREF_MAIL::kSetting4.set(r, choice.item);
  mResolution->SetValue(SInt32(choice.item));
  mResolution->Enable();
}

void CMailDialogBox::SetSize_Popup() {
  RecordBytes r = Working();
  mSize->SetMenuID(kSizeMenu);
  PREF_MAIL::kPaperSize.set(r, ShowStoredItem(mSize, PREF_MAIL::kPaperSize.get(r)));
  const long code = ImageCode();
  EnableIf(mSize, code != 5 && code != 6 && PREF_MAIL::kCheckUION.get(r) == 0);
  if (CustomItem() > mSize->CountMenuItems()) return;
  StDescriptDialog custom;
  custom.width = PREF_MAIL::kCustomSize.width(r);
  custom.height = PREF_MAIL::kCustomSize.height(r);
  custom.unit = SInt32(PREF_MAIL::kCustomSize.unit(r));
  Str255 text;
  CWXUtility::ManuscriptPrefToString(custom, text);
  mSize->SetMenuItemText(SInt16(CustomItem()), text);
}

void CMailDialogBox::SetFileMax_Popup() {
  RecordBytes r = Working();
  PREF_MAIL::kSetting12.set(r, ShowStoredItem(mLimit, PREF_MAIL::kSetting12.get(r)));
  EnableIf(mLimit, FileType() == kTypeJPEG && PREF_MAIL::kCheckUION.get(r) == 0);
}

void CMailDialogBox::SetFileType_Popup() {
  RecordBytes r = Working();
  const UInt32 stored = PREF_MAIL::kSetting16.get(r);
  UInt32 type = ShowStoredItem(mFileType, stored);
  for (UInt32 i = kTypePDF; i <= kTypeAddToPDF; ++i) mFileType->EnableItem(SInt16(i));
  const long code = ImageCode();
  if (code == kBlackAndWhite && PREF_MAIL::kCheckUION.get(r) == 0) {
    mFileType->DisableItem(kTypeJPEG);
    if (type == kTypeJPEG) {
      type = kTypePDF;
      mJPEGWithdrawn = 1;
    }
  } else {
    mFileType->EnableItem(kTypeJPEG);
    if (code != kBlackAndWhite && mJPEGWithdrawn == 1) {
      type = kTypeJPEG;
      mJPEGWithdrawn = 0;
    }
  }
  if (type != stored) {
    PREF_MAIL::kSetting16.set(r, type);
    mFileType->SetValue(SInt32(type));
    SetFileMax_Popup();
  }
  mFileType->Enable();
}

void CMailDialogBox::SetPdfCompress() {
  RecordBytes pdf = PDFOf(Working());
  if (ImageCode() == kBlackAndWhite) {
    StPDFDialog::kSavedCompression.set(pdf, StPDFDialog::kCompression.get(pdf));
    StPDFDialog::kCompression.set(pdf, 1);
    StPDFDialog::kRestricted.set(pdf, 1);
  } else if (StPDFDialog::kRestricted.get(pdf) == 1) {
    StPDFDialog::kCompression.set(pdf, StPDFDialog::kSavedCompression.get(pdf));
    StPDFDialog::kRestricted.set(pdf, 0);
  }
}

void CMailDialogBox::SetFileNamePdfAdd() {
  RecordBytes r = Working();
  Str255 name;
  NewCopyName(StPDFDialog::kAppendTo.get(PDFOf(r)), SInt16(mName->GetMaxChars()), name);
  PREF_MAIL::kFileName.set(r, name);
}

void CMailDialogBox::SetFileNameEditText() {
  RecordBytes r = Working();
  Str255 name;
  if (FileType() == kTypeAddToPDF && StPDFDialog::kAppendTo.get(PDFOf(r)).name[0] != 0)
    PREF_MAIL::kFileName.get(r, name);
  else
    PREF_MAIL::kDefaultFileName.get(r, name);
  mName->SetDescriptor(name);
}

void CMailDialogBox::ShowFolderOfFileTypes() {
  RecordBytes r = Working();
  if (!SpecResolves(PREF_MAIL::kFolder.get(r))) {
    FSSpec fallback{};
    CWXUtility::Get_Default_Dir(&fallback);
    PREF_MAIL::kFolder.set(r, fallback);
  }
  ShowShortPath(mFolder, PREF_MAIL::kFolder.get(r));
}

void CMailDialogBox::SetFolderNameEditText() {
  if (FileType() != kTypeAddToPDF) {
    ShowFolderOfFileTypes();
    return;
  }
  RecordBytes pdf = PDFOf(Working());
  if (!PDFChosen()) pdf.setU8(StPDFDialog::kAppendTo.off + 6, 0);
  const FSSpec chosen = StPDFDialog::kAppendTo.get(pdf);
  if (chosen.name[0] == 0) {
    Str255 none{};
    mFolder->SetDescriptor(none);
    return;
  }
  ShowShortPath(mFolder, chosen);
}

void CMailDialogBox::SetSaveToStaticText() {
  Str255 text;
  GetIndString(text, kStrings, FileType() == kTypeAddToPDF ? kAddToItem : kSaveToItem);
  mSaveTo->SetDescriptor(text);
}

void CMailDialogBox::SetDayInCheckBox() { EnableIf(mDayFolder, FileType() != kTypeAddToPDF); }

void CMailDialogBox::SetEZCheckBox() {
  if (FileType() != kTypeAddToPDF) {
    mAskName->Enable();
    return;
  }
  RecordBytes r = Working();
  PREF_MAIL::kCheckEZFN.set(r, 0);
  PREF_MAIL::kFlag21601.set(r, 0);
  mAskName->SetValue(0);
  mAskName->Disable();
}

void CMailDialogBox::SetPdfButton() { mOptions->Enable(); }
void CMailDialogBox::SetUIonBox() { mDriverWindow->Enable(); }
void CMailDialogBox::SetPreviewCheckBox() { mPreview->Enable(); }

void CMailDialogBox::SetNameAndSelectAndFolder() {
  mName->Enable();
  mSelect->Enable();
  mFolder->Enable();
}

void CMailDialogBox::SetSelect1Button() {
  RecordBytes r = Working();
  Str255 title;
  GetDescriptor(title);
  if (FileType() != kTypeAddToPDF) {
    FSSpec folder = PREF_MAIL::kFolder.get(r);
    FSSpec chosen{};
    if (CWXUtility::ChooseFolder(chosen, title, folder) != 1) return;
    PREF_MAIL::kFolder.set(r, chosen);
    SetFolderNameEditText();
    return;
  }
  FSSpec last = StPDFDialog::kAppendTo.get(PDFOf(r));
  FSSpec chosen{};
  if (CWXUtility::ChoosePDFFile(chosen, title, last) != 1) return;
  StPDFDialog::kAppendTo.set(PDFOf(r), chosen);
  SetFileNamePdfAdd();
  SetFileNameEditText();
  SetFolderNameEditText();
}

// ---- Control messages ----------------------------------------------------------------------

void CMailDialogBox::ListenToMessage(MessageT message, void* param) {
  const bool valued = message != msg_ScanEnded && message != msg_OK && message != msg_Cancel &&
                      message != msg_ApplicationDropped;
  const long value = (valued && param) ? *static_cast<SInt32*>(param) : 0;
  RecordBytes r = Working();
  if (FunctionDialogKit::HandleHistoryMessage(this, message, value, mHistory, mName, r, PREF_MAIL::kHistory,
                                              mHistoryMatch))
    return;
  switch (message) {
    case msg_OK: OnStart(); break;
    case msg_Cancel: OnClose(); break;
    case msg_ScanEnded: OnScanEnded(static_cast<CThreadChecker*>(param)); break;
    case 'APLY': OnApply(); break;
    case 'DFLT': OnDefaults(); break;
    case 'IMAG': OnImageMode(value); break;
    case 'RESL': PREF_MAIL::kSetting4.set(r, UInt32(value)); break;
    case 'SIZE': OnSize(value); break;
    case 'FMAX': {
      CWXUtility::StStopListening quiet(this);
      PREF_MAIL::kSetting12.set(r, UInt32(value));
      SetResolution_Popup();
      break;
    }
    case 'FTYP': OnFileType(value); break;
    case 'UION': OnDriverWindow(value); break;
    case 'DYIN': PREF_MAIL::kCheckDYIN.set(r, UInt8(value)); break;
    case 'EZFN':
      PREF_MAIL::kCheckEZFN.set(r, UInt8(value));
      PREF_MAIL::kFlag21601.set(r, UInt8(value));
      break;
    case 'SPRE': OnPreview(value); break;
    case 'PDFS': OnFormatOptions(); break;
    case 'SCT1': {
      CWXUtility::StStopListening quiet(this);
      SetSelect1Button();
      break;
    }
    case 'SCT2': ChooseMailApplication(); break;
    case msg_ApplicationDropped: OnApplicationDropped(*static_cast<const FSSpec*>(param)); break;
    default: break;
  }
}

void CMailDialogBox::OnImageMode(long item) {
  CWXUtility::StStopListening quiet(this);
  PREF_MAIL::kSetting0.set(Working(), UInt32(GetImageMode(item)));
  SetFileType_Popup();
  SetResolution_Popup();
  SetSize_Popup();
  SetPdfButton();
  SetPdfCompress();
  SetUIonBox();
}

void CMailDialogBox::OnSize(long item) {
  CWXUtility::StStopListening quiet(this);
  RecordBytes r = Working();
  PREF_MAIL::kPaperSize.set(r, UInt32(item));
  if (item == CustomItem()) {
    CWXUtility::EditStoredManuscriptSize(200, this, r, PREF_MAIL::kCustomSize);
    SetSize_Popup();
  }
  SetResolution_Popup();
}

void CMailDialogBox::OnFileType(long item) {
  CWXUtility::StStopListening quiet(this);
  RecordBytes r = Working();
  StoreName(PREF_MAIL::kSetting16.get(r));
  PREF_MAIL::kSetting16.set(r, UInt32(item));
  RecordBytes pdf = PDFOf(r);
  FunctionDialogKit::MarkPdfFileType(pdf, item == kTypeMultiPDF || item == kTypeAddToPDF, item == kTypeAddToPDF);
  if (item == kTypeAddToPDF && !PDFChosen()) pdf.setU8(StPDFDialog::kAppendTo.off + 6, 0);
  SetFileNameEditText();
  SetSaveToStaticText();
  SetFolderNameEditText();
  SetDayInCheckBox();
  SetEZCheckBox();
  SetPdfButton();
  SetUIonBox();
  SetResolution_Popup();
  SetFileMax_Popup();
  SetNameAndSelectAndFolder();
  SetPreviewCheckBox();
}

void CMailDialogBox::OnDriverWindow(long value) {
  CWXUtility::StStopListening quiet(this);
  PREF_MAIL::kCheckUION.set(Working(), UInt8(value));
  if (value) EXIF_PREF::kColourPage.set(PREF_ALL::kExif.in(PrefAll()), 2);
  SetImageMode_Popup();
  SetFileType_Popup();
  SetResolution_Popup();
  SetSize_Popup();
  SetFileMax_Popup();
}

void CMailDialogBox::OnPreview(long value) {
  CWXUtility::StStopListening quiet(this);
  RecordBytes r = Working();
  if (mPages.GetCount() > 0) {
    if (!Ask(this, kItemDropPendingPages)) {
      mPreview->SetValue(1);
      return;
    }
    DeletePendingPages();
    // Every control shows the restored record, so no later run mixes the two.
    mWorking = mRestore;
    Prefs_Set(false);
    SetFileNameEditText();
    SetFolderNameEditText();
    SetSaveToStaticText();
    ShowApplication();
    mPreview->SetValue(0);
    PREF_MAIL::kCheckAIRE.set(r, 0);
    return;
  }
  PREF_MAIL::kCheckAIRE.set(r, UInt8(value));
  SetDayInCheckBox();
  SetEZCheckBox();
  SetFileType_Popup();
  SetPdfButton();
  SetNameAndSelectAndFolder();
}

void CMailDialogBox::OnFormatOptions() {
  CWXUtility::StStopListening quiet(this);
  RecordBytes r = Working();
  const UInt8 driverWindow = PREF_MAIL::kCheckUION.get(r);
  FormatOptions options(r);
  if (FileType() == kTypeJPEG) {
    CWXUtility::JPEGSetting(310, this, options.jpeg, 0, 0, driverWindow, 0);
    options.StoreInto(r);
    PREF_MAIL::kSetting21604.set(r, StJPEGDialog::kOptionPRB.get(options.jpeg.view()));
    return;
  }
  CWXUtility::PDFSetting(300, this, options.pdf, 0, 0, driverWindow, 0);
  options.StoreInto(r);
  PREF_MAIL::kSetting21604.set(r, StPDFDialog::kOptionCBXP.get(options.pdf.view()));
}

bool CMailDialogBox::ChooseMailApplication() {
  RecordBytes r = Working();
  std::array<FSSpec, PREF_MAIL::kMaxMailApps> known{};
  UInt32 count = PREF_MAIL::kMailAppCount.get(r);
  for (UInt32 i = 0; i < count; ++i) known[i] = PREF_MAIL::kMailApps.get(r, i);
  FSSpec current = App();
  FSSpec chosen{};
  const SInt32 answer = CWXUtility::MailerSetting(CWXUtility::kMailerLayout, this, chosen, &count, known.data(), &current);
  count = std::min<UInt32>(count, PREF_MAIL::kMaxMailApps);
  for (UInt32 i = 0; i < PREF_MAIL::kMaxMailApps; ++i) PREF_MAIL::kMailApps.set(r, i, i < count ? known[i] : FSSpec{});
  PREF_MAIL::kMailAppCount.set(r, count);
  const bool ok = answer == msg_OK;
  if (ok) {
    PREF_MAIL::kMailApp.set(r, chosen);
    ShowApplication();
  }
  KeepApplicationList();
  return ok;
}

void CMailDialogBox::OnApplicationDropped(const FSSpec& app) {
  RecordBytes r = Working();
  PREF_MAIL::kMailApp.set(r, app);
  ListMailApplication(r, app);
  ShowApplication();
  KeepApplicationList();
}

void CMailDialogBox::OnApply() {
  Str255 name;
  mName->GetDescriptor(name);
  if (!FileNameAccepted(this, name)) return;
  ForgetVanishedApplication();
  StoreName(FileType());
  CWXUtility::CheckHistFileName(name, Working(), PREF_MAIL::kHistory);
  CommitWorking();
  ShowButtonIcon(mButton, App());
}

void CMailDialogBox::OnDefaults() {
  CWXUtility::StStopListening quiet(this);
  bool reset = true;
  if (mPages.GetCount() > 0) {
    reset = Ask(this, kItemDropPendingPages);
    if (reset) DeletePendingPages();
  }
  if (reset) {
    Prefs_Set(true);
    Prefs_Set(false);
    SetSaveToStaticText();
    SetFileNameEditText();
    ShowApplication();
    ShowFolderOfFileTypes();
  }
  RecordBytes r = Working();
  Str255 name;
  GetIndString(name, kStrings, kDefaultNameItem);
  PREF_MAIL::kHistory.setEntry(r, 0, name);
  PREF_MAIL::kHistory.setCount(r, 1);
  ShowApplication();
}

void CMailDialogBox::OnClose() {
  if (mPages.GetCount() > 0) {
    if (Ask(this, kItemPendingOnClose)) {
      ReopenPreview();
      return;
    }
    if (!Ask(this, kItemDropPendingPages)) return;
    DeletePendingPages();
  }
  mWorking = mRestore;
  DoClose();
}

void CMailDialogBox::DeletePendingPages() { FunctionDialogKit::DeletePages(mPages, mExifs); }

void CMailDialogBox::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                       Str255 outName) {
  if (!FunctionDialogKit::DecideCommandWhileScanning(command, mBusy, outEnabled))
    LDialogBox::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
}

void CMailDialogBox::AdjustMouseSelf(Point, const EventRecord&, RgnHandle) { mDrop->AdjustCursor(); }

// ---- The run -------------------------------------------------------------------------------

bool CMailDialogBox::DiskSpaceSuffices() {
  RecordBytes r = Working();
  if (!TempFolderReady(PrefAll(), this)) return false;
  const UInt16 product = CMainWindow::ProductOf(PrefAll());
  const SDimension16 custom = CWXUtility::StoredScanSize(r, PREF_MAIL::kCustomSize);
  const FSSpec destination =
      FileType() == kTypeAddToPDF ? StPDFDialog::kAppendTo.get(PDFOf(r)) : PREF_MAIL::kFolder.get(r);
  const FSSpec temporary = PREF_SETTING::kTempFolder.get(PREF_ALL::kSetting.in(PrefAll()));
  sAlertOwner = this;
  const bool enough = CWXUtility::CheckHDSpace(temporary, PaperIndex(), ImageCode(), 1, Resolution_Value(), custom,
                                               product, 0, &ShowDiskAlert) != 0 &&
                      CWXUtility::CheckHDSpace(destination, PaperIndex(), ImageCode(), 1, Resolution_Value(), custom,
                                               product, 0, &ShowDiskAlert) != 0;
  sAlertOwner = nullptr;
  return enough;
}

void CMailDialogBox::OnStart() {
  mFirstPass = 1;
  mCopyMade = 0;
  mPageCount = 0;
  mRunFile = FSSpec{};
  RecordBytes r = Working();
  Str255 name;
  mName->GetDescriptor(name);
  if (mAutoStart == 1 && PREF_MAIL::kFlag21601.get(r) == 1 &&
      FunctionDialogKit::AskForName(this, r, PREF_MAIL::kHistory, name) == 1) {
    CWXUtility::StStopListening quiet(this);
    mName->SetDescriptor(name);
  }
  const bool businessCard = PREF_MAIL::kSetting16.get(r) == kTypeMultiPDF &&
                            long(PREF_MAIL::kPaperSize.get(r)) == long(Paper_Size_BusinessCard);
  PDFOf(r).setU8(StPDFDialog::kUnused108.off, businessCard ? 1 : 0);
  if (!FileNameAccepted(this, name)) {
    SwitchTarget(mName);
    return;
  }
  ForgetVanishedApplication();
  StoreName(FileType());
  CWXUtility::CheckHistFileName(name, r, PREF_MAIL::kHistory);
  CommitWorking();
  ShowButtonIcon(mButton, App());
  if (!AppSet() && !MailApplicationLost(r)) {
    Alert(this, kItemNoApplication);
    if (!ChooseMailApplication()) return;
    ShowButtonIcon(mButton, App());
    UpdatePort();
  }
  CommitWorking();
  if (FileType() == kTypeAddToPDF) {
    const bool preview = PREF_MAIL::kCheckAIRE.get(r) != 0;
    if (!PDFChosen()) {
      Alert(this, kItemNoPDFToAddTo);
      {
        CWXUtility::StStopListening quiet(this);
        FSSpec last = StPDFDialog::kAppendTo.get(PDFOf(r));
        FSSpec chosen{};
        Str255 title;
        GetDescriptor(title);
        if (CWXUtility::ChoosePDFFile(chosen, title, last) != 1) return;
        StPDFDialog::kAppendTo.set(PDFOf(r), chosen);
        SetFileNamePdfAdd();
        SetFileNameEditText();
        SetFolderNameEditText();
      }
      UpdatePort();
    }
    FSSpec pdf = StPDFDialog::kAppendTo.get(PDFOf(r));
    if (CAddPDFFile::CheckPDFFile(pdf) == 0) return;
    if (!preview) {
      const LStr255 longName = CWXUtility::GetPDFAddLongName(pdf);
      if (CWXUtility::Show_Error(kAlertLayout, this, 400, kItemConfirmAddToPDF, 1, 1, longName, 0) != msg_OK) return;
    }
  }
  if (PREF_MAIL::kCheckUION.get(r) == 0 && !DiskSpaceSuffices()) return;
  CommitWorking();
  const FSSpec folder = PREF_MAIL::kFolder.get(r);
  if (CWXUtility::check_permission(&folder, PREF_MAIL::kCheckDYIN.get(r)) == 0) {
    Alert(this, kItemNoPermission);
    return;
  }
  if (FileType() == kTypeAddToPDF) {
    // The copy is written beside the chosen PDF.
    const FSSpec pdf = StPDFDialog::kAppendTo.get(PDFOf(r));
    FSSpec pdfFolder{};
    FSMakeFSSpec(pdf.vRefNum, pdf.parID, nullptr, &pdfFolder);
    if (CWXUtility::check_permission(&pdfFolder, 0) == 0) {
      Alert(this, kItemNoPermission);
      return;
    }
  }
  StartScan();
}

void CMailDialogBox::StartScan() {
  RecordBytes r = Working();
  CoverForScan(this);
  UpdatePort();
  const long paper = PaperIndex();
  const long code = ImageCode();
  const long dpi = Resolution_Value();
  SetScanRunning(this, mBusy, 1);
  LaunchBeforeScan(this, App());
  const SDimension16 custom = CWXUtility::StoredScanSize(r, PREF_MAIL::kCustomSize);
  const ScanRequest request{kCallerMail, custom,     FileTypeCode(FileType()),
                            1,           code,       PREF_MAIL::kCheckUION.get(r),
                            paper,       dpi,        UInt8(PREF_MAIL::kSetting21604.get(r) & 0xFF)};
  const bool started = StartWatchedScan(this, PrefAll(), request);
  if (!started) {
    // No end message follows a scan that did not start.
    SetScanRunning(this, mBusy, 0);
    if (CAppearanceApp::sMainWindow) CAppearanceApp::sMainWindow->Refresh();
    UncoverAfterScan(this);
  }
  PREF_ALL::kLastButton.set(PrefAll(), 0);
}

bool CMailDialogBox::AskForNextPage() {
  CTWAIN::TerminateTWAIN();
  Str255 count;
  NumToString(mPageCount, count);
  for (;;) {
    if (CWXUtility::Show_Error(kNextPageLayout, this, 400, kItemNextPage, 1, 0, count, 0) != msg_OK) return false;
    if (PREF_MAIL::kCheckUION.get(Working()) == 1 || DiskSpaceSuffices()) break;
  }
  CoverForScan(this);
  SetScanRunning(this, mBusy, 1);
  return true;
}

bool CMailDialogBox::RestartScan(CThreadChecker* checker) {
  if (FunctionDialogKit::StartNextPass(checker, PrefAll())) {
    Refresh();
    return true;
  }
  checker->StopRepeating();
  SetScanRunning(this, mBusy, 0);
  UncoverAfterScan(this);
  return false;
}

void CMailDialogBox::OnScanEnded(CThreadChecker* checker) {
  if (!checker) return;
  SetScanRunning(this, mBusy, 0);
  UncoverAfterScan(this);
  RecordBytes r = Working();
  const bool driverWindow = PREF_MAIL::kCheckUION.get(r) == 1;
  CTWAIN* twain = checker->GetTWAIN();
  const short result = twain ? twain->GetResult() : 0;
  if (twain && driverWindow && result == kTransferCancelled) {
    // The driver's window stays up for another scan.
    SetScanRunning(this, mBusy, 1);
    twain->Scan_Continue();
    checker->StartRepeating();
    return;
  }
  if (twain && result == kTransferFailed)
    FunctionDialogKit::ShowTransferRefusals(this, *twain, driverWindow);
  if (PREF_MAIL::kCheckAIRE.get(r) != 0) {
    PreviewRun(checker);
    return;
  }
  const long delivered = twain ? twain->GetImageCount() : (checker->GetScanner() ? checker->GetScanner()->GetImageCount() : 0);
  bool morePages = false;
  if (StPDFDialog::kUnused4.get(PDFOf(r)) == 1) {
    if (result != kTransferFailed) mPageCount += SInt32(delivered);
    if (mPageCount != 0) morePages = AskForNextPage();
  }
  TArray<FSSpec>* written = WritePass(checker);
  if (morePages) {
    // The pass is in its file or has failed and stays where it is; the next one starts.
    delete written;
    written = nullptr;
    checker->DataInitialize();
    if (RestartScan(checker)) return;
    written = WritePass(checker);
  }
  FunctionDialogKit::DeleteRunObjects(checker);
  Refresh();
  if (CAppearanceApp::sMainWindow) CAppearanceApp::sMainWindow->Refresh();
  std::unique_ptr<TArray<FSSpec>> files(written);
  if ((!files || files->GetCount() == 0) && mPageCount != 0) {
    PdfAppendRoad::RunPDF run{mRunFile, mCopyMade != 0, true};
    files.reset(PdfAppendRoad::ExistingRunPDF(run));
  }
  const bool handedOn = files && files->GetCount() > 0 && HandOnFiles(*files);
  files.reset();
  mPageCount = 0;
  EndRun(handedOn, result != kTransferCancelled);
}

TArray<FSSpec>* CMailDialogBox::WritePass(CThreadChecker* checker) {
  RecordBytes r = Working();
  Str255 name, defaultName;
  mName->GetDescriptor(name);
  GetIndString(defaultName, kStrings, kDefaultNameItem);
  const UInt8 defaultFlag = SameText(name, defaultName) ? 1 : 0;
  const long limit = PREF_MAIL::kCheckUION.get(r) == 1 ? 0 : SizeLimit(PREF_MAIL::kSetting12.get(r));
  const long kind = PREF_SETTING::kTWAIN.get(PREF_ALL::kSetting.in(PrefAll()));
  const UInt32 type = FileType();
  FormatOptions options(r);
  if (type == kTypeAddToPDF || (type == kTypeMultiPDF && mFirstPass == 0)) {
    PdfAppendRoad::RunPDF run{mRunFile, mCopyMade != 0, mFirstPass == 0};
    TArray<FSSpec>* list = PdfAppendRoad::AppendPass(kind, checker, options.pdf,
                                                     type == kTypeAddToPDF ? name : nullptr, defaultFlag, kCreator,
                                                     run, this);
    mRunFile = run.file;
    mCopyMade = run.copyMade ? 1 : 0;
    if (run.holdsPages) mFirstPass = 0;
    return list;
  }
  TArray<FSSpec>* written =
      CWXUtility::ExportToFile(kind, checker, FileTypeCode(type), name, PREF_MAIL::kFolder.get(r),
                               PREF_MAIL::kCheckDYIN.get(r), options.pdf, options.jpeg, options.pict, options.tiff,
                               0, kCreator, defaultFlag, limit, 0);
  if (written && written->GetCount() > 0 && mFirstPass == 1) {
    mRunFile = (*written)[1];
    mFirstPass = 0;
  }
  return written;
}

bool CMailDialogBox::HandOnFiles(const TArray<FSSpec>& files) {
  if (AppSet()) return HandOn(App(), files);
  CWXUtility::OpenFolderWithFSSpec(files[1]);
  return false;
}

void CMailDialogBox::EndRun(bool handedOn, bool mayQuit) {
  if (IsVisible()) Activate();
  if (mAutoStart == 1) {
    mAutoStart = 0;
    if (mayQuit && PREF_SETTING::kQuitOption.get(PREF_ALL::kSetting.in(PrefAll())) == 1)
      ProcessCommand(kCommandQuit);
    else
      DoClose();
    return;
  }
  if (handedOn) DoClose();
}

// ---- The preview road ------------------------------------------------------------------------

void CMailDialogBox::PreviewRun(CThreadChecker* checker) {
  RecordBytes r = Working();
  CTWAIN* twain = checker->GetTWAIN();
  const short result = twain ? twain->GetResult() : 0;
  if (StPDFDialog::kUnused4.get(PDFOf(r)) == 1) {
    const long delivered =
        twain ? twain->GetImageCount() : (checker->GetScanner() ? checker->GetScanner()->GetImageCount() : 0);
    if (result != kTransferFailed) mPageCount = SInt32(delivered);
    if (mPageCount > 0 && AskForNextPage()) {
      const bool plugIn = checker->GetScanner() != nullptr;
      if (RestartScan(checker) && !plugIn) return;
      if (plugIn) {
        SetScanRunning(this, mBusy, 0);
        UncoverAfterScan(this);
      }
    }
  }
  if (twain) twain->DisableDS();
  const long limit = (PREF_MAIL::kCheckUION.get(r) == 0 && FileType() == kTypeJPEG)
                         ? SizeLimit(PREF_MAIL::kSetting12.get(r))
                         : 0;
  FormatOptions options(r);
  const FSSpec pdfBefore = StPDFDialog::kAppendTo.get(PDFOf(r));
  FSSpec folder = PREF_MAIL::kFolder.get(r);
  unsigned char dayFolder = PREF_MAIL::kCheckDYIN.get(r);
  long fileType = long(PREF_MAIL::kSetting16.get(r));
  Str255 name, addName;
  PREF_MAIL::kDefaultFileName.get(r, name);
  PREF_MAIL::kFileName.get(r, addName);
  TArray<FSSpec>* written = nullptr;
  const UInt8 appLength = App().name[0];
  const MessageT answer = CPreviewDialog::ShowPreviewDialog(
      PREF_SETTING::kTWAIN.get(PREF_ALL::kSetting.in(PrefAll())), checker, &mPages, &mExifs, this, folder, dayFolder,
      name, &options.pdf, &options.jpeg, &options.pict, &options.tiff, fileType, kCallerMail, kCreator, &written, limit,
      0, nullptr, nullptr, addName, 0, appLength == 0 ? 1 : 0, appLength);
  PREF_MAIL::kFolder.set(r, folder);
  PREF_MAIL::kCheckDYIN.set(r, dayFolder);
  PREF_MAIL::kSetting16.set(r, UInt32(fileType));
  options.StoreInto(r);
  mPageCount = 0;
  FunctionDialogKit::ReloadDefaultExif(PrefAll());
  const FSSpec pdfAfter = StPDFDialog::kAppendTo.get(PDFOf(r));
  if (pdfAfter.vRefNum != pdfBefore.vRefNum || pdfAfter.parID != pdfBefore.parID ||
      !SameText(pdfAfter.name, pdfBefore.name))
    SetFileNamePdfAdd();
  {
    CWXUtility::StStopListening quiet(this);
    mDayFolder->SetValue(dayFolder);
    mFileType->SetValue(SInt32(fileType));
    SetFolderNameEditText();
    SetFileNameEditText();
    SetSaveToStaticText();
    SetDayInCheckBox();
    SetEZCheckBox();
    SetPdfButton();
    SetUIonBox();
    SetResolution_Popup();
    SetFileMax_Popup();
    if (StPDFDialog::kLanguageOption.get(PDFOf(r)) == 0) StPDFDialog::kOptionCBXT.set(PDFOf(r), 0);
    mImage->EnableItem(1);
    for (ArrayIndexT i = 1; i <= mPages.GetCount(); ++i) {
      ScanDataPlus page;
      mPages.FetchItemAt(i, page);
      if ((page.resolution >> 16) < kFirstHighResolution) continue;
      // Black and white cannot show pages this fine.
      mImage->DisableItem(SInt16(GetImageModePopupNum(kBlackAndWhite)));
      if (ImageCode() == kBlackAndWhite) {
        mImage->SetValue(SInt32(GetImageModePopupNum(kGrey)));
        PREF_MAIL::kSetting0.set(r, UInt32(kGrey));
      }
      break;
    }
  }
  FunctionDialogKit::DeleteRunObjects(checker);
  Refresh();
  if (CAppearanceApp::sMainWindow) CAppearanceApp::sMainWindow->Refresh();
  std::unique_ptr<TArray<FSSpec>> files(written);
  const bool handedOn = answer == 'SEND' && files && files->GetCount() > 0 && HandOnFiles(*files);
  files.reset();
  if (answer == 'RTUN' && mAutoStart == 1) {
    // Scanned, unsaved pages stay pending with the dialog open.
    mAutoStart = 0;
    if (IsVisible()) Activate();
    return;
  }
  EndRun(handedOn, result != kTransferCancelled && answer != msg_Cancel);
}

void CMailDialogBox::ReopenPreview() {
  RecordBytes r = Working();
  FormatOptions options(r);
  FSSpec folder = PREF_MAIL::kFolder.get(r);
  unsigned char dayFolder = PREF_MAIL::kCheckDYIN.get(r);
  long fileType = long(PREF_MAIL::kSetting16.get(r));
  Str255 name;
  mName->GetDescriptor(name);
  TArray<FSSpec>* written = nullptr;
  const MessageT answer = CPreviewDialog::ShowPreviewDialog(
      PREF_SETTING::kTWAIN.get(PREF_ALL::kSetting.in(PrefAll())), nullptr, &mPages, &mExifs, this, folder, dayFolder,
      name, &options.pdf, &options.jpeg, &options.pict, &options.tiff, fileType, kCallerMail, kCreator, &written, 0, 0,
      nullptr, nullptr, nullptr, 0, 0, App().name[0]);
  PREF_MAIL::kFolder.set(r, folder);
  PREF_MAIL::kCheckDYIN.set(r, dayFolder);
  PREF_MAIL::kSetting16.set(r, UInt32(fileType));
  options.StoreInto(r);
  FunctionDialogKit::ReloadDefaultExif(PrefAll());
  {
    CWXUtility::StStopListening quiet(this);
    mDayFolder->SetValue(dayFolder);
    mFileType->SetValue(SInt32(fileType));
    ShowFolderOfFileTypes();
    if (StPDFDialog::kLanguageOption.get(PDFOf(r)) == 0) StPDFDialog::kOptionCBXT.set(PDFOf(r), 0);
  }
  std::unique_ptr<TArray<FSSpec>> files(written);
  if (answer != 'SEND' || !files || files->GetCount() == 0) return;
  if (AppSet()) HandOn(App(), *files);
  CWXUtility::OpenFolderWithFSSpec((*files)[1]);
}

void CMailDialogBox::Click(SMouseDownEvent& event) {
  if (UProcess::BringSelfToFront()) Activate();
  LDialogBox::Click(event);
}

void CMailDialogBox::ClickInTitleBar(const EventRecord& event) {
  UProcess::BringSelfToFront();
  LDialogBox::ClickInTitleBar(event);
}
