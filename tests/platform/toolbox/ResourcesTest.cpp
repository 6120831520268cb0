#include <gtest/gtest.h>

#include "support/TestEnv.h"
#include "toolbox/AppleDouble.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/ResourceFile.h"
#include "toolbox/ResourceFork.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

ResRecord rec(ResType type, SInt16 id, Bytes data, const char* name = nullptr, UInt8 attrs = 0) {
  ResRecord r;
  r.type = type;
  r.id = id;
  r.data = std::move(data);
  r.attrs = attrs;
  if (name) {
    r.named = true;
    r.name = name;
  }
  return r;
}

std::string handleText(Handle h) { return std::string(*h, static_cast<size_t>(GetHandleSize(h))); }

// One resource 'TEST' 128 named "N", purgeable, holding "ab": laid out by hand.
const Bytes kHandMade = [] {
  Bytes f(256, 0);
  auto put32 = [&](size_t at, uint32_t v) { for (int i = 0; i < 4; ++i) f[at + i] = uint8_t(v >> (24 - 8 * i)); };
  put32(0, 256);  // data offset
  put32(4, 262);  // map offset
  put32(8, 6);    // data length
  put32(12, 52);  // map length
  const Bytes data = {0, 0, 0, 2, 'a', 'b'};
  f.insert(f.end(), data.begin(), data.end());
  Bytes map(f.begin(), f.begin() + 16);  // header copy
  const Bytes rest = {0, 0, 0, 0,  0, 0,  0, 0,  0, 28,  0, 50,  // next map, file ref, attrs, type list, name list
                      0, 0, 'T', 'E', 'S', 'T', 0, 0, 0, 10,      // one type, one resource, refs at +10
                      0, 128, 0, 0, 0x20, 0, 0, 0, 0, 0, 0, 0,     // id 128, name 0, purgeable, data 0
                      1, 'N'};
  map.insert(map.end(), rest.begin(), rest.end());
  f.insert(f.end(), map.begin(), map.end());
  return f;
}();

// Closes every resource file a test opened, so tests do not see each other's chains.
class ResourceManager : public ::testing::Test {
 protected:
  SInt16 open(const std::filesystem::path& p, SInt8 perm = fsRdPerm) {
    SInt16 ref = OpenResFilePath(p.string(), perm);
    if (ref != -1) mOpened.push_back(ref);
    return ref;
  }
  void close(SInt16 ref) {
    CloseResFile(ref);
    std::erase(mOpened, ref);
  }
  void TearDown() override {
    for (auto it = mOpened.rbegin(); it != mOpened.rend(); ++it) CloseResFile(*it);
  }
  wxtest::ScratchDir dir;
  std::vector<SInt16> mOpened;
};

}  // namespace

TEST(ResourceFile, ReadsAndWritesTheClassicLayoutByteForByte) {
  ResFileImage image;
  ASSERT_EQ(ResFileParse(kHandMade.data(), kHandMade.size(), &image), noErr);
  ASSERT_EQ(image.records.size(), 1u);
  EXPECT_EQ(image.records[0].type, ResType('TEST'));
  EXPECT_EQ(image.records[0].id, 128);
  EXPECT_EQ(image.records[0].attrs, resPurgeable);
  EXPECT_EQ(image.records[0].name, "N");
  EXPECT_EQ(image.records[0].data, bytesOf("ab"));
  Bytes written;
  ASSERT_EQ(ResFileBuild(image, &written), noErr);
  EXPECT_EQ(written, kHandMade);
}

