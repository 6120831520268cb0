// A window on the private X screen: a screenshot of the screen under it, kept for a person
// to look at, compared with what the window drew into its port.
#pragma once

#include <string>

class LWindow;

namespace wxtest {

// Draws the window, lets the screen show it and keeps the screen's part under it as `name`
// in the dialogs' sample folder. The number of pixels that differ from the port, or -1 when
// no screenshot could be taken or its size differs.
int ShootWindow(LWindow* window, const std::string& name);

}  // namespace wxtest
