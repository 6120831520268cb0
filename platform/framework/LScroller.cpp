#include "framework/LScroller.h"

#include <algorithm>

#include "framework/LStream.h"
#include "framework/ReadLayoutFields.h"
#include "framework/UAppearance.h"

LScroller::LScroller(LStream* stream) : LView(stream) {
  ReadLayoutFields<layout::kScroller>(*stream, mScrollingViewID, mBarThickness);
}

LScroller::LScroller(const SPaneInfo& paneInfo, const SViewInfo& viewInfo, PaneIDT scrollingViewID, SInt16 barThickness)
    : LView(paneInfo, viewInfo), mScrollingViewID(scrollingViewID), mBarThickness(barThickness) {}

void LScroller::FinishCreateSelf() {
  // The scrolled view fills the scroller less its bars.
  if (LView* view = GetScrollingView()) {
    SDimension16 size;
    view->GetFrameSize(size);
    view->ResizeFrameTo(static_cast<SInt16>(mFrameSize.width - mBarThickness),
                        static_cast<SInt16>(mFrameSize.height - mBarThickness), false);
  }
}

LView* LScroller::GetScrollingView() const {
  for (LPane* pane : GetSubPanes())
    if (pane->GetPaneID() == mScrollingViewID) return dynamic_cast<LView*>(pane);
  return nullptr;
}

SPoint32 LScroller::GetScrollPosition() const {
  LView* view = GetScrollingView();
  if (!view) return {0, 0};
  SPoint32 frame, image;
  view->GetFrameLocation(frame);
  view->GetImageLocation(image);
  return {frame.h - image.h, frame.v - image.v};
}

void LScroller::ScrollImageTo(SInt32 left, SInt32 top, bool refresh) {
  LView* view = GetScrollingView();
  if (!view) return;
  SDimension16 frame;
  SDimension32 image;
  view->GetFrameSize(frame);
  view->GetImageSize(image);
  left = std::clamp<SInt32>(left, 0, std::max<SInt32>(0, image.width - frame.width));
  top = std::clamp<SInt32>(top, 0, std::max<SInt32>(0, image.height - frame.height));
  SPoint32 now = GetScrollPosition();
  if (left == now.h && top == now.v) return;
  view->ScrollImageBy(left - now.h, top - now.v, refresh);
  if (refresh) Refresh();
}

void LScroller::Scroll(bool vertical, SInt16 part) {
  LView* view = GetScrollingView();
  if (!view) return;
  SDimension16 frame;
  view->GetFrameSize(frame);
  SInt32 unit = 16, page = vertical ? frame.height - unit : frame.width - unit;
  SInt32 delta = part == kControlUpButtonPart     ? -unit
                 : part == kControlDownButtonPart ? unit
                 : part == kControlPageUpPart     ? -page
                 : part == kControlPageDownPart   ? page
                                                  : 0;
  SPoint32 now = GetScrollPosition();
  if (vertical)
    ScrollImageTo(now.h, now.v + delta, true);
  else
    ScrollImageTo(now.h + delta, now.v, true);
}

void LScroller::VertScroll(SInt16 part) { Scroll(true, part); }
void LScroller::HorizScroll(SInt16 part) { Scroll(false, part); }

Rect LScroller::BarRect(bool vertical) const {
  Rect frame;
  CalcLocalFrameRect(frame);
  if (vertical)
    return Rect{frame.top, static_cast<SInt16>(frame.right - mBarThickness), static_cast<SInt16>(frame.bottom - mBarThickness), frame.right};
  return Rect{static_cast<SInt16>(frame.bottom - mBarThickness), frame.left, frame.bottom, static_cast<SInt16>(frame.right - mBarThickness)};
}

void LScroller::DrawSelf() {
  LView* view = GetScrollingView();
  for (bool vertical : {true, false}) {
    Rect bar = BarRect(vertical);
    RGBForeColor(&UAppearance::kWindowBack);
    PaintRect(&bar);
    RGBForeColor(&UAppearance::kFrame);
    FrameRect(&bar);
    if (!view) continue;
    // The thumb shows which part of the image is in view.
    SDimension16 frame;
    SDimension32 image;
    view->GetFrameSize(frame);
    view->GetImageSize(image);
    SPoint32 pos = GetScrollPosition();
    SInt32 length = vertical ? bar.bottom - bar.top : bar.right - bar.left;
    SInt32 total = std::max<SInt32>(1, vertical ? image.height : image.width);
    SInt32 shown = vertical ? frame.height : frame.width;
    if (shown >= total) continue;
    SInt32 start = length * (vertical ? pos.v : pos.h) / total;
    SInt32 size = std::max<SInt32>(8, length * shown / total);
    Rect thumb = bar;
    InsetRect(&thumb, 2, 2);
    if (vertical) {
      thumb.top = static_cast<SInt16>(bar.top + start + 2);
      thumb.bottom = static_cast<SInt16>(std::min<SInt32>(bar.bottom - 2, thumb.top + size - 4));
    } else {
      thumb.left = static_cast<SInt16>(bar.left + start + 2);
      thumb.right = static_cast<SInt16>(std::min<SInt32>(bar.right - 2, thumb.left + size - 4));
    }
    RGBForeColor(&UAppearance::kFacePressed);
    PaintRoundRect(&thumb, 6, 6);
  }
}

void LScroller::ClickSelf(const SMouseDownEvent& event) {
  // A click in a bar pages towards it: the first quarter scrolls back a line, the last
  // quarter forward a line, the middle half by a page.
  for (bool vertical : {true, false}) {
    Rect bar = BarRect(vertical);
    if (!PtInRect(event.whereLocal, &bar)) continue;
    SInt32 at = vertical ? event.whereLocal.v - bar.top : event.whereLocal.h - bar.left;
    SInt32 length = vertical ? bar.bottom - bar.top : bar.right - bar.left;
    SInt16 part = at < length / 4 ? kControlUpButtonPart
                  : at >= length * 3 / 4 ? kControlDownButtonPart
                  : at < length / 2 ? kControlPageUpPart : kControlPageDownPart;
    Scroll(vertical, part);
  }
}
