// Alias Manager: records that find a file or folder again in a later run, even after it was
// renamed or replaced, and alias files that stand for another item.
//
// The record is our own (big-endian, behind the platform's 6-byte header of user type and
// size): the item's identity on disk (file system, inode, birth time), its folder's ID and
// its full path. An alias file is a file whose Finder flags carry kIsAlias and whose data
// fork holds such a record; a symbolic link is an alias file too.
#pragma once

#include "toolbox/Files.h"

// The record's bytes in a handle (GetHandleSize gives its size).
typedef Handle AliasHandle;

// fnfErr when the target does not exist. `fromFile` may be null.
OSErr NewAlias(const FSSpec* fromFile, const FSSpec* target, AliasHandle* alias);
// Finds the record's item; when it had to be looked for elsewhere than where it was, the
// record is brought up to date and *wasChanged is set. fnfErr when it is gone, paramErr for
// a record that is not one.
OSErr ResolveAlias(const FSSpec* fromFile, AliasHandle alias, FSSpec* target, Boolean* wasChanged);
// When theSpec is an alias file, replaces it with its target (following chains of alias
// files when asked, at most a few links deep). *wasAliased says whether it was one.
OSErr ResolveAliasFile(FSSpec* theSpec, Boolean resolveAliasChains, Boolean* targetIsFolder, Boolean* wasAliased);
