#include <gtest/gtest.h>

#include "FakeScan.h"
#include "scanner/TWCapabilities.h"
#include "scanner/TWGlue.h"
#include "scanner/UTwHelper.h"
#include "toolbox/MacMemory.h"

namespace wxscan {
namespace {

class TWCapabilitiesTest : public FakeScanTest {
 protected:
  std::vector<std::string> Negotiate(const ScanSettings& settings, const std::string& script = "") {
    Open(script, settings);
    return Sets();
  }
  std::string LastSet(const ScanSettings& settings) {
    std::vector<std::string> sets = Negotiate(settings);
    return sets.empty() ? "" : sets.back();
  }
};

TEST_F(TWCapabilitiesTest, AReflectiveGreyScanNegotiatesInItsFixedOrder) {
  ScanSettings grey;  // Save, reflective, grey, 75 dpi
  EXPECT_EQ((std::vector<std::string>{
                "cap=111E con=5 type=4 value=0",
                "cap=1118 con=6 type=7 value=75.0",
                "cap=1119 con=6 type=7 value=75.0",
                "cap=0101 con=5 type=4 value=1",
                "cap=112B con=4 type=4 n=5 index=1 default=4",
                "cap=111F con=4 type=4 n=2 index=1 default=0",
                "cap=0102 con=4 type=4 n=3 index=2 default=0",
                "cap=1114 con=4 type=8 n=1 index=0 default=0 frame=0,0,100,100",
                "cap=8417 con=4 type=4 n=2 index=0 default=1",
                "cap=8414 con=4 type=4 n=2 index=0 default=0",
            }),
            Negotiate(grey));
}

TEST_F(TWCapabilitiesTest, WithTheSourcesInterfaceOnlyThePixelFlavourIsSet) {
  ScanSettings shown;
  shown.showUI = 1;
  EXPECT_EQ((std::vector<std::string>{"cap=111F con=4 type=4 n=2 index=1 default=0"}), Negotiate(shown));
}

struct LevelCase {
  long caller, imageMode, level;
  const char* last;
};

TEST_F(TWCapabilitiesTest, CopyAndPrintTakeThresholdOrBrightnessFromTheLevel) {
  const LevelCase cases[] = {
      {1, 1, 4, "cap=1123 con=5 type=7 value=171.0"},
      {1, 1, 0, "cap=1123 con=5 type=7 value=128.0"},
      {1, 1, 42, "cap=1123 con=5 type=7 value=128.0"},  // outside the table: neutral
      {2, 2, 1, "cap=1101 con=5 type=7 value=-400.1"},
      {2, 2, -3, "cap=1101 con=5 type=7 value=0.0"},
      {5, 1, 1, "cap=1123 con=5 type=7 value=171.0"},
      {1, 6, 4, "cap=0001 con=5 type=4 value=1"},
  };
  for (const LevelCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "caller " << c.caller << " mode " << c.imageMode << " level " << c.level);
    ScanSettings s;
    s.caller = c.caller;
    s.imageMode = c.imageMode;
    s.level = c.level;
    EXPECT_EQ(c.last, LastSet(s));
  }
}

TEST_F(TWCapabilitiesTest, FilmModeThirteenScansGreyThroughTheFilmAdapter) {
  ScanSettings film;
  film.source = 2;
  film.imageMode = 13;
  std::vector<std::string> sets = Negotiate(film);
  ASSERT_EQ(8u, sets.size());
  EXPECT_EQ("cap=841C con=5 type=4 value=0", sets[0]);
  EXPECT_EQ("cap=111E con=5 type=4 value=1", sets[1]);
  EXPECT_EQ("cap=841A con=5 type=4 value=2", sets[2]);
  EXPECT_EQ("cap=111F con=4 type=4 n=2 index=1 default=0", sets[5]);
  EXPECT_EQ("cap=0101 con=5 type=4 value=1", sets[6]);
}

struct ClipCase {
  const char* script;
  const char* frame;
};

TEST_F(TWCapabilitiesTest, TheAreaIsClippedOnlyRightAndBottomAndOnlyWhereTheSizeIsKnown) {
  const ClipCase cases[] = {
      {"physw=80\nphysh=300", "frame=5,10,80,300"},
      {"physw=-1\nphysh=300", "frame=5,10,600,300"},
      {"physw=80\nphysh=-1", "frame=5,10,80,500"},
      {"physw=2000\nphysh=2000", "frame=5,10,600,500"},
  };
  for (const ClipCase& c : cases) {
    SCOPED_TRACE(c.script);
    ScanSettings s;
    s.area = Rect{10, 5, 500, 600};
    std::vector<std::string> sets = Negotiate(s, c.script);
    bool found = false;
    for (const std::string& set : sets) found = found || set.find(c.frame) != std::string::npos;
    EXPECT_TRUE(found) << testing::PrintToString(sets);
  }
}

TEST_F(TWCapabilitiesTest, ARefusedCapabilityEndsTheNegotiationWithItsCode) {
  Open("refuse_set=4");
  EXPECT_EQ(4u, Sets().size());
  // The first resolution's answer is not looked at, so refusing the fifth set (bit depth) ends it.
  mLog = wxfake::WriteFakeScript(mScripts.path(), "refuse_set=5");
  unsigned char name[33];
  PStrFromString("Fake Scanner", name, sizeof name);
  mTwain->DisableDS();
  ASSERT_EQ(1, mTwain->SetDriverAndOpen(name));
  EXPECT_EQ(TWRC_FAILURE, mTwain->SetCapability());
  EXPECT_EQ(5u, Sets().size());
}

TEST_F(TWCapabilitiesTest, AContainerThatCannotBeAllocatedIsNotSent) {
  Open("");
  size_t before = Sets().size();
  MemSetHeapLimit(4);
  short rc = TWSetPixelType(TWPT_RGB);
  short enumeration = _TWSetBitDepth(8);
  MemSetHeapLimit(0);
  EXPECT_EQ(TWRC_FAILURE, rc);
  EXPECT_EQ(TWRC_FAILURE, enumeration);
  EXPECT_EQ(before, Sets().size());
}

TEST_F(TWCapabilitiesTest, FloatToFix32RoundsAsTheSystemAlwaysHas) {
  const struct {
    float f;
    int whole;
    unsigned frac;
  } cases[] = {{171, 171, 0}, {-400, -400, 1}, {0.5f, 0, 32768}, {-0.5f, -1, 32769}};
  for (const auto& c : cases) {
    TW_FIX32 fix = UTwHelper::FloatToFix32(c.f);
    EXPECT_EQ(c.whole, fix.Whole) << c.f;
    EXPECT_EQ(c.frac, fix.Frac) << c.f;
  }
  EXPECT_FLOAT_EQ(2.5f, UTwHelper::Fix32ToFloat(TW_FIX32{2, 32768}));
}

}  // namespace
}  // namespace wxscan
