// Page files as the export pipeline writes them for the preview: one-strip TIFFs through
// the system's own writer.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>

#include "toolbox/Files.h"

namespace wxtest {

typedef std::array<uint8_t, 3> RGB;

// A w x h colour page whose four quarters are `quarters` (top-left, top-right,
// bottom-right, bottom-left); false when the writer failed.
bool WriteQuarterPage(const std::filesystem::path& path, int w, int h, const std::array<RGB, 4>& quarters);
FSSpec SpecOf(const std::filesystem::path& path);

}  // namespace wxtest
