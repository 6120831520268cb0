#include "output/hub/WXExif.h"

#include <gtest/gtest.h>

#include <array>

#include "prefs/PrefRecords.h"
#include "prefs/WXExifInit.h"
#include "output/formats/ExifSettings.h"
#include "output/hub/WXFolders.h"
#include "support/ReferenceJpeg.h"
#include "support/TestEnv.h"
#include "tests/prefs/PrefsTestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace fs = std::filesystem;

namespace {

wxtest::RGBPicture Decode(const fs::path& jpg) {
  wxtest::RGBPicture p;
  EXPECT_TRUE(wxtest::DjpegRead(jpg, &p)) << jpg;
  return p;
}

class WXExif : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!wxtest::HaveTool("cjpeg") || !wxtest::HaveTool("djpeg") || !wxtest::HaveTool("exiftool"))
      GTEST_SKIP() << "cjpeg, djpeg and exiftool are needed (scripts/setup installs them)";
    FSSpec parent{};
    ASSERT_EQ(CWXUtility::Get_Default_TempDir(&temp, &parent), 1);
    ASSERT_EQ(CWXUtility::Create_Default_TempDir(parent, &temp), 1);
    std::string path;
    FSpGetPOSIXPath(&temp, &path);
    tempDir = path;
    pages = env.PrefsFolder() / "pages";
    fs::create_directories(pages);
  }

  // A light picture of w x h, written by the reference encoder.
  FSSpec MakeJPEG(const std::string& name, int w, int h) {
    const auto picture = wxtest::MakeRGBPicture(w, h, [](int x, int y) { return std::array<int, 3>{200, 100 + x % 100, 100 + y % 100}; });
    EXPECT_TRUE(wxtest::CjpegWrite(picture, pages / name));
    FSSpec spec{};
    FSpMakeFromPOSIXPath((pages / name).string(), &spec);
    return spec;
  }

  std::string ExifTool(const fs::path& file, const std::string& args) {
    std::string out;
    wxtest::Run("exiftool " + args + " '" + file.string() + "'", &out);
    return out;
  }

  wxtest::PrefsEnv env;
  FSSpec temp{};
  fs::path tempDir, pages;
};

TEST_F(WXExif, MainOnlySegmentWithItsThumbnail) {
  FSSpec jpeg = MakeJPEG("page0001.jpg", 640, 480);
  const auto before = Decode(pages / "page0001.jpg");
  ASSERT_EQ(CWXUtility::AddExifInfoMainOnly(jpeg, 640, 480, 300, 0, 0, 0), 0);
  const fs::path file = pages / "page0001.jpg";

  const std::string report = ExifTool(file, "-validate -warning -a");
  EXPECT_NE(report.find(": OK"), std::string::npos) << report;
  const std::string tags = ExifTool(file, "-a -G1 -s -n");
  for (const char* want : {"ModifyDate                      : 2026:12:10 09:30:00", "XResolution                     : 300",
                           "ExifImageWidth                  : 640", "ColorSpace                      : 1",
                           "FileSource                      : 2"})
    EXPECT_NE(tags.find(want), std::string::npos) << want << "\n" << tags;

  ASSERT_EQ(wxtest::Run("exiftool -b -ThumbnailImage '" + file.string() + "' > '" + (pages / "thumb.jpg").string() + "'"), 0);
  const wxtest::RGBPicture thumb = Decode(pages / "thumb.jpg");
  EXPECT_EQ(thumb.width, 160);
  EXPECT_EQ(thumb.height, 120);
  EXPECT_GT(thumb.at(80, 60)[0], 150) << "a 4:3 page fills the box";
  EXPECT_GT(thumb.at(1, 1)[0], 150);

  EXPECT_EQ(Decode(file).rgb, before.rgb) << "the page decodes as before";
  EXPECT_FALSE(fs::exists(tempDir / "JPEGTHUMB.jpg")) << "the thumbnail file is deleted";
  fs::copy_file(file, wxtest::OutputDir("formats") / "exif-main-only.jpg", fs::copy_options::overwrite_existing);
}

TEST_F(WXExif, PortraitAndVeryWidePagesGetBlackBands) {
  struct Case {
    const char* name;
    int w, h;
    int bandX, bandY;  // a point in a band
  };
  const Case cases[] = {{"portrait.jpg", 300, 600, 5, 60}, {"wide.jpg", 5000, 200, 80, 5}};
  for (const auto& c : cases) {
    FSSpec jpeg = MakeJPEG(c.name, c.w, c.h);
    ASSERT_EQ(CWXUtility::AddExifInfoMainOnly(jpeg, c.w, c.h, 300, 0, 0, 0), 0) << c.name;
    ASSERT_EQ(wxtest::Run("exiftool -b -ThumbnailImage '" + (pages / c.name).string() + "' > '" +
                          (pages / "t.jpg").string() + "'"),
              0);
    const wxtest::RGBPicture thumb = Decode(pages / "t.jpg");
    ASSERT_EQ(thumb.width, 160);
    EXPECT_LT(thumb.at(c.bandX, c.bandY)[0], 30) << c.name << ": black band";
    EXPECT_GT(thumb.at(80, 60)[0], 150) << c.name << ": the page in the middle";
  }
}

