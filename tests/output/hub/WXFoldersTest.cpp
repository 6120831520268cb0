#include "output/hub/WXFolders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/prefs/PrefsTestEnv.h"

namespace {

using wxtest::FromP;
using wxtest::PrefsEnv;
namespace fs = std::filesystem;

std::string PathOf(const FSSpec& spec) {
  std::string path;
  FSpGetPOSIXPath(&spec, &path);
  return path;
}

FSSpec SpecOf(const fs::path& path) {
  FSSpec spec{};
  FSpMakeFromPOSIXPath(path.string(), &spec);
  return spec;
}

void Touch(const fs::path& path) { std::fclose(std::fopen(path.c_str(), "wb")); }

TEST(WXFolders, DefaultOutputFolderIsMadeWithItsParent) {
  PrefsEnv env;
  std::string pictures;
  FindFolderPath(kOnSystemDisk, kPictureDocumentsFolderType, kCreateFolder, &pictures);
  fs::remove_all(fs::path(pictures) / "My Pictures");
  ASSERT_EQ(CWXUtility::Create_Default_Dir(), 1);
  EXPECT_TRUE(fs::is_directory(fs::path(pictures) / "My Pictures" / "Wendrix"));
  FSSpec folder{};
  ASSERT_EQ(CWXUtility::Get_Default_Dir(&folder), 1);
  EXPECT_EQ(PathOf(folder), (fs::path(pictures) / "My Pictures" / "Wendrix").string());
}

TEST(WXFolders, TemporaryFolderIsRememberedAndFoundAgain) {
  PrefsEnv env;
  FSSpec temp{}, parent{};
  ASSERT_EQ(CWXUtility::Get_Default_TempDir(&temp, &parent), 1);
  EXPECT_EQ(FromP(temp.name), "WX50Temp");
  EXPECT_EQ(fs::path(PathOf(temp)).parent_path(), env.PrefsFolder() / "Dremlo Wendrix 5.0");

  const fs::path chosen = env.root() / "Chosen";
  fs::create_directories(chosen / "WX50Temp" / "deep" / "deeper");
  Touch(chosen / "WX50Temp" / "tmp00001.dat");
  Touch(chosen / "WX50Temp" / "deep" / "deeper" / "x");
  FSSpec made{};
  ASSERT_EQ(CWXUtility::Create_Default_TempDir(SpecOf(chosen), &made), 1);
  EXPECT_TRUE(fs::is_directory(chosen / "WX50Temp"));
  EXPECT_TRUE(fs::is_empty(chosen / "WX50Temp"));
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    EXPECT_EQ(PathOf(PREF_SETTING::kTempFolder.get(PREF_ALL::kSetting.in(prefs.PrefAll()))),
              (chosen / "WX50Temp").string());
  }

  fs::remove_all(chosen / "WX50Temp");
  SInt16 vRef = 0;
  SInt32 dirID = 0;
  ASSERT_EQ(CWXUtility::FindTempFolder(&vRef, &dirID), 1);
  EXPECT_TRUE(fs::is_directory(chosen / "WX50Temp"));

  fs::remove_all(chosen);
  EXPECT_EQ(CWXUtility::FindTempFolder(&vRef, &dirID), 0);
}

TEST(WXFolders, OnlyTempcopyPageFilesAreDeleted) {
  PrefsEnv env;
  FSSpec temp{}, parent{};
  ASSERT_EQ(CWXUtility::Get_Default_TempDir(&temp, &parent), 1);
  FSSpec made{};
  ASSERT_EQ(CWXUtility::Create_Default_TempDir(parent, &made), 1);
  const fs::path folder = PathOf(made);
  const char* kept[] = {"tempcopy00a1.TIF", "tempcopy00001.TIF", "tempcopy0001.tif", "tempcopy0001.TIFF",
                        "xtempcopy0001.TIF", "tmp00001.dat"};
  for (const char* name : kept) Touch(folder / name);
  Touch(folder / "tempcopy0001.TIF");
  Touch(folder / "tempcopy9999.TIF");
  CWXUtility::DeleteTempFiles();
  EXPECT_FALSE(fs::exists(folder / "tempcopy0001.TIF"));
  EXPECT_FALSE(fs::exists(folder / "tempcopy9999.TIF"));
  for (const char* name : kept) EXPECT_TRUE(fs::exists(folder / name)) << name;
}

TEST(WXFolders, BusyFileIsRetriedThenReportedBusy) {
  PrefsEnv env;
  FSSpec file = env.MakeFile(env.root() / "busy.dat");
  SInt16 ref = 0;
  ASSERT_EQ(FSpOpenDF(&file, fsRdPerm, &ref), noErr);
  ClockSetAutoAdvance(1);
  const UInt32 start = TickCount();
  EXPECT_EQ(CWXUtility::DeleteFileWithRetry(file), fBsyErr);
  const UInt32 spent = TickCount() - start;
  EXPECT_GT(spent, 599u);
  EXPECT_LT(spent, 620u);
  FSClose(ref);
  EXPECT_EQ(CWXUtility::DeleteFileWithRetry(file), noErr);
  EXPECT_EQ(CWXUtility::DeleteFileWithRetry(file), fnfErr);
}

