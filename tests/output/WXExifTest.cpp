#include "output/WXExif.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "app/PrefRecords.h"
#include "output/ExifSettings.h"
#include "output/WXExifInit.h"
#include "output/WXFolders.h"
#include "tests/app/PrefsTestEnv.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& p, const std::vector<uint8_t>& bytes) {
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A portable pixmap as djpeg writes it: width, height and the R, G, B bytes.
struct Pixmap {
  int w = 0, h = 0;
  std::vector<uint8_t> rgb;
  const uint8_t* at(int x, int y) const { return &rgb[(size_t(y) * w + x) * 3]; }
};

Pixmap Decode(const fs::path& jpg) {
  std::string out;
  EXPECT_EQ(wxtest::Run("djpeg -pnm '" + jpg.string() + "'", &out), 0);
  std::istringstream in(out);
  std::string magic;
  int maxval = 0;
  Pixmap p;
  in >> magic >> p.w >> p.h >> maxval;
  in.get();
  p.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  EXPECT_EQ(p.rgb.size(), size_t(p.w) * p.h * 3);
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
    std::string header = "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n";
    std::vector<uint8_t> bytes(header.begin(), header.end());
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) bytes.insert(bytes.end(), {200, uint8_t(100 + x % 100), uint8_t(100 + y % 100)});
    WriteAll(pages / (name + ".ppm"), bytes);
    EXPECT_EQ(wxtest::Run("cjpeg '" + (pages / (name + ".ppm")).string() + "' > '" + (pages / name).string() + "'"), 0);
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
  const Pixmap thumb = Decode(pages / "thumb.jpg");
  EXPECT_EQ(thumb.w, 160);
  EXPECT_EQ(thumb.h, 120);
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
    const Pixmap thumb = Decode(pages / "t.jpg");
    ASSERT_EQ(thumb.w, 160);
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
  WriteAll(tempDir / "JPEGTHUMB.jpg", std::vector<uint8_t>(100000, 0x33));
  FSSpec jpeg = MakeJPEG("page0003.jpg", 320, 240);
  FSSpec thumb{};
  ASSERT_EQ(CWXUtility::CreateThumbnailtempFile(jpeg, &thumb), noErr);
  const auto bytes = ReadAll(tempDir / "JPEGTHUMB.jpg");
  ASSERT_LT(bytes.size(), 100000u);
  EXPECT_EQ(Decode(tempDir / "JPEGTHUMB.jpg").w, 160);
}

TEST_F(WXExif, AFileThatIsNoJPEGStaysAsItWas) {
  const std::vector<uint8_t> junk(3000, 0x11);
  WriteAll(pages / "junk.jpg", junk);
  FSSpec spec{};
  FSpMakeFromPOSIXPath((pages / "junk.jpg").string(), &spec);
  EXPECT_NE(CWXUtility::AddExifInfoMainOnly(spec, 10, 10, 300, 0, 0, 0), 0);
  EXPECT_EQ(ReadAll(pages / "junk.jpg"), junk);
  EXPECT_FALSE(fs::exists(tempDir / "JPEGTHUMB.jpg"));
}

}  // namespace
