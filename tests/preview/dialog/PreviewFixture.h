// The preview dialog opened as its callers open it: a finished TWAIN scan of known raw
// pages, whose preview pages the dialog has the export write, then user actions queued
// through the framework's test driver.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CPopupButton.h"
#include "app/CTextTable.h"
#include "framework/FrameworkDriver.h"
#include "framework/LWindow.h"
#include "framework/TRegistrar.h"
#include "preview/CExifDialog.h"
#include "preview/CPrevPrevView.h"
#include "preview/CPrevPrevWindow.h"
#include "preview/CPreviewCaption.h"
#include "preview/CPreviewChekBoxPane.h"
#include "preview/CPreviewDialog.h"
#include "preview/CPreviewPicPane.h"
#include "preview/CPreviewThumbnail.h"
#include "preview/CPreviewView.h"
#include "scanner/CTWAIN.h"
#include "scanner/CThreadChecker.h"
#include "support/TestEnv.h"
#include "tests/prefs/PrefsTestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/output/export/RawPages.h"
#include "toolbox/TextUtils.h"

namespace wxtest {

class PreviewTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    std::filesystem::create_directories(Out());
    folder = SpecOf(Out());
    tempDir = PathOf(TemporaryFolder());
    CPreviewDialog::sFirstCall = 1;
    StPDFDialog::kAppendTo.set(pdf.view(), FSSpec{});
    // Save opens the folder it wrote into: here through an opener that does nothing.
    setenv("WX_OPENER", "/bin/true", 1);
  }
  void TearDown() override {
    wxframework::ClearDialogActions();
    unsetenv("WX_OPENER");
    FSTestSetWriteLimit(-1);
    delete written;
    checker.reset();
    twain.reset();
    DialogTest::TearDown();
  }
  void RegisterClasses() override {
    DialogTest::RegisterClasses();
    RegisterClass_(CPreviewDialog);
    RegisterClass_(CPreviewView);
    RegisterClass_(CPopupButton);
    RegisterClass_(CTextTable);
    RegisterClass_(CExifDialog);
    RegisterClass_(CPrevPrevWindow);
    RegisterClass_(CPrevPrevView);
  }

  std::filesystem::path Out() const { return env.root() / "Out"; }

  // A finished TWAIN scan of these pages: raw files in the temporary folder.
  void Scan(const std::vector<RawPage>& scanned, long dpi = 100) {
    twain = std::make_unique<CTWAIN>();
    Rect area{0, 0, 100, 100};
    twain->Setup_Parameter(5, 'TIFF', 0, 0, 2, dpi, area, 0, 0);
    for (const RawPage& page : scanned) {
      const std::filesystem::path raw = tempDir / ("scan" + std::to_string(++mRawCount) + ".dat");
      WriteRaw(raw, page);
      twain->GetTempFileArray()->AddItem(SpecOf(raw));
      TW_IMAGEINFO info{};
      info.XResolution.Whole = TW_INT16(dpi);
      info.YResolution.Whole = TW_INT16(dpi);
      info.ImageWidth = page.width;
      info.ImageLength = page.height;
      info.BitsPerPixel = TW_INT16(page.bits == 32 ? 24 : page.bits);
      twain->GetImageInfoArray()->AddItem(info);
    }
    checker = std::make_unique<CThreadChecker>(nullptr, twain.get());
  }

  struct Call {
    long type = 5;
    long popup = 3;
    bool scan = true;
    long mailLimit = 0;
    TArray<unsigned char>* includeFlags = nullptr;
    TArray<long>* rotations = nullptr;
    const char* addName = nullptr;
    unsigned char isTWAIN = 1;
  };

  // Opens the preview as `call` says; the actions queued before run in it.
  MessageT Show(const Call& call) {
    Str255 base, addName;
    PStrFromString("Page", base);
    if (call.addName) PStrFromString(call.addName, addName);
    popup = call.popup;
    const MessageT answer = CPreviewDialog::ShowPreviewDialog(
        call.isTWAIN, call.scan ? checker.get() : nullptr, &pages, &exifs, mApp, folder, day, base, &pdf, &jpeg, &pict, &tiff,
        popup, call.type, 'prvw', &written, call.mailLimit, 0, call.includeFlags, call.rotations,
        call.addName ? addName : nullptr, 0, 0, 0);
    wxframework::ClearDialogActions();
    return answer;
  }

  // Queues an action on the preview dialog.
  static void Do(const std::function<void(CPreviewDialog*)>& action) {
    wxframework::QueueDialogAction([action](LWindow* window) {
      auto* dialog = dynamic_cast<CPreviewDialog*>(window);
      ASSERT_NE(nullptr, dialog) << "the preview is not the dialog in front";
      action(dialog);
    });
  }
  // Queues: the next dialog is an alert; its text is kept and it is answered.
  void Alert(MessageT answer = 900) {
    wxframework::QueueDialogAction([this](LWindow* d) {
      alerts.push_back(wxframework::FindPane(d, 'TXMS') ? wxframework::PaneText(d, 'TXMS') : "(no alert)");
    });
    wxframework::AnswerNextDialog(answer);
  }
  static std::string AlertText(SInt16 item) { return ResourceText(400, item); }

  static CPreviewThumbnail* Cell(CPreviewDialog* d, ArrayIndexT k) { return d->GetView()->GetThumbnails()[k]; }
  static void ClickCell(CPreviewDialog* d, ArrayIndexT k, EventModifiers modifiers = 0) {
    wxframework::ClickPane(static_cast<LPane*>(Cell(d, k)), modifiers);
  }
  static std::vector<ArrayIndexT> Selected(CPreviewDialog* d) {
    std::vector<ArrayIndexT> out;
    for (ArrayIndexT k = 1; k <= d->GetView()->GetThumbnails().GetCount(); ++k)
      if (Cell(d, k)->IsSelected()) out.push_back(k);
    return out;
  }
  static void SetName(CPreviewDialog* d, ArrayIndexT k, const std::string& name) {
    Str255 p;
    PStrFromString(name, p);
    Cell(d, k)->GetCaption()->SetDescriptor(p);
  }
  static std::string Caption(CPreviewDialog* d, ArrayIndexT k) {
    Str255 p;
    Cell(d, k)->GetCaption()->GetText(p);
    return PStrToString(p);
  }

  std::vector<std::string> WrittenNames() const {
    std::vector<std::string> names;
    for (ArrayIndexT i = 1; written && i <= written->GetCount(); ++i) names.push_back(PStrToString((*written)[i].name));
    return names;
  }

  PrefsEnv env;
  FSSpec folder{};
  std::filesystem::path tempDir;
  std::unique_ptr<CTWAIN> twain;
  std::unique_ptr<CThreadChecker> checker;
  TArray<ScanDataPlus> pages;
  TArray<EXIF_PREF> exifs;
  TArray<FSSpec>* written = nullptr;
  StPDFDialog pdf;
  StJPEGDialog jpeg;
  StOtherDialog pict, tiff;
  unsigned char day = 0;
  long popup = 3;
  std::vector<std::string> alerts;

 private:
  int mRawCount = 0;
};

}  // namespace wxtest
