#include "JpegTestKit.h"

#include <csetjmp>
#include <cmath>
#include <cstdio>
#include <fstream>

#include <gtest/gtest.h>
#include <jpeglib.h>

#include "jpeg/jpgArch.h"
#include "toolbox/Gestalt.h"

namespace jpgtest {

namespace {

uint32_t nextRandom(uint32_t& s) {
  s ^= s << 13;
  s ^= s >> 17;
  s ^= s << 5;
  return s;
}

}  // namespace

Image MakeScene(int width, int height, int channels, uint32_t seed) {
  Image p{width, height, channels, std::vector<uint8_t>(size_t(width) * height * channels)};
  uint32_t s = seed * 2654435761u + 1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < channels; ++c) {
        double v = 128 + 90 * std::sin((x * (c + 1) + 0.5 * y) / 23.0) * std::cos((y - c * 7) / 31.0) +
                   (x * 40.0 / (width + 1)) - 20 + (int(nextRandom(s) % 9) - 4);
        p.pixels[(size_t(y) * width + x) * channels + c] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
      }
  return p;
}

Image MakeFlat(int width, int height, int channels, uint8_t b, uint8_t g, uint8_t r) {
  Image p{width, height, channels, std::vector<uint8_t>(size_t(width) * height * channels)};
  const uint8_t bgr[4] = {b, g, r, b};
  for (size_t i = 0; i < p.pixels.size(); ++i) p.pixels[i] = bgr[i % channels];
  return p;
}

Image MakeNoise(int width, int height, int channels, uint32_t seed) {
  Image p{width, height, channels, std::vector<uint8_t>(size_t(width) * height * channels)};
  uint32_t s = seed | 1;
  for (auto& v : p.pixels) v = static_cast<uint8_t>(nextRandom(s));
  return p;
}

int32_t Encode(const Image& picture, const Settings& settings, std::vector<uint8_t>* out) {
  void* ctx = nullptr;
  int32_t status = jpgWritePrologToMemory(0, &ctx);
  if (status) return status;
  auto fail = [&](int32_t s) {
    void* data = nullptr;
    int64_t size = 0;
    jpgWriteEpilogToMemory(ctx, &data, &size);
    if (data) jpgWriteFreeBitstream(data);
    return s;
  };
  if (settings.quality != 90 && (status = jpgWriteSetQuantizationFactor(ctx, settings.quality))) return fail(status);
  if (settings.sampling != 0x221111 && (status = jpgWriteSetSubsamplingFactor(ctx, settings.sampling)))
    return fail(status);
  if ((status = jpgWriteSetSubsamplingMethod(ctx, settings.method))) return fail(status);
  if (settings.dctMethod && (status = jpgSetDCTMethodFlag(ctx, settings.dctMethod))) return fail(status);
  if (settings.restart && (status = jpgWriteSetRestartInterval(ctx, settings.restart))) return fail(status);
  if (settings.noColorConversion && (status = jpgWriteSetNoColorConversion(ctx))) return fail(status);
  if (settings.redFirst && (status = jpgWriteSetRedFirst(ctx))) return fail(status);
  if ((status = jpgWriteSetImageSize(ctx, picture.width, picture.height))) return fail(status);

  const int rowBytes = picture.width * picture.channels;
  const int strip = settings.stripLines > 0 ? settings.stripLines : picture.height;
  for (int y = 0; y < picture.height; y += strip) {
    int lines = picture.height - y < strip ? picture.height - y : strip;
    _complibImageRect rect{picture.width, picture.height, rowBytes, 8 * picture.channels, picture.channels, 8,
                           const_cast<uint8_t*>(picture.pixels.data()) + size_t(y) * rowBytes};
    if ((status = jpgWriteFromRect(ctx, &rect, lines))) return fail(status);
  }
  void* data = nullptr;
  int64_t size = 0;
  status = jpgWriteEpilogToMemory(ctx, &data, &size);
  if (status) return status;
  auto* bytes = static_cast<uint8_t*>(data);
  out->assign(bytes, bytes + size);
  jpgWriteFreeBitstream(data);
  return 0;
}

int32_t EncodePlain(const Image& picture, const Settings& settings, std::vector<uint8_t>* out) {
  GestaltSetValue(gestaltPowerPCProcessorFeatures, 0);
  int32_t status = Encode(picture, settings, out);
  GestaltReset();
  return status;
}

