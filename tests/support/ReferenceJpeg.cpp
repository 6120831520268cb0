#include "support/ReferenceJpeg.h"

#include <sstream>

#include "support/TestEnv.h"

namespace fs = std::filesystem;

namespace wxtest {

// The tools' messages go to Run's output, never into the file they write.
bool CjpegWrite(const RGBPicture& picture, const fs::path& jpg, const std::string& options) {
  ScratchDir dir;
  const fs::path ppm = dir / "in.ppm";
  const std::string header = "P6\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) + "\n255\n";
  std::vector<uint8_t> bytes(header.begin(), header.end());
  bytes.insert(bytes.end(), picture.rgb.begin(), picture.rgb.end());
  WriteBytes(ppm, bytes);
  return Run("{ cjpeg " + options + " '" + ppm.string() + "' > '" + jpg.string() + "'; }") == 0;
}

bool DjpegRead(const fs::path& jpg, RGBPicture* out) {
  ScratchDir dir;
  const fs::path ppm = dir / "out.ppm";
  if (Run("{ djpeg -pnm '" + jpg.string() + "' > '" + ppm.string() + "'; }") != 0) return false;
  const std::vector<uint8_t> bytes = ReadBytes(ppm);
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string magic;
  int maxval = 0;
  in >> magic >> out->width >> out->height >> maxval;
  in.get();
  if (magic != "P6" || !in) return false;
  const size_t at = static_cast<size_t>(in.tellg());
  out->rgb.assign(bytes.begin() + static_cast<long>(at), bytes.end());
  return out->rgb.size() == size_t(out->width) * out->height * 3;
}

}  // namespace wxtest
