// The print layout's panes in a window of their own, driven through the framework's test
// driver: the strip loads pages, the page area shows them with their paper, picture and
// text boxes, and the user's clicks, drags and keys move, resize and edit them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

#include "dialogs/print/layout/CEditField.h"
#include "dialogs/print/layout/CEditableTextBox.h"
#include "dialogs/print/layout/CPicturePane.h"
#include "dialogs/print/layout/CPictureView.h"
#include "dialogs/print/layout/CPrintSizePane.h"
#include "dialogs/print/layout/CThumbnailPane.h"
#include "dialogs/print/layout/CThumbnailView.h"
#include "dialogs/print/layout/PageGeometry.h"
#include "framework/FrameworkDriver.h"
#include "framework/LGWorld.h"
#include "framework/LListener.h"
#include "framework/LPlaceHolder.h"
#include "framework/LPrintout.h"
#include "framework/LPrintSetup.h"
#include "framework/LWindow.h"
#include "framework/StPrintSession.h"
#include "framework/TRegistrar.h"
#include "output/formats/mtTIFF.h"
#include "preview/PreviewPicture.h"
#include "printing/pmPrinters.h"
#include "support/HeadlessApp.h"
#include "support/PrinterEnvironment.h"
#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/Resources.h"
#include "windows/TestDriver.h"

namespace fs = std::filesystem;
using namespace wxframework;

namespace {

// Every print record the page area passes on.
struct RecordLog : LListener {
  std::vector<AcqRecord> records;
  void ListenToMessage(MessageT message, void* param) override {
    if (message == CPicturePane::msg_PrintRecord) records.push_back(*static_cast<const AcqRecord*>(param));
  }
};

Rect FrameOf(const LPane* pane) {
  Rect r;
  pane->CalcPortFrameRect(r);
  return r;
}

Point Global(const LPane* pane, SInt16 h, SInt16 v) {
  Point p{v, h};
  pane->PortToGlobalPoint(p);
  return p;
}

class PanesTest : public wxtest::HeadlessApp {
 protected:
  void RegisterClasses() override {
    TRegistrar<CPictureView>::Register();
    TRegistrar<CThumbnailView>::Register();
  }
  void SetUp() override {
    HeadlessApp::SetUp();
    fs::create_directories(mDir / "prints");
    mPageRes = OpenResFilePath(WX_PAGE_RESOURCES, fsRdPerm);
    ASSERT_NE(mPageRes, -1);
    pmSetFolderPrinterResolution(300);
    mWindow = LWindow::CreateWindow(7100, mApp);
    mWindow->Show();
    mWindow->Select();
    mArea = FindPaneAs<CPictureView>(mWindow, 'PICV');
    mStrip = FindPaneAs<CThumbnailView>(mWindow, 'THUV');
    mStrip->AddListener(mArea);
    mStrip->SetPictureView(mArea);
    mArea->SetThumbnailView(mStrip);
    mArea->AddListener(&mLog);
    mArea->SetPrintSizePane(&mSpec);
  }
  void TearDown() override {
    delete mWindow;
    if (mPageRes != -1) CloseResFile(mPageRes);
    HeadlessApp::TearDown();
  }

