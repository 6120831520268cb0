// A scriptable data source for tests. Its script is a small file of `key=value` lines named
// by WX_FAKE_TWAIN, read again each time a source opens:
//   name=<product name>   (repeat for several sources; default "Fake Scanner")
//   width, height, depth (1, 8, 24, 16, 48), pad (extra bytes per row), res (dpi)
//   pages, blockrows (rows per block), buffer (preferred buffer size; at least min_buffer),
//   min_buffer (smallest buffer it takes; 0, the default: one row)
//   cancel_page=n         page n's transfer answers cancel
//   close_request=1       at the first real event the source asks to be closed
//   refuse_set=n          the n-th capability set of the session is refused
//   error_block=n         the n-th block of a page fails
//   stall=1               blocks succeed with no bytes
//   extra_rows=k          each block claims k more rows than it holds
//   imageinfo_fail=1      the image information request fails
//   physw, physh          physical size in pixels (-1: the query fails)
//   model=<text>          string capability 0x8423; model_type=n answers it with item type n
//   image=<path>          (repeat, one per page in order) the page is this PNM (P4, P5 or P6,
//                         maxval 255) at its own size, at the script's depth: 1 bit with 1
//                         black, 8 bits with 0 white, 24 bits R, G, B
//   frame_page=1          each page is the size of the last frame set (ICAP_FRAMES)
//   log=<path>            every message received is appended as "DG DAT MSG [details] rc=n";
//                         a capability set shows its container and current item (or frame)
// Pixel bytes follow a pattern tests can recompute (FakePixel); padding bytes are 0xA5.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "FakePixel.h"
#include "twain/TwainSource.h"

namespace {

struct FakeScript {
  std::vector<std::string> names;
  int width = 64, height = 16, depth = 8, pad = 0, res = 75;
  int pages = 1, blockRows = 5, buffer = 4096, minBuffer = 0;
  int cancelPage = 0, closeRequest = 0, refuseSet = 0, errorBlock = 0, stall = 0, extraRows = 0;
  int imageInfoFail = 0, physW = 2550, physH = 3508, modelType = TWTY_STR255, framePage = 0;
  std::string model = "FAKE-MODEL", log;
  std::vector<std::string> images;
};

struct FakeSession {
  FakeScript script;
  bool open = false, enabled = false;
  int setCount = 0;
  int pagesLeft = 0, page = 0, rowsSent = 0, block = 0;
  TW_UINT16 condition = TWCC_SUCCESS;
  std::vector<unsigned char> pageRows;  // the current page's data bytes, from its image
  std::map<TW_UINT16, TW_UINT32> values;  // one-value (or current) of every capability set
  int frameWidth = 0, frameHeight = 0;    // of the last frame set
};

const TwainHost* gHost = nullptr;
FakeSession gSession;

FakeScript fakeReadScript() {
  FakeScript s;
  const char* path = std::getenv("WX_FAKE_TWAIN");
  if (!path) {
    s.names.push_back("Fake Scanner");
    return s;
  }
  std::ifstream in(path);
  std::string line;
  std::map<std::string, int*> ints = {
      {"width", &s.width}, {"height", &s.height}, {"depth", &s.depth}, {"pad", &s.pad}, {"res", &s.res},
      {"pages", &s.pages}, {"blockrows", &s.blockRows}, {"buffer", &s.buffer}, {"min_buffer", &s.minBuffer}, {"cancel_page", &s.cancelPage},
      {"close_request", &s.closeRequest}, {"refuse_set", &s.refuseSet}, {"error_block", &s.errorBlock},
      {"stall", &s.stall}, {"extra_rows", &s.extraRows}, {"imageinfo_fail", &s.imageInfoFail},
      {"physw", &s.physW}, {"physh", &s.physH}, {"model_type", &s.modelType},
      {"frame_page", &s.framePage}};
  while (std::getline(in, line)) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "name") s.names.push_back(value);
    else if (key == "model") s.model = value;
    else if (key == "log") s.log = value;
    else if (key == "image") s.images.push_back(value);
    else if (ints.count(key)) *ints[key] = std::atoi(value.c_str());
  }
  if (s.names.empty()) s.names.push_back("Fake Scanner");
  return s;
}

