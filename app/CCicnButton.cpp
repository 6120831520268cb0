#include "app/CCicnButton.h"

#include "quickdraw/QuickDraw.h"

CCicnButton::CCicnButton(LStream* stream) : LCicnButton(stream) {}

CCicnButton::~CCicnButton() {
  if (mIconRef) ReleaseIconRef(mIconRef);
  if (mIcon) DisposeCIcon(mIcon);
}

void CCicnButton::SetIconRef(IconRef icon) {
  if (mIconRef) ReleaseIconRef(mIconRef);
  mIconRef = icon;
}

void CCicnButton::SetCicnIDs(ResIDT normalID, ResIDT pushedID) {
  mNormalID = normalID;
  mPushedID = pushedID;
  if (mIcon) DisposeCIcon(mIcon);
  mIcon = nullptr;
}

void CCicnButton::DrawSelf() {
  Rect frame;
  CalcLocalFrameRect(frame);
  PenNormal();
  if (mIconRef) {
    PlotIconRef(&frame, kAlignNone, kTransformNone, kIconServicesNormalUsageFlag, mIconRef);
    return;
  }
  if (!mIcon) mIcon = GetCIcon(mNormalID);
  if (mIcon) PlotCIcon(&frame, mIcon);
}
