#include "output/formats/ExifWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/RecordAccess.h"

namespace {

enum : uint16_t { kAscii = 2, kShort = 3, kLong = 4, kRational = 5, kUndefined = 7, kSRational = 10 };
enum : uint8_t { kMarkSOI = 0xD8, kMarkEOI = 0xD9, kMarkDQT = 0xDB, kMarkAPP0 = 0xE0, kMarkAPP1 = 0xE1, kMarkCOM = 0xFE };

constexpr size_t kTiffHeaderSize = 8;
constexpr size_t kApp1Overhead = 8;  // length field and "Exif\0\0"
constexpr size_t kMaxSegmentLength = 0xFFFF;
constexpr size_t kTextLimit = 512;
constexpr size_t kDateTimeSize = 20;
constexpr size_t kUserCommentText = 256;

// One directory entry with its value bytes in file order (little-endian).
struct IfdEntry {
  uint16_t tag;
  uint16_t type;
  uint32_t count;
  std::vector<uint8_t> value;
};

using Ifd = std::vector<IfdEntry>;

uint32_t Number(const std::string& text) { return static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 10)); }

IfdEntry Ascii(uint16_t tag, const std::string& text) {
  std::vector<uint8_t> v(text.begin(), text.end());
  v.push_back(0);
  return {tag, kAscii, static_cast<uint32_t>(v.size()), v};
}

// A date-time field: 20 bytes, the text cut to 19 characters so its zero stays.
IfdEntry DateTime(uint16_t tag, const std::string& text) {
  std::vector<uint8_t> v(kDateTimeSize, 0);
  std::memcpy(v.data(), text.data(), std::min(text.size(), kDateTimeSize - 1));
  return {tag, kAscii, static_cast<uint32_t>(kDateTimeSize), v};
}

IfdEntry Short(uint16_t tag, uint32_t value) {
  std::vector<uint8_t> v(2);
  changeToByteOrder(v.data(), 2, value, kExifOrderLittle);
  return {tag, kShort, 1, v};
}

IfdEntry Long(uint16_t tag, uint32_t value) {
  std::vector<uint8_t> v(4);
  changeToByteOrder(v.data(), 4, value, kExifOrderLittle);
  return {tag, kLong, 1, v};
}

// A dimension fits a SHORT up to 65535; a wider image needs the LONG form.
IfdEntry Dimension(uint16_t tag, uint32_t value) { return value > 0xFFFF ? Long(tag, value) : Short(tag, value); }

IfdEntry Undefined(uint16_t tag, std::vector<uint8_t> bytes) {
  const auto n = static_cast<uint32_t>(bytes.size());
  return {tag, kUndefined, n, std::move(bytes)};
}

