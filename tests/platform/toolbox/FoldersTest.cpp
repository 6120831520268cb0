#include "toolbox/Folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include "FilesFixture.h"

namespace fs = std::filesystem;
using wxtest::Name;
using wxtest::PStr;

namespace {

class Folders : public wxtest::FilesFixture {};

TEST_F(Folders, EveryFolderLiesBelowTheRoot) {
  struct Case {
    SInt16 domain;
    OSType type;
    std::string relative;
  };
  const Case cases[] = {
      {kOnSystemDisk, kPreferencesFolderType, ".config/wendrix"},
      {kUserDomain, kPreferencesFolderType, ".config/wendrix"},
      {kOnSystemDisk, kPictureDocumentsFolderType, "Pictures"},
      {kOnSystemDisk, kTrashFolderType, ".local/share/Trash/files"},
      {kLocalDomain, kApplicationsFolderType, "usr/share/applications"},
      {kUserDomain, kApplicationsFolderType, ".local/share/applications"},
      {kSystemDomain, kFrameworksFolderType, "usr/lib"},
      {kSystemDomain, kColorSyncProfilesFolderType, "usr/share/color/icc"},
      {kLocalDomain, kColorSyncProfilesFolderType, "usr/local/share/color/icc"},
      {kUserDomain, kColorSyncProfilesFolderType, ".local/share/icc"},
      {kOnSystemDisk, kTemporaryFolderType, "tmp/wendrix-" + std::to_string(getuid())},
  };
  for (const auto& c : cases) {
    fs::path expected = scratch / c.relative;
    SInt16 vol = 0;
    SInt32 dir = 0;
    if (!fs::exists(expected)) {
      EXPECT_EQ(FindFolder(c.domain, c.type, kDontCreateFolder, &vol, &dir), fnfErr) << c.relative;
    }
    ASSERT_EQ(FindFolder(c.domain, c.type, kCreateFolder, &vol, &dir), noErr) << c.relative;
    EXPECT_TRUE(fs::is_directory(expected)) << c.relative;
    SInt16 vol2 = 0;
    SInt32 dir2 = 0;
    ASSERT_EQ(FindFolder(c.domain, c.type, kDontCreateFolder, &vol2, &dir2), noErr) << c.relative;
    EXPECT_EQ(dir2, dir);
    // The IDs name the folder for every other File Manager call.
    FSSpec spec;
    ASSERT_EQ(FSMakeFSSpec(vol, dir, PStr(""), &spec), noErr);
    std::string path;
    ASSERT_EQ(FSpGetPOSIXPath(&spec, &path), noErr);
    EXPECT_EQ(path, expected.string());
  }
  struct stat st;
  ASSERT_EQ(stat((scratch / ("tmp/wendrix-" + std::to_string(getuid()))).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_TRUE(fs::is_directory(scratch / ".local/share/Trash/info"));
}

TEST_F(Folders, UnknownTypesAreNotFound) {
  SInt16 vol;
  SInt32 dir;
  EXPECT_EQ(FindFolder(kOnSystemDisk, 'zzzz', kCreateFolder, &vol, &dir), fnfErr);
}

TEST_F(Folders, ApplicationEventAndSupportFolders) {
  EXPECT_EQ(FolderRoot(), scratch.path().string());
  EXPECT_EQ(FolderApplicationDir(), app.string());
  EXPECT_EQ(FolderEventDir(), (scratch / "tmp").string());
  EXPECT_EQ(FolderSupportDir(), (scratch / ".local/share/wendrix").string());
  EXPECT_TRUE(fs::is_directory(scratch / ".local/share/wendrix"));
  EXPECT_EQ(FolderColorProfileDirs().front(), (scratch / ".local/share/icc").string());

  FolderSetApplicationDir("");
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self);
  ASSERT_GT(n, 0);
  // The runtime tree is the folder above the executable's own; a test binary stands in
  // none, so its application folder is its own.
  const fs::path exe = fs::path(std::string(self, static_cast<size_t>(n))).parent_path();
  EXPECT_EQ(FolderInstallPrefix(), exe.parent_path().string());
  EXPECT_EQ(FolderApplicationDir(), exe.string());
  EXPECT_EQ(FolderProgramPath("wendrix"), (exe.parent_path() / "bin/wendrix").string());
  EXPECT_EQ(FolderRuntimePath(kRuntimeResourceFile), (exe.parent_path() / "share/wendrix/Wendrix.rsrc").string());
  FolderSetInstallPrefix(scratch.path().string());
  fs::create_directories(scratch / "lib/wendrix");
  EXPECT_EQ(FolderApplicationDir(), (scratch / "lib/wendrix").string());
  FolderSetInstallPrefix("");
}

TEST_F(Folders, WithoutTheRootTheUsersFoldersAreUsed) {
  unsetenv("WENDRIX_ROOT");
  const char* home = getenv("HOME");
  std::string savedHome = home ? home : "";
  setenv("HOME", "/home/someone", 1);
  setenv("XDG_CONFIG_HOME", (scratch / "cfg").c_str(), 1);
  setenv("TMPDIR", (scratch / "t").c_str(), 1);
  std::string path;
  ASSERT_EQ(FindFolderPath(kUserDomain, kPreferencesFolderType, kCreateFolder, &path), noErr);
  EXPECT_EQ(path, (scratch / "cfg/wendrix").string());
  EXPECT_EQ(FolderRoot(), "/home/someone");
  EXPECT_EQ(FolderEventDir(), (scratch / "t").string());
  ASSERT_EQ(FindFolderPath(kSystemDomain, kColorSyncProfilesFolderType, kDontCreateFolder, &path),
            fs::is_directory("/usr/share/color/icc") ? noErr : fnfErr);
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("TMPDIR");
  setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
