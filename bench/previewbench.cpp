// The preview's thumbnails while they load: 20 A4 pages at 300 dpi in colour (2480 x 3508),
// written as preview TIFFs by the system's own writer, or the TIFFs named on the command line
// (bench/preview_vs_mogrify.sh gives it pages from Debian packages), shown as 70 x 70
// pictures in a headless window. With input always waiting, each pass of the event loop runs one load and
// then serves the input: the figures are the time to the first picture, the time to all,
// the longest wait of the input between two passes, and the peak resident memory.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "A4Page.h"
#include "display/Display.h"
#include "framework/LApplication.h"
#include "framework/LThread.h"
#include "framework/LWindow.h"
#include "output/export/PageRecords.h"
#include "preview/CPreviewPicPane.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "windows/Events.h"

namespace {

constexpr int kMadePages = 20;

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("previewbench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const int pages = argc > 1 ? argc - 1 : kMadePages;
  std::vector<FSSpec> files(static_cast<size_t>(pages));
  for (int i = 0; i < pages; ++i) {
    const std::string path = argc > 1 ? argv[i + 1] : (dir / ("page" + std::to_string(i) + ".tif")).string();
    if ((argc == 1 && !WriteA4Page(path, i)) || FSpMakeFromPOSIXPath(path, &files[size_t(i)]) != noErr) return 1;
  }
  DpyUseHeadless();
  auto* app = new LApplication;
  auto* window = new LWindow(Rect{40, 40, 360, 640}, reinterpret_cast<ConstStr255Param>("\x07" "Preview"), 4, 0, app);
  window->Show();
  std::vector<ScanDataPlus> records(static_cast<size_t>(pages));
  std::vector<std::unique_ptr<CPreviewPicPane>> panes;
  for (int i = 0; i < pages; ++i) {
    SPaneInfo info;
    info.width = info.height = 70;
    info.left = 15 + (i % 5) * 100;
    info.top = 10 + (i / 5) * 150;
    info.superView = window;
    auto pane = std::make_unique<CPreviewPicPane>(info, files[size_t(i)]);
    pane->SetPageRecord(&records[size_t(i)]);
    pane->FinishCreate();
    pane->SpendTime(EventRecord{});
    panes.push_back(std::move(pane));
  }
  auto loaded = [&] {
    int n = 0;
    for (auto& pane : panes) n += pane->GetImage() != nullptr;
    return n;
  };
  const auto start = std::chrono::steady_clock::now();
  double first = 0, longestWait = 0;
  int passes = 0;
  while (loaded() < pages && passes < 10 * pages) {
    PostEvent(keyDown, 'a');
    const auto pass = std::chrono::steady_clock::now();
    LThread::Yield();
    longestWait = std::max(longestWait, Seconds(pass));
    FlushEvents(everyEvent, 0);
    if (!first && loaded() > 0) first = Seconds(start);
    ++passes;
  }
  const double all = Seconds(start);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("preview thumbnails: %d pages, %d loaded in %d passes; first %.3f s, all %.3f s, "
              "longest wait of waiting input %.3f s, peak resident %ld MiB\n",
              pages, loaded(), passes, first, all, longestWait, usage.ru_maxrss / 1024);
  const bool ok = loaded() == pages;
  panes.clear();
  delete window;
  delete app;
  std::filesystem::remove_all(dir);
  return ok ? 0 : 1;
}
