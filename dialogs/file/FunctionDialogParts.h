// Pieces of the hand-on dialogs of this folder beside FunctionDialogKit's: the shortened
// folder path, the target application's name and icon, the temporary folder's check and
// the hand-on to an application.
#pragma once

#include "prefs/PrefRecords.h"
#include "dialogs/file/FunctionDialogKit.h"
#include "framework/LListener.h"
#include "framework/LView.h"
#include "framework/LException.h"
#include "framework/TArray.h"
#include "toolbox/MacTypes.h"

class CAppButton;
class CCicnButton;
class LCommander;
class LPane;
class LPopupButton;
class LWindow;

namespace FunctionDialogParts {

using FunctionDialogKit::SameText;
using FunctionDialogKit::SpecResolves;
using FunctionDialogKit::SystemVersion;

// Shows a stored popup item, brought into the popup's menu; the item shown.
UInt32 ShowStoredItem(LPopupButton* popup, UInt32 stored);
// The full path of `spec`, shortened to the caption's width less a margin; the caption
// keeps its text when no path can be made.
void ShowShortPath(LPane* caption, const FSSpec& spec);

// The application's name without ".app", or item `noneItem` of `list` when none is chosen;
// its icon, or the button's own icon.
void ShowApplication(LPane* name, CCicnButton* icon, const FSSpec& app, ResIDT list, SInt16 noneItem);
// The main window's function button shows the application's icon, or its own.
void ShowButtonIcon(CAppButton* button, const FSSpec& app);

// Makes the default temporary folder when the stored base folder has gone, storing both
// folders into `prefAll`; false (after alert 3) when it cannot be made.
bool TempFolderReady(RecordBytes prefAll, LCommander* alertOwner);

// Launches (or finds) `app` and sends it the files. False when nothing reached it: no
// process, or an error raised on the way (the files stay where they are).
bool HandOn(const FSSpec& app, const TArray<FSSpec>& files);

}  // namespace FunctionDialogParts
