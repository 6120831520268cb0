// What the Copy dialog keeps of a finished scan. It is taken when "TEnd" arrives, before the
// scanner object and its watcher are deleted; everything after (alerts, the pages' sizes,
// quitting or closing after a scanner-button run) reads it, never the deleted connection.
#pragma once

#include <functional>
#include <vector>

#include "dialogs/print/CopyPageSize.h"
#include "toolbox/RecordAccess.h"

class CThreadChecker;
class CTWAIN;
class Scanner;

struct CopyScanOutcome {
  bool twain = false;
  short result = 0;  // the TWAIN session's; a plug-in scan counts as finished (0)
  bool imageSizeOver = false;
  bool outputLimitOver = false;
  bool highBitDepth = false;
  std::vector<CopyPageSize> pages;
};

constexpr short kScanFailed = 1;
constexpr short kScanCancelled = 3;

// The scanner object the watcher holds decides the path: a TWAIN session or a plug-in.
CopyScanOutcome CaptureCopyScan(CTWAIN* session, Scanner* plugIn);

// At the end of a scan: whether the session goes on (cancelled in the driver's own window,
// nothing printed), and the items of string list 400 to show before printing what arrived.
struct CopyEndPlan {
  bool continueSession = false;
  std::vector<short> alerts;
};
CopyEndPlan PlanCopyEnd(const CopyScanOutcome& scan, bool driverInterface);

// The Copy and Print dialogs' steps on the connection once its scan has ended: a scan
// cancelled in the driver's own window goes on there, its watcher listening again; otherwise
// each refusal is shown (`show`) with the source taken down first, then the refusal flags are
// cleared and the source is taken down.
void ContinueScanSession(CTWAIN* session, CThreadChecker* watcher);
void ShowScanRefusals(CTWAIN* session, const std::vector<short>& alerts, const std::function<void(short)>& show);

// Fit to the paper for the working PREF_COPY's source.
bool CopyFitFlag(RecordBytes work, unsigned short productID);
// Magnification percent of every printed page.
long CopyMagnification(RecordBytes work, bool japanese);
// After a run a scanner button started: quit (true) or only close.
bool CopyRunQuits(bool quitAfterButtonRun, const CopyScanOutcome& scan);
