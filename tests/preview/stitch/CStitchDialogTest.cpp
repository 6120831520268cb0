// The stitch-assist wizard opened as its callers open it: both halves scanned through the fake
// source from image pages, moved with the arrow keys, merged, and the page handed to a stand-in
// caller that writes it as the Save function does.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <filesystem>
#include <string>
#include <vector>

#include "FakeScript.h"
#include "app/CPicture.h"
#include "prefs/PrefRecords.h"
#include "dialogs/file/CScanInfoWindow.h"
#include "framework/FrameworkDriver.h"
#include "framework/LThread.h"
#include "framework/TRegistrar.h"
#include "output/export/WXExport.h"
#include "output/hub/WXDialogFlags.h"
#include "preview/CStitchDialog.h"
#include "preview/CStitchPicturePane.h"
#include "preview/CStitchPictureView.h"
#include "scanner/CTWAIN.h"
#include "scanner/CThreadChecker.h"
#include "support/ColorProfiles.h"
#include "support/DialogShot.h"
#include "support/TestEnv.h"
#include "tests/platform/twain/sane/SaneTestConfig.h"
#include "tests/prefs/PrefsTestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/output/export/Pnm.h"
#include "tests/output/export/RawPages.h"
#include "toolbox/Files.h"
#include "toolbox/Gestalt.h"
#include "toolbox/TextUtils.h"
#include "windows/TestDriver.h"

namespace fs = std::filesystem;

namespace {

// The dialog that opened the wizard: it writes what the wizard hands over as TIFF, as the
// Save function does, and deletes the scan objects it is given.
struct Caller : LDialogBox {
  explicit Caller(const fs::path& out)
      : LDialogBox(Rect{0, 0, 10, 10}, reinterpret_cast<ConstStr255Param>("\x01"
                                                                           "C"),
                   4, 0, nullptr),
        folder(wxtest::SpecOf(out)) {}
  void ListenToMessage(MessageT message, void* param) override {
    heard.push_back(message);
    if (message != 'TEnd') return;
    // A disk a test filled for the merge has room again for the caller's own file.
    FSTestSetWriteLimit(-1);
    auto* checker = static_cast<CThreadChecker*>(param);
    CTWAIN* twain = checker->GetTWAIN();
    entries = twain->GetImageCount();
    profile = twain->GetModelString().ToStdString();
    for (ArrayIndexT i = 1; i <= twain->GetImageCount(); ++i) infos.push_back((*twain->GetImageInfoArray())[i]);
    StPDFDialog pdf;
    StJPEGDialog jpeg;
    StOtherDialog pict, tiff;
    Str255 base;
    PStrFromString("Page", base);
    delete CWXUtility::ExportToFile(1, checker, 'TIFF', base, folder, 0, pdf, jpeg, pict, tiff, 1, 'QlWX', 0, 0, 0);
    delete checker;
    delete twain;
  }
  FSSpec folder;
  std::vector<MessageT> heard;
  long entries = 0;
  std::string profile;
  std::vector<TW_IMAGEINFO> infos;
};

// A test picture whose every pixel differs from its neighbours.
wxtest::Pnm Fixture(int kind, long width, long height) {
  wxtest::Pnm p;
  p.kind = kind;
  p.width = width;
  p.height = height;
  p.rows.assign(size_t(p.RowBytes() * height), 0);
  for (long y = 0; y < height; ++y)
    for (long b = 0; b < p.RowBytes(); ++b)
      p.rows[size_t(y * p.RowBytes() + b)] = uint8_t((y * 7 + b * 13 + (y / 5) * (b / 3)) & 0xFF);
  if (kind == 4 && width % 8)
    for (long y = 0; y < height; ++y) p.rows[size_t(y * p.RowBytes() + p.RowBytes() - 1)] &= uint8_t(0xFF << (8 - width % 8));
  return p;
}

// Columns [left, left + width) of `p`, rows [top, top + rows); rows past its end are white.
wxtest::Pnm Cut(const wxtest::Pnm& p, long left, long width, long top, long rows) {
  wxtest::Pnm c;
  c.kind = p.kind;
  c.width = width;
  c.height = rows;
  c.rows.assign(size_t(c.RowBytes() * rows), p.kind == 4 ? 0 : 0xFF);
  const int channels = p.kind == 6 ? 3 : 1;
  for (long y = 0; y < rows && top + y < p.height; ++y)
    for (long x = 0; x < width; ++x) {
      if (p.kind == 4) {
        const long sx = left + x;
        const bool black = (p.rows[size_t((top + y) * p.RowBytes() + sx / 8)] >> (7 - sx % 8)) & 1;
        if (black) c.rows[size_t(y * c.RowBytes() + x / 8)] |= uint8_t(0x80 >> (x % 8));
        continue;
      }
      for (int k = 0; k < channels; ++k)
        c.rows[size_t(y * c.RowBytes() + x * channels + k)] = p.rows[size_t((top + y) * p.RowBytes() + (left + x) * channels + k)];
    }
  return c;
}

// `p` turned by 180 degrees (grey and colour).
wxtest::Pnm HalfTurn(const wxtest::Pnm& p) {
  wxtest::Pnm t = p;
  const int channels = p.kind == 6 ? 3 : 1;
  for (long y = 0; y < p.height; ++y)
    for (long x = 0; x < p.width; ++x)
      for (int k = 0; k < channels; ++k)
        t.rows[size_t((p.height - 1 - y) * p.RowBytes() + (p.width - 1 - x) * channels + k)] =
            p.rows[size_t(y * p.RowBytes() + x * channels + k)];
  return t;
}

const std::string kModel = "Fake Scanner";

// What the caller hands the wizard beyond its scan settings.
struct Options {
  long caller = 5;
  long finishing = 3;
  unsigned char moreDocuments = 0, preview = 0, adobeRGB = 0;
  long fileTab = 0;
};

class StitchWizard : public wxtest::DialogTest {
 protected:
  static void SetUpTestSuite() { wxfake::UseFakeSource(); }
  void SetUp() override {
    DialogTest::SetUp();
    fs::create_directories(Out());
    mTemp = wxtest::PathOf(wxtest::TemporaryFolder());
    CTWAIN::SetApplicationHost(mApp);
    GestaltSetValue(gestaltSystemVersion, 0x1039);
    setenv("WX_OPENER", "/bin/true", 1);
  }
  void TearDown() override {
    wxframework::ClearDialogActions();
    FSTestSetWriteLimit(-1);
    FSTestSetFreeSpace(-1);
    MemSetTempLimit(0);
    MemSetHeapLimit(0);
    if (WizardOpen()) delete mWizard;
    mCaller.reset();
    CTWAIN::SetApplicationHost(nullptr);
    CWXUtility::sIsQuellaneOpened = 0;
    CStitchDialog::SetScanInfoFiller(nullptr);
    unsetenv("WX_OPENER");
    DialogTest::TearDown();
  }
  void RegisterClasses() override {
    DialogTest::RegisterClasses();
    RegisterClass_(CStitchDialog);
    RegisterClass_(CStitchPictureView);
    RegisterClass_(CPicture);
    RegisterClass_(CScanInfoWindow);
  }

