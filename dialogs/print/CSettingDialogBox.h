// The Settings dialog (layout 8000): the scanner model among the TWAIN sources the model
// table knows, the function of each assignable scanner button, quitting after a scanner-button
// run. OK applies to the preferences file and the main window; closing, with or without OK,
// leaves the file as it stood after the last OK.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "app/CFunctionDialog.h"
#include "prefs/PrefRecords.h"
#include "framework/LDialogBox.h"
#include "framework/LHandleStream.h"
#include "framework/TArray.h"
#include "twain/Twain.h"

class CCicnButton;
class CPopupButton;
class LControl;
class LPane;

class CSettingDialogBox : public LDialogBox, public CFunctionDialog {
 public:
  static constexpr ClassIDT class_ID = 'STlg';
  using Inherited = LDialogBox;

  explicit CSettingDialogBox(LStream* stream);
  ~CSettingDialogBox() override;

  // Settings has no scan to start.
  void SetStartFlag(UInt8) override {}
  void ListenToMessage(MessageT message, void* param) override;

 protected:
  void FinishCreateSelf() override;

 private:
  struct Slot {
    CPopupButton* popup = nullptr;
    LPane* companion = nullptr;
    CCicnButton* icon = nullptr;
    LHandleStream place;  // the three panes' places at creation
  };

  RecordBytes All() { return RecordBytes(mPrefAll.data(), mPrefAll.size()); }
  RecordBytes Working() { return mWorking.view(); }
  bool FourButtons();
  void SetMenuItems(bool listSources);
  void SetDriverPopup();
  void SetSlotControls();
  // Hides the slot's group, puts its panes back at their places of creation and shows it.
  void PlaceGroup(Slot& slot);
  static std::array<LPane*, 3> GroupPanes(const Slot& slot);
  void SetIcon(uint32_t slot);
  void ShowBasePath();
  void OnSlotChanged(uint32_t slot);
  void OnModelChanged();
  void OnChooseBase();
  void OnDefaults();
  void OnOK();
  // Closing without OK: the working temporary folder goes and the saved one is there again.
  void RestoreSavedTempFolder();

  std::vector<uint8_t> mPrefAll;  // the file's PREF_ALL at opening, with the tags as edited
  PREF_SETTING mWorking;          // what the controls show
  PREF_SETTING mSaved;            // the state after the last OK
  bool mLoaded = false;           // mSaved holds the file's record
  std::unique_ptr<TArray<TW_IDENTITY>> mSources;
  CPopupButton* mDriver = nullptr;
  Slot mSlots[PREF_SETTING::kSlots];
  LControl* mQuit = nullptr;
  LPane* mBasePath = nullptr;
};
