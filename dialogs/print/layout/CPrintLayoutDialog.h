// The Print function's page layout: a strip of page thumbnails filled by a cooperative
// thread, the page on show with its picture and text boxes on the paper, and printing of
// the checked pages, one print job each. `PrintLayoutSetting` runs it as a modal dialog over
// the pages of a finished scan and cleans the scan up whatever the user chooses.
#pragma once

#include <memory>

#include "prefs/PrefRecords.h"
#include "framework/LDialogBox.h"
#include "framework/TArray.h"
#include "output/export/PageRecords.h"
#include "preview/CPreviewDialog.h"
#include "printing/Printing.h"

class CPictureView;
class CThreadChecker;
class CThumbnailView;
class LPrintSpec;
class LThread;

class CPrintLayoutDialog : public LDialogBox {
 public:
  static constexpr ClassIDT class_ID = 'DLAY';
  enum : MessageT { msg_Finish = 'BTFN', msg_Back = 'BTBK', msg_Save = 'SAVE' };

  // The preview that "SAVE" hands the checked pages to; tests put a stand-in behind it.
  using PreviewProc = decltype(&CPreviewDialog::ShowPreviewDialog);
  // Puts `proc` in place of the preview (null: the preview dialog); answers the one before.
  static PreviewProc SetPreviewProc(PreviewProc proc);

  // What the layout thread is handed; the dialog keeps it, so a thread cancelled before its
  // first turn leaves nothing behind.
  struct ThreadArg {
    CPrintLayoutDialog* dialog;
    LPrintSpec* spec;
    TArray<ScanData> pages;
    UInt8 fit;
  };

  explicit CPrintLayoutDialog(LStream* stream);
  ~CPrintLayoutDialog() override;

  // Writes the scan's pages as TIFF files, runs the dialog and answers msg_Finish or
  // msg_Back; the watcher, its scanner objects and every file of the scan are gone then.
  static MessageT PrintLayoutSetting(ResIDT layout, LCommander* super, UInt8 fit, UInt8 isTWAIN,
                                     CThreadChecker* watcher, LPrintSpec* spec, RecordBytes print);

  virtual void Thread(ThreadArg& arg, LThread& thread);
  static void Layout_Thread(LThread& thread, void* arg);

  void SetPrintSizePane(LPrintSpec* spec);
  void SetThumbnailView(const TArray<ScanData>& pages, LThread* thread);
  void SetPictureView();
  void ResizePicture(UInt8 fit);
  void SetPrintButton();
  void PrintImage(LPrintSpec& spec);

  void ListenToMessage(MessageT message, void* param) override;
  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;
  bool HandleKeyPress(const EventRecord& event) override;

  // What the tests read.
  CThumbnailView* Strip() const { return mStrip; }
  CPictureView* Area() const { return mArea; }
  bool LayoutThreadRunning() const { return mThread != nullptr; }
  PMPrinter SavedPrinter() const { return mSavedPrinter; }

 protected:
  void FinishCreateSelf() override;
  // Erases all but the page area and the strip, which paint their own ground, then draws
  // the size box.
  void DrawSelf() override;

 private:
  void CancelLayoutThread();
  void OnPageSetup();
  void OnPrintJob();
  void OnPrint();
  void OnAddText();
  void OnFont();
  void ShowSize(const AcqRecord& placed);
  void KeepPrinter(PMPrintSession session);
  void ReleasePrinter();
  void SaveThroughPreview(UInt8 isTWAIN, CThreadChecker* watcher);

  LPane* mAddText = nullptr;
  CThumbnailView* mStrip = nullptr;
  CPictureView* mArea = nullptr;
  TArray<ScanData> mPages;
  LThread* mThread = nullptr;  // the layout thread while it runs
  std::unique_ptr<ThreadArg> mThreadArg;
  PMPrinter mSavedPrinter = nullptr;
  RecordBytes mPrint{nullptr, 0};  // the Print dialog's working record
  // Kept for the preview between saves: its pages and their files, and the save settings it
  // hands back.
  TArray<ScanDataPlus> mPreviewPages;
  TArray<EXIF_PREF> mPreviewExifs;
  TArray<long> mPreviewRotations;
  SInt32 mSaveCount = 0;
  FSSpec mSaveFolder{};
  unsigned char mUseDaySubFolder = 1;
  StPDFDialog mPDF{};
  StJPEGDialog mJPEG{};
  StOtherDialog mPICT{};
  StOtherDialog mTIFF{};
  long mFileTypePopup = 1;
};
