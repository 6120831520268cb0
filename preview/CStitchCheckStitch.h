// Where two scanned halves lie on one canvas (the screen), in image pixels: the rows both
// share, the frame kept for the merged image, and what a view window over the seam shows.
// The merge reads the halves' places, their rectangles, the frame and which half is on top.
#pragma once

#include "toolbox/MacTypes.h"

class CStitchCheckStitch {
 public:
  CStitchCheckStitch() = default;
  virtual ~CStitchCheckStitch() = default;

  // Side by side, tops level, with the right half's height free above and below the left
  // half for moving the right one; a missing rectangle counts as 100 x 100.
  void CreateStitchScreen(const Rect* left, const Rect* right);
  // Copies out the two stored rectangles and sets the screen from them again.
  void SetScreenSize(Rect* left, Rect* right);
  void InitLeftImagePt();
  void InitRightImagePt();
  // Keeps a proposed right point in reach of the left half: no gap, no right edge left of
  // the left half's, and a quarter of the left height up or down at most.
  void CheckRightImagePt(Point* p) const;
  // The rows both halves share across their full width; the two parts are each half's share
  // in its own pixels, up to where the right half begins for the left one.
  void CalcMergeRect(Rect* merge, Point* mergePt, Rect* leftPart, Rect* rightPart);
  // The box around both halves: CalcMaxMergeRect offset by CalcMaxMergePt.
  void CalcMaxMergePt(Point* pt) const;
  void CalcMaxMergeRect(Rect* rect) const;
  // Right way up, inside the box, and reaching one column over the seam on both sides.
  void CheckMergeSaveFrame();
  void CalcMergeSaveLeftRect();
  void CalcMergeSaveRightRect();
  // A view window centred on the seam, its top at the left half's starting top.
  void CalcViewPt();
  void GetLeftImageRectOnView(const Point* viewPt, const Rect* viewRect, Rect* source, Rect* target);
  void GetRightImageRectOnView(const Point* viewPt, const Rect* viewRect, Rect* source, Rect* target);
  void GetMergeSaveRectOnView(const Point* viewPt, Rect* rect);

  void GetScreenRect(Rect* r) const { *r = mScreenRect; }
  void GetLeftImagePt(Point* p) const { *p = mLeftImagePt; }
  void SetLeftImagePt(const Point* p) { mLeftImagePt = *p; }
  void GetLeftImageRect(Rect* r) const { *r = mLeftImageRect; }
  void GetRightImagePt(Point* p) const { *p = mRightImagePt; }
  void SetRightImagePt(const Point* p) { mRightImagePt = *p; }
  void GetRightImageRect(Rect* r) const { *r = mRightImageRect; }
  void GetViewPt(Point* p) const { *p = mViewPt; }
  void SetViewPt(const Point* p) { mViewPt = *p; }
  void GetViewRect(Rect* r) const { *r = mViewRect; }
  void SetViewRect(const Rect* r) { mViewRect = *r; }
  void GetMergeImageLocalPt(Point* p) const { *p = mMergeImageLocalPt; }
  void SetMergeImageLocalPt(const Point* p) { mMergeImageLocalPt = *p; }
  void GetMergeImageRect(Rect* r) const { *r = mMergeImageRect; }
  void SetMergeImageRect(const Rect* r) { mMergeImageRect = *r; }
  void GetMergeLeftRect(Rect* r) const { *r = mMergeLeftRect; }
  void SetMergeLeftRect(const Rect* r) { mMergeLeftRect = *r; }
  void GetMergeRightRect(Rect* r) const { *r = mMergeRightRect; }
  void SetMergeRightRect(const Rect* r) { mMergeRightRect = *r; }
  void GetMergeLeftLocalPt(Point* p) const { *p = mMergeLeftLocalPt; }
  void SetMergeLeftLocalPt(const Point* p) { mMergeLeftLocalPt = *p; }
  void GetMergeRightLocalPt(Point* p) const { *p = mMergeRightLocalPt; }
  void SetMergeRightLocalPt(const Point* p) { mMergeRightLocalPt = *p; }
  void GetMergeSaveFramePt(Point* p) const { *p = mMergeSaveFramePt; }
  void SetMergeSaveFramePt(const Point* p) { mMergeSaveFramePt = *p; }
  void GetMergeSaveFrameRect(Rect* r) const { *r = mMergeSaveFrameRect; }
  void SetMergeSaveFrameRect(const Rect* r) { mMergeSaveFrameRect = *r; }
  void GetMergeSaveLeftPt(Point* p) const { *p = mMergeSaveLeftPt; }
  void SetMergeSaveLeftPt(const Point* p) { mMergeSaveLeftPt = *p; }
  void GetMergeSaveLeftRect(Rect* r) const { *r = mMergeSaveLeftRect; }
  void SetMergeSaveLeftRect(const Rect* r) { mMergeSaveLeftRect = *r; }
  void GetMergeSaveRightPt(Point* p) const { *p = mMergeSaveRightPt; }
  void SetMergeSaveRightPt(const Point* p) { mMergeSaveRightPt = *p; }
  void GetMergeSaveRightRect(Rect* r) const { *r = mMergeSaveRightRect; }
  void SetMergeSaveRightRect(const Rect* r) { mMergeSaveRightRect = *r; }
  unsigned char GetIsRightImageOver() const { return mIsRightImageOver; }
  void SetIsRightImageOver(unsigned char over) { mIsRightImageOver = over; }

 private:
  void SetScreen();

  Point mScreenPt{};
  Rect mScreenRect{};
  Point mLeftImagePt{};
  Rect mLeftImageRect{};
  Point mRightImagePt{};
  Rect mRightImageRect{};
  Point mViewPt{};
  Rect mViewRect{};
  Point mMergeImageLocalPt{};
  Point mMergePt{};
  Rect mMergeImageRect{};
  Rect mMergeLeftRect{};
  Rect mMergeRightRect{};
  Point mMergeLeftLocalPt{};
  Point mMergeRightLocalPt{};
  Point mMergeSaveFramePt{};
  Rect mMergeSaveFrameRect{};
  Point mMergeSaveLeftPt{};
  Rect mMergeSaveLeftRect{};
  Point mMergeSaveRightPt{};
  Rect mMergeSaveRightRect{};
  unsigned char mIsRightImageOver = 1;
};
