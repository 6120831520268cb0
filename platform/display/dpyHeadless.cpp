// No screen: windows are their ports' pixels and nothing else; input comes from the test
// driver through the raw input queue.
#include "display/Display.h"

namespace {

class HeadlessBackend final : public DpyBackend {
 public:
  bool IsHeadless() const override { return true; }
  Rect ScreenBounds() const override { return Rect{0, 0, 900, 1440}; }
  void WindowChanged(DpyWindowID, const DpyWindowState&) override {}
  void WindowRemoved(DpyWindowID) override {}
  void Restack(const std::vector<DpyWindowID>&) override {}
  void Present(DpyWindowID, PixMapHandle) override {}
  void Poll() override {}
  void WaitForInput(int) override {}
  void Beep() override { DpyCountBeep(); }
  void SetCursorImage(const Cursor*) override {}
};

}  // namespace

std::unique_ptr<DpyBackend> DpyMakeHeadless() { return std::make_unique<HeadlessBackend>(); }
