// Colour icons ('cicn' resources) and icon references (an application's or a file's icon).
#pragma once

#include "quickdraw/QuickDraw.h"

// A colour icon: its pixels (32-bit, 0 R G B), its mask and its 1-bit image.
struct CIcon {
  PixMap iconPMap;
  BitMap iconMask;
  BitMap iconBMap;
  Handle iconData;
};
typedef CIcon* CIconPtr;
typedef CIconPtr* CIconHandle;

CIconHandle GetCIcon(SInt16 id);  // null when missing or damaged
// Draws the icon scaled into r of the current port where its mask is set.
void PlotCIcon(const Rect* r, CIconHandle icon);
void DisposeCIcon(CIconHandle icon);
// A colour icon from the stored 'cicn' bytes; null when damaged.
CIconHandle QDColorIconFromStoredBytes(const void* data, Size length);

typedef struct OpaqueIconRef* IconRef;
typedef SInt16 IconAlignmentType;
typedef SInt16 IconTransformType;
typedef UInt32 IconServicesUsageFlags;
enum : SInt16 { kAlignNone = 0, kAlignAbsoluteCenter = 5 };
enum : SInt16 { kTransformNone = 0, kTransformDisabled = 1, kTransformSelected = 0x4000 };
enum : UInt32 { kIconServicesNormalUsageFlag = 0 };
// The label argument of GetIconRefFromFile.
enum : SInt16 { kNoLabel = 0 };

// The icon of a file. An application (an executable or a .desktop entry) gets the icon its
// desktop entry names, looked up in the freedesktop icon theme; anything else, or an
// application without one, gets a generic icon; a folder gets the theme's folder icon (a
// drawn one without a theme). The reference starts with one hold.
OSErr GetIconRefFromFile(const FSSpec* file, IconRef* icon, SInt16* label);
OSErr AcquireIconRef(IconRef icon);
OSErr ReleaseIconRef(IconRef icon);
OSErr PlotIconRef(const Rect* r, IconAlignmentType align, IconTransformType transform,
                  IconServicesUsageFlags usage, IconRef icon);
// How many holds a reference has (tests check balanced acquire/release).
SInt32 IconRefHoldCount(IconRef icon);
