#include "framework/UTextDrawing.h"

#include <cstring>

#include "framework/UTextTraits.h"
#include "quickdraw/QuickDrawText.h"

SInt16 UTextDrawing::JustifiedLeft(SInt16 width, const Rect& frame, SInt16 justification) {
  switch (justification) {
    case teCenter:
      return static_cast<SInt16>(frame.left + (frame.right - frame.left - width) / 2);
    case teFlushRight:
      return static_cast<SInt16>(frame.right - width);
    default:
      return frame.left;
  }
}

void UTextDrawing::DrawWithJustification(const void* text, SInt32 length, const Rect& frame, SInt16 justification,
                                         bool firstLineOnly) {
  FontInfo info;
  GetFontInfo(&info);
  SInt16 lineHeight = static_cast<SInt16>(info.ascent + info.descent + info.leading);
  SInt16 baseline = static_cast<SInt16>(frame.top + info.ascent);
  auto* bytes = static_cast<char*>(const_cast<void*>(text));
  SInt32 start = 0;
  while (start < length && baseline - info.ascent < frame.bottom) {
    // A hard line break ends the line; otherwise break where the width runs out.
    SInt32 end = start;
    while (end < length && bytes[end] != '\r' && bytes[end] != '\n') ++end;
    Fixed width = IntToFixed(frame.right - frame.left);
    SInt32 offset = start == 0 ? 0 : 1;
    SInt32 lineEnd = end;
    if (end > start) {
      offset = 1;
      StyledLineBreak(bytes + start, end - start, 0, end - start, 0, &width, &offset);
      lineEnd = start + (offset > 0 ? offset : end - start);
    }
    SInt32 visible = VisibleLength(bytes + start, lineEnd - start);
    SInt16 w = TextWidth(bytes, static_cast<SInt16>(start), static_cast<SInt16>(visible));
    MoveTo(JustifiedLeft(w, frame, justification), baseline);
    DrawText(bytes, static_cast<SInt16>(start), static_cast<SInt16>(visible));
    baseline = static_cast<SInt16>(baseline + lineHeight);
    start = lineEnd;
    if (start < length && start == end) ++start;  // skip the line break itself
    if (firstLineOnly) break;
  }
}

void UTextDrawing::DrawTruncatedWithJust(ConstStr255Param text, const Rect& frame, SInt16 justification,
                                         SInt16 truncWhere) {
  if (!text || text[0] == 0) return;
  Str255 line;
  std::memcpy(line, text, text[0] + 1u);
  TruncString(static_cast<SInt16>(frame.right - frame.left), line, truncWhere);
  FontInfo info;
  GetFontInfo(&info);
  SInt16 height = static_cast<SInt16>(info.ascent + info.descent);
  SInt16 baseline = static_cast<SInt16>(frame.top + (frame.bottom - frame.top - height) / 2 + info.ascent);
  MoveTo(JustifiedLeft(StringWidth(line), frame, justification), baseline);
  DrawString(line);
}
