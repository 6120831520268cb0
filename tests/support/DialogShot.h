// A screenshot of a dialog shown on the private X screen: what the screen shows under the
// dialog is kept as a PNG for a person to look at.
#pragma once

#include <string>

class LWindow;

namespace wxtest {

// Draws the dialog, lets the screen show it, and keeps the screen's part under it as `name`
// in the sample folder of `area`. The number of pixels that differ from the dialog's port
// (-1 when the sizes differ).
int ShootDialog(LWindow* dialog, const std::string& area, const std::string& name);

}  // namespace wxtest
