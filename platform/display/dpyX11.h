// The X connection under SDL2: its errors and its descriptor. Kept apart because the X11
// headers clash with the platform's names.
#pragma once

#include <SDL.h>

// Installs the program's X error handlers (again with each new screen): an error about a window the program has
// already destroyed (a request that crossed its destruction) is written on the standard
// error and otherwise ignored, any other error goes to the handler before ours; a lost
// connection (the X server ended) ends the program at once with a message, running no exit
// handler that would wait on the dead connection.
void DpyWatchXErrors();
// Notes the X window of `window` as destroyed by the program: call just before
// SDL_DestroyWindow.
void DpyForgetXWindow(SDL_Window* window);
// The descriptor of the X connection `window` lives on, -1 when it is not on X.
int DpyXConnectionFd(SDL_Window* window);
