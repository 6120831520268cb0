// Copy runs from the scriptable fake source: what the end of a refused or cancelled scan
// shows, and which pages are printed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CopyDialogTestEnv.h"
#include "FakeScript.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/output/export/Alerts.h"

namespace wxapp {
namespace {

class CopyRunFakeSource : public CopyDialogTest {
 protected:
  static void SetUpTestSuite() { wxfake::UseFakeSource(); }
  wxtest::ScratchDir mScript;
};

TEST_F(CopyRunFakeSource, TheEndOfAScanShowsWhatWasRefusedAndPrintsThePagesThatArrived) {
  const struct {
    const char* what;
    const char* script;
    UInt8 driverWindow;
    std::vector<SInt16> alerts;  // items of string list 400
    size_t prints;
  } cases[] = {
      {"two pages, each its own job", "pages=2", 0, {}, 2},
      {"16 bits per sample are refused", "depth=16", 0, {38}, 0},
      {"an image too large for the driver's window", "width=20000\nheight=20000\ndepth=24", 1, {37}, 0},
      {"a page cancelled without the driver's window", "pages=2\ncancel_page=2", 0, {}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    wxfake::WriteFakeScript(mScript.path(), std::string("name=Dremlo Model A\n") + c.script);
    Store([&](RecordBytes copy, RecordBytes) { PREF_COPY::kCheckUION.set(copy, c.driverWindow); });
    ASSERT_NE(nullptr, Open());
    std::vector<std::string> expected;
    for (SInt16 item : c.alerts) expected.push_back(wxtest::ResourceText(400, item));
    const auto shown = wxtest::AnswerAlerts([&] {
      Dialog()->ListenToMessage(msg_OK, nullptr);
      RunToTheEnd();
    });
    EXPECT_EQ(expected, shown);
    EXPECT_EQ(c.prints, Prints().size());
    EXPECT_TRUE(Dialog()->IsEnabled());
    // A refused page's raw file stays for the temporary folder's clean-up; nothing else does.
    EXPECT_EQ(c.alerts.empty() ? 0u : 1u, wxscan::FilesIn(TempFolder()));
    for (const auto& e : std::filesystem::directory_iterator(TempFolder())) std::filesystem::remove_all(e.path());
    for (const auto& pdf : Prints()) std::filesystem::remove(pdf);
    Click('CNCL');
    delete mApp;
    mApp = nullptr;
  }
}

TEST_F(CopyRunFakeSource, AScannerButtonRunCancelledInTheSourceClosesWithoutQuitting) {
  wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\npages=2\ncancel_page=2");
  Store([](RecordBytes, RecordBytes setting) { PREF_SETTING::kQuitOption.set(setting, 1); });
  Push();
  RunToTheEnd();
  PumpEvents();
  EXPECT_EQ(1u, Prints().size());
  EXPECT_EQ(nullptr, Dialog());
  EXPECT_NE(programState_Quitting, mApp->GetState());
}

}  // namespace
}  // namespace wxapp
