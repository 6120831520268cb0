#include "output/color/AdobeRGBPages.h"

#include "framework/LStr255.h"
#include "output/color/CColorSync.h"
#include "output/color/CRawFileColorSync.h"
#include "scanner/CTWAIN.h"
#include "toolbox/MacErrors.h"

namespace AdobeRGBPages {

bool ProfileInstalled() {
  FSSpec profile{};
  return CColorSync::FindProfile(LStr255(kProfileName), profile);
}

unsigned char Convert(CTWAIN& connection, long first) {
  TArray<TW_IMAGEINFO>& images = *connection.GetImageInfoArray();
  TArray<FSSpec>& files = *connection.GetTempFileArray();
  if (first < 1 || images.GetCount() < first || images.GetCount() != files.GetCount()) return 0;
  // Grey and bilevel pages have no colour to convert; a batch holding one is written as
  // scanned, so no page is labelled with a profile its pixels are not in.
  for (ArrayIndexT i = first; i <= images.GetCount(); ++i)
    if (images[i].BitsPerPixel != 24) return 0;

  FSSpec source{}, destination{};
  if (!CColorSync::FindProfile(LStr255(kProfileName), destination)) return 0;
  CRawFileColorSync converter;
  // A scanner without a profile of its own scans sRGB: leaving its pages alone would label
  // them Adobe RGB unconverted.
  const OSErr sourceErr = CColorSync::FindProfile(connection.GetModelString(), source)
                              ? converter.SetSourceProfile(source)
                              : converter.SetDefaultRGBSourceProfile();
  if (sourceErr != noErr || converter.SetDestinationPrilfile(destination) != noErr) return 0;
  for (ArrayIndexT i = first; i <= images.GetCount(); ++i) {
    RawFileInfo info{images[i].ImageWidth, images[i].ImageLength, images[i].BitsPerPixel};
    converter.SetRawFile(files[i], info);
    if (converter.ColorSync() != noErr) return 0;
  }
  connection.SetModelString(LStr255(kProfileName));
  return 1;
}

}  // namespace AdobeRGBPages
