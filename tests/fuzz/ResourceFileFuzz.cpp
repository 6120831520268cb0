// Resource files and AppleDouble sidecars come from outside (site defaults, plug-ins): any
// bytes must parse or be refused, and what parses must write back to the same records.
#include <cstdlib>

#include "toolbox/AppleDouble.h"
#include "toolbox/MacErrors.h"
#include "toolbox/ResourceFile.h"

namespace {

void checkResourceFile(const uint8_t* data, size_t size) {
  ResFileImage image;
  if (ResFileParse(data, size, &image) != noErr) return;
  std::string item;
  for (const ResRecord& r : image.records)
    for (int i = 0; i <= 3; ++i) ResStringListItem(r.data.data(), r.data.size(), i, &item);

  std::vector<uint8_t> rebuilt;
  if (ResFileBuild(image, &rebuilt) != noErr) return;
  ResFileImage again;
  if (ResFileParse(rebuilt.data(), rebuilt.size(), &again) != noErr || again.records.size() != image.records.size())
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  checkResourceFile(data, size);
  std::vector<AppleDoubleEntry> entries;
  if (AppleDoubleParse(data, size, &entries) == noErr)
    for (const AppleDoubleEntry& e : entries)
      if (e.id == kAppleDoubleResourceFork) checkResourceFile(e.bytes.data(), e.bytes.size());
  return 0;
}
