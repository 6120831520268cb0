#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "quickdraw/qdPNG.h"
#include "support/TestEnv.h"

namespace {

namespace fs = std::filesystem;

TEST(PNG, ReadsPixelsAsARGB) {
  WX_REQUIRE_TOOL("convert");
  wxtest::ScratchDir dir;
  const std::string path = (dir.path() / "two.png").string();
  ASSERT_EQ(wxtest::Run("convert -size 2x1 xc:'#ff0000' -fill '#0000ff' -draw 'point 1,0' '" + path + "'"), 0);
  qdImage image;
  ASSERT_TRUE(qdReadPNG(path, &image));
  ASSERT_EQ(image.width, 2);
  ASSERT_EQ(image.height, 1);
  EXPECT_EQ(image.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(image.At(1, 0), 0xFF0000FFu);
}

TEST(PNG, DamagedFilesAreRefusedWithoutAnImage) {
  WX_REQUIRE_TOOL("convert");
  wxtest::ScratchDir dir;
  const fs::path whole = dir.path() / "noise.png";
  ASSERT_EQ(wxtest::Run("convert -size 64x64 xc: +noise Random '" + whole.string() + "'"), 0);
  std::ifstream in(whole, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  struct Case {
    const char* what;
    std::string data;
  } cases[] = {
      {"cut inside the image data", bytes.substr(0, bytes.size() / 2)},
      {"cut inside the header", bytes.substr(0, 20)},
      {"not a PNG", std::string(100, 'x')},
      {"empty", std::string()},
  };
  for (const Case& c : cases) {
    const fs::path path = dir.path() / "damaged.png";
    std::ofstream(path, std::ios::binary) << c.data;
    qdImage image;
    image.width = 9;
    EXPECT_FALSE(qdReadPNG(path.string(), &image)) << c.what;
    EXPECT_EQ(image.width, 0) << c.what;
    EXPECT_TRUE(image.argb.empty()) << c.what;
  }
  qdImage image;
  EXPECT_FALSE(qdReadPNG((dir.path() / "missing.png").string(), &image));
}

}  // namespace
