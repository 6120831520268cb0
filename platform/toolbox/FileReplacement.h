// Writing a file in place of another: the new file is made under a temporary name in the
// target's folder and takes the target's name only once it is complete, so a write that
// fails (a full disk, an I/O error) never costs the file that was there.
#pragma once

#include <functional>
#include <string>

#include "toolbox/Files.h"

struct FSReplacement {
  std::string target;  // Linux paths
  std::string temp;
};

// Every writer's temporary file is hidden and named after the writer's process
// (".wx-new-<pid>-<tag>"), so one that a killed writer left can be told from one being
// written, and removed.

// The path of this process's temporary file `tag` (lower-case letters, then a serial number)
// in `folder`; nothing is made.
std::string FSTempPath(const std::string& folder, const std::string& tag);

// Makes a temporary file (its tag a serial number) beside `target` through `create` (given
// the path; dupFNErr when the name is taken, and the next serial is tried), after removing
// from that folder the temporary files of writers no longer running. Gives the path made.
OSErr FSCreateTempBeside(const std::string& target, const std::function<OSErr(const std::string&)>& create,
                         std::string* temp);
// Removes from `folder` the temporary files whose writer no longer runs.
void FSRemoveStaleTemps(const std::string& folder);

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
