// Page images for the framework's tests: made from a pixel function, rendered as text by
// ImageMagick, read back from PDFs through poppler; and a JPEG encoder to install.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "paginor/Paginor.h"

namespace paginortest {

// A PATIMG with the bytes it points at.
struct TestPage {
  std::vector<uint8_t> bytes;
  PATIMG image{};
  TestPage() = default;
  TestPage(const TestPage& other) : bytes(other.bytes), image(other.image) { image.data = bytes.data(); }
  TestPage& operator=(const TestPage& other) {
    bytes = other.bytes;
    image = other.image;
    image.data = bytes.data();
    return *this;
  }
};

// A page of `type` whose pixel (x, y) is pixel(x, y) -> {r, g, b} (grey: r; bilevel: r < 128
// is black), rows padded by `pad` bytes filled with 0xA5.
TestPage MakePage(int32_t type, int width, int height, int dpi, int pad,
                  const std::function<std::array<uint8_t, 3>(int, int)>& pixel);

// A PNM file (P4, P5 or P6) as a page of the matching type (P6's R, G, B become B, G, R).
TestPage ReadPNM(const std::filesystem::path& path, int dpi);
// Writes the page as PNM (bilevel P4, grey P5, colour P6 in R, G, B).
void WritePNM(const PATIMG& page, const std::filesystem::path& path);

// `lines` of text drawn by ImageMagick in `font` at `pixels` pixel size on a white page of
// width x height pixels, then `convert` options `after` (e.g. "-rotate 3"), saved as `pnm`.
// The first baseline is `pixels` x 2 from the top, the next ones `lineStep` apart (0: pixels x 2).
bool RenderText(const std::vector<std::string>& lines, const std::string& font, int pixels, int width, int height,
                const std::string& after, const std::filesystem::path& pnm, int lineStep = 0);

// The sRGB or grey pixels of a PDF's page as pdftoppm renders them at `dpi` (PPM, R, G, B).
bool RenderPDFPage(const std::filesystem::path& pdf, int page, int dpi, std::vector<uint8_t>* rgb, int* width,
                   int* height);

// What poppler's pdfimages -list tells of one image.
struct ListedImage {
  int page = 0, width = 0, height = 0, bpc = 0, xppi = 0, yppi = 0;
  std::string colour, encoding;
};
std::vector<ListedImage> ListImages(const std::filesystem::path& pdf);
// Each page's size in points, as pdfinfo gives it (empty when pdfinfo fails).
std::vector<std::array<double, 2>> PageSizes(const std::filesystem::path& pdf);
// qpdf --check exits 0.
bool QpdfCheck(const std::filesystem::path& pdf);
// pdftotext -enc UTF-8 of the whole file.
std::string PdfText(const std::filesystem::path& pdf);

// libjpeg-turbo as the installed encoder, as the system's own encoder is installed.
OSErr TestJPEGEncoder(const UInt8* pixels, SInt32 width, SInt32 height, SInt32 rowBytes, SInt32 components,
                      SInt32 quality, UInt8** jpeg, size_t* length);

// Fonts the tests draw with.
extern const char kLatinFont[];
extern const char kJapaneseFont[];

}  // namespace paginortest
