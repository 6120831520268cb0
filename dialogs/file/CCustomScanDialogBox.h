// The dialog of a freely configured scan function (Scan-1, Scan-2): source, image mode,
// resolution, size and file type (PICT, JPEG, TIFF), the folder and base name of the files,
// and the application that receives them. The controls edit a working copy of the
// function's record; a start, "Apply" and opening commit it, and closing without a run goes
// back to the committed copy. The two functions differ only in what their kind says.
#pragma once

#include <memory>

#include "app/CFunctionDialog.h"
#include "prefs/CPreferences.h"
#include "prefs/PrefRecords.h"
#include "dialogs/file/CAppDropArea.h"
#include "dialogs/file/ScanSettingPopups.h"
#include "framework/LDialogBox.h"
#include "framework/TArray.h"
#include "output/export/PageRecords.h"

class CAppButton;
class CCicnButton;
class CMainWindow;
class CStitchDialog;
class CThreadChecker;
class CTWAIN;
class LControl;
class LEditText;
class LPane;
class LPopupButton;

// What tells Scan-1 and Scan-2 apart.
struct SCustomScanKind {
  ResIDT idBase;  // layout, control links, menus (from here on) and string list
  const PrefSub<PREF_SCANX>& record;
  RecordBytes (CPreferences::*defaults)();
  void (CMainWindow::*setButtonName)(ConstStr255Param);
  long caller;     // to the scan entry, the stitch wizard and the preview
  long finishing;  // the stitch wizard's finishing action
  bool clearsLastButton;  // forgets the last pushed scanner button once a scan starts
};

class CCustomScanDialogBox : public LDialogBox, public CPreferences, public CFunctionDialog {
 public:
  CCustomScanDialogBox(LStream* stream, const SCustomScanKind& kind);
  ~CCustomScanDialogBox() override;

  void ListenToMessage(MessageT message, void* param) override;
  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;
  void SetStartFlag(UInt8 flag) override { mAutoStart = flag; }
  void SetMainWindowButton(CAppButton* button) override;

  virtual void SetMode_Popup();
  virtual void SetImageMode_Popup();
  virtual void SetResolution_Popup();
  virtual long Resolution_Value();
  virtual void SetSize_Popup();
  virtual void SetUIonBox();
  virtual void SetFileType_Popup();
  virtual void SetSelect1Button();
  virtual void SetAdobeRGBCheckBox();
  virtual long GetImageMode(long item);
  virtual long GetImageModePopupNum(long code, long source);
  void AdjustMouseSelf(Point where, const EventRecord& event, RgnHandle mouseRgn) override;
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
  void FinishCreateSelf() override;

 private:
  RecordBytes StoredRecord() { return mKind.record.in(PrefAll()); }
  long Source() const;
  long Code();
  UInt32 FileType() const;
  bool PagesPending() const { return mPendingPages.GetCount() > 0; }
  void CheckOutputFolder();
  void ClearCorrections();
  void DropPendingPages();

  // The target application: shown in 'SCNA' and 'FICN', and on the main window's button.
  FSSpec TargetApp() { return PREF_SCANX::kTargetApp.get(Working()); }
  void SetTargetApp(const FSSpec& app);
  void ShowTargetApp();
  void ForgetVanishedTargetApp();
  void UpdateMainWindowButton();
  void StoreName();

  // What a popup choice shows again, beside the popups.
  void ShowAgain(ScanSettingPopups::Step step);
  void OnPreview(long value);
  void OnFormatOptions();
  void OnChooseApp();
  void OnForgetApp();
  void OnApply();
  void OnDefaults();
  void OnClose();

  // The run: checks, scan, writing, handing on.
  void OnStart();
  bool DiskSpaceSuffices();
  void SetRunning(UInt8 running);
  void StartScan();
  void StartStitch();
  void OnScanEnded(CThreadChecker* checker);
  // Sends the written files to the target application; true when it received them.
  bool HandOn(const TArray<FSSpec>* written);
  void PreviewRun(CThreadChecker* checker, CTWAIN* twain);
  void EndRun(bool handedOn, bool mayQuit);
  void OnStitchClosed();
  UInt8 DefaultNameChosen();

  const SCustomScanKind& mKind;
  ScanSettingPopups mPopups;
  LPopupButton* mMode = nullptr;
  LPopupButton* mImage = nullptr;
  LPopupButton* mSize = nullptr;
  LPopupButton* mFileType = nullptr;
  LControl* mDriverWindow = nullptr;  // UION
  LControl* mDayFolder = nullptr;     // DYIN
  LEditText* mName = nullptr;         // FNAM
  LPane* mFolder = nullptr;           // FOLD
  LPane* mAppName = nullptr;          // SCNA
  CCicnButton* mAppIcon = nullptr;    // FICN
  LControl* mPreview = nullptr;       // SPRE
  LControl* mAdobeRGB = nullptr;      // SVAD
  LControl* mOptions = nullptr;       // PDFS
  LControl* mAskName = nullptr;       // EZFN
  LPopupButton* mHistory = nullptr;   // PuFN
  CAppButton* mButton = nullptr;

  UInt8 mJPEGSwapped = 0;
  PREF_SCANX mWorking;
  PREF_SCANX mCommitted;
  TArray<ScanDataPlus> mPendingPages;
  TArray<EXIF_PREF> mPendingExif;
  UInt8 mBusy = 0;
  UInt8 mHistoryMatch = 0;
  UInt8 mAutoStart = 0;
  CStitchDialog* mStitchDialog = nullptr;
  std::unique_ptr<CAppDropArea> mDrop;
  bool mStartingStitch = false;    // inside the stitch entry
  bool mCloseWhenStarted = false;  // the wizard closed at once after a scanner-button start
  UInt8 mRunAdobeRGB = 0;  // the run's pages were converted to Adobe RGB
};
