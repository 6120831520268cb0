#include "preview/CStitchDialog.h"

#include <cstdio>
#include <cstring>

#include "app/CAppearanceApp.h"
#include "app/CMainWindow.h"
#include "app/CPicture.h"
#include "app/FunctionDialogRun.h"
#include "display/Keys.h"
#include "framework/LControl.h"
#include "framework/LException.h"
#include "framework/LStr255.h"
#include "framework/UReanimator.h"
#include "output/color/AdobeRGBPages.h"
#include "output/export/WXExport.h"
#include "output/hub/WXChecks.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hub/WXFolders.h"
#include "output/hub/WXText.h"
#include "output/hubdialogs/WXAlert.h"
#include "output/hubdialogs/WXScan.h"
#include "preview/CStitchCheckImage.h"
#include "preview/CStitchCheckStitch.h"
#include "preview/CStitchCropPane.h"
#include "preview/CStitchPicturePane.h"
#include "preview/CStitchPictureView.h"
#include "preview/StitchMergeFrame.h"
#include "scanner/CTWAIN.h"
#include "scanner/CThreadChecker.h"
#include "toolbox/MacErrors.h"
#include "toolbox/TextUtils.h"
#include "toolbox/Resources.h"

namespace {

constexpr SInt16 kAlertList = 400;
enum : SInt32 {
  kItemFailed = 3,
  kItemNextDocument = 7,
  kItemCancelStitch = 8,
  kItemBack = 36,
  kItemOutOfMemory = 39,
  kItemNextDocumentButton = 41,
};
// String list 11000 past the four step texts: the Next labels.
enum : SInt16 { kLabelNext = 5, kLabelSave = 6, kLabelCopy = 7, kLabelContinue = 8, kLabelSend = 9 };
enum : ResIDT { kGuidePicture = 11000, kDocumentPicture = 11004, kStepPicture = 11005 };
constexpr long kCallerFile = 6;
constexpr long kProductWithoutButtonPrompt = 0x1240;
constexpr long kLastMergedNumber = 9999;

void DeleteFile(FSSpec& spec) {
  if (spec.name[0] != 0) FSpDelete(&spec);
  spec = FSSpec{};
}

SInt32 Alert(LCommander* owner, SInt32 item, UInt8 cancel, UInt8 icon) {
  return CWXUtility::Show_Error(CWXUtility::kAlertLayout, owner, kAlertList, item, cancel, icon, nullptr, 0);
}

void ShowError(OSErr err) { Alert(nullptr, err == memFullErr ? kItemOutOfMemory : kItemFailed, 0, 1); }

void ShowDiskAlert(long item) { Alert(nullptr, SInt32(item), 0, 1); }

// The model turned as its half shows on screen; a turn without memory is told (or left to
// the caller) and changes nothing.
OSErr Turn(CStitchCheckImage& model, UInt16 angle, bool tell = true) {
  if (angle == 0) return noErr;
  try {
    model.RotateImage(180);
  } catch (...) {
    if (tell) ShowError(memFullErr);
    return memFullErr;
  }
  return noErr;
}

// Step 4's Next label: what the caller does with the merged page.
SInt16 FinishingLabel(long finishing, bool continues) {
  if (continues) return kLabelContinue;
  switch (finishing) {
    case 1: return kLabelCopy;
    case 2: return kLabelContinue;
    case 4:
    case 6:
    case 7: return kLabelSend;
    default: return kLabelSave;
  }
}

}  // namespace

CStitchDialog::ScanInfoFiller CStitchDialog::sScanInfoFiller = nullptr;

void CStitchDialog::SetScanInfoFiller(ScanInfoFiller filler) { sScanInfoFiller = filler; }

