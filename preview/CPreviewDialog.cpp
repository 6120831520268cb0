#include "preview/CPreviewDialog.h"

#include <cstring>
#include <memory>
#include <vector>

#include "app/CPopupButton.h"
#include "app/CToolTip.h"
#include "prefs/WXDefaultDir.h"
#include "framework/LControl.h"
#include "framework/LException.h"
#include "framework/StDialogHandler.h"
#include "framework/UReanimator.h"
#include "output/export/WXChoosers.h"
#include "output/export/WXExport.h"
#include "output/glue/CAddPDFFile.h"
#include "output/hub/UProcess.h"
#include "output/hub/WXChecks.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hub/WXFolders.h"
#include "output/hub/WXLaunch.h"
#include "output/hub/WXNaming.h"
#include "output/hub/WXText.h"
#include "output/hubdialogs/WXAlert.h"
#include "output/hubdialogs/WXFormatDialogs.h"
#include "preview/CExifDialog.h"
#include "preview/CPreviewCaption.h"
#include "preview/CPreviewThumbnail.h"
#include "preview/CPreviewView.h"
#include "scanner/CTWAIN.h"
#include "scanner/CThreadChecker.h"
#include "scanner/Scanner.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

namespace {

constexpr SInt32 kAlertLayout = 400;
constexpr SInt16 kAlertList = 400;
enum : SInt32 {
  kItemFailed = 3,
  kItemDiscardOther = 8,
  kItemNoPermission = 13,
  kItemAppendTo = 31,
  kItemChoosePDF = 32,
  kItemDiscardSave = 43,
  kItemDiscardFile = 44,
  kItemDiscardScan = 45,
  kItemDiscardMail = 46,
};
enum : SInt16 { kSaveLabel = 3, kCloseLabel = 5, kSaveToText = 6, kAddToText = 7 };
constexpr SInt16 kToolTips = 10003, kSendTip = 4, kSaveTip = 5;
constexpr SInt16 kPDFLayout = 300, kJPEGLayout = 310, kOtherLayout = 320;
constexpr long kGrowRows = 5, kGrowBy = 150;
constexpr SInt16 kPathMargin = 15;
constexpr EventModifiers kCommand = 0x0100;

// Each dialog type's popup menu, by type.
constexpr ResIDT kPreviewFileTypeID[] = {0, 0, 507, 501, 502, 503, 504, 505, 506};

bool Exists(const FSSpec& spec) {
  FSSpec found{};
  return spec.name[0] != 0 && FSMakeFSSpec(spec.vRefNum, spec.parID, spec.name, &found) == noErr;
}

void DeletePageFiles(const ScanDataPlus& page) {
  CWXUtility::DeleteFileWithRetry(page.imageFile);
  CWXUtility::DeleteFileWithRetry(page.rawFile);
}

void Alert(LCommander* super, SInt32 item) {
  CWXUtility::Show_Error(kAlertLayout, super, kAlertList, item, 0, 1, nullptr, 0);
}

// The popup item that stands for PDF append and for a multi-page PDF, by type (0: none).
long AppendItem(long type) { return type == 3 ? 4 : type == 5 ? 6 : type == 6 ? 3 : 0; }
long MultiItem(long type) { return type == 3 ? 3 : type == 5 ? 5 : type == 6 ? 2 : 0; }

// The type the preview pages are written as before the dialog shows: 'PICT' unless the
// popup value names another.
OSType PreviewPageType(long type, long popup) {
  const OSType t = CPreviewDialog::FileTypeFor(type, popup);
  const bool known = (type == 3 && popup >= 1 && popup <= 4) || (type == 5 && popup >= 1 && popup <= 6) ||
                     (type == 6 && popup >= 1 && popup <= 3) ||
                     ((type == 2 || type == 7 || type == 8) && popup >= 1 && popup <= 3);
  return known ? t : 'PICT';
}

}  // namespace

CPreviewDialog::CPreviewDialog(LStream* stream) : LDialogBox(stream) { sPreviewDialog = this; }

CPreviewDialog::~CPreviewDialog() {
  if (sPreviewDialog == this) sPreviewDialog = nullptr;
}

