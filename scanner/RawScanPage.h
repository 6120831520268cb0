// How one scanned page's pixels lie, in its raw scan file and when read into memory: the
// one description every reader of raw scan files (export, rotation, colour matching,
// preview, stitch) takes, made from the geometry that travels beside the file.
#pragma once

#include <cstdint>

#include "scanner/OstrelScannerRecord.h"
#include "twain/Twain.h"

// The samples of one pixel and what they mean.
enum class RawScanChannels : uint8_t {
  Bilevel,  // one bit, packed most significant bit first; 1 = black
  Gray,     // one byte, inverted: 0 = white, 255 = black
  RGB,      // three bytes: red, green, blue; 0 = no light
};

// One of the layouts the scanner writes.
struct RawScanLayout {
  int32_t bitsPerPixel;
  int32_t channelCount;
  RawScanChannels channels;
  bool operator==(const RawScanLayout&) const = default;
};

constexpr RawScanLayout kRawScanBilevel{1, 1, RawScanChannels::Bilevel};
constexpr RawScanLayout kRawScanGray{8, 1, RawScanChannels::Gray};
constexpr RawScanLayout kRawScanRGB{24, 3, RawScanChannels::RGB};

struct RawScanPage {
  int64_t width = 0;   // pixels
  int64_t height = 0;  // rows, top row first
  RawScanLayout layout = kRawScanRGB;
  int64_t rowBytes = 0;        // bytes of one row that hold pixels
  int64_t paddedRowBytes = 0;  // a row's place in the file: rowBytes rounded up to even

  int64_t RowOffset(int64_t row) const { return row * paddedRowBytes; }
  int64_t FileBytes() const { return height * paddedRowBytes; }
  bool operator==(const RawScanPage&) const = default;
};

// The page a TWAIN source described: 1, 8 or 24 bits per pixel, rows as RawScanFile_RowBytes
// counts them. False for any other depth or an empty page.
bool RawScanPage_FromImageInfo(const TW_IMAGEINFO& info, RawScanPage* page);

// The page a driver plug-in described in its record: image mode 0 (1 bit), 1 (grey) or 3
// (RGB), rows and columns, and the driver's row bytes, which must hold a row of the
// columns. False otherwise.
bool RawScanPage_FromOstrelRecord(const OstrelScannerRecord& record, RawScanPage* page);
