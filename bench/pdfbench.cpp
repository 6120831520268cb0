// PDF writing through the glue, for bench/pdf_vs_imagemagick.sh.
//
//   pdfbench [-high] input.ppm|pgm|pbm output.pdf   (one page at 300 dpi, as the exporter writes it)
// Prints the processor time of the writing alone (open, page, close), without reading the page.
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "output/glue/pdfGlue.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/RecordAccess.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: pdfbench [-high] input.ppm|pgm|pbm output.pdf\n");
  return 2;
}

// A binary PNM as a page: P4 bilevel, P5 grey, P6 colour turned into B, G, R.
bool ReadPNM(const char* path, std::vector<uint8_t>* bytes, tagRAWBITMAP* page) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int width = 0, height = 0, max = 1;
  in >> magic >> width >> height;
  if (magic != "P4") in >> max;
  in.get();
  if (!in || width <= 0 || height <= 0) return false;
  const int kind = magic == "P4" ? 1 : magic == "P5" ? 2 : magic == "P6" ? 3 : 0;
  if (kind == 0) return false;
  const int length = kind == 1 ? (width + 7) / 8 : kind == 2 ? width : 3 * width;
  bytes->resize(size_t(length) * height);
  in.read(reinterpret_cast<char*>(bytes->data()), std::streamsize(bytes->size()));
  if (!in) return false;
  if (kind == 3)
    for (size_t i = 0; i + 2 < bytes->size(); i += 3) std::swap((*bytes)[i], (*bytes)[i + 2]);
  *page = tagRAWBITMAP{bytes->data(), length, width, height, 300, kind};
  return true;
}

double ProcessorMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

int WritePDF(const char* input, const char* output, bool high) {
  std::vector<uint8_t> bytes;
  tagRAWBITMAP page{};
  if (!ReadPNM(input, &bytes, &page)) return usage();
  StPDFDialog settings;
  BEPutU32(settings.bytes.data() + 12, 1);
  BEPutU32(settings.bytes.data() + 16, high ? 2 : 1);
  FSSpec spec{};
  FSpMakeFromPOSIXPath(output, &spec);
  const double start = ProcessorMs();
  const bool ok = pdf_init() == 1 && pdf_modeset(&settings, 0) == 1 && pdf_open(&spec, &settings) == 1 &&
                  pdf_make(&page) == 1 && pdf_close() == 1;
  pdf_terminate();
  std::printf("writing: %.1f ms processor\n", ProcessorMs() - start);
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "-high") == 0) return WritePDF(argv[2], argv[3], true);
  if (argc == 3) return WritePDF(argv[1], argv[2], false);
  return usage();
}
