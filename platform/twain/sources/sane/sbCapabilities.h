// The capabilities of a SANE source: kept as the application sets them, reported back,
// and turned into the device's options when a page starts.
#pragma once

#include "sbSession.h"

bool sbHas(TW_UINT16 cap);
double sbValueOr(TW_UINT16 cap, double fallback);
// The resolution the application asked for on an axis, else the device's.
double sbResolution(TW_UINT16 cap);
void sbSetValue(TW_UINT16 cap, TW_UINT16 type, TW_UINT32 value);
void sbApplyOptions();
TW_UINT16 sbGetCapability(TW_CAPABILITY* cap);
TW_UINT16 sbSetCapability(const TW_CAPABILITY* cap);