void CPreviewDialog::FinishCreateSelf() {
  LDialogBox::FinishCreateSelf();
  UReanimator::LinkListenerToControls(this, this, kControlLinks);
  mFileType = dynamic_cast<CPopupButton*>(FindPaneByID('FTYP'));
  mBrowse = dynamic_cast<LControl*>(FindPaneByID('SANS'));
  mFolderText = FindPaneByID('FOLD');
  mDayFolder = dynamic_cast<LControl*>(FindPaneByID('DYIN'));
  mSaveToText = FindPaneByID('TOTX');
  mView = dynamic_cast<CPreviewView*>(FindPaneByID('THUV'));
  ThrowIfNil_(mFileType);
  ThrowIfNil_(mBrowse);
  ThrowIfNil_(mFolderText);
  ThrowIfNil_(mDayFolder);
  ThrowIfNil_(mSaveToText);
  ThrowIfNil_(mView);
  mView->AddListener(this);
  SetSaveToStaticText();
}

OSType CPreviewDialog::FileTypeFor(long type, long popup) {
  switch (type) {
    case 2:
    case 7:
    case 8:
      return popup == 1 ? 'PICT' : popup == 2 ? 'JPEG' : 'TIFF';
    case 3:
      return popup == 1 ? 'JPEG' : popup >= 2 && popup <= 4 ? 'PDF ' : 'TIFF';
    case 5:
      return popup == 1 ? 'PICT' : popup == 2 ? 'JPEG' : popup == 3 ? 'TIFF' : popup <= 6 ? 'PDF ' : 'TIFF';
    case 6:
      return 'PDF ';
    default:
      return 'TIFF';
  }
}

ResIDT CPreviewDialog::MenuFor(long type) { return type >= 0 && type <= 8 ? kPreviewFileTypeID[type] : 0; }

OSType CPreviewDialog::GetFileType() const { return FileTypeFor(mDialogType, mFileType->GetValue()); }

long CPreviewDialog::IsPDFAdd() const {
  return AppendItem(mDialogType) != 0 && mFileType->GetValue() == AppendItem(mDialogType);
}

bool CPreviewDialog::IsPDFMulti() const { return StPDFDialog::kUnused4.get(const_cast<StPDFDialog&>(mPDF).view()) == 1; }

FSSpec CPreviewDialog::AppendTarget() const {
  return StPDFDialog::kAppendTo.get(const_cast<StPDFDialog&>(mPDF).view());
}

long CPreviewDialog::IncludedCount() const {
  long n = 0;
  for (ArrayIndexT k = 1; k <= mView->GetThumbnails().GetCount(); ++k) n += mView->GetThumbnails()[k]->IsIncluded();
  return n;
}

void CPreviewDialog::SetThumbnail(TArray<ScanDataPlus>* pages, TArray<EXIF_PREF>* exifs, ArrayIndexT selected) {
  mView->SetImageArray(pages, exifs);
  if (mView->GetThumbnails().ValidIndex(selected)) mView->GetThumbnails()[selected]->SetSelected(true);
}

void CPreviewDialog::SetDialogType(long type, long popupValue, unsigned char saveLabel, long keepCancelLabel) {
  mDialogType = type;
  mFileType->SetMenuID(MenuFor(type));
  SetSettingButton();
  SetExifSettingButton();
  if (type == type_PrintLayout)
    if (auto* back = dynamic_cast<LControl*>(FindPaneByID(msg_Return))) back->Disable();
  if (type == type_PrintLayout || type == type_Scan1 || type == type_Scan2) {
    StopListening();
    mFileType->SetValue(popupValue);
    StartListening();
  }
  Str255 text;
  LPane* send = FindPaneByID(msg_Send);
  ThrowIfNil_(send);
  const bool saves = type == type_Save || type == type_PrintLayout || saveLabel == 1;
  if (saves) {
    GetIndString(text, kTexts, kSaveLabel);
    send->SetDescriptor(text);
  }
  send->AddAttachment(new CToolTip(kToolTips, saves ? kSaveTip : kSendTip, -2, true));
  if (type == type_Save || type == type_PrintLayout ||
      ((type == type_Mail || type == type_File) && keepCancelLabel == 0)) {
    LPane* cancel = FindPaneByID('BTCN');
    ThrowIfNil_(cancel);
    GetIndString(text, kTexts, kCloseLabel);
    cancel->SetDescriptor(text);
  }
}