// One or more rationals, written "n/d:n/d:...".
IfdEntry Rationals(uint16_t tag, const std::string& text, bool isSigned) {
  std::vector<uint8_t> v;
  size_t start = 0;
  uint32_t count = 0;
  while (true) {
    const size_t colon = text.find(':', start);
    const std::string part = text.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
    v.resize(v.size() + 8);
    if (isSigned)
      getSRational(part, v.data() + v.size() - 8, kExifOrderLittle);
    else
      getRational(part, v.data() + v.size() - 8, kExifOrderLittle);
    ++count;
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return {tag, isSigned ? kSRational : kRational, count, v};
}

// "1,2,3,0" into the four component bytes.
std::vector<uint8_t> ByteList(const std::string& text) {
  std::vector<uint8_t> v;
  const char* p = text.c_str();
  while (*p) {
    char* end = nullptr;
    v.push_back(static_cast<uint8_t>(std::strtoul(p, &end, 10)));
    if (end == p) break;
    p = (*end == ',') ? end + 1 : end;
  }
  return v;
}

size_t Even(size_t n) { return (n + 1) & ~size_t(1); }

size_t IfdSize(const Ifd& ifd) {
  size_t size = 2 + 12 * ifd.size() + 4;
  for (const auto& e : ifd)
    if (e.value.size() > 4) size += Even(e.value.size());
  return size;
}

// Writes the entry's count and value field; a value over 4 bytes goes to the running
// offset, which then advances to the next even position.
void setTagValue(const IfdEntry& e, unsigned char* entry, uint32_t* runningOffset, std::vector<uint8_t>& tiff) {
  changeToByteOrder(entry, 2, e.tag, kExifOrderLittle);
  changeToByteOrder(entry + 2, 2, e.type, kExifOrderLittle);
  changeToByteOrder(entry + 4, 4, e.count, kExifOrderLittle);
  if (e.value.size() > 4) {
    changeToByteOrder(entry + 8, 4, *runningOffset, kExifOrderLittle);
    std::memcpy(tiff.data() + *runningOffset, e.value.data(), e.value.size());
    *runningOffset += static_cast<uint32_t>(Even(e.value.size()));
  } else {
    std::memcpy(entry + 8, e.value.data(), e.value.size());
  }
}

void EmitIfd(const Ifd& ifd, uint32_t at, uint32_t next, std::vector<uint8_t>& tiff) {
  changeToByteOrder(tiff.data() + at, 2, static_cast<uint32_t>(ifd.size()), kExifOrderLittle);
  uint32_t running = at + static_cast<uint32_t>(2 + 12 * ifd.size() + 4);
  for (size_t i = 0; i < ifd.size(); ++i) setTagValue(ifd[i], tiff.data() + at + 2 + 12 * i, &running, tiff);
  changeToByteOrder(tiff.data() + at + 2 + 12 * ifd.size(), 4, next, kExifOrderLittle);
}

void SetLong(IfdEntry& e, uint32_t value) { changeToByteOrder(e.value.data(), 4, value, kExifOrderLittle); }

void SplitRational(const std::string& text, std::string* num, std::string* den) {
  const size_t slash = text.find('/');
  *num = text.substr(0, slash);
  *den = slash == std::string::npos ? std::string() : text.substr(slash + 1);
}

OSErr WriteNewFile(const FSSpec& spec, const FInfo& info, const std::vector<uint8_t>& bytes) {
  OSErr err = FSpCreate(&spec, info.fdCreator, info.fdType, smSystemScript);
  if (err != noErr) return err;
  SInt16 ref = 0;
  err = FSpSetFInfo(&spec, &info);
  if (err == noErr) err = FSpOpenDF(&spec, fsRdWrPerm, &ref);
  if (err == noErr) {
    long count = static_cast<long>(bytes.size());
    err = FSWrite(ref, &count, bytes.data());
    if (err == noErr && count != long(bytes.size())) err = dskFulErr;
    const OSErr closeErr = FSClose(ref);
    if (err == noErr) err = closeErr;
  }
  if (err != noErr) FSpDelete(&spec);
  return err;
}

// A name not yet taken in the folder of `near`, from a pattern with one %04d.
OSErr FreeNameBeside(const FSSpec& near, const char* pattern, FSSpec* spec) {
  for (int i = 0; i < 10000; ++i) {
    char name[32];
    const int len = std::snprintf(name + 1, sizeof name - 1, pattern, i);
    name[0] = static_cast<char>(len);
    const OSErr err = FSMakeFSSpec(near.vRefNum, near.parID, reinterpret_cast<const unsigned char*>(name), spec);
    if (err == fnfErr) return noErr;
    if (err != noErr) return err;
  }
  return dupFNErr;
}

// The segment's length field and the marker walk read big-endian numbers.
uint16_t BE16At(const std::vector<uint8_t>& b, uint64_t at) { return BEGetU16(b.data() + at); }

}  // namespace

void changeToByteOrder(unsigned char* destination, int byteCount, uint32_t value, int order) {
  for (int i = 0; i < byteCount; ++i) {
    const int shift = 8 * (order == kExifOrderLittle ? i : byteCount - 1 - i);
    destination[i] = static_cast<unsigned char>(shift < 32 ? value >> shift : 0);
  }
}

