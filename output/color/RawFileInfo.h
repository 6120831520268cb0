// The geometry of a raw scan file, which the file itself does not carry.
#pragma once

#include "toolbox/MacTypes.h"

struct RawFileInfo {
  SInt32 width;         // pixels
  SInt32 rows;
  SInt32 bitsPerPixel;  // 1, 8, 24 or 32
};
