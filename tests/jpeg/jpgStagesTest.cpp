// The stages on their own: transforms, colour conversion, sub-sampling and edge repair, memory.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "JpegTestKit.h"
#include "jpeg/complib.h"
#include "jpeg/jpgArch.h"
#include "jpeg/jpgWClr.h"
#include "jpeg/jpgWClrA.h"
#include "jpeg/jpgWDCTA.h"
#include "jpeg/jpgWVLC.h"
#include "pelmora/PelmoraBits.h"

namespace {

// Eight times the standard forward DCT, in double precision.
void referenceDCT(const int16_t* in, double* out) {
  for (int v = 0; v < 8; ++v)
    for (int u = 0; u < 8; ++u) {
      double sum = 0;
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
          sum += in[y * 8 + x] * std::cos((2 * x + 1) * u * M_PI / 16) * std::cos((2 * y + 1) * v * M_PI / 16);
      double cu = u ? 1 : M_SQRT1_2, cv = v ? 1 : M_SQRT1_2;
      out[v * 8 + u] = 8 * 0.25 * cu * cv * sum;
    }
}

std::vector<std::vector<int16_t>> testBlocks() {
  std::vector<std::vector<int16_t>> blocks;
  uint32_t s = 99;
  for (int n = 0; n < 200; ++n) {
    std::vector<int16_t> b(64);
    for (auto& v : b) {
      s = s * 1103515245u + 12345u;
      v = static_cast<int16_t>(static_cast<int>((s >> 16) % 256) - 128);
    }
    blocks.push_back(b);
  }
  // Extremes: flat, checkerboards, stripes of -128 and 127 (and 128, which colour conversion can give).
  for (int pattern = 0; pattern < 8; ++pattern) {
    std::vector<int16_t> b(64);
    for (int i = 0; i < 64; ++i) {
      int x = i % 8, y = i / 8;
      bool hi = pattern == 0 ? false : pattern == 1 ? true : pattern == 2 ? (x + y) % 2 : pattern == 3 ? x % 2
                : pattern == 4 ? y % 2 : pattern == 5 ? x < 4 : pattern == 6 ? (x ^ y) & 4 : (x * y) % 3 == 0;
      b[i] = hi ? (pattern == 7 ? 128 : 127) : -128;
    }
    blocks.push_back(b);
  }
  return blocks;
}

// A coder's output sink that appends to the std::vector<uint8_t> it is given.
int32_t AppendToBytes(void* output, const uint8_t* data, int32_t n) {
  auto* bytes = static_cast<std::vector<uint8_t>*>(output);
  bytes->insert(bytes->end(), data, data + n);
  return 0;
}

}  // namespace

TEST(JpegStages, TransformsAreCloseToTheStandardDCT) {
  for (void (*dct)(int16_t*) : {jpgWriteForwardDCT_AltiVec_Short, jpgWriteForwardDCT_AltiVec_Float}) {
    for (const auto& input : testBlocks()) {
      std::vector<int16_t> block = input;
      double reference[64];
      std::vector<int16_t> clamped = input;
      for (auto& v : clamped) v = v > 127 ? 127 : v;
      referenceDCT(dct == jpgWriteForwardDCT_AltiVec_Short ? clamped.data() : input.data(), reference);
      dct(block.data());
      for (int i = 0; i < 64; ++i) ASSERT_NEAR(block[i], reference[i], 3.0) << "coefficient " << i;
    }
  }
}

