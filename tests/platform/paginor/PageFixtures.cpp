#include "PageFixtures.h"

#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "support/TestEnv.h"
#include "toolbox/MacErrors.h"

namespace fs = std::filesystem;

namespace paginortest {

const char kLatinFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char kJapaneseFont[] = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

namespace {

int32_t RowLength(int32_t type, int width) {
  return type == kPATIMGBilevel ? (width + 7) / 8 : type == kPATIMGGrey ? width : 3 * width;
}

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Reads a PNM header's next number, skipping white space and comments.
int HeaderNumber(std::istream& in) {
  in >> std::ws;
  while (in.peek() == '#') {
    std::string comment;
    std::getline(in, comment);
    in >> std::ws;
  }
  int value = 0;
  in >> value;
  return value;
}

}  // namespace

TestPage MakePage(int32_t type, int width, int height, int dpi, int pad,
                  const std::function<std::array<uint8_t, 3>(int, int)>& pixel) {
  TestPage page;
  const int32_t rowBytes = RowLength(type, width) + pad;
  page.bytes.assign(size_t(rowBytes) * height, 0);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = page.bytes.data() + size_t(y) * rowBytes;
    for (int i = RowLength(type, width); i < rowBytes; ++i) row[i] = 0xA5;
    for (int x = 0; x < width; ++x) {
      const auto c = pixel(x, y);
      if (type == kPATIMGBilevel) {
        if (c[0] < 128) row[x / 8] |= uint8_t(0x80 >> (x % 8));
      } else if (type == kPATIMGGrey) {
        row[x] = c[0];
      } else {
        row[3 * x] = c[2], row[3 * x + 1] = c[1], row[3 * x + 2] = c[0];
      }
    }
  }
  page.image = PATIMG{page.bytes.data(), rowBytes, width, height, dpi, dpi, type, 0, 0};
  return page;
}

TestPage ReadPNM(const fs::path& path, int dpi) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  in >> magic;
  const int width = HeaderNumber(in), height = HeaderNumber(in);
  const int32_t type = magic == "P4" ? kPATIMGBilevel : magic == "P5" ? kPATIMGGrey : kPATIMGColour;
  if (type != kPATIMGBilevel) HeaderNumber(in);
  in.get();
  TestPage page;
  const int32_t rowBytes = RowLength(type, width);
  page.bytes.resize(size_t(rowBytes) * height);
  in.read(reinterpret_cast<char*>(page.bytes.data()), std::streamsize(page.bytes.size()));
  if (type == kPATIMGColour)
    for (size_t i = 0; i + 2 < page.bytes.size(); i += 3) std::swap(page.bytes[i], page.bytes[i + 2]);
  page.image = PATIMG{page.bytes.data(), rowBytes, width, height, dpi, dpi, type, 0, 0};
  return page;
}

void WritePNM(const PATIMG& page, const fs::path& path) {
  std::ofstream out(path, std::ios::binary);
  const char* magic = page.type == kPATIMGBilevel ? "P4" : page.type == kPATIMGGrey ? "P5" : "P6";
  out << magic << "\n" << page.width << " " << page.height << "\n";
  if (page.type != kPATIMGBilevel) out << "255\n";
  const int32_t length = RowLength(page.type, page.width);
  std::vector<uint8_t> row(static_cast<size_t>(length));
  for (int y = 0; y < page.height; ++y) {
    std::memcpy(row.data(), page.data + size_t(y) * page.rowBytes, size_t(length));
    if (page.type == kPATIMGColour)
      for (int i = 0; i + 2 < length; i += 3) std::swap(row[i], row[i + 2]);
    out.write(reinterpret_cast<const char*>(row.data()), length);
  }
}

bool RenderText(const std::vector<std::string>& lines, const std::string& font, int pixels, int width, int height,
                const std::string& after, const fs::path& pnm, int lineStep) {
  std::ostringstream command;
  command << "convert -size " << width << "x" << height << " xc:white -font " << Quote(font) << " -pointsize "
          << pixels << " -fill black";
  int y = pixels * 2;
  for (const std::string& line : lines) {
    command << " -annotate +" << pixels << "+" << y << " " << Quote(line);
    y += lineStep > 0 ? lineStep : pixels * 2;
  }
  command << " " << after << " -depth 8 " << Quote(pnm.string()) << " 2>&1";
  return wxtest::Run(command.str()) == 0;
}

bool RenderPDFPage(const fs::path& pdf, int page, int dpi, std::vector<uint8_t>* rgb, int* width, int* height) {
  const fs::path stem = pdf.parent_path() / ("render-" + pdf.stem().string() + "-" + std::to_string(page));
  std::ostringstream command;
  command << "pdftoppm -r " << dpi << " -f " << page << " -l " << page << " -singlefile " << Quote(pdf.string())
          << " " << Quote(stem.string()) << " 2>&1";
  if (wxtest::Run(command.str()) != 0) return false;
  TestPage read = ReadPNM(stem.string() + ".ppm", dpi);
  fs::remove(stem.string() + ".ppm");
  *width = read.image.width;
  *height = read.image.height;
  rgb->assign(read.bytes.begin(), read.bytes.end());
  for (size_t i = 0; i + 2 < rgb->size(); i += 3) std::swap((*rgb)[i], (*rgb)[i + 2]);
  return read.image.width > 0;
}

std::vector<ListedImage> ListImages(const fs::path& pdf) {
  std::string out;
  std::vector<ListedImage> images;
  if (wxtest::Run("(pdfimages -list " + Quote(pdf.string()) + " 2>/dev/null)", &out) != 0) return images;
  std::istringstream lines(out);
  std::string line;
  std::getline(lines, line);
  std::getline(lines, line);
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    ListedImage image;
    std::string num, type, comp, interp, object, id;
    fields >> image.page >> num >> type >> image.width >> image.height >> image.colour >> comp >> image.bpc >>
        image.encoding >> interp >> object >> id >> image.xppi >> image.yppi;
    if (fields) images.push_back(image);
  }
  return images;
}

std::vector<std::array<double, 2>> PageSizes(const fs::path& pdf) {
  std::string out;
  std::vector<std::array<double, 2>> sizes;
  if (wxtest::Run("(pdfinfo -f 1 -l 9999 " + Quote(pdf.string()) + " 2>/dev/null)", &out) != 0) return sizes;
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line)) {
    int page = 0;
    double width = 0, height = 0;
    if (std::sscanf(line.c_str(), "Page %d size: %lf x %lf", &page, &width, &height) == 3)
      sizes.push_back({width, height});
  }
  return sizes;
}

bool QpdfCheck(const fs::path& pdf) { return wxtest::Run("qpdf --check " + Quote(pdf.string()) + " >/dev/null 2>&1") == 0; }

std::string PdfText(const fs::path& pdf) {
  std::string out;
  wxtest::Run("(pdftotext -enc UTF-8 " + Quote(pdf.string()) + " - 2>/dev/null)", &out);
  return out;
}

OSErr TestJPEGEncoder(const UInt8* pixels, SInt32 width, SInt32 height, SInt32 rowBytes, SInt32 components,
                      SInt32 quality, UInt8** jpeg, size_t* length) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = JDIMENSION(width);
  cinfo.image_height = JDIMENSION(height);
  cinfo.input_components = components;
  cinfo.in_color_space = components == 3 ? JCS_EXT_BGR : JCS_GRAYSCALE;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<UInt8*>(pixels + size_t(cinfo.next_scanline) * rowBytes);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  *jpeg = buffer;
  *length = size;
  return noErr;
}

}  // namespace paginortest
