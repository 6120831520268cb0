// Pieces the Save and custom-scan dialogs share beside those of every function dialog
// (app/FunctionDialogRun.h): alerts of string list 400, the folder caption, the name history popup,
// and cleaning up after a scan.
#pragma once

#include "app/FunctionDialogRun.h"
#include "prefs/PrefRecords.h"
#include "framework/LException.h"
#include "framework/LListener.h"
#include "framework/LView.h"
#include "framework/TArray.h"
#include "output/export/PageRecords.h"

class CThreadChecker;
class CTWAIN;
class LCommander;
class LEditText;
class LPopupButton;
class LWindow;

namespace FunctionDialogKit {

bool SameText(ConstStr255Param a, ConstStr255Param b);
// Whether the FSSpec names an item that still exists.
bool SpecResolves(const FSSpec& spec);
SInt32 SystemVersion();
// The four-character code of a file-type item (PDF for the Save dialog's PDF types).
OSType FileTypeCode(UInt32 type);

// While a scan runs every command is off, and closing, quitting and the application menu's
// item wait for the scan's end; true when the command was decided here.
bool DecideCommandWhileScanning(CommandT command, UInt8 busy, bool& outEnabled);

// String list 400's item in the alert box: OK only, or a question answered true by OK.
void Alert(LCommander* owner, long item);
bool Ask(LCommander* owner, long item);
// True when `name` can name a file; otherwise false after the alert that says why.
bool FileNameAccepted(LCommander* owner, ConstStr255Param name);

// The item's full path, cut to the caption's width less a margin; false when no path can be
// made.
bool ShortPath(LPane* caption, const FSSpec& spec, Str255 text);
// The folder's short path in the caption, or nothing.
void ShowFolderPath(LPane* caption, const FSSpec& folder);
// The size popup's custom item shows the stored custom size.
void ShowCustomSize(LPopupButton* size, RecordBytes record, const PrefDocSize& field);

// After a failed transfer: the alerts for an image too large and for one too large at its
// resolution (both only when the driver's window scanned) and for a too deep image; then the
// dialog is drawn again.
void ShowTransferRefusals(LWindow* dialog, CTWAIN& twain, bool driverWindow);

// The PDF settings' marks for the chosen file type: all pages in one file, and those pages
// added to an existing PDF.
void MarkPdfFileType(RecordBytes pdf, bool onePDF, bool addToPDF);

// The scan watcher and the scan objects it watches.
void DeleteRunObjects(CThreadChecker* checker);
// The next pass of a multi-page run, on the scan objects of the last one; false when the
// source would not scan again. The watcher is running again either way.
bool StartNextPass(CThreadChecker* checker, RecordBytes prefsAll);
// Both files of every pending page, then the pages.
void DeletePages(TArray<ScanDataPlus>& pages, TArray<EXIF_PREF>& exifs);
// The default EXIF settings as the file holds them now (the preview may have stored them).
void ReloadDefaultExif(RecordBytes prefsAll);

// The name history popup's messages ('FACB' before it opens, 'FACA' after it closed, 'PuFN'
// for a choice); false for any other message. Before it opens it lists the history newest
// first with the current name marked, or the current name on top (`matched` says which);
// after it closes that extra top item goes; a choice becomes the name.
bool HandleHistoryMessage(LListener* dialog, MessageT message, long value, LPopupButton* popup, LEditText* name,
                          RecordBytes record, const PrefHistory& history, UInt8& matched);
// The file-name dialog over the record's history; 1 when `name` was changed.
long AskForName(LCommander* owner, RecordBytes record, const PrefHistory& history, Str255 name);

}  // namespace FunctionDialogKit