CStitchDialog* CStitchDialog::ShowStitchDialog(long function, unsigned char isTWAIN, unsigned char* modelName,
                                               SDimension16 customSize, long source, long imageMode,
                                               long showDriverUI, long paperIndex, long resolution, LCommander* super,
                                               long level, unsigned char flag1, long value1, LDialogBox* caller,
                                               unsigned char flag2, unsigned char flag3, FSSpec spec1, FSSpec spec2,
                                               StPDFDialog* pdf, StJPEGDialog* jpeg, StOtherDialog* pict,
                                               StOtherDialog* tiff, unsigned char flag4, long value2,
                                               unsigned long fileType, PREF_FILE* file) {
  Request r;
  r.caller = function;
  r.isTWAIN = isTWAIN;
  if (modelName) std::memcpy(r.driver, modelName, sizeof(r.driver));
  r.customSize = customSize;
  r.source = source;
  r.imageMode = imageMode;
  r.driverUI = showDriverUI;
  r.paperIndex = paperIndex;
  r.resolution = resolution;
  r.commander = super;
  r.level = level;
  r.flag = flag1;
  r.finishing = value1;
  r.dialog = caller;
  r.adobeRGB = flag2;
  r.moreDocuments = flag3;
  r.destination = spec1;
  r.temp = spec2;
  if (pdf) r.pdf = *pdf;
  if (jpeg) r.jpeg = *jpeg;
  if (pict) r.pict = *pict;
  if (tiff) r.tiff = *tiff;
  r.preview = flag4;
  r.fileTab = value2;
  r.fileType = fileType;
  if (file) r.file = *file;

  // A wizard that cannot be made closed without a result.
  CStitchDialog* wizard = nullptr;
  try {
    wizard = dynamic_cast<CStitchDialog*>(LWindow::CreateWindow(kLayout, super));
  } catch (...) {
    wizard = nullptr;
  }
  if (!wizard) {
    if (caller) caller->ListenToMessage(msg_StitchClosed, nullptr);
    return nullptr;
  }
  wizard->SetParameter(r);
  wizard->Show();
  wizard->Select();
  return wizard;
}

CStitchDialog::CStitchDialog(LStream* stream) : LDialogBox(stream) {}

CStitchDialog::~CStitchDialog() {
  DeleteScanInfoDialog();
  ReleaseHalves();
  DeleteConnection();
  if (mScanning) CWXUtility::sIsQuellaneOpened = 0;
  CWXUtility::sIsStitchDialogOpened = 0;
}

void CStitchDialog::FinishCreateSelf() {
  LDialogBox::FinishCreateSelf();
  UReanimator::LinkListenerToControls(this, this, kLayout);
  mNext = dynamic_cast<LControl*>(FindPaneByID('NxBt'));
  mBack = dynamic_cast<LControl*>(FindPaneByID(msg_Back));
  mRotate = dynamic_cast<LControl*>(FindPaneByID(msg_Rotate));
  mMessage = FindPaneByID('MsTx');
  mView = dynamic_cast<CStitchPictureView*>(FindPaneByID('StVw'));
  mGuide = dynamic_cast<CPicture*>(FindPaneByID('StGd'));
  mPicture = dynamic_cast<CPicture*>(FindPaneByID(CStitchPictureView::kPicturePaneID));
  mStepNumber = dynamic_cast<CPicture*>(FindPaneByID('StNm'));
  for (const LPane* pane : {static_cast<LPane*>(mNext), static_cast<LPane*>(mBack), static_cast<LPane*>(mRotate),
                            mMessage, static_cast<LPane*>(mView), mGuide, mPicture, mStepNumber})
    ThrowIfNil_(pane);
  mBack->Hide();
  mRotate->Hide();
  ShowTexts(1);
  ShowPictures(1);
  static_cast<CPicture*>(mPicture)->SetPicIDAndGWorld_Init(kDocumentPicture);
  mPicture->Show();
  SetStep(1);
  mMerged = 0;
  mFirstScan = 1;
  mScanning = 0;
  CWXUtility::sIsQuellaneOpened = 0;
  CWXUtility::sIsStitchDialogOpened = 1;
}

