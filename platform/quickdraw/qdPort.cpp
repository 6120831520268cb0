// Ports, the current port and device, offscreen worlds, and the port state calls.
#include "quickdraw/qdPort.h"

#include <algorithm>
#include <cstring>

#include "quickdraw/qdPicture.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

struct GDevice {
  PixMapHandle pixMap;
};

namespace {

GrafPtr sCurrentPort = nullptr;
GDHandle sCurrentDevice = nullptr;
Rect sScreen = {0, 0, 768, 1024};
OSErr sLastError = noErr;

// The port drawing falls back to before anyone sets one: a small offscreen world.
GrafPtr FallbackPort() {
  static GrafPtr port = [] {
    OSErr err;
    return qdNewPort(qdPortKind::Offscreen, 32, Rect{0, 0, 1, 1}, nullptr, false, &err);
  }();
  return port;
}

GDHandle MainDevice() {
  static GDHandle device = [] {
    auto h = reinterpret_cast<GDHandle>(NewHandleClear(sizeof(GDevice)));
    PixMapHandle pm = reinterpret_cast<PixMapHandle>(NewHandleClear(sizeof(PixMap)));
    (*pm)->rowBytes = kPixMapFlag;
    (*pm)->pixelSize = 32;
    (*pm)->pixelType = RGBDirect;
    (*pm)->cmpCount = 3;
    (*pm)->cmpSize = 8;
    (*pm)->hRes = (*pm)->vRes = IntToFixed(72);
    (*h)->pixMap = pm;
    return h;
  }();
  (*(*device)->pixMap)->bounds = sScreen;
  return device;
}

// The most one offscreen world's pixels may take.
constexpr long kMaxPixelBytes = 1L << 30;

long RowBytesFor(int depth, int width) { return ((static_cast<long>(width) * depth + 31) / 32) * 4; }

}  // namespace

void qdSetScreenBounds(const Rect& bounds) { sScreen = bounds; }
Rect qdScreenBounds() { return sScreen; }
void qdSetLastError(OSErr err) { sLastError = err; }
OSErr QDError() { return sLastError; }

namespace {

// White everywhere: 0 is white in indexed tables, 0x00FFFFFF in direct pixels (in block
// copies, since a world can be hundreds of megabytes).
void Whiten(uint8_t* pixels, size_t size, int depth) {
  if (depth != 32) {
    std::memset(pixels, 0x00, size);
    return;
  }
  const size_t bytes = size / 4 * 4;
  if (bytes > 0) BEPutU32(pixels, 0x00FFFFFF);
  for (size_t done = 4; done < bytes; done *= 2) std::memcpy(pixels + done, pixels, std::min(done, bytes - done));
}

Handle NewPixels(Size size, bool tempMemory) {
  OSErr memErr = noErr;
  Handle pixels = tempMemory ? TempNewHandle(size, &memErr) : NewHandle(size);
  if (pixels) HLock(pixels);
  return pixels;
}

}  // namespace

