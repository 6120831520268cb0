#include "windows/TextEdit.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "quickdraw/QuickDrawText.h"
#include "quickdraw/qdText.h"
#include "toolbox/MacMemory.h"
#include "windows/Events.h"

namespace {

char* Text(TEHandle te) { return *(*te)->hText; }

void UseFont(TEHandle te) {
  TextFont((*te)->txFont);
  TextSize((*te)->txSize);
  TextFace((*te)->txFace);
}

SInt16 NextChar(TEHandle te, SInt16 at) {
  if (at >= (*te)->teLength) return (*te)->teLength;
  return static_cast<SInt16>(at + (qdIsLeadByte(static_cast<UInt8>(Text(te)[at])) && at + 1 < (*te)->teLength ? 2 : 1));
}

SInt16 PreviousChar(TEHandle te, SInt16 at) {
  SInt16 pos = 0, last = 0;
  while (pos < at) {
    last = pos;
    pos = NextChar(te, pos);
  }
  return last;
}

SInt16 LineOf(TEHandle te, SInt16 offset) {
  TEPtr t = *te;
  for (SInt16 line = 0; line < t->nLines; ++line)
    if (offset < t->lineStarts[line + 1]) return line;
  return static_cast<SInt16>(std::max(0, t->nLines - 1));
}

void Replace(TEHandle te, SInt16 from, SInt16 to, const char* bytes, SInt32 length) {
  TEPtr t = *te;
  SInt32 newLength = std::min<SInt32>(32767, t->teLength - (to - from) + length);
  length = newLength - (t->teLength - (to - from));
  std::string text(Text(te), static_cast<size_t>(t->teLength));
  text.replace(static_cast<size_t>(from), static_cast<size_t>(to - from), bytes, static_cast<size_t>(std::max<SInt32>(0, length)));
  SetHandleSize(t->hText, static_cast<Size>(text.size()));
  std::memcpy(*t->hText, text.data(), text.size());
  t->teLength = static_cast<SInt16>(text.size());
  t->selStart = t->selEnd = static_cast<SInt16>(from + std::max<SInt32>(0, length));
  TECalText(te);
}

}  // namespace

TEHandle TENew(const Rect* destRect, const Rect* viewRect) {
  auto te = reinterpret_cast<TEHandle>(NewHandleClear(sizeof(TERec)));
  if (!te) return nullptr;
  TEPtr t = *te;
  t->destRect = *destRect;
  t->viewRect = *viewRect;
  t->hText = NewHandle(0);
  t->wordWrap = 1;
  GrafPtr port;
  GetPort(&port);
  t->txFont = port ? GetPortTextFont(port) : 0;
  t->txSize = port ? GetPortTextSize(port) : 12;
  t->txFace = port ? GetPortTextFace(port) : static_cast<Style>(normal);
  TECalText(te);
  return te;
}

void TEDispose(TEHandle te) {
  if (!te) return;
  DisposeHandle((*te)->hText);
  DisposeHandle(reinterpret_cast<Handle>(te));
}

void TESetText(const void* text, SInt32 length, TEHandle te) {
  length = std::clamp<SInt32>(length, 0, 32767);
  SetHandleSize((*te)->hText, length);
  if (length) std::memcpy(*(*te)->hText, text, static_cast<size_t>(length));
  (*te)->teLength = static_cast<SInt16>(length);
  (*te)->selStart = (*te)->selEnd = static_cast<SInt16>(length);
  TECalText(te);
}

void TESetSelect(SInt32 selStart, SInt32 selEnd, TEHandle te) {
  TEPtr t = *te;
  auto boundary = [&](SInt32 at) {
    at = std::clamp<SInt32>(at, 0, t->teLength);
    SInt16 pos = 0;
    while (pos < at && NextChar(te, pos) <= at) pos = NextChar(te, pos);
    return pos;
  };
  t->selStart = boundary(std::min(selStart, selEnd));
  t->selEnd = boundary(std::max(selStart, selEnd));
}