TEST(JpegStages, PairTransformsEqualTwoSingleOnes) {
  const jpgKernelSet* kernels = jpgGetVectorKernelSet();
  if (!kernels->fdctShortPair) GTEST_SKIP() << "the " << kernels->name << " kernels transform one block at a time";
  const auto blocks = testBlocks();
  for (size_t i = 0; i + 1 < blocks.size(); ++i) {
    std::vector<int16_t> pair(blocks[i]);
    pair.insert(pair.end(), blocks[i + 1].begin(), blocks[i + 1].end());
    std::vector<int16_t> a = blocks[i], b = blocks[i + 1];
    kernels->fdctShortPair(pair.data());
    kernels->fdctShort(a.data());
    kernels->fdctShort(b.data());
    a.insert(a.end(), b.begin(), b.end());
    ASSERT_EQ(pair, a) << "blocks " << i << " and " << i + 1;
  }
}

// Every quantiser gives (|c| + q/2) / q with the sign of c, over the whole range of transform
// output, at the quality extremes and in between.
TEST(JpegStages, QuantisersDivideRoundingToNearest) {
  const jpgQuantiseFunc quantisers[] = {jpgWriteQuantise_AltiVec, jpgGetVectorKernelSet()->quantise};
  uint32_t s = 5;
  for (int quality : {1, 50, 95, 100}) {
    void* context = nullptr;
    ASSERT_EQ(jpgWritePrologToMemory(2, &context), 0);
    ASSERT_EQ(jpgWriteSetQuantizationFactor(context, quality), 0);
    void* data = nullptr;
    int64_t size = 0;
    ASSERT_EQ(jpgWriteGetPartialBitstream(context, &data, &size), 0);
    const jpgWContext* ctx = jpgCheckParam(context);
    for (int t = 0; t < 2; ++t)
      for (int n = 0; n < 300; ++n) {
        int16_t coef[64];
        uint16_t expected[64];
        for (int k = 0; k < 64; ++k) {
          const int32_t q = ctx->quant[t][k], limit = 16384 - q / 2 - 1;
          s = s * 1103515245u + 12345u;
          // The first blocks hold the range's ends and the rounding edges, the rest random values.
          const int32_t edges[] = {0, limit, -limit, q / 2, -(q / 2), q / 2 - 1, q + q / 2, -(q + q / 2) + 1};
          int32_t c = n < 8 ? edges[(n + k) % 8] : static_cast<int32_t>((s >> 8) % uint32_t(2 * limit + 1)) - limit;
          coef[kJpgZigZag[k]] = static_cast<int16_t>(c);
          expected[kJpgZigZag[k]] = static_cast<uint16_t>(((c < 0 ? -c : c) + q / 2) / q);
        }
        for (jpgQuantiseFunc quantise : quantisers) {
          uint16_t magnitude[64], extra[64];
          uint64_t mask = quantise(coef, ctx->quantDivisors[t], magnitude, extra);
          for (int i = 0; i < 64; ++i) {
            ASSERT_EQ(magnitude[i], expected[i]) << "quality " << quality << " value " << coef[i];
            ASSERT_EQ(extra[i], coef[i] < 0 ? static_cast<uint16_t>(~expected[i]) : expected[i]);
            ASSERT_EQ((mask >> i) & 1, expected[i] != 0 ? 1u : 0u);
          }
        }
      }
    void* out = nullptr;
    ASSERT_EQ(jpgWriteEpilogToMemory(context, &out, &size), kJpgBadState);
  }
}

