#include "appservices/LaunchServices.h"

#include <gtest/gtest.h>

#include "AppServicesFixture.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/MacErrors.h"

namespace {

namespace fs = std::filesystem;

// Applications, a bundle, documents and the desktop's MIME tables below a scratch root.
class LaunchServices : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(FindFolderPath(kUserDomain, kApplicationsFolderType, kCreateFolder, &mUserApps), noErr);
    ASSERT_EQ(FindFolderPath(kSystemDomain, kApplicationsFolderType, kCreateFolder, &mSystemApps), noErr);
    mProgram = mRoot / "bin" / "tool";
    wxtest::WriteFile(mProgram, "#!/bin/sh\nexit 0\n", 0755);
    LSInit(kLSInitializeDefaults);
  }
  void TearDown() override { LSTerm(); }

  std::string Desktop(const std::string& folder, const std::string& name, const std::string& body) {
    const std::string path = folder + "/" + name;
    wxtest::WriteFile(path, "[Desktop Entry]\n" + body);
    return path;
  }
  UInt32 Flags(const fs::path& path, std::string* extension = nullptr, OSType* type = nullptr) {
    FSRef ref;
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr), noErr) << path;
    LSItemInfoRecord info{};
    EXPECT_EQ(LSCopyItemInfoForRef(&ref, kLSRequestAllInfo, &info), noErr);
    if (extension) {
      char text[64] = "";
      if (info.extension) CFStringGetCString(info.extension, text, sizeof text, kCFStringEncodingUTF8);
      *extension = text;
    }
    if (type) *type = info.filetype;
    if (info.extension) CFRelease(info.extension);
    return info.flags;
  }
  std::string Found(OSType creator, const char* extension = nullptr) {
    CFStringRef ext = extension ? CFStringCreateWithCString(nullptr, extension, kCFStringEncodingUTF8) : nullptr;
    FSRef ref;
    CFURLRef url = nullptr;
    OSStatus err = LSGetApplicationForInfo('????', creator, ext, kLSRolesAll, &ref, &url);
    if (ext) CFRelease(ext);
    if (err != noErr) return std::to_string(err);
    char path[1024];
    FSRefMakePath(&ref, reinterpret_cast<UInt8*>(path), sizeof path);
    UInt8 fromURL[1024];
    CFURLGetFileSystemRepresentation(url, true, fromURL, sizeof fromURL);
    EXPECT_EQ(fs::canonical(reinterpret_cast<char*>(fromURL)), fs::path(path));
    CFRelease(url);
    return fs::path(path).filename().string();
  }

  wxtest::AppServicesRoot mRoot;
  std::string mUserApps, mSystemApps;
  fs::path mProgram;
};

TEST_F(LaunchServices, ItemKindsAndWhetherTheyRunHere) {
  const fs::path bundle = mRoot / "Viewer.app";
  wxtest::WriteFile(bundle / "Contents/Info.plist",
                    "<plist version=\"1.0\"><dict><key>CFBundlePackageType</key><string>APPL</string>"
                    "<key>CFBundleSignature</key><string>VIEW</string>"
                    "<key>CFBundleExecutable</key><string>viewer</string></dict></plist>");
  wxtest::WriteFile(bundle / "Contents/MacOS/viewer", "#!/bin/sh\n", 0755);
  const fs::path elf = mRoot / "true";
  fs::copy_file("/bin/true", elf);
  const fs::path marked = mRoot / "notes.txt";
  wxtest::WriteFile(marked, "all files marked executable", 0755);
  const fs::path typed = mRoot / "typed";
  wxtest::WriteFile(typed, "x", 0644);
  FSSpec spec;
  FSpMakeFromPOSIXPath(typed.string(), &spec);
  FInfo finfo{};
  finfo.fdType = 'APPL';
  FSpSetFInfo(&spec, &finfo);
  const std::string good = Desktop(mRoot.path().string(), "good.desktop", "Type=Application\nExec=" + mProgram.string() + " %f\n");
  const std::string missing = Desktop(mRoot.path().string(), "gone.desktop", "Type=Application\nExec=/no/such/program\n");
  const std::string hidden = Desktop(mRoot.path().string(), "hidden.desktop", "Type=Application\nHidden=true\nExec=" + mProgram.string() + "\n");
  const std::string link = Desktop(mRoot.path().string(), "site.desktop", "Type=Link\nURL=https://example.invalid\n");
  const fs::path doc = mRoot / "scan.PDF";
  wxtest::WriteFile(doc, "%PDF");

  constexpr UInt32 kApp = kLSItemInfoIsApplication, kRuns = kLSItemInfoIsNativeApp | kLSItemInfoAppPrefersNative,
                   kNot = kLSItemInfoAppPrefersClassic;
  struct Case {
    fs::path path;
    UInt32 flags;
    const char* extension;
  };
  const Case cases[] = {
      {bundle, kLSItemInfoIsContainer | kLSItemInfoIsPackage | kApp | kRuns, "app"},
      {elf, kLSItemInfoIsPlainFile | kApp | kRuns, ""},
      {mProgram, kLSItemInfoIsPlainFile | kApp | kRuns, ""},
      {marked, kLSItemInfoIsPlainFile, "txt"},
      {typed, kLSItemInfoIsPlainFile | kApp | kNot, ""},
      {good, kLSItemInfoIsPlainFile | kApp | kRuns, "desktop"},
      {missing, kLSItemInfoIsPlainFile | kApp | kNot, "desktop"},
      {hidden, kLSItemInfoIsPlainFile | kApp | kNot, "desktop"},
      {link, kLSItemInfoIsPlainFile, "desktop"},
      {doc, kLSItemInfoIsPlainFile, "PDF"},
      {mRoot / "bin", kLSItemInfoIsContainer, ""},
  };
  for (const Case& c : cases) {
    std::string extension;
    EXPECT_EQ(Flags(c.path, &extension), c.flags) << c.path;
    EXPECT_EQ(extension, c.extension) << c.path;
  }
}

