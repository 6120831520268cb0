// A dialog as the screen (a private Xvfb) shows it, kept as a PNG for a person to look at.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "display/Display.h"
#include "framework/LWindow.h"
#include "support/TestEnv.h"
#include "support/Xvfb.h"
#include "windows/TestDriver.h"

// Skips the test unless the private screen and the tools ShootDialog runs are there.
#define WX_REQUIRE_DIALOG_SHOT() \
  WX_REQUIRE_TOOL("xdpyinfo");   \
  WX_REQUIRE_TOOL("xwd");        \
  WX_REQUIRE_TOOL("convert");    \
  WX_REQUIRE_XVFB()

namespace wxtest {

// Draws the dialog, lets the screen show it, and keeps the screen's part under it as
// `name` in the dialogs' sample folder. The number of pixels that differ from the port.
inline int ShootDialog(LWindow* dialog, const std::string& name) {
  dialog->UpdatePort();
  for (int i = 0; i < 20; ++i) {
    SDL_PumpEvents();
    DpyCurrent().Poll();
  }
  const std::string display = wxtest::Xvfb::Get().name();
  wxtest::Run("xdpyinfo -display " + display + " >/dev/null 2>&1");
  Rect bounds;
  dialog->GetGlobalBounds(bounds);
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  const std::string png = (wxtest::OutputDir("dialogs") / name).string();
  const std::string crop = std::to_string(width) + "x" + std::to_string(height) + "+" +
                           std::to_string(bounds.left) + "+" + std::to_string(bounds.top);
  wxtest::ScratchDir scratch;
  const std::string dump = (scratch / "screen.xwd").string();
  std::string said;
  EXPECT_EQ(wxtest::Run("xwd -root -silent -display " + display + " -out '" + dump + "' 2>&1", &said), 0) << said;
  EXPECT_EQ(wxtest::Run("convert xwd:'" + dump + "' -crop " + crop + " +repage '" + png + "' 2>&1", &said), 0)
      << said;
  std::string raw;
  wxtest::Run("convert '" + png + "' -depth 8 rgb:-", &raw);
  int w = 0, h = 0;
  std::vector<UInt32> port = wxdriver::WindowPixels(dialog->GetMacWindow(), &w, &h);
  if (w != width || h != height || raw.size() != size_t(w) * h * 3) return -1;
  int differ = 0;
  for (size_t i = 0; i < port.size(); ++i) {
    const UInt32 s = (UInt32(UInt8(raw[3 * i])) << 16) | (UInt32(UInt8(raw[3 * i + 1])) << 8) | UInt8(raw[3 * i + 2]);
    if (s != (port[i] & 0xFFFFFF)) ++differ;
  }
  return differ;
}

}  // namespace wxtest
