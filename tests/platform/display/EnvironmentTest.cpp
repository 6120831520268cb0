#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "display/Display.h"

namespace {

// Sets or clears the display variables for one case and puts them back afterwards.
class DisplayVariables {
 public:
  DisplayVariables(const char* display, const char* wayland, const char* mode) {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      mSaved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    Set("DISPLAY", display);
    Set("WAYLAND_DISPLAY", wayland);
    Set("WX_DISPLAY", mode);
  }
  ~DisplayVariables() {
    for (auto& [name, value] : mSaved) Set(name, value ? value->c_str() : nullptr);
  }

 private:
  static void Set(const char* name, const char* value) {
    if (value) setenv(name, value, 1);
    else unsetenv(name);
  }
  static constexpr const char* kNames[] = {"DISPLAY", "WAYLAND_DISPLAY", "WX_DISPLAY"};
  std::vector<std::pair<const char*, std::optional<std::string>>> mSaved;
};

TEST(DisplayEnvironment, RunsWithAScreenOrWhenAskedToRunWithout) {
  struct Case {
    const char* display;
    const char* wayland;
    const char* mode;
    bool canRun;
  };
  const Case cases[] = {
      {":0", nullptr, nullptr, true},
      {nullptr, "wayland-0", nullptr, true},
      {nullptr, nullptr, "headless", true},
      {nullptr, nullptr, nullptr, false},
      {nullptr, nullptr, "screen", false},
  };
  for (const Case& c : cases) {
    DisplayVariables vars(c.display, c.wayland, c.mode);
    EXPECT_EQ(DpyEnvironmentCanRun(), c.canRun) << (c.display ? c.display : "-") << (c.mode ? c.mode : "-");
  }
  const std::string message = DpyNoScreenMessage("wendrix");
  EXPECT_EQ(message.find('\n'), std::string::npos);
  EXPECT_NE(message.find("xvfb-run"), std::string::npos);
}

}  // namespace
