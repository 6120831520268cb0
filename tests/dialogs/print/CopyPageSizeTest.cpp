#include "dialogs/print/CopyPageSize.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output/formats/mtTIFF.h"
#include "support/TestEnv.h"
#include "toolbox/MacErrors.h"

namespace {

// A grey page as the export writes it.
FSSpec WriteGrayTIFF(const std::string& path, unsigned long width, unsigned long height, unsigned long dpi) {
  MTHandle file = MTOpen(path.c_str(), "w");
  EXPECT_NE(nullptr, file);
  const unsigned long fields[][2] = {{kMTImageWidth, width}, {kMTImageLength, height}, {kMTBitsPerSample, 8},
                                     {kMTCompression, 1},    {kMTPhotometric, 1},      {kMTOrientation, 1},
                                     {kMTSamplesPerPixel, 1}, {kMTRowsPerStrip, height}};
  for (const auto& f : fields) EXPECT_EQ(1, MTSetField(file, f[0], f[1]));
  EXPECT_EQ(1, MTSetField(file, kMTXResolution, dpi, 1));
  EXPECT_EQ(1, MTSetField(file, kMTYResolution, dpi, 1));
  EXPECT_EQ(1, MTSetField(file, kMTPlanarConfig, 1));
  EXPECT_EQ(1, MTSetField(file, kMTResolutionUnit, 2));
  std::vector<unsigned char> row(width, 0);
  for (unsigned long y = 0; y < height; ++y) EXPECT_EQ(1, MTWriteScanline(file, row.data(), y));
  EXPECT_NE(0, MTClose(file));
  FSSpec spec{};
  EXPECT_EQ(noErr, FSpMakeFromPOSIXPath(path, &spec));
  return spec;
}

bool operator==(const CopyPageSize& a, const CopyPageSize& b) {
  return a.width == b.width && a.height == b.height && a.resolution == b.resolution;
}

TEST(CopyPageSize, AFailedPageDoesNotShiftTheSizesOfThePagesAfterIt) {
  wxtest::ScratchDir dir;
  // The scan had three pages; the second was not written.
  const std::vector<CopyPageSize> scanned = {{40, 30, 300}, {99, 99, 600}, {20, 10, 150}};
  std::vector<FSSpec> files = {WriteGrayTIFF((dir.path() / "tempcopy1.tif").string(), 40, 30, 300),
                               WriteGrayTIFF((dir.path() / "tempcopy3.tif").string(), 20, 10, 150)};
  std::vector<CopyPageSize> sizes = CopyPageSizes(files, scanned);
  ASSERT_EQ(2u, sizes.size());
  EXPECT_TRUE(sizes[0] == scanned[0]);
  EXPECT_TRUE(sizes[1] == scanned[2]);

  files.push_back(files[0]);
  EXPECT_TRUE(CopyPageSizes(files, scanned)[1] == scanned[1]);  // every page written: in step
}

TEST(CopyPageSize, AFileThatIsNoPageGivesNoSize) {
  wxtest::ScratchDir dir;
  std::string path = (dir.path() / "tempcopy1.tif").string();
  wxtest::WriteBytes(path, {'n', 'o', 'n', 'e'});
  FSSpec spec{};
  ASSERT_EQ(noErr, FSpMakeFromPOSIXPath(path, &spec));
  CopyPageSize size;
  EXPECT_FALSE(ReadCopyPageSize(spec, &size));
  EXPECT_EQ(0, CopyPageSizes({spec}, {}).at(0).resolution);
}

}  // namespace
