// The Display Manager's view of the screen and its colour profile.
#pragma once

#include "colorsync/ColorSync.h"

typedef UInt32 DisplayIDType;
typedef UInt32 CMDisplayIDType;

enum : OSErr { kDMDisplayNotFoundErr = -6223 };

// The main device is display 1, the only one.
OSErr DMGetDisplayIDByGDevice(GDHandle displayDevice, DisplayIDType* displayID, Boolean failToMain);
// The display's profile: the one the colour manager published for the screen (the X root
// window's _ICC_PROFILE), else the built-in sRGB. cmProfileError when the published
// profile is damaged.
OSErr CMGetProfileByAVID(CMDisplayIDType theID, CMProfileRef* prof);
