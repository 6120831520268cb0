// The mail-application chooser, headless: applications found by creator (fixture desktop
// entries and the mailto default), the saved list above them, adding, removing, the 256
// cap, and what OK and Cancel hand back.
#include "output/export/CMailerSelectDialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "ChooserFixtures.h"
#include "navigation/NavigationDriver.h"
#include "output/export/CPreferenceApplTable.h"
#include "output/export/WXMailer.h"
#include "tests/output/glue/GlueTestEnv.h"
#include "toolbox/Gestalt.h"
#include "support/DialogShot.h"
#include "windows/TestDriver.h"

namespace {

using gluetest::GlueTest;
namespace fs = std::filesystem;
using namespace wxframework;

// One row as the test sees it: the application's file name ("" for the placeholder) and
// whether the user added it.
struct Row {
  std::string name;
  bool userAdded;
  bool operator==(const Row& o) const { return name == o.name && userAdded == o.userAdded; }
};
std::ostream& operator<<(std::ostream& out, const Row& r) { return out << r.name << (r.userAdded ? "+" : ""); }

class Mailer : public GlueTest {
 protected:
  void RegisterClasses() override {
    GlueTest::RegisterClasses();
    RegisterClass_(CMailerSelectDialog);
    RegisterClass_(CPreferenceApplTable);
  }
  void SetUp() override {
    GlueTest::SetUp();
    userApps = root() / ".local/share/applications";
    fs::create_directories(userApps);
    for (const char* name : {"A.app", "B.app", "C.app", "Post.app.app"}) fs::create_directories(root() / "saved" / name);
  }
  void TearDown() override {
    GestaltReset();
    GlueTest::TearDown();
  }
  void Install(const std::string& file, const std::string& creator) {
    std::ofstream(userApps / file) << "[Desktop Entry]\nType=Application\nName=" << file
                                   << "\nExec=/bin/true\nX-Wendrix-Creator=" << creator << "\n";
  }
  void MailtoDefault(const std::string& file) {
    std::ofstream(userApps / file) << "[Desktop Entry]\nType=Application\nName=Mail\nExec=/bin/true %u\n";
    fs::create_directories(root() / ".config");
    std::ofstream(root() / ".config" / "mimeapps.list") << "[Default Applications]\nx-scheme-handler/mailto=" << file
                                                        << "\n";
  }
  FSSpec Saved(const std::string& name) { return wxtest::SpecAt(root() / "saved" / name); }
  static std::vector<Row> Rows(LWindow* dialog) {
    auto* table = FindPaneAs<CPreferenceApplTable>(dialog, 'ATBL');
    TableIndexT rows = 0, cols = 0;
    table->GetTableSize(rows, cols);
    std::vector<Row> shown;
    for (TableIndexT row = 1; row <= rows; ++row) {
      const ApplEntry entry = table->EntryAt(row);
      shown.push_back({entry.valid ? std::string(reinterpret_cast<const char*>(entry.app.name + 1), entry.app.name[0])
                                   : std::string(),
                       entry.userAdded});
    }
    return shown;
  }
  static void SelectRow(LWindow* dialog, TableIndexT row) {
    auto* table = FindPaneAs<CPreferenceApplTable>(dialog, 'ATBL');
    Rect frame;
    ASSERT_TRUE(table->FetchLocalCellFrame({row, 1}, frame));
    wxdriver::ClickInWindow(dialog->GetMacWindow(), {SInt16(frame.top + 4), SInt16(frame.left + 10)});
  }
  SInt32 Run(std::vector<FSSpec>& saved, UInt32* count, FSSpec* current, FSSpec& chosen) {
    saved.resize(300);
    return CWXUtility::MailerSetting(CWXUtility::kMailerLayout, nullptr, chosen, count, saved.data(), current);
  }
  fs::path userApps;
};

TEST_F(Mailer, OnlyThePlaceholderAndOKWithItChoosesNothing) {
  std::vector<Row> rows;
  bool removable = true;
  QueueDialogAction([&](LWindow* d) {
    rows = Rows(d);
    SelectRow(d, 1);
  });
  QueueDialogAction([&](LWindow* d) { removable = FindPaneAs<LControl>(d, 'BTDL')->IsEnabled(); });
  AnswerNextDialog(msg_OK);
  std::vector<FSSpec> saved;
  UInt32 count = 0;
  FSSpec chosen = Saved("A.app");
  EXPECT_EQ(Run(saved, &count, nullptr, chosen), msg_OK);
  EXPECT_EQ(rows, (std::vector<Row>{{"", false}}));
  EXPECT_FALSE(removable);
  EXPECT_EQ(chosen.vRefNum, 0);
  EXPECT_EQ(chosen.parID, 0);
  EXPECT_EQ(chosen.name[0], 0);
  EXPECT_EQ(count, 0u);
}

struct FoundCase {
  const char* name;
  SInt32 system;
  std::vector<Row> rows;
};

class FoundTable : public Mailer, public ::testing::WithParamInterface<FoundCase> {};

TEST_P(FoundTable, KnownMailersStandBelowTheSavedOnes) {
  const FoundCase& c = GetParam();
  GestaltSetValue('sysv', c.system);
  Install("Outlook.desktop", "MSNM");
  Install("Suite.desktop", "CSOm");
  Install("Other.desktop", "OTHR");
  MailtoDefault("mail.desktop");
  std::vector<Row> rows;
  QueueDialogAction([&](LWindow* d) { rows = Rows(d); });
  AnswerNextDialog(msg_OK);
  std::vector<FSSpec> saved = {Saved("A.app"), Saved("B.app"), Saved("C.app")};
  UInt32 count = 3;
  FSSpec chosen{};
  EXPECT_EQ(Run(saved, &count, nullptr, chosen), msg_OK);
  EXPECT_EQ(rows, c.rows);
  // Saved again in their first order.
  ASSERT_EQ(count, 3u);
  for (UInt32 i = 0; i < count; ++i) EXPECT_EQ(wxtest::SpecPathText(saved[i]), wxtest::SpecPathText(Saved(std::string(1, char('A' + i)) + ".app")));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FoundTable,
    ::testing::Values(FoundCase{"NewerSystemFindsTheMailtoDefault",
                                0x1028,
                                {{"C.app", true},
                                 {"B.app", true},
                                 {"A.app", true},
                                 {"mail.desktop", false},
                                 {"Suite.desktop", false},
                                 {"Outlook.desktop", false},
                                 {"", false}}},
                      FoundCase{"OlderSystemLeavesItOut",
                                0x101F,
                                {{"C.app", true},
                                 {"B.app", true},
                                 {"A.app", true},
                                 {"Suite.desktop", false},
                                 {"Outlook.desktop", false},
                                 {"", false}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Mailer, TheCurrentApplicationIsSelectedAndChosenOnOK) {
  std::vector<FSSpec> saved = {Saved("A.app"), Saved("B.app")};
  UInt32 count = 2;
  FSSpec current = Saved("B.app");
  // The name matches without regard to case.
  current.name[1] = 'b';
  AnswerNextDialog(msg_OK);
  FSSpec chosen{};
  EXPECT_EQ(Run(saved, &count, &current, chosen), msg_OK);
  EXPECT_EQ(wxtest::SpecPathText(chosen), wxtest::SpecPathText(Saved("B.app")));
}

TEST_F(Mailer, CancelKeepsEverything) {
  std::vector<FSSpec> saved = {Saved("A.app")};
  UInt32 count = 1;
  FSSpec chosen = Saved("C.app");
  QueueDialogAction([](LWindow* d) { SelectRow(d, 1); });
  QueueDialogAction([](LWindow* d) { ClickPane(d, 'BTDL'); });
  AnswerNextDialog(msg_Cancel);
  EXPECT_EQ(Run(saved, &count, nullptr, chosen), msg_Cancel);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(wxtest::SpecPathText(chosen), wxtest::SpecPathText(Saved("C.app")));
}

TEST_F(Mailer, OnlyUserAddedRowsCanBeRemoved) {
  Install("Outlook.desktop", "MSNM");
  std::vector<FSSpec> saved = {Saved("A.app"), Saved("A.app")};
  UInt32 count = 2;
  std::vector<bool> removable;
  std::vector<Row> after;
  QueueDialogAction([&](LWindow* d) { SelectRow(d, 3); });  // the found one
  QueueDialogAction([&](LWindow* d) {
    removable.push_back(FindPaneAs<LControl>(d, 'BTDL')->IsEnabled());
    SelectRow(d, 1);  // a saved one
  });
  QueueDialogAction([&](LWindow* d) {
    removable.push_back(FindPaneAs<LControl>(d, 'BTDL')->IsEnabled());
    ClickPane(d, 'BTDL');
  });
  QueueDialogAction([&](LWindow* d) {
    removable.push_back(FindPaneAs<LControl>(d, 'BTDL')->IsEnabled());
    after = Rows(d);
  });
  AnswerNextDialog(msg_OK);
  FSSpec chosen{};
  EXPECT_EQ(Run(saved, &count, nullptr, chosen), msg_OK);
  EXPECT_EQ(removable, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(after, (std::vector<Row>{{"A.app", true}, {"Outlook.desktop", false}, {"", false}}));
  EXPECT_EQ(count, 1u);
}

TEST_F(Mailer, RemoveWithNothingSelectedDoesNothing) {
  std::vector<FSSpec> saved = {Saved("A.app")};
  UInt32 count = 1;
  std::vector<Row> after;
  QueueDialogAction([&](LWindow* d) {
    auto* dialog = dynamic_cast<CMailerSelectDialog*>(d);
    ASSERT_NE(dialog, nullptr);
    dialog->ListenToMessage('BTDL', nullptr);
    after = Rows(d);
  });
  AnswerNextDialog(msg_OK);
  FSSpec chosen{};
  EXPECT_EQ(Run(saved, &count, nullptr, chosen), msg_OK);
  EXPECT_EQ(after, (std::vector<Row>{{"A.app", true}, {"", false}}));
  EXPECT_EQ(count, 1u);
}

TEST_F(Mailer, AnAddedApplicationStandsFirstAndIsChosen) {
  const fs::path apps = root() / "usr/share/applications";
  fs::create_directories(apps);
  fs::create_directories(apps / "Post.app" / "Contents");
  std::ofstream(apps / "Post.app" / "Contents" / "Info.plist")
      << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>CFBundlePackageType</key>"
         "<string>APPL</string></dict></plist>\n";
  std::vector<Row> rows;
  QueueDialogAction([](LWindow* d) { ClickPane(d, 'BTAD'); });
  QueueDialogAction([](LWindow* d) { wxnavigation::SelectItem(d, "Post.app"); });
  AnswerNextDialog(msg_OK);
  QueueDialogAction([&](LWindow* d) { rows = Rows(d); });
  AnswerNextDialog(msg_OK);
  std::vector<FSSpec> saved;
  UInt32 count = 0;
  FSSpec chosen{};
  EXPECT_EQ(Run(saved, &count, nullptr, chosen), msg_OK);
  EXPECT_EQ(rows, (std::vector<Row>{{"Post.app", true}, {"", false}}));
  EXPECT_EQ(wxtest::SpecPathText(chosen), (apps / "Post.app").string());
  ASSERT_EQ(count, 1u);
  EXPECT_EQ(wxtest::SpecPathText(saved[0]), (apps / "Post.app").string());
}

TEST_F(Mailer, AtMost256AreKeptAndAddingStopsThere) {
  std::vector<FSSpec> saved(300, Saved("A.app"));
  UInt32 count = 300;
  size_t rows = 0;
  bool canAdd = true;
  QueueDialogAction([&](LWindow* d) {
    rows = Rows(d).size();
    SelectRow(d, 1);
  });
  QueueDialogAction([&](LWindow* d) { canAdd = FindPaneAs<LControl>(d, 'BTAD')->IsEnabled(); });
  AnswerNextDialog(msg_OK);
  FSSpec chosen{};
  EXPECT_EQ(Run(saved, &count, nullptr, chosen), msg_OK);
  EXPECT_EQ(rows, 257u);
  EXPECT_FALSE(canAdd);
  EXPECT_EQ(count, 256u);
}

using MailerOnScreen = wxtest::OnScreen<Mailer>;

TEST_F(MailerOnScreen, TheChooserWithFoundAndSavedApplications) {
  Install("Outlook.desktop", "MSNM");
  std::vector<FSSpec> saved = {Saved("A.app"), Saved("Post.app.app")};
  UInt32 count = 2;
  FSSpec current = Saved("A.app");
  int differ = -2;
  QueueDialogAction([&differ](LWindow* d) { differ = wxtest::ShootDialog(d, "printing", "mail-chooser.png"); });
  AnswerNextDialog(msg_Cancel);
  FSSpec chosen{};
  EXPECT_EQ(Run(saved, &count, &current, chosen), msg_Cancel);
  EXPECT_EQ(differ, 0) << "the screen does not show what the chooser drew";
}

struct NameCase {
  const char* name;
  const char* contents;  // of the file, a desktop entry's lines
  const char* shown;
};

class ShownNameTable : public ::testing::TestWithParam<NameCase> {};

TEST_P(ShownNameTable, ADesktopEntryByItsNameAndAProgramWithoutItsLastDotApp) {
  wxtest::ScratchDir dir;
  const fs::path file = dir.path() / GetParam().name;
  std::ofstream(file) << GetParam().contents;
  FSSpec app{};
  ASSERT_EQ(FSpMakeFromPOSIXPath(file.string(), &app), noErr);
  Str255 shown;
  CPreferenceApplTable::ShownName(app, shown);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(shown + 1), shown[0]), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ShownNameTable,
    ::testing::Values(NameCase{"Post.app", "", "Post"}, NameCase{"Post.app.app", "", "Post.app"},
                      NameCase{"Mail", "", "Mail"},
                      NameCase{"mail.desktop", "[Desktop Entry]\nType=Application\nName=Letter Writer\nExec=true\n",
                               "Letter Writer"},
                      NameCase{"bare.desktop", "[Desktop Entry]\nType=Application\nExec=true\n", "bare.desktop"}),
    [](const auto& info) { return std::to_string(info.index); });

}  // namespace
