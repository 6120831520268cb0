#include "scanner/RawScanPage.h"

#include <gtest/gtest.h>

#include "scanner/RawScanFile.h"

namespace {

struct InfoCase {
  const char* name;
  TW_INT32 width, length;
  TW_INT16 bitsPerPixel;
  bool ok;
  RawScanLayout layout;
  int64_t rowBytes, paddedRowBytes;
};

const InfoCase kInfoCases[] = {
    {"BilevelOddBytes", 9, 4, 1, true, kRawScanBilevel, 2, 2},
    {"BilevelWholeBytes", 24, 4, 1, true, kRawScanBilevel, 3, 4},
    {"GrayOddWidth", 101, 2, 8, true, kRawScanGray, 101, 102},
    {"RGBOddWidth", 101, 3, 24, true, kRawScanRGB, 303, 304},
    {"RGBEvenWidth", 100, 3, 24, true, kRawScanRGB, 300, 300},
    {"DeepColourIsNoLayout", 10, 10, 48, false, {}, 0, 0},
    {"SixteenBitGrayIsNoLayout", 10, 10, 16, false, {}, 0, 0},
    {"NoWidth", 0, 10, 8, false, {}, 0, 0},
    {"NegativeLength", 10, -1, 8, false, {}, 0, 0},
};

class FromImageInfo : public testing::TestWithParam<InfoCase> {};

}  // namespace

TEST_P(FromImageInfo, DescribesTheRowsTheWriterLaysDown) {
  const InfoCase& c = GetParam();
  TW_IMAGEINFO info{};
  info.ImageWidth = c.width;
  info.ImageLength = c.length;
  info.BitsPerPixel = c.bitsPerPixel;
  RawScanPage page;
  ASSERT_EQ(RawScanPage_FromImageInfo(info, &page), c.ok);
  if (!c.ok) return;
  EXPECT_EQ(page.width, c.width);
  EXPECT_EQ(page.height, c.length);
  EXPECT_EQ(page.layout, c.layout);
  EXPECT_EQ(page.rowBytes, c.rowBytes);
  EXPECT_EQ(page.paddedRowBytes, c.paddedRowBytes);
  EXPECT_EQ(page.FileBytes(), c.paddedRowBytes * c.length);
  EXPECT_EQ(page.RowOffset(1), c.paddedRowBytes);
}

INSTANTIATE_TEST_SUITE_P(Pages, FromImageInfo, testing::ValuesIn(kInfoCases),
                         [](const testing::TestParamInfo<InfoCase>& i) { return std::string(i.param.name); });

namespace {

struct RecordCase {
  const char* name;
  int16_t mode, columns, rows;
  int32_t rowBytes;
  bool ok;
  RawScanLayout layout;
  int64_t paddedRowBytes;
};

const RecordCase kRecordCases[] = {
    {"Bitmap", 0, 9, 4, 2, true, kRawScanBilevel, 2},
    {"GrayDriverPadsRows", 1, 101, 2, 104, true, kRawScanGray, 104},
    {"GrayOddRowBytes", 1, 101, 2, 101, true, kRawScanGray, 102},
    {"RGB", 3, 5, 2, 15, true, kRawScanRGB, 16},
    {"ModeTwoIsNoLayout", 2, 5, 2, 15, false, {}, 0},
    {"RowBytesTooShortForTheColumns", 3, 5, 2, 14, false, {}, 0},
    {"NoRows", 1, 5, 0, 5, false, {}, 0},
};

class FromOstrelRecord : public testing::TestWithParam<RecordCase> {};

}  // namespace

TEST_P(FromOstrelRecord, TakesTheDriversRowBytesPaddedToEven) {
  const RecordCase& c = GetParam();
  OstrelScannerRecord record{};
  RecordBytes r = record.view();
  r.setI16(OstrelField::kImageMode, c.mode);
  r.setI16(OstrelField::kImageColumns, c.columns);
  r.setI16(OstrelField::kImageRows, c.rows);
  r.setI32(OstrelField::kRowBytes, c.rowBytes);
  RawScanPage page;
  ASSERT_EQ(RawScanPage_FromOstrelRecord(record, &page), c.ok);
  if (!c.ok) return;
  EXPECT_EQ(page.width, c.columns);
  EXPECT_EQ(page.height, c.rows);
  EXPECT_EQ(page.layout, c.layout);
  EXPECT_EQ(page.rowBytes, c.rowBytes);
  EXPECT_EQ(page.paddedRowBytes, c.paddedRowBytes);
  EXPECT_EQ(page.paddedRowBytes, RawScanFile_PaddedRowBytes(c.rowBytes));
}

INSTANTIATE_TEST_SUITE_P(Pages, FromOstrelRecord, testing::ValuesIn(kRecordCases),
                         [](const testing::TestParamInfo<RecordCase>& i) { return std::string(i.param.name); });
