#include "output/hub/WXExif.h"

#include <string>

#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "prefs/PrefRecords.h"
#include "jpeg/jpgStatus.h"
#include "jpeg/jpgWCore.h"
#include "jpeg/jpgWMac.h"
#include "output/formats/ExifSettings.h"
#include "output/formats/ExifWriter.h"
#include "output/hub/CThumbnailSampler.h"
#include "output/hub/WXFolders.h"
#include "quickdraw/QDOffscreen.h"
#include "quicktime/QuickTime.h"
#include "toolbox/Clock.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

namespace CWXUtility {

namespace {

constexpr int16_t kThumbWidth = CThumbnailSampler::kWidth;
constexpr int16_t kThumbHeight = CThumbnailSampler::kHeight;
constexpr unsigned char kThumbName[] = {13, 'J', 'P', 'E', 'G', 'T', 'H', 'U', 'M', 'B', '.', 'j', 'p', 'g'};
constexpr short kExifStrings = 601;
constexpr short kMakeItem = 1;
constexpr short kSoftwareItem = 8;

// The File Manager's error for an encoder status: a write the encoder could not finish means
// the disk took no more.
OSErr EncoderError(int32_t status) {
  switch (status) {
    case kJpgOK: return noErr;
    case kJpgWriteFailed: return dskFulErr;
    case kJpgNoMemory: return memFullErr;
    default: return ioErr;
  }
}

// The exporter's encoder: the system's own, fed one strip of red, green, blue pixels.
OSErr ThumbnailJPEGWriter(const FSSpec* file, const UInt8* rgb, SInt32 width, SInt32 height, SInt32 rowBytes) {
  void* context = nullptr;
  int32_t status = jpgWritePrologToFile(file, 'QlWX', 'JPEG', 0, &context);
  if (status != 0) return EncoderError(status);
  status = jpgWriteSetNumberOfChannels(context, 3);
  if (status == 0) status = jpgWriteSetRedFirst(context);
  if (status == 0) status = jpgWriteSetImageSize(context, width, height);
  _complibImageRect rect{width, height, rowBytes, 24, 3, 8, const_cast<UInt8*>(rgb)};
  if (status == 0) status = jpgWriteFromRect(context, &rect, height);
  const int32_t closed = jpgWriteEpilogToFile(context);
  return EncoderError(status != 0 ? status : closed);
}

// Draws the JPEG into the black 160 x 120 world, straight at its box: no world of the
// page's full size is needed, however large the page.
OSErr DrawThumbnail(const FSSpec& jpeg, GWorldPtr world) {
  GraphicsImportComponent importer = nullptr;
  OSErr err = GetGraphicsImporterForFile(&jpeg, &importer);
  if (err != noErr) return err;
  Rect natural{};
  err = static_cast<OSErr>(GraphicsImportGetNaturalBounds(importer, &natural));
  if (err == noErr && (natural.right <= 0 || natural.bottom <= 0)) err = paramErr;
  if (err == noErr) {
    const Rect box = CThumbnailSampler::Box(natural.right, natural.bottom);
    err = static_cast<OSErr>(GraphicsImportSetGWorld(importer, world, nullptr));
    if (err == noErr) err = static_cast<OSErr>(GraphicsImportSetBoundsRect(importer, &box));
    if (err == noErr) err = static_cast<OSErr>(GraphicsImportDraw(importer));
  }
  CloseComponent(importer);
  return err;
}

OSErr ExportThumbnail(GWorldPtr world, const FSSpec& out) {
  QTSetJPEGWriter(ThumbnailJPEGWriter);
  ComponentInstance exporter = nullptr;
  OSErr err = OpenADefaultComponent(GraphicsExporterComponentType, kQTFileTypeJPEG, &exporter);
  if (err != noErr) return err;
  err = static_cast<OSErr>(GraphicsExportSetInputGWorld(exporter, world));
  if (err == noErr) err = static_cast<OSErr>(GraphicsExportSetOutputFile(exporter, &out));
  if (err == noErr) err = static_cast<OSErr>(GraphicsExportDoExport(exporter, nullptr));
  CloseComponent(exporter);
  return err;
}

// The thumbnail goes whatever happens after it was made.
struct ThumbnailFile {
  FSSpec spec{};
  bool made = false;
  ~ThumbnailFile() {
    if (made) DeleteFileWithRetry(spec);
  }
};

// "JPEGTHUMB.jpg" in the temporary folder.
OSErr ThumbnailSpec(FSSpec* thumbnail) {
  SInt16 vRef = 0;
  SInt32 dirID = 0;
  if (!FindTempFolder(&vRef, &dirID)) return dirNFErr;
  const OSErr err = FSMakeFSSpec(vRef, dirID, kThumbName, thumbnail);
  return err == fnfErr ? OSErr(noErr) : err;
}

template <typename Fill>
long AddSegment(FSSpec& jpeg, const CThumbnailSampler* sampled, Fill fill) {
  ThumbnailFile thumb;
  OSErr err = noErr;
  if (sampled && sampled->Complete()) {
    err = ThumbnailSpec(&thumb.spec);
    if (err == noErr)
      err = ThumbnailJPEGWriter(&thumb.spec, sampled->RGB().data(), kThumbWidth, kThumbHeight, 3 * kThumbWidth);
  } else {
    err = CreateThumbnailtempFile(jpeg, &thumb.spec);
  }
  if (err != noErr) return err;
  thumb.made = true;
  long size = 0;
  err = FileSize(thumb.spec, &size);
  if (err != noErr) return err;
  return writeExifToJPEGHeader(jpeg, thumb.spec, fill(static_cast<uint64_t>(size)));
}

std::string IndText(short item) {
  Str255 text;
  text[0] = 0;
  GetIndString(text, kExifStrings, item);
  return PStrToString(text);
}

std::string ConfiguredModel() {
  Str255 model;
  CPreferences prefs(PREFS_FILE_NAME, 0);
  PREF_SETTING::kModelName.get(PREF_ALL::kSetting.in(prefs.PrefAll()), model);
  return PStrToString(model);
}

}  // namespace

OSErr CreateThumbnailtempFile(const FSSpec& jpeg, FSSpec* thumbnail) {
  OSErr err = ThumbnailSpec(thumbnail);
  if (err != noErr) return err;

  PenState pen{};
  GetPenState(&pen);
  PenNormal();
  GWorldPtr world = nullptr;
  const Rect box{0, 0, kThumbHeight, kThumbWidth};
  CGrafPtr savedPort = nullptr;
  GDHandle savedDevice = nullptr;
  GetGWorld(&savedPort, &savedDevice);
  err = NewGWorld(&world, 32, &box, nullptr, nullptr, 0);
  if (err == noErr) {
    SetGWorld(world, nullptr);
    const RGBColor black{0, 0, 0};
    RGBForeColor(&black);
    PaintRect(&box);
    SetGWorld(savedPort, savedDevice);
    err = DrawThumbnail(jpeg, world);
  }
  SetPenState(&pen);
  if (err == noErr) err = ExportThumbnail(world, *thumbnail);
  if (world) DisposeGWorld(world);
  return err;
}

long AddExifInfo(FSSpec& jpeg, RecordBytes page, unsigned char adobeRGB, const CThumbnailSampler* thumbnail) {
  try {
    return AddSegment(jpeg, thumbnail, [&](uint64_t thumbLength) { return ExifTagValuesForPage(page, adobeRGB, thumbLength); });
  } catch (...) {
    return ioErr;
  }
}

long AddExifInfoMainOnly(FSSpec& jpeg, long width, long height, long dpi, unsigned char monochrome,
                         unsigned char adobeRGB, long source, const CThumbnailSampler* thumbnail) {
  try {
    DateTimeRec now{};
    GetTime(&now);
    const ExifFixedTexts texts{IndText(kMakeItem), IndText(kSoftwareItem), ConfiguredModel(),
                               ExifDateTimeText(now.year, now.month, now.day, now.hour, now.minute, now.second)};
    return AddSegment(jpeg, thumbnail, [&](uint64_t thumbLength) {
      return ExifTagValuesMainOnly(width, height, dpi, monochrome, adobeRGB, source, texts, thumbLength);
    });
  } catch (...) {
    return ioErr;
  }
}

}  // namespace CWXUtility
