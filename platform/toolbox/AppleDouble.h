// The AppleDouble container: the header file "._name" that carries a file's resource fork
// and Finder info beside a file whose data fork is its own (magic 0x00051607, version 2,
// a table of entries of id, offset and length).
#pragma once

#include <string>
#include <vector>

#include "toolbox/MacTypes.h"

enum : UInt32 { kAppleDoubleResourceFork = 2, kAppleDoubleFinderInfo = 9 };

struct AppleDoubleEntry {
  UInt32 id = 0;
  std::vector<uint8_t> bytes;
};

constexpr UInt32 kAppleDoubleMagic = 0x00051607;
constexpr UInt32 kAppleDoubleVersion = 0x00020000;
constexpr size_t kAppleDoubleHeaderSize = 26;  // magic, version, 16 filler bytes, entry count
constexpr size_t kAppleDoubleEntrySize = 12;

// mapReadErr when the bytes are not a whole AppleDouble container.
OSErr AppleDoubleParse(const uint8_t* bytes, size_t size, std::vector<AppleDoubleEntry>* entries);
// Entries are laid out in the order given; put the resource fork last so it may grow.
std::vector<uint8_t> AppleDoubleBuild(const std::vector<AppleDoubleEntry>& entries);

// "dir/._name" for "dir/name".
std::string AppleDoublePathFor(const std::string& path);
