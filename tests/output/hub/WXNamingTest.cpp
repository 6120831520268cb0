#include "output/hub/WXNaming.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "tests/prefs/PrefsTestEnv.h"

namespace {

using wxtest::FromP;
using wxtest::PrefsEnv;
using wxtest::PStr;
namespace fs = std::filesystem;

FSSpec FolderSpec(const fs::path& path) {
  FSSpec spec{};
  FSpMakeFromPOSIXPath(path.string(), &spec);
  return spec;
}

void Touch(const fs::path& path) { std::fclose(std::fopen(path.c_str(), "wb")); }

std::string FinalName(const fs::path& folder, const std::string& base, OSType type, unsigned char alwaysNumber = 0,
                      long day = 0, unsigned char underscore = 0, FSSpec* spec = nullptr) {
  FSSpec out{};
  std::vector<unsigned char> p = PStr(base);
  CWXUtility::create_finalfile_spec(p.data(), FolderSpec(folder), &out, day, &type, alwaysNumber, underscore);
  if (spec) *spec = out;
  return FromP(out.name);
}

struct NamingCase {
  const char* what;
  std::vector<const char*> existing;
  OSType type;
  unsigned char alwaysNumber;
  unsigned char underscore;
  const char* expected;
};

TEST(WXNaming, FinalNames) {
  const NamingCase cases[] = {
      {"empty folder", {}, 'JPEG', 0, 0, "Scan.JPG"},
      {"plain name taken", {"Scan.JPG"}, 'JPEG', 0, 0, "Scan0001.JPG"},
      {"serials of other types count", {"Scan0001.PDF", "Scan0002.TIF"}, 'JPEG', 1, 0, "Scan0003.JPG"},
      {"PICT blocks the plain name", {"Scan.PIC"}, 'TIFF', 0, 0, "Scan0001.TIF"},
      {"PDF blocks the plain name", {"Scan.PDF"}, 'PICT', 0, 0, "Scan0001.PIC"},
      {"TIFF blocks the plain name", {"Scan.TIF"}, 'PDF ', 0, 0, "Scan0001.PDF"},
      {"every extension taken", {"Scan.PIC", "Scan.JPG", "Scan.TIF", "Scan.PDF", "Scan0001.PIC", "Scan0001.JPG"},
       'JPEG', 0, 0, "Scan0002.JPG"},
      {"lower-case extension does not count", {"Scan.jpg"}, 'JPEG', 0, 0, "Scan.JPG"},
      {"unknown type has no extension", {}, 'TEXT', 0, 0, "Scan"},
      {"unknown type still tested", {"Scan.TIF"}, 'TEXT', 0, 0, "Scan0001"},
      {"always numbered", {}, 'JPEG', 1, 0, "Scan0001.JPG"},
      {"underscore", {"Scan.JPG"}, 'JPEG', 0, 1, "_Scan.JPG"},
      {"underscore only when 1", {}, 'JPEG', 0, 2, "Scan.JPG"},
  };
  for (const NamingCase& c : cases) {
    PrefsEnv env;
    const fs::path folder = env.root() / "Out";
    fs::create_directories(folder);
    for (const char* name : c.existing) Touch(folder / name);
    EXPECT_EQ(FinalName(folder, "Scan", c.type, c.alwaysNumber, 0, c.underscore), c.expected) << c.what;
  }
}

// The names of pages written together count as taken without a file, so 9999 of them
// reach the next serial level quickly.
TEST(WXNaming, PastNineThousandNineHundredNinetyNine) {
  PrefsEnv env;
  const fs::path folder = env.root() / "Out";
  fs::create_directories(folder);
  std::vector<std::vector<unsigned char>> pages;
  char name[32];
  for (int i = 1; i <= 9999; ++i) {
    std::snprintf(name, sizeof name, "S%04d", i);
    pages.push_back(PStr(name));
  }
  FSSpec out{};
  OSType type = 'JPEG';
  CWXUtility::create_Previewfile_spec(PStr("S").data(), FolderSpec(folder), &out, 0, &type, 1, pages, 0);
  EXPECT_EQ(FromP(out.name), "S00010000.JPG");
}

TEST(WXNaming, DatedSubfolderIsCreatedAndUsed) {
  PrefsEnv env;
  const fs::path folder = env.root() / "Out";
  fs::create_directories(folder / "2026-12-10");
  Touch(folder / "2026-12-10" / "Scan.JPG");
  Touch(folder / "Other.JPG");
  FSSpec spec{};
  EXPECT_EQ(FinalName(folder, "Scan", 'JPEG', 0, 1, 0, &spec), "Scan0001.JPG");
  std::string path;
  ASSERT_EQ(FSpGetPOSIXPath(&spec, &path), noErr);
  EXPECT_EQ(fs::path(path).parent_path(), folder / "2026-12-10");

  ClockSetFake(wxtest::FixedDate() + 86400 * 22, 0);  // 2027-01-01
  EXPECT_EQ(FinalName(folder, "Other", 'JPEG', 0, 1, 0, &spec), "Other.JPG");
  EXPECT_TRUE(fs::is_directory(folder / "2027-01-01"));
}

TEST(WXNaming, MissingDestinationIsCreated) {
  PrefsEnv env;
  const fs::path folder = env.root() / "New";
  fs::create_directories(folder);
  FSSpec spec = FolderSpec(folder);
  fs::remove(folder);
  FSSpec out{};
  OSType type = 'JPEG';
  CWXUtility::create_finalfile_spec(PStr("Scan").data(), spec, &out, 0, &type, 0, 0);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(FromP(out.name), "Scan.JPG");
}

// Every probe fails when the folder cannot be read; the search ends at once with a
// candidate the write will then report on.
TEST(WXNaming, UnreadableFolderEndsTheSearch) {
  PrefsEnv env;
  const fs::path parent = env.root() / "Locked";
  const fs::path folder = parent / "Out";
  fs::create_directories(folder);
  FSSpec spec = FolderSpec(folder);
  fs::remove_all(parent);
  Touch(parent);  // the parent is now a file: the folder can neither be found nor made
  FSSpec out{};
  OSType type = 'JPEG';
  CWXUtility::create_finalfile_spec(PStr("Scan").data(), spec, &out, 0, &type, 1, 0);
  EXPECT_EQ(FromP(out.name), "Scan0001.JPG");
}

TEST(WXNaming, PreviewNamesAvoidThePagesAndCutTheStem) {
  PrefsEnv env;
  const fs::path folder = env.root() / "Temp";
  fs::create_directories(folder);
  FSSpec out{};
  OSType type = 'TIFF';
  const std::vector<std::vector<unsigned char>> pages = {PStr("Scan0001"), PStr("Scan0002")};
  CWXUtility::create_Previewfile_spec(PStr("Scan").data(), FolderSpec(folder), &out, 0, &type, 1, pages, 0);
  EXPECT_EQ(FromP(out.name), "Scan0003.TIF");
  CWXUtility::create_Previewfile_spec(PStr("ABCDEFGHIJKLMNOPQRST").data(), FolderSpec(folder), &out, 0, &type, 1,
                                      {}, 0);
  EXPECT_EQ(FromP(out.name), "ABCDEFGHIJKLMNOP0001.TIF");
}

}  // namespace
