#include "display/dpyShape.h"

#include <SDL_syswm.h>
#include <X11/extensions/shape.h>

bool DpySetWindowShape(SDL_Window* window, const std::vector<SDL_Rect>& rects) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  std::vector<XRectangle> xr;
  xr.reserve(rects.size());
  for (const SDL_Rect& r : rects)
    xr.push_back(XRectangle{static_cast<short>(r.x), static_cast<short>(r.y), static_cast<unsigned short>(r.w), static_cast<unsigned short>(r.h)});
  XShapeCombineRectangles(info.info.x11.display, info.info.x11.window, ShapeBounding, 0, 0, xr.data(), static_cast<int>(xr.size()),
                          ShapeSet, YXBanded);
  return true;
}