void* ContextWithTables() {
  void* context = nullptr;
  EXPECT_EQ(jpgWritePrologToMemory(2, &context), 0);
  void* data = nullptr;
  int64_t size = 0;
  EXPECT_EQ(jpgWriteGetPartialBitstream(context, &data, &size), 0);
  return context;
}

namespace {

struct ErrorTrap {
  jpeg_error_mgr pub;
  jmp_buf jump;
  std::string message;
  int warnings = 0;
};

void onError(j_common_ptr cinfo) {
  auto* trap = reinterpret_cast<ErrorTrap*>(cinfo->err);
  char text[JMSG_LENGTH_MAX];
  cinfo->err->format_message(cinfo, text);
  trap->message = text;
  longjmp(trap->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level) {
  auto* trap = reinterpret_cast<ErrorTrap*>(cinfo->err);
  if (level < 0) {
    char text[JMSG_LENGTH_MAX];
    cinfo->err->format_message(cinfo, text);
    trap->message = text;
    ++trap->warnings;
  }
}

}  // namespace

bool Decode(const std::vector<uint8_t>& jpeg, Image* out, std::string* why) {
  jpeg_decompress_struct cinfo{};
  ErrorTrap trap;
  cinfo.err = jpeg_std_error(&trap.pub);
  trap.pub.error_exit = onError;
  trap.pub.emit_message = onMessage;
  if (setjmp(trap.jump)) {
    jpeg_destroy_decompress(&cinfo);
    if (why) *why = trap.message;
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, jpeg.data(), jpeg.size());
  jpeg_read_header(&cinfo, TRUE);
  jpeg_start_decompress(&cinfo);
  out->width = static_cast<int>(cinfo.output_width);
  out->height = static_cast<int>(cinfo.output_height);
  out->channels = cinfo.output_components;
  out->pixels.assign(size_t(out->width) * out->height * out->channels, 0);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = out->pixels.data() + size_t(cinfo.output_scanline) * out->width * out->channels;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  if (trap.warnings) {
    if (why) *why = trap.message;
    return false;
  }
  return true;
}

double Psnr(const Image& source, const Image& decoded) {
  double sum = 0;
  size_t n = 0;
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x)
      for (int c = 0; c < source.channels; ++c) {
        size_t i = (size_t(y) * source.width + x) * source.channels;
        // The source holds blue, green, red; the decoder gives red, green, blue.
        int s = source.pixels[i + (source.channels == 3 ? 2 - c : c)];
        int d = decoded.pixels[i + c];
        sum += double(s - d) * (s - d);
        ++n;
      }
  double mse = sum / double(n);
  return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

std::vector<Segment> Segments(const std::vector<uint8_t>& jpeg) {
  std::vector<Segment> out;
  size_t i = 0;
  while (i + 1 < jpeg.size()) {
    if (jpeg[i] != 0xFF || jpeg[i + 1] == 0x00 || jpeg[i + 1] == 0xFF) {
      ++i;
      continue;
    }
    uint16_t marker = static_cast<uint16_t>(0xFF00 | jpeg[i + 1]);
    Segment s{marker, i, {}};
    bool standalone = marker == 0xFFD8 || marker == 0xFFD9 || (marker >= 0xFFD0 && marker <= 0xFFD7);
    if (standalone || i + 3 >= jpeg.size()) {
      out.push_back(s);
      i += 2;
      continue;
    }
    size_t length = (size_t(jpeg[i + 2]) << 8) | jpeg[i + 3];
    size_t end = i + 2 + length;
    if (end > jpeg.size()) end = jpeg.size();
    s.data.assign(jpeg.begin() + long(i + 4), jpeg.begin() + long(end));
    out.push_back(s);
    i = end;
  }
  return out;
}

void WritePnm(const std::string& path, const Image& picture) {
  std::ofstream f(path, std::ios::binary);
  f << (picture.channels == 1 ? "P5\n" : "P6\n") << picture.width << " " << picture.height << "\n255\n";
  for (size_t i = 0; i < picture.pixels.size(); i += picture.channels)
    for (int c = 0; c < picture.channels; ++c)
      f.put(static_cast<char>(picture.pixels[i + (picture.channels == 3 ? 2 - c : c)]));
}

}  // namespace jpgtest