GrafPtr qdNewPort(qdPortKind kind, int depth, const Rect& bounds, CTabHandle table, bool tempMemory, OSErr* err,
                  bool pixelsAtFirstUse) {
  *err = noErr;
  if (depth == 0) depth = 32;
  if (depth != 1 && depth != 8 && depth != 32) {
    *err = paramErr;
    return nullptr;
  }
  int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  long rowBytes = RowBytesFor(depth, width);
  if (width <= 0 || height <= 0 || rowBytes * height > kMaxPixelBytes) {
    *err = memFullErr;
    return nullptr;
  }
  Size size = rowBytes * height;
  Handle pixels = pixelsAtFirstUse ? nullptr : NewPixels(size, tempMemory);
  if (!pixels && !pixelsAtFirstUse) {
    *err = memFullErr;
    return nullptr;
  }
  auto pm = reinterpret_cast<PixMapHandle>(NewHandleClear(sizeof(PixMap)));
  RgnHandle vis = NewRgn(), clip = NewRgn();
  if (!pm || !vis || !clip) {
    if (pm) DisposeHandle(reinterpret_cast<Handle>(pm));
    DisposeRgn(vis);
    DisposeRgn(clip);
    if (pixels) DisposeHandle(pixels);
    *err = memFullErr;
    return nullptr;
  }
  auto port = new GrafPort;
  port->kind = kind;
  port->pixels = pixels;
  port->tempMemory = tempMemory;
  port->pixelsAtFirstUse = pixelsAtFirstUse;
  port->pixMap = pm;
  PixMap& p = **pm;
  p.baseAddr = pixels ? *pixels : nullptr;
  // Row bytes beyond the 14-bit field are kept by the port; the field then holds the
  // marker that sends callers to GetPixRowBytes.
  port->rowBytes = rowBytes;
  p.rowBytes = static_cast<SInt16>((rowBytes < kRowBytesMask ? rowBytes : kWideRowBytesMarker) | kPixMapFlag);
  p.bounds = bounds;
  p.hRes = p.vRes = IntToFixed(72);
  p.pixelSize = static_cast<SInt16>(depth);
  p.pixelType = depth == 32 ? RGBDirect : Indexed;
  p.cmpCount = depth == 32 ? 3 : 1;
  p.cmpSize = static_cast<SInt16>(depth == 32 ? 8 : depth);
  p.pixelFormat = static_cast<OSType>(depth);
  p.pmExt = port;
  if (depth != 32) {
    if (table) {
      Handle copy = reinterpret_cast<Handle>(table);
      HandToHand(&copy);
      p.pmTable = reinterpret_cast<CTabHandle>(copy);
    } else {
      p.pmTable = qdStandardTable(depth);
    }
  }
  port->portRect = bounds;
  RectRgn(vis, &bounds);
  SetRectRgn(clip, -32767, -32767, 32767, 32767);
  port->visRgn = vis;
  port->clipRgn = clip;
  port->device = MainDevice();
  if (pixels) Whiten(reinterpret_cast<uint8_t*>(*pixels), static_cast<size_t>(size), depth);
  return port;
}

bool qdMakePixels(GrafPtr port) {
  if (!port->pixelsAtFirstUse) return true;
  PixMap& p = **port->pixMap;
  const Size size = port->rowBytes * (p.bounds.bottom - p.bounds.top);
  Handle pixels = NewPixels(size, port->tempMemory);
  if (!pixels) return false;
  Whiten(reinterpret_cast<uint8_t*>(*pixels), static_cast<size_t>(size), p.pixelSize);
  port->pixels = pixels;
  port->pixelsAtFirstUse = false;
  p.baseAddr = *pixels;
  return true;
}

OSErr qdResizePort(GrafPtr port, const Rect& bounds) {
  OSErr err;
  PixMap& old = **port->pixMap;
  GrafPtr fresh = qdNewPort(port->kind, old.pixelSize, bounds, old.pmTable, false, &err);
  if (!fresh) return err;
  port->pixelsAtFirstUse = false;
  std::swap(port->pixels, fresh->pixels);
  std::swap(port->pixMap, fresh->pixMap);
  std::swap(port->rowBytes, fresh->rowBytes);
  (*port->pixMap)->pmExt = port;
  (*fresh->pixMap)->pmExt = fresh;
  port->portRect = bounds;
  RectRgn(port->visRgn, &bounds);
  qdDisposePort(fresh);
  return noErr;
}

void qdDisposePort(GrafPtr port) {
  if (!port) return;
  if (sCurrentPort == port) sCurrentPort = nullptr;
  delete port->picture;
  if (port->pixels) {
    OSErr err;
    if (port->tempMemory) TempDisposeHandle(port->pixels, &err);
    else DisposeHandle(port->pixels);
  }
  if (port->pixMap) {
    if ((*port->pixMap)->pmTable) DisposeCTable((*port->pixMap)->pmTable);
    DisposeHandle(reinterpret_cast<Handle>(port->pixMap));
  }
  DisposeRgn(port->visRgn);
  DisposeRgn(port->clipRgn);
  delete port;
}

GrafPtr qdCurrentPort() { return sCurrentPort ? sCurrentPort : FallbackPort(); }

qdRegion qdPortClip(GrafPtr port) { return qdRegionOf(port->visRgn).Intersected(qdRegionOf(port->clipRgn)); }

// ---- Current port and device -----------------------------------------------------------

