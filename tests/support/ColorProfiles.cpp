#include "support/ColorProfiles.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "support/TestEnv.h"

namespace fs = std::filesystem;

namespace wxtest {

fs::path ColordProfile(const std::string& name) { return fs::path("/usr/share/color/icc/colord") / name; }

bool InstallColordProfiles(const fs::path& root) {
  const fs::path dir = root / "usr/share/color/icc/colord";
  std::error_code ec;
  fs::create_directories(dir, ec);
  for (const char* name : {"sRGB.icc", "AdobeRGB1998.icc"}) {
    fs::copy_file(ColordProfile(name), dir / name, fs::copy_options::overwrite_existing, ec);
    if (ec) return false;
  }
  return true;
}

std::vector<uint8_t> TransiccRGB(const fs::path& from, const fs::path& to, const std::vector<uint8_t>& rgb) {
  ScratchDir dir;
  std::ostringstream input;
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) input << int(rgb[i]) << ' ' << int(rgb[i + 1]) << ' ' << int(rgb[i + 2]) << '\n';
  const std::string in = (dir / "in.txt").string();
  const std::string text = input.str();
  WriteBytes(in, std::vector<uint8_t>(text.begin(), text.end()));
  std::string out;
  // Perceptual intent (0) and no black-point compensation, as a colour world renders.
  if (Run("transicc -t0 -n -i '" + from.string() + "' -o '" + to.string() + "' < '" + in + "'", &out) != 0)
    return {};
  // Each answer is a line of three numbers; the banner lines are not.
  std::vector<uint8_t> result;
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::vector<uint8_t> values;
    std::string word;
    bool numbers = true;
    while (numbers && words >> word) {
      char* end = nullptr;
      const double v = std::strtod(word.c_str(), &end);
      numbers = end && *end == 0;
      values.push_back(static_cast<uint8_t>(std::lround(std::fmin(255, std::fmax(0, v)))));
    }
    if (numbers && values.size() == 3) result.insert(result.end(), values.begin(), values.end());
  }
  if (result.size() != rgb.size()) return {};
  return result;
}

bool SetRootICCProfile(const std::string& display, const std::vector<uint8_t>& bytes) {
  Display* x = XOpenDisplay(display.c_str());
  if (!x) return false;
  const Atom property = XInternAtom(x, "_ICC_PROFILE", False);
  if (bytes.empty())
    XDeleteProperty(x, DefaultRootWindow(x), property);
  else
    XChangeProperty(x, DefaultRootWindow(x), property, XA_CARDINAL, 8, PropModeReplace, bytes.data(),
                    static_cast<int>(bytes.size()));
  XSync(x, False);
  XCloseDisplay(x);
  return true;
}

}  // namespace wxtest