  fs::path Out() const { return env.root() / "Out"; }

  // The fake scans these pictures, one a page, at `depth`.
  void Pages(const std::vector<wxtest::Pnm>& pages, int depth, const std::string& extra = "") {
    std::string script = "name=" + mModel + "\ndepth=" + std::to_string(depth) + "\npages=" +
                         std::to_string(pages.size()) + "\nres=150\n" + extra;
    for (size_t i = 0; i < pages.size(); ++i) {
      const fs::path file = mScript.path() / ("page" + std::to_string(++mPageFiles) + ".pnm");
      wxtest::WritePnm(file, pages[i]);
      script += "\nimage=" + file.string();
    }
    mLog = wxfake::WriteFakeScript(mScript.path(), script);
  }

  void Open(const Options& o = Options{}) {
    mCaller = std::make_unique<Caller>(Out());
    Str255 model;
    PStrFromString(mModel, model);
    PREF_FILE file;
    mWizard = CStitchDialog::ShowStitchDialog(o.caller, 1, model, SDimension16{2970, 2100}, 1, 3, 0, 1, 150, mApp, 0,
                                              0, o.finishing, mCaller.get(), o.adobeRGB, o.moreDocuments,
                                              wxtest::SpecOf(Out()), wxtest::TemporaryFolder(), nullptr, nullptr,
                                              nullptr, nullptr, o.preview, o.fileTab, 'TIFF', &file);
    ASSERT_NE(nullptr, mWizard);
    mWindow = mWizard->GetMacWindow();
  }
  bool WizardOpen() const { return mWizard && LWindow::FetchWindowObject(mWindow) == mWizard; }
  CStitchPictureView* View() const { return wxframework::FindPaneAs<CStitchPictureView>(mWizard, 'StVw'); }

  // Clicks Next and runs the loop until any scan it started has ended.
  void Next() {
    wxframework::ClickPane(mWizard, 'NxBt');
    for (int i = 0; i < 20; ++i) wxframework::PumpEvents();
    for (int i = 0; i < 2000 && WizardOpen() && CWXUtility::sIsQuellaneOpened == 1; ++i) {
      mApp->ProcessNextEvent();
      LThread::Yield();
    }
  }
  void Press(MessageT button) {
    wxframework::ClickPane(mWizard, button);
    wxframework::PumpEvents();
  }
  void Keys(unsigned char key, long times) {
    for (long i = 0; i < times; ++i) wxdriver::Key(key);
    wxframework::PumpEvents(int(times) * 4 + 10);
  }
  // Queues: the next dialog is an alert or prompt; its text is kept and it is answered.
  void Answer(MessageT answer) {
    wxframework::QueueDialogAction([this](LWindow* d) {
      alerts.push_back(wxframework::FindPane(d, 'TXMS') ? wxframework::PaneText(d, 'TXMS') : "(no text)");
    });
    wxframework::AnswerNextDialog(answer);
  }
  static std::string Item(SInt16 item) { return wxtest::ResourceText(400, item); }
  static std::string Item(SInt16 item, const std::string& count) {
    std::string text = Item(item);
    text.replace(text.find("%s"), 2, count);
    return text;
  }

