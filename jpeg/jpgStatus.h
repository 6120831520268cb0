// The encoder's 32-bit statuses: every operation returns one, 0 is success.
#pragma once

#include <cstdint>

enum : int32_t {
  kJpgOK = 0,
  kJpgFailed = static_cast<int32_t>(0xC0000000),          // name unresolved, output already failed
  kJpgBadState = static_cast<int32_t>(0xC0000001),        // not allowed now (no partial output, no frame)
  kJpgFileNotFound = static_cast<int32_t>(0xC0000002),
  kJpgFolderNotFound = static_cast<int32_t>(0xC0000003),
  kJpgCannotLock = static_cast<int32_t>(0xC0000006),      // PixMap pixels cannot be locked
  kJpgNoMemory = static_cast<int32_t>(0xC0000008),        // or the output/context could not be made
  kJpgBadContext = static_cast<int32_t>(0xC0000009),      // null or invalid context, null argument
  kJpgVolumeLocked = static_cast<int32_t>(0xC0000013),
  kJpgSeekFailed = static_cast<int32_t>(0xC0000019),
  kJpgWriteFailed = static_cast<int32_t>(0xC000001D),
  kJpgBadParameter = static_cast<int32_t>(0xC0000057),
  kJpgNotACodec = static_cast<int32_t>(0xC00000FD),       // neither encoder nor decoder context
  kJpgBadSampling = static_cast<int32_t>(0xC00000FE),     // factors that do not divide, bad PixMap depth
  kJpgBadHuffman = static_cast<int32_t>(0xC0000109),
  kJpgCannotOpenOutput = static_cast<int32_t>(0xC0000301),
  kJpgZeroFactor = static_cast<int32_t>(0x800018C0),      // a component's sampling byte has a zero factor
  kJpgMarkerOverrun = static_cast<int32_t>(0xFFFFFFFF),   // marker data beyond the announced length
};
