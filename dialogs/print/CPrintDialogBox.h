// The Print function's dialog: source, image mode, resolution, document size, brightness
// and the driver's own window for a scan whose pages are then laid out and printed. The
// controls edit a working copy of the Print record; Apply and starting a run make it the
// reference copy, which closing without a run goes back to.
#pragma once

#include "app/CFunctionDialog.h"
#include "prefs/CPreferences.h"
#include "prefs/PrefRecords.h"
#include "dialogs/print/ScanControlRules.h"
#include "framework/LDialogBox.h"

struct CopyScanOutcome;
class CStitchDialog;
class CThreadChecker;
class LControl;
class LPane;
class LPopupButton;

class CPrintDialogBox : public LDialogBox, public CPreferences, public CFunctionDialog {
 public:
  static constexpr ClassIDT class_ID = 'Pdlg';

  explicit CPrintDialogBox(LStream* stream);
  ~CPrintDialogBox() override;

  void ListenToMessage(MessageT message, void* param) override;
  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;
  void SetStartFlag(UInt8 flag) override { mAutoStart = flag; }

  void Save_Setting() override;
  void Load_Setting() override;
  virtual void Prefs_Set(unsigned char inDefaults);
  virtual long GetResolutionValue();
  virtual long GetImageMode(long inItem);
  bool IsStitch();
  bool IsStitch_Disregard_UICheckBox();

  // What the run and the tests read.
  RecordBytes Working() { return mWorking.view(); }
  RecordBytes Reference() { return mReference.view(); }
  UInt8 IsScanning() const { return mScanning; }

 protected:
  void FinishCreateSelf() override;

 private:
  ScanRuleParams Params();
  long Source() const;
  void ShowControls();
  void ShowCustomSize();

  void OnMode(long item);
  void OnImageMode(long item);
  void OnResolution(long item);
  void OnSize(long item);
  void OnBrightness(long level);
  void OnDriverWindow(long value);
  void OnApply();
  void OnDefaults();
  void OnCancel();

  // The run: checks, scan or stitch, and what follows its end.
  void OnStart();
  bool TempFolderReady();
  bool DiskSpaceSuffices();
  void StartScan();
  void StartStitch();
  void OnScanEnded(CThreadChecker* checker);
  void LayOut(CThreadChecker* checker, const CopyScanOutcome& scan);
  void Discard(CThreadChecker* checker, const CopyScanOutcome& scan);
  void AfterBack(const CopyScanOutcome& scan);
  void KeepStoredExif();
  void OnStitchClosed();

  LPopupButton* mMode = nullptr;
  LPopupButton* mImage = nullptr;
  LPopupButton* mResolution = nullptr;
  LPopupButton* mSize = nullptr;
  LControl* mDriverWindow = nullptr;  // UION
  LControl* mBrightness = nullptr;    // BLIT
  LPane* mBrightnessText = nullptr;   // BLTX

  CStitchDialog* mStitchDialog = nullptr;
  PREF_PRINT mWorking;
  PREF_PRINT mReference;
  ScanRuleState mRules{mWorking.view(), {}, false};
  UInt8 mScanning = 0;
  UInt8 mAutoStart = 0;
  bool mStartingStitch = false;    // inside the stitch entry
  bool mCloseWhenStarted = false;  // the wizard closed at once after a scanner-button start
};