  // A w x h colour TIFF at `dpi`; with `stripes`, columns two black, two white.
  ScanData Page(const std::string& name, long w, long h, long dpi, bool stripes = false) {
    const fs::path file = mDir / (name + ".tif");
    MTHandle t = MTOpen(file.c_str(), "w");
    EXPECT_NE(t, nullptr);
    MTSetField(t, kMTImageWidth, w);
    MTSetField(t, kMTImageLength, h);
    MTSetField(t, kMTBitsPerSample, 8);
    MTSetField(t, kMTCompression, 1);
    MTSetField(t, kMTPhotometric, 2);
    MTSetField(t, kMTOrientation, 1);
    MTSetField(t, kMTSamplesPerPixel, 3);
    MTSetField(t, kMTRowsPerStrip, h);
    MTSetField(t, kMTXResolution, dpi);
    MTSetField(t, kMTYResolution, dpi);
    MTSetField(t, kMTPlanarConfig, 1);
    MTSetField(t, kMTResolutionUnit, 2);
    std::vector<UInt8> row(static_cast<size_t>(w) * 3);
    for (long x = 0; x < w; ++x) row[x * 3] = 200, row[x * 3 + 1] = UInt8(x), row[x * 3 + 2] = 40;
    if (stripes)
      for (long x = 0; x < w; ++x) row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = x / 2 % 2 ? 255 : 0;
    for (long y = 0; y < h; ++y) MTWriteScanline(t, row.data(), y);
    MTClose(t);
    return Described(file, w, h, dpi);
  }
  ScanData Described(const fs::path& file, long w, long h, long dpi) {
    ScanData page;
    page.width = SInt32(w);
    page.height = SInt32(h);
    page.resolution = Fixed(dpi << 16);
    FSpMakeFromPOSIXPath(file.string(), &page.imageFile);
    return page;
  }
  // The pages go into the strip, load on idle time, and page 1 is shown at 100 %.
  void Load(const std::vector<ScanData>& pages) {
    for (const ScanData& p : pages) mPages.AddItem(p);
    mStrip->SetImageArray(&mPages);
    mStrip->SetViewSize();
    mStrip->CreateThumbnailPanes(nullptr);
    for (int pass = 0; pass < 50 && !AllTried(); ++pass) mApp->ProcessNextEvent(0);
    ASSERT_TRUE(AllTried());
    mArea->SetPicturePane(pages[0]);
    if (mArea->GetPicture()) mArea->GetPicture()->ResizeSameRate();
  }
  bool AllTried() const {
    for (SInt32 n = 1; n <= mStrip->CountThumbnails(); ++n)
      if (!mStrip->GetThumbnail(n)->HasTriedToLoad()) return false;
    return true;
  }
  Rect Range() const {
    Rect r;
    mArea->GetPaper()->GetPrintRangeRect(r, 1);
    return r;
  }
  CPicturePane* Picture() const { return mArea->GetPicture(); }
  // The page area printed on the folder printer, as the layout dialog prints it; the PDF.
  fs::path PrintArea(PMRect* paper, PMRect* page, PMResolution* dpi) {
    SDimension16 areaSize;
    mArea->GetFrameSize(areaSize);
    StPrintSession session(mSpec);
    PMGetAdjustedPaperRect(mSpec.GetPageFormat(), paper);
    PMGetAdjustedPageRect(mSpec.GetPageFormat(), page);
    PMGetResolution(mSpec.GetPageFormat(), dpi);
    std::unique_ptr<LPrintout> printout(LPrintout::CreatePrintout(7101));
    printout->SetPrintSpec(mSpec);
    auto* holder = FindPaneAs<LPlaceHolder>(printout.get(), 'PHLD');
    SDimension16 size;
    printout->GetFrameSize(size);
    holder->ResizeFrameTo(size.width, size.height, false);
    holder->InstallOccupant(mArea, kAlignNone);
    mArea->ResizeFrameTo(size.width, size.height, false);
    printout->DoPrintJob();
    holder->RemoveOccupant();
    mArea->ResizeFrameTo(areaSize.width, areaSize.height, false);
    return mDir / "prints" / "Print 1.pdf";
  }
  bool Enabled(PaneIDT id) const { return mWindow->FindPaneByID(id)->IsEnabled(); }
  CEditableTextBox* AddBox() {
    mArea->AddTextBox();
    mArea->CheckTextBoxSize();
    mArea->SetInputTextState();
    return mArea->GetTextBoxes().back();
  }
  std::string Text(CEditableTextBox* box) {
    Str255 text;
    box->GetDescriptor(text);
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
  }
  void Drag(const LPane* pane, Point fromPort, SInt16 dh, SInt16 dv) {
    wxdriver::Drag(Global(pane, fromPort.h, fromPort.v),
                   Global(pane, SInt16(fromPort.h + dh), SInt16(fromPort.v + dv)), 6);
    PumpEvents();
  }

