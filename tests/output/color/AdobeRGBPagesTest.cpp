// Converting a scan's pages to Adobe RGB with profiles installed under a private root:
// pages change only when every one can be converted, and only then carry the new name.
#include "output/color/AdobeRGBPages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "scanner/CTWAIN.h"
#include "support/ColorProfiles.h"
#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/TextUtils.h"

namespace fs = std::filesystem;

namespace {

// Primaries, greys and a skin tone: five pixels a row, rows of 15 bytes and the even pad.
const std::vector<uint8_t> kColours = {255, 0,   0,   0,   255, 0,   0,   0,   255, 255, 255, 255, 0,  0,  0,
                                       128, 128, 128, 64,  64,  64,  224, 172, 150, 198, 134, 66,  141, 85, 36};
constexpr SInt32 kWidth = 5, kRows = 2, kRowBytes = 16;

std::vector<uint8_t> Padded(const std::vector<uint8_t>& rgb) {
  std::vector<uint8_t> raw;
  for (size_t i = 0; i < rgb.size(); i += kWidth * 3) {
    raw.insert(raw.end(), rgb.begin() + i, rgb.begin() + i + kWidth * 3);
    raw.push_back(0);
  }
  return raw;
}

std::vector<uint8_t> Unpadded(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> rgb;
  for (size_t i = 0; i + kRowBytes <= raw.size(); i += kRowBytes)
    rgb.insert(rgb.end(), raw.begin() + i, raw.begin() + i + kWidth * 3);
  return rgb;
}

class AdobeRGBPagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WX_REQUIRE_COLOR_TOOLS();
    setenv("WENDRIX_ROOT", root.path().c_str(), 1);
    ASSERT_TRUE(wxtest::InstallColordProfiles(root.path()));
    connection.SetModelString(LStr255("sRGB.icc"));
  }
  void TearDown() override { unsetenv("WENDRIX_ROOT"); }

  // A page of the scan as the transfer leaves it: its raw file and its image record.
  fs::path AddPage(const std::string& name, SInt16 bits, const std::vector<uint8_t>& bytes) {
    const fs::path path = root / name;
    wxtest::WriteBytes(path, bytes);
    FSSpec spec{};
    EXPECT_EQ(FSpMakeFromPOSIXPath(path.string(), &spec), noErr);
    TW_IMAGEINFO info{};
    info.ImageWidth = kWidth;
    info.ImageLength = kRows;
    info.BitsPerPixel = bits;
    connection.GetImageInfoArray()->AddItem(info);
    connection.GetTempFileArray()->AddItem(spec);
    return path;
  }
  fs::path Profile(const std::string& name) { return root / "usr/share/color/icc/colord" / name; }
  std::string ProfileName() { return PStrToString(connection.GetModelString()); }

  wxtest::ScratchDir root;
  CTWAIN connection;
};

// A scanner with no profile of its own scans sRGB: its pages are converted as from sRGB.
TEST_F(AdobeRGBPagesTest, ColourPagesAreConvertedAsLittleCMSConvertsThemAndRenamed) {
  for (const char* scannerProfile : {"sRGB.icc", "Scanner RGB.icc"}) {
    SCOPED_TRACE(scannerProfile);
    connection.GetImageInfoArray()->RemoveAllItems();
    connection.GetTempFileArray()->RemoveAllItems();
    connection.SetModelString(LStr255(scannerProfile));
    const fs::path first = AddPage("tmp00001.dat", 24, Padded(kColours));
    const fs::path second = AddPage("tmp00002.dat", 24, Padded(kColours));
    const std::vector<uint8_t> want = wxtest::TransiccRGB(Profile("sRGB.icc"), Profile("AdobeRGB1998.icc"), kColours);
    ASSERT_EQ(want.size(), kColours.size());
    ASSERT_EQ(AdobeRGBPages::Convert(connection), 1);
    EXPECT_EQ(ProfileName(), "AdobeRGB1998.icc");
    for (const fs::path& page : {first, second}) {
      const std::vector<uint8_t> got = Unpadded(wxtest::ReadBytes(page));
      ASSERT_EQ(got.size(), want.size());
      for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1) << page << " sample " << i;
      EXPECT_NE(got, kColours) << "the colours changed";
    }
  }
}

// A grey or bilevel page (grey chosen after ticking Adobe RGB, or set in the driver's own
// window), or no pages: nothing changes.
TEST_F(AdobeRGBPagesTest, WhatCannotBeConvertedIsLeftAsScanned) {
  struct Row {
    const char* what;
    std::vector<SInt16> depths;
    const char* sourceProfile;
  };
  const Row rows[] = {
      {"a grey page after a colour one", {24, 8}, "sRGB.icc"},
      {"a bilevel page", {1}, "sRGB.icc"},
      {"a 48-bit page", {48}, "sRGB.icc"},
      {"no pages", {}, "sRGB.icc"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    connection.GetImageInfoArray()->RemoveAllItems();
    connection.GetTempFileArray()->RemoveAllItems();
    connection.SetModelString(LStr255(row.sourceProfile));
    std::vector<fs::path> pages;
    for (size_t i = 0; i < row.depths.size(); ++i)
      pages.push_back(AddPage("page" + std::to_string(i) + ".dat", row.depths[i], Padded(kColours)));
    EXPECT_EQ(AdobeRGBPages::Convert(connection), 0);
    EXPECT_EQ(ProfileName(), row.sourceProfile);
    for (const fs::path& page : pages) EXPECT_EQ(wxtest::ReadBytes(page), Padded(kColours)) << page;
  }
}

TEST_F(AdobeRGBPagesTest, AMissingAdobeRGBProfileIsFoundMissingAtTheStart) {
  EXPECT_TRUE(AdobeRGBPages::ProfileInstalled());
  fs::remove(Profile("AdobeRGB1998.icc"));
  EXPECT_FALSE(AdobeRGBPages::ProfileInstalled());
  const fs::path page = AddPage("tmp00001.dat", 24, Padded(kColours));
  EXPECT_EQ(AdobeRGBPages::Convert(connection), 0);
  EXPECT_EQ(ProfileName(), "sRGB.icc");
  EXPECT_EQ(wxtest::ReadBytes(page), Padded(kColours));
}

}  // namespace
