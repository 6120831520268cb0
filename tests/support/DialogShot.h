// A screenshot of a dialog shown on the private X screen: what the screen shows under the
// dialog is kept as a PNG for a person to look at.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include <SDL.h>

#include "display/Display.h"
#include "support/TestEnv.h"
#include "support/Xvfb.h"

class LWindow;

namespace wxtest {

// Draws the dialog, lets the screen show it, and keeps the screen's part under it as `name`
// in the sample folder of `area`. The number of pixels that differ from the dialog's port
// (-1 when the sizes differ).
int ShootDialog(LWindow* dialog, const std::string& area, const std::string& name);

// The fixture `Base` with its windows on the private X screen; skipped where the screen or
// the screenshot tools are missing.
template <class Base>
class OnScreen : public Base {
 protected:
  void SetUp() override {
    WX_REQUIRE_TOOL("xdpyinfo");
    WX_REQUIRE_TOOL("xwd");
    WX_REQUIRE_TOOL("convert");
    WX_REQUIRE_XVFB();
    Base::SetUp();
    ASSERT_TRUE(DpyUseScreen()) << SDL_GetError();
  }
  void TearDown() override {
    Base::TearDown();
    DpyUseHeadless();
  }
};

}  // namespace wxtest
