#include "toolbox/Gestalt.h"

#include <map>

#include "toolbox/MacErrors.h"

namespace {

std::map<OSType, SInt32> builtIn() {
  // The vector unit is there when the build has vector code paths: always on x86-64 and ARM64.
  constexpr SInt32 kVectorUnit = 1 << gestaltPowerPCHasVectorInstructions;
  return {
      {gestaltSystemVersion, 0x1068},
      {gestaltAppearanceAttr, 1},
      {gestaltThreadMgrAttr, 1},
      {gestaltPowerPCProcessorFeatures, kVectorUnit},
  };
}

std::map<OSType, SInt32>& answers() {
  static std::map<OSType, SInt32> table = builtIn();
  return table;
}

}  // namespace

OSErr Gestalt(OSType selector, SInt32* response) {
  auto it = answers().find(selector);
  if (it == answers().end()) return gestaltUndefSelectorErr;
  if (response) *response = it->second;
  return noErr;
}

void GestaltSetValue(OSType selector, SInt32 value) { answers()[selector] = value; }

void GestaltReset() { answers() = builtIn(); }
