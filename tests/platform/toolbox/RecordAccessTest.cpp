#include <gtest/gtest.h>

#include <array>

#include "toolbox/RecordAccess.h"

TEST(RecordAccess, FieldsAreBigEndianAtTheirOffsets) {
  std::array<uint8_t, 16> raw{};
  RecordBytes r(raw.data(), raw.size());
  r.setU16(0, 0x1234);
  r.setI32(2, -2);
  r.setU8(15, 0xAB);
  EXPECT_EQ(raw[0], 0x12);
  EXPECT_EQ(raw[1], 0x34);
  EXPECT_EQ(raw[2], 0xFF);
  EXPECT_EQ(raw[5], 0xFE);
  EXPECT_EQ(r.i32(2), -2);
  EXPECT_EQ(r.u8(15), 0xAB);
  EXPECT_THROW(r.u16(15), std::out_of_range);
  EXPECT_THROW(r.setU32(13, 0), std::out_of_range);
  EXPECT_THROW(r.u8(16), std::out_of_range);
  r.setU64(6, 0x0102030405060708ull);
  EXPECT_EQ(raw[6], 0x01);
  EXPECT_EQ(raw[13], 0x08);
  EXPECT_EQ(r.u64(6), 0x0102030405060708ull);
  EXPECT_THROW(r.u64(9), std::out_of_range);
}

TEST(RecordAccess, PascalStringLengthIsClampedToItsField) {
  std::array<uint8_t, 8> raw{};
  RecordBytes r(raw.data(), raw.size());
  raw[0] = 200;  // a damaged length byte
  unsigned char out[8];
  r.pstr(0, 8, out);
  EXPECT_EQ(out[0], 7);
  const unsigned char longName[] = "\x0A" "abcdefghij";
  r.setPstr(0, 5, longName);
  EXPECT_EQ(raw[0], 4);
  EXPECT_EQ(raw[4], 'd');
}

TEST(RecordAccess, FSSpecRoundTripsIn70Bytes) {
  std::array<uint8_t, 72> raw{};
  raw.fill(0xEE);
  RecordBytes r(raw.data(), raw.size());
  FSSpec s{};
  s.vRefNum = -3;
  s.parID = 0x01020304;
  s.name[0] = 3;
  s.name[1] = 'a';
  s.name[2] = '/';
  s.name[3] = 'b';
  r.setFSSpec(1, s);
  EXPECT_EQ(raw[0], 0xEE);
  EXPECT_EQ(raw[71], 0xEE);
  EXPECT_EQ(raw[70], 0);  // the unused tail of the name is cleared
  FSSpec back = r.fsspec(1);
  EXPECT_EQ(back.vRefNum, -3);
  EXPECT_EQ(back.parID, 0x01020304);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(back.name + 1), back.name[0]), "a/b");
  EXPECT_THROW(r.fsspec(3), std::out_of_range);
}
