// ColorSync: colour profiles, colour worlds and matching, over Little CMS 2.
//
// A profile is opened from a file (CMOpenProfile) or is the display's (Display.h). A colour
// world is a transform from a source to a destination profile, rendered with the
// intent the source profile's header names and without black-point compensation.
#pragma once

#include "quickdraw/QuickDraw.h"
#include "toolbox/Files.h"
#include "toolbox/MacTypes.h"

typedef struct OpaqueCMProfileRef* CMProfileRef;
typedef struct OpaqueCMWorldRef* CMWorldRef;
typedef struct OpaqueCMMatchRef* CMMatchRef;

enum : OSErr {
  cmProfileError = -170,       // the file is not a profile this layer can read
  cmMethodError = -171,        // no colour world can be made from these profiles
  cmCantConcatenateError = -173,
  cmIterateStop = -177,        // a profile-folder callback ends the walk with this
  cmRangeOverFlow = -178,      // a bitmap this layer cannot match (size or layout)
};

// Where a profile lives; only files are used.
enum : SInt16 { cmNoProfileBase = 0, cmFileBasedProfile = 1 };
struct CMFileLocation {
  FSSpec spec;
};
struct CMProfileLocation {
  SInt16 locType;
  union {
    CMFileLocation fileLoc;
  } u;
};

OSErr CMOpenProfile(CMProfileRef* prof, const CMProfileLocation* theProfile);
OSErr CMCloseProfile(CMProfileRef prof);

// The profile that stands for pixels of `dataColorSpace` that carry none: sRGB for RGB, the
// convention for untagged RGB here. paramErr for any other space.
enum : OSType { cmRGBData = 'RGB ' };
OSErr CMGetDefaultProfileBySpace(OSType dataColorSpace, CMProfileRef* prof);

// ---- Colour worlds and bitmaps -----------------------------------------------------------

enum : UInt32 {
  cmRGB24Space = 0x0015,  // R, G, B bytes
  cmRGB32Space = 0x0016,  // 0, R, G, B bytes (the first byte is kept)
};

struct CMBitmap {
  char* image;
  long width;
  long height;
  long rowBytes;
  long pixelSize;
  UInt32 space;
  long user1;
  long user2;
};

typedef Boolean (*CMBitmapCallBackProcPtr)(SInt32 progress, void* refCon);
typedef CMBitmapCallBackProcPtr CMBitmapCallBackUPP;

OSErr NCWNewColorWorld(CMWorldRef* cw, CMProfileRef src, CMProfileRef dst);
void CWDisposeColorWorld(CMWorldRef cw);
// Matches `bitmap` (24-bit RGB; rows `rowBytes` apart, the bytes past the pixels untouched)
// into `matchedBitmap`, or in place when that is null. The progress procedure is not called.
OSErr CWMatchBitmap(CMWorldRef cw, CMBitmap* bitmap, CMBitmapCallBackUPP progressProc, void* refCon,
                    CMBitmap* matchedBitmap);
// Matches a 32-bit PixMap in place.
OSErr CWMatchPixMap(CMWorldRef cw, PixMap* myPixMap, CMBitmapCallBackUPP progressProc, void* refCon);

// Matching while drawing: the current port's 32-bit pixels that change between the two
// calls are matched from `src` to `dst` when the matching ends.
OSErr NCMBeginMatching(CMProfileRef src, CMProfileRef dst, CMMatchRef* myRef);
void CMEndMatching(CMMatchRef myRef);

// ---- Linux side, for the layer itself ------------------------------------------------------

// A profile made from an ICC profile's bytes, or the built-in sRGB profile.
OSErr CMOpenProfileFromBytes(const void* bytes, size_t size, CMProfileRef* prof);
CMProfileRef CMNewSRGBProfile();
