#include "output/color/CRawFileColorSync.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "display/Display.h"
#include "output/color/CColorSync.h"
#include "quickdraw/QDOffscreen.h"
#include "support/ColorProfiles.h"
#include "support/TestEnv.h"
#include "support/Xvfb.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace fs = std::filesystem;

namespace {

// Primaries, greys, skin and sky tones: five pixels a row, rows of 15 bytes plus a pad byte.
const std::vector<uint8_t> kSamples = {255, 0,   0,   0,   255, 0,   0,   0,   255, 255, 255, 255, 0,   0,  0,
                                       128, 128, 128, 64,  64,  64,  224, 172, 150, 198, 134, 66,  141, 85, 36,
                                       135, 206, 235, 70,  130, 180, 255, 255, 0,   0,   255, 255, 255, 0,  255};
constexpr long kWidth = 5, kRows = 3, kRowLength = 16;
constexpr uint8_t kPad = 0xA5;  // not the zero a scan writes, so a stray write shows

std::vector<uint8_t> RawFile(const std::vector<uint8_t>& rgb) {
  std::vector<uint8_t> raw;
  for (size_t i = 0; i < rgb.size(); i += kWidth * 3) {
    raw.insert(raw.end(), rgb.begin() + i, rgb.begin() + i + kWidth * 3);
    raw.push_back(kPad);
  }
  return raw;
}

class RawColorSync : public ::testing::Test {
 protected:
  void SetUp() override {
    WX_REQUIRE_COLOR_TOOLS();
    setenv("WENDRIX_ROOT", root.path().c_str(), 1);
    ASSERT_TRUE(wxtest::InstallColordProfiles(root.path()));
    ASSERT_TRUE(CColorSync::FindProfile(LStr255("sRGB.icc"), srgb));
    ASSERT_TRUE(CColorSync::FindProfile(LStr255("AdobeRGB1998.icc"), adobe));
  }
  void TearDown() override {
    FSTestSetWriteLimit(-1);
    DpyUseHeadless();
    unsetenv("WENDRIX_ROOT");
  }
  fs::path SystemProfile(const std::string& name) { return root / "usr/share/color/icc/colord" / name; }
  std::vector<uint8_t> Reference(const std::vector<uint8_t>& rgb) {
    return wxtest::TransiccRGB(SystemProfile("sRGB.icc"), SystemProfile("AdobeRGB1998.icc"), rgb);
  }
  // Writes `bytes` as the raw file and runs the conversion with both profiles (or one).
  OSErr Convert(const std::vector<uint8_t>& bytes, RawFileInfo info, bool withDestination = true) {
    wxtest::WriteBytes(rawPath, bytes);
    FSSpec file{};
    EXPECT_EQ(FSpMakeFromPOSIXPath(rawPath.string(), &file), noErr);
    CRawFileColorSync sync;
    EXPECT_EQ(sync.SetSourceProfile(srgb), noErr);
    if (withDestination) {
      EXPECT_EQ(sync.SetDestinationPrilfile(adobe), noErr);
    }
    sync.SetRawFile(file, info);
    return sync.ColorSync();
  }
  static void ExpectNear(const std::vector<uint8_t>& got, const std::vector<uint8_t>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1) << "sample " << i;
  }
  wxtest::ScratchDir root;
  fs::path rawPath = root / "page.raw";
  FSSpec srgb{}, adobe{};
};

TEST_F(RawColorSync, ColourRowsAgreeWithTransiccAndKeepTheirPadByte) {
  const std::vector<uint8_t> want = Reference(kSamples);
  ASSERT_FALSE(want.empty());
  for (SInt32 bits : {24, 32}) {
    SCOPED_TRACE(bits);
    ASSERT_EQ(Convert(RawFile(kSamples), {kWidth, kRows, bits}), noErr);
    const std::vector<uint8_t> raw = wxtest::ReadBytes(rawPath);
    ASSERT_EQ(raw.size(), size_t(kRows * kRowLength));
    std::vector<uint8_t> got;
    for (long y = 0; y < kRows; ++y) {
      got.insert(got.end(), raw.begin() + y * kRowLength, raw.begin() + y * kRowLength + kWidth * 3);
      EXPECT_EQ(raw[y * kRowLength + kWidth * 3], kPad) << "row " << y;
    }
    ExpectNear(got, want);
    if (bits == 24) {
      std::string ppm = "P6\n" + std::to_string(kWidth) + " " + std::to_string(kRows) + "\n255\n";
      std::vector<uint8_t> sample(ppm.begin(), ppm.end());
      sample.insert(sample.end(), got.begin(), got.end());
      wxtest::WriteBytes(wxtest::OutputDir("color") / "srgb-to-adobergb.ppm", sample);
    }
  }
}

