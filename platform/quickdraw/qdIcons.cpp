// Colour icons ('cicn') and icon references. A 'cicn' keeps its stored pixels decoded to
// 32 bits beside its mask; an IconRef is an ARGB image from the freedesktop icon theme
// (or a generic one) with a hold count.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "quickdraw/Icons.h"
#include "quickdraw/qdPNG.h"
#include "quickdraw/qdPort.h"
#include "toolbox/Files.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"
#include "toolbox/Resources.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kCIconHeader = 82;  // PixMap 50, mask BitMap 14, icon BitMap 14, data handle 4

// A mask as a region over `to`, the mask's cells scaled onto it.
qdRegion ScaledMask(const uint8_t* mask, int rowBytes, int w, int h, const Rect& to) {
  std::vector<qdBand> bands;
  int dw = to.right - to.left, dh = to.bottom - to.top;
  for (int y = 0; y < dh; ++y) {
    int sy = y * h / dh;
    qdBand b{to.top + y, to.top + y + 1, {}};
    bool in = false;
    for (int x = 0; x <= dw; ++x) {
      int sx = x * w / std::max(dw, 1);
      bool set = x < dw && ((mask[sy * rowBytes + (sx >> 3)] >> (7 - (sx & 7))) & 1);
      if (set != in) {
        b.xs.push_back(to.left + x);
        in = set;
      }
    }
    bands.push_back(std::move(b));
  }
  return qdRegion::FromBands(std::move(bands));
}

struct IconImage {
  int holds = 1;
  qdImage image;
};

// A plain document-like icon for anything without one of its own.
qdImage GenericIcon() {
  qdImage img;
  img.width = img.height = 32;
  img.argb.assign(32 * 32, 0);
  for (int y = 2; y < 30; ++y)
    for (int x = 6; x < 26; ++x) {
      bool edge = y == 2 || y == 29 || x == 6 || x == 25;
      img.argb[static_cast<size_t>(y) * 32 + x] = edge ? 0xFF404040 : 0xFFF0F0F0;
    }
  return img;
}

// A folder: a tab over a body, for a system without an icon theme.
qdImage GenericFolderIcon() {
  qdImage img;
  img.width = img.height = 32;
  img.argb.assign(32 * 32, 0);
  for (int y = 6; y < 28; ++y)
    for (int x = 2; x < 30; ++x) {
      if (y < 10 && x > 14) continue;
      bool edge = y == 6 || y == 27 || x == 2 || x == 29 || (y == 10 && x >= 14) || (y < 10 && x == 14);
      img.argb[static_cast<size_t>(y) * 32 + x] = edge ? 0xFF6A5A2A : 0xFFE8C870;
    }
  return img;
}

std::string DesktopIconName(const fs::path& entry) {
  std::ifstream in(entry);
  std::string line;
  bool inEntry = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] == '[') inEntry = line == "[Desktop Entry]";
    else if (inEntry && line.rfind("Icon=", 0) == 0) return line.substr(5);
  }
  return "";
}

// The desktop entry of an executable: one whose Exec names it.
fs::path EntryForExecutable(const fs::path& exe) {
  std::vector<fs::path> dirs;
  dirs.emplace_back(fs::path(FolderDataHome()) / "applications");
  dirs.emplace_back("/usr/share/applications");
  std::error_code ec;
  for (const fs::path& dir : dirs)
    for (const auto& e : fs::directory_iterator(dir, ec)) {
      if (e.path().extension() != ".desktop") continue;
      std::ifstream in(e.path());
      std::string line;
      while (std::getline(in, line))
        if (line.rfind("Exec=", 0) == 0) {
          std::string cmd = line.substr(5, line.find(' ', 5) == std::string::npos ? std::string::npos : line.find(' ', 5) - 5);
          if (cmd == exe.string() || cmd == exe.filename().string()) return e.path();
          break;
        }
    }
  return {};
}

// An icon name through the icon theme (hicolor), largest useful size first, then pixmaps.
bool LoadThemeIcon(const std::string& name, qdImage* out, const char* context = "apps") {
  if (name.empty()) return false;
  if (fs::path(name).is_absolute()) return qdReadPNG(name, out);
  std::vector<fs::path> roots;
  roots.emplace_back(fs::path(FolderDataHome()) / "icons");
  roots.emplace_back("/usr/share/icons");
  for (const char* theme : {"hicolor", "Adwaita"})
    for (const char* size : {"32x32", "48x48", "64x64", "128x128", "256x256", "24x24", "16x16"})
      for (const fs::path& root : roots)
        if (qdReadPNG((root / theme / size / context / (name + ".png")).string(), out)) return true;
  return qdReadPNG("/usr/share/pixmaps/" + name + ".png", out);
}

}  // namespace

