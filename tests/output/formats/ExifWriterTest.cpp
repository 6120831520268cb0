#include "output/formats/ExifWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <iterator>
#include <map>
#include <sstream>

#include "output/formats/ExifSettings.h"
#include "support/ReferenceJpeg.h"
#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace fs = std::filesystem;

namespace {

// A JPEG made by the reference encoder from a small colour picture.
std::vector<uint8_t> MakeJPEG(const fs::path& dir, const std::string& name, int w, int h) {
  const fs::path jpg = dir / (name + ".jpg");
  const auto picture = wxtest::MakeRGBPicture(w, h, [w, h](int x, int y) {
    return std::array<int, 3>{x * 255 / w, y * 255 / h, (x + y) % 256};
  });
  EXPECT_TRUE(wxtest::CjpegWrite(picture, jpg, "-quality 85"));
  return wxtest::ReadBytes(jpg);
}

ExifTagValues EveryTag(uint64_t thumbnailLength) {
  ExifTagValues v{};
  v.ImageDescriptionEnable = true;
  v.ImageDescription = "Harbour at dawn";
  v.Make = "Dremlo";
  v.Model = "WX-9000";
  v.XResolution = "300/1";
  v.YResolution = "300/1";
  v.ResolutionUnit = kResolutionUnit;
  v.Software = "Wendrix 5.0";
  v.DateTime = "2026:12:10 09:08:07";
  v.ArtistEnable = true;
  v.Artist = "Ann";
  v.AdobeRGB = true;
  v.WhitePoint = kWhitePoint;
  v.PrimaryChromaticities = kPrimary_Chromaticities;
  v.YCbCrPositioning = kPixel_Composition;
  v.ExposureTimeEnable = true;
  v.ExposureTime = "1/60";
  v.FNumberEnable = true;
  v.FNumber = "28/10";
  v.ISOSpeedRatingsEnable = true;
  v.ISOSpeedRatings = "400";
  v.ExifVersion = kExifVersion;
  v.DateTimeOriginalEnable = true;
  v.DateTimeOriginal = "2026:12:01 10:00:00";
  v.DateTimeDigitized = "2026:12:10 09:08:07";
  v.ComponentsConfiguration = kComponentsConfiguration;
  v.ShutterSpeedValueEnable = true;
  v.ShutterSpeedValue = "-4096/4096";
  v.ApertureValueEnable = true;
  v.ApertureValue = "6084/2048";
  v.FlashEnable = true;
  v.Flash = "1";
  v.UserCommentEnable = true;
  v.UserComment = "first light";
  v.FlashpixVersion = kFlashPixVersion;
  v.ColorSpace = kColorSpace_Uncalibrated;
  v.PixelXDimension = "320";
  v.PixelYDimension = "240";
  v.FileSource = "2";
  v.ExposureModeEnable = true;
  v.ExposureMode = "1";
  v.WhiteBalance = kWhitebalance;
  v.SceneCaptureTypeEnable = true;
  v.SceneCaptureType = "2";
  v.Gamma = kGamma;
  v.Compression = kCompression;
  v.ThumbnailLength = std::to_string(thumbnailLength);
  return v;
}

ExifTagValues Basic(uint64_t thumbnailLength) {
  auto v = ExifTagValuesMainOnly(320, 240, 300, 0, 0, 1, {"Dremlo", "Wendrix 5.0", "WX-9000", "2026:12:10 09:08:07"},
                                 thumbnailLength);
  return v;
}

std::map<std::string, std::string> ExifToolTags(const fs::path& file) {
  std::string out;
  EXPECT_EQ(wxtest::Run("exiftool -a -G1 -s -n '" + file.string() + "'", &out), 0) << out;
  std::map<std::string, std::string> tags;
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t colon = line.find(" : ");
    if (colon == std::string::npos) continue;
    std::istringstream words(line.substr(0, colon));
    std::string group, name;
    words >> group >> name;
    tags[group + " " + name] = line.substr(colon + 3);
  }
  return tags;
}

