#include "scanner/RawScanFile.h"

#include <cstdio>

#include "toolbox/Clock.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/TextConvert.h"
#include "toolbox/TextUtils.h"

OSErr RawScanFile_Create(const FSSpec& folder, FSSpec* file, SInt16* refNum) {
  // An unset folder would resolve to wherever the process stands: pages there outlive every
  // clean-up of the temporary folder.
  if (folder.vRefNum == 0 && folder.parID == 0 && folder.name[0] == 0) return dirNFErr;
  SInt32 dirID = 0;
  Boolean isDirectory = false;
  OSErr err = FSpGetDirectoryID(&folder, &dirID, &isDirectory);
  if (err != noErr) return err;
  if (!isDirectory) return dirNFErr;
  // A taken name draws again; the step keeps a clock that stands still from repeating a name.
  for (UInt32 attempt = 0; attempt < 100000; ++attempt) {
    char name[16];
    std::snprintf(name, sizeof name, "tmp%05u.dat", static_cast<unsigned>((TickCount() + attempt) % 100000));
    Str255 pname;
    CopyCStringToPascal(name, pname);
    err = FSMakeFSSpec(folder.vRefNum, dirID, pname, file);
    if (err == noErr) continue;
    if (err != fnfErr) return err;
    err = FSpCreate(file, kRawScanCreator, kRawScanType, smSystemScript);
    if (err == dupFNErr) continue;
    if (err != noErr) return err;
    err = FSpOpenDF(file, fsRdWrPerm, refNum);
    if (err != noErr) FSpDelete(file);
    return err;
  }
  return dupFNErr;
}

OSErr RawScanFile_WriteRow(SInt16 refNum, const void* row, long length) {
  long count = length;
  OSErr err = FSWrite(refNum, &count, row);
  if (err == noErr && count != length) err = ioErr;
  if (err != noErr || (length & 1) == 0) return err;
  static const unsigned char kPad = 0;
  count = 1;
  err = FSWrite(refNum, &count, &kPad);
  if (err == noErr && count != 1) return ioErr;
  return err;
}
