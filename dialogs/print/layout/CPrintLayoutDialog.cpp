#include "dialogs/print/layout/CPrintLayoutDialog.h"

#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/FunctionDialogRun.h"
#include "app/CAppearanceApp.h"
#include "app/CMainWindow.h"
#include "dialogs/print/layout/CEditableTextBox.h"
#include "dialogs/print/layout/CPicturePane.h"
#include "dialogs/print/layout/CPictureView.h"
#include "dialogs/print/layout/CThumbnailPane.h"
#include "dialogs/print/layout/CThumbnailView.h"
#include "dialogs/print/layout/PageGeometry.h"
#include "dialogs/print/layout/ScanRunCleanup.h"
#include "display/Keys.h"
#include "framework/LPlaceHolder.h"
#include "framework/LPopupButton.h"
#include "framework/LPrintout.h"
#include "framework/LSimpleThread.h"
#include "framework/StDialogHandler.h"
#include "framework/StPrintSession.h"
#include "framework/UPrinting.h"
#include "framework/UReanimator.h"
#include "output/export/WXExport.h"
#include "output/export/WXPrintScan.h"
#include "output/formats/tiffRecognition.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hub/WXFolders.h"
#include "output/hub/WXLaunch.h"
#include "output/hubdialogs/WXAlert.h"
#include "output/hubdialogs/WXFontDialog.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"
#include "toolbox/Gestalt.h"
#include "toolbox/TextUtils.h"
#include "toolbox/Resources.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "prefs/WXDefaultDir.h"

