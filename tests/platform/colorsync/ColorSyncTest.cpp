#include "colorsync/ColorSync.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "colorsync/ColorSyncFolder.h"
#include "colorsync/DisplayProfile.h"
#include "display/Display.h"
#include "quickdraw/QDOffscreen.h"
#include "support/ColorProfiles.h"
#include "support/TestEnv.h"
#include "support/Xvfb.h"
#include "toolbox/MacErrors.h"

namespace fs = std::filesystem;

namespace {

// Primaries, greys, skin and sky tones.
const std::vector<uint8_t> kSamples = {255, 0,   0,   0,   255, 0,   0,   0,   255, 255, 255, 255, 0,   0,  0,
                                       128, 128, 128, 64,  64,  64,  224, 172, 150, 198, 134, 66,  141, 85, 36,
                                       135, 206, 235, 70,  130, 180, 255, 255, 0,   0,   255, 255, 255, 0,  255};

class ColorSync : public ::testing::Test {
 protected:
  void SetUp() override {
    WX_REQUIRE_COLOR_TOOLS();
    setenv("WENDRIX_ROOT", root.path().c_str(), 1);
    ASSERT_TRUE(wxtest::InstallColordProfiles(root.path()));
  }
  void TearDown() override {
    for (CMProfileRef p : opened) CMCloseProfile(p);
    DpyUseHeadless();
    unsetenv("WENDRIX_ROOT");
  }
  fs::path SystemProfile(const std::string& name) { return root / "usr/share/color/icc/colord" / name; }
  CMProfileRef Open(const fs::path& file) {
    CMProfileLocation loc{};
    loc.locType = cmFileBasedProfile;
    EXPECT_EQ(FSpMakeFromPOSIXPath(file.string(), &loc.u.fileLoc.spec), noErr) << file;
    CMProfileRef p = nullptr;
    EXPECT_EQ(CMOpenProfile(&p, &loc), noErr) << file;
    if (p) opened.push_back(p);
    return p;
  }
  // Every sample within one level of the reference.
  static void ExpectNear(const std::vector<uint8_t>& got, const std::vector<uint8_t>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1) << "sample " << i;
  }
  // The samples matched from sRGB to `destination` (empty when no world can be made).
  std::vector<uint8_t> FromSRGB(CMProfileRef destination) {
    CMWorldRef cw = nullptr;
    if (NCWNewColorWorld(&cw, Open(SystemProfile("sRGB.icc")), destination) != noErr) return {};
    std::vector<uint8_t> image = kSamples;
    CMBitmap bitmap{reinterpret_cast<char*>(image.data()), long(image.size() / 3), 1, long(image.size()), 24, cmRGB24Space,
                    0, 0};
    const OSErr err = CWMatchBitmap(cw, &bitmap, nullptr, nullptr, nullptr);
    CWDisposeColorWorld(cw);
    return err == noErr ? image : std::vector<uint8_t>{};
  }
  wxtest::ScratchDir root;
  std::vector<CMProfileRef> opened;
};

// Walks the profile folders and lists the file names it was shown, stopping at `stopAt`.
struct Walk {
  std::vector<std::string> names;
  std::string stopAt;
};
OSErr Collect(CMProfileIterateData* data, void* refCon) {
  Walk* walk = static_cast<Walk*>(refCon);
  const FSSpec& spec = data->location.u.fileLoc.spec;
  walk->names.emplace_back(reinterpret_cast<const char*>(spec.name + 1), spec.name[0]);
  return walk->names.back() == walk->stopAt ? OSErr(cmIterateStop) : OSErr(noErr);
}

TEST_F(ColorSync, WalkSeesProfilesUserFoldersFirstAndSkipsOtherFiles) {
  fs::create_directories(root / ".local/share/icc/sub");
  fs::copy_file(SystemProfile("sRGB.icc"), root / ".local/share/icc/sub/Mine.icc");
  wxtest::WriteBytes(root / "usr/share/color/icc/colord/notes.icc", std::vector<uint8_t>(200, 'x'));
  wxtest::WriteBytes(root / "usr/share/color/icc/tiny.icc", {'a', 'c', 's', 'p'});
  Walk walk;
  UInt32 count = 0;
  EXPECT_EQ(CMIterateColorSyncFolder(Collect, nullptr, &count, &walk), noErr);
  EXPECT_EQ(walk.names, (std::vector<std::string>{"Mine.icc", "AdobeRGB1998.icc", "sRGB.icc"}));
  EXPECT_EQ(count, 3u);
}

