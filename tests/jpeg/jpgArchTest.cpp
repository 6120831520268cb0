// The dispatcher: what it chose is read back through the flag calls, and every change of
// architecture or DCT method reselects the kernels, also in the middle of a frame.
#include <gtest/gtest.h>

#include <vector>

#include "JpegTestKit.h"
#include "jpeg/jpgArch.h"
#include "jpeg/jpgShare.h"
#include "toolbox/Gestalt.h"

using namespace jpgtest;

namespace {

struct Choice {
  uint32_t architecture;
  int32_t dctMethod;
};

Choice ChoiceOf(void* ctx) {
  Choice c{1, -1};
  EXPECT_EQ(jpgGetProcessorArchitectureFlag(ctx, &c.architecture), 0);
  EXPECT_EQ(jpgGetDCTMethodFlag(ctx, &c.dctMethod), 0);
  return c;
}

}  // namespace

TEST(JpegArch, ANewContextUsesTheVectorKernelsThisProcessorRuns) {
  void* context = nullptr;
  ASSERT_EQ(jpgWritePrologToMemory(0, &context), 0);
  auto* ctx = static_cast<jpgWContext*>(context);
  Choice c = ChoiceOf(context);
  EXPECT_EQ(c.architecture, jpgGetProcessorArchitecture());
  ASSERT_EQ(c.architecture, kJpgArchVector) << "the test machine has a vector unit";
  EXPECT_EQ(c.dctMethod, 0);
  EXPECT_EQ(ctx->kernels, jpgGetVectorKernelSet());
  EXPECT_EQ(ctx->fdct, jpgGetVectorKernelSet()->fdctShort);
  EXPECT_EQ(ctx->fdctPair, jpgGetVectorKernelSet()->fdctShortPair);
  EXPECT_NE(ctx->kernels->name, nullptr);

  ASSERT_EQ(jpgSetDCTMethodFlag(context, 1), 0);
  c = ChoiceOf(context);
  EXPECT_EQ(c.architecture, kJpgArchVector);
  EXPECT_EQ(c.dctMethod, 1);
  EXPECT_EQ(ctx->fdct, jpgGetVectorKernelSet()->fdctFloat);
  EXPECT_EQ(ctx->fdctPair, nullptr) << "pairs are the fixed-point transform's";
  EXPECT_EQ(ctx->coder.dctMethod, 1);

  ASSERT_EQ(jpgSetProcessorArchitectureFlag(context, 0), 0);
  c = ChoiceOf(context);
  EXPECT_EQ(c.architecture, 0u);
  EXPECT_EQ(c.dctMethod, 1);
  EXPECT_EQ(ctx->kernels, nullptr);
  EXPECT_EQ(ctx->fdct, nullptr);
  EXPECT_EQ(ctx->fdctPair, nullptr);
  EXPECT_EQ(ctx->writeMCU, jpgGetWriteMCUGenericFunc(kJpgSelectorBaseline, 0));

  void* data = nullptr;
  int64_t size = 0;
  jpgWriteEpilogToMemory(context, &data, &size);
}

TEST(JpegArch, WithoutAVectorUnitTheContextTakesThePlainPath) {
  GestaltSetValue(gestaltPowerPCProcessorFeatures, 0);
  void* context = nullptr;
  ASSERT_EQ(jpgWritePrologToMemory(0, &context), 0);
  GestaltReset();
  Choice c = ChoiceOf(context);
  EXPECT_EQ(c.architecture, 0u);
  EXPECT_EQ(static_cast<jpgWContext*>(context)->kernels, nullptr);
  // The mask cannot give what the processor lacks.
  GestaltSetValue(gestaltPowerPCProcessorFeatures, 0);
  ASSERT_EQ(jpgSetProcessorArchitectureFlag(context, ~0u), 0);
  GestaltReset();
  EXPECT_EQ(ChoiceOf(context).architecture, 0u);
  void* data = nullptr;
  int64_t size = 0;
  jpgWriteEpilogToMemory(context, &data, &size);
}

TEST(JpegArch, SwitchingPathsBetweenStripsKeepsTheBytes) {
  Image p = MakeScene(48, 64, 3, 5);
  std::vector<uint8_t> reference;
  Settings s;
  ASSERT_EQ(Encode(p, s, &reference), 0);
  for (uint32_t first : {0u, ~0u}) {
    void* context = nullptr;
    ASSERT_EQ(jpgWritePrologToMemory(0, &context), 0);
    ASSERT_EQ(jpgSetProcessorArchitectureFlag(context, first), 0);
    ASSERT_EQ(jpgWriteSetImageSize(context, p.width, p.height), 0);
    for (int y = 0; y < p.height; y += 16) {
      _complibImageRect rect{p.width, p.height, p.width * 3, 24, 3, 8, p.pixels.data() + size_t(y) * p.width * 3};
      ASSERT_EQ(jpgWriteFromRect(context, &rect, 16), 0) << "line " << y;
      // Every strip on the other path from the one before.
      uint32_t word = 0;
      ASSERT_EQ(jpgGetProcessorArchitectureFlag(context, &word), 0);
      ASSERT_EQ(jpgSetProcessorArchitectureFlag(context, word ? 0u : ~0u), 0);
    }
    void* data = nullptr;
    int64_t size = 0;
    ASSERT_EQ(jpgWriteEpilogToMemory(context, &data, &size), 0);
    std::vector<uint8_t> out(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    jpgWriteFreeBitstream(data);
    EXPECT_EQ(out, reference) << "starting with mask " << std::hex << first;
  }
}

TEST(JpegArch, OneBlockMCUsInPairsKeepTheBytesAndTheRestarts) {
  // Grey MCUs go through the transform two at a time where the kernels can: odd and even MCU
  // counts per row, restart intervals that split a pair, the same bytes as the plain path.
  for (int width : {8, 16, 24, 61}) {
    for (uint32_t restart : {0u, 1u, 3u}) {
      Image p = MakeScene(width, 19, 1, uint32_t(width) + restart);
      Settings s;
      s.restart = restart;
      std::vector<uint8_t> vec, plain;
      ASSERT_EQ(Encode(p, s, &vec), 0);
      ASSERT_EQ(EncodePlain(p, s, &plain), 0);
      EXPECT_EQ(vec, plain) << "width " << width << " restart " << restart;
      Image d;
      EXPECT_TRUE(Decode(vec, &d));
    }
  }
}
