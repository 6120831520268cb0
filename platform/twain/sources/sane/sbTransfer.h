// A page of a SANE source: started when the application first asks about it, then handed
// over in memory blocks of whole rows as sane_read delivers them.
#pragma once

#include "sbSession.h"

TW_UINT16 sbImageInfo(TW_IMAGEINFO* info);
TW_UINT16 sbBlock(TW_IMAGEMEMXFER* xfer);
TW_UINT16 sbEndTransfer(TW_PENDINGXFERS* pending);
// Ends whatever scan is under way.
void sbEndScan();
