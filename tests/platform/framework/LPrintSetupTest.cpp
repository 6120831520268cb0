// Print specifications and sessions: specs start empty, take the current printer's defaults in
// their first session, keep their own values across sessions, and sessions close on every exit.
#include "framework/LPrintSetup.h"

#include <gtest/gtest.h>

#include "framework/LException.h"
#include "framework/StPrintSession.h"
#include "support/PrinterEnvironment.h"
#include "support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

class PrintSpec : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir / "prints"); }
  wxtest::ScratchDir dir;
  wxtest::PrinterEnvironment env{(dir / "prints").string(), (dir / "no-cups.sock").string()};
};

TEST_F(PrintSpec, IsEmptyUntilItsFirstSession) {
  LPrintSpec spec;
  EXPECT_FALSE(spec.IsValid());
  Rect page;
  spec.GetPageRect(page);
  EXPECT_TRUE(page.right == 0 && page.bottom == 0);
  EXPECT_THROW(spec.GetPageFormat(), LException);
  {
    StPrintSession session(spec);
    EXPECT_NE(spec.GetPrintSession(), nullptr);
    EXPECT_NE(spec.GetPageFormat(), nullptr);
  }
  EXPECT_EQ(spec.GetPrintSession(), nullptr);
  EXPECT_TRUE(spec.IsValid());
  spec.GetPageRect(page);
  Rect paper;
  spec.GetPaperRect(paper);
  EXPECT_EQ(page.top, 0);
  EXPECT_EQ(page.left, 0);
  EXPECT_GT(page.right, 2000) << "a sheet at 300 dpi";
  EXPECT_EQ(paper.right - paper.left, page.right) << "the folder printer prints the whole sheet";
}

TEST_F(PrintSpec, TwoSpecsKeepTheirOwnValuesAcrossSessions) {
  LPrintSpec copy, layout;
  for (int round = 0; round < 3; ++round) {
    StPrintSession a(copy);
    StPrintSession b(layout);
    if (round == 0) {
      copy.SetPrintJobParams(1, 1, 4);
      layout.SetPrintJobParams(2, 5, 1);
      PMSetOrientation(layout.GetPageFormat(), kPMLandscape, false);
    }
    UInt32 first, last, copies;
    copy.GetPrintJobParams(first, last, copies);
    EXPECT_EQ(copies, 4u);
    layout.GetPrintJobParams(first, last, copies);
    EXPECT_EQ(first, 2u);
    EXPECT_EQ(last, 5u);
    Rect copyPage, layoutPage;
    copy.GetPageRect(copyPage);
    layout.GetPageRect(layoutPage);
    EXPECT_EQ(copyPage.right, layoutPage.bottom) << "the layout's sheet lies turned";
  }
}

TEST_F(PrintSpec, ASessionClosesWhenAnExceptionLeavesItsScope) {
  LPrintSpec spec;
  try {
    StPrintSession session(spec);
    EXPECT_TRUE(spec.IsInSession());
    Throw_(err_NilPointer);
  } catch (const LException&) {
  }
  EXPECT_FALSE(spec.IsInSession());
  EXPECT_EQ(spec.GetPrintSession(), nullptr);
}

TEST_F(PrintSpec, NestedSessionsShareOneOpenSession) {
  LPrintSpec spec;
  StPrintSession outer(spec);
  PMPrintSession first = spec.GetPrintSession();
  {
    StPrintSession inner(spec);
    EXPECT_EQ(spec.GetPrintSession(), first);
  }
  EXPECT_EQ(spec.GetPrintSession(), first);
}

TEST(PrintSpecWithoutPrinter, DefaultsThrowTheNoPrinterError) {
  wxtest::ScratchDir dir;
  wxtest::PrinterEnvironment env("", (dir / "no-cups.sock").string());
  LPrintSpec spec;
  StPrintSession session(spec);
  try {
    spec.GetPageFormat();
    FAIL() << "no exception";
  } catch (const LException& e) {
    EXPECT_EQ(e.GetErrorCode(), kPMNoDefaultPrinter);
  }
  EXPECT_FALSE(spec.IsValid());
}

}  // namespace
