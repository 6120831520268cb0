#include "preview/PreviewPicture.h"

#include <memory>

#include "framework/LException.h"
#include "framework/LGWorld.h"
#include "output/color/CColorSync.h"
#include "output/export/CRotate.h"
#include "quicktime/QuickTime.h"
#include "toolbox/Gestalt.h"
#include "toolbox/MacErrors.h"

namespace PreviewPicture {

namespace {

constexpr SInt32 kFirstSystemCopyingWide = 0x1020;
constexpr SInt32 kWidestCopyOnOldSystems = 10000;

SInt16 Width(const Rect& r) { return SInt16(r.right - r.left); }
SInt16 Height(const Rect& r) { return SInt16(r.bottom - r.top); }

bool CopiesWidePages(SInt32 width) {
  SInt32 version = 0;
  Gestalt(gestaltSystemVersion, &version);
  return version >= kFirstSystemCopyingWide || width <= kWidestCopyOnOldSystems;
}

}  // namespace

std::unique_ptr<LGWorld> Decode(const FSSpec& file, const FitFunc& fit, bool draw) {
  GraphicsImportComponent importer = nullptr;
  if (GetGraphicsImporterForFile(&file, &importer) != noErr || !importer) return nullptr;
  std::unique_ptr<LGWorld> page;
  Rect natural{};
  if (GraphicsImportGetNaturalBounds(importer, &natural) == noErr && Width(natural) > 0 && Height(natural) > 0) {
    try {
      page.reset(NewWorld(fit(Width(natural), Height(natural))));
      Rect bounds{};
      GetPortBounds(page->GetMacGWorld(), &bounds);
      // The pixels a scaled copy of the full-size page would take, read from the file.
      GraphicsImportSetQuality(importer, codecLowQuality);
      GraphicsImportSetBoundsRect(importer, &bounds);
      GraphicsImportSetGWorld(importer, page->GetMacGWorld(), nullptr);
      if ((draw || CopiesWidePages(Width(natural))) && GraphicsImportDraw(importer) != noErr) page.reset();
    } catch (...) {
      CloseComponent(importer);
      throw;
    }
  }
  CloseComponent(importer);
  return page;
}

std::unique_ptr<LGWorld> Decode(const FSSpec& file) {
  return Decode(file, [](SInt32 w, SInt32 h) { return Rect{0, 0, SInt16(h), SInt16(w)}; }, true);
}

void MatchToScreen(LGWorld* picture, const LStr255& sourceName) {
  FSSpec profile{};
  if (!CColorSync::FindProfile(sourceName, profile)) return;
  CMProfileRef screen = nullptr;
  if (CColorSync::GetProfileForMainDisplay(&screen) != noErr || !screen) return;
  CColorSync matcher(profile, screen);
  PixMapHandle pixels = GetGWorldPixMap(picture->GetMacGWorld());
  LockPixels(pixels);
  matcher.ColorMatchForPixMap(*pixels);
  UnlockPixels(pixels);
}

LGWorld* NewWorld(const Rect& bounds) {
  try {
    return new LGWorld(bounds, 32, useTempMem);
  } catch (const LException&) {
    return new LGWorld(bounds, 32, 0);
  }
}

LGWorld* Load(const FSSpec& file, long rotation, const LStr255& sourceName, const FitFunc& fit) {
  try {
    std::unique_ptr<LGWorld> picture = Decode(file, fit, false);
    if (!picture) return nullptr;
    MatchToScreen(picture.get(), sourceName);
    if (rotation % 360 != 0) picture.reset(Turn(picture.get(), rotation));
    return picture.release();
  } catch (const LException&) {
    return nullptr;
  }
}

LGWorld* Turn(LGWorld* picture, long degrees) {
  Rect bounds{};
  GetPortBounds(picture->GetMacGWorld(), &bounds);
  const bool quarter = degrees == 90 || degrees == 270;
  const Rect turned{0, 0, quarter ? Width(bounds) : Height(bounds), quarter ? Height(bounds) : Width(bounds)};
  std::unique_ptr<LGWorld> result(new LGWorld(turned, 32, useTempMem));
  CRotate::RotateImage(picture, result.get(), degrees);
  return result.release();
}

}  // namespace PreviewPicture