namespace {

constexpr ResIDT kPrintoutLayout = 1101;
constexpr PaneIDT kPlaceHolder = 'PHLD';
constexpr ResIDT kUnitTexts = 1100;
constexpr SInt32 kFontLayout = 1200;
constexpr SInt16 kAlertLayout = 400;
constexpr SInt16 kAlertList = 400;
enum : SInt32 { kItemFailed = 3, kItemBack = 9, kItemNoPrinterOld = 26, kItemNoPrinter = 34 };
enum : CommandT { kCommandAbout = 1, kCommandSynthetic = -8388608 };
constexpr SInt32 kNewPrinterAlertSystem = 0x102F;
constexpr SInt32 kDestinationSystem = 0x101F;
constexpr OSType kPreviewCreator = 'prvw';
constexpr UInt32 kJPEGCompression = 2;

CPrintLayoutDialog::PreviewProc sPreviewProc = &CPreviewDialog::ShowPreviewDialog;

SInt32 SystemVersion() {
  SInt32 version = 0;
  Gestalt(gestaltSystemVersion, &version);
  return version;
}

void ShowAlert(LCommander* owner, SInt32 item) {
  CWXUtility::Show_Error(kAlertLayout, owner, kAlertList, item, 0, 1, nullptr, 0);
}

// The sizes a unit popup offers for one side: inches, centimetres, pixels.
void SetSizeItems(LPopupButton* popup, long pixels, double resolution, long placed) {
  std::array<std::string, 3> units;
  for (SInt16 unit = 1; unit <= 3; ++unit) {
    Str255 name;
    GetIndString(name, kUnitTexts, unit);
    units[unit - 1] = PStrToString(name);
  }
  const std::array<std::string, 3> texts =
      pagegeom::SideTexts(SInt32(pixels), SInt32(std::lround(resolution)), SInt32(placed), units);
  for (SInt16 item = 1; item <= 3; ++item) {
    Str255 text;
    PStrFromString(texts[item - 1], text);
    popup->SetMenuItemText(item, text);
  }
}

// A written page's own size, from its TIFF header; false when it cannot be read.
bool ReadPageSize(const FSSpec& file, ScanData* page) {
  SInt16 ref = 0;
  if (FSpOpenDF(&file, fsRdPerm, &ref) != noErr) return false;
  long length = 0;
  std::vector<unsigned char> bytes;
  bool ok = GetEOF(ref, &length) == noErr && length > 0;
  if (ok) {
    bytes.resize(size_t(length));
    ok = FSRead(ref, &length, bytes.data()) == noErr && size_t(length) == bytes.size();
  }
  FSClose(ref);
  tagIMAGEINFO info{};
  if (!ok || Recognition_TIFF(bytes.data(), bytes.size(), &info) != 1 || info.XResolutionDenominator == 0) return false;
  double dpi = double(info.XResolutionNumerator) / info.XResolutionDenominator;
  if (info.ResolutionUnit == 3) dpi *= 2.54;  // per centimetre
  page->width = SInt32(info.ImageWidth);
  page->height = SInt32(info.ImageLength);
  page->resolution = Fixed(long(dpi)) << 16;
  return true;
}

// Every page file the entry wrote, deleted.
void DeleteFiles(TArray<FSSpec>* files) {
  for (ArrayIndexT i = 1; files && i <= files->GetCount(); ++i) CWXUtility::DeleteFileWithRetry((*files)[i]);
}

// The scan's pages, each with its file: the session's (or plug-in's) records in step with
// the written files when every page was written, else each file's own header.
TArray<ScanData> PageList(const TArray<FSSpec>& files, CThreadChecker* watcher) {
  TArray<ScanData> pages;
  CTWAIN* twain = watcher->GetTWAIN();
  Scanner* plugIn = watcher->GetScanner();
  const long scanned = twain ? twain->GetImageCount() : plugIn ? plugIn->GetImageCount() : 0;
  // A plug-in's pages carry the configured model's name, as a session's carry its source's.
  Str255 source{};
  if (twain) {
    LString::CopyPStr(twain->GetModelString(), source);
  } else {
    CPreferences stored(PREFS_FILE_NAME, 0);
    PREF_SETTING::kModelName.get(PREF_ALL::kSetting.in(stored.PrefAll()), source);
  }
  for (ArrayIndexT i = 1; i <= files.GetCount(); ++i) {
    ScanData page;
    page.imageFile = files[i];
    LString::CopyPStr(source, page.sourceName);
    if (files.GetCount() == scanned && twain) {
      TW_IMAGEINFO info{};
      twain->GetImageInfoArray()->FetchItemAt(i, info);
      page.width = info.ImageWidth;
      page.height = info.ImageLength;
      page.resolution = Fixed(info.XResolution.Whole) << 16;
    } else if (files.GetCount() == scanned && plugIn) {
      OstrelScannerRecord record{};
      plugIn->GetAcquireOstrelArray()->FetchItemAt(i, record);
      RecordBytes r = record.view();
      page.width = r.i16(OstrelField::kImageColumns);
      page.height = r.i16(OstrelField::kImageRows);
      page.resolution = Fixed(r.i32(OstrelField::kHResolution) & ~0xFFFF);
    } else {
      ReadPageSize(files[i], &page);
    }
    pages.AddItem(page);
  }
  return pages;
}

}  // namespace

CPrintLayoutDialog::CPrintLayoutDialog(LStream* stream) : LDialogBox(stream) {
  CWXUtility::Get_Default_Dir(&mSaveFolder);
  StJPEGDialog::kCompression.set(mJPEG.view(), kJPEGCompression);
}

CPrintLayoutDialog::~CPrintLayoutDialog() {
  CancelLayoutThread();
  ReleasePrinter();
  for (ArrayIndexT i = 1; i <= mPreviewPages.GetCount(); ++i) {
    CWXUtility::DeleteFileWithRetry(mPreviewPages[i].imageFile);
    CWXUtility::DeleteFileWithRetry(mPreviewPages[i].rawFile);
  }
}

CPrintLayoutDialog::PreviewProc CPrintLayoutDialog::SetPreviewProc(PreviewProc proc) {
  PreviewProc before = sPreviewProc;
  sPreviewProc = proc ? proc : &CPreviewDialog::ShowPreviewDialog;
  return before;
}

