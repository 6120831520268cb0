#include "app/CToolTip.h"

#include "app/AppLayoutClasses.h"
#include "framework/LPane.h"
#include "framework/ReadLayoutFields.h"
#include "framework/HelpTags.h"
#include "toolbox/Clock.h"
#include "windows/Events.h"
#include "toolbox/MacErrors.h"

namespace {
constexpr UInt32 kShowDelayTicks = 59;
constexpr UInt32 kShowLimitTicks = 599;
}  // namespace

CToolTip::CToolTip(SInt16 listID, SInt16 index, MessageT message, bool executeHost)
    : LAttachment(message, executeHost), mListID(listID), mIndex(index) {}

CToolTip::CToolTip(LStream* stream) : LAttachment(stream) {
  ReadLayoutFields<layout::kToolTip>(*stream, mListID, mIndex);
}

CToolTip::~CToolTip() {
  if (mTagUp) HMHideTag();
  StopRepeating();
}

void CToolTip::SetStringID(SInt16 listID, SInt16 index) {
  mListID = listID;
  mIndex = index;
}

LPane* CToolTip::HostPane() const { return dynamic_cast<LPane*>(GetOwnerHost()); }

void CToolTip::Reset() {
  mWaitStart = mShownTime = mHiddenTime = 0;
  mState = state_Idle;
  StopRepeating();
}

void CToolTip::ExecuteSelf(MessageT message, void*) {
  if (message == msg_AdjustCursor) {
    if (mWaitStart != 0) return;
    if (mState == state_Idle) {
      mWaitStart = TickCount();
      mState = state_Waiting;
      StartRepeating();
    } else if (mState != state_Hidden) {
      Reset();
    }
  } else if (message == msg_Click) {
    HMHideTag();
    mTagUp = false;
    Reset();
  }
}

void CToolTip::SpendTime(const EventRecord& event) {
  LPane* host = HostPane();
  if (!host) return Reset();
  Point where = event.where;
  host->GlobalToPortPoint(where);
  const bool onHost = host->IsHitBy(where.h, where.v);
  const UInt32 now = TickCount();
  switch (mState) {
    case state_Waiting:
      if (mWaitStart == 0) return Reset();
      if (now - mWaitStart <= kShowDelayTicks) return;
      if (event.what == mouseDown || event.what == mouseUp || !onHost) return Reset();
      mState = state_Shown;
      mShownTime = now;
      if (MayShow()) ShowToolTip(event);
      return;
    case state_Shown:
      if (mShownTime == 0) return Reset();
      if (now - mShownTime > kShowLimitTicks || (!onHost && event.what != kHighLevelEvent)) {
        HMHideTag();
        mTagUp = false;
        mState = state_Hidden;
        mHiddenTime = now;
        mShownTime = mWaitStart = 0;
      }
      return;
    case state_Hidden:
      if (!onHost) Reset();
      return;
    default:
      Reset();
  }
}

void CToolTip::ShowToolTip(const EventRecord&) {
  LPane* host = HostPane();
  if (!host) return;
  HMHelpContentRec content{};
  content.version = kMacHelpVersion;
  host->CalcLocalFrameRect(content.absHotRect);
  Point topLeft{content.absHotRect.top, content.absHotRect.left};
  Point botRight{content.absHotRect.bottom, content.absHotRect.right};
  host->PortToGlobalPoint(topLeft);
  host->PortToGlobalPoint(botRight);
  content.absHotRect = Rect{topLeft.v, topLeft.h, botRight.v, botRight.h};
  content.tagSide = kHMDefaultSide;
  content.content[kHMMinimumContentIndex].contentType = kHMStringResContent;
  content.content[kHMMinimumContentIndex].u.tagStringRes = HMStringResType{mListID, mIndex};
  content.content[kHMMaximumContentIndex].contentType = kHMNoContent;
  mTagUp = HMDisplayTag(&content) == noErr;
}
