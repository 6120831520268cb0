// A help tag on a pane: shown after the mouse rests on the pane for a second, hidden after
// ten seconds or when the mouse leaves, and not shown again until it has left.
#pragma once

#include "framework/LAttachment.h"
#include "framework/LPeriodical.h"

class LPane;

class CToolTip : public LAttachment, public LPeriodical {
 public:
  static constexpr ClassIDT class_ID = 'TTip';

  enum : UInt8 { state_Idle = 1, state_Waiting = 2, state_Shown = 3, state_Hidden = 4 };

  CToolTip(SInt16 listID, SInt16 index, MessageT message, bool executeHost);
  // Layout data: the attachment's, then string list ID and item i16.
  explicit CToolTip(LStream* stream);
  ~CToolTip() override;

  void SetStringID(SInt16 listID, SInt16 index);
  void ShowToolTip(const EventRecord& event);
  void SpendTime(const EventRecord& event) override;
  UInt8 GetState() const { return mState; }

 protected:
  void ExecuteSelf(MessageT message, void* param) override;
  // Whether the tag may be shown once the wait is over.
  virtual bool MayShow() const { return true; }
  LPane* HostPane() const;
  void Reset();

 private:
  SInt16 mListID = 0;
  SInt16 mIndex = 0;
  UInt8 mState = state_Idle;
  UInt32 mWaitStart = 0;
  UInt32 mShownTime = 0;
  UInt32 mHiddenTime = 0;
  bool mTagUp = false;
};
