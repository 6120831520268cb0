// Conversions between floating point and the protocol's 16.16 fixed point.
#pragma once

#include "twain/Twain.h"

class UTwHelper {
 public:
  // v = integer part of f x 65536 + 0.5; whole = v >> 16, fraction = low 16 bits.
  static TW_FIX32 FloatToFix32(float f);
  static float Fix32ToFloat(TW_FIX32 fix);
};
