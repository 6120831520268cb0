// The vector forward DCTs: 64 samples in row order replaced by eight times the standard
// coefficients, bit for bit what the framework's plain coder computes.
#pragma once

#include <cstdint>

void jpgWriteForwardDCT_AltiVec_Short(int16_t* block);
void jpgWriteForwardDCT_AltiVec_Float(int16_t* block);
