// The Copy function's dialog (layout 1000): scan and print at once, at a magnification or
// fitted to the paper. The controls edit a working copy of the Copy record through the scan
// control rules it shares with the Print dialog; a start, "Apply" and opening commit it, and
// Cancel goes back to the committed copy. Each scanned page is written as a temporary TIFF,
// printed as its own job and deleted.
#pragma once

#include "app/CFunctionDialog.h"
#include "prefs/CPreferences.h"
#include "prefs/PrefRecords.h"
#include "dialogs/print/CopyScanOutcome.h"
#include "dialogs/print/ScanControlRules.h"
#include "framework/LDialogBox.h"
#include "framework/LPrintSetup.h"

class CPopupButton;
class CStitchDialog;
class CThreadChecker;
class LControl;

class CCopyDialogBox : public LDialogBox, public CPreferences, public CFunctionDialog {
 public:
  static constexpr ClassIDT class_ID = 'Cdlg';
  // The page setup and print choices of every Copy dialog, kept for the whole run.
  static LPrintSpec sPrintSpec;

  explicit CCopyDialogBox(LStream* stream);
  ~CCopyDialogBox() override;

  void ListenToMessage(MessageT message, void* param) override;
  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;
  void SetStartFlag(UInt8 flag) override { mAutoStart = flag; }

  virtual void SetMode_Popup();
  virtual void SetImageMode_Popup();
  virtual void SetResolution_Popup();
  virtual long Resolution_Value();
  virtual long CalcInputResolution_Value(long outputResolution);
  virtual void SetSize_Popup();
  virtual void SetBlightness();
  virtual void SetFit_Paper_button();
  virtual void SetPaperSetButton();
  virtual void SetPrintSetButton();
  virtual void SetUIonBox();
  void Save_Setting() override;
  void Load_Setting() override;
  virtual void Prefs_Set(unsigned char defaults);
  // Writes and prints the pages of the scan captured at its end; `isTWAIN` says which
  // scanner object the watcher holds.
  virtual void Printer_Print(unsigned char isTWAIN, CThreadChecker* checker, unsigned char fit);
  virtual long GetImageMode(long item);
  virtual long GetImageModePopupNum(long code, long source);

  bool IsStitch();
  bool IsStitch_Disregard_UICheckBox();
  SInt32 ShowCustomScaleDialog();

  RecordBytes Working() { return mWorking.view(); }
  RecordBytes Committed() { return mCommitted.view(); }
  bool Scanning() const { return mScanning != 0; }
  PMPrinter ChosenPrinter() const { return mPrinter; }

 protected:
  void FinishCreateSelf() override;

 private:
  // Puts the rules' popup states, the brightness and the custom texts on the panes.
  void ShowControls();
  void ShowPopup(CPopupButton* popup, const RulePopup& state);
  void ShowCustomTexts();
  ScanRuleParams RuleParams();
  RecordBytes Setting();
  UInt16 ProductID();
  long Source() { return long(mRules.controls.mode.value); }
  long Code();
  SDimension16 CustomSize();

  void OnStart();
  bool PrinterReady();
  void StartScan(long imageMode, long inputResolution);
  void StartStitch(long imageMode, long inputResolution);
  void OnScanEnded(CThreadChecker* checker);
  void OnStitchClosed();
  void OnPageSetup();
  void OnPrintOptions();
  void CoverForScan();
  void UncoverAfterScan();
  void SetRunning(UInt8 running);
  void ShowAlert(SInt32 item);

  CPopupButton* mMode = nullptr;
  CPopupButton* mImage = nullptr;
  CPopupButton* mResolution = nullptr;
  CPopupButton* mSize = nullptr;
  CPopupButton* mScale = nullptr;
  LControl* mDriverWindow = nullptr;  // UION
  LControl* mBrightness = nullptr;    // BLIT
  LControl* mPageSetup = nullptr;     // STYL
  LControl* mPrintOptions = nullptr;  // PRNT

  PREF_COPY mWorking;
  PREF_COPY mCommitted;
  ScanRuleState mRules{mWorking.view(), {}, false};
  UInt8 mScanning = 0;
  UInt8 mAutoStart = 0;
  CStitchDialog* mStitchDialog = nullptr;
  bool mStartingStitch = false;    // inside the stitch entry
  bool mCloseWhenStarted = false;  // the wizard closed at once after a scanner-button start
  PMPrinter mPrinter = nullptr;
  CopyScanOutcome mScan;  // taken at the end of the scan, before its objects go
};