  wxtest::ScratchDir mDir;
  wxtest::PrinterEnvironment mPrinters{(mDir / "prints").string(), (mDir / "no-cups.sock").string()};
  LPrintSpec mSpec;
  TArray<ScanData> mPages;
  RecordLog mLog;
  SInt16 mPageRes = -1;
  LWindow* mWindow = nullptr;
  CPictureView* mArea = nullptr;
  CThumbnailView* mStrip = nullptr;
};

TEST_F(PanesTest, ThePaperIsScaledAndThePictureStartsAt100PercentCentred) {
  Load({Page("p1", 1000, 600, 300)});
  PMRect paper{}, page{};
  {
    StPrintSession session(mSpec);
    PMGetAdjustedPaperRect(mSpec.GetPageFormat(), &paper);
    PMGetAdjustedPageRect(mSpec.GetPageFormat(), &page);
  }
  const pagegeom::PaperLayout expected = pagegeom::LayOutPaper(paper, page);
  SDimension16 size;
  mArea->GetPaper()->GetFrameSize(size);
  EXPECT_EQ(size.width, expected.size.width);
  EXPECT_EQ(size.height, expected.size.height);
  EXPECT_EQ(mArea->GetPaper()->GetPrinterResolution(), 300);

  const Rect frame = FrameOf(Picture());
  EXPECT_EQ(frame.right - frame.left, SInt16(std::trunc(1000 * expected.scale + 0.5)));
  EXPECT_EQ(frame.bottom - frame.top, SInt16(std::trunc(600 * expected.scale + 0.5)));
  const Point off = pagegeom::CentringOffset(frame, Range());
  EXPECT_EQ(off.h, 0);
  EXPECT_EQ(off.v, 0);
  ASSERT_FALSE(mLog.records.empty());
  EXPECT_EQ(mLog.records.back().width, 1000);
  EXPECT_EQ(mLog.records.back().height, 600);
  EXPECT_EQ(mLog.records.back().resolution, 300 << 16);
  // The strip: one thumbnail a page at its place, current, checked.
  const Rect thumb = FrameOf(mStrip->GetThumbnail(1));
  EXPECT_EQ(thumb.right - thumb.left, 80);
  EXPECT_EQ(thumb.bottom - thumb.top, 115);
  EXPECT_TRUE(mStrip->GetThumbnail(1)->IsCurrent());
  EXPECT_TRUE(mStrip->GetThumbnail(1)->IsChecked());
}

TEST_F(PanesTest, DraggingThePictureFarAwayLeavesOnePixelInsideThePrintableArea) {
  Load({Page("p1", 600, 600, 300)});
  const Rect range = Range();
  Rect f = FrameOf(Picture());
  Drag(Picture(), Point{SInt16((f.top + f.bottom) / 2), SInt16((f.left + f.right) / 2)}, 400, 0);
  f = FrameOf(Picture());
  EXPECT_EQ(f.left, range.right - 1);
  Drag(Picture(), Point{SInt16((f.top + f.bottom) / 2), SInt16(f.left + 5)}, -500, -500);
  f = FrameOf(Picture());
  EXPECT_EQ(f.right, range.left + 1);
  EXPECT_EQ(f.bottom, range.top + 1);
}

TEST_F(PanesTest, ResizingByACornerOrAnEdgeKeepsTheAspectAndReportsThePrintRecord) {
  Load({Page("p1", 1000, 500, 300)});
  const Rect before = FrameOf(Picture());
  mLog.records.clear();
  Drag(Picture(), Point{SInt16(before.bottom - 2), SInt16(before.right - 2)}, -40, -40);
  const Rect corner = FrameOf(Picture());
  EXPECT_EQ(corner.left, before.left) << "the top-left corner stays";
  EXPECT_EQ(corner.top, before.top);
  EXPECT_LT(corner.right - corner.left, before.right - before.left);
  EXPECT_NEAR(corner.bottom - corner.top, (corner.right - corner.left) / 2, 1);
  ASSERT_FALSE(mLog.records.empty());
  EXPECT_LT(mLog.records.back().width, 1000);
  EXPECT_GT(mLog.records.back().resolution, 300 << 16) << "a smaller picture prints at a higher resolution";

  Drag(Picture(), Point{SInt16((corner.top + corner.bottom) / 2), SInt16(corner.left + 1)}, -20, 0);
  const Rect edge = FrameOf(Picture());
  EXPECT_EQ(edge.right, corner.right) << "the left edge moves, the right stays";
  EXPECT_EQ(edge.right - edge.left, corner.right - corner.left + 20);
  EXPECT_NEAR(edge.bottom - edge.top, (edge.right - edge.left) / 2, 1);

  // Shrinking far stops at 10 pixels.
  Drag(Picture(), Point{SInt16((edge.top + edge.bottom) / 2), SInt16(edge.right - 2)}, -400, 0);
  const Rect small = FrameOf(Picture());
  EXPECT_EQ(small.bottom - small.top, 10);
  EXPECT_EQ(small.right - small.left, 20);
}

TEST_F(PanesTest, FitFillCentreAndADoubleClickBackTo100Percent) {
  Load({Page("p1", 1000, 500, 300)});
  const Rect hundred = FrameOf(Picture());
  const Rect range = Range();
  mArea->ResizePicturePane(CPictureView::kFit);
  Rect f = FrameOf(Picture());
  EXPECT_EQ(f.right - f.left, range.right - range.left) << "a wide picture fits the width";
  EXPECT_EQ(pagegeom::CentringOffset(f, range).v, 0);
  mArea->ResizePicturePane(CPictureView::kFill);
  f = FrameOf(Picture());
  EXPECT_EQ(f.bottom - f.top, range.bottom - range.top) << "and fills the height";
  Picture()->MoveBy(-30, 12, true);
  mArea->CenteringPicture();
  f = FrameOf(Picture());
  EXPECT_EQ(pagegeom::CentringOffset(f, range).h, 0);

  const Point centre = Global(Picture(), SInt16((hundred.left + hundred.right) / 2), SInt16((hundred.top + hundred.bottom) / 2));
  wxdriver::Click(centre);
  wxdriver::Click(centre);
  PumpEvents();
  f = FrameOf(Picture());
  EXPECT_EQ(f.right - f.left, hundred.right - hundred.left);
  EXPECT_EQ(f.left, hundred.left);
  EXPECT_EQ(f.top, hundred.top);
}

TEST_F(PanesTest, TypedTextAndThePicturePlaceSurviveSwitchingPages) {
  Load({Page("p1", 600, 600, 300), Page("p2", 800, 400, 300)});
  Picture()->MoveBy(-20, -10, true);
  const Rect placed = FrameOf(Picture());
  CEditableTextBox* box = AddBox();
  ASSERT_NE(box->GetEditField(), nullptr);
  wxdriver::Type("Hello");
  PumpEvents();
  EXPECT_TRUE(Enabled('FSET'));

  // No periodical has run: the typed text is still only in the field.
  ClickPane(mStrip->GetThumbnail(2));
  PumpEvents();
  EXPECT_TRUE(mArea->GetTextBoxes().empty());
  EXPECT_FALSE(Enabled('FSET'));
  EXPECT_TRUE(mStrip->GetThumbnail(2)->IsCurrent());
  EXPECT_EQ(mArea->GetScanData().width, 800);

  ClickPane(mStrip->GetThumbnail(1));
  PumpEvents();
  ASSERT_EQ(mArea->GetTextBoxes().size(), 1u);
  EXPECT_EQ(Text(mArea->GetTextBoxes()[0]), "Hello");
  const Rect back = FrameOf(Picture());
  EXPECT_EQ(back.left, placed.left);
  EXPECT_EQ(back.top, placed.top);
  EXPECT_EQ(back.right, placed.right);
  EXPECT_TRUE(Enabled('ADDT'));
}

TEST_F(PanesTest, TextBoxIDsDifferAndAreNeverTakenForThumbnails) {
  Load({Page("p1", 300, 300, 300), Page("p2", 300, 300, 300)});
  mArea->AddTextBox();
  mArea->AddTextBox();
  const PaneIDT a = mArea->GetTextBoxes()[0]->GetPaneID(), b = mArea->GetTextBoxes()[1]->GetPaneID();
  EXPECT_NE(a, b) << "made in the same tick";
  for (PaneIDT id : {a, b}) {
    EXPECT_GE(id, CPictureView::kFirstTextBoxID);
    EXPECT_LT(id, 100000);
  }
  EXPECT_EQ(mStrip->CountThumbnails(), 2);
  EXPECT_EQ(mStrip->GetThumbnail(3), nullptr);
}

TEST_F(PanesTest, TenRestoredBoxesDisableAddTextAndADeletionEnablesIt) {
  Load({Page("p1", 300, 300, 300)});
  PrePicturePaneInfo saved;
  saved.scale = mArea->GetPaper()->GetScale();
  saved.frame = FrameOf(Picture());
  for (SInt16 i = 0; i < 10; ++i) {
    TextBoxInfo box{};
    box.frame = Rect{SInt16(70 + 20 * i), 70, SInt16(90 + 20 * i), 200};
    box.text[0] = 1;
    box.text[1] = UInt8('A' + i);
    UTextTraits::LoadSystemTraits(box.traits);
    saved.textBoxes.AddItem(box);
  }
  mArea->ListenToMessage(CThumbnailView::msg_RestorePage, &saved);
  ASSERT_EQ(mArea->GetTextBoxes().size(), 10u);
  EXPECT_FALSE(Enabled('ADDT'));
  EXPECT_EQ(Text(mArea->GetTextBoxes()[3]), "D");

  mArea->DeleteTextBox();
  EXPECT_EQ(mArea->GetTextBoxes().size(), 10u) << "none selected: nothing deleted";
  mArea->GetTextBoxes()[3]->SetSelected(1);
  mArea->DeleteTextBox();
  EXPECT_EQ(mArea->GetTextBoxes().size(), 9u);
  EXPECT_TRUE(Enabled('ADDT'));
  EXPECT_FALSE(Enabled('FSET'));
}

TEST_F(PanesTest, ABoxIsResizedByItsHandlesAndMovedOnlyWithinThePrintableArea) {
  Load({Page("p1", 300, 300, 300)});
  CEditableTextBox* box = AddBox();
  mArea->CancelEditField();
  EXPECT_FALSE(box->IsSelected());
  ClickPane(box);
  PumpEvents();
  ASSERT_TRUE(box->IsSelected());
  const Rect start = FrameOf(box);
  Drag(box, Point{SInt16(start.bottom - 2), SInt16(start.right - 2)}, 20, 15);
  const Rect grown = FrameOf(box);
  EXPECT_EQ(grown.left, start.left);
  EXPECT_EQ(grown.top, start.top);
  EXPECT_EQ(grown.right - grown.left, start.right - start.left + 20);
  EXPECT_EQ(grown.bottom - grown.top, start.bottom - start.top + 15);

  Drag(box, Point{SInt16((grown.top + grown.bottom) / 2), SInt16((grown.left + grown.right) / 2)}, 500, 0);
  EXPECT_EQ(FrameOf(box).right, Range().right);
}

TEST_F(PanesTest, ASelectedBoxShowsRedHandlesAndBackspaceDeletesIt) {
  Load({Page("p1", 300, 300, 300)});
  CEditableTextBox* box = AddBox();
  mArea->CancelEditField();
  ClickPane(box);
  PumpEvents();
  mWindow->UpdatePort();
  int w = 0, h = 0;
  const std::vector<UInt32> pixels = wxdriver::WindowPixels(mWindow->GetMacWindow(), &w, &h);
  const Rect f = FrameOf(box);
  for (const Point corner : pagegeom::HandleCorners(f))
    EXPECT_EQ(pixels[size_t((corner.v + 1) * w + corner.h + 1)], 0xFF0000u) << corner.v << "," << corner.h;

  mArea->DeleteTextBox();
  EXPECT_TRUE(mArea->GetTextBoxes().empty());
}

TEST_F(PanesTest, AFontChangeSetsTheStyleBitsAndGrowsTheBox) {
  Load({Page("p1", 300, 300, 300)});
  CEditableTextBox* box = AddBox();
  wxdriver::Type("Big words on a page");
  PumpEvents();
  mArea->CancelEditField();
  const Rect before = FrameOf(box);
  StFontDialog& font = box->FontSettings();
  font.size = 36;
  font.bold = 1;
  font.underline = 1;
  box->SetTextFotrmatValue(font);
  EXPECT_EQ(box->GetTextTraits().style, 5);
  EXPECT_EQ(box->GetTextTraits().size, 36);
  EXPECT_GT(FrameOf(box).bottom - FrameOf(box).top, before.bottom - before.top);
  EXPECT_EQ(Text(box), "Big words on a page");
  font.size = 9;
  const Rect big = FrameOf(box);
  box->SetTextFotrmatValue(font);
  EXPECT_EQ(FrameOf(box).bottom, big.bottom) << "a smaller font never shrinks the box";
}

TEST_F(PanesTest, APageWhoseFileDoesNotImportHasNoPictureAndNothingBreaks) {
  const fs::path damaged = mDir / "damaged.tif";
  std::ofstream(damaged) << "II*\0not a picture";
  Load({Described(damaged, 500, 500, 300), Page("p2", 500, 500, 300)});
  EXPECT_TRUE(mStrip->GetThumbnail(1)->HasTriedToLoad());
  EXPECT_EQ(mStrip->GetThumbnail(1)->GetGWorld(), nullptr);
  EXPECT_EQ(CThumbnailPane::sCreated, 1) << "page 2 loaded";
  EXPECT_EQ(Picture(), nullptr);
  mArea->ResizePicturePane(CPictureView::kFit);
  mArea->CenteringPicture();
  AddBox();
  wxdriver::Type("Only text");
  PumpEvents();

  ClickPane(mStrip->GetThumbnail(2));
  PumpEvents();
  ASSERT_NE(Picture(), nullptr);
  ClickPane(mStrip->GetThumbnail(1));
  PumpEvents();
  EXPECT_EQ(Picture(), nullptr);
  ASSERT_EQ(mArea->GetTextBoxes().size(), 1u);
  EXPECT_EQ(Text(mArea->GetTextBoxes()[0]), "Only text");
}

// The rows and columns of a rendered page whose pixels pass `match`.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
template <class Match>
Box Bounds(const std::vector<UInt8>& rgb, int w, int h, Match match) {
  Box b;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const UInt8* p = &rgb[(size_t(y) * w + x) * 3];
      if (!match(p[0], p[1], p[2])) continue;
      b.left = std::min(b.left, x), b.top = std::min(b.top, y);
      b.right = std::max(b.right, x + 1), b.bottom = std::max(b.bottom, y + 1);
    }
  return b;
}

