#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "fake/FakePixel.h"
#include "fake/FakeScript.h"
#include "support/TestEnv.h"
#include "toolbox/MacMemory.h"
#include "toolbox/TextUtils.h"
#include "twain/twManager.h"

namespace {

class ManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wxfake::UseFakeSource(mBroken.path().string());
    std::ofstream(mBroken / "broken.so") << "not a shared object";
    PStrFromString("Tester", mApp.ProductName, sizeof mApp.ProductName);
    mLog = wxfake::WriteFakeScript(mScratch.path(), "name=Fake Scanner\nname=Fake Two\nwidth=10\nheight=7\ndepth=8\nblockrows=3");
  }
  void TearDown() override {
    if (mSource.Id != 0 && TWManagerSourceState(mSource.Id) >= 5) {
      TW_PENDINGXFERS pending{};
      Send(&mSource, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
      TW_USERINTERFACE ui{};
      Send(&mSource, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    }
    if (mSource.Id != 0 && TWManagerSourceState(mSource.Id) == 4) Send(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &mSource);
    if (TWManagerState() == 3) Send(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, nullptr);
  }
  TW_UINT16 Send(TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
    return DSM_Entry(&mApp, dest, dg, dat, msg, static_cast<TW_MEMREF>(data));
  }
  TW_UINT16 Condition(TW_IDENTITY* dest) {
    TW_STATUS status{};
    EXPECT_EQ(TWRC_SUCCESS, Send(dest, DG_CONTROL, DAT_STATUS, MSG_GET, &status));
    return status.ConditionCode;
  }
  void OpenFakeSource() {
    ASSERT_EQ(TWRC_SUCCESS, Send(nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, nullptr));
    PStrFromString("Fake Scanner", mSource.ProductName, sizeof mSource.ProductName);
    ASSERT_EQ(TWRC_SUCCESS, Send(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &mSource));
    ASSERT_NE(0u, mSource.Id);
  }
  TW_UINT16 ProcessNullEvent(TW_UINT16* message) {
    TW_EVENT event{nullptr, 0xFFFF};
    TW_UINT16 rc = Send(&mSource, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
    *message = event.TWMessage;
    return rc;
  }

  wxtest::ScratchDir mScratch, mBroken;
  std::filesystem::path mLog;
  TW_IDENTITY mApp{}, mSource{};
};

TEST_F(ManagerTest, ListsEverySourceUntilEndOfListAndAcceptsASecondOpen) {
  ASSERT_EQ(TWRC_SUCCESS, Send(nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, nullptr));
  ASSERT_EQ(TWRC_SUCCESS, Send(nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, nullptr));
  std::vector<std::string> names;
  TW_IDENTITY id{};
  TW_UINT16 rc = Send(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &id);
  while (rc == TWRC_SUCCESS) {
    names.push_back(PStrToString(id.ProductName));
    EXPECT_NE(0u, id.Id);
    rc = Send(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, &id);
  }
  EXPECT_EQ(TWRC_ENDOFLIST, rc);
  EXPECT_EQ((std::vector<std::string>{"Fake Scanner", "Fake Two"}), names);
  EXPECT_EQ(3, TWManagerState());
}

TEST_F(ManagerTest, OpeningAnUnknownSourceFailsWithNoSource) {
  ASSERT_EQ(TWRC_SUCCESS, Send(nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, nullptr));
  TW_IDENTITY wanted{};
  PStrFromString("No Such Scanner", wanted.ProductName, sizeof wanted.ProductName);
  EXPECT_EQ(TWRC_FAILURE, Send(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &wanted));
  EXPECT_EQ(TWCC_NODS, Condition(nullptr));
}

TEST_F(ManagerTest, AScannerAttachedAfterTheListingOpensByName) {
  OpenFakeSource();
  ASSERT_EQ(TWRC_SUCCESS, Send(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &mSource));
  const TW_UINT32 firstId = mSource.Id;
  wxfake::WriteFakeScript(mScratch.path(), "name=Fake Scanner\nname=Fake Three\nwidth=10\nheight=7\ndepth=8");
  TW_IDENTITY attached{};
  PStrFromString("Fake Three", attached.ProductName, sizeof attached.ProductName);
  ASSERT_EQ(TWRC_SUCCESS, Send(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &attached));
  EXPECT_EQ("Fake Three", PStrToString(attached.ProductName));
  ASSERT_EQ(TWRC_SUCCESS, Send(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &attached));
  mSource = TW_IDENTITY{};
  PStrFromString("Fake Scanner", mSource.ProductName, sizeof mSource.ProductName);
  ASSERT_EQ(TWRC_SUCCESS, Send(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &mSource));
  EXPECT_EQ(firstId, mSource.Id) << "a source keeps its Id across listings";
}

TEST_F(ManagerTest, SourceMessagesBeforeTheManagerOpensAreRefused) {
  TW_IDENTITY someone{};
  someone.Id = 1;
  TW_USERINTERFACE ui{};
  EXPECT_EQ(TWRC_FAILURE, Send(&someone, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui));
  EXPECT_EQ(TWCC_SEQERROR, Condition(nullptr));
}

TEST_F(ManagerTest, WalksTheStatesOfOneTransferAndAcceptsANullEvent) {
  OpenFakeSource();
  EXPECT_EQ(4, TWManagerSourceState(mSource.Id));
  TW_USERINTERFACE ui{0, 1, nullptr};
  ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui));
  EXPECT_EQ(5, TWManagerSourceState(mSource.Id));
  TW_UINT16 message = 0;
  EXPECT_EQ(TWRC_DSEVENT, ProcessNullEvent(&message));
  EXPECT_EQ(MSG_XFERREADY, message);
  EXPECT_EQ(6, TWManagerSourceState(mSource.Id));

  TW_IMAGEINFO info{};
  ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info));
  EXPECT_EQ(10, info.ImageWidth);
  EXPECT_EQ(7, info.ImageLength);
  std::vector<char> buffer(1024);
  int rows = 0;
  TW_UINT16 rc = TWRC_SUCCESS;
  while (rc == TWRC_SUCCESS) {
    TW_IMAGEMEMXFER xfer{};
    xfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, static_cast<TW_UINT32>(buffer.size()), buffer.data()};
    rc = Send(&mSource, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer);
    ASSERT_TRUE(rc == TWRC_SUCCESS || rc == TWRC_XFERDONE);
    EXPECT_EQ(7, TWManagerSourceState(mSource.Id));
    EXPECT_EQ(FakePixel(1, rows, 0), static_cast<unsigned char>(buffer[0]));
    rows += xfer.Rows;
  }
  EXPECT_EQ(7, rows);
  TW_PENDINGXFERS pending{};
  ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending));
  EXPECT_EQ(0, pending.Count);
  EXPECT_EQ(5, TWManagerSourceState(mSource.Id));
  ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui));
  ASSERT_EQ(TWRC_SUCCESS, Send(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &mSource));
  EXPECT_EQ(0, TWManagerSourceState(mSource.Id));
  EXPECT_NE(std::string::npos, wxfake::ReadLog(mLog).find("0001 0002 0601 event=null rc=4"));
}

