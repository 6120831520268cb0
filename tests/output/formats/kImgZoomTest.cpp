#include "output/formats/kImgZoom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace {

int Channels(long bits) { return (bits == 24 || bits == 48) ? 3 : 1; }
int SampleBytes(long bits) { return (bits == 16 || bits == 48) ? 2 : 1; }

// Streams an image through the scaler; `sample(x, y, c)` gives each input sample, and an
// image whose rows are all alike is made once. Returns the output samples, row by row.
template <typename Gen>
std::vector<uint32_t> Zoom(long inW, long inH, long outW, long outH, long bits, Gen sample, bool rowsAlike = false) {
  kZoomInfo* z = nullptr;
  EXPECT_EQ(kImg_ZoomOpen(&z, outW, outH, inW, inH, bits), kImg_NoErr);
  if (!z) return {};
  const int ch = Channels(bits), sb = SampleBytes(bits);
  std::vector<unsigned char> in(size_t(inW) * ch * sb), out(size_t(outW) * ch * sb);
  std::vector<uint32_t> result;
  for (long y = 0; y < inH; ++y) {
    for (long x = 0; x < inW && (y == 0 || !rowsAlike); ++x)
      for (int c = 0; c < ch; ++c) {
        const size_t k = size_t(x) * ch + c;
        if (sb == 2) {
          const uint16_t v = static_cast<uint16_t>(sample(x, y, c));
          std::memcpy(&in[k * 2], &v, 2);
        } else {
          in[k] = static_cast<unsigned char>(sample(x, y, c));
        }
      }
    long ready = 0;
    EXPECT_EQ(kImg_ZoomSend(z, in.data(), &ready), kImg_NoErr);
    while (ready) {
      EXPECT_EQ(kImg_ZoomRead(z, out.data(), &ready), kImg_NoErr);
      for (size_t k = 0; k < size_t(outW) * ch; ++k) {
        uint16_t v16;
        if (sb == 2) std::memcpy(&v16, &out[k * 2], 2);
        result.push_back(sb == 2 ? v16 : out[k]);
      }
    }
  }
  kImg_ZoomClose(&z);
  EXPECT_EQ(z, nullptr);
  EXPECT_EQ(result.size(), size_t(outW) * outH * ch) << "every output line is delivered";
  return result;
}

// The exact area average of an output cell, for reductions.
template <typename Gen>
double AreaMean(long inW, long inH, long outW, long outH, long ox, long oy, int c, Gen sample) {
  const double x0 = double(ox) * inW / outW, x1 = double(ox + 1) * inW / outW;
  const double y0 = double(oy) * inH / outH, y1 = double(oy + 1) * inH / outH;
  double sum = 0;
  for (long y = long(y0); y < long(std::ceil(y1)); ++y) {
    const double wy = std::min<double>(y + 1, y1) - std::max<double>(y, y0);
    for (long x = long(x0); x < long(std::ceil(x1)); ++x) {
      const double wx = std::min<double>(x + 1, x1) - std::max<double>(x, x0);
      sum += wx * wy * sample(x, y, c);
    }
  }
  return sum / ((x1 - x0) * (y1 - y0));
}

uint32_t Noise(long x, long y, int c) {
  uint32_t h = uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u ^ uint32_t(c) * 97u;
  h ^= h >> 13;
  h *= 0x5bd1e995;
  return h ^ (h >> 15);
}

TEST(kImgZoom, SameSizeCopiesEveryDepth) {
  for (long bits : {8L, 16L, 24L, 48L}) {
    const uint32_t maxV = SampleBytes(bits) == 2 ? 65535 : 255;
    auto gen = [&](long x, long y, int c) { return Noise(x, y, c) % (maxV + 1); };
    auto out = Zoom(7, 5, 7, 5, bits, gen);
    const int ch = Channels(bits);
    for (long y = 0; y < 5; ++y)
      for (long x = 0; x < 7; ++x)
        for (int c = 0; c < ch; ++c) ASSERT_EQ(out[(y * 7 + x) * ch + c], gen(x, y, c)) << bits;
  }
}

TEST(kImgZoom, HalvingAveragesPairs) {
  const uint32_t row[4] = {10, 20, 30, 50};
  auto out = Zoom(4, 1, 2, 1, 8, [&](long x, long, int) { return row[x]; });
  EXPECT_EQ(out, (std::vector<uint32_t>{15, 40}));
}

