#include "appservices/AppleEvents.h"

#include <cstring>

#include "appservices/aeItems.h"
#include "toolbox/Aliases.h"
#include "toolbox/FilePaths.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"
#include "toolbox/TextConvert.h"

namespace {

std::vector<UInt8> BytesOf(const void* data, Size size) {
  if (!data || size <= 0) return {};
  const auto* p = static_cast<const UInt8*>(data);
  return std::vector<UInt8>(p, p + size);
}

// Copies a descriptor's bytes out as the Ptr calls do.
OSErr CopyOut(const AEDesc& desc, DescType* typeCode, void* dataPtr, Size maximumSize, Size* actualSize) {
  const std::vector<UInt8> bytes = aeBytes(desc);
  if (typeCode) *typeCode = desc.descriptorType;
  if (actualSize) *actualSize = static_cast<Size>(bytes.size());
  if (dataPtr && maximumSize > 0) std::memcpy(dataPtr, bytes.data(), std::min<size_t>(bytes.size(), static_cast<size_t>(maximumSize)));
  return noErr;
}

// The items of a list or record descriptor.
OSErr ItemsOf(const AEDescList* list, std::vector<aeItem>* items) {
  if (!list || !aeIsList(*list)) return errAEWrongDataType;
  const std::vector<UInt8> bytes = aeBytes(*list);
  return aeParseItems(bytes.data(), bytes.size(), items) ? OSErr(noErr) : OSErr(errAECorruptData);
}

// A copy of `item` coerced to `desiredType` (typeWildCard: as it is).
OSErr ItemDesc(const aeItem& item, DescType desiredType, AEDesc* result) {
  AEDesc raw;
  OSErr err = aeMake(item.type, item.data, &raw);
  if (err != noErr) return err;
  if (desiredType == typeWildCard || desiredType == item.type) {
    *result = raw;
    return noErr;
  }
  err = AECoerceDesc(&raw, desiredType, result);
  AEDisposeDesc(&raw);
  return err;
}

OSErr ItemPtr(const aeItem& item, DescType desiredType, DescType* typeCode, void* dataPtr, Size maximumSize,
              Size* actualSize) {
  AEDesc desc;
  OSErr err = ItemDesc(item, desiredType, &desc);
  if (err != noErr) return err;
  err = CopyOut(desc, typeCode, dataPtr, maximumSize, actualSize);
  AEDisposeDesc(&desc);
  return err;
}

aeItem MakeItem(AEKeyword keyword, DescType type, std::vector<UInt8> bytes) {
  aeItem item;
  item.keyword = keyword;
  item.type = type;
  item.data = std::move(bytes);
  return item;
}

// Replaces the item with `keyword`, or adds it.
void PutKeyed(std::vector<aeItem>& items, aeItem item) {
  for (aeItem& existing : items)
    if (existing.keyword == item.keyword) {
      existing = std::move(item);
      return;
    }
  items.push_back(std::move(item));
}

const aeItem* FindKeyed(const std::vector<aeItem>& items, AEKeyword keyword) {
  for (const aeItem& item : items)
    if (item.keyword == keyword) return &item;
  return nullptr;
}

// -1 false, 1 true, 0 not a Boolean.
int BooleanOf(DescType type, const std::vector<UInt8>& bytes) {
  switch (type) {
    case typeTrue: return 1;
    case typeFalse: return -1;
    case typeBoolean:
      return bytes.size() == 1 ? (bytes[0] ? 1 : -1) : 0;
    case typeSInt16:
      return bytes.size() == 2 ? (BEGetU16(bytes.data()) ? 1 : -1) : 0;
    case typeSInt32:
      return bytes.size() == 4 ? (BEGetU32(bytes.data()) ? 1 : -1) : 0;
    case typeType:
    case 'enum':
      if (bytes.size() != 4) return 0;
      if (BEGetU32(bytes.data()) == typeTrue) return 1;
      if (BEGetU32(bytes.data()) == typeFalse) return -1;
      return 0;
    default:
      return 0;
  }
}

bool IsFileType(DescType type) { return type == typeFSS || type == typeAlias || type == typeFSRef || type == typeFileURL; }

OSErr FileDescFor(const std::string& path, DescType toType, AEDesc* result) {
  switch (toType) {
    case typeFSS: {
      FSSpec spec{};
      OSErr err = FSpMakeFromPOSIXPath(path, &spec);
      if (err != noErr) return err;
      std::vector<UInt8> bytes(kFSSpecRecordSize);
      RecordBytes(bytes.data(), bytes.size()).setFSSpec(0, spec);
      return aeMake(typeFSS, bytes, result);
    }
    case typeAlias: {
      FSSpec spec{};
      OSErr err = FSpMakeFromPOSIXPath(path, &spec);
      AliasHandle alias = nullptr;
      if (err == noErr) err = NewAlias(nullptr, &spec, &alias);
      if (err != noErr) return err;
      auto handle = reinterpret_cast<Handle>(alias);
      err = aeMake(typeAlias, BytesOf(*handle, GetHandleSize(handle)), result);
      DisposeHandle(handle);
      return err;
    }
    case typeFSRef: {
      FSRef ref;
      OSStatus err = FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr);
      if (err != noErr) return static_cast<OSErr>(err);
      return aeMake(typeFSRef, BytesOf(&ref, sizeof ref), result);
    }
    default: {
      const std::string url = FpFileURL(path);
      return aeMake(typeFileURL, std::vector<UInt8>(url.begin(), url.end()), result);
    }
  }
}

}  // namespace

