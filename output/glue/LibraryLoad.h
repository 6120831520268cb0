// The process-wide flag that stands for the correction framework being loaded. The
// framework is linked in; both glues load and unload it only through this flag.
#pragma once

#include <cstdint>

extern uint8_t gLibraryLoaded;

// The framework's plug-in file name, length-prefixed, which both glues load.
inline unsigned char kFrameworkPlugInName[] = "\x12qsrcv2_carbon.shlb";

uint32_t IsLibraryLoad();
// The name of the framework's plug-in file is not used.
long load_library(unsigned char* fileName);
long unload_library();