void CPreviewDialog::SetFileTypePopup() {
  bool pict = true, jpeg = true, tooTall = false, bilevel = false;
  const TArray<CPreviewThumbnail*>& cells = mView->GetThumbnails();
  for (ArrayIndexT k = 1; k <= cells.GetCount(); ++k) {
    if (!cells[k]->IsIncluded()) continue;
    const ScanDataPlus& page = cells[k]->Page();
    if (page.width > 4095) pict = false;
    if (page.bitsPerPixel == 1) jpeg = false, bilevel = true;
    if (page.height > 6000) tooTall = true;
  }
  const bool pdf = !tooTall || bilevel;
  auto setItem = [&](SInt16 item, bool on) {
    if (on)
      mFileType->EnableItem(item);
    else
      mFileType->DisableItem(item);
  };
  const long t = mDialogType;
  if (t == 2 || t == 5 || t == 7 || t == 8) {
    setItem(1, pict);
    setItem(2, jpeg);
  }
  if (t == 3) setItem(1, jpeg);
  if (t == 3) {
    if (mCallerPopup == 3 || mCallerPopup == 4)
      setItem(1, false);
    else if (!pdf)
      for (SInt16 i = 2; i <= 4; ++i) setItem(i, false);
  }
  if (t == 5) {
    if (mCallerPopup == 5 || mCallerPopup == 6)
      for (SInt16 i = 1; i <= 3; ++i) setItem(i, false);
    else if (!pdf)
      for (SInt16 i = 4; i <= 6; ++i) setItem(i, false);
  }
  const SInt16 count = mFileType->CountMenuItems();
  const SInt16 now = SInt16(mFileType->GetValue());
  SInt16 chosen = 0;
  if (now >= 1 && now <= count && mFileType->ItemIsEnabled(now)) chosen = now;
  for (SInt16 i = SInt16(now - 1); !chosen && i >= 1; --i)
    if (i <= count && mFileType->ItemIsEnabled(i)) chosen = i;
  for (SInt16 i = SInt16(now + 1); !chosen && i <= count; ++i)
    if (i >= 1 && mFileType->ItemIsEnabled(i)) chosen = i;
  if (chosen && chosen != now) {
    StopListening();
    mFileType->SetValue(chosen);
    StartListening();
    // Moved in code, the popup brings the rest of the dialog along as a user's choice would.
    FileTypeChanged();
  }
}

void CPreviewDialog::SetSettingButton() {
  if (auto* button = dynamic_cast<LControl*>(FindPaneByID('SETI'))) {
    if (IncludedCount() > 0)
      button->Enable();
    else
      button->Disable();
  }
}

void CPreviewDialog::SetTransButton() {
  if (auto* button = dynamic_cast<LControl*>(FindPaneByID(msg_Send))) {
    if (IncludedCount() > 0)
      button->Enable();
    else
      button->Disable();
    button->Refresh();
  }
}

void CPreviewDialog::SetExifSettingButton() {
  auto* button = dynamic_cast<LControl*>(FindPaneByID('SETE'));
  if (!button) return;
  const long value = mFileType->GetValue();
  const bool jpeg = mDialogType == type_Mail ? value == 1 : mDialogType != type_File && value == 2;
  if (IncludedCount() > 0 && jpeg && mDialogType != type_File)
    button->Enable();
  else
    button->Disable();
}

void CPreviewDialog::SetSelectAndDay() {
  mBrowse->Enable();
  if (IsPDFAdd())
    mDayFolder->Disable();
  else
    mDayFolder->Enable();
}

void CPreviewDialog::SetSaveToStaticText() {
  Str255 text;
  GetIndString(text, kTexts, mFileType && mView && IsPDFAdd() ? kAddToText : kSaveToText);
  mSaveToText->SetDescriptor(text);
}

void CPreviewDialog::SetFolderNameEditText() {
  SDimension16 frame;
  mFolderText->GetFrameSize(frame);
  const SInt16 width = SInt16(frame.width - kPathMargin);
  FSSpec shown{};
  if (!IsPDFAdd()) {
    if (!Exists(mFolder) && !(mFolder.name[0] == 0 && mFolder.parID != 0)) CWXUtility::Get_Default_Dir(&mFolder);
    shown = mFolder;
  } else {
    FSSpec target = AppendTarget();
    if (!Exists(target)) {
      target.name[0] = 0;
      StPDFDialog::kAppendTo.set(mPDF.view(), target);
    }
    if (target.name[0] == 0) {
      mFolderText->SetDescriptor(reinterpret_cast<ConstStr255Param>(""));
      return;
    }
    shown = target;
  }
  mFolderText->FocusDraw();
  SInt16 length = 0;
  Handle path = CWXUtility::GetFullPathTrank(shown, width, &length);
  if (!path) {
    ThrowIf_(IsPDFAdd());
    return;
  }
  Str255 text;
  text[0] = UInt8(std::min<SInt16>(length, 255));
  std::memcpy(text + 1, *path, text[0]);
  DisposeHandle(path);
  mFolderText->SetDescriptor(text);
}

