// One scanned half of a stitched page in memory as 24-bit RGB, and the page merged from two
// halves, written back as a raw scan file at the depth the left half was scanned in.
#pragma once

#include "output/export/CSaveImage.h"
#include "toolbox/Files.h"

class CStitchCheckStitch;

class CStitchCheckImage {
 public:
  CStitchCheckImage() = default;
  CStitchCheckImage(const CStitchCheckImage&) = delete;
  CStitchCheckImage& operator=(const CStitchCheckImage&) = delete;
  ~CStitchCheckImage();

  // Loads one of our half TIFFs; CSaveImage::kNotOurTIFF for a damaged one.
  OSErr SetImage(const FSSpec* tiff);
  // False, `rect` untouched, when nothing is loaded or the half is too large for a Rect.
  bool GetImageRect(Rect* rect) const;
  // A half turn; throws memFullErr when the copy cannot be had, the image then unchanged.
  void RotateImage(long degrees);
  // Called on the left half: the frame, places and top half come from `stitch`, whose
  // rectangles must be this half's and `right`'s. memFullErr when temporary memory runs
  // short, paramErr when the halves or the frame do not fit; the merged page is then none.
  OSErr CreateMergeImage(const CStitchCheckStitch* stitch, const CStitchCheckImage* right);
  // A failed save leaves no file behind.
  OSErr SaveMergeImage(const FSSpec* raw);
  long GetMergeWidth() const { return mMergeWidth; }
  long GetMergeHeight() const { return mMergeHeight; }
  // 1, 8 or 24: the depth the half was scanned in, and so the merged file's.
  short GetDepth() const { return mHalf.GetDepth(); }
  // The half as a colour TIFF (photometric 2).
  OSErr GetImage(const FSSpec* tiff) const;
  void FreeImage();
  void FreeMergeImage();

 private:
  CSaveImage mHalf;
  Handle mMerged = nullptr;
  long mMergeWidth = 0;
  long mMergeHeight = 0;
};

// Composes `frame` (in the left half's pixels) from the two halves: white first, then the
// half below, then the half on top (the right one when `front` is nonzero). Each half's
// rectangle gives its place; nothing outside a source row or the frame is touched.
void MergeImage(unsigned char* merged, const unsigned char* left, const unsigned char* right, const Rect* leftRect,
                const Rect* rightRect, const Rect* frame, unsigned char front);
