#include "scanner/UTwHelper.h"

TW_FIX32 UTwHelper::FloatToFix32(float f) {
  auto v = static_cast<int32_t>(static_cast<double>(f) * 65536.0 + 0.5);
  return TW_FIX32{static_cast<TW_INT16>(v >> 16), static_cast<TW_UINT16>(v & 0xFFFF)};
}

float UTwHelper::Fix32ToFloat(TW_FIX32 fix) { return static_cast<float>(fix.Whole) + static_cast<float>(fix.Frac) / 65536.0f; }
