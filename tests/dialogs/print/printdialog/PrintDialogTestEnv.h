// The main window of the application with the real function dialogs, its Print button
// opening the Print dialog over a preferences file set for a small colour scan; the
// page-layout step is a scripted stand-in that records what it was handed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "AppTestEnv.h"
#include "app/wendrix/DialogClasses.h"
#include "dialogs/print/CPrintDialogBox.h"
#include "dialogs/print/PrintLayoutEntry.h"
#include "framework/FrameworkDriver.h"
#include "framework/LPopupButton.h"
#include "framework/LThread.h"
#include "output/hub/WXDialogFlags.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"

namespace wxapp {

using namespace wxframework;
namespace fs = std::filesystem;

// What the stand-in for the page layout was handed, and what it answers.
struct LayoutCall {
  long pages = 0;
  std::vector<fs::path> files;
  UInt32 first = 0, last = 0, copies = 0;
};
inline std::vector<LayoutCall> sCalls;
inline MessageT sAnswer = kLayoutBack;

inline MessageT StandInLayout(ResIDT layout, LCommander*, UInt8, UInt8, CThreadChecker* watcher, LPrintSpec*,
                       RecordBytes print) {
  EXPECT_EQ(1100, layout);
  LayoutCall call;
  CTWAIN* twain = watcher->GetTWAIN();
  call.pages = twain ? twain->GetImageCount() : 0;
  for (ArrayIndexT i = 1; twain && i <= twain->GetTempFileArray()->GetCount(); ++i)
    call.files.push_back(wxscan::PathOf((*twain->GetTempFileArray())[i]));
  call.first = PREF_PRINT::kJob312.get(print);
  call.last = PREF_PRINT::kJob316.get(print);
  call.copies = PREF_PRINT::kCopies.get(print);
  // The layout settles the print job.
  PREF_PRINT::kCopies.set(print, 2);
  sCalls.push_back(call);
  DeleteScanRun(watcher);
  return sAnswer;
}

class PrintDialogTest : public AppTest {
 public:  // the table rows drive the fixture
  void SetUp() override {
    AppTest::SetUp();
    SetPrintLayoutProc(&StandInLayout);
    sCalls.clear();
    sAnswer = kLayoutBack;
    // A 20 x 15 mm colour area at 150 dpi.
    WithPrefs([](RecordBytes all) {
      RecordBytes print = PREF_ALL::kPrint.in(all);
      PREF_PRINT::kSource.set(print, 1);
      PREF_PRINT::kImageMode.set(print, 3);
      PREF_PRINT::kResolution.set(print, 1);
      PREF_PRINT::kPaperSize.set(print, UInt32(Paper_Size_custom));
      PREF_PRINT::kCustomSize.set(print, 200, 150, PrefDocSize::kCentimetre);
      PREF_PRINT::kCheckUION.set(print, 0);
      PREF_PRINT::kTag.set(print, 2002);
    });
  }
  void TearDown() override {
    SetPrintLayoutProc(nullptr);
    CWXUtility::sIsQuellaneOpened = 0;
    AppTest::TearDown();
  }

  // A fresh application over an emptied scratch root, for the next row of a table.
  void Restart() {
    TearDown();
    for (const auto& entry : fs::directory_iterator(mRoot.path())) fs::remove_all(entry.path());
    SetUp();
  }

  template <class F>
  void Edit(F f) {
    WithPrefs([&](RecordBytes all) { f(all); });
  }

  // The main window with the real dialog classes, then its Print button clicked.
  CPrintDialogBox* Open() {
    mApp = new CAppearanceApp(DialogClasses());
    SendEvent(kAEOpenApplication, ae_OpenApp);
    Window()->Select();
    ClickPane(Window(), 'PRNT');
    PumpEvents();
    if (Dialog()) Dialog()->Select();
    return Dialog();
  }
  CPrintDialogBox* Dialog() const {
    for (LCommander* sub : Window()->GetSubCommanders())
      if (auto* dialog = dynamic_cast<CPrintDialogBox*>(sub)) return dialog;
    return nullptr;
  }
  LPopupButton* Popup(PaneIDT id) { return FindPaneAs<LPopupButton>(Dialog(), id); }
  void Choose(PaneIDT id, SInt16 item) {
    ChoosePopupItem(Dialog(), id, item);
    PumpEvents();
  }
  void Click(PaneIDT id) {
    ClickPane(Dialog(), id);
    PumpEvents();
  }

  // Starts as OK does and runs the main loop until the scan has ended.
  void Scan() {
    Dialog()->ListenToMessage(msg_OK, nullptr);
    for (int i = 0; i < 2000 && CWXUtility::sIsQuellaneOpened == 1; ++i) {
      mApp->ProcessNextEvent();
      LThread::Yield();
    }
    ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 0) << "the scan never ended";
  }

  // The texts of the alerts the next runs show, each answered with OK.
  void RecordAlerts(int count) {
    for (int i = 0; i < count; ++i)
      QueueDialogAction([this](LWindow* alert) {
        mAlerts.push_back(PaneText(alert, 'TXMS'));
        ClickPane(alert, 900);
      });
  }

  std::vector<std::string> mAlerts;
};

}  // namespace wxapp
