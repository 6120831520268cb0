// The classic resource-file format, read and written byte for byte: a 16-byte header
// (data offset, map offset, data length, map length), the data area (a 4-byte length before
// each resource), and the map (header copy, next-map handle, file reference, attributes,
// type-list and name-list offsets; the type list; one reference list per type; the names).
//
// The parser checks every offset and count against the bytes it was given, so a damaged or
// truncated file is refused with mapReadErr, never read past its end.
#pragma once

#include <string>
#include <vector>

#include "toolbox/MacTypes.h"

// Resource attributes.
enum : UInt8 {
  resSysHeap = 64,
  resPurgeable = 32,
  resLocked = 16,
  resProtected = 8,
  resPreload = 4,
  resChanged = 2,
};
// Resource-map attributes.
enum : UInt16 { mapReadOnly = 128, mapCompact = 64, mapChanged = 32 };

struct ResRecord {
  ResType type = 0;
  SInt16 id = 0;
  UInt8 attrs = 0;
  bool named = false;
  std::string name;  // bytes in the system script, at most 255
  std::vector<uint8_t> data;
};

struct ResFileImage {
  UInt16 attrs = 0;
  std::vector<ResRecord> records;  // grouped by type, in file order
};

// The header and map layout.
constexpr size_t kResHeaderSize = 16;
constexpr size_t kResDataStart = 256;  // header plus the areas reserved for the system and the application
constexpr size_t kResMapHeaderSize = 28;
constexpr size_t kResTypeEntrySize = 8;
constexpr size_t kResRefEntrySize = 12;

// noErr, or mapReadErr for anything that is not a whole, consistent resource file.
OSErr ResFileParse(const uint8_t* bytes, size_t size, ResFileImage* out);
// Lays the records out (types in order of first appearance) and clears their resChanged
// attribute in the file. addResFailed when the records do not fit the format's fields
// (a name above 255 bytes, more than 16 MiB of data, a map above 64 KiB).
OSErr ResFileBuild(const ResFileImage& image, std::vector<uint8_t>* out);

// 'STR#' contents: a 16-bit count, then Pascal strings.
std::vector<uint8_t> ResStringListBuild(const std::vector<std::string>& items);
// Item `index` (1-based); false when the list has no such item or is damaged before it.
bool ResStringListItem(const uint8_t* data, size_t size, int index, std::string* item);
