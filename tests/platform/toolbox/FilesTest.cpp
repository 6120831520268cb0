#include "toolbox/Files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "FilesFixture.h"
#include "toolbox/FileIDTable.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"
#include "toolbox/TextConvert.h"

namespace fs = std::filesystem;
using wxtest::Name;
using wxtest::PStr;
using wxtest::ReadText;
using wxtest::WriteText;

namespace {

class Files : public wxtest::FilesFixture {};

std::string SelfPath() {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

std::vector<std::string> DirItemNames(const FSSpec& folder, bool files, bool dirs) {
  SInt32 id = 0;
  Boolean isDir;
  FSpGetDirectoryID(&folder, &id, &isDir);
  std::vector<std::string> names;
  SInt16 index = 1;
  for (;;) {
    FSSpec item;
    SInt16 count = 0;
    if (GetDirItems(folder.vRefNum, id, PStr(""), files, dirs, &item, 1, &count, &index) != noErr) break;
    names.push_back(Name(item));
  }
  return names;
}

TEST_F(Files, MakeFSSpecTellsFoundMissingAndBadApart) {
  fs::create_directories(app / "sub" / "deeper");
  WriteText(app / "sub" / "file", "x");
  FSSpec folder;
  ASSERT_EQ(FSMakeFSSpec(0, 0, PStr(""), &folder), noErr);
  EXPECT_EQ(Name(folder), "app");  // the application's folder itself

  struct Case {
    const char* name;
    OSErr expected;
    const char* leaf;  // the FSSpec's name when it is filled
  };
  const std::string tooLong(64, 'n');  // one byte too long for a Str63
  const Case cases[] = {
      {"sub", noErr, "sub"},
      {":sub:file", noErr, "file"},
      {":sub:deeper:", noErr, "deeper"},
      {":sub:deeper::file", noErr, "file"},
      {"missing", fnfErr, "missing"},
      {":sub:missing", fnfErr, "missing"},
      {":nofolder:file", dirNFErr, nullptr},
      {":sub:file:inside", dirNFErr, nullptr},
      {"::::::::::::::::::::::::::::::::::::::::::::::::::", dirNFErr, nullptr},  // above the top of the volume
      {"..", bdNamErr, nullptr},
      {":sub:..:..:..:x", bdNamErr, nullptr},
      {tooLong.c_str(), bdNamErr, nullptr},
      {"NoSuchVolume:file", nsvErr, nullptr},
  };
  for (const auto& c : cases) {
    FSSpec spec{};
    EXPECT_EQ(FSMakeFSSpec(0, 0, PStr(c.name), &spec), c.expected) << c.name;
    if (c.leaf) {
      EXPECT_EQ(Name(spec), c.leaf) << c.name;
    }
  }
  // The folder's own inode in mangled form names nothing ("." is never an item).
  struct stat appStat;
  ASSERT_EQ(stat(app.c_str(), &appStat), 0);
  char hex[32];
  snprintf(hex, sizeof hex, "#%llX", static_cast<unsigned long long>(appStat.st_ino));
  FSSpec dot;
  EXPECT_EQ(FSMakeFSSpec(0, 0, PStr(hex), &dot), fnfErr);
  EXPECT_EQ(Name(dot), hex);
  // A damaged spec whose name claims more than its field holds is refused, not read past.
  FSSpec damaged = dot;
  damaged.name[0] = 200;
  FInfo info;
  EXPECT_EQ(FSpGetFInfo(&damaged, &info), bdNamErr);
  std::string sixtyThree(63, 'n');
  EXPECT_EQ(FSMakeFSSpec(0, 0, PStr(sixtyThree), &folder), fnfErr);
}

TEST_F(Files, ReadDataForkTakesTheWholeFork) {
  WriteText(app / "page.jpg", std::string(70000, 'x') + "end");
  WriteText(app / "empty", "");
  std::vector<uint8_t> bytes{1, 2, 3};
  const FSSpec page = Spec("page.jpg"), empty = Spec("empty"), missing = Spec("missing");
  ASSERT_EQ(FSpReadDataFork(&page, &bytes), noErr);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), std::string(70000, 'x') + "end");
  ASSERT_EQ(FSpReadDataFork(&empty, &bytes), noErr);
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(FSpReadDataFork(&missing, &bytes), fnfErr);
  FSTestSetReadLimit(100);
  EXPECT_NE(FSpReadDataFork(&page, &bytes), noErr) << "a failed read is not reported as success";
}

TEST_F(Files, FullPathsStartAtTheVolume) {
  WriteText(app / "f", "x");
  FSSpec spec = Spec("f");
  SInt16 len;
  Handle h;
  ASSERT_EQ(FSpGetFullPath(&spec, &len, &h), noErr);
  EXPECT_EQ(std::string(*h, static_cast<size_t>(len)), (app / "f").string());
  DisposeHandle(h);

  // The same item through "Volume:folder:...:f".
  FSRef root;
  Boolean isDir;
  ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>("/"), &root, &isDir), noErr);
  FSSpec rootSpec;
  ASSERT_EQ(FSGetCatalogInfo(&root, kFSCatInfoNone, nullptr, nullptr, &rootSpec, nullptr), noErr);
  std::string hfs = Name(rootSpec);
  for (const auto& part : fs::relative(app / "f", "/")) hfs += ":" + part.string();
  FSSpec again;
  ASSERT_EQ(FSMakeFSSpec(0, 0, PStr(hfs), &again), noErr) << hfs;
  EXPECT_EQ(again.parID, spec.parID);
  EXPECT_EQ(Name(again), "f");
}

