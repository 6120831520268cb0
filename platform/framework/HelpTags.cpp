#include "framework/HelpTags.h"

#include <algorithm>
#include <cstring>

#include "framework/UTextDrawing.h"
#include "quickdraw/QDOffscreen.h"
#include "quickdraw/QuickDrawText.h"
#include "toolbox/MacErrors.h"
#include "toolbox/Resources.h"
#include "windows/MacWindows.h"

namespace {

WindowRef gTag = nullptr;
Str255 gText = {0};

}  // namespace

OSStatus HMDisplayTag(const HMHelpContentRec* content) {
  if (!content) return paramErr;
  HMHideTag();
  const HMHelpContent& c = content->content[kHMMinimumContentIndex];
  if (c.contentType == kHMPascalStrContent)
    std::memcpy(gText, c.u.tagString, c.u.tagString[0] + 1u);
  else if (c.contentType == kHMStringResContent)
    GetIndString(gText, c.u.tagStringRes.hmmResID, c.u.tagStringRes.hmmIndex);
  else
    gText[0] = 0;
  if (gText[0] == 0) return noErr;

  TextFont(0);
  TextSize(11);
  SInt16 width = static_cast<SInt16>(std::min<int>(StringWidth(gText) + 12, 300));
  const Rect& hot = content->absHotRect;
  Rect screen;
  GetDeviceBounds(GetMainDevice(), &screen);
  SInt16 top = static_cast<SInt16>(hot.bottom + 4);
  if (top + 20 > screen.bottom || content->tagSide == kHMOutsideTopCenterAligned) top = static_cast<SInt16>(hot.top - 24);
  SInt16 left = static_cast<SInt16>(std::clamp<int>((hot.left + hot.right - width) / 2, screen.left, screen.right - width));
  Rect bounds = {top, left, static_cast<SInt16>(top + 20), static_cast<SInt16>(left + width)};
  if (CreateNewWindow(kHelpWindowClass, kWindowNoAttributes, &bounds, &gTag) != noErr) {
    gTag = nullptr;
    return memFullErr;
  }
  ShowWindow(gTag);
  SetPortWindowPort(gTag);
  Rect all = {0, 0, 20, width};
  RGBColor paper = {0xFFFF, 0xFFFF, 0xCCCC}, ink = {0, 0, 0};
  RGBForeColor(&paper);
  PaintRect(&all);
  RGBForeColor(&ink);
  FrameRect(&all);
  TextFont(0);
  TextSize(11);
  Rect text = all;
  InsetRect(&text, 6, 0);
  UTextDrawing::DrawTruncatedWithJust(gText, text, 0);
  QDFlushPortBuffer(GetWindowPort(gTag), nullptr);
  return noErr;
}

OSStatus HMHideTag() {
  if (gTag) DisposeWindow(gTag);
  gTag = nullptr;
  gText[0] = 0;
  return noErr;
}

void HMCurrentTagText(Str255 text) { std::memcpy(text, gText, gText[0] + 1u); }
