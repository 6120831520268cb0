// The functions that hand their files to another application: the user registers one as a
// desktop entry, chooses it in the function's dialog, then scans by a click or a scanner
// button; the stand-in keeps a copy of every file it was handed, checked by outside tools.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/UserSession.h"

namespace wxe2e {
namespace {

namespace fs = std::filesystem;

struct Point {
  int x, y;
};

// Centres of the controls, from the top left corner of their window (the layouts' frames).
constexpr Point kMainButtonMail = {167, 92}, kMainButtonOcr = {227, 92}, kMainButtonScan1 = {347, 92},
                kMainButtonScan2 = {407, 92};

// A function's dialog: where its application's "Choose...", Apply, Close and Scan are.
struct FunctionDialog {
  const char* title;
  Point mainButton;
  Point chooseApp, apply, close, scan;
  // The mail dialog chooses among mail applications, where "Add..." opens the chooser.
  bool mailApplications = false;
};
constexpr FunctionDialog kScan1 = {"Scan-1", kMainButtonScan1, {412, 370}, {150, 430}, {302, 430}, {392, 430}};
constexpr FunctionDialog kScan2 = {"Scan-2", kMainButtonScan2, {412, 370}, {150, 430}, {302, 430}, {392, 430}};
constexpr FunctionDialog kMail = {"Mail", kMainButtonMail, {412, 350}, {150, 406}, {302, 406}, {392, 406}, true};
constexpr FunctionDialog kOcr = {"OCR", kMainButtonOcr, {412, 274}, {150, 350}, {302, 350}, {392, 350}};

// The mail-application list: Add... and OK.
constexpr const char* kMailersTitle = "Mail Application";
constexpr Point kMailersAdd = {70, 198}, kMailersOK = {300, 234};
// The file chooser: the typed location, the first listed item, Choose.
constexpr const char* kChooserTitle = "Choose";
constexpr Point kChooserLocation = {270, 299}, kChooserFirstItem = {120, 88}, kChooserChoose = {380, 336};
// A blank spot near the bottom left of a dialog: the first click into a dialog the main
// window opened only brings it forward.
constexpr int kBlankFromBottom = 8;
// An alert's OK, from its bottom right corner.
constexpr Point kAlertOK = {-56, -25};

// A press on a popup held while the pointer moves to one of its menu's items.
struct MenuChoice {
  Point popup, item;
};
// The file-type popups of Scan-1, Scan-2 and Mail (its menu opens with the chosen type, JPEG
// at first, under the pointer; items 18 pixels apart).
constexpr MenuChoice kScanAsTiff = {{260, 138}, {220, 156}};
constexpr MenuChoice kMailAsPdf = {{260, 138}, {220, 156}};

struct Row {
  const char* name;
  const FunctionDialog* dialog;
  // Chosen in the dialog before anything else.
  std::vector<MenuChoice> menus = {};
  // The target left unchosen: the start says so and offers the chooser.
  bool chosenAtStart = false;
  // The scan started by a push of this scanner button (the choice applied and the dialog
  // closed first), else by the dialog's Scan.
  const char* push = "";
  // Alerts that show after the start, each answered by its OK.
  size_t alerts = 0;
  // The ending of the handed files' names, how many, and what each must pass: "{}" is the
  // file, "{ref}" a scan of the SANE test device by scanimage with the arguments `reference`.
  const char* ending;
  size_t files = 1;
  std::vector<std::string> checks;
  const char* reference = "";
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

// A JPEG with valid Exif data of the test device's 200 mm square at `size` ("2362 2362 300":
// pixels and dots per inch).
std::vector<std::string> JpegOf(const std::string& size) {
  return {"djpeg {} > /dev/null", "exiftool -validate -error -warning {} | grep -q 'Validate *: OK'",
          "identify -format '%w %h %x' {} | grep -qx '" + size + "'"};
}
const std::vector<std::string> kJpeg300 = JpegOf("2362 2362 300");
// Mail's factory settings: 75 dpi, each file within the smallest limit, 150 KB.
std::vector<std::string> MailJpeg() {
  std::vector<std::string> checks = JpegOf("590 590 75");
  checks.push_back("test $(stat -c %s {}) -le 153600");
  return checks;
}

const Row kRows[] = {
    {.name = "Scan1ByAClick", .dialog = &kScan1, .ending = ".JPG", .checks = kJpeg300},
    {.name = "Scan1ByItsScannerButton", .dialog = &kScan1, .push = "--button 2", .ending = ".JPG", .checks = kJpeg300},
    {.name = "Scan2ByAClick", .dialog = &kScan2, .ending = ".JPG", .checks = kJpeg300},
    {.name = "MailByAClick", .dialog = &kMail, .ending = ".JPG", .checks = MailJpeg()},
    {.name = "MailByItsScannerButton", .dialog = &kMail, .push = "--button 3", .ending = ".JPG", .checks = MailJpeg()},
    {.name = "OcrByAClick", .dialog = &kOcr, .ending = ".JPG", .checks = kJpeg300},
    {.name = "Scan2AsTiffByAClick", .dialog = &kScan2, .menus = {kScanAsTiff}, .ending = ".TIF",
     .checks = {"tiffinfo {} > /dev/null", "compare -metric AE {} {ref} null: 2>&1 | grep -qx 0"},
     .reference = "--mode Color --resolution 300 -l 0 -t 0 -x 200 -y 200"},
    {.name = "MailAsPdfByAClick", .dialog = &kMail, .menus = {kMailAsPdf}, .alerts = 1,  // the page was straightened
     .ending = ".PDF", .checks = {"qpdf --check {}", "pdfinfo {} | grep -q '^Pages: *1$'"}},
    {.name = "Scan1AsksForATargetAtTheStart", .dialog = &kScan1, .chosenAtStart = true, .ending = ".JPG", .checks = kJpeg300},
    {.name = "MailAsksForAnApplicationAtTheStart", .dialog = &kMail, .chosenAtStart = true, .ending = ".JPG",
     .checks = MailJpeg()},
    {.name = "OcrAsksForAnApplicationAtTheStart", .dialog = &kOcr, .chosenAtStart = true, .ending = ".JPG", .checks = kJpeg300},
};

class TargetApplication : public UserSession, public ::testing::WithParamInterface<Row> {
 protected:
  // What the stand-in was handed: a copy of each file.
  fs::path Received() const { return Root() / "received"; }
  fs::path Applications() const { return Root() / ".local" / "share" / "applications"; }

