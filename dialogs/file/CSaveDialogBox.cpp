#include "dialogs/file/CSaveDialogBox.h"

#include <cstring>
#include <vector>

#include "app/CAppearanceApp.h"
#include "app/CMainWindow.h"
#include "app/FunctionDialogRun.h"
#include "output/hub/UProcess.h"
#include "prefs/LanguageTables.h"
#include "prefs/WXDefaultDir.h"
#include "output/color/AdobeRGBPages.h"
#include "dialogs/file/FunctionDialogKit.h"
#include "dialogs/file/FunctionDialogParts.h"
#include "dialogs/file/PdfAppendPass.h"
#include "dialogs/file/PdfCompressionRule.h"
#include "dialogs/file/RecordFormatOptions.h"
#include "dialogs/file/ScanSettingRules.h"
#include "framework/LControl.h"
#include "framework/LEditText.h"
#include "framework/LPopupButton.h"
#include "framework/UReanimator.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hub/WXFolders.h"
#include "output/export/WXChoosers.h"
#include "output/export/WXExport.h"
#include "output/glue/CAddPDFFile.h"
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
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"


namespace {

using namespace ScanSettingRules;
using namespace FunctionDialogKit;

constexpr ResIDT kLayout = 4000;
constexpr ResIDT kStrings = 4000;
constexpr SInt16 kAlertLayout = 400;
constexpr SInt16 kAlertList = 400;
constexpr SInt32 kDropPendingPagesQuestion = 8;
constexpr ResIDT kMenus = 4000;
enum : SInt16 { kDefaultNameItem = 1, kSaveToItem = 2, kAddToItem = 3 };
constexpr UInt32 kTypeMultiPDF = 5;
constexpr UInt32 kTypeAddToPDF = 6;
enum : CommandT { kCommandQuit = 10 };

using Step = ScanSettingPopups::Step;
// What each choice shows again.
const std::vector<ScanSettingPopups::Reshow> kReshows = {
    {'MODE',
     {Step::kShowImageMode, Step::kShowFileType, Step::kShowResolution, Step::kShowSize, Step::kShowPdfCompression,
      Step::kShowDriverWindow, Step::kShowImageMode}},
    {'IMAG',
     {Step::kShowFileType, Step::kShowResolution, Step::kShowSize, Step::kShowPdfCompression, Step::kShowAdobeRGB,
      Step::kShowDriverWindow}},
    {'RESL', {Step::kShowSize}},
    {'SIZE', {Step::kShowResolution, Step::kShowDriverWindow, Step::kShowImageMode}},
    {'UION',
     {Step::kShowSource, Step::kShowImageMode, Step::kShowFileType, Step::kShowResolution, Step::kShowSize,
      Step::kShowAdobeRGB}},
    {'SVAD', {Step::kShowDriverWindow}},
};
constexpr long kCallerSave = 5;
constexpr OSType kCreator = 'prvw';
constexpr SInt16 kNextPageLayout = 350;
enum : SInt32 {
  kItemTransferFailed = 3,
  kItemNextPage = 7,
  kItemNoPermission = 13,
  kItemPendingOnClose = 27,
  kItemConfirmAddToPDF = 31,
  kItemNoPDFToAddTo = 32,
};
// Transfer results of the TWAIN connection.
enum : short { kTransferFailed = 1, kTransferCancelledInDriverWindow = 3 };


// The dialog that shows the disk checks' alerts.
LCommander* sAlertOwner = nullptr;
void ShowDiskAlert(long item) { Alert(sAlertOwner, item); }


using FormatOptions = RecordFormatOptions<PREF_SAVE>;

}  // namespace

CSaveDialogBox::CSaveDialogBox(LStream* stream)
    : LDialogBox(stream),
      CPreferences(PREFS_FILE_NAME, 0),
      mPopups({kMenus, PREF_SAVE::kFileType, PREF_SAVE::kCheckUION, PREF_SAVE::kCheckSVAD, PREF_SAVE::kCustomSize}) {}

CSaveDialogBox::~CSaveDialogBox() {
  CloseStitchDialog();
  Save_Setting();
  DeletePages(mPendingPages, mPendingExif);
  if (CAppearanceApp::sApplication) CAppearanceApp::sApplication->mFunctionDialogOpen = 0;
}

void CSaveDialogBox::FinishCreateSelf() {
  LDialogBox::FinishCreateSelf();
  mPopups.Find(this, Working(), PrefAll());
  mMode = mPopups.SourcePopup();
  mImage = mPopups.ImagePopup();
  mSize = mPopups.SizePopup();
  mFileType = mPopups.FileTypePopup();
  mDriverWindow = CWXUtility::FindPaneAs<LControl>(this, 'UION');
  mDayFolder = CWXUtility::FindPaneAs<LControl>(this, 'DYIN');
  mAdobeRGB = CWXUtility::FindPaneAs<LControl>(this, 'SVAD');
  mOptions = CWXUtility::FindPaneAs<LControl>(this, 'PDFS');
  mSelect = CWXUtility::FindPaneAs<LControl>(this, 'SCT1');
  mName = CWXUtility::FindPaneAs<LEditText>(this, 'FNAM');
  mFolder = CWXUtility::FindPaneAs<LPane>(this, 'FOLD');
  mSaveTo = CWXUtility::FindPaneAs<LPane>(this, 'TOTX');
  mPreview = CWXUtility::FindPaneAs<LControl>(this, 'SPRE');
  mAskName = CWXUtility::FindPaneAs<LControl>(this, 'EZFN');
  mHistory = CWXUtility::FindPaneAs<LPopupButton>(this, 'PuFN');
  for (PaneIDT id : {PaneIDT('DFLT'), PaneIDT('APLY'), PaneIDT('CNCL'), PaneIDT('OKBT')}) CWXUtility::FindPaneAs<LPane>(this, id);

  UReanimator::LinkListenerToControls(this, this, kLayout);
  mJPEGSwapped = 0;
  mPendingPageCount = 0;
  Load_Setting();
  CheckOutputFolder();
  CheckPDFToAddTo();
  SetSaveToStaticText();
  SetFolderNameEditText();
  SetFileNameEditText();
  mCommitted = mWorking;
  mBusy = 0;
  CWXUtility::sIsQuellaneOpened = 0;
  mAutoStart = 0;
}


