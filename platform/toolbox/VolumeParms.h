// A volume's parameters: whether it is served over a network, from the mount table (the
// system's, or "proc/self/mounts" below WENDRIX_ROOT when a test puts one there).
#pragma once

#include "toolbox/Files.h"

struct GetVolParmsInfoBuffer {
  SInt16 vMVersion;
  SInt32 vMAttrib;
  Handle vMLocalHand;
  SInt32 vMServerAdr;  // non-zero for a network file system, 0 for a local one
  SInt32 vMVolumeGrade;
  SInt16 vMForeignPrivID;
};

struct HIOParam {
  StringPtr ioNamePtr;
  SInt16 ioVRefNum;
  OSErr ioResult;
  Ptr ioBuffer;  // a GetVolParmsInfoBuffer
  SInt32 ioReqCount;
  SInt32 ioActCount;
};
union HParamBlockRec {
  HIOParam ioParam;
};
typedef HParamBlockRec* HParmBlkPtr;

// In: ioVRefNum, ioBuffer, ioReqCount (bytes of the buffer to fill); out: ioActCount.
// nsvErr for an unknown volume.
OSErr PBHGetVolParmsSync(HParmBlkPtr pb);

// True for the file-system types served over a network (NFS, SMB/CIFS, SSHFS and the like).
bool VolIsNetworkType(const std::string& type);