void InitGraf(void*) {}
void GetPort(GrafPtr* port) { *port = qdCurrentPort(); }
void SetPort(GrafPtr port) { sCurrentPort = port; }
Boolean QDSwapPort(CGrafPtr newPort, CGrafPtr* oldPort) {
  GrafPtr old = qdCurrentPort();
  if (oldPort) *oldPort = old;
  SetPort(newPort);
  return old != newPort;
}

void GetGWorld(CGrafPtr* port, GDHandle* device) {
  if (port) *port = qdCurrentPort();
  if (device) *device = sCurrentDevice ? sCurrentDevice : MainDevice();
}
void SetGWorld(CGrafPtr port, GDHandle device) {
  sCurrentPort = port;
  if (device) sCurrentDevice = device;
}
GDHandle GetMainDevice() { return MainDevice(); }
GDHandle GetGDevice() { return sCurrentDevice ? sCurrentDevice : MainDevice(); }
void SetGDevice(GDHandle device) { sCurrentDevice = device; }
Rect* GetDeviceBounds(GDHandle device, Rect* bounds) {
  *bounds = device ? (*(*device)->pixMap)->bounds : sScreen;
  return bounds;
}
PixMapHandle GetDevicePixMap(GDHandle device) { return device ? (*device)->pixMap : nullptr; }

// ---- Offscreen worlds --------------------------------------------------------------------

OSErr NewGWorld(GWorldPtr* world, SInt16 depth, const Rect* bounds, CTabHandle ctab, GDHandle, GWorldFlags flags) {
  *world = nullptr;
  if (!bounds) return paramErr;
  // The world's local coordinates start at the bounds' top left, like the original's.
  Rect local = *bounds;
  OSErr err;
  GrafPtr port = qdNewPort(qdPortKind::Offscreen, depth, local, ctab, (flags & useTempMem) != 0, &err,
                           (flags & kQDPixelsAtFirstUse) != 0);
  qdSetLastError(err);
  if (!port) return err;
  *world = port;
  return noErr;
}

void DisposeGWorld(GWorldPtr world) { qdDisposePort(world); }
PixMapHandle GetGWorldPixMap(GWorldPtr world) { return world ? world->pixMap : nullptr; }
GDHandle GetGWorldDevice(GWorldPtr world) { return world ? world->device : nullptr; }

// The pixels of a port never move; the lock state is kept for callers that save and
// restore it around direct access.
namespace {
GrafPtr OwnerOf(PixMapHandle pm) { return pm && *pm ? static_cast<GrafPtr>((*pm)->pmExt) : nullptr; }
}  // namespace

Boolean LockPixels(PixMapHandle pm) {
  if (GrafPtr port = OwnerOf(pm)) port->pixelsState |= pixelsLocked;
  return pm != nullptr;
}
void UnlockPixels(PixMapHandle pm) {
  if (GrafPtr port = OwnerOf(pm)) port->pixelsState &= ~GWorldFlags(pixelsLocked);
}
GWorldFlags GetPixelsState(PixMapHandle pm) {
  GrafPtr port = OwnerOf(pm);
  return port ? port->pixelsState : 0;
}
void SetPixelsState(PixMapHandle pm, GWorldFlags state) {
  if (GrafPtr port = OwnerOf(pm)) port->pixelsState = state & (pixelsLocked | pixelsPurgeable);
}
Ptr GetPixBaseAddr(PixMapHandle pm) {
  if (GrafPtr port = OwnerOf(pm)) qdMakePixels(port);
  return pm ? (*pm)->baseAddr : nullptr;
}
SInt32 GetPixRowBytes(PixMapHandle pm) { return pm ? static_cast<SInt32>(qdPixelsOf(reinterpret_cast<const BitMap*>(*pm)).rowBytes) : 0; }
Rect* GetPixBounds(PixMapHandle pm, Rect* bounds) {
  *bounds = pm ? (*pm)->bounds : Rect{0, 0, 0, 0};
  return bounds;
}
SInt16 GetPixDepth(PixMapHandle pm) { return pm ? (*pm)->pixelSize : 0; }

// ---- Port accessors -----------------------------------------------------------------------

