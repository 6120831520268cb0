// Processor selection: whether the vector unit is used, and which MCU coder and forward DCT
// follow from that and the DCT method.
#pragma once

#include <cstdint>

#include "jpeg/jpgShare.h"

// 0x100 when Gestalt reports vector instructions, else 0.
uint32_t jpgGetProcessorArchitecture();
int32_t jpgGetProcessorArchitectureFlagCaps(uint32_t reserved, uint32_t* word);
// Architecture = detected AND mask; reselects the coders of an encoder context.
int32_t jpgSetProcessorArchitectureFlag(void* context, uint32_t mask);
int32_t jpgGetProcessorArchitectureFlag(void* context, uint32_t* word);
// m 0 fixed point, 1 floating point (2 is not offered by the encoder).
int32_t jpgSetDCTMethodFlag(void* context, int32_t method);
int32_t jpgGetDCTMethodFlag(void* context, int32_t* method);

// The vector MCU writer with the vector flag, else the framework's plain coder.
jpgWriteMCUFunc jpgGetWriteMCUFunc(int32_t selector, uint32_t architecture);
// Selector 769 with a non-zero architecture: method 0 the fixed-point transform, 1 the
// floating-point one; otherwise none.
jpgFDCTFunc jpgGetWriteFDCTFunc(int32_t selector, uint32_t architecture, uint32_t flags);

#if defined(__x86_64__) || defined(__i386__)
// Vector kernels also built for SSSE3, used in place of the SSE2 ones when the processor has it.
#define JPG_HAVE_SSSE3_KERNELS 1
#endif
bool jpgHaveSSSE3();

// Sets the architecture of an encoder context and reselects its MCU coders and DCT.
void jpgSetArchitecture(jpgWContext* ctx, uint32_t mask);
