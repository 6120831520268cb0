#include "framework/LIconControl.h"

#include <algorithm>

#include "framework/LStream.h"
#include "quickdraw/Icons.h"
#include "quickdraw/QuickDrawText.h"

LIconControl::LIconControl(const SPaneInfo& paneInfo, MessageT valueMessage, ResIDT iconID)
    : LControl(paneInfo, valueMessage, 0, 0, 0), mIconID(iconID) {}

LIconControl::LIconControl(LStream* stream) : LControl(stream) { *stream >> mIconID; }

void LIconControl::SetIconID(ResIDT iconID) {
  mIconID = iconID;
  Refresh();
}

void LIconControl::DrawSelf() {
  Rect frame;
  CalcLocalFrameRect(frame);
  if (CIconHandle icon = GetCIcon(mIconID)) {
    PlotCIcon(&frame, icon);
    DisposeCIcon(icon);
    return;
  }
  // The standard alert icons: a red disc, a blue disc, a yellow triangle, with a sign.
  Rect r = frame;
  SInt16 size = static_cast<SInt16>(std::min(r.right - r.left, r.bottom - r.top));
  r.right = static_cast<SInt16>(r.left + size);
  r.bottom = static_cast<SInt16>(r.top + size);
  RGBColor colour = mIconID == 0 ? RGBColor{0xCCCC, 0x2222, 0x2222}
                    : mIconID == 1 ? RGBColor{0x2222, 0x5555, 0xBBBB}
                                   : RGBColor{0xEEEE, 0xBBBB, 0x1111};
  RGBForeColor(&colour);
  PaintOval(&r);
  RGBColor white = {0xFFFF, 0xFFFF, 0xFFFF};
  RGBForeColor(&white);
  TextFont(0);
  TextSize(static_cast<SInt16>(size * 2 / 3));
  TextFace(bold);
  const unsigned char* sign = reinterpret_cast<const unsigned char*>(mIconID == 1 ? "\x01i" : "\x01!");
  FontInfo info;
  GetFontInfo(&info);
  MoveTo(static_cast<SInt16>(r.left + (size - StringWidth(sign)) / 2),
         static_cast<SInt16>(r.top + (size + info.ascent - info.descent) / 2));
  DrawString(sign);
  TextFace(normal);
}
