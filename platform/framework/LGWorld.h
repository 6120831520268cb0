// An offscreen graphics world of the framework: a GWorld and its bounds, drawn into between
// BeginDrawing and EndDrawing, and copied into a port with CopyImage. It starts white.
// Construction throws the platform's memory error when the pixels cannot be had (with
// useTempMem, when temporary memory runs out: callers fall back to the heap).
#pragma once

#include "framework/FrameworkTypes.h"
#include "quickdraw/QDOffscreen.h"

class LGWorld {
 public:
  LGWorld(const Rect& bounds, SInt16 depth = 32, GWorldFlags flags = 0, CTabHandle colorTable = nullptr);
  LGWorld(const LGWorld&) = delete;
  LGWorld& operator=(const LGWorld&) = delete;
  ~LGWorld();

  GWorldPtr GetMacGWorld() const { return mWorld; }
  // Makes the world the current port (pixels locked) until EndDrawing; false when the
  // pixels could not be locked.
  bool BeginDrawing();
  void EndDrawing();
  // Copies the whole world into `destRect` of `port`, scaled, with a transfer mode and an
  // optional mask region (destination coordinates).
  void CopyImage(GrafPtr port, const Rect& destRect, SInt16 mode = srcCopy, RgnHandle mask = nullptr) const;

 private:
  GWorldPtr mWorld = nullptr;
  Rect mBounds;
  CGrafPtr mSavedPort = nullptr;
  GDHandle mSavedDevice = nullptr;
  GWorldFlags mPixelsState = 0;
  bool mDrawing = false;
};
