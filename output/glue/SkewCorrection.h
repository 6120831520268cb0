// Straightening a written TIFF page in place: its skew and orientation are detected and
// corrected by the framework, and the corrected page replaces the file.
#pragma once

#include "toolbox/MacTypes.h"

// Corrects `tiffFile` (skew when `option1` is non-zero, orientation when `option2` is) and
// puts the corrected file in its place in one step, then shows note alert 130. 1 when the
// file was replaced; 0 after stop alert 129 (its item, and the framework's status where
// there is one), with the input as it was and no "_correct.tif" file left.
long Func_QSRC_Check(FSSpec& tiffFile, unsigned char option1, unsigned char option2, long codePage);
// `name` up to its first '.' followed by "_correct.tif", length-prefixed, into `out`.
void Change_File_Name(unsigned char* out, unsigned char* name);