void AEInitializeDesc(AEDesc* desc) {
  if (!desc) return;
  desc->descriptorType = typeNull;
  desc->dataHandle = nullptr;
}

OSErr AECreateDesc(DescType typeCode, const void* dataPtr, Size dataSize, AEDesc* result) {
  if (dataSize < 0 || (!dataPtr && dataSize > 0)) return paramErr;
  return aeMake(typeCode, BytesOf(dataPtr, dataSize), result);
}

OSErr AEDisposeDesc(AEDesc* desc) {
  if (!desc) return paramErr;
  if (desc->dataHandle) DisposeHandle(desc->dataHandle);
  AEInitializeDesc(desc);
  return noErr;
}

OSErr AEDuplicateDesc(const AEDesc* desc, AEDesc* result) {
  if (!desc || !result) return paramErr;
  return aeMake(desc->descriptorType, aeBytes(*desc), result);
}

Size AEGetDescDataSize(const AEDesc* desc) { return desc && desc->dataHandle ? GetHandleSize(desc->dataHandle) : 0; }

OSErr AEGetDescData(const AEDesc* desc, void* dataPtr, Size maximumSize) {
  if (!desc) return paramErr;
  return CopyOut(*desc, nullptr, dataPtr, maximumSize, nullptr);
}

OSErr AECoerceDesc(const AEDesc* desc, DescType toType, AEDesc* result) {
  if (!desc || !result) return paramErr;
  AEInitializeDesc(result);
  const DescType from = desc->descriptorType;
  if (from == typeNull) return errAECoercionFail;
  if (from == toType || toType == typeWildCard) return AEDuplicateDesc(desc, result);
  const std::vector<UInt8> bytes = aeBytes(*desc);

  if (from == typeAEList) {
    std::vector<aeItem> items;
    if (!aeParseItems(bytes.data(), bytes.size(), &items) || items.size() != 1) return errAECoercionFail;
    return ItemDesc(items[0], toType, result) == noErr ? OSErr(noErr) : OSErr(errAECoercionFail);
  }
  if (toType == typeBoolean) {
    const int value = BooleanOf(from, bytes);
    if (value == 0) return errAECoercionFail;
    const UInt8 b = value > 0 ? 1 : 0;
    return AECreateDesc(typeBoolean, &b, 1, result);
  }
  if ((toType == typeSInt32 || toType == typeSInt16) && (from == typeBoolean || from == typeTrue || from == typeFalse)) {
    const int value = BooleanOf(from, bytes);
    if (value == 0) return errAECoercionFail;
    std::vector<UInt8> out(toType == typeSInt32 ? 4 : 2, 0);
    out.back() = value > 0 ? 1 : 0;
    return aeMake(toType, out, result);
  }
  if ((from == typeChar && toType == typeUTF8Text) || (from == typeUTF8Text && toType == typeChar)) {
    const std::string text(bytes.begin(), bytes.end());
    std::string out;
    const bool ok = from == typeChar ? ScriptToUTF8(text, &out) : UTF8ToScript(text, &out);
    if (!ok) return errAECoercionFail;
    return aeMake(toType, std::vector<UInt8>(out.begin(), out.end()), result);
  }
  if (IsFileType(from) && IsFileType(toType)) {
    std::string path;
    if (aePathOfDesc(*desc, &path) != noErr) return errAECoercionFail;
    return FileDescFor(path, toType, result) == noErr ? OSErr(noErr) : OSErr(errAECoercionFail);
  }
  return errAECoercionFail;
}

