// Page files as the export pipeline writes them for the preview: one-strip TIFFs through
// the system's own writer.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "toolbox/Files.h"

namespace wxtest {

typedef std::array<uint8_t, 3> RGB;

// The four quarters of the fixture page: top-left, top-right, bottom-right, bottom-left.
inline constexpr std::array<RGB, 4> kQuarters{RGB{255, 0, 0}, RGB{0, 255, 0}, RGB{0, 0, 255}, RGB{255, 255, 0}};

// The quarters' colours in corner order once the page is turned clockwise `quarters` times.
inline std::array<RGB, 4> Turned(int quarters) {
  std::array<RGB, 4> out{};
  for (int i = 0; i < 4; ++i) out[size_t(i)] = kQuarters[size_t((i - quarters + 4) % 4)];
  return out;
}

// A w x h colour page whose four quarters are `quarters` (top-left, top-right,
// bottom-right, bottom-left); false when the writer failed.
bool WriteQuarterPage(const std::filesystem::path& path, int w, int h, const std::array<RGB, 4>& quarters);
// A w x h page of `bits` per pixel (1, 8 or 24) and TIFF photometric value, its rows given
// as they are stored; false when the writer failed.
bool WritePage(const std::filesystem::path& path, int w, int h, int bits, int photometric,
               const std::vector<std::vector<uint8_t>>& rows);
FSSpec SpecOf(const std::filesystem::path& path);

}  // namespace wxtest
