// What the File, Folder and Alias Manager tests share: every location of the platform moved
// into a scratch folder, Pascal-string literals, and a file system mounted for one test.
#pragma once

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"
#include "toolbox/TextUtils.h"

namespace wxtest {

// A Pascal string from text (bytes in the system script).
struct PStr {
  Str255 s{};
  explicit PStr(std::string_view text) {
    s[0] = static_cast<unsigned char>(text.size());
    std::memcpy(s + 1, text.data(), text.size());
  }
  operator const unsigned char*() const { return s; }
};

inline std::string Name(const FSSpec& spec) { return PStrToString(spec.name); }

inline void WriteText(const std::filesystem::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

inline std::string ReadText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The root and the application folder inside a fresh scratch folder.
class FilesFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("WENDRIX_ROOT", scratch.path().c_str(), 1);
    app = scratch / "app";
    std::filesystem::create_directories(app);
    FolderSetApplicationDir(app.string());
  }
  void TearDown() override {
    FSTestSetWriteLimit(-1);
    FSTestSetReadLimit(-1);
    FolderSetApplicationDir("");
    unsetenv("WENDRIX_ROOT");
  }
  // A spec for `name` relative to the application folder (noErr or fnfErr expected).
  FSSpec Spec(std::string_view name) {
    FSSpec spec{};
    OSErr err = FSMakeFSSpec(0, 0, PStr(name), &spec);
    EXPECT_TRUE(err == noErr || err == fnfErr) << name << ": " << err;
    return spec;
  }
  SInt32 DirID(const FSSpec& folder) {
    SInt32 id = 0;
    Boolean isDir = false;
    EXPECT_EQ(FSpGetDirectoryID(&folder, &id, &isDir), noErr);
    EXPECT_TRUE(isDir);
    return id;
  }

  ScratchDir scratch;
  std::filesystem::path app;
};

// A file system mounted on a folder for the length of a test (needs root; ok() says whether it worked).
class Mount {
 public:
  Mount(const std::filesystem::path& at, const char* type, const char* options, unsigned long flags = 0) : mAt(at) {
    std::filesystem::create_directories(at);
    mOk = mount(type, at.c_str(), type, flags, options) == 0;
  }
  ~Mount() {
    if (mOk) umount2(mAt.c_str(), MNT_DETACH);
  }
  bool ok() const { return mOk; }

 private:
  std::filesystem::path mAt;
  bool mOk;
};

}  // namespace wxtest
