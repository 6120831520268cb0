// The test driver: input for a headless (or Xvfb) run, the fake clock, and a window's
// pixels. Everything it posts goes through the same raw input queue as a real screen's.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "windows/Events.h"
#include "windows/MacWindows.h"

namespace wxdriver {

// Mouse, at a global point or a point in a window's port coordinates.
void MouseMove(Point global);
void Click(Point global, EventModifiers modifiers = 0);
void ClickInWindow(WindowRef window, Point local, EventModifiers modifiers = 0);
// Button down at `from`, `steps` moves in a straight line, button up at `to`.
void Drag(Point from, Point to, int steps = 4, EventModifiers modifiers = 0);
void MouseDown(Point global, EventModifiers modifiers = 0);
void MouseUp(Point global, EventModifiers modifiers = 0);

// Keys: one key with its character and virtual key code; text as bytes in the system
// script (a two-byte character arrives as two key-downs, lead byte first).
void Key(UInt8 charCode, UInt8 keyCode = 0, EventModifiers modifiers = 0);
void Type(const std::string& scriptBytes);

void DropFiles(Point global, const std::vector<std::string>& paths);
// The desktop asks to close `window` (its close button, Alt-F4).
void RequestWindowClose(WindowRef window);

// The fake clock: ticks pass only when a test says so.
void AdvanceTicks(UInt32 ticks);

// Takes every event that is waiting, without nulls and without updates (an update stays
// until its window is updated).
std::vector<EventRecord> DrainEvents();

// A window's port pixels as 0x00RRGGBB rows, top to bottom.
std::vector<UInt32> WindowPixels(WindowRef window, int* width, int* height);
bool SaveWindowPNG(WindowRef window, const std::filesystem::path& path);

}  // namespace wxdriver
