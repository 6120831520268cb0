#include "preview/CStitchCheckImage.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "output/formats/InitMakeTIFF.h"
#include "preview/CStitchCheckStitch.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

namespace {

constexpr uint64_t kPixelBytes = 3;

bool FitsRect(long value) {
  return value >= std::numeric_limits<SInt16>::min() && value <= std::numeric_limits<SInt16>::max();
}

bool MakeRect(long top, long left, long bottom, long right, Rect* r) {
  if (!FitsRect(top) || !FitsRect(left) || !FitsRect(bottom) || !FitsRect(right)) return false;
  *r = Rect{SInt16(top), SInt16(left), SInt16(bottom), SInt16(right)};
  return true;
}

bool SameRect(const Rect& a, const Rect& b) {
  return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

// One half's row `v` (frame coordinates) into the merged row, clipped to both.
void CopyRun(uint8_t* mergedRow, const uint8_t* source, const Rect& s, const Rect& f, long v) {
  if (v < s.top || v >= s.bottom) return;
  const long from = std::max<long>(s.left, f.left), to = std::min<long>(s.right, f.right);
  if (to <= from) return;
  const uint64_t sourceRow = kPixelBytes * uint64_t(long(s.right) - s.left);
  std::memcpy(mergedRow + kPixelBytes * uint64_t(from - f.left),
              source + uint64_t(v - s.top) * sourceRow + kPixelBytes * uint64_t(from - s.left),
              size_t(kPixelBytes * uint64_t(to - from)));
}

}  // namespace

void MergeImage(unsigned char* merged, const unsigned char* left, const unsigned char* right, const Rect* leftRect,
                const Rect* rightRect, const Rect* frame, unsigned char front) {
  const long width = long(frame->right) - frame->left, height = long(frame->bottom) - frame->top;
  if (width <= 0 || height <= 0) return;
  const uint64_t mergedRow = kPixelBytes * uint64_t(width);
  std::memset(merged, 255, size_t(mergedRow * uint64_t(height)));
  for (long y = 0; y < height; ++y) {
    uint8_t* row = merged + uint64_t(y) * mergedRow;
    const long v = frame->top + y;
    if (front) {
      CopyRun(row, left, *leftRect, *frame, v);
      CopyRun(row, right, *rightRect, *frame, v);
    } else {
      CopyRun(row, right, *rightRect, *frame, v);
      CopyRun(row, left, *leftRect, *frame, v);
    }
  }
}

CStitchCheckImage::~CStitchCheckImage() { FreeMergeImage(); }

OSErr CStitchCheckImage::SetImage(const FSSpec* tiff) {
  FreeMergeImage();
  return mHalf.SetImage(tiff);
}

bool CStitchCheckImage::GetImageRect(Rect* rect) const {
  const tagIMAGEINFO& info = mHalf.GetImageInfo();
  if (!mHalf.GetPixels()) return false;
  return MakeRect(0, 0, long(info.ImageLength), long(info.ImageWidth), rect);
}

void CStitchCheckImage::RotateImage(long degrees) { mHalf.RotateImage(degrees); }

OSErr CStitchCheckImage::CreateMergeImage(const CStitchCheckStitch* stitch, const CStitchCheckImage* right) {
  Rect ownLeft, ownRight, leftRect, rightRect, frame;
  Point framePt, lp, rp;
  if (!GetImageRect(&ownLeft) || !right->GetImageRect(&ownRight)) return paramErr;
  stitch->GetLeftImageRect(&leftRect);
  stitch->GetRightImageRect(&rightRect);
  if (!SameRect(ownLeft, leftRect) || !SameRect(ownRight, rightRect)) return paramErr;
  stitch->GetMergeSaveFrameRect(&frame);
  stitch->GetMergeSaveFramePt(&framePt);
  stitch->GetLeftImagePt(&lp);
  stitch->GetRightImagePt(&rp);

  const long width = long(frame.right) - frame.left, height = long(frame.bottom) - frame.top;
  if (width <= 0 || height <= 0) return paramErr;
  const long dh = long(framePt.h) - lp.h, dv = long(framePt.v) - lp.v;
  const long rh = long(rp.h) - lp.h, rv = long(rp.v) - lp.v;
  Rect f, r;
  if (!MakeRect(frame.top + dv, frame.left + dh, frame.bottom + dv, frame.right + dh, &f) ||
      !MakeRect(rightRect.top + rv, rightRect.left + rh, rightRect.bottom + rv, rightRect.right + rh, &r))
    return paramErr;

  FreeMergeImage();
  const uint64_t bytes = kPixelBytes * uint64_t(width) * uint64_t(height);
  OSErr err = noErr;
  Handle merged = TempNewHandle(Size(bytes), &err);
  if (!merged) return err != noErr ? err : OSErr(memFullErr);
  TempHLock(merged, &err);
  MergeImage(reinterpret_cast<uint8_t*>(*merged), mHalf.GetPixels(), right->mHalf.GetPixels(), &leftRect, &r, &f,
             stitch->GetIsRightImageOver());
  TempHUnlock(merged, &err);
  mMerged = merged;
  mMergeWidth = width;
  mMergeHeight = height;
  return noErr;
}

OSErr CStitchCheckImage::SaveMergeImage(const FSSpec* raw) {
  if (!mMerged) return paramErr;
  OSErr err = noErr;
  TempHLock(mMerged, &err);
  err = CSaveImage::SaveRawFile(raw, reinterpret_cast<const uint8_t*>(*mMerged), mMergeWidth, mMergeHeight,
                                mHalf.GetDepth());
  OSErr unlockErr = noErr;
  TempHUnlock(mMerged, &unlockErr);
  if (err != noErr) FSpDelete(raw);
  return err;
}

OSErr CStitchCheckImage::GetImage(const FSSpec* tiff) const {
  const uint8_t* pixels = mHalf.GetPixels();
  if (!pixels) return paramErr;
  OSErr err = FSpCreate(tiff, '8BIM', 'TIFF', smSystemScript);
  if (err == dupFNErr) {
    err = FSpDelete(tiff);
    if (err == noErr) err = FSpCreate(tiff, '8BIM', 'TIFF', smSystemScript);
  }
  if (err != noErr) return err;
  SInt16 ref = 0;
  err = FSpOpenDF(tiff, fsWrPerm, &ref);
  if (err != noErr) return err;
  const tagIMAGEINFO& info = mHalf.GetImageInfo();
  err = Init_Make_TIFF(ref, &info);
  const uint64_t rowBytes = kPixelBytes * info.ImageWidth;
  for (uint32_t y = 0; y < info.ImageLength && err == noErr; ++y) {
    long count = long(rowBytes);
    err = FSWrite(ref, &count, pixels + uint64_t(y) * rowBytes);
  }
  const OSErr closeErr = FSClose(ref);
  return err != noErr ? err : closeErr;
}

void CStitchCheckImage::FreeImage() {
  FreeMergeImage();
  mHalf.FreeImage();
}

void CStitchCheckImage::FreeMergeImage() {
  if (mMerged) {
    OSErr err = noErr;
    TempDisposeHandle(mMerged, &err);
  }
  mMerged = nullptr;
  mMergeWidth = mMergeHeight = 0;
}
