// What the Settings dialog decides about the scanner buttons, as plain functions over the
// dialog's PREF_ALL and its working or saved PREF_SETTING: the model's kind, the slot
// popups' item counts, the tag checks and moves while editing, and the tags derived from
// a copy's slots when it is applied or restored.
#pragma once

#include <array>
#include <cstdint>

#include "toolbox/MacTypes.h"
#include "toolbox/RecordAccess.h"

// 4 for a four-button model of the model table; 7 for every other model, listed or not.
uint32_t ButtonCountOf(ConstStr255Param modelName);
bool IsFourButtonModel(RecordBytes setting);

// Items of slot `slot`'s popup: Settings is item 9 on four-button models, else 8; the
// hidden File popup of the other models lists the first five functions only.
uint32_t SlotMenuItems(bool fourButtons, uint32_t slot);

// The slots of a new model of each kind: Copy, Scan-1, File (four buttons only), Mail.
std::array<uint32_t, 4> DefaultSlots(bool fourButtons);

// Each slot into its popup's items; 0 (no function) stays.
void ClampSlots(RecordBytes setting);

// True when `item` names a function that holds no tag yet.
bool FunctionIsFree(RecordBytes all, RecordBytes working, uint32_t item);

// The tag of the old item's function goes to the new item's; nothing when the old names none.
void MoveTag(RecordBytes all, RecordBytes working, uint32_t newItem, uint32_t oldItem);

// The default assignment of the tags in `all` for a model kind; the Settings tag stays.
void SetDefaultTags(RecordBytes all, bool fourButtons);

// Every tag to 0 (the Settings tag of `setting` too), then each counted slot of `slots`
// gives 2000 + its index to its function, by the kind of `slots`' model.
void DeriveTags(RecordBytes all, RecordBytes slots, RecordBytes setting);

struct PREF_SETTING;

// The closing write: the preferences file's PREF_SETTING becomes `saved` and its tags those
// `saved`'s slots give, through a store that reads the file at this moment, so what short-lived
// stores wrote meanwhile (the folders of a cancelled choice) goes as well.
void WriteSavedSetting(const PREF_SETTING& saved);

// The working model becomes `modelName`: the slots take the new kind's defaults when
// slot 2 does not fit the kind, the Settings tag goes when the kind changed, and the tags
// take the default assignment. True when the button count changed.
bool ChangeModel(RecordBytes all, RecordBytes working, ConstStr255Param modelName);
