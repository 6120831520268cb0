// The display under the Window Manager: a real screen through SDL2, or none (headless).
//
// The Window Manager tells the display about each window (shown, moved, reshaped, raised,
// pixels changed); the display shows it and turns the screen's input into raw input for
// the Event Manager. Headless, windows exist only as their ports' pixels and input comes
// from the test driver (windows/TestDriver.h). Both paths share the raw input queue.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "quickdraw/QuickDraw.h"

enum class DpyInputKind { MouseMove, MouseDown, MouseUp, KeyDown, KeyUp, AutoKey, FileDrop, CloseWindow, Quit };

typedef const void* DpyWindowID;

// One piece of raw input. `where` is global; `message` is the character code in the low
// byte and the virtual key code in the next (key input only).
struct DpyInput {
  DpyInputKind kind = DpyInputKind::MouseMove;
  Point where = {0, 0};
  UInt32 message = 0;
  UInt16 modifiers = 0;
  std::vector<std::string> paths;  // FileDrop
  DpyWindowID window = nullptr;    // CloseWindow: the window the desktop asks to close
};

// What the display needs to know of a window. All geometry is global.
struct DpyWindowState {
  Rect content = {0, 0, 0, 0};  // the port's pixels cover this
  RgnHandle shape = nullptr;     // frameless windows: the visible outline (global)
  bool frameless = false;
  bool tooltip = false;  // above every other window, never focused, no frame
  bool visible = false;
  std::string titleUTF8;
};


class DpyBackend {
 public:
  virtual ~DpyBackend() = default;
  virtual bool IsHeadless() const = 0;
  virtual Rect ScreenBounds() const = 0;
  virtual void WindowChanged(DpyWindowID id, const DpyWindowState& state) = 0;
  virtual void WindowRemoved(DpyWindowID id) = 0;
  // Windows front to back, so the screen stacks them the same way.
  virtual void Restack(const std::vector<DpyWindowID>& frontToBack) = 0;
  // Shows the port's pixels (32-bit) in the window.
  virtual void Present(DpyWindowID id, PixMapHandle pixels) = 0;
  // Moves input that arrived since the last call into the raw input queue.
  virtual void Poll() = 0;
  // Waits up to `milliseconds` for input to arrive (returns at once headless).
  virtual void WaitForInput(int milliseconds) = 0;
  virtual void Beep() = 0;
  virtual void SetCursorImage(const Cursor* cursor) = 0;
};

// The display in use: SDL2 when the environment has a screen (DISPLAY or WAYLAND_DISPLAY)
// and WX_DISPLAY is not "headless", else headless. Chosen on first use.
DpyBackend& DpyCurrent();
// False when the environment names no screen (neither DISPLAY nor WAYLAND_DISPLAY) and
// does not ask to run without one (WX_DISPLAY=headless): an application then cannot show
// anything and should say so with DpyNoScreenMessage.
bool DpyEnvironmentCanRun();
// Opens the screen the environment names (nothing to do when it asks for none); false when
// it cannot be opened, the reason written on the standard error: an application then ends
// rather than run with no window anyone can see.
bool DpyOpenNamedScreen();
// One line saying that `program` found no display and how to run it under Xvfb.
std::string DpyNoScreenMessage(const char* program);
// Makes the next DpyCurrent() headless (tests) or SDL2 (tests under Xvfb). Returns false
// when SDL2 cannot open the screen.
void DpyUseHeadless();
bool DpyUseScreen();

// The raw input queue.
void DpyPostInput(const DpyInput& input);
// Polls the display, then gives the oldest input without removing it.
bool DpyPeekInput(DpyInput* input);
void DpyPopInput();
void DpyClearInput();

// The cursor image the display was last told to show; false while the cursor is hidden.
bool DpyShownCursor(Cursor* out);

// Beeps counted (tests check that a refused key beeped).
int DpyBeepCount();
void DpyCountBeep();

// The screen moved a window itself (the user dragged its frame): the Window Manager
// follows. `topLeft` is the content's new global top left.
typedef void (*DpyMovedHook)(DpyWindowID id, Point topLeft);
void DpySetMovedHook(DpyMovedHook hook);
void DpyReportMoved(DpyWindowID id, Point topLeft);

// The backends.
std::unique_ptr<DpyBackend> DpyMakeHeadless();
std::unique_ptr<DpyBackend> DpyMakeScreen();  // null when SDL2 cannot open a screen

// The ICC profile a colour manager published for the screen (the X root window's
// _ICC_PROFILE property). False headless, without an X server or without the property.
bool DpyScreenICCProfile(std::vector<uint8_t>* bytes);

// A 0x00RRGGBB image as an 8-bit RGB PNG file.
bool DpyWritePNG(const std::string& path, const uint32_t* pixels, int width, int height);