// ---- Record and controls -----------------------------------------------------------------

void CSaveDialogBox::Load_Setting() {
  PREF_ALL::kSave.in(PrefAll()).getBytes(0, mWorking.bytes.data(), PREF_SAVE::kSize);
  Prefs_Set(0);
  Prefs_Set(0);
}

void CSaveDialogBox::Save_Setting() {
  RecordBytes stored = PREF_ALL::kSave.in(PrefAll());
  std::memcpy(stored.data(), mWorking.bytes.data(), PREF_SAVE::kSize);
}

void CSaveDialogBox::Prefs_Set(unsigned char factory) {
  RecordBytes r = Working();
  if (factory == 1) {
    const UInt32 tag = PREF_SAVE::kTag.get(r);
    RecordBytes defaults = Set_Default_Save();
    std::memcpy(r.data(), defaults.data(), PREF_SAVE::kSize);
    mPreview->Enable();
    PREF_SAVE::kTag.set(r, tag);
  }
  CWXUtility::StStopListening quiet(this);
  mPopups.ShowRecord();
  mDriverWindow->SetValue(PREF_SAVE::kCheckUION.get(r));
  mDayFolder->SetValue(PREF_SAVE::kCheckDYIN.get(r));
  mPreview->SetValue(PREF_SAVE::kCheckFORE.get(r));
  mAdobeRGB->SetValue(PREF_SAVE::kCheckSVAD.get(r));
  mAskName->SetValue(PREF_SAVE::kCheckEZFN.get(r));
  SetMode_Popup();
  SetImageMode_Popup();
  SetFileType_Popup();
  SetResolution_Popup();
  SetSize_Popup();
  SetPdfButton();
  SetUIonBox();
  SetAdobeRGBCheckBox();
  SetNameAndSelectAndFolder();
  SetPreviewCheckBox();
  SetDayInCheckBox();
  SetEZCheckBox();
}

long CSaveDialogBox::Source() const { return mPopups.Source(); }
long CSaveDialogBox::Code() { return mPopups.Code(); }
UInt32 CSaveDialogBox::FileType() const { return mPopups.FileType(); }

long CSaveDialogBox::GetImageMode(long item) { return ImageModeOfItem(item, Source()); }
long CSaveDialogBox::GetImageModePopupNum(long code, long source) { return ItemOfImageMode(code, source); }

bool CSaveDialogBox::IsStitch_Disregard_UICheckBox() { return mPopups.IsStitchDisregardingDriverWindow(); }

bool CSaveDialogBox::IsStitch() { return mPopups.IsStitch(); }

// ---- Setters -----------------------------------------------------------------------------

void CSaveDialogBox::SetMode_Popup() { mPopups.ShowSource(); }

void CSaveDialogBox::SetImageMode_Popup() { mPopups.ShowImageMode(); }

void CSaveDialogBox::SetResolution_Popup() { mPopups.ShowResolution(); }

long CSaveDialogBox::Resolution_Value() { return mPopups.ResolutionValue(); }

void CSaveDialogBox::SetSize_Popup() {
  if (mPopups.ShowSize()) ClearCorrections();
}

void CSaveDialogBox::ClearCorrections() {
  RecordBytes r = Working();
  StPDFDialog::kOptionCBXT.set(PREF_SAVE::kPDF.in(r), 0);
  StJPEGDialog::kLanguageOption.set(PREF_SAVE::kJPEG.in(r), 0);
  StOtherDialog::kLanguageOption.set(PREF_SAVE::kPICT.in(r), 0);
  StOtherDialog::kLanguageOption.set(PREF_SAVE::kTIFF.in(r), 0);
}

void CSaveDialogBox::SetFileType_Popup() {
  RecordBytes r = Working();
  UInt32 type = PREF_SAVE::kFileType.get(r);
  mFileType->SetValue(SInt32(type));
  for (SInt16 item : {4, 5, 6}) mFileType->EnableItem(item);
  const long source = Source();
  const bool blackAndWhite = source == kSourcePlaten && Code() == 1 && PREF_SAVE::kCheckUION.get(r) == 0;
  if (blackAndWhite) {
    mFileType->DisableItem(kTypeJPEG);
    if (type == kTypeJPEG) {
      type = kTypePICT;
      mJPEGSwapped = 1;
    }
  } else {
    mFileType->EnableItem(kTypeJPEG);
    if (mJPEGSwapped == 1) {
      mJPEGSwapped = 0;
      if (type == kTypePICT) type = kTypeJPEG;
    }
  }
  if (type != PREF_SAVE::kFileType.get(r)) PREF_SAVE::kFileType.set(r, type);
  mFileType->SetValue(SInt32(type));
  mFileType->Enable();
}

