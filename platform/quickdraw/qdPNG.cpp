#include "quickdraw/qdPNG.h"

#include <png.h>

#include <cstdio>

namespace {

constexpr png_uint_32 kMaxSide = 16384;

// libpng reports errors by longjmp back to these stages, which hold no C++ objects of their
// own: nothing is skipped over that would need destroying.
bool ReadHeader(png_structp png, png_infop info, FILE* f, png_uint_32* w, png_uint_32* h) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_init_io(png, f);
  png_read_info(png, info);
  *w = png_get_image_width(png, info);
  *h = png_get_image_height(png, info);
  if (*w == 0 || *h == 0 || *w > kMaxSide || *h > kMaxSide) return false;
  // Everything becomes 8-bit RGBA.
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return true;
}

bool ReadRows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_read_image(png, rows);
  return true;
}

}  // namespace

bool qdReadPNG(const std::string& path, qdImage* out) {
  *out = qdImage();
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  png_uint_32 w = 0, h = 0;
  bool ok = png && info && ReadHeader(png, info, f, &w, &h);
  std::vector<png_byte> pixels;
  if (ok) {
    pixels.resize(static_cast<size_t>(w) * h * 4);
    std::vector<png_bytep> rows(h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = pixels.data() + static_cast<size_t>(y) * w * 4;
    ok = ReadRows(png, rows.data());
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(f);
  if (!ok) return false;
  qdImage image;
  image.width = static_cast<int>(w);
  image.height = static_cast<int>(h);
  image.argb.resize(static_cast<size_t>(w) * h);
  for (size_t i = 0; i < image.argb.size(); ++i) {
    const png_byte* p = pixels.data() + i * 4;
    image.argb[i] = (uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
  }
  *out = std::move(image);
  return true;
}