std::string Decode(const fs::path& jpg) {
  std::string out;
  EXPECT_EQ(wxtest::Run("djpeg -pnm '" + jpg.string() + "' | md5sum", &out), 0);
  return out;
}

class ExifWriterFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!wxtest::HaveTool("cjpeg") || !wxtest::HaveTool("djpeg") || !wxtest::HaveTool("exiftool"))
      GTEST_SKIP() << "cjpeg, djpeg and exiftool are needed (scripts/setup installs them)";
    main = MakeJPEG(dir.path(), "main", 320, 240);
    thumb = MakeJPEG(dir.path(), "thumb", 160, 120);
  }
  wxtest::ScratchDir dir;
  std::vector<uint8_t> main, thumb;
};

TEST_F(ExifWriterFiles, EveryTagReachesAStandardReader) {
  std::vector<uint8_t> out;
  ASSERT_EQ(ExifBuildJPEG(main, thumb, EveryTag(thumb.size()), &out), kExifNoErr);
  const fs::path file = dir / "every.jpg";
  wxtest::WriteBytes(file, out);

  std::string report;
  EXPECT_EQ(wxtest::Run("exiftool -validate -warning -a '" + file.string() + "'", &report), 0);
  EXPECT_NE(report.find("Validate                        : OK"), std::string::npos) << report;

  auto tags = ExifToolTags(file);
  const std::map<std::string, std::string> want = {
      {"[IFD0] ImageDescription", "Harbour at dawn"},
      {"[IFD0] Make", "Dremlo"},
      {"[IFD0] Model", "WX-9000"},
      {"[IFD0] Orientation", "1"},
      {"[IFD0] XResolution", "300"},
      {"[IFD0] YResolution", "300"},
      {"[IFD0] ResolutionUnit", "2"},
      {"[IFD0] Software", "Wendrix 5.0"},
      {"[IFD0] ModifyDate", "2026:12:10 09:08:07"},
      {"[IFD0] Artist", "Ann"},
      {"[IFD0] WhitePoint", "0.313 0.329"},
      {"[IFD0] PrimaryChromaticities", "0.64 0.33 0.21 0.71 0.15 0.06"},
      {"[IFD0] YCbCrPositioning", "1"},
      {"[ExifIFD] ExposureTime", "0.01666666667"},
      {"[ExifIFD] FNumber", "2.8"},
      {"[ExifIFD] ISO", "400"},
      {"[ExifIFD] ExifVersion", "0221"},
      {"[ExifIFD] DateTimeOriginal", "2026:12:01 10:00:00"},
      {"[ExifIFD] CreateDate", "2026:12:10 09:08:07"},
      {"[ExifIFD] ComponentsConfiguration", "1 2 3 0"},
      {"[ExifIFD] ShutterSpeedValue", "2"},
      {"[ExifIFD] ApertureValue", "2.79985392922713"},
      {"[ExifIFD] Flash", "1"},
      {"[ExifIFD] UserComment", "first light"},
      {"[ExifIFD] FlashpixVersion", "0100"},
      {"[ExifIFD] ColorSpace", "65535"},
      {"[ExifIFD] ExifImageWidth", "320"},
      {"[ExifIFD] ExifImageHeight", "240"},
      {"[ExifIFD] FileSource", "2"},
      {"[ExifIFD] ExposureMode", "1"},
      {"[ExifIFD] WhiteBalance", "0"},
      {"[ExifIFD] SceneCaptureType", "2"},
      {"[ExifIFD] Gamma", "2.2"},
      {"[IFD1] Compression", "6"},
      {"[IFD1] XResolution", "300"},
      {"[IFD1] YResolution", "300"},
      {"[IFD1] ResolutionUnit", "2"},
      {"[IFD1] ThumbnailLength", std::to_string(thumb.size())},
  };
  for (const auto& [key, value] : want) {
    EXPECT_TRUE(tags.count(key)) << key << " missing";
    EXPECT_EQ(tags[key], value) << key;
  }

  const fs::path extracted = dir / "extracted.jpg";
  ASSERT_EQ(wxtest::Run("exiftool -b -ThumbnailImage '" + file.string() + "' > '" + extracted.string() + "'"), 0);
  EXPECT_EQ(wxtest::ReadBytes(extracted), thumb) << "the embedded thumbnail is the thumbnail file, byte for byte";

  wxtest::WriteBytes(dir / "before.jpg", main);
  EXPECT_EQ(Decode(file), Decode(dir / "before.jpg")) << "the main image decodes to the same pixels";
  fs::copy_file(file, wxtest::OutputDir("formats") / "exif-every-tag.jpg", fs::copy_options::overwrite_existing);
}