void CStitchDialog::SetParameter(const Request& request) {
  mRequest = request;
  NewConnection();
}

void CStitchDialog::NewConnection() {
  mTWAIN = new CTWAIN;
  mTWAIN->SetTempFolder(mRequest.temp);
  mTWAIN->SetIdleHook(&CWXUtility::UpdateProc);
  mChecker = new CThreadChecker(this, mTWAIN);
  // The source's own matching is turned off only when the pages can be converted instead.
  if (mRequest.adobeRGB == 1 && AdobeRGBPages::ProfileInstalled()) mTWAIN->EnableColorMatching(0);
}

void CStitchDialog::DeleteConnection() {
  if (mTWAIN) CWXUtility::DeleteAllTempFile(mChecker);
  delete mChecker;
  mChecker = nullptr;
  delete mTWAIN;
  mTWAIN = nullptr;
}

// ---- Screens ------------------------------------------------------------------------------

void CStitchDialog::ShowTexts(long step) {
  Str255 text;
  GetIndString(text, kStrings, SInt16(step));
  mMessage->SetDescriptor(text);
  mMessage->Draw(nullptr);
  GetIndString(text, kTitles, SInt16(step));
  SetDescriptor(text);
}

void CStitchDialog::ShowPictures(long step) {
  static_cast<CPicture*>(mGuide)->SetPicIDAndGWorld(ResIDT(kGuidePicture + step - 1));
  static_cast<CPicture*>(mStepNumber)->SetPicIDAndGWorld(ResIDT(kStepPicture + step - 1));
  mGuide->Draw(nullptr);
  mStepNumber->Draw(nullptr);
}

void CStitchDialog::ShowScreen(long step) {
  ShowTexts(step);
  ShowPictures(step);
  if (step == 2 || step == 3) SetNextLabel(kLabelNext);
}

void CStitchDialog::SetNextLabel(SInt16 item) {
  Str255 label;
  GetIndString(label, kStrings, item);
  mNext->SetDescriptor(label);
}

void CStitchDialog::SetStep(long step) {
  mStep = step;
  mView->SetStep(step);
}

void CStitchDialog::ShowPane(LPane* pane, bool shown) {
  if (shown)
    pane->Show();
  else
    pane->Hide();
}

// ---- Messages -----------------------------------------------------------------------------

void CStitchDialog::ListenToMessage(MessageT message, void* param) {
  switch (message) {
    case msg_OK: Next(); break;
    case msg_Cancel: Cancel(); break;
    case msg_Back: Back(); break;
    case msg_Rotate: mView->RotatePicture(mStep); break;
    case msg_ScanEnded:
      if (param == mChecker) ScanEnded(mChecker);
      break;
    default: break;
  }
}

bool CStitchDialog::HandleKeyPress(const EventRecord& event) {
  const auto c = static_cast<unsigned char>(event.message & charCodeMask);
  if (c >= kLeftArrowCharCode && c <= kDownArrowCharCode) mView->MoveRightPictureByKeyPress(c);
  return LDialogBox::HandleKeyPress(event);
}

void CStitchDialog::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                      Str255 outName) {
  constexpr CommandT kAbout = 1, kQuit = 10, kAlwaysWhileIdle = -8388608;
  if (CWXUtility::sIsQuellaneOpened == 1 || command == kAbout || command == kQuit) {
    outEnabled = false;
    return;
  }
  if (command == kAlwaysWhileIdle) {
    outEnabled = true;
    return;
  }
  LDialogBox::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
}

void CStitchDialog::Next() {
  switch (mStep) {
    case 1:
    case 2: ScanHalf(); break;
    case 3: GoToCropping(); break;
    case 4: Merge(); break;
    default: break;
  }
}

// ---- Scanning -----------------------------------------------------------------------------

