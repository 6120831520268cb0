// Every status of the encoder's table is reachable through the calls and means what it says;
// a refused call changes nothing and a failed output hands nothing out.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "JpegTestKit.h"
#include "jpeg/jpgArch.h"
#include "jpeg/jpgShare.h"
#include "jpeg/jpgWMac.h"
#include "support/TestEnv.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

using namespace jpgtest;

namespace {

// A memory context released at the end of the test whatever happened.
struct MemoryEncoder {
  void* ctx = nullptr;
  MemoryEncoder(uint32_t options = 0) { EXPECT_EQ(jpgWritePrologToMemory(options, &ctx), 0); }
  ~MemoryEncoder() {
    if (!ctx) return;
    void* data = nullptr;
    int64_t size = 0;
    jpgWriteEpilogToMemory(ctx, &data, &size);
    if (data) jpgWriteFreeBitstream(data);
  }
  int32_t finish(std::vector<uint8_t>* out) {
    void* data = nullptr;
    int64_t size = 0;
    int32_t status = jpgWriteEpilogToMemory(ctx, &data, &size);
    ctx = nullptr;
    if (data) {
      out->assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
      jpgWriteFreeBitstream(data);
    }
    return status;
  }
};

struct Strip {
  Image picture;
  _complibImageRect rect;
  explicit Strip(int width, int height, int channels = 3, uint32_t seed = 1)
      : picture(MakeScene(width, height, channels, seed)),
        rect{width, height, width * channels, 8 * channels, channels, 8, picture.pixels.data()} {}
};

HFSUniStr255 Uni(const std::string& s) {
  HFSUniStr255 u{};
  u.length = static_cast<UInt16>(s.size());
  for (size_t i = 0; i < s.size(); ++i) u.unicode[i] = static_cast<UniChar>(s[i]);
  return u;
}

FSRef FolderRef(const std::filesystem::path& p) {
  FSRef ref{};
  Boolean isDir = 0;
  EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(p.c_str()), &ref, &isDir), noErr);
  return ref;
}

}  // namespace