struct OpaqueIconRef : IconImage {};

CIconHandle QDColorIconFromStoredBytes(const void* data, Size length) {
  if (!data || length < static_cast<Size>(kCIconHeader)) return nullptr;
  RecordBytes rec(const_cast<void*>(data), static_cast<size_t>(length));
  int pixRowBytes = rec.u16(4) & kRowBytesMask;
  Rect bounds{rec.i16(6), rec.i16(8), rec.i16(10), rec.i16(12)};
  int depth = rec.i16(32);
  int maskRowBytes = rec.u16(54);
  int iconRowBytes = rec.u16(68);
  int w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
  if (w <= 0 || h <= 0 || w > 256 || h > 256 || (depth != 1 && depth != 2 && depth != 4 && depth != 8)) return nullptr;
  if (maskRowBytes * 8 < w || pixRowBytes * 8 < w * depth || (iconRowBytes != 0 && iconRowBytes * 8 < w)) return nullptr;
  size_t at = kCIconHeader;
  size_t maskAt = at;
  at += static_cast<size_t>(maskRowBytes) * h;
  at += static_cast<size_t>(iconRowBytes) * h;
  if (at + 8 > static_cast<size_t>(length)) return nullptr;
  int ctSize = rec.i16(at + 6);
  if (ctSize < 0 || ctSize > 255) return nullptr;
  size_t tableAt = at + 8;
  at = tableAt + static_cast<size_t>(ctSize + 1) * 8;
  size_t pixAt = at;
  if (pixAt + static_cast<size_t>(pixRowBytes) * h > static_cast<size_t>(length)) return nullptr;

  uint32_t colors[256];
  std::fill(std::begin(colors), std::end(colors), 0x000000u);
  for (int i = 0; i <= ctSize; ++i) {
    size_t e = tableAt + static_cast<size_t>(i) * 8;
    int value = rec.i16(e);
    if (value < 0 || value > 255) continue;
    colors[value] = (uint32_t(rec.u16(e + 2) >> 8) << 16) | (uint32_t(rec.u16(e + 4) >> 8) << 8) | (rec.u16(e + 6) >> 8);
  }
  size_t maskBytes = static_cast<size_t>(maskRowBytes) * h;
  long rowBytes = w * 4L;
  Handle pixels = NewHandleClear(static_cast<Size>(maskBytes + static_cast<size_t>(rowBytes) * h));
  auto icon = reinterpret_cast<CIconHandle>(NewHandleClear(sizeof(CIcon)));
  if (!pixels || !icon) {
    if (pixels) DisposeHandle(pixels);
    if (icon) DisposeHandle(reinterpret_cast<Handle>(icon));
    return nullptr;
  }
  HLock(pixels);
  std::memcpy(*pixels, static_cast<const uint8_t*>(data) + maskAt, maskBytes);
  auto* out = reinterpret_cast<uint8_t*>(*pixels) + maskBytes;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int bit = x * depth;
      uint8_t byte = rec.u8(pixAt + static_cast<size_t>(y) * pixRowBytes + (bit >> 3));
      int v = (byte >> (8 - depth - (bit & 7))) & ((1 << depth) - 1);
      uint32_t c = colors[v];
      uint8_t* p = out + y * rowBytes + x * 4;
      p[0] = 0;
      p[1] = uint8_t(c >> 16);
      p[2] = uint8_t(c >> 8);
      p[3] = uint8_t(c);
    }
  CIcon& ci = **icon;
  ci.iconData = pixels;
  ci.iconMask = BitMap{*pixels, static_cast<SInt16>(maskRowBytes), Rect{0, 0, static_cast<SInt16>(h), static_cast<SInt16>(w)}};
  ci.iconBMap = BitMap{nullptr, 0, ci.iconMask.bounds};
  ci.iconPMap.baseAddr = reinterpret_cast<Ptr>(out);
  ci.iconPMap.rowBytes = static_cast<SInt16>(rowBytes | kPixMapFlag);
  ci.iconPMap.bounds = ci.iconMask.bounds;
  ci.iconPMap.pixelSize = 32;
  ci.iconPMap.pixelType = RGBDirect;
  ci.iconPMap.cmpCount = 3;
  ci.iconPMap.cmpSize = 8;
  ci.iconPMap.hRes = ci.iconPMap.vRes = IntToFixed(72);
  return icon;
}

CIconHandle GetCIcon(SInt16 id) {
  Handle res = GetResource('cicn', id);
  if (!res) return nullptr;
  SInt8 state = HGetState(res);
  HLock(res);
  CIconHandle icon = QDColorIconFromStoredBytes(*res, GetHandleSize(res));
  HSetState(res, state);
  ReleaseResource(res);
  return icon;
}

