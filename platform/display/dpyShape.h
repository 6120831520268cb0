// Giving an SDL window a non-rectangular outline (X11's shape extension). Kept apart
// because the X11 headers clash with the platform's names.
#pragma once

#include <SDL.h>

#include <vector>

// `rects` are in window coordinates, banded (sorted by y, then x). False when the window
// system offers no shapes.
bool DpySetWindowShape(SDL_Window* window, const std::vector<SDL_Rect>& rects);
