#include "app/CAppButton.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "AppTestEnv.h"
#include "windows/TestDriver.h"

namespace wxapp {
namespace {

namespace fs = std::filesystem;
using namespace wxframework;

std::string NameOf(const FSSpec& spec) { return PStrToString(spec.name); }

// The target applications of Mail, OCR, the five File records, Scan-1 and Scan-2, and the
// mail list's count.
struct Targets {
  std::vector<std::string> names;
  UInt32 mailCount = 0;
  bool operator==(const Targets&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Targets& t) {
  for (const std::string& n : t.names) out << '"' << n << "\" ";
  return out << "mail list " << t.mailCount;
}

class AppButtonTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    mApps = mRoot.path() / "apps";
    fs::create_directories(mApps);
    Executable(mApps / "Tool");
    std::ofstream(mApps / "Viewer.desktop") << "[Desktop Entry]\nType=Application\nName=Viewer\nExec=/bin/true %F\n";
    fs::create_symlink(mApps / "Tool", mApps / "Tool link");
    fs::create_symlink(mApps / "Viewer.desktop", mApps / "Viewer link");
    fs::create_directories(mApps / "Bundle.app" / "Contents" / "MacOS");
    std::ofstream(mApps / "Bundle.app" / "Contents" / "Info.plist")
        << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundlePackageType</key><string>APPL</string>"
           "<key>CFBundleExecutable</key><string>Bundle</string></dict></plist>";
    Executable(mApps / "Bundle.app" / "Contents" / "MacOS" / "Bundle");
    std::ofstream(mApps / "Broken.desktop") << "[Desktop Entry]\nType=Application\nName=Broken\nExec=/no/such/program\n";
    std::ofstream(mApps / "notes.txt") << "a document";
    fs::create_directories(mApps / "Folder");
  }
  static void Executable(const fs::path& file) {
    std::ofstream(file) << "#!/bin/sh\nexit 0\n";
    fs::permissions(file, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
  }
  Targets Read() {
    Targets t;
    WithPrefs([&](RecordBytes all) {
      t.names.push_back(NameOf(PREF_MAIL::kMailApp.get(PREF_ALL::kMail.in(all))));
      t.names.push_back(NameOf(PREF_OCR::kOCRApp.get(PREF_ALL::kOCR.in(all))));
      for (UInt32 k = 0; k < PREF_ALL::kFileRecords; ++k)
        t.names.push_back(NameOf(PREF_FILE::kTargetApp.get(PREF_ALL::File(k).in(all))));
      t.names.push_back(NameOf(PREF_SCANX::kTargetApp.get(PREF_ALL::kScan1.in(all))));
      t.names.push_back(NameOf(PREF_SCANX::kTargetApp.get(PREF_ALL::kScan2.in(all))));
      t.mailCount = PREF_MAIL::kMailAppCount.get(PREF_ALL::kMail.in(all));
    });
    return t;
  }
  void Drop(PaneIDT button, const fs::path& item) {
    wxdriver::DropFiles(Centre(Window()->FindPaneByID(button)), {item.string()});
    PumpEvents();
  }
  fs::path mApps;
};

TEST_F(AppButtonTest, OnlyTheFiveApplicationButtonsTakeApplicationsThatRunHere) {
  Start();
  Window()->Select();
  struct Item {
    const char* name;
    const char* stored;  // what a taking button stores, or null when refused
  } items[] = {
      {"Tool", "Tool"},
      {"Viewer.desktop", "Viewer.desktop"},
      {"Tool link", "Tool"},
      {"Viewer link", "Viewer.desktop"},
      {"Bundle.app", "Bundle.app"},
      {"Broken.desktop", nullptr},
      {"notes.txt", nullptr},
      {"Folder", nullptr},
  };
  // The button, and the indexes of Targets::names it writes.
  struct Button {
    PaneIDT id;
    std::vector<int> writes;
  } buttons[] = {
      {'COPY', {}},     {'PRNT', {}},     {'SAVE', {}},  {'SET ', {}}, {'MAIL', {0}},
      {'OCR ', {1}},    {'FILE', {2, 3, 4, 5, 6}}, {'SCN1', {7}}, {'SCN2', {8}},
  };
  for (const Item& item : items) {
    for (const Button& button : buttons) {
      char text[7];
      FourCharCodeText(button.id, text);
      SCOPED_TRACE(testing::Message() << item.name << " on " << text);
      Targets want = Read();
      if (item.stored) {
        for (int i : button.writes) want.names[size_t(i)] = item.stored;
        if (button.id == 'MAIL') ++want.mailCount;
      }
      Drop(button.id, mApps / item.name);
      EXPECT_EQ(want, Read());
      if (item.stored && !button.writes.empty()) {
        auto* target = dynamic_cast<CAppButton*>(Window()->FindPaneByID(button.id));
        ASSERT_NE(nullptr, target);
        ASSERT_NE(nullptr, target->GetIconRef()) << "the icon follows the application";
        EXPECT_EQ(1, IconRefHoldCount(target->GetIconRef()));
      }
    }
  }
}

TEST_F(AppButtonTest, TheMailListTakesNoMoreThan256) {
  Start();
  Window()->Select();
  std::vector<UInt8> ocrBefore;
  WithPrefs([&](RecordBytes all) {
    PREF_MAIL::kMailAppCount.set(PREF_ALL::kMail.in(all), 255);
    RecordBytes ocr = PREF_ALL::kOCR.in(all);
    ocrBefore.assign(ocr.data(), ocr.data() + PREF_OCR::kSize);
  });
  Drop('MAIL', mApps / "Tool");
  Drop('MAIL', mApps / "Viewer.desktop");
  const Targets t = Read();
  EXPECT_EQ(256u, t.mailCount);
  EXPECT_EQ("Viewer.desktop", t.names[0]) << "the 257th still becomes the mail application";
  WithPrefs([&](RecordBytes all) {
    RecordBytes mail = PREF_ALL::kMail.in(all);
    EXPECT_EQ("Tool", NameOf(PREF_MAIL::kMailApps.get(mail, 255)));
    RecordBytes ocr = PREF_ALL::kOCR.in(all);
    EXPECT_EQ(ocrBefore, std::vector<UInt8>(ocr.data(), ocr.data() + PREF_OCR::kSize)) << "the OCR record is untouched";
  });
}

TEST_F(AppButtonTest, IconsStayHeldOnceAndNothingIsTakenWhileADialogIsOpen) {
  Start();
  Window()->Select();
  auto* scan1 = dynamic_cast<CAppButton*>(Window()->FindPaneByID('SCN1'));
  for (int i = 0; i < 10; ++i) {
    Drop('SCN1', mApps / (i % 2 ? "Tool" : "Viewer.desktop"));
    Window()->Refresh();
    Window()->UpdatePort();
  }
  ASSERT_NE(nullptr, scan1->GetIconRef());
  EXPECT_EQ(1, IconRefHoldCount(scan1->GetIconRef()));
  const Targets before = Read();
  Window()->ListenToMessage('COPY', nullptr);
  Window()->Select();
  Drop('SCN2', mApps / "Tool");
  Drop('MAIL', mApps / "Tool");
  EXPECT_EQ(before, Read());
  delete CStandInDialog::Made().front();
}

}  // namespace
}  // namespace wxapp
