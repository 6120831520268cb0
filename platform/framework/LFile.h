// A file named by an FSSpec, with its data fork and resource fork opened on demand. The
// fork reference numbers are the File and Resource Managers' own, usable with FSRead,
// FSWrite, SetFPos and UseResFile. Failures throw the manager's OSErr.
#pragma once

#include "framework/FrameworkTypes.h"
#include "toolbox/Aliases.h"
#include "toolbox/Files.h"

class LFile {
 public:
  LFile();
  explicit LFile(const FSSpec& spec);
  LFile(const LFile&) = delete;
  LFile& operator=(const LFile&) = delete;
  virtual ~LFile();  // closes open forks

  void GetSpecifier(FSSpec& outSpec) const { outSpec = mSpec; }
  const FSSpec& GetSpecifier() const { return mSpec; }
  // Closes open forks and names another file.
  virtual void SetSpecifier(const FSSpec& spec);

  // An alias record of the file (relative to `fromFile` when given); the caller disposes of it.
  virtual AliasHandle MakeAlias(const FSSpec* fromFile = nullptr);

  // A new file with an empty resource fork, or with an empty data fork. dupFNErr when the
  // file exists.
  virtual void CreateNewFile(OSType creator, OSType fileType, ScriptCode script = smSystemScript);
  virtual void CreateNewDataFile(OSType creator, OSType fileType, ScriptCode script = smSystemScript);

  virtual SInt16 OpenDataFork(SInt16 permissions);
  virtual void CloseDataFork();
  // The whole data fork in a new handle the caller disposes of. Opens the fork read-only
  // for the call when it is not open.
  virtual Handle ReadDataFork();
  // Replaces the data fork's content with `count` bytes; returns the count written.
  virtual SInt32 WriteDataFork(const void* buffer, SInt32 count);
  SInt16 GetDataForkRefNum() const { return mDataForkRefNum; }

  virtual SInt16 OpenResourceFork(SInt16 permissions);
  virtual void CloseResourceFork();
  // Opens the resource fork, first giving the file one when it has none.
  virtual SInt16 OpenOrCreateResourceFork(SInt16 permissions, OSType creator, OSType fileType,
                                          ScriptCode script = smSystemScript);
  SInt16 GetResourceForkRefNum() const { return mResourceForkRefNum; }

  static constexpr SInt16 refNum_Undefined = -1;

 protected:
  FSSpec mSpec;
  SInt16 mDataForkRefNum = refNum_Undefined;
  SInt16 mResourceForkRefNum = refNum_Undefined;
};
