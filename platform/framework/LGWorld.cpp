#include "framework/LGWorld.h"

#include "framework/LException.h"

LGWorld::LGWorld(const Rect& bounds, SInt16 depth, GWorldFlags flags, CTabHandle colorTable) : mBounds(bounds) {
  ThrowIfOSErr_(NewGWorld(&mWorld, depth, &bounds, colorTable, nullptr, flags));
}

LGWorld::~LGWorld() {
  if (mDrawing) EndDrawing();
  if (mWorld) DisposeGWorld(mWorld);
}

bool LGWorld::BeginDrawing() {
  if (mDrawing) return true;
  mPixelsState = GetPixelsState(GetGWorldPixMap(mWorld));
  if (!LockPixels(GetGWorldPixMap(mWorld))) return false;
  GetGWorld(&mSavedPort, &mSavedDevice);
  SetGWorld(mWorld, nullptr);
  mDrawing = true;
  return true;
}

void LGWorld::EndDrawing() {
  if (!mDrawing) return;
  SetGWorld(mSavedPort, mSavedDevice);
  SetPixelsState(GetGWorldPixMap(mWorld), mPixelsState);
  mDrawing = false;
}

void LGWorld::CopyImage(GrafPtr port, const Rect& destRect, SInt16 mode, RgnHandle mask) const {
  // The lock state is put back as it was: a caller drawing into the world keeps its lock.
  PixMapHandle pixels = GetGWorldPixMap(mWorld);
  GWorldFlags state = GetPixelsState(pixels);
  LockPixels(pixels);
  CopyBits(GetPortBitMapForCopyBits(mWorld), GetPortBitMapForCopyBits(port), &mBounds, &destRect, mode, mask);
  SetPixelsState(pixels, state);
}