  // Scans two halves with `overlap` columns in common; the right one moved into place.
  void ScanAndAlign(const wxtest::Pnm& left, const wxtest::Pnm& right, int depth, long overlap, long down = 0,
                    bool turn = false) {
    Pages({left}, depth);
    Next();
    ASSERT_EQ(2, mWizard->GetStep());
    if (turn) Press('RtBt');
    Pages({right}, depth);
    Next();
    ASSERT_EQ(3, mWizard->GetStep());
    if (turn) Press('RtBt');
    Keys(0x1C, overlap);
    Keys(0x1F, down);
  }
  std::vector<fs::path> Written() const {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(Out())) files.push_back(e.path());
    return files;
  }
  std::vector<std::string> TempFiles() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(mTemp)) names.push_back(e.path().filename().string());
    return names;
  }
  // Pixels of `file` that differ from `expected`, by an outside tool; -1 when it cannot tell.
  long Differences(const fs::path& file, const wxtest::Pnm& expected) {
    const fs::path reference = mScript.path() / "expected.pnm";
    wxtest::WritePnm(reference, expected);
    std::string out;
    wxtest::Run("compare -metric AE '" + file.string() + "' '" + reference.string() + "' null: 2>&1", &out);
    try {
      return std::stol(out);
    } catch (...) {
      ADD_FAILURE() << out;
      return -1;
    }
  }

  wxtest::PrefsEnv env;
  std::string mModel = kModel;
  wxtest::ScratchDir mScript;
  fs::path mTemp, mLog;
  int mPageFiles = 0;
  std::unique_ptr<Caller> mCaller;
  CStitchDialog* mWizard = nullptr;
  WindowRef mWindow = nullptr;
  std::vector<std::string> alerts;
};