TEST(WXFolders, EmptyingNeverLoopsOnASubfolderThatStays) {
  PrefsEnv env;
  const fs::path folder = env.root() / "WX50Temp";
  fs::create_directories(folder / "a");
  fs::create_directories(folder / "stuck");
  fs::create_directories(folder / "z" / "inner");
  Touch(folder / "stuck" / "open.dat");
  Touch(folder / "z" / "inner" / "f");
  FSSpec held = SpecOf(folder / "stuck" / "open.dat");
  SInt16 ref = 0;
  ASSERT_EQ(FSpOpenDF(&held, fsRdPerm, &ref), noErr);  // cannot be deleted while open
  ClockSetAutoAdvance(50);
  CWXUtility::DeleteTempFoldersAndFiles(SpecOf(folder));
  FSClose(ref);
  EXPECT_TRUE(fs::exists(folder / "stuck" / "open.dat"));
  EXPECT_FALSE(fs::exists(folder / "a"));
  EXPECT_FALSE(fs::exists(folder / "z"));
  EXPECT_TRUE(fs::is_directory(folder));
}

TEST(WXFolders, LinksAreDeletedNotFollowed) {
  PrefsEnv env;
  const fs::path outside = env.root() / "Keep";
  fs::create_directories(outside);
  Touch(outside / "precious");
  const fs::path folder = env.root() / "WX50Temp";
  fs::create_directories(folder);
  fs::create_directory_symlink(outside, folder / "link");
  CWXUtility::DeleteTempFoldersAndFiles(SpecOf(folder));
  EXPECT_TRUE(fs::exists(outside / "precious"));
  EXPECT_FALSE(fs::is_symlink(folder / "link"));
}

TEST(WXFolders, OnlyAFolderNamedWX50TempIsEmptiedOrDeleted) {
  PrefsEnv env;
  const fs::path other = env.root() / "Documents";
  fs::create_directories(other / "sub");
  Touch(other / "letter");
  CWXUtility::DeleteTempFoldersAndFiles(SpecOf(other));
  EXPECT_TRUE(fs::exists(other / "letter"));
  EXPECT_EQ(CWXUtility::Delete_Default_TempDir(SpecOf(other)), paramErr);
  EXPECT_TRUE(fs::exists(other / "sub"));

  // A stored temporary folder that names something else is refused as well.
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    PREF_SETTING::kTempFolder.set(PREF_ALL::kSetting.in(prefs.PrefAll()), SpecOf(other));
  }
  FSSpec stored{};
  EXPECT_EQ(CWXUtility::Delete_Default_TempDir(stored), paramErr);
  EXPECT_TRUE(fs::exists(other / "letter"));
}

TEST(WXFolders, StoredTemporaryFolderIsDeletedAtExit) {
  PrefsEnv env;
  FSSpec temp{}, parent{};
  ASSERT_EQ(CWXUtility::Get_Default_TempDir(&temp, &parent), 1);
  FSSpec made{};
  ASSERT_EQ(CWXUtility::Create_Default_TempDir(parent, &made), 1);
  const fs::path folder = PathOf(made);
  fs::create_directories(folder / "sub");
  Touch(folder / "sub" / "f");
  FSSpec stored{};
  EXPECT_EQ(CWXUtility::Delete_Default_TempDir(stored), noErr);
  EXPECT_FALSE(fs::exists(folder));
  // Gone already: made again in the stored parent so that the deletion has a target.
  EXPECT_EQ(CWXUtility::Delete_Default_TempDir(stored), noErr);
  EXPECT_FALSE(fs::exists(folder));
}

TEST(WXFolders, FileSizeIsTheDataForkLength) {
  PrefsEnv env;
  const fs::path file = env.root() / "sized.dat";
  std::FILE* out = std::fopen(file.c_str(), "wb");
  std::fputs("twelve bytes", out);
  std::fclose(out);
  long size = -1;
  EXPECT_EQ(CWXUtility::FileSize(SpecOf(file), &size), noErr);
  EXPECT_EQ(size, 12);
  Touch(env.root() / "empty.dat");
  EXPECT_EQ(CWXUtility::FileSize(SpecOf(env.root() / "empty.dat"), &size), noErr);
  EXPECT_EQ(size, 0);
  EXPECT_EQ(CWXUtility::FileSize(SpecOf(env.root() / "missing.dat"), &size), fnfErr);
}

}  // namespace
