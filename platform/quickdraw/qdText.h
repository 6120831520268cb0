// Text runs: where characters start in system-script bytes, and the width of each.
#pragma once

#include <cstdint>
#include <vector>

#include "quickdraw/QuickDraw.h"

// True when `b` starts a two-byte character in the system script.
bool qdIsLeadByte(uint8_t b);
// Byte offsets where each character of text[0, length) starts, plus `length` at the end.
std::vector<int> qdCharStarts(const uint8_t* text, int length);
// Pixel width of text in the port's font, size and face, exactly as drawn.
int qdTextWidth(GrafPtr port, const uint8_t* text, int length);