bool CSaveDialogBox::PDFChosen() {
  const FSSpec pdf = StPDFDialog::kAppendTo.get(PREF_SAVE::kPDF.in(Working()));
  return pdf.name[0] != 0;
}

void CSaveDialogBox::SetFileNameEditText() {
  Str255 name;
  if (FileType() == kTypeAddToPDF && PDFChosen())
    PREF_SAVE::kFileName.get(Working(), name);
  else
    PREF_SAVE::kDefaultFileName.get(Working(), name);
  mName->SetDescriptor(name);
}

void CSaveDialogBox::CheckOutputFolder() {
  RecordBytes r = Working();
  const FSSpec folder = PREF_SAVE::kFolder.get(r);
  if (SpecResolves(folder)) return;
  FSSpec fallback{};
  CWXUtility::Get_Default_Dir(&fallback);
  PREF_SAVE::kFolder.set(r, fallback);
}

void CSaveDialogBox::CheckPDFToAddTo() {
  RecordBytes pdf = PREF_SAVE::kPDF.in(Working());
  FSSpec spec = StPDFDialog::kAppendTo.get(pdf);
  if (spec.name[0] == 0 || SpecResolves(spec)) return;
  spec.name[0] = 0;
  StPDFDialog::kAppendTo.set(pdf, spec);
}

void CSaveDialogBox::SetFolderNameEditText() {
  if (FileType() != kTypeAddToPDF) {
    CheckOutputFolder();
    ShowFolderPath(mFolder, PREF_SAVE::kFolder.get(Working()));
    return;
  }
  CheckPDFToAddTo();
  if (!PDFChosen()) {
    Str255 empty{};
    mFolder->SetDescriptor(empty);
    return;
  }
  ShowFolderPath(mFolder, StPDFDialog::kAppendTo.get(PREF_SAVE::kPDF.in(Working())));
}

void CSaveDialogBox::SetSaveToStaticText() {
  Str255 text;
  GetIndString(text, kStrings, FileType() == kTypeAddToPDF ? kAddToItem : kSaveToItem);
  mSaveTo->SetDescriptor(text);
}

void CSaveDialogBox::SetFileNamePdfAdd(const FSSpec& pdf) {
  Str255 name;
  NewCopyName(pdf, SInt16(mName->GetMaxChars()), name);
  PREF_SAVE::kFileName.set(Working(), name);
}

void CSaveDialogBox::SetSelect1Button() {
  CWXUtility::StStopListening quiet(this);
  RecordBytes r = Working();
  if (FileType() != kTypeAddToPDF) {
    FSSpec folder = PREF_SAVE::kFolder.get(r);
    FSSpec chosen{};
    Str255 prompt;
    GetDescriptor(prompt);
    if (CWXUtility::ChooseFolder(chosen, prompt, folder) != 1) return;
    PREF_SAVE::kFolder.set(r, chosen);
    SetFolderNameEditText();
    return;
  }
  if (!ChoosePDFToAddTo()) return;
  SetFileNameEditText();
  SetFolderNameEditText();
}

bool CSaveDialogBox::ChoosePDFToAddTo() {
  RecordBytes pdf = PREF_SAVE::kPDF.in(Working());
  FSSpec last = StPDFDialog::kAppendTo.get(pdf);
  FSSpec chosen{};
  if (CWXUtility::ChoosePDFFile(chosen, nullptr, last) != 1) return false;
  StPDFDialog::kAppendTo.set(pdf, chosen);
  SetFileNamePdfAdd(chosen);
  return true;
}

void CSaveDialogBox::SetDayInCheckBox() { EnableIf(mDayFolder, FileType() != kTypeAddToPDF); }

void CSaveDialogBox::SetEZCheckBox() {
  if (FileType() != kTypeAddToPDF) {
    mAskName->Enable();
    return;
  }
  RecordBytes r = Working();
  PREF_SAVE::kCheckEZFN.set(r, 0);
  PREF_SAVE::kFlag3622.set(r, 0);
  CWXUtility::StStopListening quiet(this);
  mAskName->SetValue(0);
  mAskName->Disable();
}

void CSaveDialogBox::SetPdfCompress() {
  ApplyPdfCompressionRule(PREF_SAVE::kPDF.in(Working()), Source() == kSourcePlaten && Code() == 1);
}

void CSaveDialogBox::SetAdobeRGBCheckBox() {
  CWXUtility::StStopListening quiet(this);
  bool enabled = false;
  if (!PagesPending() && PREF_SAVE::kCheckUION.get(Working()) == 0) {
    enabled = AdobeRGBAllowed(Source(), Code(), FileType());
  }
  if (enabled) {
    mAdobeRGB->Enable();
  } else {
    mAdobeRGB->SetValue(0);
    mAdobeRGB->Disable();
  }
}

void CSaveDialogBox::SetPdfButton() { mOptions->Enable(); }
void CSaveDialogBox::SetUIonBox() { mDriverWindow->Enable(); }
void CSaveDialogBox::SetPreviewCheckBox() { mPreview->Enable(); }

void CSaveDialogBox::SetNameAndSelectAndFolder() {
  mName->Enable();
  mSelect->Enable();
  mFolder->Enable();
}

// ---- Messages ----------------------------------------------------------------------------

