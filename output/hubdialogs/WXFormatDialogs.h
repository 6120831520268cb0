// The option sub-dialogs of the output formats: PDF (layout 300), JPEG (310) and TIFF or
// PICT (320). Each edits its record in place on OK (900); Cancel (901) leaves it as it was,
// except that unchecking the PDF language option clears the PDF's 'CBXT' option at once.
// A missing pane, or one of another class, throws 'nilP'.
#pragma once

#include "prefs/PrefRecords.h"
#include "framework/FrameworkTypes.h"
#include "toolbox/MacTypes.h"

class LCommander;

namespace CWXUtility {

enum : ResIDT {
  kLanguageMenu = 300,   // the languages of the text option
  kLanguageMenuJ = 301,  // the same on a Japanese system
};

// `previewMode` leaves only the language option editable; `noCBXP` / `noCBXT` disable
// those options. `unused` is kept for the callers' argument order.
SInt32 PDFSetting(SInt32 layoutID, LCommander* super, StPDFDialog& record, UInt8 unused, UInt8 previewMode,
                  UInt8 noCBXP, UInt8 noCBXT);
// `showCompression` 0 hides the quality popup; `noPRB` disables 'PRBJ'; `noLanguage`
// disables the language option with its popup.
SInt32 JPEGSetting(SInt32 layoutID, LCommander* super, StJPEGDialog& record, UInt8 showCompression,
                   UInt8 previewMode, UInt8 noPRB, UInt8 noLanguage);
SInt32 OtherSetting(SInt32 layoutID, LCommander* super, StOtherDialog& record, UInt8 unused, UInt8 previewMode,
                    UInt8 noPRB, UInt8 noLanguage);

}  // namespace CWXUtility
