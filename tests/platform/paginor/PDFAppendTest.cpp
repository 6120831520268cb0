// Append jobs over qpdf: real PDFs from Debian packages get two pages written by the PDF
// writer; damaged ones are recovered; encrypted, unreadable and missing ones are refused;
// a failure never leaves the target changed.
#include "paginor/Paginor.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <set>

#include "PageFixtures.h"
#include "support/TestEnv.h"
#include "toolbox/FilePaths.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace fs = std::filesystem;
using namespace paginortest;

namespace {

const char kLcmsManual[] = "/usr/share/doc/liblcms2-dev/LittleCMS2.14 API.pdf.gz";
const char kMieSpecification[] = "/usr/share/doc/libimage-exiftool-perl/html/MIE1.1-20070121.pdf";

class PDFAppend : public ::testing::Test {
 protected:
  void SetUp() override {
    // The two pages to append, written by the PDF writer.
    const TestPage grey = MakePage(kPATIMGGrey, 121, 80, 100, 1, [](int x, int y) {
      return std::array<uint8_t, 3>{uint8_t(2 * x), uint8_t(y), 0};
    });
    const TestPage bilevel = MakePage(kPATIMGBilevel, 90, 61, 150, 0, [](int x, int y) {
      return std::array<uint8_t, 3>{uint8_t((x / 5 + y / 5) % 2 ? 255 : 0), 0, 0};
    });
    ASSERT_EQ(QSRC_exopen(added.c_str(), 0, 0), noErr);
    ASSERT_EQ(QSRC_spmake(&grey.image, 0), noErr);
    ASSERT_EQ(QSRC_spmake(&bilevel.image, 0), noErr);
    ASSERT_EQ(QSRC_close(), noErr);
  }
  void TearDown() override { FSTestSetReadLimit(-1), FSTestSetWriteLimit(-1); }

  // Appends the two pages to `target`; the first failing status.
  OSErr Append(const fs::path& target, const fs::path& source) {
    UInt32 handle = 0;
    OSErr err = VESK_open(target.c_str(), 0, &handle);
    if (err != noErr) return err;
    EXPECT_NE(handle, 0u);
    err = VESK_addPDF(handle, source.c_str());
    const OSErr closed = VESK_close(&handle);
    EXPECT_EQ(handle, 0u);
    return err != noErr ? err : closed;
  }
  // The folder holds only the names given.
  void ExpectOnly(const std::set<std::string>& names) {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir.path())) found.insert(entry.path().filename().string());
    EXPECT_EQ(found, names);
  }

  wxtest::ScratchDir dir;
  const fs::path added = dir / "added.pdf";
};

struct PackageCase {
  const char* name;
  const char* file;
  bool gzipped;
};

class PDFAppendPackages : public PDFAppend, public ::testing::WithParamInterface<PackageCase> {};