void CStitchDialog::ScanHalf() {
  SetScanRunning(this, mScanning, 1);
  if (mStep == 1 && mFirstScan) {
    mFirstScan = 0;
    if (StartScan() == 0) {
      SetScanRunning(this, mScanning, 0);
      mFirstScan = 1;
      return;
    }
    SetStep(2);
    return;
  }
  CoverForScan(this);
  if (mRequest.caller == kCallerFile) ShowScanInfoDialog();
  mChecker->StartRepeating();
  if (mTWAIN->Scan_Next(mRequest.driver) == 0) {
    SetStep(mStep + 1);
    return;
  }
  // A source that does not start says so itself.
  mChecker->StopRepeating();
  SetScanRunning(this, mScanning, 0);
  if (mRequest.caller == kCallerFile) DeleteScanInfoDialog();
  UncoverAfterScan(this);
}

long CStitchDialog::StartScan() {
  Disable();
  CoverForScan(this);
  if (mRequest.caller == kCallerFile) ShowScanInfoDialog();
  const Request& r = mRequest;
  const long started = CWXUtility::ImportFromDevice(r.caller, r.isTWAIN, mChecker, mRequest.driver, r.customSize,
                                                    r.fileType, r.source, r.imageMode, r.driverUI, r.paperIndex,
                                                    r.resolution, r.commander, r.level, r.flag);
  if (started != 0) return started;
  Enable();
  Refresh();
  DeleteConnection();
  if (CAppearanceApp::sMainWindow) CAppearanceApp::sMainWindow->Refresh();
  NewConnection();
  if (mRequest.caller == kCallerFile) DeleteScanInfoDialog();
  UncoverAfterScan(this);
  return 0;
}

void CStitchDialog::ScanEnded(CThreadChecker* checker) {
  SetScanRunning(this, mScanning, 0);
  CTWAIN::TerminateTWAIN();
  if (mRequest.caller == kCallerFile) DeleteScanInfoDialog();
  UncoverAfterScan(this);
  // Only the pages of the scan that just ended: the merged ones were converted before.
  if (mRequest.adobeRGB == 1) AdobeRGBPages::Convert(*mTWAIN, long(mMerged) + 1);
  const bool scanned = checker->GetTWAIN()->GetResult() == 0 && ShowPicture();
  if (scanned) {
    if (mStep == 2) {
      mBack->Show();
      mRotate->Show();
      ShowScreen(2);
    } else {
      ShowScreen(3);
      mPicture->Hide();
      mRotate->Show();
    }
  } else {
    DropScanEntries();
    if (mStep == 2) {
      ShowTexts(1);
      mBack->Hide();
    } else {
      ShowTexts(2);
    }
    SetStep(mStep - 1);
  }
  if (IsVisible()) Activate();
}

bool CStitchDialog::ShowPicture() {
  const long index = mMerged + 1;
  if (mTWAIN->GetImageCount() < index || mTWAIN->GetTempFileArray()->GetCount() < index) {
    ShowError(paramErr);
    return false;
  }
  TArray<ScanDataPlus> pages;
  TArray<EXIF_PREF> exifs;
  try {
    CWXUtility::ExportToFileForStitch(mRequest.isTWAIN, mChecker, LStr255("tempcopy"), &pages, &exifs,
                                      &mRequest.pdf, &mRequest.jpeg, &mRequest.pict, &mRequest.tiff, 0,
                                      OSType(mRequest.fileType), 0, index);
  } catch (...) {
  }
  DropScanEntries();
  // A half that could not be written has been reported by its writer.
  ScanDataPlus page;
  if (!pages.FetchItemAt(1, page)) return false;
  ScanData record;
  static_cast<AcqRecord&>(record) = page;
  record.imageFile = page.imageFile;
  std::memcpy(record.sourceName, page.sourceName, sizeof(record.sourceName));
  auto model = std::make_unique<CStitchCheckImage>();
  const OSErr err = model->SetImage(&record.imageFile);
  if (err != noErr) {
    DeleteFile(record.imageFile);
    ShowError(err);
    return false;
  }
  if (mStep == 2) {
    DeleteFile(mLeftFile);
    mLeftFile = record.imageFile;
    mLeft = std::move(model);
    mView->SetPicturePane(record, CStitchPictureView::side_Left);
  } else {
    DeleteFile(mRightFile);
    mRightFile = record.imageFile;
    mRight = std::move(model);
    mRightRecord = record;
    mView->SetPicturePane(record, CStitchPictureView::side_Right);
  }
  return true;
}

