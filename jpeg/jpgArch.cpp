#include "jpeg/jpgArch.h"

#include "jpeg/jpgWDCTA.h"
#include "jpeg/jpgWVLC.h"
#include "toolbox/Gestalt.h"
#include "toolbox/MacErrors.h"

uint32_t jpgGetProcessorArchitecture() {
  SInt32 features = 0;
  if (Gestalt(gestaltPowerPCProcessorFeatures, &features) != noErr) return 0;
  return (features & (1 << gestaltPowerPCHasVectorInstructions)) ? kJpgArchVector : 0;
}

int32_t jpgGetProcessorArchitectureFlagCaps(uint32_t, uint32_t* word) {
  if (!word) return kJpgBadContext;
  *word = jpgGetProcessorArchitecture();
  return kJpgOK;
}

void jpgSetArchitecture(jpgWContext* ctx, uint32_t mask) {
  ctx->architecture = jpgGetProcessorArchitecture() & mask;
  ctx->writeMCU = jpgGetWriteMCUFunc(kJpgSelectorBaseline, ctx->architecture);
  ctx->writeMCU2 = jpgGetWriteMCUFunc(kJpgSelectorBaseline2, ctx->architecture);
  ctx->fdct = jpgGetWriteFDCTFunc(kJpgSelectorBaseline, ctx->architecture, ctx->flags);
  ctx->coder.dctMethod = static_cast<int32_t>((ctx->flags & kJpgFlagDCTMethodMask) >> kJpgFlagDCTMethodShift);
}

int32_t jpgSetProcessorArchitectureFlag(void* context, uint32_t mask) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx) return kJpgBadContext;
  if (ctx->flags & kJpgFlagEncoder) {
    jpgSetArchitecture(ctx, mask);
    return kJpgOK;
  }
  if (ctx->flags & kJpgFlagDecoder) return jpgReadSetProcessorArchitectureFlag(context, mask);
  return kJpgNotACodec;
}

int32_t jpgGetProcessorArchitectureFlag(void* context, uint32_t* word) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx || !word) return kJpgBadContext;
  *word = ctx->architecture;
  return kJpgOK;
}

int32_t jpgSetDCTMethodFlag(void* context, int32_t method) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx) return kJpgBadContext;
  if (method < 0 || method > 2 || (method == 2 && (ctx->flags & kJpgFlagEncoder))) return kJpgBadParameter;
  ctx->flags = (ctx->flags & ~kJpgFlagDCTMethodMask) | (static_cast<uint32_t>(method) << kJpgFlagDCTMethodShift);
  jpgSetArchitecture(ctx, ctx->architecture);
  return kJpgOK;
}

int32_t jpgGetDCTMethodFlag(void* context, int32_t* method) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx || !method) return kJpgBadContext;
  *method = static_cast<int32_t>((ctx->flags & kJpgFlagDCTMethodMask) >> kJpgFlagDCTMethodShift);
  return kJpgOK;
}

bool jpgHaveSSSE3() {
#if defined(JPG_HAVE_SSSE3_KERNELS)
  static const bool has = __builtin_cpu_supports("ssse3");
  return has;
#else
  return false;
#endif
}

jpgWriteMCUFunc jpgGetWriteMCUFunc(int32_t selector, uint32_t architecture) {
  jpgWriteMCUFunc plain = jpgGetWriteMCUGenericFunc(selector, architecture);
  return (architecture & kJpgArchVector) ? writeBaseLineMCU_Altivec : plain;
}

jpgFDCTFunc jpgGetWriteFDCTFunc(int32_t selector, uint32_t architecture, uint32_t flags) {
  if (selector != kJpgSelectorBaseline || architecture == 0) return nullptr;
  switch ((flags & kJpgFlagDCTMethodMask) >> kJpgFlagDCTMethodShift) {
    case 0:
#if defined(JPG_HAVE_SSSE3_KERNELS)
      if (jpgHaveSSSE3()) return jpgWriteForwardDCT_AltiVec_Short_SSSE3;
#endif
      return jpgWriteForwardDCT_AltiVec_Short;
    case 1: return jpgWriteForwardDCT_AltiVec_Float;
    default: return nullptr;
  }
}
