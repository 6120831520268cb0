#include "framework/UAppearance.h"

#include <algorithm>

#include "quickdraw/QuickDrawText.h"

const RGBColor UAppearance::kWindowBack = {0xEEEE, 0xEEEE, 0xEEEE};
const RGBColor UAppearance::kFace = {0xFFFF, 0xFFFF, 0xFFFF};
const RGBColor UAppearance::kFacePressed = {0xBBBB, 0xBBBB, 0xBBBB};
const RGBColor UAppearance::kFrame = {0x5555, 0x5555, 0x5555};
const RGBColor UAppearance::kText = {0, 0, 0};
const RGBColor UAppearance::kDimmedText = {0x9999, 0x9999, 0x9999};
const RGBColor UAppearance::kAccent = {0x2222, 0x5555, 0xBBBB};

void UAppearance::SetTextColor(bool enabled) { RGBForeColor(enabled ? &kText : &kDimmedText); }

void UAppearance::DrawPushButton(const Rect& frame, bool pressed, bool enabled, bool isDefault) {
  Rect r = frame;
  if (isDefault) {
    RGBForeColor(enabled ? &kAccent : &kDimmedText);
    PenSize(2, 2);
    FrameRoundRect(&r, 10, 10);
    PenSize(1, 1);
    InsetRect(&r, 3, 3);
  }
  RGBForeColor(pressed ? &kFacePressed : &kFace);
  PaintRoundRect(&r, 8, 8);
  RGBForeColor(enabled ? &kFrame : &kDimmedText);
  FrameRoundRect(&r, 8, 8);
}

void UAppearance::DrawCheckMark(const Rect& frame, SInt32 value, bool pressed, bool enabled, bool round) {
  SInt16 top = static_cast<SInt16>(frame.top + (frame.bottom - frame.top - 12) / 2);
  Rect box = {top, frame.left, static_cast<SInt16>(top + 12), static_cast<SInt16>(frame.left + 12)};
  RGBForeColor(pressed ? &kFacePressed : &kFace);
  if (round)
    PaintOval(&box);
  else
    PaintRect(&box);
  RGBForeColor(enabled ? &kFrame : &kDimmedText);
  if (round)
    FrameOval(&box);
  else
    FrameRect(&box);
  if (value == 0) return;
  RGBForeColor(enabled ? &kText : &kDimmedText);
  if (round) {
    Rect dot = box;
    InsetRect(&dot, 3, 3);
    PaintOval(&dot);
  } else if (value == 1) {
    PenSize(2, 2);
    MoveTo(box.left + 2, box.top + 5);
    LineTo(box.left + 4, box.top + 8);
    LineTo(box.left + 9, box.top + 2);
    PenSize(1, 1);
  } else {
    Rect dash = {static_cast<SInt16>(box.top + 5), static_cast<SInt16>(box.left + 3), static_cast<SInt16>(box.top + 7),
                 static_cast<SInt16>(box.right - 3)};
    PaintRect(&dash);
  }
}

void UAppearance::DrawPopupBox(const Rect& box, bool pressed, bool enabled) {
  RGBForeColor(pressed ? &kFacePressed : &kFace);
  PaintRoundRect(&box, 6, 6);
  RGBForeColor(enabled ? &kFrame : &kDimmedText);
  FrameRoundRect(&box, 6, 6);
  // The arrow at the right end.
  SInt16 cx = static_cast<SInt16>(box.right - 10), cy = static_cast<SInt16>((box.top + box.bottom) / 2);
  for (SInt16 i = 0; i < 4; ++i) {
    MoveTo(static_cast<SInt16>(cx - 3 + i), static_cast<SInt16>(cy - 1 + i));
    LineTo(static_cast<SInt16>(cx + 3 - i), static_cast<SInt16>(cy - 1 + i));
  }
}

void UAppearance::DrawEditBox(const Rect& frame, bool enabled, bool focused) {
  RGBForeColor(&kFace);
  PaintRect(&frame);
  RGBForeColor(focused ? &kAccent : enabled ? &kFrame : &kDimmedText);
  FrameRect(&frame);
}

void UAppearance::DrawAlertIcon(const Rect& frame, SInt16 kind) {
  // A red disc with "!", a blue disc with "i", or a yellow disc with "!".
  Rect r = frame;
  SInt16 size = static_cast<SInt16>(std::min(r.right - r.left, r.bottom - r.top));
  r.right = static_cast<SInt16>(r.left + size);
  r.bottom = static_cast<SInt16>(r.top + size);
  RGBColor colour = kind == 0 ? RGBColor{0xCCCC, 0x2222, 0x2222}
                    : kind == 1 ? RGBColor{0x2222, 0x5555, 0xBBBB}
                                : RGBColor{0xEEEE, 0xBBBB, 0x1111};
  RGBForeColor(&colour);
  PaintOval(&r);
  RGBForeColor(&kFace);
  TextFont(0);
  TextSize(static_cast<SInt16>(size * 2 / 3));
  TextFace(bold);
  const unsigned char* sign = reinterpret_cast<const unsigned char*>(kind == 1 ? "\x01i" : "\x01!");
  FontInfo info;
  GetFontInfo(&info);
  MoveTo(static_cast<SInt16>(r.left + (size - StringWidth(sign)) / 2),
         static_cast<SInt16>(r.top + (size + info.ascent - info.descent) / 2));
  DrawString(sign);
  TextFace(normal);
}