TW_UINT32 fakeCurrentOf(const TW_CAPABILITY& cap);

void fakeLogSetValue(FILE* f, const TW_CAPABILITY& cap) {
  std::fprintf(f, " con=%u", cap.ConType);
  if (!cap.hContainer || !*cap.hContainer) return;
  const char* p = *cap.hContainer;
  if (cap.ConType == TWON_ENUMERATION) {
    auto* e = reinterpret_cast<const TW_ENUMERATION*>(p);
    std::fprintf(f, " type=%u n=%u index=%u default=%u", e->ItemType, e->NumItems, e->CurrentIndex, e->DefaultIndex);
    if (e->ItemType == TWTY_FRAME && e->NumItems > 0) {
      TW_FRAME fr;
      std::memcpy(&fr, e->ItemList, sizeof fr);
      std::fprintf(f, " frame=%d,%d,%d,%d", fr.Left.Whole, fr.Top.Whole, fr.Right.Whole, fr.Bottom.Whole);
    }
    return;
  }
  TW_UINT16 type = *reinterpret_cast<const TW_UINT16*>(p);
  TW_UINT32 item = fakeCurrentOf(cap);
  if (type == TWTY_FIX32) std::fprintf(f, " type=7 value=%d.%u", TWItemToFix32(item).Whole, TWItemToFix32(item).Frac);
  else std::fprintf(f, " type=%u value=%u", type, item);
}

void fakeLog(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF data, TW_UINT16 rc) {
  if (gSession.script.log.empty()) return;
  FILE* f = std::fopen(gSession.script.log.c_str(), "a");
  if (!f) return;
  std::fprintf(f, "%04X %04X %04X", unsigned(DG), DAT, MSG);
  if (DG == DG_CONTROL && DAT == DAT_CAPABILITY && data) {
    auto* cap = reinterpret_cast<TW_CAPABILITY*>(data);
    std::fprintf(f, " cap=%04X", cap->Cap);
    if (MSG == MSG_SET) fakeLogSetValue(f, *cap);
  }
  if (DG == DG_CONTROL && DAT == DAT_EVENT && data) {
    auto* e = reinterpret_cast<TW_EVENT*>(data);
    std::fprintf(f, " event=%s", e->pEvent ? "yes" : "null");
  }
  std::fprintf(f, " rc=%u\n", rc);
  std::fclose(f);
}

void fakeSetPstr(unsigned char* field, size_t capacity, const std::string& s) {
  size_t n = std::min(s.size(), capacity - 1);
  field[0] = static_cast<unsigned char>(n);
  std::memcpy(field + 1, s.data(), n);
}

int fakeDataBytes() { return (gSession.script.width * gSession.script.depth + 7) / 8; }
int fakeRowBytes() { return fakeDataBytes() + gSession.script.pad; }

TW_UINT16 fakeFail(TW_UINT16 condition) {
  gSession.condition = condition;
  return TWRC_FAILURE;
}

// The current value of a set capability; containers other than one-value keep their current item.
TW_UINT32 fakeCurrentOf(const TW_CAPABILITY& cap) {
  if (!cap.hContainer || !*cap.hContainer) return 0;
  const char* p = *cap.hContainer;
  if (cap.ConType == TWON_ONEVALUE) return reinterpret_cast<const TW_ONEVALUE*>(p)->Item;
  if (cap.ConType == TWON_RANGE) return reinterpret_cast<const TW_RANGE*>(p)->CurrentValue;
  if (cap.ConType == TWON_ENUMERATION) return reinterpret_cast<const TW_ENUMERATION*>(p)->CurrentIndex;
  return 0;
}

