#include <gtest/gtest.h>

#include <fstream>

#include "tests/prefs/PrefsTestEnv.h"

namespace {

using wxtest::PrefsEnv;
namespace fs = std::filesystem;

const std::string kTool = WX_PREFS_DUMP_PATH;

bool HasLine(const std::string& output, const std::string& line) {
  return output.find(line + "\n") != std::string::npos;
}

TEST(PrefsDump, PrintsAFileWrittenByTheStore) {
  PrefsEnv env("E");
  PrefsEnv::UseModels({"Dremlo Model D"});
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    PREF_COPY::kBrightness.set(PREF_ALL::kCopy.in(prefs.PrefAll()), 6);
  }
  std::string out;
  ASSERT_EQ(wxtest::Run("'" + kTool + "' '" + env.PrefsFile().string() + "'", &out), 0);
  const char* lines[] = {
      "PREF_COPY.kTag = 2000",
      "PREF_COPY.kBrightness = 6",
      "PREF_COPY.kButtonName = \"Copy\"",
      "PREF_COPY.kCustomSize = 2160 x 2970, unit 1",
      "PREF_MAIL.kHistory[0] = \"Name2000\"",
      "PREF_MAIL.kPDF.kLanguage = 1",
      "PREF_FILE[4].kFlag3673 = 1",
      "PREF_FILE[1].kCurrentTab = 0",
      "PREF_SCANX[Scan-1].kTag = 2001",
      "PREF_SETTING.kModelName = \"Dremlo Model D\"",
      "PREF_SETTING.kButtonSlot2 = 8",
      "EXIF_PREF.kMark = 220",
      "EXIF_PREF.kShutterIndex = 12 (read as 12)",
      "PREF_ALL.kLastButton = 0",
  };
  for (const char* line : lines) EXPECT_TRUE(HasLine(out, line)) << line;
}

TEST(PrefsDump, WritesTheFactoryFileForALanguageAndModel) {
  PrefsEnv env("E");
  const fs::path file = env.root() / "factory.pref";
  const std::string run = "WX_RESOURCE_FILE='" + (env.root() / "app.rsrc").string() + "' '" + kTool + "'";
  ASSERT_EQ(wxtest::Run(run + " --factory J 'Dremlo Model B' > '" + file.string() + "'"), 0)
      << std::ifstream(file).rdbuf();
  EXPECT_EQ(fs::file_size(file), PREF_ALL::kSize);
  std::string out;
  ASSERT_EQ(wxtest::Run("'" + kTool + "' '" + file.string() + "'", &out), 0);
  EXPECT_TRUE(HasLine(out, "PREF_SETTING.kModelName = \"Dremlo Model B\""));
  EXPECT_TRUE(HasLine(out, "PREF_SETTING.kButtonSlot2 = 0"));
  EXPECT_TRUE(HasLine(out, "PREF_SAVE.kButtonName = \"Save\""));
  EXPECT_TRUE(HasLine(out, "EXIF_PREF.kModel = \"Dremlo Model B\""));
  fs::copy_file(file, wxtest::OutputDir("app") / "factory-J-ModelB.pref", fs::copy_options::overwrite_existing);
}

TEST(PrefsDump, RefusesAFileOfTheWrongSize) {
  PrefsEnv env("E");
  const fs::path file = env.root() / "short.pref";
  std::ofstream(file) << "short";
  std::string out;
  EXPECT_NE(wxtest::Run("'" + kTool + "' '" + file.string() + "' 2>&1", &out), 0);
  EXPECT_NE(out.find("5 bytes"), std::string::npos);
  EXPECT_NE(wxtest::Run("'" + kTool + "' --factory X > /dev/null 2>&1"), 0);
}

// A huge file is refused by its size, never read: the tool's peak memory stays small.
TEST(PrefsDump, RefusesAHugeFileWithoutReadingIt) {
  PrefsEnv env("E");
  const fs::path file = env.root() / "huge.pref";
  constexpr long kHuge = 512L << 20;
  {
    std::ofstream out(file, std::ios::binary);
    out.seekp(kHuge - 1);
    out.put('x');
  }
  std::string out;
  EXPECT_NE(wxtest::Run("/usr/bin/time -f 'peak %M' '" + kTool + "' '" + file.string() + "' 2>&1", &out), 0);
  EXPECT_NE(out.find(std::to_string(kHuge) + " bytes"), std::string::npos) << out;
  const size_t at = out.rfind("peak ");
  ASSERT_NE(at, std::string::npos) << out;
  EXPECT_LT(std::stol(out.substr(at + 5)), 256L << 10) << "kilobytes at the peak";
}

// Every failure to read or write is told with the file's name and the reason, and the exit
// status says so: a folder given as the file, a factory file into a full disk.
TEST(PrefsDump, ReportsEveryInputAndOutputError) {
  PrefsEnv env("E");
  std::string out;
  EXPECT_EQ(wxtest::Run("'" + kTool + "' '" + env.root().string() + "' 2>&1", &out), 1);
  EXPECT_NE(out.find("cannot read " + env.root().string() + ": is a folder"), std::string::npos) << out;
  out.clear();
  EXPECT_EQ(wxtest::Run("'" + kTool + "' '" + (env.root() / "missing.pref").string() + "' 2>&1", &out), 1);
  EXPECT_NE(out.find("missing.pref: No such file or directory"), std::string::npos) << out;
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  out.clear();
  EXPECT_EQ(wxtest::Run("{ '" + kTool + "' --factory E >/dev/full; }", &out), 1);
  EXPECT_NE(out.find("cannot write the factory file to the standard output: No space left on device"),
            std::string::npos)
      << out;
}

}  // namespace
