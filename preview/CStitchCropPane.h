// The frame kept from the two halves of a stitched page, drawn in marching ants over both.
// Its eight handles resize it, its inside moves it; it stays around both halves and always
// spans the seam.
#pragma once

#include "framework/LBWCursor.h"
#include "framework/LPane.h"

class CStitchPictureView;

class CStitchCropPane : public LPane {
 public:
  CStitchCropPane(const SPaneInfo& info, CStitchPictureView* view);

 protected:
  void DrawSelf() override;
  void ClickSelf(const SMouseDownEvent& event) override;
  void AdjustMouseSelf(Point portPt, const EventRecord& event, RgnHandle mouseRgn) override;

 private:
  void SetFrame(const Rect& frame);

  CStitchPictureView* mView;
  LBWCursor mMoveCursor{130};
  LBWCursor mTopBottomCursor{131};
  LBWCursor mLeftRightCursor{132};
  LBWCursor mFallingDiagonalCursor{133};
  LBWCursor mRisingDiagonalCursor{134};
};
