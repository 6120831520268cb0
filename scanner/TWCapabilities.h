// One small setter per capability the scan negotiation uses: each builds its container,
// sends it to the open source with the set message and frees it. Each returns the return
// code of its message; a container that cannot be allocated is not sent (failure, 1).
#pragma once

#include "twain/Twain.h"

// The maker's own capabilities.
constexpr TW_UINT16 kCapColorMatching = 0x83ED;
constexpr TW_UINT16 kCapMulticropSlant = 0x8414;
constexpr TW_UINT16 kCapDescreen = 0x8417;
constexpr TW_UINT16 kCapFilmScanMode = 0x841A;
constexpr TW_UINT16 kCapScanMode = 0x841C;
constexpr TW_UINT16 kCapOptionFlag = 0x8420;
constexpr TW_UINT16 kCapModelString = 0x8423;

short _TWSetScanMode(short mode);
short _TWSetFilmScanMode(long filmMode);
short _TWSetLightPath(short lightPath);
short _TWSetResolution(long resolution);
short _TWSetBitDepth(short depth);
short _TWSetPixelFlavor(short flavor);
short _TWSetUnits(short units);
short _TWSetFrames(const TW_FRAME& frame);
short _TWSetDescreen(short index);
short _TWSetMulticrop_Slant(short index);
short _TWSetBrightness(long value);
short _TWSetThreshold(long value);
short _TWSetCapabilityOneValue(unsigned short cap, short type, long value);

// Get-current of a one-value; the 32-bit item in `value` on success.
short _TWGetCurrentCapabilityOneValue(unsigned short cap, short type, unsigned long* value);
// Get of a string one-value: copies its 255 bytes into `buffer` (256 bytes) only when the
// source answers with a one-value of the string type.
short _TWGetStringCapabilityOneValue(unsigned short cap, short type, unsigned char* buffer);
// The physical width and height (whole parts); an axis whose query failed is -1. Returns
// the height query's code.
short _TWGetGetMaxImageLayout(long* width, long* height);

// The film scan mode sent for a film mode (0 for any mode without one).
TW_UINT16 TWFilmModeValue(long filmMode);
// Threshold and brightness for a level 0..9; any other level takes the neutral one.
long TWThresholdForLevel(long level);
long TWBrightnessForLevel(long level);
