// Copies a whole offscreen image into a rectangle of the current port, its pixels locked
// around the copy: how the thumbnails and the placed picture draw the page's image.
#pragma once

#include "quickdraw/QuickDraw.h"

class LGWorld;

void CopyImageLocked(LGWorld* image, const Rect& dest, SInt16 mode, RgnHandle mask);
