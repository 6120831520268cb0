#include "output/color/CRawFileColorSync.h"

#include <new>
#include <vector>

#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace {

// Matches and writes back row after row; each row sits at its own offset, so a short
// read can never move a write into the row before it.
OSErr ConvertRows(SInt16 file, CColorSync& colorSync, const RawFileInfo& info) {
  const long dataLength = 3L * info.width;
  const long rowLength = (dataLength + 1) & ~1L;  // rows are padded to an even length
  std::vector<char> row;
  try {
    row.resize(static_cast<size_t>(rowLength));
  } catch (const std::bad_alloc&) {
    return memFullErr;
  }
  for (long y = 0; y < info.rows; ++y) {
    const long offset = y * rowLength;
    long count = rowLength;
    OSErr err = SetFPos(file, fsFromStart, offset);
    if (err == noErr) err = FSRead(file, &count, row.data());
    if (err != noErr) return err;
    err = colorSync.ColorMatchForPixel(row.data(), info.width, 1);
    if (err != noErr) return err;
    count = dataLength;  // the pad byte stays as it is
    err = SetFPos(file, fsFromStart, offset);
    if (err == noErr) err = FSWrite(file, &count, row.data());
    if (err != noErr) return err;
  }
  return noErr;
}

}  // namespace

OSErr CRawFileColorSync::ColorSync() {
  if (mInfo.bitsPerPixel != 24 && mInfo.bitsPerPixel != 32) return paramErr;
  if (mInfo.width <= 0 || mInfo.rows < 0) return paramErr;
  if (!mColorSync.HasProfiles()) return cmProfileError;
  SInt16 file = 0;
  OSErr err = FSpOpenDF(&mFile, fsRdWrPerm, &file);
  if (err != noErr) return err;
  err = ConvertRows(file, mColorSync, mInfo);
  const OSErr closeErr = FSClose(file);
  return err != noErr ? err : closeErr;
}
