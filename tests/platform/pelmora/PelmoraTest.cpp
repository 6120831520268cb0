#include "pelmora/Pelmora.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "pelmora/PelmoraBits.h"
#include "support/TestEnv.h"
#include "toolbox/MacErrors.h"

TEST(Pelmora, ExtendPairsMeetTheStandardsExtend) {
  for (int s = 1; s < 16; ++s) {
    EXPECT_EQ(tableTestShift[s][0], 1 << (s - 1));
    EXPECT_EQ(tableTestShift[s][1], 1 - (1 << s));
    // EXTEND: an s-bit value below 2^(s-1) stands for a negative one.
    int v = 0;
    int extended = v < tableTestShift[s][0] ? v + tableTestShift[s][1] : v;
    EXPECT_EQ(extended, -((1 << s) - 1));
  }
}

TEST(Pelmora, StripBuffersHoldHeightTimesRowBytes) {
  _complibImageRect rect{100, 16, 300, 24, 3, 8, nullptr};
  ASSERT_NE(complibRectAlloc(&rect), 0);
  ASSERT_NE(rect.data, nullptr);
  rect.data[16 * 300 - 1] = 1;
  complibRectFree(&rect);
  EXPECT_EQ(rect.data, nullptr);
  complibRectFree(&rect);  // once released, a second release does nothing
  _complibImageRect empty{100, 0, 300, 24, 3, 8, nullptr};
  EXPECT_EQ(complibRectAlloc(&empty), 0);
}

TEST(Pelmora, TemporaryNamesAreFreeInTheTemplatesFolder) {
  wxtest::ScratchDir dir;
  _complibFileName templ{};
  Boolean isDir = 0;
  ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(dir.path().c_str()), &templ.ref, &isDir), noErr);
  std::set<std::u16string> seen;
  for (int i = 0; i < 20; ++i) {
    _complibFileName record{};
    ASSERT_EQ(complibTmpnam(&record, &templ), 0);
    ASSERT_TRUE(record.hasName);
    std::u16string name(record.name.unicode, record.name.unicode + record.name.length);
    EXPECT_TRUE(seen.insert(name).second);
    std::string narrow(name.begin(), name.end());
    EXPECT_FALSE(std::filesystem::exists(dir / narrow));
    std::ofstream(dir / narrow) << "x";
  }
}

TEST(Pelmora, ThePlainCoderServesTheBaselineSelectors) {
  EXPECT_NE(jpgGetWriteMCUGenericFunc(769, 0), nullptr);
  EXPECT_NE(jpgGetWriteMCUGenericFunc(771, 0x100), nullptr);
  EXPECT_EQ(jpgGetWriteMCUGenericFunc(770, 0), nullptr);
  EXPECT_EQ(jpgGetWriteMCUGenericFunc(769, 0)(nullptr), static_cast<int32_t>(0xC0000009));
  int decoder = 0;
  EXPECT_EQ(jpgReadSetProcessorArchitectureFlag(&decoder, 0), 0);
  EXPECT_EQ(jpgReadSetProcessorArchitectureFlag(nullptr, 0), static_cast<int32_t>(0xC0000009));
}

namespace {

// Collects what the bit writer empties out.
int32_t collect(void* output, const uint8_t* data, int32_t n) {
  static_cast<std::string*>(output)->append(reinterpret_cast<const char*>(data), static_cast<size_t>(n));
  return 0;
}

std::string bytesOf(jpgBitWriter& w) {
  pelmora_bits::Flush(&w);
  return *static_cast<std::string*>(w.output);
}

}  // namespace

TEST(PelmoraBits, StuffingAndMarkers) {
  std::string out;
  jpgBitWriter w{};
  w.freeBits = 32;
  w.writeOut = collect;
  w.output = &out;
  // 0xFF then 0x12 in coded data: the 0xFF is followed by a stuffed 0.
  pelmora_bits::Put(&w, 0xFF, 8);
  pelmora_bits::Put(&w, 0x12, 8);
  pelmora_bits::Put(&w, 0x5, 3);  // 101 then padding with 1-bits: 0xBF
  pelmora_bits::PutMarker(&w, 0xFFD0);
  EXPECT_EQ(bytesOf(w), std::string("\xFF\x00\x12\xBF\xFF\xD0", 6));
}

TEST(PelmoraBits, LongPutsCrossTheAccumulator) {
  std::string out;
  jpgBitWriter w{};
  w.freeBits = 32;
  w.writeOut = collect;
  w.output = &out;
  for (int i = 0; i < 5; ++i) pelmora_bits::Put(&w, 0x2AAAAAA, 26);  // 1010... 130 bits
  pelmora_bits::PutMarker(&w, 0xFFD9);
  std::string bytes = bytesOf(w);
  ASSERT_EQ(bytes.size(), 17u + 2u);
  for (size_t i = 0; i < 16; ++i) EXPECT_EQ(static_cast<uint8_t>(bytes[i]), 0xAA) << i;
  EXPECT_EQ(static_cast<uint8_t>(bytes[16]), 0xBF);  // the last 2 bits 10, then six 1-bits
}

TEST(PelmoraBits, AFailedWriteIsReportedAndStaysFailed) {
  jpgBitWriter w{};
  w.freeBits = 32;
  w.writeOut = [](void*, const uint8_t*, int32_t) { return static_cast<int32_t>(0xC000001D); };
  for (int i = 0; i < 4095; ++i) EXPECT_EQ(pelmora_bits::PutByte(&w, 1), 0);
  EXPECT_EQ(pelmora_bits::PutByte(&w, 1), static_cast<int32_t>(0xC000001D));
  EXPECT_EQ(w.error, 2);
  EXPECT_EQ(pelmora_bits::Flush(&w), static_cast<int32_t>(0xC000001D));
}

TEST(PelmoraBits, ReciprocalsDivideExactly) {
  for (int q = 8; q <= 2040; q += 8)
    for (uint32_t a = 0; a < 16384; a += 7)
      ASSERT_EQ((static_cast<uint64_t>(a) * pelmora_bits::Reciprocal(q)) >> pelmora_bits::kRecipShift, a / q)
          << a << " / " << q;
}