// Every block coder writes the bytes of the plain one, block runs of one to three blocks in
// turn: flat blocks, zero runs of 16 and more, values at the ends of the range and random ones.
TEST(JpegStages, BlockCodersWriteThePlainCodersBytes) {
  const jpgCodeBlocksFunc coders[] = {jpgWriteCodeBlocks_AltiVec, jpgGetVectorKernelSet()->codeBlocks};
  uint32_t s = 17;
  for (int quality : {10, 50, 95, 100}) {
    void* context = nullptr;
    ASSERT_EQ(jpgWritePrologToMemory(2, &context), 0);
    ASSERT_EQ(jpgWriteSetQuantizationFactor(context, quality), 0);
    void* data = nullptr;
    int64_t size = 0;
    ASSERT_EQ(jpgWriteGetPartialBitstream(context, &data, &size), 0);
    const jpgWContext* ctx = jpgCheckParam(context);
    for (int t = 0; t < 2; ++t) {
      std::vector<int16_t> blocks(64 * 240);
      for (size_t b = 0; b < blocks.size() / 64; ++b)
        for (int k = 0; k < 64; ++k) {
          const int32_t q = ctx->quant[t][k], limit = 16384 - q / 2 - 1;
          s = s * 1103515245u + 12345u;
          const int32_t random = static_cast<int32_t>((s >> 8) % uint32_t(2 * limit + 1)) - limit;
          int32_t c = 0;
          switch (b % 6) {
            case 0: c = k == 0 ? random : 0; break;  // flat
            case 1: c = (k == 0 || k == 17 || k == 40 || k == 63) ? random : 0; break;  // long runs
            case 2: c = k % 2 ? limit : -limit; break;  // the range's ends
            case 3: c = random / (1 + k * k); break;    // falling off as a photograph's do
            default: c = random; break;
          }
          // DC as eight-bit samples give it, whose differences the DC table covers.
          if (k == 0) c %= 8161;
          blocks[64 * b + kJpgZigZag[k]] = static_cast<int16_t>(c);
        }
      auto component = [&] {
        return jpgCoderComponent{ctx->quant[t], ctx->quantRecip[t], ctx->dcCodes[t], ctx->acCodes[t], 1, 0};
      };
      auto writer = [](std::vector<uint8_t>* bytes) {
        jpgBitWriter w{};
        w.freeBits = 32;
        w.writeOut = AppendToBytes;
        w.output = bytes;
        return w;
      };
      std::vector<uint8_t> expected;
      jpgBitWriter plain = writer(&expected);
      jpgCoderComponent plainComponent = component();
      for (size_t b = 0; b < blocks.size() / 64; ++b)
        ASSERT_EQ(pelmora_bits::EncodeBlock(&plain, &plainComponent, blocks.data() + 64 * b), 0);
      ASSERT_EQ(pelmora_bits::Flush(&plain), 0);
      for (jpgCodeBlocksFunc code : coders) {
        std::vector<uint8_t> got;
        jpgBitWriter w = writer(&got);
        jpgCoderComponent c = component();
        for (size_t b = 0, n = 1; b < blocks.size() / 64; b += n, n = n % 3 + 1)
          ASSERT_EQ(code(&w, &c, ctx->quantDivisors[t], blocks.data() + 64 * b, int32_t(n)), 0);
        ASSERT_EQ(pelmora_bits::Flush(&w), 0);
        EXPECT_EQ(got, expected) << "quality " << quality << " table " << t;
        EXPECT_EQ(w.acc, plain.acc);
        EXPECT_EQ(w.freeBits, plain.freeBits);
        EXPECT_EQ(c.prevDC, plainComponent.prevDC);
      }
    }
    void* out = nullptr;
    ASSERT_EQ(jpgWriteEpilogToMemory(context, &out, &size), kJpgBadState);
  }
}

