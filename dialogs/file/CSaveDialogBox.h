// The Save function's dialog: where scans go (a folder, or a PDF to add pages to), in which
// format, from which source and at which setting. The controls edit a working copy of the
// Save record; starting a run, "Apply" and opening commit it, and closing without a run
// goes back to the committed copy.
#pragma once

#include "app/CFunctionDialog.h"
#include "prefs/CPreferences.h"
#include "prefs/PrefRecords.h"
#include "dialogs/file/ScanSettingPopups.h"
#include "framework/LDialogBox.h"
#include "framework/TArray.h"
#include "output/export/PageRecords.h"

class CStitchDialog;
class CThreadChecker;
class CTWAIN;
class LControl;
class LEditText;
class LPane;
class LPopupButton;

class CSaveDialogBox : public LDialogBox, public CPreferences, public CFunctionDialog {
 public:
  static constexpr ClassIDT class_ID = 'Sdlg';

  explicit CSaveDialogBox(LStream* stream);
  ~CSaveDialogBox() override;

  void ListenToMessage(MessageT message, void* param) override;
  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;
  void SetStartFlag(UInt8 flag) override { mAutoStart = flag; }

  virtual void SetMode_Popup();
  virtual void SetImageMode_Popup();
  virtual void SetResolution_Popup();
  virtual long Resolution_Value();
  virtual void SetSize_Popup();
  virtual void SetFileType_Popup();
  virtual void SetPdfButton();
  virtual void SetUIonBox();
  virtual void SetFileNamePdfAdd(const FSSpec& pdf);
  virtual void SetSelect1Button();
  virtual void SetFileNameEditText();
  virtual void SetFolderNameEditText();
  virtual void SetSaveToStaticText();
  virtual void SetDayInCheckBox();
  virtual void SetEZCheckBox();
  virtual void SetPdfCompress();
  virtual void SetNameAndSelectAndFolder();
  virtual void SetPreviewCheckBox();
  virtual void SetAdobeRGBCheckBox();
  virtual long GetImageMode(long item);
  virtual long GetImageModePopupNum(long code, long source);
  void Save_Setting() override;
  void Load_Setting() override;
  virtual void Prefs_Set(unsigned char factory);

  bool IsStitch();
  bool IsStitch_Disregard_UICheckBox();

  // What the run and the tests read.
  RecordBytes Working() { return mWorking.view(); }
  RecordBytes Committed() { return mCommitted.view(); }
  TArray<ScanDataPlus>& PendingPages() { return mPendingPages; }
  TArray<EXIF_PREF>& PendingExif() { return mPendingExif; }

 protected:
  // A click while another application is in front brings this one forward first.
  void Click(SMouseDownEvent& event) override;
  void ClickInTitleBar(const EventRecord& event) override;
  void FinishCreateSelf() override;

 private:
  long Source() const;
  long Code();
  UInt32 FileType() const;
  bool PagesPending() const { return mPendingPages.GetCount() > 0; }
  bool PDFChosen();
  bool ChoosePDFToAddTo();
  // The name field's text into the record: the add-to-PDF name while a PDF is chosen for
  // file type 6, else the base name.
  void StoreFileName(UInt32 fileType);
  void CheckOutputFolder();
  void CheckPDFToAddTo();
  void ClearCorrections();

  // What a popup choice shows again, beside the popups.
  void ShowAgain(ScanSettingPopups::Step step);
  void OnFileType(long item);
  void OnPreview(long value);
  void OnFormatOptions();
  void OnApply();
  void OnDefaults();
  void OnClose();

  // The run: checks, scan, writing, further pages of a multi-page PDF.
  void OnStart();
  bool DiskSpaceSuffices();
  void StartScan();
  void StartStitch();
  void OnScanEnded(CThreadChecker* checker);
  bool AskForNextPage(SInt32 pages);
  // Starts the next pass of a multi-page run; false when it could not start.
  bool NextPass(CThreadChecker* checker);
  void PreviewRun(CThreadChecker* checker, CTWAIN* twain);
  // The batch's pages into their files or the run's target; `failed` when pages were left
  // unwritten.
  TArray<FSSpec>* WriteBatch(CThreadChecker* checker, bool& failed);
  TArray<FSSpec>* AppendBatch(CThreadChecker* checker, UInt8 defaultName, bool& failed);
  // The pages the batch's scan transferred.
  static SInt32 BatchPages(CThreadChecker* checker);
  void CloseStitchDialog();
  void EndAutoStart(bool mayQuit);
  void OnStitchClosed();
  UInt8 DefaultNameChosen();

  ScanSettingPopups mPopups;
  LPopupButton* mMode = nullptr;
  LPopupButton* mImage = nullptr;
  LPopupButton* mSize = nullptr;
  LPopupButton* mFileType = nullptr;
  LControl* mDriverWindow = nullptr;  // UION
  LControl* mDayFolder = nullptr;     // DYIN
  LControl* mAdobeRGB = nullptr;      // SVAD
  LControl* mOptions = nullptr;       // PDFS
  LControl* mSelect = nullptr;        // SCT1
  LEditText* mName = nullptr;         // FNAM
  LPane* mFolder = nullptr;           // FOLD
  LPane* mSaveTo = nullptr;           // TOTX
  LControl* mPreview = nullptr;       // SPRE
  LControl* mAskName = nullptr;       // EZFN
  LPopupButton* mHistory = nullptr;   // PuFN

  UInt8 mJPEGSwapped = 0;
  PREF_SAVE mWorking;
  PREF_SAVE mCommitted;
  TArray<ScanDataPlus> mPendingPages;
  TArray<EXIF_PREF> mPendingExif;
  UInt8 mBusy = 0;
  UInt8 mHistoryMatch = 0;
  UInt8 mAutoStart = 0;
  SInt32 mPendingPageCount = 0;
  CStitchDialog* mStitchDialog = nullptr;
  bool mStartingStitch = false;    // inside the stitch entry
  bool mCloseWhenStarted = false;  // the wizard closed at once after a scanner-button start
  UInt8 mFirstBatch = 0;
  UInt8 mNewPDF = 0;
  FSSpec mRunTarget{};
  UInt8 mRunAdobeRGB = 0;  // the run's pages were converted to Adobe RGB
};