// The lists again hold the merged pages alone; the raw files of the rest go.
void CStitchDialog::DropScanEntries() {
  TArray<FSSpec>& files = *mTWAIN->GetTempFileArray();
  TArray<TW_IMAGEINFO>& images = *mTWAIN->GetImageInfoArray();
  for (ArrayIndexT i = mMerged + 1; i <= files.GetCount(); ++i) FSpDelete(&files[i]);
  if (files.GetCount() > mMerged) files.RemoveItemsAt(files.GetCount() - mMerged, mMerged + 1);
  if (images.GetCount() > mMerged) images.RemoveItemsAt(images.GetCount() - mMerged, mMerged + 1);
}

// ---- Cropping and the merge -----------------------------------------------------------------

void CStitchDialog::GoToCropping() {
  if (!mLeft || !mRight || Turn(*mLeft, mView->GetLeftAngle()) != noErr) return;
  SetNextLabel(FinishingLabel(mRequest.finishing, mRequest.moreDocuments != 0 || mRequest.preview != 0));
  ShowScreen(4);
  mView->SetCropPane();
  mRotate->Hide();
  Refresh();
  SetStep(4);
}

void CStitchDialog::Merge() {
  Rect leftPane{}, rightPane{}, crop{}, leftImage{}, rightImage{};
  if (!mLeft || !mRight || !mView->GetLeftPane() || !mView->GetRightPane() || !mView->GetCropPane() ||
      !mLeft->GetImageRect(&leftImage) || !mRight->GetImageRect(&rightImage)) {
    MergeFailed(paramErr);
    return;
  }
  mView->GetLeftPane()->CalcLocalFrameRect(leftPane);
  mView->GetRightPane()->CalcLocalFrameRect(rightPane);
  mView->GetCropPane()->CalcLocalFrameRect(crop);

  CStitchCheckStitch stitch;
  stitch.CreateStitchScreen(&leftImage, &rightImage);
  Rect merge{}, leftPart{}, rightPart{};
  Point mergePt{}, leftPt{}, rightPt{};
  stitch.CalcMergeRect(&merge, &mergePt, &leftPart, &rightPart);
  stitch.GetLeftImagePt(&leftPt);
  stitch.GetRightImagePt(&rightPt);
  StitchMergeFrame::Places places;
  if (!StitchMergeFrame::ImagePlaces(leftPane, rightPane, crop, mView->GetDisplayScale(), leftImage, rightImage,
                                     leftPt, rightPt, mergePt, merge, &places)) {
    MergeFailed(paramErr);
    return;
  }
  stitch.SetMergeSaveFrameRect(&places.frame);
  stitch.SetMergeSaveFramePt(&places.framePt);
  stitch.SetLeftImagePt(&leftPt);
  stitch.SetRightImagePt(&places.rightPt);
  stitch.SetIsRightImageOver(mView->GetIsRightImageOver());

  OSErr err = Turn(*mRight, mView->GetRightAngle(), false);
  if (err == noErr) err = mLeft->CreateMergeImage(&stitch, mRight.get());
  FSSpec merged{};
  if (err == noErr && !MergedName(&merged)) err = dupFNErr;
  if (err == noErr) err = mLeft->SaveMergeImage(&merged);
  if (err != noErr) {
    MergeFailed(err);
    return;
  }

  TW_IMAGEINFO info{};
  info.XResolution.Whole = TW_INT16(mRightRecord.resolution >> 16);
  info.YResolution.Whole = TW_INT16(mRightRecord.resolution >> 16);
  info.ImageWidth = TW_INT32(mLeft->GetMergeWidth());
  info.ImageLength = TW_INT32(mLeft->GetMergeHeight());
  info.BitsPerPixel = mLeft->GetDepth();
  mTWAIN->GetTempFileArray()->AddItem(merged);
  mTWAIN->GetImageInfoArray()->AddItem(info);
  ReleaseHalves();
  Hide();
  if (mRequest.moreDocuments == 0) {
    HandOver(msg_ScanEnded);
    return;
  }
  ++mMerged;
  AskForNextDocument(true);
}

