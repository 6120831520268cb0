// The function buttons that hand files to an application (Mail, OCR, File, Scan-1,
// Scan-2): a picture button showing the target application's icon (or the function's
// colour icons) that takes a dropped application as the function's target at once. One
// class; a row of the table says which record fields a drop writes.
#pragma once

#include "app/CDDApp.h"
#include "app/CPictureButton.h"
#include "prefs/PrefRecords.h"
#include "quickdraw/Icons.h"

struct SAppButtonKind {
  size_t appOffset;   // the target application in PREF_ALL (the first of the records)
  size_t stride;      // distance between the records written
  UInt32 records;     // records written
  bool mailList;      // also appended to the mail-application list
};

class CAppButton : public CPictureButton, public CDDApp {
 public:
  CAppButton(const SAppButtonKind& kind, const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value,
             SInt32 minValue, SInt32 maxValue, ResIDT normalPict, ResIDT pressedPict, ResIDT hoverPict,
             ResIDT normalIcon, ResIDT pressedIcon);
  ~CAppButton() override;

  // Takes over one hold of `icon` (null: the colour icons again) and releases the one held
  // before; the caller refreshes the button.
  void SetIconRef(IconRef icon);
  IconRef GetIconRef() const { return mIconRef; }

  void ReceiveDragItem(DragRef drag, DragItemRef item, FlavorFlags flags, Rect& itemBounds) override;
  void MouseEnter(Point portPt, const EventRecord& event) override;

 protected:
  void DrawSelf() override;

 private:
  void DrawIcon();
  void StoreApplication(RecordBytes prefsAll, const FSSpec& app) const;

  const SAppButtonKind& mKind;
  ResIDT mNormalIcon;
  ResIDT mPressedIcon;
  IconRef mIconRef = nullptr;
  CIconHandle mIcon = nullptr;
  ResIDT mLoadedIcon = 0;
};

extern const SAppButtonKind kMailDrop, kOCRDrop, kFileDrop, kScan1Drop, kScan2Drop;

template <const SAppButtonKind& Kind>
class TAppButton : public CAppButton {
 public:
  TAppButton(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value, SInt32 minValue, SInt32 maxValue,
             ResIDT normalPict, ResIDT pressedPict, ResIDT hoverPict, ResIDT normalIcon, ResIDT pressedIcon)
      : CAppButton(Kind, paneInfo, valueMessage, value, minValue, maxValue, normalPict, pressedPict, hoverPict,
                   normalIcon, pressedIcon) {}
};

using CMailButton = TAppButton<kMailDrop>;
using COCRButton = TAppButton<kOCRDrop>;
using CFileButton = TAppButton<kFileDrop>;
using CScan1Button = TAppButton<kScan1Drop>;
using CScan2Button = TAppButton<kScan2Drop>;
