// The page-layout dialog driven through the framework's test driver as a user drives it: the
// picture dragged, resized, fitted, filled, centred and set back to 100 %, text boxes added,
// typed into, moved and deleted, the page printed to the folder printer and the printed
// picture and text found with pdftoppm where the page area showed them, and print jobs that
// fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "LayoutDialogTestEnv.h"
#include "PrintFixtures.h"
#include "display/Keys.h"
#include "framework/StPrintSession.h"
#include "printing/Printing.h"
#include "printing/pmJob.h"
#include "toolbox/Files.h"
#include "tests/output/DialogTestEnv.h"

namespace wxapp {
namespace {

// The test device with a solid black picture, so a printed page shows exactly where the
// picture lies.
class BlackScannerEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    wxsane::UseSaneTestDevice(mConfig.path(), "Dremlo Model A");
    std::ofstream(mConfig.path() / "test.conf") << "number_of_devices 1\ntest-picture \"Solid black\"\n";
    setenv("WX_TWAIN_SOURCES", WX_TWAIN_SOURCE_DIR, 1);
  }

 private:
  wxtest::ScratchDir mConfig;
};

::testing::Environment* const gScanner = ::testing::AddGlobalTestEnvironment(new BlackScannerEnvironment);

void ExpectCentred(const Rect& frame, const Rect& range) {
  const Point off = pagegeom::CentringOffset(frame, range);
  EXPECT_EQ(0, off.h);
  EXPECT_EQ(0, off.v);
}

// The frame keeps the aspect of a 100 x 80 mm page within a pixel.
void ExpectPageAspect(const Rect& r) {
  EXPECT_NEAR(double(r.bottom - r.top), double(r.right - r.left) * 0.8, 1.0)
      << r.left << "," << r.top << "," << r.right << "," << r.bottom;
}