TEST_F(ColorSync, StopResultEndsTheWalkAndIsReturned) {
  Walk walk{{}, "AdobeRGB1998.icc"};
  EXPECT_EQ(CMIterateColorSyncFolder(Collect, nullptr, nullptr, &walk), cmIterateStop);
  EXPECT_EQ(walk.names, std::vector<std::string>{"AdobeRGB1998.icc"});
}

TEST_F(ColorSync, OpeningWhatIsNotAProfileFails) {
  wxtest::WriteBytes(root / "junk.icc", std::vector<uint8_t>(300, 7));
  CMProfileLocation loc{};
  loc.locType = cmFileBasedProfile;
  ASSERT_EQ(FSpMakeFromPOSIXPath((root / "junk.icc").string(), &loc.u.fileLoc.spec), noErr);
  CMProfileRef p = nullptr;
  EXPECT_EQ(CMOpenProfile(&p, &loc), cmProfileError);
  EXPECT_EQ(p, nullptr);
  ASSERT_EQ(FSpMakeFromPOSIXPath((root / "missing.icc").string(), &loc.u.fileLoc.spec), fnfErr);
  EXPECT_EQ(CMOpenProfile(&p, &loc), fnfErr);
}

TEST_F(ColorSync, BitmapRowsAgreeWithTransiccAndKeepTheirPadding) {
  const std::vector<uint8_t> want =
      wxtest::TransiccRGB(SystemProfile("sRGB.icc"), SystemProfile("AdobeRGB1998.icc"), kSamples);
  ASSERT_FALSE(want.empty());
  CMWorldRef world = nullptr;
  ASSERT_EQ(NCWNewColorWorld(&world, Open(SystemProfile("sRGB.icc")), Open(SystemProfile("AdobeRGB1998.icc"))), noErr);
  // Five pixels a row, rows 16 bytes apart: one pad byte that must survive.
  const long width = 5, rows = 3, rowBytes = 16;
  std::vector<uint8_t> image(rows * rowBytes, 0xEE);
  for (long y = 0; y < rows; ++y) std::copy_n(kSamples.begin() + y * 15, 15, image.begin() + y * rowBytes);
  CMBitmap bitmap{reinterpret_cast<char*>(image.data()), width, rows, rowBytes, 24, cmRGB24Space, 0, 0};
  ASSERT_EQ(CWMatchBitmap(world, &bitmap, nullptr, nullptr, nullptr), noErr);
  std::vector<uint8_t> got;
  for (long y = 0; y < rows; ++y) {
    got.insert(got.end(), image.begin() + y * rowBytes, image.begin() + y * rowBytes + 15);
    EXPECT_EQ(image[y * rowBytes + 15], 0xEE) << "pad byte of row " << y;
  }
  ExpectNear(got, want);
  bitmap.rowBytes = 14;  // shorter than the pixels
  EXPECT_EQ(CWMatchBitmap(world, &bitmap, nullptr, nullptr, nullptr), cmRangeOverFlow);
  bitmap.rowBytes = rowBytes;
  bitmap.pixelSize = 8;
  EXPECT_EQ(CWMatchBitmap(world, &bitmap, nullptr, nullptr, nullptr), cmRangeOverFlow);
  CWDisposeColorWorld(world);
}

TEST_F(ColorSync, NoWorldWithoutBothProfiles) {
  CMWorldRef world = reinterpret_cast<CMWorldRef>(1);
  EXPECT_EQ(NCWNewColorWorld(&world, Open(SystemProfile("sRGB.icc")), nullptr), paramErr);
  EXPECT_EQ(world, nullptr);
}

// A 32-bit world of the samples, its first bytes set to `mark`.
GWorldPtr SampleWorld(uint8_t mark) {
  GWorldPtr world = nullptr;
  const Rect r{0, 0, 1, static_cast<SInt16>(kSamples.size() / 3)};
  if (NewGWorld(&world, 32, &r, nullptr, nullptr, 0) != noErr) return nullptr;
  uint8_t* p = reinterpret_cast<uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(world)));
  for (size_t i = 0; i < kSamples.size() / 3; ++i) {
    p[4 * i] = mark;
    std::copy_n(kSamples.begin() + 3 * i, 3, p + 4 * i + 1);
  }
  return world;
}

std::vector<uint8_t> RGBOf(GWorldPtr world, std::vector<uint8_t>* marks = nullptr) {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(world)));
  std::vector<uint8_t> rgb;
  for (size_t i = 0; i < kSamples.size() / 3; ++i) {
    rgb.insert(rgb.end(), p + 4 * i + 1, p + 4 * i + 4);
    if (marks) marks->push_back(p[4 * i]);
  }
  return rgb;
}