long CPreviewDialog::SetSansyoButton() {
  Str255 title;
  GetDescriptor(title);
  long chosen = 0;
  if (!IsPDFAdd()) {
    FSSpec folder{};
    chosen = CWXUtility::ChooseFolder(folder, title, mFolder);
    if (chosen == 1) mFolder = folder;
  } else {
    FSSpec pdf{};
    FSSpec last = AppendTarget();
    chosen = CWXUtility::ChoosePDFFile(pdf, title, last);
    if (chosen == 1) {
      StPDFDialog::kAppendTo.set(mPDF.view(), pdf);
      mView->SetThumbnailName_Add();
      SettingThumbnailName();
    }
  }
  SetFolderNameEditText();
  return chosen;
}

void CPreviewDialog::SetBefore_IsPDFMultiAndPDFAdd() {
  mWasMulti = IsPDFMulti() ? 1 : 0;
  mWasAppend = IsPDFAdd() ? 1 : 0;
}

void CPreviewDialog::SettingThumbnailName() {
  const bool named = AppendTarget().name[0] != 0;
  const bool wasAppend = mWasAppend != 0, wasMulti = mWasMulti != 0 && !wasAppend;
  if (IsPDFAdd()) {
    if (!IsPDFMulti()) return;
    mView->SettingThumbnailName_PDFMultiAdd(wasAppend ? 0 : wasMulti ? 2 : 1);
    mWasMulti = 1, mWasAppend = 1;
    return;
  }
  if (IsPDFMulti()) {
    if (wasAppend && named) {
      mView->BackupAddName();
      mView->SettingThumbnailName_PDFMulti(0);
    } else {
      mView->SettingThumbnailName_PDFMulti(wasAppend ? 2 : wasMulti ? 0 : 1);
    }
    mWasMulti = 1, mWasAppend = 0;
    return;
  }
  if (!wasAppend && !wasMulti) return;
  if (wasAppend && named) {
    mView->BackupAddName();
    mView->SettingThumbnailName_NotPDFAdd(0);
  } else {
    mView->SettingThumbnailName_NotPDFAdd(2);
  }
  mWasMulti = 0, mWasAppend = 0;
}

void CPreviewDialog::ShowSettingDialog() {
  const OSType type = GetFileType();
  const long value = mFileType->GetValue();
  const long items = mFileType->CountMenuItems();
  if (value < 1 || value > items) return;
  if (type == 'JPEG')
    CWXUtility::JPEGSetting(kJPEGLayout, this, mJPEG, mDialogType == type_Mail ? 0 : 1, 1, 1, 0);
  else if (type == 'PDF ')
    CWXUtility::PDFSetting(kPDFLayout, this, mPDF, 0, 1, 1, 0);
  else if (type == 'PICT')
    CWXUtility::OtherSetting(kOtherLayout, this, mPICT, 0, 1, 1, 0);
  else
    CWXUtility::OtherSetting(kOtherLayout, this, mTIFF, 0, 1, 1, 0);
}

void CPreviewDialog::ShowExifSettingDialog() {
  const long t = mDialogType;
  if (t != 2 && t != 3 && t != 5 && t != 7 && t != 8) return;
  CPreviewThumbnail* selected = mView->GetSelectedThumbnail();
  if (!selected) return;
  selected->TakeCaptionName();
  TArray<SExifPage> pages;
  const TArray<CPreviewThumbnail*>& cells = mView->GetThumbnails();
  for (ArrayIndexT k = 1; k <= cells.GetCount(); ++k) {
    SExifPage page;
    page.record = &cells[k]->Exif();
    std::memcpy(page.name, cells[k]->Page().displayName, sizeof page.name);
    page.listed = cells[k]->IsIncluded();
    pages.AddItem(page);
  }
  Str255 name;
  std::memcpy(name, selected->Page().displayName, sizeof name);
  CExifDialog::ShowExifDialog(&selected->Exif(), name, this, &pages);
}