TEST_F(LayoutDialogTest, ThePictureIsDraggedResizedFittedFilledCentredAndSetBackTo100Percent) {
  ASSERT_NE(nullptr, Open());
  Rect range{}, hundred{}, dragged{}, centred{}, corner{}, edge{}, fitted{}, filled{}, middle{}, back{};
  std::string resolution, inches, centimetres, pixels, cornerResolution, cornerInches;
  SInt32 widthUnit = 0, heightUnit = 0, width = 0;
  bool checked = false;
  const auto picture = [](CPrintLayoutDialog* l) -> LPane* { return l->Area()->GetPicture(); };
  Run({
      [&](CPrintLayoutDialog* l) {
        ASSERT_NE(nullptr, picture(l));
        range = PrintableArea(l);
        width = l->Area()->GetScanData().width;
        hundred = FrameOf(picture(l));
        resolution = PaneText(l, 'CRES');
        inches = ItemText(l, 'PBWD', 1);
        centimetres = ItemText(l, 'PBWD', 2);
        pixels = ItemText(l, 'PBWD', 3);
        widthUnit = PaneValue(l, 'PBWD');
        heightUnit = PaneValue(l, 'PBHI');
        DragBy(picture(l), MiddleOf(hundred), 900, 0);
      },
      [&](CPrintLayoutDialog* l) {
        dragged = FrameOf(picture(l));
        ClickPane(l, 'APL1');
      },
      [&](CPrintLayoutDialog* l) {
        centred = FrameOf(picture(l));
        DragBy(picture(l), Point{SInt16(centred.bottom - 2), SInt16(centred.right - 2)}, -30, -30);
      },
      [&](CPrintLayoutDialog* l) {
        corner = FrameOf(picture(l));
        cornerResolution = PaneText(l, 'CRES');
        cornerInches = ItemText(l, 'PBWD', 1);
        DragBy(picture(l), Point{SInt16((corner.top + corner.bottom) / 2), SInt16(corner.left + 1)}, -20, 0);
      },
      [&](CPrintLayoutDialog* l) {
        edge = FrameOf(picture(l));
        ClickPane(l, 'APL2');
      },
      [&](CPrintLayoutDialog* l) {
        fitted = FrameOf(picture(l));
        ClickPane(l, 'APL3');
      },
      [&](CPrintLayoutDialog* l) {
        filled = FrameOf(picture(l));
        ClickPane(l, 'APL1');
      },
      [&](CPrintLayoutDialog* l) {
        middle = FrameOf(picture(l));
        const Point at = GlobalAt(picture(l), (middle.left + middle.right) / 2, (middle.top + middle.bottom) / 2);
        wxdriver::Click(at);
        wxdriver::Click(at);
      },
      [&](CPrintLayoutDialog* l) {
        back = FrameOf(picture(l));
        checked = true;
        ClickPane(l, 'BTFN');
      },
  });
  Scan();
  EXPECT_FALSE(HasDialogActions());
  ASSERT_TRUE(checked);

  // At 100 %, centred, its size shown for the scan's resolution; inches first in E.
  ExpectCentred(hundred, range);
  ExpectPageAspect(hundred);
  EXPECT_EQ("150", resolution);
  EXPECT_EQ(std::to_string(width) + wxtest::ResourceText(1100, 3), pixels);
  EXPECT_EQ(IS_E ? 1 : 2, widthUnit);
  EXPECT_EQ(widthUnit, heightUnit);
  EXPECT_NEAR(590, width, 1) << "100 mm at 150 dpi";
  EXPECT_EQ("3.9" + wxtest::ResourceText(1100, 1), inches);
  EXPECT_NEAR(width * 2.54 / 150, std::stod(centimetres), 0.1) << centimetres;
  EXPECT_NE(std::string::npos, centimetres.find(wxtest::ResourceText(1100, 2)));
  EXPECT_EQ(range.right - 1, dragged.left) << "dragged far away, one column stays inside";
  EXPECT_EQ(hundred.right - hundred.left, dragged.right - dragged.left);
  ExpectCentred(centred, range);

  EXPECT_EQ(centred.left, corner.left) << "the opposite corner stays";
  EXPECT_EQ(centred.top, corner.top);
  EXPECT_LT(corner.right - corner.left, centred.right - centred.left);
  ExpectPageAspect(corner);
  const double shownDpi = std::stod(cornerResolution);
  EXPECT_GT(shownDpi, 150) << "smaller on paper: printed at a higher resolution";
  EXPECT_NEAR(std::stod(cornerInches), width / shownDpi, 0.11) << cornerInches << " at " << cornerResolution;

  EXPECT_EQ(corner.right, edge.right) << "the left edge moves, the right stays";
  EXPECT_EQ(corner.right - corner.left + 20, edge.right - edge.left);
  ExpectPageAspect(edge);

  EXPECT_EQ(range.right - range.left, fitted.right - fitted.left) << "a wide picture fits the width";
  EXPECT_EQ(0, pagegeom::CentringOffset(fitted, range).v);
  EXPECT_EQ(range.bottom - range.top, filled.bottom - filled.top) << "and fills the height";
  ExpectCentred(middle, range);
  EXPECT_EQ(hundred.right - hundred.left, back.right - back.left) << "a double click sets it back to 100 %";
  EXPECT_EQ(hundred.bottom - hundred.top, back.bottom - back.top);
}

// A point of the printable area where neither the picture nor a text box lies.
Point EmptySpot(CPrintLayoutDialog* l) {
  const Rect range = PrintableArea(l);
  return GlobalAt(l->Area(), range.right - 3, range.bottom - 3);
}

