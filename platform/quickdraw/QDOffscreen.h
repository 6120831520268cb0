// Offscreen graphics worlds: a port with its own pixel buffer of an exact depth.
#pragma once

#include "quickdraw/QuickDraw.h"

typedef CGrafPtr GWorldPtr;
typedef UInt32 GWorldFlags;
typedef UInt32 GWorldFlagBits;

// Flags given to NewGWorld.
enum : UInt32 {
  pixPurge = 1u << 0,
  noNewDevice = 1u << 1,
  useTempMem = 1u << 2,
  keepLocal = 1u << 3,
  pixelsPurgeable = 1u << 6,
  pixelsLocked = 1u << 7,
  kAllocDirectDrawSurface = 1u << 14,
  // Ours: the pixels are made at the first drawing into the world or the first look at them
  // (GetPixBaseAddr); until then the PixMap's baseAddr is null. For a page that may stay blank.
  kQDPixelsAtFirstUse = 1u << 20,
};

// NewGWorld: depth 1, 8 or 32 (0 = 32). The pixels start white (all zero at depth 1 and
// 8 with the standard tables, 0x00FFFFFF at 32). A null ctab takes the standard table of
// the depth. An empty or negative bounds, or pixels that cannot be allocated (more than
// 1 GiB, or more than memory gives), fails with memFullErr. With useTempMem the pixels come
// from temporary memory, and the call fails when that runs out (callers fall back).
// Row bytes that do not fit the PixMap's 14-bit field leave 0x3F3F there; GetPixRowBytes
// gives the real value.
OSErr NewGWorld(GWorldPtr* world, SInt16 depth, const Rect* bounds, CTabHandle ctab,
                GDHandle device, GWorldFlags flags);
void DisposeGWorld(GWorldPtr world);
void GetGWorld(CGrafPtr* port, GDHandle* device);
void SetGWorld(CGrafPtr port, GDHandle device);
PixMapHandle GetGWorldPixMap(GWorldPtr world);
GDHandle GetGWorldDevice(GWorldPtr world);

Boolean LockPixels(PixMapHandle pm);
void UnlockPixels(PixMapHandle pm);
GWorldFlags GetPixelsState(PixMapHandle pm);
void SetPixelsState(PixMapHandle pm, GWorldFlags state);
Ptr GetPixBaseAddr(PixMapHandle pm);
SInt32 GetPixRowBytes(PixMapHandle pm);
Rect* GetPixBounds(PixMapHandle pm, Rect* bounds);
SInt16 GetPixDepth(PixMapHandle pm);

// Graphics devices: the main screen (bounds = the screen, 32-bit).
GDHandle GetMainDevice();
GDHandle GetGDevice();
void SetGDevice(GDHandle device);
Rect* GetDeviceBounds(GDHandle device, Rect* bounds);
PixMapHandle GetDevicePixMap(GDHandle device);