TEST_F(Files, SlashInANameStaysInItsFolder) {
  FSSpec spec = Spec("2024/05/01 scan");
  ASSERT_EQ(FSpCreate(&spec, 'prvw', 'JPEG', smSystemScript), noErr);
  EXPECT_TRUE(fs::is_regular_file(app / "2024:05:01 scan"));
  EXPECT_FALSE(fs::exists(app / "2024"));
  FSSpec again;
  ASSERT_EQ(FSMakeFSSpec(0, 0, PStr("2024/05/01 scan"), &again), noErr);
  EXPECT_EQ(Name(again), "2024/05/01 scan");
  EXPECT_EQ(DirItemNames(Spec(""), true, false), std::vector<std::string>{"2024/05/01 scan"});
}

TEST_F(Files, TypeAndCreatorLiveInTheExtendedAttribute) {
  WX_REQUIRE_TOOL("getfattr");
  FSSpec spec = Spec("picture.jpg");
  ASSERT_EQ(FSpCreate(&spec, 'prvw', 'JPEG', smSystemScript), noErr);
  EXPECT_EQ(FSpCreate(&spec, 'prvw', 'JPEG', smSystemScript), dupFNErr);
  FInfo info;
  ASSERT_EQ(FSpGetFInfo(&spec, &info), noErr);
  EXPECT_EQ(info.fdType, 'JPEG');
  EXPECT_EQ(info.fdCreator, 'prvw');
  info.fdFlags = kIsAlias;
  ASSERT_EQ(FSpSetFInfo(&spec, &info), noErr);

  std::string out;
  ASSERT_EQ(wxtest::Run("getfattr -d -e hex '" + (app / "picture.jpg").string() + "'", &out), 0);
  // 'JPEG' 'prvw', flags 0x8000, then zeros to 32 bytes.
  EXPECT_NE(out.find("user.com.apple.FinderInfo=0x4a504547707276778000" + std::string(44, '0')), std::string::npos) << out;
  wxtest::Run("cp --preserve=xattr '" + (app / "picture.jpg").string() + "' '" +
              (wxtest::OutputDir("toolbox") / "finder-info-sample").string() + "'");
  FInfo viaH;
  ASSERT_EQ(HGetFInfo(0, 0, PStr("picture.jpg"), &viaH), noErr);
  EXPECT_EQ(viaH.fdFlags, kIsAlias);
}

TEST_F(Files, FinderInfoWhereExtendedAttributesAreRefused) {
  wxtest::Mount ram(app / "ram", "ramfs", "");
  if (!ram.ok()) GTEST_SKIP() << "cannot mount a ramfs here";
  FSSpec spec = Spec(":ram:file");
  ASSERT_EQ(FSpCreate(&spec, 'prvw', 'JPEG', smSystemScript), noErr);
  FInfo info{};
  info.fdType = 'TIFF';
  EXPECT_EQ(FSpSetFInfo(&spec, &info), noErr);
  ASSERT_EQ(FSpGetFInfo(&spec, &info), noErr);
  EXPECT_EQ(info.fdType, 0u);
  EXPECT_EQ(info.fdCreator, 0u);
}

TEST_F(Files, DeletingAnOpenFileIsBusyUntilClosed) {
  FSSpec spec = Spec("open.tmp");
  ASSERT_EQ(FSpCreate(&spec, 'ttxt', 'TEXT', smSystemScript), noErr);
  SInt16 ref;
  ASSERT_EQ(FSpOpenDF(&spec, fsRdWrPerm, &ref), noErr);
  EXPECT_EQ(FSpDelete(&spec), fBsyErr);
  EXPECT_TRUE(fs::exists(app / "open.tmp"));
  ASSERT_EQ(FSClose(ref), noErr);
  EXPECT_EQ(FSpDelete(&spec), noErr);
  EXPECT_EQ(FSpDelete(&spec), fnfErr);
}

TEST_F(Files, DeleteRenameAndLocks) {
  fs::create_directories(app / "full");
  WriteText(app / "full" / "x", "x");
  EXPECT_EQ(FSpDelete(&static_cast<const FSSpec&>(Spec("full"))), fBsyErr);  // a folder with items

  FSSpec spec = Spec("a");
  ASSERT_EQ(FSpCreate(&spec, 'ttxt', 'TEXT', smSystemScript), noErr);
  WriteText(app / "b", "b");
  EXPECT_EQ(FSpRename(&spec, PStr("b")), dupFNErr);
  EXPECT_EQ(FSpRename(&spec, PStr("a")), dupFNErr);  // its own name
  ASSERT_EQ(FSpSetFLock(&spec), noErr);
  EXPECT_EQ(FSpDelete(&spec), fLckdErr);
  EXPECT_EQ(FSpRename(&spec, PStr("c")), fLckdErr);
  SInt16 ref;
  EXPECT_EQ(FSpOpenDF(&spec, fsWrPerm, &ref), permErr);
  ASSERT_EQ(FSpRstFLock(&spec), noErr);
  ASSERT_EQ(FSpRename(&spec, PStr("c/d")), noErr);
  EXPECT_TRUE(fs::exists(app / "c:d"));
  EXPECT_EQ(FSpRename(&static_cast<const FSSpec&>(Spec("c/d")), PStr(std::string(64, 'x'))), bdNamErr);
}

