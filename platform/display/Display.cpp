// Which display is in use, and the raw input queue both displays fill.
#include "display/Display.h"

#include <cstdlib>
#include <cstring>

#include "display/dpyRootProfile.h"
#include "quickdraw/qdPort.h"

namespace {

std::unique_ptr<DpyBackend>& Current() {
  static std::unique_ptr<DpyBackend> backend;
  return backend;
}

std::deque<DpyInput>& Queue() {
  static std::deque<DpyInput> queue;
  return queue;
}

int sBeeps = 0;
bool sCursorShown = false;
Cursor sShownCursor{};
DpyMovedHook sMovedHook = nullptr;

bool HeadlessAsked() {
  const char* mode = std::getenv("WX_DISPLAY");
  return mode && std::strcmp(mode, "headless") == 0;
}

bool ScreenNamed() { return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"); }

bool WantsScreen() { return !HeadlessAsked() && ScreenNamed(); }

void Install(std::unique_ptr<DpyBackend> backend) {
  Current() = std::move(backend);
  qdSetScreenBounds(Current()->ScreenBounds());
  qdSetCursorHook([](const Cursor* cursor) {
    sCursorShown = cursor != nullptr;
    if (cursor) sShownCursor = *cursor;
    DpyCurrent().SetCursorImage(cursor);
  });
}

}  // namespace

bool DpyEnvironmentCanRun() { return HeadlessAsked() || ScreenNamed(); }

std::string DpyNoScreenMessage(const char* program) {
  return std::string(program) + ": no display found (DISPLAY and WAYLAND_DISPLAY are not set); run it under Xvfb, e.g. xvfb-run -a " + program;
}

DpyBackend& DpyCurrent() {
  if (!Current()) {
    std::unique_ptr<DpyBackend> screen = WantsScreen() ? DpyMakeScreen() : nullptr;
    Install(screen ? std::move(screen) : DpyMakeHeadless());
  }
  return *Current();
}

void DpyUseHeadless() {
  Install(DpyMakeHeadless());
  DpyClearInput();
}

bool DpyUseScreen() {
  std::unique_ptr<DpyBackend> screen = DpyMakeScreen();
  if (!screen) return false;
  Install(std::move(screen));
  DpyClearInput();
  return true;
}

bool DpyOpenNamedScreen() { return !WantsScreen() || DpyUseScreen(); }

void DpyPostInput(const DpyInput& input) { Queue().push_back(input); }

bool DpyPeekInput(DpyInput* input) {
  DpyCurrent().Poll();
  if (Queue().empty()) return false;
  *input = Queue().front();
  return true;
}

void DpyPopInput() {
  if (!Queue().empty()) Queue().pop_front();
}

void DpyClearInput() { Queue().clear(); }

int DpyBeepCount() { return sBeeps; }
void DpyCountBeep() { ++sBeeps; }

void DpySetMovedHook(DpyMovedHook hook) { sMovedHook = hook; }
void DpyReportMoved(DpyWindowID id, Point topLeft) {
  if (sMovedHook) sMovedHook(id, topLeft);
}

bool DpyShownCursor(Cursor* out) {
  if (sCursorShown) *out = sShownCursor;
  return sCursorShown;
}

bool DpyScreenICCProfile(std::vector<uint8_t>* bytes) {
  bytes->clear();
  return !DpyCurrent().IsHeadless() && DpyReadRootICCProfile(bytes);
}
