// Code fragments: a plug-in's code is loaded whole from its file and called through its
// single entry point. On Linux a fragment is a shared object opened with dlopen.
#pragma once

#include "toolbox/MacTypes.h"

typedef struct OpaqueCFragConnectionID* CFragConnectionID;
typedef UInt32 CFragLoadOptions;

enum : CFragLoadOptions { kReferenceCFrag = 0x0001, kFindCFrag = 0x0002, kPrivateCFragCopy = 0x0005 };
constexpr CFragLoadOptions kLoadCFrag = kReferenceCFrag;
constexpr UInt32 kCFragGoesToEOF = 0;

enum : OSErr {
  cfragConnectionIDErr = -2801,
  cfragNoLibraryErr = -2804,
  cfragFragmentFormatErr = -2806,
};

// Loads the fragment held in `spec`'s data fork. Only a whole fork (offset 0, length
// kCFragGoesToEOF) is a fragment here. The main entry is the shared object's plug-in entry
// (PlugInEntry.h). On failure `errMessage` (may be null) says why.
OSErr GetDiskFragment(const FSSpec* spec, UInt32 offset, UInt32 length, ConstStr63Param fragName,
                      CFragLoadOptions options, CFragConnectionID* connID, Ptr* mainAddr, Str255 errMessage);

// Releases the connection and clears it.
OSErr CloseConnection(CFragConnectionID* connID);