TEST_F(RawColorSync, GreyAndBilevelFilesAreRefusedUntouched) {
  const std::vector<uint8_t> bytes = RawFile(kSamples);
  for (SInt32 bits : {1, 8, 16, 0}) {
    EXPECT_EQ(Convert(bytes, {kWidth, kRows, bits}), paramErr) << bits;
    EXPECT_EQ(wxtest::ReadBytes(rawPath), bytes) << bits;
  }
}

TEST_F(RawColorSync, OneProfileIsAnErrorAndChangesNothing) {
  const std::vector<uint8_t> bytes = RawFile(kSamples);
  EXPECT_EQ(Convert(bytes, {kWidth, kRows, 24}, false), cmProfileError);
  EXPECT_EQ(wxtest::ReadBytes(rawPath), bytes);
}

TEST_F(RawColorSync, AShortFileStopsAfterItsLastWholeRow) {
  std::vector<uint8_t> bytes = RawFile(kSamples);
  bytes.resize(kRowLength + 7);  // one whole row, then part of the next
  EXPECT_EQ(Convert(bytes, {kWidth, kRows, 24}), eofErr);
  const std::vector<uint8_t> raw = wxtest::ReadBytes(rawPath);
  ASSERT_EQ(raw.size(), bytes.size());
  ExpectNear({raw.begin(), raw.begin() + kWidth * 3}, Reference({kSamples.begin(), kSamples.begin() + kWidth * 3}));
  EXPECT_EQ(raw[kWidth * 3], kPad);
  EXPECT_EQ(std::vector<uint8_t>(raw.begin() + kRowLength, raw.end()),
            std::vector<uint8_t>(bytes.begin() + kRowLength, bytes.end()));
}

TEST_F(RawColorSync, AFailedWriteIsReturned) {
  wxtest::WriteBytes(rawPath, RawFile(kSamples));
  FSSpec file{};
  ASSERT_EQ(FSpMakeFromPOSIXPath(rawPath.string(), &file), noErr);
  CRawFileColorSync sync;
  ASSERT_EQ(sync.SetSourceProfile(srgb), noErr);
  ASSERT_EQ(sync.SetDestinationPrilfile(adobe), noErr);
  RawFileInfo info{kWidth, kRows, 24};
  sync.SetRawFile(file, info);
  FSTestSetWriteLimit(20);  // the second row's write fails
  EXPECT_EQ(sync.ColorSync(), dskFulErr);
}

TEST_F(RawColorSync, FindProfileMatchesExactNamesAndPrefersTheUserFolder) {
  FSSpec spec{};
  std::string path;
  ASSERT_EQ(FSpGetPOSIXPath(&adobe, &path), noErr);
  EXPECT_EQ(fs::path(path), SystemProfile("AdobeRGB1998.icc"));
  spec.vRefNum = 7;
  EXPECT_FALSE(CColorSync::FindProfile(LStr255("adobergb1998.icc"), spec));
  EXPECT_EQ(spec.vRefNum, 0);
  EXPECT_EQ(spec.parID, 0);
  EXPECT_EQ(spec.name[0], 0);
  EXPECT_FALSE(CColorSync::FindProfile(LStr255("AdobeRGB1998"), spec));

  fs::create_directories(root / ".local/share/icc");
  fs::copy_file(SystemProfile("AdobeRGB1998.icc"), root / ".local/share/icc/AdobeRGB1998.icc");
  ASSERT_TRUE(CColorSync::FindProfile(LStr255("AdobeRGB1998.icc"), spec));
  ASSERT_EQ(FSpGetPOSIXPath(&spec, &path), noErr);
  EXPECT_EQ(fs::path(path), root / ".local/share/icc/AdobeRGB1998.icc");
}

