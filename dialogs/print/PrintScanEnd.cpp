#include "PrintScanEnd.h"

PrintScanEnd PlanPrintScanEnd(const CopyScanOutcome& scan, bool driverInterface, bool sessionShowedDriver,
                              bool stitch) {
  PrintScanEnd end;
  if (!scan.twain) return end;
  if (!stitch) {
    CopyEndPlan plan = PlanCopyEnd(scan, driverInterface);
    if (plan.continueSession) {
      end.route = PrintScanRoute::Continue;
      return end;
    }
    end.alerts = plan.alerts;
  }
  const bool finished = scan.result == 0 || scan.result == kScanCancelled ||
                        (scan.result == kScanFailed && sessionShowedDriver);
  end.route = finished ? PrintScanRoute::Layout : PrintScanRoute::Discard;
  return end;
}
