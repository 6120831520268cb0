// A view with scroll bars at its right and bottom that scroll one view inside it (the
// scrolled view, named by pane ID). Parts: 20 up/left arrow, 21 down/right arrow, 22 page
// up/left, 23 page down/right; drag code asks for 20/21 to scroll while dragging.
#pragma once

#include "framework/LView.h"

enum : SInt16 { kControlUpButtonPart = 20, kControlDownButtonPart = 21, kControlPageUpPart = 22, kControlPageDownPart = 23 };

class LScroller : public LView {
 public:
  static constexpr ClassIDT class_ID = 'scrl';
  using Inherited = LView;

  // Layout data: the view's, then layout::kScroller.
  explicit LScroller(LStream* stream);
  LScroller(const SPaneInfo& paneInfo, const SViewInfo& viewInfo, PaneIDT scrollingViewID, SInt16 barThickness = 15);

  LView* GetScrollingView() const;
  void VertScroll(SInt16 part);
  void HorizScroll(SInt16 part);
  // Where the scrolled view's image stands (pixels scrolled away at the top and left).
  SPoint32 GetScrollPosition() const;
  void ScrollImageTo(SInt32 left, SInt32 top, bool refresh);

 protected:
  void DrawSelf() override;
  void ClickSelf(const SMouseDownEvent& event) override;
  void FinishCreateSelf() override;

 private:
  void Scroll(bool vertical, SInt16 part);
  Rect BarRect(bool vertical) const;

  PaneIDT mScrollingViewID = 0;
  SInt16 mBarThickness = 15;
};
