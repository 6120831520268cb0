// A page loaded from one of our uncompressed TIFF files into a 24-bit working copy (R, G,
// B, rows top-down, no padding), turned in memory, and written back as a raw scan file at
// the depth it was loaded with.
#pragma once

#include "framework/LGWorld.h"
#include "output/formats/tiffRecognition.h"
#include "toolbox/MacTypes.h"

class CSaveImage {
 public:
  static constexpr OSErr kNotOurTIFF = -2001;

  CSaveImage() = default;
  CSaveImage(const CSaveImage&) = delete;
  CSaveImage& operator=(const CSaveImage&) = delete;
  virtual ~CSaveImage();

  // kNotOurTIFF unless the file is a sound one-strip uncompressed TIFF of 1-bit bilevel,
  // 8-bit grey or 3 x 8-bit colour pixels; memFullErr when the working copy cannot be had;
  // else the File Manager's error. A failed load keeps no image.
  OSErr SetImage(const FSSpec* tiff);
  // Clockwise by 90, 180 or 270 degrees (0 changes nothing). Throws memFullErr when the
  // copy cannot be had; the image is then unchanged.
  void RotateImage(long degrees);
  // Replaces `raw` with the working copy at the loaded depth, in raw scan rows: 1 bit set
  // where the first sample is 0, 8 bits as the inverted first sample, 24 bits as is, each
  // row padded to an even length.
  OSErr SaveImage(const FSSpec* raw);
  // The same rows from any 24-bit buffer of `width` x `height` (R, G, B, no padding).
  static OSErr SaveRawFile(const FSSpec* raw, const uint8_t* pixels, long width, long height, short depth);

  // A 32-bit world of the image (0, R, G, B pixels), kept until FreeImage; memFullErr when
  // it cannot be made.
  OSErr CreateOffscreenImage();
  LGWorld* GetOffscreenImage() const { return mWorld; }
  void GetImageRect(Rect* rect) const;
  // The working copy (null when nothing is loaded), the depth it was loaded with (1, 8 or
  // 24), and its record: colour (kind 5, photometric 2) after a load.
  const uint8_t* GetPixels() const { return mPixels ? reinterpret_cast<const uint8_t*>(*mPixels) : nullptr; }
  short GetDepth() const { return mDepth; }
  const tagIMAGEINFO& GetImageInfo() const { return mInfo; }
  void FreeImage();
  // Whether `info` (decoded from `file`, `length` bytes) describes pixels this class reads.
  static bool CheckImageType(const tagIMAGEINFO& info, const unsigned char* file, unsigned long length);
  void SetImageInfo(const tagIMAGEINFO* info) { mInfo = *info; }
  // 255 when bit `bit` (7 = most significant) of `value` is clear, 0 when it is set.
  static unsigned char GetBitNum(unsigned char value, unsigned char bit);

 private:
  tagIMAGEINFO mInfo{};
  Handle mPixels = nullptr;
  short mDepth = 0;
  long mWidth = 0;
  long mHeight = 0;
  long mRowBytes = 0;
  LGWorld* mWorld = nullptr;
};
