// One page in the print layout's strip: a small picture of the page, a check box that
// chooses it for printing and saving, and a frame while it is the page on show. Its image,
// a display copy no larger than the page area draws the page, is decoded once on idle time,
// matched to the screen, and is also the image the page area places (which draws the page
// read at the picture's own size where it can); the page is read at full size only to print
// it. It keeps the page's layout while another page is on show.
#pragma once

#include "dialogs/print/layout/PageLayoutRecords.h"
#include "framework/LBroadcaster.h"
#include "framework/LListener.h"
#include "framework/LPeriodical.h"
#include "framework/LView.h"
#include "output/export/PageRecords.h"

class LCheckBox;
class LGWorld;

class CThumbnailPane : public LView, public LBroadcaster, public LListener, public LPeriodical {
 public:
  // Broadcast on a click (and by VirtualClick) with the thumbnail as parameter.
  static constexpr MessageT msg_Chosen = 'THUP';
  // The check box's message, passed on with its parameter.
  static constexpr MessageT msg_Checked = 'TmCb';

  CThumbnailPane(const SPaneInfo& paneInfo, const SViewInfo& viewInfo, const ScanData& page);
  ~CThumbnailPane() override;

  // Makes the page current from code, as a click does.
  void VirtualClick();

  const ScanData& GetScanData() const { return mPage; }
  // The page's display copy; null until it has loaded and for good when it failed.
  LGWorld* GetGWorld() const { return mImage; }
  // True once the image has tried to load, whether it loaded or not.
  bool HasTriedToLoad() const { return mTried; }
  bool IsChecked() const;
  UInt8 IsCurrent() const { return mCurrent; }
  void SetCurrent(UInt8 current) { mCurrent = current; }
  UInt8 IsKept() const { return mKept; }
  const PrePicturePaneInfo& GetKeptLayout() const { return mLayout; }
  void KeepLayout(const PrePicturePaneInfo& layout);

  void ListenToMessage(MessageT message, void* param) override;
  void SpendTime(const EventRecord& event) override;

  // Set by any thumbnail whose image loaded, cleared when any thumbnail goes.
  static UInt8 sCreated;

 protected:
  void FinishCreateSelf() override;
  void DrawSelf() override;
  void ClickSelf(const SMouseDownEvent& event) override;

 private:
  LGWorld* mImage = nullptr;
  ScanData mPage;
  PrePicturePaneInfo mLayout;
  LCheckBox* mCheckBox = nullptr;
  UInt8 mCurrent = 0;
  UInt8 mKept = 0;
  bool mTried = false;
};
