#include <gtest/gtest.h>

#include <regex>

#include "FakeScan.h"
#include "scanner/RawScanFile.h"
#include "toolbox/TextUtils.h"
#include "twain/twManager.h"

namespace wxscan {
namespace {

class CTWAINTest : public FakeScanTest {};

TEST_F(CTWAINTest, SeveralPendingPagesLandAsOneRawFileEach) {
  Scan("width=10\nheight=7\ndepth=8\nblockrows=3\npages=3");
  EXPECT_EQ(0, mTwain->GetResult());
  ASSERT_EQ(3, mTwain->GetImageCount());
  ASSERT_EQ(3, mTwain->GetTempFileArray()->GetCount());
  for (ArrayIndexT i = 1; i <= 3; ++i) {
    FSSpec spec{};
    TW_IMAGEINFO info{};
    mTwain->GetTempFileArray()->FetchItemAt(i, spec);
    mTwain->GetImageInfoArray()->FetchItemAt(i, info);
    EXPECT_EQ(10, info.ImageWidth);
    EXPECT_EQ(8, info.BitsPerPixel);
    std::string name = PStrToString(spec.name);
    EXPECT_TRUE(std::regex_match(name, std::regex("tmp[0-9]{5}\\.dat"))) << name;
    EXPECT_EQ(ExpectedFile(i, 10, 8, 7), wxtest::ReadBytes(PathOf(spec))) << "page " << i;
    FInfo finfo{};
    ASSERT_EQ(noErr, FSpGetFInfo(&spec, &finfo));
    EXPECT_EQ(kRawScanCreator, finfo.fdCreator);
    EXPECT_EQ(kRawScanType, finfo.fdType);
  }
  ConstStringPtr model = mTwain->GetModelString();
  EXPECT_EQ("FAKE-MODEL", PStrToString(model));
}

struct Geometry {
  int width, depth, pad;
  const char* buffer = "";  // the source's buffer sizes
};

TEST_F(CTWAINTest, RowsAreWrittenAtTheirOwnLengthWhateverTheSourcePads) {
  const Geometry cases[] = {{101, 24, 3}, {101, 24, 0}, {10, 1, 5}, {9, 1, 0}, {33, 8, 2},
                            {1654, 24, 0},  // an A4 row at 200 dpi: wider than the default buffer
                            // a source preferring less than a padded row, which it cannot fill
                            {1654, 24, 3, "min_buffer=1024\nbuffer=1024\n"}};
  for (const Geometry& g : cases) {
    SCOPED_TRACE(testing::Message() << g.width << "x" << g.depth << " pad " << g.pad << " " << g.buffer);
    Scan(std::string(g.buffer) + "height=9\nblockrows=4\nwidth=" + std::to_string(g.width) +
         "\ndepth=" + std::to_string(g.depth) + "\npad=" + std::to_string(g.pad));
    ASSERT_EQ(1, mTwain->GetImageCount());
    FSSpec spec{};
    mTwain->GetTempFileArray()->FetchItemAt(1, spec);
    EXPECT_EQ(ExpectedFile(1, g.width, g.depth, 9), wxtest::ReadBytes(PathOf(spec)));
  }
}

TEST_F(CTWAINTest, BlockClaimingMoreRowsThanItHoldsWritesOnlyTheRowsItHolds) {
  Scan("width=16\nheight=10\ndepth=8\nblockrows=3\nextra_rows=50");
  ASSERT_EQ(1, mTwain->GetImageCount());
  FSSpec spec{};
  mTwain->GetTempFileArray()->FetchItemAt(1, spec);
  EXPECT_EQ(ExpectedFile(1, 16, 8, 10), wxtest::ReadBytes(PathOf(spec)));
}

TEST_F(CTWAINTest, CancelledPageKeepsTheCancelCodeAndLeavesNoFile) {
  Scan("width=8\nheight=4\ncancel_page=1");
  EXPECT_EQ(TWRC_CANCEL, mTwain->GetResult());
  EXPECT_EQ(0, mTwain->GetImageCount());
  EXPECT_EQ(0u, FilesIn(mTemp.path()));
}

struct Failure {
  const char* what;
  const char* script;
  unsigned short condition;  // the source's own reason, kept for the alert; 0 for ours
};

TEST_F(CTWAINTest, AFailedTransferResetsTheSourceBeforeItEnds) {
  const Failure cases[] = {
      {"error at a block", "width=8\nheight=20\nblockrows=2\nerror_block=3", TWCC_OPERATIONERROR},
      {"stalled source", "width=8\nheight=20\nstall=1", 0},
      {"image information refused", "width=8\nheight=20\nimageinfo_fail=1", TWCC_OPERATIONERROR},
      {"deep image", "width=8\nheight=20\ndepth=48", 0},
  };
  for (const Failure& c : cases) {
    SCOPED_TRACE(c.what);
    Scan(c.script);
    EXPECT_EQ(1, mTwain->GetResult());
    EXPECT_EQ(0, mTwain->GetImageCount());
    EXPECT_EQ(c.condition, mTwain->GetSourceCondition());
    std::string log = Log();
    EXPECT_NE(std::string::npos, log.find("0001 0005 0007 rc=0")) << log;
    mTwain->DisableDS();
    EXPECT_NE(std::string::npos, Log().find("0001 0009 0501 rc=0"));
  }
  EXPECT_EQ(1, mTwain->IsDeepImage());
}

TEST_F(CTWAINTest, AFullDiskEndsTheScanWithAnErrorAndResetsTheSource) {
  Open("width=8\nheight=20\nblockrows=2");
  ASSERT_EQ(1, mTwain->Scan());
  FSTestSetWriteLimit(50);
  bool done = PumpUntilDone(sApp, *mTwain);
  FSTestSetWriteLimit(-1);
  ASSERT_TRUE(done);
  EXPECT_EQ(1, mTwain->GetResult());
  EXPECT_EQ(0, mTwain->GetImageCount());
  EXPECT_NE(std::string::npos, Log().find("0001 0005 0007 rc=0"));
}

TEST_F(CTWAINTest, TheNextScanWorksAfterAFailedOne) {
  Scan("width=8\nheight=20\nblockrows=2\nerror_block=2");
  ASSERT_EQ(1, mTwain->GetResult());
  mTwain->DisableDS();
  Scan("width=8\nheight=20\nblockrows=2");
  EXPECT_EQ(0, mTwain->GetResult());
  EXPECT_EQ(0, mTwain->GetSourceCondition()) << "a new scan forgets the last one's fault";
  EXPECT_EQ(1, mTwain->GetImageCount());
}

struct Limit {
  unsigned char showUI;
  long expectedPages;
};

TEST_F(CTWAINTest, PDFRowLimitHoldsOnlyWithTheSourcesOwnInterface) {
  for (const Limit& l : {Limit{1, 0}, Limit{0, 1}}) {
    SCOPED_TRACE(testing::Message() << "interface shown " << int(l.showUI));
    ScanSettings settings;
    settings.fileType = 'PDF ';
    settings.showUI = l.showUI;
    Scan("width=2\nheight=6001\ndepth=8\nblockrows=6001\nbuffer=16000", settings);
    EXPECT_EQ(l.expectedPages, mTwain->GetImageCount());
    EXPECT_EQ(l.showUI, mTwain->IsImageResOver());
  }
}

TEST_F(CTWAINTest, CloseRequestFromTheSourceEndsTheScan) {
  Scan("close_request=1");
  EXPECT_EQ(1, mTwain->GetResult());
  EXPECT_NE(std::string::npos, Log().find("0001 0003 0402 rc=0"));
}

int gIdleCalls = 0;
void CountIdle() { ++gIdleCalls; }

TEST_F(CTWAINTest, OnlyEventMessagesReachTheSourceAndTheIdleHookIsOptional) {
  ScanSettings settings;
  settings.showUI = 1;
  Open("width=4\nheight=2", settings);
  mTwain->SetActive(1);
  sApp.ExecuteAttachments(msg_Click, nullptr);
  sApp.ExecuteAttachments(msg_KeyPress, &settings);
  EXPECT_EQ(std::string::npos, Log().find("0001 0002 0601"));
  ASSERT_EQ(1, mTwain->Scan());
  ASSERT_TRUE(PumpUntilDone(sApp, *mTwain));  // no idle hook: nothing is called
  mTwain->Scan_Continue();
  mTwain->SetIdleHook(CountIdle);
  gIdleCalls = 0;
  MainLoopPass(sApp);
  EXPECT_EQ(1, gIdleCalls);
}

TEST_F(CTWAINTest, ListingTheSourcesLeavesTheManagerOpen) {
  wxfake::WriteFakeScript(mScripts.path(), "name=Fake Scanner\nname=Other");
  std::unique_ptr<TArray<TW_IDENTITY>> list(CTWAIN::Get_DataSources());
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(2, list->GetCount());
  EXPECT_EQ(3, TWManagerState());
}

TEST_F(CTWAINTest, ColourMatchingAskedBeforeASourceIsOpenIsSentOnceItOpens) {
  mLog = wxfake::WriteFakeScript(mScripts.path(), "width=4");
  mTwain = std::make_unique<CTWAIN>();
  EXPECT_EQ(0, mTwain->EnableColorMatching(1));
  unsigned char name[33];
  PStrFromString("Fake Scanner", name, sizeof name);
  ASSERT_EQ(1, mTwain->SetDriverAndOpen(name));
  EXPECT_NE(std::string::npos, Log().find("cap=83ED con=5 type=4 value=0 rc=0"));
}

TEST_F(CTWAINTest, ModelStringIsTakenOnlyFromAStringOneValue) {
  Scan("width=4\nheight=2\nmodel=ABC\nmodel_type=4");
  EXPECT_EQ(1, mTwain->GetImageCount());
  EXPECT_EQ(0, mTwain->GetModelString().Length());
}

TEST_F(CTWAINTest, ConvertedPagesTakeTheirNewProfileName) {
  Scan("width=4\nheight=2\nmodel=sRGB.icc");
  mTwain->SetModelString(reinterpret_cast<const unsigned char*>("\x10" "AdobeRGB1998.icc"));
  EXPECT_EQ(PStrToString(mTwain->GetModelString()), "AdobeRGB1998.icc");
  EXPECT_EQ(1, mTwain->GetImageCount()) << "the pages stay as they are";
}

}  // namespace
}  // namespace wxscan
