// How the standard controls look: one place for their colours and shapes, so that every
// control draws alike. Coordinates are the current port's.
#pragma once

#include "framework/FrameworkTypes.h"
#include "quickdraw/QuickDraw.h"

class UAppearance {
 public:
  static const RGBColor kWindowBack;
  static const RGBColor kFace;
  static const RGBColor kFacePressed;
  static const RGBColor kFrame;
  static const RGBColor kText;
  static const RGBColor kDimmedText;
  static const RGBColor kAccent;

  static void DrawPushButton(const Rect& frame, bool pressed, bool enabled, bool isDefault);
  // The 12-pixel box or circle at the left of `frame`; value 1 marked, 2 mixed.
  static void DrawCheckMark(const Rect& frame, SInt32 value, bool pressed, bool enabled, bool round);
  static void DrawPopupBox(const Rect& box, bool pressed, bool enabled);
  static void DrawEditBox(const Rect& frame, bool enabled, bool focused);
  static void SetTextColor(bool enabled);
  // The standard alert icons: 0 stop, 1 note, 2 caution.
  static void DrawAlertIcon(const Rect& frame, SInt16 kind);
};
