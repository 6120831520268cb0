#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "quicktime/qtImageReader.h"

namespace {

struct ErrorJump {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

void ErrorExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorJump*>(cinfo->err)->jump, 1); }
void Silent(j_common_ptr, int) {}

// libjpeg reports errors by jumping back: every call into it sits in a function that holds
// the setjmp and nothing with a destructor of its own.
class JPEGReader : public QTImageReader {
 public:
  ~JPEGReader() override { jpeg_destroy_decompress(&mCinfo); }

  bool Open(const QTMappedFile& file, int32_t minWidth, int32_t minHeight, bool headerOnly) {
    mCinfo.err = jpeg_std_error(&mErr.mgr);
    mErr.mgr.error_exit = ErrorExit;
    mErr.mgr.emit_message = Silent;
    jpeg_create_decompress(&mCinfo);
    mCinfo.mem->max_memory_to_use = kQTMaxImageBytes;
    if (setjmp(mErr.jump)) return false;
    jpeg_mem_src(&mCinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&mCinfo, TRUE);
    width = static_cast<int32_t>(mCinfo.image_width);
    height = static_cast<int32_t>(mCinfo.image_height);
    if (width <= 0 || height <= 0 || !DataCanHold(file.size())) return false;
    if (headerOnly) return true;
    mCinfo.out_color_space = JCS_RGB;
    mCinfo.scale_num = 1;
    mCinfo.scale_denom = 1;
    for (unsigned denom : {8u, 4u, 2u}) {
      const int64_t w = (int64_t(width) + denom - 1) / denom, h = (int64_t(height) + denom - 1) / denom;
      if (w >= minWidth && h >= minHeight) {
        mCinfo.scale_denom = denom;
        break;
      }
    }
    jpeg_start_decompress(&mCinfo);
    width = static_cast<int32_t>(mCinfo.output_width);
    height = static_cast<int32_t>(mCinfo.output_height);
    return mCinfo.output_components == 3;
  }

  // Huffman coding spends at least one bit on every block of a component, and every MCU
  // holds a block of each: fewer bits than MCUs cannot be the image the header claims.
  // (Arithmetic coding has no such floor; the memory limit holds those.)
  bool DataCanHold(size_t bytes) const {
    const int64_t mcuWidth = 8 * std::max(1, mCinfo.max_h_samp_factor);
    const int64_t mcuHeight = 8 * std::max(1, mCinfo.max_v_samp_factor);
    const int64_t mcus = ((width + mcuWidth - 1) / mcuWidth) * ((height + mcuHeight - 1) / mcuHeight);
    return mCinfo.arith_code || int64_t(bytes) * 8 >= mcus;
  }

  bool NextRow(uint8_t* rgb) override {
    if (setjmp(mErr.jump)) return false;
    JSAMPROW row = rgb;
    return jpeg_read_scanlines(&mCinfo, &row, 1) == 1;
  }

  // Decoded all the same, so that the rows after it come out as they always do.
  bool SkipRow() override {
    mSkipped.resize(size_t(width) * 3);
    return NextRow(mSkipped.data());
  }

 private:
  jpeg_decompress_struct mCinfo{};
  ErrorJump mErr{};
  std::vector<uint8_t> mSkipped;
};

}  // namespace

bool QTJPEGSize(const QTMappedFile& file, int32_t* width, int32_t* height) {
  JPEGReader reader;
  if (!reader.Open(file, 0, 0, true)) return false;
  *width = reader.width;
  *height = reader.height;
  return true;
}

std::unique_ptr<QTImageReader> QTOpenJPEG(const QTMappedFile& file, int32_t minWidth, int32_t minHeight) {
  auto reader = std::make_unique<JPEGReader>();
  if (!reader->Open(file, minWidth, minHeight, false)) return nullptr;
  return reader;
}
