// Stitch assist's image work on two A4 halves at 300 dpi in colour (2480 x 3508), written
// as TIFFs by the system's own writer: both loaded, the right one turned, merged side by
// side with a tenth of a half's width overlapping, and the merged page saved as a raw scan
// file. Prints the wall and processor time of each step and of merge plus save, and the
// peak resident memory beside what the pixels alone take (3 x w x h a half, plus the
// merged page).
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "A4Page.h"
#include "preview/CStitchCheckImage.h"
#include "preview/CStitchCheckStitch.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace {

constexpr int kWidth = kA4Width, kHeight = kA4Height, kOverlap = kWidth / 10;

// Processor time of this process, in ms: steadier than wall time on a loaded machine.
double CpuMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Step {
  std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
  double cpu = CpuMilliseconds();
  double Wall() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall).count();
  }
  double Cpu() const { return CpuMilliseconds() - cpu; }
};

}  // namespace

int main() {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("stitchbench-" + std::to_string(getpid()));
  fs::create_directories(dir);
  FSSpec left{}, right{}, merged{};
  if (!WriteA4Page((dir / "left.tif").string(), 0) || !WriteA4Page((dir / "right.tif").string(), 1)) return 1;
  FSpMakeFromPOSIXPath((dir / "left.tif").string(), &left);
  FSpMakeFromPOSIXPath((dir / "right.tif").string(), &right);
  FSpMakeFromPOSIXPath((dir / "merged.raw").string(), &merged);

  int status = 0;
  {
    CStitchCheckImage leftImage, rightImage;
    Step load;
    if (leftImage.SetImage(&left) != noErr || rightImage.SetImage(&right) != noErr) return 1;
    const double loadWall = load.Wall(), loadCpu = load.Cpu();
    Step turn;
    rightImage.RotateImage(180);
    const double turnWall = turn.Wall(), turnCpu = turn.Cpu();

    Rect l{}, r{};
    leftImage.GetImageRect(&l);
    rightImage.GetImageRect(&r);
    CStitchCheckStitch stitch;
    stitch.CreateStitchScreen(&l, &r);
    const Point rp{kHeight, kWidth - kOverlap}, framePt{kHeight, 0};
    const Rect frame{0, 0, kHeight, 2 * kWidth - kOverlap};
    stitch.SetRightImagePt(&rp);
    stitch.SetMergeSaveFramePt(&framePt);
    stitch.SetMergeSaveFrameRect(&frame);
    Step merge;
    if (leftImage.CreateMergeImage(&stitch, &rightImage) != noErr) return 1;
    const double mergeWall = merge.Wall(), mergeCpu = merge.Cpu();
    Step save;
    status = leftImage.SaveMergeImage(&merged) == noErr ? 0 : 1;
    const double saveWall = save.Wall(), saveCpu = save.Cpu();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double half = 3.0 * kWidth * kHeight / 1048576, whole = 3.0 * frame.right * kHeight / 1048576;
    std::printf(
        "wall (processor) ms: load both %.0f (%.0f), turn %.0f (%.0f), merge %.0f (%.0f), save %.0f (%.0f), "
        "merge+save %.0f (%.0f)\n",
        loadWall, loadCpu, turnWall, turnCpu, mergeWall, mergeCpu, saveWall, saveCpu, mergeWall + saveWall,
        mergeCpu + saveCpu);
    std::printf("peak resident %.1f MiB; pixels: 2 x %.1f MiB halves + %.1f MiB merged = %.1f MiB\n",
                usage.ru_maxrss / 1024.0, half, whole, 2 * half + whole);
  }
  fs::remove_all(dir);
  return status;
}
