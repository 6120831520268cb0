// The glues' tables and call order, checked against a recording stand-in of the framework.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "prefs/LanguageTables.h"
#include "output/glue/GlueLanguages.h"
#include "output/glue/LibraryLoad.h"
#include "output/glue/jpegGlue.h"
#include "output/glue/pdfGlue.h"
#include "support/TestEnv.h"
#include "tests/output/glue/FakePaginor.h"
#include "toolbox/Files.h"
#include "toolbox/Folders.h"
#include "toolbox/RecordAccess.h"

namespace fs = std::filesystem;
using fakepaginor::CallsNamed;

namespace {

class GlueTables : public ::testing::Test {
 protected:
  void SetUp() override {
    fakepaginor::Reset();
    mSavedJ = IS_J;
    IS_J = 0;
    pdf_init();
  }
  void TearDown() override {
    unload_library();
    IS_J = mSavedJ;
  }
  static StPDFDialog Settings(uint32_t option, uint32_t item, uint32_t compression, uint32_t skew = 0,
                              uint32_t orientation = 0) {
    StPDFDialog s;
    BEPutU32(s.bytes.data() + 0, option);
    BEPutU32(s.bytes.data() + 12, item);
    BEPutU32(s.bytes.data() + 16, compression);
    BEPutU32(s.bytes.data() + 96, skew);
    BEPutU32(s.bytes.data() + 100, orientation);
    return s;
  }
  FSSpec Destination(const std::string& name) {
    FSSpec spec{};
    EXPECT_EQ(FSpMakeFromPOSIXPath((dir / name).string(), &spec), fnfErr);
    return spec;
  }
  std::vector<std::string> Listing() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path())) names.push_back(e.path().filename().string());
    return names;
  }
  wxtest::ScratchDir dir;
  int32_t mSavedJ = 0;
};

TEST_F(GlueTables, LanguageItemsGiveValueAndClassInEitherBuild) {
  struct Case {
    int32_t isJ;
    long item;
    uint32_t value;
    int32_t cls;
  } cases[] = {
      {0, 1, 2, 0},   {0, 2, 8, 0},    {0, 3, 16, 0},  {0, 4, 32, 0},  {0, 5, 64, 0},  {0, 6, 128, 0},
      {0, 7, 256, 0}, {0, 8, 8, 3},    {0, 9, 64, 1},  {0, 10, 16, 1}, {0, 11, 32, 1},
      {0, 0, 2, 0},   {0, 12, 2, 0},   {0, -1, 2, 0},  {0, 0x7FFFFFFF, 2, 0},  // outside: item 1
      {1, 1, 3, 0},   {1, 2, 2, 0},    {1, 0, 3, 0},   {1, 3, 3, 0},   {1, 11, 3, 0},
  };
  for (const Case& c : cases) {
    IS_J = c.isJ;
    const GlueLanguage got = GlueLanguageForItem(c.item);
    EXPECT_EQ(got.value, c.value) << "J " << c.isJ << " item " << c.item;
    EXPECT_EQ(got.codePageClass, c.cls) << "J " << c.isJ << " item " << c.item;
  }
  for (long code : {32L, 25L, 26L, 38L, 39L, 0L, -1L}) {
    const int32_t want = code == 32 ? 3 : (code == 25 || code == 26 || code == 38) ? 1 : 0;
    EXPECT_EQ(GlueCodePageClass(code), want) << code;
  }
}

TEST_F(GlueTables, PDFModeLanguageAndClassReachTheFramework) {
  struct Case {
    uint32_t option, item, compression;
    unsigned char small;
    long mode, value, cls;
  } cases[] = {
      {1, 1, 1, 0, 0, 2, 0},
      {1, 8, 2, 0, 2, 8, 3},                                     // high compression, Russian
      {1, 9, 2, 1, 23, 64, 1},                                   // a small page wins
      {0, 10, 1, 0, 0, static_cast<long>(0x80000000u | 16), 1},  // text option off: bit 31
      {1, 13, 1, 0, 0, 2, 0},                                    // outside the table: item 1
  };
  for (const Case& c : cases) {
    fakepaginor::Reset();
    const StPDFDialog s = Settings(c.option, c.item, c.compression);
    EXPECT_EQ(pdf_modeset(&s, c.small), 1);
    const auto calls = CallsNamed("exmodeset");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args, (std::vector<long>{c.mode, c.value, c.cls})) << "item " << c.item;
  }
}

TEST_F(GlueTables, JPEGModeAndLanguageReachTheFramework) {
  EXPECT_EQ(jpeg_modeset(8, 0), 1);
  EXPECT_EQ(jpeg_modeset(2, 1), 1);
  EXPECT_EQ(jpeg_modeset(0, 0), 1);
  IS_J = 1;
  EXPECT_EQ(jpeg_modeset(2, 0), 1);
  EXPECT_EQ(jpeg_modeset(5, 0), 1);
  const auto calls = CallsNamed("exmodeset");
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[0].args, (std::vector<long>{0, 8, 3}));
  EXPECT_EQ(calls[1].args, (std::vector<long>{23, 8, 0}));
  EXPECT_EQ(calls[2].args, (std::vector<long>{0, 2, 0}));
  EXPECT_EQ(calls[3].args, (std::vector<long>{0, 2, 0}));  // J item 2: English
  EXPECT_EQ(calls[4].args, (std::vector<long>{0, 3, 0}));  // outside the J table: item 1
}

