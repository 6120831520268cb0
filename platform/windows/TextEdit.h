// TextEdit: editable text of up to 32,767 bytes in a rectangle, one font, word-wrapped
// (or not), with a selection. Text is bytes in the system script; line breaks and caret
// moves never fall inside a two-byte character. Drawing goes into the current port.
#pragma once

#include "quickdraw/QuickDraw.h"

constexpr SInt16 kTEMaxLines = 16000;

struct TERec {
  Rect destRect;      // where the text lays out (moves when the view scrolls)
  Rect viewRect;      // what is visible
  SInt16 lineHeight;
  SInt16 fontAscent;
  SInt16 selStart;
  SInt16 selEnd;
  SInt16 active;
  SInt16 wordWrap;    // 0: lines end only at returns
  SInt16 just;
  SInt16 teLength;
  Handle hText;
  SInt16 txFont;
  Style txFace;
  SInt16 txSize;
  SInt16 nLines;
  SInt16 lineStarts[kTEMaxLines + 1];  // nLines + 1 entries, the last = teLength
};
typedef TERec* TEPtr;
typedef TERec** TEHandle;

// Uses the current port's font, size and face.
TEHandle TENew(const Rect* destRect, const Rect* viewRect);
void TEDispose(TEHandle te);
void TESetText(const void* text, SInt32 length, TEHandle te);
void TESetSelect(SInt32 selStart, SInt32 selEnd, TEHandle te);
// A typed character: inserted in place of the selection, or backspace (8), forward delete
// (127) and the arrows (28-31) acting on it.
void TEKey(SInt16 key, TEHandle te);
void TEDelete(TEHandle te);
void TEInsert(const void* text, SInt32 length, TEHandle te);
void TEClick(Point pt, Boolean extend, TEHandle te);
void TEUpdate(const Rect* rUpdate, TEHandle te);
void TECalText(TEHandle te);
void TEActivate(TEHandle te);
void TEDeactivate(TEHandle te);
// Moves the text (positive: down and right).
void TEScroll(SInt16 dh, SInt16 dv, TEHandle te);
// Scrolls so that the selection's end is in view.
void TESelView(TEHandle te);
// The offset of the character nearest a point, and the point of an offset (its line's
// baseline).
SInt16 TEGetOffset(Point pt, TEHandle te);
Point TEGetPoint(SInt16 offset, TEHandle te);
