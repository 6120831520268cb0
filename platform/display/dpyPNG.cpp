// Writing window pixels as PNG (libpng), for tests and samples.
#include <png.h>

#include <cstdio>
#include <vector>

#include "display/Display.h"

bool DpyWritePNG(const std::string& path, const uint32_t* pixels, int width, int height) {
  if (width <= 0 || height <= 0) return false;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = false;
  std::vector<png_byte> row(static_cast<size_t>(width) * 3);
  if (png && info && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        uint32_t p = pixels[static_cast<size_t>(y) * width + x];
        row[x * 3] = png_byte(p >> 16);
        row[x * 3 + 1] = png_byte(p >> 8);
        row[x * 3 + 2] = png_byte(p);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(&png, &info);
  if (std::fclose(f) != 0) ok = false;
  if (!ok) std::remove(path.c_str());
  return ok;
}
