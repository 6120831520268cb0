// The choosers of a PDF to append to, an application to hand files to, a destination folder
// and the parent of the temporary folder, with the object filters that hide what does not
// fit. Each answers 1 when the user chose something usable, else 0.
#pragma once

#include "navigation/Navigation.h"

namespace CWXUtility {

constexpr SInt16 kChooserMessages = 10000;
constexpr SInt16 kFolderMessage = 5;
constexpr SInt16 kApplicationMessage = 6;
constexpr SInt16 kPDFMessage = 7;

// `text` is not read; the message comes from the application's strings.
long ChoosePDFFile(FSSpec& chosen, unsigned char* text, FSSpec& lastFile);
long ChooseApplication(FSSpec& chosen, unsigned char* text);
long ChooseFolder(FSSpec& chosen, unsigned char* text, FSSpec& defaultLocation);
long ChooseTempFolder(FSSpec& chosen, unsigned char* text, FSSpec& defaultLocation);

// Object filters: true shows the item; items that are not 'fss ' are always shown.
// Hides alias files.
Boolean AliasFilterProc(AEDesc* item, void* info, void* userData, NavFilterModes mode);
// Hides files that are not applications able to run here, and packages that are not
// applications.
Boolean ClassicAppFilterProc(AEDesc* item, void* info, void* userData, NavFilterModes mode);
// Hides items on network volumes; an item whose volume cannot be asked is shown.
Boolean NetworkFolderFilterProc(AEDesc* item, void* info, void* userData, NavFilterModes mode);
// Hides the current temporary folder, given as `userData` (a const FSSpec*).
Boolean TempFolderFilterProc(AEDesc* item, void* info, void* userData, NavFilterModes mode);

}  // namespace CWXUtility