void TECalText(TEHandle te) {
  TEPtr t = *te;
  UseFont(te);
  FontInfo info;
  GetFontInfo(&info);
  t->lineHeight = static_cast<SInt16>(info.ascent + info.descent + info.leading);
  t->fontAscent = info.ascent;
  char* text = Text(te);
  SInt16 lines = 0;
  SInt32 start = 0;
  t->lineStarts[0] = 0;
  while (start < t->teLength && lines < kTEMaxLines) {
    SInt32 end = start;
    while (end < t->teLength && text[end] != '\r') ++end;
    SInt32 lineEnd = end;
    if (t->wordWrap && end > start) {
      Fixed width = IntToFixed(t->destRect.right - t->destRect.left);
      SInt32 offset = 1;
      StyledLineBreak(text + start, end - start, 0, end - start, 0, &width, &offset);
      if (offset > 0 && offset < end - start) lineEnd = start + offset;
    }
    if (lineEnd == end && end < t->teLength) ++lineEnd;  // the return belongs to its line
    t->lineStarts[++lines] = static_cast<SInt16>(lineEnd);
    start = lineEnd;
  }
  // Text ending in a return, or none at all, has an empty last line for the caret.
  if (lines == 0 || (t->teLength > 0 && text[t->teLength - 1] == '\r')) t->lineStarts[++lines] = t->teLength;
  t->nLines = lines;
  t->lineStarts[lines] = t->teLength;
}

void TEDelete(TEHandle te) {
  if ((*te)->selStart != (*te)->selEnd) Replace(te, (*te)->selStart, (*te)->selEnd, "", 0);
}

void TEInsert(const void* text, SInt32 length, TEHandle te) {
  Replace(te, (*te)->selStart, (*te)->selEnd, static_cast<const char*>(text), length);
}

void TEKey(SInt16 key, TEHandle te) {
  TEPtr t = *te;
  UInt8 c = static_cast<UInt8>(key);
  switch (c) {
    case kBackspaceCharCode:
      if (t->selStart == t->selEnd && t->selStart > 0) t->selStart = PreviousChar(te, t->selStart);
      TEDelete(te);
      break;
    case kDeleteCharCode:
      if (t->selStart == t->selEnd) t->selEnd = NextChar(te, t->selEnd);
      TEDelete(te);
      break;
    case kLeftArrowCharCode:
      t->selStart = t->selEnd = t->selStart != t->selEnd ? t->selStart : PreviousChar(te, t->selStart);
      break;
    case kRightArrowCharCode:
      t->selStart = t->selEnd = t->selStart != t->selEnd ? t->selEnd : NextChar(te, t->selEnd);
      break;
    case kUpArrowCharCode:
    case kDownArrowCharCode: {
      Point p = TEGetPoint(t->selEnd, te);
      p.v = static_cast<SInt16>(p.v - t->fontAscent / 2 + (c == kUpArrowCharCode ? -t->lineHeight : t->lineHeight));
      SInt16 at = TEGetOffset(p, te);
      (*te)->selStart = (*te)->selEnd = at;
      break;
    }
    default: {
      char byte = static_cast<char>(c);
      TEInsert(&byte, 1, te);
      break;
    }
  }
}

Point TEGetPoint(SInt16 offset, TEHandle te) {
  TEPtr t = *te;
  UseFont(te);
  SInt16 line = LineOf(te, offset);
  SInt16 start = t->lineStarts[line];
  SInt16 width = TextWidth(Text(te), start, static_cast<SInt16>(offset - start));
  return Point{static_cast<SInt16>(t->destRect.top + line * t->lineHeight + t->fontAscent),
               static_cast<SInt16>(t->destRect.left + width)};
}