// Nothing of this document stays: its halves, any part of its merged file and its models.
void CStitchDialog::MergeFailed(OSErr err) {
  ShowError(err);
  ReleaseHalves();
  if (mMerged > 0) {
    Hide();
    HandOver(msg_ScanEnded);
    return;
  }
  DeleteConnection();
  Refresh();
  if (CAppearanceApp::sMainWindow) CAppearanceApp::sMainWindow->Refresh();
  HandOver(msg_StitchClosed);
}

// The first half's name less its extension, "STT" and the first free number.
bool CStitchDialog::MergedName(FSSpec* merged) const {
  const std::string first(reinterpret_cast<const char*>(mLeftFile.name + 1), mLeftFile.name[0]);
  const std::string base = first.substr(0, first.size() >= 4 ? first.size() - 4 : 0);
  for (long n = 1; n <= kLastMergedNumber; ++n) {
    char number[8];
    std::snprintf(number, sizeof(number), "%04ld", n);
    Str255 name;
    PStrFromString(base + "STT" + number, name);
    if (FSMakeFSSpec(mLeftFile.vRefNum, mLeftFile.parID, name, merged) == fnfErr) return true;
  }
  return false;
}

SInt32 CStitchDialog::NextDocumentPrompt() {
  Str255 count;
  NumToString(mMerged, count);
  const long product = CWXUtility::GetDriverVersion(mRequest.isTWAIN, nullptr, nullptr, mRequest.driver);
  if (mRequest.caller == kCallerFile && product != kProductWithoutButtonPrompt)
    return CWXUtility::Show_Error(CWXUtility::kNextPageButtonLayout, this, kAlertList, kItemNextDocumentButton, 1, 0,
                                  count, UInt16(mRequest.fileTab));
  return CWXUtility::Show_Error(CWXUtility::kNextPageLayout, this, kAlertList, kItemNextDocument, 1, 0, count, 0);
}

// Another document, or the merged ones go to the caller.
void CStitchDialog::AskForNextDocument(bool checkSpace) {
  for (;;) {
    if (NextDocumentPrompt() != msg_OK) {
      HandOver(msg_ScanEnded);
      return;
    }
    if (!checkSpace || mRequest.driverUI != 0) break;
    const auto product =
        static_cast<unsigned short>(CWXUtility::GetDriverVersion(mRequest.isTWAIN, nullptr, nullptr, mRequest.driver));
    const Request& r = mRequest;
    if (CWXUtility::CheckHDSpace(r.destination, r.paperIndex, r.imageMode, r.source, r.resolution, r.customSize,
                                 product, 1, &ShowDiskAlert) == 1 &&
        CWXUtility::CheckHDSpace(r.temp, r.paperIndex, r.imageMode, r.source, r.resolution, r.customSize, product,
                                 1, &ShowDiskAlert) == 1)
      break;
  }
  StartOver(checkSpace);
}