TEST_F(ExifWriterFiles, BasicSegmentHasTheFixedDirectories) {
  std::vector<uint8_t> out;
  ASSERT_EQ(ExifBuildJPEG(main, thumb, Basic(thumb.size()), &out), kExifNoErr);
  const fs::path file = dir / "basic.jpg";
  wxtest::WriteBytes(file, out);
  std::string report;
  EXPECT_EQ(wxtest::Run("exiftool -validate -warning -a '" + file.string() + "'", &report), 0);
  EXPECT_NE(report.find("Validate                        : OK"), std::string::npos) << report;

  // APP1 right behind APP0; entry counts 10, 9 and 7 with every option off.
  const size_t app1 = 2 + 2 + ((main[4] << 8) | main[5]);
  ASSERT_EQ(out[app1], 0xFF);
  ASSERT_EQ(out[app1 + 1], 0xE1);
  const uint8_t* tiff = out.data() + app1 + 10;
  EXPECT_EQ(LEGetU16(tiff + 8), 10);
  const uint32_t ifd1 = LEGetU32(tiff + 8 + 2 + 12 * 10);
  uint32_t exifIfd = 0;
  for (int i = 0; i < 10; ++i)
    if (LEGetU16(tiff + 10 + 12 * i) == 0x8769) exifIfd = LEGetU32(tiff + 10 + 12 * i + 8);
  EXPECT_EQ(LEGetU16(tiff + exifIfd), 9);
  EXPECT_EQ(LEGetU16(tiff + ifd1), 7);
  // The segment length covers the TIFF structure plus 8.
  const size_t length = (out[app1 + 2] << 8) | out[app1 + 3];
  EXPECT_EQ(out[app1 + 2 + length], 0xFF);
  EXPECT_EQ(out[app1 + 2 + length + 1], 0xDB) << "the tables follow the segment";

  auto tags = ExifToolTags(file);
  EXPECT_EQ(tags["[ExifIFD] ColorSpace"], "1");
  EXPECT_EQ(tags["[ExifIFD] FileSource"], "1");
  EXPECT_EQ(tags.count("[IFD0] WhitePoint"), 0u);
  EXPECT_EQ(tags.count("[ExifIFD] Gamma"), 0u);
  fs::copy_file(file, wxtest::OutputDir("formats") / "exif-basic.jpg", fs::copy_options::overwrite_existing);
}

TEST_F(ExifWriterFiles, ASecondSegmentReplacesTheFirst) {
  std::vector<uint8_t> once, twice;
  ASSERT_EQ(ExifBuildJPEG(main, thumb, Basic(thumb.size()), &once), kExifNoErr);
  ASSERT_EQ(ExifBuildJPEG(once, thumb, Basic(thumb.size()), &twice), kExifNoErr);
  EXPECT_EQ(once, twice);
}

TEST_F(ExifWriterFiles, BytesAfterTheLastEOIAreDropped) {
  auto padded = main;
  padded.insert(padded.end(), {0x00, 0x11, 0x22});
  std::vector<uint8_t> a, b;
  ASSERT_EQ(ExifBuildJPEG(padded, thumb, Basic(thumb.size()), &a), kExifNoErr);
  ASSERT_EQ(ExifBuildJPEG(main, thumb, Basic(thumb.size()), &b), kExifNoErr);
  EXPECT_EQ(a, b);
}