TEST_F(ColorSync, PixMapMatchKeepsTheFirstByte) {
  const std::vector<uint8_t> want =
      wxtest::TransiccRGB(SystemProfile("sRGB.icc"), SystemProfile("AdobeRGB1998.icc"), kSamples);
  CMWorldRef cw = nullptr;
  ASSERT_EQ(NCWNewColorWorld(&cw, Open(SystemProfile("sRGB.icc")), Open(SystemProfile("AdobeRGB1998.icc"))), noErr);
  GWorldPtr world = SampleWorld(0x5A);
  ASSERT_NE(world, nullptr);
  ASSERT_EQ(CWMatchPixMap(cw, *GetGWorldPixMap(world), nullptr, nullptr), noErr);
  std::vector<uint8_t> marks;
  ExpectNear(RGBOf(world, &marks), want);
  EXPECT_EQ(marks, std::vector<uint8_t>(marks.size(), 0x5A));
  DisposeGWorld(world);
  CWDisposeColorWorld(cw);
}

TEST_F(ColorSync, DrawingMatchChangesOnlyThePixelsDrawn) {
  GWorldPtr world = SampleWorld(0);
  ASSERT_NE(world, nullptr);
  CGrafPtr savedPort;
  GDHandle savedDevice;
  GetGWorld(&savedPort, &savedDevice);
  SetGWorld(world, nullptr);
  CMMatchRef match = nullptr;
  ASSERT_EQ(NCMBeginMatching(Open(SystemProfile("sRGB.icc")), Open(SystemProfile("AdobeRGB1998.icc")), &match), noErr);
  // "Draw" pure red over the first pixel only.
  uint8_t* p = reinterpret_cast<uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(world)));
  p[1] = 0, p[2] = 255, p[3] = 0;
  CMEndMatching(match);
  SetGWorld(savedPort, savedDevice);
  const std::vector<uint8_t> green =
      wxtest::TransiccRGB(SystemProfile("sRGB.icc"), SystemProfile("AdobeRGB1998.icc"), {0, 255, 0});
  std::vector<uint8_t> got = RGBOf(world);
  ExpectNear({got.begin(), got.begin() + 3}, green);
  EXPECT_EQ(std::vector<uint8_t>(got.begin() + 3, got.end()), std::vector<uint8_t>(kSamples.begin() + 3, kSamples.end()));
  DisposeGWorld(world);
}

TEST_F(ColorSync, HeadlessTheMainDisplayIsSRGB) {
  DisplayIDType id = 0;
  ASSERT_EQ(DMGetDisplayIDByGDevice(GetMainDevice(), &id, false), noErr);
  CMProfileRef display = nullptr;
  ASSERT_EQ(CMGetProfileByAVID(id, &display), noErr);
  opened.push_back(display);
  ExpectNear(FromSRGB(display), kSamples);
  EXPECT_EQ(CMGetProfileByAVID(id + 1, &display), kDMDisplayNotFoundErr);
}

// A screen whose colour manager published Adobe RGB: matching to the display converts.
TEST_F(ColorSync, TheScreenProfileComesFromTheRootWindow) {
  WX_REQUIRE_XVFB();
  // The screen first: the server forgets the root window's properties when its last
  // client leaves.
  ASSERT_TRUE(DpyUseScreen());
  const std::vector<uint8_t> adobe = wxtest::ReadBytes(SystemProfile("AdobeRGB1998.icc"));
  ASSERT_TRUE(wxtest::SetRootICCProfile(wxtest::Xvfb::Get().name(), adobe));
  CMProfileRef display = nullptr;
  ASSERT_EQ(CMGetProfileByAVID(1, &display), noErr);
  opened.push_back(display);
  ExpectNear(FromSRGB(display), wxtest::TransiccRGB(SystemProfile("sRGB.icc"), SystemProfile("AdobeRGB1998.icc"), kSamples));
  // A damaged published profile is an error, not a silent sRGB.
  ASSERT_TRUE(wxtest::SetRootICCProfile(wxtest::Xvfb::Get().name(), std::vector<uint8_t>(64, 1)));
  CMProfileRef damaged = nullptr;
  EXPECT_EQ(CMGetProfileByAVID(1, &damaged), cmProfileError);
  // Without the property, sRGB.
  ASSERT_TRUE(wxtest::SetRootICCProfile(wxtest::Xvfb::Get().name(), {}));
  ASSERT_EQ(CMGetProfileByAVID(1, &display), noErr);
  opened.push_back(display);
}

}  // namespace