TW_UINT16 fakeCapability(TW_UINT16 MSG, TW_CAPABILITY* cap) {
  if (MSG == MSG_SET) {
    ++gSession.setCount;
    if (gSession.setCount == gSession.script.refuseSet) return fakeFail(TWCC_BADVALUE);
    gSession.values[cap->Cap] = fakeCurrentOf(*cap);
    if (cap->Cap == ICAP_FRAMES && cap->ConType == TWON_ENUMERATION && cap->hContainer && *cap->hContainer) {
      auto* e = reinterpret_cast<const TW_ENUMERATION*>(*cap->hContainer);
      if (e->ItemType == TWTY_FRAME && e->NumItems > 0) {
        TW_FRAME fr;
        std::memcpy(&fr, e->ItemList, sizeof fr);
        gSession.frameWidth = fr.Right.Whole - fr.Left.Whole;
        gSession.frameHeight = fr.Bottom.Whole - fr.Top.Whole;
      }
    }
    return TWRC_SUCCESS;
  }
  if (MSG != MSG_GET && MSG != MSG_GETCURRENT) return fakeFail(TWCC_CAPUNSUPPORTED);
  if (cap->Cap == 0x8423) {
    cap->ConType = TWON_ONEVALUE;
    cap->hContainer = gHost->newHandle(offsetof(TW_ONEVALUE, Item) + sizeof(TW_STR255));
    auto* one = reinterpret_cast<TW_ONEVALUE*>(*cap->hContainer);
    one->ItemType = static_cast<TW_UINT16>(gSession.script.modelType);
    fakeSetPstr(reinterpret_cast<unsigned char*>(&one->Item), sizeof(TW_STR255), gSession.script.model);
    return TWRC_SUCCESS;
  }
  TW_UINT32 item = 0;
  TW_UINT16 type = TWTY_UINT16;
  if (cap->Cap == ICAP_PHYSICALWIDTH || cap->Cap == ICAP_PHYSICALHEIGHT) {
    type = TWTY_FIX32;
    int v = cap->Cap == ICAP_PHYSICALWIDTH ? gSession.script.physW : gSession.script.physH;
    if (v < 0) return fakeFail(TWCC_CAPUNSUPPORTED);
    item = TWFix32ToItem(TW_FIX32{static_cast<TW_INT16>(v), 0});
  } else if (gSession.values.count(cap->Cap)) {
    item = gSession.values[cap->Cap];
  } else if (cap->Cap != ICAP_LIGHTPATH && cap->Cap != 0x8414) {
    return fakeFail(TWCC_CAPUNSUPPORTED);
  }
  cap->ConType = TWON_ONEVALUE;
  cap->hContainer = gHost->newHandle(sizeof(TW_ONEVALUE));
  auto* one = reinterpret_cast<TW_ONEVALUE*>(*cap->hContainer);
  one->ItemType = type;
  one->Item = item;
  return TWRC_SUCCESS;
}

TW_UINT16 fakeBlock(TW_IMAGEMEMXFER* xfer) {
  const FakeScript& s = gSession.script;
  ++gSession.block;
  if (gSession.page == s.cancelPage) return TWRC_CANCEL;
  if (gSession.block == s.errorBlock) return fakeFail(TWCC_OPERATIONERROR);
  xfer->Compression = TWCP_NONE;
  xfer->BytesPerRow = fakeRowBytes();
  xfer->Columns = s.width;
  xfer->XOffset = 0;
  xfer->YOffset = gSession.rowsSent;
  if (s.stall) {
    xfer->Rows = 0;
    xfer->BytesWritten = 0;
    return TWRC_SUCCESS;
  }
  int rows = std::min<int>(s.blockRows, s.height - gSession.rowsSent);
  int fit = static_cast<int>(xfer->Memory.Length / fakeRowBytes());
  rows = std::min(rows, fit);
  if (rows <= 0) return fakeFail(TWCC_LOWMEMORY);
  auto* out = reinterpret_cast<unsigned char*>(xfer->Memory.TheMem);
  for (int r = 0; r < rows; ++r) {
    unsigned char* row = out + size_t(r) * fakeRowBytes();
    int y = gSession.rowsSent + r;
    for (int x = 0; x < fakeDataBytes(); ++x)
      row[x] = gSession.pageRows.empty() ? FakePixel(gSession.page, y, x)
                                         : gSession.pageRows[size_t(y) * size_t(fakeDataBytes()) + size_t(x)];
    std::memset(row + fakeDataBytes(), 0xA5, s.pad);
  }
  gSession.rowsSent += rows;
  xfer->Rows = rows + s.extraRows;
  xfer->BytesWritten = rows * fakeRowBytes();
  return gSession.rowsSent >= s.height ? TWRC_XFERDONE : TWRC_SUCCESS;
}