void CPreviewDialog::FileTypeChanged() {
  const long value = mFileType->GetValue();
  const bool append = value == AppendItem(mDialogType) && value != 0;
  const bool multi = append || (value == MultiItem(mDialogType) && value != 0);
  StPDFDialog::kUnused4.set(mPDF.view(), multi ? 1 : 0);
  StPDFDialog::kUnused8.set(mPDF.view(), append ? 1 : 0);
  mView->CommitSelectedEdit(true);
  SetSettingButton();
  SetExifSettingButton();
  SetSelectAndDay();
  SetSaveToStaticText();
  SetFolderNameEditText();
  SettingThumbnailName();
}

void CPreviewDialog::SelectionChanged() {
  SetTransButton();
  SetFileTypePopup();
  SetSettingButton();
  SetExifSettingButton();
}

void CPreviewDialog::ListenToMessage(MessageT message, void*) {
  switch (message) {
    case 'SETI':
      ShowSettingDialog();
      SetSelectAndDay();
      break;
    case 'SETE':
      if (mView->CheckFileNameString() == 1) ShowExifSettingDialog();
      break;
    case 'SANS':
      StopListening();
      SetSansyoButton();
      StartListening();
      break;
    case 'FTYP':
      FileTypeChanged();
      break;
    case 'R090':
      mView->RotatePicture(90);
      break;
    case 'R270':
      mView->RotatePicture(270);
      break;
    case 'Thum':
    case 'Schk':
    case 'ShSC':
    case 'CmdC':
    case 'Fncp':
    case 'Pppn':
      SelectionChanged();
      break;
    default:
      break;
  }
}

bool CPreviewDialog::HandleKeyPress(const EventRecord& event) {
  if ((event.modifiers & kCommand) && (event.message & charCodeMask) == 'a') {
    mView->SelectAll();
    SelectionChanged();
    Refresh();
  }
  return LDialogBox::HandleKeyPress(event);
}

void CPreviewDialog::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                       Str255 outName) {
  if (CWXUtility::sIsQuellaneOpened == 1) {
    outEnabled = false;
    return;
  }
  if (command == 1 || command == -8388608) {
    outEnabled = true;
    return;
  }
  LDialogBox::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
}

void CPreviewDialog::GetImageArray(TArray<ScanDataPlus>& pages, TArray<EXIF_PREF>& exifs) const {
  pages.RemoveAllItems();
  exifs.RemoveAllItems();
  const TArray<CPreviewThumbnail*>& cells = mView->GetThumbnails();
  for (ArrayIndexT k = 1; k <= cells.GetCount(); ++k) {
    cells[k]->TakeCaptionName();
    pages.AddItem(cells[k]->Page());
    exifs.AddItem(cells[k]->Exif());
  }
}

void CPreviewDialog::KeepInStatics() const {
  sFolderSpec = mFolder;
  sUseDaySubFolder = UInt8(mDayFolder->GetValue());
  sFileTypePopup = mFileType->GetValue();
  sPDFSetting = mPDF;
  sJPEGSetting = mJPEG;
  sPICTSetting = mPICT;
  sTIFFSetting = mTIFF;
}

bool CPreviewDialog::SendChecksPass() {
  if (IsPDFAdd()) {
    if (!Exists(AppendTarget())) {
      Alert(this, kItemChoosePDF);
      StopListening();
      const long chosen = SetSansyoButton();
      StartListening();
      if (chosen != 1) return false;
    }
    const LStr255 name = CWXUtility::GetPDFAddLongName(AppendTarget());
    if (CWXUtility::Show_Error(kAlertLayout, this, kAlertList, kItemAppendTo, 1, 1, name, 0) != msg_OK) return false;
  }
  // Appending writes the new document beside the PDF, so that folder must take it.
  FSSpec folder = mFolder;
  UInt8 day = UInt8(mDayFolder->GetValue());
  if (IsPDFAdd()) {
    const FSSpec target = AppendTarget();
    FSMakeFSSpec(target.vRefNum, target.parID, nullptr, &folder);
    day = 0;
  }
  if (CWXUtility::check_permission(&folder, day) == 0) {
    Alert(this, kItemNoPermission);
    return false;
  }
  return true;
}

bool CPreviewDialog::DiscardConfirmed() {
  SInt32 item = kItemDiscardOther;
  switch (mDialogType) {
    case type_Mail: item = kItemDiscardMail; break;
    case type_Save: item = kItemDiscardSave; break;
    case type_File: item = kItemDiscardFile; break;
    case type_Scan1:
    case type_Scan2: item = kItemDiscardScan; break;
    default: break;
  }
  return CWXUtility::Show_Error(kAlertLayout, this, kAlertList, item, 1, 1, nullptr, 0) == msg_OK;
}

