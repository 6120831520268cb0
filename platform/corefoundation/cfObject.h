// What every CoreFoundation object shares: its type, its holds, value equality.
#pragma once

#include "corefoundation/CFBase.h"

enum : CFTypeID {
  kCFTypeIDArray = 1,
  kCFTypeIDBoolean,
  kCFTypeIDBundle,
  kCFTypeIDData,
  kCFTypeIDDate,
  kCFTypeIDDictionary,
  kCFTypeIDNumber,
  kCFTypeIDString,
  kCFTypeIDURL,
};

struct CFObject {
  explicit CFObject(CFTypeID type);
  virtual ~CFObject();
  CFObject(const CFObject&) = delete;
  CFObject& operator=(const CFObject&) = delete;

  // `other` has the same type.
  virtual bool Equal(const CFObject& other) const { return this == &other; }
  virtual CFHashCode Hash() const { return reinterpret_cast<CFHashCode>(this); }

  const CFTypeID typeID;
  long holds = 1;  // 0: a constant that is never freed
};

// The object behind `ref` when it has type `type`, else null.
template <typename T>
const T* cfCast(CFTypeRef ref, CFTypeID type) {
  auto* object = static_cast<const CFObject*>(ref);
  return object && object->typeID == type ? static_cast<const T*>(object) : nullptr;
}

// Makes `object` a constant: never freed, not counted among the live objects.
void cfMakeConstant(CFObject* object);

// The reference handed out for `object`.
template <typename Ref>
Ref cfRef(const CFObject* object) {
  return reinterpret_cast<Ref>(object);
}

// FNV-1a over bytes, the hash of every value type.
CFHashCode cfHashBytes(const void* bytes, size_t length);
