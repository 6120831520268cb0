// Encodes a PPM or PGM the way the application's exporter does: the encoder opened on a file
// with the JFIF APP0, the Save function's quality and the default sampling, and the picture
// read in blocks of whole strips straight into the strip buffer and handed over 16 rows at a
// time. Reports the encoding time of that loop.
//
//   jpegbench [-q quality] [-plain] [-average] input.ppm|pgm output.jpg
//     -plain: the vector unit reported absent; -average: averaging chroma sub-sampling
//   jpegbench -make-page width height channels output.ppm|pgm   (a synthetic scanned page)
//   jpegbench -psnr source.ppm|pgm decoded.ppm|pgm              (PSNR in dB)
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

#include "jpeg/jpgArch.h"
#include "jpeg/jpgWCore.h"
#include "jpeg/jpgWMac.h"
#include "toolbox/Files.h"
#include "toolbox/Gestalt.h"
#include "toolbox/MacErrors.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: jpegbench [-q quality] [-plain] [-average] input.ppm|pgm output.jpg\n"
               "       jpegbench -make-page width height channels output.ppm|pgm\n"
               "       jpegbench -psnr source.ppm|pgm decoded.ppm|pgm\n");
  return 2;
}

// A page as a scanner gives it: paper white with slight noise, lines of dark "text", a grey
// ramp and a colour photograph-like area.
int makePage(int width, int height, int channels, const char* path) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return 1;
  std::fprintf(f, "%s\n%d %d\n255\n", channels == 1 ? "P5" : "P6", width, height);
  std::vector<uint8_t> row(size_t(width) * channels);
  uint32_t s = 12345;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      s = s * 1664525u + 1013904223u;
      int noise = int(s >> 29) - 4;
      double v[3] = {242.0 + noise, 240.0 + noise, 232.0 + noise};
      bool photo = y > height / 8 && y < height / 2 && x > width / 10 && x < width * 9 / 10;
      if (photo) {
        double u = double(x) / width, w = double(y) / height;
        v[0] = 128 + 100 * std::sin(u * 17 + w * 5) * std::cos(w * 11);
        v[1] = 120 + 90 * std::sin(u * 7 - w * 13);
        v[2] = 110 + 80 * std::cos(u * 23 + w * 3) + noise * 3;
      } else if (y > height * 11 / 20 && (y / 40) % 2 == 0 && x > width / 12 && x < width * 11 / 12) {
        // Text lines: glyph-sized dark strokes.
        int gx = x % 23, gy = y % 40;
        bool ink = gy > 8 && gy < 32 && (gx < 3 || (gy > 18 && gy < 22 && gx < 15) || ((x / 23) % 5 == 0 && gx > 12));
        if (ink) v[0] = v[1] = v[2] = 30.0 + noise;
      } else if (y > height * 9 / 10) {
        v[0] = v[1] = v[2] = 255.0 * x / width;
      }
      for (int c = 0; c < channels; ++c) {
        double value = channels == 1 ? (v[0] + v[1] + v[2]) / 3 : v[c];
        row[size_t(x) * channels + c] = static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
      }
    }
    std::fwrite(row.data(), 1, row.size(), f);
  }
  return std::fclose(f) == 0 ? 0 : 1;
}

// The next header number, past white space and '#' comments (which run to the line's end).
bool readNumber(FILE* f, int* value) {
  int c = std::fgetc(f);
  while (c == '#' || std::isspace(c)) {
    if (c == '#')
      while (c != '\n' && c != EOF) c = std::fgetc(f);
    c = std::fgetc(f);
  }
  if (!std::isdigit(c)) return false;
  long v = 0;
  for (; std::isdigit(c) && v < 100000000; c = std::fgetc(f)) v = v * 10 + (c - '0');
  *value = static_cast<int>(v);
  // The one white-space character after the last number ends the header.
  return std::isspace(c) != 0;
}

bool readHeader(FILE* f, int* channels, int* width, int* height) {
  char magic[2] = {};
  int maxval = 0;
  if (std::fread(magic, 1, 2, f) != 2 || magic[0] != 'P' || !readNumber(f, width) || !readNumber(f, height) ||
      !readNumber(f, &maxval) || maxval != 255)
    return false;
  *channels = magic[1] == '6' ? 3 : magic[1] == '5' ? 1 : 0;
  return *channels != 0 && *width > 0 && *height > 0;
}

// n bytes of the file from offset `at`, in as few reads as the system allows.
bool readAt(int fd, off_t at, uint8_t* to, size_t n) {
  while (n > 0) {
    ssize_t got = pread(fd, to, n, at);
    if (got <= 0) return false;
    to += got;
    at += got;
    n -= size_t(got);
  }
  return true;
}

