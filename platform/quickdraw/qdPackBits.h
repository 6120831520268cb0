// PackBits run-length coding of one row, as PICT pixel data uses it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

void qdPackBits(const uint8_t* row, size_t length, std::vector<uint8_t>* out);
// Unpacks into exactly `length` bytes; false when the data runs short or overflows.
bool qdUnpackBits(const uint8_t* data, size_t dataLength, uint8_t* row, size_t length);