// Grey pairs taken straight from a band of the picture code as their level-shifted samples do
// through the single-block transform and the plain vector block coder, MCU by MCU, with and
// without restart intervals falling between and after the pairs.
TEST(JpegStages, GreyPairsCodeAsTransformThenBlockCoder) {
  const jpgKernelSet* kernels = jpgGetVectorKernelSet();
  if (!kernels->codeGreyPairs) GTEST_SKIP() << "the " << kernels->name << " kernels transform one block at a time";
  void* context = nullptr;
  ASSERT_EQ(jpgWritePrologToMemory(2, &context), 0);
  ASSERT_EQ(jpgWriteSetQuantizationFactor(context, 75), 0);
  void* data = nullptr;
  int64_t size = 0;
  ASSERT_EQ(jpgWriteGetPartialBitstream(context, &data, &size), 0);
  const jpgWContext* ctx = jpgCheckParam(context);
  // The test blocks side by side as 8-bit samples, a band of 8 rows with room to its right.
  auto blocks = testBlocks();
  const int32_t pairs = static_cast<int32_t>(blocks.size() / 2);
  const int64_t stride = 16 * int64_t(pairs) + 5;
  std::vector<uint8_t> band(size_t(stride) * 8, 0x5A);
  for (int32_t b = 0; b < 2 * pairs; ++b)
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 8; ++c) {
        int v = blocks[size_t(b)][size_t(8 * r + c)];
        band[size_t(stride * r + 8 * b + c)] = static_cast<uint8_t>((v > 127 ? 127 : v) + 128);
      }
  for (int32_t interval : {0, 1, 3}) {
    auto state = [&](std::vector<uint8_t>* bytes) {
      jpgMCUCoderState s{};
      s.components = 1;
      s.restartInterval = interval;
      s.mcusLeft = 2 * pairs + 1;
      s.comp[0] = jpgCoderComponent{ctx->quant[0], ctx->quantRecip[0], ctx->dcCodes[0], ctx->acCodes[0], 1, 0};
      s.bits.freeBits = 32;
      s.bits.writeOut = AppendToBytes;
      s.bits.output = bytes;
      return s;
    };
    std::vector<uint8_t> expected, got;
    jpgMCUCoderState plain = state(&expected);
    for (int32_t b = 0; b < 2 * pairs; ++b) {
      int16_t block[64];
      for (int i = 0; i < 64; ++i)
        block[i] = static_cast<int16_t>(band[size_t(stride * (i / 8) + 8 * b + i % 8)] - 128);
      kernels->fdctShort(block);
      ASSERT_EQ(jpgWriteCodeBlocks_AltiVec(&plain.bits, &plain.comp[0], ctx->quantDivisors[0], block, 1), 0);
      ASSERT_EQ(pelmora_bits::EndMCU(&plain), 0);
    }
    ASSERT_EQ(pelmora_bits::Flush(&plain.bits), 0);
    jpgMCUCoderState fused = state(&got);
    // Bands of one pair, then of the rest.
    ASSERT_EQ(kernels->codeGreyPairs(band.data(), stride, 1, &fused, ctx->quantDivisors[0]), 0);
    ASSERT_EQ(kernels->codeGreyPairs(band.data() + 16, stride, pairs - 1, &fused, ctx->quantDivisors[0]), 0);
    ASSERT_EQ(pelmora_bits::Flush(&fused.bits), 0);
    EXPECT_EQ(got, expected) << "restart interval " << interval;
    EXPECT_EQ(fused.bits.acc, plain.bits.acc);
    EXPECT_EQ(fused.bits.freeBits, plain.bits.freeBits);
    EXPECT_EQ(fused.mcusLeft, plain.mcusLeft);
    EXPECT_EQ(fused.nextRestart, plain.nextRestart);
    EXPECT_EQ(fused.comp[0].prevDC, plain.comp[0].prevDC);
  }
  void* out = nullptr;
  ASSERT_EQ(jpgWriteEpilogToMemory(context, &out, &size), kJpgBadState);
}