struct OutOfSequence {
  const char* what;
  TW_UINT32 dg;
  TW_UINT16 dat, msg;
};

TEST_F(ManagerTest, RefusesMessagesOutOfTheirStateWithASequenceError) {
  OpenFakeSource();
  TW_IMAGEMEMXFER xfer{};
  TW_PENDINGXFERS pending{};
  TW_USERINTERFACE ui{};
  TW_IMAGEINFO info{};
  const OutOfSequence cases[] = {
      {"transfer before enabling", DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET},
      {"image info before enabling", DG_IMAGE, DAT_IMAGEINFO, MSG_GET},
      {"end of transfer before enabling", DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER},
      {"disable before enabling", DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS},
  };
  void* data[] = {&xfer, &info, &pending, &ui};
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].what);
    EXPECT_EQ(TWRC_FAILURE, Send(&mSource, cases[i].dg, cases[i].dat, cases[i].msg, data[i]));
    EXPECT_EQ(TWCC_SEQERROR, Condition(&mSource));
  }
  ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui));
  Handle h = NewHandleClear(sizeof(TW_ONEVALUE));
  *reinterpret_cast<TW_ONEVALUE*>(*h) = TW_ONEVALUE{TWTY_UINT16, 1};
  TW_CAPABILITY cap{ICAP_PIXELTYPE, TWON_ONEVALUE, h};
  EXPECT_EQ(TWRC_FAILURE, Send(&mSource, DG_CONTROL, DAT_CAPABILITY, MSG_SET, &cap));
  DisposeHandle(h);
  EXPECT_EQ(TWCC_SEQERROR, Condition(&mSource));
  EXPECT_EQ(TWRC_FAILURE, Send(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &mSource));
  EXPECT_EQ(TWRC_FAILURE, Send(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, nullptr));
  EXPECT_EQ(std::string::npos, wxfake::ReadLog(mLog).find("0002 0103"));
}

TEST_F(ManagerTest, ResetInTheMiddleOfAPageReturnsTheSourceToEnabled) {
  OpenFakeSource();
  TW_USERINTERFACE ui{0, 1, nullptr};
  ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui));
  TW_UINT16 message = 0;
  ProcessNullEvent(&message);
  std::vector<char> buffer(64);
  TW_IMAGEMEMXFER xfer{};
  xfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, static_cast<TW_UINT32>(buffer.size()), buffer.data()};
  ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer));
  TW_PENDINGXFERS pending{};
  ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending));
  EXPECT_EQ(5, TWManagerSourceState(mSource.Id));
}

}  // namespace
