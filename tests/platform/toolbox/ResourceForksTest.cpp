// The Resource Manager on files named by FSSpec: type and creator, sidecars beside files
// with their own data, and a full disk.
#include <gtest/gtest.h>

#include "FilesFixture.h"
#include "toolbox/MacMemory.h"
#include "toolbox/ResourceFile.h"
#include "toolbox/ResourceFork.h"
#include "toolbox/Resources.h"

namespace fs = std::filesystem;
using wxtest::PStr;
using wxtest::ReadText;
using wxtest::WriteText;

namespace {

class ResourceForks : public wxtest::FilesFixture {};

Handle handleOf(const std::string& bytes) {
  Handle h = nullptr;
  EXPECT_EQ(PtrToHand(bytes.data(), &h, static_cast<Size>(bytes.size())), noErr);
  return h;
}

}  // namespace

TEST_F(ResourceForks, ANewResourceFileGetsItsTypeAndCreator) {
  const FSSpec spec = Spec("Vormix50.def.pref");
  FSpCreateResFile(&spec, 'QlWX', 'pref', smSystemScript);
  ASSERT_EQ(ResError(), noErr);
  FInfo info{};
  ASSERT_EQ(FSpGetFInfo(&spec, &info), noErr);
  EXPECT_EQ(info.fdType, OSType('pref'));
  EXPECT_EQ(info.fdCreator, OSType('QlWX'));
  FSpCreateResFile(&spec, 'QlWX', 'pref', smSystemScript);
  EXPECT_EQ(ResError(), dupFNErr);

  SInt16 ref = FSpOpenResFile(&spec, fsRdWrPerm);
  ASSERT_NE(ref, -1) << ResError();
  AddResource(handleOf(std::string(308, '\0')), 'dPre', 128, nullptr);
  CloseResFile(ref);
  ASSERT_EQ(ResError(), noErr);
  ASSERT_EQ(FSpGetFInfo(&spec, &info), noErr);
  EXPECT_EQ(info.fdType, OSType('pref')) << "rewriting the fork keeps the Finder info";

  ref = FSpOpenResFile(&spec, fsRdPerm);
  ASSERT_NE(ref, -1);
  EXPECT_NE(Get1Resource('dPre', 128), nullptr);
  CloseResFile(ref);

  const FSSpec missing = Spec("nothing.pref");
  EXPECT_EQ(FSpOpenResFile(&missing, fsRdPerm), -1);
  EXPECT_EQ(ResError(), fnfErr);
}

TEST_F(ResourceForks, APlugInKeepsItsCodeAndGetsASidecar) {
  const FSSpec spec = Spec("Driver");
  ASSERT_EQ(FSpCreate(&spec, '8BIM', '8BAM', smSystemScript), noErr);
  WriteText(app / "Driver", "ELF code");
  FSpCreateResFile(&spec, '8BIM', '8BAM', smSystemScript);
  ASSERT_EQ(ResError(), noErr);
  EXPECT_EQ(ReadText(app / "Driver"), "ELF code");
  ASSERT_TRUE(fs::exists(app / "._Driver"));

  const SInt16 ref = FSpOpenResFile(&spec, fsRdWrPerm);
  ASSERT_NE(ref, -1) << ResError();
  AddResource(handleOf("\x14" "Dispatchable Plug-in"), 'DiSp', 16000, nullptr);
  UpdateResFile(ref);
  EXPECT_EQ(ResError(), noErr);
  CloseResFile(ref);
  EXPECT_EQ(ReadText(app / "Driver"), "ELF code");
  FInfo info{};
  ASSERT_EQ(FSpGetFInfo(&spec, &info), noErr);
  EXPECT_EQ(info.fdType, OSType('8BAM'));
  ResFileImage image;
  ASSERT_EQ(ResForkReadImage((app / "Driver").string(), &image), noErr);
  ASSERT_EQ(image.records.size(), 1u);
  EXPECT_EQ(image.records[0].type, ResType('DiSp'));
}

TEST_F(ResourceForks, AFullDiskLeavesTheOldForkIntact) {
  wxtest::Mount tiny(app / "tiny", "tmpfs", "size=64k");
  if (!tiny.ok()) GTEST_SKIP() << "mounting a small file system needs root";
  const std::string path = (app / "tiny" / "prefs.rsrc").string();
  ASSERT_EQ(CreateResFilePath(path), noErr);
  const SInt16 ref = OpenResFilePath(path, fsRdWrPerm);
  ASSERT_NE(ref, -1);
  AddResource(handleOf("small"), 'TEST', 1, nullptr);
  UpdateResFile(ref);
  ASSERT_EQ(ResError(), noErr);
  const std::string before = ReadText(path);

  AddResource(handleOf(std::string(100 * 1024, 'x')), 'TEST', 2, nullptr);
  UpdateResFile(ref);
  EXPECT_EQ(ResError(), dskFulErr);
  CloseResFile(ref);
  EXPECT_EQ(ResError(), dskFulErr);
  EXPECT_EQ(ReadText(path), before);
  size_t files = 0;
  for (const auto& e : fs::directory_iterator(app / "tiny")) files += e.is_regular_file();
  EXPECT_EQ(files, 1u) << "no temporary file is left behind";
}
