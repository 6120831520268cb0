#include "framework/UQDGlobals.h"

void InitializeHeap(SInt16) {}