TEST_F(Files, ReplacingAFileTakesItsPlaceInOneStep) {
  WriteText(app / "page.tif", "old");
  WriteText(app / "page_correct.tif", "new");
  FSSpec page = Spec("page.tif"), corrected = Spec("page_correct.tif");
  FInfo info{};
  info.fdType = 'TIFF';
  info.fdCreator = '8BIM';
  ASSERT_EQ(FSpSetFInfo(&corrected, &info), noErr);
  // A locked file on either side: nothing moves.
  ASSERT_EQ(FSpSetFLock(&page), noErr);
  EXPECT_EQ(FSpReplaceFile(&corrected, &page), fLckdErr);
  EXPECT_EQ(ReadText(app / "page.tif"), "old");
  EXPECT_EQ(ReadText(app / "page_correct.tif"), "new");
  ASSERT_EQ(FSpRstFLock(&page), noErr);
  // An open target is replaced all the same: its reader keeps the old file.
  SInt16 ref = 0;
  ASSERT_EQ(FSpOpenDF(&page, fsRdPerm, &ref), noErr);
  ASSERT_EQ(FSpReplaceFile(&corrected, &page), noErr);
  char buffer[3];
  long count = 3;
  EXPECT_EQ(FSRead(ref, &count, buffer), noErr);
  EXPECT_EQ(std::string(buffer, 3), "old");
  FSClose(ref);
  EXPECT_EQ(ReadText(app / "page.tif"), "new");
  EXPECT_FALSE(fs::exists(app / "page_correct.tif"));
  FInfo after{};
  ASSERT_EQ(FSpGetFInfo(&page, &after), noErr);
  EXPECT_EQ(after.fdType, OSType('TIFF'));
  // The source must exist, and both must be files.
  EXPECT_EQ(FSpReplaceFile(&corrected, &page), fnfErr);
  fs::create_directories(app / "folder");
  WriteText(app / "x", "x");
  FSSpec x = Spec("x"), folder = Spec("folder");
  EXPECT_EQ(FSpReplaceFile(&x, &folder), notAFileErr);
  EXPECT_EQ(FSpReplaceFile(&folder, &x), notAFileErr);
  EXPECT_TRUE(fs::is_directory(app / "folder"));
}

TEST_F(Files, ReadWriteAndPositions) {
  FSSpec spec = Spec("data");
  ASSERT_EQ(FSpCreate(&spec, 'ttxt', 'ttxt', smSystemScript), noErr);
  SInt16 ref;
  ASSERT_EQ(FSpOpenDF(&spec, fsRdWrPerm, &ref), noErr);
  long count = 10;
  ASSERT_EQ(FSWrite(ref, &count, "0123456789"), noErr);
  long eof = 0;
  ASSERT_EQ(GetEOF(ref, &eof), noErr);
  EXPECT_EQ(eof, 10);

  struct Move {
    SInt16 mode;
    long offset;
    OSErr expected;
    long mark;
  };
  const Move moves[] = {
      {fsFromStart, 4, noErr, 4},  {fsFromMark, -2, noErr, 2},  {fsFromLEOF, -1, noErr, 9},
      {fsFromMark, -10, posErr, 9}, {fsFromLEOF, 5, eofErr, 10}, {fsAtMark, 123, noErr, 10},
  };
  for (const auto& m : moves) {
    EXPECT_EQ(SetFPos(ref, m.mode, m.offset), m.expected) << m.mode << " " << m.offset;
    long mark = -1;
    GetFPos(ref, &mark);
    EXPECT_EQ(mark, m.mark) << m.mode << " " << m.offset;
  }
  // Writing at the end extends the file; a read across the end is short and says so.
  count = 2;
  ASSERT_EQ(FSWrite(ref, &count, "AB"), noErr);
  ASSERT_EQ(SetFPos(ref, fsFromStart, 8), noErr);
  char buffer[16] = {};
  count = 10;
  EXPECT_EQ(FSRead(ref, &count, buffer), eofErr);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(std::string(buffer, 4), "89AB");
  ASSERT_EQ(SetEOF(ref, 3), noErr);
  GetFPos(ref, &count);
  EXPECT_EQ(count, 3);
  ASSERT_EQ(FSClose(ref), noErr);
  EXPECT_EQ(ReadText(app / "data"), "012");
  EXPECT_EQ(FSClose(ref), rfNumErr);

  ASSERT_EQ(FSpOpenDF(&spec, fsRdPerm, &ref), noErr);
  count = 1;
  EXPECT_EQ(FSWrite(ref, &count, "x"), wrPermErr);
  FSClose(ref);
}