// Whole MCUs through the kernels' one call code as the transform of their blocks followed by
// the block coder does: MCUs of six, four and three blocks (a pair straddling components, a
// last block alone), two tables, restart intervals falling in and after them.
TEST(JpegStages, MCUKernelCodesAsTransformThenBlockCoder) {
  const jpgKernelSet* kernels = jpgGetVectorKernelSet();
  if (!kernels->codeMCU) GTEST_SKIP() << "the " << kernels->name << " kernels transform one block at a time";
  const auto samples = testBlocks();
  struct Layout {
    int32_t blocks[3];
    int32_t interval;
  };
  for (Layout layout : {Layout{{4, 1, 1}, 0}, Layout{{2, 1, 1}, 2}, Layout{{1, 1, 1}, 1}, Layout{{4, 1, 1}, 5}}) {
    std::vector<uint8_t> bytes[2];
    jpgWContext* contexts[2] = {};
    for (int way = 0; way < 2; ++way) {
      void* context = nullptr;
      ASSERT_EQ(jpgWritePrologToMemory(2, &context), 0);
      ASSERT_EQ(jpgWriteSetQuantizationFactor(context, 60), 0);
      void* data = nullptr;
      int64_t size = 0;
      ASSERT_EQ(jpgWriteGetPartialBitstream(context, &data, &size), 0);
      jpgWContext* ctx = contexts[way] = jpgCheckParam(context);
      ASSERT_NE(ctx->fdctPair, nullptr);
      ctx->comp[1].quantSel = ctx->comp[2].quantSel = 1;
      ctx->comp[1].dcSel = ctx->comp[2].dcSel = ctx->comp[1].acSel = ctx->comp[2].acSel = 1;
      jpgWriteAttachTables(ctx);
      ctx->coder.components = 3;
      for (int c = 0; c < 3; ++c) ctx->coder.comp[c].blocks = layout.blocks[c];
      ctx->coder.restartInterval = layout.interval;
      ctx->coder.restartCounter = 0;
      ctx->coder.mcusLeft = 1000;
      ctx->coder.bits = jpgBitWriter{};
      ctx->coder.bits.freeBits = 32;
      ctx->coder.bits.writeOut = AppendToBytes;
      ctx->coder.bits.output = &bytes[way];
    }
    const int32_t n = layout.blocks[0] + layout.blocks[1] + layout.blocks[2];
    std::vector<int16_t> mcu(size_t(64 * n));
    for (size_t first = 0; first + size_t(n) <= samples.size(); first += size_t(n)) {
      for (int32_t b = 0; b < n; ++b)
        std::copy(samples[first + size_t(b)].begin(), samples[first + size_t(b)].end(), mcu.begin() + 64 * b);
      std::vector<int16_t> copy = mcu;
      contexts[0]->coder.blocks = mcu.data();
      jpgWriteTransformBlocks(contexts[0], mcu.data(), n);
      ASSERT_EQ(jpgWriteCodeMCU(contexts[0]), 0);
      contexts[1]->coder.blocks = copy.data();
      ASSERT_EQ(kernels->codeMCU(contexts[1]), 0);
    }
    for (int way = 0; way < 2; ++way) ASSERT_EQ(pelmora_bits::Flush(&contexts[way]->coder.bits), 0);
    EXPECT_EQ(bytes[1], bytes[0]) << layout.blocks[0] << " luminance blocks, interval " << layout.interval;
    EXPECT_EQ(contexts[1]->coder.bits.acc, contexts[0]->coder.bits.acc);
    EXPECT_EQ(contexts[1]->coder.bits.freeBits, contexts[0]->coder.bits.freeBits);
    EXPECT_EQ(contexts[1]->coder.nextRestart, contexts[0]->coder.nextRestart);
    // The epilog's trailer goes on into the compared bytes; the frame never started.
    for (jpgWContext* ctx : contexts) {
      ctx->coder.blocks = nullptr;
      void* out = nullptr;
      int64_t size = 0;
      EXPECT_EQ(jpgWriteEpilogToMemory(ctx, &out, &size), kJpgBadState);
    }
  }
}

TEST(JpegStages, FlatBlocksGiveOnlyTheirDC) {
  struct Flat {
    int16_t level;
    int16_t dc;
  };
  for (Flat f : {Flat{0, 0}, Flat{10, 640}, Flat{-128, -8192}, Flat{127, 8128}})
    for (void (*dct)(int16_t*) : {jpgWriteForwardDCT_AltiVec_Short, jpgWriteForwardDCT_AltiVec_Float}) {
      std::vector<int16_t> b(64, f.level);
      dct(b.data());
      EXPECT_EQ(b[0], f.dc) << f.level;
      for (int i = 1; i < 64; ++i) EXPECT_EQ(b[i], 0) << f.level << " at " << i;
    }
}

