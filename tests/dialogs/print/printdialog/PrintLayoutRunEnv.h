// The page-layout dialog as a Print scan from the SANE test device's feeder opens it, with
// the folder printer writing into the test's own folder: steps run on the dialog inside its
// modal loop, and what the layout left behind is counted.
#pragma once

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "PrintRunTestEnv.h"
#include "dialogs/print/layout/CPrintLayoutDialog.h"
#include "dialogs/print/layout/CThumbnailPane.h"
#include "dialogs/print/layout/CThumbnailView.h"
#include "output/hub/WXFolders.h"
#include "support/PrinterEnvironment.h"
#include "toolbox/FilePaths.h"

namespace wxapp {

using Step = std::function<void(CPrintLayoutDialog*)>;

class PrintLayoutRunTest : public PrintRunTest {
 public:
  void SetUp() override {
    PrintRunTest::SetUp();
    SetPrintLayoutProc(nullptr);
    fs::create_directories(mPrints);
    mPrinter = std::make_unique<wxtest::PrinterEnvironment>(mPrints.string(), (mRoot / "no-cups.sock").string());
  }
  void TearDown() override {
    PrintRunTest::TearDown();
    mPrinter.reset();
  }

  // Once the layout thread has ended and every thumbnail has tried to load, `step` runs on
  // the layout dialog (inside its modal loop).
  void WhenLoaded(Step step) {
    QueueDialogAction([this, step](LWindow* window) {
      auto* layout = dynamic_cast<CPrintLayoutDialog*>(window);
      ASSERT_NE(nullptr, layout);
      bool loaded = !layout->LayoutThreadRunning();
      for (SInt32 n = 1; CThumbnailPane* t = layout->Strip()->GetThumbnail(n); ++n) loaded &= t->HasTriedToLoad();
      if (!loaded) {
        WhenLoaded(step);
        return;
      }
      step(layout);
    });
  }
  void Then(Step step) {
    QueueDialogAction([step](LWindow* window) { step(dynamic_cast<CPrintLayoutDialog*>(window)); });
  }

  // The page files the layout wrote into the temporary folder.
  size_t TempCopies() {
    SInt16 vRefNum = 0;
    SInt32 dirID = 0;
    FSSpec folder{};
    if (!CWXUtility::FindTempFolder(&vRefNum, &dirID)) return 0;
    FSMakeFSSpec(vRefNum, dirID, nullptr, &folder);
    size_t n = 0;
    for (const auto& entry : fs::directory_iterator(wxscan::PathOf(folder)))
      n += entry.path().filename().string().rfind("tempcopy", 0) == 0;
    return n;
  }

  std::vector<fs::path> Prints() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(mPrints)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
  }

  fs::path mPrints = mRoot / "prints";
  std::unique_ptr<wxtest::PrinterEnvironment> mPrinter;
};

}  // namespace wxapp