TEST_F(Files, InjectedFaultsAreReported) {
  FSSpec spec = Spec("faults");
  ASSERT_EQ(FSpCreate(&spec, 'ttxt', 'ttxt', smSystemScript), noErr);
  SInt16 ref;
  ASSERT_EQ(FSpOpenDF(&spec, fsRdWrPerm, &ref), noErr);
  FSTestSetWriteLimit(6);
  long count = 10;
  EXPECT_EQ(FSWrite(ref, &count, "0123456789"), dskFulErr);
  EXPECT_EQ(count, 6);
  FSTestSetWriteLimit(-1);
  FSTestSetReadLimit(3);
  SetFPos(ref, fsFromStart, 0);
  char buffer[8];
  count = 6;
  EXPECT_EQ(FSRead(ref, &count, buffer), ioErr);
  EXPECT_EQ(count, 3);
  FSClose(ref);
}

TEST_F(Files, FileCopyLeavesNothingBehindOnAFullDisk) {
  fs::create_directories(app / "to");
  std::string payload(200000, 'p');
  WriteText(app / "source", payload);
  FSSpec source = Spec("source");
  FInfo info{};
  info.fdType = 'PDF ';
  info.fdCreator = 'prvw';
  FSpSetFInfo(&source, &info);
  FSSpec to = Spec("to");

  FSTestSetWriteLimit(100000);
  EXPECT_EQ(FSpFileCopy(&source, &to, nullptr, nullptr, 0, false), dskFulErr);
  FSTestSetWriteLimit(-1);
  EXPECT_TRUE(fs::is_empty(app / "to"));

  char buffer[1000];
  ASSERT_EQ(FSpFileCopy(&source, &to, PStr("copy"), buffer, sizeof buffer, true), noErr);
  EXPECT_EQ(ReadText(app / "to" / "copy"), payload);
  FInfo copied;
  ASSERT_EQ(HGetFInfo(0, 0, PStr(":to:copy"), &copied), noErr);
  EXPECT_EQ(copied.fdType, 'PDF ');
  EXPECT_EQ(FSpFileCopy(&source, &to, PStr("copy"), nullptr, 0, false), dupFNErr);

  wxtest::Mount tiny(app / "tiny", "tmpfs", "size=64k");
  if (!tiny.ok()) return;
  FSSpec small = Spec("tiny");
  EXPECT_EQ(FSpFileCopy(&source, &small, nullptr, nullptr, 0, true), dskFulErr);   // refused up front
  EXPECT_EQ(FSpFileCopy(&source, &small, nullptr, nullptr, 0, false), dskFulErr);  // the disk fills
  EXPECT_TRUE(fs::is_empty(app / "tiny"));
}

TEST_F(Files, AMovedFolderIsNotFoundAndNeverAnother) {
  fs::create_directories(app / "F");
  WriteText(app / "F" / "x", "x");
  FSSpec inside;
  SInt32 folderID = DirID(Spec("F"));
  ASSERT_EQ(FSMakeFSSpec(0, folderID, PStr("x"), &inside), noErr);

  fs::rename(app / "F", app / "G");
  fs::create_directories(app / "F");  // a different folder where the old one was
  WriteText(app / "F" / "x", "new");
  FSSpec after;
  EXPECT_EQ(FSMakeFSSpec(inside.vRefNum, inside.parID, PStr("x"), &after), dirNFErr);
  EXPECT_NE(DirID(Spec("F")), folderID);
  // Once the same folder is seen at its new place, its ID follows it there.
  EXPECT_EQ(DirID(Spec("G")), folderID);
  std::string path;
  EXPECT_EQ(FSpGetPOSIXPath(&inside, &path), noErr);
  EXPECT_EQ(path, (app / "G" / "x").string());

  fs::remove_all(app / "G");
  EXPECT_EQ(FSMakeFSSpec(inside.vRefNum, inside.parID, PStr("x"), &after), dirNFErr);
  FSSpec gone = Spec("G");
  SInt32 id;
  Boolean isDir;
  EXPECT_EQ(FSpGetDirectoryID(&gone, &id, &isDir), fnfErr);
  FSSpec deeper{gone.vRefNum, folderID, {}};
  EXPECT_EQ(FSpGetDirectoryID(&deeper, &id, &isDir), fnfErr);
}

TEST_F(Files, FoldersKeepTheirIDsThroughOurOwnRenames) {
  fs::create_directories(app / "top" / "inner");
  SInt32 top = DirID(Spec("top"));
  SInt32 inner = DirID(Spec(":top:inner"));
  FSSpec topSpec = Spec("top");
  ASSERT_EQ(FSpRename(&topSpec, PStr("renamed")), noErr);
  std::string path;
  FSSpec innerSpec{topSpec.vRefNum, inner, {}};
  ASSERT_EQ(FSpGetPOSIXPath(&innerSpec, &path), noErr);
  EXPECT_EQ(path, (app / "renamed" / "inner").string());
  EXPECT_EQ(DirID(Spec("renamed")), top);
}