TEST_F(WXExif, PageRecordWithEveryOption) {
  FSSpec jpeg = MakeJPEG("page0002.jpg", 320, 240);
  EXIF_PREF page;
  RecordBytes r = page.view();
  CWXUtility::InitExifInfo(r, reinterpret_cast<ConstStr255Param>("\x07WX-9000"));
  using E = EXIF_PREF;
  for (const PrefU8& f : {E::kShutterEnable, E::kApertureEnable, E::kFlashEnable, E::kISOEnable, E::kSceneEnable,
                          E::kExposureModeEnable, E::kTitleEnable, E::kCommentEnable})
    f.set(r, 1);
  E::kTitle.set(r, reinterpret_cast<ConstStr255Param>("\x05Quays"));
  E::kComment.set(r, reinterpret_cast<ConstStr255Param>("\x04" "damp"));
  E::kDateTime.set(r, reinterpret_cast<ConstStr255Param>("\x13" "2026:12:10 09:30:00"));
  E::kWidth.set(r, 320);
  E::kHeight.set(r, 240);
  E::kXResolution.set(r, 300);
  E::kYResolution.set(r, 300);
  E::kSource.set(r, 0);
  ASSERT_EQ(CWXUtility::AddExifInfo(jpeg, r, 1), 0);
  const fs::path file = pages / "page0002.jpg";
  const std::string report = ExifTool(file, "-validate -warning -a");
  EXPECT_NE(report.find(": OK"), std::string::npos) << report;
  const std::string tags = ExifTool(file, "-a -G1 -s -n");
  for (const char* want : {"ImageDescription                : Quays", "Model                           : WX-9000",
                           "ExposureTime                    : 0.01666666667", "FNumber                         : 2.8",
                           "ISO                             : 400", "UserComment                     : damp",
                           "ColorSpace                      : 65535", "Gamma                           : 2.2",
                           "WhitePoint                      : 0.313 0.329"})
    EXPECT_NE(tags.find(want), std::string::npos) << want << "\n" << tags;
  fs::copy_file(file, wxtest::OutputDir("formats") / "exif-page-record.jpg", fs::copy_options::overwrite_existing);
}

TEST_F(WXExif, AStaleThumbnailIsReplaced) {
  wxtest::WriteBytes(tempDir / "JPEGTHUMB.jpg", std::vector<uint8_t>(100000, 0x33));
  FSSpec jpeg = MakeJPEG("page0003.jpg", 320, 240);
  FSSpec thumb{};
  ASSERT_EQ(CWXUtility::CreateThumbnailtempFile(jpeg, &thumb), noErr);
  const auto bytes = wxtest::ReadBytes(tempDir / "JPEGTHUMB.jpg");
  ASSERT_LT(bytes.size(), 100000u);
  EXPECT_EQ(Decode(tempDir / "JPEGTHUMB.jpg").width, 160);
}

TEST_F(WXExif, AFileThatIsNoJPEGStaysAsItWas) {
  const std::vector<uint8_t> junk(3000, 0x11);
  wxtest::WriteBytes(pages / "junk.jpg", junk);
  FSSpec spec{};
  FSpMakeFromPOSIXPath((pages / "junk.jpg").string(), &spec);
  EXPECT_NE(CWXUtility::AddExifInfoMainOnly(spec, 10, 10, 300, 0, 0, 0), 0);
  EXPECT_EQ(wxtest::ReadBytes(pages / "junk.jpg"), junk);
  EXPECT_FALSE(fs::exists(tempDir / "JPEGTHUMB.jpg"));
}

}  // namespace

// A temporary folder that fills while the thumbnail is written reports a full disk, like
// every other writer, and leaves the page and the folder as they were.
TEST_F(WXExif, AFullTemporaryFolderReportsAFullDisk) {
  FSSpec jpeg = MakeJPEG("page0004.jpg", 320, 240);
  const auto before = wxtest::ReadBytes(pages / "page0004.jpg");
  FSTestSetWriteLimit(200);
  const long result = CWXUtility::AddExifInfoMainOnly(jpeg, 320, 240, 300, 0, 0, 0);
  FSTestSetWriteLimit(-1);
  EXPECT_EQ(result, dskFulErr);
  EXPECT_EQ(wxtest::ReadBytes(pages / "page0004.jpg"), before);
  EXPECT_FALSE(fs::exists(tempDir / "JPEGTHUMB.jpg"));
}
