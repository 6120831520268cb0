// Each row starts a function as a user does, by a click on the main window or by a push of a
// scanner button, and checks the files it wrote with outside tools.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
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

// A click at a point of a window, from its left and top edges (from its right and bottom
// edges where negative); or, with a second point, a press there held while the pointer moves
// to the second (a popup menu's item). Text given is then typed; "{pictures}" in it stands for
// the pictures folder.
struct DialogClick {
  int x, y;
  int toX = -1, toY = -1;
  const char* typed = "";
};

// The clicks in one window: the function's dialog where no size is given, else the next window
// whose layout has that size to show (an alert, a prompt, a sub-dialog), which then goes unless
// it stays open; or, once that window shows, scanner-button pushes in place of clicks.
struct Step {
  int width = 0, height = 0;
  std::vector<DialogClick> clicks = {};
  bool staysOpen = false;
  std::vector<std::string> pushes = {};
};

struct Row {
  const char* name;
  // A file a Debian package ships, copied into the pictures folder before the program starts.
  const char* shipped = "";
  // The scanner-button pushes (the tool's arguments), each must reach the program.
  std::vector<std::string> pushes = {};
  // Or the main window's button clicked, opening its dialog (its title).
  const char* click = "";
  const char* dialog = "";
  // Then the clicks in the dialog and in the windows that show after it, in turn.
  std::vector<Step> steps = {};
  // What is written: where (printed, else saved), the ending of the names, how many files.
  bool printed = false;
  const char* ending = "";
  size_t files = 1;
  // Commands each file must pass; "{}" is the file, "{shipped}" the package's file as it
  // ships, "{pictures}" the pictures folder, "{preferences}" a command printing the preferences file, "{ref}" a scan of the SANE
  // test device by scanimage with the arguments `reference`.
  std::vector<std::string> checks = {};
  const char* reference = "";
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

// `text` with each "{name}" of `values` replaced.
std::string Expanded(std::string text, const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& [name, value] : values)
    for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size()))
      text.replace(at, name.size(), value);
  return text;
}

// Points are counted from a window's top left corner (from its bottom right where negative),
// its one-pixel frame included: a layout's point (x, y) is (x + 1, y + 1).
//
// A blank spot at the bottom of every dialog (the main window may cover its top): the first
// click into a dialog the main window opened only brings it forward.
constexpr DialogClick kForward = {8, -8};
// The Save dialog's Scan button, its file types (the menu opens over the popup with the chosen
// type, JPEG at first, under the pointer), the file type's options and the chooser of the
// folder or of the PDF to add to.
constexpr DialogClick kSaveScan = {391, 379};
constexpr DialogClick kSaveAsTiff = {260, 137, 220, 155};
constexpr DialogClick kSaveAsPdf = {260, 137, 220, 173};
constexpr DialogClick kSaveAsMultiPagePdf = {260, 137, 220, 191};
constexpr DialogClick kSaveAddingToPdf = {260, 137, 220, 209};
constexpr DialogClick kSaveOptions = {395, 139};
constexpr DialogClick kSaveChoose = {413, 334};
// The Copy dialog's Copy button, the Print and File dialogs' Scan buttons.
constexpr DialogClick kCopyStart = {391, 289};
constexpr DialogClick kPrintScan = {393, 231};
constexpr DialogClick kFileScan = {393, 431};

// The note that a page was straightened, and its OK.
const Step kStraightened = {340, 110, {{-56, -25}}};
// A question's OK.
const Step kConfirmed = {420, 132, {{-61, -27}}};
// A notice's OK.
const Step kNoticeRead = {420, 150, {{-61, -25}}};
// The prompt after each page of a run of several: scan the next page, or finish (by a click,
// or by the scanner's seventh button).
const Step kScanNextPage = {420, 132, {{-66, -27}}};
const Step kFinishPages = {420, 132, {{-162, -27}}};
const Step kFinishPagesByButton = {.width = 420, .height = 132, .pushes = {"--button 7"}};
// The PDF options taken as they stand (the text made searchable, by default).
const Step kPdfOptionsKept = {400, 236, {{341, 211}}};
// The Save dialog closed, its settings kept in the preferences.
const Step kSaveClosed = {460, 410, {{303, 381}}};
// The chooser with a location typed and chosen.
Step Choosing(const char* location) { return {440, 360, {{.x = 271, .y = 300, .typed = location}, {381, 337}}}; }
// The page layout printing its page (to the chosen printer at once), which stays open, then
// finished with.
const Step kLayoutPrint = {620, 568, {{471, 551}}, true};
const Step kLayoutFinish = {620, 568, {{561, 551}}};