// A page rendered by pdftoppm at `dpi`, as packed RGB.
bool Render(const fs::path& pdf, int dpi, std::vector<UInt8>* rgb, int* w, int* h) {
  const fs::path stem = pdf.parent_path() / "render";
  if (wxtest::Run("pdftoppm -r " + std::to_string(dpi) + " -singlefile '" + pdf.string() + "' '" + stem.string() + "'") != 0)
    return false;
  std::ifstream in(stem.string() + ".ppm", std::ios::binary);
  std::string magic;
  int max = 0;
  in >> magic >> *w >> *h >> max;
  in.get();
  rgb->resize(size_t(*w) * *h * 3);
  in.read(reinterpret_cast<char*>(rgb->data()), std::streamsize(rgb->size()));
  return magic == "P6" && in.good();
}

TEST_F(PanesTest, ThePrintedPageHasThePictureAndTheBoxWhereThePageAreaHasThem) {
  WX_REQUIRE_TOOL("pdftoppm");
  WX_REQUIRE_TOOL("qpdf");
  Load({Page("p1", 300, 150, 300)});
  const Rect range = Range();
  const Rect f = FrameOf(Picture());
  Picture()->MoveBy(range.left + 20 - f.left, range.top + 10 - f.top, true);
  CEditableTextBox* box = AddBox();
  wxdriver::Type("HHHH");
  PumpEvents();
  mArea->CancelEditField();
  StFontDialog& font = box->FontSettings();
  font.color = {0, 0, 0xFFFF};
  box->SetTextFotrmatValue(font);
  const Rect b0 = FrameOf(box);
  box->MoveBy(range.left + 30 - b0.left, range.top + 100 - b0.top, true);
  const Rect boxFrame = FrameOf(box);
  const Rect picture = FrameOf(Picture());
  const double ratio = mArea->GetPaper()->GetReSizeRatio();

  PMRect paper{}, page{};
  PMResolution dpi{};
  const fs::path pdf = PrintArea(&paper, &page, &dpi);
  ASSERT_TRUE(fs::exists(pdf));
  EXPECT_EQ(wxtest::Run("qpdf --check '" + pdf.string() + "' > /dev/null"), 0);
  std::vector<UInt8> rgb;
  int w = 0, h = 0;
  ASSERT_TRUE(Render(pdf, int(dpi.hRes), &rgb, &w, &h));
  fs::copy_file(pdf, wxtest::OutputDir("print-layout") / "panes.pdf", fs::copy_options::overwrite_existing);

  // Rendered at the format's resolution, a page-format unit is a pixel; the printable area
  // starts at the page rectangle's offset in the paper.
  const int marginLeft = int(page.left - paper.left), marginTop = int(page.top - paper.top);
  const Box image = Bounds(rgb, w, h, [](UInt8 r, UInt8, UInt8 b) { return r > 150 && b < 100; });
  EXPECT_NEAR(image.left, marginLeft + 20 * ratio, 2);
  EXPECT_NEAR(image.top, marginTop + 10 * ratio, 2);
  EXPECT_NEAR(image.right - image.left, (picture.right - picture.left) * ratio, 2);
  // One screen pixel is `ratio` units: the 100 % frame is rounded to whole screen pixels.
  EXPECT_NEAR(image.right - image.left, dpi.hRes, ratio + 1) << "at 100 % a 300-pixel, 300-dpi image prints an inch wide";
  const Box text = Bounds(rgb, w, h, [](UInt8 r, UInt8 g, UInt8 b) { return b > 150 && r < 100 && g < 100; });
  ASSERT_GE(text.right, 0) << "the box's blue text is printed";
  EXPECT_GE(text.left, marginLeft + int(30 * ratio) - 1);
  EXPECT_GE(text.top, marginTop + int(100 * ratio) - 1);
  EXPECT_LE(text.right, marginLeft + int((30 + boxFrame.right - boxFrame.left) * ratio) + 1);
  EXPECT_LE(text.bottom, marginTop + int((100 + boxFrame.bottom - boxFrame.top) * ratio) + 1);
  const Rect after = FrameOf(box);
  EXPECT_EQ(after.left, boxFrame.left) << "the box keeps its screen place";
}

