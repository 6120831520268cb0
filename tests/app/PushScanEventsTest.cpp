#include "app/PushScanEvents.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "AppTestEnv.h"
#include "framework/LCheckBox.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hubdialogs/WXAlert.h"
#include "toolbox/Gestalt.h"

namespace wxapp {
namespace {

namespace fs = std::filesystem;
using namespace wxframework;

// The event file's name for `secondsAgo` before the clock's time.
std::string EventName(int secondsAgo) {
  UInt32 now = 0;
  GetDateTime(&now);
  DateTimeRec d{};
  SecondsToDate(now - UInt32(secondsAgo), &d);
  char name[64];
  std::snprintf(name, sizeof name, "KVQR.%04d%02d%02d%02d%02d%02d.plist", d.year, d.month, d.day, d.hour, d.minute,
                d.second);
  return name;
}

std::string Base64(const std::string& bytes) {
  static const char* kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    UInt32 n = UInt8(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= UInt8(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) n |= UInt8(bytes[i + 2]);
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
  }
  return out;
}

// An XML property list whose root dictionary holds `entries` (already written as XML).
std::string Plist(const std::string& entries) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
         "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">\n<dict>\n" +
         entries + "</dict>\n</plist>\n";
}

std::string Entries(const std::string& device, const std::string& data, const std::string& fileID = "OstrelZenbo_PushScan") {
  return "<key>FileID</key><string>" + fileID + "</string>\n<key>DeviceName</key><string>" + device +
         "</string>\n<key>EventData</key><data>" + Base64(data) + "</data>\n";
}

std::string Push(int button) { return std::string(1, char(button)) + std::string(15, '\0'); }

class PushScanTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    mFolder = FolderEventDir();
  }
  void TearDown() override {
    GestaltReset();
    CWXUtility::sIsOpen = 0;
    CWXUtility::sEZMag = 0;
    CWXUtility::sTabMode = 0;
    AppTest::TearDown();
  }

  fs::path Write(const std::string& name, const std::string& content) {
    const fs::path file = fs::path(mFolder) / name;
    std::ofstream(file, std::ios::binary) << content;
    return file;
  }
  fs::path WriteEvent(int secondsAgo, const std::string& device, int button) {
    return Write(EventName(secondsAgo), Plist(Entries(device, Push(button))));
  }
  void Clear() {
    for (const auto& entry : fs::directory_iterator(mFolder)) fs::remove(entry.path());
  }

  long Find(KVQRInfo* info, unsigned short* productID) {
    FSSpec file{};
    return FindKVQR(info, productID, &file);
  }

  UInt16 LastButton() {
    UInt16 button = 0;
    WithPrefs([&](RecordBytes all) { button = PREF_ALL::kLastButton.get(all); });
    return button;
  }

  std::string mFolder;
};

TEST_F(PushScanTest, AFileFourSecondsOldIsTakenFiveIsNot) {
  for (int age : {0, 4}) {
    Clear();
    WriteEvent(age, "Dremlo Model B", 2);
    KVQRInfo info{};
    unsigned short product = 0;
    ASSERT_EQ(0, Find(&info, &product)) << age;
    EXPECT_EQ(0x1230, product);
    EXPECT_STREQ("Dremlo Model B", info.deviceName);
    EXPECT_EQ(2, info.eventData[0]);
    EXPECT_EQ((fs::path(mFolder) / EventName(age)).string(), info.path);
  }
  Clear();
  WriteEvent(5, "Dremlo Model B", 2);
  KVQRInfo info{};
  unsigned short product = 0;
  EXPECT_EQ(-1, Find(&info, &product));
}

TEST_F(PushScanTest, NewestFirstAndAnUnknownDeviceFallsThrough) {
  WriteEvent(3, "Dremlo Model C", 5);
  WriteEvent(1, "Dremlo Model D", 4);
  KVQRInfo info{};
  unsigned short product = 0;
  ASSERT_EQ(0, Find(&info, &product));
  EXPECT_EQ(0x1240, product);
  Clear();
  WriteEvent(3, "Dremlo Model C", 5);
  WriteEvent(1, "Unknown Scanner", 4);
  ASSERT_EQ(0, Find(&info, &product));
  EXPECT_EQ(0x1250, product);
  EXPECT_EQ(5, info.eventData[0]);
}