TEST_F(StitchWizard, TwoHalvesMergeIntoTheOriginalPage) {
  // The picture 'AbcP' is 240 high: halves of that height are shown at scale 1.
  const struct {
    const char* what;
    int kind, depth;
    long width, leftWidth, overlap, down;
    bool upsideDown;
  } rows[] = {
      {"colour, centred cut", 6, 24, 301, 160, 19, 0, false},
      {"grey, off-centre cut, the wider half on the right", 5, 8, 251, 100, 25, 0, false},
      {"bilevel, odd width", 4, 1, 203, 110, 17, 0, false},
      {"colour, right half lower", 6, 24, 281, 150, 20, 6, false},
      {"grey, both halves upside down and turned", 5, 8, 231, 130, 21, 0, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const wxtest::Pnm original = Fixture(row.kind, row.width, 240);
    const long rightLeft = row.leftWidth - row.overlap;
    const wxtest::Pnm left = Cut(original, 0, row.leftWidth, 0, 240);
    const wxtest::Pnm right = Cut(original, rightLeft, row.width - rightLeft, row.down, 240);
    Open();
    ASSERT_NO_FATAL_FAILURE(ScanAndAlign(row.upsideDown ? HalfTurn(left) : left,
                                         row.upsideDown ? HalfTurn(right) : right, row.depth, row.overlap, row.down,
                                         row.upsideDown));
    Next();
    ASSERT_EQ(4, mWizard->GetStep());
    Next();
    EXPECT_FALSE(WizardOpen()) << "the wizard closes once it has handed over";
    ASSERT_EQ(std::vector<MessageT>{'TEnd'}, mCaller->heard);
    ASSERT_EQ(1, mCaller->entries);
    const TW_IMAGEINFO& info = mCaller->infos[0];
    EXPECT_EQ(row.width, info.ImageWidth);
    EXPECT_EQ(240 - row.down, info.ImageLength);
    EXPECT_EQ(row.depth, info.BitsPerPixel);
    EXPECT_EQ(150, info.XResolution.Whole);
    const auto written = Written();
    ASSERT_EQ(1u, written.size());
    EXPECT_EQ(0, Differences(written[0], Cut(original, 0, row.width, row.down, 240 - row.down)));
    EXPECT_EQ(std::vector<std::string>{}, TempFiles()) << "no half, raw page or merged file stays";
    EXPECT_EQ(0, CWXUtility::sIsQuellaneOpened);
    EXPECT_EQ(0, CWXUtility::sIsStitchDialogOpened);
    fs::copy_file(written[0], wxtest::OutputDir("stitch") / (std::string("merged-") + std::to_string(row.depth) + ".tif"),
                  fs::copy_options::overwrite_existing);
    fs::remove(written[0]);
  }
}

// Both halves from the SANE test device, through the bridge as a user's scanner: the merged
// page reaches the caller and is written.
TEST_F(StitchWizard, HalvesFromTheSaneTestDeviceMergeAndAreWritten) {
  // The bridge's configuration stays for the process: the module stays loaded once opened.
  static const wxtest::ScratchDir sane;
  wxsane::UseSaneTestDevice(sane.path(), "Dremlo Model A");
  wxfake::UseFakeSource(WX_TWAIN_SOURCE_DIR);
  mModel = "Dremlo Model A";
  Open();
  Next();
  ASSERT_EQ(2, mWizard->GetStep()) << "the first half";
  Next();
  ASSERT_EQ(3, mWizard->GetStep()) << "the second half";
  Keys(0x1C, 10);
  Next();
  ASSERT_EQ(4, mWizard->GetStep());
  Next();
  wxfake::UseFakeSource();
  EXPECT_FALSE(WizardOpen());
  ASSERT_EQ(std::vector<MessageT>{'TEnd'}, mCaller->heard);
  ASSERT_EQ(1, mCaller->entries);
  const TW_IMAGEINFO& info = mCaller->infos[0];
  EXPECT_EQ(24, info.BitsPerPixel);
  EXPECT_EQ(150, info.XResolution.Whole);
  const auto written = Written();
  ASSERT_EQ(1u, written.size());
  std::string out;
  ASSERT_EQ(0, wxtest::Run("tiffinfo '" + written[0].string() + "' 2>&1", &out)) << out;
  EXPECT_NE(std::string::npos, out.find("Image Width: " + std::to_string(info.ImageWidth))) << out;
  EXPECT_EQ(std::vector<std::string>{}, TempFiles()) << "no half, raw page or merged file stays";
  fs::copy_file(written[0], wxtest::OutputDir("stitch") / "merged-sane.tif", fs::copy_options::overwrite_existing);
}

TEST_F(StitchWizard, NextCarriesTheLabelOfWhatTheCallerDoesNext) {
  const struct {
    long finishing;
    unsigned char more, preview;
    SInt16 item;
  } rows[] = {{1, 0, 0, 7}, {2, 0, 0, 8}, {3, 0, 0, 6}, {4, 0, 0, 9}, {5, 0, 0, 6},
              {6, 0, 0, 9}, {7, 0, 0, 9}, {3, 1, 0, 8}, {5, 0, 1, 8}, {1, 0, 1, 8}};
  const wxtest::Pnm page = Fixture(6, 120, 240);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.finishing);
    Options o;
    o.finishing = row.finishing;
    o.moreDocuments = row.more;
    o.preview = row.preview;
    Open(o);
    ASSERT_NO_FATAL_FAILURE(ScanAndAlign(page, page, 24, 0));
    EXPECT_EQ(wxtest::ResourceText(11000, 5), wxframework::PaneText(mWizard, 'NxBt'));
    Next();
    EXPECT_EQ(wxtest::ResourceText(11000, row.item), wxframework::PaneText(mWizard, 'NxBt'));
    EXPECT_EQ(wxtest::ResourceText(11000, 4), wxframework::PaneText(mWizard, 'MsTx'));
    Answer(900);
    Press('CnBt');
    EXPECT_FALSE(WizardOpen());
    EXPECT_EQ(std::vector<MessageT>{'StCl'}, mCaller->heard);
  }
  EXPECT_EQ(std::vector<std::string>{}, TempFiles());
}

TEST_F(StitchWizard, EachStepsMessageNamesTheButtonItAsksFor) {
  const wxtest::Pnm page = Fixture(6, 120, 240);
  Options o;
  Open(o);
  for (long step : {1, 2}) {
    SCOPED_TRACE(step);
    ASSERT_EQ(step, mWizard->GetStep());
    const std::string button = wxframework::PaneText(mWizard, 'NxBt');
    EXPECT_NE(std::string::npos, wxframework::PaneText(mWizard, 'MsTx').find(button)) << button;
    Pages({page}, 24);
    Next();
  }
  Answer(900);
  Press('CnBt');
}