TEST(kImgZoom, ThreeToTwoUsesFractionalWeights) {
  // Weights 2 and 1 for the first output, 1 and 2 for the second, divisor 3.
  const uint32_t row[3] = {0, 30, 90};
  EXPECT_EQ(Zoom(3, 1, 2, 1, 8, [&](long x, long, int) { return row[x]; }), (std::vector<uint32_t>{10, 70}));
  EXPECT_EQ(Zoom(1, 3, 1, 2, 8, [&](long, long y, int) { return row[y]; }), (std::vector<uint32_t>{10, 70}));
  kZoomParam t[3];
  CalcReduceParam(t, 2, 3);
  EXPECT_EQ(t[0].a, 0);
  EXPECT_EQ(t[0].b, 2);
  EXPECT_EQ(t[0].d, 1);
  EXPECT_EQ(t[1].a, 1);
  EXPECT_EQ(t[1].b, 1);
  EXPECT_EQ(t[1].c, 1);
  EXPECT_EQ(t[1].d, 0);
}

struct ReduceCase {
  long inW, inH, outW, outH, bits;
};

TEST(kImgZoom, ReductionsMatchTheAreaAverage) {
  const ReduceCase cases[] = {
      {17, 13, 5, 4, 8},   {17, 13, 5, 4, 24},  {100, 3, 7, 3, 24},   {9, 40, 9, 11, 8},
      {64, 64, 63, 1, 16}, {33, 21, 10, 20, 48}, {1000, 10, 3, 2, 8}, {5, 5, 1, 1, 24},
  };
  for (const auto& k : cases) {
    const uint32_t maxV = SampleBytes(k.bits) == 2 ? 65535 : 255;
    auto gen = [&](long x, long y, int c) { return Noise(x, y, c) % (maxV + 1); };
    auto out = Zoom(k.inW, k.inH, k.outW, k.outH, k.bits, gen);
    const int ch = Channels(k.bits);
    for (long y = 0; y < k.outH; ++y)
      for (long x = 0; x < k.outW; ++x)
        for (int c = 0; c < ch; ++c) {
          const double want = AreaMean(k.inW, k.inH, k.outW, k.outH, x, y, c, gen);
          ASSERT_NEAR(double(out[(y * k.outW + x) * ch + c]), want, 1.0)
              << k.inW << "x" << k.inH << "->" << k.outW << "x" << k.outH << " bits " << k.bits << " at " << x << "," << y;
        }
  }
}

// Reductions whose two divisors multiply past the accumulator limit: the horizontal sums
// are divided before the vertical pass, so nothing overflows.
TEST(kImgZoom, MailSizeReductionsDoNotOverflow) {
  struct Mail {
    long inW, inH, outW, outH, bits;
  };
  // A colour page past the limit (600 to 200 dpi), and 16-bit samples, whose limit is lower.
  const Mail cases[] = {{4300, 3950, 1433, 1316, 24}, {400, 300, 37, 29, 48}};
  for (const auto& k : cases) {
    const uint32_t maxV = SampleBytes(k.bits) == 2 ? 65535 : 255;
    auto flat = Zoom(k.inW, k.inH, k.outW, k.outH, k.bits, [&](long, long, int) { return maxV; }, true);
    for (size_t i = 0; i < flat.size(); ++i) ASSERT_EQ(flat[i], maxV) << "sample " << i << " of " << k.inW << "x" << k.inH;
  }
}

TEST(kImgZoom, MailSizeReductionKeepsTheAverage) {
  // A grey page past the limit keeps its values within one level of the exact average.
  auto ramp = [](long x, long y, int) { return uint32_t((x / 20 + y / 30) % 256); };
  auto out = Zoom(4960, 3400, 1752, 1201, 8, ramp);
  for (long y = 0; y < 1201; y += 97)
    for (long x = 0; x < 1752; x += 89) ASSERT_NEAR(double(out[y * 1752 + x]), AreaMean(4960, 3400, 1752, 1201, x, y, 0, ramp), 1.0);
}

TEST(kImgZoom, EnlargementInterpolatesBetweenNeighbours) {
  const uint32_t row[2] = {0, 100};
  EXPECT_EQ(Zoom(2, 1, 4, 1, 8, [&](long x, long, int) { return row[x]; }), (std::vector<uint32_t>{0, 25, 75, 100}));
  EXPECT_EQ(Zoom(1, 2, 1, 4, 8, [&](long, long y, int) { return row[y]; }), (std::vector<uint32_t>{0, 25, 75, 100}));
  // One input line gives several output lines.
  EXPECT_EQ(Zoom(1, 1, 3, 3, 24, [](long, long, int c) { return uint32_t(c * 100); }),
            (std::vector<uint32_t>{0, 100, 200, 0, 100, 200, 0, 100, 200, 0, 100, 200, 0, 100, 200, 0, 100, 200, 0,
                                   100, 200, 0, 100, 200, 0, 100, 200}));
}

