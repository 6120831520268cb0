// The Mail function's dialog: image mode, resolution, document size, the size each file may
// have, JPEG or PDF (one file per page, one multi-page file, or the pages added to a new copy
// of a chosen PDF), where the files go, their base name with its history, and the mail
// application. A run scans, writes files small enough to send and hands them to the mail
// application. The controls edit a working copy of the Mail record; closing goes back to the
// copy of the last start or "Apply".
#pragma once

#include <memory>

#include "app/CFunctionDialog.h"
#include "prefs/CPreferences.h"
#include "prefs/PrefRecords.h"
#include "dialogs/file/CAppDropArea.h"
#include "framework/LDialogBox.h"
#include "framework/TArray.h"
#include "output/export/PageRecords.h"

class CCicnButton;
class CThreadChecker;
class CTWAIN;
class LControl;
class LEditText;
class LPane;
class LPopupButton;

class CMailDialogBox : public LDialogBox, public CPreferences, public CFunctionDialog {
 public:
  static constexpr ClassIDT class_ID = 'Mdlg';

  explicit CMailDialogBox(LStream* stream);
  ~CMailDialogBox() override;

  void ListenToMessage(MessageT message, void* param) override;
  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;
  void AdjustMouseSelf(Point where, const EventRecord& event, RgnHandle mouseRgn) override;
  void SetStartFlag(UInt8 flag) override { mAutoStart = flag; }
  void SetMainWindowButton(CAppButton* button) override;

  virtual void SetImageMode_Popup();
  virtual void SetResolution_Popup();
  virtual long Resolution_Value();
  virtual void SetJpeg_Compression();
  virtual void SetSize_Popup();
  virtual void SetFileMax_Popup();
  virtual void SetFileType_Popup();
  virtual void SetPdfButton();
  virtual void SetUIonBox();
  virtual void SetFileNamePdfAdd();
  virtual void SetSelect1Button();
  virtual void SetFileNameEditText();
  virtual void SetFolderNameEditText();
  virtual void SetSaveToStaticText();
  virtual void SetDayInCheckBox();
  virtual void SetEZCheckBox();
  virtual void SetPdfCompress();
  virtual void SetNameAndSelectAndFolder();
  virtual void SetPreviewCheckBox();
  virtual long GetImageMode(long item);
  virtual long GetImageModePopupNum(long code);
  void Save_Setting() override;
  void Load_Setting() override;
  virtual void Prefs_Set(bool factory);

  // What the run and the tests read.
  RecordBytes Working() { return mWorking.view(); }
  RecordBytes Restore() { return mRestore.view(); }
  TArray<ScanDataPlus>& PendingPages() { return mPages; }

 protected:
  // A click while another application is in front brings this one forward first.
  void Click(SMouseDownEvent& event) override;
  void ClickInTitleBar(const EventRecord& event) override;
  void FinishCreateSelf() override;

 private:
  UInt32 FileType() const;
  long ImageCode() const;
  FSSpec App();
  bool AppSet() { return App().name[0] != 0; }
  // A stored application that no longer resolves is forgotten, its name's first byte kept to
  // tell "lost" from "never chosen".
  bool ForgetVanishedApplication();
  void ShowApplication();
  bool PDFChosen();
  // The size item as the paper table numbers it (the custom item is the table's own).
  long PaperIndex();
  // The name field into the base name, or the append name while a PDF is chosen for type 4.
  void StoreName(UInt32 fileType);
  void CommitWorking();
  // The list of known mail applications into the restore copy, so that a close keeps it.
  void KeepApplicationList();
  void ShowFolderOfFileTypes();

  void OnImageMode(long item);
  void OnSize(long item);
  void OnFileType(long item);
  void OnDriverWindow(long value);
  void OnPreview(long value);
  void OnFormatOptions();
  bool ChooseMailApplication();
  void OnApplicationDropped(const FSSpec& app);
  void OnApply();
  void OnDefaults();
  void OnClose();

  // The run: checks, scan, files, further passes, hand-on.
  void OnStart();
  bool DiskSpaceSuffices();
  void StartScan();
  void OnScanEnded(CThreadChecker* checker);
  // The next-page prompt with its disk checks; true when another pass was asked for.
  bool AskForNextPage();
  bool RestartScan(CThreadChecker* checker);
  TArray<FSSpec>* WritePass(CThreadChecker* checker);
  void PreviewRun(CThreadChecker* checker);
  void ReopenPreview();
  // Launches the mail application with the files, or shows their folder; true when handed on.
  bool HandOnFiles(const TArray<FSSpec>& files);
  void EndRun(bool handedOn, bool mayQuit);
  void DeletePendingPages();

  LPopupButton* mImage = nullptr;       // IMAG
  LPopupButton* mResolution = nullptr;  // RESL
  LPopupButton* mSize = nullptr;        // SIZE
  LPopupButton* mLimit = nullptr;       // FMAX
  LPopupButton* mFileType = nullptr;    // FTYP
  LControl* mDriverWindow = nullptr;    // UION
  LControl* mDayFolder = nullptr;       // DYIN
  LControl* mOptions = nullptr;         // PDFS
  LControl* mSelect = nullptr;          // SCT1
  LEditText* mName = nullptr;           // FNAM
  LPane* mFolder = nullptr;             // FOLD
  LPane* mSaveTo = nullptr;             // TOTX
  LPane* mAppName = nullptr;            // SCNA
  CCicnButton* mAppIcon = nullptr;      // AICN
  LControl* mPreview = nullptr;         // SPRE
  LControl* mAskName = nullptr;         // EZFN
  LPopupButton* mHistory = nullptr;     // PuFN
  CAppButton* mButton = nullptr;
  std::unique_ptr<CAppDropArea> mDrop;

  PREF_MAIL mWorking;
  PREF_MAIL mRestore;
  TArray<ScanDataPlus> mPages;
  TArray<EXIF_PREF> mExifs;
  UInt8 mJPEGWithdrawn = 0;
  UInt8 mHistoryMatch = 0;

  UInt8 mBusy = 0;
  UInt8 mAutoStart = 0;
  UInt8 mFirstPass = 0;
  UInt8 mCopyMade = 0;
  FSSpec mRunFile{};
  SInt32 mPageCount = 0;
};