TEST_F(StitchWizard, BackRotateAndCancelFollowTheSteps) {
  const wxtest::Pnm page = Fixture(6, 120, 240);
  Open();
  EXPECT_FALSE(wxframework::FindPane(mWizard, 'BkBt')->IsVisible());
  EXPECT_EQ(wxtest::ResourceText(11000, 1), wxframework::PaneText(mWizard, 'MsTx'));
  Pages({page}, 24);
  Next();
  ASSERT_EQ(2, mWizard->GetStep());
  EXPECT_TRUE(wxframework::FindPane(mWizard, 'BkBt')->IsVisible());
  EXPECT_TRUE(wxframework::FindPane(mWizard, 'RtBt')->IsVisible());
  EXPECT_EQ(wxtest::ResourceText(11000, 2), wxframework::PaneText(mWizard, 'MsTx'));
  {
    // The half shows its own colours, untinted by the dialog's.
    Rect frame{};
    View()->GetLeftPane()->CalcPortFrameRect(frame);
    int width = 0, height = 0;
    const auto pixels = wxdriver::WindowPixels(mWindow, &width, &height);
    EXPECT_EQ(0x000D1Au, pixels[size_t(frame.top) * size_t(width) + size_t(frame.left)] & 0xFFFFFF);
  }
  Press('RtBt');
  EXPECT_EQ(180, View()->GetLeftAngle());
  // Back answered Cancel keeps the half and its file; OK removes both.
  Answer(901);
  Press('BkBt');
  EXPECT_EQ(2, mWizard->GetStep());
  EXPECT_EQ(1u, TempFiles().size());
  Answer(900);
  Press('BkBt');
  EXPECT_EQ(1, mWizard->GetStep());
  EXPECT_EQ(nullptr, View()->GetLeftPane());
  EXPECT_EQ(0, View()->GetLeftAngle());
  EXPECT_EQ(std::vector<std::string>{}, TempFiles());
  // A cancelled second scan returns to step 2 with the first half still shown.
  Pages({page}, 24);
  Next();
  ASSERT_EQ(2, mWizard->GetStep());
  Pages({page}, 24, "cancel_page=1");
  Next();
  EXPECT_EQ(2, mWizard->GetStep());
  EXPECT_NE(nullptr, View()->GetLeftPane());
  EXPECT_EQ(wxtest::ResourceText(11000, 2), wxframework::PaneText(mWizard, 'MsTx'));
  // Step 4 goes back without a question.
  Pages({page}, 24);
  Next();
  ASSERT_EQ(3, mWizard->GetStep());
  Next();
  ASSERT_EQ(4, mWizard->GetStep());
  Press('BkBt');
  EXPECT_EQ(3, mWizard->GetStep());
  EXPECT_EQ(nullptr, View()->GetCropPane());
  EXPECT_TRUE(alerts.size() == 2);
  // Cancel asks from step 2 on; with nothing merged the caller hears 'StCl'.
  Answer(901);
  Press('CnBt');
  EXPECT_TRUE(WizardOpen());
  Answer(900);
  Press('CnBt');
  EXPECT_FALSE(WizardOpen());
  EXPECT_EQ(std::vector<MessageT>{'StCl'}, mCaller->heard);
  EXPECT_EQ(std::vector<std::string>({Item(36), Item(36), Item(8), Item(8)}), alerts);
  EXPECT_EQ(std::vector<std::string>{}, TempFiles());
}

TEST_F(StitchWizard, CancelOnTheFirstStepAsksNothing) {
  Open();
  Press('CnBt');
  EXPECT_FALSE(WizardOpen());
  EXPECT_EQ(std::vector<MessageT>{'StCl'}, mCaller->heard);
  EXPECT_TRUE(alerts.empty());
}

TEST_F(StitchWizard, ATwoPageScanTakesOneHalfAndDeletesTheOtherPage) {
  const wxtest::Pnm page = Fixture(6, 120, 240);
  Open();
  Pages({page, page}, 24);
  Next();
  ASSERT_EQ(2, mWizard->GetStep());
  EXPECT_EQ(std::vector<std::string>{"tempcopy0001.TIF"}, TempFiles());
}

TEST_F(StitchWizard, ThreeDocumentsReachTheCallerInMergeOrder) {
  Options o;
  o.moreDocuments = 1;
  Open(o);
  // Each document's width tells it apart: the right half laid over the left one, but for
  // the column of the left one that always stays uncovered.
  for (long width : {130L, 140L, 150L}) {
    const wxtest::Pnm page = Fixture(6, width, 240);
    ASSERT_NO_FATAL_FAILURE(ScanAndAlign(page, page, 24, width));
    Next();
    Answer(width == 150 ? 901 : 900);
    Next();
  }
  EXPECT_FALSE(WizardOpen());
  ASSERT_EQ(std::vector<MessageT>{'TEnd'}, mCaller->heard);
  ASSERT_EQ(3, mCaller->entries);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(long(131 + 10 * i), mCaller->infos[i].ImageWidth);
  EXPECT_EQ(std::vector<std::string>({Item(7, "1"), Item(7, "2"), Item(7, "3")}), alerts)
      << "the next-document prompt of layout 350";
  EXPECT_EQ(3u, Written().size());
  EXPECT_EQ(std::vector<std::string>{}, TempFiles());
}

