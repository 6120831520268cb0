#include "quickdraw/qdPackBits.h"

#include <cstring>

void qdPackBits(const uint8_t* row, size_t length, std::vector<uint8_t>* out) {
  size_t i = 0;
  while (i < length) {
    size_t run = 1;
    while (i + run < length && run < 128 && row[i + run] == row[i]) ++run;
    if (run >= 2) {
      out->push_back(static_cast<uint8_t>(257 - run));
      out->push_back(row[i]);
      i += run;
      continue;
    }
    // A literal stretch ends where a run of two or more begins.
    size_t start = i, count = 0;
    while (i < length && count < 128 && !(i + 1 < length && row[i] == row[i + 1])) {
      ++i;
      ++count;
    }
    out->push_back(static_cast<uint8_t>(count - 1));
    out->insert(out->end(), row + start, row + start + count);
  }
}

bool qdUnpackBits(const uint8_t* data, size_t dataLength, uint8_t* row, size_t length) {
  size_t in = 0, outAt = 0;
  while (outAt < length) {
    if (in >= dataLength) return false;
    int8_t n = static_cast<int8_t>(data[in++]);
    if (n >= 0) {
      size_t count = static_cast<size_t>(n) + 1;
      if (in + count > dataLength || outAt + count > length) return false;
      std::memcpy(row + outAt, data + in, count);
      in += count;
      outAt += count;
    } else if (n != -128) {
      size_t count = static_cast<size_t>(1 - n);
      if (in >= dataLength || outAt + count > length) return false;
      std::memset(row + outAt, data[in++], count);
      outAt += count;
    }
  }
  return true;
}
