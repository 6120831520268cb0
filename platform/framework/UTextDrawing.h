// Text in a rectangle: word-wrapped lines with a justification, or one line cut with an
// ellipsis. Text is bytes in the system script, drawn with the port's font.
#pragma once

#include "framework/FrameworkTypes.h"
#include "quickdraw/QuickDraw.h"

class UTextDrawing {
 public:
  static void DrawWithJustification(const void* text, SInt32 length, const Rect& frame, SInt16 justification,
                                    bool firstLineOnly = false);
  static void DrawTruncatedWithJust(ConstStr255Param text, const Rect& frame, SInt16 justification,
                                    SInt16 truncWhere = 0);
  // Where a line of `width` pixels starting at `h` goes for the justification.
  static SInt16 JustifiedLeft(SInt16 width, const Rect& frame, SInt16 justification);
};
