#include "tests/output/export/RawPages.h"

#include <cmath>
#include <fstream>

#include "output/hub/WXFolders.h"
#include "toolbox/Files.h"

namespace wxtest {

RawPage MakePage(long bits, long width, long height, PagePattern pattern) {
  RawPage page{bits, width, height, {}};
  page.rows.assign(size_t(page.RowBytes() * height), 0);
  uint32_t noise = 12345;
  for (long y = 0; y < height; ++y) {
    uint8_t* row = page.rows.data() + y * page.RowBytes();
    for (long x = 0; x < width; ++x) {
      noise = noise * 1103515245u + 12345u;
      const auto wave = [&](long phase) {
        if (pattern == PagePattern::Noisy) return uint8_t(noise >> (16 + phase));
        return uint8_t(128 + 100 * std::sin((x + phase * 7) / 9.0) * std::cos((y - phase * 5) / 11.0));
      };
      if (bits == 1) {
        if ((pattern == PagePattern::Noisy ? (noise >> 20) & 1 : ((x / 4 + y / 4) % 3 == 0)) != 0) row[x / 8] |= uint8_t(0x80 >> (x % 8));
      } else if (bits == 8) {
        row[x] = wave(0);
      } else {
        row[3 * x] = wave(0), row[3 * x + 1] = wave(1), row[3 * x + 2] = wave(2);
      }
    }
  }
  return page;
}

void WriteRaw(const std::filesystem::path& file, const RawPage& page) {
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(page.rows.data()), long(page.rows.size()));
}

Pnm ToPnm(const RawPage& page) {
  Pnm image{page.bits == 1 ? 4 : page.bits == 8 ? 5 : 6, page.width, page.height, {}};
  for (long y = 0; y < page.height; ++y)
    for (long i = 0; i < image.RowBytes(); ++i) {
      const uint8_t v = page.rows[size_t(y * page.RowBytes() + i)];
      image.rows.push_back(page.bits == 8 ? uint8_t(255 - v) : v);
    }
  return image;
}

RawPage FromPnm(const Pnm& image, long bits) {
  RawPage page{bits, image.width, image.height, {}};
  page.rows.assign(size_t(page.RowBytes() * page.height), 0);
  const std::vector<uint8_t> samples = Samples(image);
  const long channels = image.kind == 6 ? 3 : 1;
  for (long y = 0; y < page.height; ++y) {
    uint8_t* row = page.rows.data() + y * page.RowBytes();
    for (long x = 0; x < page.width; ++x) {
      const uint8_t* s = samples.data() + (y * page.width + x) * channels;
      if (bits == 1) {
        if (s[0] < 128) row[x / 8] |= uint8_t(0x80 >> (x % 8));
      } else if (bits == 8) {
        row[x] = uint8_t(255 - s[0]);
      } else {
        for (int c = 0; c < 3; ++c) row[3 * x + c] = s[channels == 3 ? c : 0];
      }
    }
  }
  return page;
}

std::vector<uint8_t> Samples(const Pnm& image) {
  if (image.kind != 4) return image.rows;
  std::vector<uint8_t> out;
  for (long y = 0; y < image.height; ++y)
    for (long x = 0; x < image.width; ++x)
      out.push_back((image.rows[size_t(y * image.RowBytes() + x / 8)] >> (7 - x % 8)) & 1 ? 0 : 255);
  return out;
}

double PSNR(const Pnm& a, const Pnm& b) {
  const auto sa = Samples(a), sb = Samples(b);
  if (sa.size() != sb.size() || sa.empty()) return 0;
  double sum = 0;
  for (size_t i = 0; i < sa.size(); ++i) sum += double(sa[i] - sb[i]) * double(sa[i] - sb[i]);
  if (sum == 0) return 99;
  return 10 * std::log10(255.0 * 255.0 * double(sa.size()) / sum);
}

FSSpec SpecOf(const std::filesystem::path& path) {
  FSSpec spec{};
  FSpMakeFromPOSIXPath(path.string(), &spec);
  return spec;
}

std::filesystem::path PathOf(const FSSpec& spec) {
  std::string path;
  FSpGetPOSIXPath(&spec, &path);
  return path;
}

FSSpec TemporaryFolder() {
  SInt16 vRefNum = 0;
  SInt32 dirID = 0;
  FSSpec folder{};
  if (CWXUtility::FindTempFolder(&vRefNum, &dirID)) FSMakeFSSpec(vRefNum, dirID, nullptr, &folder);
  return folder;
}

}  // namespace wxtest