SInt16 TEGetOffset(Point pt, TEHandle te) {
  TEPtr t = *te;
  UseFont(te);
  SInt16 line = static_cast<SInt16>(std::clamp<int>((pt.v - t->destRect.top) / std::max<SInt16>(1, t->lineHeight), 0,
                                                    t->nLines - 1));
  SInt16 start = t->lineStarts[line], end = t->lineStarts[line + 1];
  if (end > start && line + 1 < t->nLines && Text(te)[end - 1] == '\r') --end;
  SInt16 pos = start;
  while (pos < end) {
    SInt16 next = NextChar(te, pos);
    SInt16 mid = static_cast<SInt16>(t->destRect.left + (TextWidth(Text(te), start, static_cast<SInt16>(pos - start)) +
                                                         TextWidth(Text(te), start, static_cast<SInt16>(next - start))) / 2);
    if (pt.h < mid) break;
    pos = next;
  }
  return pos;
}

void TEClick(Point pt, Boolean extend, TEHandle te) {
  SInt16 at = TEGetOffset(pt, te);
  if (extend)
    TESetSelect((*te)->selStart, at, te);
  else
    (*te)->selStart = (*te)->selEnd = at;
}

void TEActivate(TEHandle te) { (*te)->active = 1; }
void TEDeactivate(TEHandle te) { (*te)->active = 0; }

void TEScroll(SInt16 dh, SInt16 dv, TEHandle te) { OffsetRect(&(*te)->destRect, dh, dv); }

void TESelView(TEHandle te) {
  TEPtr t = *te;
  Point caret = TEGetPoint(t->selEnd, te);
  SInt16 top = static_cast<SInt16>(caret.v - t->fontAscent), bottom = static_cast<SInt16>(top + t->lineHeight);
  SInt16 dv = 0, dh = 0;
  if (top < t->viewRect.top) dv = static_cast<SInt16>(t->viewRect.top - top);
  if (bottom > t->viewRect.bottom) dv = static_cast<SInt16>(t->viewRect.bottom - bottom);
  if (caret.h >= t->viewRect.right) dh = static_cast<SInt16>(t->viewRect.right - caret.h - 1);
  if (caret.h < t->viewRect.left) dh = static_cast<SInt16>(t->viewRect.left - caret.h);
  if (dh || dv) TEScroll(dh, dv, te);
}

void TEUpdate(const Rect*, TEHandle te) {
  TEPtr t = *te;
  UseFont(te);
  RgnHandle saved = NewRgn();
  GetClip(saved);
  Rect clip = t->viewRect, old;
  GetRegionBounds(saved, &old);
  SectRect(&clip, &old, &clip);
  ClipRect(&clip);
  RGBColor selection = {0xB3B3, 0xD7D7, 0xFFFF}, fore;
  GetForeColor(&fore);
  for (SInt16 line = 0; line < t->nLines; ++line) {
    SInt16 start = t->lineStarts[line], end = t->lineStarts[line + 1];
    SInt16 shown = end;
    if (shown > start && Text(te)[shown - 1] == '\r') --shown;
    SInt16 baseline = static_cast<SInt16>(t->destRect.top + line * t->lineHeight + t->fontAscent);
    if (t->active && t->selStart != t->selEnd && t->selStart < end && t->selEnd > start) {
      SInt16 a = std::max(t->selStart, start), b = std::min(t->selEnd, shown);
      Rect sel = {static_cast<SInt16>(baseline - t->fontAscent),
                  static_cast<SInt16>(t->destRect.left + TextWidth(Text(te), start, static_cast<SInt16>(a - start))),
                  static_cast<SInt16>(baseline - t->fontAscent + t->lineHeight),
                  static_cast<SInt16>(t->destRect.left + TextWidth(Text(te), start, static_cast<SInt16>(b - start)))};
      RGBForeColor(&selection);
      PaintRect(&sel);
      RGBForeColor(&fore);
    }
    MoveTo(t->destRect.left, baseline);
    DrawText(Text(te), start, static_cast<SInt16>(shown - start));
  }
  if (t->active && t->selStart == t->selEnd) {
    Point caret = TEGetPoint(t->selEnd, te);
    MoveTo(caret.h, static_cast<SInt16>(caret.v - t->fontAscent));
    LineTo(caret.h, static_cast<SInt16>(caret.v - t->fontAscent + t->lineHeight - 1));
  }
  SetClip(saved);
  DisposeRgn(saved);
}