const std::vector<std::string> kOnePagePdf = {"qpdf --check {}", "pdfinfo {} | grep -q '^Pages: *1$'"};

const Row kRows[] = {
    {.name = "CopyByTheFirstScannerButtonPrints", .pushes = {"--button 1"}, .printed = true, .ending = ".pdf", .checks = kOnePagePdf},
    {.name = "PushesWithinASecondAreEachHandled",
     // Buttons with no function, each only telling the program the scanner, then Copy's: every
     // push after the first falls into the same second as the one before.
     .pushes = {"--button 9", "--button 9", "--button 9", "--button 9", "--button 9", "--button 9", "--button 9", "--button 9",
                "--button 9", "--button 1"},
     .printed = true,
     .ending = ".pdf",
     .checks = kOnePagePdf},
    {.name = "SaveByAClickWritesAJpeg",
     .click = "Save",
     .dialog = "Save",
     .steps = {{.clicks = {kForward, kSaveScan}}},
     .ending = ".JPG",
     // The test device's 200 mm square at 300 dpi.
     .checks = {"djpeg {} > /dev/null", "exiftool -validate -error -warning {} | grep -q 'Validate *: OK'",
                "identify -format '%w %h' {} | grep -qx '2362 2362'"}},
    {.name = "SaveByAClickWritesATiffOfTheScannedPixels",
     .click = "Save",
     .dialog = "Save",
     .steps = {{.clicks = {kForward, kSaveAsTiff, kSaveScan}}},
     .ending = ".TIF",
     // A4 at 300 dpi, as much of it as the test device's 200 mm square holds.
     .checks = {"tiffinfo {} > /dev/null", "compare -metric AE {} {ref} null: 2>&1 | grep -qx 0"},
     .reference = "--mode Color --resolution 300 -l 0 -t 0 -x 200 -y 200"},
    {.name = "SaveByAClickWritesAPdf",
     .click = "Save",
     .dialog = "Save",
     .steps = {{.clicks = {kForward, kSaveAsPdf, kSaveScan}}, kStraightened},
     .ending = ".PDF",
     .checks = kOnePagePdf},
    {.name = "SaveByAClickWritesAMultiPagePdf",
     .click = "Save",
     .dialog = "Save",
     // The first page makes the file, the second is added to it.
     .steps = {{.clicks = {kForward, kSaveAsMultiPagePdf, kSaveScan}}, kScanNextPage, kStraightened, kFinishPages, kStraightened},
     .ending = ".PDF",
     .checks = {"qpdf --check {}", "pdfinfo {} | grep -q '^Pages: *2$'"}},
    {.name = "SaveByAClickAddsAPageToAShippedPdf",
     .shipped = "/usr/share/cups/data/default-testpage.pdf",
     .click = "Save",
     .dialog = "Save",
     .steps = {{.clicks = {kForward, kSaveAddingToPdf, kSaveChoose}}, Choosing("{pictures}/default-testpage.pdf"),
               {.clicks = {kSaveScan}}, kConfirmed, kFinishPages, kStraightened},
     // The pages go into a new copy beside the chosen PDF, which stays as it was.
     .ending = ".PDF",
     .checks = {"qpdf --check {}",
                "test $(pdfinfo {} | sed -n 's/^Pages: *//p') -eq $(( $(pdfinfo {shipped} | sed -n 's/^Pages: *//p') + 1 ))",
                "cmp {shipped} '{pictures}/default-testpage.pdf'"}},
    {.name = "SaveByAClickWritesAPdfWithItsTextRecognised",
     .click = "Save",
     .dialog = "Save",
     .steps = {{.clicks = {kForward, kSaveAsPdf, kSaveOptions}}, kPdfOptionsKept, {.clicks = {kSaveScan}}, kStraightened,
               kSaveClosed},
     .ending = ".PDF",
     // The test device's page holds no words, so no layer of them can be shown: the run had its
     // text recognised in English (a file is written only once the engine and language opened),
     // and the layer adds nothing that is not on the page.
     .checks = {"qpdf --check {}", "pdfinfo {} | grep -q '^Pages: *1$'",
                "{preferences} | grep -qx 'PREF_SAVE.kPDF.kLanguageOption = 1'",
                "{preferences} | grep -qx 'PREF_SAVE.kPDF.kLanguage = 1'", "pdffonts {} > /dev/null",
                "test -z \"$(pdftotext {} - | tr -d '[:space:]')\""}},
    {.name = "PrintByAClickPrintsTheLaidOutPage",
     .click = "Print",
     .dialog = "Print",
     .steps = {{.clicks = {kForward, kPrintScan}}, kLayoutPrint, kLayoutFinish},
     .printed = true,
     .ending = ".pdf",
     .checks = kOnePagePdf},
    {.name = "FileByAClickWritesAPdf",
     .click = "File",
     .dialog = "File",
     .steps = {{.clicks = {kForward, kFileScan}}, kFinishPages, kStraightened},
     .ending = ".PDF",
     .checks = kOnePagePdf},
    {.name = "FileByTheFourthScannerButtonWritesAPdf",
     .pushes = {"--button 4"},
     .steps = {kNoticeRead, kFinishPagesByButton, kStraightened},
     .ending = ".PDF",
     .checks = kOnePagePdf},
    {.name = "CopyByAClickPrints",
     .click = "Copy",
     .dialog = "Copy",
     .steps = {{.clicks = {kForward, kCopyStart}}},
     .printed = true,
     .ending = ".pdf",
     .checks = kOnePagePdf},
};

