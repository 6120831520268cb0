// The port record behind GrafPtr, the current port, and the pixel access every drawing
// call goes through.
#pragma once

#include <cstdint>

#include "quickdraw/QDOffscreen.h"
#include "quickdraw/QuickDraw.h"
#include "quickdraw/qdRegion.h"

struct qdPicRecorder;

enum class qdPortKind { Offscreen, Window, Printing };

struct GrafPort {
  qdPortKind kind = qdPortKind::Offscreen;
  PixMapHandle pixMap = nullptr;
  Handle pixels = nullptr;  // owned pixel block (null when the pixels are someone else's)
  long rowBytes = 0;        // the pixels' real row bytes (the PixMap field holds 14 bits)
  bool tempMemory = false;
  bool pixelsAtFirstUse = false;  // no pixels yet: made white at the first look at them
  GWorldFlags pixelsState = 0;
  Rect portRect = {0, 0, 0, 0};
  RgnHandle visRgn = nullptr;
  RgnHandle clipRgn = nullptr;
  RGBColor fg = {0, 0, 0};
  RGBColor bk = {0xFFFF, 0xFFFF, 0xFFFF};
  RGBColor op = {0, 0, 0};
  RGBColor hilite = {0x6666, 0x8787, 0xD6D6};
  Pattern bkPat = {{0, 0, 0, 0, 0, 0, 0, 0}};
  PenState pen = {{0, 0}, {1, 1}, patCopy, {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}};
  SInt16 pnVis = 0;
  Point ovalSize = {0, 0};  // of the round rectangle being drawn
  SInt16 txFont = 0;
  Style txFace = 0;
  SInt16 txMode = srcOr;
  SInt16 txSize = 0;
  CQDProcsPtr procs = nullptr;
  qdPicRecorder* picture = nullptr;
  void* window = nullptr;  // the WindowRef whose port this is
  GDHandle device = nullptr;
};

// A new port over a fresh PixMap of `depth` covering `bounds` (pixels allocated; null when
// they cannot be). The PixMap's bounds and the portRect are `bounds`. With
// `pixelsAtFirstUse` the PixMap's baseAddr stays null until qdMakePixels.
GrafPtr qdNewPort(qdPortKind kind, int depth, const Rect& bounds, CTabHandle table, bool tempMemory, OSErr* err,
                  bool pixelsAtFirstUse = false);
// Gives a port made with `pixelsAtFirstUse` its white pixels; false without memory.
bool qdMakePixels(GrafPtr port);
void qdDisposePort(GrafPtr port);
// Replaces the port's pixels with a fresh block for `bounds` (windows that change size).
OSErr qdResizePort(GrafPtr port, const Rect& bounds);

GrafPtr qdCurrentPort();
// The port's visible and clip regions together, in local coordinates.
qdRegion qdPortClip(GrafPtr port);

// The row-bytes field's value when the real row bytes do not fit its 14 bits.
constexpr SInt16 kWideRowBytesMarker = 0x3F3F;

// A pixel buffer view: the depth and layout of a BitMap or PixMap.
struct qdPixels {
  uint8_t* base = nullptr;
  long rowBytes = 0;
  int depth = 1;
  Rect bounds = {0, 0, 0, 0};  // local coordinates of the first pixel and the extent
  CTabHandle table = nullptr;
  bool Contains(int x, int y) const { return x >= bounds.left && x < bounds.right && y >= bounds.top && y < bounds.bottom; }
};
qdPixels qdPixelsOf(const BitMap* bits);  // a PixMap when rowBytes has kPixMapFlag
qdPixels qdPixelsOfPort(GrafPtr port);

// Raw pixel values (index at depths 1 and 8, 0x00RRGGBB at 32), local coordinates.
uint32_t qdGetPixel(const qdPixels& p, int x, int y);
void qdSetPixel(const qdPixels& p, int x, int y, uint32_t value);
uint32_t qdRGBToPixel(const qdPixels& p, const RGBColor& c);
uint32_t qdPixelToRGB24(const qdPixels& p, uint32_t value);  // 0x00RRGGBB
uint32_t qdRGB24ToPixel(const qdPixels& p, uint32_t rgb);
inline uint32_t qdRGB24(const RGBColor& c) { return (uint32_t(c.red >> 8) << 16) | (uint32_t(c.green >> 8) << 8) | (c.blue >> 8); }
inline RGBColor qdRGBColor(uint32_t rgb) {
  return RGBColor{UInt16(((rgb >> 16) & 0xFF) * 257), UInt16(((rgb >> 8) & 0xFF) * 257), UInt16((rgb & 0xFF) * 257)};
}
CTabHandle qdNewColorTable(int entries);  // ctSize = entries - 1, fresh seed
CTabHandle qdStandardTable(int depth);     // the system table of depth 1, 2, 4 or 8 (owned by the caller)

// The main screen's bounds, set by the display.
void qdSetScreenBounds(const Rect& bounds);
Rect qdScreenBounds();
void qdSetLastError(OSErr err);
// The Window Manager shows a window port's pixels when QDFlushPortBuffer asks.
typedef void (*qdFlushHook)(GrafPtr port);
void qdSetFlushHook(qdFlushHook hook);
// Where a port's local (0,0) lies on the screen before SetOrigin (a window's content top
// left); offscreen ports answer (0,0).
typedef Point (*qdGlobalOriginHook)(GrafPtr port);
void qdSetGlobalOriginHook(qdGlobalOriginHook hook);
// The display shows the cursor QuickDraw sets (null = hidden).
typedef void (*qdCursorHook)(const Cursor* cursor);
void qdSetCursorHook(qdCursorHook hook);
// While a wait shows the watch (qdBusyCursor), the display shows it whatever cursor is set;
// the set cursor comes back when the last such wait ends.
void qdShowBusyCursor(bool busy);
