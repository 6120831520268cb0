// Paginor's PDF writing and deskew on one page, timed as a whole process by
// bench/paginor_vs_imagemagick.sh.
//
//   paginorbench -pdf input.ppm|pgm|pbm output.pdf [mode]   (300 dpi; grey and colour pages
//                 go through libjpeg-turbo installed as the JPEG encoder)
//   paginorbench -deskew input.ppm|pgm [output.ppm|pgm]     (detection and correction; the
//                 corrected page written out to compare before and after a change)
//   paginorbench -text input.ppm|pgm output.pdf             (a PDF page with its English text
//                 layer: the text recognition timed by bench/text_threads.sh)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include "paginor/Paginor.h"

namespace {

OSErr EncodeWithLibjpeg(const UInt8* pixels, SInt32 width, SInt32 height, SInt32 rowBytes, SInt32 components,
                        SInt32 quality, UInt8** jpeg, size_t* length) {
  jpeg_compress_struct c{};
  jpeg_error_mgr errors{};
  c.err = jpeg_std_error(&errors);
  jpeg_create_compress(&c);
  unsigned long size = 0;
  jpeg_mem_dest(&c, jpeg, &size);
  c.image_width = JDIMENSION(width), c.image_height = JDIMENSION(height);
  c.input_components = components;
  c.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_EXT_BGR;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  std::vector<JSAMPROW> rows(static_cast<size_t>(height));
  for (SInt32 y = 0; y < height; ++y) rows[size_t(y)] = const_cast<JSAMPROW>(pixels + size_t(y) * rowBytes);
  jpeg_start_compress(&c, TRUE);
  jpeg_write_scanlines(&c, rows.data(), JDIMENSION(height));
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  *length = size;
  return 0;
}

// The page as the framework receives it: a P4, P5 or P6 file of this bench's pages (no
// comments, 8-bit samples) read whole; colour turned into B, G, R.
bool ReadPage(const char* path, PATIMG* page) {
  FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  char magic[3] = {};
  int width = 0, height = 0, maxval = 1;
  bool ok = std::fscanf(file, "%2s %d %d", magic, &width, &height) == 3 && width > 0 && height > 0;
  const SInt32 type = magic[1] == '4' ? kPATIMGBilevel : magic[1] == '5' ? kPATIMGGrey : kPATIMGColour;
  if (ok && type != kPATIMGBilevel) ok = std::fscanf(file, "%d", &maxval) == 1 && maxval == 255;
  const SInt32 rowBytes = type == kPATIMGBilevel ? (width + 7) / 8 : type == kPATIMGGrey ? width : 3 * width;
  const size_t size = size_t(rowBytes) * size_t(height);
  auto* data = static_cast<UInt8*>(std::malloc(size));
  ok = ok && data && std::fgetc(file) != EOF && std::fread(data, 1, size, file) == size;
  std::fclose(file);
  if (type == kPATIMGColour)
    for (size_t i = 0; ok && i < size; i += 3) std::swap(data[i], data[i + 2]);
  *page = PATIMG{data, rowBytes, width, height, 300, 300, type, 0, 0};
  return ok;
}

bool WritePage(const char* path, PATIMG& page) {
  FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  const bool colour = page.type == kPATIMGColour, bilevel = page.type == kPATIMGBilevel;
  std::fprintf(file, "P%c\n%d %d\n%s", bilevel ? '4' : colour ? '6' : '5', int(page.width), int(page.height),
               bilevel ? "" : "255\n");
  const size_t length = bilevel ? (size_t(page.width) + 7) / 8 : size_t(colour ? 3 : 1) * size_t(page.width);
  bool ok = true;
  for (SInt32 y = 0; y < page.height; ++y) {
    UInt8* row = page.data + size_t(y) * size_t(page.rowBytes);
    if (colour)
      for (SInt32 x = 0; x < page.width; ++x) std::swap(row[3 * x], row[3 * x + 2]);
    ok = ok && std::fwrite(row, length, 1, file) == 1;
  }
  return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 2 ? argv[1] : "";
  PATIMG page{};
  if (((command != "-pdf" && command != "-text") || argc < 4) && command != "-deskew") {
    std::fprintf(stderr, "usage: paginorbench -pdf|-text page.pnm out.pdf [mode] | -deskew page.pnm [out.pnm]\n");
    return 2;
  }
  if (!ReadPage(argv[2], &page)) return 1;
  if (command == "-deskew") {
    double skew = 0;
    PATIMG corrected{};
    if (QSRD_spdetect(&page, nullptr, &skew) < 0 || QSRF_spcorrect(&page, &corrected, 0, skew) != 0) return 1;
    std::printf("%.2f\n", skew);
    if (argc > 3 && !WritePage(argv[3], corrected)) return 1;
    QSRF_spfreeimage(&corrected);
  } else {
    PaginorSetJPEGEncoder(EncodeWithLibjpeg);
    const bool text = command == "-text";
    constexpr UInt32 kEnglish = 2;
    QSRC_exmodeset(argc > 4 ? std::atoi(argv[4]) : kPaginorModeNormal, text ? kEnglish : kPaginorLanguageOff, 0);
    if (QSRC_exopen(argv[3], text ? kPaginorFlagText : 0, 0) != 0 || QSRC_spmake(&page, 0) != 0 ||
        QSRC_close() != 0)
      return 1;
  }
  QSRF_spfreeimage(&page);
  return 0;
}