void CStitchDialog::StartOver(bool fromMerge) {
  mView->SetLeftAngle(0);
  mView->SetRightAngle(0);
  mBack->Hide();
  ShowTexts(1);
  SetNextLabel(kLabelNext);
  ShowPictures(1);
  mPicture->Show();
  mView->ClearCropPane();
  mView->ClearLeftPicturePane();
  mView->ClearRightPicturePane();
  if (fromMerge) {
    mRotate->Hide();
    Show();
  } else if (!IsVisible()) {
    Show();
  }
  SetStep(1);
}

// ---- Back and Cancel ------------------------------------------------------------------------

void CStitchDialog::Back() {
  switch (mStep) {
    case 2:
      if (Alert(this, kItemBack, 1, 1) != msg_OK) return;
      ShowScreen(1);
      mBack->Hide();
      mView->ClearLeftPicturePane();
      mView->SetLeftAngle(0);
      mRotate->Hide();
      mLeft.reset();
      DeleteFile(mLeftFile);
      Refresh();
      SetStep(1);
      break;
    case 3:
      if (Alert(this, kItemBack, 1, 1) != msg_OK) return;
      ShowScreen(2);
      mView->ClearRightPicturePane();
      mView->SetRightAngle(0);
      mRight.reset();
      DeleteFile(mRightFile);
      mPicture->Show();
      mRotate->Show();
      Refresh();
      SetStep(2);
      break;
    case 4:
      if (Turn(*mLeft, mView->GetLeftAngle()) != noErr) return;
      SetNextLabel(kLabelNext);
      ShowScreen(3);
      mView->ClearCropPane();
      mRotate->Show();
      Refresh();
      SetStep(3);
      break;
    default: break;
  }
}

void CStitchDialog::Cancel() {
  if (mStep >= 2 && Alert(this, kItemCancelStitch, 1, 1) != msg_OK) return;
  ReleaseHalves();
  CWXUtility::DeleteTempFiles();
  if (mMerged > 0) {
    const bool rotateShown = mRotate->IsVisibleSelf();
    Hide();
    if (NextDocumentPrompt() != msg_OK) {
      HandOver(msg_ScanEnded);
      return;
    }
    StartOver(false);
    ShowPane(mRotate, rotateShown);
    return;
  }
  DeleteConnection();
  Refresh();
  if (CAppearanceApp::sMainWindow) CAppearanceApp::sMainWindow->Refresh();
  HandOver(msg_StitchClosed);
}

void CStitchDialog::ReleaseHalves() {
  mLeft.reset();
  mRight.reset();
  DeleteFile(mLeftFile);
  DeleteFile(mRightFile);
}

// The caller owns the connection and the watcher with 'TEnd'; with 'StCl' they are gone.
// Then the wizard closes, unless the caller took it with itself.
void CStitchDialog::HandOver(MessageT message) {
  CThreadChecker* checker = mChecker;
  if (message == msg_ScanEnded) {
    mChecker->StopRepeating();
    mChecker->RemoveListener(this);
    mChecker = nullptr;
    mTWAIN = nullptr;
  }
  const WindowRef window = GetMacWindow();
  if (mRequest.dialog) mRequest.dialog->ListenToMessage(message, message == msg_ScanEnded ? checker : nullptr);
  // A caller that closed itself took us with it.
  if (LWindow::FetchWindowObject(window) != this) return;
  DoClose();
}

// ---- The scan-information window --------------------------------------------------------------

void CStitchDialog::ShowScanInfoDialog() {
  if (ScanCoversWindows() || !mScanning || mScanInfo || !sScanInfoFiller) return;
  static constexpr ResIDT kLayouts[] = {803, 800, 801, 802};
  if (mRequest.fileTab < 0 || mRequest.fileTab > 3) return;
  mScanInfo = LWindow::CreateWindow(kLayouts[mRequest.fileTab], this);
  if (!mScanInfo) return;
  sScanInfoFiller(mScanInfo, &mRequest.file);
  mScanInfo->Show();
  mScanInfo->UpdatePort();
}

void CStitchDialog::DeleteScanInfoDialog() {
  delete mScanInfo;
  mScanInfo = nullptr;
}
