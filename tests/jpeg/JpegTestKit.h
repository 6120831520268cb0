// Shared by the encoder tests: test pictures, encoding through the public calls, decoding
// with libjpeg-turbo, PSNR, and a walk over a file's marker segments.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jpeg/jpgWCore.h"

namespace jpgtest {

// Interleaved 8-bit pixels; three channels are stored blue, green, red as the encoder expects.
struct Image {
  int width = 0;
  int height = 0;
  int channels = 3;
  std::vector<uint8_t> pixels;
};

// Smooth gradients with some texture: realistic enough for PSNR floors.
Image MakeScene(int width, int height, int channels, uint32_t seed = 1);
Image MakeFlat(int width, int height, int channels, uint8_t b, uint8_t g, uint8_t r);
Image MakeNoise(int width, int height, int channels, uint32_t seed);

struct Settings {
  int quality = 90;
  uint32_t sampling = 0x221111;
  int method = 0;      // sub-sampling: 0 point, 1 averaging
  int dctMethod = 0;   // 0 fixed point, 1 floating point
  uint32_t restart = 0;
  int stripLines = 16; // 0: the whole picture in one strip
  bool noColorConversion = false;
  bool redFirst = false;  // three channels are stored red, green, blue
};

// Encodes into memory; the status of the first failing call, else 0.
int32_t Encode(const Image& picture, const Settings& settings, std::vector<uint8_t>* out);
// The same with the vector unit reported absent.
int32_t EncodePlain(const Image& picture, const Settings& settings, std::vector<uint8_t>* out);

// A memory context with partial output whose tables are built (no strip coded); close it
// with jpgWriteEpilogToMemory, which then reports no frame.
void* ContextWithTables();

// Decodes with libjpeg-turbo into RGB or grey (as stored, channels 3 or 1); false on any
// error or warning.
bool Decode(const std::vector<uint8_t>& jpeg, Image* out, std::string* why = nullptr);
// PSNR over all channels between a source picture and its decoded RGB/grey copy.
double Psnr(const Image& source, const Image& decoded);

struct Segment {
  uint16_t marker;
  size_t offset;               // of the marker
  std::vector<uint8_t> data;   // after the length field (empty for markers without one)
};
// The markers of a file in order; entropy-coded bytes are skipped (RSTm are listed).
std::vector<Segment> Segments(const std::vector<uint8_t>& jpeg);

// A PPM (P6) or PGM (P5) of the picture.
void WritePnm(const std::string& path, const Image& picture);

}  // namespace jpgtest
