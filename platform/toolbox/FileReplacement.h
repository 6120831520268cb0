// Writing a file in place of another: the new file is made under a temporary name in the
// target's folder and takes the target's name only once it is complete, so a write that
// fails (a full disk, an I/O error) never costs the file that was there.
#pragma once

#include <string>

#include "toolbox/Files.h"

struct FSReplacement {
  std::string target;  // Linux paths
  std::string temp;
};

// noErr when the file at `target` (a Linux path) may be replaced, or need not exist;
// dupFNErr for a folder there, fLckdErr for a locked file.
OSErr FSCheckReplaceable(const std::string& target);
// Creates the empty temporary file (type and creator given) beside `target`, which need not
// exist, and gives its FSSpec. Nothing is made when a folder stands at the target's path
// (dupFNErr) or the target is locked (fLckdErr).
OSErr FSpBeginReplacement(const FSSpec* target, OSType creator, OSType type, FSReplacement* replacement, FSSpec* temp);
// The same for the file `name` in the folder `parentRef`, giving the temporary file's FSRef.
OSErr FSBeginReplacementUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name, OSType creator,
                                OSType type, FSReplacement* replacement, FSRef* temp);
// Puts the written (and closed) temporary file in the target's place in one step; the
// temporary file is removed when that fails.
OSErr FSCommitReplacement(FSReplacement* replacement);
// Removes the temporary file: the target stays as it was.
void FSAbandonReplacement(FSReplacement* replacement);
