// Processor selection: whether the vector unit is used, and the one dispatcher that picks the
// vector kernels, the MCU coders and the forward DCT from that and the DCT method.
#pragma once

#include <cstdint>

#include "jpeg/jpgShare.h"

// 0x100 when Gestalt reports vector instructions, else 0.
uint32_t jpgGetProcessorArchitecture();
int32_t jpgGetProcessorArchitectureFlagCaps(uint32_t reserved, uint32_t* word);
// Architecture = detected AND mask; reselects the kernels of an encoder context.
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

// The best vector kernel set this processor runs.
const jpgKernelSet* jpgGetVectorKernelSet();

// The dispatcher: sets the architecture of an encoder context to detected AND mask and
// chooses its kernel set, MCU coders, transform and, once the frame exists, its preparation.
void jpgSelectKernels(jpgWContext* ctx, uint32_t mask);
