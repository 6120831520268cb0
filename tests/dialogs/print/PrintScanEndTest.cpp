// Where a Print scan goes at its end, from what was captured of it: the session's result,
// the driver windows (the dialog's setting and the session's own) and the refusal flags.
#include "dialogs/print/PrintScanEnd.h"

#include <gtest/gtest.h>

namespace {

struct Row {
  const char* name;
  bool twain;
  short result;
  bool driverInterface, sessionShowedDriver, imageSize, outputLimit, highBitDepth, stitch;
  PrintScanRoute route;
  std::vector<short> alerts;
};

TEST(PrintScanEnd, RoutesEachResultAndShowsItsRefusals) {
  using R = PrintScanRoute;
  const Row rows[] = {
      {"finished", true, 0, false, false, false, false, false, false, R::Layout, {}},
      {"cancelled in the driver window goes on", true, 3, true, true, false, false, false, false, R::Continue, {}},
      {"cancelled without the driver window", true, 3, false, false, false, false, false, false, R::Layout, {}},
      {"too large in the driver window", true, 1, true, true, true, false, false, false, R::Layout, {37}},
      {"over the output limit in the driver window", true, 1, true, true, false, true, false, false, R::Layout, {49}},
      {"every refusal at once", true, 1, true, true, true, true, true, false, R::Layout, {37, 49, 38}},
      {"size flags count only with the driver window", true, 1, false, false, true, true, false, false, R::Discard, {}},
      {"sixteen bits without the driver window", true, 1, false, false, false, false, true, false, R::Discard, {38}},
      {"a failure the session's own window saw", true, 1, false, true, false, false, false, false, R::Layout, {}},
      {"any other code", true, 5, false, false, false, false, false, false, R::Discard, {}},
      {"a plug-in scan is finished", false, 1, true, false, true, true, true, false, R::Layout, {}},
      {"a stitched page shows nothing", true, 1, false, false, false, false, true, true, R::Discard, {}},
      {"a stitched page cancelled in the window", true, 3, true, true, false, false, false, true, R::Layout, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CopyScanOutcome scan;
    scan.twain = row.twain;
    scan.result = row.result;
    scan.imageSizeOver = row.imageSize;
    scan.outputLimitOver = row.outputLimit;
    scan.highBitDepth = row.highBitDepth;
    const PrintScanEnd end = PlanPrintScanEnd(scan, row.driverInterface, row.sessionShowedDriver, row.stitch);
    EXPECT_EQ(row.route, end.route);
    EXPECT_EQ(row.alerts, end.alerts);
  }
}

}  // namespace