TEST_F(RawColorSync, MatchingWithOneProfileLeavesPixelsAlone) {
  CColorSync sync;
  ASSERT_EQ(sync.OpenSourceProfile(srgb), noErr);
  std::vector<uint8_t> row = kSamples;
  EXPECT_EQ(sync.ColorMatchForPixel(reinterpret_cast<char*>(row.data()), long(row.size() / 3), 1), cmProfileError);
  EXPECT_EQ(row, kSamples);
  FSSpec missing{};
  ASSERT_EQ(FSpMakeFromPOSIXPath((root / "none.icc").string(), &missing), fnfErr);
  EXPECT_EQ(sync.OpenDestinationProfile(missing), fnfErr);
  EXPECT_FALSE(sync.HasProfiles());
}

TEST_F(RawColorSync, TheProfileFoldersOfTheDomains) {
  short vRefNum = 0;
  long dirID = 0;
  EXPECT_EQ(CColorSync::GetSystemDomainColorSyncFolder(vRefNum, dirID), noErr);
  EXPECT_NE(dirID, 0);
}

// A 32-bit world holding the samples in one row.
GWorldPtr SampleWorld() {
  GWorldPtr world = nullptr;
  const Rect r{0, 0, 1, static_cast<SInt16>(kSamples.size() / 3)};
  if (NewGWorld(&world, 32, &r, nullptr, nullptr, 0) != noErr) return nullptr;
  uint8_t* p = reinterpret_cast<uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(world)));
  for (size_t i = 0; i < kSamples.size() / 3; ++i) std::copy_n(kSamples.begin() + 3 * i, 3, p + 4 * i + 1);
  return world;
}

std::vector<uint8_t> MatchToDisplay(const FSSpec& source) {
  GWorldPtr world = SampleWorld();
  if (!world) return {};
  CColorSync sync;
  sync.OpenSourceProfile(source);
  sync.SetDestinationForMainDisplay();
  EXPECT_EQ(sync.ColorMatchForPixMap(*GetGWorldPixMap(world)), noErr);
  const uint8_t* p = reinterpret_cast<const uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(world)));
  std::vector<uint8_t> rgb;
  for (size_t i = 0; i < kSamples.size() / 3; ++i) rgb.insert(rgb.end(), p + 4 * i + 1, p + 4 * i + 4);
  DisposeGWorld(world);
  return rgb;
}

TEST_F(RawColorSync, DrawingBetweenTheBracketsIsMatched) {
  GWorldPtr world = SampleWorld();
  ASSERT_NE(world, nullptr);
  CGrafPtr savedPort;
  GDHandle savedDevice;
  GetGWorld(&savedPort, &savedDevice);
  SetGWorld(world, nullptr);
  {
    CColorSync sync(srgb, adobe);
    sync.ColorMatchBeginForDraw();
    uint8_t* p = reinterpret_cast<uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(world)));
    p[1] = 0, p[2] = 0, p[3] = 255;  // pure blue drawn over the first pixel
    sync.ColorMatchEndForDraw();
  }
  SetGWorld(savedPort, savedDevice);
  const uint8_t* p = reinterpret_cast<const uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(world)));
  ExpectNear({p[1], p[2], p[3]}, Reference({0, 0, 255}));
  EXPECT_EQ(std::vector<uint8_t>(p + 5, p + 8), std::vector<uint8_t>(kSamples.begin() + 3, kSamples.begin() + 6));
  DisposeGWorld(world);
}

TEST_F(RawColorSync, HeadlessTheDisplayIsSRGB) { ExpectNear(MatchToDisplay(srgb), kSamples); }

TEST_F(RawColorSync, TheDisplayProfilePublishedOnTheScreenIsUsed) {
  WX_REQUIRE_XVFB();
  ASSERT_TRUE(DpyUseScreen());
  ASSERT_TRUE(wxtest::SetRootICCProfile(wxtest::Xvfb::Get().name(), wxtest::ReadBytes(SystemProfile("AdobeRGB1998.icc"))));
  ExpectNear(MatchToDisplay(srgb), Reference(kSamples));
  ASSERT_TRUE(wxtest::SetRootICCProfile(wxtest::Xvfb::Get().name(), {}));
}

}  // namespace
