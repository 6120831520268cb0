#include "CopyPageSize.h"

#include "output/formats/tiffRecognition.h"
#include "toolbox/MacErrors.h"

namespace {

constexpr uint32_t kCentimetreUnit = 3;

bool ReadFile(const FSSpec& file, std::vector<unsigned char>* bytes) {
  SInt16 ref = 0;
  if (FSpOpenDF(&file, fsRdPerm, &ref) != noErr) return false;
  long length = 0;
  bool ok = GetEOF(ref, &length) == noErr && length > 0;
  if (ok) {
    bytes->resize(static_cast<size_t>(length));
    long count = length;
    ok = FSRead(ref, &count, bytes->data()) == noErr && count == length;
  }
  FSClose(ref);
  return ok;
}

}  // namespace

bool ReadCopyPageSize(const FSSpec& file, CopyPageSize* out) {
  std::vector<unsigned char> bytes;
  tagIMAGEINFO info{};
  if (!ReadFile(file, &bytes) || Recognition_TIFF(bytes.data(), bytes.size(), &info) != 1) return false;
  double dpi = double(info.XResolutionNumerator) / info.XResolutionDenominator;
  if (info.ResolutionUnit == kCentimetreUnit) dpi *= 2.54;
  *out = {long(info.ImageWidth), long(info.ImageLength), long(dpi)};
  return true;
}

std::vector<CopyPageSize> CopyPageSizes(const std::vector<FSSpec>& files, const std::vector<CopyPageSize>& scanned) {
  if (files.size() == scanned.size()) return scanned;
  std::vector<CopyPageSize> sizes(files.size());
  for (size_t i = 0; i < files.size(); ++i) ReadCopyPageSize(files[i], &sizes[i]);
  return sizes;
}
