// The main window's definition procedure: the whole window is content, shaped by the region
// 'XRGN' 10000, or 10001 (the title strip alone) while it is 100 pixels high or less.
#pragma once

#include "windows/MacWindows.h"

enum : SInt16 { kMainWindowRegion = 10000, kMainWindowTitleRegion = 10001 };

long MainWindowDef(short variant, WindowRef window, short message, long param);
