// A thin layer between the TWAIN connection and the data source manager: the application's
// and the chosen source's identities, the states reached, one call per message, and the
// builders of capability containers. Results are TWAIN return codes; -1 is this layer's
// own refusal.
#pragma once

#include "twain/Twain.h"
#include "windows/Events.h"

unsigned short DSM_Glue_Entry(TW_IDENTITY* origin, TW_IDENTITY* dest, unsigned long group, unsigned short dat,
                              unsigned short msg, char* data);

short TWInitialize(TW_IDENTITY* app);
short TWOpenDSM();
short TWMessageDSM(unsigned long group, unsigned short dat, unsigned short msg, void* data);
short TWSetDS(TW_IDENTITY* source);
short TWOpenDS();
short TWCloseDS();
short TWEnableDS(TW_USERINTERFACE* ui);
short TWDisableDS(TW_USERINTERFACE* ui);
short TWMessageDS(unsigned long group, unsigned short dat, unsigned short msg, void* data);
short TWAcquire(unsigned char showUI);
short ProcessTWMessage(unsigned short msg);
short TWEventDS(EventRecord* event, short* msgOut);
short TWSetDSCapability(unsigned short cap, short value);
short TWSetPixelType(short pixelType);

// Container builders: 0, or -1 when the container's handle cannot be allocated (nothing is
// then to be sent).
short SetupOneValue(TW_CAPABILITY* cap, short type, long value);
short SetupRange(TW_CAPABILITY* cap, short type, long min, long max, long step, long def, long cur);
short SetupEnumeration(TW_CAPABILITY* cap, short type, short count, short current, short def, const unsigned char* items);
short GetItemSize(short type);
void CopyItems(const void* src, void* dst, short type, long count);

// Whether the chosen source is open and enabled, as far as this layer knows.
bool TWIsDSOpen();
bool TWIsDSEnabled();
