// The custom document size: a sub-dialog (layout 200) where width and height are typed in
// centimetres or inches, and the text a paper-size popup shows for the size.
#pragma once

#include "framework/FrameworkTypes.h"
#include "framework/PaneTypes.h"
#include "output/hubdialogs/WXSizeNumbers.h"
#include "toolbox/MacTypes.h"
#include "toolbox/RecordAccess.h"

class LCommander;
struct PrefDocSize;

// A size handed to and from the sub-dialog: in centimetres going in, in tenths of a
// millimetre coming back (whatever the unit says); unit 1 = centimetres, 2 = inches.
struct StDescriptDialog {
  double width = 0;
  double height = 0;
  SInt32 unit = 1;
  SInt32 spare = 0;
};

namespace CWXUtility {

// Runs the dialog; 900 after OK (the user's size), 901 after Cancel (the entry size).
SInt32 ManuscriptSizeSetting(SInt32 layoutID, LCommander* super, StDescriptDialog& size);

// The popup text of a size in tenths of a millimetre: "<prefix> (w x h<unit>)".
void ManuscriptPrefToString(StDescriptDialog size, StringPtr text);

// A size stored in a function record (tenths of a millimetre, 16 bits each) edited with the
// dialog. The result is rounded to the nearest tenth of a millimetre, so a cancelled
// dialog leaves the stored size as it was.
SInt32 EditStoredManuscriptSize(SInt32 layoutID, LCommander* super, RecordBytes record, const PrefDocSize& field);
UInt16 RoundToTenthMillimetre(double tenths);
// The stored size as the scan takes it: {width, height}.
SDimension16 StoredScanSize(RecordBytes record, const PrefDocSize& field);

}  // namespace CWXUtility
