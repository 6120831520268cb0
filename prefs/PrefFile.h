// The preferences file on disk: whole-file reads, and replacement through a temporary file
// in the same folder so that an interrupted write never leaves a half-written file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "toolbox/MacTypes.h"

constexpr OSType kPrefCreator = 'CTTX';
constexpr OSType kPrefFileType = 0x3F3F3F3F;  // '????'

// The data fork whole, opened with read and write permission, else for reading only (a
// read-only volume, a locked file or one owned by another user still loads); `writeErr`, when
// given, gets the error of the read-and-write open, which the next write would meet. A fork
// of any length but a whole record is refused with eofErr before anything is read.
OSErr PFRead(const FSSpec& spec, std::vector<uint8_t>* data, OSErr* writeErr = nullptr);

// Writes `data` to a writer's hidden temporary file beside `target` (see FileReplacement.h),
// with the type and creator of `target` when it exists, else '????' and 'CTTX'.
OSErr PFWriteTemp(const FSSpec& target, const uint8_t* data, size_t size, FSSpec* temp);
// Puts the written temporary file in place of `target` in one step.
OSErr PFReplace(const FSSpec& temp, const FSSpec& target);
// PFWriteTemp then PFReplace; the temporary file is removed when either fails.
OSErr PFWrite(const FSSpec& target, const uint8_t* data, size_t size);

// Renames `target` to "<name>.damaged", replacing an older one.
OSErr PFMoveAside(const FSSpec& target);

// True for the errors that mean "not allowed" rather than "not there" or "not readable".
bool PFIsPermissionError(OSErr err);

// `spec` with `suffix` appended to its name (cut to 63 characters).
FSSpec PFWithSuffix(const FSSpec& spec, const char* suffix);
