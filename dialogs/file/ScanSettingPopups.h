// The popups the Save and custom-scan dialogs share: source, image mode, resolution, size and
// file type, over the scan settings at the head of the dialog's working record. They read
// and store that record; the dialog decides which of them a change re-runs.
#pragma once

#include <functional>
#include <vector>

#include "prefs/PrefRecords.h"
#include "framework/LView.h"

class LDialogBox;
class LPopupButton;

class ScanSettingPopups {
 public:
  // Where the dialog's record differs: its menus (from this ID on) and its fields.
  struct Fields {
    ResIDT menuBase;
    PrefU32 fileType;
    PrefU8 driverWindow;
    PrefU8 adobeRGB;
    PrefDocSize customSize;
  };

  // What a dialog shows again after a choice. The popups show their own; the dialog shows
  // the rest, and turns a stitch size's corrections off.
  enum Step : UInt8 {
    kShowSource,
    kShowImageMode,
    kShowResolution,
    kShowSize,
    kShowFileType,
    kShowAdobeRGB,
    kShowDriverWindow,
    kShowPdfCompression,
    kClearStitchCorrections,
  };
  // A message the dialog takes through Choose, and what it shows again after it, in order.
  struct Reshow {
    MessageT message;
    std::vector<Step> steps;
  };

  explicit ScanSettingPopups(const Fields& fields) : mFields(fields) {}

  // Finds 'MODE', 'IMAG', 'RESL', 'SIZE' and 'FTYP' (a missing one throws 'nilP') and gives
  // them their first menus. Both views outlive this object.
  void Find(LView* dialog, RecordBytes working, RecordBytes prefsAll);

  LPopupButton* SourcePopup() const { return mSource; }
  LPopupButton* ImagePopup() const { return mImage; }
  LPopupButton* ResolutionPopup() const { return mResolution; }
  LPopupButton* SizePopup() const { return mSize; }
  LPopupButton* FileTypePopup() const { return mFileType; }

  long Source() const;
  long Code() const;
  // The code as the scan entry takes it: film on the slide-adapter model counts 10 more.
  long CodeForScan() const;
  UInt32 FileType() const;
  long ResolutionValue() const;
  // A stitch size on the platen, with the driver's window off, or whatever the window.
  bool IsStitch() const;
  bool IsStitchDisregardingDriverWindow() const;

  // The source menu again, cut to the platen without a film adapter (the stored source
  // becomes the platen), and every popup set from the record, stored words past their menus
  // read as the nearest item.
  void ShowRecord();
  // Each popup's menu, value and states for the record and the other popups.
  void ShowSource();
  void ShowImageMode();
  void ShowResolution();
  // True when the size is a stitch size, whose corrections the dialog then turns off.
  bool ShowSize();

  // A choice carried by a message of `table` ('MODE', 'IMAG', 'RESL', 'SIZE', 'FTYP',
  // 'UION' or 'SVAD') into the record, then the table's steps, `showOwn` showing those of
  // the dialog, which does not hear its controls meanwhile; false for any other message. A
  // custom size is asked for over the dialog.
  bool Choose(MessageT message, long value, LDialogBox* dialog, const std::vector<Reshow>& table,
              const std::function<void(Step)>& showOwn);

  // A choice in a popup into the record, for the source it belongs to.
  void StoreSource(long item);
  void StoreImageMode(long item);
  void StoreResolution(long item);
  void StoreSize(long item);

 private:
  ResIDT Menu(ResIDT offset) const { return ResIDT(mFields.menuBase + offset); }
  // The source whose menus show: the last one used when the last-used item is chosen.
  long ShownSource() const;
  bool DriverWindow() const { return mFields.driverWindow.get(mWorking) != 0; }

  Fields mFields;
  RecordBytes mWorking{nullptr, 0};
  RecordBytes mPrefsAll{nullptr, 0};
  LPopupButton* mSource = nullptr;
  LPopupButton* mImage = nullptr;
  LPopupButton* mResolution = nullptr;
  LPopupButton* mSize = nullptr;
  LPopupButton* mFileType = nullptr;
};
