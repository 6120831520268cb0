// The benchmarks' page: A4 at 300 dpi in colour (2480 x 3508), a pattern shifted by `seed`,
// written as an uncompressed TIFF by the system's own writer.
#pragma once

#include <string>

constexpr int kA4Width = 2480, kA4Height = 3508;

bool WriteA4Page(const std::string& path, int seed);
