#include "ChooserFixtures.h"

#include <fstream>

namespace fs = std::filesystem;

namespace wxtest {

namespace {

void Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
}

void MakePackage(const fs::path& folder, const std::string& type) {
  Write(folder / "Contents" / "Info.plist",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
        "<key>CFBundlePackageType</key><string>" + type + "</string></dict></plist>\n");
}

}  // namespace

void MakeChooserTree(const fs::path& root) {
  Write(root / "docs" / "a.pdf", "%PDF-1.4\n");
  Write(root / "docs" / "b.txt", "text\n");
  Write(root / "docs" / ".hidden", "x\n");
  Write(root / "docs" / "sub" / "c.pdf", "%PDF-1.4\n");
  Write(root / "apps" / "viewer.desktop",
        "[Desktop Entry]\nType=Application\nName=Image Viewer\nExec=/bin/true %F\n");
  Write(root / "apps" / "tool", "#!/bin/sh\nexit 0\n");
  fs::permissions(root / "apps" / "tool", fs::perms::owner_all);
  MakePackage(root / "apps" / "Viewer.app", "APPL");
  MakePackage(root / "apps" / "Data.pkg", "BNDL");
  fs::create_directory_symlink(root / "docs", root / "link-to-docs");
  fs::create_symlink(root / "docs" / "a.pdf", root / "link-to-a");
}

FSSpec SpecAt(const fs::path& path) {
  FSSpec spec{};
  FSpMakeFromPOSIXPath(path.string(), &spec);
  return spec;
}

std::string SpecPathText(const FSSpec& spec) {
  std::string path;
  return FSpGetPOSIXPath(&spec, &path) == noErr ? path : std::string();
}

}  // namespace wxtest
