// The stitch wizard of the fake-source tests: it records each call, and the test plays its
// part, or it cannot be made and says at once that it closed, as the real one does then.
#pragma once

#include <filesystem>
#include <vector>

class LDialogBox;

namespace wxstandin {

struct StitchCall {
  long function = 0, paper = 0, driverUI = 0;
  LDialogBox* caller = nullptr;
  std::filesystem::path destination, temp;
};
extern std::vector<StitchCall> gStitchCalls;
// The next wizards close before they return.
extern bool gWizardClosesAtOnce;

}  // namespace wxstandin
