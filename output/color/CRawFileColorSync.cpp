#include "output/color/CRawFileColorSync.h"

#include <new>
#include <vector>

#include "scanner/RawScanPage.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace {

// Matches and writes back row after row; each row sits at its own offset, so a short
// read can never move a write into the row before it.
OSErr ConvertRows(SInt16 file, CColorSync& colorSync, const RawScanPage& page) {
  std::vector<char> row;
  try {
    row.resize(static_cast<size_t>(page.paddedRowBytes));
  } catch (const std::bad_alloc&) {
    return memFullErr;
  }
  for (int64_t y = 0; y < page.height; ++y) {
    long count = static_cast<long>(page.paddedRowBytes);
    OSErr err = SetFPos(file, fsFromStart, static_cast<long>(page.RowOffset(y)));
    if (err == noErr) err = FSRead(file, &count, row.data());
    if (err != noErr) return err;
    err = colorSync.ColorMatchForPixel(row.data(), static_cast<long>(page.width), 1);
    if (err != noErr) return err;
    count = static_cast<long>(page.rowBytes);  // the pad byte stays as it is
    err = SetFPos(file, fsFromStart, static_cast<long>(page.RowOffset(y)));
    if (err == noErr) err = FSWrite(file, &count, row.data());
    if (err != noErr) return err;
  }
  return noErr;
}

}  // namespace

OSErr CRawFileColorSync::SetDefaultRGBSourceProfile() {
  CMProfileRef profile = nullptr;
  const OSErr err = CMGetDefaultProfileBySpace(cmRGBData, &profile);
  if (err == noErr) mColorSync.SetSourceProfileRef(profile);
  return err;
}

OSErr CRawFileColorSync::ColorSync() {
  if (mInfo.bitsPerPixel != 24 && mInfo.bitsPerPixel != 32) return paramErr;
  if (mInfo.width <= 0 || mInfo.rows < 0) return paramErr;
  if (!mColorSync.HasProfiles()) return cmProfileError;
  // 32-bit pages are stored as R, G, B rows like 24-bit ones.
  const int64_t rowBytes = 3 * int64_t(mInfo.width);
  const RawScanPage page{mInfo.width, mInfo.rows, kRawScanRGB, rowBytes, (rowBytes + 1) & ~int64_t(1)};
  SInt16 file = 0;
  OSErr err = FSpOpenDF(&mFile, fsRdWrPerm, &file);
  if (err != noErr) return err;
  err = ConvertRows(file, mColorSync, page);
  const OSErr closeErr = FSClose(file);
  return err != noErr ? err : closeErr;
}
