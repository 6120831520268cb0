// Text in ports: font, size and face, drawing at the pen, metrics that agree with the drawn
// pixels to the pixel, line breaking and truncation with an ellipsis.
//
// Text is bytes in the system script (toolbox/TextConvert.h): Mac Roman, or Shift-JIS when
// the system script is Japanese. Truncation and line breaks never fall inside a two-byte character.
#pragma once

#include "quickdraw/QuickDraw.h"

struct FontInfo {
  SInt16 ascent;
  SInt16 descent;
  SInt16 widMax;
  SInt16 leading;
};

void TextFont(SInt16 font);
void TextFace(StyleParameter face);
void TextMode(SInt16 mode);
void TextSize(SInt16 size);
void DrawChar(char ch);
void DrawString(ConstStr255Param s);
void DrawText(const void* text, SInt16 firstByte, SInt16 byteCount);
SInt16 CharWidth(char ch);
SInt16 StringWidth(ConstStr255Param s);
SInt16 TextWidth(const void* text, SInt16 firstByte, SInt16 byteCount);
void GetFontInfo(FontInfo* info);

// Line direction: 0 = left to right, the only one this system uses.
SInt16 GetSysDirection();

typedef SInt8 StyledLineBreakCode;
enum : SInt8 { smBreakWord = 0, smBreakChar = 1, smBreakOverflow = 2 };
// Finds where the line that starts at textStart must end to fit *textWidth (16.16) pixels.
// On return *textOffset is the break offset; it always advances at least one character
// past textStart when the line starts (*textOffset != 0 on entry), so a loop of calls ends.
StyledLineBreakCode StyledLineBreak(Ptr textPtr, SInt32 textLen, SInt32 textStart, SInt32 textEnd,
                                    SInt32 flags, Fixed* textWidth, SInt32* textOffset);
// The length of the text without its trailing blanks.
SInt32 VisibleLength(Ptr textPtr, SInt32 textLen);

typedef SInt16 TruncCode;
enum : SInt16 { truncEnd = 0, truncMiddle = 0x4000, smTruncEnd = 0, smTruncMiddle = 0x4000 };
enum : SInt16 { notTruncated = 0, truncated = 1, truncErr = -1 };
// Cuts the text to fit `width` pixels, putting an ellipsis at the end or in the middle.
SInt16 TruncString(SInt16 width, Str255 theString, TruncCode truncWhere);
SInt16 TruncText(SInt16 width, Ptr textPtr, SInt16* length, TruncCode truncWhere);
