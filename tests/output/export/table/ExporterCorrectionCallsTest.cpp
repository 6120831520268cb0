// The exporter's straightening road against the recording stand-in of the framework: what
// the framework is told about the page's language.
#include <gtest/gtest.h>

#include "output/export/CFileExporter.h"
#include "tests/output/glue/FakePaginor.h"
#include "tests/output/glue/GlueTestEnv.h"

namespace {

namespace fs = std::filesystem;

class ExporterCorrectionCalls : public gluetest::GlueTest {
 protected:
  void SetUp() override {
    GlueTest::SetUp();
    WX_REQUIRE_TOOL("convert");
    fakepaginor::Reset();
  }
  void TearDown() override {
    fakepaginor::Reset();
    GlueTest::TearDown();
  }
};

TEST_F(ExporterCorrectionCalls, EachLanguageReachesTheFrameworkWithItsOwnCodePageClass) {
  const struct {
    const char* language;
    long item;  // of the OCR language popup
    long cls;
  } rows[] = {{"English", 1, 0}, {"Russian", 8, 3}, {"Polish", 9, 1}, {"Czech", 10, 1}, {"Hungarian", 11, 1}};
  const fs::path tif = root() / "page.tif";
  for (const auto& row : rows) {
    SCOPED_TRACE(row.language);
    ASSERT_EQ(0, wxtest::Run("convert -size 40x30 xc:gray60 -type grayscale -depth 8 -units PixelsPerInch -density 150 -compress none "
                             "-define tiff:rows-per-strip=30 '" + tif.string() + "'"));
    fakepaginor::Reset();
    CFileExporter exporter;
    const FSSpec page = Spec(tif);
    exporter.SetParam('TIFF', page, page, 8, 40, 30, 150 << 16, 2, 'Wndx', 0);
    std::string note;
    ExpectDialog(2, 1, &note);
    EXPECT_EQ(1, exporter.SlantCorrectTIFF('TIFF', 1, 0, row.item));
    const auto modes = fakepaginor::CallsNamed("exmodeset");
    ASSERT_EQ(1u, modes.size());
    EXPECT_EQ(row.cls, modes[0].args[2]);
  }
}

}  // namespace
