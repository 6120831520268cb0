// The Print function's page layout at work: ten pages as the SANE test device's feeder gives
// them (its whole 200 x 200 mm area at 300 dpi in colour, 2362 x 2362, written as TIFFs by the
// system's own writer) in the layout dialog, headless, with the folder printer at 300 dpi.
// Figures: the time until every thumbnail has loaded (import and colour match), one full
// redraw of the dialog, one pass of the tracking loop while the picture is dragged (the page
// area is redrawn on every pass), the same with ten text boxes on the page, one printed page,
// and the peak resident memory per page (every thumbnail keeps its full-size image).
// Given 2362 x 2362 TIFFs on the command line (bench/layout_vs_mogrify.sh makes them from
// Debian packages' pictures), it lays out those instead.
// Run from the release build folder: bench/layoutbench (it uses a folder it makes in /tmp).
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "A4Page.h"
#include "app/CPopupButton.h"
#include "dialogs/print/layout/CEditableTextBox.h"
#include "dialogs/print/layout/CPicturePane.h"
#include "dialogs/print/layout/CPictureView.h"
#include "dialogs/print/layout/CPrintLayoutDialog.h"
#include "dialogs/print/layout/CThumbnailPane.h"
#include "dialogs/print/layout/CThumbnailView.h"
#include "display/Display.h"
#include "framework/FrameworkClasses.h"
#include "framework/FrameworkDriver.h"
#include "framework/LApplication.h"
#include "framework/LBorderAttachment.h"
#include "framework/LCaption.h"
#include "framework/LControl.h"
#include "framework/LException.h"
#include "framework/LPlaceHolder.h"
#include "framework/LPrintout.h"
#include "framework/LScroller.h"
#include "framework/UPrinting.h"
#include "framework/TRegistrar.h"
#include "printing/pmPrinters.h"
#include "toolbox/Files.h"
#include "toolbox/Resources.h"
#include "windows/TestDriver.h"

namespace fs = std::filesystem;

