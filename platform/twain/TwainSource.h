// The contract between the data source manager and a data source module.
//
// A module is a shared object in a source folder. It may offer several sources (one per
// device). The manager loads it, hands it the host's memory calls (containers travel in
// the application's handles, so a source must allocate them the application's way), asks
// for its sources and then sends each message with the index of the source it is for.
#pragma once

#include "twain/Twain.h"

// What a source shows in its own settings window, and what the window gives back.
struct TwainSourceWindowInfo {
  TW_STR32 productName;
  TW_UINT16 pixelType;  // TWPT_BW, TWPT_GRAY or TWPT_RGB
  int resolution;
};
// Called once the user chose: `scan` 1 with the pixel type chosen, or 0 when cancelled.
typedef void (*TwainSourceWindowDone)(void* context, int scan, TW_UINT16 pixelType);

struct TwainHost {
  uint32_t size;  // sizeof(TwainHost), so a module can tell what it was given
  Handle (*newHandle)(Size size);
  void (*disposeHandle)(Handle h);
  Size (*handleSize)(Handle h);
  // The program's settings window for a source, or null when it cannot show one (no
  // display, no application). The window stays until closed, and may call `done` often.
  void* (*openSourceWindow)(const TwainSourceWindowInfo* info, TwainSourceWindowDone done, void* context);
  void (*closeSourceWindow)(void* window);
};

extern "C" {
// Fills up to `max` identities (the manager assigns the Id) and returns how many sources
// the module offers now. Called on every fresh listing; `host` stays valid while loaded.
typedef int (*TwainSourceListProc)(const TwainHost* host, TW_IDENTITY* ids, int max);
// One message for the source at `index` of the module's last listing.
typedef TW_UINT16 (*TwainSourceEntryProc)(int index, pTW_IDENTITY origin, TW_UINT32 DG, TW_UINT16 DAT,
                                          TW_UINT16 MSG, TW_MEMREF data);
}

#define TWAIN_SOURCE_LIST_SYMBOL "TwainSourceList"
#define TWAIN_SOURCE_ENTRY_SYMBOL "TwainSourceEntry"

// Source folders beyond `twain/` beside the executable, separated by ':'.
#define TWAIN_SOURCE_PATH_ENV "WX_TWAIN_SOURCES"

constexpr int kTwainMaxSourcesPerModule = 32;