TEST_F(PushScanTest, LooseNamesOnOlderSystems) {
  GestaltSetValue(gestaltSystemVersion, 0x1050);
  Write("KVQR.abcdefghijklmn.plist", Plist(Entries("Dremlo Model A", Push(1))));
  KVQRInfo info{};
  unsigned short product = 0;
  EXPECT_EQ(0, Find(&info, &product));
  Clear();
  Write("KVQR.abcdefghijklmno.plist", Plist(Entries("Dremlo Model A", Push(1))));
  EXPECT_EQ(-1, Find(&info, &product)) << "26 characters";
}

TEST_F(PushScanTest, MalformedFilesAreSkippedWithoutHarm) {
  const std::string good = Plist(Entries("Dremlo Model A", Push(1)));
  struct Case {
    const char* name;
    std::function<void(const fs::path& file)> make;
  } cases[] = {
      {"wrong FileID", [&](const fs::path& f) { std::ofstream(f) << Plist(Entries("Dremlo Model A", Push(1), "Other")); }},
      {"no DeviceName",
       [&](const fs::path& f) {
         std::ofstream(f) << Plist("<key>FileID</key><string>OstrelZenbo_PushScan</string><key>EventData</key><data>" +
                                   Base64(Push(1)) + "</data>");
       }},
      {"DeviceName a number",
       [&](const fs::path& f) {
         std::ofstream(f) << Plist("<key>FileID</key><string>OstrelZenbo_PushScan</string><key>DeviceName</key>"
                                   "<integer>3</integer><key>EventData</key><data>" +
                                   Base64(Push(1)) + "</data>");
       }},
      {"no EventData",
       [&](const fs::path& f) {
         std::ofstream(f) << Plist("<key>FileID</key><string>OstrelZenbo_PushScan</string><key>DeviceName</key>"
                                   "<string>Dremlo Model A</string>");
       }},
      {"EventData a string",
       [&](const fs::path& f) {
         std::ofstream(f) << Plist("<key>FileID</key><string>OstrelZenbo_PushScan</string><key>DeviceName</key>"
                                   "<string>Dremlo Model A</string><key>EventData</key><string>1</string>");
       }},
      {"empty EventData", [&](const fs::path& f) { std::ofstream(f) << Plist(Entries("Dremlo Model A", "")); }},
      {"not a dictionary",
       [&](const fs::path& f) {
         std::ofstream(f) << "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>x</string></array></plist>";
       }},
      {"not a property list", [&](const fs::path& f) { std::ofstream(f) << "FileID=OstrelZenbo_PushScan\n"; }},
      {"oversized",
       [&](const fs::path& f) {
         std::string big = good;
         big.insert(big.find("<dict>"), std::string(70 * 1024, ' '));
         std::ofstream(f) << big;
       }},
      {"a link",
       [&](const fs::path& f) {
         const fs::path target = fs::path(mFolder) / "target.plist";
         std::ofstream(target) << good;
         fs::create_symlink(target, f);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Clear();
    c.make(fs::path(mFolder) / EventName(1));
    KVQRInfo info{};
    unsigned short product = 0;
    EXPECT_EQ(-1, Find(&info, &product));
  }
  // Another user's file.
  Clear();
  const fs::path file = Write(EventName(1), good);
  if (chown(file.c_str(), 12345, 12345) != 0) GTEST_SKIP() << "this test may not change a file's owner";
  KVQRInfo info{};
  unsigned short product = 0;
  EXPECT_EQ(-1, Find(&info, &product));
}

TEST_F(PushScanTest, ShortEventDataIsPaddedAndLongNamesCutBetweenCharacters) {
  Write(EventName(1), Plist(Entries("Dremlo Model A", "\x03\x07")));
  KVQRInfo info{};
  unsigned short product = 0;
  ASSERT_EQ(0, Find(&info, &product));
  EXPECT_EQ(3, info.eventData[0]);
  EXPECT_EQ(7, info.eventData[1]);
  for (int i = 2; i < 16; ++i) EXPECT_EQ(0, info.eventData[i]);
  // 30 ASCII bytes and then a three-byte character: the character does not fit.
  const std::string name = std::string(30, 'x') + "\xE3\x82\xA2" + "y";
  Clear();
  const fs::path file = Write(EventName(1), Plist(Entries(name, Push(1))));
  CFDictionaryRef event = loadPushScanInfo(file.c_str());
  ASSERT_NE(nullptr, event);
  KVQRInfo read{};
  EXPECT_TRUE(ReadPushScanInfo(event, &read));
  CFRelease(event);
  EXPECT_EQ(std::string(30, 'x'), read.deviceName);
}

TEST_F(PushScanTest, AButtonLaunchStartsTheFunctionAndIsNotHandledTwice) {
  WriteEvent(1, "Dremlo Model A", 1);
  Start();
  ASSERT_EQ(1u, CStandInDialog::Made().size());
  CStandInDialog* dialog = CStandInDialog::Made().front();
  EXPECT_EQ(ClassIDT('Cdlg'), dialog->mClassID);
  EXPECT_EQ(1, dialog->mStartFlag);
  EXPECT_EQ(std::vector<MessageT>{900}, dialog->mMessages);
  delete dialog;
  // The reopen that follows within the same seconds finds the same file.
  SendEvent(kAEReopenApplication, ae_ReopenApp);
  EXPECT_TRUE(CStandInDialog::Made().empty());
  // A new push a second later is taken.
  ClockSetFake(FixedDate() + 1, 2000);
  WriteEvent(0, "Dremlo Model A", 2);
  SendEvent(kAEReopenApplication, ae_ReopenApp);
  ASSERT_EQ(1u, CStandInDialog::Made().size());
  EXPECT_EQ(ClassIDT('S1lg'), CStandInDialog::Made().front()->mClassID);
  delete CStandInDialog::Made().front();
}

TEST_F(PushScanTest, ModelChangesResetTheAssignments) {
  Start();
  struct Case {
    const char* from;
    const char* to;
    UInt32 thirdSlot;
    UInt32 fileTag;
  } cases[] = {
      {"Dremlo Model A", "Dremlo Model D", 8, 2002},
      {"Dremlo Model D", "Dremlo Model B", 0, 0},
  };
  int second = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.to);
    Configure(c.from);
    WithPrefs([](RecordBytes all) {
      for (UInt32 k = 0; k < PREF_SETTING::kSlots; ++k) PREF_SETTING::ButtonSlot(k).set(PREF_ALL::kSetting.in(all), 7);
      PREF_PRINT::kTag.set(PREF_ALL::kPrint.in(all), 2003);
    });
    ClockSetFake(FixedDate() + UInt32(++second), 2000);
    Clear();
    WriteEvent(0, c.to, 9);  // no function: only the model changes
    SendEvent(kAEReopenApplication, ae_ReopenApp);
    WithPrefs([&](RecordBytes all) {
      RecordBytes setting = PREF_ALL::kSetting.in(all);
      Str255 model;
      PREF_SETTING::kModelName.get(setting, model);
      EXPECT_EQ(c.to, PStrToString(model));
      EXPECT_EQ(1u, PREF_SETTING::ButtonSlot(0).get(setting));
      EXPECT_EQ(6u, PREF_SETTING::ButtonSlot(1).get(setting));
      EXPECT_EQ(c.thirdSlot, PREF_SETTING::ButtonSlot(2).get(setting));
      EXPECT_EQ(3u, PREF_SETTING::ButtonSlot(3).get(setting));
      EXPECT_EQ(2000u, PREF_COPY::kTag.get(PREF_ALL::kCopy.in(all)));
      EXPECT_EQ(2001u, PREF_SCANX::kTag.get(PREF_ALL::kScan1.in(all)));
      EXPECT_EQ(2003u, PREF_MAIL::kTag.get(PREF_ALL::kMail.in(all)));
      EXPECT_EQ(0u, PREF_PRINT::kTag.get(PREF_ALL::kPrint.in(all)));
      for (UInt32 k = 0; k < PREF_ALL::kFileRecords; ++k)
        EXPECT_EQ(c.fileTag, PREF_FILE::kTag.get(PREF_ALL::File(k).in(all)));
    });
    EXPECT_EQ(std::string(c.to) == "Dremlo Model D", Window()->FindPaneByID('FILM') != nullptr);
  }
}

