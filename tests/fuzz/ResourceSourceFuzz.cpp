// Resource sources as the compiler reads them: any text compiles or fails with a message
// that names the file and the line, and never exhausts the compiler.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tools/rescomp/rcCompile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RcOptions options;
  options.defines["RESOURCES"] = "/nonexistent";
  ResFileImage image;
  std::string diagnostic;
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (!rcCompile({{"fuzz.r", text}}, options, &image, &diagnostic) && diagnostic.rfind("fuzz.r:", 0) != 0)
    std::abort();
  return 0;
}