TEST_F(GlueTables, OpenFlagsAndPathsWithoutTouchingTheFolder) {
  struct Case {
    uint32_t option, skew, orientation;
    long flags;
  } cases[] = {{0, 0, 0, 0}, {1, 0, 0, 1}, {1, 1, 0, 3}, {1, 1, 1, 7}, {0, 5, 2, 2}};
  FSSpec dest = Destination("Scan 0001.pdf");
  for (const Case& c : cases) {
    fakepaginor::Reset();
    const StPDFDialog s = Settings(c.option, 1, 1, c.skew, c.orientation);
    EXPECT_EQ(pdf_open(&dest, &s), 1);
    const auto opens = CallsNamed("exopen");
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].args, (std::vector<long>{c.flags, 0}));
    EXPECT_EQ(opens[0].path, (dir / "Scan 0001.pdf").string());
    // No frameworks folder beside the test program: an empty path.
    ASSERT_EQ(CallsNamed("changepath").size(), 1u);
    EXPECT_EQ(CallsNamed("changepath")[0].path, "");
  }
  fakepaginor::Reset();
  EXPECT_EQ(jpeg_open(&dest, 1, 1), 1);
  EXPECT_EQ(jpeg_open(&dest, 1, 0), 1);
  EXPECT_EQ(jpeg_open(&dest, 2, 1), 1);
  const auto opens = CallsNamed("exopen");
  ASSERT_EQ(opens.size(), 3u);
  EXPECT_EQ(opens[0].args[0], 6);
  EXPECT_EQ(opens[1].args[0], 2);
  EXPECT_EQ(opens[2].args[0], 4);
  EXPECT_TRUE(Listing().empty());
}

TEST_F(GlueTables, TheFrameworksFolderBesideTheProgramIsHandedOn) {
  fs::create_directories(dir / "Frameworks");
  FolderSetApplicationDir(dir.path().string());
  FSSpec dest = Destination("page.tif");
  EXPECT_EQ(jpeg_open(&dest, 0, 0), 1);
  FolderSetApplicationDir("");
  ASSERT_EQ(CallsNamed("changepath").size(), 1u);
  EXPECT_EQ(CallsNamed("changepath")[0].path, (dir / "Frameworks").string() + "/");
}

TEST_F(GlueTables, PageKindsBecomeImageTypes) {
  uint8_t pixels[8] = {};
  const struct {
    int32_t kind;
    long type;
    long result;
  } cases[] = {{1, 33, 1}, {2, 8, 1}, {3, 136, 1}, {4, 0, 0}, {0, 0, 0}};
  for (const auto& c : cases) {
    fakepaginor::Reset();
    tagRAWBITMAP page{pixels, 4, 1, 2, 300, c.kind};
    EXPECT_EQ(pdf_make(&page), c.result) << c.kind;
    ASSERT_EQ(fakepaginor::Get().pages.size(), 1u);
    const PATIMG& image = fakepaginor::Get().pages[0];
    EXPECT_EQ(image.type, c.type);
    EXPECT_EQ(image.data, pixels);
    EXPECT_EQ(image.rowBytes, 4);
    EXPECT_EQ(image.width, 1);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.xResolution, 300);
    EXPECT_EQ(image.yResolution, 300);
    EXPECT_EQ(image.reserved1, 0);
    EXPECT_EQ(image.reserved2, 0);
  }
  EXPECT_EQ(jpeg_make(nullptr), 1);
}

TEST_F(GlueTables, WithTheLibraryFlagClearNothingReachesTheFramework) {
  EXPECT_EQ(pdf_terminate(), 1);
  EXPECT_EQ(IsLibraryLoad(), 0u);
  EXPECT_EQ(pdf_terminate(), 0);
  EXPECT_EQ(jpeg_terminate(), 0);
  fakepaginor::Reset();
  const StPDFDialog s = Settings(1, 1, 1);
  FSSpec dest = Destination("x.pdf");
  uint8_t pixels[2] = {};
  tagRAWBITMAP page{pixels, 2, 1, 1, 300, 2};
  EXPECT_EQ(pdf_modeset(&s, 0), 0);
  EXPECT_EQ(pdf_open(&dest, &s), 0);
  EXPECT_EQ(pdf_make(&page), 0);
  EXPECT_EQ(pdf_close(), 0);
  EXPECT_EQ(jpeg_modeset(1, 0), 0);
  EXPECT_EQ(jpeg_open(&dest, 1, 1), 0);
  EXPECT_EQ(jpeg_close(), 0);
  EXPECT_TRUE(fakepaginor::Get().calls.empty());
  EXPECT_TRUE(Listing().empty());
  // Either glue loads the one shared flag.
  EXPECT_EQ(jpeg_init(), 1);
  EXPECT_EQ(IsLibraryLoad(), 1u);
  EXPECT_EQ(gLibraryLoaded, 1);
  EXPECT_EQ(jpeg_terminate(), 1);
  EXPECT_EQ(pdf_init(), 1);
  EXPECT_EQ(IsLibraryLoad(), 1u);
}

TEST_F(GlueTables, CloseAnswersTheFramework) {
  FSSpec dest = Destination("y.pdf");
  const StPDFDialog s = Settings(0, 1, 1);
  EXPECT_EQ(pdf_close(), 0);  // no job
  ASSERT_EQ(pdf_open(&dest, &s), 1);
  EXPECT_EQ(pdf_close(), 1);
  fakepaginor::Get().exopenResult = kPaginorSequenceErr;
  EXPECT_EQ(jpeg_open(&dest, 0, 0), 0);
  EXPECT_EQ(jpeg_close(), 0);
}

}  // namespace