void CPrintLayoutDialog::DrawSelf() {
  Rect bounds;
  CalcLocalFrameRect(bounds);
  RgnHandle outside = NewRgn();
  RectRgn(outside, &bounds);
  for (LPane* own : {static_cast<LPane*>(mArea), static_cast<LPane*>(mStrip)}) {
    Rect frame;
    if (!own || !own->CalcPortFrameRect(frame)) continue;
    RgnHandle inside = NewRgn();
    RectRgn(inside, &frame);
    DiffRgn(outside, inside, outside);
    DisposeRgn(inside);
  }
  RgnHandle clip = NewRgn();
  GetClip(clip);
  SectRgn(outside, clip, outside);
  SetClip(outside);
  ApplyForeAndBackColors();
  EraseRect(&bounds);
  SetClip(clip);
  DisposeRgn(clip);
  DisposeRgn(outside);
  DrawGrowIcon(GetMacWindow());
}

void CPrintLayoutDialog::FinishCreateSelf() {
  LDialogBox::FinishCreateSelf();
  mAddText = CWXUtility::FindPaneAs<LPane>(this, 'ADDT');
  mStrip = CWXUtility::FindPaneAs<CThumbnailView>(this, 'THUV');
  mArea = CWXUtility::FindPaneAs<CPictureView>(this, 'PICV');
  UReanimator::LinkListenerToControls(this, this, 1100);
  mArea->AddListener(this);
  mStrip->AddListener(mArea);
  mStrip->SetPictureView(mArea);
  mArea->SetThumbnailView(mStrip);
  try {
    StPrintSession session(UPrinting::sAppPrintSpec);
    UPrinting::sAppPrintSpec.SetPrintJobParams(1, 1, 1);
  } catch (...) {
    // Without a printer the job values wait for the first print-job dialog.
  }
  const SInt32 unit = IS_E ? 1 : 2;
  Str255 blank;
  PStrFromString("-", blank);
  // Quiet from the first item on: a popup's first item sets it to 1, and the dialog would
  // set the other popup to that.
  CWXUtility::StStopListening quiet(this);
  for (PaneIDT id : {PaneIDT('PBWD'), PaneIDT('PBHI')}) {
    auto* popup = CWXUtility::FindPaneAs<LPopupButton>(this, id);
    for (SInt16 item = 1; item <= 3; ++item) popup->AppendMenuItem(blank);
    popup->SetValue(unit);
  }
}

// ---- The entry ---------------------------------------------------------------------------

MessageT CPrintLayoutDialog::PrintLayoutSetting(ResIDT layout, LCommander* super, UInt8 fit, UInt8 isTWAIN,
                                                CThreadChecker* watcher, LPrintSpec* spec, RecordBytes print) {
  StPDFDialog pdf{};
  StJPEGDialog jpeg{};
  StOtherDialog other{};
  const FSSpec temp = CWXUtility::TempFolderSpec();
  Str255 base;
  PStrFromString("tempcopy", base);
  std::unique_ptr<TArray<FSSpec>> files(
      CWXUtility::ExportToFileRawFileNoDelete(isTWAIN, watcher, 'TIFF', base, temp, 0, pdf, jpeg, other, 0));
  // Whatever happens, the scan's files and objects go.
  struct Cleanup {
    CThreadChecker* watcher;
    TArray<FSSpec>* files;
    ~Cleanup() {
      DeleteScanRun(watcher);
      DeleteFiles(files);
    }
  } cleanup{watcher, files.get()};
  // A scan whose every page failed is no layout.
  if (!files || files->GetCount() == 0) return msg_Back;
  TArray<ScanData> pages = PageList(*files, watcher);
  StDialogHandler handler(layout, super);
  auto* dialog = dynamic_cast<CPrintLayoutDialog*>(handler.GetDialog());
  if (!dialog) throw LException('nilP', "layout 1100 made no page-layout dialog");
  dialog->mPrint = print;
  dialog->mThreadArg.reset(new ThreadArg{dialog, spec, pages, fit});
  auto* thread = new LSimpleThread(&Layout_Thread, dialog->mThreadArg.get());
  // Set before it can run: the dialog cancels a thread that is still at work when it goes.
  dialog->mThread = thread;
  dialog->Show();
  thread->Resume();
  for (;;) {
    const MessageT message = handler.DoDialog();
    if (message == msg_Finish) return msg_Finish;
    if (message == msg_Save) dialog->SaveThroughPreview(isTWAIN, watcher);
    if (message == msg_Back &&
        CWXUtility::Show_Error(kAlertLayout, dialog, kAlertList, kItemBack, 1, 1, nullptr, 0) == msg_OK)
      return msg_Back;
  }
}