namespace {

struct OneMCU {
  std::vector<uint8_t> pixels;
  std::vector<int16_t> planes, blocks;
  jpgColorJob job{};
  OneMCU(int width, int lines, int h0, int v0, int components = 3) {
    pixels.assign(size_t(width) * lines * components, 0);
    int mcuW = 8 * h0, mcuH = 8 * v0;
    planes.assign(size_t(mcuW) * mcuH * components, 0);
    blocks.assign(size_t(h0 * v0 + components - 1) * 64, 0);
    job = jpgColorJob{pixels.data(), blocks.data(), planes.data(), lines, width, width * components, components,
                      mcuW, mcuH, {h0, 1, 1, 1}, {v0, 1, 1, 1}, jpgGetVectorKernelSet(), false};
  }
};

}  // namespace

TEST(JpegStages, WhiteAndBlackConvert) {
  OneMCU m(8, 8, 1, 1);
  std::memset(m.pixels.data(), 255, m.pixels.size());
  GenericYUVConvert8bit(&m.job, 0, 0, 1, 1);
  EXPECT_EQ(m.planes[0], 127);
  EXPECT_EQ(m.planes[64], 0);
  EXPECT_EQ(m.planes[128], 0);
  std::memset(m.pixels.data(), 0, m.pixels.size());
  AltiVecYUVConvert8bit(&m.job, 0, 0, 8, 1);
  EXPECT_EQ(m.planes[0], -128);
  EXPECT_EQ(m.planes[64], 0);
}

TEST(JpegStages, VectorConversionEqualsThePlainOne) {
  OneMCU a(40, 16, 2, 2), b(40, 16, 2, 2);
  for (size_t i = 0; i < a.pixels.size(); ++i) a.pixels[i] = b.pixels[i] = static_cast<uint8_t>(i * 37 + i / 7);
  for (int x : {0, 16}) {
    GenericYUVConvert8bit(&a.job, x, 0, 16, 16);
    AltiVecYUVConvert8bit(&b.job, x, 0, 16, 16);
    EXPECT_EQ(a.planes, b.planes);
  }
  // A cut MCU: only its valid part is read.
  GenericYUVConvert8bit(&a.job, 32, 0, 8, 5);
  AltiVecYUVConvert8bit(&b.job, 32, 0, 8, 5);
  EXPECT_EQ(a.planes, b.planes);
}

// Whole 2x2 and 2x1 MCUs, point-sampled and averaged, blue or red first, through the
// processor's kernels (straight into the blocks where it has the whole-MCU kernel) and the
// plain way; random pixels and the colour cube's corners, which reach the chroma extremes.
TEST(JpegStages, VectorMCUPreparationEqualsThePlainOne) {
  uint32_t s = 11;
  for (int v0 : {1, 2})
    for (bool averaging : {false, true})
      for (bool redFirst : {false, true}) {
        OneMCU a(32, 8 * v0, 2, v0), b(32, 8 * v0, 2, v0);
        for (size_t i = 0; i < a.pixels.size(); ++i) {
          s = s * 1103515245u + 12345u;
          // The first MCU random, the second of pure cube corners.
          uint8_t corner = ((s >> 16) & 1) ? 255 : 0;
          a.pixels[i] = b.pixels[i] = (i / 3) % 32 < 16 ? static_cast<uint8_t>(s >> 20) : corner;
        }
        a.job.redFirst = b.job.redFirst = redFirst;
        const jpgPrepareFunc vector = v0 == 2 ? (averaging ? jpgWriteRGB2YUVRectHQ411_AltiVec : jpgWriteRGB2YUVRectSP411_AltiVec)
                                              : (averaging ? jpgWriteRGB2YUVRectHQ211_AltiVec : jpgWriteRGB2YUVRectSP211_AltiVec);
        for (int x : {0, 16}) {
          (averaging ? jpgWriteRGB2YUVRectHQ : jpgWriteRGB2YUVRect)(&a.job, x, 0);
          vector(&b.job, x, 0);
          EXPECT_EQ(a.blocks, b.blocks) << "2x" << v0 << (averaging ? " averaged" : " point") << (redFirst ? " red first" : "")
                                        << " at " << x;
        }
      }
}

