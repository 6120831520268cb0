#include "app/CDropPane.h"

#include "framework/LView.h"
#include "quickdraw/QuickDraw.h"

CDropPane::CDropPane(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value, SInt32 minValue, SInt32 maxValue,
                     ResIDT normalPict, ResIDT pressedPict)
    : CPictureButton(paneInfo, valueMessage, value, minValue, maxValue, normalPict, pressedPict, kHoverPict),
      LDragAndDrop(paneInfo.superView ? paneInfo.superView->GetMacWindow() : nullptr, this) {}

void CDropPane::AdjustMouseSelf(Point, const EventRecord&, RgnHandle) {
  // Loaded once and kept, as a resource would be.
  static const CursHandle kHand = GetCursor(kDragCursor);
  if (kHand)
    SetCursor(*kHand);
  else
    InitCursor();
}

void CDropPane::HiliteRect(Rect& outRect) const {
  CalcLocalFrameRect(outRect);
  outRect.top -= 1;
  outRect.left -= 1;
  outRect.right += 2;
  outRect.bottom += 1;
  InsetRect(&outRect, 1, 1);
}

void CDropPane::HiliteDropArea(DragRef) {
  if (!FocusDraw()) return;
  PenState pen;
  GetPenState(&pen);
  RGBColor fore, highlight;
  GetForeColor(&fore);
  LMGetHiliteRGB(&highlight);
  RGBForeColor(&highlight);
  PenSize(2, 2);
  Rect ring;
  HiliteRect(ring);
  FrameRect(&ring);
  RGBForeColor(&fore);
  SetPenState(&pen);
}

void CDropPane::UnhiliteDropArea(DragRef) {
  LView* super = GetSuperView();
  if (!super) return;
  Rect outer, inner;
  HiliteRect(outer);
  InsetRect(&outer, 1, 1);
  inner = outer;
  InsetRect(&inner, 2, 2);
  RgnHandle ring = NewRgn(), hole = NewRgn();
  RectRgn(ring, &outer);
  RectRgn(hole, &inner);
  DiffRgn(ring, hole, ring);
  InvalWindowRgn(GetMacWindow(), ring);
  DisposeRgn(ring);
  DisposeRgn(hole);
}