TEST_F(Files, DirCreateAndDirItems) {
  FSSpec folder = Spec("made");
  SInt32 id = 0;
  ASSERT_EQ(FSpDirCreate(&folder, smSystemScript, &id), noErr);
  EXPECT_EQ(FSpDirCreate(&folder, smSystemScript, &id), dupFNErr);
  EXPECT_EQ(DirID(folder), id);
  WriteText(app / "made" / "b", "");
  WriteText(app / "made" / "a", "");
  WriteText(app / "made" / "._a", "");  // a resource-fork sidecar is not an item of its own
  fs::create_directories(app / "made" / "sub");
  fs::create_directory_symlink(app, app / "made" / "link");  // a link is a file: walks never follow it
  EXPECT_EQ(DirItemNames(folder, true, false), (std::vector<std::string>{"a", "b", "link"}));
  EXPECT_EQ(DirItemNames(folder, false, true), (std::vector<std::string>{"sub"}));
  EXPECT_EQ(DirItemNames(folder, true, true).size(), 4u);
  FSSpec spec{};
  SInt16 count, index = 9;
  EXPECT_EQ(GetDirItems(folder.vRefNum, id, PStr(""), true, true, &spec, 1, &count, &index), fnfErr);
  EXPECT_EQ(GetDirItems(folder.vRefNum, id, PStr(":missing"), true, true, &spec, 1, &count, &index), dirNFErr);
}

TEST_F(Files, JapaneseNamesRoundTrip) {
  SetSystemScriptForLanguage('J');
  // 表 ends in 0x5C and ソ in 0x5C too: neither may split the name.
  const std::string name = "\x95\x5C\x83\x5C\x93\xFA\x96\x7B.jpg";
  FSSpec spec = Spec(name);
  EXPECT_EQ(FSpCreate(&spec, 'prvw', 'JPEG', smSystemScript), noErr);
  SetSystemScriptForLanguage('E');
  ASSERT_TRUE(fs::exists(app / "\xE8\xA1\xA8\xE3\x82\xBD\xE6\x97\xA5\xE6\x9C\xAC.jpg"));
  // With no Mac Roman form, the name is shown mangled, and the mangled name finds the file.
  std::vector<std::string> listed = DirItemNames(Spec(""), true, false);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].front(), '#');
  EXPECT_TRUE(listed[0].ends_with(".jpg"));
  FSSpec mangled;
  ASSERT_EQ(FSMakeFSSpec(0, 0, PStr(listed[0]), &mangled), noErr);
  std::string path;
  ASSERT_EQ(FSpGetPOSIXPath(&mangled, &path), noErr);
  EXPECT_EQ(path, (app / "\xE8\xA1\xA8\xE3\x82\xBD\xE6\x97\xA5\xE6\x9C\xAC.jpg").string());

  SetSystemScriptForLanguage('J');
  EXPECT_EQ(DirItemNames(Spec(""), true, false), std::vector<std::string>{name});
  FSSpec again;
  EXPECT_EQ(FSMakeFSSpec(0, 0, PStr(name), &again), noErr);
  SetSystemScriptForLanguage('E');
}

TEST_F(Files, RefsAnswerCatalogQueries) {
  fs::create_directories(app / "folder");
  WriteText(app / "folder" / "doc", "hello");
  FSSpec spec = Spec(":folder:doc");
  FInfo finfo{};
  finfo.fdType = 'TEXT';
  FSpSetFInfo(&spec, &finfo);
  FSRef ref;
  ASSERT_EQ(FSpMakeFSRef(&spec, &ref), noErr);

  FSCatalogInfo info;
  HFSUniStr255 name;
  FSSpec back;
  FSRef parent;
  ASSERT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoGettableInfo | kFSCatInfoUserAccess, &info, &name, &back, &parent), noErr);
  EXPECT_EQ(info.nodeFlags & kFSNodeIsDirectoryMask, 0);
  EXPECT_EQ(info.parentDirID, spec.parID);
  EXPECT_EQ(info.volume, spec.vRefNum);
  EXPECT_EQ(info.dataLogicalSize, 5u);
  EXPECT_EQ(info.finderInfo.fdType, 'TEXT');
  EXPECT_EQ(info.permissions.userAccess & kioACUserNoMakeChangesMask, 0);
  EXPECT_EQ(name.length, 3);
  EXPECT_EQ(name.unicode[0], 'd');
  EXPECT_EQ(back.parID, spec.parID);
  EXPECT_EQ(Name(back), "doc");
  FSCatalogInfo parentInfo;
  ASSERT_EQ(FSGetCatalogInfo(&parent, kFSCatInfoNodeFlags | kFSCatInfoNodeID, &parentInfo, nullptr, nullptr, nullptr), noErr);
  EXPECT_NE(parentInfo.nodeFlags & kFSNodeIsDirectoryMask, 0);
  EXPECT_EQ(parentInfo.nodeID, spec.parID);

  UInt8 path[1024];
  ASSERT_EQ(FSRefMakePath(&ref, path, sizeof path), noErr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(path)), (app / "folder" / "doc").string());
  EXPECT_EQ(FSRefMakePath(&ref, path, 4), paramErr);
  FSRef viaPath;
  Boolean isDir = true;
  ASSERT_EQ(FSPathMakeRef(path, &viaPath, &isDir), noErr);
  EXPECT_FALSE(isDir);
  EXPECT_EQ(std::memcmp(&viaPath, &ref, sizeof ref), 0);
  EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>("/no/such/thing"), &viaPath, &isDir), fnfErr);

  FSRef junk{};
  EXPECT_EQ(FSGetCatalogInfo(&junk, kFSCatInfoNodeFlags, &info, nullptr, nullptr, nullptr), errFSBadFSRef);
  fs::remove(app / "folder" / "doc");
  EXPECT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoNodeFlags, &info, nullptr, nullptr, nullptr), fnfErr);
}

