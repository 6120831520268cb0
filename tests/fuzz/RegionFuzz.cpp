// Loads arbitrary bytes as a stored region ('XRGN'); a region that loads must survive the
// region operations and store back to an equal region.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "quickdraw/QuickDraw.h"
#include "toolbox/MacMemory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RgnHandle rgn = NewRgn();
  if (QDRegionFromStoredBytes(data, static_cast<Size>(size), rgn) == 0) {
    RgnHandle other = NewRgn(), out = NewRgn();
    SetRectRgn(other, 3, 3, 40, 17);
    UnionRgn(rgn, other, out);
    DiffRgn(rgn, other, out);
    SectRgn(rgn, other, out);
    OffsetRgn(out, 7, -9);
    Handle stored = QDRegionToStoredBytes(rgn);
    RgnHandle back = NewRgn();
    if (stored && QDRegionFromStoredBytes(*stored, GetHandleSize(stored), back) == 0) {
      if (!EqualRgn(rgn, back)) std::abort();
    }
    if (stored) DisposeHandle(stored);
    DisposeRgn(back);
    DisposeRgn(other);
    DisposeRgn(out);
  }
  DisposeRgn(rgn);
  return 0;
}
