// The Printing Manager: sessions, page formats, print settings and printers as counted
// objects. Printers are CUPS's destinations (its default server, or the one CUPS_SERVER
// names), the current one being CUPS's default, and last a folder printer that writes each
// job as a PDF file into a folder: the documents folder, or the folder WX_PRINT_FOLDER
// names. Where CUPS has no printer, the folder printer is there only when WX_PRINT_FOLDER
// names its folder.
//
// Geometry is in pixels at the page format's resolution: the page rectangle (the printable
// area) starts at (0, 0) and the paper rectangle around it reaches into negative coordinates
// by the margins. A page is drawn through QuickDraw into the session's printing port, one
// port pixel being one printed dot, and becomes one PDF page of the paper's size in points.
#pragma once

#include "corefoundation/CFArray.h"
#include "corefoundation/CFString.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacTypes.h"

typedef struct OpaquePMPrintSession* PMPrintSession;
typedef struct OpaquePMPageFormat* PMPageFormat;
typedef struct OpaquePMPrintSettings* PMPrintSettings;
typedef struct OpaquePMPrinter* PMPrinter;
typedef const void* PMObject;

struct PMRect {
  double top, left, bottom, right;
};

struct PMResolution {
  double hRes, vRes;
};

typedef UInt16 PMOrientation;
enum : PMOrientation { kPMPortrait = 1, kPMLandscape = 2 };

typedef UInt16 PMDestinationType;
enum : PMDestinationType { kPMDestinationPrinter = 1, kPMDestinationFile = 2 };

typedef UInt32 PMTag;
enum : PMTag { kPMCurrentValue = 'curr', kPMDefaultValue = 'dflt' };

enum : UInt32 { kPMPrintAllPages = 0xFFFFFFFFu };

enum : OSStatus {
  kPMCancel = 128,
  kPMGeneralError = -30870,
  kPMOutOfScope = -30871,
  kPMInvalidParameter = -50,
  kPMNoDefaultPrinter = -30872,
  kPMNoSuchEntry = -30874,
  kPMInvalidPrinter = -30882,
  kPMServerCommunicationFailed = -30883,
  kPMPrinterNotAvailable = -30884,
};

// The graphics context a page is drawn into: a QuickDraw port (GrafPtr).
#define kPMGraphicsContextQuickDraw CFSTR("graphicscontext.quickdraw")

// ---- counted objects ----------------------------------------------------------------------

OSStatus PMRetain(PMObject object);
// The last release frees the object (a session still in a job cancels it).
OSStatus PMRelease(PMObject object);
// For tests that holds balance: an object's holds, and how many printer objects live.
int PMTestRetainCount(PMObject object);
int PMTestLivePrinters();

// ---- sessions and printers ----------------------------------------------------------------

// A session over the printers there are now, the current one being CUPS's default (else the
// first listed). kPMNoDefaultPrinter never: a session without printers opens, and its
// printer calls answer kPMNoDefaultPrinter.
OSStatus PMCreateSession(PMPrintSession* session);
// The session's first error since it opened, noErr when none.
OSStatus PMSessionError(PMPrintSession session);
// kPMCancel set during a job cancels it at its end.
OSStatus PMSessionSetError(PMPrintSession session, OSStatus error);

// The printers' names (a new array the caller releases), the current one's index and the
// current printer (not retained). An empty list with index -1 when there is none.
OSStatus PMSessionCreatePrinterList(PMPrintSession session, CFArrayRef* printerList, CFIndex* currentIndex,
                                    PMPrinter* currentPrinter);
OSStatus PMSessionGetCurrentPrinter(PMPrintSession session, PMPrinter* printer);
OSStatus PMSessionSetCurrentPMPrinter(PMPrintSession session, PMPrinter printer);
// By name, as the list gives it; kPMInvalidPrinter for a name not listed.
OSStatus PMSessionSetCurrentPrinter(PMPrintSession session, CFStringRef printerName);
// The printer's name (valid while the printer lives).
CFStringRef PMPrinterGetID(PMPrinter printer);
Boolean PMPrinterIsFolderPrinter(PMPrinter printer);
// kPMDestinationFile for the folder printer beside CUPS's printers, else kPMDestinationPrinter.
OSStatus PMSessionGetDestinationType(PMPrintSession session, PMPrintSettings settings,
                                     PMDestinationType* destType);