// A large page keeps only a display copy the size the page area draws it, and is read at
// full size to print: the printed picture has every column of the page's fine stripes.
TEST_F(PanesTest, APageKeepsADisplayCopyAndPrintsFromTheFullSizePage) {
  WX_REQUIRE_TOOL("pdftoppm");
  Load({Page("stripes", 1500, 1000, 300, true)});
  Rect bounds{};
  GetPortBounds(mStrip->GetThumbnail(1)->GetGWorld()->GetMacGWorld(), &bounds);
  EXPECT_EQ(bounds.right - bounds.left, 600);
  EXPECT_EQ(bounds.bottom - bounds.top, 400);
  const Rect range = Range();
  const Rect f = FrameOf(Picture());
  Picture()->MoveBy(range.left - f.left, range.top - f.top, true);
  PMRect paper{}, page{};
  PMResolution dpi{};
  const fs::path pdf = PrintArea(&paper, &page, &dpi);
  std::vector<UInt8> rgb;
  int w = 0, h = 0;
  ASSERT_TRUE(Render(pdf, int(dpi.hRes), &rgb, &w, &h));
  // At 100 % on a 300 dpi printer a page pixel is a printed pixel: 750 changes along a row
  // of the page; a copy of 600 columns printed would show about 480.
  const int y = int(page.top - paper.top) + 100, x0 = int(page.left - paper.left);
  int changes = 0;
  for (int x = x0 + 1; x < std::min(w, x0 + 1400); ++x)
    changes += (rgb[(size_t(y) * w + x) * 3] < 128) != (rgb[(size_t(y) * w + x - 1) * 3] < 128);
  EXPECT_GE(changes, 680);
}