void CSaveDialogBox::ShowAgain(ScanSettingPopups::Step step) {
  switch (step) {
    case ScanSettingPopups::kShowFileType: SetFileType_Popup(); break;
    case ScanSettingPopups::kShowAdobeRGB: SetAdobeRGBCheckBox(); break;
    case ScanSettingPopups::kShowDriverWindow: SetUIonBox(); break;
    case ScanSettingPopups::kShowPdfCompression: SetPdfCompress(); break;
    case ScanSettingPopups::kClearStitchCorrections: ClearCorrections(); break;
    default: break;
  }
}

void CSaveDialogBox::ListenToMessage(MessageT message, void* param) {
  const bool valued = message != msg_ScanEnded && message != msg_OK && message != msg_Cancel;
  const long value = (valued && param) ? *static_cast<SInt32*>(param) : 0;
  if (HandleHistoryMessage(this, message, value, mHistory, mName, Working(), PREF_SAVE::kHistory, mHistoryMatch)) return;
  if (mPopups.Choose(message, value, this, kReshows, [this](ScanSettingPopups::Step step) { ShowAgain(step); })) return;
  switch (message) {
    case msg_OK: OnStart(); break;
    case msg_Cancel: OnClose(); break;
    case msg_ScanEnded: OnScanEnded(static_cast<CThreadChecker*>(param)); break;
    case 'StCl': OnStitchClosed(); break;
    case 'FTYP': OnFileType(value); break;
    case 'DYIN': PREF_SAVE::kCheckDYIN.set(Working(), UInt8(value)); break;
    case 'EZFN':
      PREF_SAVE::kCheckEZFN.set(Working(), UInt8(value));
      PREF_SAVE::kFlag3622.set(Working(), UInt8(value));
      break;
    case 'SPRE': OnPreview(value); break;
    case 'PDFS': OnFormatOptions(); break;
    case 'SCT1': SetSelect1Button(); break;
    case 'APLY': OnApply(); break;
    case 'DFLT': OnDefaults(); break;
    default: break;
  }
}

void CSaveDialogBox::StoreFileName(UInt32 fileType) {
  Str255 name;
  mName->GetDescriptor(name);
  if (fileType == kTypeAddToPDF && PDFChosen())
    PREF_SAVE::kFileName.set(Working(), name);
  else
    PREF_SAVE::kDefaultFileName.set(Working(), name);
}

void CSaveDialogBox::OnFileType(long item) {
  CWXUtility::StStopListening quiet(this);
  RecordBytes r = Working();
  StoreFileName(PREF_SAVE::kFileType.get(r));
  PREF_SAVE::kFileType.set(r, UInt32(item));
  RecordBytes pdf = PREF_SAVE::kPDF.in(r);
  MarkPdfFileType(pdf, item == kTypeMultiPDF || item == kTypeAddToPDF, item == kTypeAddToPDF);
  if (item == kTypeAddToPDF) CheckPDFToAddTo();
  EnableIf(mAskName, item != kTypeAddToPDF);
  SetResolution_Popup();
  SetFileNameEditText();
  SetSaveToStaticText();
  SetFolderNameEditText();
  SetDayInCheckBox();
  SetEZCheckBox();
  SetPdfButton();
  SetUIonBox();
  SetAdobeRGBCheckBox();
  SetNameAndSelectAndFolder();
  SetPreviewCheckBox();
  SetUIonBox();
}

void CSaveDialogBox::OnPreview(long value) {
  CWXUtility::StStopListening quiet(this);
  if (!PagesPending()) {
    PREF_SAVE::kCheckFORE.set(Working(), UInt8(value));
    SetDayInCheckBox();
    SetEZCheckBox();
    SetFileType_Popup();
    SetPdfButton();
    SetNameAndSelectAndFolder();
    return;
  }
  if (!Ask(this, kDropPendingPagesQuestion)) {
    mPreview->SetValue(1);
    return;
  }
  DeletePages(mPendingPages, mPendingExif);
  mWorking = mCommitted;
  PREF_SAVE::kCheckFORE.set(Working(), 0);
  // The committed record may differ from what the controls showed.
  Prefs_Set(0);
  mPreview->SetValue(0);
}

void CSaveDialogBox::OnFormatOptions() {
  CWXUtility::StStopListening quiet(this);
  RecordBytes r = Working();
  const UInt8 driverWindow = PREF_SAVE::kCheckUION.get(r);
  const UInt8 stitch = IsStitch() ? 1 : 0;
  UInt32 fourth = 0;
  switch (FileType()) {
    case kTypePICT:
    case kTypeTIFF: {
      const PrefSub<StOtherDialog>& field = FileType() == kTypePICT ? PREF_SAVE::kPICT : PREF_SAVE::kTIFF;
      StOtherDialog options;
      field.in(r).getBytes(0, options.bytes.data(), StOtherDialog::kSize);
      CWXUtility::OtherSetting(320, this, options, 1, 0, driverWindow, stitch);
      std::memcpy(field.in(r).data(), options.bytes.data(), StOtherDialog::kSize);
      fourth = StOtherDialog::kOptionPRB.get(options.view());
      break;
    }
    case kTypeJPEG: {
      StJPEGDialog options;
      PREF_SAVE::kJPEG.in(r).getBytes(0, options.bytes.data(), StJPEGDialog::kSize);
      CWXUtility::JPEGSetting(310, this, options, 1, 0, driverWindow, stitch);
      std::memcpy(PREF_SAVE::kJPEG.in(r).data(), options.bytes.data(), StJPEGDialog::kSize);
      fourth = StJPEGDialog::kOptionPRB.get(options.view());
      break;
    }
    default: {
      StPDFDialog options;
      PREF_SAVE::kPDF.in(r).getBytes(0, options.bytes.data(), StPDFDialog::kSize);
      CWXUtility::PDFSetting(300, this, options, 0, 0, driverWindow, stitch);
      std::memcpy(PREF_SAVE::kPDF.in(r).data(), options.bytes.data(), StPDFDialog::kSize);
      fourth = StPDFDialog::kOptionCBXP.get(options.view());
      break;
    }
  }
  PREF_SAVE::kSetting3624.set(r, fourth);
}

