#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <set>

#include "prefs/LanguageTables.h"
#include "prefs/PrefRecords.h"
#include "appservices/InstanceChannel.h"
#include "appservices/Processes.h"
#include "support/TestEnv.h"
#include "toolbox/FolderLocations.h"
#include "tools/wendrix-button/ButtonEvent.h"
#include "windows/Events.h"

namespace {

namespace fs = std::filesystem;

class ButtonTool : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("WENDRIX_ROOT", mDir.path().c_str(), 1);
    mFolder = FolderEventDir();
    mTool = std::string(std::getenv("WX_BINARY_DIR")) + "/bin/wendrix-button";
  }
  void TearDown() override {
    AEStopListening();
    FlushEvents(everyEvent, 0);
    unsetenv("WENDRIX_ROOT");
  }
  // The event files in the folder.
  std::vector<fs::path> EventFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(mFolder))
      if (entry.path().filename().string().rfind("KVQR.", 0) == 0) files.push_back(entry.path());
    return files;
  }
  wxtest::ScratchDir mDir;
  std::string mFolder, mTool;
};

TEST_F(ButtonTool, TheEventFileIsAPropertyListPythonReads) {
  std::string error;
  const std::string file = WriteButtonEvent(mFolder, "Dremlo <A&B> \xc3\xa9", 3, &error);
  ASSERT_FALSE(file.empty()) << error;
  const std::string name = fs::path(file).filename().string();
  EXPECT_EQ(name.size(), 25u);
  EXPECT_EQ(name.substr(0, 5), "KVQR.");
  struct stat st;
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  std::string out;
  ASSERT_EQ(wxtest::Run("python3 -c \"import plistlib,sys; d=plistlib.load(open(sys.argv[1],'rb')); "
                        "print(d['FileID'], d['DeviceName'], len(d['EventData']), d['EventData'][0], sorted(d))\" '" + file + "'",
                        &out),
            0);
  EXPECT_EQ(out, "OstrelZenbo_PushScan Dremlo <A&B> \xc3\xa9 16 3 ['DeviceName', 'EventData', 'FileID']\n");
  // Nothing but the event file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(mFolder), fs::directory_iterator()), 1);
}

TEST_F(ButtonTool, OnlyItsOwnFilesOlderThanAMinuteAreRemoved) {
  const std::time_t now = std::time(nullptr);
  struct Case {
    const char* name;
    int age;
    bool kept;
  };
  const Case cases[] = {
      {"KVQR.20260101000000.plist", 61, false},
      {"KVQR.20260101000001.plist", 30, true},
      {"KVQR.2026010100000.plist", 600, true},  // not the pattern
      {"other.20260101000000.plist", 600, true},
  };
  for (const Case& c : cases) {
    const fs::path path = fs::path(mFolder) / c.name;
    std::ofstream(path) << "x";
    const timeval times[2] = {{now - c.age, 0}, {now - c.age, 0}};
    utimes(path.c_str(), times);
  }
  RemoveOldButtonEvents(mFolder, now);
  for (const Case& c : cases) EXPECT_EQ(fs::exists(fs::path(mFolder) / c.name), c.kept) << c.name;
}

TEST_F(ButtonTool, WithNoApplicationRunningItStartsTheOneGiven) {
  const fs::path record = mDir / "record.txt";
  const fs::path app = mDir / "bin" / "wendrix";
  fs::create_directories(app.parent_path());
  std::ofstream(app) << "#!/bin/sh\nprintf '%s:%s\\n' \"$WX_LAUNCHER_SIGNATURE\" \"$#\" >> '" << record.string() << "'\n";
  chmod(app.c_str(), 0755);
  ASSERT_EQ(wxtest::Run("'" + mTool + "' --device 'Dremlo Model A' --button 2 --app '" + app.string() + "'"), 0);
  for (int i = 0; i < 500 && !fs::exists(record); ++i) usleep(10000);
  std::ifstream in(record);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "syui:0");
  EXPECT_EQ(EventFiles().size(), 1u);
}

