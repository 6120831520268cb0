// The OCR function's dialog: image mode, 300 or 400 dpi, document size, PICT or JPEG, the
// destination folder, the base name with its history and the OCR application. A run scans,
// writes one file per page and hands the files to the OCR application. The controls edit a
// working copy of the OCR record; a start and "Apply" commit it, Cancel goes back to the
// committed copy.
#pragma once

#include <memory>

#include "app/CFunctionDialog.h"
#include "prefs/CPreferences.h"
#include "prefs/PrefRecords.h"
#include "dialogs/file/CAppDropArea.h"
#include "framework/LDialogBox.h"

class CCicnButton;
class CThreadChecker;
class LControl;
class LEditText;
class LPane;
class LPopupButton;

class COcrDialogBox : public LDialogBox, public CPreferences, public CFunctionDialog {
 public:
  static constexpr ClassIDT class_ID = 'Odlg';

  explicit COcrDialogBox(LStream* stream);
  ~COcrDialogBox() override;

  void ListenToMessage(MessageT message, void* param) override;
  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;
  void AdjustMouseSelf(Point where, const EventRecord& event, RgnHandle mouseRgn) override;
  void SetStartFlag(UInt8 flag) override { mAutoStart = flag; }
  void SetMainWindowButton(CAppButton* button) override;

  virtual void SetImageMode_Popup();
  virtual void SetResolution_Popup();
  virtual long Resolution_Value();
  virtual void SetSize_Popup();
  virtual void SetFileType_Popup();
  virtual void SetSelect1Button();
  virtual long GetImageMode(long item);
  void Save_Setting() override;
  void Load_Setting() override;
  virtual void Prefs_Set(unsigned char reset);

  // What the run and the tests read.
  RecordBytes Working() { return mWorking.view(); }
  RecordBytes Committed() { return mCommitted.view(); }

 protected:
  void FinishCreateSelf() override;

 private:
  FSSpec App();
  // A stored application that no longer resolves becomes none.
  bool ForgetVanishedApplication();
  void ShowApplication();
  // The destination folder, the default one when it has gone.
  void ShowFolder();
  void ShowCustomSize();
  void Commit();
  // The size item as the paper table numbers it (the custom item is the table's own).
  long PaperIndex();

  void OnSize(long item);
  void OnFormatOptions();
  void OnChooseApplication();
  void OnForgetApplication();
  void OnApplicationDropped(const FSSpec& app);
  void OnApply();
  void OnDefaults();

  void OnStart();
  bool DiskSpaceSuffices(const FSSpec& folder);
  void StartScan();
  void SetRunning(UInt8 running);
  void OnScanEnded(CThreadChecker* checker);

  LPopupButton* mImage = nullptr;       // IMAG
  LPopupButton* mResolution = nullptr;  // RESL
  LPopupButton* mSize = nullptr;        // SIZE
  LPopupButton* mFileType = nullptr;    // FTYP
  LControl* mDayFolder = nullptr;       // DYIN
  LEditText* mName = nullptr;           // FNAM
  LPane* mFolder = nullptr;             // FOLD
  LPane* mAppName = nullptr;            // SCNA
  CCicnButton* mAppIcon = nullptr;      // AICN
  LControl* mOptions = nullptr;         // PDFS
  LControl* mAskName = nullptr;         // EZFN
  LPopupButton* mHistory = nullptr;     // PuFN
  CAppButton* mButton = nullptr;
  std::unique_ptr<CAppDropArea> mDrop;

  PREF_OCR mWorking;
  PREF_OCR mCommitted;
  UInt8 mBusy = 0;
  UInt8 mAutoStart = 0;
  UInt8 mJPEGSwapped = 0;
  UInt8 mHistoryMatch = 0;
};