TEST(ResourceFile, RoundTripsTypesNamesAttributesAndStringLists) {
  ResFileImage image;
  image.attrs = mapReadOnly;
  image.records = {rec('STR#', 128, ResStringListBuild({"E", "", std::string(255, 'x')}), "Language"),
                   rec('dPre', 128, Bytes(308, 0x5A)), rec('STR#', -4000, ResStringListBuild({}), nullptr, resLocked),
                   rec('AliS', 5000, Bytes{}, "")};
  Bytes file;
  ASSERT_EQ(ResFileBuild(image, &file), noErr);
  ResFileImage back;
  ASSERT_EQ(ResFileParse(file.data(), file.size(), &back), noErr);
  EXPECT_EQ(back.attrs, mapReadOnly);
  ASSERT_EQ(back.records.size(), 4u);
  // Records come back grouped by type, in order of first appearance.
  const ResRecord* order[] = {&image.records[0], &image.records[2], &image.records[1], &image.records[3]};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(back.records[i].type, order[i]->type);
    EXPECT_EQ(back.records[i].id, order[i]->id);
    EXPECT_EQ(back.records[i].attrs, order[i]->attrs);
    EXPECT_EQ(back.records[i].named, order[i]->named);
    EXPECT_EQ(back.records[i].name, order[i]->name);
    EXPECT_EQ(back.records[i].data, order[i]->data);
  }
  std::string item;
  const Bytes& list = back.records[0].data;
  ASSERT_TRUE(ResStringListItem(list.data(), list.size(), 3, &item));
  EXPECT_EQ(item, std::string(255, 'x'));
  EXPECT_TRUE(ResStringListItem(list.data(), list.size(), 2, &item));
  EXPECT_EQ(item, "");
  EXPECT_FALSE(ResStringListItem(list.data(), list.size(), 4, &item));
  EXPECT_FALSE(ResStringListItem(list.data(), list.size(), 0, &item));
}

TEST(ResourceFile, AnEmptyMapRoundTrips) {
  Bytes file;
  ASSERT_EQ(ResFileBuild(ResFileImage{}, &file), noErr);
  ResFileImage back;
  ASSERT_EQ(ResFileParse(file.data(), file.size(), &back), noErr);
  EXPECT_TRUE(back.records.empty());
}

TEST(ResourceFile, RefusesRecordsTheFormatCannotHold) {
  ResFileImage image;
  image.records = {rec('TEST', 1, {}, std::string(256, 'n').c_str())};
  Bytes file;
  EXPECT_EQ(ResFileBuild(image, &file), addResFailed);
}

TEST(ResourceFile, EveryTruncationIsRefused) {
  for (size_t n = 0; n < kHandMade.size(); ++n) {
    ResFileImage image;
    EXPECT_EQ(ResFileParse(kHandMade.data(), n, &image), mapReadErr) << "truncated to " << n;
  }
}

TEST(ResourceFile, DamagedOffsetsAndCountsAreRefused) {
  struct Damage {
    const char* what;
    size_t at;
    std::vector<uint8_t> bytes;
  };
  const size_t map = 262;
  const Damage cases[] = {
      {"map offset past the end", 4, {0, 0, 0x10, 0}},
      {"data length past the end", 8, {0, 0, 1, 0}},
      {"map length too short for a map", 12, {0, 0, 0, 20}},
      {"type list past the map", map + 24, {0xFF, 0x00}},
      {"name list past the map", map + 26, {0xFF, 0x00}},
      {"more types than the map holds", map + 28, {0x01, 0x00}},
      {"more resources than the map holds", map + 34, {0x7F, 0xFF}},
      {"reference list past the map", map + 36, {0x7F, 0x00}},
      {"data offset past the data", map + 43, {0, 0, 9}},
      {"data length past the data", 256, {0x7F, 0xFF, 0xFF, 0xFF}},
      {"name past the map", map + 40, {0x00, 0x40}},
      {"negative name offset", map + 40, {0x80, 0x00}},
  };
  for (const Damage& d : cases) {
    Bytes f = kHandMade;
    std::copy(d.bytes.begin(), d.bytes.end(), f.begin() + static_cast<std::ptrdiff_t>(d.at));
    ResFileImage image;
    EXPECT_EQ(ResFileParse(f.data(), f.size(), &image), mapReadErr) << d.what;
  }
}