Rect* GetPortBounds(CGrafPtr port, Rect* rect) {
  *rect = port->portRect;
  return rect;
}
void SetPortBounds(CGrafPtr port, const Rect* rect) { port->portRect = *rect; }
PixMapHandle GetPortPixMap(CGrafPtr port) { return port->pixMap; }
const BitMap* GetPortBitMapForCopyBits(CGrafPtr port) { return reinterpret_cast<const BitMap*>(*port->pixMap); }
RgnHandle GetPortVisibleRegion(CGrafPtr port, RgnHandle visRgn) {
  CopyRgn(port->visRgn, visRgn);
  return visRgn;
}
RgnHandle GetPortClipRegion(CGrafPtr port, RgnHandle clipRgn) {
  CopyRgn(port->clipRgn, clipRgn);
  return clipRgn;
}
void SetPortClipRegion(CGrafPtr port, RgnHandle clipRgn) { CopyRgn(clipRgn, port->clipRgn); }
RGBColor* GetPortForeColor(CGrafPtr port, RGBColor* color) {
  *color = port->fg;
  return color;
}
RGBColor* GetPortBackColor(CGrafPtr port, RGBColor* color) {
  *color = port->bk;
  return color;
}
SInt16 GetPortTextFont(CGrafPtr port) { return port->txFont; }
SInt16 GetPortTextSize(CGrafPtr port) { return port->txSize; }
Style GetPortTextFace(CGrafPtr port) { return port->txFace; }
Point* GetPortPenSize(CGrafPtr port, Point* penSize) {
  *penSize = port->pen.pnSize;
  return penSize;
}
Point* GetPortPenLocation(CGrafPtr port, Point* penLocation) {
  *penLocation = port->pen.pnLoc;
  return penLocation;
}
Boolean IsPortOffscreen(CGrafPtr port) { return port->kind == qdPortKind::Offscreen; }
Boolean IsPortColor(CGrafPtr) { return true; }
Boolean IsPortPictureBeingDefined(CGrafPtr port) { return port->picture != nullptr; }
BitMap* GetQDGlobalsScreenBits(BitMap* screenBits) {
  *screenBits = BitMap{nullptr, 0, sScreen};
  return screenBits;
}

void SetStdCProcs(CQDProcs* procs) { *procs = CQDProcs{}; }
void SetStdProcs(QDProcs* procs) { *procs = QDProcs{}; }
void SetPortGrafProcs(CGrafPtr port, CQDProcs* procs) { port->procs = procs; }
CQDProcsPtr GetPortGrafProcs(CGrafPtr port) { return port->procs; }

// SetOrigin moves the port's coordinate system: the pixels stay, their local coordinates
// change. The clip region keeps its local coordinates, as callers expect.
void SetOrigin(SInt16 h, SInt16 v) {
  GrafPtr port = qdCurrentPort();
  SInt16 dh = static_cast<SInt16>(h - port->portRect.left), dv = static_cast<SInt16>(v - port->portRect.top);
  OffsetRect(&port->portRect, dh, dv);
  OffsetRect(&(*port->pixMap)->bounds, dh, dv);
  OffsetRgn(port->visRgn, dh, dv);
}

void PortSize(SInt16 width, SInt16 height) {
  GrafPtr port = qdCurrentPort();
  port->portRect.right = static_cast<SInt16>(port->portRect.left + width);
  port->portRect.bottom = static_cast<SInt16>(port->portRect.top + height);
}

// ---- Clip ----------------------------------------------------------------------------------

void GetClip(RgnHandle rgn) { CopyRgn(qdCurrentPort()->clipRgn, rgn); }
void SetClip(RgnHandle rgn) { CopyRgn(rgn, qdCurrentPort()->clipRgn); }
void ClipRect(const Rect* r) { RectRgn(qdCurrentPort()->clipRgn, r); }

// ---- Pen, colours, patterns ----------------------------------------------------------------