TEST_P(PDFAppendPackages, TwoPagesFollowTheOriginalPages) {
  WX_REQUIRE_TOOL("qpdf");
  WX_REQUIRE_TOOL("pdftoppm");
  const PackageCase c = GetParam();
  if (!fs::exists(c.file)) GTEST_SKIP() << c.file << " is missing (scripts/setup installs its package)";
  const auto packageBefore = wxtest::ReadBytes(c.file);
  const fs::path original = dir / "original.pdf", target = dir / "target.pdf";
  ASSERT_EQ(wxtest::Run(std::string(c.gzipped ? "gzip -dc '" : "cat '") + c.file + "' > '" + original.string() + "'"), 0);
  fs::copy_file(original, target);
  const size_t pagesBefore = PageSizes(original).size();
  ASSERT_GT(pagesBefore, 0u);
  uint8_t info[kFinderInfoSize] = {'P', 'D', 'F', ' ', 'p', 'r', 'v', 'w'};
  ASSERT_EQ(FpSetFinderInfo(target.string(), info), noErr);
  chmod(target.c_str(), 0640);

  ASSERT_EQ(Append(target, added), noErr);
  EXPECT_TRUE(QpdfCheck(target));
  const auto sizes = PageSizes(target);
  ASSERT_EQ(sizes.size(), pagesBefore + 2);
  EXPECT_NEAR(sizes[pagesBefore][0], 121 * 72.0 / 100, 0.01);
  EXPECT_NEAR(sizes[pagesBefore + 1][1], 61 * 72.0 / 150, 0.01);
  // The old pages first, unchanged.
  std::vector<uint8_t> before, after;
  int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
  ASSERT_TRUE(RenderPDFPage(original, 1, 30, &before, &w1, &h1));
  ASSERT_TRUE(RenderPDFPage(target, 1, 30, &after, &w2, &h2));
  EXPECT_TRUE(before == after && w1 == w2 && h1 == h2);
  const auto images = ListImages(target);
  ASSERT_GE(images.size(), 2u);
  const ListedImage& grey = images[images.size() - 2];
  const ListedImage& bilevel = images.back();
  EXPECT_EQ(grey.page, int(pagesBefore) + 1);
  EXPECT_EQ(grey.width, 121);
  EXPECT_EQ(grey.colour, "gray");
  EXPECT_EQ(grey.xppi, 100);
  EXPECT_EQ(bilevel.page, int(pagesBefore) + 2);
  EXPECT_EQ(bilevel.bpc, 1);
  EXPECT_EQ(bilevel.yppi, 150);
  // Finder info and permissions stay; nothing else is left in the folder.
  uint8_t kept[kFinderInfoSize];
  FpGetFinderInfo(target.string(), kept);
  EXPECT_EQ(std::memcmp(kept, info, kFinderInfoSize), 0);
  struct stat st;
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  ExpectOnly({"added.pdf", "original.pdf", "target.pdf"});
  EXPECT_EQ(wxtest::ReadBytes(c.file), packageBefore);
  fs::copy_file(target, wxtest::OutputDir("paginor") / (std::string("appended-") + c.name + ".pdf"),
                fs::copy_options::overwrite_existing);
}