// The checked pages go to the preview: the first save takes them from the scan, later ones
// reuse the preview's own pages. The preview's settings carry over to the next save.
void CPrintLayoutDialog::SaveThroughPreview(UInt8 isTWAIN, CThreadChecker* watcher) {
  TArray<unsigned char> include;
  for (SInt32 n = 1; CThumbnailPane* thumbnail = mStrip->GetThumbnail(n); ++n)
    include.AddItem(thumbnail->IsChecked() ? 1 : 0);
  Str255 base;
  PStrFromString("Print", base);
  TArray<FSSpec>* written = nullptr;
  const MessageT answer =
      sPreviewProc(isTWAIN, mSaveCount == 0 ? watcher : nullptr, &mPreviewPages, &mPreviewExifs, this, mSaveFolder,
                   mUseDaySubFolder, base, &mPDF, &mJPEG, &mPICT, &mTIFF, mFileTypePopup,
                   CPreviewDialog::type_PrintLayout, kPreviewCreator, &written, 0, 0, &include, &mPreviewRotations,
                   nullptr, 0, 0, 0);
  std::unique_ptr<TArray<FSSpec>> files(written);
  mSaveFolder = CPreviewDialog::sFolderSpec;
  mUseDaySubFolder = CPreviewDialog::sUseDaySubFolder;
  mPDF = CPreviewDialog::sPDFSetting;
  mJPEG = CPreviewDialog::sJPEGSetting;
  mPICT = CPreviewDialog::sPICTSetting;
  mTIFF = CPreviewDialog::sTIFFSetting;
  mFileTypePopup = CPreviewDialog::sFileTypePopup;
  if (files && files->GetCount() > 0 && answer == CPreviewDialog::msg_Send)
    CWXUtility::OpenFolderWithFSSpec((*files)[1]);
  ++mSaveCount;
}

// ---- The layout thread -------------------------------------------------------------------

void CPrintLayoutDialog::Layout_Thread(LThread& thread, void* param) {
  auto* arg = static_cast<ThreadArg*>(param);
  CPrintLayoutDialog* dialog = arg->dialog;
  // Also when the dialog cancels the thread: the flag goes as the stack unwinds.
  struct Done {
    CPrintLayoutDialog* dialog;
    ~Done() { dialog->mThread = nullptr; }
  } done{dialog};
  dialog->Thread(*arg, thread);
}

void CPrintLayoutDialog::Thread(ThreadArg& arg, LThread& thread) {
  LThread::Yield();
  mArea->SetFitOnShow(arg.fit);
  SetPrintSizePane(arg.spec);
  LThread::Yield();
  SetThumbnailView(arg.pages, &thread);
  // Until the first thumbnail has tried to load, loaded or not.
  for (CThumbnailPane* first = mStrip->GetThumbnail(1); first && !first->HasTriedToLoad();) LThread::Yield();
  SetPictureView();
  ResizePicture(arg.fit);
  Refresh();
}

void CPrintLayoutDialog::CancelLayoutThread() {
  if (mThread) mThread->Cancel();
  mThread = nullptr;
}

void CPrintLayoutDialog::SetPrintSizePane(LPrintSpec* spec) {
  try {
    mArea->SetPrintSizePane(spec);
  } catch (...) {
    // No printer, so no page format: a paper pane without paper, and nothing placed.
    mArea->SetPrintSizePane(nullptr);
  }
}