TEST(kImgZoom, EnlargementKeepsFlatAreasAndOrder) {
  for (long bits : {8L, 16L, 24L, 48L}) {
    const uint32_t maxV = SampleBytes(bits) == 2 ? 65535 : 255;
    auto flat = Zoom(5, 4, 23, 17, bits, [&](long, long, int) { return maxV; });
    for (uint32_t v : flat) ASSERT_EQ(v, maxV) << bits;
  }
  // A rising ramp stays non-decreasing, and the edges keep their values.
  auto out = Zoom(10, 3, 37, 8, 8, [](long x, long, int) { return uint32_t(x * 25); });
  for (long y = 0; y < 8; ++y) {
    EXPECT_EQ(out[y * 37], 0u);
    EXPECT_EQ(out[y * 37 + 36], 225u);
    for (long x = 1; x < 37; ++x) ASSERT_LE(out[y * 37 + x - 1], out[y * 37 + x]);
  }
}

TEST(kImgZoom, MixedDirections) {
  // Narrower and taller: each axis keeps its own way.
  auto gen = [](long x, long y, int) { return uint32_t((x * 7 + y * 3) % 256); };
  auto out = Zoom(12, 3, 4, 9, 8, gen);
  ASSERT_EQ(out.size(), 36u);
  for (long x = 0; x < 4; ++x) EXPECT_NEAR(double(out[x]), AreaMean(12, 3, 4, 3, x, 0, 0, gen), 1.0);
}

TEST(kImgZoom, RefusesBadArguments) {
  kZoomInfo* z = reinterpret_cast<kZoomInfo*>(1);
  for (long bits : {1L, 4L, 32L, 0L}) {
    EXPECT_EQ(kImg_ZoomOpen(&z, 10, 10, 20, 20, bits), kImg_ErrParam) << "depth " << bits;
    EXPECT_EQ(z, nullptr);
  }
  EXPECT_EQ(kImg_ZoomOpen(&z, 0, 10, 20, 20, 8), kImg_ErrParam);
  EXPECT_EQ(kImg_ZoomOpen(&z, 10, 10, 20, -1, 24), kImg_ErrParam);
  EXPECT_EQ(z, nullptr);
}

TEST(kImgZoom, RefusesReductionsTooStrongForTheAccumulators) {
  kZoomInfo* z = nullptr;
  EXPECT_EQ(kImg_ZoomOpen(&z, 100, 10, 70000, 10, 16), kImg_ErrTooStrong) << "16-bit width over 65536";
  EXPECT_EQ(z, nullptr);
  EXPECT_EQ(kImg_ZoomOpen(&z, 10, 100, 10, 70000, 48), kImg_ErrTooStrong) << "16-bit height over 65536";
  EXPECT_EQ(z, nullptr);
  EXPECT_EQ(kImg_ZoomOpen(&z, 100, 10, 65536, 10, 16), kImg_NoErr);
  kImg_ZoomClose(&z);
}

TEST(kImgZoom, CallsOutOfTurnAreRefused) {
  kZoomInfo* z = nullptr;
  ASSERT_EQ(kImg_ZoomOpen(&z, 2, 1, 2, 2, 8), kImg_NoErr);
  unsigned char line[2] = {4, 8}, out[2];
  long flag = 0;
  EXPECT_EQ(kImg_ZoomRead(z, out, &flag), kImg_ErrParam) << "nothing to read yet";
  EXPECT_EQ(kImg_ZoomSend(z, line, &flag), kImg_NoErr);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(kImg_ZoomSend(z, line, &flag), kImg_NoErr);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(kImg_ZoomSend(z, line, &flag), kImg_ErrParam) << "a line waits to be read";
  EXPECT_EQ(kImg_ZoomRead(z, out, &flag), kImg_NoErr);
  EXPECT_EQ(out[0], 4);
  EXPECT_EQ(kImg_ZoomSend(z, line, &flag), kImg_ErrParam) << "more lines than the image has";
  kImg_ZoomClose(&z);
}

}  // namespace