TEST(AppleDouble, ContainerRoundTripsAndRefusesDamage) {
  const std::vector<AppleDoubleEntry> entries = {{kAppleDoubleFinderInfo, Bytes(32, 7)},
                                                 {kAppleDoubleResourceFork, bytesOf("fork")}};
  const Bytes bytes = AppleDoubleBuild(entries);
  EXPECT_EQ(bytes[0], 0x00);
  EXPECT_EQ(bytes[1], 0x05);
  EXPECT_EQ(bytes[2], 0x16);
  EXPECT_EQ(bytes[3], 0x07);
  std::vector<AppleDoubleEntry> back;
  ASSERT_EQ(AppleDoubleParse(bytes.data(), bytes.size(), &back), noErr);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].id, kAppleDoubleFinderInfo);
  EXPECT_EQ(back[0].bytes, Bytes(32, 7));
  EXPECT_EQ(back[1].bytes, bytesOf("fork"));
  for (size_t n = 0; n < bytes.size(); ++n)
    EXPECT_EQ(AppleDoubleParse(bytes.data(), n, &back), mapReadErr) << n;
  EXPECT_EQ(AppleDoublePathFor("/a/b/plug.so"), "/a/b/._plug.so");
}

TEST_F(ResourceManager, AFileWrittenByTheWriterReadsBackWithItsStringLists) {
  const auto path = dir / "Vormix50.def.pref";
  ResFileImage image;
  image.records = {rec('STR#', 128, ResStringListBuild({"E", "second"})), rec('dPre', 128, Bytes(308, 1), "site")};
  ASSERT_EQ(ResForkWriteImage(path.string(), ResForkPlace::DataFork, image), noErr);
  std::filesystem::copy_file(path, wxtest::OutputDir("resources") / "site-defaults.rsrc",
                             std::filesystem::copy_options::overwrite_existing);

  const SInt16 ref = open(path);
  ASSERT_NE(ref, -1) << ResError();
  EXPECT_EQ(CurResFile(), ref);
  Str255 s;
  GetIndString(s, 128, 1);
  EXPECT_EQ(PStrToString(s), "E");
  GetIndString(s, 128, 2);
  EXPECT_EQ(PStrToString(s), "second");
  GetIndString(s, 128, 3);
  EXPECT_EQ(PStrToString(s), "");
  GetIndString(s, 129, 1);
  EXPECT_EQ(PStrToString(s), "");

  Handle h = Get1Resource('dPre', 128);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GetHandleSize(h), 308);
  EXPECT_TRUE(HGetState(h) & kHandleResourceBit);
  EXPECT_EQ(RecoverHandle(*h), h);
  EXPECT_EQ(GetResource('dPre', 128), h) << "a loaded resource keeps its handle";
  SInt16 id = 0;
  ResType type = 0;
  Str255 name;
  GetResInfo(h, &id, &type, name);
  EXPECT_EQ(id, 128);
  EXPECT_EQ(type, ResType('dPre'));
  EXPECT_EQ(PStrToString(name), "site");
  EXPECT_EQ(HomeResFile(h), ref);
  ReleaseResource(h);
  EXPECT_EQ(ResError(), noErr);
  EXPECT_EQ(Get1Resource('dPre', 129), nullptr);
  EXPECT_EQ(ResError(), resNotFound);
}

