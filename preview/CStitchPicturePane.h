// One half of a stitched page in the stitch view, scaled to its frame and matched to the
// screen once. The right half follows the mouse and the arrow keys; while it is dragged,
// the part over the left half is drawn half-and-half with it.
#pragma once

#include <memory>

#include "framework/LBWCursor.h"
#include "framework/LPane.h"
#include "output/export/PageRecords.h"

class CStitchPictureView;
class LGWorld;

class CStitchPicturePane : public LPane {
 public:
  CStitchPicturePane(const SPaneInfo& info, const ScanData& record, CStitchPictureView* view);
  ~CStitchPicturePane() override;

  // The right half by one pixel for an arrow key, kept within the view's limits.
  void MoveRightPictureByKeyPress(unsigned char charCode);
  // A half turn of the picture shown.
  void RotatePicture();
  bool IsDragging() const { return mDragging; }
  bool IsRightHalf() const;

 protected:
  void FinishCreateSelf() override;
  void DrawSelf() override;
  void ClickSelf(const SMouseDownEvent& event) override;
  void AdjustMouseSelf(Point portPt, const EventRecord& event, RgnHandle mouseRgn) override;

 private:
  void BringToFront();
  // Moves by (dh, dv), then back inside the view's limits.
  void MoveWithin(long dh, long dv);

  std::unique_ptr<LGWorld> mImage;
  ScanData mRecord;
  CStitchPictureView* mView;
  bool mDragging = false;
  LBWCursor mMoveCursor{130};
};
