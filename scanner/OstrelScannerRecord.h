// The parameter block a driver plug-in receives: 1,532 bytes, big-endian, fields on 2-byte
// boundaries. Every byte not named here stays zero when the host hands it over. Fields that
// held an address on the original layout hold a 32-bit token of the host's handle table.
#pragma once

#include <cstddef>

#include "toolbox/RecordAccess.h"

constexpr size_t kOstrelScannerRecordSize = 1532;

struct OstrelScannerRecord {
  unsigned char bytes[kOstrelScannerRecordSize];
  RecordBytes view() { return RecordBytes(bytes, sizeof bytes); }
};

namespace OstrelField {
constexpr size_t kAbortProc = 4;        // token: host routine, answers 0 (do not abort)
constexpr size_t kProgressProc = 8;     // token: host routine (done, total); does nothing
constexpr size_t kMaxData = 12;         // i32: before every continue call, half the largest free block
constexpr size_t kImageMode = 16;       // i16: 0 bitmap, 1 grayscale, 3 RGB
constexpr size_t kImageRows = 18;       // i16
constexpr size_t kImageColumns = 20;    // i16
constexpr size_t kHResolution = 26;     // Fixed 16.16
constexpr size_t kVResolution = 30;     // Fixed 16.16
constexpr size_t kData = 802;           // token: first byte of the band a continue call delivers
constexpr size_t kRect = 806;           // i16 top, left, bottom, right
constexpr size_t kRowBytes = 820;       // i32: bytes per row of the page
constexpr size_t kFileName = 828;       // Str255
constexpr size_t kHostSig = 1088;       // four characters
constexpr size_t kMagic = 1138;         // u32 0x061A8000
constexpr size_t kEventProc = 1198;     // token: host routine (event); does nothing
constexpr size_t kAcquireAgain = 1204;  // u8: 1 when another page follows
constexpr size_t kMoireOn = 1446;       // u8
constexpr size_t kMoireValue = 1448;    // u16
constexpr size_t kBrightnessOn = 1458;  // u8
constexpr size_t kBrightness = 1460;    // i16
constexpr size_t kThresholdOn = 1462;   // u8
constexpr size_t kThreshold = 1464;     // u16

static_assert(kRect + 8 <= kRowBytes && kFileName + 256 <= kHostSig, "fields overlap");
static_assert(kThreshold + 2 <= kOstrelScannerRecordSize, "fields lie inside the record");
}  // namespace OstrelField

constexpr UInt32 kOstrelMagic = 0x061A8000;
