// Layout streams: whatever the bytes, building from them ends in the framework's exception
// or in panes that are deleted whole.
#include <cstddef>
#include <cstdint>

#include "display/Display.h"
#include "framework/FrameworkClasses.h"
#include "framework/LDataStream.h"
#include "framework/LException.h"
#include "framework/LPane.h"
#include "framework/UReanimator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = [] {
    DpyUseHeadless();
    RegisterFrameworkClasses();
    return true;
  }();
  (void)ready;
  LDataStream stream(static_cast<const void*>(data), static_cast<SInt32>(size > 0x7FFFFFFF ? 0x7FFFFFFF : size));
  try {
    delete UReanimator::ReadPanes(stream, 0, nullptr);
  } catch (const LException&) {
  }
  return 0;
}
