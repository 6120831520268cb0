#include "framework/UWindows.h"

#include "windows/MacWindows.h"

void UWindows::ExcludeActiveStructures(RgnHandle region) {
  RgnHandle structure = NewRgn();
  for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w)) {
    if (!IsWindowVisible(w)) continue;
    if (GetWindowRegion(w, kWindowStructureRgn, structure) == 0) DiffRgn(region, structure, region);
  }
  DisposeRgn(structure);
}
