// The Copy dialog's custom-magnification dialog (layout 1010): its field "TECN" starts at the
// record's custom percent; OK takes 25 to 400, anything else brings item 12 of string list
// 400 and the nearer bound in the field. Answers 900 (the percent stored) or 901 (unchanged).
#pragma once

#include "framework/LCommander.h"
#include "toolbox/RecordAccess.h"

constexpr SInt32 kCustomScaleLayout = 1010;

SInt32 ShowCustomScaleDialog(LCommander* super, RecordBytes copyRecord);
