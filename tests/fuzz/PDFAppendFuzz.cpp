// PDFs from outside opened for appending: qpdf must refuse or accept any bytes without a
// crash, and an open and close without an add must never write.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "paginor/Paginor.h"
#include "tests/fuzz/FuzzRoot.h"

namespace {

std::string ScratchFile() {
  static std::string path = FuzzScratch("append") + "/target.pdf";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = ScratchFile();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  }
  UInt32 handle = 0;
  if (VESK_open(path.c_str(), 0, &handle) == 0 && VESK_close(&handle) != 0) std::abort();
  if (handle != 0) std::abort();
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> after{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (after.size() != size || (size && std::memcmp(after.data(), data, size) != 0)) std::abort();
  return 0;
}