INSTANTIATE_TEST_SUITE_P(Debian, PDFAppendPackages,
                         ::testing::Values(PackageCase{"lcms", kLcmsManual, true},
                                           PackageCase{"mie", kMieSpecification, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PDFAppend, OpenAndCloseLeaveTheFileAsItWas) {
  const fs::path target = dir / "target.pdf";
  fs::copy_file(added, target);
  struct stat before;
  ASSERT_EQ(stat(target.c_str(), &before), 0);
  UInt32 handle = 0;
  ASSERT_EQ(VESK_open(target.c_str(), 0, &handle), noErr);
  EXPECT_EQ(VESK_close(&handle), noErr);
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(VESK_close(&handle), kPaginorBadHandleErr);
  EXPECT_EQ(VESK_addPDF(handle, added.c_str()), kPaginorBadHandleErr);
  struct stat after;
  ASSERT_EQ(stat(target.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(wxtest::ReadBytes(target), wxtest::ReadBytes(added));
}

TEST_F(PDFAppend, FilesItCannotAppendToAreRefused) {
  WX_REQUIRE_TOOL("qpdf");
  const fs::path userPassword = dir / "user.pdf", ownerOnly = dir / "owner.pdf", garbage = dir / "garbage.pdf";
  ASSERT_EQ(wxtest::Run("qpdf --encrypt secret secret 256 -- '" + added.string() + "' '" + userPassword.string() + "'"), 0);
  ASSERT_EQ(wxtest::Run("qpdf --encrypt '' owner 256 -- '" + added.string() + "' '" + ownerOnly.string() + "'"), 0);
  wxtest::WriteBytes(garbage, std::vector<uint8_t>(3000, 0x5A));
  struct Row {
    fs::path path;
    OSErr expected;
  };
  for (const Row& row : {Row{userPassword, kPaginorCannotAppendErr}, Row{ownerOnly, kPaginorCannotAppendErr},
                         Row{garbage, kPaginorCannotAppendErr}, Row{dir / "missing.pdf", fnfErr},
                         Row{dir.path(), ioErr}}) {
    const auto bytes = fs::is_regular_file(row.path) ? wxtest::ReadBytes(row.path) : std::vector<uint8_t>{};
    UInt32 handle = 7;
    EXPECT_EQ(VESK_open(row.path.c_str(), 0, &handle), row.expected) << row.path;
    EXPECT_EQ(handle, 0u);
    if (fs::is_regular_file(row.path)) {
      EXPECT_EQ(wxtest::ReadBytes(row.path), bytes);
    }
  }
  // A read that fails part way is a read error.
  FSTestSetReadLimit(100);
  UInt32 handle = 0;
  EXPECT_EQ(VESK_open(added.c_str(), 0, &handle), ioErr);
}

TEST_F(PDFAppend, AFileWithoutAPDFHeaderIsRefusedUnread) {
  // Far more than the header is there to read: reading it is what the refusal must not do.
  const fs::path big = dir / "big.pdf";
  wxtest::WriteBytes(big, std::vector<uint8_t>(1 << 20, 0x5A));
  FSTestSetReadLimit(4096);
  UInt32 handle = 7;
  EXPECT_EQ(VESK_open(big.c_str(), 0, &handle), kPaginorCannotAppendErr);
  EXPECT_EQ(handle, 0u);
}

TEST_F(PDFAppend, DamagedFilesQpdfRecoversAreAppendedTo) {
  WX_REQUIRE_TOOL("qpdf");
  const auto whole = wxtest::ReadBytes(added);
  const std::string text(whole.begin(), whole.end());
  // The cross-reference table at the wrong offset.
  std::string brokenOffset = text;
  const size_t start = brokenOffset.rfind("startxref\n") + 10;
  brokenOffset.replace(start, brokenOffset.find('\n', start) - start, "17");
  // Every object moved, so no entry of the table points at its object.
  std::string shifted = text;
  shifted.insert(shifted.find('\n') + 1, "% inserted line\n");
  int n = 0;
  for (const std::string& damaged : {brokenOffset, shifted}) {
    const fs::path target = dir / ("damaged" + std::to_string(n++) + ".pdf");
    wxtest::WriteBytes(target, std::vector<uint8_t>(damaged.begin(), damaged.end()));
    EXPECT_FALSE(QpdfCheck(target)) << target;
    ASSERT_EQ(Append(target, added), noErr) << target;
    EXPECT_TRUE(QpdfCheck(target)) << target;
    EXPECT_EQ(PageSizes(target).size(), 4u) << target;
  }
}

TEST_F(PDFAppend, ACopyCutAfterItsLastPageHasNoTrailerToRecoverFrom) {
  WX_REQUIRE_TOOL("qpdf");
  if (!fs::exists(kMieSpecification)) GTEST_SKIP() << kMieSpecification << " is missing";
  const auto whole = wxtest::ReadBytes(kMieSpecification);
  const std::string text(whole.begin(), whole.end());
  const size_t lastPage = text.rfind("/Type /Page");
  ASSERT_NE(lastPage, std::string::npos);
  const std::string cut = text.substr(0, text.find("endobj", lastPage) + 7);
  const fs::path target = dir / "cut.pdf";
  wxtest::WriteBytes(target, std::vector<uint8_t>(cut.begin(), cut.end()));
  EXPECT_EQ(Append(target, added), kPaginorCannotAppendErr);
  EXPECT_EQ(wxtest::ReadBytes(target), std::vector<uint8_t>(cut.begin(), cut.end()));
}

TEST_F(PDFAppend, AFailedAddOrWriteLeavesTheTargetAsItWas) {
  const fs::path target = dir / "target.pdf", garbage = dir / "garbage.pdf";
  fs::copy_file(added, target);
  wxtest::WriteBytes(garbage, {'%', 'P', 'D', 'F'});
  const auto before = wxtest::ReadBytes(target);

  UInt32 handle = 0;
  ASSERT_EQ(VESK_open(target.c_str(), 0, &handle), noErr);
  EXPECT_EQ(VESK_addPDF(handle, added.c_str()), noErr);
  EXPECT_EQ(VESK_addPDF(handle, garbage.c_str()), kPaginorCannotAppendErr);
  EXPECT_EQ(VESK_close(&handle), noErr);
  EXPECT_EQ(wxtest::ReadBytes(target), before);

  ASSERT_EQ(VESK_open(target.c_str(), 0, &handle), noErr);
  EXPECT_EQ(VESK_addPDF(handle, (dir / "missing.pdf").c_str()), fnfErr);
  EXPECT_EQ(VESK_close(&handle), noErr);
  EXPECT_EQ(wxtest::ReadBytes(target), before);

  ASSERT_EQ(VESK_open(target.c_str(), 0, &handle), noErr);
  EXPECT_EQ(VESK_addPDF(handle, added.c_str()), noErr);
  FSTestSetWriteLimit(500);
  EXPECT_EQ(VESK_close(&handle), dskFulErr);
  FSTestSetWriteLimit(-1);
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(wxtest::ReadBytes(target), before);
  ExpectOnly({"added.pdf", "garbage.pdf", "target.pdf"});
}

}  // namespace
