// The scanner-button tags of the function records: a slot k of PREF_SETTING gives tag
// 2000 + k to the function its item names. Item numbers follow the model's kind: on
// four-button models item 8 is File (all five PREF_FILE) and 9 Settings, on the others
// item 8 is Settings and slot 2 gives no tag.
#pragma once

#include <cstdint>

#include "toolbox/RecordAccess.h"

// The tag of function `item`; `setting` holds the Settings tag. 0 for an item naming no function.
uint32_t GetFunctionTag(RecordBytes all, RecordBytes setting, uint32_t item, bool fourButtons);
void SetFunctionTag(RecordBytes all, RecordBytes setting, uint32_t item, bool fourButtons, uint32_t tag);

// Every function record's tag in `all` to 0, the Settings tag excepted.
void ClearFunctionTags(RecordBytes all);

// Each counted slot of `slots` (a PREF_SETTING) gives 2000 + its index to its function.
void AssignSlotTags(RecordBytes all, RecordBytes slots, RecordBytes setting, bool fourButtons);
