// SDL2, opened when a real screen is first wanted: a headless run (tests, a program that
// only writes files) never loads it nor the sound, input and window-system libraries it
// pulls in.
#pragma once

#include <SDL.h>

#include "toolbox/LazyLibrary.h"

#define WX_SDL_CALLS(X)                                                                                       \
  X(SDL_SetHint) X(SDL_InitSubSystem) X(SDL_QuitSubSystem) X(SDL_Quit) X(SDL_EventState)                      \
  X(SDL_StartTextInput) X(SDL_GetDisplayBounds) X(SDL_CreateWindow) X(SDL_DestroyWindow) X(SDL_GetWindowID)   \
  X(SDL_SetWindowTitle) X(SDL_SetWindowPosition) X(SDL_ShowWindow) X(SDL_HideWindow) X(SDL_RaiseWindow)       \
  X(SDL_GetWindowSurface) X(SDL_LockSurface) X(SDL_UnlockSurface) X(SDL_MapRGB) X(SDL_UpdateWindowSurface)    \
  X(SDL_UpdateWindowSurfaceRects) X(SDL_PollEvent) X(SDL_WaitEventTimeout) X(SDL_GetModState)                 \
  X(SDL_GetGlobalMouseState) X(SDL_ShowCursor) X(SDL_CreateRGBSurfaceWithFormat) X(SDL_CreateColorCursor)     \
  X(SDL_FreeSurface) X(SDL_SetCursor) X(SDL_FreeCursor) X(SDL_free) X(SDL_GetError)

struct DpySDLCalls {
  WX_SDL_CALLS(WX_LAZY_CALL)
  // Declared here by hand: SDL_syswm.h brings X11's names, which clash with the platform's.
  SDL_bool (*SDL_GetWindowWMInfo)(SDL_Window*, struct SDL_SysWMinfo*) = nullptr;
};

// The calls, loaded on the first use; null when SDL2 is not installed (the reason is
// written once on the standard error).
const DpySDLCalls* DpySDL();
// The calls once DpySDL() has loaded them, as every screen backend has.
inline const DpySDLCalls& Sdl() { return *DpySDL(); }
