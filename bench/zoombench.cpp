// Speed of the line-streaming scaler on a mail reduction: an A4 page scanned at 600 dpi in
// colour (4960 x 7016) brought down to 212 dpi (1752 x 2478), as the Mail function does.
#include <chrono>
#include <cstdio>
#include <vector>

#include "output/formats/kImgZoom.h"

int main() {
  const long inW = 4960, inH = 7016, outW = 1752, outH = 2478;
  kZoomInfo* z = nullptr;
  if (kImg_ZoomOpen(&z, outW, outH, inW, inH, 24) != kImg_NoErr) return 1;
  std::vector<unsigned char> in(size_t(inW) * 3), out(size_t(outW) * 3);
  for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<unsigned char>(i * 7);
  const auto start = std::chrono::steady_clock::now();
  long lines = 0;
  for (long y = 0; y < inH; ++y) {
    long ready = 0;
    kImg_ZoomSend(z, in.data(), &ready);
    while (ready) {
      kImg_ZoomRead(z, out.data(), &ready);
      ++lines;
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  kImg_ZoomClose(&z);
  std::printf("scaler 24-bit %ldx%ld -> %ldx%ld: %ld lines in %.3f s, %.1f Mpixel/s in\n", inW, inH, outW, outH, lines,
              seconds, inW * inH / seconds / 1e6);
  return lines == outH ? 0 : 1;
}
