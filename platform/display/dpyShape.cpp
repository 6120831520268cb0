#include "display/dpyShape.h"

#include <SDL_syswm.h>
#include <X11/extensions/shape.h>

#include "display/dpySDLCalls.h"

namespace {

// The shape extension's one call, opened with the first shaped window.
decltype(&::XShapeCombineRectangles) ShapeCall() {
  static decltype(&::XShapeCombineRectangles) call = nullptr;
  static LazyLibrary library(WX_XEXT_SONAME, "Shaped windows");
  const bool found = library.Load([](LazyLibrary& library) { return library.Find("XShapeCombineRectangles", &call); });
  return found ? call : nullptr;
}

}  // namespace

bool DpySetWindowShape(SDL_Window* window, const std::vector<SDL_Rect>& rects) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!Sdl().SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  const auto combine = ShapeCall();
  if (!combine) return false;
  std::vector<XRectangle> xr;
  xr.reserve(rects.size());
  for (const SDL_Rect& r : rects)
    xr.push_back(XRectangle{static_cast<short>(r.x), static_cast<short>(r.y), static_cast<unsigned short>(r.w), static_cast<unsigned short>(r.h)});
  combine(info.info.x11.display, info.info.x11.window, ShapeBounding, 0, 0, xr.data(), static_cast<int>(xr.size()),
          ShapeSet, YXBanded);
  return true;
}
