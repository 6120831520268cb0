#include "preview/CStitchCheckStitch.h"

#include <algorithm>

namespace {

// Sums and differences of 16-bit values are taken in long and stored back.
SInt16 S16(long value) { return static_cast<SInt16>(value); }

Rect MakeRect(long top, long left, long bottom, long right) {
  return Rect{S16(top), S16(left), S16(bottom), S16(right)};
}

}  // namespace

void CStitchCheckStitch::SetScreen() {
  mScreenPt = Point{0, 0};
  mScreenRect = MakeRect(0, 0, long(mLeftImageRect.bottom) + 2L * mRightImageRect.bottom,
                         long(mLeftImageRect.right) + mRightImageRect.right);
}

void CStitchCheckStitch::CreateStitchScreen(const Rect* left, const Rect* right) {
  const Rect missing{0, 0, 100, 100};
  mLeftImageRect = left ? *left : missing;
  mRightImageRect = right ? *right : missing;
  SetScreen();
  InitLeftImagePt();
  InitRightImagePt();
}

void CStitchCheckStitch::SetScreenSize(Rect* left, Rect* right) {
  *left = mLeftImageRect;
  *right = mRightImageRect;
  SetScreen();
}

void CStitchCheckStitch::InitLeftImagePt() { mLeftImagePt = Point{mRightImageRect.bottom, 0}; }

void CStitchCheckStitch::InitRightImagePt() { mRightImagePt = Point{mRightImageRect.bottom, mLeftImageRect.right}; }

void CStitchCheckStitch::CheckRightImagePt(Point* p) const {
  const long wl = mLeftImageRect.right, hl = mLeftImageRect.bottom;
  const long wr = mRightImageRect.right, hr = mRightImageRect.bottom;
  long h = p->h, v = p->v;
  if (h + wr < wl) h = wl - wr;
  if (h < 0) h = 0;
  if (h > wl) h = wl;
  const long margin = 3 * (hl / 4);
  if (v < margin) v = margin;
  if (v + hr > mScreenRect.bottom - margin) v = mScreenRect.bottom - margin - hr;
  *p = Point{S16(v), S16(h)};
}

void CStitchCheckStitch::CalcMergeRect(Rect* merge, Point* mergePt, Rect* leftPart, Rect* rightPart) {
  const Point lp = mLeftImagePt, rp = mRightImagePt;
  const long x0 = std::min<long>(lp.h, rp.h), y0 = std::max<long>(lp.v, rp.v);
  const long x1 = std::max<long>(long(lp.h) + mLeftImageRect.right, long(rp.h) + mRightImageRect.right);
  const long y1 = std::min<long>(long(lp.v) + mLeftImageRect.bottom, long(rp.v) + mRightImageRect.bottom);
  mMergePt = Point{S16(y0), S16(x0)};
  mMergeImageRect = MakeRect(0, 0, y1 - y0, x1 - x0);
  *mergePt = mMergePt;
  *merge = mMergeImageRect;
  *leftPart = MakeRect(y0 - lp.v, x0 - lp.h, y1 - lp.v, long(rp.h) - lp.h);
  *rightPart = MakeRect(y0 - rp.v, 0, y1 - rp.v, mRightImageRect.right);
}

void CStitchCheckStitch::CalcMaxMergePt(Point* pt) const {
  *pt = Point{std::min(mLeftImagePt.v, mRightImagePt.v), mMergePt.h};
}

void CStitchCheckStitch::CalcMaxMergeRect(Rect* rect) const {
  *rect =
      MakeRect(0, mMergeImageRect.left, long(mLeftImageRect.bottom) + mRightImageRect.bottom - mMergeImageRect.bottom,
               mMergeImageRect.right);
}