void PlotCIcon(const Rect* r, CIconHandle icon) {
  if (!r || !icon || !*icon) return;
  const CIcon& ci = **icon;
  int w = ci.iconMask.bounds.right, h = ci.iconMask.bounds.bottom;
  if (EmptyRect(r)) return;
  RgnHandle mask = NewRgn();
  qdStoreRegion(mask, ScaledMask(reinterpret_cast<const uint8_t*>(ci.iconMask.baseAddr), ci.iconMask.rowBytes, w, h, *r));
  GrafPtr port = qdCurrentPort();
  RGBColor fg = port->fg, bk = port->bk;
  port->fg = RGBColor{0, 0, 0};
  port->bk = RGBColor{0xFFFF, 0xFFFF, 0xFFFF};
  CopyBits(reinterpret_cast<const BitMap*>(&ci.iconPMap), GetPortBitMapForCopyBits(port), &ci.iconPMap.bounds, r, srcCopy, mask);
  port->fg = fg;
  port->bk = bk;
  DisposeRgn(mask);
}

void DisposeCIcon(CIconHandle icon) {
  if (!icon) return;
  if ((*icon)->iconData) DisposeHandle((*icon)->iconData);
  DisposeHandle(reinterpret_cast<Handle>(icon));
}

OSErr GetIconRefFromFile(const FSSpec* file, IconRef* icon, SInt16* label) {
  if (!file || !icon) return paramErr;
  *icon = nullptr;
  if (label) *label = kNoLabel;
  std::string path;
  OSErr err = FSpGetPOSIXPath(file, &path);
  if (err != noErr) return err;
  auto ref = new OpaqueIconRef;
  fs::path p(path);
  std::error_code ec;
  if (fs::is_directory(p, ec)) {
    if (!LoadThemeIcon("folder", &ref->image, "places")) ref->image = GenericFolderIcon();
    *icon = ref;
    return noErr;
  }
  fs::path entry = p.extension() == ".desktop" ? p : EntryForExecutable(p);
  if (entry.empty() || !LoadThemeIcon(DesktopIconName(entry), &ref->image)) ref->image = GenericIcon();
  *icon = ref;
  return noErr;
}

OSErr AcquireIconRef(IconRef icon) {
  if (!icon) return paramErr;
  ++icon->holds;
  return noErr;
}

OSErr ReleaseIconRef(IconRef icon) {
  if (!icon) return paramErr;
  if (--icon->holds == 0) delete icon;
  return noErr;
}

SInt32 IconRefHoldCount(IconRef icon) { return icon ? icon->holds : 0; }

// Scaled into r with its alpha over the port, through the port's clip.
OSErr PlotIconRef(const Rect* r, IconAlignmentType, IconTransformType transform, IconServicesUsageFlags, IconRef icon) {
  if (!r || !icon) return paramErr;
  GrafPtr port = qdCurrentPort();
  if (port->picture) return noErr;
  qdPixels p = qdPixelsOfPort(port);
  qdRegion clip = qdPortClip(port).IntersectedRect(p.bounds).IntersectedRect(*r);
  const qdImage& img = icon->image;
  int dw = r->right - r->left, dh = r->bottom - r->top;
  if (dw <= 0 || dh <= 0 || img.width <= 0) return noErr;
  for (const qdBand& b : clip.Bands())
    for (int32_t y = b.top; y < b.bottom; ++y)
      for (size_t k = 0; k + 1 < b.xs.size(); k += 2)
        for (int32_t x = b.xs[k]; x < b.xs[k + 1]; ++x) {
          uint32_t s = img.At((x - r->left) * img.width / dw, (y - r->top) * img.height / dh);
          uint32_t a = s >> 24;
          if ((transform & kTransformDisabled) != 0) a /= 2;
          if (a == 0) continue;
          if (transform & kTransformSelected) s = (s & 0xFF000000) | ((s >> 1) & 0x7F7F7F);
          uint32_t d = qdPixelToRGB24(p, qdGetPixel(p, x, y));
          auto mix = [a](uint32_t sv, uint32_t dv) { return (sv * a + dv * (255 - a) + 127) / 255; };
          uint32_t out = (mix((s >> 16) & 0xFF, (d >> 16) & 0xFF) << 16) | (mix((s >> 8) & 0xFF, (d >> 8) & 0xFF) << 8) |
                         mix(s & 0xFF, d & 0xFF);
          qdSetPixel(p, x, y, qdRGB24ToPixel(p, out));
        }
  return noErr;
}
