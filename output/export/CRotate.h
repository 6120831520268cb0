// Turning the pixels of one offscreen world into another, clockwise by 90, 180 or 270
// degrees, at the source's depth (1, 2, 4, 8, 16 or 32 bits). The destination must already
// have the turned size; at depths below 8 it must start all zero, as only set bits are
// written.
#pragma once

#include "framework/LGWorld.h"

class CRotate {
 public:
  // Throws 'nilP' for a null world (nothing touched) and paramErr when the destination's
  // size does not fit the angle (destination unchanged). The world and device current
  // before the call are current after it, whatever happens.
  static void RotateImage(LGWorld* source, LGWorld* destination, long degrees);

  static PixMapHandle GetMacPixMap(LGWorld* world);
  static Ptr GetBaseAddr(LGWorld* world);
  static long GetRowBytes(LGWorld* world);
  static short GetPixMapDepth(LGWorld* world);
};