TW_UINT16 fakeImageInfo(TW_IMAGEINFO* info) {
  const FakeScript& s = gSession.script;
  if (s.imageInfoFail) return fakeFail(TWCC_OPERATIONERROR);
  std::memset(info, 0, sizeof *info);
  info->XResolution = TW_FIX32{static_cast<TW_INT16>(s.res), 0};
  info->YResolution = info->XResolution;
  info->ImageWidth = s.width;
  info->ImageLength = s.height;
  info->BitsPerPixel = static_cast<TW_INT16>(s.depth);
  info->SamplesPerPixel = s.depth == 24 || s.depth == 48 ? 3 : 1;
  info->PixelType = s.depth == 1 ? TWPT_BW : info->SamplesPerPixel == 3 ? TWPT_RGB : TWPT_GRAY;
  return TWRC_SUCCESS;
}

// Grey (0 black) or colour samples of a PNM, one byte each; false when it is no P4, P5 or P6.
bool fakeReadPNM(const std::string& path, int* width, int* height, int* channels, std::vector<unsigned char>* samples) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxval = 255;
  in >> magic >> *width >> *height;
  if (magic != "P4") in >> maxval;
  in.get();
  if (!in || maxval != 255 || *width <= 0 || *height <= 0 || (magic != "P4" && magic != "P5" && magic != "P6"))
    return false;
  *channels = magic == "P6" ? 3 : 1;
  const size_t rowBytes = magic == "P4" ? size_t(*width + 7) / 8 : size_t(*width) * size_t(*channels);
  std::vector<unsigned char> data(rowBytes * size_t(*height));
  in.read(reinterpret_cast<char*>(data.data()), std::streamsize(data.size()));
  if (!in) return false;
  if (magic != "P4") {
    *samples = std::move(data);
    return true;
  }
  samples->clear();
  for (int y = 0; y < *height; ++y)
    for (int x = 0; x < *width; ++x) samples->push_back((data[size_t(y) * rowBytes + size_t(x / 8)] >> (7 - x % 8)) & 1 ? 0 : 255);
  return true;
}