void CSaveDialogBox::OnApply() {
  Str255 name;
  mName->GetDescriptor(name);
  if (!FileNameAccepted(this, name)) return;
  RecordBytes r = Working();
  StoreFileName(PREF_SAVE::kFileType.get(r));
  CWXUtility::CheckHistFileName(name, r, PREF_SAVE::kHistory);
  mCommitted = mWorking;
  Save_Setting();
}

void CSaveDialogBox::OnDefaults() {
  CWXUtility::StStopListening quiet(this);
  bool reset = true;
  if (PagesPending()) {
    reset = Ask(this, kDropPendingPagesQuestion);
    if (reset) {
      DeletePages(mPendingPages, mPendingExif);
      mWorking = mCommitted;
    }
  }
  if (reset) {
    Prefs_Set(1);
    Prefs_Set(0);
    SetSaveToStaticText();
    SetFileNameEditText();
    CheckOutputFolder();
    SetFolderNameEditText();
  }
  Str255 name;
  GetIndString(name, kStrings, kDefaultNameItem);
  RecordBytes r = Working();
  PREF_SAVE::kHistory.setEntry(r, 0, name);
  PREF_SAVE::kHistory.setCount(r, 1);
}

void CSaveDialogBox::OnClose() {
  if (PagesPending()) {
    if (Ask(this, kItemPendingOnClose)) {
      PreviewRun(nullptr, nullptr);
      return;
    }
    if (!Ask(this, kDropPendingPagesQuestion)) return;
    DeletePages(mPendingPages, mPendingExif);
  }
  mWorking = mCommitted;
  DoClose();
}

// ---- The run -----------------------------------------------------------------------------

void CSaveDialogBox::OnStart() {
  mFirstBatch = 1;
  mNewPDF = 0;
  mPendingPageCount = 0;
  mRunTarget = FSSpec{};
  Str255 name;
  mName->GetDescriptor(name);
  RecordBytes history = Working();
  if (mAutoStart == 1 && PREF_SAVE::kFlag3622.get(history) == 1) {
    if (AskForName(this, history, PREF_SAVE::kHistory, name) == 1) {
      CWXUtility::StStopListening quiet(this);
      mName->SetDescriptor(name);
    }
  }
  if (!FileNameAccepted(this, name)) {
    SwitchTarget(mName);
    return;
  }
  RecordBytes r = Working();
  StoreFileName(FileType());
  CWXUtility::CheckHistFileName(name, r, PREF_SAVE::kHistory);
  mCommitted = mWorking;
  Save_Setting();

  if (FileType() == kTypeAddToPDF) {
    CheckPDFToAddTo();
    if (!PDFChosen()) {
      Alert(this, kItemNoPDFToAddTo);
      if (!ChoosePDFToAddTo()) return;
      CWXUtility::StStopListening quiet(this);
      SetFileNameEditText();
      SetFolderNameEditText();
      Refresh();
    }
    FSSpec pdf = StPDFDialog::kAppendTo.get(PREF_SAVE::kPDF.in(r));
    if (CAddPDFFile::CheckPDFFile(pdf) == 0) return;
    if (PREF_SAVE::kCheckFORE.get(r) == 0) {
      const LStr255 longName = CWXUtility::GetPDFAddLongName(pdf);
      if (CWXUtility::Show_Error(kAlertLayout, this, kAlertList, kItemConfirmAddToPDF, 1, 1, longName, 0) != msg_OK)
        return;
    }
  }
  if (PREF_SAVE::kCheckUION.get(r) == 0 && !DiskSpaceSuffices()) return;
  mCommitted = mWorking;
  Save_Setting();
  const FSSpec folder = PREF_SAVE::kFolder.get(r);
  if (CWXUtility::check_permission(&folder, PREF_SAVE::kCheckDYIN.get(r)) == 0) {
    Alert(this, kItemNoPermission);
    return;
  }
  // The copy of a chosen PDF is made beside it.
  if (FileType() == kTypeAddToPDF) {
    const FSSpec pdf = StPDFDialog::kAppendTo.get(PREF_SAVE::kPDF.in(r));
    FSSpec beside{};
    FSMakeFSSpec(pdf.vRefNum, pdf.parID, nullptr, &beside);
    if (CWXUtility::check_permission(&beside, 0) == 0) {
      Alert(this, kItemNoPermission);
      return;
    }
  }
  if (IsStitch())
    StartStitch();
  else
    StartScan();
}