TEST_F(LayoutDialogTest, TextBoxesAreAddedTypedMovedAndDeletedUpToTen) {
  // Two-byte characters in the Japanese build (Shift-JIS "aiu"), kept whole.
  const std::string typed = wxtest::BuildLanguage() == 'J' ? "\x82\xa0\x82\xa2\x82\xa4" : "Hello";
  ASSERT_NE(nullptr, Open());
  const auto boxes = [](CPrintLayoutDialog* l) { return l->Area()->GetTextBoxes(); };
  bool fieldOpen = false, addAfterTen = true, addAfterDelete = false, fontAfterDelete = true, selected = false;
  bool shownPage2 = false, checked = false;
  size_t made = 0, afterEleven = 0, afterDelete = 0, onPage2 = 1, back = 0;
  Rect moved{}, start{};
  std::vector<std::string> texts;
  std::vector<Rect> frames;
  Run({
      [&](CPrintLayoutDialog* l) { ClickPane(l, 'ADDT'); },
      [&](CPrintLayoutDialog* l) {
        made = boxes(l).size();
        fieldOpen = made == 1 && boxes(l)[0]->GetEditField() != nullptr;
        wxdriver::Type(typed);
      },
      [&](CPrintLayoutDialog* l) {
        for (int i = 0; i < 10; ++i) ClickPane(l, 'ADDT');
      },
      [&](CPrintLayoutDialog* l) {
        afterEleven = boxes(l).size();
        addAfterTen = FindPane(l, 'ADDT')->IsEnabled();
        wxdriver::Click(EmptySpot(l));
      },
      [&](CPrintLayoutDialog* l) { ClickPane(boxes(l)[2]); },
      [&](CPrintLayoutDialog* l) {
        selected = boxes(l)[2]->IsSelected();
        wxdriver::Key(kBackspaceCharCode);
      },
      [&](CPrintLayoutDialog* l) {
        afterDelete = boxes(l).size();
        addAfterDelete = FindPane(l, 'ADDT')->IsEnabled();
        fontAfterDelete = FindPane(l, 'FSET')->IsEnabled();
        start = FrameOf(boxes(l)[0]);
        DragBy(boxes(l)[0], MiddleOf(start), 40, 30);
      },
      [&](CPrintLayoutDialog* l) {
        moved = FrameOf(boxes(l)[0]);
        ClickPane(l->Strip()->GetThumbnail(2));
      },
      [&](CPrintLayoutDialog* l) {
        shownPage2 = l->Strip()->GetThumbnail(2)->IsCurrent() == 1;
        onPage2 = boxes(l).size();
        ClickPane(l->Strip()->GetThumbnail(1));
      },
      [&](CPrintLayoutDialog* l) {
        back = boxes(l).size();
        for (CEditableTextBox* box : boxes(l)) {
          texts.push_back(BoxText(box));
          frames.push_back(FrameOf(box));
        }
        checked = true;
        ClickPane(l, 'BTFN');
      },
  });
  Scan();
  EXPECT_FALSE(HasDialogActions());
  ASSERT_TRUE(checked);
  EXPECT_EQ(1u, made);
  EXPECT_TRUE(fieldOpen) << "a new box is edited in place";
  EXPECT_EQ(10u, afterEleven) << "ten boxes at most";
  EXPECT_FALSE(addAfterTen);
  EXPECT_TRUE(selected);
  EXPECT_EQ(9u, afterDelete) << "backspace deletes the selected box";
  EXPECT_TRUE(addAfterDelete);
  EXPECT_FALSE(fontAfterDelete);
  EXPECT_EQ(start.left + 40, moved.left);
  EXPECT_EQ(start.top + 30, moved.top);
  EXPECT_TRUE(shownPage2);
  EXPECT_EQ(0u, onPage2) << "the boxes are page 1's";
  ASSERT_EQ(9u, back);
  EXPECT_EQ(typed, texts[0]) << "typed text survives the page switch";
  EXPECT_EQ(moved.left, frames[0].left);
  EXPECT_EQ(moved.top, frames[0].top);
}