TEST_F(ExifWriterFiles, RefusesWhatItCannotRewriteSafely) {
  const std::vector<uint8_t> marker = {0xAA};
  struct Bad {
    const char* what;
    std::vector<uint8_t> jpeg;
  };
  auto noEOI = main;
  noEOI.resize(noEOI.size() - 2);
  auto noSOI = main;
  noSOI[1] = 0x00;
  std::vector<uint8_t> noDQT = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x04, 0x00, 0x00, 0xFF, 0xD9};
  auto damagedLength = main;
  damagedLength[4] = 0xFF;  // APP0 runs past the end
  const Bad cases[] = {{"empty", {}}, {"no EOI", noEOI}, {"no SOI", noSOI}, {"no DQT", noDQT}, {"APP0 past the end", damagedLength}};
  for (const auto& c : cases) {
    std::vector<uint8_t> out = marker;
    EXPECT_EQ(ExifBuildJPEG(c.jpeg, thumb, Basic(thumb.size()), &out), kExifRefused) << c.what;
    EXPECT_EQ(out, marker) << c.what;
  }
  // A segment past 64 KB cannot be written with its 16-bit length.
  std::vector<uint8_t> big(70000, 0x55), out = marker;
  EXPECT_EQ(ExifBuildJPEG(main, big, Basic(big.size()), &out), kExifRefused);
  EXPECT_EQ(out, marker);
  // The length text must describe the thumbnail it comes with.
  EXPECT_EQ(ExifBuildJPEG(main, thumb, Basic(thumb.size() + 1), &out), kExifRefused);
}

TEST(ExifWriter, SmallValuesStayInTheEntryAndOddTextsArePadded) {
  std::vector<uint8_t> thumb = {0xFF, 0xD8, 0xFF, 0xD9};
  auto v = Basic(thumb.size());
  v.Make = "Abc";        // four bytes with its zero: inside the entry
  v.Model = "Model12";   // eight bytes: value area
  v.Software = "Soft1";  // six bytes
  v.DateTime = "2026:12:10 09:08:07 and more";
  std::vector<uint8_t> seg;
  ASSERT_EQ(ExifBuildSegment(v, thumb, &seg), kExifNoErr);
  const uint8_t* tiff = seg.data() + 10;
  const uint16_t n = LEGetU16(tiff + 8);
  for (int i = 0; i < n; ++i) {
    const uint8_t* e = tiff + 10 + 12 * i;
    const uint16_t tag = LEGetU16(e);
    if (tag == 0x010F) {
      EXPECT_EQ(LEGetU32(e + 4), 4u);
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(e + 8)), "Abc");
    }
    if (LEGetU16(e + 2) != 3 && LEGetU32(e + 4) * (LEGetU16(e + 2) == 5 ? 8 : 1) > 4) {
      EXPECT_EQ(LEGetU32(e + 8) % 2, 0u) << "value of tag " << tag << " at an even offset";
    }
    if (tag == 0x0132) {
      EXPECT_EQ(LEGetU32(e + 4), 20u);
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(tiff + LEGetU32(e + 8))), "2026:12:10 09:08:07");
    }
  }
  // The first value follows the directory: Model, then the two rationals.
  const uint32_t valuesAt = 8 + 2 + 12 * n + 4;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(tiff + valuesAt)), "Model12");
  EXPECT_EQ(LEGetU32(tiff + valuesAt + 8), 300u);
}

TEST(ExifWriter, RationalTexts) {
  unsigned char b[8];
  getRational("313/1000", b, kExifOrderLittle);
  EXPECT_EQ(LEGetU32(b), 313u);
  EXPECT_EQ(LEGetU32(b + 4), 1000u);
  getRational("7", b, kExifOrderBig);
  EXPECT_EQ(BEGetU32(b), 7u);
  EXPECT_EQ(BEGetU32(b + 4), 0u);
  getRational(std::string(600, '1'), b, kExifOrderLittle);
  EXPECT_EQ(LEGetU32(b), 0u);
  getSRational("-20098/4096", b, kExifOrderLittle);
  EXPECT_EQ(static_cast<int32_t>(LEGetU32(b)), -20098);
  EXPECT_EQ(LEGetU32(b + 4), 4096u);
}

}  // namespace

