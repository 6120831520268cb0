// Start-up of the memory services, called by main before the application object exists.
#pragma once

#include "framework/FrameworkTypes.h"

// Sets up the heap with `moreMasters` blocks of master pointers (nothing to prepare here).
void InitializeHeap(SInt16 moreMasters);