TEST_F(ResourceManager, GetResourceWalksTheChainAndUseResFileSwitchesIt) {
  const auto a = dir / "a.rsrc", b = dir / "b.rsrc";
  ResFileImage ia, ib;
  ia.records = {rec('TEST', 1, bytesOf("a1")), rec('STR#', 128, ResStringListBuild({"from a"}))};
  ib.records = {rec('TEST', 1, bytesOf("b1")), rec('TEST', 2, bytesOf("b2"))};
  ASSERT_EQ(ResForkWriteImage(a.string(), ResForkPlace::DataFork, ia), noErr);
  ASSERT_EQ(ResForkWriteImage(b.string(), ResForkPlace::DataFork, ib), noErr);
  const SInt16 ra = open(a), rb = open(b);
  ASSERT_NE(ra, -1);
  ASSERT_NE(rb, -1);
  EXPECT_NE(ra, rb);
  EXPECT_EQ(open(a), ra) << "opening an open file gives its reference back";
  EXPECT_EQ(CurResFile(), rb) << "and does not change the current file";

  EXPECT_EQ(handleText(GetResource('TEST', 1)), "b1");
  Str255 s;
  GetIndString(s, 128, 1);
  EXPECT_EQ(PStrToString(s), "from a") << "the search goes down the chain";
  EXPECT_EQ(Get1Resource('STR#', 128), nullptr);
  EXPECT_EQ(CountResources('TEST'), 3);
  EXPECT_EQ(Count1Resources('TEST'), 2);
  EXPECT_EQ(handleText(GetIndResource('TEST', 3)), "a1");
  EXPECT_EQ(handleText(Get1IndResource('TEST', 2)), "b2");
  EXPECT_EQ(Get1IndResource('TEST', 3), nullptr);
  EXPECT_EQ(Count1Types(), 1);

  UseResFile(ra);
  EXPECT_EQ(CurResFile(), ra);
  EXPECT_EQ(handleText(GetResource('TEST', 1)), "a1");
  EXPECT_EQ(GetResource('TEST', 2), nullptr) << "files opened later are not searched";
  UseResFile(0x1234);
  EXPECT_EQ(ResError(), resFNotFound);
  EXPECT_EQ(CurResFile(), ra);

  UseResFile(rb);
  close(rb);
  EXPECT_EQ(CurResFile(), ra) << "closing the current file makes the one before it current";
}

TEST_F(ResourceManager, ChangesReachTheFileAndNothingIsLostSilently) {
  const auto path = dir / "prefs.rsrc";
  ASSERT_EQ(CreateResFilePath(path.string()), noErr);
  EXPECT_EQ(CreateResFilePath(path.string()), dupFNErr);
  SInt16 ref = open(path, fsRdWrPerm);
  ASSERT_NE(ref, -1) << ResError();

  Handle list = nullptr;
  const Bytes strs = ResStringListBuild({"one", "two"});
  ASSERT_EQ(PtrToHand(strs.data(), &list, static_cast<Size>(strs.size())), noErr);
  const unsigned char name[] = "\x05Names";
  AddResource(list, 'STR#', 200, name);
  ASSERT_EQ(ResError(), noErr);
  EXPECT_TRUE(HGetState(list) & kHandleResourceBit);
  AddResource(list, 'STR#', 201, nullptr);
  EXPECT_EQ(ResError(), addResFailed) << "a handle is one resource only";
  Handle dup = NewHandle(1);
  AddResource(dup, 'STR#', 200, nullptr);
  EXPECT_EQ(ResError(), addResFailed) << "two resources with one type and ID";
  DisposeHandle(dup);

  Handle raw = NewHandleClear(4);
  AddResource(raw, 'dPre', 128, nullptr);
  ReleaseResource(raw);
  EXPECT_EQ(ResError(), resAttrErr) << "an unwritten change is kept";
  WriteResource(raw);
  ASSERT_EQ(ResError(), noErr);
  (*raw)[0] = 9;
  ChangedResource(raw);
  close(ref);
  ASSERT_EQ(ResError(), noErr);

  ref = open(path, fsRdWrPerm);
  ASSERT_NE(ref, -1);
  Str255 s;
  GetIndString(s, 200, 2);
  EXPECT_EQ(PStrToString(s), "two");
  Handle back = Get1Resource('dPre', 128);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ((*back)[0], 9);
  RemoveResource(back);
  ASSERT_EQ(ResError(), noErr);
  EXPECT_FALSE(HGetState(back) & kHandleResourceBit);
  DisposeHandle(back);
  Handle detached = Get1Resource('STR#', 200);
  DetachResource(detached);
  EXPECT_EQ(ResError(), noErr);
  UpdateResFile(ref);
  ASSERT_EQ(ResError(), noErr);
  close(ref);
  EXPECT_EQ(GetHandleSize(detached), static_cast<Size>(strs.size())) << "a detached handle outlives its file";
  DisposeHandle(detached);

  ResFileImage image;
  ASSERT_EQ(ResForkReadImage(path.string(), &image), noErr);
  ASSERT_EQ(image.records.size(), 1u);
  EXPECT_EQ(image.records[0].name, "Names");
}

