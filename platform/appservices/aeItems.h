// The flat form of lists, records and Apple events inside a descriptor's handle.
//
// A list or record is a run of items: keyword (u32), type (u32), size (u32), data. An Apple
// event is a u32 byte count of its attributes' run, that run, then its parameters' run.
// Numbers are big-endian, so the form can leave the process as it is.
#pragma once

#include <string>
#include <vector>

#include "appservices/AppleEvents.h"

struct aeItem {
  AEKeyword keyword = 0;
  DescType type = typeNull;
  std::vector<UInt8> data;
};

struct aeEventParts {
  std::vector<aeItem> attributes;
  std::vector<aeItem> parameters;
};

// The descriptor's data bytes.
std::vector<UInt8> aeBytes(const AEDesc& desc);
// A new descriptor owning a copy of `bytes`.
OSErr aeMake(DescType type, const std::vector<UInt8>& bytes, AEDesc* result);
// Replaces the descriptor's data.
void aeSetBytes(AEDesc* desc, const std::vector<UInt8>& bytes);

bool aeParseItems(const UInt8* bytes, size_t size, std::vector<aeItem>* items);
std::vector<UInt8> aeFlattenItems(const std::vector<aeItem>& items);
bool aeParseEvent(const AEDesc& event, aeEventParts* parts);
void aeStoreEvent(AppleEvent* event, const aeEventParts& parts);

bool aeIsList(const AEDesc& desc);

// The POSIX path a file descriptor ('fss ', 'alis', 'fsrf', 'furl') names.
OSErr aePathOfDesc(const AEDesc& desc, std::string* path);
// The paths of a file descriptor or of every item of a list of them, in order.
OSErr aePathsOfDesc(const AEDesc& desc, std::vector<std::string>* paths);