  // A desktop entry in the user's own applications folder, as a user registers a program.
  void RegisterStandIn() {
    const fs::path script = Root() / "stand-in";
    std::ofstream(script) << "#!/bin/sh\n"
                             "# Keeps a copy of each file it is handed; a name ending in .part is still arriving.\n"
                             "out=\"$1\"; shift\n"
                             "mkdir -p \"$out\"\n"
                             "for f in \"$@\"; do\n"
                             "  name=$(basename \"$f\")\n"
                             "  cp \"$f\" \"$out/$name.part\" && mv \"$out/$name.part\" \"$out/$name\"\n"
                             "done\n";
    fs::permissions(script, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    fs::create_directories(Applications());
    std::ofstream(Applications() / "stand-in.desktop") << "[Desktop Entry]\n"
                                                          "Type=Application\n"
                                                          "Name=Stand-in Receiver\n"
                                                          "Exec="
                                                       << script.string() << " " << Received().string() << " %F\n";
  }

  void ClickAt(const Rect& window, Point p) { ClickIn(window, p.x, p.y); }

  // The file chooser open: the user types the folder of the entry, then picks it from the list.
  void ChooseStandIn() {
    Rect chooser;
    ASSERT_TRUE(WaitForWindow(kChooserTitle, &chooser)) << "the application chooser opens";
    EXPECT_TRUE(WaitForStillScreen());
    Screenshot("chooser");
    ClickAt(chooser, kChooserLocation);
    Type(Applications().string());
    ClickAt(chooser, kChooserChoose);
    EXPECT_TRUE(WaitForStillScreen());
    Screenshot("chooser-folder");
    ClickAt(chooser, kChooserFirstItem);
    EXPECT_TRUE(WaitForStillScreen());
    ClickAt(chooser, kChooserChoose);
    ASSERT_TRUE(WaitForWindowGone(kChooserTitle, 30)) << "the chooser takes the stand-in";
  }

  // The function's way to the chooser open, the stand-in is chosen.
  void ChooseTarget(const FunctionDialog& fn) {
    if (!fn.mailApplications) {
      ChooseStandIn();
      return;
    }
    Rect mailers;
    ASSERT_TRUE(WaitForWindow(kMailersTitle, &mailers)) << "the mail applications show";
    EXPECT_TRUE(WaitForStillScreen());
    ClickAt(mailers, kMailersAdd);
    ChooseStandIn();
    if (HasFatalFailure()) return;
    EXPECT_TRUE(WaitForStillScreen());
    Screenshot("mailers");
    ClickAt(mailers, kMailersOK);
    ASSERT_TRUE(WaitForWindowGone(kMailersTitle, 30));
  }

  // An alert over the dialog titled `dialog`, answered by its OK.
  void AnswerAlert(const std::string& dialog) {
    Rect alert;
    ASSERT_TRUE(WaitForAlert(dialog, &alert)) << "an alert shows";
    EXPECT_TRUE(WaitForStillScreen());
    Screenshot("alert");
    ClickIn(alert, alert.width + kAlertOK.x, alert.height + kAlertOK.y);
    const auto gone = [&] {
      Rect now;
      return !WaitForAlert(dialog, &now, 0.1) || now.x != alert.x || now.y != alert.y;
    };
    ASSERT_TRUE(WaitUntil(gone, 60)) << "the alert goes";
  }
};

TEST_P(TargetApplication, ReceivesTheScannedFiles) {
  const Row& row = GetParam();
  const FunctionDialog& fn = *row.dialog;
  if (std::string(WX_E2E_LANGUAGE) != "E") GTEST_SKIP() << "the rows find windows by their English names";
  RegisterStandIn();
  StartProgram();
  if (HasFatalFailure()) return;

  Rect main, dialog;
  ASSERT_TRUE(WaitForWindow("Wendrix", &main));
  EXPECT_TRUE(WaitForStillScreen());
  ClickAt(main, fn.mainButton);
  ASSERT_TRUE(WaitForWindow(fn.title, &dialog)) << "the " << fn.title << " dialog opens";
  EXPECT_TRUE(WaitForStillScreen());
  ClickIn(dialog, kBlankFromBottom, dialog.height - kBlankFromBottom);
  EXPECT_TRUE(WaitForStillScreen());
  Screenshot("dialog");
  for (const MenuChoice& menu : row.menus) {
    Choose(dialog.x + menu.popup.x, dialog.y + menu.popup.y, dialog.x + menu.item.x, dialog.y + menu.item.y);
    EXPECT_TRUE(WaitForStillScreen());
  }

  if (!row.chosenAtStart) {
    ClickAt(dialog, fn.chooseApp);
    ChooseTarget(fn);
    if (HasFatalFailure()) return;
  }
  EXPECT_TRUE(WaitForStillScreen());
  Screenshot("chosen");

  if (*row.push) {
    ClickAt(dialog, fn.apply);
    EXPECT_TRUE(WaitForStillScreen());
    ClickAt(dialog, fn.close);
    ASSERT_TRUE(WaitForWindowGone(fn.title, 30)) << "the dialog closes";
    EXPECT_EQ(0, PushButton(row.push));
  } else {
    ClickAt(dialog, fn.scan);
  }
  if (row.chosenAtStart) {
    AnswerAlert(fn.title);  // no application chosen yet
    if (HasFatalFailure()) return;
    ChooseTarget(fn);
    if (HasFatalFailure()) return;
  }
  for (size_t i = 0; i < row.alerts; ++i) {
    AnswerAlert(fn.title);
    if (HasFatalFailure()) return;
  }

  const std::vector<fs::path> files = WaitForFiles(Received(), row.ending, row.files);
  Screenshot("handed");
  ASSERT_EQ(row.files, files.size()) << "files ending in " << row.ending << " handed to the stand-in";
  // Handed on, the run is over: the dialog closes.
  EXPECT_TRUE(WaitForWindowGone(fn.title, 60));
  const fs::path reference = Root() / "reference.tif";
  if (*row.reference) {
    ASSERT_TRUE(ScanReference(row.reference, reference));
  }
  const std::vector<fs::path> written = FilesIn(PicturesFolder(), row.ending);
  for (const fs::path& file : files) {
    // The stand-in got the very file the function wrote.
    const auto same = [&](const fs::path& w) { return wxtest::Run("cmp -s '" + w.string() + "' '" + file.string() + "'") == 0; };
    EXPECT_TRUE(std::any_of(written.begin(), written.end(), same)) << file.filename() << " is one of the written files";
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

INSTANTIATE_TEST_SUITE_P(EndToEnd, TargetApplication, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace wxe2e