TEST_F(Files, NoMakeChangesOnAReadOnlyVolume) {
  wxtest::Mount ro(app / "ro", "tmpfs", "size=64k", MS_RDONLY);
  if (!ro.ok()) GTEST_SKIP() << "cannot mount a read-only tmpfs here";
  FSRef ref;
  ASSERT_EQ(FSpMakeFSRef(&static_cast<const FSSpec&>(Spec("ro")), &ref), noErr);
  FSCatalogInfo info;
  ASSERT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoUserAccess, &info, nullptr, nullptr, nullptr), noErr);
  EXPECT_EQ(info.permissions.userAccess & kioACUserNoMakeChangesMask, kioACUserNoMakeChangesMask);
  FSSpec file = Spec(":ro:new");
  EXPECT_EQ(FSpCreate(&file, 'ttxt', 'ttxt', smSystemScript), vLckdErr);
}

TEST_F(Files, UnicodeCallsAndLongNames) {
  FSRef folder;
  ASSERT_EQ(FSpMakeFSRef(&static_cast<const FSSpec&>(Spec("")), &folder), noErr);
  std::u16string longName(100, u'\u00E9');  // 100 units, 200 bytes on disk
  const auto* units = reinterpret_cast<const UniChar*>(longName.data());
  FSCatalogInfo info{};
  info.finderInfo.fdType = 'JPEG';
  info.finderInfo.fdCreator = 'prvw';
  FSRef file;
  FSSpec spec;
  ASSERT_EQ(FSCreateFileUnicode(&folder, longName.size(), units, kFSCatInfoFinderInfo, &info, &file, &spec), noErr);
  std::string path;
  ASSERT_EQ(FSpGetPOSIXPath(&spec, &path), noErr);  // the FSSpec's mangled name finds the long one
  EXPECT_EQ(fs::path(path).filename().string().size(), 200u);
  EXPECT_EQ(FSCreateFileUnicode(&folder, longName.size(), units, 0, nullptr, nullptr, nullptr), dupFNErr);
  std::u16string tooLong(256, u'a');
  EXPECT_EQ(FSMakeFSRefUnicode(&folder, tooLong.size(), reinterpret_cast<const UniChar*>(tooLong.data()), 0, &file),
            errFSNameTooLong);
  FSRef again;
  ASSERT_EQ(FSMakeFSRefUnicode(&folder, longName.size(), units, 0, &again), noErr);
  FSCatalogInfo read;
  HFSUniStr255 name;
  ASSERT_EQ(FSGetCatalogInfo(&again, kFSCatInfoFinderInfo, &read, &name, nullptr, nullptr), noErr);
  EXPECT_EQ(read.finderInfo.fdType, 'JPEG');
  EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(name.unicode), name.length), longName);

  // Renaming to its own name is a duplicate, which callers count as success.
  EXPECT_EQ(FSRenameUnicode(&again, longName.size(), units, 0, nullptr), dupFNErr);
  const UniChar shortName[] = {'a', '/', 'b'};
  FSRef renamed;
  ASSERT_EQ(FSRenameUnicode(&again, 3, shortName, 0, &renamed), noErr);
  EXPECT_TRUE(fs::exists(app / "a:b"));

  SInt16 fork;
  EXPECT_EQ(FSOpenFork(&renamed, 4, shortName, fsRdWrPerm, &fork), errFSBadForkName);
  HFSUniStr255 dataFork;
  ASSERT_EQ(FSGetDataForkName(&dataFork), noErr);
  ASSERT_EQ(FSOpenFork(&renamed, dataFork.length, dataFork.unicode, fsRdWrPerm, &fork), noErr);
  ByteCount actual = 0;
  ASSERT_EQ(FSWriteFork(fork, fsFromStart, 4, 3, "xyz", &actual), noErr);  // past the end: the gap is zeros
  SInt64 size = 0, position = 0;
  FSGetForkSize(fork, &size);
  FSGetForkPosition(fork, &position);
  EXPECT_EQ(size, 7);
  EXPECT_EQ(position, 7);
  char buffer[8] = {};
  EXPECT_EQ(FSReadFork(fork, fsFromStart, 2, 8, buffer, &actual), eofErr);
  EXPECT_EQ(actual, 5u);
  EXPECT_EQ(FSReadFork(fork, fsFromStart, 9, 1, buffer, &actual), eofErr);
  EXPECT_EQ(FSSetForkPosition(fork, fsFromLEOF, -7), noErr);
  ASSERT_EQ(FSSetForkSize(fork, fsFromStart, 2), noErr);
  EXPECT_EQ(FSDeleteObject(&renamed), fBsyErr);
  ASSERT_EQ(FSCloseFork(fork), noErr);
  EXPECT_EQ(FSDeleteObject(&renamed), noErr);
  EXPECT_FALSE(fs::exists(app / "a:b"));
}