namespace {

// The rewrite of a file on disk: it succeeds whole, or leaves the file as it was.
class ExifWriterOnDisk : public ExifWriterFiles {
 protected:
  void SetUp() override {
    setenv("WENDRIX_ROOT", dir.path().c_str(), 1);
    ExifWriterFiles::SetUp();
    if (IsSkipped()) return;
    folder = dir / "pages";
    fs::create_directories(folder);
    wxtest::WriteBytes(folder / "page0001.jpg", main);
    wxtest::WriteBytes(folder / "JPEGTHUMB.jpg", thumb);
    ASSERT_EQ(FSpMakeFromPOSIXPath((folder / "page0001.jpg").string(), &jpegSpec), noErr);
    ASSERT_EQ(FSpMakeFromPOSIXPath((folder / "JPEGTHUMB.jpg").string(), &thumbSpec), noErr);
    FInfo info{};
    info.fdType = 'JPEG';
    info.fdCreator = 'QlWX';
    ASSERT_EQ(FSpSetFInfo(&jpegSpec, &info), noErr);
  }
  void TearDown() override {
    FSTestSetWriteLimit(-1);
    FSTestSetReadLimit(-1);
    unsetenv("WENDRIX_ROOT");
  }
  size_t FilesInFolder() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  }
  fs::path folder;
  FSSpec jpegSpec{}, thumbSpec{};
};

TEST_F(ExifWriterOnDisk, ReplacesTheFileAndKeepsItsFinderInfo) {
  ASSERT_EQ(writeExifToJPEGHeader(jpegSpec, thumbSpec, Basic(thumb.size())), kExifNoErr);
  std::vector<uint8_t> want;
  ASSERT_EQ(ExifBuildJPEG(main, thumb, Basic(thumb.size()), &want), kExifNoErr);
  EXPECT_EQ(wxtest::ReadBytes(folder / "page0001.jpg"), want);
  FInfo info{};
  ASSERT_EQ(FSpGetFInfo(&jpegSpec, &info), noErr);
  EXPECT_EQ(info.fdType, FourCharCode('JPEG'));
  EXPECT_EQ(info.fdCreator, FourCharCode('QlWX'));
  EXPECT_EQ(FilesInFolder(), 2u) << "nothing left beside the file";
}

TEST_F(ExifWriterOnDisk, FailuresLeaveTheFileAsItWas) {
  struct Failure {
    const char* what;
    SInt64 writeLimit, readLimit;
    long want;
  };
  const Failure failures[] = {{"disk full while writing the new file", 1000, -1, dskFulErr},
                              {"read error", -1, 100, ioErr}};
  for (const auto& f : failures) {
    FSTestSetWriteLimit(f.writeLimit);
    FSTestSetReadLimit(f.readLimit);
    EXPECT_EQ(writeExifToJPEGHeader(jpegSpec, thumbSpec, Basic(thumb.size())), f.want) << f.what;
    FSTestSetWriteLimit(-1);
    FSTestSetReadLimit(-1);
    EXPECT_EQ(wxtest::ReadBytes(folder / "page0001.jpg"), main) << f.what;
    EXPECT_EQ(FilesInFolder(), 2u) << f.what;
  }
  // A file the writer cannot rewrite safely is refused untouched.
  std::vector<uint8_t> noDQT = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x04, 0x00, 0x00, 0xFF, 0xD9};
  wxtest::WriteBytes(folder / "page0001.jpg", noDQT);
  EXPECT_EQ(writeExifToJPEGHeader(jpegSpec, thumbSpec, Basic(thumb.size())), kExifRefused);
  EXPECT_EQ(wxtest::ReadBytes(folder / "page0001.jpg"), noDQT);
  EXPECT_EQ(FilesInFolder(), 2u);
}

}  // namespace