TEST_F(PushScanTest, GateMatrix) {
  Start();
  struct Case {
    const char* device;   // the pushing scanner
    bool dialogOpen;
    bool promptWaits;
    const char* configured;
    bool taken;
    UInt8 twain = 1;  // the configured road: 0 the plug-in
  } cases[] = {
      {"Dremlo Model A", false, false, "Dremlo Model A", true},
      {"Dremlo Model A", true, false, "Dremlo Model A", false},
      {"Dremlo Model A", true, true, "Dremlo Model A", true},
      {"Dremlo Model A", false, true, "Dremlo Model B", false},
      {"Dremlo Model A", true, true, "Dremlo Model B", false},
      {"Dremlo Model D", false, false, "Dremlo Model D", true},
      {"Dremlo Model D", true, false, "Dremlo Model D", false},
      {"Dremlo Model D", true, true, "Dremlo Model D", false},
      {"Dremlo Model D", false, true, "Dremlo Model A", true},
      {"Dremlo Model A", true, true, "Dremlo Model A", true, 0},
      {"Dremlo Model A", false, true, "Dremlo Model B", false, 0},
  };
  int second = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.device << " open " << c.dialogOpen << " waits " << c.promptWaits << " set "
                                    << c.configured << " road " << int(c.twain));
    Configure(c.configured);
    WithPrefs([&](RecordBytes all) { PREF_SETTING::kTWAIN.set(PREF_ALL::kSetting.in(all), c.twain); });
    WithPrefs([](RecordBytes all) { PREF_ALL::kLastButton.set(all, 0); });
    mApp->mFunctionDialogOpen = c.dialogOpen;
    CWXUtility::sIsOpen = c.promptWaits;
    CWXUtility::sTabMode = 1;
    ClockSetFake(FixedDate() + UInt32(++second), 2000);
    Clear();
    WriteEvent(0, c.device, 4);
    SendEvent(kAEReopenApplication, ae_ReopenApp);
    EXPECT_EQ(c.taken ? 4 : 0, LastButton());
    EXPECT_EQ(0, CAppearanceApp::sFromAppleEvent);
    for (CStandInDialog* d : std::vector<CStandInDialog*>(CStandInDialog::Made())) delete d;
    mApp->mFunctionDialogOpen = 0;
  }
}