// Too little room for another document: the disk alert, then the prompt again; the answer
// after it decides.
TEST_F(StitchWizard, TooLittleRoomForAnotherDocumentAsksAgain) {
  Options o;
  o.moreDocuments = 1;
  Open(o);
  const wxtest::Pnm page = Fixture(6, 130, 240);
  ASSERT_NO_FATAL_FAILURE(ScanAndAlign(page, page, 24, 130));
  Next();
  wxframework::QueueDialogAction([this](LWindow* d) {
    alerts.push_back(wxframework::PaneText(d, 'TXMS'));
    FSTestSetFreeSpace(0);
  });
  wxframework::AnswerNextDialog(900);
  Answer(msg_OK);  // the disk alert
  Answer(901);     // asked again: no more documents
  Next();
  FSTestSetFreeSpace(-1);
  EXPECT_FALSE(WizardOpen());
  EXPECT_EQ(std::vector<std::string>({Item(7, "1"), Item(48), Item(7, "1")}), alerts);
  ASSERT_EQ(std::vector<MessageT>{'TEnd'}, mCaller->heard);
  EXPECT_EQ(1, mCaller->entries) << "the document merged before";
}

TEST_F(StitchWizard, AFailedMergeSaveLeavesNothingAndTellsTheCaller) {
  const wxtest::Pnm page = Fixture(6, 200, 240);
  const struct {
    const char* what;
    bool memory;
    std::string item;
  } rows[] = {{"a disk that fills", false, Item(3)}, {"no memory for the merge", true, Item(39)}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    alerts.clear();
    Open();
    ASSERT_NO_FATAL_FAILURE(ScanAndAlign(page, page, 24, 20));
    Next();
    Answer(900);
    if (row.memory)
      MemSetTempLimit(100000);
    else
      FSTestSetWriteLimit(1000);
    Next();
    FSTestSetWriteLimit(-1);
    MemSetTempLimit(0);
    EXPECT_FALSE(WizardOpen());
    EXPECT_EQ(std::vector<MessageT>{'StCl'}, mCaller->heard);
    EXPECT_EQ(std::vector<std::string>{row.item}, alerts);
    EXPECT_EQ(std::vector<std::string>{}, TempFiles()) << "no half and no partial file";
  }
}

TEST_F(StitchWizard, TheMergedNameTakesTheFirstFreeNumber) {
  std::ofstream(mTemp / "tempcopy0001STT0001") << "taken";
  Options o;
  o.moreDocuments = 1;
  Open(o);
  const wxtest::Pnm page = Fixture(6, 120, 240);
  ASSERT_NO_FATAL_FAILURE(ScanAndAlign(page, page, 24, 0));
  Next();
  bool found = false;
  wxframework::QueueDialogAction([&](LWindow*) { found = fs::exists(mTemp / "tempcopy0001STT0002"); });
  wxframework::AnswerNextDialog(901);
  Next();
  EXPECT_TRUE(found);
  EXPECT_EQ(std::vector<MessageT>{'TEnd'}, mCaller->heard);
}

TEST_F(StitchWizard, TheFileCallerShowsTheScanInformationAndItsOwnPrompt) {
  CStitchDialog::SetScanInfoFiller([](LWindow* window, PREF_FILE* record) {
    dynamic_cast<CScanInfoWindow*>(window)->SetDisplayData(record, record, record, record, record);
  });
  Options o;
  o.caller = 6;
  o.finishing = 5;
  o.moreDocuments = 1;
  o.fileTab = 1;
  Open(o);
  const wxtest::Pnm page = Fixture(6, 120, 240);
  Pages({page}, 24, "stall=0");
  wxframework::ClickPane(mWizard, 'NxBt');
  wxframework::PumpEvents();
  bool shown = mWizard->GetScanInfoWindow() != nullptr;
  for (int i = 0; i < 2000 && CWXUtility::sIsQuellaneOpened == 1; ++i) {
    shown = shown || mWizard->GetScanInfoWindow() != nullptr;
    mApp->ProcessNextEvent();
    LThread::Yield();
  }
  EXPECT_TRUE(shown);
  EXPECT_EQ(nullptr, mWizard->GetScanInfoWindow()) << "deleted at the scan's end";
  Pages({page}, 24);
  Next();
  Next();
  Answer(901);
  Next();
  EXPECT_EQ(std::vector<std::string>{Item(41, "1")}, alerts) << "the prompt a scanner button answers";
}

TEST_F(StitchWizard, TheFileCallerAsksByClickAloneWithAScannerWithoutThatButton) {
  mModel = "Dremlo Model D";  // product 0x1240
  Options o;
  o.caller = 6;
  o.finishing = 5;
  o.moreDocuments = 1;
  Open(o);
  const wxtest::Pnm page = Fixture(6, 120, 240);
  ASSERT_NO_FATAL_FAILURE(ScanAndAlign(page, page, 24, 0));
  Next();
  Answer(901);
  Next();
  EXPECT_EQ(std::vector<std::string>{Item(7, "1")}, alerts);
  EXPECT_EQ(std::vector<MessageT>{'TEnd'}, mCaller->heard);
}

