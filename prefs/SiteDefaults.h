// The site-defaults file "Vormix50.def.pref" in the Preferences folder: a resource file the
// system only reads. 'dPre' 128 names the scanner model; 'AliS' 5000 to 5003 are aliases of
// the default target applications.
#pragma once

#include "toolbox/MacTypes.h"

// The model name of 'dPre' 128. False when the file or the resource is missing, or the
// resource is too short to hold the name its length byte announces.
bool SDReadModel(Str255 model);

// Resolves alias resource 'AliS' `id` into `target`. False when the file, 'dPre' 128 or the
// alias resource is missing; the result of the resolution itself does not matter, so a stale
// alias still yields the specification the resolution gives.
bool SDResolveAlias(short id, FSSpec* target);

constexpr short kSDModelResID = 128;
constexpr ResType kSDModelResType = 'dPre';
constexpr ResType kSDAliasResType = 'AliS';
// Offset of the model name inside 'dPre' 128.
constexpr long kSDModelOffset = 36;