TArray<FSSpec>* CPreviewDialog::Export(TArray<ScanDataPlus>* pages, TArray<EXIF_PREF>* exifs, bool deleteSources,
                                       const ExportFlags& flags) {
  if (IsPDFAdd()) return AppendToPDF(pages, exifs, deleteSources, flags);
  return CWXUtility::ExportToFileUseScanDataPlus(pages, GetFileType(), sFolderSpec, sUseDaySubFolder, sPDFSetting,
                                                 sJPEGSetting, sPICTSetting, sTIFFSetting, exifs,
                                                 UInt8(flags.adobeRGB), deleteSources ? 1 : 0, flags.stitched,
                                                 flags.skew, flags.orientation, flags.creator);
}

TArray<FSSpec>* CPreviewDialog::AppendToPDF(TArray<ScanDataPlus>* pages, TArray<EXIF_PREF>* exifs,
                                            bool deleteSources, const ExportFlags& flags) {
  // Appending without a multi-page document writes nothing.
  if (StPDFDialog::kUnused4.get(mPDF.view()) != 1) return nullptr;
  std::unique_ptr<TArray<FSSpec>> parts(CWXUtility::ExportToFileUseScanDataPlus_AddPDFFile(
      pages, GetFileType(), sFolderSpec, sUseDaySubFolder, sPDFSetting, exifs, flags.skew, flags.orientation,
      flags.creator));
  if (!parts) return nullptr;
  Str255 base{};
  for (ArrayIndexT k = 1; k <= pages->GetCount(); ++k)
    if ((*pages)[k].written == 1) {
      std::memcpy(base, (*pages)[k].displayName, sizeof base);
      break;
    }
  const FSSpec target = AppendTarget();
  FSSpec folder{};
  FSMakeFSSpec(target.vRefNum, target.parID, nullptr, &folder);
  FSSpec copy = CWXUtility::CreateNewPDFFile(base, folder, mPDF);
  bool failed = copy.name[0] == 0;
  for (ArrayIndexT i = 1; i <= parts->GetCount(); ++i) {
    FSSpec part = (*parts)[i];
    if (!failed) failed = CAddPDFFile(copy, part).AddToSourceFile() != 1;
    CWXUtility::DeleteFileWithRetry(part);
  }
  if (failed) {
    if (copy.name[0] != 0) CWXUtility::DeleteFileWithRetry(copy);
    Alert(this, kItemFailed);
    return nullptr;
  }
  FInfo info{};
  if (FSpGetFInfo(&copy, &info) == noErr) {
    info.fdType = 'PDF ';
    info.fdCreator = 'prvw';
    FSpSetFInfo(&copy, &info);
  }
  if (deleteSources)
    for (ArrayIndexT k = 1; k <= pages->GetCount(); ++k)
      if ((*pages)[k].written == 1) DeletePageFiles((*pages)[k]);
  auto* written = new TArray<FSSpec>;
  written->AddItem(copy);
  return written;
}