bool CSaveDialogBox::DiskSpaceSuffices() {
  RecordBytes r = Working();
  const UInt16 product = CMainWindow::ProductOf(PrefAll());
  const SDimension16 custom = CWXUtility::StoredScanSize(r, PREF_SAVE::kCustomSize);
  const FSSpec destination =
      FileType() == kTypeAddToPDF ? StPDFDialog::kAppendTo.get(PREF_SAVE::kPDF.in(r)) : PREF_SAVE::kFolder.get(r);
  // A temporary base folder removed meanwhile is made again at its default place.
  if (!FunctionDialogParts::TempFolderReady(PrefAll(), this)) return false;
  sAlertOwner = this;
  const bool enough =
      CWXUtility::CheckHDSpace(CWXUtility::TempFolderSpec(), mSize->GetValue(), Code(), Source(), Resolution_Value(),
                               custom, product, IsStitch(), &ShowDiskAlert) != 0 &&
      CWXUtility::CheckHDSpace(destination, mSize->GetValue(), Code(), Source(), Resolution_Value(), custom, product,
                               IsStitch(), &ShowDiskAlert) != 0;
  sAlertOwner = nullptr;
  return enough;
}

void CSaveDialogBox::StartScan() {
  RecordBytes setting = PREF_ALL::kSetting.in(PrefAll());
  RecordBytes r = Working();
  const UInt8 isTWAIN = PREF_SETTING::kTWAIN.get(setting);
  Str255 model;
  PREF_SETTING::kModelName.get(setting, model);
  const long mode = mPopups.CodeForScan();
  const SDimension16 custom = CWXUtility::StoredScanSize(r, PREF_SAVE::kCustomSize);
  // Read before the scan disables the dialog, and the box with it.
  const bool adobeRGB = PREF_SAVE::kCheckSVAD.get(r) == 1 && mAdobeRGB->IsEnabled();
  CoverForScan(this);
  SetScanRunning(this, mBusy, 1);
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
      kCallerSave, isTWAIN, checker, model, custom, FileTypeCode(FileType()), Source(), mode,
      PREF_SAVE::kCheckUION.get(r), mSize->GetValue(), Resolution_Value(), this, 0,
      UInt8(PREF_SAVE::kSetting3624.get(r) & 0xFF));
  if (started != 0) return;
  // No end message follows a scan that did not start.
  SetScanRunning(this, mBusy, 0);
  delete checker;
  delete scanner;
  delete twain;
  UncoverAfterScan(this);
}

void CSaveDialogBox::StartStitch() {
  RecordBytes setting = PREF_ALL::kSetting.in(PrefAll());
  RecordBytes r = Working();
  Str255 model;
  PREF_SETTING::kModelName.get(setting, model);
  if (const SInt32 fault = CWXUtility::SourceOpenFault(model)) {
    Alert(this, fault);
    return;
  }
  if (IsVisible()) Hide();
  RecordBytes pdf = PREF_SAVE::kPDF.in(r);
  const FSSpec destination =
      FileType() == kTypeAddToPDF ? StPDFDialog::kAppendTo.get(pdf) : PREF_SAVE::kFolder.get(r);
  FormatOptions options(r);
  const SDimension16 custom = CWXUtility::StoredScanSize(r, PREF_SAVE::kCustomSize);
  // The wizard may report that it closed before it returns.
  mStartingStitch = true;
  CStitchDialog* wizard = CStitchDialog::ShowStitchDialog(
      kCallerSave, PREF_SETTING::kTWAIN.get(setting), model, custom, Source(), Code(), PREF_SAVE::kCheckUION.get(r),
      mSize->GetValue(), Resolution_Value(), this, 0, UInt8(PREF_SAVE::kSetting3624.get(r) & 0xFF), 3, this,
      PREF_SAVE::kCheckSVAD.get(r), UInt8(StPDFDialog::kUnused4.get(pdf) & 0xFF), destination,
      CWXUtility::TempFolderSpec(), &options.pdf, &options.jpeg, &options.pict, &options.tiff,
      PREF_SAVE::kCheckFORE.get(r), 0, FileTypeCode(FileType()), nullptr);
  mStartingStitch = false;
  mStitchDialog = wizard;
  if (mCloseWhenStarted) DoClose();
}

