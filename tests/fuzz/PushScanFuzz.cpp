// Reads arbitrary bytes as a scanner-button event file: whatever is taken must give a
// NUL-terminated device name of at most 31 bytes, and nothing may leak or read past its end.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/PushScanEvents.h"
#include "tests/fuzz/FuzzRoot.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = FuzzScratch("push") + "/event.plist";
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  if (CFDictionaryRef event = loadPushScanInfo(path.c_str())) {
    KVQRInfo info{};
    if (ReadPushScanInfo(event, &info) && std::strlen(info.deviceName) > 31) std::abort();
    CFRelease(event);
  }
  return 0;
}
