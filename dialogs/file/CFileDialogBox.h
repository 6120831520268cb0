// The File function's dialog: scans to PDF (a file a page, one multi-page file grown over
// several passes, or the pages added to a new copy of a chosen PDF) and opens the written
// files in the chosen application, or shows their folder. Seven-button scanners get three
// tabs, one for each of their File buttons, each with its own record; four-button scanners
// get one record and no tabs. Working copy 0 is what the controls show; copies 1 to 4 are
// the untabbed record and the tabs' records. A start and "Apply" commit all five; closing
// without a run goes back to the committed copies.
#pragma once

#include <array>
#include <memory>

#include "app/CFunctionDialog.h"
#include "prefs/CPreferences.h"
#include "prefs/PrefRecords.h"
#include "dialogs/file/CAppDropArea.h"
#include "framework/LDialogBox.h"
#include "framework/TArray.h"
#include "output/export/PageRecords.h"

class CCicnButton;
class CScanInfoWindow;
class CStitchDialog;
class CThreadChecker;
class CTWAIN;
class LControl;
class LEditText;
class LMultiPanelView;
class LPane;
class LPopupButton;
class LTabsControl;

class CFileDialogBox : public LDialogBox, public CPreferences, public CFunctionDialog {
 public:
  static constexpr ClassIDT class_ID = 'Fdlg';
  static constexpr UInt32 kRecords = 5;

  explicit CFileDialogBox(LStream* stream);
  ~CFileDialogBox() override;

  void ListenToMessage(MessageT message, void* param) override;
  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;
  void AdjustMouseSelf(Point where, const EventRecord& event, RgnHandle mouseRgn) override;
  void SetStartFlag(UInt8 flag) override { mButtonRun = flag; }
  void SetMainWindowButton(CAppButton* button) override;

  virtual void SetImageMode_Popup();
  virtual void SetResolution_Popup();
  virtual long Resolution_Value();
  virtual void SetSize_Popup();
  virtual void SetFileType_Popup();
  virtual void SetPdfButton();
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
  virtual void FileTypePopupMessage_Sub(long type);
  void Save_Setting() override;
  void Load_Setting() override;
  virtual void Prefs_Set(bool defaults);

  // The image-mode code of item `item` of tab `tab`'s menu.
  static long GetImageModeFromPopupID(long tab, long item);
  bool IsStitch() const;

  // What the run and the tests read: working copy `k` (0 the shown settings, 1 untabbed,
  // 2 to 4 the tabs) and its committed copy.
  RecordBytes Working(UInt32 k = 0) { return mWorking[k].view(); }
  RecordBytes Committed(UInt32 k = 0) { return mCommitted[k].view(); }
  bool Tabbed() const { return mTabbed != 0; }
  TArray<ScanDataPlus>& PendingPages() { return mPendingPages; }

 protected:
  // A click while another application is in front brings this one forward first.
  void Click(SMouseDownEvent& event) override;
  void ClickInTitleBar(const EventRecord& event) override;
  void FinishCreateSelf() override;

 private:
  // The tab the controls show (0 untabbed, 1 to 3), always within range.
  UInt32 Tab() const;
  // The record of the tab the controls show.
  RecordBytes TabRecord() { return Working(1 + Tab()); }
  UInt32 FileType() const;
  FSSpec App() { return PREF_FILE::kTargetApp.get(Working()); }
  bool AppendPDFChosen();
  bool PagesPending() const { return mPendingPages.GetCount() > 0; }
  long ImageModeCode() const;
  long PaperIndex() const;
  void ShowApplication();
  void SetApplication(const FSSpec& app);
  bool ForgetVanishedApplication();
  // The name field's text into the record, by the file type: the new copy's name when
  // adding to a chosen PDF, else the base name.
  void StoreFileName(RecordBytes record);
  void Commit();
  void ToAllCopies(void (*set)(RecordBytes));
  UInt8 DefaultNameChosen();

  void OnNotices();
  void OnApply();
  void OnDefaults();
  void OnImageMode(long item);
  void OnResolution(long item);
  void OnSize(long item);
  void OnFileType(long item);
  void OnFormatOptions();
  void OnChooseApplication();
  void OnForgetApplication();
  void OnShowDialogBox(long value);
  void OnAskName(long value);
  void OnPreview(long value);
  void OnTab();
  void OnStitchClosed();
  void OnClose();

  // The run.
  void OnStart();
  bool DiskSpaceSuffices(const FSSpec& destination);
  bool BothDisksSuffice();
  void StartStitch();
  void StartScan();
  void ShowScanInfo();
  void CloseScanInfo();
  void OnScanEnded(CThreadChecker* checker);
  // The next-page prompt; true when another pass was asked for and may start.
  bool AskForNextPage();
  // The pass's pages written; null when none.
  TArray<FSSpec>* WritePass(CThreadChecker* checker);
  TArray<FSSpec>* AppendPass(CThreadChecker* checker);
  // Starts the next pass of the run; false (the run's scanning over) when it could not.
  bool NextPass(CThreadChecker* checker);
  void FinishRun(CThreadChecker* checker, TArray<FSSpec>* written);
  void PreviewRun(CThreadChecker* checker);
  bool HandOnOrShow(const TArray<FSSpec>& files);
  // A scanner-button run ends by quitting (with the quit setting, unless the driver's window
  // cancelled) or by closing.
  void EndButtonRun(short result);

  LPopupButton* mImage = nullptr;       // IMAG
  LPopupButton* mResolution = nullptr;  // RESL
  LPopupButton* mSize = nullptr;        // SIZE
  LPopupButton* mFileType = nullptr;    // FTYP
  LControl* mDayFolder = nullptr;       // DYIN
  LControl* mOptions = nullptr;         // PDFS
  LControl* mSelect = nullptr;          // SCT1
  LEditText* mName = nullptr;           // FNAM
  LPane* mFolder = nullptr;             // FOLD
  LPane* mSaveTo = nullptr;             // TOTX
  LPane* mAppName = nullptr;            // SCNA
  CCicnButton* mAppIcon = nullptr;      // FICN
  LTabsControl* mTabs = nullptr;        // TABS
  LMultiPanelView* mPanels = nullptr;   // MPVW
  LControl* mShowDialog = nullptr;      // EZCB
  LControl* mAskName = nullptr;         // EZFN
  LControl* mPreview = nullptr;         // SPRE
  LPopupButton* mHistory = nullptr;     // PuFN
  CAppButton* mButton = nullptr;
  std::unique_ptr<CAppDropArea> mDrop;

  std::array<PREF_FILE, kRecords> mWorking;
  std::array<PREF_FILE, kRecords> mCommitted;
  UInt32 mRememberedTab = 0;
  TArray<ScanDataPlus> mPendingPages;
  TArray<EXIF_PREF> mPendingExif;
  UInt8 mBusy = 0;
  UInt32 mPageCount = 0;
  CStitchDialog* mStitchDialog = nullptr;
  bool mStartingStitch = false;    // inside the stitch entry
  bool mCloseWhenStarted = false;  // the wizard closed at once during a button run
  std::unique_ptr<CScanInfoWindow> mScanInfo;
  UInt8 mHistoryMatch = 0;
  UInt8 mTabbed = 1;
  UInt8 mButtonRun = 0;
  UInt8 mFirstPass = 1;
  FSSpec mRunPDF{};
  UInt8 mAppendStarted = 0;
  bool mRunPDFHasPages = false;
  bool mRunFailed = false;
};