void CSaveDialogBox::OnScanEnded(CThreadChecker* checker) {
  if (!checker) return;
  SetScanRunning(this, mBusy, 0);
  UncoverAfterScan(this);
  CTWAIN* twain = checker->GetTWAIN();
  RecordBytes r = Working();
  const bool stitch = IsStitch();
  UInt8 adobeRGB = 0;
  if (twain && !stitch) {
    if (PREF_SAVE::kCheckUION.get(r) == 1 && twain->GetResult() == kTransferCancelledInDriverWindow) {
      SetScanRunning(this, mBusy, 1);
      twain->Scan_Continue();
      checker->StartRepeating();
      return;
    }
    if (FileType() == kTypePICT && PREF_SAVE::kCheckUION.get(r) == 1) {
      CTWAIN* connection = twain;
      if (CWXUtility::CheckImageWidthOver(connection, this) == 1) {
        delete checker;
        return;
      }
    }
    if (twain->GetResult() == kTransferFailed)
      ShowTransferRefusals(this, *twain, PREF_SAVE::kCheckUION.get(r) == 1);
    // A box the setting disabled keeps its stored tick, which must not convert.
    if (PREF_SAVE::kCheckSVAD.get(r) == 1 && mAdobeRGB->IsEnabled()) adobeRGB = AdobeRGBPages::Convert(*twain);
  }
  if (PREF_SAVE::kCheckFORE.get(r) == 1) {
    if (!stitch && StPDFDialog::kUnused4.get(PREF_SAVE::kPDF.in(r)) == 1) {
      mPendingPageCount = BatchPages(checker);
      // The pages of every pass go to the preview together.
      if (mPendingPageCount > 0 && AskForNextPage(mPendingPageCount) && NextPass(checker)) return;
    }
    mRunAdobeRGB = adobeRGB;
    PreviewRun(checker, twain);
    return;
  }

  bool morePages = false;
  if (!stitch && StPDFDialog::kUnused4.get(PREF_SAVE::kPDF.in(r)) == 1) {
    mPendingPageCount += BatchPages(checker);
    if (mPendingPageCount != 0) morePages = AskForNextPage(mPendingPageCount);
  }
  mRunAdobeRGB = adobeRGB;
  bool failed = false;
  TArray<FSSpec>* written = WriteBatch(checker, failed);
  // A batch that could not be written ends the run with what the target already holds.
  if (morePages && !failed) {
    delete written;
    checker->DataInitialize();
    if (NextPass(checker)) return;
    written = WriteBatch(checker, failed);
  } else if (morePages) {
    SetScanRunning(this, mBusy, 0);
    UncoverAfterScan(this);
  }
  const short result = twain ? twain->GetResult() : 0;
  DeleteRunObjects(checker);
  CloseStitchDialog();
  Refresh();
  if (written && written->GetCount() > 0) {
    CWXUtility::OpenFolderWithFSSpec((*written)[1]);
  } else if (mPendingPageCount != 0 && SpecResolves(mRunTarget)) {
    CWXUtility::OpenFolderWithFSSpec(mRunTarget);
  }
  mPendingPageCount = 0;
  delete written;
  EndAutoStart(result != kTransferCancelledInDriverWindow);
}

void CSaveDialogBox::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                       Str255 outName) {
  if (!DecideCommandWhileScanning(command, mBusy, outEnabled))
    LDialogBox::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
}

bool CSaveDialogBox::NextPass(CThreadChecker* checker) {
  if (StartNextPass(checker, PrefAll())) return true;
  SetScanRunning(this, mBusy, 0);
  UncoverAfterScan(this);
  return false;
}

bool CSaveDialogBox::AskForNextPage(SInt32 pages) {
  CTWAIN::TerminateTWAIN();
  Str255 count;
  NumToString(pages, count);
  for (;;) {
    if (CWXUtility::Show_Error(kNextPageLayout, this, kAlertList, kItemNextPage, 1, 0, count, 0) != msg_OK)
      return false;
    if (PREF_SAVE::kCheckUION.get(Working()) == 1 || DiskSpaceSuffices()) break;
  }
  CoverForScan(this);
  SetScanRunning(this, mBusy, 1);
  return true;
}

UInt8 CSaveDialogBox::DefaultNameChosen() {
  Str255 name, defaultName;
  mName->GetDescriptor(name);
  GetIndString(defaultName, kStrings, kDefaultNameItem);
  return SameText(name, defaultName) ? 1 : 0;
}

TArray<FSSpec>* CSaveDialogBox::WriteBatch(CThreadChecker* checker, bool& failed) {
  RecordBytes r = Working();
  const UInt8 defaultName = DefaultNameChosen();
  const UInt32 type = FileType();
  if (type == kTypeAddToPDF || (type == kTypeMultiPDF && mFirstBatch == 0))
    return AppendBatch(checker, defaultName, failed);
  FormatOptions options(r);
  Str255 name;
  PREF_SAVE::kDefaultFileName.get(r, name);
  const FSSpec folder = PREF_SAVE::kFolder.get(r);
  TArray<FSSpec>* written = CWXUtility::ExportToFile(PREF_SETTING::kTWAIN.get(PREF_ALL::kSetting.in(PrefAll())), checker,
                                                     FileTypeCode(type), name, folder, PREF_SAVE::kCheckDYIN.get(r),
                                                     options.pdf, options.jpeg, options.pict, options.tiff,
                                                     IsStitch() ? 1 : 0, kCreator, defaultName,
                                                     0, mRunAdobeRGB);
  const bool none = !written || written->GetCount() == 0;
  failed = none && BatchPages(checker) > 0;
  if (mFirstBatch == 1 && !none) {
    mRunTarget = (*written)[1];
    mFirstBatch = 0;
  }
  return written;
}

SInt32 CSaveDialogBox::BatchPages(CThreadChecker* checker) {
  if (CTWAIN* twain = checker->GetTWAIN()) return twain->GetResult() == kTransferFailed ? 0 : SInt32(twain->GetImageCount());
  return checker->GetScanner() ? SInt32(checker->GetScanner()->GetImageCount()) : 0;
}

