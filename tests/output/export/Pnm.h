// Netpbm images for checking pixels against outside tools: binary P4 (1 = black), P5 and
// P6 at 8 bits a sample.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace wxtest {

struct Pnm {
  int kind = 0;  // 4, 5 or 6
  long width = 0, height = 0;
  std::vector<uint8_t> rows;  // P4: (width + 7) / 8 bytes a row; P5: width; P6: 3 x width

  long RowBytes() const { return kind == 4 ? (width + 7) / 8 : kind == 5 ? width : 3 * width; }
};

// False when the file is not one of the three kinds with maxval 255.
bool ReadPnm(const std::filesystem::path& file, Pnm* out);
void WritePnm(const std::filesystem::path& file, const Pnm& image);

}  // namespace wxtest