OSErr AECoercePtr(DescType typeCode, const void* dataPtr, Size dataSize, DescType toType, AEDesc* result) {
  AEDesc desc;
  OSErr err = AECreateDesc(typeCode, dataPtr, dataSize, &desc);
  if (err != noErr) return err;
  err = AECoerceDesc(&desc, toType, result);
  AEDisposeDesc(&desc);
  return err;
}

// ---- Lists and records ----------------------------------------------------------------------

OSErr AECreateList(const void*, Size, Boolean isRecord, AEDescList* resultList) {
  return aeMake(isRecord ? typeAERecord : typeAEList, {}, resultList);
}

OSErr AECountItems(const AEDescList* list, long* count) {
  std::vector<aeItem> items;
  OSErr err = ItemsOf(list, &items);
  if (err == noErr && count) *count = static_cast<long>(items.size());
  return err;
}

OSErr AEPutPtr(AEDescList* list, long index, DescType typeCode, const void* dataPtr, Size dataSize) {
  std::vector<aeItem> items;
  OSErr err = ItemsOf(list, &items);
  if (err != noErr) return err;
  if (index < 0 || index > static_cast<long>(items.size()) + 1) return errAEBadListItem;
  aeItem item = MakeItem(0, typeCode, BytesOf(dataPtr, dataSize));
  if (index == 0 || index == static_cast<long>(items.size()) + 1)
    items.push_back(std::move(item));
  else
    items[static_cast<size_t>(index - 1)] = std::move(item);
  aeSetBytes(list, aeFlattenItems(items));
  return noErr;
}

OSErr AEPutDesc(AEDescList* list, long index, const AEDesc* desc) {
  if (!desc) return paramErr;
  const std::vector<UInt8> bytes = aeBytes(*desc);
  return AEPutPtr(list, index, desc->descriptorType, bytes.data(), static_cast<Size>(bytes.size()));
}

OSErr AEGetNthPtr(const AEDescList* list, long index, DescType desiredType, AEKeyword* keyword, DescType* typeCode,
                  void* dataPtr, Size maximumSize, Size* actualSize) {
  std::vector<aeItem> items;
  OSErr err = ItemsOf(list, &items);
  if (err != noErr) return err;
  if (index < 1 || index > static_cast<long>(items.size())) return errAEBadListItem;
  const aeItem& item = items[static_cast<size_t>(index - 1)];
  if (keyword) *keyword = item.keyword;
  return ItemPtr(item, desiredType, typeCode, dataPtr, maximumSize, actualSize);
}

