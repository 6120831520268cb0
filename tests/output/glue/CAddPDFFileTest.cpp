// Appending pages to PDFs the user chose, and the check that a PDF can take them.
#include "output/glue/CAddPDFFile.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "output/glue/pdfGlue.h"
#include "paginor/Paginor.h"
#include "tests/output/glue/GlueTestEnv.h"
#include "tests/platform/paginor/PageFixtures.h"
#include "toolbox/RecordAccess.h"

namespace {

using gluetest::GlueTest;
using gluetest::Item;
namespace fs = std::filesystem;

std::string Quote(const std::string& s) { return "'" + s + "'"; }

// The PDFs Debian ships with the packages scripts/setup installs.
const char kLinearised[] = "/usr/share/doc/liblcms2-dev/LittleCMS2.14 API.pdf.gz";
const char kClassic[] = "/usr/share/doc/libimage-exiftool-perl/html/MIE1.1-20070121.pdf";

class AddPDF : public GlueTest {
 protected:
  void SetUp() override {
    GlueTest::SetUp();
    WX_REQUIRE_TOOL("qpdf");
    WX_REQUIRE_TOOL("pdftoppm");
    fs::create_directories(work);
  }
  // A copy of one of the shipped PDFs in the work folder.
  fs::path Shipped(const char* path, const std::string& name) {
    const fs::path copy = work / name;
    const std::string from = path;
    if (from.size() > 3 && from.substr(from.size() - 3) == ".gz")
      EXPECT_EQ(wxtest::Run("gzip -dc " + Quote(from) + " > " + Quote(copy.string())), 0);
    else
      fs::copy_file(from, copy);
    return copy;
  }
  // Two pages written by the PDF writer, as the export writes the pages to append.
  fs::path NewPages() {
    const fs::path pdf = work / "new pages.pdf";
    paginortest::TestPage page =
        paginortest::MakePage(kPATIMGColour, 170, 220, 100, 0, [](int x, int y) -> std::array<uint8_t, 3> {
          return {uint8_t(x), uint8_t(y), 128};
        });
    EXPECT_EQ(pdf_init(), 1);
    StPDFDialog s;
    BEPutU32(s.bytes.data() + 12, 1);
    BEPutU32(s.bytes.data() + 16, 1);
    FSSpec spec = Spec(pdf);
    EXPECT_EQ(pdf_modeset(&s, 0), 1);
    EXPECT_EQ(pdf_open(&spec, &s), 1);
    tagRAWBITMAP raw{page.image.data, page.image.rowBytes, 170, 220, 100, 3};
    EXPECT_EQ(pdf_make(&raw), 1);
    EXPECT_EQ(pdf_make(&raw), 1);
    EXPECT_EQ(pdf_close(), 1);
    pdf_terminate();
    return pdf;
  }
  // Runs CheckPDFFile; an alert it shows is answered and its message kept in *shown.
  long Check(const fs::path& pdf, std::string* shown, bool expectAlert) {
    FSSpec spec = Spec(pdf);
    if (expectAlert) ExpectDialog('TXMS', 900, shown);
    return CAddPDFFile::CheckPDFFile(spec);
  }
  long Append(const fs::path& target, const fs::path& source, SInt32* error = nullptr) {
    FSSpec t = Spec(target), s = Spec(source);
    CAddPDFFile add(t, s);
    const long result = add.AddToSourceFile();
    if (error) *error = add.Error();
    return result;
  }
  static std::vector<uint8_t> FirstPageRender(const fs::path& pdf) {
    wxtest::ScratchDir dir;
    if (wxtest::Run("pdftoppm -r 30 -f 1 -l 1 -singlefile " + Quote(pdf.string()) + " " +
                    Quote((dir / "p").string())) != 0)
      return {};
    return wxtest::ReadBytes(dir / "p.ppm");
  }
  fs::path work = root() / "work";
};

TEST_F(AddPDF, ShippedPDFsTakeTwoNewPagesAfterTheirOwn) {
  const fs::path pages = NewPages();
  for (const auto& [shipped, name] : {std::pair{kLinearised, "lcms API.pdf"}, std::pair{kClassic, "MIE.pdf"}}) {
    SCOPED_TRACE(name);
    if (!fs::exists(shipped)) GTEST_SKIP() << shipped << " is not installed (scripts/setup installs it)";
    const std::vector<uint8_t> original = wxtest::ReadBytes(fs::path(shipped).string().ends_with(".gz") ? "" : shipped);
    const fs::path target = Shipped(shipped, name);
    FInfo finfo{};
    FSSpec spec = Spec(target);
    finfo.fdType = 'PDF ';
    finfo.fdCreator = 'CARO';
    ASSERT_EQ(FSpSetFInfo(&spec, &finfo), noErr);
    const size_t before = paginortest::PageSizes(target).size();
    ASSERT_GT(before, 0u);
    const std::vector<uint8_t> firstPage = FirstPageRender(target);

    std::string shown;
    ASSERT_EQ(Check(target, &shown, false), 1);
    ASSERT_EQ(Append(target, pages), 1);
    EXPECT_TRUE(paginortest::QpdfCheck(target));
    EXPECT_EQ(paginortest::PageSizes(target).size(), before + 2);
    EXPECT_EQ(FirstPageRender(target), firstPage);
    const auto images = paginortest::ListImages(target);
    ASSERT_GE(images.size(), 2u);
    for (size_t i = images.size() - 2; i < images.size(); ++i) {
      EXPECT_EQ(images[i].page, int(before + 1 + i - (images.size() - 2)));
      EXPECT_EQ(images[i].width, 170);
      EXPECT_EQ(images[i].height, 220);
      EXPECT_EQ(images[i].colour, "rgb");
    }
    FInfo after{};
    ASSERT_EQ(FSpGetFInfo(&spec, &after), noErr);
    EXPECT_EQ(after.fdType, OSType('PDF '));
    EXPECT_EQ(after.fdCreator, OSType('CARO'));
    if (!original.empty()) {
      EXPECT_EQ(wxtest::ReadBytes(shipped), original);  // the package's file
    }
    fs::copy_file(target, wxtest::OutputDir("glue") / ("appended " + std::string(name)),
                  fs::copy_options::overwrite_existing);
  }
}

// What CheckPDFFile says of a PDF: 1, or 0 with an item of the error list. The checked PDF
// never changes and no scratch copy stays in the temporary folder.
enum class Case { Good, Encrypted, EncryptedWithPassword, Garbage, BrokenXref, Truncated, Missing, DiskFull, Huge };

struct CheckCase {
  Case kind;
  long result;
  SInt32 item;  // 0: no alert
};

std::string CaseName(Case kind) {
  static const char* const kNames[] = {"Good", "Encrypted", "EncryptedWithPassword", "Garbage", "BrokenXref",
                                       "Truncated", "Missing", "DiskFull", "Huge"};
  return kNames[static_cast<int>(kind)];
}

void PrintTo(const CheckCase& c, std::ostream* out) {
  *out << CaseName(c.kind) << " -> " << c.result << ", item " << c.item;
}

class CheckPDF : public AddPDF, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(CheckPDF, AnswersAndLeavesEverythingAsItWas) {
  const CheckCase c = GetParam();
  const fs::path good = Shipped(kClassic, "good.pdf");
  fs::path pdf = work / "checked.pdf";
  switch (c.kind) {
    case Case::Good: fs::copy_file(good, pdf); break;
    case Case::Encrypted:
      ASSERT_EQ(wxtest::Run("qpdf --encrypt '' owner 256 -- " + Quote(good.string()) + " " + Quote(pdf.string())), 0);
      break;
    case Case::EncryptedWithPassword:
      ASSERT_EQ(wxtest::Run("qpdf --encrypt user owner 256 -- " + Quote(good.string()) + " " + Quote(pdf.string())), 0);
      break;
    case Case::Garbage: wxtest::WriteBytes(pdf, std::vector<uint8_t>(5000, 'g')); break;
    case Case::BrokenXref: {
      std::vector<uint8_t> bytes = wxtest::ReadBytes(good);
      // The startxref offset points into nowhere.
      const std::string text(bytes.begin(), bytes.end());
      const size_t at = text.rfind("startxref");
      ASSERT_NE(at, std::string::npos);
      const size_t digit = text.find_first_of("0123456789", at);
      bytes[digit] = bytes[digit] == '9' ? '1' : '9';
      wxtest::WriteBytes(pdf, bytes);
      break;
    }
    case Case::Truncated: {
      // The copy lost its end: the pointer to the cross-reference table and the end mark.
      std::vector<uint8_t> bytes = wxtest::ReadBytes(good);
      const std::string text(bytes.begin(), bytes.end());
      const size_t end = text.rfind("startxref");
      ASSERT_NE(end, std::string::npos);
      bytes.resize(end);
      wxtest::WriteBytes(pdf, bytes);
      break;
    }
    case Case::Missing: pdf = work / "missing.pdf"; break;
    case Case::DiskFull: fs::copy_file(good, pdf); break;
    case Case::Huge:
      // Four gigabytes of nothing (a sparse file), which is no PDF.
      std::ofstream(pdf).close();
      fs::resize_file(pdf, uintmax_t(4) << 30);
      break;
  }
  const std::vector<uint8_t> before = c.kind == Case::Huge ? std::vector<uint8_t>{} : wxtest::ReadBytes(pdf);
  const fs::path temp = TempFolder();
  if (c.kind == Case::DiskFull) FSTestSetWriteLimit(1000);
  // The check's work stays small: a megabyte read and none written would fail it.
  if (c.kind == Case::Huge) {
    FSTestSetReadLimit(1 << 20);
    FSTestSetWriteLimit(0);
  }
  std::string shown;
  EXPECT_EQ(Check(pdf, &shown, c.item != 0), c.result);
  FSTestSetWriteLimit(-1);
  FSTestSetReadLimit(-1);
  if (c.item) {
    EXPECT_EQ(shown, Item(400, static_cast<SInt16>(c.item)));
  }
  if (c.kind == Case::Huge)
    EXPECT_EQ(fs::file_size(pdf), uintmax_t(4) << 30);
  else
    EXPECT_EQ(wxtest::ReadBytes(pdf), before);
  EXPECT_TRUE(fs::is_empty(temp)) << "a scratch copy was left";
  // What the check accepted takes pages.
  if (c.result == 1) {
    ASSERT_EQ(Append(pdf, NewPages()), 1);
    EXPECT_TRUE(paginortest::QpdfCheck(pdf));
  }
}

INSTANTIATE_TEST_SUITE_P(Table, CheckPDF,
                         ::testing::Values(CheckCase{Case::Good, 1, 0}, CheckCase{Case::Encrypted, 0, 35},
                                           CheckCase{Case::EncryptedWithPassword, 0, 35},
                                           CheckCase{Case::Garbage, 0, 35}, CheckCase{Case::BrokenXref, 1, 0},
                                           CheckCase{Case::Truncated, 1, 0}, CheckCase{Case::Missing, 0, 35},
                                           CheckCase{Case::DiskFull, 0, 47}, CheckCase{Case::Huge, 0, 35}),
                         [](const auto& info) { return CaseName(info.param.kind); });

TEST_F(AddPDF, APDFTheUserMayNotWriteIsRefusedBeforeAnyCopy) {
  // The test runs as root, who may write anything: the check runs in a child that has
  // become an unprivileged user.
  if (geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
  const fs::path temp = TempFolder();
  // The unprivileged user reaches and may change everything of the scratch root (in the
  // open temporary folder: its preferences, its temporary folder) but the PDF, which root
  // owns and only root may write.
  ASSERT_EQ(wxtest::Run("chmod -R a+rwX " + Quote(root().string())), 0);
  const fs::path pdf = Shipped(kClassic, "theirs.pdf");
  fs::permissions(pdf, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
  const std::vector<uint8_t> before = wxtest::ReadBytes(pdf);
  std::string shown;
  ExpectDialog('TXMS', 900, &shown);
  const pid_t child = fork();
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    FSSpec spec = Spec(pdf);
    const long result = CAddPDFFile::CheckPDFFile(spec);
    if (result != 0 || shown != Item(400, 35)) std::fprintf(stderr, "child: %ld, \"%s\"\n", result, shown.c_str());
    _exit(result == 0 && shown == Item(400, 35) ? 0 : 1);
  }
  wxframework::ClearDialogActions();  // the child answered the alert
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the child did not see item 35 and a refusal";
  EXPECT_EQ(wxtest::ReadBytes(pdf), before);
  EXPECT_TRUE(fs::is_empty(temp));
}

TEST_F(AddPDF, AFailedAppendLeavesTheTargetByteForByte) {
  const fs::path target = Shipped(kClassic, "target.pdf");
  const std::vector<uint8_t> before = wxtest::ReadBytes(target);
  const fs::path garbage = work / "garbage.pdf";
  wxtest::WriteBytes(garbage, std::vector<uint8_t>(300, 'x'));
  SInt32 error = 0;
  EXPECT_EQ(Append(target, garbage, &error), 0);
  EXPECT_NE(error, 0);
  EXPECT_EQ(wxtest::ReadBytes(target), before);

  // A full disk while the appended file is written.
  const fs::path pages = NewPages();
  FSTestSetWriteLimit(2000);
  EXPECT_EQ(Append(target, pages, &error), 0);
  FSTestSetWriteLimit(-1);
  EXPECT_EQ(error, dskFulErr);
  EXPECT_EQ(wxtest::ReadBytes(target), before);
  EXPECT_EQ(Names(work), (std::vector<std::string>{"garbage.pdf", "new pages.pdf", "target.pdf"}));
}

TEST_F(AddPDF, ALockedTargetIsRefusedAndALinkedOneGetsThePagesInTheFileItNames) {
  const fs::path pages = NewPages();
  const fs::path locked = Shipped(kClassic, "locked.pdf");
  fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const std::vector<uint8_t> before = wxtest::ReadBytes(locked);
  SInt32 error = 0;
  EXPECT_EQ(Append(locked, pages, &error), 0);
  EXPECT_EQ(error, fLckdErr);
  EXPECT_EQ(wxtest::ReadBytes(locked), before);
  EXPECT_EQ(fs::status(locked).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  const fs::path linked = Shipped(kClassic, "linked.pdf"), link = work / "link.pdf";
  fs::create_symlink("linked.pdf", link);
  const size_t pagesBefore = paginortest::PageSizes(linked).size();
  EXPECT_EQ(Append(link, pages, &error), 1) << error;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link), "linked.pdf");
  EXPECT_EQ(paginortest::PageSizes(linked).size(), pagesBefore + 2);
  EXPECT_EQ(Names(work), (std::vector<std::string>{"link.pdf", "linked.pdf", "locked.pdf", "new pages.pdf"}));
}

TEST_F(AddPDF, TheLibraryCallsDoNothing) {
  FSSpec a = Spec(work / "a.pdf"), b = Spec(work / "b.pdf");
  CAddPDFFile add(a, b);
  unsigned char name[] = "\x10Vesk_carbon.shlb";
  EXPECT_EQ(add.InitLib(name), 1);
  EXPECT_EQ(add.TermLib(), 1);
  EXPECT_EQ(add.Error(), 0);
}

}  // namespace
