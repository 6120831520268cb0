// The test driver for the chooser: select or enter an item by its shown name, go up the
// path popup, read what is shown. Input is posted as a user's clicks.
#pragma once

#include <string>
#include <vector>

#include "toolbox/MacTypes.h"

class LWindow;

namespace wxnavigation {

// Clicks the item's row (once to select it, twice to enter a folder); throws 'nilP' when no
// item is shown by that name.
void SelectItem(LWindow* chooser, const std::string& name);
void EnterItem(LWindow* chooser, const std::string& name);
// Chooses item `level` of the path popup (1 the shown folder, 2 its parent...).
void GoUp(LWindow* chooser, SInt16 level);
void TypeLocation(LWindow* chooser, const std::string& bytes);
std::vector<std::string> ShownNames(LWindow* chooser);

}  // namespace wxnavigation
