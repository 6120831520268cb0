// The main window of the application with the real Copy dialog, opened by its Copy button or
// by a scanner button, printing to the folder printer in a scratch folder.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AppTestEnv.h"
#include "dialogs/print/CCopyDialogBox.h"
#include "framework/LThread.h"
#include "output/hub/WXDialogFlags.h"
#include "printing/pmPrinters.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "support/PrinterEnvironment.h"
#include "support/TestEnv.h"

namespace wxapp {

using namespace wxframework;

class CopyDialogTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    std::filesystem::create_directories(mPrints);
    mPrinter = std::make_unique<wxtest::PrinterEnvironment>(mPrints.string(), (mRoot / "no-cups.sock").string());
    pmSetFolderPrinterResolution(300);
    // A 60 x 40 mm document on the glass, in grey at 150 dpi, at 100 %; no film adapter.
    WithPrefs([](RecordBytes all) {
      RecordBytes copy = PREF_ALL::kCopy.in(all);
      PREF_COPY::kSource.set(copy, 1);
      PREF_COPY::kImageMode.set(copy, 2);
      PREF_COPY::kResolution.set(copy, 1);
      PREF_COPY::kPaperSize.set(copy, UInt32(Paper_Size_custom));
      PREF_COPY::kCustomSize.set(copy, 600, 400, PrefDocSize::kCentimetre);
      PREF_COPY::kScale.set(copy, UInt32(Copy_Popup_100Percent));
      PREF_COPY::kCheckUION.set(copy, 0);
      PREF_SETTING::kFilmAdapter.set(PREF_ALL::kSetting.in(all), 0);
    });
  }

  void TearDown() override {
    CTWAIN::SetApplicationHost(nullptr);
    CWXUtility::sIsQuellaneOpened = 0;
    AppTest::TearDown();
    mPrinter.reset();
  }

  template <class F>
  void Store(F f) {
    WithPrefs([&](RecordBytes all) { f(PREF_ALL::kCopy.in(all), PREF_ALL::kSetting.in(all)); });
  }

  void StartApp() {
    static const AppClassList classes = {AppClassEntry<CCopyDialogBox>()};
    mApp = new CAppearanceApp(classes);
    CTWAIN::SetApplicationHost(mApp);
    SendEvent(kAEOpenApplication, ae_OpenApp);
    mOpening = wxtest::ReadBytes(PrefsFile());
    Window()->Select();
  }

  // The main window with the real Copy dialog, then its Copy button clicked.
  CCopyDialogBox* Open() {
    StartApp();
    ClickPane(Window(), 'COPY');
    PumpEvents();
    if (Dialog()) Dialog()->Select();
    return Dialog();
  }

  // A scanner button's start: the main window hears "COPY" with a parameter.
  void Push() {
    StartApp();
    SInt32 button = 1;
    Window()->ListenToMessage('COPY', &button);
  }

  CCopyDialogBox* Dialog() const {
    if (!Window()) return nullptr;
    for (LCommander* sub : Window()->GetSubCommanders())
      if (auto* dialog = dynamic_cast<CCopyDialogBox*>(sub)) return dialog;
    return nullptr;
  }

  void Click(PaneIDT id) {
    ClickPane(Dialog(), id);
    PumpEvents();
  }
  void Choose(PaneIDT id, SInt16 item) {
    ChoosePopupItem(Dialog(), id, item);
    PumpEvents();
  }

  // Runs the main loop until the scan has ended and its pages have printed.
  void RunToTheEnd() {
    for (int i = 0; i < 600 && CWXUtility::sIsQuellaneOpened == 1; ++i) {
      mApp->ProcessNextEvent();
      LThread::Yield();
    }
    ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 0) << "the scan never ended";
  }

  std::vector<std::filesystem::path> Prints() {
    std::vector<std::filesystem::path> pdfs;
    for (const auto& entry : std::filesystem::directory_iterator(mPrints))
      if (entry.path().extension() == ".pdf") pdfs.push_back(entry.path());
    return pdfs;
  }

  std::filesystem::path TempFolder() {
    std::filesystem::path path;
    WithPrefs([&](RecordBytes all) { path = wxscan::PathOf(PREF_SETTING::kTempFolder.get(PREF_ALL::kSetting.in(all))); });
    return path;
  }

  // The page rectangle of the Copy dialog's print spec, in 300 dpi printer pixels.
  static Rect PageRect() {
    Rect page;
    CCopyDialogBox::sPrintSpec.GetPageRect(page);
    return page;
  }

  std::filesystem::path mPrints = mRoot / "Prints";
  std::unique_ptr<wxtest::PrinterEnvironment> mPrinter;
  std::vector<uint8_t> mOpening;
};

}  // namespace wxapp
