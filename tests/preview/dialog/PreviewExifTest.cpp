// EXIF values chosen per page in the EXIF dialog reach the JPEG files the preview writes.
#include <gtest/gtest.h>

#include "framework/LControl.h"
#include "tests/preview/dialog/PreviewFixture.h"

namespace fs = std::filesystem;
using wxtest::MakePage;

namespace {

using PreviewExif = wxtest::PreviewTest;

// Sets a check box or popup of the EXIF dialog as a user's choice would.
void Set(LWindow* exif, PaneIDT id, SInt32 value) { wxframework::FindPaneAs<LControl>(exif, id)->SetValue(value); }

constexpr PaneIDT kChecks[] = {'CTIT', 'CPAR', 'CDAY', 'CEXP', 'CSPD', 'CSBR', 'CFLS', 'CISO', 'CCMT', 'CMOD'};

TEST_F(PreviewExif, TheChosenValuesReachTheJPEGAndSurviveAReturn) {
  WX_REQUIRE_TOOL("exiftool");
  Scan({MakePage(32, 60, 40), MakePage(32, 60, 40)});
  // Page 2 is turned; page 1 gets every value, page 2 its title alone.
  Do([](CPreviewDialog* d) { ClickCell(d, 2); });
  Do([](CPreviewDialog* d) { wxframework::ClickPane(d, 'R090'); });
  Do([](CPreviewDialog* d) { ClickCell(d, 1); });
  wxframework::AnswerNextDialog('SETE');
  wxframework::QueueDialogAction([](LWindow* exif) {
    for (PaneIDT id : kChecks) Set(exif, id, 1);
    wxframework::TypeIntoPane(exif, 'GTIT', "Sunset");
  });
  wxframework::QueueDialogAction([](LWindow* exif) { wxframework::TypeIntoPane(exif, 'GPAR', "Ann Lee"); });
  wxframework::QueueDialogAction([](LWindow* exif) {
    wxframework::TypeIntoPane(exif, 'CMNT', "Hello there");
    Set(exif, 'STYP', 125);  // 2024
    Set(exif, 'STMP', 2);
    Set(exif, 'STDP', 29);
    Set(exif, 'SPED', 5);
    Set(exif, 'SBOR', 3);
    Set(exif, 'FLAS', 2);
    Set(exif, 'FISO', 4);
    Set(exif, 'MODP', 2);
    Set(exif, 'GEXP', 3);
  });
  wxframework::QueueDialogAction([](LWindow* exif) { Set(exif, 'FILP', 2); });
  wxframework::QueueDialogAction([](LWindow* exif) {
    for (PaneIDT id : kChecks) Set(exif, id, id == 'CTIT');
    wxframework::TypeIntoPane(exif, 'GTIT', "Second");
  });
  wxframework::AnswerNextDialog(900);
  wxframework::AnswerNextDialog('RTUN');
  ASSERT_EQ(MessageT('RTUN'), Show({.popup = 2}));
  // A second call shows the edits again, and writes them.
  wxframework::AnswerNextDialog('SEND');
  wxframework::AnswerNextDialog(901);
  Alert(900);
  ASSERT_EQ(MessageT(901), Show({.popup = 2, .scan = false}));
  const std::vector<std::string> names = WrittenNames();
  ASSERT_EQ(2u, names.size());
  const fs::path first = Out() / names[0], second = Out() / names[1];
  std::string tags;
  wxtest::Run("exiftool -a -G1 -s '" + first.string() + "'", &tags);
  const std::vector<std::string> present = {
      "ImageDescription                : Sunset", "Artist                          : Ann Lee",
      "DateTimeOriginal                : 2024:02:29 00:00:00", "ExposureTime", "ShutterSpeedValue", "FNumber",
      "ApertureValue", "ISO", "Flash", "ExposureMode", "SceneCaptureType", "UserComment                     : Hello there"};
  for (const std::string& tag : present) EXPECT_NE(std::string::npos, tags.find(tag)) << tag << "\n" << tags;
  tags.clear();
  wxtest::Run("exiftool -a -G1 -s '" + second.string() + "'", &tags);
  EXPECT_NE(std::string::npos, tags.find("ImageDescription                : Second")) << tags;
  for (const char* tag : {"Artist", "DateTimeOriginal", "ExposureTime", "FNumber", " ISO ", "UserComment", "ExposureMode",
                          "SceneCaptureType"})
    EXPECT_EQ(std::string::npos, tags.find(tag)) << tag << " is left out";
  std::string size;
  wxtest::Run("exiftool -s3 -ExifImageWidth -ExifImageHeight '" + second.string() + "'", &size);
  EXPECT_EQ("40\n60\n", size) << "turned a quarter";
  for (const fs::path& file : {first, second}) {
    std::string validate;
    wxtest::Run("exiftool -validate -warning -a '" + file.string() + "' 2>&1", &validate);
    EXPECT_EQ(std::string::npos, validate.find("Warning")) << validate;
  }
  fs::copy_file(first, wxtest::OutputDir("preview") / "exif-page.jpg", fs::copy_options::overwrite_existing);
}

}  // namespace
