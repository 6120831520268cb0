#include "support/WindowScreenshot.h"

#include <SDL.h>

#include <vector>

#include "display/Display.h"
#include "framework/LWindow.h"
#include "support/TestEnv.h"
#include "support/Xvfb.h"
#include "windows/TestDriver.h"

namespace wxtest {

int ShootWindow(LWindow* window, const std::string& name) {
  window->UpdatePort();
  for (int i = 0; i < 20; ++i) {
    SDL_PumpEvents();
    DpyCurrent().Poll();
  }
  const std::string display = Xvfb::Get().name();
  Run("xdpyinfo -display " + display + " >/dev/null 2>&1");
  Rect bounds;
  window->GetGlobalBounds(bounds);
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  const std::string png = (OutputDir("dialogs") / name).string();
  const std::string crop = std::to_string(width) + "x" + std::to_string(height) + "+" + std::to_string(bounds.left) +
                           "+" + std::to_string(bounds.top);
  ScratchDir scratch;
  const std::string dump = (scratch / "screen.xwd").string();
  std::string said;
  if (Run("xwd -root -silent -display " + display + " -out '" + dump + "' 2>&1", &said) != 0) {
    ADD_FAILURE() << said;
    return -1;
  }
  if (Run("convert xwd:'" + dump + "' -crop " + crop + " +repage '" + png + "' 2>&1", &said) != 0) {
    ADD_FAILURE() << said;
    return -1;
  }
  std::string raw;
  Run("convert '" + png + "' -depth 8 rgb:-", &raw);
  int w = 0, h = 0;
  const std::vector<UInt32> port = wxdriver::WindowPixels(window->GetMacWindow(), &w, &h);
  if (w != width || h != height || raw.size() != size_t(w) * h * 3) return -1;
  int differ = 0;
  for (size_t i = 0; i < port.size(); ++i) {
    const UInt32 s = (UInt32(UInt8(raw[3 * i])) << 16) | (UInt32(UInt8(raw[3 * i + 1])) << 8) | UInt8(raw[3 * i + 2]);
    if (s != (port[i] & 0xFFFFFF)) ++differ;
  }
  return differ;
}

}  // namespace wxtest
