#include "sbTransfer.h"

#include <sane/saneopts.h>

#include <algorithm>
#include <cstring>

#include "sbCapabilities.h"
#include "sbOptions.h"

namespace {

// A jam and an open cover are told apart: the user acts on each differently.
TW_UINT16 sbFailWith(SANE_Status status) {
  switch (status) {
    case SANE_STATUS_NO_DOCS: return sbFail(TWCC_BUMMER);
    case SANE_STATUS_JAMMED: return sbFail(TWCC_PAPERJAM);
    case SANE_STATUS_COVER_OPEN: return sbFail(TWCC_INTERLOCK);
    default: return sbFail(TWCC_OPERATIONERROR);
  }
}

TW_UINT16 sbStartPage() {
  if (gSession.pageStarted) return TWRC_SUCCESS;
  SANE_Handle h = gSession.handle;
  gSession.xres = sbGetNumber(h, SANE_NAME_SCAN_X_RESOLUTION, sbGetNumber(h, SANE_NAME_SCAN_RESOLUTION, 75));
  gSession.yres = sbGetNumber(h, SANE_NAME_SCAN_Y_RESOLUTION, gSession.xres);
  SANE_Status status = sane_start(h);
  if (status == SANE_STATUS_CANCELLED) return TWRC_CANCEL;
  if (status != SANE_STATUS_GOOD) return sbFailWith(status);
  if (sane_get_parameters(gSession.handle, &gSession.params) != SANE_STATUS_GOOD ||
      (gSession.params.format != SANE_FRAME_GRAY && gSession.params.format != SANE_FRAME_RGB) ||
      !gSession.params.last_frame || gSession.params.bytes_per_line <= 0) {
    sane_cancel(gSession.handle);
    return sbFail(TWCC_OPERATIONERROR);
  }
  gSession.pageStarted = true;
  gSession.pageDone = false;
  gSession.carry.clear();
  gSession.rowsSent = 0;
  return TWRC_SUCCESS;
}

int sbBitsPerPixel() {
  return gSession.params.depth * (gSession.params.format == SANE_FRAME_RGB ? 3 : 1);
}

// SANE gives 1-bit pixels with 1 = black and grey with 0 = black; the application asks
// which end is zero through the pixel flavour.
void sbApplyFlavour(unsigned char* rows, long count, long bytesPerRow) {
  if (gSession.params.format != SANE_FRAME_GRAY) return;
  bool vanilla = sbValueOr(ICAP_PIXELFLAVOR, TWPF_CHOCOLATE) == TWPF_VANILLA;
  bool invert = gSession.params.depth == 1 ? !vanilla : vanilla && gSession.params.depth == 8;
  if (!invert) return;
  long dataBytes = (long(gSession.params.pixels_per_line) * gSession.params.depth + 7) / 8;
  for (long r = 0; r < count; ++r) {
    for (long x = 0; x < dataBytes && x < bytesPerRow; ++x) rows[r * bytesPerRow + x] ^= 0xFF;
  }
}

// Reads what is left of the frame up to its end, so the device is ready for the next one.
void sbDrainFrame() {
  unsigned char scratch[4096];
  SANE_Int got = 0;
  while (sane_read(gSession.handle, scratch, sizeof scratch, &got) == SANE_STATUS_GOOD && got > 0) {
  }
}

}  // namespace

void sbEndScan() {
  if (gSession.pageStarted || gSession.transferStarted) sane_cancel(gSession.handle);
  gSession.pageStarted = false;
  gSession.pagesLeft = 0;
}