TEST(JpegStages, MirrorFillsARowAsDocumented) {
  int16_t block[64];
  for (int i = 0; i < 64; ++i) block[i] = static_cast<int16_t>(i);
  LineSymmetry(block, 3, 8);
  EXPECT_EQ(std::vector<int16_t>(block, block + 8), (std::vector<int16_t>{0, 1, 2, 2, 1, 0, 0, 1}));
  for (int i = 0; i < 64; ++i) block[i] = static_cast<int16_t>(i);
  LineSymmetry(block, 8, 3);
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(block[3 * 8 + x], 16 + x);
    EXPECT_EQ(block[5 * 8 + x], x);
    EXPECT_EQ(block[7 * 8 + x], 8 + x);
  }
}

TEST(JpegStages, OnePixelWideImagesMirrorTheirColumn) {
  OneMCU m(1, 8, 1, 1, 1);
  for (int y = 0; y < 8; ++y) m.pixels[y] = static_cast<uint8_t>(100 + y);
  jpgWriteXXX2Rect(&m.job, 0, 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(m.blocks[y * 8 + x], 100 + y - 128);
}

TEST(JpegStages, AveragingGivesTheMeanOfEachCell) {
  // 4:2:0 with averaging: chroma is the mean of each 2 x 2 cell.
  OneMCU m(16, 16, 2, 2);
  // Cb plane values -3, -2 / -2, -2 in the first cell.
  GenericYUVConvert8bit(&m.job, 0, 0, 16, 16);
  int16_t* cb = m.planes.data() + 256;
  cb[0] = -3;
  cb[1] = -2;
  cb[16] = -2;
  cb[17] = -2;
  GenericSubSamplingAndBlockDivisionHQ(&m.job);
  EXPECT_EQ(m.blocks[4 * 64], -2);
}

TEST(JpegStages, AveragingRoundsToNearestWithHalvesAwayFromZero) {
  struct Cell {
    int16_t values[4];
    int16_t mean;
  };
  // 4:2:0 cells: top-left, top-right, bottom-left, bottom-right.
  const Cell cells420[] = {{{-3, -3, -3, -2}, -3}, {{1, 1, 1, 2}, 1},  {{1, 2, 2, 2}, 2},
                           {{-1, -1, 0, 0}, -1},   {{1, 1, 0, 0}, 1},  {{-3, -2, -2, -2}, -2},
                           {{0, 0, 0, 0}, 0},      {{-128, -128, -128, -127}, -128}};
  for (const Cell& c : cells420) {
    OneMCU m(16, 16, 2, 2);
    int16_t* cr = m.planes.data() + 2 * 256;
    cr[0] = c.values[0];
    cr[1] = c.values[1];
    cr[16] = c.values[2];
    cr[17] = c.values[3];
    GenericSubSamplingAndBlockDivisionHQ(&m.job);
    EXPECT_EQ(m.blocks[5 * 64], c.mean) << c.values[0] << " " << c.values[1] << " " << c.values[2] << " " << c.values[3];
  }
  // 4:2:2 pairs.
  const Cell cells422[] = {{{-1, 0}, -1}, {{1, 0}, 1}, {{-2, 0}, -1}, {{5, 6}, 6}, {{-5, -6}, -6}};
  for (const Cell& c : cells422) {
    OneMCU m(16, 8, 2, 1);
    int16_t* cb = m.planes.data() + 128;
    cb[0] = c.values[0];
    cb[1] = c.values[1];
    GenericSubSamplingAndBlockDivisionHQ(&m.job);
    EXPECT_EQ(m.blocks[2 * 64], c.mean) << c.values[0] << " " << c.values[1];
  }
  // A cell cut to three columns by the image edge.
  const Cell cut[] = {{{1, 2, 2}, 2}, {{1, 1, 2}, 1}, {{-1, -2, -2}, -2}};
  for (const Cell& c : cut) {
    OneMCU m(3, 8, 4, 1);
    int16_t* cb = m.planes.data() + 256;
    for (int i = 0; i < 3; ++i) cb[i] = c.values[i];
    GenericSubSamplingAndBlockDivisionHQEdge(&m.job, 3, 8);
    EXPECT_EQ(m.blocks[4 * 64], c.mean) << c.values[0] << " " << c.values[1] << " " << c.values[2];
  }
}

TEST(JpegStages, EdgeBlocksOutsideTakeTheMeanOfTheLastInside) {
  // A 4:2:0 MCU with 5 valid columns and 3 valid rows: Y blocks 1..3 lie outside.
  OneMCU m(5, 3, 2, 2);
  for (size_t i = 0; i < m.pixels.size(); ++i) m.pixels[i] = static_cast<uint8_t>(60 + i);
  jpgWriteRGB2YUVRect(&m.job, 0, 0);
  int32_t sum = 0;
  for (int i = 0; i < 64; ++i) sum += m.blocks[i];
  for (int b = 1; b < 4; ++b)
    for (int i = 0; i < 64; ++i) ASSERT_EQ(m.blocks[b * 64 + i], sum >> 6) << "block " << b;
}

TEST(JpegStages, AlignedMemory) {
  for (int64_t size : {0, 1, 15, 16, 17, 4096, 100000}) {
    auto* p = static_cast<uint8_t*>(complibMemAlloc(size));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) & 15, 0u);
    EXPECT_GE(p[-1], 1);
    EXPECT_LE(p[-1], 16);
    std::memset(p, 7, static_cast<size_t>(size));
    p = static_cast<uint8_t*>(complibMemReAlloc(p, size + 50000));
    ASSERT_NE(p, nullptr);
    if (size > 0) {
      EXPECT_EQ(p[size - 1], 7);
    }
    complibMemFree(p);
  }
}