TEST_F(Files, IteratorListsAFolderOneItemAtATime) {
  fs::create_directories(app / "events" / "sub");
  WriteText(app / "events" / "b.plist", "b");
  WriteText(app / "events" / "a.plist", "a");
  FSRef folder;
  ASSERT_EQ(FSpMakeFSRef(&static_cast<const FSSpec&>(Spec("events")), &folder), noErr);
  FSIterator it;
  EXPECT_EQ(FSOpenIterator(&folder, kFSIterateSubtree, &it), errFSIteratorNotSupported);
  ASSERT_EQ(FSOpenIterator(&folder, kFSIterateFlat, &it), noErr);
  std::vector<std::string> seen;
  for (;;) {
    ItemCount n = 0;
    FSCatalogInfo info;
    FSRef ref;
    HFSUniStr255 name;
    OSErr err = FSGetCatalogInfoBulk(it, 1, &n, nullptr, kFSCatInfoNodeFlags, &info, &ref, nullptr, &name);
    if (err != noErr) {
      EXPECT_EQ(err, errFSNoMoreItems);
      EXPECT_EQ(n, 0u);
      break;
    }
    std::string utf8(name.unicode, name.unicode + name.length);
    seen.push_back(utf8 + ((info.nodeFlags & kFSNodeIsDirectoryMask) ? "/" : ""));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"a.plist", "b.plist", "sub/"}));
  EXPECT_EQ(FSCloseIterator(it), noErr);
}

TEST_F(Files, LongNamesGetMangledSpecsThatResolve) {
  const std::string longName = std::string(80, 'L') + ".tiff";
  WriteText(app / longName, "x");
  std::vector<std::string> listed = DirItemNames(Spec(""), true, false);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_LE(listed[0].size(), 63u);
  EXPECT_TRUE(listed[0].starts_with("LLLL"));
  EXPECT_TRUE(listed[0].ends_with(".tiff"));
  FSSpec spec;
  ASSERT_EQ(FSMakeFSSpec(0, 0, PStr(listed[0]), &spec), noErr);
  FInfo info{};
  info.fdType = 'TIFF';
  ASSERT_EQ(FSpSetFInfo(&spec, &info), noErr);
  FSpGetFInfo(&spec, &info);
  EXPECT_EQ(info.fdType, 'TIFF');
  EXPECT_EQ(FSMakeFSSpec(0, 0, PStr(longName), &spec), bdNamErr);  // typed names are never cut
}

// Walks up from an item, as the chooser does to tell whether a file lies in the Trash.
TEST_F(Files, CatalogWalkReachesTheTrashOrTheTopOfTheVolume) {
  SInt16 trashVol;
  SInt32 trashID;
  ASSERT_EQ(FindFolder(kOnSystemDisk, kTrashFolderType, kCreateFolder, &trashVol, &trashID), noErr);
  fs::create_directories(scratch / ".local/share/Trash/files/old");
  WriteText(scratch / ".local/share/Trash/files/old/gone.pdf", "%PDF");
  WriteText(app / "kept.pdf", "%PDF");
  auto inTrash = [&](const FSSpec& spec) {
    SInt32 dir = spec.parID;
    for (int steps = 0; steps < 100; ++steps) {
      if (dir == trashID) return true;
      CInfoPBRec pb;
      if (GetCatInfoNoName(spec.vRefNum, dir, PStr(""), &pb) != noErr) return false;
      EXPECT_NE(pb.dirInfo.ioFlAttrib & kioFlAttribDirMask, 0);
      EXPECT_EQ(pb.dirInfo.ioDrDirID, dir);
      if (pb.dirInfo.ioDrParID == fsRtParID) return false;  // the top of the volume
      dir = pb.dirInfo.ioDrParID;
    }
    ADD_FAILURE() << "the walk never ended";
    return false;
  };
  FSSpec trashed;
  ASSERT_EQ(FSpMakeFromPOSIXPath((scratch / ".local/share/Trash/files/old/gone.pdf").string(), &trashed), noErr);
  EXPECT_TRUE(inTrash(trashed));
  EXPECT_FALSE(inTrash(Spec("kept.pdf")));

  CInfoPBRec pb;
  ASSERT_EQ(GetCatInfoNoName(0, 0, PStr("kept.pdf"), &pb), noErr);
  EXPECT_EQ(pb.hFileInfo.ioFlAttrib & kioFlAttribDirMask, 0);
  EXPECT_EQ(pb.hFileInfo.ioFlLgLen, 4);
  EXPECT_EQ(pb.hFileInfo.ioFlParID, Spec("kept.pdf").parID);
  EXPECT_EQ(GetCatInfoNoName(0, 0, PStr("nothing"), &pb), fnfErr);

  // By index, with the name handed back.
  Str63 name;
  std::vector<std::string> names;
  for (SInt16 index = 1;; ++index) {
    std::memset(&pb, 0, sizeof pb);
    pb.hFileInfo.ioNamePtr = name;
    pb.hFileInfo.ioDirID = Spec("kept.pdf").parID;
    pb.hFileInfo.ioFDirIndex = index;
    if (PBGetCatInfoSync(&pb) != noErr) break;
    names.push_back(std::string(reinterpret_cast<char*>(name + 1), name[0]));
  }
  EXPECT_EQ(names, std::vector<std::string>{"kept.pdf"});
}

