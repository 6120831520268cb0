// Adding a scan pass's pages to a run PDF (a multi-page PDF grown pass by pass, or the new
// copy of a chosen PDF), so that a failure never costs the pages already in it.
#pragma once

#include "prefs/PrefRecords.h"
#include "framework/TArray.h"
#include "toolbox/Files.h"

class CThreadChecker;

// The name of the new copy of `pdf`: its name without the extension, cut to leave room for
// "_New" within `maxChars`, then "_New".
void NewCopyName(const FSSpec& pdf, SInt16 maxChars, Str255 out);

// The pass's pages as temporary PDFs in the temporary folder, from TWAIN (`kind` not 0)
// or the plug-in host; null when there are none.
TArray<FSSpec>* PassAsTemporaryPDFs(long kind, CThreadChecker* checker, StPDFDialog& pdf, unsigned char numberFlag,
                                    OSType creator);

enum class AppendOutcome { kDone, kNoTarget, kFailed };
// Appends the pieces in order to `target` (each append replaces the target only when it
// succeeds); a piece is deleted once its pages are in. After a failure the target is as it
// was before the failing piece and the remaining pieces stay where they are. `pieces` is
// emptied of the pieces appended. Once every piece is in, the raw pages of `pass` (the scan
// the pieces were written from) go too: nothing needs them any more.
AppendOutcome AppendPieces(FSSpec& target, TArray<FSSpec>& pieces, OSType creator, CThreadChecker* pass);