void getRational(const std::string& text, unsigned char* destination, int order) {
  uint32_t n = 0, d = 0;
  if (!text.empty() && text.size() < kTextLimit) {
    std::string num, den;
    SplitRational(text, &num, &den);
    n = static_cast<uint32_t>(std::strtoul(num.c_str(), nullptr, 10));
    d = static_cast<uint32_t>(std::strtoul(den.c_str(), nullptr, 10));
  }
  changeToByteOrder(destination, 4, n, order);
  changeToByteOrder(destination + 4, 4, d, order);
}

void getSRational(const std::string& text, unsigned char* destination, int order) {
  int32_t n = 0, d = 0;
  if (!text.empty() && text.size() < kTextLimit) {
    std::string num, den;
    SplitRational(text, &num, &den);
    n = static_cast<int32_t>(std::strtol(num.c_str(), nullptr, 10));
    d = static_cast<int32_t>(std::strtol(den.c_str(), nullptr, 10));
  }
  changeToByteOrder(destination, 4, static_cast<uint32_t>(n), order);
  changeToByteOrder(destination + 4, 4, static_cast<uint32_t>(d), order);
}

uint64_t getAPP1AfterPos(const std::vector<uint8_t>& jpeg) {
  if (jpeg.size() < 2 || jpeg[0] != 0xFF || jpeg[1] != kMarkSOI) return 0;
  const uint64_t p = 2;
  if (jpeg.size() >= p + 4 && jpeg[p] == 0xFF && jpeg[p + 1] == kMarkAPP0) {
    const uint64_t end = p + 2 + BE16At(jpeg, p + 2);
    if (end <= jpeg.size()) return end;
  }
  return p;
}

long getJPEGInformation(const std::vector<uint8_t>& jpeg, ExifJPEGInformation* information) {
  if (getAPP1AfterPos(jpeg) == 0) return kExifRefused;
  // Walk the segments in front of the first DQT: only APPn and COM may stand there, since
  // they are the ones the new file leaves out.
  uint64_t p = 2;
  while (true) {
    if (p + 4 > jpeg.size() || jpeg[p] != 0xFF) return kExifRefused;
    const uint8_t marker = jpeg[p + 1];
    if (marker == kMarkDQT) break;
    if (!((marker >= kMarkAPP0 && marker <= 0xEF) || marker == kMarkCOM)) return kExifRefused;
    const uint16_t length = BE16At(jpeg, p + 2);
    if (length < 2) return kExifRefused;
    p += 2 + length;
  }
  const uint64_t dqt = p;
  uint64_t eoiEnd = 0;
  for (uint64_t q = jpeg.size(); q >= dqt + 2 + 2; --q)
    if (jpeg[q - 2] == 0xFF && jpeg[q - 1] == kMarkEOI) {
      eoiEnd = q;
      break;
    }
  if (eoiEnd == 0) return kExifRefused;
  information->size = jpeg.size();
  information->dqtPosition = dqt;
  information->tailLength = eoiEnd - dqt;
  return kExifNoErr;
}