void CStitchCheckStitch::CheckMergeSaveFrame() {
  Point boxPt;
  Rect box;
  CalcMaxMergePt(&boxPt);
  CalcMaxMergeRect(&box);
  const long bTop = long(box.top) + boxPt.v, bLeft = long(box.left) + boxPt.h;
  const long bBottom = long(box.bottom) + boxPt.v, bRight = long(box.right) + boxPt.h;
  const Point p = mMergeSaveFramePt;
  const Rect& fr = mMergeSaveFrameRect;
  long top = long(fr.top) + p.v, left = long(fr.left) + p.h, bottom = long(fr.bottom) + p.v,
       right = long(fr.right) + p.h;
  if (top > bottom) std::swap(top, bottom);
  left = std::max(left, bLeft);
  top = std::max(top, bTop);
  right = std::min(right, bRight);
  bottom = std::min(bottom, bBottom);
  if (left >= mRightImagePt.h) left = long(mRightImagePt.h) - 1;
  const long leftEdge = long(mLeftImagePt.h) + mLeftImageRect.right;
  if (right <= leftEdge) right = leftEdge + 1;
  mMergeSaveFramePt = Point{S16(top), S16(left)};
  mMergeSaveFrameRect = MakeRect(0, 0, bottom - top, right - left);
}

void CStitchCheckStitch::CalcMergeSaveLeftRect() {
  const Point lp = mLeftImagePt, p = mMergeSaveFramePt;
  mMergeSaveLeftRect =
      MakeRect(std::max(lp.v, p.v) - lp.v, long(p.h) - lp.h,
               std::min<long>(long(lp.v) + mLeftImageRect.bottom, long(p.v) + mMergeSaveFrameRect.bottom) - lp.v,
               long(mRightImagePt.h) - lp.h);
}

void CStitchCheckStitch::CalcMergeSaveRightRect() {
  const Point rp = mRightImagePt, p = mMergeSaveFramePt;
  mMergeSaveRightRect =
      MakeRect(std::max(rp.v, p.v) - rp.v, 0,
               std::min<long>(long(rp.v) + mRightImageRect.bottom, long(p.v) + mMergeSaveFrameRect.bottom) - rp.v,
               long(p.h) + mMergeSaveFrameRect.right - rp.h);
}

void CStitchCheckStitch::CalcViewPt() {
  mViewPt = Point{mRightImageRect.bottom, S16(long(mLeftImageRect.right) - mViewRect.right / 2)};
}

void CStitchCheckStitch::GetLeftImageRectOnView(const Point* viewPt, const Rect* viewRect, Rect* source, Rect* target) {
  mViewPt = *viewPt;
  mViewRect = *viewRect;
  const long vh = mViewPt.h, vv = mViewPt.v, vw = mViewRect.right, vb = mViewRect.bottom;
  const long lh = mLeftImagePt.h, lv = mLeftImagePt.v, wl = mLeftImageRect.right, hl = mLeftImageRect.bottom;
  const long half = vw / 2;
  const long left = vh >= lh ? vh - lh : 0;
  const long top = vv - lv;
  *source = MakeRect(top, left, hl - top < vb ? hl : top + vb, wl - left < half ? wl : left + half);
  *target = MakeRect(0, wl < half ? lh - vh : 0, lv + hl < vv + vb ? lv + hl - vv : vb, half);
}

void CStitchCheckStitch::GetRightImageRectOnView(const Point* viewPt, const Rect* viewRect, Rect* source,
                                                 Rect* target) {
  mViewPt = *viewPt;
  mViewRect = *viewRect;
  const long vh = mViewPt.h, vv = mViewPt.v, vw = mViewRect.right, vb = mViewRect.bottom;
  const long rh = mRightImagePt.h, rv = mRightImagePt.v, wr = mRightImageRect.right, hr = mRightImageRect.bottom;
  const bool rightInside = rh + wr < vh + vw, bottomInside = rv + hr < vv + vb;
  *source = MakeRect(rv < vv ? vv - rv : 0, 0, bottomInside ? hr : vv + vb - rv, rightInside ? wr : vh + vw - rh);
  *target =
      MakeRect(rv >= vv ? rv - vv : 0, rh - vh, bottomInside ? rv + hr - vv : vb, rightInside ? rh + wr - vh : vw);
}

void CStitchCheckStitch::GetMergeSaveRectOnView(const Point* viewPt, Rect* rect) {
  mViewPt = *viewPt;
  const Point p = mMergeSaveFramePt;
  *rect = MakeRect(long(p.v) - mViewPt.v, long(p.h) - mViewPt.h, long(p.v) + mMergeSaveFrameRect.bottom - mViewPt.v,
                   long(p.h) + mMergeSaveFrameRect.right - mViewPt.h);
}
