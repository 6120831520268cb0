#include "tests/output/export/Pnm.h"

#include <cctype>
#include <fstream>
#include <iterator>

namespace wxtest {

namespace {

// The next header number, skipping blanks and comments.
bool Number(const std::vector<uint8_t>& b, size_t* at, long* value) {
  while (*at < b.size()) {
    if (b[*at] == '#') {
      while (*at < b.size() && b[*at] != '\n') ++*at;
    } else if (std::isspace(b[*at])) {
      ++*at;
    } else {
      break;
    }
  }
  if (*at >= b.size() || !std::isdigit(b[*at])) return false;
  *value = 0;
  while (*at < b.size() && std::isdigit(b[*at])) *value = *value * 10 + (b[(*at)++] - '0');
  return true;
}

}  // namespace

bool ReadPnm(const std::filesystem::path& file, Pnm* out) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 3 || b[0] != 'P' || b[1] < '4' || b[1] > '6') return false;
  out->kind = b[1] - '0';
  size_t at = 2;
  long maxval = 1;
  if (!Number(b, &at, &out->width) || !Number(b, &at, &out->height)) return false;
  if (out->kind != 4 && (!Number(b, &at, &maxval) || maxval != 255)) return false;
  ++at;
  const size_t size = size_t(out->RowBytes() * out->height);
  if (b.size() < at + size) return false;
  out->rows.assign(b.begin() + long(at), b.begin() + long(at + size));
  return true;
}

void WritePnm(const std::filesystem::path& file, const Pnm& image) {
  std::ofstream out(file, std::ios::binary);
  out << 'P' << image.kind << '\n' << image.width << ' ' << image.height << '\n';
  if (image.kind != 4) out << "255\n";
  out.write(reinterpret_cast<const char*>(image.rows.data()), long(image.rows.size()));
}

}  // namespace wxtest
