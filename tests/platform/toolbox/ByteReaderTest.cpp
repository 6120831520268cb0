#include <gtest/gtest.h>

#include <array>

#include "toolbox/ByteReader.h"

TEST(ByteReader, ReadsBigEndianByDefaultAndLittleWhenAsked) {
  const std::array<uint8_t, 6> raw{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
  const ByteReader big(raw.data(), raw.size());
  EXPECT_EQ(big.U16At(0), 0x1234);
  EXPECT_EQ(big.U32At(2), 0x56789ABCu);
  const ByteReader little(raw.data(), raw.size(), true);
  EXPECT_EQ(little.U16At(0), 0x3412);
  EXPECT_EQ(little.U32At(2), 0xBC9A7856u);
  EXPECT_TRUE(big.ok());
  EXPECT_TRUE(little.ok());
}

TEST(ByteReader, CursorReadsMoveAndStopAtTheEnd) {
  const std::array<uint8_t, 7> raw{0x01, 0xFF, 0xFE, 0, 0, 0, 9};
  ByteReader r(raw.data(), raw.size());
  EXPECT_EQ(r.U8(), 1);
  EXPECT_EQ(r.S16(), -2);
  EXPECT_EQ(r.U32(), 9u);
  EXPECT_EQ(r.at(), 7u);
  EXPECT_EQ(r.left(), 0u);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.U8(), 0) << "a read past the end gives zero";
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.at(), 7u) << "and does not move";
}

struct OutsideCase {
  const char* name;
  uint64_t off, n;
};

class ByteReaderOutside : public testing::TestWithParam<OutsideCase> {};

// Offsets and lengths near the top of the range must not wrap round into the buffer.
TEST_P(ByteReaderOutside, FailsAndStaysFailed) {
  const std::array<uint8_t, 8> raw{1, 2, 3, 4, 5, 6, 7, 8};
  const ByteReader r(raw.data(), raw.size());
  const OutsideCase& c = GetParam();
  EXPECT_FALSE(r.Has(c.off, c.n));
  EXPECT_EQ(r.BytesAt(c.off, c.n), nullptr);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.U8At(0), 0) << "every read after a failure gives zero";
  EXPECT_FALSE(r.Sub(0, 1).ok());
}

INSTANTIATE_TEST_SUITE_P(Ranges, ByteReaderOutside,
                         testing::Values(OutsideCase{"PastTheEnd", 8, 1}, OutsideCase{"Straddling", 6, 4},
                                         OutsideCase{"HugeOffset", ~uint64_t(0), 1},
                                         OutsideCase{"HugeLength", 1, ~uint64_t(0)},
                                         OutsideCase{"OffsetPlusLengthWraps", 4, ~uint64_t(0) - 2}),
                         [](const testing::TestParamInfo<OutsideCase>& i) { return std::string(i.param.name); });

TEST(ByteReader, SubReadsItsOwnBytesInTheSameOrder) {
  const std::array<uint8_t, 6> raw{0, 0, 0x34, 0x12, 0, 0};
  const ByteReader r(raw.data(), raw.size(), true);
  const ByteReader sub = r.Sub(2, 2);
  EXPECT_TRUE(sub.ok());
  EXPECT_EQ(sub.size(), 2u);
  EXPECT_EQ(sub.U16At(0), 0x1234);
  EXPECT_FALSE(sub.Has(1, 2));
  EXPECT_TRUE(r.Has(6, 0)) << "an empty range at the end lies inside";
}
