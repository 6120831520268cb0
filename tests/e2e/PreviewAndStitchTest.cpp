// The Save function's two roads that stop on the way for the user: the preview, where a page's
// EXIF values are edited before it is written, and stitch assist, where a document is scanned
// in two halves that are joined into one file (and what it says where no scanner is found).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/UserSession.h"

namespace wxe2e {
namespace {

namespace fs = std::filesystem;

// Points of the English layouts, from each window's top left corner.
struct Point {
  int x, y;
};
// The main window's Save button.
constexpr Point kMainSave = {288, 92};
// The Save dialog: a blank spot at its bottom (the main window may cover its top), the
// preview check box, the size and file-type popups and the Scan button.
constexpr Point kSaveBlank = {8, 402};
constexpr Point kSavePreview = {29, 219};
constexpr Point kSaveSize = {300, 110};
constexpr Point kSaveFileType = {260, 138};
constexpr Point kSaveScan = {391, 379};
// The preview: its first thumbnail's picture, the EXIF button and the send button (Save).
constexpr Rect kPreviewFirstPicture = {32, 27, 76, 60};
constexpr Point kPreviewExif = {605, 96};
constexpr Point kPreviewSend = {595, 308};
// The EXIF dialog: the title's and the comment's check boxes (each gives its field the
// keyboard) and OK.
constexpr Point kExifTitle = {29, 61};
constexpr Point kExifComment = {29, 367};
constexpr Point kExifOK = {700, 442};
// An alert's OK, from its bottom right corner (alerts grow with their text).
constexpr Point kAlertOKFromCorner = {56, 25};
// The stitch wizard's Next button, whatever its label.
constexpr Point kStitchNext = {610, 430};
// A popup menu's items are this far apart.
constexpr int kMenuItemHeight = 18;
// The Save dialog's sizes: A4 first, "A3 (Stitch)" ninth; its file types: JPEG second, TIFF third.
constexpr int kSizeA4 = 1, kSizeA3Stitch = 9;
constexpr int kTypeJPEG = 2, kTypeTIFF = 3;

class PreviewAndStitch : public UserSession {
 protected:
  void SetUp() override {
    UserSession::SetUp();
    if (IsSkipped()) return;
    if (std::string(WX_E2E_LANGUAGE) != "E") GTEST_SKIP() << "the rows find windows and buttons by their English names";
  }