OSErr AEGetNthDesc(const AEDescList* list, long index, DescType desiredType, AEKeyword* keyword, AEDesc* result) {
  AEInitializeDesc(result);
  std::vector<aeItem> items;
  OSErr err = ItemsOf(list, &items);
  if (err != noErr) return err;
  if (index < 1 || index > static_cast<long>(items.size())) return errAEBadListItem;
  const aeItem& item = items[static_cast<size_t>(index - 1)];
  if (keyword) *keyword = item.keyword;
  return ItemDesc(item, desiredType, result);
}

OSErr AEDeleteItem(AEDescList* list, long index) {
  std::vector<aeItem> items;
  OSErr err = ItemsOf(list, &items);
  if (err != noErr) return err;
  if (index < 1 || index > static_cast<long>(items.size())) return errAEBadListItem;
  items.erase(items.begin() + (index - 1));
  aeSetBytes(list, aeFlattenItems(items));
  return noErr;
}

OSErr AEPutKeyPtr(AERecord* record, AEKeyword keyword, DescType typeCode, const void* dataPtr, Size dataSize) {
  std::vector<aeItem> items;
  OSErr err = ItemsOf(record, &items);
  if (err != noErr) return err;
  PutKeyed(items, MakeItem(keyword, typeCode, BytesOf(dataPtr, dataSize)));
  aeSetBytes(record, aeFlattenItems(items));
  return noErr;
}

OSErr AEPutKeyDesc(AERecord* record, AEKeyword keyword, const AEDesc* desc) {
  if (!desc) return paramErr;
  const std::vector<UInt8> bytes = aeBytes(*desc);
  return AEPutKeyPtr(record, keyword, desc->descriptorType, bytes.data(), static_cast<Size>(bytes.size()));
}

OSErr AEGetKeyPtr(const AERecord* record, AEKeyword keyword, DescType desiredType, DescType* typeCode, void* dataPtr,
                  Size maximumSize, Size* actualSize) {
  std::vector<aeItem> items;
  OSErr err = ItemsOf(record, &items);
  if (err != noErr) return err;
  const aeItem* item = FindKeyed(items, keyword);
  return item ? ItemPtr(*item, desiredType, typeCode, dataPtr, maximumSize, actualSize) : OSErr(errAEDescNotFound);
}

OSErr AEGetKeyDesc(const AERecord* record, AEKeyword keyword, DescType desiredType, AEDesc* result) {
  AEInitializeDesc(result);
  std::vector<aeItem> items;
  OSErr err = ItemsOf(record, &items);
  if (err != noErr) return err;
  const aeItem* item = FindKeyed(items, keyword);
  return item ? ItemDesc(*item, desiredType, result) : OSErr(errAEDescNotFound);
}

// ---- Apple events ---------------------------------------------------------------------------

OSErr AECreateAppleEvent(AEEventClass eventClass, AEEventID eventID, const AEAddressDesc* target, AEReturnID returnID,
                         AETransactionID transactionID, AppleEvent* result) {
  if (!result) return paramErr;
  static SInt16 sNextReturnID = 1;
  aeEventParts parts;
  std::vector<UInt8> word(4);
  BEPutU32(word.data(), eventClass);
  parts.attributes.push_back(MakeItem(keyEventClassAttr, typeType, word));
  BEPutU32(word.data(), eventID);
  parts.attributes.push_back(MakeItem(keyEventIDAttr, typeType, word));
  if (returnID == kAutoGenerateReturnID) returnID = sNextReturnID++;
  std::vector<UInt8> shortWord(2);
  BEPutU16(shortWord.data(), static_cast<UInt16>(returnID));
  parts.attributes.push_back(MakeItem(keyReturnIDAttr, typeSInt16, shortWord));
  BEPutU32(word.data(), static_cast<UInt32>(transactionID));
  parts.attributes.push_back(MakeItem(keyTransactionIDAttr, typeSInt32, word));
  if (target && target->descriptorType != typeNull)
    parts.attributes.push_back(MakeItem(keyAddressAttr, target->descriptorType, aeBytes(*target)));
  OSErr err = aeMake(typeAppleEvent, {}, result);
  if (err == noErr) aeStoreEvent(result, parts);
  return err;
}

