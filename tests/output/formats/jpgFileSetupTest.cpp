#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "jpeg/jpgWCore.h"
#include "jpeg/jpgWMac.h"
#include "output/formats/jpgFileSetup.h"
#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace {

struct Page {
  std::vector<uint8_t> pixels;
  _complibImageRect rect;
  Page(int width, int height, int channels) : pixels(size_t(width) * height * channels) {
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>((i * 7) ^ (i / 97));
    rect = _complibImageRect{width, height, width * channels, 8 * channels, channels, 8, pixels.data()};
  }
};

FSSpec SpecFor(const std::filesystem::path& p) {
  FSSpec spec{};
  OSErr err = FSpMakeFromPOSIXPath(p.string(), &spec);
  EXPECT_TRUE(err == noErr || err == fnfErr);
  return spec;
}

// The exporter's road: set up, 16-line strips, finish.
long Export(const std::filesystem::path& path, Page& page, int quality, char* comment, long resolution) {
  FSSpec spec = SpecFor(path);
  void* ctx = nullptr;
  long result = SettingForEncodeJpeg(&page.rect, &spec, page.rect.channels, quality, 0x221111, 0, comment, &ctx,
                                     resolution);
  if (result) return result;
  _complibImageRect strip = page.rect;
  for (int y = 0; y < page.rect.height; y += 16) {
    strip.data = page.pixels.data() + size_t(y) * page.rect.rowBytes;
    int lines = page.rect.height - y < 16 ? page.rect.height - y : 16;
    if (jpgWriteFromRect(ctx, &strip, lines)) {
      jpgWriteEpilogToFile(ctx);
      return -1;
    }
  }
  return jpgWriteEpilogToFile(ctx);
}

}  // namespace

TEST(JpegFileSetup, JfifDensityBytes) {
  uint8_t body[kJfifBodySize];
  MakeJfifBody(300, body);
  EXPECT_EQ(std::vector<uint8_t>(body, body + kJfifBodySize),
            (std::vector<uint8_t>{'J', 'F', 'I', 'F', 0, 1, 1, 1, 1, 44, 1, 44, 0, 0}));
  MakeJfifBody(70000, body);
  EXPECT_EQ(body[8], 255);
  EXPECT_EQ(body[9], 70000 % 256);
}

TEST(JpegFileSetup, AnEmptyCommentFileBeginsWithSoiAndApp0) {
  wxtest::ScratchDir dir;
  Page page(50, 37, 3);
  char empty[] = "";
  ASSERT_EQ(Export(dir / "scan.jpg", page, 90, empty, 300), 0);
  std::vector<uint8_t> bytes = wxtest::ReadBytes(dir / "scan.jpg");
  ASSERT_GT(bytes.size(), 40u);
  const std::vector<uint8_t> head = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 1, 1, 1, 44, 1, 44, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(head.size())), head);
  // Quality 90 stays the encoder's default: K.1's first entry 16 becomes 3.
  EXPECT_EQ(bytes[20], 0xFF);
  EXPECT_EQ(bytes[21], 0xDB);
  EXPECT_EQ(bytes[25], 3);
  FInfo info{};
  FSSpec spec = SpecFor(dir / "scan.jpg");
  ASSERT_EQ(FSpGetFInfo(&spec, &info), noErr);
  EXPECT_EQ(info.fdType, OSType('JPEG'));
  EXPECT_EQ(info.fdCreator, OSType('prvw'));
  if (wxtest::HaveTool("djpeg")) {
    std::string out;
    EXPECT_EQ(wxtest::Run("djpeg -pnm '" + (dir / "scan.jpg").string() + "' > /dev/null", &out), 0) << out;
  }
  std::filesystem::copy_file(dir / "scan.jpg", wxtest::OutputDir("jpeg") / "exporter_setup.jpg",
                             std::filesystem::copy_options::overwrite_existing);
}

TEST(JpegFileSetup, ACommentComesBeforeApp0AndTheQualityIsSet) {
  wxtest::ScratchDir dir;
  Page page(20, 20, 1);
  char comment[] = "scanned";
  ASSERT_EQ(Export(dir / "c.jpg", page, 50, comment, 72), 0);
  std::vector<uint8_t> bytes = wxtest::ReadBytes(dir / "c.jpg");
  ASSERT_GT(bytes.size(), 30u);
  EXPECT_EQ(bytes[2], 0xFF);
  EXPECT_EQ(bytes[3], 0xFE);
  EXPECT_EQ(std::string(bytes.begin() + 6, bytes.begin() + 13), "scanned");
  EXPECT_EQ(bytes[13], 0xFF);
  EXPECT_EQ(bytes[14], 0xE0);
  // DQT at quality 50: K.1 unchanged.
  EXPECT_EQ(bytes[13 + 18 + 5], 16);
}

TEST(JpegFileSetup, AnImageOfHeightZeroIsRefusedAndLeavesNoFile) {
  wxtest::ScratchDir dir;
  Page page(20, 20, 3);
  page.rect.height = 0;
  FSSpec spec = SpecFor(dir / "empty.jpg");
  void* ctx = reinterpret_cast<void*>(1);
  EXPECT_EQ(SettingForEncodeJpeg(&page.rect, &spec, 3, 70, 0x221111, 0, nullptr, &ctx, 300), 1);
  EXPECT_EQ(ctx, nullptr);
  EXPECT_FALSE(std::filesystem::exists(dir / "empty.jpg"));
}

TEST(JpegFileSetup, BadSettingsCloseTheEncoder) {
  wxtest::ScratchDir dir;
  Page page(20, 20, 3);
  FSSpec spec = SpecFor(dir / "bad.jpg");
  void* ctx = nullptr;
  EXPECT_EQ(SettingForEncodeJpeg(&page.rect, &spec, 3, 0, 0x221111, 0, nullptr, &ctx, 300),
            static_cast<long>(kJpgBadParameter));
  EXPECT_EQ(SettingForEncodeJpeg(&page.rect, &spec, 3, 70, 0x511111, 0, nullptr, &ctx, 300),
            static_cast<long>(kJpgBadParameter));
  EXPECT_FALSE(std::filesystem::exists(dir / "bad.jpg"));
}

TEST(JpegFileSetup, AWholeRectangleInStripsOf256Lines) {
  wxtest::ScratchDir dir;
  Page page(33, 300, 3);
  FSSpec spec = SpecFor(dir / "whole.jpg");
  ASSERT_EQ(EncodeJpegFromComplibImageRect(&page.rect, &spec, 3, 75, 0x211111, 4, nullptr), 0);
  std::vector<uint8_t> bytes = wxtest::ReadBytes(dir / "whole.jpg");
  ASSERT_GT(bytes.size(), 4u);
  EXPECT_EQ(bytes[2], 0xFF);
  EXPECT_EQ(bytes[3], 0xDB);  // no APP0
  if (wxtest::HaveTool("djpeg")) {
    std::string out;
    EXPECT_EQ(wxtest::Run("djpeg -pnm '" + (dir / "whole.jpg").string() + "' | head -c 20", &out), 0);
    EXPECT_NE(out.find("33 300"), std::string::npos) << out;
  }
}
