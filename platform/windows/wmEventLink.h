// What the Event Manager and the Window Manager tell each other.
#pragma once

#include "windows/MacWindows.h"

// The Window Manager queues (de)activation; the Event Manager hands the events out.
void evPostActivate(WindowRef window, bool active);
void evForgetWindow(WindowRef window);
// The front-most visible window whose update region is not empty, or null.
WindowRef wmWindowNeedingUpdate();
// Makes sure the display and the screen geometry are set up before the first event.
void wmEnsureDisplay();
