// A driver plug-in for tests: produces pages band by band. Its script is a file of
// `key=value` lines named by WX_TEST_PLUGIN, read at the prepare call:
//   width, height, mode (0 bitmap, 1 grey, 3 RGB), bandrows, pages
//   empty_band=n     the n-th band of a page holds no rows (and so do all after it)
//   short_band=n     the n-th band claims rows past the end of the page
//   error=s          the first call of selector s fails
//   log=<path>       every selector called is appended, one per line
// Pixel bytes follow PlugInPixel (PlugInPixel.h).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "PlugInPixel.h"
#include "cfm/PlugInEntry.h"
#include "toolbox/RecordAccess.h"
#include "scanner/OstrelScannerRecord.h"

extern "C" {
const PlugInHostServices* PlugInHost = nullptr;
}

namespace {

struct Script {
  int width = 24, height = 10, mode = 1, bandRows = 4, pages = 1;
  int emptyBand = 0, shortBand = 0, error = 0;
  std::string log;
};

Script gScript;
int gPage = 0, gRow = 0, gBand = 0;
bool gErrorUsed = false;
std::vector<unsigned char> gBuffer;
uint32_t gBufferToken = 0;

Script ReadScript() {
  Script s;
  const char* path = std::getenv("WX_TEST_PLUGIN");
  if (!path) return s;
  std::ifstream in(path);
  std::map<std::string, int*> ints = {{"width", &s.width}, {"height", &s.height}, {"mode", &s.mode},
                                      {"bandrows", &s.bandRows}, {"pages", &s.pages}, {"empty_band", &s.emptyBand},
                                      {"short_band", &s.shortBand}, {"error", &s.error}};
  std::string line;
  while (std::getline(in, line)) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "log") s.log = value;
    else if (ints.count(key)) *ints[key] = std::atoi(value.c_str());
  }
  return s;
}

int RowLength() { return gScript.mode == 0 ? (gScript.width + 7) / 8 : gScript.mode == 3 ? 3 * gScript.width : gScript.width; }

void Log(short selector) {
  if (gScript.log.empty()) return;
  if (FILE* f = std::fopen(gScript.log.c_str(), "a")) {
    std::fprintf(f, "%d\n", selector);
    std::fclose(f);
  }
}

void StartPage(RecordBytes r) {
  ++gPage;
  gRow = 0;
  gBand = 0;
  r.setI16(OstrelField::kImageMode, static_cast<int16_t>(gScript.mode));
  r.setI16(OstrelField::kImageRows, static_cast<int16_t>(gScript.height));
  r.setI16(OstrelField::kImageColumns, static_cast<int16_t>(gScript.width));
  r.setI32(OstrelField::kRowBytes, RowLength());
  r.setU8(OstrelField::kAcquireAgain, gPage < gScript.pages ? 1 : 0);
}

void DeliverBand(RecordBytes r) {
  ++gBand;
  int rows = std::min(gScript.bandRows, gScript.height - gRow);
  if (gScript.emptyBand && gBand >= gScript.emptyBand) rows = 0;
  gBuffer.assign(size_t(std::max(rows, 1)) * RowLength(), 0);
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < RowLength(); ++x) gBuffer[size_t(y) * RowLength() + x] = PlugInPixel(gPage, gRow + y, x);
  }
  if (gBufferToken) PlugInHost->tokenRelease(gBufferToken);
  gBufferToken = PlugInHost->tokenFor(gBuffer.data());
  r.setU32(OstrelField::kData, gBufferToken);
  int top = gRow, bottom = gRow + rows;
  if (gScript.shortBand && gBand == gScript.shortBand) bottom = gScript.height + 5;
  r.setI16(OstrelField::kRect, static_cast<int16_t>(top));
  r.setI16(OstrelField::kRect + 2, 0);
  r.setI16(OstrelField::kRect + 4, static_cast<int16_t>(bottom));
  r.setI16(OstrelField::kRect + 6, static_cast<int16_t>(gScript.width));
  gRow += rows;
}

}  // namespace

extern "C" void PluginMain(short selector, unsigned char* block, long*, short* result) {
  RecordBytes r(block, kOstrelScannerRecordSize);
  if (selector == 4) {
    gScript = ReadScript();
    gPage = 0;
    gErrorUsed = false;
  }
  Log(selector);
  *result = 0;
  if (selector == gScript.error && !gErrorUsed) {
    gErrorUsed = true;
    *result = -1;
    return;
  }
  // The host routines the block names must answer as the host promised.
  auto abort = reinterpret_cast<PlugInAbortProc>(PlugInHost->tokenTarget(r.u32(OstrelField::kAbortProc)));
  if (!abort || abort() != 0) *result = -2;
  if (selector == 1) StartPage(r);
  if (selector == 2) DeliverBand(r);
}
