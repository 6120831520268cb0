// The private X screen seen from outside the program, as a user sees it: the top-level
// windows in their stacking order, the pixels, and clicks and pointer moves (xdotool).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace wxtest {

struct XTopWindow {
  unsigned long id = 0;
  std::string name;  // empty for a window without a name (a help tag)
  int left = 0, top = 0, width = 0, height = 0;
};

// The mapped top-level windows of the screen `display` (":N"), bottom to top.
std::vector<XTopWindow> XMappedWindows(const std::string& display);

// The screen's pixels, 0x00RRGGBB, row by row.
struct XPixels {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};
XPixels XGrabScreen(const std::string& display);
// Keeps the picture as a PNG for a person to look at.
bool XKeepPNG(const XPixels& screen, const std::filesystem::path& path);

// Real pointer input through the XTEST extension.
bool XMovePointer(const std::string& display, int x, int y);
bool XClick(const std::string& display, int x, int y);

// Another program's window stands over the rectangle and goes again, as when a user
// passes a window over the program's: what was under it must be drawn again.
bool XCoverBriefly(const std::string& display, int left, int top, int width, int height);

// The cursor the screen shows, 0xAARRGGBB, row by row.
struct XCursorImage {
  int width = 0, height = 0, hotX = 0, hotY = 0;
  std::vector<uint32_t> pixels;
};
XCursorImage XShownCursor(const std::string& display);

// Sends an empty client message to `window` on a connection of its own and waits for the
// server's answer; false when the display cannot be opened.
bool XSendToWindow(const std::string& display, unsigned long window);

}  // namespace wxtest