TW_UINT16 sbImageInfo(TW_IMAGEINFO* info) {
  gSession.transferStarted = true;
  TW_UINT16 rc = sbStartPage();
  if (rc != TWRC_SUCCESS) return rc;
  std::memset(info, 0, sizeof *info);
  info->XResolution = TW_FIX32{static_cast<TW_INT16>(gSession.xres), 0};
  info->YResolution = TW_FIX32{static_cast<TW_INT16>(gSession.yres), 0};
  info->ImageWidth = gSession.params.pixels_per_line;
  info->ImageLength = gSession.params.lines;
  bool rgb = gSession.params.format == SANE_FRAME_RGB;
  info->SamplesPerPixel = rgb ? 3 : 1;
  for (int i = 0; i < info->SamplesPerPixel; ++i) info->BitsPerSample[i] = static_cast<TW_INT16>(gSession.params.depth);
  info->BitsPerPixel = static_cast<TW_INT16>(sbBitsPerPixel());
  info->PixelType = rgb ? TWPT_RGB : gSession.params.depth == 1 ? TWPT_BW : TWPT_GRAY;
  info->Compression = TWCP_NONE;
  return TWRC_SUCCESS;
}

TW_UINT16 sbBlock(TW_IMAGEMEMXFER* xfer) {
  gSession.transferStarted = true;
  TW_UINT16 rc = sbStartPage();
  if (rc != TWRC_SUCCESS) return rc;
  if (gSession.pageDone) return sbFail(TWCC_SEQERROR);
  long bpr = gSession.params.bytes_per_line;
  long capacity = long(xfer->Memory.Length / bpr) * bpr;
  if (capacity == 0 || !xfer->Memory.TheMem) return sbFail(TWCC_LOWMEMORY);
  auto* out = reinterpret_cast<unsigned char*>(xfer->Memory.TheMem);
  long filled = static_cast<long>(std::min<size_t>(gSession.carry.size(), capacity));
  if (filled > 0) std::memcpy(out, gSession.carry.data(), filled);
  gSession.carry.erase(gSession.carry.begin(), gSession.carry.begin() + filled);
  bool eof = false;
  // At least one whole row per block, else whatever one read brings.
  while (filled < bpr) {
    SANE_Int got = 0;
    SANE_Status status = sane_read(gSession.handle, out + filled, static_cast<SANE_Int>(capacity - filled), &got);
    if (status == SANE_STATUS_EOF) {
      eof = true;
      break;
    }
    if (status == SANE_STATUS_CANCELLED) return TWRC_CANCEL;
    if (status != SANE_STATUS_GOOD) return sbFailWith(status);
    filled += got;
  }
  long rows = filled / bpr;
  gSession.carry.insert(gSession.carry.begin(), out + rows * bpr, out + filled);
  if (!eof && gSession.params.lines > 0 && gSession.rowsSent + rows >= gSession.params.lines) {
    rows = gSession.params.lines - gSession.rowsSent;
    sbDrainFrame();
    eof = true;
  }
  sbApplyFlavour(out, rows, bpr);
  gSession.rowsSent += rows;
  xfer->Compression = TWCP_NONE;
  xfer->BytesPerRow = static_cast<TW_UINT32>(bpr);
  xfer->Columns = static_cast<TW_UINT32>(gSession.params.pixels_per_line);
  xfer->Rows = static_cast<TW_UINT32>(rows);
  xfer->XOffset = 0;
  xfer->YOffset = static_cast<TW_UINT32>(gSession.rowsSent - rows);
  xfer->BytesWritten = static_cast<TW_UINT32>(rows * bpr);
  if (!eof) return TWRC_SUCCESS;
  gSession.pageDone = true;
  return TWRC_XFERDONE;
}

// Ends the page; on a feeder the next sheet is started at once, so the count is exact.
TW_UINT16 sbEndTransfer(TW_PENDINGXFERS* pending) {
  if (gSession.pagesLeft > 0) --gSession.pagesLeft;
  gSession.pageStarted = false;
  gSession.carry.clear();
  if (gSession.pagesLeft != 0 && sbStartPage() != TWRC_SUCCESS) gSession.pagesLeft = 0;
  if (gSession.pagesLeft == 0) sbEndScan();
  pending->Count = static_cast<TW_UINT16>(gSession.pagesLeft);
  return TWRC_SUCCESS;
}
