#include "jpeg/jpgArch.h"

#include "jpeg/jpgWClr.h"
#include "jpeg/jpgWClrA.h"
#include "jpeg/jpgWDCTA.h"
#include "jpeg/jpgWVLC.h"
#include "toolbox/Gestalt.h"
#include "toolbox/MacErrors.h"

namespace {

#if defined(__SSE2__)
constexpr const char* kBaseVectorName = "sse2";
#elif defined(__ARM_NEON)
constexpr const char* kBaseVectorName = "neon";
#else
constexpr const char* kBaseVectorName = "vector";
#endif

const jpgKernelSet kBaseVectorKernels = {kBaseVectorName, jpgWriteForwardDCT_AltiVec_Short, nullptr,
                                         jpgWriteForwardDCT_AltiVec_Float, AltiVecYUVRows, nullptr,
                                         jpgWriteQuantise_AltiVec, jpgWriteCodeBlocks_AltiVec, nullptr, nullptr};

#if defined(JPG_HAVE_SSSE3_KERNELS)
const jpgKernelSet kSSSE3Kernels = {"ssse3", jpgWriteForwardDCT_AltiVec_Short_SSSE3, nullptr,
                                    jpgWriteForwardDCT_AltiVec_Float, jpgYUVRows_SSSE3, nullptr,
                                    jpgWriteQuantise_AltiVec, jpgWriteCodeBlocks_AltiVec, nullptr, nullptr};
#endif

#if defined(JPG_HAVE_AVX2_KERNELS)
// SSSE3's single-block transforms, with block pairs, the colour conversion (of rows, and of
// whole MCUs straight into their blocks), the quantiser and block coder in sixteen lanes, and
// grey block pairs taken from the picture, and whole MCUs, through the transform, quantiser
// and coder in one call.
const jpgKernelSet kAVX2Kernels = {"avx2",
                                   jpgWriteForwardDCT_AltiVec_Short_SSSE3,
                                   jpgWriteForwardDCT2_AltiVec_Short_AVX2,
                                   jpgWriteForwardDCT_AltiVec_Float,
                                   jpgYUVRows_AVX2,
                                   jpgYUVMCU_AVX2,
                                   jpgWriteQuantise_AVX2,
                                   jpgWriteCodeBlocks_AVX2,
                                   jpgWriteCodeGreyPairs_AVX2,
                                   jpgWriteCodeMCU_AVX2};
#endif

int32_t dctMethodOf(uint32_t flags) { return static_cast<int32_t>((flags & kJpgFlagDCTMethodMask) >> kJpgFlagDCTMethodShift); }

}  // namespace

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

const jpgKernelSet* jpgGetVectorKernelSet() {
#if defined(JPG_HAVE_AVX2_KERNELS)
  static const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("ssse3");
  if (avx2) return &kAVX2Kernels;
#endif
#if defined(JPG_HAVE_SSSE3_KERNELS)
  static const bool ssse3 = __builtin_cpu_supports("ssse3");
  if (ssse3) return &kSSSE3Kernels;
#endif
  return &kBaseVectorKernels;
}

void jpgSelectKernels(jpgWContext* ctx, uint32_t mask) {
  ctx->architecture = jpgGetProcessorArchitecture() & mask;
  ctx->kernels = (ctx->architecture & kJpgArchVector) ? jpgGetVectorKernelSet() : nullptr;
  ctx->writeMCU = jpgGetWriteMCUFunc(kJpgSelectorBaseline, ctx->architecture);
  ctx->writeMCU2 = jpgGetWriteMCUFunc(kJpgSelectorBaseline2, ctx->architecture);
  ctx->fdct = jpgGetWriteFDCTFunc(kJpgSelectorBaseline, ctx->architecture, ctx->flags);
  ctx->fdctPair = ctx->kernels && ctx->fdct == ctx->kernels->fdctShort ? ctx->kernels->fdctShortPair : nullptr;
  ctx->coder.dctMethod = dctMethodOf(ctx->flags);
  // A frame already under way keeps its preparation in step with the kernels.
  if (ctx->state == kJpgStateCoding) ctx->prepare = jpgGetWriteColorConvertFunc(ctx);
}

int32_t jpgSetProcessorArchitectureFlag(void* context, uint32_t mask) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx) return kJpgBadContext;
  if (ctx->flags & kJpgFlagEncoder) {
    jpgSelectKernels(ctx, mask);
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
  jpgSelectKernels(ctx, ctx->architecture);
  return kJpgOK;
}

int32_t jpgGetDCTMethodFlag(void* context, int32_t* method) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx || !method) return kJpgBadContext;
  *method = dctMethodOf(ctx->flags);
  return kJpgOK;
}

jpgWriteMCUFunc jpgGetWriteMCUFunc(int32_t selector, uint32_t architecture) {
  jpgWriteMCUFunc plain = jpgGetWriteMCUGenericFunc(selector, architecture);
  return (architecture & kJpgArchVector) ? writeBaseLineMCU_Altivec : plain;
}

jpgFDCTFunc jpgGetWriteFDCTFunc(int32_t selector, uint32_t architecture, uint32_t flags) {
  if (selector != kJpgSelectorBaseline || architecture == 0) return nullptr;
  switch (dctMethodOf(flags)) {
    case 0: return jpgGetVectorKernelSet()->fdctShort;
    case 1: return jpgGetVectorKernelSet()->fdctFloat;
    default: return nullptr;
  }
}
