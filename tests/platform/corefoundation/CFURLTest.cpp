#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "corefoundation/CoreFoundation.h"
#include "support/TestEnv.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"

namespace {

namespace fs = std::filesystem;

std::string PathOf(CFURLRef url) {
  UInt8 path[1024];
  return CFURLGetFileSystemRepresentation(url, true, path, sizeof path) ? reinterpret_cast<char*>(path) : "<none>";
}

std::string Text(CFStringRef s) {
  char buffer[1024];
  return CFStringGetCString(s, buffer, sizeof buffer, kCFStringEncodingUTF8) ? buffer : "<none>";
}

CFURLRef FromPath(const std::string& path, bool isDirectory = false) {
  return CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(path.c_str()),
                                                 static_cast<CFIndex>(path.size()), isDirectory);
}

class FileURLs : public ::testing::Test {
 protected:
  void SetUp() override { setenv("WENDRIX_ROOT", mDir.path().c_str(), 1); }
  void TearDown() override { unsetenv("WENDRIX_ROOT"); }
  wxtest::ScratchDir mDir;
};

TEST_F(FileURLs, PathsAndStringsGoBothWays) {
  struct Case {
    const char* path;
    const char* normal;
    const char* url;
  };
  const Case cases[] = {
      {"/home/u/Scan 1.pdf", "/home/u/Scan 1.pdf", "file:///home/u/Scan%201.pdf"},
      {"/a/./b/../c", "/a/c", "file:///a/c"},
      {"/x/caf\xc3\xa9#1", "/x/caf\xc3\xa9#1", "file:///x/caf%C3%A9%231"},
  };
  for (const Case& c : cases) {
    CFURLRef url = FromPath(c.path);
    EXPECT_EQ(PathOf(url), c.normal);
    EXPECT_EQ(Text(CFURLGetString(url)), c.url);
    CFURLRef back = CFURLCreateWithString(nullptr, CFURLGetString(url), nullptr);
    EXPECT_TRUE(CFEqual(url, back)) << c.path;
    CFStringRef posix = CFURLCopyFileSystemPath(back, kCFURLPOSIXPathStyle);
    EXPECT_EQ(Text(posix), c.normal);
    CFRelease(posix);
    CFRelease(back);
    CFRelease(url);
  }
  CFStringRef other = CFStringCreateWithCString(nullptr, "http://example.invalid/", kCFStringEncodingUTF8);
  EXPECT_EQ(CFURLCreateWithString(nullptr, other, nullptr), nullptr);
  CFRelease(other);
}

TEST_F(FileURLs, FSRefsGoBothWays) {
  const fs::path file = mDir / "doc.txt";
  std::ofstream(file) << "x";
  FSRef ref;
  ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(file.c_str()), &ref, nullptr), noErr);
  CFURLRef url = CFURLCreateFromFSRef(nullptr, &ref);
  EXPECT_EQ(PathOf(url), fs::canonical(file).string());
  EXPECT_FALSE(CFURLHasDirectoryPath(url));
  FSRef again;
  ASSERT_TRUE(CFURLGetFSRef(url, &again));
  char a[1024], b[1024];
  ASSERT_EQ(FSRefMakePath(&ref, reinterpret_cast<UInt8*>(a), sizeof a), noErr);
  ASSERT_EQ(FSRefMakePath(&again, reinterpret_cast<UInt8*>(b), sizeof b), noErr);
  EXPECT_STREQ(a, b);
  CFRelease(url);

  CFURLRef missing = FromPath((mDir / "none").string());
  EXPECT_FALSE(CFURLGetFSRef(missing, &again));
  CFRelease(missing);
}

TEST_F(FileURLs, OriginalPathsLieBelowTheRoot) {
  CFURLRef tmp = FromPath("/Tmp/KVQR.x.plist");
  EXPECT_EQ(PathOf(tmp), FolderEventDir() + "/KVQR.x.plist");
  CFRelease(tmp);
  std::string support;
  ASSERT_EQ(FindFolderPath(kLocalDomain, kApplicationSupportFolderType, kCreateFolder, &support), noErr);
  CFURLRef help = FromPath("/Library/Application Support/Books/Guide.help");
  EXPECT_EQ(PathOf(help), support + "/Books/Guide.help");
  CFRelease(help);
  // Only whole path elements are mapped.
  CFURLRef other = FromPath("/Tmpfiles/a");
  EXPECT_EQ(PathOf(other), "/Tmpfiles/a");
  CFRelease(other);
}

TEST_F(FileURLs, ComponentsAreAddedAndTaken) {
  CFURLRef folder = FromPath("/a/b", true);
  CFURLRef child = CFURLCreateCopyAppendingPathComponent(nullptr, folder, CFSTR("c.txt"), false);
  EXPECT_EQ(PathOf(child), "/a/b/c.txt");
  CFStringRef last = CFURLCopyLastPathComponent(child);
  EXPECT_EQ(Text(last), "c.txt");
  CFURLRef parent = CFURLCreateCopyDeletingLastPathComponent(nullptr, child);
  EXPECT_TRUE(CFEqual(parent, folder));
  EXPECT_EQ(Text(CFURLGetString(folder)), "file:///a/b/");
  for (CFTypeRef o : {CFTypeRef(folder), CFTypeRef(child), CFTypeRef(last), CFTypeRef(parent)}) CFRelease(o);
}

}  // namespace
