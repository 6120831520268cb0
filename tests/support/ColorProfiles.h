// Colour-matching fixtures: colord's profiles in a test root, transicc as the reference,
// and the screen profile a colour manager publishes on the X root window.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace wxtest {

// colord's profiles, installed with colord-data.
std::filesystem::path ColordProfile(const std::string& name);
// Copies colord's sRGB.icc and AdobeRGB1998.icc into <root>/usr/share/color/icc/colord, the
// system profile folder under a moved WENDRIX_ROOT. False when colord-data is missing.
bool InstallColordProfiles(const std::filesystem::path& root);

// R, G, B samples converted by transicc from one profile to the other, rounded; empty when
// transicc fails.
std::vector<uint8_t> TransiccRGB(const std::filesystem::path& from, const std::filesystem::path& to,
                                 const std::vector<uint8_t>& rgb);

// Sets (or, with no bytes, removes) _ICC_PROFILE on the root window of X display `display`.
bool SetRootICCProfile(const std::string& display, const std::vector<uint8_t>& bytes);

}  // namespace wxtest

// Skips the current test when colord-data or transicc is missing.
#define WX_REQUIRE_COLOR_TOOLS() \
  do { \
    if (!std::filesystem::exists(::wxtest::ColordProfile("sRGB.icc"))) \
      GTEST_SKIP() << "colord-data is not installed (scripts/setup installs it)"; \
    WX_REQUIRE_TOOL("transicc"); \
  } while (0)