TEST_F(ResourceManager, AReadOnlyFileRefusesChanges) {
  const auto path = dir / "ro.rsrc";
  ResFileImage image;
  image.records = {rec('TEST', 1, bytesOf("x"))};
  ASSERT_EQ(ResForkWriteImage(path.string(), ResForkPlace::DataFork, image), noErr);
  const Bytes before = wxtest::ReadBytes(path);
  const SInt16 ref = open(path);
  ASSERT_NE(ref, -1);
  Handle h = NewHandle(1);
  AddResource(h, 'TEST', 2, nullptr);
  EXPECT_EQ(ResError(), wrPermErr);
  DisposeHandle(h);
  ChangedResource(Get1Resource('TEST', 1));
  EXPECT_EQ(ResError(), wrPermErr);
  close(ref);
  EXPECT_EQ(wxtest::ReadBytes(path), before);
}

TEST_F(ResourceManager, DamagedMissingAndEmptyForksGiveErrors) {
  struct Case {
    const char* what;
    Bytes contents;
    OSErr err;
  };
  const Case cases[] = {
      {"empty data fork", {}, eofErr},
      {"a file with data of its own and no sidecar", bytesOf("\x7f" "ELF plug-in code"), mapReadErr},
      {"truncated resource file", Bytes(kHandMade.begin(), kHandMade.end() - 3), mapReadErr},
  };
  for (const Case& c : cases) {
    const auto path = dir / "damaged";
    wxtest::WriteBytes(path, c.contents);
    EXPECT_EQ(open(path), -1) << c.what;
    EXPECT_EQ(ResError(), c.err) << c.what;
  }
  EXPECT_EQ(open(dir / "missing"), -1);
  EXPECT_EQ(ResError(), fnfErr);

  // A sidecar that is not AppleDouble, or whose fork is damaged.
  wxtest::WriteBytes(dir / "plug.so", bytesOf("code"));
  wxtest::WriteBytes(dir / "._plug.so", bytesOf("not a container"));
  EXPECT_EQ(open(dir / "plug.so"), -1);
  EXPECT_EQ(ResError(), mapReadErr);
  wxtest::WriteBytes(dir / "._plug.so", AppleDoubleBuild({{kAppleDoubleResourceFork, Bytes(kHandMade.begin(), kHandMade.end() - 1)}}));
  EXPECT_EQ(open(dir / "plug.so"), -1);
  EXPECT_EQ(ResError(), mapReadErr);
}

