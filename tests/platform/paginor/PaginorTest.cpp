// Output jobs driven through the C calls: the PDFs they write (checked by qpdf and poppler),
// the order of calls they accept, bad page images, and full disks.
#include "paginor/Paginor.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "PageFixtures.h"
#include "paginor/PageEncoding.h"
#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace fs = std::filesystem;
using namespace paginortest;

namespace {

// A picture with pure red and blue patches (B, G, R order shows there), black bars and
// gradients.
std::array<uint8_t, 3> Patches(int x, int y) {
  if (x < 20 && y < 20) return {255, 0, 0};
  if (x >= 20 && x < 40 && y < 20) return {0, 0, 255};
  if (y > 30 && (x / 8) % 4 == 0) return {0, 0, 0};
  return {uint8_t(255 - x % 200), uint8_t(128 + y % 100), uint8_t(64 + (x + y) % 128)};
}

// The page's pixels as pdfimages extracts them, as a page of `type`.
TestPage ExtractImage(const fs::path& pdf, int page, int32_t type) {
  const fs::path root = pdf.parent_path() / "extracted";
  std::ostringstream command;
  command << "pdfimages -f " << page << " -l " << page << " '" << pdf.string() << "' '" << root.string() << "'";
  EXPECT_EQ(wxtest::Run(command.str()), 0);
  for (const char* ext : {".pbm", ".pgm", ".ppm"}) {
    const fs::path file = root.string() + "-000" + ext;
    if (!fs::exists(file)) continue;
    TestPage read = ReadPNM(file, 72);
    fs::remove(file);
    if (type != kPATIMGGrey || read.image.type != kPATIMGColour) return read;
    // pdfimages writes grey pictures as P6.
    return MakePage(kPATIMGGrey, read.image.width, read.image.height, 72, 0, [&](int x, int y) {
      const uint8_t v = read.image.data[y * read.image.rowBytes + 3 * x];
      return std::array<uint8_t, 3>{v, v, v};
    });
  }
  ADD_FAILURE() << "pdfimages wrote no image for page " << page;
  return {};
}

// Peak signal-to-noise ratio of two pages of one type (padding left out).
double PSNR(const PATIMG& a, const PATIMG& b) {
  const int length = a.type == kPATIMGColour ? 3 * a.width : a.width;
  double sum = 0;
  for (int y = 0; y < a.height; ++y)
    for (int i = 0; i < length; ++i) {
      const double d = double(a.data[y * a.rowBytes + i]) - b.data[y * b.rowBytes + i];
      sum += d * d;
    }
  const double mse = sum / (double(length) * a.height);
  return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

bool SameRows(const PATIMG& a, const PATIMG& b) {
  if (a.width != b.width || a.height != b.height || a.type != b.type) return false;
  const int length = a.type == kPATIMGBilevel ? (a.width + 7) / 8 : a.type == kPATIMGGrey ? a.width : 3 * a.width;
  for (int y = 0; y < a.height; ++y)
    if (std::memcmp(a.data + y * a.rowBytes, b.data + y * b.rowBytes, length) != 0) return false;
  return true;
}

class Paginor : public ::testing::Test {
 protected:
  void TearDown() override {
    while (QSRC_close() != kPaginorSequenceErr) {
    }
    PaginorSetJPEGEncoder(nullptr);
    FSTestSetWriteLimit(-1);
  }
  // Writes `pages` with the given mode and open flags; the status of the first failing call.
  OSErr WritePDF(const fs::path& pdf, const std::vector<TestPage>& pages, SInt32 mode = kPaginorModeNormal) {
    QSRC_exmodeset(mode, kPaginorLanguageOff | 2, 0);
    QSRC_changepath("");
    OSErr err = QSRC_exopen(pdf.c_str(), 0, 0);
    if (err != noErr) return err;
    for (const TestPage& page : pages)
      if ((err = QSRC_spmake(&page.image, 0)) != noErr) break;
    const OSErr closed = QSRC_close();
    return err != noErr ? err : closed;
  }
  wxtest::ScratchDir dir;
};

struct OutputCase {
  int32_t type;
  SInt32 mode;
  int pages;
  bool encoder;
};

class PaginorOutput : public Paginor, public ::testing::WithParamInterface<OutputCase> {};

TEST_P(PaginorOutput, WritesOneImagePerPageAtTheScansResolution) {
  WX_REQUIRE_TOOL("pdfimages");
  WX_REQUIRE_TOOL("qpdf");
  const OutputCase c = GetParam();
  if (c.encoder) PaginorSetJPEGEncoder(TestJPEGEncoder);
  std::vector<TestPage> pages;
  for (int i = 0; i < c.pages; ++i)
    pages.push_back(MakePage(c.type, 181 + 2 * i, 97 + i, 150 + 50 * (i % 2), 1, Patches));
  const fs::path pdf = dir / "out.pdf";
  ASSERT_EQ(WritePDF(pdf, pages, c.mode), noErr);

  EXPECT_TRUE(QpdfCheck(pdf));
  const auto sizes = PageSizes(pdf);
  const auto images = ListImages(pdf);
  ASSERT_EQ(sizes.size(), size_t(c.pages));
  ASSERT_EQ(images.size(), size_t(c.pages));
  const bool dct = c.encoder && c.type != kPATIMGBilevel;
  for (int i = 0; i < c.pages; ++i) {
    const PATIMG& in = pages[i].image;
    EXPECT_NEAR(sizes[i][0], in.width * 72.0 / in.xResolution, 0.01);
    EXPECT_NEAR(sizes[i][1], in.height * 72.0 / in.yResolution, 0.01);
    EXPECT_EQ(images[i].page, i + 1);
    EXPECT_EQ(images[i].width, in.width);
    EXPECT_EQ(images[i].height, in.height);
    EXPECT_EQ(images[i].colour, c.type == kPATIMGColour ? "rgb" : "gray");
    EXPECT_EQ(images[i].bpc, c.type == kPATIMGBilevel ? 1 : 8);
    EXPECT_EQ(images[i].encoding, dct ? "jpeg" : "image");
    EXPECT_EQ(images[i].xppi, in.xResolution);
    EXPECT_EQ(images[i].yppi, in.yResolution);

    const TestPage out = ExtractImage(pdf, i + 1, c.type);
    if (c.type == kPATIMGBilevel) {
      // pdfimages writes the stored bits; 1 = black either way.
      EXPECT_TRUE(SameRows(out.image, in));
    } else if (!dct) {
      EXPECT_TRUE(SameRows(out.image, in));
    } else {
      ASSERT_EQ(out.image.width, in.width);
      EXPECT_GT(PSNR(out.image, in), c.mode == kPaginorModeHighCompression ? 20.0 : 26.0);
    }
    if (c.type == kPATIMGColour) {
      const uint8_t* red = out.image.data + 5 * out.image.rowBytes + 15;
      const uint8_t* blue = out.image.data + 5 * out.image.rowBytes + 3 * 30;
      EXPECT_GT(red[2], 200) << "red patch";
      EXPECT_LT(red[0], 60);
      EXPECT_GT(blue[0], 200) << "blue patch";
      EXPECT_LT(blue[2], 60);
    }
  }
  if (GetParam().pages == 2) fs::copy_file(pdf, wxtest::OutputDir("paginor") / ("type" + std::to_string(c.type) + "-mode" + std::to_string(c.mode) + (c.encoder ? "-dct" : "-flate") + ".pdf"), fs::copy_options::overwrite_existing);
}

std::vector<OutputCase> OutputCases() {
  std::vector<OutputCase> cases;
  for (int32_t type : {kPATIMGBilevel, kPATIMGGrey, kPATIMGColour})
    for (SInt32 mode : {kPaginorModeNormal, kPaginorModeHighCompression, kPaginorModeSmallPage})
      for (int pages : {1, 2, 5}) cases.push_back({type, mode, pages, true});
  for (int32_t type : {kPATIMGBilevel, kPATIMGGrey, kPATIMGColour}) cases.push_back({type, kPaginorModeNormal, 2, false});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Table, PaginorOutput, ::testing::ValuesIn(OutputCases()),
                         [](const auto& info) {
                           const OutputCase& c = info.param;
                           return "Type" + std::to_string(c.type) + "Mode" + std::to_string(c.mode) + "Pages" +
                                  std::to_string(c.pages) + (c.encoder ? "Dct" : "Flate");
                         });

TEST_F(Paginor, HighCompressionHalvesAColourPage) {
  PaginorSetJPEGEncoder(TestJPEGEncoder);
  const TestPage page = MakePage(kPATIMGColour, 600, 400, 200, 0, [](int x, int y) {
    return std::array<uint8_t, 3>{uint8_t(x * 7 ^ y * 3), uint8_t(x + y), uint8_t((x * y) >> 3)};
  });
  ASSERT_EQ(WritePDF(dir / "normal.pdf", {page}, kPaginorModeNormal), noErr);
  ASSERT_EQ(WritePDF(dir / "high.pdf", {page}, kPaginorModeHighCompression), noErr);
  EXPECT_LE(double(fs::file_size(dir / "high.pdf")), 0.55 * double(fs::file_size(dir / "normal.pdf")));
  EXPECT_GE(PageJPEGQuality(kPaginorModeNormal), 75);
  EXPECT_GE(PageJPEGQuality(kPaginorModeSmallPage), 75);
}

TestPage SmallPage(int32_t type = kPATIMGGrey) { return MakePage(type, 61, 40, 100, 1, Patches); }

TEST_F(Paginor, CallsOutOfSequenceFailAndChangeNothing) {
  const TestPage page = SmallPage();
  EXPECT_EQ(QSRC_spmake(&page.image, 0), kPaginorSequenceErr);
  EXPECT_EQ(QSRC_close(), kPaginorSequenceErr);
  ASSERT_EQ(QSRC_exopen((dir / "a.pdf").c_str(), 0, 0), noErr);
  EXPECT_EQ(QSRC_exopen((dir / "b.pdf").c_str(), 0, 0), kPaginorSequenceErr);
  EXPECT_EQ(QSRC_spmake(&page.image, 0), noErr);
  EXPECT_EQ(QSRC_close(), noErr);
  EXPECT_EQ(QSRC_close(), kPaginorSequenceErr);
  EXPECT_TRUE(QpdfCheck(dir / "a.pdf"));
  EXPECT_FALSE(fs::exists(dir / "b.pdf"));
  EXPECT_EQ(QSRC_exopen((dir / "missing" / "c.pdf").c_str(), 0, 0), kPaginorFolderErr);
  EXPECT_EQ(QSRC_close(), kPaginorSequenceErr);
}

TEST_F(Paginor, AJobWithoutPagesNeverTouchesItsPath) {
  const fs::path written = dir / "page.jpg";
  ASSERT_EQ(QSRC_exopen(written.c_str(), kPaginorFlagSkew, 0), noErr);
  // The JPEG output writes its own file while the job is open.
  wxtest::WriteBytes(written, {1, 2, 3});
  struct stat before;
  ASSERT_EQ(stat(written.c_str(), &before), 0);
  EXPECT_EQ(QSRC_close(), noErr);
  struct stat after;
  ASSERT_EQ(stat(written.c_str(), &after), 0);
  EXPECT_EQ(wxtest::ReadBytes(written), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(after.st_ino, before.st_ino);
  ASSERT_EQ(QSRC_exopen((dir / "none.pdf").c_str(), 0, 0), noErr);
  EXPECT_EQ(QSRC_close(), noErr);
  EXPECT_FALSE(fs::exists(dir / "none.pdf"));
}

TEST_F(Paginor, TheFirstPageCreatesTheFileButNeverOverAnother) {
  const TestPage page = SmallPage();
  ASSERT_EQ(QSRC_exopen((dir / "new.pdf").c_str(), 0, 0), noErr);
  EXPECT_FALSE(fs::exists(dir / "new.pdf"));
  ASSERT_EQ(QSRC_spmake(&page.image, 0), noErr);
  EXPECT_FALSE(fs::exists(dir / "new.pdf")) << "the name is taken at the close";
  EXPECT_EQ(QSRC_close(), noErr);
  EXPECT_TRUE(fs::exists(dir / "new.pdf"));

  wxtest::WriteBytes(dir / "taken.pdf", {9, 9});
  ASSERT_EQ(QSRC_exopen((dir / "taken.pdf").c_str(), 0, 0), noErr);
  EXPECT_EQ(QSRC_spmake(&page.image, 0), dupFNErr);
  EXPECT_EQ(QSRC_close(), noErr);
  EXPECT_EQ(wxtest::ReadBytes(dir / "taken.pdf"), (std::vector<uint8_t>{9, 9}));
}

TEST_F(Paginor, BadPageImagesAreRefusedWithoutEffect) {
  const TestPage good = SmallPage(kPATIMGColour);
  std::vector<PATIMG> bad;
  auto with = [&](auto change) {
    PATIMG image = good.image;
    change(image);
    bad.push_back(image);
  };
  with([](PATIMG& i) { i.type = 0; });
  with([](PATIMG& i) { i.type = 24; });
  with([](PATIMG& i) { i.data = nullptr; });
  with([](PATIMG& i) { i.rowBytes = 3 * i.width - 1; });
  with([](PATIMG& i) { i.width = 0; });
  with([](PATIMG& i) { i.height = 0; });
  with([](PATIMG& i) { i.height = -4; });
  with([](PATIMG& i) { i.xResolution = 0; });
  with([](PATIMG& i) { i.yResolution = 0; });
  ASSERT_EQ(QSRC_exopen((dir / "bad.pdf").c_str(), 0, 0), noErr);
  EXPECT_EQ(QSRC_spmake(nullptr, 0), kPaginorBadImageErr);
  for (const PATIMG& image : bad) {
    EXPECT_EQ(QSRC_spmake(&image, 0), kPaginorBadImageErr);
    SInt32 orientation = 0;
    double skew = 0;
    EXPECT_EQ(QSRD_spdetect(&image, &orientation, &skew), kPaginorBadImageErr);
    PATIMG result{};
    EXPECT_EQ(QSRF_spcorrect(&image, &result, 0, 0.0), kPaginorBadImageErr);
    EXPECT_EQ(result.data, nullptr);
  }
  EXPECT_FALSE(fs::exists(dir / "bad.pdf"));
  EXPECT_EQ(QSRC_spmake(&good.image, 0), noErr);
  EXPECT_EQ(QSRC_close(), noErr);
  EXPECT_EQ(PageSizes(dir / "bad.pdf").size(), 1u);
}

TEST_F(Paginor, ACorrectionJobLeavesTheOpenOutputJobAlone) {
  PaginorSetJPEGEncoder(TestJPEGEncoder);
  const TestPage page = SmallPage(kPATIMGColour);
  ASSERT_EQ(WritePDF(dir / "reference.pdf", {page, page}, kPaginorModeHighCompression), noErr);

  QSRC_exmodeset(kPaginorModeHighCompression, kPaginorLanguageOff | 2, 0);
  ASSERT_EQ(QSRC_exopen((dir / "mixed.pdf").c_str(), 0, 0), noErr);
  ASSERT_EQ(QSRC_spmake(&page.image, 0), noErr);
  // A correction job in the middle, with its own mode.
  EXPECT_EQ(QSRC_exmodeset(kPaginorModeNormal, 3, 0), noErr);
  ASSERT_EQ(QSRC_exopen(nullptr, kPaginorFlagSkew, 0), noErr);
  double skew = 1;
  EXPECT_GE(QSRD_spdetect(&page.image, nullptr, &skew), 0);
  PATIMG corrected{};
  EXPECT_EQ(QSRF_spcorrect(&page.image, &corrected, 0, skew), noErr);
  EXPECT_EQ(QSRF_spfreeimage(&corrected), noErr);
  EXPECT_EQ(QSRC_close(), noErr);
  // The output job is still open, in its own mode.
  ASSERT_EQ(QSRC_spmake(&page.image, 0), noErr);
  EXPECT_EQ(QSRC_close(), noErr);
  EXPECT_EQ(QSRC_close(), kPaginorSequenceErr);
  EXPECT_EQ(wxtest::ReadBytes(dir / "mixed.pdf"), wxtest::ReadBytes(dir / "reference.pdf"));
}

TEST_F(Paginor, ModeSetAppliesToTheNextJobOnly) {
  PaginorSetJPEGEncoder(TestJPEGEncoder);
  const TestPage page = SmallPage(kPATIMGColour);
  ASSERT_EQ(WritePDF(dir / "normal.pdf", {page}, kPaginorModeNormal), noErr);
  QSRC_exmodeset(kPaginorModeHighCompression, kPaginorLanguageOff, 0);
  ASSERT_EQ(QSRC_exopen(nullptr, 0, 0), noErr);
  ASSERT_EQ(QSRC_close(), noErr);
  // The high-compression mode went to the correction job.
  ASSERT_EQ(QSRC_exopen((dir / "next.pdf").c_str(), 0, 0), noErr);
  ASSERT_EQ(QSRC_spmake(&page.image, 0), noErr);
  ASSERT_EQ(QSRC_close(), noErr);
  EXPECT_EQ(wxtest::ReadBytes(dir / "next.pdf"), wxtest::ReadBytes(dir / "normal.pdf"));
}

OSErr OutOfMemoryEncoder(const UInt8*, SInt32, SInt32, SInt32, SInt32, SInt32, UInt8**, size_t*) {
  return memFullErr;
}
OSErr EmptyEncoder(const UInt8*, SInt32, SInt32, SInt32, SInt32, SInt32, UInt8** jpeg, size_t* length) {
  *jpeg = nullptr;
  *length = 0;
  return noErr;
}

// Where the page the encoder was handed lay.
const UInt8* gEncoded = nullptr;
SInt32 gEncodedRowBytes = 0;
OSErr NotingEncoder(const UInt8* pixels, SInt32 width, SInt32 height, SInt32 rowBytes, SInt32 components,
                    SInt32 quality, UInt8** jpeg, size_t* length) {
  gEncoded = pixels;
  gEncodedRowBytes = rowBytes;
  return TestJPEGEncoder(pixels, width, height, rowBytes, components, quality, jpeg, length);
}

// A grey or colour page goes to the encoder as it lies, with no copy of the page made first.
TEST_F(Paginor, TheEncoderReadsThePageWhereItLies) {
  for (SInt32 type : {kPATIMGGrey, kPATIMGColour}) {
    const TestPage page = SmallPage(type);
    gEncoded = nullptr;
    PaginorSetJPEGEncoder(NotingEncoder);
    ASSERT_EQ(QSRC_exopen((dir / ("page" + std::to_string(type) + ".pdf")).c_str(), 0, 0), noErr);
    EXPECT_EQ(QSRC_spmake(&page.image, 0), noErr);
    EXPECT_EQ(QSRC_close(), noErr);
    PaginorSetJPEGEncoder(TestJPEGEncoder);
    EXPECT_EQ(gEncoded, page.image.data) << type;
    EXPECT_EQ(gEncodedRowBytes, page.image.rowBytes) << type;
  }
}

// Whether the process has the library whose file name starts with `name` mapped.
bool Loaded(const std::string& name) {
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);)
    if (line.find("/" + name) != std::string::npos) return true;
  return false;
}

TEST_F(Paginor, TheEnginesAreLoadedOnlyWhenAJobNeedsThem) {
  // A fresh process: a library once loaded stays.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const TestPage page = SmallPage(kPATIMGColour);
        const bool plain = QSRC_exopen((dir / "plain.pdf").c_str(), 0, 0) == noErr &&
                           QSRC_spmake(&page.image, 0) == noErr && QSRC_close() == noErr;
        const bool without = !Loaded("liblept") && !Loaded("libtesseract");
        const bool skew = QSRC_exopen(nullptr, kPaginorFlagSkew, 0) == noErr && QSRC_close() == noErr;
        const bool leptonicaOnly = Loaded("liblept") && !Loaded("libtesseract");
        QSRC_exmodeset(kPaginorModeNormal, 2, 0);
        const bool text = QSRC_exopen((dir / "text.pdf").c_str(), kPaginorFlagText, 0) == noErr &&
                          QSRC_spmake(&page.image, 0) == noErr && QSRC_close() == noErr;
        std::exit(plain && without && skew && leptonicaOnly && text && Loaded("libtesseract") ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// The text engine recognises a page on one thread unless the user set a limit of their own.
TEST_F(Paginor, TextIsRecognisedOnOneThread) {
  // A fresh process: the thread limit is read once, when the engine's OpenMP library loads.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto limitAfterATextPage = [this](const char* userLimit) {
    if (userLimit) setenv("OMP_THREAD_LIMIT", userLimit, 1);
    else unsetenv("OMP_THREAD_LIMIT");
    const TestPage page = SmallPage(kPATIMGColour);
    QSRC_exmodeset(kPaginorModeNormal, 2, 0);
    if (QSRC_exopen((dir / "text.pdf").c_str(), kPaginorFlagText, 0) != noErr || QSRC_spmake(&page.image, 0) != noErr ||
        QSRC_close() != noErr)
      return -1;
    void* omp = dlopen("libgomp.so.1", RTLD_LAZY | RTLD_NOLOAD);
    auto* limit = omp ? reinterpret_cast<int (*)()>(dlsym(omp, "omp_get_thread_limit")) : nullptr;
    return limit ? limit() : -1;
  };
  EXPECT_EXIT(std::exit(limitAfterATextPage(nullptr) == 1 ? 0 : 1), ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(std::exit(limitAfterATextPage("3") == 3 ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

TEST_F(Paginor, AnEncoderFailureFailsThePageOnly) {
  const TestPage page = SmallPage(kPATIMGColour);
  const fs::path pdf = dir / "encoded.pdf";
  ASSERT_EQ(QSRC_exopen(pdf.c_str(), 0, 0), noErr);
  PaginorSetJPEGEncoder(OutOfMemoryEncoder);
  EXPECT_EQ(QSRC_spmake(&page.image, 0), memFullErr);
  PaginorSetJPEGEncoder(EmptyEncoder);
  EXPECT_EQ(QSRC_spmake(&page.image, 0), kPaginorEngineErr);
  EXPECT_FALSE(fs::exists(pdf));
  PaginorSetJPEGEncoder(TestJPEGEncoder);
  EXPECT_EQ(QSRC_spmake(&page.image, 0), noErr);
  EXPECT_EQ(QSRC_close(), noErr);
  EXPECT_EQ(PageSizes(pdf).size(), 1u);
  EXPECT_EQ(ListImages(pdf).at(0).encoding, "jpeg");
}

enum class FailAt { FirstPage, LaterPage, Close };

class PaginorFullDisk : public Paginor, public ::testing::WithParamInterface<FailAt> {};

TEST_P(PaginorFullDisk, LeavesNoFileWithATrailerAndTheNextJobWorks) {
  const TestPage page = SmallPage(kPATIMGColour);
  const fs::path pdf = dir / "full.pdf";
  ASSERT_EQ(QSRC_exopen(pdf.c_str(), 0, 0), noErr);
  switch (GetParam()) {
    case FailAt::FirstPage:
      FSTestSetWriteLimit(100);
      EXPECT_EQ(QSRC_spmake(&page.image, 0), dskFulErr);
      EXPECT_FALSE(fs::exists(pdf));
      FSTestSetWriteLimit(-1);
      EXPECT_EQ(QSRC_close(), noErr);
      EXPECT_FALSE(fs::exists(pdf));
      break;
    case FailAt::LaterPage: {
      ASSERT_EQ(QSRC_spmake(&page.image, 0), noErr);
      const auto before = wxtest::ReadBytes(pdf);
      FSTestSetWriteLimit(100);
      EXPECT_EQ(QSRC_spmake(&page.image, 0), dskFulErr);
      FSTestSetWriteLimit(-1);
      EXPECT_EQ(wxtest::ReadBytes(pdf), before);
      EXPECT_EQ(QSRC_close(), noErr);
      EXPECT_TRUE(QpdfCheck(pdf));
      EXPECT_EQ(PageSizes(pdf).size(), 1u);
      break;
    }
    case FailAt::Close:
      ASSERT_EQ(QSRC_spmake(&page.image, 0), noErr);
      ASSERT_EQ(QSRC_spmake(&page.image, 0), noErr);
      FSTestSetWriteLimit(50);
      EXPECT_EQ(QSRC_close(), dskFulErr);
      FSTestSetWriteLimit(-1);
      EXPECT_FALSE(fs::exists(pdf));
      EXPECT_EQ(QSRC_close(), kPaginorSequenceErr);
      break;
  }
  fs::remove(pdf);
  ASSERT_EQ(WritePDF(pdf, {page, page}), noErr);
  EXPECT_TRUE(QpdfCheck(pdf));
  EXPECT_EQ(PageSizes(pdf).size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Faults, PaginorFullDisk, ::testing::Values(FailAt::FirstPage, FailAt::LaterPage, FailAt::Close),
                         [](const auto& info) {
                           return info.param == FailAt::FirstPage   ? std::string("FirstPage")
                                  : info.param == FailAt::LaterPage ? std::string("LaterPage")
                                                                    : std::string("Close");
                         });

}  // namespace