namespace {

enum class Part { kAttribute, kParameter };

OSErr PutPart(AppleEvent* event, Part part, AEKeyword keyword, DescType typeCode, const void* dataPtr, Size dataSize) {
  aeEventParts parts;
  if (!event || !aeParseEvent(*event, &parts)) return errAENotAppleEvent;
  PutKeyed(part == Part::kAttribute ? parts.attributes : parts.parameters,
           MakeItem(keyword, typeCode, BytesOf(dataPtr, dataSize)));
  aeStoreEvent(event, parts);
  return noErr;
}

OSErr FindPart(const AppleEvent* event, Part part, AEKeyword keyword, aeItem* out) {
  aeEventParts parts;
  if (!event || !aeParseEvent(*event, &parts)) return errAENotAppleEvent;
  const aeItem* item = FindKeyed(part == Part::kAttribute ? parts.attributes : parts.parameters, keyword);
  if (!item) return errAEDescNotFound;
  *out = *item;
  return noErr;
}

}  // namespace

OSErr AEPutParamPtr(AppleEvent* event, AEKeyword keyword, DescType typeCode, const void* dataPtr, Size dataSize) {
  return PutPart(event, Part::kParameter, keyword, typeCode, dataPtr, dataSize);
}

OSErr AEPutParamDesc(AppleEvent* event, AEKeyword keyword, const AEDesc* desc) {
  if (!desc) return paramErr;
  const std::vector<UInt8> bytes = aeBytes(*desc);
  return AEPutParamPtr(event, keyword, desc->descriptorType, bytes.data(), static_cast<Size>(bytes.size()));
}

OSErr AEGetParamPtr(const AppleEvent* event, AEKeyword keyword, DescType desiredType, DescType* typeCode,
                    void* dataPtr, Size maximumSize, Size* actualSize) {
  aeItem item;
  OSErr err = FindPart(event, Part::kParameter, keyword, &item);
  return err == noErr ? ItemPtr(item, desiredType, typeCode, dataPtr, maximumSize, actualSize) : err;
}

OSErr AEGetParamDesc(const AppleEvent* event, AEKeyword keyword, DescType desiredType, AEDesc* result) {
  AEInitializeDesc(result);
  aeItem item;
  OSErr err = FindPart(event, Part::kParameter, keyword, &item);
  return err == noErr ? ItemDesc(item, desiredType, result) : err;
}

OSErr AEPutAttributePtr(AppleEvent* event, AEKeyword keyword, DescType typeCode, const void* dataPtr, Size dataSize) {
  return PutPart(event, Part::kAttribute, keyword, typeCode, dataPtr, dataSize);
}

OSErr AEPutAttributeDesc(AppleEvent* event, AEKeyword keyword, const AEDesc* desc) {
  if (!desc) return paramErr;
  const std::vector<UInt8> bytes = aeBytes(*desc);
  return AEPutAttributePtr(event, keyword, desc->descriptorType, bytes.data(), static_cast<Size>(bytes.size()));
}

OSErr AEGetAttributePtr(const AppleEvent* event, AEKeyword keyword, DescType desiredType, DescType* typeCode,
                        void* dataPtr, Size maximumSize, Size* actualSize) {
  aeItem item;
  OSErr err = FindPart(event, Part::kAttribute, keyword, &item);
  return err == noErr ? ItemPtr(item, desiredType, typeCode, dataPtr, maximumSize, actualSize) : err;
}

OSErr AEGetAttributeDesc(const AppleEvent* event, AEKeyword keyword, DescType desiredType, AEDesc* result) {
  AEInitializeDesc(result);
  aeItem item;
  OSErr err = FindPart(event, Part::kAttribute, keyword, &item);
  return err == noErr ? ItemDesc(item, desiredType, result) : err;
}