long ExifBuildSegment(const ExifTagValues& v, const std::vector<uint8_t>& thumbnail, std::vector<uint8_t>* segment) {
  if (!v.ThumbnailLength.empty() && Number(v.ThumbnailLength) != thumbnail.size()) return kExifRefused;

  Ifd ifd0;
  if (v.ImageDescriptionEnable) ifd0.push_back(Ascii(0x010E, v.ImageDescription));
  ifd0.push_back(Ascii(0x010F, v.Make));
  ifd0.push_back(Ascii(0x0110, v.Model));
  ifd0.push_back(Short(0x0112, 1));
  ifd0.push_back(Rationals(0x011A, v.XResolution, false));
  ifd0.push_back(Rationals(0x011B, v.YResolution, false));
  ifd0.push_back(Short(0x0128, Number(v.ResolutionUnit)));
  ifd0.push_back(Ascii(0x0131, v.Software));
  ifd0.push_back(DateTime(0x0132, v.DateTime));
  if (v.ArtistEnable) ifd0.push_back(Ascii(0x013B, v.Artist));
  if (v.AdobeRGB) {
    ifd0.push_back(Rationals(0x013E, v.WhitePoint, false));
    ifd0.push_back(Rationals(0x013F, v.PrimaryChromaticities, false));
  }
  ifd0.push_back(Short(0x0213, Number(v.YCbCrPositioning)));
  ifd0.push_back(Long(0x8769, 0));

  Ifd exif;
  if (v.ExposureTimeEnable) exif.push_back(Rationals(0x829A, v.ExposureTime, false));
  if (v.FNumberEnable) exif.push_back(Rationals(0x829D, v.FNumber, false));
  if (v.ISOSpeedRatingsEnable) exif.push_back(Short(0x8827, Number(v.ISOSpeedRatings)));
  exif.push_back(Undefined(0x9000, std::vector<uint8_t>(v.ExifVersion.begin(), v.ExifVersion.end())));
  if (v.DateTimeOriginalEnable) exif.push_back(DateTime(0x9003, v.DateTimeOriginal));
  exif.push_back(DateTime(0x9004, v.DateTimeDigitized));
  exif.push_back(Undefined(0x9101, ByteList(v.ComponentsConfiguration)));
  if (v.ShutterSpeedValueEnable) exif.push_back(Rationals(0x9201, v.ShutterSpeedValue, true));
  if (v.ApertureValueEnable) exif.push_back(Rationals(0x9202, v.ApertureValue, false));
  if (v.FlashEnable) exif.push_back(Short(0x9209, Number(v.Flash)));
  if (v.UserCommentEnable) {
    // Eight zero bytes (undefined character code), then the comment in 256 zero-filled bytes.
    std::vector<uint8_t> comment(8 + kUserCommentText, 0);
    std::memcpy(comment.data() + 8, v.UserComment.data(), std::min(v.UserComment.size(), kUserCommentText - 1));
    exif.push_back(Undefined(0x9286, std::move(comment)));
  }
  exif.push_back(Undefined(0xA000, std::vector<uint8_t>(v.FlashpixVersion.begin(), v.FlashpixVersion.end())));
  exif.push_back(Short(0xA001, Number(v.ColorSpace)));
  exif.push_back(Dimension(0xA002, Number(v.PixelXDimension)));
  exif.push_back(Dimension(0xA003, Number(v.PixelYDimension)));
  exif.push_back(Undefined(0xA300, {static_cast<uint8_t>(Number(v.FileSource))}));
  if (v.ExposureModeEnable) exif.push_back(Short(0xA402, Number(v.ExposureMode)));
  exif.push_back(Short(0xA403, Number(v.WhiteBalance)));
  if (v.SceneCaptureTypeEnable) exif.push_back(Short(0xA406, Number(v.SceneCaptureType)));
  if (v.AdobeRGB) exif.push_back(Rationals(0xA500, v.Gamma, false));

  // The thumbnail's resolution is the main image's.
  Ifd ifd1;
  ifd1.push_back(Short(0x0103, Number(v.Compression)));
  ifd1.push_back(Short(0x0112, 1));
  ifd1.push_back(Rationals(0x011A, v.XResolution, false));
  ifd1.push_back(Rationals(0x011B, v.YResolution, false));
  ifd1.push_back(Short(0x0128, Number(v.ResolutionUnit)));
  ifd1.push_back(Long(0x0201, 0));
  ifd1.push_back(Long(0x0202, static_cast<uint32_t>(thumbnail.size())));

  const size_t exifAt = kTiffHeaderSize + IfdSize(ifd0);
  const size_t ifd1At = exifAt + IfdSize(exif);
  const size_t thumbAt = ifd1At + IfdSize(ifd1);
  const size_t tiffSize = thumbAt + thumbnail.size();
  if (tiffSize + kApp1Overhead > kMaxSegmentLength) return kExifRefused;

  SetLong(ifd0.back(), static_cast<uint32_t>(exifAt));
  SetLong(ifd1[5], static_cast<uint32_t>(thumbAt));

  std::vector<uint8_t> tiff(tiffSize, 0);
  tiff[0] = tiff[1] = 'I';
  changeToByteOrder(&tiff[2], 2, 42, kExifOrderLittle);
  changeToByteOrder(&tiff[4], 4, kTiffHeaderSize, kExifOrderLittle);
  EmitIfd(ifd0, kTiffHeaderSize, static_cast<uint32_t>(ifd1At), tiff);
  EmitIfd(exif, static_cast<uint32_t>(exifAt), 0, tiff);
  EmitIfd(ifd1, static_cast<uint32_t>(ifd1At), 0, tiff);
  std::copy(thumbnail.begin(), thumbnail.end(), tiff.begin() + static_cast<std::ptrdiff_t>(thumbAt));

  segment->assign({0xFF, kMarkAPP1, 0, 0, 'E', 'x', 'i', 'f', 0, 0});
  changeToByteOrder(segment->data() + 2, 2, static_cast<uint32_t>(tiffSize + kApp1Overhead), kExifOrderBig);
  segment->insert(segment->end(), tiff.begin(), tiff.end());
  return kExifNoErr;
}

