// The choosers of a PDF, an application, a folder and the temporary folder's parent, and
// their object filters, over a fixture tree in the scratch root; the chooser is answered
// through the driver.
#include "output/export/WXChoosers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "ChooserFixtures.h"
#include "navigation/NavigationDriver.h"
#include "tests/output/glue/GlueTestEnv.h"
#include "toolbox/FileIDTable.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/Folders.h"
#include "toolbox/VolumeParms.h"

namespace {

using gluetest::GlueTest;
namespace fs = std::filesystem;
using namespace wxframework;

const char kShippedPDF[] = "/usr/share/doc/libimage-exiftool-perl/html/MIE1.1-20070121.pdf";

class Choosers : public GlueTest {
 protected:
  void SetUp() override {
    GlueTest::SetUp();
    tree = root() / "tree";
    wxtest::MakeChooserTree(tree);
    std::ofstream(tree / "apps" / "old.desktop") << "[Desktop Entry]\nType=Application\nName=Old\nExec=/nonexistent/old\n";
    fs::create_symlink(tree / "apps" / "tool", tree / "apps" / "link-to-tool");
  }
  // The filter's answer for the item at `path` under the tree.
  static bool Shows(NavObjectFilterProcPtr filter, const fs::path& path, void* userData = nullptr) {
    NavItem item;
    EXPECT_TRUE(NavMakeItem(path.string(), true, &item)) << path;
    return NavFilterShows(item, filter, userData);
  }
  // The names the next chooser shows; it is then cancelled.
  void CancelNextChooser(std::vector<std::string>* shown) {
    QueueDialogAction([shown](LWindow* d) { *shown = wxnavigation::ShownNames(d); });
    AnswerNextDialog(msg_Cancel);
  }
  void ChooseNext(const std::string& name) {
    QueueDialogAction([name](LWindow* d) { wxnavigation::SelectItem(d, name); });
    AnswerNextDialog(msg_OK);
  }
  fs::path Folder(OSType type, SInt16 domain = kOnSystemDisk) {
    std::string path;
    EXPECT_EQ(FindFolderPath(domain, type, true, &path), noErr);
    return path;
  }
  fs::path tree;
};

struct FilterCase {
  const char* name;
  NavObjectFilterProcPtr filter;
  const char* path;  // under the tree
  bool shown;
};

class FilterTable : public Choosers, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(FilterTable, ShowsOrHides) {
  const FilterCase& c = GetParam();
  EXPECT_EQ(Shows(c.filter, tree / c.path), c.shown);
}

using namespace CWXUtility;
INSTANTIATE_TEST_SUITE_P(
    Table, FilterTable,
    ::testing::Values(FilterCase{"AliasFilterShowsAFile", AliasFilterProc, "docs/a.pdf", true},
                      FilterCase{"AliasFilterShowsAFolder", AliasFilterProc, "docs", true},
                      FilterCase{"AliasFilterHidesAnAliasFile", AliasFilterProc, "link-to-a", false},
                      FilterCase{"AliasFilterHidesAnAliasToAFolder", AliasFilterProc, "link-to-docs", false},
                      FilterCase{"AppFilterShowsAProgram", ClassicAppFilterProc, "apps/tool", true},
                      FilterCase{"AppFilterShowsADesktopEntry", ClassicAppFilterProc, "apps/viewer.desktop", true},
                      FilterCase{"AppFilterHidesAnEntryThatCannotRun", ClassicAppFilterProc, "apps/old.desktop", false},
                      FilterCase{"AppFilterShowsAnAliasToAProgram", ClassicAppFilterProc, "apps/link-to-tool", true},
                      FilterCase{"AppFilterHidesAnAliasToADocument", ClassicAppFilterProc, "link-to-a", false},
                      FilterCase{"AppFilterHidesADocument", ClassicAppFilterProc, "docs/b.txt", false},
                      FilterCase{"AppFilterShowsAnApplicationPackage", ClassicAppFilterProc, "apps/Viewer.app", true},
                      FilterCase{"AppFilterHidesAnotherPackage", ClassicAppFilterProc, "apps/Data.pkg", false},
                      FilterCase{"AppFilterShowsAPlainFolder", ClassicAppFilterProc, "docs", true},
                      FilterCase{"TempFilterWithoutATempFolderShows", TempFolderFilterProc, "docs", true}),
    [](const auto& info) { return std::string(info.param.name); });

Boolean Never(AEDesc*, void*, void*, NavFilterModes) { return false; }

TEST_F(Choosers, ItemsThatAreNoFileSpecificationAreShown) {
  AEDesc desc;
  AEInitializeDesc(&desc);
  ASSERT_EQ(AECreateDesc(typeChar, "x", 1, &desc), noErr);
  NavFileOrFolderInfo info;
  for (NavObjectFilterProcPtr filter : {AliasFilterProc, ClassicAppFilterProc, NetworkFolderFilterProc, TempFolderFilterProc})
    EXPECT_TRUE(filter(&desc, &info, nullptr, kNavFilteringBrowserList));
  AEDisposeDesc(&desc);
  EXPECT_FALSE(Shows(Never, tree / "docs"));
}

TEST_F(Choosers, TheTempFilterHidesOnlyTheTemporaryFolder) {
  FSSpec temp = Spec(tree / "docs" / "sub");
  EXPECT_FALSE(Shows(TempFolderFilterProc, tree / "docs" / "sub", &temp));
  EXPECT_TRUE(Shows(TempFolderFilterProc, tree / "docs", &temp));
  EXPECT_TRUE(Shows(TempFolderFilterProc, tree / "docs" / "a.pdf", &temp));
}

// The mount table says the scratch root's volume is served over `type`.
void MountAs(const fs::path& root, const std::string& type) {
  SInt16 vRefNum = 0;
  ASSERT_EQ(FidVolumeOf(root.string(), &vRefNum), noErr);
  std::string mountPoint, name;
  ASSERT_EQ(FidVolumeRoot(vRefNum, &mountPoint, &name), noErr);
  fs::create_directories(root / "proc/self");
  std::ofstream(root / "proc/self/mounts") << "/dev/sda1 / ext4 rw 0 0\nserver:/x " << mountPoint << " " << type
                                           << " rw 0 0\n";
}

TEST_F(Choosers, TheNetworkFilterHidesItemsOnNetworkVolumes) {
  MountAs(root(), "ext4");
  EXPECT_TRUE(Shows(NetworkFolderFilterProc, tree / "docs"));
  MountAs(root(), "nfs4");
  EXPECT_FALSE(Shows(NetworkFolderFilterProc, tree / "docs"));
  EXPECT_FALSE(Shows(NetworkFolderFilterProc, tree / "docs" / "a.pdf"));
}

TEST_F(Choosers, APDFOpensAtTheLastOneAndIsTakenAfterTheCheck) {
  WX_REQUIRE_TOOL("qpdf");
  fs::copy_file(kShippedPDF, tree / "docs" / "good.pdf");
  FSSpec last = Spec(tree / "docs" / "good.pdf");
  std::vector<std::string> shown;
  QueueDialogAction([&shown](LWindow* d) { shown = wxnavigation::ShownNames(d); });
  ChooseNext("good.pdf");
  FSSpec chosen{};
  EXPECT_EQ(ChoosePDFFile(chosen, nullptr, last), 1);
  EXPECT_EQ(wxtest::SpecPathText(chosen), (tree / "docs" / "good.pdf").string());
  // The alias file is hidden, the others shown.
  EXPECT_EQ(shown, (std::vector<std::string>{"sub", "a.pdf", "b.txt", "good.pdf"}));
}

TEST_F(Choosers, ADamagedPDFIsRefusedWithTheCheckAlert) {
  WX_REQUIRE_TOOL("qpdf");
  FSSpec last = Spec(tree / "docs" / "a.pdf");
  ChooseNext("a.pdf");
  std::string alert;
  ExpectDialog('TXMS', msg_OK, &alert);
  FSSpec chosen{};
  EXPECT_EQ(ChoosePDFFile(chosen, nullptr, last), 0);
  EXPECT_FALSE(alert.empty());
  EXPECT_EQ(chosen.name[0], 0);
}

TEST_F(Choosers, APDFTheUserMayNotWriteIsRefusedWithItem35) {
  WX_REQUIRE_TOOL("qpdf");
  // The test runs as root, who may write anything: the chooser runs in a child that has
  // become an unprivileged user, who may change everything of the scratch root but the PDF.
  if (geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
  TempFolder();
  const fs::path pdf = tree / "docs" / "theirs.pdf";
  fs::copy_file(kShippedPDF, pdf);
  ASSERT_EQ(wxtest::Run("chmod -R a+rwX '" + root().string() + "'"), 0);
  fs::permissions(pdf, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
  FSSpec last = Spec(pdf);
  ChooseNext("theirs.pdf");
  std::string alert;
  ExpectDialog('TXMS', msg_OK, &alert);
  const pid_t child = fork();
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    FSSpec chosen{};
    const long result = ChoosePDFFile(chosen, nullptr, last);
    if (result != 0 || alert != gluetest::Item(400, 35)) std::fprintf(stderr, "child: %ld, \"%s\"\n", result, alert.c_str());
    _exit(result == 0 && alert == gluetest::Item(400, 35) && chosen.name[0] == 0 ? 0 : 1);
  }
  ClearDialogActions();  // the child answered the chooser and the alert
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the child did not see item 35 and a refusal";
}

TEST_F(Choosers, AGoneOrTrashedLastPDFOpensTheDefaultOutputFolder) {
  FSSpec output{};
  ASSERT_EQ(CWXUtility::Get_Default_Dir(&output), 1);
  std::string outputPath;
  ASSERT_EQ(FSpGetPOSIXPath(&output, &outputPath), noErr);
  std::ofstream(fs::path(outputPath) / "scan.pdf") << "%PDF-1.4\n";
  const fs::path trash = Folder(kTrashFolderType);
  fs::create_directories(trash / "old");
  std::ofstream(trash / "old" / "last.pdf") << "%PDF-1.4\n";
  for (const fs::path& last : {tree / "docs" / "gone.pdf", trash / "old" / "last.pdf", fs::path()}) {
    FSSpec lastSpec = last.empty() ? FSSpec{} : Spec(last);
    std::vector<std::string> shown;
    CancelNextChooser(&shown);
    FSSpec chosen{};
    EXPECT_EQ(ChoosePDFFile(chosen, nullptr, lastSpec), 0);
    EXPECT_EQ(shown, std::vector<std::string>{"scan.pdf"}) << last;
  }
}

TEST_F(Choosers, AnApplicationIsChosenInTheApplicationsFolder) {
  const fs::path apps = Folder(kApplicationsFolderType, kLocalDomain);
  fs::copy(tree / "apps", apps, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  std::vector<std::string> shown;
  QueueDialogAction([&shown](LWindow* d) { shown = wxnavigation::ShownNames(d); });
  ChooseNext("Viewer.app");
  FSSpec chosen{};
  EXPECT_EQ(ChooseApplication(chosen, nullptr), 1);
  // A package comes back as the folder itself.
  EXPECT_EQ(wxtest::SpecPathText(chosen), (apps / "Viewer.app").string());
  EXPECT_EQ(shown, (std::vector<std::string>{"Image Viewer", "link-to-tool", "tool", "Viewer.app"}));
  CancelNextChooser(&shown);
  EXPECT_EQ(ChooseApplication(chosen, nullptr), 0);
}

TEST_F(Choosers, AFolderIsChosenOrCancelled) {
  FSSpec start = Spec(tree / "docs");
  ChooseNext("sub");
  FSSpec chosen{};
  EXPECT_EQ(ChooseFolder(chosen, nullptr, start), 1);
  EXPECT_EQ(wxtest::SpecPathText(chosen), (tree / "docs" / "sub").string());
  std::vector<std::string> shown;
  CancelNextChooser(&shown);
  FSSpec kept = chosen;
  EXPECT_EQ(ChooseFolder(chosen, nullptr, start), 0);
  EXPECT_EQ(wxtest::SpecPathText(chosen), wxtest::SpecPathText(kept));
  EXPECT_EQ(shown, std::vector<std::string>{"sub"});
}

TEST_F(Choosers, TheTemporaryFolderIsHiddenAndAWritableLocalFolderTaken) {
  const fs::path temp = TempFolder();
  FSSpec start = Spec(temp.parent_path());
  std::vector<std::string> shown;
  CancelNextChooser(&shown);
  FSSpec chosen{};
  EXPECT_EQ(ChooseTempFolder(chosen, nullptr, start), 0);
  EXPECT_EQ(std::count(shown.begin(), shown.end(), temp.filename().string()), 0);

  start = Spec(tree / "docs");
  ChooseNext("sub");
  EXPECT_EQ(ChooseTempFolder(chosen, nullptr, start), 1);
  EXPECT_EQ(wxtest::SpecPathText(chosen), (tree / "docs" / "sub").string());
}

TEST_F(Choosers, ATemporaryFolderOnANetworkVolumeIsRefusedWithItem40) {
  FSSpec start = Spec(tree / "docs");
  MountAs(root(), "cifs");
  // Hidden in the list, the folder is reached by typing it.
  QueueDialogAction([](LWindow* d) { wxnavigation::TypeLocation(d, "sub"); });
  AnswerNextDialog(msg_OK);
  std::string alert;
  ExpectDialog('TXMS', msg_OK, &alert);
  FSSpec chosen{};
  EXPECT_EQ(ChooseTempFolder(chosen, nullptr, start), 0);
  EXPECT_EQ(alert, gluetest::Item(400, 40));
}

}  // namespace