TEST_F(PushScanTest, SevenButtonDispatch) {
  Start();
  const std::string wrongButton = [] {
    Str255 item;
    GetIndString(item, 400, 42);
    return PStrToString(item);
  }();
  struct Case {
    long button;
    bool waits;
    UInt16 tab;
    ClassIDT opens;      // 0: no dialog
    SInt32 reply;        // sEZMag afterwards
    bool alert;
  } cases[] = {
      {1, false, 0, 'Cdlg', 0, false}, {2, false, 0, 'S1lg', 0, false}, {3, false, 0, 'Mdlg', 0, false},
      {4, false, 0, 'Fdlg', 0, false}, {5, false, 0, 'Fdlg', 0, false}, {6, false, 0, 'Fdlg', 0, false},
      {1, true, 1, 0, 0, true},        {3, true, 1, 0, 0, true},        {4, true, 1, 0, 900, false},
      {5, true, 2, 0, 900, false},     {5, true, 1, 0, 0, true},        {6, true, 3, 0, 900, false},
      {7, true, 1, 0, 901, false},     {8, false, 0, 0, 0, false},      {0, true, 1, 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "button " << c.button << " waits " << c.waits << " tab " << c.tab);
    CWXUtility::sIsOpen = c.waits;
    CWXUtility::sTabMode = c.tab;
    CWXUtility::sEZMag = 0;
    std::string shown;
    if (c.alert) {
      QueueDialogAction([&](LWindow* alert) { shown = PaneText(alert, 'TXMS'); });
      AnswerNextDialog(900);
    }
    mApp->ButtonStarting(c.button, 0x1200);
    EXPECT_EQ(c.alert ? wrongButton : std::string(), shown);
    EXPECT_EQ(c.reply, CWXUtility::sEZMag);
    EXPECT_EQ(c.opens != 0, CStandInDialog::Made().size() == 1);
    if (c.opens) {
      EXPECT_EQ(c.opens, CStandInDialog::Made().front()->mClassID);
    }
    for (CStandInDialog* d : std::vector<CStandInDialog*>(CStandInDialog::Made())) delete d;
    EXPECT_EQ(UInt16(c.button), LastButton());
  }
}

