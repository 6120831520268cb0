// The chooser, headless: tables of a fixture tree, the driver's actions (select, enter, go
// up, type a location, Choose, Cancel) and the answer; and a screenshot under Xvfb.
#include "navigation/UNavServicesDialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>

#include "ChooserFixtures.h"
#include "framework/FrameworkDriver.h"
#include "framework/LScroller.h"
#include "framework/LWindow.h"
#include "navigation/NavigationDriver.h"
#include "support/DialogShot.h"
#include "support/HeadlessApp.h"
#include "support/TestEnv.h"

namespace fs = std::filesystem;
using namespace wxframework;
using UNavServicesDialogs::LFileChooser;

namespace {

class Chooser : public wxtest::HeadlessApp {
 protected:
  void SetUp() override {
    wxtest::MakeChooserTree(dir.path());
    HeadlessApp::SetUp();
  }
  wxtest::ScratchDir dir;
};

enum class Ask { File, Folder, Application };

struct Step {
  enum { Select, Enter, Up, Type, Choose, Cancel } what;
  std::string name;
};

struct ChooserCase {
  const char* name;
  Ask ask;
  const char* start;  // under the tree
  std::vector<Step> steps;
  bool accepted;
  const char* chosen;  // under the tree
};

Boolean HideText(AEDesc* item, void*, void*, NavFilterModes) {
  FSSpec spec{};
  return NavGetItemSpec(item, &spec) != noErr || !wxtest::SpecPathText(spec).ends_with(".txt");
}

class ChooserTable : public Chooser, public ::testing::WithParamInterface<ChooserCase> {};

TEST_P(ChooserTable, AnswersWhatTheUserChose) {
  const ChooserCase& c = GetParam();
  for (const Step& step : c.steps) {
    switch (step.what) {
      case Step::Select:
        QueueDialogAction([n = step.name](LWindow* d) { wxnavigation::SelectItem(d, n); });
        break;
      case Step::Enter:
        QueueDialogAction([n = step.name](LWindow* d) { wxnavigation::EnterItem(d, n); });
        break;
      case Step::Up:
        QueueDialogAction([n = step.name](LWindow* d) { wxnavigation::GoUp(d, SInt16(std::stoi(n))); });
        break;
      case Step::Type:
        QueueDialogAction([n = step.name](LWindow* d) { wxnavigation::TypeLocation(d, n); });
        break;
      case Step::Choose:
        AnswerNextDialog(msg_OK);
        break;
      case Step::Cancel:
        AnswerNextDialog(msg_Cancel);
        break;
    }
  }
  LFileChooser chooser;
  chooser.SetDefaultLocation(wxtest::SpecAt(dir / c.start));
  FSSpec chosen{};
  bool accepted = false;
  if (c.ask == Ask::Folder) {
    accepted = chooser.AskChooseFolder(chosen);
  } else if (c.ask == Ask::Application) {
    chooser.GetDialogOptions()->dialogOptionFlags = kNavSupportPackages;
    const OSType types[] = {'APPL', 'adrp'};
    accepted = chooser.AskChooseOneFile(LFileTypeList(2, types), chosen);
  } else {
    chooser.SetObjectFilterProc(HideText);
    accepted = chooser.AskChooseOneFile(LFileTypeList(), chosen);
  }
  EXPECT_EQ(accepted, c.accepted);
  EXPECT_FALSE(HasDialogActions());
  ClearDialogActions();
  if (c.accepted) {
    EXPECT_EQ(fs::path(wxtest::SpecPathText(chosen)).lexically_normal(), (dir / c.chosen).lexically_normal());
    FSSpec again{};
    chooser.GetFileSpec(1, again);
    EXPECT_EQ(wxtest::SpecPathText(again), wxtest::SpecPathText(chosen));
  }
}

using S = Step;
INSTANTIATE_TEST_SUITE_P(
    Table, ChooserTable,
    ::testing::Values(
        ChooserCase{"FileSelected", Ask::File, "docs", {{S::Select, "a.pdf"}, {S::Choose, ""}}, true, "docs/a.pdf"},
        ChooserCase{"DefaultFileSelected", Ask::File, "docs/sub/c.pdf", {{S::Choose, ""}}, true, "docs/sub/c.pdf"},
        ChooserCase{"DoubleClickEntersAFolder",
                    Ask::File,
                    "docs",
                    {{S::Enter, "sub"}, {S::Select, "c.pdf"}, {S::Choose, ""}},
                    true,
                    "docs/sub/c.pdf"},
        ChooserCase{"ChooseOnAFolderEntersIt",
                    Ask::File,
                    "docs",
                    {{S::Select, "sub"}, {S::Choose, ""}, {S::Select, "c.pdf"}, {S::Choose, ""}},
                    true,
                    "docs/sub/c.pdf"},
        ChooserCase{"PathPopupGoesUp",
                    Ask::File,
                    "docs/sub",
                    {{S::Up, "3"}, {S::Enter, "docs"}, {S::Select, "a.pdf"}, {S::Choose, ""}},
                    true,
                    "docs/a.pdf"},
        ChooserCase{"TypedLocation", Ask::File, "docs", {{S::Type, "sub/c.pdf"}, {S::Choose, ""}}, true, "docs/sub/c.pdf"},
        ChooserCase{"AliasChosenAsItself", Ask::File, "", {{S::Select, "link-to-a"}, {S::Choose, ""}}, true, "link-to-a"},
        ChooserCase{"FilteredFileCannotBeTyped",
                    Ask::File,
                    "docs",
                    {{S::Type, "b.txt"}, {S::Choose, ""}, {S::Cancel, ""}},
                    false,
                    ""},
        ChooserCase{"NothingSelectedChoosesNoFile", Ask::File, "docs", {{S::Choose, ""}, {S::Cancel, ""}}, false, ""},
        ChooserCase{"CancelAnswersFalse", Ask::File, "docs", {{S::Select, "a.pdf"}, {S::Cancel, ""}}, false, ""},
        ChooserCase{"FolderShownWhenNoneSelected", Ask::Folder, "docs", {{S::Choose, ""}}, true, "docs"},
        ChooserCase{"FolderSelected", Ask::Folder, "docs", {{S::Select, "sub"}, {S::Choose, ""}}, true, "docs/sub"},
        ChooserCase{"FolderThroughALink",
                    Ask::Folder,
                    "",
                    {{S::Enter, "link-to-docs"}, {S::Select, "sub"}, {S::Choose, ""}},
                    true,
                    "docs/sub"},
        ChooserCase{"FolderCancel", Ask::Folder, "docs", {{S::Cancel, ""}}, false, ""},
        ChooserCase{"DesktopEntryByItsName",
                    Ask::Application,
                    "apps",
                    {{S::Select, "Image Viewer"}, {S::Choose, ""}},
                    true,
                    "apps/viewer.desktop"},
        ChooserCase{"PackageAnsweredAsItsFolder",
                    Ask::Application,
                    "apps",
                    {{S::Select, "Viewer.app"}, {S::Choose, ""}},
                    true,
                    "apps/Viewer.app"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ShownCase {
  const char* name;
  Ask ask;
  const char* start;
  std::vector<std::string> shown;
};

class ShownTable : public Chooser, public ::testing::WithParamInterface<ShownCase> {};

TEST_P(ShownTable, ListsWhatTheTypesAndTheFilterLetThrough) {
  const ShownCase& c = GetParam();
  std::vector<std::string> shown;
  QueueDialogAction([&shown](LWindow* d) { shown = wxnavigation::ShownNames(d); });
  AnswerNextDialog(msg_Cancel);
  LFileChooser chooser;
  chooser.SetDefaultLocation(wxtest::SpecAt(dir / c.start));
  FSSpec chosen{};
  if (c.ask == Ask::Folder) {
    chooser.AskChooseFolder(chosen);
  } else if (c.ask == Ask::Application) {
    chooser.GetDialogOptions()->dialogOptionFlags = kNavSupportPackages;
    chooser.AskChooseOneFile(LFileTypeList('APPL'), chosen);
  } else {
    chooser.SetObjectFilterProc(HideText);
    chooser.AskChooseOneFile(LFileTypeList(), chosen);
  }
  EXPECT_EQ(shown, c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ShownTable,
    ::testing::Values(ShownCase{"FilesWithoutDotFilesOrFiltered", Ask::File, "docs", {"sub", "a.pdf"}},
                      ShownCase{"FoldersOnly", Ask::Folder, "", {"apps", "docs", "link-to-docs"}},
                      ShownCase{"ApplicationsAndPackagesOfThatType",
                                Ask::Application,
                                "apps",
                                {"Image Viewer", "tool", "Viewer.app"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Chooser, AnItemBelowTheVisibleRowsIsReachedByScrolling) {
  fs::create_directories(dir / "many");
  for (int i = 0; i < 40; ++i) std::ofstream(dir / "many" / ("f" + std::to_string(100 + i))) << "x";
  // Entering another folder shows it from its top.
  std::ofstream(dir / "many" / "zz") << "x";
  fs::create_directories(dir / "many" / "sub");
  for (int i = 0; i < 40; ++i) std::ofstream(dir / "many" / "sub" / ("g" + std::to_string(100 + i))) << "x";
  QueueDialogAction([](LWindow* d) { wxnavigation::SelectItem(d, "zz"); });
  QueueDialogAction([](LWindow* d) {
    EXPECT_GT(FindPaneAs<LScroller>(d, 'SCRL')->GetScrollPosition().v, 0);
    wxnavigation::TypeLocation(d, "sub");
  });
  AnswerNextDialog(msg_OK);
  QueueDialogAction([](LWindow* d) {
    EXPECT_EQ(FindPaneAs<LScroller>(d, 'SCRL')->GetScrollPosition().v, 0);
    wxnavigation::SelectItem(d, "g139");
  });
  AnswerNextDialog(msg_OK);
  LFileChooser chooser;
  chooser.SetDefaultLocation(wxtest::SpecAt(dir / "many"));
  FSSpec chosen{};
  ASSERT_TRUE(chooser.AskChooseOneFile(LFileTypeList(), chosen));
  EXPECT_EQ(wxtest::SpecPathText(chosen), (dir / "many" / "sub" / "g139").string());
}

using ChooserOnScreen = wxtest::OnScreen<Chooser>;

TEST_F(ChooserOnScreen, FileAndFolderChoosers) {
  for (Ask ask : {Ask::File, Ask::Folder}) {
    int differ = -2;
    const char* name = ask == Ask::File ? "file-chooser.png" : "folder-chooser.png";
    QueueDialogAction([&](LWindow* d) { wxnavigation::SelectItem(d, ask == Ask::File ? "a.pdf" : "sub"); });
    QueueDialogAction([&](LWindow* d) { differ = wxtest::ShootDialog(d, "printing", name); });
    AnswerNextDialog(msg_Cancel);
    LFileChooser chooser;
    const char* message = "\x1d" "Choose where the files go to.";
    std::memcpy(chooser.GetDialogOptions()->message, message, 30);
    chooser.SetDefaultLocation(wxtest::SpecAt(dir / "docs"));
    FSSpec chosen{};
    if (ask == Ask::File)
      chooser.AskChooseOneFile(LFileTypeList(), chosen);
    else
      chooser.AskChooseFolder(chosen);
    EXPECT_EQ(differ, 0) << "the screen does not show what the chooser drew";
  }
}

}  // namespace
