#include "tests/output/glue/FakePaginor.h"

#include <cstdlib>
#include <cstring>

#include "output/glue/PATIMGConvert.h"
#include "toolbox/MacErrors.h"

namespace fakepaginor {

State& Get() {
  static State state;
  return state;
}

void Reset() { Get() = State{}; }

std::vector<Call> CallsNamed(const std::string& name) {
  std::vector<Call> found;
  for (const Call& c : Get().calls)
    if (c.name == name) found.push_back(c);
  return found;
}

}  // namespace fakepaginor

using fakepaginor::Get;

namespace {
std::optional<std::string> PathOf(const char* path) {
  return path ? std::optional<std::string>(path) : std::nullopt;
}
}  // namespace

void PaginorSetJPEGEncoder(PaginorJPEGEncoderProc) {}

OSErr QSRC_exmodeset(SInt32 mode, UInt32 languageValue, SInt32 codePageClass) {
  Get().calls.push_back({"exmodeset", {mode, static_cast<long>(languageValue), codePageClass}, std::nullopt});
  return noErr;
}

OSErr QSRC_changepath(const char* path) {
  Get().calls.push_back({"changepath", {}, PathOf(path)});
  return noErr;
}

OSErr QSRC_exopen(const char* outputPath, SInt32 flags, SInt32 reserved) {
  Get().calls.push_back({"exopen", {flags, reserved}, PathOf(outputPath)});
  if (Get().exopenResult == noErr) ++Get().openJobs;
  return Get().exopenResult;
}

OSErr QSRC_spmake(const PATIMG* image, SInt32 reserved) {
  Get().calls.push_back({"spmake", {image->type, reserved}, std::nullopt});
  Get().pages.push_back(*image);
  return image->type == kPATIMGGrey || image->type == kPATIMGBilevel || image->type == kPATIMGColour
             ? OSErr(noErr)
             : OSErr(kPaginorBadImageErr);
}

OSErr QSRC_close(void) {
  Get().calls.push_back({"close", {}, std::nullopt});
  if (Get().openJobs == 0) return kPaginorSequenceErr;
  --Get().openJobs;
  return Get().closeResult;
}

OSErr QSRD_spdetect(const PATIMG*, SInt32* orientation, double* skew) {
  Get().calls.push_back({"spdetect", {orientation != nullptr, skew != nullptr}, std::nullopt});
  if (orientation) *orientation = Get().orientation;
  if (skew) *skew = Get().skew;
  return Get().detectResult;
}

// An exact copy with unpadded rows, as the framework gives for no turn.
OSErr QSRF_spcorrect(const PATIMG* source, PATIMG* result, SInt32 orientation, double skew) {
  Get().calls.push_back({"spcorrect", {orientation, static_cast<long>(skew * 1000)}, std::nullopt});
  if (Get().correctResult != noErr) return Get().correctResult;
  const long row = PATIMGRowLength(source->type, source->width);
  *result = *source;
  result->rowBytes = static_cast<SInt32>(row);
  result->data = static_cast<UInt8*>(std::malloc(static_cast<size_t>(row) * source->height));
  for (SInt32 y = 0; y < source->height; ++y)
    std::memcpy(result->data + y * row, source->data + y * source->rowBytes, static_cast<size_t>(row));
  ++Get().imagesAllocated;
  return noErr;
}

OSErr QSRF_spfreeimage(PATIMG* image) {
  if (image->data) {
    std::free(image->data);
    --Get().imagesAllocated;
  }
  image->data = nullptr;
  return noErr;
}

OSErr VESK_checkHeader(const char* path) {
  Get().calls.push_back({"VESK_checkHeader", {}, PathOf(path)});
  return noErr;
}

OSErr VESK_open(const char* targetPath, SInt32 mode, UInt32* handle) {
  Get().calls.push_back({"VESK_open", {mode}, PathOf(targetPath)});
  *handle = Get().veskOpenResult == noErr ? 1 : 0;
  return Get().veskOpenResult;
}

OSErr VESK_addPDF(UInt32 handle, const char* sourcePath) {
  Get().calls.push_back({"VESK_addPDF", {static_cast<long>(handle)}, PathOf(sourcePath)});
  return Get().veskAddResult;
}

OSErr VESK_close(UInt32* handle) {
  Get().calls.push_back({"VESK_close", {static_cast<long>(*handle)}, std::nullopt});
  *handle = 0;
  return Get().veskCloseResult;
}