void CPrintLayoutDialog::SetThumbnailView(const TArray<ScanData>& pages, LThread* thread) {
  mPages = pages;
  mStrip->SetImageArray(&mPages);
  mStrip->SetViewSize();
  mStrip->CreateThumbnailPanes(thread);
}

void CPrintLayoutDialog::SetPictureView() {
  if (mPages.GetCount() == 0) return;
  mArea->SetPicturePane(mPages[1]);
}

void CPrintLayoutDialog::ResizePicture(UInt8 fit) {
  if (fit) {
    mArea->ResizePicturePane(CPictureView::kFit);
  } else if (CPicturePane* picture = mArea->GetPicture()) {
    picture->ResizeSameRate();
  }
  mArea->Refresh();
}

void CPrintLayoutDialog::SetPrintButton() {
  bool any = false;
  for (SInt32 n = 1; CThumbnailPane* thumbnail = mStrip->GetThumbnail(n); ++n) any |= thumbnail->IsChecked();
  LPane* print = CWXUtility::FindPaneAs<LPane>(this, 'BTPR');
  EnableIf(print, any);
  print->Refresh();
}

// ---- Messages ----------------------------------------------------------------------------

void CPrintLayoutDialog::ListenToMessage(MessageT message, void* param) {
  switch (message) {
    case 'MSET': OnPageSetup(); break;
    case 'PSET': OnPrintJob(); break;
    case 'BTPR': OnPrint(); break;
    case msg_Finish: mArea->CancelEditField(); break;
    case 'ADDT': OnAddText(); break;
    case 'FSET': OnFont(); break;
    case 'APL1': mArea->CenteringPicture(); break;
    case 'APL2':
    case 'APL3': mArea->ResizePicturePane(message); break;
    case CPicturePane::msg_PrintRecord: ShowSize(*static_cast<const AcqRecord*>(param)); break;
    case 'PBWD':
    case 'PBHI': {
      auto* other = CWXUtility::FindPaneAs<LPopupButton>(this, message == 'PBWD' ? 'PBHI' : 'PBWD');
      CWXUtility::StStopListening quiet(this);
      other->SetValue(param ? *static_cast<SInt32*>(param) : 1);
      other->Refresh();
      break;
    }
    case CThumbnailPane::msg_Checked: SetPrintButton(); break;
    default: LDialogBox::ListenToMessage(message, param); break;
  }
}

void CPrintLayoutDialog::OnAddText() {
  if (mArea->GetTextBoxes().size() < CPictureView::kMaxTextBoxes) {
    mArea->AddTextBox();
    mArea->CheckTextBoxSize();
    mArea->SetInputTextState();
  }
  EnableIf(mAddText, mArea->GetTextBoxes().size() < CPictureView::kMaxTextBoxes);
}

void CPrintLayoutDialog::OnFont() {
  auto* box = dynamic_cast<CEditableTextBox*>(mArea->FindPaneByID(mArea->GetCurrentTextBoxID()));
  if (!box) throw LException('nilP', "no text box is chosen");
  box->StopRepeating();
  StFontDialog font = box->FontSettings();
  CWXUtility::FontSetting(kFontLayout, this, font);
  box->SetTextFotrmatValue(font);
  box->StartRepeating();
}

void CPrintLayoutDialog::ShowSize(const AcqRecord& placed) {
  const ScanData& page = mArea->GetScanData();
  const double resolution = page.resolution / 65536.0;
  Str255 text;
  PStrFromString(std::to_string(long(std::lround(placed.resolution / 65536.0))), text);
  CWXUtility::FindPaneAs<LPane>(this, 'CRES')->SetDescriptor(text);
  auto* width = CWXUtility::FindPaneAs<LPopupButton>(this, 'PBWD');
  auto* height = CWXUtility::FindPaneAs<LPopupButton>(this, 'PBHI');
  CWXUtility::StStopListening quiet(this);
  const SInt32 unit = width->GetValue();
  SetSizeItems(width, page.width, resolution, placed.width);
  width->SetValue(unit);
  SetSizeItems(height, page.height, resolution, placed.height);
  height->SetValue(unit);
  width->Refresh();
  height->Refresh();
}

