// The platform's result codes. Callers compare against these exact values.
#pragma once

#include "toolbox/MacTypes.h"

enum : OSErr {
  noErr = 0,
  // File Manager
  dirFulErr = -33,
  dskFulErr = -34,
  nsvErr = -35,
  ioErr = -36,
  bdNamErr = -37,
  fnOpnErr = -38,
  eofErr = -39,
  posErr = -40,
  tmfoErr = -42,
  fnfErr = -43,
  wPrErr = -44,
  fLckdErr = -45,
  vLckdErr = -46,
  fBsyErr = -47,
  dupFNErr = -48,
  opWrErr = -49,
  paramErr = -50,
  rfNumErr = -51,
  permErr = -54,
  wrPermErr = -61,
  dirNFErr = -120,
  notAFileErr = -1302,
  userCanceledErr = -128,
  errFSBadFSRef = -1401,
  errFSBadBuffer = -1404,
  errFSBadForkName = -1405,
  errFSBadIteratorFlags = -1406,
  errFSIteratorNotFound = -1424,
  errFSIteratorNotSupported = -1425,
  errFSNoMoreItems = -1417,
  errFSNameTooLong = -1430,
  afpAccessDenied = -5000,
  // Memory Manager
  memFullErr = -108,
  nilHandleErr = -109,
  memWZErr = -111,
  memLockedErr = -117,
  // Resource Manager
  resNotFound = -192,
  resFNotFound = -193,
  addResFailed = -194,
  rmvResFailed = -196,
  resAttrErr = -198,
  mapReadErr = -199,
  // Process Manager, Code Fragment Manager
  procNotFound = -600,
  cfragNoSymbolErr = -2802,
  // Gestalt
  gestaltUndefSelectorErr = -5551,
};
