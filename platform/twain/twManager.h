// The data source manager: DSM_Entry (declared in Twain.h) and the protocol's states.
//
// The manager is in state 2 (loaded) or 3 (open); each open source is in state 4 (open),
// 5 (enabled), 6 (transfer ready) or 7 (transferring). A message out of its state is
// refused with failure and the sequence-error condition, which the status message reports.
#pragma once

#include "twain/Twain.h"

// 2 or 3.
int TWManagerState();

// The state of the source with this Id: 0 when it is not open, else 4 to 7.
int TWManagerSourceState(TW_UINT32 sourceId);
