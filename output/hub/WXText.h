// Text and file-name helpers shared by the dialogs and the output code: text cut to a
// width, long (Unicode) names shown in Pascal strings, the decimal-point character, the
// marks and slots of the draggable function buttons.
#pragma once

#include "framework/LStr255.h"
#include "toolbox/Files.h"
#include "toolbox/MacTypes.h"
#include "toolbox/RecordAccess.h"

namespace CWXUtility {

// Cuts `text` (`*length` bytes) to `width` pixels in the current port and puts a zero byte
// at the new length, so `text` needs room for one more byte. The result of TruncText.
SInt16 Trank(SInt16 width, char* text, SInt16* length, SInt16 truncWhere);
SInt16 PStringTrank(SInt16 width, Str255 text, SInt16 truncWhere);

// The item's long name in the system script, cut to 255 bytes between characters.
// `out` is left as it was when the item is missing or its name has no form in the script.
void GetPSStringTrank(const FSSpec& spec, Str255 out);

// A new handle with the item's path for display: its folders, then its long name, cut in
// the middle to `width` pixels. Length 0 and no handle on failure.
Handle GetFullPathTrank(const FSSpec& spec, SInt16 width, SInt16* length);

// The long name cut to 31 bytes between characters; the short name when it has no form in
// the script.
LStr255 GetPDFAddLongName(const FSSpec& spec);

// Removes a trailing ".app" or ".desktop" (the application extensions); any other name is
// left alone.
void RemoveExtensionApp(Str255 name);

// A desktop entry's Name= in the system script, the name the choosers list it by; false for
// any other file and for an entry without a name.
bool DesktopEntryName(const FSSpec& app, Str255 name);
// The name an application is shown by: its desktop entry's Name=, else its file name without
// the application extension.
void ApplicationName(const FSSpec& app, Str255 name);

// The decimal point of the user's numeric locale ('.' when the locale is not installed),
// asked once per process.
char GetLocalizedDecPointChar();
// The same for a named locale (the part behind the cache).
char DecPointCharOfLocale(const char* localeName);

// The text encoding of the system script.
TextEncoding GetEncoding();

// A new array (delete[] it) of the name's UTF-16 units; `byteLength` gets its size in bytes.
// Throws the platform error when the name has no Unicode form.
UniChar* ConvertFromPStringToUnicode(const LStr255& name, long& byteLength);

// Renames a written file to its own name through the Unicode call, so that characters
// outside plain ASCII are kept. 1 on success (an existing equal name counts), else 0.
long RenameFSSpecFile2UniFile(const FSSpec* spec);

// The picture of the scanner-button mark on a draggable function button (0: none).
long GetMoveIconNo(long tag, long productID);
// Stores `value` in the scanner-button slot of `tag` in PREF_ALL; tags without a slot on
// this product store nothing.
void SetMove_Button_Popup_Value(RecordBytes prefsAll, long tag, long productID, UInt32 value);

// The idle hook of a TWAIN scan: while the scanner's own window is up, the dialog that
// started the scan and the main window show as inactive.
void UpdateProc();

}  // namespace CWXUtility
