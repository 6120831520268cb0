// The scan watcher: polls the done flag of one scanner object on every pass of the main
// loop and tells the dialog once, with 'TEnd', that its pages are ready; a long wait shows
// the watch. The watcher owns neither the scanner object nor the dialog.
#pragma once

#include "framework/LBroadcaster.h"
#include "framework/LPeriodical.h"
#include "quickdraw/qdBusyCursor.h"

class CTWAIN;
class LDialogBox;
class Scanner;

enum : MessageT { msg_ScanEnded = 'TEnd' };

class CThreadChecker : public LPeriodical, public LBroadcaster {
 public:
  CThreadChecker(LDialogBox* dialog, Scanner* scanner);
  CThreadChecker(LDialogBox* dialog, CTWAIN* connection);

  void SpendTime(const EventRecord& event) override;
  // Empties the page and file lists of the watched scan, once the pages are written out.
  void DataInitialize();

  Scanner* GetScanner() const { return mScanner; }
  CTWAIN* GetTWAIN() const { return mTWAIN; }

 private:
  void Watch(LDialogBox* dialog);

  Scanner* mScanner = nullptr;
  CTWAIN* mTWAIN = nullptr;
  qdBusyCursor mWait;
};