// The rows and columns of a rendered page whose pixels match (or are dark), within rows
// [top, bottom).
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
template <class Match>
Box Bounds(const std::vector<UInt8>& rgb, int w, int top, int bottom, Match match) {
  Box b;
  for (int y = std::max(0, top); y < bottom; ++y)
    for (int x = 0; x < w; ++x) {
      if (!match(&rgb[(size_t(y) * w + x) * 3])) continue;
      b.left = std::min(b.left, x), b.top = std::min(b.top, y);
      b.right = std::max(b.right, x + 1), b.bottom = std::max(b.bottom, y + 1);
    }
  return b;
}
Box DarkBounds(const std::vector<UInt8>& rgb, int w, int top, int bottom) {
  return Bounds(rgb, w, top, bottom, [](const UInt8* p) { return p[0] < 96 && p[1] < 96 && p[2] < 96; });
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

TEST_F(LayoutDialogTest, ThePrintedPageHasThePictureAndTheTextWhereThePageAreaShowsThem) {
  WX_REQUIRE_TOOL("pdftoppm");
  WX_REQUIRE_TOOL("pdfinfo");
  WX_REQUIRE_TOOL("qpdf");
  ASSERT_NE(nullptr, Open());
  Rect range{}, picture{}, box{};
  double ratio = 0;
  PMRect paper{}, page{};
  PMResolution dpi{};
  SInt32 width = 0, resolution = 0;
  SInt16 style = 0, size = 0;
  const auto pictureOf = [](CPrintLayoutDialog* l) -> LPane* { return l->Area()->GetPicture(); };
  Run({
      [&](CPrintLayoutDialog* l) {
        for (SInt32 n = 2; CThumbnailPane* t = l->Strip()->GetThumbnail(n); ++n) FindPaneAs<LControl>(t, 'TmCb')->SetValue(0);
        range = PrintableArea(l);
        const Rect f = FrameOf(pictureOf(l));
        DragBy(pictureOf(l), MiddleOf(f), range.left + 15 - f.left, range.top + 10 - f.top);
      },
      [&](CPrintLayoutDialog* l) { ClickPane(l, 'ADDT'); },
      [&](CPrintLayoutDialog*) { wxdriver::Type("HHHH"); },
      [&](CPrintLayoutDialog* l) { wxdriver::Click(EmptySpot(l)); },
      [&](CPrintLayoutDialog* l) { ClickPane(l->Area()->GetTextBoxes()[0]); },
      [&](CPrintLayoutDialog* l) {
        // Bold, underlined, 24 points, blue, through the font dialog and its colour picker.
        QueueDialogAction([](LWindow* font) { ClickPane(font, 'CBBO'); });
        QueueDialogAction([](LWindow* font) { ClickPane(font, 'CBUN'); });
        QueueDialogAction([](LWindow* font) { TypeIntoPane(font, 'EDSZ', "24"); });
        QueueDialogAction([](LWindow* font) { ClickPane(font, 'BTSL'); });
        QueueDialogAction([](LWindow* picker) {
          for (const auto& [id, value] : {std::pair<PaneIDT, SInt32>{'Red ', 0}, {'Gren', 0}, {'Blue', 255}})
            FindPaneAs<LControl>(picker, id)->SetValue(value);
        });
        AnswerNextDialog(msg_OK);
        AnswerNextDialog(msg_OK);
        ClickPane(l, 'FSET');
      },
      [&](CPrintLayoutDialog* l) {
        CEditableTextBox* b = l->Area()->GetTextBoxes()[0];
        style = b->GetTextTraits().style;
        size = b->GetTextTraits().size;
        const Rect f = FrameOf(b);
        const Rect p = FrameOf(pictureOf(l));
        DragBy(b, MiddleOf(f), range.left + 30 - f.left, p.bottom + 20 - f.top);
      },
      [&](CPrintLayoutDialog* l) {
        picture = FrameOf(pictureOf(l));
        box = FrameOf(l->Area()->GetTextBoxes()[0]);
        ratio = l->Area()->GetPaper()->GetReSizeRatio();
        width = l->Area()->GetScanData().width;
        resolution = l->Area()->GetScanData().resolution >> 16;
        LPrintSpec* spec = l->Area()->GetPrintSpec();
        StPrintSession session(*spec);
        PMGetAdjustedPaperRect(spec->GetPageFormat(), &paper);
        PMGetAdjustedPageRect(spec->GetPageFormat(), &page);
        PMGetResolution(spec->GetPageFormat(), &dpi);
        ClickPane(l, 'BTPR');
      },
      [&](CPrintLayoutDialog* l) { ClickPane(l, 'BTFN'); },
  });
  Scan();
  EXPECT_FALSE(HasDialogActions());
  const std::vector<fs::path> prints = Prints();
  ASSERT_EQ(1u, prints.size()) << "only page 1 is checked";
  const fs::path pdf = prints[0];
  EXPECT_EQ(0, wxtest::Run("qpdf --check '" + pdf.string() + "' >/dev/null 2>&1"));
  std::string info;
  wxtest::Run("pdfinfo '" + pdf.string() + "'", &info);
  const double pointsWide = (paper.right - paper.left) * 72 / dpi.hRes, pointsHigh = (paper.bottom - paper.top) * 72 / dpi.vRes;
  const size_t at = info.find("Page size:");
  ASSERT_NE(std::string::npos, at) << info;
  double w = 0, h = 0;
  ASSERT_EQ(2, std::sscanf(info.c_str() + at, "Page size: %lf x %lf", &w, &h)) << info;
  EXPECT_NEAR(pointsWide, w, 1) << "the page format's paper";
  EXPECT_NEAR(pointsHigh, h, 1);

  std::vector<UInt8> rgb;
  int pw = 0, ph = 0;
  ASSERT_TRUE(Render(pdf, int(dpi.hRes), &rgb, &pw, &ph));
  fs::copy_file(pdf, wxtest::OutputDir("print-layout") / "layout-page.pdf", fs::copy_options::overwrite_existing);
  // Rendered at the format's resolution a page-format unit is a pixel; the printable area
  // starts at the page rectangle's offset in the paper.
  const double left = page.left - paper.left, top = page.top - paper.top;
  const auto printed = [&](SInt32 screen, SInt32 origin, double margin) { return margin + (screen - origin) * ratio; };
  const int textTop = int(printed(box.top, range.top, top)) - 2;
  const Box image = DarkBounds(rgb, pw, 0, textTop);
  EXPECT_NEAR(printed(picture.left, range.left, left), image.left, ratio + 1);
  EXPECT_NEAR(printed(picture.top, range.top, top), image.top, ratio + 1);
  EXPECT_NEAR((picture.right - picture.left) * ratio, image.right - image.left, ratio + 1);
  EXPECT_NEAR((picture.bottom - picture.top) * ratio, image.bottom - image.top, ratio + 1);
  EXPECT_NEAR(double(width) / resolution * dpi.hRes, image.right - image.left, ratio + 1)
      << "at 100 % the picture prints its pixels at the scan's resolution";
  EXPECT_EQ(5, style) << "bold and underlined";
  EXPECT_EQ(24, size);
  const Box text = Bounds(rgb, pw, textTop, ph, [](const UInt8* p) { return p[2] > 150 && p[0] < 100 && p[1] < 100; });
  ASSERT_GE(text.right, 0) << "the box's blue text is printed";
  EXPECT_LT(DarkBounds(rgb, pw, textTop, ph).right, 0) << "nothing else below the picture";
  EXPECT_GE(text.left, printed(box.left, range.left, left) - 1);
  EXPECT_GE(text.top, printed(box.top, range.top, top) - 1);
  EXPECT_LE(text.right, printed(box.right, range.left, left) + 1);
  EXPECT_LE(text.bottom, printed(box.bottom, range.top, top) + 1);
}

// A job that fails ends the printing with the general failure; the page area is back in the
// dialog as it was, the saved printer held once, and the next print works.
TEST_F(LayoutDialogTest, AFailedPrintJobIsReportedAndTheDialogStaysAsItWas) {
  ASSERT_NE(nullptr, Open());
  struct Reset {
    ~Reset() { pmFailJobsAfter(0, noErr); }
  } reset;
  std::string alert;
  LView* home = nullptr;
  SInt32 attachments = -1, attachmentsAfter = -2;
  SDimension16 size{}, sizeAfter{};
  size_t printedAtFailure = 0, printedAfter = 0;
  bool page2Shown = false, checksKept = true;
  int holds = 0;
  Run({
      [&](CPrintLayoutDialog* l) {
        for (SInt32 n = 4; CThumbnailPane* t = l->Strip()->GetThumbnail(n); ++n) FindPaneAs<LControl>(t, 'TmCb')->SetValue(0);
        ClickPane(l->Strip()->GetThumbnail(2));
      },
      [&](CPrintLayoutDialog* l) {
        home = l->Area()->GetSuperView();
        attachments = l->Area()->GetAttachmentsList()->GetCount();
        l->Area()->GetFrameSize(size);
        pmFailJobsAfter(1, kPMGeneralError);
        QueueDialogAction([&](LWindow* box) {
          alert = PaneText(box, 'TXMS');
          ClickPane(box, 900);
        });
        ClickPane(l, 'BTPR');
      },
      [&](CPrintLayoutDialog* l) {
        printedAtFailure = Prints().size();
        page2Shown = l->Strip()->GetThumbnail(2)->IsCurrent() == 1;
        for (SInt32 n = 1; CThumbnailPane* t = l->Strip()->GetThumbnail(n); ++n) checksKept &= t->IsChecked() == (n <= 3);
        attachmentsAfter = l->Area()->GetSuperView() == home ? l->Area()->GetAttachmentsList()->GetCount() : -1;
        l->Area()->GetFrameSize(sizeAfter);
        holds = PMTestRetainCount(l->SavedPrinter());
        pmFailJobsAfter(0, noErr);
        for (SInt32 n = 2; n <= 3; ++n) FindPaneAs<LControl>(l->Strip()->GetThumbnail(n), 'TmCb')->SetValue(0);
        ClickPane(l, 'BTPR');
      },
      [&](CPrintLayoutDialog* l) {
        printedAfter = Prints().size();
        ClickPane(l, 'BTFN');
      },
  });
  Scan();
  EXPECT_FALSE(HasDialogActions());
  EXPECT_EQ(wxtest::ResourceText(400, 3), alert);
  EXPECT_EQ(1u, printedAtFailure) << "page 1 printed; page 2 failed, page 3 was not tried";
  EXPECT_TRUE(page2Shown);
  EXPECT_TRUE(checksKept);
  EXPECT_EQ(attachments, attachmentsAfter) << "the page area is back in the dialog with its attachment";
  EXPECT_EQ(size.width, sizeAfter.width);
  EXPECT_EQ(size.height, sizeAfter.height);
  EXPECT_EQ(1, holds) << "the saved printer is held once";
  EXPECT_EQ(2u, printedAfter) << "the next print works";
  EXPECT_EQ(0, PMTestLivePrinters()) << "no printer is left held";
}

// Page setup to landscape: the typed text of the page on show is kept, that page stays on
// show, and every page's picture is back at 100 % on the new paper (a double click, which
// sets 100 %, changes nothing).
TEST_F(LayoutDialogTest, PageSetupToLandscapeKeepsTheTextAndSetsEveryPageTo100Percent) {
  ASSERT_NE(nullptr, Open());
  const auto picture = [](CPrintLayoutDialog* l) -> LPane* { return l->Area()->GetPicture(); };
  const auto doubleClick = [](LPane* pane) {
    const Point at = GlobalAt(pane, (FrameOf(pane).left + FrameOf(pane).right) / 2, (FrameOf(pane).top + FrameOf(pane).bottom) / 2);
    wxdriver::Click(at);
    wxdriver::Click(at);
  };
  Rect portrait{}, landscape{}, page2{}, page2Hundred{}, page1{}, page1Hundred{};
  bool page2Shown = false;
  std::vector<std::string> texts;
  Run({
      [&](CPrintLayoutDialog* l) {
        portrait = PrintableArea(l);
        ClickPane(l->Strip()->GetThumbnail(2));
      },
      [&](CPrintLayoutDialog* l) { ClickPane(l, 'ADDT'); },
      [&](CPrintLayoutDialog*) { wxdriver::Type("Kept"); },
      [&](CPrintLayoutDialog* l) {
        // Shrunk first, so 100 % is a change.
        const Rect f = FrameOf(picture(l));
        DragBy(picture(l), Point{SInt16(f.bottom - 2), SInt16(f.right - 2)}, -20, -20);
      },
      [&](CPrintLayoutDialog* l) {
        QueueDialogAction([](LWindow* setup) { ClickPane(setup, 'LAND'); });
        AnswerNextDialog(msg_OK);
        ClickPane(l, 'MSET');
      },
      [&](CPrintLayoutDialog* l) {
        landscape = PrintableArea(l);
        page2Shown = l->Strip()->GetThumbnail(2)->IsCurrent() == 1;
        for (CEditableTextBox* box : l->Area()->GetTextBoxes()) texts.push_back(BoxText(box));
        page2 = FrameOf(picture(l));
        doubleClick(picture(l));
      },
      [&](CPrintLayoutDialog* l) {
        page2Hundred = FrameOf(picture(l));
        ClickPane(l->Strip()->GetThumbnail(1));
      },
      [&](CPrintLayoutDialog* l) {
        page1 = FrameOf(picture(l));
        doubleClick(picture(l));
      },
      [&](CPrintLayoutDialog* l) {
        page1Hundred = FrameOf(picture(l));
        ClickPane(l, 'BTFN');
      },
  });
  Scan();
  EXPECT_FALSE(HasDialogActions());
  EXPECT_LT(portrait.right - portrait.left, portrait.bottom - portrait.top);
  EXPECT_GT(landscape.right - landscape.left, landscape.bottom - landscape.top) << "the paper turned";
  EXPECT_TRUE(page2Shown) << "the page on show stays";
  EXPECT_EQ(std::vector<std::string>{"Kept"}, texts) << "typed text survives page setup";
  EXPECT_EQ(page2Hundred.right - page2Hundred.left, page2.right - page2.left);
  EXPECT_EQ(page2Hundred.bottom - page2Hundred.top, page2.bottom - page2.top);
  EXPECT_EQ(page1Hundred.right - page1Hundred.left, page1.right - page1.left);
  EXPECT_EQ(page1Hundred.bottom - page1Hundred.top, page1.bottom - page1.top);
}

// The print-job dialog's copies and collate land in the Print settings, which preset the
// dialog the next time and are stored when the layout finishes.
TEST_F(LayoutDialogTest, ThePrintJobValuesAreKeptAndPresetTheNextJob) {
  ASSERT_NE(nullptr, Open());
  SInt32 copiesShown = 0, collateShown = -1;
  Run({
      [&](CPrintLayoutDialog* l) {
        QueueDialogAction([](LWindow* job) {
          TypeIntoPane(job, 'COPY', "3");
          ClickPane(job, 'COLL');
        });
        AnswerNextDialog(msg_OK);
        ClickPane(l, 'PSET');
      },
      [&](CPrintLayoutDialog* l) {
        QueueDialogAction([&](LWindow* job) {
          copiesShown = PaneValue(job, 'COPY');
          collateShown = PaneValue(job, 'COLL');
        });
        AnswerNextDialog(msg_Cancel);
        ClickPane(l, 'PSET');
      },
      [&](CPrintLayoutDialog* l) { ClickPane(l, 'BTFN'); },
  });
  Scan();
  EXPECT_FALSE(HasDialogActions());
  EXPECT_EQ(3, copiesShown);
  EXPECT_EQ(0, collateShown);
  WithPrefs([](RecordBytes all) {
    RecordBytes print = PREF_ALL::kPrint.in(all);
    EXPECT_EQ(3u, PREF_PRINT::kCopies.get(print));
    EXPECT_EQ(0, PREF_PRINT::kJobFlag.get(print));
    EXPECT_EQ(1u, PREF_PRINT::kJob312.get(print));
  });
}

// Beside CUPS's printers, the folder printer is a file destination: choosing it in the
// print-job dialog prints at once; a cancelled job prints nothing.
TEST_F(LayoutDialogTest, AJobSentToAFileFromThePrintJobDialogPrintsAtOnce) {
  printtest::PrivateCupsd cupsd(mRoot / "cupsd");
  if (!cupsd.Started()) GTEST_SKIP() << cupsd.Why();
  ASSERT_TRUE(cupsd.AddFileQueue("raw-file", mRoot / "queue-output.pdf"));
  mPrinter.reset();
  mPrinter = std::make_unique<wxtest::PrinterEnvironment>(mPrints.string(), cupsd.Socket());
  ASSERT_NE(nullptr, Open());
  size_t printedAfterCancel = 99, printedAfterOK = 0;
  const auto chooseTheFolderPrinter = [](LWindow* job) {
    auto* printers = FindPaneAs<LPopupButton>(job, 'PRTR');
    printers->SetValue(printers->GetMaxValue());
  };
  Run({
      [&](CPrintLayoutDialog* l) {
        for (SInt32 n = 2; CThumbnailPane* t = l->Strip()->GetThumbnail(n); ++n) FindPaneAs<LControl>(t, 'TmCb')->SetValue(0);
        QueueDialogAction(chooseTheFolderPrinter);
        AnswerNextDialog(msg_Cancel);
        ClickPane(l, 'PSET');
      },
      [&](CPrintLayoutDialog* l) {
        printedAfterCancel = Prints().size();
        QueueDialogAction(chooseTheFolderPrinter);
        AnswerNextDialog(msg_OK);
        ClickPane(l, 'PSET');
      },
      [&](CPrintLayoutDialog* l) {
        printedAfterOK = Prints().size();
        ClickPane(l, 'BTFN');
      },
  });
  Scan();
  EXPECT_FALSE(HasDialogActions());
  EXPECT_EQ(0u, printedAfterCancel);
  ASSERT_EQ(1u, printedAfterOK) << "the checked page, printed without pressing Print";
  WX_REQUIRE_TOOL("qpdf");
  EXPECT_EQ(0, wxtest::Run("qpdf --check '" + Prints()[0].string() + "' >/dev/null 2>&1"));
}

// The layout step with a disk that is full while it writes the pages: every page fails.
MessageT gFullDiskAnswer = 0;
MessageT LayoutOnAFullDisk(ResIDT layout, LCommander* super, UInt8 fit, UInt8 isTWAIN, CThreadChecker* watcher,
                           LPrintSpec* spec, RecordBytes print) {
  FSTestSetWriteLimit(0);
  gFullDiskAnswer = CPrintLayoutDialog::PrintLayoutSetting(layout, super, fit, isTWAIN, watcher, spec, print);
  FSTestSetWriteLimit(-1);
  return gFullDiskAnswer;
}

TEST_F(LayoutDialogTest, AScanWhosePagesAllFailToBeWrittenGoesBackWithoutTheLayout) {
  SetPrintLayoutProc(&LayoutOnAFullDisk);
  gFullDiskAnswer = 0;
  bool layoutOpened = false;
  // Whatever the export says is answered; a layout dialog would be finished at once.
  for (int i = 0; i < 12; ++i)
    QueueDialogAction([&](LWindow* window) {
      if (dynamic_cast<CPrintLayoutDialog*>(window)) {
        layoutOpened = true;
        ClickPane(window, 'BTFN');
      } else if (LPane* ok = window->FindPaneByID(900)) {
        ClickPane(ok);
      }
    });
  ASSERT_NE(nullptr, Open());
  Scan();
  ClearDialogActions();
  EXPECT_EQ(MessageT(CPrintLayoutDialog::msg_Back), gFullDiskAnswer);
  EXPECT_FALSE(layoutOpened);
  EXPECT_NE(nullptr, Dialog()) << "back in the Print dialog";
  EXPECT_EQ(0u, TempCopies());
}

}  // namespace
}  // namespace wxapp
