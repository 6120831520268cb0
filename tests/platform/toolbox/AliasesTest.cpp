#include "toolbox/Aliases.h"

#include <unistd.h>

#include <functional>

#include "FilesFixture.h"
#include "toolbox/MacMemory.h"

namespace fs = std::filesystem;
using wxtest::Name;
using wxtest::PStr;
using wxtest::ReadText;
using wxtest::WriteText;

namespace {

class Aliases : public wxtest::FilesFixture {
 protected:
  std::string PathOf(const FSSpec& spec) {
    std::string path;
    EXPECT_EQ(FSpGetPOSIXPath(&spec, &path), noErr);
    return path;
  }
  AliasHandle AliasTo(std::string_view name) {
    FSSpec target = Spec(name);
    AliasHandle alias = nullptr;
    EXPECT_EQ(NewAlias(nullptr, &target, &alias), noErr) << name;
    return alias;
  }
  // An alias file: the Finder's alias flag, the record in the data fork.
  void MakeAliasFile(std::string_view name, std::string_view targetName) {
    AliasHandle alias = AliasTo(targetName);
    ASSERT_NE(alias, nullptr);
    WriteText(app / std::string(name), std::string(*alias, static_cast<size_t>(GetHandleSize(alias))));
    DisposeHandle(alias);
    FSSpec file = Spec(name);
    FInfo info{};
    info.fdFlags = kIsAlias;
    ASSERT_EQ(FSpSetFInfo(&file, &info), noErr);
  }
};

std::string SelfPath() {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

TEST_F(Aliases, FindTheItemWhereItWas) {
  WriteText(app / "doc", "d");
  AliasHandle alias = AliasTo("doc");
  ASSERT_NE(alias, nullptr);
  EXPECT_GE(GetHandleSize(alias), 6);
  FSSpec found;
  Boolean changed = true;
  ASSERT_EQ(ResolveAlias(nullptr, alias, &found, &changed), noErr);
  EXPECT_FALSE(changed);
  EXPECT_EQ(PathOf(found), (app / "doc").string());
  DisposeHandle(alias);

  FSSpec missing = Spec("missing");
  EXPECT_EQ(NewAlias(nullptr, &missing, &alias), fnfErr);
}

TEST_F(Aliases, FollowTheItemThroughRenamesAndMoves) {
  fs::create_directories(app / "folder");
  WriteText(app / "folder" / "doc", "d");
  AliasHandle alias = AliasTo(":folder:doc");

  struct Step {
    const char* what;
    std::function<void()> change;
    fs::path expected;
  };
  const Step steps[] = {
      {"renamed in its folder", [&] { fs::rename(app / "folder" / "doc", app / "folder" / "renamed"); },
       app / "folder" / "renamed"},
      {"its folder renamed by us", [&] {
         FSSpec folder = Spec("folder");
         ASSERT_EQ(FSpRename(&folder, PStr("moved")), noErr);
       },
       app / "moved" / "renamed"},
      {"replaced by a save", [&] {
         fs::remove(app / "moved" / "renamed");
         WriteText(app / "moved" / "renamed", "new");
       },
       app / "moved" / "renamed"},
  };
  for (const auto& step : steps) {
    step.change();
    FSSpec found;
    Boolean changed = false;
    ASSERT_EQ(ResolveAlias(nullptr, alias, &found, &changed), noErr) << step.what;
    EXPECT_TRUE(changed) << step.what;
    EXPECT_EQ(PathOf(found), step.expected.string()) << step.what;
    ASSERT_EQ(ResolveAlias(nullptr, alias, &found, &changed), noErr) << step.what;
    EXPECT_FALSE(changed) << step.what << ": the record was brought up to date";
  }
  fs::remove(app / "moved" / "renamed");
  FSSpec found;
  EXPECT_EQ(ResolveAlias(nullptr, alias, &found, nullptr), fnfErr);
  DisposeHandle(alias);
}

TEST_F(Aliases, DamagedRecordsAreRefused) {
  WriteText(app / "doc", "d");
  AliasHandle alias = AliasTo("doc");
  FSSpec found;
  for (Size size : {Size(0), Size(5), Size(20), GetHandleSize(alias) - 1}) {
    Handle cut = NewHandle(size);
    std::memcpy(*cut, *alias, static_cast<size_t>(size));
    EXPECT_EQ(ResolveAlias(nullptr, cut, &found, nullptr), paramErr) << size;
    DisposeHandle(cut);
  }
  (*alias)[8] ^= 0x55;  // the magic
  EXPECT_EQ(ResolveAlias(nullptr, alias, &found, nullptr), paramErr);
  DisposeHandle(alias);
}

TEST_F(Aliases, AliasFilesAndLinksResolve) {
  fs::create_directories(app / "dir");
  WriteText(app / "target", "t");
  MakeAliasFile("alias1", "target");
  MakeAliasFile("alias2", "alias1");
  MakeAliasFile("dirAlias", "dir");
  fs::create_symlink(app / "alias2", app / "link");
  fs::create_symlink("loopB", app / "loopA");
  fs::create_symlink("loopA", app / "loopB");
  fs::create_symlink("nowhere", app / "broken");

  struct Case {
    const char* name;
    Boolean chains;
    OSErr expected;
    const char* result;
    bool aliased;
    bool folder;
  };
  const Case cases[] = {
      {"target", true, noErr, "target", false, false},
      {"alias1", true, noErr, "target", true, false},
      {"alias2", true, noErr, "target", true, false},
      {"alias2", false, noErr, "alias1", true, false},
      {"link", true, noErr, "target", true, false},
      {"link", false, noErr, "alias2", true, false},
      {"dirAlias", true, noErr, "dir", true, true},
      {"dir", true, noErr, "dir", false, true},
      {"loopA", true, fnfErr, nullptr, false, false},
      {"broken", true, fnfErr, nullptr, false, false},
      {"missing", true, fnfErr, nullptr, false, false},
  };
  for (const auto& c : cases) {
    FSSpec spec = Spec(c.name);
    Boolean folder = !c.folder, aliased = !c.aliased;
    ASSERT_EQ(ResolveAliasFile(&spec, c.chains, &folder, &aliased), c.expected) << c.name;
    if (c.expected != noErr) continue;
    EXPECT_EQ(Name(spec), c.result) << c.name;
    EXPECT_EQ(aliased, c.aliased) << c.name;
    EXPECT_EQ(folder, c.folder) << c.name;
  }
  FInfo info;
  FSSpec link = Spec("link");
  ASSERT_EQ(FSpGetFInfo(&link, &info), noErr);
  EXPECT_EQ(info.fdFlags & kIsAlias, kIsAlias);
}

// The record is written by this process and resolved by a second one.
TEST_F(Aliases, ARecordResolvesInASecondProcess) {
  WriteText(app / "kept.pdf", "%PDF");
  AliasHandle alias = AliasTo("kept.pdf");
  WriteText(scratch / "alias.bin", std::string(*alias, static_cast<size_t>(GetHandleSize(alias))));
  DisposeHandle(alias);
  fs::rename(app / "kept.pdf", app / "renamed.pdf");
  std::string out;
  std::string command = "WX_ALIAS_CHILD='" + scratch.path().string() + "' '" + SelfPath() +
                        "' --gtest_also_run_disabled_tests --gtest_filter=AliasesChild.DISABLED_ResolvesTheStoredRecord";
  EXPECT_EQ(wxtest::Run(command, &out), 0) << out;
  EXPECT_EQ(ReadText(scratch / "child.txt"), (app / "renamed.pdf").string());
}

// The second process of the test above: disabled, so that only that test runs it.
TEST(AliasesChild, DISABLED_ResolvesTheStoredRecord) {
  const char* dir = getenv("WX_ALIAS_CHILD");
  if (!dir) GTEST_SKIP() << "started by Aliases.ARecordResolvesInASecondProcess";
  setenv("WENDRIX_ROOT", dir, 1);
  std::string bytes = ReadText(fs::path(dir) / "alias.bin");
  Handle alias = NewHandle(static_cast<Size>(bytes.size()));
  std::memcpy(*alias, bytes.data(), bytes.size());
  FSSpec found;
  Boolean changed = false;
  ASSERT_EQ(ResolveAlias(nullptr, alias, &found, &changed), noErr);
  EXPECT_TRUE(changed);
  std::string path;
  ASSERT_EQ(FSpGetPOSIXPath(&found, &path), noErr);
  WriteText(fs::path(dir) / "child.txt", path);
  DisposeHandle(alias);
}

}  // namespace
