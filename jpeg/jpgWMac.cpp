#include "jpeg/jpgWMac.h"

#include "jpeg/complibMac.h"
#include "jpeg/jpgShare.h"
#include "jpeg/jpgWCore.h"

namespace {

int32_t openFile(jpgWContext* ctx, void** context) {
  int32_t status = jpgWriteStartStream(ctx);
  if (status) {
    jpgEpilog(ctx);
    return status;
  }
  *context = ctx;
  return kJpgOK;
}

}  // namespace

int32_t jpgWritePrologToMacOSFile(const FSRef* parentRef, const HFSUniStr255* name, OSType creator, OSType type,
                                  uint32_t, void** context) {
  if (!parentRef || !context) return kJpgBadContext;
  *context = nullptr;
  jpgWContext* ctx = jpgProlog();
  if (!ctx) return kJpgNoMemory;
  if (complibMacCreateFileNameFromFsRef(&ctx->stream.name, parentRef, name, creator, type) != kJpgOK) {
    jpgEpilog(ctx);
    return kJpgNoMemory;
  }
  return openFile(ctx, context);
}

int32_t jpgWritePrologToFile(const FSSpec* spec, OSType creator, OSType type, uint32_t, void** context) {
  if (!spec || !context) return kJpgBadContext;
  *context = nullptr;
  jpgWContext* ctx = jpgProlog();
  if (!ctx) return kJpgNoMemory;
  if (complibMacCreateFileNameFromFsSpec(&ctx->stream.name, spec, creator, type) != kJpgOK) {
    jpgEpilog(ctx);
    return kJpgNoMemory;
  }
  return openFile(ctx, context);
}

int32_t jpgWriteEpilogToFile(void* context) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx || (ctx->flags & kJpgFlagMemoryOutput)) return kJpgBadContext;
  int32_t status = jpgWriteFinishStream(ctx);
  _complibFileName name = ctx->stream.name;
  int32_t released = jpgEpilog(ctx);
  if (status || released) complibDeleteFile(&name);
  complibMacReleaseFileName(&name);
  return status ? status : released;
}