MessageT CPreviewDialog::ShowPreviewDialog(unsigned char isTWAIN, CThreadChecker* checker, TArray<ScanDataPlus>* pages,
                                           TArray<EXIF_PREF>* exifs, LCommander* caller, FSSpec& folder,
                                           unsigned char& useDaySubFolder, ConstStr255Param baseName,
                                           StPDFDialog* pdf, StJPEGDialog* jpeg, StOtherDialog* pict,
                                           StOtherDialog* tiff, long& fileTypePopup, long dialogType, OSType creator,
                                           TArray<FSSpec>** writtenFiles, long jpegSizeLimit, long adobeRGB,
                                           TArray<unsigned char>* includeFlags, TArray<long>* rotations,
                                           ConstStr255Param addToPDFName, long stitched, unsigned char saveLabel,
                                           long keepCancelLabel) {
  StCurResFile appResources(ApplicationResFile());
  if (!pages || !exifs || !pdf || !jpeg || !pict || !tiff) return msg_Cancel;

  if (sFirstCall == 1) {
    sFirstCall = 0;
    sFolderSpec = folder;
    sUseDaySubFolder = useDaySubFolder;
    sPDFSetting = *pdf;
    sJPEGSetting = *jpeg;
    sPICTSetting = *pict;
    sTIFFSetting = *tiff;
    sFileTypePopup = fileTypePopup;
  } else if (StPDFDialog::kRestricted.get(sPDFSetting.view()) == 1 && StPDFDialog::kRestricted.get(pdf->view()) == 0) {
    StPDFDialog::kRestricted.set(sPDFSetting.view(), 0);
  }

  const ArrayIndexT before = pages->GetCount();
  const ArrayIndexT firstNew = dialogType == type_PrintLayout ? 1 : checker ? before + 1 : 1;

  Str255 defaultName{};
  const SInt16 nameList = dialogType == 3   ? 2000
                          : dialogType == 5 ? 4000
                          : dialogType == 6 ? 5000
                          : dialogType == 7 ? 6000
                          : dialogType == 8 ? 7000
                                            : 0;
  if (nameList) GetIndString(defaultName, nameList, 1);
  const Str255 empty{};
  ConstStr255Param base = baseName ? baseName : empty;
  const unsigned char nameIsDefault =
      dialogType == type_PrintLayout || (base[0] == defaultName[0] && std::memcmp(base + 1, defaultName + 1, base[0]) == 0);
  const OSType previewType = PreviewPageType(dialogType, sFileTypePopup);

  if (checker) {
    Scanner* scanner = checker->GetScanner();
    CTWAIN* twain = checker->GetTWAIN();
    if (!scanner && !twain) Throw_('asrt');
    if (isTWAIN == 0) {
      if (!scanner || scanner->GetImageCount() == 0) return msg_Cancel;
    } else {
      if (!twain) return msg_Cancel;
      const short result = twain->GetResult();
      const bool usable = result == 0 || result == 3 || StPDFDialog::kUnused4.get(pdf->view()) != 0 ||
                          (result == 1 && twain->GetShowDriverUI() == 1);
      if (!usable || twain->GetImageCount() + long(before) == 0) return msg_Cancel;
    }
    if (dialogType == type_Mail && jpegSizeLimit != 0)
      CWXUtility::ExportToFileForPreviewForMail(isTWAIN, checker, base, pages, exifs, jpegSizeLimit, pdf, jpeg, pict,
                                                tiff, previewType, creator);
    else
      CWXUtility::ExportToFileForPreview(isTWAIN, checker, base, pages, exifs, pdf, jpeg, pict, tiff,
                                         stitched == 1 ? 1 : 0, previewType, creator);
  }
  if (pages->GetCount() == 0) return msg_Cancel;

  const bool layout = includeFlags && rotations;
  std::vector<std::vector<unsigned char>> taken;
  const long dayForNames = sFileTypePopup == AppendItem(dialogType) && AppendItem(dialogType) ? 0 : sUseDaySubFolder;
  for (ArrayIndexT k = 1; k <= pages->GetCount(); ++k) {
    ScanDataPlus& page = (*pages)[k];
    if (layout) {
      if (includeFlags->ValidIndex(k)) page.written = (*includeFlags)[k];
      if (includeFlags->GetCount() == rotations->GetCount() && rotations->ValidIndex(k))
        page.rotation = SInt32((*rotations)[k]);
    }
    if (k > before || dialogType == type_PrintLayout) {
      FSSpec spec{};
      CWXUtility::create_Previewfile_spec(base, sFolderSpec, &spec, dayForNames, &previewType, nameIsDefault, taken,
                                          layout ? 0 : UInt8(adobeRGB));
      page.displayName[0] = UInt8(spec.name[0] > 4 ? spec.name[0] - 4 : 0);
      std::memcpy(page.displayName + 1, spec.name + 1, page.displayName[0]);
    }
    taken.emplace_back(page.displayName, page.displayName + 1 + page.displayName[0]);
  }

  StDialogHandler handler(kLayout, caller);
  auto* dialog = dynamic_cast<CPreviewDialog*>(handler.GetDialog());
  ThrowIfNil_(dialog);
  dialog->SetPdfPref(*pdf);
  dialog->SetJpegPref(*jpeg);
  dialog->SetPictPref(*pict);
  dialog->SetTiffPref(*tiff);

  ExportFlags flags{adobeRGB, stitched, 0, 0, creator};
  if (stitched == 0) {
    if (previewType == 'PDF ') {
      flags.skew = StPDFDialog::kOptionCBCR.get(pdf->view()) == 1;
      flags.orientation = StPDFDialog::kOptionCBXT.get(pdf->view()) == 1;
    } else {
      const RecordBytes other = previewType == 'JPEG' ? jpeg->view() : previewType == 'TIFF' ? tiff->view() : pict->view();
      flags.skew = other.u32(8) == 1;
      flags.orientation = other.u32(0) == 1;
    }
  }

  dialog->mFolder = folder;
  dialog->SetFolderNameEditText();
  dialog->SetThumbnail(pages, exifs, firstNew);
  dialog->SetDialogType(dialogType, sFileTypePopup, saveLabel, keepCancelLabel);
  dialog->mCallerPopup = fileTypePopup;
  dialog->mFileType->SetValue(fileTypePopup);
  dialog->SetFileTypePopup();
  dialog->SetSettingButton();
  dialog->SetExifSettingButton();
  dialog->mDayFolder->SetValue(useDaySubFolder);
  dialog->SetTransButton();
  dialog->SetBefore_IsPDFMultiAndPDFAdd();
  dialog->mView->InitThumbnailName_Add(addToPDFName);
  dialog->SettingThumbnailName();
  if (pages->GetCount() > ArrayIndexT(kGrowRows)) {
    dialog->ResizeWindowBy(0, kGrowBy);
    dialog->MoveWindowBy(0, -kGrowBy / 2);
  }

  MessageT message = msg_Nothing;
  for (;;) {
    message = handler.DoDialog();
    if (dialogType == type_PrintLayout && rotations &&
        (message == msg_Return || message == msg_Send || message == msg_Cancel)) {
      rotations->RemoveAllItems();
      const TArray<CPreviewThumbnail*>& cells = dialog->mView->GetThumbnails();
      for (ArrayIndexT k = 1; k <= cells.GetCount(); ++k) rotations->AddItem(cells[k]->Page().rotation);
    }
    if (message == msg_Return || message == msg_Send) {
      if (dialog->mView->CheckFileNameString() != 1) continue;
      if (message == msg_Return) break;
      if (!dialog->SendChecksPass()) continue;
      if (dialogType != type_Save) break;
      dialog->KeepInStatics();
      dialog->GetImageArray(*pages, *exifs);
      TArray<FSSpec>* written = dialog->Export(pages, exifs, false, flags);
      if (writtenFiles) {
        delete *writtenFiles;
        *writtenFiles = written;
      }
      // The folder opens in the file manager, which takes the focus itself.
      if (written && written->GetCount() > 0) CWXUtility::OpenFolderWithFSSpec((*written)[1]);
      if (!writtenFiles) delete written;
      continue;
    }
    if (message == msg_Cancel) {
      if (dialogType == type_PrintLayout) break;
      if (!dialog->DiscardConfirmed()) continue;
      for (ArrayIndexT k = 1; k <= pages->GetCount(); ++k) DeletePageFiles((*pages)[k]);
      pages->RemoveAllItems();
      exifs->RemoveAllItems();
      break;
    }
  }

  if (message == msg_Cancel || message == msg_Send) sFirstCall = 1;
  folder = dialog->mFolder;
  useDaySubFolder = UInt8(dialog->mDayFolder->GetValue());
  fileTypePopup = dialog->mFileType->GetValue();
  *pdf = dialog->mPDF;
  dialog->KeepInStatics();
  if (message != msg_Cancel) dialog->GetImageArray(*pages, *exifs);
  if (message == msg_Send) {
    TArray<FSSpec>* written = dialog->Export(pages, exifs, dialogType != type_PrintLayout, flags);
    if (writtenFiles) {
      delete *writtenFiles;
      *writtenFiles = written;
    } else {
      delete written;
    }
    if (dialogType != type_PrintLayout) {
      // Written pages and pages left out leave the job; a page not written keeps its files
      // and stays with the caller.
      for (ArrayIndexT k = pages->GetCount(); k >= 1; --k)
        if ((*pages)[k].written != 1 || !Exists((*pages)[k].imageFile)) {
          pages->RemoveItemsAt(1, k);
          exifs->RemoveItemsAt(1, k);
        }
    }
  }
  *pdf = sPDFSetting;
  *jpeg = sJPEGSetting;
  *pict = sPICTSetting;
  *tiff = sTIFFSetting;
  return message;
}

void CPreviewDialog::Click(SMouseDownEvent& event) {
  if (UProcess::BringSelfToFront()) Activate();
  LDialogBox::Click(event);
}

void CPreviewDialog::ClickInTitleBar(const EventRecord& event) {
  UProcess::BringSelfToFront();
  LDialogBox::ClickInTitleBar(event);
}