TEST_F(ButtonTool, ARunningApplicationGetsAReopenFromTheButtonService) {
  ASSERT_EQ(AEClaimSingleInstance(nullptr), InstanceRole::kFirst);
  EventRecord record;
  GetNextEvent(highLevelEventMask, &record);  // the open-application event
  const pid_t pid = fork();
  if (pid == 0) {
    execl(mTool.c_str(), mTool.c_str(), "--device", "Dremlo Model A", "--button", "5", "--app", "/no/such/app", nullptr);
    _exit(127);
  }
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) != pid) {
    AEPollInstanceChannel();
    usleep(2000);
  }
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  ASSERT_TRUE(GetNextEvent(highLevelEventMask, &record));
  const AppleEvent* event = AECurrentEventOf(CurrentHighLevelEventPayload());
  ASSERT_NE(event, nullptr);
  ProcessSerialNumber sender{};
  DescType type;
  Size size;
  ASSERT_EQ(AEGetAttributePtr(event, keyAddressAttr, typeProcessSerialNumber, &type, &sender, sizeof sender, &size), 0);
  ProcessInfoRec info{};
  info.processInfoLength = kProcessInfoRecLength;
  ASSERT_EQ(GetProcessInformation(&sender, &info), 0);
  EXPECT_EQ(info.processSignature, OSType('syui'));
  ASSERT_EQ(EventFiles().size(), 1u);
  std::vector<uint8_t> bytes = wxtest::ReadBytes(EventFiles()[0]);
  EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("Dremlo Model A"), std::string::npos);
}

TEST_F(ButtonTool, TheDeviceDefaultsToTheModelOfThePreferencesFile) {
  std::string folder;
  ASSERT_EQ(FindFolderPath(kUserDomain, kPreferencesFolderType, kCreateFolder, &folder), 0);
  std::vector<uint8_t> prefs(PREF_ALL::kSize, 0);
  const std::string model = "Dremlo Model B";
  prefs[PREF_ALL::kSetting.off] = static_cast<uint8_t>(model.size());
  std::copy(model.begin(), model.end(), prefs.begin() + PREF_ALL::kSetting.off + 1);
  const unsigned char* name = gOpenApp[1].prefsFileName;
  wxtest::WriteBytes(fs::path(folder) / std::string(reinterpret_cast<const char*>(name + 1), name[0]), prefs);
  const fs::path app = mDir / "bin" / "wendrix";
  fs::create_directories(app.parent_path());
  std::ofstream(app) << "#!/bin/sh\nexit 0\n";
  chmod(app.c_str(), 0755);
  ASSERT_EQ(wxtest::Run("'" + mTool + "' --button 4 --app '" + app.string() + "'"), 0);
  ASSERT_EQ(EventFiles().size(), 1u);
  std::vector<uint8_t> bytes = wxtest::ReadBytes(EventFiles()[0]);
  EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("<string>Dremlo Model B</string>"), std::string::npos);
}

TEST_F(ButtonTool, BadArgumentsAndNothingReachedFailClearly) {
  struct Case {
    std::string args;
    int status;
    const char* says;
  };
  const Case cases[] = {
      {"--device X", 2, "--button is missing"},
      {"--device X --button 0", 2, "--button takes a number"},
      {"--device X --button two", 2, "--button takes a number"},
      {"--button 1 --colour red", 2, "unknown argument --colour"},
      {"--button 1", 2, "no --device given"},
      {"--device X --button 1 --app /no/such/app", 1, "cannot be started"},
      // The name goes into an XML file: bytes that are not UTF-8, or control characters, cannot.
      {"--device \"$(printf 'Model \\377')\" --button 1 --app /no/such/app", 2, "UTF-8"},
      {"--device \"$(printf 'Model \\300\\201')\" --button 1 --app /no/such/app", 2, "UTF-8"},
      {"--device \"$(printf 'Model \\001')\" --button 1 --app /no/such/app", 2, "UTF-8"},
  };
  for (const Case& c : cases) {
    std::string out;
    const int status = wxtest::Run("'" + mTool + "' " + c.args + " 2>&1", &out);
    EXPECT_EQ(status, c.status) << c.args;
    EXPECT_NE(out.find(c.says), std::string::npos) << c.args << ": " << out;
  }
}

TEST_F(ButtonTool, PushesInQuickSuccessionEachGetAFileOfTheirOwn) {
  const fs::path app = mDir / "bin" / "wendrix";
  fs::create_directories(app.parent_path());
  std::ofstream(app) << "#!/bin/sh\nexit 0\n";
  chmod(app.c_str(), 0755);
  for (int push = 1; push <= 10; ++push) {
    std::string out;
    EXPECT_EQ(wxtest::Run("'" + mTool + "' --device 'Dremlo Model A' --button 9 --app '" + app.string() + "' 2>&1", &out), 0)
        << "push " << push << ": " << out;
  }
  std::set<std::string> names;
  for (const fs::path& file : EventFiles()) names.insert(file.filename().string());
  EXPECT_EQ(names.size(), 10u);
}

}  // namespace