TEST_F(StitchWizard, AnOldSystemHidesTheWizardWhileItScans) {
  GestaltSetValue(gestaltSystemVersion, 0x1020);
  Open();
  Pages({Fixture(6, 120, 240)}, 24);
  wxframework::ClickPane(mWizard, 'NxBt');
  wxframework::PumpEvents();
  EXPECT_FALSE(mWizard->IsVisible());
  for (int i = 0; i < 2000 && CWXUtility::sIsQuellaneOpened == 1; ++i) {
    mApp->ProcessNextEvent();
    LThread::Yield();
  }
  EXPECT_TRUE(mWizard->IsVisible());
  EXPECT_EQ(2, mWizard->GetStep());
}

TEST_F(StitchWizard, TheHalfClickedLastCoversTheOverlap) {
  // Two halves that disagree where they overlap: the left one black there, the right one white.
  wxtest::Pnm left = Fixture(5, 140, 240), right = Fixture(5, 140, 240);
  for (long y = 0; y < 240; ++y)
    for (long x = 0; x < 20; ++x) {
      left.rows[size_t(y * 140 + 120 + x)] = 0;
      right.rows[size_t(y * 140 + x)] = 0xFF;
    }
  for (bool clickLeft : {false, true}) {
    SCOPED_TRACE(clickLeft ? "the left half clicked last" : "the right half on top");
    Open();
    ASSERT_NO_FATAL_FAILURE(ScanAndAlign(left, right, 8, 20));
    if (clickLeft) {
      wxframework::ClickPane(View()->GetLeftPane());
      wxframework::PumpEvents();
      EXPECT_EQ(0, View()->GetIsRightImageOver());
    }
    Next();
    Next();
    const auto written = Written();
    ASSERT_EQ(1u, written.size());
    wxtest::Pnm expected = Cut(left, 0, 120, 0, 240);
    expected.width = 260;
    expected.rows.clear();
    for (long y = 0; y < 240; ++y) {
      const auto l = left.rows.begin() + y * 140, r = right.rows.begin() + y * 140;
      expected.rows.insert(expected.rows.end(), l, l + 120);
      if (clickLeft)
        expected.rows.insert(expected.rows.end(), l + 120, l + 140);
      else
        expected.rows.insert(expected.rows.end(), r, r + 20);
      expected.rows.insert(expected.rows.end(), r + 20, r + 140);
    }
    EXPECT_EQ(0, Differences(written[0], expected));
    fs::remove(written[0]);
  }
}

TEST_F(StitchWizard, AFirstScanThatIsRefusedStartsOverOnANewConnection) {
  Open();
  wxfake::WriteFakeScript(mScript.path(), "name=Another Scanner");
  Answer(900);
  Next();
  EXPECT_EQ(1, mWizard->GetStep());
  EXPECT_EQ(std::vector<std::string>{Item(6)}, alerts);
  EXPECT_EQ(0, CWXUtility::sIsQuellaneOpened);
  EXPECT_TRUE(mWizard->IsEnabled());
  Pages({Fixture(6, 120, 240)}, 24);
  Next();
  EXPECT_EQ(2, mWizard->GetStep()) << "the next try scans";
}

TEST_F(StitchWizard, ASecondScanThatDoesNotStartStaysSilently) {
  Open();
  Pages({Fixture(6, 120, 240)}, 24);
  Next();
  ASSERT_EQ(2, mWizard->GetStep());
  wxfake::WriteFakeScript(mScript.path(), "name=Another Scanner");
  Next();
  EXPECT_EQ(2, mWizard->GetStep());
  EXPECT_TRUE(alerts.empty());
  EXPECT_EQ(0, CWXUtility::sIsQuellaneOpened);
  EXPECT_TRUE(mWizard->IsEnabled());
  EXPECT_NE(nullptr, View()->GetLeftPane());
}

TEST_F(StitchWizard, AHalfThatCannotBeWrittenStepsBack) {
  Open();
  Pages({Fixture(6, 120, 240)}, 24);
  // The raw page fits on the disk; the half's TIFF does not.
  FSTestSetWriteLimit(120 * 240 * 3 + 2000);
  Answer(900);
  Next();
  FSTestSetWriteLimit(-1);
  EXPECT_EQ(1, mWizard->GetStep());
  EXPECT_EQ(std::vector<std::string>{Item(3)}, alerts) << "told once, by the writer";
  EXPECT_EQ(nullptr, View()->GetLeftPane());
  EXPECT_EQ(std::vector<std::string>{}, TempFiles()) << "the half's files are gone";
  Pages({Fixture(6, 120, 240)}, 24);
  Next();
  EXPECT_EQ(2, mWizard->GetStep()) << "the half scanned again";
}

