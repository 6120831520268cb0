#include "quickdraw/qdPNG.h"

#include <png.h>

#include <cstdio>

bool qdReadPNG(const std::string& path, qdImage* out) {
  *out = qdImage();
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = false;
  qdImage image;
  std::vector<png_byte> row;
  if (png && info && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, f);
    png_read_info(png, info);
    png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    if (w > 0 && h > 0 && w <= 16384 && h <= 16384) {
      // Everything becomes 8-bit RGBA.
      png_set_expand(png);
      png_set_strip_16(png);
      png_set_gray_to_rgb(png);
      png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
      png_set_interlace_handling(png);
      png_read_update_info(png, info);
      image.width = static_cast<int>(w);
      image.height = static_cast<int>(h);
      std::vector<png_byte> pixels(static_cast<size_t>(w) * h * 4);
      std::vector<png_bytep> rows(h);
      for (png_uint_32 y = 0; y < h; ++y) rows[y] = pixels.data() + static_cast<size_t>(y) * w * 4;
      png_read_image(png, rows.data());
      image.argb.resize(static_cast<size_t>(w) * h);
      for (size_t i = 0; i < image.argb.size(); ++i) {
        const png_byte* p = pixels.data() + i * 4;
        image.argb[i] = (uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
      }
      ok = true;
    }
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(f);
  if (ok) *out = std::move(image);
  return ok;
}
