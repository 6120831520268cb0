// Each row starts a function as a user does, by a click on the main window or by a push of a
// scanner button, and checks the files it wrote with outside tools.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/UserSession.h"

namespace wxe2e {
namespace {

namespace fs = std::filesystem;

// Where the English main window shows each function's button, from its top left corner.
struct MainButton {
  const char* label;
  int x, y;
};
constexpr MainButton kMainButtons[] = {
    {"Copy", 47, 92},    {"Print", 107, 92},  {"Mail", 167, 92},  {"OCR", 227, 92},       {"Save", 288, 92},
    {"Scan-1", 347, 92}, {"Scan-2", 407, 92}, {"File", 466, 92},  {"Settings", 536, 92},
};

// A click at a point of the function's dialog, from its left and top edges (from its right
// and bottom edges where negative); or, with a second point, a press there held while the
// pointer moves to the second (a popup menu's item).
struct DialogClick {
  int x, y;
  int toX = -1, toY = -1;
};

struct Row {
  const char* name;
  // The scanner-button pushes (the tool's arguments), each must reach the program.
  std::vector<std::string> pushes = {};
  // Or the main window's button clicked, then the clicks in its dialog (its title).
  const char* click = "";
  const char* dialog = "";
  std::vector<DialogClick> clicks = {};
  // Alerts and message boxes that then show, each answered by a click at a point counted
  // from its bottom right corner.
  std::vector<DialogClick> answers = {};
  // What is written: where (printed, else saved), the ending of the names, how many files.
  bool printed = false;
  const char* ending = "";
  size_t files = 1;
  // Commands each file must pass; "{}" is the file, "{ref}" a scan of the SANE test device
  // by scanimage with the arguments `reference`.
  std::vector<std::string> checks = {};
  const char* reference = "";
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

// A blank spot at the bottom of every dialog (the main window may cover its top): the first
// click into a dialog the main window opened only brings it forward.
constexpr DialogClick kForward = {8, -8};
// The Save dialog's Scan button, and its file types (the menu opens over the popup with the
// chosen type, JPEG at first, under the pointer).
constexpr DialogClick kSaveScan = {391, 379};
constexpr DialogClick kSaveAsTiff = {260, 137, 220, 155};
constexpr DialogClick kSaveAsPdf = {260, 137, 220, 173};
// An alert's OK.
constexpr DialogClick kAlertOK = {-56, -25};
// The Copy dialog's Copy button.
constexpr DialogClick kCopyStart = {391, 289};

const Row kRows[] = {
    {.name = "CopyByTheFirstScannerButtonPrints",
     .pushes = {"--button 1"},
     .printed = true,
     .ending = ".pdf",
     .checks = {"qpdf --check {}", "pdfinfo {} | grep -q '^Pages: *1$'"}},
    {.name = "PushesWithinASecondAreEachHandled",
     // Buttons with no function, each only telling the program the scanner, then Copy's: every
     // push after the first falls into the same second as the one before.
     .pushes = {"--button 9", "--button 9", "--button 9", "--button 9", "--button 9", "--button 9", "--button 9", "--button 9",
                "--button 9", "--button 1"},
     .printed = true,
     .ending = ".pdf",
     .checks = {"qpdf --check {}", "pdfinfo {} | grep -q '^Pages: *1$'"}},
    {.name = "SaveByAClickWritesAJpeg",
     .click = "Save",
     .dialog = "Save",
     .clicks = {kForward, kSaveScan},
     .ending = ".JPG",
     // The test device's 200 mm square at 300 dpi.
     .checks = {"djpeg {} > /dev/null", "exiftool -validate -error -warning {} | grep -q 'Validate *: OK'",
                "identify -format '%w %h' {} | grep -qx '2362 2362'"}},
    {.name = "SaveByAClickWritesATiffOfTheScannedPixels",
     .click = "Save",
     .dialog = "Save",
     .clicks = {kForward, kSaveAsTiff, kSaveScan},
     .ending = ".TIF",
     // A4 at 300 dpi, as much of it as the test device's 200 mm square holds.
     .checks = {"tiffinfo {} > /dev/null", "compare -metric AE {} {ref} null: 2>&1 | grep -qx 0"},
     .reference = "--mode Color --resolution 300 -l 0 -t 0 -x 200 -y 200"},
    {.name = "SaveByAClickWritesAPdf",
     .click = "Save",
     .dialog = "Save",
     .clicks = {kForward, kSaveAsPdf, kSaveScan},
     .answers = {kAlertOK},  // the page was straightened
     .ending = ".PDF",
     .checks = {"qpdf --check {}", "pdfinfo {} | grep -q '^Pages: *1$'"}},
    {.name = "CopyByAClickPrints",
     .click = "Copy",
     .dialog = "Copy",
     .clicks = {kForward, kCopyStart},
     .printed = true,
     .ending = ".pdf",
     .checks = {"qpdf --check {}", "pdfinfo {} | grep -q '^Pages: *1$'"}},
};

class UserRow : public UserSession, public ::testing::WithParamInterface<Row> {};

TEST_P(UserRow, WritesWhatTheUserAskedFor) {
  const Row& row = GetParam();
  if (std::string(WX_E2E_LANGUAGE) != "E") GTEST_SKIP() << "the rows find windows and buttons by their English names";
  StartProgram();
  if (HasFatalFailure()) return;
  Screenshot("started");
  for (const std::string& push : row.pushes) EXPECT_EQ(0, PushButton(push)) << push;
  if (*row.click) {
    Rect main, dialog;
    ASSERT_TRUE(WaitForWindow("Wendrix", &main));
    const auto* button = std::find_if(std::begin(kMainButtons), std::end(kMainButtons),
                                      [&](const MainButton& b) { return std::string(b.label) == row.click; });
    ASSERT_NE(button, std::end(kMainButtons));
    EXPECT_TRUE(WaitForStillScreen());
    ClickIn(main, button->x, button->y);
    ASSERT_TRUE(WaitForWindow(row.dialog, &dialog)) << "the " << row.dialog << " dialog opens";
    Screenshot("dialog");
    for (const DialogClick& click : row.clicks) {
      EXPECT_TRUE(WaitForStillScreen());
      if (click.toX < 0) {
        ClickIn(dialog, click.x < 0 ? dialog.width + click.x : click.x, click.y < 0 ? dialog.height + click.y : click.y);
      } else {
        Choose(dialog.x + click.x, dialog.y + click.y, dialog.x + click.toX, dialog.y + click.toY);
      }
    }
  }
  for (const DialogClick& answer : row.answers) {
    Rect alert;
    ASSERT_TRUE(WaitForAlert(row.dialog, &alert)) << "an alert shows";
    EXPECT_TRUE(WaitForStillScreen());
    Screenshot("alert");
    ClickIn(alert, alert.width + answer.x, alert.height + answer.y);
    const auto gone = [&] {
      Rect now;
      return !WaitForAlert(row.dialog, &now, 0.1) || now.x != alert.x || now.y != alert.y;
    };
    ASSERT_TRUE(WaitUntil(gone, 60)) << "the alert goes";
  }
  const fs::path folder = row.printed ? PrintFolder() : PicturesFolder();
  const std::vector<fs::path> files = WaitForFiles(folder, row.ending, row.files);
  Screenshot("done");
  ASSERT_EQ(row.files, files.size()) << "files ending in " << row.ending << " below " << folder;
  const fs::path reference = Root() / "reference.tif";
  if (*row.reference) {
    ASSERT_TRUE(ScanReference(row.reference, reference));
  }
  for (const fs::path& file : files) {
    fs::copy_file(file, wxtest::OutputDir("e2e") / (std::string(row.name) + "-" + file.filename().string()),
                  fs::copy_options::overwrite_existing);
    for (std::string check : row.checks) {
      check.replace(check.find("{}"), 2, "'" + file.string() + "'");
      if (const size_t at = check.find("{ref}"); at != std::string::npos) check.replace(at, 5, "'" + reference.string() + "'");
      std::string out;
      EXPECT_EQ(0, wxtest::Run(check, &out)) << check << "\n" << out;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, UserRow, ::testing::ValuesIn(kRows), [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace wxe2e
