// The preview's 'SEND' as each caller opens it: the chosen pages written in the dialog's
// order, turned and named as the user left them, checked with outside tools; and every
// failure keeps the pages that were not written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "output/glue/CAddPDFFile.h"
#include "tests/preview/dialog/PreviewFixture.h"

namespace fs = std::filesystem;
using wxtest::MakePage;

namespace {

class PreviewWrite : public wxtest::PreviewTest {
 protected:
  void SetUp() override {
    PreviewTest::SetUp();
    mOpener = env.root() / "opener";
    mRecord = env.root() / "opened.txt";
    std::ofstream(mOpener) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\" >> '" << mRecord.string() << "'; done\n";
    fs::permissions(mOpener, fs::perms::owner_all);
    setenv("WX_OPENER", mOpener.c_str(), 1);
  }

  std::string Opened() const {
    std::ifstream in(mRecord);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static fs::path PathOf(const FSSpec& spec) { return wxtest::PathOf(spec); }
  bool FilesOf(const ScanDataPlus& page) const {
    return fs::exists(PathOf(page.imageFile)) && fs::exists(PathOf(page.rawFile));
  }
  // The pixels of `file` against the preview page turned by `degrees`: the number that differ.
  static std::string Difference(const fs::path& file, const fs::path& preview, long degrees, const fs::path& scratch) {
    const fs::path turned = scratch / "turned.tif";
    wxtest::Run("convert '" + preview.string() + "' -rotate " + std::to_string(degrees) + " '" + turned.string() + "'");
    std::string out;
    wxtest::Run("compare -metric AE '" + file.string() + "' '" + turned.string() + "' null: 2>&1", &out);
    return out;
  }

  fs::path mOpener, mRecord;
};

TEST_F(PreviewWrite, ThreeScansThenTIFFsTurnedAndNamedAsLeft) {
  WX_REQUIRE_TOOL("convert");
  WX_REQUIRE_TOOL("tiffinfo");
  // First scan, colour: named and turned a quarter, then more pages are scanned.
  Scan({MakePage(32, 60, 40, wxtest::PagePattern::Noisy)});
  Do([](CPreviewDialog* d) {
    SetName(d, 1, "Holiday");
    wxframework::ClickPane(d, 'R090');
  });
  wxframework::AnswerNextDialog('RTUN');
  ASSERT_EQ(MessageT('RTUN'), Show({}));
  Scan({MakePage(8, 50, 30, wxtest::PagePattern::Noisy)});
  wxframework::AnswerNextDialog('RTUN');
  ASSERT_EQ(MessageT('RTUN'), Show({}));
  Scan({MakePage(1, 40, 20, wxtest::PagePattern::Noisy), MakePage(8, 30, 30)});
  std::vector<std::string> firstWrite;
  Do([](CPreviewDialog* d) {
    ASSERT_EQ(4, d->GetView()->GetThumbnails().GetCount());
    EXPECT_EQ(std::vector<ArrayIndexT>{3}, Selected(d)) << "the first new page";
    EXPECT_EQ("Holiday", Caption(d, 1));
    EXPECT_EQ(90, Cell(d, 1)->Page().rotation);
    ClickCell(d, 2);
  });
  Do([](CPreviewDialog* d) { wxframework::ClickPane(d, 'R090'); });
  Do([](CPreviewDialog* d) { wxframework::ClickPane(d, 'R090'); });
  Do([](CPreviewDialog* d) { ClickCell(d, 3); });
  Do([](CPreviewDialog* d) { wxframework::ClickPane(d, 'R270'); });
  Do([](CPreviewDialog* d) { wxframework::ClickPane(Cell(d, 4)->GetCheckBox()); });
  Do([](CPreviewDialog* d) {
    EXPECT_EQ(180, Cell(d, 2)->Page().rotation);
    EXPECT_EQ(270, Cell(d, 3)->Page().rotation);
    wxframework::ClickPane(d, 'DYIN');
  });
  wxframework::AnswerNextDialog('SEND');
  std::vector<fs::path> previews;
  Do([&](CPreviewDialog* d) {
    firstWrite = WrittenNames();
    // The preview pages go when the dialog closes: kept here to compare with.
    for (ArrayIndexT k = 1; k <= 3; ++k) {
      previews.push_back(env.root() / ("preview" + std::to_string(k) + ".tif"));
      fs::copy_file(PathOf(Cell(d, k)->Page().imageFile), previews.back());
    }
  });
  wxframework::AnswerNextDialog('SEND');
  wxframework::AnswerNextDialog(901);
  Alert(900);
  // Save writes and stays: the pages are discarded only on closing.
  EXPECT_EQ(MessageT(901), Show({}));
  const fs::path dayFolder = Out() / "2026-12-10";
  ASSERT_EQ(3u, firstWrite.size());
  EXPECT_EQ("Holiday.TIF", firstWrite[0]);
  const std::vector<std::string> second = WrittenNames();
  ASSERT_EQ(3u, second.size()) << "the second 'SEND' writes the pages again";
  ASSERT_EQ(3u, previews.size());
  const long degrees[] = {90, 180, 270};
  for (size_t i = 0; i < 3; ++i) {
    for (const std::string& name : {firstWrite[i], second[i]}) {
      const fs::path file = dayFolder / name;
      ASSERT_TRUE(fs::exists(file)) << name;
      EXPECT_EQ("0", Difference(file, previews[i], degrees[i], env.root())) << name;
      std::string info;
      EXPECT_EQ(0, wxtest::Run("tiffinfo '" + file.string() + "' 2>&1", &info)) << info;
      EXPECT_EQ(std::string::npos, info.find("Warning")) << info;
    }
    EXPECT_NE(firstWrite[i], second[i]) << "written again beside the first files";
  }
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(dayFolder)) files += entry.is_regular_file();
  EXPECT_EQ(6u, files) << "the unchecked page is not written";
  EXPECT_NE(std::string::npos, Opened().find(dayFolder.string())) << Opened();
  fs::copy_file(dayFolder / firstWrite[1], wxtest::OutputDir("preview") / "sent-grey-180.tif",
                fs::copy_options::overwrite_existing);
}

TEST_F(PreviewWrite, EachCallerSendsItsPages) {
  WX_REQUIRE_TOOL("pdfinfo");
  struct Case {
    long type, popup, mailLimit;
    const char* extension;
  } cases[] = {{6, 1, 0, ".PDF"}, {3, 1, 200000, ".JPG"}, {7, 3, 0, ".TIF"}, {8, 2, 0, ".JPG"}};
  for (const Case& c : cases) {
    pages.RemoveAllItems();
    exifs.RemoveAllItems();
    fs::remove_all(Out());
    fs::create_directories(Out());
    Scan({MakePage(32, 60, 40), MakePage(8, 50, 30)});
    wxframework::AnswerNextDialog('SEND');
    ASSERT_EQ(MessageT('SEND'), Show({.type = c.type, .popup = c.popup, .mailLimit = c.mailLimit})) << c.type;
    const std::vector<std::string> names = WrittenNames();
    ASSERT_EQ(2u, names.size()) << c.type;
    for (const std::string& name : names) {
      EXPECT_EQ(c.extension, name.substr(name.size() - 4)) << c.type;
      EXPECT_TRUE(fs::exists(Out() / name)) << name;
    }
    EXPECT_EQ(0, pages.GetCount()) << "the written pages leave the job";
    EXPECT_EQ(1, CPreviewDialog::sFirstCall);
  }
}

TEST_F(PreviewWrite, ThePrintLayoutKeepsItsPagesWithTheirTurnsAndChecks) {
  Scan({MakePage(8, 20, 20), MakePage(8, 21, 20), MakePage(8, 22, 20)});
  TArray<unsigned char> flags;
  TArray<long> rotations;
  for (unsigned char f : {1, 0, 1}) flags.AddItem(f);
  for (long r : {0L, 90L, 180L}) rotations.AddItem(r);
  Do([](CPreviewDialog* d) {
    EXPECT_FALSE(Cell(d, 2)->IsIncluded());
    EXPECT_EQ(90, Cell(d, 2)->Page().rotation);
    EXPECT_FALSE(wxtest::StateOf(d, 'RTUN').enabled);
    d->GetView()->MoveThumbnail(3, 1);
    ClickCell(d, 1);
  });
  Do([](CPreviewDialog* d) { wxframework::ClickPane(d, 'R090'); });
  wxframework::AnswerNextDialog('SEND');
  ASSERT_EQ(MessageT('SEND'), Show({.type = 2, .popup = 3, .includeFlags = &flags, .rotations = &rotations}));
  ASSERT_EQ(3, pages.GetCount()) << "the print layout keeps its pages";
  EXPECT_EQ((std::vector<long>{270, 0, 90}), (std::vector<long>{rotations[1], rotations[2], rotations[3]}));
  EXPECT_EQ(22, pages[1].width);
  EXPECT_EQ(0, pages[3].written);
  for (ArrayIndexT k = 1; k <= 3; ++k) EXPECT_TRUE(FilesOf(pages[k])) << k;
}

TEST_F(PreviewWrite, ADiskThatFillsKeepsThePagesNotWritten) {
  Scan({MakePage(8, 200, 100, wxtest::PagePattern::Noisy), MakePage(8, 200, 100, wxtest::PagePattern::Noisy),
        MakePage(8, 200, 100, wxtest::PagePattern::Noisy)});
  Do([](CPreviewDialog*) { FSTestSetWriteLimit(30000); });
  wxframework::AnswerNextDialog('SEND');
  Alert();
  ASSERT_EQ(MessageT('SEND'), Show({.type = 7, .popup = 3}));
  FSTestSetWriteLimit(-1);
  ASSERT_EQ(1u, alerts.size()) << "the export's own alert";
  ASSERT_EQ(1u, WrittenNames().size());
  EXPECT_TRUE(fs::exists(Out() / WrittenNames()[0]));
  ASSERT_EQ(2, pages.GetCount()) << "the second and third pages stay pending";
  ASSERT_EQ(2, exifs.GetCount());
  for (ArrayIndexT k = 1; k <= 2; ++k) EXPECT_TRUE(FilesOf(pages[k])) << k;
}

TEST_F(PreviewWrite, AppendingMakesANewPDFBesideTheChosenOne) {
  WX_REQUIRE_TOOL("qpdf");
  WX_REQUIRE_TOOL("pdfinfo");
  const fs::path archive = env.root() / "Archive";
  fs::create_directories(archive);
  fs::copy_file(wxtest::SourceDir() / "tests/fuzz/corpus/fuzz_pdf_append/one-page.pdf", archive / "Ledger.pdf");
  StPDFDialog::kAppendTo.set(pdf.view(), wxtest::SpecOf(archive / "Ledger.pdf"));
  Scan({MakePage(8, 60, 40), MakePage(32, 60, 40)});
  Do([](CPreviewDialog* d) {
    EXPECT_EQ("Ledger_New", Caption(d, 1)) << "the name proposed for the new document";
    EXPECT_FALSE(wxtest::StateOf(d, 'DYIN').enabled);
  });
  wxframework::AnswerNextDialog('SEND');
  Alert();  // add to "Ledger.pdf"?
  ASSERT_EQ(MessageT('SEND'), Show({.type = 6, .popup = 3, .addName = "Ledger_New"}));
  ASSERT_EQ((std::vector<std::string>{"Ledger_New.PDF"}), WrittenNames());
  const fs::path made = archive / "Ledger_New.PDF";
  std::string out;
  EXPECT_EQ(0, wxtest::Run("qpdf --check '" + made.string() + "' 2>&1", &out)) << out;
  wxtest::Run("pdfinfo '" + made.string() + "'", &out);
  EXPECT_NE(std::string::npos, out.find("Pages:           3")) << out;
  EXPECT_EQ(0, pages.GetCount());
  fs::copy_file(made, wxtest::OutputDir("preview") / "appended.pdf", fs::copy_options::overwrite_existing);
}

TEST_F(PreviewWrite, AFailedAppendLeavesNoCopyAndKeepsThePages) {
  const fs::path archive = env.root() / "Archive";
  fs::create_directories(archive);
  std::ofstream(archive / "Broken.pdf") << "%PDF-1.4 not really";
  StPDFDialog::kAppendTo.set(pdf.view(), wxtest::SpecOf(archive / "Broken.pdf"));
  Scan({MakePage(8, 60, 40), MakePage(8, 60, 40)});
  wxframework::AnswerNextDialog('SEND');
  Alert();  // add to?
  Alert();  // failed
  ASSERT_EQ(MessageT('SEND'), Show({.type = 6, .popup = 3, .addName = "Broken_New"}));
  ASSERT_EQ(2u, alerts.size());
  EXPECT_EQ(AlertText(3), alerts[1]);
  EXPECT_TRUE(WrittenNames().empty());
  size_t inArchive = 0;
  for (const auto& entry : fs::directory_iterator(archive)) inArchive += entry.is_regular_file();
  EXPECT_EQ(1u, inArchive) << "no partial copy";
  for (const auto& entry : fs::directory_iterator(tempDir))
    EXPECT_NE(".PDF", entry.path().extension().string()) << "no temporary PDF: " << entry.path();
  ASSERT_EQ(2, pages.GetCount());
  for (ArrayIndexT k = 1; k <= 2; ++k) EXPECT_TRUE(FilesOf(pages[k])) << k;
}

TEST_F(PreviewWrite, AFolderThatTakesNothingKeepsTheDialogOpen) {
  // The folder's own write bit says no (root included).
  fs::permissions(Out(), fs::perms::owner_read | fs::perms::owner_exec);
  Scan({MakePage(8, 20, 20)});
  wxframework::AnswerNextDialog('SEND');
  Alert();
  Do([](CPreviewDialog*) {});
  wxframework::AnswerNextDialog('RTUN');
  ASSERT_EQ(MessageT('RTUN'), Show({.type = 7, .popup = 3}));
  fs::permissions(Out(), fs::perms::owner_all);
  EXPECT_EQ(std::vector<std::string>{AlertText(13)}, alerts);
  EXPECT_EQ(1, pages.GetCount());
}

}  // namespace