TEST_F(ResourceManager, ASidecarCarriesTheForkOfAFileWithItsOwnData) {
  const auto plugin = dir / "Driver.so";
  const Bytes code = bytesOf("shared object bytes");
  wxtest::WriteBytes(plugin, code);
  // The Finder info entry of an existing sidecar survives a rewrite.
  const Bytes finderInfo = {'8', 'B', 'A', 'M', '8', 'B', 'I', 'M', 0, 0, 0, 0, 0, 0, 0, 0,
                            0,   0,   0,   0,   0,   0,   0,   0,   0, 0, 0, 0, 0, 0, 0, 0};
  wxtest::WriteBytes(dir / "._Driver.so", AppleDoubleBuild({{kAppleDoubleFinderInfo, finderInfo}}));
  EXPECT_EQ(CreateResFilePath(plugin.string()), noErr);

  SInt16 ref = open(plugin, fsRdWrPerm);
  ASSERT_NE(ref, -1) << ResError();
  const unsigned char disp[] = "\x14" "Dispatchable Plug-in";
  Handle h = nullptr;
  ASSERT_EQ(PtrToHand(disp, &h, sizeof disp - 1), noErr);
  AddResource(h, 'DiSp', 16000, nullptr);
  const uint8_t vers[] = {0x08, 0x20, 0x80, 0x00};
  Handle v = nullptr;
  ASSERT_EQ(PtrToHand(vers, &v, sizeof vers), noErr);
  AddResource(v, 'vers', 1, nullptr);
  close(ref);
  ASSERT_EQ(ResError(), noErr);

  EXPECT_EQ(wxtest::ReadBytes(plugin), code) << "the data fork is untouched";
  const Bytes sidecar = wxtest::ReadBytes(dir / "._Driver.so");
  std::vector<AppleDoubleEntry> entries;
  ASSERT_EQ(AppleDoubleParse(sidecar.data(), sidecar.size(), &entries), noErr);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].id, kAppleDoubleFinderInfo);
  EXPECT_EQ(entries[0].bytes, finderInfo);
  EXPECT_EQ(entries[1].id, kAppleDoubleResourceFork);
  std::filesystem::copy_file(dir / "._Driver.so", wxtest::OutputDir("resources") / "._Driver.so",
                             std::filesystem::copy_options::overwrite_existing);

  ref = open(plugin);
  ASSERT_NE(ref, -1);
  Handle back = Get1Resource('DiSp', 16000);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(handleText(back), std::string(reinterpret_cast<const char*>(disp), sizeof disp - 1));
  ASSERT_NE(Get1Resource('vers', 1), nullptr);
  EXPECT_EQ(CreateResFilePath(plugin.string()), dupFNErr);
}

TEST_F(ResourceManager, TheApplicationFileIsFoundAndKept) {
  const auto path = dir / "Wendrix.rsrc";
  ResFileImage image;
  image.records = {rec('STR#', 128, ResStringListBuild({"E"}))};
  ASSERT_EQ(ResForkWriteImage(path.string(), ResForkPlace::DataFork, image), noErr);
  setenv("WX_RESOURCE_FILE", path.c_str(), 1);
  EXPECT_EQ(FindApplicationResourceFile(), path.string());
  unsetenv("WX_RESOURCE_FILE");
  EXPECT_EQ(std::filesystem::path(FindApplicationResourceFile()).filename(), "Wendrix.rsrc");
  const SInt16 ref = OpenApplicationResFile(path.string());
  ASSERT_NE(ref, -1);
  mOpened.push_back(ref);
  EXPECT_EQ(ApplicationResFile(), ref);
  close(ref);
  EXPECT_EQ(ApplicationResFile(), -1);
}

TEST_F(ResourceManager, ADamagedStringListGivesEmptyItems) {
  const auto path = dir / "strings.rsrc";
  // The count says three, but the second string runs past the end and the third is missing.
  const Bytes damaged = {0, 3, 2, 'o', 'k', 9, 't', 'w'};
  ResFileImage image;
  image.records = {rec('STR#', 400, damaged), rec('STR#', 401, Bytes{0})};
  ASSERT_EQ(ResForkWriteImage(path.string(), ResForkPlace::DataFork, image), noErr);
  ASSERT_NE(open(path), -1);
  Str255 s;
  GetIndString(s, 400, 1);
  EXPECT_EQ(PStrToString(s), "ok");
  for (SInt16 index : {0, 2, 3, 4, -1}) {
    GetIndString(s, 400, index);
    EXPECT_EQ(PStrToString(s), "") << index;
  }
  GetIndString(s, 401, 1);
  EXPECT_EQ(PStrToString(s), "") << "a list too short for its count";
}