long ExifBuildJPEG(const std::vector<uint8_t>& jpeg, const std::vector<uint8_t>& thumbnail, const ExifTagValues& values,
                   std::vector<uint8_t>* out) {
  ExifJPEGInformation info{};
  if (getJPEGInformation(jpeg, &info) != kExifNoErr) return kExifRefused;
  std::vector<uint8_t> segment;
  if (ExifBuildSegment(values, thumbnail, &segment) != kExifNoErr) return kExifRefused;
  const uint64_t app1At = getAPP1AfterPos(jpeg);
  std::vector<uint8_t> result(jpeg.begin(), jpeg.begin() + app1At);
  result.insert(result.end(), segment.begin(), segment.end());
  result.insert(result.end(), jpeg.begin() + info.dqtPosition, jpeg.begin() + info.dqtPosition + info.tailLength);
  *out = std::move(result);
  return kExifNoErr;
}

long writeExifToJPEGHeader(const FSSpec& jpeg, const FSSpec& thumbnail, const ExifTagValues& values) {
  std::vector<uint8_t> old, thumb, rewritten;
  OSErr err = FSpReadDataFork(&jpeg, &old);
  if (err == noErr) err = FSpReadDataFork(&thumbnail, &thumb);
  if (err != noErr) return err;
  if (ExifBuildJPEG(old, thumb, values, &rewritten) != kExifNoErr) return kExifRefused;

  FInfo info{};
  FSSpec fresh{}, parked{};
  err = FSpGetFInfo(&jpeg, &info);
  if (err == noErr) err = FreeNameBeside(jpeg, "WXExif%04d.new", &fresh);
  if (err == noErr) err = WriteNewFile(fresh, info, rewritten);
  if (err != noErr) return err;

  // The old file steps aside before the new one takes its name, and comes back if that fails.
  err = FreeNameBeside(jpeg, "WXExif%04d.old", &parked);
  if (err == noErr) err = FSpRename(&jpeg, parked.name);
  if (err != noErr) {
    FSpDelete(&fresh);
    return err;
  }
  err = FSpRename(&fresh, jpeg.name);
  if (err != noErr) {
    FSpRename(&parked, jpeg.name);
    FSpDelete(&fresh);
    return err;
  }
  FSpDelete(&parked);
  return kExifNoErr;
}