TEST_F(PushScanTest, FourButtonDispatch) {
  Configure("Dremlo Model D");
  Start();
  WithPrefs([](RecordBytes all) { ResetButtonAssignments(all, 4); });
  struct Case {
    long button;
    bool waits;
    ClassIDT opens;
    SInt32 reply;
  } cases[] = {
      {1, false, 'Cdlg', 0}, {2, false, 'S1lg', 0}, {3, false, 'Fdlg', 0}, {4, false, 'Mdlg', 0},
      {3, true, 0, 900},     {5, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "button " << c.button << " waits " << c.waits);
    CWXUtility::sIsOpen = c.waits;
    CWXUtility::sEZMag = 0;
    mApp->ButtonStarting(c.button, 0x1240);
    EXPECT_EQ(c.reply, CWXUtility::sEZMag);
    EXPECT_EQ(c.opens != 0, CStandInDialog::Made().size() == 1);
    if (c.opens) {
      EXPECT_EQ(c.opens, CStandInDialog::Made().front()->mClassID);
    }
    for (CStandInDialog* d : std::vector<CStandInDialog*>(CStandInDialog::Made())) delete d;
  }
}

TEST_F(PushScanTest, ButtonSevenShowsThePDFNoticeAndClearsItWhenAsked) {
  Start();
  for (bool tick : {false, true}) {
    SCOPED_TRACE(tick ? "ticked" : "not ticked");
    WithPrefs([](RecordBytes all) {
      for (UInt32 k = 0; k < PREF_ALL::kFileRecords; ++k) PREF_FILE::kButtonPending.set(PREF_ALL::File(k).in(all), 1);
    });
    SInt32 boxOnEntry = -1;
    QueueDialogAction([&](LWindow* notice) {
      boxOnEntry = PaneValue(notice, 'HTZP');
      if (tick) ClickPane(notice, 'HTZP');
    });
    AnswerNextDialog(900);
    mApp->ButtonStarting(7, 0x1200);
    EXPECT_EQ(0, boxOnEntry);
    EXPECT_FALSE(HasDialogActions());
    WithPrefs([&](RecordBytes all) {
      const UInt8 expected[] = {UInt8(tick ? 0 : 1), 1, UInt8(tick ? 0 : 1), UInt8(tick ? 0 : 1), UInt8(tick ? 0 : 1)};
      for (UInt32 k = 0; k < PREF_ALL::kFileRecords; ++k)
        EXPECT_EQ(expected[k], PREF_FILE::kButtonPending.get(PREF_ALL::File(k).in(all))) << "record " << k;
    });
  }
}

}  // namespace
}  // namespace wxapp
