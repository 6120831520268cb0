#include "output/hub/WXChecks.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/prefs/PrefsTestEnv.h"
#include "toolbox/FolderLocations.h"

namespace {

using wxtest::FromP;
using wxtest::PrefsEnv;
using wxtest::PStr;
namespace fs = std::filesystem;

TEST(WXChecks, ModelClassification) {
  struct Case {
    long id;
    unsigned char four, seven;
  };
  const Case cases[] = {{0x1120, 1, 0}, {0x1240, 1, 0}, {0x1200, 0, 1}, {0x1230, 0, 1},
                        {0x1250, 0, 1}, {0, 0, 0},      {0x0820, 0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(CWXUtility::Is4ButtonDriver(c.id), c.four) << c.id;
    EXPECT_EQ(CWXUtility::Is7ButtonDriver(c.id), c.seven) << c.id;
    EXPECT_EQ(CWXUtility::IsColorOCRDriver(c.id), 1) << c.id;
  }
}

TEST(WXChecks, TenthsOfAMillimetreToPixels) {
  struct Case {
    long tenths;
    double dpi;
    long pixels;
  };
  const Case cases[] = {{2100, 300, 2480}, {2970, 300, 3507}, {254, 100, 100}, {0, 600, 0}, {2159, 72, 612}};
  for (const Case& c : cases) EXPECT_EQ(CWXUtility::mm10_to_pixel(c.tenths, c.dpi), c.pixels) << c.tenths;
}

struct NameCase {
  const char* language;
  std::string name;
  long result;
};

TEST(WXChecks, FileNames) {
  const NameCase cases[] = {
      {"E", "Scan", 0},
      {"E", std::string(20, 'a'), 0},
      {"E", std::string(21, 'a'), 15},
      {"E", "", 16},
      {"E", "   ", 30},
      {"E", " .hidden", 0},
      {"E", ".hidden", 30},
      {"E", "a:b", 30},  // the platform reads ':' as a path separator, so the name changes
      {"E", "a/b", 14},
      {"E", "../x", 14},
      {"E", "a\\b", 14},
      {"J", "\x81\x40\x81\x40", 30},
      {"E", "\x81\x40\x81\x40", 0},
      {"J", "\x81\x40x", 0},
      {"J", "\x83\x5C", 0},  // a two-byte character whose second byte is '\'
      {"J", "a\\", 14},
  };
  for (const NameCase& c : cases) {
    PrefsEnv env(c.language);
    EXPECT_EQ(CWXUtility::CheckFileName(PStr(c.name).data()), c.result) << c.language << " [" << c.name << "]";
  }
}

struct HistoryCase {
  const char* what;
  std::vector<std::string> before;
  std::string name;
  std::vector<std::string> after;
};

TEST(WXChecks, FileNameHistory) {
  std::vector<std::string> ten;
  for (int i = 1; i <= 10; ++i) ten.push_back("n" + std::to_string(i));
  std::vector<std::string> tenNew(ten.begin() + 1, ten.end());
  tenNew.push_back("new");
  std::vector<std::string> thirdMoved = ten;
  thirdMoved.erase(thirdMoved.begin() + 2);
  thirdMoved.push_back("N3");
  const HistoryCase cases[] = {
      {"empty", {}, "a", {"a"}},
      {"entries longer than the name", {"abcdefgh"}, "a", {"abcdefgh", "a"}},
      {"append", {"a", "b"}, "c", {"a", "b", "c"}},
      {"reuse moves to the end", {"a", "b", "c"}, "a", {"b", "c", "a"}},
      {"full drops the oldest", ten, "new", tenNew},
      {"equal ignoring case moves", ten, "N3", thirdMoved},
  };
  for (const HistoryCase& c : cases) {
    PREF_SAVE save;
    RecordBytes r = save.view();
    PREF_SAVE::kHistory.setCount(r, uint32_t(c.before.size()));
    for (size_t i = 0; i < c.before.size(); ++i) PREF_SAVE::kHistory.setEntry(r, uint32_t(i), PStr(c.before[i]).data());
    EXPECT_EQ(CWXUtility::CheckHistFileName(PStr(c.name).data(), r, PREF_SAVE::kHistory), 1);
    ASSERT_EQ(PREF_SAVE::kHistory.count(r), c.after.size()) << c.what;
    for (size_t i = 0; i < c.after.size(); ++i) {
      Str255 s;
      PREF_SAVE::kHistory.entry(r, uint32_t(i), s);
      EXPECT_EQ(FromP(s), c.after[i]) << c.what << " " << i;
    }
  }
}

TEST(WXChecks, DamagedHistoryCountStaysInsideTheHistory) {
  PREF_OCR ocr;
  RecordBytes r = ocr.view();
  r.setU32(PREF_OCR::kHistory.off, 5000);
  CWXUtility::CheckHistFileName(PStr("x").data(), r, PREF_OCR::kHistory);
  EXPECT_EQ(PREF_OCR::kHistory.count(r), 10u);
  EXPECT_EQ(r.u32(PREF_OCR::kHistory.off), 10u);
  EXPECT_EQ(r.u8(PREF_OCR::kFolder.off), 0);  // the field after the history is untouched
}

struct SpaceCase {
  const char* what;
  long paper, mode, kind, dpi;
  SInt16 w, h;
  unsigned short product;
  unsigned char flag;
  UInt64 bytes;
};

TEST(WXChecks, DiskSpaceNeeded) {
  PrefsEnv env("J");
  const UInt64 a4at100 = UInt64(826) * 1169;  // 2100 and 2970 tenths at 100 dpi
  const UInt64 platen100 = UInt64(850) * 1169;
  const UInt64 photo100 = UInt64(350) * 500;
  const SpaceCase cases[] = {
      {"custom 0 x 0", Paper_Size_custom, 3, 1, 300, 0, 0, 0x1200, 0, 206 * 4},
      {"custom 0 x 0, flag", Paper_Size_custom, 3, 1, 300, 0, 0, 0x1200, 1, 206 * 16},
      {"A4 bitmap", Paper_Size_A4, 1, 1, 100, 0, 0, 0x1200, 0, (a4at100 / 8 + 206) * 4},
      {"A4 grey", Paper_Size_A4, 2, 1, 100, 0, 0, 0x1200, 0, (a4at100 + 206) * 4},
      {"A4 mode 7", Paper_Size_A4, 7, 1, 100, 0, 0, 0x1200, 0, (a4at100 + 206) * 4},
      {"A4 colour", Paper_Size_A4, 3, 1, 100, 0, 0, 0x1200, 0, (3 * a4at100 + 206) * 4},
      {"mode 5: platen", Paper_Size_A4, 5, 1, 100, 0, 0, 0x1200, 0, (3 * platen100 + 206) * 4},
      {"photo", Paper_Size_A4, 3, 2, 100, 0, 0, 0x1200, 0, (3 * photo100 + 206) * 24},
      {"photo on 0x1250", Paper_Size_A4, 3, 2, 100, 0, 0, 0x1250, 0, (3 * photo100 + 206) * 48},
      {"bad paper index", 77, 3, 1, 100, 0, 0, 0x1200, 0, 206 * 4},
  };
  for (const SpaceCase& c : cases)
    EXPECT_EQ(CWXUtility::NeededDiskBytes(c.paper, c.mode, c.kind, c.dpi, SDimension16{c.w, c.h}, c.product, c.flag),
              c.bytes)
        << c.what;
}

long gAlertItem = 0;
void RecordAlert(long item) { gAlertItem = item; }

TEST(WXChecks, DiskSpaceCheck) {
  PrefsEnv env("E");
  FSSpec none{};
  gAlertItem = 0;
  EXPECT_EQ(CWXUtility::CheckHDSpace(none, 1, 3, 1, 300, SDimension16{0, 0}, 0x1200, 0, RecordAlert), 1);
  FSSpec folder{};
  FSpMakeFromPOSIXPath(env.root().string(), &folder);
  EXPECT_EQ(CWXUtility::CheckHDSpace(folder, Paper_Size_custom, 3, 1, 300, SDimension16{0, 0}, 0x1200, 0, RecordAlert), 1);
  EXPECT_EQ(gAlertItem, 0);
  EXPECT_EQ(CWXUtility::CheckHDSpace(folder, Paper_Size_custom, 3, 1, 2000000, SDimension16{30000, 30000}, 0x1200, 1,
                                     RecordAlert),
            0);
  EXPECT_EQ(gAlertItem, 48);
}

TEST(WXChecks, WritePermissionFollowsTheModeBits) {
  PrefsEnv env("E");
  const fs::path folder = env.root() / "Out";
  fs::create_directories(folder / "2026-12-10");
  FSSpec spec{};
  FSpMakeFromPOSIXPath(folder.string(), &spec);
  EXPECT_EQ(CWXUtility::check_permission(&spec, 0), 1);
  fs::permissions(folder / "2026-12-10", fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(CWXUtility::check_permission(&spec, 0), 1);
  EXPECT_EQ(CWXUtility::check_permission(&spec, 1), 0);  // the dated subfolder is the one tested
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_write);
  EXPECT_EQ(CWXUtility::check_permission(&spec, 0), 0);  // owner bits decide for the owner
  fs::permissions(folder / "2026-12-10", fs::perms::owner_all);
  fs::permissions(folder, fs::perms::owner_all);
  FSSpec file = env.MakeFile(folder / "f");
  EXPECT_EQ(CWXUtility::check_permission(&file, 0), 0);
}

TEST(WXChecks, GroupListHoldsTheEffectiveGroup) {
  UInt32 groups[256];
  long count = 256;
  ASSERT_EQ(CWXUtility::GetGroupArray(groups, &count), noErr);
  EXPECT_NE(std::find(groups, groups + count, UInt32(getegid())), groups + count);
  UInt32 user = 0;
  ASSERT_EQ(CWXUtility::GetUserID(&user), noErr);
  EXPECT_EQ(user, UInt32(geteuid()));
}

}  // namespace

namespace {

TEST(FrameworkBundle, AFrameworkFolderOfTheSystemGivesABundle) {
  wxtest::ScratchDir root;
  setenv("WENDRIX_ROOT", root.path().c_str(), 1);
  std::string frameworks;
  ASSERT_EQ(noErr, FindFolderPath(kSystemDomain, kFrameworksFolderType, kCreateFolder, &frameworks));
  std::filesystem::create_directories(std::filesystem::path(frameworks) / "Test.framework");
  CFBundleRef bundle = nullptr;
  EXPECT_EQ(noErr, CWXUtility::CreateFrameworkBundleFromName("Test.framework", &bundle));
  ASSERT_NE(nullptr, bundle);
  CFRelease(bundle);
  EXPECT_EQ(fnfErr, CWXUtility::CreateFrameworkBundleFromName("System.framework", &bundle));
  EXPECT_EQ(nullptr, bundle);
  unsetenv("WENDRIX_ROOT");
}

}  // namespace