struct ErrorCase {
  const char* name;
  int32_t expected;
  std::function<int32_t(void* ctx)> call;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class JpegRefusals : public ::testing::TestWithParam<ErrorCase> {};

// Each refused call leaves the context as it was: the picture still codes to the same bytes.
TEST_P(JpegRefusals, ReturnTheDocumentedStatusAndChangeNothing) {
  const ErrorCase& c = GetParam();
  Strip s(24, 16);
  std::vector<uint8_t> reference, out;
  {
    MemoryEncoder e;
    ASSERT_EQ(jpgWriteFromRect(e.ctx, &s.rect, 16), 0);
    ASSERT_EQ(e.finish(&reference), 0);
  }
  MemoryEncoder e;
  EXPECT_EQ(c.call(e.ctx), c.expected) << c.name;
  ASSERT_EQ(jpgWriteFromRect(e.ctx, &s.rect, 16), 0);
  ASSERT_EQ(e.finish(&out), 0);
  EXPECT_EQ(out, reference) << c.name;
}

const uint8_t kData[4] = {1, 2, 3, 4};
const uint16_t kBadTable[64] = {0};

INSTANTIATE_TEST_SUITE_P(
    Setters, JpegRefusals,
    ::testing::Values(
        ErrorCase{"quality0", kJpgBadParameter, [](void* c) { return jpgWriteSetQuantizationFactor(c, 0); }},
        ErrorCase{"quality101", kJpgBadParameter, [](void* c) { return jpgWriteSetQuantizationFactor(c, 101); }},
        ErrorCase{"channels0", kJpgBadParameter, [](void* c) { return jpgWriteSetNumberOfChannels(c, 0); }},
        ErrorCase{"channels5", kJpgBadParameter, [](void* c) { return jpgWriteSetNumberOfChannels(c, 5); }},
        ErrorCase{"width0", kJpgBadParameter, [](void* c) { return jpgWriteSetImageSize(c, 0, 16); }},
        ErrorCase{"height0", kJpgBadParameter, [](void* c) { return jpgWriteSetImageSize(c, 24, 0); }},
        ErrorCase{"width65536", kJpgBadParameter, [](void* c) { return jpgWriteSetImageSize(c, 65536, 16); }},
        ErrorCase{"height65536", kJpgBadParameter, [](void* c) { return jpgWriteSetImageSize(c, 24, 65536); }},
        ErrorCase{"factor5", kJpgBadParameter, [](void* c) { return jpgWriteSetSubsamplingFactor(c, 0x511111); }},
        ErrorCase{"factors_over_10", kJpgBadParameter,
                  [](void* c) { return jpgWriteSetSubsamplingFactor(c, 0x222222); }},
        ErrorCase{"factor_not_dividing", kJpgBadParameter,
                  [](void* c) { return jpgWriteSetSubsamplingFactor(c, 0x413111); }},
        ErrorCase{"marker_below_range", kJpgBadParameter,
                  [](void* c) { return jpgWriteWriteMarkerSegment(c, 0xFFBF, kData, 4); }},
        ErrorCase{"marker_eoi", kJpgBadParameter,
                  [](void* c) { return jpgWriteWriteMarkerSegment(c, 0xFFFF, kData, 4); }},
        ErrorCase{"segment_empty", kJpgBadParameter,
                  [](void* c) { return jpgWriteWriteMarkerSegment(c, 0xFFFE, kData, 0); }},
        ErrorCase{"segment_too_long", kJpgBadParameter,
                  [](void* c) { return jpgWriteWriteMarkerSegment(c, 0xFFFE, kData, 65534); }},
        ErrorCase{"segment_null", kJpgBadContext,
                  [](void* c) { return jpgWriteWriteMarkerSegment(c, 0xFFFE, nullptr, 4); }},
        ErrorCase{"marker_data_unannounced", kJpgMarkerOverrun,
                  [](void* c) {
                    int32_t written = -1;
                    return jpgWriteWriteMarkerData(c, kData, 4, &written);
                  }},
        ErrorCase{"quant_table_index", kJpgBadParameter,
                  [](void* c) { return jpgWriteSetDefaultQuantizationTable(c, 2, kBadTable); }},
        ErrorCase{"quant_table_zero_entry", kJpgBadParameter,
                  [](void* c) { return jpgWriteSetDefaultQuantizationTable(c, 0, kBadTable); }},
        ErrorCase{"selector_component", kJpgBadParameter,
                  [](void* c) { return jpgWriteSetQuantizationTableSelector(c, 4, 0); }},
        ErrorCase{"selector_table", kJpgBadParameter,
                  [](void* c) { return jpgWriteSetDCEntropyTableSelector(c, 0, 2); }},
        ErrorCase{"ac_selector_table", kJpgBadParameter,
                  [](void* c) { return jpgWriteSetACEntropyTableSelector(c, -1, 0); }},
        ErrorCase{"colour_space", kJpgBadParameter, [](void* c) { return jpgWriteSetInternalColorSpace(c, 2); }},
        ErrorCase{"method", kJpgBadParameter, [](void* c) { return jpgWriteSetSubsamplingMethod(c, 2); }},
        ErrorCase{"predictor", kJpgBadParameter, [](void* c) { return jpgWriteSetSpatialPredictor(c, 8); }},
        ErrorCase{"dct_method_2", kJpgBadParameter, [](void* c) { return jpgSetDCTMethodFlag(c, 2); }},
        ErrorCase{"no_partial_output", kJpgBadState,
                  [](void* c) {
                    void* data = nullptr;
                    int64_t size = 0;
                    return jpgWriteGetPartialBitstream(c, &data, &size);
                  }},
        ErrorCase{"strip_of_no_lines", kJpgBadParameter,
                  [](void* c) {
                    Strip s(24, 16);
                    return jpgWriteFromRect(c, &s.rect, 0);
                  }},
        ErrorCase{"strip_without_pixels", kJpgBadContext,
                  [](void* c) {
                    _complibImageRect r{24, 16, 72, 24, 3, 8, nullptr};
                    return jpgWriteFromRect(c, &r, 16);
                  }}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

// A first strip that cannot make a frame: nothing is written, the status says why.
TEST(JpegErrors, FirstStripsThatCannotMakeAFrame) {
  struct Bad {
    const char* name;
    _complibImageRect rect;
    int32_t lines;
    int32_t expected;
  };
  std::vector<uint8_t> pixels(200 * 70 * 5);
  uint8_t* p = pixels.data();
  const Bad cases[] = {
      {"five_channels", {8, 8, 40, 40, 5, 8, p}, 8, kJpgBadParameter},
      {"no_channels", {8, 8, 8, 8, 0, 8, p}, 8, kJpgBadParameter},
      {"sixteen_bit_samples", {8, 8, 48, 48, 3, 16, p}, 8, kJpgBadParameter},
      {"short_rows", {8, 8, 23, 24, 3, 8, p}, 8, kJpgBadParameter},
      {"zero_width", {0, 8, 24, 24, 3, 8, p}, 8, kJpgBadParameter},
      {"too_wide", {65536, 8, 196608, 24, 3, 8, p}, 8, kJpgBadParameter},
      {"too_high", {8, 65536, 24, 24, 3, 8, p}, 8, kJpgBadParameter},
      {"too_many_lines", {8, 8, 24, 24, 3, 8, p}, 9, kJpgBadParameter},
      {"strip_mid_mcu_row", {8, 64, 24, 24, 3, 8, p}, 10, kJpgBadParameter},
      // Four components with the default sampling word: the fourth byte is 0.
      {"four_components_default_sampling", {8, 8, 32, 32, 4, 8, p}, 8, kJpgZeroFactor},
  };
  for (const Bad& b : cases) {
    MemoryEncoder e;
    EXPECT_EQ(jpgWriteFromRect(e.ctx, &b.rect, b.lines), b.expected) << b.name;
  }
}

TEST(JpegErrors, StripAccountingAcrossStrips) {
  Strip s(20, 40);
  MemoryEncoder e;
  ASSERT_EQ(jpgWriteFromRect(e.ctx, &s.rect, 16), 0);
  EXPECT_EQ(jpgWriteFromRect(e.ctx, &s.rect, 10), kJpgBadParameter);  // not the end, not whole rows
  EXPECT_EQ(jpgWriteFromRect(e.ctx, &s.rect, 32), kJpgBadParameter);  // past the height
  ASSERT_EQ(jpgWriteFromRect(e.ctx, &s.rect, 16), 0);
  ASSERT_EQ(jpgWriteFromRect(e.ctx, &s.rect, 8), 0);  // the last strip may end inside an MCU row
  std::vector<uint8_t> out;
  ASSERT_EQ(e.finish(&out), 0);
  Image d;
  ASSERT_TRUE(Decode(out, &d));
  EXPECT_EQ(d.height, 40);
}

TEST(JpegErrors, FourComponentsWithFourFactorsWork) {
  Strip s(16, 8, 4);
  MemoryEncoder e;
  ASSERT_EQ(jpgWriteSetSubsamplingFactor(e.ctx, 0x11111111), 0);
  ASSERT_EQ(jpgWriteFromRect(e.ctx, &s.rect, 8), 0);
  std::vector<uint8_t> out;
  ASSERT_EQ(e.finish(&out), 0);
  std::vector<Segment> segments = Segments(out);
  for (const Segment& seg : segments) {
    if (seg.marker == 0xFFC0) {
      EXPECT_EQ(seg.data[5], 4);
    }
  }
  Image d;
  std::string why;
  EXPECT_TRUE(Decode(out, &d, &why)) << why;  // CMYK as stored
}

TEST(JpegErrors, ContextsAreCheckedByTagAndSize) {
  EXPECT_EQ(jpgWriteSetQuantizationFactor(nullptr, 50), kJpgBadContext);
  EXPECT_EQ(jpgWritePrologToMemory(0, nullptr), kJpgBadContext);
  MemoryEncoder e;
  auto* ctx = static_cast<jpgWContext*>(e.ctx);
  ctx->size = 7643;
  EXPECT_EQ(jpgWriteSetQuantizationFactor(e.ctx, 50), kJpgBadContext);
  ctx->size = kJpgContextSize;
  ctx->tag[0] = 'j';
  EXPECT_EQ(jpgWriteSetQuantizationFactor(e.ctx, 50), kJpgBadContext);
  ctx->tag[0] = 'J';
  EXPECT_EQ(jpgWriteSetQuantizationFactor(e.ctx, 50), 0);
}

TEST(JpegErrors, ArchitectureSwitchKnowsEncodersFromDecoders) {
  MemoryEncoder e;
  auto* ctx = static_cast<jpgWContext*>(e.ctx);
  EXPECT_EQ(jpgSetProcessorArchitectureFlag(e.ctx, 0), 0);
  uint32_t word = 1;
  ASSERT_EQ(jpgGetProcessorArchitectureFlag(e.ctx, &word), 0);
  EXPECT_EQ(word, 0u);
  ctx->flags &= ~kJpgFlagEncoder;
  EXPECT_EQ(jpgSetProcessorArchitectureFlag(e.ctx, ~0u), kJpgNotACodec);
  ctx->flags |= kJpgFlagDecoder;
  EXPECT_EQ(jpgSetProcessorArchitectureFlag(e.ctx, ~0u), 0);
  ctx->flags = (ctx->flags & ~kJpgFlagDecoder) | kJpgFlagEncoder;
}

TEST(JpegErrors, AHuffmanSourceOf256ValuesIsRefused) {
  jpgHuffSource source{};
  source.counts[15] = 255;
  source.counts[14] = 1;
  jpgHuffEntry codes[256];
  jpgHuffLookupGroup groups[kJpgDCLookupGroups];
  EXPECT_EQ(jpgGenerateHuffmanTable(&source, codes, groups), kJpgBadHuffman);
  // Lengths that need more codes than exist.
  jpgHuffSource overfull{};
  overfull.counts[0] = 3;
  EXPECT_EQ(jpgGenerateHuffmanTable(&overfull, codes, groups), kJpgBadHuffman);
}

TEST(JpegErrors, OutOfMemoryMakesNoContext) {
  MemSetHeapLimit(100);
  MemSetTempLimit(100);
  void* ctx = reinterpret_cast<void*>(1);
  int32_t status = jpgWritePrologToMemory(0, &ctx);
  MemSetHeapLimit(0);
  MemSetTempLimit(0);
  EXPECT_EQ(status, kJpgNoMemory);
  EXPECT_EQ(ctx, nullptr);
}

// Memory output that cannot grow: the write fails, the epilog says so and hands nothing out,
// and no freed block is ever handed out.
TEST(JpegErrors, AFailedWriteIsReportedAndHandsNothingOut) {
  Image p = MakeNoise(512, 256, 3, 3);
  MemoryEncoder e(2);
  ASSERT_EQ(jpgWriteSetQuantizationFactor(e.ctx, 100), 0);
  ASSERT_EQ(jpgWriteSetSubsamplingFactor(e.ctx, 0x111111), 0);
  MemSetHeapLimit(100000);
  MemSetTempLimit(1);
  int32_t status = 0;
  for (int y = 0; y < 256 && !status; y += 16) {
    _complibImageRect rect{512, 256, 1536, 24, 3, 8, p.pixels.data() + size_t(y) * 1536};
    status = jpgWriteFromRect(e.ctx, &rect, 16);
  }
  MemSetHeapLimit(0);
  MemSetTempLimit(0);
  EXPECT_EQ(status, kJpgWriteFailed);
  void* data = reinterpret_cast<void*>(1);
  int64_t size = 1;
  EXPECT_EQ(jpgWriteGetPartialBitstream(e.ctx, &data, &size), kJpgFailed);
  std::vector<uint8_t> out;
  EXPECT_EQ(e.finish(&out), kJpgWriteFailed);
  EXPECT_TRUE(out.empty());
}

TEST(JpegErrors, AFramelessOrShortImageIsAnError) {
  {
    MemoryEncoder e;
    std::vector<uint8_t> out;
    EXPECT_EQ(e.finish(&out), kJpgBadState);
    EXPECT_TRUE(out.empty());
  }
  Strip s(16, 48);
  MemoryEncoder e;
  ASSERT_EQ(jpgWriteFromRect(e.ctx, &s.rect, 16), 0);
  std::vector<uint8_t> out;
  EXPECT_EQ(e.finish(&out), kJpgBadState);
}

TEST(JpegErrors, MarkerCodeAndDataStayWithinTheAnnouncedLength) {
  Strip s(8, 8);
  MemoryEncoder e;
  ASSERT_EQ(jpgWriteWriteMarkerCode(e.ctx, 0xFFFE, 5), 0);
  int32_t written = 0;
  const uint8_t text[8] = {'h', 'e', 'l', 'l', 'o', '!', '!', '!'};
  EXPECT_EQ(jpgWriteWriteMarkerData(e.ctx, text, 0, &written), kJpgBadParameter);
  ASSERT_EQ(jpgWriteWriteMarkerData(e.ctx, text, 3, &written), 0);
  EXPECT_EQ(written, 3);
  ASSERT_EQ(jpgWriteWriteMarkerData(e.ctx, text + 3, 5, &written), 0);
  EXPECT_EQ(written, 2);
  EXPECT_EQ(jpgWriteWriteMarkerData(e.ctx, text, 1, &written), kJpgMarkerOverrun);
  ASSERT_EQ(jpgWriteFromRect(e.ctx, &s.rect, 8), 0);
  std::vector<uint8_t> out;
  ASSERT_EQ(e.finish(&out), 0);
  std::vector<Segment> segments = Segments(out);
  ASSERT_GE(segments.size(), 2u);
  EXPECT_EQ(segments[1].marker, 0xFFFE);
  EXPECT_EQ(std::string(segments[1].data.begin(), segments[1].data.end()), "hello");
}

TEST(JpegErrors, PartialOutputGivesADecodableStreamSoFar) {
  Strip s(32, 32);
  MemoryEncoder e(2);
  void* data = nullptr;
  int64_t size = 0;
  ASSERT_EQ(jpgWriteGetPartialBitstream(e.ctx, &data, &size), 0);
  // Tables only so far; the first strip then writes no tables again.
  std::vector<uint8_t> tables(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
  EXPECT_EQ(Segments(tables).size(), 4u);  // SOI DQT DHT EOI
  ASSERT_EQ(jpgWriteFromRect(e.ctx, &s.rect, 32), 0);
  std::vector<uint8_t> out;
  ASSERT_EQ(e.finish(&out), 0);
  int dqt = 0;
  for (const Segment& seg : Segments(out)) dqt += seg.marker == 0xFFDB;
  EXPECT_EQ(dqt, 1);
}

TEST(JpegErrors, BlockMemorySizeFollowsTheFactors) {
  Strip s(40, 32);
  MemoryEncoder e;
  EXPECT_EQ(jpgGetJPEGBlockMemorySize(e.ctx, 16), 0);
  ASSERT_EQ(jpgWriteFromRect(e.ctx, &s.rect, 16), 0);
  // 3 MCUs per row; 16 lines are one MCU row: Y 4 blocks, Cb and Cr 1 each per MCU.
  EXPECT_EQ(jpgGetJPEGBlockMemorySize(e.ctx, 16), 64 * 3 * 6);
  EXPECT_EQ(jpgGetJPEGBlockMemorySize(e.ctx, 17), 64 * 6 * 6);
}

// ---- Files ----------------------------------------------------------------------------------

TEST(JpegFiles, PrologToAFolderAndNameReplacesAnExistingFile) {
  wxtest::ScratchDir dir;
  wxtest::WriteBytes(dir / "page.jpg", std::vector<uint8_t>(100000, 7));
  FSRef folder = FolderRef(dir.path());
  HFSUniStr255 name = Uni("page.jpg");
  void* ctx = nullptr;
  ASSERT_EQ(jpgWritePrologToMacOSFile(&folder, &name, 'prvw', 'JPEG', 0, &ctx), 0);
  Strip s(30, 20);
  ASSERT_EQ(jpgWriteFromRect(ctx, &s.rect, 16), 0);
  ASSERT_EQ(jpgWriteFromRect(ctx, &s.rect, 4), 0);
  ASSERT_EQ(jpgWriteEpilogToFile(ctx), 0);
  std::vector<uint8_t> bytes = wxtest::ReadBytes(dir / "page.jpg");
  Image d;
  ASSERT_TRUE(Decode(bytes, &d));
  EXPECT_EQ(d.width, 30);
  EXPECT_LT(bytes.size(), 100000u);
  FSSpec spec;
  ASSERT_EQ(FSpMakeFromPOSIXPath((dir / "page.jpg").string(), &spec), noErr);
  FInfo info{};
  ASSERT_EQ(FSpGetFInfo(&spec, &info), noErr);
  EXPECT_EQ(info.fdType, OSType('JPEG'));
  EXPECT_EQ(info.fdCreator, OSType('prvw'));
}

TEST(JpegFiles, PrologToAnFSSpec) {
  wxtest::ScratchDir dir;
  FSSpec spec;
  ASSERT_EQ(FSpMakeFromPOSIXPath((dir / "new.jpg").string(), &spec), fnfErr);
  void* ctx = nullptr;
  ASSERT_EQ(jpgWritePrologToFile(&spec, '8BIM', 'JPEG', 0, &ctx), 0);
  Strip s(8, 8, 1);
  ASSERT_EQ(jpgWriteFromRect(ctx, &s.rect, 8), 0);
  ASSERT_EQ(jpgWriteEpilogToFile(ctx), 0);
  Image d;
  ASSERT_TRUE(Decode(wxtest::ReadBytes(dir / "new.jpg"), &d));
}

TEST(JpegFiles, AnOutputThatCannotBeCreated) {
  wxtest::ScratchDir dir;
  // A folder of that name that holds something cannot be replaced by the file.
  std::filesystem::create_directories(dir / "taken.jpg" / "inside");
  FSRef folder = FolderRef(dir.path());
  HFSUniStr255 name = Uni("taken.jpg");
  void* ctx = reinterpret_cast<void*>(1);
  EXPECT_EQ(jpgWritePrologToMacOSFile(&folder, &name, 'prvw', 'JPEG', 0, &ctx), kJpgCannotOpenOutput);
  EXPECT_EQ(ctx, nullptr);
  EXPECT_EQ(jpgWritePrologToMacOSFile(nullptr, &name, 'prvw', 'JPEG', 0, &ctx), kJpgBadContext);
  // A folder that does not exist: no file name can be made.
  FSSpec missing{};
  missing.vRefNum = -32000;
  missing.parID = 123456789;
  missing.name[0] = 1;
  missing.name[1] = 'x';
  EXPECT_EQ(jpgWritePrologToFile(&missing, 'prvw', 'JPEG', 0, &ctx), kJpgNoMemory);
}

TEST(JpegFiles, AFileThatCouldNotBeFinishedIsNotLeftBehind) {
  wxtest::ScratchDir dir;
  FSRef folder = FolderRef(dir.path());
  HFSUniStr255 name = Uni("short.jpg");
  void* ctx = nullptr;
  ASSERT_EQ(jpgWritePrologToMacOSFile(&folder, &name, 'prvw', 'JPEG', 0, &ctx), 0);
  ASSERT_EQ(jpgWriteSetImageSize(ctx, 16, 64), 0);
  Strip s(16, 64);
  ASSERT_EQ(jpgWriteFromRect(ctx, &s.rect, 16), 0);
  EXPECT_EQ(jpgWriteEpilogToFile(ctx), kJpgBadState);
  EXPECT_FALSE(std::filesystem::exists(dir / "short.jpg"));
}