// The page's data rows at the script's depth, and its size, from its image.
void fakeLoadImage(const std::string& path) {
  FakeScript& s = gSession.script;
  int width = 0, height = 0, channels = 1;
  std::vector<unsigned char> samples;
  if (!fakeReadPNM(path, &width, &height, &channels, &samples)) return;
  s.width = width;
  s.height = height;
  const int rowBytes = fakeDataBytes();
  gSession.pageRows.assign(size_t(rowBytes) * size_t(height), 0);
  for (int y = 0; y < height; ++y) {
    unsigned char* row = gSession.pageRows.data() + size_t(y) * size_t(rowBytes);
    for (int x = 0; x < width; ++x) {
      const unsigned char* p = samples.data() + (size_t(y) * size_t(width) + size_t(x)) * size_t(channels);
      if (s.depth == 1) {
        if (p[0] < 128) row[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
      } else if (s.depth == 8) {
        row[x] = static_cast<unsigned char>(255 - p[0]);
      } else if (s.depth == 24) {
        for (int c = 0; c < 3; ++c) row[3 * x + c] = p[channels == 3 ? c : 0];
      }
    }
  }
}

void fakeNextPage() {
  ++gSession.page;
  gSession.rowsSent = 0;
  gSession.block = 0;
  gSession.pageRows.clear();
  if (gSession.script.framePage && gSession.frameWidth > 0 && gSession.frameHeight > 0) {
    gSession.script.width = gSession.frameWidth;
    gSession.script.height = gSession.frameHeight;
  }
  if (size_t(gSession.page) <= gSession.script.images.size()) fakeLoadImage(gSession.script.images[size_t(gSession.page - 1)]);
}

TW_UINT16 fakeHandle(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF data) {
  FakeSession& f = gSession;
  if (DG == DG_CONTROL && DAT == DAT_IDENTITY) {
    if (MSG == MSG_OPENDS) {
      f = FakeSession{};
      f.script = fakeReadScript();
      f.open = true;
      return TWRC_SUCCESS;
    }
    if (MSG == MSG_CLOSEDS) {
      f.open = false;
      return TWRC_SUCCESS;
    }
  }
  if (DG == DG_CONTROL && DAT == DAT_STATUS) {
    reinterpret_cast<TW_STATUS*>(data)->ConditionCode = f.condition;
    f.condition = TWCC_SUCCESS;
    return TWRC_SUCCESS;
  }
  if (DG == DG_CONTROL && DAT == DAT_CAPABILITY) return fakeCapability(MSG, reinterpret_cast<TW_CAPABILITY*>(data));
  if (DG == DG_CONTROL && DAT == DAT_USERINTERFACE) {
    f.enabled = MSG == MSG_ENABLEDS;
    if (f.enabled) {
      f.pagesLeft = f.script.pages;
      f.page = 0;
      fakeNextPage();
    }
    return TWRC_SUCCESS;
  }
  if (DG == DG_CONTROL && DAT == DAT_EVENT) {
    auto* event = reinterpret_cast<TW_EVENT*>(data);
    if (f.script.closeRequest && event->pEvent) event->TWMessage = MSG_CLOSEDSREQ;
    else if (f.script.closeRequest) return TWRC_NOTDSEVENT;
    else if (f.pagesLeft > 0 && f.rowsSent == 0 && f.block == 0) event->TWMessage = MSG_XFERREADY;
    else return TWRC_NOTDSEVENT;
    return TWRC_DSEVENT;
  }
  if (DG == DG_CONTROL && DAT == DAT_SETUPMEMXFER) {
    auto* setup = reinterpret_cast<TW_SETUPMEMXFER*>(data);
    // Like most real sources, it never asks for a buffer that cannot hold one row, unless told.
    setup->MinBufSize = static_cast<TW_UINT32>(f.script.minBuffer > 0 ? f.script.minBuffer : fakeRowBytes());
    setup->MaxBufSize = std::max<TW_UINT32>(1 << 20, setup->MinBufSize);
    setup->Preferred = std::max<TW_UINT32>(static_cast<TW_UINT32>(f.script.buffer), setup->MinBufSize);
    return TWRC_SUCCESS;
  }
  if (DG == DG_CONTROL && DAT == DAT_PENDINGXFERS) {
    auto* pending = reinterpret_cast<TW_PENDINGXFERS*>(data);
    if (MSG == MSG_ENDXFER && f.pagesLeft > 0) {
      --f.pagesLeft;
      fakeNextPage();
    } else if (MSG == MSG_RESET) {
      f.pagesLeft = 0;
    }
    pending->Count = static_cast<TW_UINT16>(f.pagesLeft);
    return TWRC_SUCCESS;
  }
  if (DG == DG_IMAGE && DAT == DAT_IMAGEINFO) return fakeImageInfo(reinterpret_cast<TW_IMAGEINFO*>(data));
  if (DG == DG_IMAGE && DAT == DAT_IMAGEMEMXFER) return fakeBlock(reinterpret_cast<TW_IMAGEMEMXFER*>(data));
  return fakeFail(TWCC_BADPROTOCOL);
}

}  // namespace

extern "C" int TwainSourceList(const TwainHost* host, TW_IDENTITY* ids, int max) {
  gHost = host;
  FakeScript script = fakeReadScript();
  int count = 0;
  for (const std::string& name : script.names) {
    if (count == max) break;
    TW_IDENTITY& id = ids[count++];
    id.Version.MajorNum = 1;
    id.ProtocolMajor = 1;
    id.SupportedGroups = DG_SUPPORTED;
    fakeSetPstr(id.Manufacturer, sizeof id.Manufacturer, "Tests");
    fakeSetPstr(id.ProductFamily, sizeof id.ProductFamily, "Fake");
    fakeSetPstr(id.ProductName, sizeof id.ProductName, name);
  }
  return count;
}

extern "C" TW_UINT16 TwainSourceEntry(int, pTW_IDENTITY, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF data) {
  TW_UINT16 rc = fakeHandle(DG, DAT, MSG, data);
  fakeLog(DG, DAT, MSG, data, rc);
  return rc;
}