  // Starts the program and opens the Save dialog from the main window, brought to the front.
  void OpenSave(Rect* save) {
    StartProgram();
    if (HasFatalFailure()) return;
    Rect main;
    ASSERT_TRUE(WaitForWindow("Wendrix", &main));
    ClickAt(main, kMainSave);
    ASSERT_TRUE(WaitForWindow("Save", save)) << "the Save dialog opens";
    ClickAt(*save, kSaveBlank);
  }
  // A click once the screen has settled.
  void ClickAt(const Rect& window, Point at) {
    EXPECT_TRUE(WaitForStillScreen());
    ClickIn(window, at.x, at.y);
  }
  // The item `to` of a popup menu that shows item `from`.
  void ChooseItem(const Rect& window, Point popup, int from, int to) {
    EXPECT_TRUE(WaitForStillScreen());
    Choose(window.x + popup.x, window.y + popup.y, window.x + popup.x - 40,
           window.y + popup.y + (to - from) * kMenuItemHeight);
  }
};

TEST_F(PreviewAndStitch, TheTitleAndCommentGivenInThePreviewAreWrittenIntoTheJpeg) {
  Rect save;
  OpenSave(&save);
  if (HasFatalFailure()) return;
  ClickAt(save, kSavePreview);
  ClickAt(save, kSaveScan);
  Rect preview;
  ASSERT_TRUE(WaitForWindow("Preview", &preview, 120)) << "the preview opens";
  const Rect picture = {preview.x + kPreviewFirstPicture.x, preview.y + kPreviewFirstPicture.y, kPreviewFirstPicture.width,
                        kPreviewFirstPicture.height};
  EXPECT_TRUE(WaitUntil([&] { return ColoursIn(picture) > 8; }, 60)) << "the page's thumbnail shows";
  Screenshot("preview");
  ClickAt(preview, kPreviewExif);
  Rect exif;
  ASSERT_TRUE(WaitForWindow("EXIF information", &exif)) << "the EXIF dialog opens";
  ClickAt(exif, kExifTitle);
  EXPECT_TRUE(WaitForStillScreen());
  Type("Harbour at dawn");
  ClickAt(exif, kExifComment);
  EXPECT_TRUE(WaitForStillScreen());
  Type("Low tide, east pier");
  EXPECT_TRUE(WaitForStillScreen());
  Screenshot("exif");
  ClickAt(exif, kExifOK);
  ASSERT_TRUE(WaitForWindowGone("EXIF information"));
  ClickAt(preview, kPreviewSend);
  const std::vector<fs::path> files = WaitForFiles(PicturesFolder(), ".JPG", 1);
  Screenshot("saved");
  ASSERT_EQ(1u, files.size());
  fs::copy_file(files[0], wxtest::OutputDir("e2e") / "PreviewAndStitch-PreviewTitle.JPG", fs::copy_options::overwrite_existing);
  const std::string file = "'" + files[0].string() + "'";
  for (const std::string& check : {"djpeg " + file + " > /dev/null",
                                   "exiftool -validate -error -warning " + file + " | grep -q 'Validate *: OK'",
                                   "exiftool -s3 -ImageDescription " + file + " | grep -qx 'Harbour at dawn'",
                                   "exiftool -s3 -UserComment " + file + " | grep -qx 'Low tide, east pier'"}) {
    std::string out;
    EXPECT_EQ(0, wxtest::Run(check, &out)) << check << "\n" << out;
  }
}

// Each half is the test device's whole 200 mm square at 300 dpi; the right half is placed
// beside the left one and the frame keeps both, so each half of the file is that scan.
TEST_F(PreviewAndStitch, TwoHalvesAreJoinedIntoOneFile) {
  Rect save;
  OpenSave(&save);
  if (HasFatalFailure()) return;
  ChooseItem(save, kSaveSize, kSizeA4, kSizeA3Stitch);
  ChooseItem(save, kSaveFileType, kTypeJPEG, kTypeTIFF);
  Screenshot("chosen");
  ClickAt(save, kSaveScan);
  Rect wizard;
  ASSERT_TRUE(WaitForWindow("Stitch Assist: Step 1 of 4", &wizard)) << "the wizard opens";
  for (const char* next : {"Stitch Assist: Step 2 of 4", "Stitch Assist: Step 3 of 4", "Stitch Assist: Step 4 of 4"}) {
    ClickAt(wizard, kStitchNext);
    ASSERT_TRUE(WaitForWindow(next, &wizard, 120)) << next;
    EXPECT_TRUE(WaitForStillScreen());
    Screenshot("step");
  }
  ClickAt(wizard, kStitchNext);
  const std::vector<fs::path> files = WaitForFiles(PicturesFolder(), ".TIF", 1);
  Screenshot("saved");
  ASSERT_EQ(1u, files.size());
  fs::copy_file(files[0], wxtest::OutputDir("e2e") / "PreviewAndStitch-Stitched.TIF", fs::copy_options::overwrite_existing);
  const fs::path reference = Root() / "reference.tif";
  ASSERT_TRUE(ScanReference("--mode Color --resolution 300 -l 0 -t 0 -x 200 -y 200", reference));
  const std::string file = "'" + files[0].string() + "'", ref = "'" + reference.string() + "'";
  for (const std::string& check :
       {"tiffinfo " + file + " > /dev/null", "identify -format '%w %h' " + file + " | grep -qx '4724 2362'",
        "convert " + file + " -crop 2362x2362+0+0 +repage png:- | compare -metric AE - " + ref + " null: 2>&1 | grep -qx 0",
        "convert " + file + " -crop 2362x2362+2362+0 +repage png:- | compare -metric AE - " + ref + " null: 2>&1 | grep -qx 0"}) {
    std::string out;
    EXPECT_EQ(0, wxtest::Run(check, &out)) << check << "\n" << out;
  }
}

// Where no scanner is found the first start stores no model; a stitch size then says that no
// scanner is chosen, as a plain scan does, and no wizard opens.
TEST_F(PreviewAndStitch, AStitchWithNoScannerFoundSaysNoneIsChosen) {
  WX_REQUIRE_TOOL("tesseract");
  // The SANE backends the program adds to the system's: none, as where no scanner is attached.
  fs::create_directories(Root() / ".config/wendrix/sane/dll.d");
  std::ofstream(Root() / ".config/wendrix/sane/dll.d/wendrix") << "";
  Rect save;
  OpenSave(&save);
  if (HasFatalFailure()) return;
  ChooseItem(save, kSaveSize, kSizeA4, kSizeA3Stitch);
  ClickAt(save, kSaveScan);
  Rect alert;
  ASSERT_TRUE(WaitForAlert("Save", &alert)) << "an alert shows";
  EXPECT_TRUE(WaitForStillScreen());
  Screenshot("alert");
  std::string text = TextIn(alert);
  std::replace(text.begin(), text.end(), '\n', ' ');
  EXPECT_NE(std::string::npos, text.find("No scanner is chosen")) << text;
  ClickAt(alert, {alert.width - kAlertOKFromCorner.x, alert.height - kAlertOKFromCorner.y});
  EXPECT_TRUE(WaitForStillScreen());
  Rect wizard;
  EXPECT_FALSE(WaitForWindow("Stitch Assist: Step 1 of 4", &wizard, 0)) << "no wizard opens";
}

}  // namespace
}  // namespace wxe2e
