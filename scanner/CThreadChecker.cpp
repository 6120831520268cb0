#include "scanner/CThreadChecker.h"

#include "framework/LDialogBox.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"

CThreadChecker::CThreadChecker(LDialogBox* dialog, Scanner* scanner) : mScanner(scanner) { Watch(dialog); }

CThreadChecker::CThreadChecker(LDialogBox* dialog, CTWAIN* connection) : mTWAIN(connection) { Watch(dialog); }

void CThreadChecker::Watch(LDialogBox* dialog) {
  if (dialog) AddListener(dialog);
  StartRepeating();
}

void CThreadChecker::SpendTime(const EventRecord&) {
  unsigned char done = 0;
  if (mScanner)
    done = mScanner->IsDone();
  else if (mTWAIN)
    done = mTWAIN->IsDone();
  if (done != 1) {
    mWait.Waiting();
    return;
  }
  mWait.End();
  // Stopped first, so the scan is announced once even if a listener runs the loop.
  StopRepeating();
  BroadcastMessage(msg_ScanEnded, this);
}

void CThreadChecker::DataInitialize() {
  if (mScanner)
    mScanner->DataInitialize();
  else if (mTWAIN)
    mTWAIN->DataInitialize();
}
