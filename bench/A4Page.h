// The benchmarks' pages: colour at 300 dpi, a pattern shifted by `seed`, written as an
// uncompressed TIFF by the system's own writer; A4 is 2480 x 3508.
#pragma once

#include <string>

constexpr int kA4Width = 2480, kA4Height = 3508;

bool WritePage(const std::string& path, int width, int height, int seed);
bool WriteA4Page(const std::string& path, int seed);