TEST_F(Files, VolumeFreeBytes) {
  FSSpec spec = Spec("");
  UInt64 freeBytes = 0, total = 0;
  ASSERT_EQ(FSGetVolumeFreeBytes(spec.vRefNum, &freeBytes, &total), noErr);
  EXPECT_GT(total, 0u);
  EXPECT_LE(freeBytes, total);
  EXPECT_EQ(FSGetVolumeFreeBytes(-999, &freeBytes, &total), nsvErr);
}

TEST_F(Files, ADamagedIDTableLosesOldIDsWithoutConfusingThem) {
  fs::create_directories(app / "kept");
  SInt32 before = DirID(Spec("kept"));
  fs::copy_file(FidTablePath(), wxtest::OutputDir("toolbox") / "FileIDs-sample", fs::copy_options::overwrite_existing);
  WriteText(FidTablePath(), "garbage that is not a table");
  FSSpec stale{Spec("kept").vRefNum, before, {}};
  std::string path;
  EXPECT_EQ(FSpGetPOSIXPath(&stale, &path), dirNFErr);
  fs::create_directories(app / "other");
  EXPECT_NE(DirID(Spec("other")), before);
}

// An FSSpec is stored as its 70-byte record by this process and resolved by a second one.
TEST_F(Files, AStoredSpecResolvesInASecondProcess) {
  fs::create_directories(app / "Scans" / "2024");
  FSSpec spec = Spec(":Scans:2024:page.jpg");
  ASSERT_EQ(FSpCreate(&spec, 'prvw', 'JPEG', smSystemScript), noErr);
  uint8_t record[kFSSpecRecordSize] = {};
  RecordBytes(record, sizeof record).setFSSpec(0, spec);
  WriteText(scratch / "spec.bin", std::string(reinterpret_cast<char*>(record), sizeof record));

  std::string out;
  std::string command = "WX_FILES_CHILD='" + scratch.path().string() + "' '" + SelfPath() +
                        "' --gtest_also_run_disabled_tests --gtest_filter=FilesChild.DISABLED_ResolvesTheStoredSpec";
  EXPECT_EQ(wxtest::Run(command, &out), 0) << out;
  EXPECT_EQ(ReadText(scratch / "child.txt"), (app / "Scans" / "2024" / "page.jpg").string() + " JPEG prvw");

  // A folder ID handed out by the second process is known to this one too.
  SInt32 childFolder = std::stoi(ReadText(scratch / "child-folder.txt"));
  FSSpec made;
  ASSERT_EQ(FSMakeFSSpec(spec.vRefNum, childFolder, PStr(""), &made), noErr);
  std::string path;
  ASSERT_EQ(FSpGetPOSIXPath(&made, &path), noErr);
  EXPECT_EQ(path, (app / "Scans" / "2024" / "made by the child").string());
}

// The second process of the test above: disabled, so that only that test runs it.
TEST(FilesChild, DISABLED_ResolvesTheStoredSpec) {
  const char* dir = getenv("WX_FILES_CHILD");
  if (!dir) GTEST_SKIP() << "started by Files.AStoredSpecResolvesInASecondProcess";
  setenv("WENDRIX_ROOT", dir, 1);
  std::string bytes = ReadText(fs::path(dir) / "spec.bin");
  ASSERT_EQ(bytes.size(), kFSSpecRecordSize);
  FSSpec spec = RecordBytes(bytes.data(), bytes.size()).fsspec(0);
  std::string path;
  ASSERT_EQ(FSpGetPOSIXPath(&spec, &path), noErr);
  FInfo info;
  ASSERT_EQ(FSpGetFInfo(&spec, &info), noErr);
  char type[5] = {}, creator[5] = {};
  BEPutU32(type, info.fdType);
  BEPutU32(creator, info.fdCreator);
  WriteText(fs::path(dir) / "child.txt", path + " " + type + " " + creator);
  FSSpec folder;
  ASSERT_EQ(FSMakeFSSpec(spec.vRefNum, spec.parID, PStr("made by the child"), &folder), fnfErr);
  SInt32 id = 0;
  ASSERT_EQ(FSpDirCreate(&folder, smSystemScript, &id), noErr);
  WriteText(fs::path(dir) / "child-folder.txt", std::to_string(id));
}

}  // namespace
