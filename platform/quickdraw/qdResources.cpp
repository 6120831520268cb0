// QuickDraw's resources: pictures, colour tables, regions and cursors, read from the
// Resource Manager and checked against their stored sizes.
#include <cstring>

#include "quickdraw/qdPort.h"
#include "quickdraw/qdResources.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"
#include "toolbox/Resources.h"

namespace {

// A detached copy of a resource's bytes, or null.
Handle CopyOfResource(ResType type, SInt16 id) {
  Handle res = GetResource(type, id);
  if (!res) return nullptr;
  Handle copy = res;
  if (HandToHand(&copy) != noErr) copy = nullptr;
  ReleaseResource(res);
  return copy;
}

}  // namespace

CTabHandle qdColorTableFromStored(const uint8_t* data, size_t length) {
  if (length < 8) return nullptr;
  RecordBytes rec(const_cast<uint8_t*>(data), length);
  int size = rec.i16(6);
  if (size < 0 || size > 255 || length < 8 + static_cast<size_t>(size + 1) * 8) return nullptr;
  bool byIndex = rec.u16(4) & 0x8000;
  CTabHandle t = qdNewColorTable(size + 1);
  if (!t) return nullptr;
  for (int i = 0; i <= size; ++i) {
    size_t at = 8 + static_cast<size_t>(i) * 8;
    int index = byIndex ? i : rec.i16(at);
    if (index < 0 || index > size) continue;
    (*t)->ctTable[index].rgb = RGBColor{rec.u16(at + 2), rec.u16(at + 4), rec.u16(at + 6)};
  }
  return t;
}

bool qdCursorFromStored(const uint8_t* data, size_t length, Cursor* out) {
  if (length < 68) return false;
  RecordBytes rec(const_cast<uint8_t*>(data), length);
  for (int i = 0; i < 16; ++i) {
    out->data[i] = rec.u16(static_cast<size_t>(i) * 2);
    out->mask[i] = rec.u16(32 + static_cast<size_t>(i) * 2);
  }
  out->hotSpot = Point{rec.i16(64), rec.i16(66)};
  return true;
}

CTabHandle qdColorTableResource(SInt16 id) {
  Handle h = CopyOfResource('clut', id);
  if (!h) return nullptr;
  CTabHandle t = qdColorTableFromStored(reinterpret_cast<const uint8_t*>(*h), static_cast<size_t>(GetHandleSize(h)));
  DisposeHandle(h);
  return t;
}

PicHandle GetPicture(SInt16 id) {
  Handle h = CopyOfResource('PICT', id);
  if (h && GetHandleSize(h) < 10) {
    DisposeHandle(h);
    h = nullptr;
  }
  return reinterpret_cast<PicHandle>(h);
}

RgnHandle GetRegionResource(SInt16 id) {
  Handle h = CopyOfResource('XRGN', id);
  if (!h) return nullptr;
  RgnHandle rgn = NewRgn();
  if (rgn && QDRegionFromStoredBytes(*h, GetHandleSize(h), rgn) != noErr) {
    DisposeRgn(rgn);
    rgn = nullptr;
  }
  DisposeHandle(h);
  return rgn;
}

CursHandle GetCursor(SInt16 id) {
  Handle h = CopyOfResource('CURS', id);
  if (!h) return nullptr;
  Cursor c;
  bool ok = qdCursorFromStored(reinterpret_cast<const uint8_t*>(*h), static_cast<size_t>(GetHandleSize(h)), &c);
  DisposeHandle(h);
  if (!ok) return nullptr;
  auto out = reinterpret_cast<CursHandle>(NewHandle(sizeof(Cursor)));
  if (out) **out = c;
  return out;
}
