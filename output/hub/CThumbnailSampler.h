// The Exif thumbnail of a page made from the page's own rows while they are written: the
// page shrunk into its centred box of the 160 x 120 picture (each thumbnail pixel the mean
// of the page pixels under it), on black. No second reading of the written file is needed.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "toolbox/MacTypes.h"

class CThumbnailSampler {
 public:
  static constexpr int kWidth = 160;
  static constexpr int kHeight = 120;

  // A new page of width x height pixels; nothing is complete until its last row came.
  void Begin(long width, long height);
  // The page's next `count` rows, `rowBytes` apart: 1 byte a pixel (grey, 0 black) or 3
  // (red, green, blue).
  void AddRows(const uint8_t* rows, long count, long rowBytes, int channels);
  // Every row of the page came: the picture is whole.
  bool Complete() const { return mWidth > 0 && mRowsSeen == mHeight; }
  // The 160 x 120 picture, red, green, blue, rows 480 bytes apart.
  const std::vector<uint8_t>& RGB() const { return mPicture; }

  // The centred box a width x height page takes in the picture.
  static Rect Box(long width, long height);

 private:
  void FinishRow(const std::vector<uint32_t>& sum);

  long mWidth = 0, mHeight = 0, mRowsSeen = 0;
  Rect mBox{};
  int mChannels = 0;
  long mRow = 0;  // the first box row not finished
  // Page columns summed over the rows seen of box rows mRow on (neighbours share a row,
  // and a page smaller than its box gives several box rows the same one).
  std::deque<std::vector<uint32_t>> mSums;
  std::vector<uint8_t> mPicture;
};