class UserRow : public UserSession, public ::testing::WithParamInterface<Row> {
 protected:
  // The click at a point of `window`, its text typed.
  void ClickAt(const Rect& window, const DialogClick& click) {
    const auto x = [&](int at) { return window.x + (at < 0 ? window.width + at : at); };
    const auto y = [&](int at) { return window.y + (at < 0 ? window.height + at : at); };
    if (click.toX < 0)
      Click(x(click.x), y(click.y));
    else
      Choose(x(click.x), y(click.y), x(click.toX), y(click.toY));
    if (*click.typed) Type(Expanded(click.typed, {{"{pictures}", PicturesFolder().string()}}));
  }
};

TEST_P(UserRow, WritesWhatTheUserAskedFor) {
  const Row& row = GetParam();
  if (std::string(WX_E2E_LANGUAGE) != "E") GTEST_SKIP() << "the rows find windows and buttons by their English names";
  if (*row.shipped) {
    if (!fs::exists(row.shipped)) GTEST_SKIP() << row.shipped << " is not installed";
    fs::create_directories(PicturesFolder());
    fs::copy_file(row.shipped, PicturesFolder() / fs::path(row.shipped).filename());
  }
  StartProgram();
  if (HasFatalFailure()) return;
  Screenshot("started");
  for (const std::string& push : row.pushes) EXPECT_EQ(0, PushButton(push)) << push;
  Rect dialog;
  if (*row.click) {
    Rect main;
    ASSERT_TRUE(WaitForWindow("Wendrix", &main));
    const auto* button = std::find_if(std::begin(kMainButtons), std::end(kMainButtons),
                                      [&](const MainButton& b) { return std::string(b.label) == row.click; });
    ASSERT_NE(button, std::end(kMainButtons));
    EXPECT_TRUE(WaitForStillScreen());
    ClickIn(main, button->x, button->y);
    ASSERT_TRUE(WaitForWindow(row.dialog, &dialog)) << "the " << row.dialog << " dialog opens";
    Screenshot("dialog");
  }
  for (const Step& step : row.steps) {
    Rect window = dialog;
    if (step.width > 0) {
      ASSERT_TRUE(WaitForWindowSized(step.width, step.height, &window))
          << "a window of " << step.width << " x " << step.height << " shows";
      EXPECT_TRUE(WaitForStillScreen());
      Screenshot("window");
    }
    for (const DialogClick& click : step.clicks) {
      EXPECT_TRUE(WaitForStillScreen());
      ClickAt(window, click);
    }
    for (const std::string& push : step.pushes) EXPECT_EQ(0, PushButton(push)) << push;
    if (step.width > 0 && !step.staysOpen) {
      ASSERT_TRUE(WaitForWindowGone(window)) << "the window goes";
    }
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
    for (const std::string& check : row.checks) {
      const std::string command = Expanded(check, {{"{}", "'" + file.string() + "'"},
                                                   {"{ref}", "'" + reference.string() + "'"},
                                                   {"{shipped}", "'" + std::string(row.shipped) + "'"},
                                                   {"{pictures}", PicturesFolder().string()},
                                                   {"{preferences}", "'" WX_E2E_PREFS_DUMP "' '" + PreferencesFile().string() + "'"}});
      std::string out;
      EXPECT_EQ(0, wxtest::Run(command, &out)) << command << "\n" << out;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, UserRow, ::testing::ValuesIn(kRows), [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace wxe2e
