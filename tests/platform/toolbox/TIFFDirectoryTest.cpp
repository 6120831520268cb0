#include <gtest/gtest.h>

#include <vector>

#include "toolbox/TIFFDirectory.h"

namespace {

// A header and a first directory at offset 8 holding `entries` as (tag, type, count, field).
struct RawEntry {
  uint16_t tag, type;
  uint32_t count, field;
};

std::vector<uint8_t> MakeTIFF(bool little, const std::vector<RawEntry>& entries) {
  std::vector<uint8_t> f;
  auto put = [&](uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
      const int shift = little ? 8 * i : 8 * (bytes - 1 - i);
      f.push_back(static_cast<uint8_t>(v >> shift));
    }
  };
  f.push_back(little ? 'I' : 'M');
  f.push_back(little ? 'I' : 'M');
  put(42, 2);
  put(8, 4);
  put(entries.size(), 2);
  for (const RawEntry& e : entries) {
    put(e.tag, 2);
    put(e.type, 2);
    put(e.count, 4);
    // A SHORT value sits in the field's first two bytes, in the file's order.
    if (e.type == kTIFFTypeShort && e.count <= 2) {
      put(e.field, 2);
      put(0, 2);
    } else {
      put(e.field, 4);
    }
  }
  put(0, 4);
  return f;
}

}  // namespace

class TIFFDirectoryOrder : public testing::TestWithParam<bool> {};

TEST_P(TIFFDirectoryOrder, ReadsEveryEntryWithItsValueByType) {
  const auto file = MakeTIFF(GetParam(), {{256, kTIFFTypeShort, 1, 640},
                                          {257, kTIFFTypeLong, 1, 70000},
                                          {258, kTIFFTypeShort, 3, 200}});
  TIFFDirectory dir;
  ASSERT_TRUE(TIFFReadFirstDirectory(file.data(), file.size(), &dir));
  ASSERT_EQ(dir.entries.size(), 3u);
  EXPECT_EQ(dir.entries[0].tag, 256);
  EXPECT_EQ(dir.entries[0].value, 640u);
  EXPECT_EQ(dir.entries[1].value, 70000u);
  EXPECT_EQ(dir.entries[2].count, 3u);
  EXPECT_EQ(dir.entries[2].offset, 200u) << "three SHORTs do not fit: the field is their offset";
  EXPECT_EQ(dir.entries[0].offset, GetParam() ? 640u : 640u << 16) << "a SHORT sits in the field's first two bytes";
  EXPECT_EQ(dir.file.littleEndian(), GetParam());
  EXPECT_EQ(dir.file.size(), file.size());
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, TIFFDirectoryOrder, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& i) { return i.param ? "Intel" : "Motorola"; });

TEST(TIFFDirectory, RefusesWhatIsNotAWholeTIFFDirectory) {
  const auto good = MakeTIFF(false, {{256, kTIFFTypeShort, 1, 1}, {257, kTIFFTypeShort, 1, 1}});
  TIFFDirectory dir;
  EXPECT_FALSE(TIFFReadFirstDirectory(nullptr, 0, &dir));
  EXPECT_FALSE(TIFFReadFirstDirectory(good.data(), 7, &dir)) << "header cut short";
  EXPECT_FALSE(TIFFReadFirstDirectory(good.data(), 8 + 2 + 12 + 11, &dir)) << "second entry cut short";
  EXPECT_TRUE(TIFFReadFirstDirectory(good.data(), 8 + 2 + 24, &dir));

  auto mixed = good;
  mixed[1] = 'I';
  EXPECT_FALSE(TIFFReadFirstDirectory(mixed.data(), mixed.size(), &dir)) << "\"MI\" is no byte order";
  auto magic = good;
  magic[3] = 43;
  EXPECT_FALSE(TIFFReadFirstDirectory(magic.data(), magic.size(), &dir));
  auto farDir = good;
  farDir[4] = 0xFF;  // the directory offset far past the end
  EXPECT_FALSE(TIFFReadFirstDirectory(farDir.data(), farDir.size(), &dir));
}