// PSNR in dB over every sample of two PNMs of the same size and kind (djpeg's output against
// the source), read a row at a time so that pages of any size fit.
int psnr(const char* pathA, const char* pathB) {
  FILE* a = std::fopen(pathA, "rb");
  FILE* b = std::fopen(pathB, "rb");
  int ca = 0, wa = 0, ha = 0, cb = 0, wb = 0, hb = 0;
  if (!a || !b || !readHeader(a, &ca, &wa, &ha) || !readHeader(b, &cb, &wb, &hb) || ca != cb || wa != wb || ha != hb) {
    std::fprintf(stderr, "jpegbench: %s and %s are not PNMs of one size and kind\n", pathA, pathB);
    return 1;
  }
  std::vector<uint8_t> ra(size_t(wa) * ca), rb(ra.size());
  double sum = 0;
  for (int y = 0; y < ha; ++y) {
    if (std::fread(ra.data(), 1, ra.size(), a) != ra.size() || std::fread(rb.data(), 1, rb.size(), b) != rb.size()) {
      std::fprintf(stderr, "jpegbench: short input\n");
      return 1;
    }
    for (size_t i = 0; i < ra.size(); ++i) sum += double(int(ra[i]) - int(rb[i])) * (int(ra[i]) - int(rb[i]));
  }
  std::fclose(a);
  std::fclose(b);
  double mse = sum / (double(wa) * ha * ca);
  std::printf("%.4f\n", mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 6 && std::strcmp(argv[1], "-make-page") == 0)
    return makePage(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
  if (argc == 4 && std::strcmp(argv[1], "-psnr") == 0) return psnr(argv[2], argv[3]);
  int quality = 70;
  int method = 0;
  int arg = 1;
  for (; arg < argc && argv[arg][0] == '-'; ++arg) {
    if (std::strcmp(argv[arg], "-q") == 0 && arg + 1 < argc) {
      quality = std::atoi(argv[++arg]);
    } else if (std::strcmp(argv[arg], "-average") == 0) {
      method = 1;
    } else if (std::strcmp(argv[arg], "-plain") == 0) {
      GestaltSetValue(gestaltPowerPCProcessorFeatures, 0);
    } else {
      return usage();
    }
  }
  if (argc - arg != 2) return usage();
  FILE* in = std::fopen(argv[arg], "rb");
  int channels = 0, width = 0, height = 0;
  if (!in || !readHeader(in, &channels, &width, &height)) {
    std::fprintf(stderr, "jpegbench: %s is not an 8-bit PPM or PGM\n", argv[arg]);
    return 1;
  }
  FSSpec spec;
  OSErr err = FSpMakeFromPOSIXPath(argv[arg + 1], &spec);
  if (err != noErr && err != fnfErr) {
    std::fprintf(stderr, "jpegbench: cannot name %s\n", argv[arg + 1]);
    return 1;
  }

  auto start = std::chrono::steady_clock::now();
  void* ctx = nullptr;
  int32_t status = jpgWritePrologToFile(&spec, 'prvw', 'JPEG', 0, &ctx);
  const uint8_t app0[14] = {'J', 'F', 'I', 'F', 0, 1, 1, 1, 1, 44, 1, 44, 0, 0};
  if (!status) status = jpgWriteWriteMarkerSegment(ctx, 0xFFE0, app0, sizeof(app0));
  if (!status && quality != 90) status = jpgWriteSetQuantizationFactor(ctx, quality);
  if (!status && method) status = jpgWriteSetSubsamplingMethod(ctx, method);
  if (!status) status = jpgWriteSetNumberOfChannels(ctx, channels);
  if (!status) status = jpgWriteSetImageSize(ctx, width, height);
  uint32_t architecture = 0;
  int32_t dctMethod = 0;
  if (!status) status = jpgGetProcessorArchitectureFlag(ctx, &architecture);
  if (!status) status = jpgGetDCTMethodFlag(ctx, &dctMethod);
  // 16 rows at a time, as the exporter hands them over; colour pixels go over red first.
  if (!status && channels == 3) status = jpgWriteSetRedFirst(ctx);
  const int rowBytes = width * channels;
  // The pixels follow the header in the file: read past the stream's buffer, a few strips
  // (about 256 KiB) a read.
  off_t position = std::ftell(in);
  const int strips = 1 + (256 * 1024) / (16 * rowBytes);
  // Mapped with its pages in place: touching fresh pages one by one costs more than reading.
  const size_t bufferBytes = size_t(rowBytes) * 16 * size_t(strips);
  void* mapped = mmap(nullptr, bufferBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
  if (!status && mapped == MAP_FAILED) status = -1;
  auto* buffer = static_cast<uint8_t*>(mapped);
  _complibImageRect rect{width, height, rowBytes, 8 * channels, channels, 8, nullptr};
  int buffered = 0, first = 0;
  for (int y = 0; y < height && !status; y += 16) {
    int lines = height - y < 16 ? height - y : 16;
    if (y + lines > first + buffered) {
      first = y;
      buffered = height - y < 16 * strips ? height - y : 16 * strips;
      const size_t want = size_t(rowBytes) * size_t(buffered);
      if (position < 0 || !readAt(fileno(in), position, buffer, want)) {
        std::fprintf(stderr, "jpegbench: short input\n");
        status = -1;
        break;
      }
      position += off_t(want);
    }
    rect.data = buffer + size_t(y - first) * size_t(rowBytes);
    status = jpgWriteFromRect(ctx, &rect, lines);
    rect.height = 16;
  }
  if (ctx) {
    int32_t closed = jpgWriteEpilogToFile(ctx);
    if (!status) status = closed;
  }
  if (mapped != MAP_FAILED) munmap(mapped, bufferBytes);
  std::fclose(in);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (status) {
    std::fprintf(stderr, "jpegbench: encoder status %08X\n", static_cast<unsigned>(status));
    return 1;
  }
  std::printf("jpegbench: %dx%dx%d q%d %.1f ms %.1f Mpixels/s, kernels %s, DCT %s\n", width, height, channels, quality,
              seconds * 1000, width * double(height) / seconds / 1e6,
              (architecture & kJpgArchVector) ? jpgGetVectorKernelSet()->name : "plain",
              dctMethod == 1 ? "float" : "fixed");
  return 0;
}
