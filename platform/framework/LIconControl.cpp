#include "framework/LIconControl.h"

#include "framework/LStream.h"
#include "framework/ReadLayoutFields.h"
#include "quickdraw/Icons.h"
#include "framework/UAppearance.h"

LIconControl::LIconControl(const SPaneInfo& paneInfo, MessageT valueMessage, ResIDT iconID)
    : LControl(paneInfo, valueMessage, 0, 0, 0), mIconID(iconID) {}

LIconControl::LIconControl(LStream* stream) : LControl(stream) { ReadLayoutFields<layout::kIcon>(*stream, mIconID); }

void LIconControl::DrawSelf() {
  Rect frame;
  CalcLocalFrameRect(frame);
  if (CIconHandle icon = GetCIcon(mIconID)) {
    PlotCIcon(&frame, icon);
    DisposeCIcon(icon);
    return;
  }
  UAppearance::DrawAlertIcon(frame, mIconID);
}
