// The page-layout dialog as a Print scan opens it: pages from the SANE test device's feeder,
// thumbnails loaded by the layout thread, finishing, going back, printing the checked pages
// to the folder printer, each checked with outside tools, and saving through a scripted
// stand-in for the preview.
#include "dialogs/print/layout/CPrintLayoutDialog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "PrintLayoutRunEnv.h"
#include "prefs/WXDefaultDir.h"
#include "dialogs/print/layout/CPicturePane.h"
#include "dialogs/print/layout/CPictureView.h"
#include "dialogs/print/layout/CThumbnailPane.h"
#include "dialogs/print/layout/CThumbnailView.h"
#include "framework/LControl.h"
#include "output/hub/WXFolders.h"
#include "support/PrinterEnvironment.h"
#include "tests/output/DialogTestEnv.h"
#include "toolbox/FilePaths.h"
#include "toolbox/FolderLocations.h"

namespace wxapp {
namespace {

// What the preview stand-in was handed on each call, and what it answers.
struct PreviewCall {
  CThreadChecker* watcher;
  TArray<ScanDataPlus>* pages;
  std::vector<unsigned char> include;
  FSSpec folder;
  unsigned char useDaySubFolder;
  long fileTypePopup;
  UInt32 jpegCompression;
  UInt32 tiffOption;
  long dialogType;
  OSType creator;
  std::string base;
};
std::vector<PreviewCall> sPreviewCalls;
std::vector<MessageT> sPreviewAnswers;
FSSpec sChosenFolder{};
std::vector<FSSpec> sWrittenFiles;  // one per call

// Records its arguments, keeps settings as a user's choice in the preview would, and reports
// one written file.
MessageT PreviewStandIn(unsigned char, CThreadChecker* watcher, TArray<ScanDataPlus>* pages, TArray<EXIF_PREF>*,
                        LCommander*, FSSpec& folder, unsigned char& useDaySubFolder, ConstStr255Param base,
                        StPDFDialog*, StJPEGDialog* jpeg, StOtherDialog*, StOtherDialog* tiff, long& fileTypePopup,
                        long dialogType, OSType creator, TArray<FSSpec>** written, long, long,
                        TArray<unsigned char>* include, TArray<long>*, ConstStr255Param, long, unsigned char, long) {
  PreviewCall call{watcher, pages, {}, folder, useDaySubFolder, fileTypePopup, StJPEGDialog::kCompression.get(jpeg->view()),
                   StOtherDialog::kOptionSLT.get(tiff->view()), dialogType, creator, PStrToString(base)};
  for (ArrayIndexT i = 1; include && i <= include->GetCount(); ++i) call.include.push_back((*include)[i]);
  const MessageT answer = sPreviewAnswers[sPreviewCalls.size()];
  sPreviewCalls.push_back(call);
  CPreviewDialog::sFolderSpec = sChosenFolder;
  CPreviewDialog::sUseDaySubFolder = 0;
  CPreviewDialog::sFileTypePopup = 3;
  CPreviewDialog::sJPEGSetting = *jpeg;
  CPreviewDialog::sTIFFSetting = *tiff;
  StOtherDialog::kOptionSLT.set(CPreviewDialog::sTIFFSetting.view(), 1);
  *written = new TArray<FSSpec>;
  (*written)->AddItem(sWrittenFiles[sPreviewCalls.size() - 1]);
  return answer;
}

TEST_F(PrintLayoutRunTest, TheLayoutShowsEveryPageAndFinishingClosesBothDialogs) {
  ASSERT_NE(nullptr, Open());
  SInt32 thumbnails = 0;
  bool allChecked = true, firstCurrent = false, picture = false, printEnabled = false;
  size_t copies = 0;
  WhenLoaded([&](CPrintLayoutDialog* layout) {
    for (SInt32 n = 1; CThumbnailPane* t = layout->Strip()->GetThumbnail(n); ++n) {
      ++thumbnails;
      allChecked &= t->IsChecked();
    }
    firstCurrent = layout->Strip()->GetThumbnail(1)->IsCurrent() == 1;
    picture = layout->Area()->GetPicture() != nullptr;
    printEnabled = FindPane(layout, 'BTPR')->IsEnabled();
    copies = TempCopies();
    ClickPane(layout, 'BTFN');
  });
  Scan();
  EXPECT_FALSE(HasDialogActions());
  EXPECT_EQ(10, thumbnails);
  EXPECT_TRUE(allChecked);
  EXPECT_TRUE(firstCurrent);
  EXPECT_TRUE(picture);
  EXPECT_TRUE(printEnabled);
  EXPECT_EQ(10u, copies);
  EXPECT_EQ(0u, TempCopies()) << "the page files are gone";
  EXPECT_EQ(nullptr, Dialog()) << "finishing closes the Print dialog too";
  EXPECT_EQ(0u, LThread::CountThreads());
}

TEST_F(PrintLayoutRunTest, BackAskedFirstKeepsTheLayoutOnCancelAndReturnsOnOK) {
  ASSERT_NE(nullptr, Open());
  bool stillOpen = false;
  WhenLoaded([&](CPrintLayoutDialog* layout) {
    AnswerNextDialog(msg_Cancel);
    Then([&](CPrintLayoutDialog* again) {
      stillOpen = again != nullptr;
      AnswerNextDialog(msg_OK);
      ClickPane(again, 'BTBK');
    });
    ClickPane(layout, 'BTBK');
  });
  Scan();
  EXPECT_FALSE(HasDialogActions());
  EXPECT_TRUE(stillOpen);
  EXPECT_NE(nullptr, Dialog()) << "back: the Print dialog stays";
  EXPECT_EQ(0u, TempCopies());
}

// Finishing before the thumbnails have loaded cancels the layout thread first.
TEST_F(PrintLayoutRunTest, FinishingWhileThumbnailsLoadCancelsTheThread) {
  ASSERT_NE(nullptr, Open());
  bool running = false;
  Then([&](CPrintLayoutDialog* layout) {
    running = layout->LayoutThreadRunning();
    ClickPane(layout, 'BTFN');
  });
  Scan();
  EXPECT_TRUE(running);
  EXPECT_EQ(nullptr, Dialog());
  EXPECT_EQ(0u, LThread::CountThreads());
  EXPECT_EQ(0u, TempCopies());
}

// One print job per checked page, in page order; the page on show stays on show.
TEST_F(PrintLayoutRunTest, PrintingMakesOneSoundPDFForEachCheckedPage) {
  if (!wxtest::HaveTool("qpdf") || !wxtest::HaveTool("pdfinfo")) GTEST_SKIP() << "qpdf or pdfinfo missing";
  ASSERT_NE(nullptr, Open());
  SInt32 shown = 0;
  bool printerKept = false;
  WhenLoaded([&](CPrintLayoutDialog* layout) {
    for (SInt32 n = 2; CThumbnailPane* t = layout->Strip()->GetThumbnail(n); ++n)
      if (n != 3) FindPaneAs<LControl>(t, 'TmCb')->SetValue(0);
    layout->Strip()->GetThumbnail(2)->VirtualClick();
    Then([&](CPrintLayoutDialog* after) {
      for (SInt32 n = 1; CThumbnailPane* t = after->Strip()->GetThumbnail(n); ++n)
        if (t->IsCurrent()) shown = n;
      printerKept = after->SavedPrinter() != nullptr;
      ClickPane(after, 'BTFN');
    });
    ClickPane(layout, 'BTPR');
  });
  Scan();
  EXPECT_FALSE(HasDialogActions());
  EXPECT_EQ(2, shown);
  EXPECT_TRUE(printerKept);
  const std::vector<fs::path> prints = Prints();
  ASSERT_EQ(2u, prints.size()) << "pages 1 and 3 stay checked";
  for (const fs::path& pdf : prints) {
    EXPECT_EQ(0, wxtest::Run("qpdf --check '" + pdf.string() + "' >/dev/null 2>&1")) << pdf;
    std::string info;
    wxtest::Run("pdfinfo '" + pdf.string() + "'", &info);
    EXPECT_NE(std::string::npos, info.find("Pages:           1\n")) << info;
    fs::copy_file(pdf, wxtest::OutputDir("print-layout") / pdf.filename(), fs::copy_options::overwrite_existing);
  }
}

// Two saves: the first takes the pages from the scan, the second reuses the preview's pages
// with the settings chosen in the first; only "SEND" opens the written file's folder.
TEST_F(PrintLayoutRunTest, SavingHandsTheCheckedPagesToThePreview) {
  const fs::path chosen = mRoot / "chosen", opened = mRoot / "opened.txt";
  const fs::path returned = mRoot / "returned", sent = mRoot / "sent";
  fs::create_directories(chosen);
  ASSERT_EQ(noErr, FpMakeSpec(chosen.string(), "", &sChosenFolder));
  sWrittenFiles.assign(2, FSSpec{});
  for (size_t i = 0; i < 2; ++i) {
    const fs::path folder = i == 0 ? returned : sent;
    fs::create_directories(folder);
    std::ofstream(folder / "Print0001.tif") << "page";
    ASSERT_EQ(noErr, FpMakeSpec(folder.string(), "Print0001.tif", &sWrittenFiles[i]));
  }
  std::ofstream(mRoot / "opener") << "#!/bin/sh\necho \"$1\" >> '" << opened.string() << "'\n";
  fs::permissions(mRoot / "opener", fs::perms::owner_all);
  setenv("WX_OPENER", (mRoot / "opener").c_str(), 1);
  sPreviewCalls.clear();
  sPreviewAnswers = {CPreviewDialog::msg_Return, CPreviewDialog::msg_Send};
  const CPrintLayoutDialog::PreviewProc before = CPrintLayoutDialog::SetPreviewProc(&PreviewStandIn);

  ASSERT_NE(nullptr, Open());
  WhenLoaded([&](CPrintLayoutDialog* layout) {
    FindPaneAs<LControl>(layout->Strip()->GetThumbnail(2), 'TmCb')->SetValue(0);
    Then([&](CPrintLayoutDialog* again) {
      Then([](CPrintLayoutDialog* last) { ClickPane(last, 'BTFN'); });
      ClickPane(again, 'SAVE');
    });
    ClickPane(layout, 'SAVE');
  });
  Scan();
  CPrintLayoutDialog::SetPreviewProc(before);
  unsetenv("WX_OPENER");
  EXPECT_FALSE(HasDialogActions());
  ASSERT_EQ(2u, sPreviewCalls.size());
  const PreviewCall& first = sPreviewCalls[0];
  const PreviewCall& second = sPreviewCalls[1];
  EXPECT_NE(nullptr, first.watcher) << "the first save takes the scan";
  EXPECT_EQ(nullptr, second.watcher) << "later saves reuse the preview's pages";
  EXPECT_EQ(first.pages, second.pages);
  std::vector<unsigned char> include(10, 1);
  include[1] = 0;
  EXPECT_EQ(include, first.include);
  EXPECT_EQ(include, second.include);
  for (const PreviewCall& call : sPreviewCalls) {
    EXPECT_EQ(CPreviewDialog::type_PrintLayout, call.dialogType);
    EXPECT_EQ(OSType('prvw'), call.creator);
    EXPECT_EQ("Print", call.base);
    EXPECT_EQ(2u, call.jpegCompression);
  }
  FSSpec defaultFolder{};
  CWXUtility::Get_Default_Dir(&defaultFolder);
  EXPECT_EQ(wxscan::PathOf(defaultFolder), wxscan::PathOf(first.folder));
  EXPECT_EQ(1, first.useDaySubFolder);
  EXPECT_EQ(1, first.fileTypePopup);
  EXPECT_EQ(0u, first.tiffOption);
  EXPECT_EQ(wxscan::PathOf(sChosenFolder), wxscan::PathOf(second.folder)) << "the preview's choices come back";
  EXPECT_EQ(0, second.useDaySubFolder);
  EXPECT_EQ(3, second.fileTypePopup);
  EXPECT_EQ(1u, second.tiffOption);
  // The opener runs detached: wait for the folder of the save that sent; a folder opened by
  // the earlier save would have been started first.
  std::vector<std::string> folders;
  for (int i = 0; i < 500 && folders.empty(); ++i) {
    std::ifstream lines(opened);
    for (std::string line; std::getline(lines, line);) folders.push_back(line);
    if (folders.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(std::vector<std::string>{sent.string()}, folders) << "only the answer SEND opens a folder";
  EXPECT_EQ(0u, TempCopies());
}

TEST_F(PrintLayoutRunTest, WithoutAPrinterPrintingSaysSoAndPrintsNothing) {
  wxtest::PrinterEnvironment none{"", (mRoot / "no-cups.sock").string()};
  ASSERT_NE(nullptr, Open());
  std::string alert;
  WhenLoaded([&](CPrintLayoutDialog* layout) {
    QueueDialogAction([&](LWindow* box) {
      alert = PaneText(box, 'TXMS');
      ClickPane(box, 900);
    });
    Then([](CPrintLayoutDialog* again) { ClickPane(again, 'BTFN'); });
    ClickPane(layout, 'BTPR');
  });
  Scan();
  EXPECT_FALSE(HasDialogActions());
  EXPECT_EQ(wxtest::ResourceText(400, 34), alert);
  EXPECT_TRUE(Prints().empty());
}

}  // namespace
}  // namespace wxapp
