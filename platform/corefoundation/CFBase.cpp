#include "corefoundation/CFBase.h"

#include "corefoundation/cfObject.h"

namespace {
CFIndex sLive = 0;
}

CFObject::CFObject(CFTypeID type) : typeID(type) { ++sLive; }
CFObject::~CFObject() { --sLive; }

void cfMakeConstant(CFObject* object) {
  object->holds = 0;
  --sLive;
}

CFHashCode cfHashBytes(const void* bytes, size_t length) {
  CFHashCode hash = 1469598103934665603ull;
  auto* p = static_cast<const unsigned char*>(bytes);
  for (size_t i = 0; i < length; ++i) hash = (hash ^ p[i]) * 1099511628211ull;
  return hash;
}

CFTypeRef CFRetain(CFTypeRef object) {
  auto* o = const_cast<CFObject*>(static_cast<const CFObject*>(object));
  if (o && o->holds > 0) ++o->holds;
  return object;
}

void CFRelease(CFTypeRef object) {
  auto* o = const_cast<CFObject*>(static_cast<const CFObject*>(object));
  if (!o || o->holds == 0) return;
  if (--o->holds == 0) delete o;
}

CFIndex CFGetRetainCount(CFTypeRef object) {
  auto* o = static_cast<const CFObject*>(object);
  if (!o) return 0;
  return o->holds == 0 ? 0x7FFFFFFF : o->holds;
}

CFTypeID CFGetTypeID(CFTypeRef object) { return object ? static_cast<const CFObject*>(object)->typeID : 0; }

Boolean CFEqual(CFTypeRef a, CFTypeRef b) {
  if (a == b) return true;
  auto* x = static_cast<const CFObject*>(a);
  auto* y = static_cast<const CFObject*>(b);
  return x && y && x->typeID == y->typeID && x->Equal(*y);
}

CFHashCode CFHash(CFTypeRef object) { return object ? static_cast<const CFObject*>(object)->Hash() : 0; }

CFIndex CFLiveObjectCount() { return sLive; }
