#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "corefoundation/CoreFoundation.h"
#include "support/TestEnv.h"
#include "toolbox/Folders.h"

namespace {

namespace fs = std::filesystem;

std::string Text(CFStringRef s) {
  char buffer[1024];
  return CFStringGetCString(s, buffer, sizeof buffer, kCFStringEncodingUTF8) ? buffer : "<none>";
}

std::string Plist(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>" + body + "</dict></plist>";
}

CFURLRef URLOf(const fs::path& path) {
  return CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(path.c_str()),
                                                 static_cast<CFIndex>(path.string().size()), true);
}

// A help book bundle with an English and a Japanese name.
class Bundles : public ::testing::Test {
 protected:
  void SetUp() override {
    mLive = CFLiveObjectCount();
    mBook = mDir / "Dremlo Help";
    fs::create_directories(mBook / "Contents/Resources/English.lproj");
    fs::create_directories(mBook / "Contents/Resources/ja.lproj");
    std::ofstream(mBook / "Contents/Info.plist")
        << Plist("<key>CFBundlePackageType</key><string>BNDL</string><key>CFBundleSignature</key><string>hbwr</string>"
                 "<key>CFBundleHelpBookName</key><string>Dremlo Help</string>");
    std::ofstream(mBook / "Contents/Resources/English.lproj/InfoPlist.strings")
        << Plist("<key>CFBundleHelpBookName</key><string>Dremlo Guide</string>");
    std::ofstream(mBook / "Contents/Resources/ja.lproj/InfoPlist.strings")
        << Plist("<key>CFBundleHelpBookName</key><string>\xe3\x83\x98\xe3\x83\xab\xe3\x83\x97</string>");
    const char* lang = std::getenv("LANG");
    mOldLang = lang ? lang : "";
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
  }
  void TearDown() override {
    setenv("LANG", mOldLang.c_str(), 1);
    EXPECT_EQ(CFLiveObjectCount(), mLive);
  }
  std::string LocalizedName(const char* lang) {
    setenv("LANG", lang, 1);
    CFURLRef url = URLOf(mBook);
    CFBundleRef bundle = CFBundleCreate(nullptr, url);
    CFStringRef name = CFBundleCopyLocalizedString(bundle, CFSTR("CFBundleHelpBookName"), nullptr, CFSTR("InfoPlist"));
    std::string text = Text(name);
    CFRelease(name);
    CFRelease(bundle);
    CFRelease(url);
    return text;
  }
  wxtest::ScratchDir mDir;
  fs::path mBook;
  std::string mOldLang;
  CFIndex mLive = 0;
};

TEST_F(Bundles, PackageInfoComesFromInfoPlist) {
  CFURLRef url = URLOf(mBook);
  CFBundleRef bundle = CFBundleCreate(nullptr, url);
  ASSERT_NE(bundle, nullptr);
  UInt32 type = 0, creator = 0;
  CFBundleGetPackageInfo(bundle, &type, &creator);
  EXPECT_EQ(type, UInt32('BNDL'));
  EXPECT_EQ(creator, UInt32('hbwr'));
  CFRelease(bundle);
  CFRelease(url);

  // A plain folder is a bundle with nothing to say.
  CFURLRef plainURL = URLOf(mDir.path());
  CFBundleRef plain = CFBundleCreate(nullptr, plainURL);
  ASSERT_NE(plain, nullptr);
  CFBundleGetPackageInfo(plain, &type, &creator);
  EXPECT_EQ(type, UInt32('????'));
  CFRelease(plain);
  CFRelease(plainURL);

  CFURLRef fileURL = URLOf(mBook / "Contents/Info.plist");
  EXPECT_EQ(CFBundleCreate(nullptr, fileURL), nullptr);
  CFRelease(fileURL);
}

TEST_F(Bundles, LocalizedStringsFollowTheLocale) {
  struct Case {
    const char* lang;
    const char* name;
  };
  const Case cases[] = {
      {"en_US.UTF-8", "Dremlo Guide"},
      {"ja_JP.UTF-8", "\xe3\x83\x98\xe3\x83\xab\xe3\x83\x97"},
      {"de_DE.UTF-8", "Dremlo Guide"},  // no German: English
      {"C", "Dremlo Guide"},
  };
  for (const Case& c : cases) EXPECT_EQ(LocalizedName(c.lang), c.name) << c.lang;
  fs::remove(mBook / "Contents/Resources/English.lproj/InfoPlist.strings");
  EXPECT_EQ(LocalizedName("en_US.UTF-8"), "Dremlo Help");  // the Info.plist's own value
}

TEST_F(Bundles, MissingKeysGiveTheValueOrTheKey) {
  CFURLRef url = URLOf(mBook);
  CFBundleRef bundle = CFBundleCreate(nullptr, url);
  CFStringRef a = CFBundleCopyLocalizedString(bundle, CFSTR("Nope"), CFSTR("fallback"), CFSTR("InfoPlist"));
  CFStringRef b = CFBundleCopyLocalizedString(bundle, CFSTR("Nope"), nullptr, nullptr);
  EXPECT_EQ(Text(a), "fallback");
  EXPECT_EQ(Text(b), "Nope");
  for (CFTypeRef o : {CFTypeRef(a), CFTypeRef(b), CFTypeRef(bundle), CFTypeRef(url)}) CFRelease(o);
}

// A bundle handed out before the application folder moved stays valid; the next one follows.
TEST_F(Bundles, TheMainBundleFollowsTheApplicationFolder) {
  auto frameworks = [](CFBundleRef bundle) {
    CFURLRef url = CFBundleCopyPrivateFrameworksURL(bundle);
    UInt8 path[1024];
    EXPECT_TRUE(CFURLGetFileSystemRepresentation(url, true, path, sizeof path));
    CFRelease(url);
    return std::string(reinterpret_cast<char*>(path));
  };
  const std::string first = (mDir / "first").string(), second = (mDir / "second").string();
  FolderSetApplicationDir(first);
  CFBundleRef before = CFBundleGetMainBundle();
  FolderSetApplicationDir(second);
  CFBundleRef after = CFBundleGetMainBundle();
  FolderSetApplicationDir("");
  EXPECT_EQ(frameworks(before), first + "/Frameworks");
  EXPECT_EQ(frameworks(after), second + "/Frameworks");
}

TEST_F(Bundles, MainBundlesFrameworksLieBesideTheExecutable) {
  CFBundleRef main = CFBundleGetMainBundle();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(CFBundleGetMainBundle(), main);
  CFURLRef frameworks = CFBundleCopyPrivateFrameworksURL(main);
  UInt8 path[1024];
  ASSERT_TRUE(CFURLGetFileSystemRepresentation(frameworks, true, path, sizeof path));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(path)), FolderApplicationDir() + "/Frameworks");
  CFRelease(frameworks);
}

}  // namespace
