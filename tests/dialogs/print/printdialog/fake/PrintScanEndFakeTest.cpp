// Where a Print scan goes at its end, driven by the scriptable fake source: the refusals it
// reports are shown with the source already taken down, and only finished scans reach the
// page layout.
#include <gtest/gtest.h>

#include <string>

#include "FakeScript.h"
#include "PrintDialogTestEnv.h"
#include "tests/output/DialogTestEnv.h"

namespace wxapp {
namespace {

class PrintScanEndFakeTest : public PrintDialogTest {
 public:
  static void SetUpTestSuite() { wxfake::UseFakeSource(); }
  wxtest::ScratchDir mScript;
};

TEST_F(PrintScanEndFakeTest, RefusalsAreShownAfterTheSourceIsDownAndOnlyFinishedScansAreLaidOut) {
  const struct {
    const char* name;
    const char* script;
    UInt8 driverWindow;
    size_t laidOut;  // layout calls
    long pages;
    int alert;        // item of string list `alertList`, 0 for none
    SInt16 alertList;  // 400 the refusals, 410 the scanner's own faults
  } rows[] = {
      {"two pages", "pages=2", 0, 1, 2, 0, 400},
      {"sixteen bits", "depth=16", 0, 0, 0, 38, 400},
      {"a failed transfer, said as the scanner's fault", "error_block=1", 0, 0, 0, 4, 410},
      {"cancelled without the driver's window", "cancel_page=1", 0, 1, 0, 0, 400},
      // Too large for memory: refused before any row comes; the session's own window saw it.
      {"too large in the driver's window", "width=30000\nheight=30000\ndepth=24", 1, 1, 0, 37, 400},
  };
  bool first = true;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (!first) Restart();
    first = false;
    mAlerts.clear();
    Edit([&](RecordBytes all) { PREF_PRINT::kCheckUION.set(PREF_ALL::kPrint.in(all), row.driverWindow); });
    const auto log = wxfake::WriteFakeScript(mScript.path(), std::string("name=Dremlo Model A\n") + row.script);
    ASSERT_NE(nullptr, Open());
    std::string logAtAlert;
    if (row.alert != 0)
      QueueDialogAction([&](LWindow* alert) {
        mAlerts.push_back(PaneText(alert, 'TXMS'));
        logAtAlert = wxfake::ReadLog(log);
        ClickPane(alert, 900);
      });
    Scan();
    EXPECT_FALSE(HasDialogActions());
    ASSERT_EQ(row.laidOut, sCalls.size());
    if (!sCalls.empty()) {
      EXPECT_EQ(row.pages, sCalls[0].pages);
    }
    if (row.alert != 0) {
      ASSERT_EQ(1u, mAlerts.size());
      EXPECT_EQ(wxtest::ResourceText(row.alertList, SInt16(row.alert)), mAlerts[0]);
      EXPECT_NE(std::string::npos, logAtAlert.find("0001 0009 0502")) << "the source is disabled before the alert";
    }
    EXPECT_NE(nullptr, Dialog()) << "back in the dialog";
  }
}

}  // namespace
}  // namespace wxapp
