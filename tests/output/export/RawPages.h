// Raw scan pages for the export tests: known pixels at each depth, written as raw files
// (rows padded to an even length), and how they look as Netpbm images.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "tests/output/export/Pnm.h"
#include "toolbox/MacTypes.h"

namespace wxtest {

struct RawPage {
  long bits = 8;  // 1, 8 or 32 (three bytes a pixel)
  long width = 0, height = 0;
  std::vector<uint8_t> rows;

  long RowBytes() const {
    const long n = bits == 1 ? (width + 7) / 8 : bits == 8 ? width : 3 * width;
    return n + (n & 1);
  }
};

enum class PagePattern { Smooth, Noisy };

// Smooth pages compress well and survive JPEG closely; noisy ones do neither.
RawPage MakePage(long bits, long width, long height, PagePattern pattern = PagePattern::Smooth);
void WriteRaw(const std::filesystem::path& file, const RawPage& page);
// As it shows: bilevel P4 (1 = black), grey P5 (raw 0 white gives 255), colour P6.
Pnm ToPnm(const RawPage& page);
// A Netpbm image back to raw rows at `bits`.
RawPage FromPnm(const Pnm& image, long bits);
// Peak signal-to-noise ratio of two images of one size and kind (P4 compared as grey),
// in dB; 99 for equal images.
double PSNR(const Pnm& a, const Pnm& b);
// Grey or colour samples of any kind, one byte each (P4: 0 black, 255 white).
std::vector<uint8_t> Samples(const Pnm& image);

FSSpec SpecOf(const std::filesystem::path& path);
std::filesystem::path PathOf(const FSSpec& spec);
// The application's temporary folder (made when missing), where raw pages and copies lie.
FSSpec TemporaryFolder();

}  // namespace wxtest
