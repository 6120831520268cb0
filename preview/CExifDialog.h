// The EXIF dialog: page by page, the values the JPEG writer puts into each file written from
// the preview (title, second text, shooting date, scene, exposure mode, shutter speed,
// aperture, flash, ISO, comment), each with a check box that says whether it is written,
// beside a read-only table of what the page will carry. It edits the pages' records in
// place; Cancel gives back the records as they were at opening or at the last Apply, and
// OK and Apply store the shown record as the default of the preferences file.
#pragma once

#include "prefs/PrefRecords.h"
#include "framework/LDialogBox.h"
#include "framework/TArray.h"
#include "framework/UKeyFilters.h"

class CPopupButton;
class CTextTable;
class LCheckBox;
class LEditText;

// One page as the EXIF dialog sees it: listed when its preview check box is on.
struct SExifPage {
  EXIF_PREF* record = nullptr;
  Str255 name{};
  bool listed = false;
};

class CExifDialog : public LDialogBox {
 public:
  static constexpr ClassIDT class_ID = 'DEXF';
  enum : ResIDT { kLayout = 600, kControlLinks = 600, kTableLabels = 600, kTableValues = 601 };

  explicit CExifDialog(LStream* stream);

  // Runs the dialog on `pages`, showing first the listed page named `name` (the last of
  // equal names; the first listed page when none matches): 900 or 901. With no listed
  // page it answers 901 at once and shows nothing. `record` is not consulted.
  static MessageT ShowExifDialog(EXIF_PREF* record, Str255& name, LCommander* super, TArray<SExifPage>* pages);

  virtual void SetExifPref(EXIF_PREF* record);
  virtual void SetExifPrefRefresh();
  virtual void ShowNormalExifInfo();
  virtual void ShowAdvancedExifInfo();
  void SetShootTime_Day_Popup();
  static EKeyStatus AlphaNumPlusSpaceField(TEHandle te, UInt16 keyCode, UInt16& ioCharCode, EventModifiers modifiers);

  void ListenToMessage(MessageT message, void* param) override;

 protected:
  void FinishCreateSelf() override;

 private:
  RecordBytes Shown() const { return RecordBytes(mShown->bytes.data(), EXIF_PREF::kSize); }
  void StoreTypedValues();
  void ShowChosenPage();
  void RefillTable();
  void AddTableRow(ConstStr255Param label, ConstStr255Param value, bool header);
  void TakeOrGiveBackDefault(bool take);
  void StoreAsDefault();
  void SetFieldsFromShown();
  void EnableFor(MessageT check);
  int ItemNumber(CPopupButton* popup) const;

  TArray<SExifPage>* mPages = nullptr;
  TArray<long> mListed;  // popup item -> position in mPages
  TArray<EXIF_PREF> mSnapshots;
  EXIF_PREF* mShown = nullptr;
  EXIF_PREF mPageCopy;
  EXIF_PREF mSwapCopy;

  CPopupButton* mPagePopup = nullptr;
  CTextTable* mTable = nullptr;
  LEditText* mTitle = nullptr;
  LEditText* mAuthor = nullptr;
  LEditText* mComment = nullptr;
  CPopupButton* mYear = nullptr;
  CPopupButton* mMonth = nullptr;
  CPopupButton* mDay = nullptr;
  LCheckBox* mUseDefault = nullptr;
};
