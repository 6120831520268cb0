#include "appservices/AppleHelp.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/TestEnv.h"
#include "toolbox/MacErrors.h"

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

std::string Read(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A help book in a scratch folder and an opener that writes down the URL it was given.
class Help : public ::testing::Test {
 protected:
  void SetUp() override {
    mBook = mDir / "Scanner Guide.help";
    fs::create_directories(mBook / "pages");
    Write(mBook / "index.html", "<html><body>Guide</body></html>");
    Write(mBook / "pages" / "scan.html", "<html><body>Scan</body></html>");
    mOpener = mDir / "opener.sh";
    Write(mOpener, "#!/bin/sh\nprintf '%s' \"$1\" > \"" + (mDir / "opened.txt").string() + "\"\n");
    chmod(mOpener.c_str(), 0755);
    setenv("WX_OPENER", mOpener.c_str(), 1);
    FSRef ref;
    Boolean isDirectory = 0;
    ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(mBook.c_str()), &ref, &isDirectory), noErr);
    ASSERT_EQ(AHRegisterHelpBook(&ref), noErr);
  }
  void TearDown() override { unsetenv("WX_OPENER"); }

  wxtest::ScratchDir mDir;
  fs::path mBook, mOpener;
};

TEST_F(Help, OpensPagesOfARegisteredBookThroughTheOpener) {
  ASSERT_EQ(AHGotoPage("Scanner Guide.help", nullptr, nullptr), noErr);
  EXPECT_EQ(Read(mDir / "opened.txt"), "file://" + (mBook.parent_path() / "Scanner%20Guide.help/index.html").string());

  ASSERT_EQ(AHGotoPage("Scanner Guide.help", "pages/scan.html", "start"), noErr);
  EXPECT_EQ(Read(mDir / "opened.txt"), AHPageURL((mBook / "pages" / "scan.html").string(), "start"));
  EXPECT_NE(Read(mDir / "opened.txt").find("#start"), std::string::npos);
}

TEST_F(Help, RefusesWhatItCannotOpen) {
  EXPECT_EQ(AHGotoPage("Other.help", nullptr, nullptr), kAHInternalErrNoBook);
  EXPECT_EQ(AHGotoPage("Scanner Guide.help", "missing.html", nullptr), fnfErr);
  EXPECT_EQ(AHGotoPage("Scanner Guide.help", "../opener.sh", nullptr), paramErr);
  EXPECT_EQ(AHGotoPage("Scanner Guide.help", "/etc/passwd", nullptr), paramErr);
  EXPECT_FALSE(fs::exists(mDir / "opened.txt"));

  setenv("WX_OPENER", "false", 1);
  EXPECT_EQ(AHGotoPage("Scanner Guide.help", nullptr, nullptr), kAHInternalErr);
  setenv("WX_OPENER", (mDir / "no-such-opener").c_str(), 1);
  EXPECT_EQ(AHGotoPage("Scanner Guide.help", nullptr, nullptr), kAHInternalErr);
}

TEST_F(Help, ABundleIsFoundByItsLocalizedBookName) {
  const fs::path book = mDir / "Dremlo Help";
  fs::create_directories(book / "Contents/Resources/English.lproj");
  fs::create_directories(book / "Contents/Resources/French.lproj");
  const std::string plist = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleHelpBookName</key><string>";
  Write(book / "Contents/Info.plist", plist + "Dremlo Help</string></dict></plist>");
  Write(book / "Contents/Resources/English.lproj/InfoPlist.strings", plist + "Dremlo Guide</string></dict></plist>");
  Write(book / "Contents/Resources/French.lproj/InfoPlist.strings", plist + "Guide Dremlo</string></dict></plist>");
  Write(book / "index.html", "<html></html>");
  FSRef ref;
  ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(book.c_str()), &ref, nullptr), noErr);
  ASSERT_EQ(AHRegisterHelpBook(&ref), noErr);
  for (const char* name : {"Dremlo Help", "Dremlo Guide", "Guide Dremlo"}) {
    fs::remove(mDir / "opened.txt");
    ASSERT_EQ(AHGotoPage(name, nullptr, nullptr), noErr) << name;
    EXPECT_EQ(Read(mDir / "opened.txt"), AHPageURL((book / "index.html").string(), nullptr)) << name;
  }
  AHForgetHelpBooks();
  EXPECT_EQ(AHGotoPage("Dremlo Guide", nullptr, nullptr), kAHInternalErrNoBook);
}

}  // namespace
