#include "corefoundation/CFNumber.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "corefoundation/cfObject.h"

namespace {

struct cfNumber : CFObject {
  cfNumber(bool isFloat, SInt64 i, double d) : CFObject(kCFTypeIDNumber), isFloat(isFloat), integer(i), real(d) {}
  bool Equal(const CFObject& other) const override {
    auto& o = static_cast<const cfNumber&>(other);
    return isFloat || o.isFloat ? AsDouble() == o.AsDouble() : integer == o.integer;
  }
  CFHashCode Hash() const override { return static_cast<CFHashCode>(isFloat ? static_cast<SInt64>(real) : integer); }
  double AsDouble() const { return isFloat ? real : static_cast<double>(integer); }
  const bool isFloat;
  const SInt64 integer;
  const double real;
};

struct cfBoolean : CFObject {
  explicit cfBoolean(bool v) : CFObject(kCFTypeIDBoolean), value(v) { cfMakeConstant(this); }
  const bool value;
};

struct cfDate : CFObject {
  explicit cfDate(double at) : CFObject(kCFTypeIDDate), at(at) {}
  bool Equal(const CFObject& other) const override { return at == static_cast<const cfDate&>(other).at; }
  CFHashCode Hash() const override { return static_cast<CFHashCode>(at); }
  const double at;
};

template <typename T>
bool Store(SInt64 v, void* out) {
  if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max()) return false;
  T t = static_cast<T>(v);
  std::memcpy(out, &t, sizeof t);
  return true;
}

}  // namespace

const CFBooleanRef kCFBooleanTrue = cfRef<CFBooleanRef>(new cfBoolean(true));
const CFBooleanRef kCFBooleanFalse = cfRef<CFBooleanRef>(new cfBoolean(false));

CFTypeID CFNumberGetTypeID() { return kCFTypeIDNumber; }

CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType type, const void* valuePtr) {
  if (!valuePtr) return nullptr;
  switch (type) {
    case kCFNumberSInt8Type: return cfRef<CFNumberRef>(new cfNumber(false, *static_cast<const SInt8*>(valuePtr), 0));
    case kCFNumberSInt16Type: return cfRef<CFNumberRef>(new cfNumber(false, *static_cast<const SInt16*>(valuePtr), 0));
    case kCFNumberSInt32Type: return cfRef<CFNumberRef>(new cfNumber(false, *static_cast<const SInt32*>(valuePtr), 0));
    case kCFNumberSInt64Type: return cfRef<CFNumberRef>(new cfNumber(false, *static_cast<const SInt64*>(valuePtr), 0));
    case kCFNumberFloat64Type:
    case kCFNumberDoubleType: return cfRef<CFNumberRef>(new cfNumber(true, 0, *static_cast<const double*>(valuePtr)));
  }
  return nullptr;
}

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void* valuePtr) {
  const cfNumber* n = cfCast<cfNumber>(number, kCFTypeIDNumber);
  if (!n || !valuePtr) return false;
  if (type == kCFNumberFloat64Type || type == kCFNumberDoubleType) {
    double d = n->AsDouble();
    std::memcpy(valuePtr, &d, sizeof d);
    return !n->isFloat ? static_cast<SInt64>(d) == n->integer : true;
  }
  SInt64 v = n->integer;
  if (n->isFloat) {
    // 2^63 itself is out of range: the largest double below it is the last that fits.
    if (!std::isfinite(n->real) || n->real != std::trunc(n->real) || n->real < -9223372036854775808.0 ||
        n->real >= 9223372036854775808.0)
      return false;
    v = static_cast<SInt64>(n->real);
  }
  switch (type) {
    case kCFNumberSInt8Type: return Store<SInt8>(v, valuePtr);
    case kCFNumberSInt16Type: return Store<SInt16>(v, valuePtr);
    case kCFNumberSInt32Type: return Store<SInt32>(v, valuePtr);
    case kCFNumberSInt64Type: return Store<SInt64>(v, valuePtr);
    default: return false;
  }
}

Boolean CFNumberIsFloatType(CFNumberRef number) {
  const cfNumber* n = cfCast<cfNumber>(number, kCFTypeIDNumber);
  return n && n->isFloat;
}

CFTypeID CFBooleanGetTypeID() { return kCFTypeIDBoolean; }

Boolean CFBooleanGetValue(CFBooleanRef boolean) {
  const cfBoolean* b = cfCast<cfBoolean>(boolean, kCFTypeIDBoolean);
  return b && b->value;
}

CFTypeID CFDateGetTypeID() { return kCFTypeIDDate; }

CFDateRef CFDateCreate(CFAllocatorRef, CFAbsoluteTime at) { return cfRef<CFDateRef>(new cfDate(at)); }

CFAbsoluteTime CFDateGetAbsoluteTime(CFDateRef date) {
  const cfDate* d = cfCast<cfDate>(date, kCFTypeIDDate);
  return d ? d->at : 0;
}
