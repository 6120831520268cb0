// Printouts: a layout printed as one job through the folder printer, its panes drawn onto the
// page at the paper's coordinates, with the print spec's page range; a failure leaves nothing.
#include "framework/LPrintout.h"

#include <gtest/gtest.h>

#include "FrameworkFixture.h"
#include "PageFixtures.h"
#include "framework/LException.h"
#include "framework/LPlaceHolder.h"
#include "framework/StDetachedAttachment.h"
#include "framework/StPrintSession.h"
#include "quickdraw/QDOffscreen.h"
#include "support/PrinterEnvironment.h"
#include "support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

// Copies a white image into the top of its frame and paints a black bar below it;
// what lies outside the frame is clipped away.
class ImagePane : public LPane {
 public:
  explicit ImagePane(const SPaneInfo& info, bool fail = false) : LPane(info), mFail(fail) {
    const Rect bounds{0, 0, 50, 80};
    NewGWorld(&mImage, 8, &bounds, nullptr, nullptr, 0);
  }
  ~ImagePane() override { DisposeGWorld(mImage); }
  void PrintPanelSelf(const PanelSpec&) override {
    if (mFail) Throw_(err_NilPointer);
    Rect frame, source;
    CalcLocalFrameRect(frame);
    GetPortBounds(mImage, &source);
    CGrafPtr port;
    GetPort(&port);
    const Rect image{frame.top, frame.left, SInt16(frame.top + 80), frame.right};
    CopyBits(GetPortBitMapForCopyBits(mImage), GetPortBitMapForCopyBits(port), &source, &image, srcCopy, nullptr);
    const Rect bar{SInt16(frame.top + 90), frame.left, SInt16(frame.bottom + 20), frame.right};
    PaintRect(&bar);
  }

 private:
  GWorldPtr mImage = nullptr;
  bool mFail;
};

class Printout : public FrameworkFixture {
 protected:
  void SetUp() override {
    FrameworkFixture::SetUp();
    fs::create_directories(folder);
  }
  // Prints layout 370 with the pane in its placeholder at (left, top) of the paper.
  void Print(LPrintSpec& spec, LPane* pane, SInt32 left, SInt32 top) {
    std::unique_ptr<LPrintout> printout(LPrintout::CreatePrintout(370));
    printout->SetPrintSpec(spec);
    auto* holder = dynamic_cast<LPlaceHolder*>(printout->FindPaneByID('PHLD'));
    ASSERT_NE(holder, nullptr);
    holder->ResizeFrameTo(300, 200, false);
    holder->PlaceInSuperFrameAt(left, top, false);
    holder->InstallOccupant(pane, kAlignNone);
    printout->DoPrintJob();
    holder->RemoveOccupant();
  }
  wxtest::ScratchDir dir;
  fs::path folder = dir / "prints";
  wxtest::PrinterEnvironment env{folder.string(), (dir / "no-cups.sock").string()};
};

TEST_F(Printout, PrintsItsPanesAtTheirPlaceOnThePaper) {
  WX_REQUIRE_TOOL("pdfimages");
  LPrintSpec spec;
  ImagePane pane(MakePaneInfo(nullptr, 'IMGE', 0, 0, 160, 100));
  {
    StPrintSession session(spec);
    Print(spec, &pane, 100, 60);
  }
  const fs::path pdf = folder / "Print 1.pdf";
  ASSERT_TRUE(fs::exists(pdf));
  EXPECT_TRUE(paginortest::QpdfCheck(pdf));
  const auto images = paginortest::ListImages(pdf);
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0].width, 160);
  EXPECT_EQ(images[0].height, 80);
  EXPECT_EQ(images[1].width, 160) << "the bar, drawn beside the image, cut at the frame";
  EXPECT_EQ(images[1].height, 10);
  std::vector<uint8_t> rgb;
  int w, h;
  ASSERT_TRUE(paginortest::RenderPDFPage(pdf, 1, 300, &rgb, &w, &h));
  const auto at = [&](int x, int y) { return rgb[(size_t(y) * w + x) * 3]; };
  EXPECT_LT(at(150, 155), 60) << "the bar 10 pixels below the image";
  EXPECT_GT(at(150, 145), 200) << "white between image and bar";
  EXPECT_GT(at(150, 165), 200) << "nothing below the frame";
  EXPECT_GT(at(150, 100), 200) << "the image is white";
  fs::copy_file(pdf, wxtest::OutputDir("printing") / "printout.pdf", fs::copy_options::overwrite_existing);
}

