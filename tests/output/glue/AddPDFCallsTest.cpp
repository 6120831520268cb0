// CAddPDFFile's calls to the framework and its scratch names, against the recording stand-in.
#include <gtest/gtest.h>

#include <cstdio>

#include "output/glue/CAddPDFFile.h"
#include "tests/output/glue/FakePaginor.h"
#include "tests/output/glue/GlueTestEnv.h"

namespace {

using fakepaginor::CallsNamed;
using gluetest::GlueTest;
using gluetest::Item;
namespace fs = std::filesystem;

class AddPDFCalls : public GlueTest {
 protected:
  void SetUp() override {
    GlueTest::SetUp();
    fakepaginor::Reset();
    fs::create_directories(work);
    wxtest::WriteBytes(pdf, {'%', 'P', 'D', 'F'});
  }
  fs::path work = root() / "work";
  fs::path pdf = work / "chosen.pdf";
};

TEST_F(AddPDFCalls, TheScratchCopyTakesTheFirstFreeSerial) {
  const fs::path temp = TempFolder();
  wxtest::WriteBytes(temp / "Temp.PDF", {1});
  wxtest::WriteBytes(temp / "Temp0001.PDF", {2});
  FSSpec spec = Spec(pdf);
  EXPECT_EQ(CAddPDFFile::CheckPDFFile(spec), 1);
  const auto opens = CallsNamed("VESK_open");
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].path, (temp / "Temp0002.PDF").string());
  EXPECT_EQ(opens[0].args, std::vector<long>{0});
  EXPECT_EQ(CallsNamed("VESK_close").size(), 1u);
  EXPECT_EQ(Names(temp), (std::vector<std::string>{"Temp.PDF", "Temp0001.PDF"}));
}

TEST_F(AddPDFCalls, WithEveryScratchNameTakenTheCheckStops) {
  const fs::path temp = TempFolder();
  wxtest::WriteBytes(temp / "Temp.PDF", {1});
  for (int serial = 1; serial <= 9999; ++serial) {
    char name[16];
    std::snprintf(name, sizeof name, "Temp%04d.PDF", serial);
    std::fclose(std::fopen((temp / name).c_str(), "wb"));
  }
  FSSpec spec = Spec(pdf);
  std::string shown;
  ExpectDialog('TXMS', 900, &shown);
  EXPECT_EQ(CAddPDFFile::CheckPDFFile(spec), 0);
  EXPECT_EQ(shown, Item(400, 33));
  EXPECT_TRUE(fakepaginor::Get().calls.empty());
}

TEST_F(AddPDFCalls, TheFrameworksRefusalPicksTheItem) {
  for (const auto& [status, item] : {std::pair{OSErr(kPaginorCannotAppendErr), 35}, std::pair{OSErr(ioErr), 33}}) {
    fakepaginor::Reset();
    fakepaginor::Get().veskOpenResult = status;
    FSSpec spec = Spec(pdf);
    std::string shown;
    ExpectDialog('TXMS', 900, &shown);
    EXPECT_EQ(CAddPDFFile::CheckPDFFile(spec), 0);
    EXPECT_EQ(shown, Item(400, static_cast<SInt16>(item)));
    EXPECT_TRUE(CallsNamed("VESK_close").empty());
    EXPECT_TRUE(fs::is_empty(TempFolder()));
  }
}

TEST_F(AddPDFCalls, AFailedAddIsAFailureEvenWhenTheCloseSucceeds) {
  const fs::path source = work / "pages.pdf";
  FSSpec target = Spec(pdf), from = Spec(source);
  {
    CAddPDFFile add(target, from);
    fakepaginor::Get().veskAddResult = paramErr;
    EXPECT_EQ(add.AddToSourceFile(), 0);
    EXPECT_EQ(add.Error(), paramErr);
  }
  std::vector<std::string> order;
  for (const auto& call : fakepaginor::Get().calls) order.push_back(call.name);
  EXPECT_EQ(order, (std::vector<std::string>{"VESK_open", "VESK_addPDF", "VESK_close"}));
  EXPECT_EQ(CallsNamed("VESK_open")[0].path, pdf.string());
  EXPECT_EQ(CallsNamed("VESK_addPDF")[0].path, source.string());

  fakepaginor::Reset();
  CAddPDFFile add(target, from);
  EXPECT_EQ(add.AddToSourceFile(), 1);
  EXPECT_EQ(add.Error(), 0);
  fakepaginor::Get().veskCloseResult = dskFulErr;
  EXPECT_EQ(add.AddToSourceFile(), 0);
  EXPECT_EQ(add.Error(), dskFulErr);
}

}  // namespace
