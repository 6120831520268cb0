// Pictures made and read by the reference JPEG tools (cjpeg and djpeg from libjpeg-turbo),
// the independent side of every JPEG check. Callers skip with WX_REQUIRE_TOOL first.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace wxtest {

// R, G, B bytes, a row after another, top row first.
struct RGBPicture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  const uint8_t* at(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
};

// A width x height picture whose pixel (x, y) is pixel(x, y) -> {r, g, b}.
template <typename PixelFn>
RGBPicture MakeRGBPicture(int width, int height, PixelFn pixel) {
  RGBPicture p{width, height, {}};
  p.rgb.reserve(size_t(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const auto c = pixel(x, y);
      p.rgb.insert(p.rgb.end(), {uint8_t(c[0]), uint8_t(c[1]), uint8_t(c[2])});
    }
  return p;
}

// The picture as a JPEG written by cjpeg with `options`; true when cjpeg succeeded.
bool CjpegWrite(const RGBPicture& picture, const std::filesystem::path& jpg, const std::string& options = "");
// The JPEG as djpeg decodes it; false when djpeg fails or gives fewer bytes than it says.
bool DjpegRead(const std::filesystem::path& jpg, RGBPicture* out);

}  // namespace wxtest