// On the page area the picture shows the pixels a copy of the full-size page to its frame
// takes, whatever size the strip's display copy has: at 100 %, at a size of its own, and at
// the size a corner drag ends at, as the drag leaves it (two-pixel stripes show any second
// resampling).
TEST_F(PanesTest, ThePictureOnTheScreenIsTheFullSizePageCopiedToItsFrame) {
  const ScanData page = Page("stripes", 1500, 1000, 300, true);
  Load({page});
  std::unique_ptr<LGWorld> full = PreviewPicture::Decode(page.imageFile);
  ASSERT_NE(full, nullptr);
  for (const SInt16 width : {SInt16(0), SInt16(233), SInt16(-1)}) {
    SCOPED_TRACE(width);
    if (width > 0) Picture()->ResizeFrameTo(width, SInt16(width * 1000 / 1500), true);
    const Rect range = Range();
    const Rect f = FrameOf(Picture());
    Picture()->MoveBy(range.left - f.left, range.top - f.top, true);
    if (width < 0) {
      const Rect before = FrameOf(Picture());
      Drag(Picture(), Point{SInt16(before.bottom - 2), SInt16(before.right - 2)}, -30, -20);
    } else {
      mArea->Draw(nullptr);
    }
    ASSERT_TRUE(Picture()->FocusDraw());
    Rect frame, inside;
    Picture()->CalcLocalFrameRect(frame);
    // Inside the blue frame and the printable area's outline, where the picture is drawn as it is.
    mArea->GetPaper()->GetPrintRangeRect(inside, 0);
    InsetRect(&inside, 1, 1);
    Rect shown = frame;
    InsetRect(&shown, 1, 1);
    ASSERT_TRUE(SectRect(&inside, &shown, &inside));
    LGWorld expected(frame, 32, 0);
    Rect natural;
    GetPortBounds(full->GetMacGWorld(), &natural);
    CGrafPtr port;
    GDHandle device;
    GetGWorld(&port, &device);
    SetGWorld(expected.GetMacGWorld(), nullptr);
    CopyBits(GetPortBitMapForCopyBits(full->GetMacGWorld()), GetPortBitMapForCopyBits(expected.GetMacGWorld()),
             &natural, &frame, srcCopy, nullptr);
    SetGWorld(port, device);
    PixMapHandle screen = GetPortPixMap(Picture()->GetMacPort()), want = GetGWorldPixMap(expected.GetMacGWorld());
    Rect sb, wb;
    GetPixBounds(screen, &sb);
    GetPixBounds(want, &wb);
    long wrong = 0;
    for (int y = inside.top; y < inside.bottom; ++y)
      for (int x = inside.left; x < inside.right; ++x)
        wrong += std::memcmp(GetPixBaseAddr(screen) + (y - sb.top) * GetPixRowBytes(screen) + (x - sb.left) * 4 + 1,
                             GetPixBaseAddr(want) + (y - wb.top) * GetPixRowBytes(want) + (x - wb.left) * 4 + 1, 3) != 0;
    EXPECT_EQ(wrong, 0) << "of " << (inside.right - inside.left) * (inside.bottom - inside.top);
  }
}

}  // namespace
