#include "output/hub/CThumbnailSampler.h"

#include <algorithm>

namespace {

// The page rows or columns under box cell i of n: [first, end); neighbours may share one.
long First(long i, long page, long n) { return long(int64_t(i) * page / n); }
long End(long i, long page, long n) { return std::max(First(i, page, n) + 1, long((int64_t(i + 1) * page + n - 1) / n)); }

}  // namespace

Rect CThumbnailSampler::Box(long w, long h) {
  long tw = kWidth, th = kHeight;
  if (long(kWidth) * h <= long(kHeight) * w)
    th = std::max(1L, h * kWidth / w);
  else
    tw = std::max(1L, w * kHeight / h);
  const auto left = static_cast<int16_t>((kWidth - tw) / 2), top = static_cast<int16_t>((kHeight - th) / 2);
  return Rect{top, left, static_cast<int16_t>(top + th), static_cast<int16_t>(left + tw)};
}

void CThumbnailSampler::Begin(long width, long height) {
  mWidth = width > 0 && height > 0 ? width : 0;
  mHeight = mWidth ? height : 0;
  mRowsSeen = 0;
  mRow = 0;
  mChannels = 0;
  mSums.clear();
  mPicture.assign(size_t(kWidth) * kHeight * 3, 0);
  if (mWidth) mBox = Box(mWidth, mHeight);
}

void CThumbnailSampler::AddRows(const uint8_t* rows, long count, long rowBytes, int channels) {
  if (!mWidth || (channels != 1 && channels != 3)) return;
  if (mChannels != channels) {
    if (mRowsSeen) return;  // one page has one kind of pixel
    mChannels = channels;
  }
  const long boxHeight = mBox.bottom - mBox.top;
  const size_t n = size_t(mWidth) * size_t(channels);
  for (long r = 0; r < count && mRowsSeen < mHeight; ++r, ++mRowsSeen) {
    const uint8_t* row = rows + r * rowBytes;
    const long y = mRowsSeen;
    while (mRow + long(mSums.size()) < boxHeight && First(mRow + long(mSums.size()), mHeight, boxHeight) <= y)
      mSums.emplace_back(n, 0u);
    for (size_t k = 0; k < mSums.size(); ++k) {
      if (y >= End(mRow + long(k), mHeight, boxHeight)) continue;
      uint32_t* sum = mSums[k].data();
      for (size_t i = 0; i < n; ++i) sum[i] += row[i];
    }
    while (!mSums.empty() && y + 1 == End(mRow, mHeight, boxHeight)) {
      FinishRow(mSums.front());
      mSums.pop_front();
      ++mRow;
    }
  }
}

// Box row mRow is summed: its cells' means into the picture.
void CThumbnailSampler::FinishRow(const std::vector<uint32_t>& sums) {
  const long boxWidth = mBox.right - mBox.left, boxHeight = mBox.bottom - mBox.top;
  const long rows = End(mRow, mHeight, boxHeight) - First(mRow, mHeight, boxHeight);
  uint8_t* out = mPicture.data() + (size_t(mBox.top + mRow) * kWidth + size_t(mBox.left)) * 3;
  for (long x = 0; x < boxWidth; ++x, out += 3) {
    const long x0 = First(x, mWidth, boxWidth), x1 = End(x, mWidth, boxWidth);
    const uint64_t cells = uint64_t(x1 - x0) * uint64_t(rows);
    for (int c = 0; c < 3; ++c) {
      const int channel = mChannels == 1 ? 0 : c;
      uint64_t sum = 0;
      for (long sx = x0; sx < x1; ++sx) sum += sums[size_t(sx) * size_t(mChannels) + size_t(channel)];
      out[c] = uint8_t((sum + cells / 2) / cells);
    }
  }
}
