#include "framework/URegistrar.h"

#include <cstdio>
#include <string>
#include <unordered_map>

#include "framework/LException.h"

namespace {

struct Entry {
  ClassCreatorFunc creator;
  ClassIDT parent;
};

std::unordered_map<ClassIDT, Entry>& Registry() {
  static std::unordered_map<ClassIDT, Entry> registry;
  return registry;
}

}  // namespace

void FourCharCodeText(FourCharCode code, char out[7]) {
  out[0] = '\'';
  for (int i = 0; i < 4; ++i) {
    char c = static_cast<char>(code >> (24 - 8 * i));
    out[1 + i] = (c >= 0x20 && c < 0x7F) ? c : '?';
  }
  out[5] = '\'';
  out[6] = '\0';
}

void URegistrar::RegisterClass(ClassIDT classID, ClassCreatorFunc creator, ClassIDT parentID) {
  ThrowIfNil_(creator);
  Registry()[classID] = Entry{creator, parentID == classID ? 0 : parentID};
}

bool URegistrar::IsRegistered(ClassIDT classID) { return Registry().count(classID) != 0; }

ClassIDT URegistrar::GetParentClass(ClassIDT classID) {
  auto found = Registry().find(classID);
  return found == Registry().end() ? 0 : found->second.parent;
}

bool URegistrar::IsDerivedFrom(ClassIDT classID, ClassIDT baseID) {
  // The chain is bounded by the number of entries, so a cycle cannot hang the check.
  for (size_t steps = 0; classID != 0 && steps <= Registry().size(); ++steps) {
    if (classID == baseID) return true;
    classID = GetParentClass(classID);
  }
  return false;
}

SReanimated URegistrar::CreateObject(ClassIDT classID, LStream* stream) {
  auto found = Registry().find(classID);
  if (found == Registry().end()) {
    char text[7];
    FourCharCodeText(classID, text);
    std::string message = std::string("class ") + text + " is not registered";
    throw LException(err_UnknownClass, message.c_str());
  }
  return found->second.creator(stream);
}

void URegistrar::UnregisterAll() { Registry().clear(); }