TEST(JpegStages, BigEndianValues) {
  uint8_t b[4];
  complibValToMem(b, 2, 0x1234);
  EXPECT_EQ(complibMemToVal(b, 2), 0x1234u);
  EXPECT_EQ(b[0], 0x12);
  complibValToMem(b, 4, 0xA1B2C3D4);
  EXPECT_EQ(complibMemToVal(b, 4), 0xA1B2C3D4u);
  EXPECT_EQ(complibSwapInt16(0x1234), 0x3412);
  EXPECT_EQ(complibSwapInt32(0x11223344), 0x44332211u);
}

TEST(JpegStages, MemoryOutputOfASmallImageIsOneBlock) {
  complibBitstream stream{};
  stream.mode = kBitstreamMemory;
  ASSERT_EQ(complibCreateBitstreamFile(&stream), 0);
  const uint8_t data[100] = {};
  EXPECT_EQ(complibWriteBitstreamFile(&stream, data, 100), 100);
  EXPECT_EQ(stream.capacity, 65536);
  // A write far beyond the free room grows as far as it needs, even with no growth step.
  stream.growth = 0;
  std::vector<uint8_t> big(300000, 1);
  EXPECT_EQ(complibWriteBitstreamFile(&stream, big.data(), int64_t(big.size())), int64_t(big.size()));
  EXPECT_GE(stream.capacity, 300100);
  EXPECT_EQ(stream.block[300099], 1);
  complibMemFree(stream.block);
}