TArray<FSSpec>* CSaveDialogBox::AppendBatch(CThreadChecker* checker, UInt8 defaultName, bool& failed) {
  RecordBytes r = Working();
  StPDFDialog pdf;
  PREF_SAVE::kPDF.in(r).getBytes(0, pdf.bytes.data(), StPDFDialog::kSize);
  // A plug-in's pages take the plain exporter into the temporary folder; TWAIN's the append one.
  TArray<FSSpec>* temporary = PassAsTemporaryPDFs(PREF_SETTING::kTWAIN.get(PREF_ALL::kSetting.in(PrefAll())),
                                                  checker, pdf, defaultName, kCreator);
  if (!temporary) {
    failed = BatchPages(checker) > 0;
    return nullptr;
  }
  const bool copy = FileType() == kTypeAddToPDF;
  if (copy && mNewPDF == 0) {
    Str255 name;
    PREF_SAVE::kFileName.get(r, name);
    FSSpec chosen = StPDFDialog::kAppendTo.get(PREF_SAVE::kPDF.in(r));
    FSSpec folder{};
    FSMakeFSSpec(chosen.vRefNum, chosen.parID, nullptr, &folder);
    mRunTarget = CWXUtility::CreateNewPDFFile(name, folder, pdf);
    mNewPDF = 1;
  }
  // A part goes only once its pages are in the target; after a failure the rest stay.
  failed = AppendPieces(mRunTarget, *temporary, kCreator, checker) != AppendOutcome::kDone;
  temporary->RemoveAllItems();
  if (failed) {
    // A target holding pages keeps them; only a copy that has received none goes.
    if (copy && mFirstBatch == 1 && mRunTarget.name[0] != 0) {
      CWXUtility::DeleteFileWithRetry(mRunTarget);
      mRunTarget = FSSpec{};
    }
    Alert(this, kItemTransferFailed);
    return temporary;
  }
  mFirstBatch = 0;
  temporary->AddItem(mRunTarget);
  return temporary;
}

void CSaveDialogBox::PreviewRun(CThreadChecker* checker, CTWAIN* twain) {
  RecordBytes r = Working();
  if (twain) twain->DisableDS();
  FormatOptions options(r);
  RecordBytes pdfField = PREF_SAVE::kPDF.in(r);
  const FSSpec pdfBefore = StPDFDialog::kAppendTo.get(pdfField);
  FSSpec folder = PREF_SAVE::kFolder.get(r);
  unsigned char dayFolder = PREF_SAVE::kCheckDYIN.get(r);
  long fileType = long(PREF_SAVE::kFileType.get(r));
  Str255 name, addName;
  if (checker)
    PREF_SAVE::kDefaultFileName.get(r, name);
  else
    mName->GetDescriptor(name);
  PREF_SAVE::kFileName.get(r, addName);
  TArray<FSSpec>* written = nullptr;
  const MessageT answer = CPreviewDialog::ShowPreviewDialog(
      PREF_SETTING::kTWAIN.get(PREF_ALL::kSetting.in(PrefAll())), checker, &mPendingPages, &mPendingExif, this, folder,
      dayFolder, name, &options.pdf, &options.jpeg, &options.pict, &options.tiff, fileType, kCallerSave, kCreator, &written, 0, mRunAdobeRGB, nullptr,
      nullptr, checker ? addName : nullptr, IsStitch() ? 1 : 0, 0, 0);
  PREF_SAVE::kFolder.set(r, folder);
  PREF_SAVE::kCheckDYIN.set(r, dayFolder);
  PREF_SAVE::kFileType.set(r, UInt32(fileType));
  options.StoreInto(r);
  mPendingPageCount = 0;
  ReloadDefaultExif(PrefAll());
  const FSSpec pdfAfter = StPDFDialog::kAppendTo.get(pdfField);
  if (pdfAfter.vRefNum != pdfBefore.vRefNum || pdfAfter.parID != pdfBefore.parID ||
      !SameText(pdfAfter.name, pdfBefore.name))
    SetFileNamePdfAdd(pdfAfter);
  {
    CWXUtility::StStopListening quiet(this);
    mDayFolder->SetValue(dayFolder);
    mFileType->SetValue(SInt32(fileType));
    SetResolution_Popup();
    SetFolderNameEditText();
    SetFileNameEditText();
    SetSaveToStaticText();
    SetDayInCheckBox();
    SetEZCheckBox();
    SetPdfButton();
    SetUIonBox();
    SetAdobeRGBCheckBox();
    if (StPDFDialog::kLanguageOption.get(pdfField) == 0) StPDFDialog::kOptionCBXT.set(pdfField, 0);
  }
  delete written;
  if (!checker) return;
  const short result = twain ? twain->GetResult() : 0;
  DeleteRunObjects(checker);
  Refresh();
  CloseStitchDialog();
  if (IsVisible()) Activate();
  if (answer == 'RTUN' && mAutoStart) {
    // Scanned, unsaved pages stay pending with the dialog open.
    mAutoStart = 0;
    return;
  }
  EndAutoStart(result != kTransferCancelledInDriverWindow && answer != msg_Cancel);
}

// The wizard closes itself once it has handed over or given up; the dialog only forgets it.
void CSaveDialogBox::CloseStitchDialog() { mStitchDialog = nullptr; }

void CSaveDialogBox::EndAutoStart(bool mayQuit) {
  if (mAutoStart == 0) return;
  mAutoStart = 0;
  if (mayQuit && PREF_SETTING::kQuitOption.get(PREF_ALL::kSetting.in(PrefAll())) == 1) {
    ProcessCommand(kCommandQuit);
    return;
  }
  DoClose();
}

void CSaveDialogBox::OnStitchClosed() {
  CloseStitchDialog();
  if (!IsVisible()) Show();
  if (mAutoStart == 0) return;
  mAutoStart = 0;
  if (mStartingStitch)
    mCloseWhenStarted = true;
  else
    DoClose();
}

void CSaveDialogBox::Click(SMouseDownEvent& event) {
  if (UProcess::BringSelfToFront()) Activate();
  LDialogBox::Click(event);
}

void CSaveDialogBox::ClickInTitleBar(const EventRecord& event) {
  UProcess::BringSelfToFront();
  LDialogBox::ClickInTitleBar(event);
}