namespace {

constexpr int kMadePages = 10, kSide = 2362, kDpi = 300;
constexpr int kRedraws = 20, kDragSteps = 30;  // a pixel a pass

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

long PeakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

double ProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One redraw of the whole dialog, averaged.
double Redraw(LWindow* dialog) {
  const auto start = Clock::now();
  for (int i = 0; i < kRedraws; ++i) {
    dialog->Refresh();
    dialog->UpdatePort();
  }
  return Seconds(start) / kRedraws;
}

// One pass of the picture's tracking loop, averaged over a drag there and back, taken at a
// point of the picture that no text box covers.
double DragPass(LPane* picture, const std::vector<CEditableTextBox*>& boxes) {
  Rect frame;
  picture->CalcPortFrameRect(frame);
  Point from{};
  for (SInt16 v = SInt16(frame.bottom - 10); v > frame.top + 10 && from.v == 0; v -= 5)
    for (SInt16 h = SInt16(frame.right - 10); h > frame.left + 10 && from.v == 0; h -= 5) {
      bool covered = false;
      for (CEditableTextBox* box : boxes) {
        Rect r;
        box->CalcPortFrameRect(r);
        covered |= h >= r.left - 4 && h < r.right + 4 && v >= r.top - 4 && v < r.bottom + 4;
      }
      if (!covered) from = Point{v, h};
    }
  picture->PortToGlobalPoint(from);
  const Point to{SInt16(from.v + kDragSteps), SInt16(from.h + kDragSteps)};
  auto start = Clock::now();
  wxdriver::Drag(from, to, kDragSteps);
  wxframework::PumpEvents(4 * kDragSteps);
  double seconds = Seconds(start);
  Rect moved;
  picture->CalcPortFrameRect(moved);
  if (moved.left == frame.left && moved.top == frame.top) throw LException('drag', "the picture did not move");
  start = Clock::now();
  wxdriver::Drag(to, from, kDragSteps);
  wxframework::PumpEvents(4 * kDragSteps);
  seconds += Seconds(start);
  return seconds / (2 * kDragSteps);
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? argc - 1 : kMadePages;
  const fs::path dir = fs::temp_directory_path() / ("layoutbench-" + std::to_string(getpid()));
  fs::create_directories(dir / "prints");
  setenv("WENDRIX_ROOT", (dir / "root").c_str(), 1);
  setenv("WX_PRINT_FOLDER", (dir / "prints").c_str(), 1);
  setenv("CUPS_SERVER", (dir / "no-cups.sock").c_str(), 1);
  pmSetFolderPrinterResolution(kDpi);
  DpyUseHeadless();
  if (OpenApplicationResFile(FindApplicationResourceFile()) == -1) {
    std::fprintf(stderr, "layoutbench: the application's resources are not built\n");
    return 1;
  }
  TArray<ScanData> pages;
  for (int i = 0; i < count; ++i) {
    const std::string path = argc > 1 ? argv[i + 1] : (dir / ("page" + std::to_string(i) + ".tif")).string();
    ScanData page;
    page.width = page.height = kSide;
    page.resolution = kDpi << 16;
    if ((argc == 1 && !WritePage(path, kSide, kSide, i)) || FSpMakeFromPOSIXPath(path, &page.imageFile) != noErr) return 1;
    pages.AddItem(page);
  }
  RegisterFrameworkClasses();
  TRegistrar<LCaption>::Register();
  TRegistrar<LScroller>::Register();
  TRegistrar<CPopupButton>::Register();
  TRegistrar<LBorderAttachment>::Register();
  TRegistrar<LPlaceHolder>::Register();
  TRegistrar<LPrintout>::Register();
  TRegistrar<CPrintLayoutDialog>::Register();
  TRegistrar<CThumbnailView>::Register();
  TRegistrar<CPictureView>::Register();
  auto* app = new LApplication;
  auto* dialog = dynamic_cast<CPrintLayoutDialog*>(LWindow::CreateWindow(1100, app));
  if (!dialog) return 1;
  dialog->Show();
  dialog->Select();
  const long before = PeakKiB();
  std::printf("layout of %d pages %dx%d at %d dpi in colour, folder printer at %d dpi; peak before %ld MiB\n", count,
              kSide, kSide, kDpi, kDpi, before / 1024);

  int status = 0;
  try {
    const auto start = Clock::now();
    const double startCPU = ProcessorSeconds();
    dialog->SetPrintSizePane(&UPrinting::sAppPrintSpec);
    dialog->SetThumbnailView(pages, nullptr);
    auto loaded = [&] {
      int n = 0;
      for (SInt32 i = 1; CThumbnailPane* t = dialog->Strip()->GetThumbnail(i); ++i) n += t->HasTriedToLoad();
      return n;
    };
    while (loaded() < count) app->ProcessNextEvent(0);
    const double load = Seconds(start), loadCPU = ProcessorSeconds() - startCPU;
    dialog->SetPictureView();
    dialog->ResizePicture(0);
    const long after = PeakKiB();
    std::printf("thumbnails: all %d loaded in %.2f s (%.3f s a page), processor %.0f ms; peak %ld MiB, %.2f MiB a page\n",
                count, load, load / count, loadCPU * 1000, after / 1024, double(after - before) / 1024 / count);

    LPane* picture = dialog->Area()->GetPicture();
    if (!picture) throw LException('nilP', "no picture");
    std::printf("picture only:        redraw %.4f s, drag pass %.4f s\n", Redraw(dialog), DragPass(picture, dialog->Area()->GetTextBoxes()));
    for (size_t i = 0; i < CPictureView::kMaxTextBoxes; ++i) dialog->ListenToMessage('ADDT', nullptr);
    dialog->Area()->CancelEditField();
    std::printf("with %zu text boxes: redraw %.4f s, drag pass %.4f s\n", dialog->Area()->GetTextBoxes().size(),
                Redraw(dialog), DragPass(picture, dialog->Area()->GetTextBoxes()));

    for (SInt32 n = 2; CThumbnailPane* t = dialog->Strip()->GetThumbnail(n); ++n)
      dynamic_cast<LControl*>(t->FindPaneByID('TmCb'))->SetValue(0);
    const auto print = Clock::now();
    dialog->PrintImage(UPrinting::sAppPrintSpec);
    std::printf("one printed page (picture and ten boxes): %.2f s, peak %ld MiB\n", Seconds(print), PeakKiB() / 1024);
  } catch (const LException& e) {
    std::fprintf(stderr, "layoutbench: failed (%d)\n", int(e.GetErrorCode()));
    status = 1;
  }
  delete dialog;
  delete app;
  fs::remove_all(dir);
  return status;
}