// The printer's resolution: its default (300 dpi when it reports none) for both tags.
OSStatus PMPrinterGetPrinterResolution(PMPrinter printer, PMTag tag, PMResolution* res);
OSStatus PMPrinterGetPrinterResolutionCount(PMPrinter printer, UInt32* count);
// Index from 1.
OSStatus PMPrinterGetIndexedPrinterResolution(PMPrinter printer, UInt32 index, PMResolution* res);
// The printer's paper names (PWG media names; a new array the caller releases), its default first.
OSStatus PMPrinterCreatePaperList(PMPrinter printer, CFArrayRef* paperList);
// The short name people know a paper by ("A4", "Letter"; the media name itself otherwise).
CFStringRef PMPaperCreateDisplayName(CFStringRef paperName);

// ---- page formats -------------------------------------------------------------------------

// Empty until a session gives defaults; its rectangles are readable without a session.
OSStatus PMCreatePageFormat(PMPageFormat* format);
// The current printer's default paper, portrait, at the printer's resolution.
OSStatus PMSessionDefaultPageFormat(PMPrintSession session, PMPageFormat format);
// Fits the format to the current printer: a paper it lacks becomes its default paper.
OSStatus PMSessionValidatePageFormat(PMPrintSession session, PMPageFormat format, Boolean* changed);
OSStatus PMGetAdjustedPaperRect(PMPageFormat format, PMRect* paperRect);
OSStatus PMGetAdjustedPageRect(PMPageFormat format, PMRect* pageRect);
OSStatus PMGetResolution(PMPageFormat format, PMResolution* res);
// At most 600 dpi; below 1 is kPMInvalidParameter.
OSStatus PMSetResolution(PMPageFormat format, const PMResolution* res);
OSStatus PMGetOrientation(PMPageFormat format, PMOrientation* orientation);
OSStatus PMSetOrientation(PMPageFormat format, PMOrientation orientation, Boolean lock);
// The paper's name (valid while the format lives; null while the format is empty).
CFStringRef PMPageFormatGetPaperName(PMPageFormat format);
// Within the current printer's list; kPMInvalidParameter otherwise.
OSStatus PMSessionSetPaper(PMPrintSession session, PMPageFormat format, CFStringRef paperName);

// ---- print settings -----------------------------------------------------------------------

OSStatus PMCreatePrintSettings(PMPrintSettings* settings);
OSStatus PMSessionDefaultPrintSettings(PMPrintSession session, PMPrintSettings settings);
OSStatus PMSessionValidatePrintSettings(PMPrintSession session, PMPrintSettings settings, Boolean* changed);
OSStatus PMSetCopies(PMPrintSettings settings, UInt32 copies, Boolean lock);
OSStatus PMGetCopies(PMPrintSettings settings, UInt32* copies);
OSStatus PMSetCollate(PMPrintSettings settings, Boolean collate);
OSStatus PMGetCollate(PMPrintSettings settings, Boolean* collate);
OSStatus PMSetFirstPage(PMPrintSettings settings, UInt32 first, Boolean lock);
OSStatus PMGetFirstPage(PMPrintSettings settings, UInt32* first);
OSStatus PMSetLastPage(PMPrintSettings settings, UInt32 last, Boolean lock);
OSStatus PMGetLastPage(PMPrintSettings settings, UInt32* last);

// ---- a job --------------------------------------------------------------------------------

// One document per call to the current printer; pages in between. An error of any step stays
// the session's; EndDocument then cancels the job, leaving no file and no job behind.
OSStatus PMSessionBeginDocument(PMPrintSession session, PMPrintSettings settings, PMPageFormat format);
OSStatus PMSessionBeginPage(PMPrintSession session, PMPageFormat format, const PMRect* pageFrame);
// The page's port (kPMGraphicsContextQuickDraw), current until EndPage.
OSStatus PMSessionGetGraphicsContext(PMPrintSession session, CFStringRef graphicsContext, void** context);
OSStatus PMSessionEndPage(PMPrintSession session);
OSStatus PMSessionEndDocument(PMPrintSession session);