TEST_F(Printout, APageRangeWithoutItsPagePrintsNothing) {
  LPrintSpec spec;
  ImagePane pane(MakePaneInfo(nullptr, 'IMGE', 0, 0, 160, 100));
  StPrintSession session(spec);
  spec.SetPrintJobParams(2, 3, 1);
  Print(spec, &pane, 0, 0);
  EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(Printout, AFailingPaneCancelsTheJob) {
  LPrintSpec spec;
  ImagePane pane(MakePaneInfo(nullptr, 'IMGE', 0, 0, 160, 100), true);
  std::unique_ptr<LPrintout> printout(LPrintout::CreatePrintout(370));
  printout->SetPrintSpec(spec);
  auto* holder = dynamic_cast<LPlaceHolder*>(printout->FindPaneByID('PHLD'));
  holder->ResizeFrameTo(300, 200, false);
  holder->InstallOccupant(&pane, kAlignNone);
  {
    StPrintSession session(spec);
    EXPECT_THROW(printout->DoPrintJob(), LException);
  }
  holder->RemoveOccupant();
  EXPECT_FALSE(spec.IsInSession());
  EXPECT_TRUE(fs::is_empty(folder));
}

// Counts its own deletions, so a test sees who owned it.
class CountedAttachment : public LAttachment {
 public:
  explicit CountedAttachment(int* deleted) : mDeleted(deleted) {}
  ~CountedAttachment() override { ++*mDeleted; }
  void ExecuteSelf(MessageT, void*) override {}

 private:
  int* mDeleted;
};

std::vector<LAttachment*> AttachmentsOf(LAttachable& host) {
  std::vector<LAttachment*> list;
  TArrayIterator<LAttachment*> it(*host.GetAttachmentsList());
  for (LAttachment* a = nullptr; it.Next(a);) list.push_back(a);
  return list;
}

// Notes the attachments it has while it prints.
class AttachmentsPane : public ImagePane {
 public:
  using ImagePane::ImagePane;
  void PrintPanelSelf(const PanelSpec& panel) override {
    whilePrinting = AttachmentsOf(*this);
    ImagePane::PrintPanelSelf(panel);
  }
  std::vector<LAttachment*> whilePrinting;
};

struct DetachCase {
  const char* name;
  int attachments;
  bool fail;
};

class DetachTable : public Printout, public ::testing::WithParamInterface<DetachCase> {};

TEST_P(DetachTable, ThePageAreasFirstAttachmentIsOffForTheJobAndBackInFrontAfterIt) {
  const DetachCase& c = GetParam();
  int deleted = 0;
  std::vector<LAttachment*> attached;
  {
    AttachmentsPane pane(MakePaneInfo(nullptr, 'IMGE', 0, 0, 160, 100), c.fail);
    for (int i = 0; i < c.attachments; ++i) {
      attached.push_back(new CountedAttachment(&deleted));
      pane.AddAttachment(attached.back());
    }
    LPrintSpec spec;
    std::unique_ptr<LPrintout> printout(LPrintout::CreatePrintout(370));
    printout->SetPrintSpec(spec);
    auto* holder = dynamic_cast<LPlaceHolder*>(printout->FindPaneByID('PHLD'));
    ASSERT_NE(holder, nullptr);
    holder->ResizeFrameTo(300, 200, false);
    holder->InstallOccupant(&pane, kAlignNone);
    for (int job = 0; job < 2; ++job) {
      pane.whilePrinting.clear();
      StPrintSession session(spec);
      StDetachedAttachment detached(pane);
      if (c.fail) {
        EXPECT_THROW(printout->DoPrintJob(), LException);
      } else {
        printout->DoPrintJob();
      }
      EXPECT_EQ(pane.whilePrinting, std::vector<LAttachment*>(attached.begin() + std::min(1, c.attachments),
                                                              attached.end()));
    }
    holder->RemoveOccupant();
    EXPECT_EQ(AttachmentsOf(pane), attached) << "the same order after both jobs";
    EXPECT_EQ(deleted, 0);
  }
  EXPECT_EQ(deleted, c.attachments) << "all owned by the page area again";
  EXPECT_EQ(fs::is_empty(folder), c.fail);
}

INSTANTIATE_TEST_SUITE_P(Table, DetachTable,
                         ::testing::Values(DetachCase{"None", 0, false}, DetachCase{"One", 1, false},
                                           DetachCase{"Two", 2, false}, DetachCase{"TwoFailingJob", 2, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Printout, WithoutPrinterTheJobThrows) {
  wxtest::PrinterEnvironment none("", (dir / "no-cups.sock").string());
  LPrintSpec spec;
  std::unique_ptr<LPrintout> printout(LPrintout::CreatePrintout(370));
  printout->SetPrintSpec(spec);
  EXPECT_THROW(printout->DoPrintJob(), LException);
}

}  // namespace