const Pattern kQDBlackPattern = {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
const Pattern kQDWhitePattern = {{0, 0, 0, 0, 0, 0, 0, 0}};
const Pattern kQDGrayPattern = {{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}};
const Pattern kQDLightGrayPattern = {{0x88, 0x22, 0x88, 0x22, 0x88, 0x22, 0x88, 0x22}};
const Pattern kQDDarkGrayPattern = {{0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD}};
Pattern* GetQDGlobalsBlack(Pattern* r) { return &(*r = kQDBlackPattern); }
Pattern* GetQDGlobalsWhite(Pattern* r) { return &(*r = kQDWhitePattern); }
Pattern* GetQDGlobalsGray(Pattern* r) { return &(*r = kQDGrayPattern); }
Pattern* GetQDGlobalsLightGray(Pattern* r) { return &(*r = kQDLightGrayPattern); }
Pattern* GetQDGlobalsDarkGray(Pattern* r) { return &(*r = kQDDarkGrayPattern); }

void PenNormal() {
  GrafPtr port = qdCurrentPort();
  port->pen.pnSize = Point{1, 1};
  port->pen.pnMode = patCopy;
  port->pen.pnPat = kQDBlackPattern;
}
void PenSize(SInt16 width, SInt16 height) { qdCurrentPort()->pen.pnSize = Point{height, width}; }
void PenMode(SInt16 mode) { qdCurrentPort()->pen.pnMode = mode; }
void PenPat(const Pattern* pat) { qdCurrentPort()->pen.pnPat = *pat; }
void GetPenState(PenState* state) { *state = qdCurrentPort()->pen; }
void SetPenState(const PenState* state) { qdCurrentPort()->pen = *state; }
void HidePen() { --qdCurrentPort()->pnVis; }
void ShowPen() { ++qdCurrentPort()->pnVis; }
void GetPen(Point* pt) { *pt = qdCurrentPort()->pen.pnLoc; }
void BackPat(const Pattern* pat) { qdCurrentPort()->bkPat = *pat; }
void MoveTo(SInt16 h, SInt16 v) { qdCurrentPort()->pen.pnLoc = Point{v, h}; }
void Move(SInt16 dh, SInt16 dv) {
  Point& p = qdCurrentPort()->pen.pnLoc;
  p = Point{static_cast<SInt16>(p.v + dv), static_cast<SInt16>(p.h + dh)};
}

void RGBForeColor(const RGBColor* color) { qdCurrentPort()->fg = *color; }
void RGBBackColor(const RGBColor* color) { qdCurrentPort()->bk = *color; }
void GetForeColor(RGBColor* color) { *color = qdCurrentPort()->fg; }
void GetBackColor(RGBColor* color) { *color = qdCurrentPort()->bk; }
void OpColor(const RGBColor* color) { qdCurrentPort()->op = *color; }
void HiliteColor(const RGBColor* color) { qdCurrentPort()->hilite = *color; }
void LMGetHiliteRGB(RGBColor* color) { *color = RGBColor{0x6666, 0x8787, 0xD6D6}; }

namespace {
RGBColor ClassicColor(SInt32 color) {
  switch (color) {
    case whiteColor: return {0xFFFF, 0xFFFF, 0xFFFF};
    case redColor: return {0xDD6B, 0x08C2, 0x06A2};
    case greenColor: return {0x0000, 0x8000, 0x11B0};
    case blueColor: return {0x0000, 0x0000, 0xD400};
    case cyanColor: return {0x0241, 0xAB54, 0xEAFF};
    case magentaColor: return {0xF2D7, 0x0856, 0x84EC};
    case yellowColor: return {0xFC00, 0xF37D, 0x052F};
    default: return {0, 0, 0};
  }
}
}  // namespace

void ForeColor(SInt32 color) { qdCurrentPort()->fg = ClassicColor(color); }
void BackColor(SInt32 color) { qdCurrentPort()->bk = ClassicColor(color); }

void GetCPixel(SInt16 h, SInt16 v, RGBColor* color) {
  qdPixels p = qdPixelsOfPort(qdCurrentPort());
  *color = p.Contains(h, v) ? qdRGBColor(qdPixelToRGB24(p, qdGetPixel(p, h, v))) : RGBColor{0, 0, 0};
}
void SetCPixel(SInt16 h, SInt16 v, const RGBColor* color) {
  GrafPtr port = qdCurrentPort();
  qdPixels p = qdPixelsOfPort(port);
  if (p.Contains(h, v) && qdPortClip(port).Contains(h, v)) qdSetPixel(p, h, v, qdRGBToPixel(p, *color));
}

namespace {
qdFlushHook sFlushHook = nullptr;
}
void qdSetFlushHook(qdFlushHook hook) { sFlushHook = hook; }
void QDFlushPortBuffer(CGrafPtr port, RgnHandle) {
  if (port && port->kind == qdPortKind::Window && sFlushHook) sFlushHook(port);
}