TEST_F(StitchWizard, AFailedSecondMergeHandsOverTheFirstDocumentAlone) {
  Options o;
  o.moreDocuments = 1;
  Open(o);
  const wxtest::Pnm page = Fixture(6, 150, 240);
  ASSERT_NO_FATAL_FAILURE(ScanAndAlign(page, page, 24, 30));
  Next();
  Answer(900);
  Next();
  ASSERT_EQ(1, mWizard->GetStep());
  ASSERT_NO_FATAL_FAILURE(ScanAndAlign(page, page, 24, 30));
  Next();
  Answer(900);
  FSTestSetWriteLimit(1000);
  Next();
  FSTestSetWriteLimit(-1);
  EXPECT_FALSE(WizardOpen());
  EXPECT_EQ(std::vector<MessageT>{'TEnd'}, mCaller->heard);
  EXPECT_EQ(1, mCaller->entries);
  EXPECT_EQ(std::vector<std::string>({Item(7, "1"), Item(3)}), alerts);
  EXPECT_EQ(1u, Written().size());
  EXPECT_EQ(std::vector<std::string>{}, TempFiles());
}

TEST_F(StitchWizard, NoFreeMergedNameFailsTheMerge) {
  for (int n = 1; n <= 9999; ++n) {
    char name[32];
    std::snprintf(name, sizeof(name), "tempcopy0001STT%04d", n);
    std::ofstream(mTemp / name);
  }
  Open();
  const wxtest::Pnm page = Fixture(6, 120, 240);
  ASSERT_NO_FATAL_FAILURE(ScanAndAlign(page, page, 24, 10));
  Next();
  Answer(900);
  Next();
  EXPECT_FALSE(WizardOpen());
  EXPECT_EQ(std::vector<MessageT>{'StCl'}, mCaller->heard);
  EXPECT_EQ(std::vector<std::string>{Item(3)}, alerts);
  EXPECT_EQ(9999u, TempFiles().size()) << "only the names that were there";
}

TEST_F(StitchWizard, AdobeRGBConvertsColourHalvesBeforeTheyAreShown) {
  WX_REQUIRE_COLOR_TOOLS();
  ASSERT_TRUE(wxtest::InstallColordProfiles(env.root()));
  const struct {
    int kind, depth;
    const char* profile;
  } rows[] = {{6, 24, "AdobeRGB1998.icc"}, {5, 8, "sRGB.icc"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.depth);
    Options o;
    o.adobeRGB = 1;
    Open(o);
    const wxtest::Pnm page = Fixture(row.kind, 120, 240);
    Pages({page}, row.depth, "model=sRGB.icc");
    Next();
    Pages({page}, row.depth, "model=sRGB.icc");
    Next();
    Next();
    Next();
    ASSERT_EQ(std::vector<MessageT>{'TEnd'}, mCaller->heard);
    EXPECT_EQ(row.profile, mCaller->profile);
    const auto written = Written();
    ASSERT_EQ(1u, written.size());
    if (row.depth == 24) {
      EXPECT_GT(Differences(written[0], Cut(page, 0, 120, 0, 240)), 0) << "the colours changed";
    }
    fs::remove(written[0]);
  }
}

using StitchWizardOnScreen = wxtest::OnScreen<StitchWizard>;

TEST_F(StitchWizardOnScreen, EachStepAsItIsShown) {
  // A page a person can read: a title, lines of text and a picture across the cut.
  const fs::path drawn = mScript.path() / "document.ppm";
  ASSERT_EQ(0, wxtest::Run("convert -size 260x240 xc:white -fill '#24364f' -pointsize 18 -annotate +20+34 'Stitched page' "
                           "-stroke '#9aa6b5' -draw 'line 20,60 240,60 line 20,80 240,80 line 20,100 200,100' "
                           "-stroke none -fill '#3d7cd6' -draw 'circle 130,170 130,130' -fill '#d9534f' "
                           "-draw 'rectangle 60,200 200,215' -depth 8 'ppm:" + drawn.string() + "'"));
  wxtest::Pnm original;
  ASSERT_TRUE(wxtest::ReadPnm(drawn, &original));
  Open();
  wxtest::ShootDialog(mWizard, "stitch", "wizard-step-1.png");
  Pages({Cut(original, 0, 140, 0, 240)}, 24);
  Next();
  wxtest::ShootDialog(mWizard, "stitch", "wizard-step-2.png");
  Pages({Cut(original, 120, 140, 0, 240)}, 24);
  Next();
  Keys(0x1C, 20);
  wxtest::ShootDialog(mWizard, "stitch", "wizard-step-3.png");
  Next();
  EXPECT_GE(wxtest::ShootDialog(mWizard, "stitch", "wizard-step-4.png"), 0);
}

}  // namespace
