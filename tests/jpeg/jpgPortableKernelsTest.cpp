// The vector kernels as every other processor builds them (plain vector extensions, no
// intrinsics) give the same bits as the ones this build runs.
#define JPGVEC_PORTABLE 1
#include "jpeg/simd/jpgFDCTKernels.h"
#include "jpeg/simd/jpgYUVKernels.h"

#include <gtest/gtest.h>

#include <vector>

#include "jpeg/jpgArch.h"
#include "jpeg/jpgWClrA.h"
#include "jpeg/jpgWDCTA.h"

TEST(JpegPortableKernels, TransformsMatchTheBuiltOnes) {
  uint32_t s = 7;
  for (int n = 0; n < 2000; ++n) {
    int16_t a[64], b[64], c[64], d[64];
    for (int i = 0; i < 64; ++i) {
      s = s * 1103515245u + 12345u;
      a[i] = b[i] = c[i] = d[i] = static_cast<int16_t>(static_cast<int>((s >> 16) % 257) - 128);
    }
    jpgvec::FDCTShortKernel(a);
    jpgWriteForwardDCT_AltiVec_Short(b);
    jpgvec::FDCTFloatKernel(c);
    jpgWriteForwardDCT_AltiVec_Float(d);
    ASSERT_EQ(std::vector<int16_t>(a, a + 64), std::vector<int16_t>(b, b + 64));
    ASSERT_EQ(std::vector<int16_t>(c, c + 64), std::vector<int16_t>(d, d + 64));
  }
}

TEST(JpegPortableKernels, ConversionAndMasksMatchTheBuiltOnes) {
  std::vector<uint8_t> pixels(16 * 16 * 3);
  uint32_t s = 3;
  for (auto& p : pixels) {
    s = s * 1103515245u + 12345u;
    p = static_cast<uint8_t>(s >> 20);
  }
  std::vector<int16_t> portable(3 * 256), built(3 * 256), blocks(6 * 64);
  for (int r = 0; r < 16; ++r)
    jpgvec::YUVRow<true, 2>(pixels.data() + r * 48, 16, portable.data() + r * 16, portable.data() + 256 + r * 16,
                         portable.data() + 512 + r * 16);
  jpgColorJob job{pixels.data(), blocks.data(), built.data(), 16, 16, 48, 3, 16, 16, {2, 1, 1, 1}, {2, 1, 1, 1},
                  jpgGetVectorKernelSet(), false};
  AltiVecYUVConvert8bit(&job, 0, 0, 16, 16);
  EXPECT_EQ(portable, built);
  int16_t values[64] = {};
  values[0] = 5;
  values[17] = -1;
  values[63] = 300;
  EXPECT_EQ(jpgvec::nonZeroMask(values), (uint64_t(1) << 0) | (uint64_t(1) << 17) | (uint64_t(1) << 63));
  jpgvec::u16x8 a = {1, 200, 9212, 16383, 8, 5000, 77, 1000}, m = {65535, 32768, 40000, 20000, 100, 7, 65535, 1};
  jpgvec::u16x8 h = jpgvec::mulhiU16(a, m);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(h[i], (uint32_t(a[i]) * m[i]) >> 16);
}
