#include "scanner/RawScanPage.h"

#include "scanner/RawScanFile.h"

namespace {

bool Make(int64_t width, int64_t height, const RawScanLayout& layout, int64_t rowBytes, RawScanPage* page) {
  if (width <= 0 || height <= 0 || rowBytes < RawScanFile_RowBytes(width, layout.bitsPerPixel)) return false;
  *page = RawScanPage{width, height, layout, rowBytes, RawScanFile_PaddedRowBytes(rowBytes)};
  return true;
}

}  // namespace

bool RawScanPage_FromImageInfo(const TW_IMAGEINFO& info, RawScanPage* page) {
  RawScanLayout layout;
  switch (info.BitsPerPixel) {
    case 1: layout = kRawScanBilevel; break;
    case 8: layout = kRawScanGray; break;
    case 24: layout = kRawScanRGB; break;
    default: return false;
  }
  return Make(info.ImageWidth, info.ImageLength, layout, RawScanFile_RowBytes(info.ImageWidth, info.BitsPerPixel),
              page);
}

bool RawScanPage_FromOstrelRecord(const OstrelScannerRecord& record, RawScanPage* page) {
  OstrelScannerRecord copy = record;
  const RecordBytes r = copy.view();
  RawScanLayout layout;
  switch (r.i16(OstrelField::kImageMode)) {
    case 0: layout = kRawScanBilevel; break;
    case 1: layout = kRawScanGray; break;
    case 3: layout = kRawScanRGB; break;
    default: return false;
  }
  return Make(r.i16(OstrelField::kImageColumns), r.i16(OstrelField::kImageRows), layout, r.i32(OstrelField::kRowBytes),
              page);
}
