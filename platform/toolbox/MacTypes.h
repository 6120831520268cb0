// Basic types of the platform: sized integers, four-character codes, Pascal strings,
// 16.16 fixed point, points and rectangles, and the file specification record.
#pragma once

#include <cstddef>
#include <cstdint>

typedef uint8_t UInt8;
typedef int8_t SInt8;
typedef uint16_t UInt16;
typedef int16_t SInt16;
typedef uint32_t UInt32;
typedef int32_t SInt32;
typedef uint64_t UInt64;
typedef int64_t SInt64;

typedef unsigned char Boolean;
typedef int16_t OSErr;
typedef int32_t OSStatus;
typedef uint32_t FourCharCode;
typedef FourCharCode OSType;
typedef FourCharCode ResType;
typedef int16_t ScriptCode;
typedef uint16_t UniChar;
typedef uint32_t UniCharCount;

// Sizes and addresses are native width: a block above 2 GiB is never truncated.
typedef long Size;
typedef char* Ptr;
typedef Ptr* Handle;

typedef int32_t Fixed;  // 16.16
constexpr Fixed kFixedOne = 0x00010000;
inline Fixed IntToFixed(int v) { return static_cast<Fixed>(static_cast<uint32_t>(v) << 16); }

// Pascal strings: a length byte, then up to N characters.
typedef unsigned char Str255[256];
typedef unsigned char Str63[64];
typedef unsigned char Str32[33];
typedef unsigned char Str31[32];
typedef unsigned char Str27[28];
typedef unsigned char Str15[16];
typedef unsigned char* StringPtr;
typedef const unsigned char* ConstStringPtr;
typedef const unsigned char* ConstStr255Param;
typedef const unsigned char* ConstStr63Param;
typedef const unsigned char* ConstStr31Param;

struct Point {
  int16_t v;
  int16_t h;
};

// QuickDraw order and semantics: top, left, bottom, right; bottom and right lie outside.
struct Rect {
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};

// A file as the platform names it: volume, parent folder, and a name in the system script.
// Stored raw in records as 70 bytes (2 + 4 + 64).
struct FSSpec {
  int16_t vRefNum;
  int32_t parID;
  Str63 name;
};
constexpr size_t kFSSpecRecordSize = 70;

constexpr Boolean kTrue = 1;
constexpr Boolean kFalse = 0;
