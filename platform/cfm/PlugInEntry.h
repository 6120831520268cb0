// How the host and a driver plug-in call each other.
//
// The plug-in exports one entry, PluginMain(selector, parameter block, data, result). The
// parameter block is the big-endian wire record the host fills; where it holds an address
// (host routines, the band of image data) it holds a 32-bit token instead. The plug-in
// resolves and makes tokens through the host services the loader hands it: a plug-in that
// exports `PlugInHost` (a const PlugInHostServices* variable) gets it filled on loading.
#pragma once

#include <cstdint>

extern "C" {
typedef void (*PlugInEntryProc)(short selector, unsigned char* parameterBlock, long* data, short* result);

struct PlugInHostServices {
  uint32_t size;  // sizeof(PlugInHostServices)
  void* (*tokenTarget)(uint32_t token);
  uint32_t (*tokenFor)(void* target);
  void (*tokenRelease)(uint32_t token);
};

// The host routines a token in the parameter block stands for.
typedef unsigned char (*PlugInAbortProc)();
typedef void (*PlugInProgressProc)(long done, long total);
typedef void (*PlugInEventProc)(void* event);
}

#define PLUGIN_ENTRY_SYMBOL "PluginMain"
#define PLUGIN_HOST_SERVICES_SYMBOL "PlugInHost"