bool CPrintLayoutDialog::HandleKeyPress(const EventRecord& event) {
  if ((event.message & charCodeMask) == kBackspaceCharCode && LPane::sLastPaneClicked &&
      LPane::sLastPaneClicked->GetPaneID() == mArea->GetCurrentTextBoxID())
    mArea->DeleteTextBox();
  return LDialogBox::HandleKeyPress(event);
}

void CPrintLayoutDialog::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                           Str255 outName) {
  if (CWXUtility::sIsQuellaneOpened == 1) {
    outEnabled = false;
    return;
  }
  if (command == kCommandAbout || command == kCommandSynthetic) {
    outEnabled = true;
    return;
  }
  LDialogBox::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
}

// ---- Printing ----------------------------------------------------------------------------

void CPrintLayoutDialog::OnPageSetup() {
  LPrintSpec* spec = mArea->GetPrintSpec();
  if (!spec) return;
  bool accepted = false;
  {
    StPrintSession session(*spec);
    accepted = UPrinting::AskPageSetup(*spec, this);
  }
  SetPrintSizePane(spec);
  if (accepted) {
    CThumbnailPane* shown = mStrip->GetCurrentThumbnail();
    for (SInt32 n = 1; CThumbnailPane* thumbnail = mStrip->GetThumbnail(n); ++n) {
      {
        CWXUtility::StStopListening quiet(this);
        thumbnail->VirtualClick();
      }
      if (CPicturePane* picture = mArea->GetPicture()) picture->ResizeSameRate();
      mArea->CheckTextBoxSize();
    }
    if (shown) shown->VirtualClick();
  }
  Refresh();
  if (CAppearanceApp::sMainWindow) CAppearanceApp::sMainWindow->Refresh();
}

void CPrintLayoutDialog::OnPrintJob() {
  LPrintSpec* spec = mArea->GetPrintSpec();
  if (!spec) return;
  bool accepted = false;
  PMDestinationType destination = kPMDestinationPrinter;
  {
    StPrintSession session(*spec);
    spec->SetPrintJobParams(PREF_PRINT::kJob312.get(mPrint), PREF_PRINT::kJob316.get(mPrint),
                            PREF_PRINT::kCopies.get(mPrint));
    PMSetCollate(spec->GetPrintSettings(), PREF_PRINT::kJobFlag.get(mPrint) != 0);
    CWXUtility::SetCurrentPrinter(spec->GetPrintSession(), mSavedPrinter);
    accepted = UPrinting::AskPrintJob(*spec, this);
    if (accepted) {
      UInt32 first = 0, last = 0, copies = 0;
      spec->GetPrintJobParams(first, last, copies);
      Boolean collate = true;
      PMGetCollate(spec->GetPrintSettings(), &collate);
      PREF_PRINT::kJob312.set(mPrint, first);
      PREF_PRINT::kJob316.set(mPrint, last);
      PREF_PRINT::kCopies.set(mPrint, copies);
      PREF_PRINT::kJobFlag.set(mPrint, collate ? 1 : 0);
      KeepPrinter(spec->GetPrintSession());
    }
    PMSessionGetDestinationType(spec->GetPrintSession(), spec->GetPrintSettings(), &destination);
  }
  SetPrintSizePane(spec);
  if (accepted && SystemVersion() > kDestinationSystem && destination == kPMDestinationFile) OnPrint();
  Refresh();
  if (CAppearanceApp::sMainWindow) CAppearanceApp::sMainWindow->Refresh();
}

