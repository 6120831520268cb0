#include "appservices/aeItems.h"

#include <cstring>

#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

namespace {
constexpr size_t kItemHeader = 12;
}

std::vector<UInt8> aeBytes(const AEDesc& desc) {
  if (!desc.dataHandle || !*desc.dataHandle) return {};
  const auto* p = reinterpret_cast<const UInt8*>(*desc.dataHandle);
  return std::vector<UInt8>(p, p + GetHandleSize(desc.dataHandle));
}

OSErr aeMake(DescType type, const std::vector<UInt8>& bytes, AEDesc* result) {
  if (!result) return paramErr;
  result->descriptorType = type;
  result->dataHandle = nullptr;
  if (type == typeNull) return noErr;
  result->dataHandle = NewHandle(static_cast<Size>(bytes.size()));
  if (!result->dataHandle) {
    result->descriptorType = typeNull;
    return memFullErr;
  }
  if (!bytes.empty()) std::memcpy(*result->dataHandle, bytes.data(), bytes.size());
  return noErr;
}

void aeSetBytes(AEDesc* desc, const std::vector<UInt8>& bytes) {
  if (!desc->dataHandle) desc->dataHandle = NewHandle(0);
  SetHandleSize(desc->dataHandle, static_cast<Size>(bytes.size()));
  if (!bytes.empty()) std::memcpy(*desc->dataHandle, bytes.data(), bytes.size());
}

bool aeParseItems(const UInt8* bytes, size_t size, std::vector<aeItem>* items) {
  items->clear();
  size_t at = 0;
  while (at < size) {
    if (size - at < kItemHeader) return false;
    aeItem item;
    item.keyword = BEGetU32(bytes + at);
    item.type = BEGetU32(bytes + at + 4);
    const size_t length = BEGetU32(bytes + at + 8);
    at += kItemHeader;
    if (length > size - at) return false;
    item.data.assign(bytes + at, bytes + at + length);
    at += length;
    items->push_back(std::move(item));
  }
  return true;
}

std::vector<UInt8> aeFlattenItems(const std::vector<aeItem>& items) {
  std::vector<UInt8> out;
  for (const aeItem& item : items) {
    UInt8 header[kItemHeader];
    BEPutU32(header, item.keyword);
    BEPutU32(header + 4, item.type);
    BEPutU32(header + 8, static_cast<uint32_t>(item.data.size()));
    out.insert(out.end(), header, header + kItemHeader);
    out.insert(out.end(), item.data.begin(), item.data.end());
  }
  return out;
}

bool aeParseEvent(const AEDesc& event, aeEventParts* parts) {
  if (event.descriptorType != typeAppleEvent) return false;
  const std::vector<UInt8> bytes = aeBytes(event);
  if (bytes.size() < 4) return false;
  const size_t attributeBytes = BEGetU32(bytes.data());
  if (attributeBytes > bytes.size() - 4) return false;
  return aeParseItems(bytes.data() + 4, attributeBytes, &parts->attributes) &&
         aeParseItems(bytes.data() + 4 + attributeBytes, bytes.size() - 4 - attributeBytes, &parts->parameters);
}

void aeStoreEvent(AppleEvent* event, const aeEventParts& parts) {
  std::vector<UInt8> attributes = aeFlattenItems(parts.attributes);
  std::vector<UInt8> parameters = aeFlattenItems(parts.parameters);
  std::vector<UInt8> bytes(4);
  BEPutU32(bytes.data(), static_cast<uint32_t>(attributes.size()));
  bytes.insert(bytes.end(), attributes.begin(), attributes.end());
  bytes.insert(bytes.end(), parameters.begin(), parameters.end());
  aeSetBytes(event, bytes);
}

bool aeIsList(const AEDesc& desc) { return desc.descriptorType == typeAEList || desc.descriptorType == typeAERecord; }