TEST_F(LaunchServices, FinderInfoTypesApplicationsAsAPPL) {
  struct Case {
    fs::path path;
    OSType type;
    UInt16 flags;
  };
  const fs::path doc = mRoot / "doc.txt";
  wxtest::WriteFile(doc, "text", 0755);
  const std::string entry = Desktop(mRoot.path().string(), "app.desktop", "Type=Application\nExec=" + mProgram.string() + "\n");
  const fs::path alias = mRoot / "alias";
  fs::create_symlink(mProgram, alias);
  const Case cases[] = {{mProgram, 'APPL', 0}, {entry, 'APPL', 0}, {doc, 0, 0}, {alias, 0, kIsAlias}};
  for (const Case& c : cases) {
    FSSpec spec;
    ASSERT_EQ(FSpMakeFromPOSIXPath(c.path.string(), &spec), noErr);
    FInfo info;
    ASSERT_EQ(FSpGetFInfo(&spec, &info), noErr);
    EXPECT_EQ(info.fdType, c.type) << c.path;
    EXPECT_EQ(info.fdFlags & kIsAlias, c.flags) << c.path;
  }
}

TEST_F(LaunchServices, ApplicationsByCreatorUserFolderFirst) {
  Desktop(mSystemApps, "sys-ocr.desktop", "Type=Application\nX-Wendrix-Creator=OCRa\nExec=" + mProgram.string() + "\n");
  Desktop(mUserApps, "user-ocr.desktop", "Type=Application\nX-Wendrix-Creator=OCRa\nExec=" + mProgram.string() + "\n");
  Desktop(mSystemApps, "other.desktop", "Type=Application\nX-Wendrix-Creator=OTHR\nExec=" + mProgram.string() + "\n");
  const fs::path typed = fs::path(mSystemApps) / "painter";
  wxtest::WriteFile(typed, "#!/bin/sh\n", 0755);
  FSSpec spec;
  FSpMakeFromPOSIXPath(typed.string(), &spec);
  FInfo info{};
  info.fdType = 'APPL';
  info.fdCreator = 'PNTR';
  FSpSetFInfo(&spec, &info);

  EXPECT_EQ(Found('OCRa'), "user-ocr.desktop");
  EXPECT_EQ(Found('OTHR'), "other.desktop");
  EXPECT_EQ(Found('PNTR'), "painter");
  EXPECT_EQ(Found('NONE'), std::to_string(kLSApplicationNotFoundErr));
}

TEST_F(LaunchServices, MailFallsBackToTheMailtoHandler) {
  EXPECT_EQ(Found('emal'), std::to_string(kLSApplicationNotFoundErr));
  Desktop(mSystemApps, "mailer.desktop", "Type=Application\nExec=" + mProgram.string() + " %u\n");
  wxtest::WriteFile(mRoot / ".config" / "mimeapps.list",
                    "[Default Applications]\nx-scheme-handler/mailto=missing.desktop;mailer.desktop;\n");
  EXPECT_EQ(Found('emal'), "mailer.desktop");
  // An application that carries the code itself comes first.
  Desktop(mUserApps, "own.desktop", "Type=Application\nX-Wendrix-Creator=emal\nExec=" + mProgram.string() + "\n");
  EXPECT_EQ(Found('emal'), "own.desktop");
}

TEST_F(LaunchServices, ApplicationsByExtensionFromTheMimeTables) {
  Desktop(mSystemApps, "reader.desktop", "Type=Application\nExec=" + mProgram.string() + " %f\n");
  EXPECT_EQ(Found(0, "PDF"), std::to_string(kLSApplicationNotFoundErr));
  wxtest::WriteFile(mRoot / "usr/share/mime/globs2", "# globs\n50:application/pdf:*.pdf\n50:image/jpeg:*.jpg\n");
  wxtest::WriteFile(fs::path(mSystemApps) / "mimeapps.list", "[Default Applications]\napplication/pdf=reader.desktop\n");
  EXPECT_EQ(Found(0, "PDF"), "reader.desktop");
  EXPECT_EQ(Found(0, "jpg"), std::to_string(kLSApplicationNotFoundErr));
}

}  // namespace
