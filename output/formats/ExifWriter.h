// The Exif APP1 segment: a little-endian ("II") TIFF structure with IFD0, the Exif IFD and
// IFD1 with an embedded JPEG thumbnail, inserted behind SOI (and APP0) of a JPEG file that
// the system's own encoder wrote.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolbox/MacTypes.h"


// The tag texts and enable flags that the EXIF settings hand to the writer. Rational
// values are "num/den" texts, several joined by ':'; numbers are decimal texts.
struct ExifTagValues {
  bool ImageDescriptionEnable;
  std::string ImageDescription;
  std::string Make;
  std::string Model;
  std::string XResolution;
  std::string YResolution;
  std::string ResolutionUnit;
  std::string Software;
  std::string DateTime;
  bool ArtistEnable;
  std::string Artist;
  bool AdobeRGB;  // adds WhitePoint, PrimaryChromaticities and Gamma
  std::string WhitePoint;
  std::string PrimaryChromaticities;
  std::string YCbCrPositioning;
  bool ExposureTimeEnable;
  std::string ExposureTime;
  bool FNumberEnable;
  std::string FNumber;
  bool ISOSpeedRatingsEnable;
  std::string ISOSpeedRatings;
  std::string ExifVersion;
  bool DateTimeOriginalEnable;
  std::string DateTimeOriginal;
  std::string DateTimeDigitized;
  std::string ComponentsConfiguration;
  bool ShutterSpeedValueEnable;
  std::string ShutterSpeedValue;
  bool ApertureValueEnable;
  std::string ApertureValue;
  bool FlashEnable;
  std::string Flash;
  bool UserCommentEnable;
  std::string UserComment;
  std::string FlashpixVersion;
  std::string ColorSpace;
  std::string PixelXDimension;
  std::string PixelYDimension;
  std::string FileSource;
  bool ExposureModeEnable;
  std::string ExposureMode;
  std::string WhiteBalance;
  bool SceneCaptureTypeEnable;
  std::string SceneCaptureType;
  std::string Gamma;
  std::string Compression;      // of the thumbnail
  std::string ThumbnailLength;  // decimal byte count of the thumbnail file
};

enum : long {
  kExifNoErr = 0,
  kExifRefused = 1,  // empty file, markers missing or out of order, or a segment over 64 KB
};

enum { kExifOrderBig = 0, kExifOrderLittle = 1 };

// Where the JPEG's markers lie: its size, the first DQT segment, and the length from there
// to the end of the last EOI marker.
struct ExifJPEGInformation {
  uint64_t size;
  uint64_t dqtPosition;
  uint64_t tailLength;
};

// ---- The building blocks -------------------------------------------------------------------

// Stores the low `byteCount` bytes of `value`, least significant first for kExifOrderLittle.
void changeToByteOrder(unsigned char* destination, int byteCount, uint32_t value, int order);
// "num/den" into two 32-bit words; a missing part stays 0; an empty text or one of 512
// characters or more gives 0/0.
void getRational(const std::string& text, unsigned char* destination, int order);
void getSRational(const std::string& text, unsigned char* destination, int order);
// Byte position where APP1 goes: behind SOI, and behind APP0 when APP0 follows SOI.
// 0 for a file that does not begin with SOI.
uint64_t getAPP1AfterPos(const std::vector<uint8_t>& jpeg);
// kExifNoErr with `information` filled, or kExifRefused for a file without SOI, without a
// DQT segment reached through APPn and COM segments only, or without EOI behind it.
long getJPEGInformation(const std::vector<uint8_t>& jpeg, ExifJPEGInformation* information);

// The complete APP1 segment (marker included) for the values and the thumbnail JPEG bytes;
// kExifRefused when it would pass the 16-bit segment length or the thumbnail's length text
// does not match the thumbnail.
long ExifBuildSegment(const ExifTagValues& values, const std::vector<uint8_t>& thumbnail, std::vector<uint8_t>* segment);

// The new JPEG file: SOI, APP0 as it was, the new APP1, then the old bytes from the first
// DQT to the end of the last EOI. kExifRefused leaves `out` untouched.
long ExifBuildJPEG(const std::vector<uint8_t>& jpeg, const std::vector<uint8_t>& thumbnail, const ExifTagValues& values,
                   std::vector<uint8_t>* out);

// Rewrites the JPEG file with the segment, never in place: the new file is written beside
// it with the same Finder info, and only when that succeeded does it take the old file's
// name. kExifNoErr, kExifRefused (the file is untouched), or the File Manager's error (the
// file is untouched as well).
long writeExifToJPEGHeader(const FSSpec& jpeg, const FSSpec& thumbnail, const ExifTagValues& values);
