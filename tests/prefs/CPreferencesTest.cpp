#include "prefs/CPreferences.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

#include "prefs/PrefFile.h"
#include "framework/LException.h"
#include "tests/prefs/PrefsTestEnv.h"

namespace {

using wxtest::FromP;
using wxtest::PrefsEnv;
using wxtest::PStr;

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

uint32_t FileU32(const std::vector<uint8_t>& file, size_t off) { return BEGetU32(file.data() + off); }

struct Tags {
  uint32_t copy, print, mail, ocr, save, file, scan1, scan2, setting;
};

Tags TagsOf(RecordBytes all) {
  return Tags{PREF_COPY::kTag.get(PREF_ALL::kCopy.in(all)),   PREF_PRINT::kTag.get(PREF_ALL::kPrint.in(all)),
              PREF_MAIL::kTag.get(PREF_ALL::kMail.in(all)),   PREF_OCR::kTag.get(PREF_ALL::kOCR.in(all)),
              PREF_SAVE::kTag.get(PREF_ALL::kSave.in(all)),   PREF_FILE::kTag.get(PREF_ALL::File(0).in(all)),
              PREF_SCANX::kTag.get(PREF_ALL::kScan1.in(all)), PREF_SCANX::kTag.get(PREF_ALL::kScan2.in(all)),
              PREF_SETTING::kTag.get(PREF_ALL::kSetting.in(all))};
}

void ExpectTags(RecordBytes all, const Tags& t) {
  Tags got = TagsOf(all);
  EXPECT_EQ(got.copy, t.copy);
  EXPECT_EQ(got.print, t.print);
  EXPECT_EQ(got.mail, t.mail);
  EXPECT_EQ(got.ocr, t.ocr);
  EXPECT_EQ(got.save, t.save);
  EXPECT_EQ(got.scan1, t.scan1);
  EXPECT_EQ(got.scan2, t.scan2);
  EXPECT_EQ(got.setting, t.setting);
  for (uint32_t k = 0; k < 5; ++k) EXPECT_EQ(PREF_FILE::kTag.get(PREF_ALL::File(k).in(all)), t.file) << k;
}

std::string ModelOf(RecordBytes all) {
  Str255 s;
  PREF_SETTING::kModelName.get(PREF_ALL::kSetting.in(all), s);
  return FromP(s);
}

TEST(CPreferences, FirstUseWritesTheDefaultsAsAFileOfExactSize) {
  PrefsEnv env("J");
  { CPreferences prefs(PREFS_FILE_NAME, 0); }
  std::vector<uint8_t> file = ReadBytes(env.PrefsFile());
  ASSERT_EQ(file.size(), PREF_ALL::kSize);
  for (uint32_t k = 0; k < 5; ++k) EXPECT_EQ(FileU32(file, 29324 + 3684 * k + 3496), 2002u);
  FSSpec spec = env.PrefsFolderSpec(FromP(PREFS_FILE_NAME));
  FInfo info{};
  ASSERT_EQ(FSpGetFInfo(&spec, &info), noErr);
  EXPECT_EQ(info.fdCreator, FourCharCode('CTTX'));
  EXPECT_EQ(info.fdType, kPrefFileType);
  // Without a site-defaults file the tags are the factory ones whatever the model.
  ExpectTags(RecordBytes(file.data(), file.size()), Tags{2000, 0, 2003, 0, 0, 2002, 2001, 0, 0});
}

TEST(CPreferences, SiteDefaultsNameTheModelAndTheApplications) {
  PrefsEnv env("E");
  FSSpec apps[4];
  for (int i = 0; i < 4; ++i) apps[i] = env.MakeFile(env.root() / "Apps" / ("App" + std::to_string(i)));
  std::vector<unsigned char> dPre = PrefsEnv::ModelBlock("Dremlo Model D");
  env.WriteSiteDefaults(&dPre, {{5000, apps[0]}, {5001, apps[1]}, {5002, apps[2]}, {5003, apps[3]}});

  CPreferences prefs(PREFS_FILE_NAME, 0);
  RecordBytes all = prefs.PrefAll();
  EXPECT_EQ(ModelOf(all), "Dremlo Model D");
  RecordBytes setting = PREF_ALL::kSetting.in(all);
  const uint32_t slots[] = {1, 6, 8, 3};
  for (uint32_t k = 0; k < 4; ++k) EXPECT_EQ(PREF_SETTING::ButtonSlot(k).get(setting), slots[k]) << k;
  ExpectTags(all, Tags{2000, 0, 2003, 0, 0, 2002, 2001, 0, 0});

  const std::pair<RecordBytes, PrefSpec> fields[] = {
      {PREF_ALL::kScan1.in(all), PREF_SCANX::kTargetApp},
      {PREF_ALL::kScan2.in(all), PREF_SCANX::kTargetApp},
      {PREF_ALL::File(0).in(all), PREF_FILE::kTargetApp},
      {PREF_ALL::kOCR.in(all), PREF_OCR::kOCRApp},
  };
  for (int i = 0; i < 4; ++i) {
    FSSpec got = fields[i].second.get(fields[i].first);
    EXPECT_EQ(got.parID, apps[i].parID) << i;
    EXPECT_EQ(FromP(got.name), FromP(apps[i].name)) << i;
  }
}

TEST(CPreferences, SevenButtonSiteModelLeavesSlotTwoUnused) {
  PrefsEnv env("E");
  std::vector<unsigned char> dPre = PrefsEnv::ModelBlock("Dremlo Model B");
  env.WriteSiteDefaults(&dPre, {});
  CPreferences prefs(PREFS_FILE_NAME, 0);
  RecordBytes all = prefs.PrefAll();
  EXPECT_EQ(PREF_SETTING::kButtonSlot2.get(PREF_ALL::kSetting.in(all)), 0u);
  ExpectTags(all, Tags{2000, 0, 2003, 0, 0, 0, 2001, 0, 0});
  EXPECT_TRUE(PREF_SCANX::kTargetApp.get(PREF_ALL::kScan1.in(all)).name[0] == 0);
}

struct IgnoredSite {
  const char* what;
  std::vector<unsigned char> dPre;
  bool withDPre;
};

TEST(CPreferences, MissingOrShortModelResourceIsIgnored) {
  std::vector<unsigned char> shortBlock = PrefsEnv::ModelBlock("Dremlo Model D");
  shortBlock.resize(36 + 1 + 5);  // announces 14 characters, holds 5
  const IgnoredSite cases[] = {
      {"no dPre", {}, false},
      {"short dPre", shortBlock, true},
      {"dPre ends before its length byte", std::vector<unsigned char>(36, 0), true},
  };
  for (const IgnoredSite& c : cases) {
    PrefsEnv env("E");
    PrefsEnv::UseModels({"Dremlo Model A"});
    FSSpec app = env.MakeFile(env.root() / "Apps" / "App");
    env.WriteSiteDefaults(c.withDPre ? &c.dPre : nullptr, {{5000, app}});
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes all = prefs.PrefAll();
    EXPECT_EQ(ModelOf(all), "Dremlo Model A") << c.what;
    ExpectTags(all, Tags{2000, 0, 2003, 0, 0, 2002, 2001, 0, 0});
    EXPECT_EQ(PREF_SCANX::kTargetApp.get(PREF_ALL::kScan1.in(all)).name[0], c.withDPre ? 3 : 0) << c.what;
  }
}

TEST(CPreferences, DamagedFileIsKeptAsideAndRebuilt) {
  for (size_t size : {size_t(0), size_t(100), PREF_ALL::kSize - 1, PREF_ALL::kSize + 1}) {
    PrefsEnv env("E");
    std::filesystem::create_directories(env.PrefsFolder());
    const std::filesystem::path damaged = env.PrefsFile().string() + ".damaged";
    WriteBytes(damaged, {1, 2, 3});  // an older one goes
    std::vector<uint8_t> bad(size, 0xA5);
    WriteBytes(env.PrefsFile(), bad);
    {
      CPreferences prefs(PREFS_FILE_NAME, 0);
      EXPECT_EQ(PREF_COPY::kTag.get(PREF_ALL::kCopy.in(prefs.PrefAll())), 2000u) << size;
    }
    EXPECT_EQ(ReadBytes(env.PrefsFile()).size(), PREF_ALL::kSize) << size;
    EXPECT_EQ(ReadBytes(damaged), bad) << size;
  }
}

int gFailures = 0;
OSErr gLastFailure = noErr;
void RecordFailure(OSErr err) {
  ++gFailures;
  gLastFailure = err;
}

// Files and folders another user left: the store runs as that other user (uid and gid 65534)
// in a child process, so that permissions really hold, and the child's exit status says what
// went wrong there (0: all as expected).
struct ForeignCase {
  const char* what;
  std::function<void(const PrefsEnv&)> prepare;  // as root
  bool loadsTheFile;     // the stored value is seen
  int reports;           // times the user hears that settings will not be kept
  bool setAside;         // "<name>.damaged" holds what was at the path
};

TEST(CPreferences, FilesTheUserCannotReadOrWriteNeitherStopNorSilenceTheProgram) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to hand files to another user";
  namespace fs = std::filesystem;
  auto ownedByRoot = [](const fs::path& p, fs::perms mode) {
    ASSERT_EQ(chown(p.c_str(), 0, 0), 0);
    fs::permissions(p, mode);
  };
  auto stored = [](const PrefsEnv&) {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    PREF_ALL::kWindowTop.set(prefs.PrefAll(), 77);
  };
  const ForeignCase cases[] = {
      {"unreadable file, writable folder",
       [&](const PrefsEnv& env) { stored(env); ownedByRoot(env.PrefsFile(), fs::perms::owner_read | fs::perms::owner_write); },
       false, 0, true},
      {"unreadable file, read-only folder",
       [&](const PrefsEnv& env) {
         stored(env);
         ownedByRoot(env.PrefsFile(), fs::perms::owner_read | fs::perms::owner_write);
         ownedByRoot(env.PrefsFolder(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                            fs::perms::others_read | fs::perms::others_exec);
       },
       false, 1, false},
      {"read-only file",
       [&](const PrefsEnv& env) {
         stored(env);
         ownedByRoot(env.PrefsFile(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                          fs::perms::others_read);
       },
       true, 1, false},
      {"read-only folder, no file",
       [&](const PrefsEnv& env) {
         ownedByRoot(env.PrefsFolder(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                            fs::perms::others_read | fs::perms::others_exec);
       },
       false, 1, false},
      {"a folder at the path",
       [&](const PrefsEnv& env) {
         fs::create_directories(env.PrefsFile() / "inside");
         ASSERT_EQ(chown((env.PrefsFile() / "inside").c_str(), 65534, 65534), 0);
         ASSERT_EQ(chown(env.PrefsFile().c_str(), 65534, 65534), 0);
       },
       false, 0, true},
  };
  for (const ForeignCase& c : cases) {
    PrefsEnv env("E");
    fs::create_directories(env.PrefsFolder());
    // The whole scratch tree belongs to the other user, then each case takes some back.
    for (const auto& entry : fs::recursive_directory_iterator(env.root()))
      ASSERT_EQ(lchown(entry.path().c_str(), 65534, 65534), 0);
    ASSERT_EQ(chown(env.root().c_str(), 65534, 65534), 0);
    c.prepare(env);
    const std::vector<uint8_t> before = fs::is_regular_file(env.PrefsFile()) ? ReadBytes(env.PrefsFile()) : std::vector<uint8_t>{};
    const pid_t child = fork();
    if (child == 0) {
      if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
      gFailures = 0;
      CPreferences::SetWriteFailureHandler(RecordFailure);
      int wrong = 0;
      try {
        for (int i = 0; i < 2; ++i) {
          CPreferences prefs(PREFS_FILE_NAME, 0);
          if ((PREF_ALL::kWindowTop.get(prefs.PrefAll()) == 77) != c.loadsTheFile) wrong |= 4;
          if (PREF_COPY::kTag.get(PREF_ALL::kCopy.in(prefs.PrefAll())) != 2000u) wrong |= 8;
          PREF_ALL::kWindowTop.set(prefs.PrefAll(), SInt16(90 + i));
        }
      } catch (...) {
        wrong |= 16;
      }
      if (gFailures != c.reports) wrong |= 32;
      _exit(wrong);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << c.what;
    EXPECT_EQ(WEXITSTATUS(status), 0) << c.what << ": 4 wrong load, 8 no defaults, 16 threw, 32 reports";
    const fs::path damaged = env.PrefsFile().string() + ".damaged";
    EXPECT_EQ(fs::exists(damaged), c.setAside) << c.what;
    if (c.setAside) {
      EXPECT_EQ(ReadBytes(env.PrefsFile()).size(), PREF_ALL::kSize) << c.what;
    } else if (!before.empty()) {
      EXPECT_EQ(ReadBytes(env.PrefsFile()), before) << c.what << ": the other user's file is left as it was";
    }
    fs::permissions(env.PrefsFolder(), fs::perms::owner_all);
  }
}

// A huge file at the path is set aside without being read into memory.
TEST(CPreferences, AHugeFileIsSetAsideUnread) {
  PrefsEnv env("E");
  std::filesystem::create_directories(env.PrefsFolder());
  constexpr long kHuge = 512L << 20;
  {
    std::ofstream out(env.PrefsFile(), std::ios::binary);
    out.seekp(kHuge - 1);
    out.put('x');
  }
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  { CPreferences prefs(PREFS_FILE_NAME, 0); }
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64L << 10) << "kilobytes more at the peak";
  EXPECT_EQ(std::filesystem::file_size(env.PrefsFile().string() + ".damaged"), uintmax_t(kHuge));
  EXPECT_EQ(ReadBytes(env.PrefsFile()).size(), PREF_ALL::kSize);
}

// A record of the right size full of damage: captions with control bytes are the factory ones.
TEST(CPreferences, CaptionsWithControlBytesAreTheFactoryOnes) {
  PrefsEnv env("E");
  std::filesystem::create_directories(env.PrefsFolder());
  std::vector<uint8_t> record = ReadBytes(std::filesystem::path(WX_SOURCE_DIR_DEFAULT) / "tests/prefs/fixtures/random-record");
  ASSERT_EQ(record.size(), PREF_ALL::kSize);
  WriteBytes(env.PrefsFile(), record);
  CPreferences prefs(PREFS_FILE_NAME, 0);
  Str255 copy, scan1;
  PREF_COPY::kButtonName.get(PREF_ALL::kCopy.in(prefs.PrefAll()), copy);
  PREF_SCANX::kButtonName.get(PREF_ALL::kScan1.in(prefs.PrefAll()), scan1);
  EXPECT_EQ(FromP(copy), "Copy");
  EXPECT_EQ(FromP(scan1), "Scan1");
}

TEST(CPreferences, ObjectsChangingDifferentFieldsBothSurvive) {
  PrefsEnv env("E");
  { CPreferences first(PREFS_FILE_NAME, 0); }
  auto* dialog = new CPreferences(PREFS_FILE_NAME, 0);
  auto* shortLived = new CPreferences(PREFS_FILE_NAME, 0);
  PREF_COPY::kBrightness.set(PREF_ALL::kCopy.in(dialog->PrefAll()), 7);
  PREF_PRINT::kTag.set(PREF_ALL::kPrint.in(shortLived->PrefAll()), 2001);
  PREF_COPY::kCustomPercent.set(PREF_ALL::kCopy.in(shortLived->PrefAll()), 150);
  PREF_COPY::kCustomPercent.set(PREF_ALL::kCopy.in(dialog->PrefAll()), 222);
  delete shortLived;
  delete dialog;  // written last: its change of the shared field stands
  CPreferences check(PREFS_FILE_NAME, 0);
  RecordBytes copy = PREF_ALL::kCopy.in(check.PrefAll());
  EXPECT_EQ(PREF_COPY::kBrightness.get(copy), 7u);
  EXPECT_EQ(PREF_PRINT::kTag.get(PREF_ALL::kPrint.in(check.PrefAll())), 2001u);
  EXPECT_EQ(PREF_COPY::kCustomPercent.get(copy), 222u);
}

TEST(CPreferences, AnObjectThatChangedNothingWritesNothing) {
  PrefsEnv env("E");
  { CPreferences first(PREFS_FILE_NAME, 0); }
  auto* idle = new CPreferences(PREFS_FILE_NAME, 0);
  std::vector<uint8_t> file = ReadBytes(env.PrefsFile());
  BEPutU16(file.data() + PREF_ALL::kLastButton.off, 3);
  WriteBytes(env.PrefsFile(), file);
  EXPECT_EQ(idle->Save(), noErr);
  delete idle;
  EXPECT_EQ(ReadBytes(env.PrefsFile()), file);
}

TEST(CPreferences, InterruptedWriteLeavesTheOldFileIntact) {
  PrefsEnv env("E");
  { CPreferences first(PREFS_FILE_NAME, 0); }
  const std::vector<uint8_t> before = ReadBytes(env.PrefsFile());
  std::vector<uint8_t> changed = before;
  changed[PREF_ALL::kLastButton.off + 1] = 9;
  FSSpec target = env.PrefsFolderSpec(FromP(PREFS_FILE_NAME));
  FSSpec temp{};
  ASSERT_EQ(PFWriteTemp(target, changed.data(), changed.size(), &temp), noErr);
  // The process ends here, before the replacement.
  EXPECT_EQ(ReadBytes(env.PrefsFile()), before);
  {
    CPreferences next(PREFS_FILE_NAME, 0);
    EXPECT_EQ(PREF_ALL::kLastButton.get(next.PrefAll()), 0);
    PREF_ALL::kLastButton.set(next.PrefAll(), 4);
  }
  EXPECT_EQ(BEGetU16(ReadBytes(env.PrefsFile()).data() + PREF_ALL::kLastButton.off), 4);
}

TEST(CPreferences, FailedWriteIsReportedNotThrown) {
  PrefsEnv env("E");
  { CPreferences first(PREFS_FILE_NAME, 0); }
  gFailures = 0;
  CPreferences::SetWriteFailureHandler(RecordFailure);
  {
    wxtest::ReadOnly locked(env.PrefsFolder());
    if (!locked.ok()) GTEST_SKIP() << "cannot make the folder unwritable here";
    for (int i = 0; i < 2; ++i) {
      auto* prefs = new CPreferences(PREFS_FILE_NAME, 0);
      PREF_ALL::kWindowTop.set(prefs->PrefAll(), 40);
      EXPECT_NE(prefs->Save(), noErr);
      EXPECT_NO_THROW(delete prefs);
    }
  }
  EXPECT_EQ(gFailures, 1);  // shown once
  EXPECT_NE(gLastFailure, noErr);
  CPreferences::SetWriteFailureHandler(nullptr);
  CPreferences check(PREFS_FILE_NAME, 0);
  EXPECT_EQ(PREF_ALL::kWindowTop.get(check.PrefAll()), 0);
}

// On a read-only volume the file opens for reading, loads, and the failed write is reported
// once when saving, as in a read-only folder.
TEST(CPreferences, ReadOnlyVolumeLoadsAndReportsTheWrite) {
  PrefsEnv env("E");
  const std::filesystem::path folder = env.PrefsFolder();
  std::filesystem::create_directories(folder);
  if (mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=1m") != 0) GTEST_SKIP() << "cannot mount a file system here";
  struct Unmount {
    std::filesystem::path at;
    ~Unmount() { umount2(at.c_str(), MNT_DETACH); }
  } unmount{folder};
  {
    CPreferences first(PREFS_FILE_NAME, 0);
    PREF_ALL::kWindowTop.set(first.PrefAll(), 33);
  }
  const std::vector<uint8_t> before = ReadBytes(env.PrefsFile());
  ASSERT_EQ(mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
  gFailures = 0;
  gLastFailure = noErr;
  CPreferences::SetWriteFailureHandler(RecordFailure);
  for (int i = 0; i < 2; ++i) {
    std::unique_ptr<CPreferences> prefs;
    ASSERT_NO_THROW(prefs = std::make_unique<CPreferences>(PREFS_FILE_NAME, 0));
    EXPECT_EQ(PREF_ALL::kWindowTop.get(prefs->PrefAll()), 33);
    PREF_ALL::kWindowTop.set(prefs->PrefAll(), 50);
    EXPECT_NO_THROW(prefs.reset());
  }
  CPreferences::SetWriteFailureHandler(nullptr);
  EXPECT_EQ(gFailures, 1);  // shown once
  EXPECT_EQ(gLastFailure, vLckdErr);
  EXPECT_EQ(ReadBytes(env.PrefsFile()), before);
}

struct SlotCase {
  const char* what;
  unsigned short productID;
  uint32_t slots[4];
  Tags tags;
};

TEST(CPreferences, ButtonTagsFollowTheSlots) {
  const SlotCase cases[] = {
      {"seven-button, slot 9", 0x1200, {9, 6, 8, 3}, Tags{0, 0, 2003, 0, 0, 0, 2001, 0, 0}},
      {"four-button, slot 9", 0x1240, {9, 6, 8, 3}, Tags{0, 0, 2003, 0, 0, 2002, 2001, 0, 2000}},
      {"seven-button, 8 is Settings", 0x1250, {8, 6, 2, 5}, Tags{0, 0, 0, 0, 2003, 0, 2001, 0, 2000}},
      {"same function twice: later slot", 0x1230, {4, 4, 0, 4}, Tags{0, 0, 0, 2003, 0, 0, 0, 0, 0}},
      {"unknown model, out of range", 0, {0, 10, 7, 2}, Tags{0, 2003, 0, 0, 0, 0, 0, 0, 0}},
  };
  PrefsEnv env("E");
  CPreferences prefs(PREFS_FILE_NAME, 0);
  for (const SlotCase& c : cases) {
    RecordBytes setting = PREF_ALL::kSetting.in(prefs.PrefAll());
    PREF_SETTING::kTag.set(setting, 0);
    for (uint32_t k = 0; k < 4; ++k) PREF_SETTING::ButtonSlot(k).set(setting, c.slots[k]);
    prefs.SetupButtonValue(c.productID);
    SCOPED_TRACE(c.what);
    ExpectTags(prefs.PrefAll(), c.tags);
  }
}

TEST(CPreferences, PaperRectangleStartsAtZero) {
  PrefsEnv env("J");
  Rect r{5, 5, 5, 5};
  CPreferences::set_paper_size(&r, Paper_Size_A4, 300);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 2480);   // 2100 / 253.996 * 300
  EXPECT_EQ(r.bottom, 3507);  // 2970 / 253.996 * 300
  CPreferences::set_paper_size(&r, 99, 300);
  EXPECT_EQ(r.right, 0);
  EXPECT_EQ(r.bottom, 0);
}

TEST(CPreferences, FileTabDefaults) {
  PrefsEnv env("E");
  CPreferences prefs(PREFS_FILE_NAME, 0);
  RecordBytes all = prefs.PrefAll();
  std::vector<uint8_t> before(all.data(), all.data() + all.size());
  for (uint32_t k = 0; k < 5; ++k) {
    RecordBytes rec = PREF_ALL::File(k).in(all);
    PREF_FILE::kButtonPending.set(rec, 0);
    PREF_FILE::kTag.set(rec, 0);
    PREF_FILE::kSetting16.set(rec, 77);
  }
  RecordBytes tab5 = prefs.Set_Default_File_Tab(5);
  EXPECT_EQ(tab5.data(), all.data() + PREF_ALL::kFile0);
  for (uint32_t k = 0; k < 5; ++k) {
    RecordBytes rec = PREF_ALL::File(k).in(all);
    EXPECT_EQ(PREF_FILE::kCurrentTab.get(rec), k == 1 ? 0u : 5u) << k;
    EXPECT_EQ(PREF_FILE::kButtonPending.get(rec), 1) << k;
    EXPECT_EQ(PREF_FILE::kTag.get(rec), 2002u) << k;
    EXPECT_EQ(PREF_FILE::kSetting16.get(rec), 77u) << k;
  }
  RecordBytes tab2 = prefs.Set_Default_File_Tab(2);
  EXPECT_EQ(tab2.data(), all.data() + PREF_ALL::kFile0 + 3 * PREF_FILE::kSize);
  EXPECT_EQ(PREF_FILE::kSetting4.get(PREF_ALL::File(0).in(all)), 3u);
  EXPECT_EQ(PREF_FILE::kSetting4.get(tab2), 1u);
  EXPECT_EQ(PREF_FILE::kCurrentTab.get(tab2), 2u);
  EXPECT_EQ(PREF_FILE::kSetting16.get(tab2), 2u);
  EXPECT_EQ(PREF_FILE::kSetting16.get(PREF_ALL::File(2).in(all)), 77u);
}

TEST(CPreferences, ResetOperationsReturnTheirRecordInsideTheWholeRecord) {
  PrefsEnv env("E");
  CPreferences prefs(PREFS_FILE_NAME, 0);
  uint8_t* base = prefs.PrefAll().data();
  EXPECT_EQ(prefs.Set_Default_Copy().data(), base + PREF_ALL::kCopy.off);
  EXPECT_EQ(prefs.Set_Default_Print().data(), base + PREF_ALL::kPrint.off);
  EXPECT_EQ(prefs.Set_Default_Mail().data(), base + PREF_ALL::kMail.off);
  EXPECT_EQ(prefs.Set_Default_OCR().data(), base + PREF_ALL::kOCR.off);
  EXPECT_EQ(prefs.Set_Default_Save().data(), base + PREF_ALL::kSave.off);
  EXPECT_EQ(prefs.Set_Default_File().data(), base + PREF_ALL::kFile0);
  EXPECT_EQ(prefs.Set_Default_Scan1().data(), base + PREF_ALL::kScan1.off);
  EXPECT_EQ(prefs.Set_Default_Scan2().data(), base + PREF_ALL::kScan2.off);
  EXPECT_EQ(prefs.Set_Default_Setting().data(), base + PREF_ALL::kSetting.off);
  EXPECT_EQ(prefs.Set_Default_Exif().data(), base + PREF_ALL::kExif.off);
  EXPECT_EQ(prefs.Set_Default_ScannerDriver().data(), base + PREF_ALL::kSetting.off);
}

}  // namespace