void CPrintLayoutDialog::OnPrint() {
  bool printer = false;
  try {
    StPrintSession session(UPrinting::sAppPrintSpec);
    CFArrayRef list = nullptr;
    CFIndex current = -1;
    PMPrinter currentPrinter = nullptr;
    PMSessionCreatePrinterList(UPrinting::sAppPrintSpec.GetPrintSession(), &list, &current, &currentPrinter);
    if (list) CFRelease(list);
    printer = current >= 0 && currentPrinter;
  } catch (...) {
    printer = false;
  }
  if (!printer) {
    ShowAlert(this, SystemVersion() > kNewPrinterAlertSystem ? kItemNoPrinter : kItemNoPrinterOld);
    return;
  }
  mArea->CancelEditField();
  LPrintSpec* spec = mArea->GetPrintSpec();
  if (!spec) return;
  { StPrintSession session(*spec); }
  try {
    PrintImage(*spec);
  } catch (...) {
    // A job that fails ends the printing; the dialog stays usable.
    ShowAlert(this, kItemFailed);
  }
  SetPrintSizePane(spec);
}

void CPrintLayoutDialog::KeepPrinter(PMPrintSession session) {
  PMPrinter printer = nullptr;
  if (PMSessionGetCurrentPrinter(session, &printer) != noErr || !printer) return;
  PMRetain(printer);
  ReleasePrinter();
  mSavedPrinter = printer;
}

void CPrintLayoutDialog::ReleasePrinter() {
  if (mSavedPrinter) PMRelease(mSavedPrinter);
  mSavedPrinter = nullptr;
}

void CPrintLayoutDialog::PrintImage(LPrintSpec& spec) {
  std::unique_ptr<LPrintout> printout(LPrintout::CreatePrintout(kPrintoutLayout));
  if (!printout) throw LException('nilP', "printout layout 1101 is missing");
  printout->SetPrintSpec(spec);
  auto* place = dynamic_cast<LPlaceHolder*>(printout->FindPaneByID(kPlaceHolder));
  if (!place) throw LException('nilP', "the printout has no place holder");
  CThumbnailPane* shown = mStrip->GetCurrentThumbnail();
  // The page area goes back into the dialog with its size, its attachment and the page on
  // show, whatever a job does.
  struct Restore {
    CPrintLayoutDialog* dialog;
    LPlaceHolder* place;
    CThumbnailPane* shown;
    SDimension16 size{};
    LAttachment* attachment = nullptr;
    bool occupied = false;
    void PutBack() {
      if (occupied) {
        place->RemoveOccupant();
        dialog->mArea->ResizeFrameTo(size.width, size.height, false);
      }
      occupied = false;
      if (attachment) dialog->mArea->AddAttachment(attachment);
      attachment = nullptr;
    }
    ~Restore() {
      PutBack();
      if (shown) {
        CWXUtility::StStopListening quiet(dialog);
        shown->VirtualClick();
      }
      dialog->Refresh();
    }
  } restore{this, place, shown};
  for (SInt32 n = 1; CThumbnailPane* thumbnail = mStrip->GetThumbnail(n); ++n) {
    if (!thumbnail->IsChecked()) continue;
    StPrintSession session(spec);
    {
      CWXUtility::StStopListening quiet(this);
      thumbnail->VirtualClick();
    }
    CWXUtility::SetCurrentPrinter(spec.GetPrintSession(), mSavedPrinter);
    TArray<LAttachment*>* attachments = mArea->GetAttachmentsList();
    if (attachments->GetCount() > 0) {
      restore.attachment = (*attachments)[1];
      mArea->RemoveAttachment(restore.attachment);
    }
    Rect pageRect, paperRect;
    spec.GetPageFormat();
    spec.GetPageRect(pageRect);
    spec.GetPaperRect(paperRect);
    mArea->GetFrameSize(restore.size);
    place->InstallOccupant(mArea, kAlignNone);
    restore.occupied = true;
    place->PlaceInSuperFrameAt(pageRect.left - paperRect.left, pageRect.top - paperRect.top, false);
    const SInt16 width = SInt16(pageRect.right - pageRect.left), height = SInt16(pageRect.bottom - pageRect.top);
    place->ResizeFrameTo(width, height, false);
    mArea->ResizeFrameTo(width, height, false);
    printout->DoPrintJob();
    restore.PutBack();
    KeepPrinter(spec.GetPrintSession());
  }
}
