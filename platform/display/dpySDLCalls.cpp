#include "display/dpySDLCalls.h"

const DpySDLCalls* DpySDL() {
  static DpySDLCalls calls;
  static LazyLibrary library(WX_SDL2_SONAME, "The screen");
  return library.Load([](LazyLibrary& library) { return true WX_SDL_CALLS(WX_LAZY_FIND) WX_LAZY_FIND(SDL_GetWindowWMInfo); }) ? &calls : nullptr;
}
