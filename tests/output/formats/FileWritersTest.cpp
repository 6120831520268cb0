// Every writer of files under the faults a user meets: the disk fills at the first byte or
// part-way, the target is read-only, a folder stands at the target's path. Each must fail,
// leave nothing that looks like a finished file, and keep an older good file byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "prefs/CPreferences.h"
#include "prefs/PrefRecords.h"
#include "framework/LException.h"
#include "jpeg/jpgWCore.h"
#include "jpeg/jpgWMac.h"
#include "output/formats/ExifSettings.h"
#include "output/formats/ExifWriter.h"
#include "output/formats/mtTIFF.h"
#include "support/TestEnv.h"
#include "tests/prefs/PrefsTestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace fs = std::filesystem;

namespace {

FSSpec SpecOf(const fs::path& path) {
  FSSpec spec{};
  FSpMakeFromPOSIXPath(path.string(), &spec);
  return spec;
}

long WriteTIFF(const fs::path& target) {
  MTHandle h = MTOpen(target.c_str(), "w");
  if (!h) return 1;
  bool ok = MTSetField(h, kMTImageWidth, 64) && MTSetField(h, kMTImageLength, 64) &&
            MTSetField(h, kMTBitsPerSample, 8) && MTSetField(h, kMTCompression, 1) &&
            MTSetField(h, kMTPhotometric, 1) && MTSetField(h, kMTOrientation, 1) &&
            MTSetField(h, kMTSamplesPerPixel, 1) && MTSetField(h, kMTRowsPerStrip, 64) &&
            MTSetField(h, kMTXResolution, 300) && MTSetField(h, kMTYResolution, 300) &&
            MTSetField(h, kMTPlanarConfig, 1) && MTSetField(h, kMTResolutionUnit, 2);
  const std::vector<uint8_t> row(64, 0x80);
  for (unsigned long y = 0; ok && y < 64; ++y) ok = MTWriteScanline(h, row.data(), y) == 1;
  return (MTClose(h) != 0 && ok) ? 0 : 1;
}

long WriteJPEG(const fs::path& target) {
  std::vector<uint8_t> pixels(64 * 64 * 3);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 7);
  const FSSpec spec = SpecOf(target);
  void* context = nullptr;
  int32_t status = jpgWritePrologToFile(&spec, 'QlWX', 'JPEG', 0, &context);
  if (status != 0) return status;
  status = jpgWriteSetNumberOfChannels(context, 3);
  if (status == 0) status = jpgWriteSetImageSize(context, 64, 64);
  _complibImageRect rect{64, 64, 64 * 3, 24, 3, 8, pixels.data()};
  if (status == 0) status = jpgWriteFromRect(context, &rect, 64);
  const int32_t closed = jpgWriteEpilogToFile(context);
  return status != 0 ? status : closed;
}

// The thumbnail lives in a folder of its own, so that only the page's folder is watched.
long RewriteExif(const fs::path& target) {
  const fs::path thumb = target.parent_path().parent_path() / "thumb.jpg";
  const FSSpec thumbSpec = SpecOf(thumb);
  const auto values = ExifTagValuesMainOnly(64, 64, 300, 0, 0, 1, {"Dremlo", "Wendrix", "WX", "2026:12:10 09:08:07"},
                                            fs::file_size(thumb));
  return writeExifToJPEGHeader(SpecOf(target), thumbSpec, values);
}

long SavePreferences(const fs::path&) {
  try {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    static uint16_t top = 40;
    PREF_ALL::kWindowTop.set(prefs.PrefAll(), ++top);  // a change every time, so that it is written
    return prefs.Save();
  } catch (const LException& e) {
    return e.GetErrorCode();
  }
}

// The write limit of a row, for the writers in this process and (as a file size limit in
// 512-byte blocks) for the resource compiler.
struct Fault {
  const char* what;
  SInt64 writeLimit;  // -1: none
  const char* fileSizeBlocks;
  bool readOnlyTarget;  // for this process, whoever runs it
  bool folderAtTarget;
  bool lockedTarget;  // the platform's lock: no write permission in its mode
};

long CompileResources(const fs::path& target, const Fault& fault) {
  const fs::path source = target.parent_path().parent_path() / "source.r";
  std::string limit = "ulimit -f ";
  limit += fault.fileSizeBlocks ? fault.fileSizeBlocks : "unlimited";
  return wxtest::Run("sh -c \"trap '' XFSZ; " + limit + "; exec '" + std::string(WX_RESCOMP_PATH) + "' -o '" +
                     target.string() + "' '" + source.string() + "'\" 2>/dev/null");
}

struct Writer {
  const char* name;
  std::function<long(const fs::path&, const Fault&)> write;
  bool removesOutputOnFailure;  // the resource compiler: a build never goes on with stale resources
};

class FileWriters : public ::testing::Test {
 protected:
  void SetUp() override {
    pages = env.PrefsFolder().parent_path() / "pages";
    fs::create_directories(pages);
    std::ofstream(env.PrefsFolder().parent_path() / "source.r")
        << "strings 200 \"Errors\" { \"one\" \"two\" }\ndata 'dPre' 128 { zero 3000 }\n";
    ASSERT_EQ(WriteJPEG(env.PrefsFolder().parent_path() / "thumb.jpg"), 0);
  }
  void TearDown() override { FSTestSetWriteLimit(-1); }

  // What the target's folder holds besides `keep`.
  static std::vector<std::string> Others(const fs::path& folder, const fs::path& keep) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
      if (e.path() != keep) names.push_back(e.path().filename().string());
    return names;
  }

  wxtest::PrefsEnv env;
  fs::path pages;
};

TEST_F(FileWriters, AFailedWriteKeepsTheOldFile) {
  const Writer writers[] = {
      {"preferences", [](const fs::path& t, const Fault&) { return SavePreferences(t); }, false},
      {"TIFF", [](const fs::path& t, const Fault&) { return WriteTIFF(t); }, false},
      {"JPEG", [](const fs::path& t, const Fault&) { return WriteJPEG(t); }, false},
      {"Exif rewrite", [](const fs::path& t, const Fault&) { return RewriteExif(t); }, false},
      {"resource compiler", CompileResources, true},
  };
  const Fault faults[] = {
      {"disk full at the first byte", 0, "0", false, false, false},
      {"disk full part-way", 600, "1", false, false, false},
      {"target read-only", -1, nullptr, true, false, false},
      {"target locked", -1, nullptr, false, false, true},
      {"a folder at the target's path", -1, nullptr, false, true, false},
  };
  for (const Writer& w : writers) {
    const bool prefs = std::string(w.name) == "preferences";
    const fs::path target = prefs ? env.PrefsFile() : pages / (std::string(w.name) == "TIFF" ? "page.tif" : "page.jpg");
    const fs::path folder = target.parent_path();
    for (const Fault& f : faults) {
      // The preferences set a folder at their path aside and are written (the preferences' own tests).
      if (prefs && f.folderAtTarget) continue;
      const std::string row = std::string(w.name) + ", " + f.what;
      fs::remove_all(target);
      if (std::string(w.name) == "Exif rewrite") {
        ASSERT_EQ(WriteJPEG(target), 0) << row;
      }
      ASSERT_EQ(w.write(target, Fault{"", -1, nullptr, false, false, false}), 0) << row << ": the good file";
      const std::vector<uint8_t> good = wxtest::ReadBytes(target);
      ASSERT_FALSE(good.empty()) << row;
      if (f.folderAtTarget) {
        fs::remove(target);
        fs::create_directory(target);
      }
      if (f.lockedTarget) fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
      const std::vector<std::string> beside = Others(folder, target);
      long result = 0;
      {
        std::optional<wxtest::ReadOnly> locked;
        if (f.readOnlyTarget) {
          locked.emplace(target);
          if (!locked->ok()) GTEST_SKIP() << "cannot make a file unwritable here";
        }
        FSTestSetWriteLimit(f.writeLimit);
        result = w.write(target, f);
        FSTestSetWriteLimit(-1);
      }
      EXPECT_NE(result, 0) << row;
      EXPECT_EQ(Others(folder, target), beside) << row << ": something was left beside it";
      if (f.folderAtTarget) {
        EXPECT_TRUE(fs::is_directory(target) && fs::is_empty(target)) << row;
      } else if (w.removesOutputOnFailure) {
        // Removed; only a file the system will not let go of stays, as it was.
        EXPECT_TRUE(!fs::exists(target) || (f.readOnlyTarget && wxtest::ReadBytes(target) == good)) << row;
      } else if (f.lockedTarget) {
        EXPECT_EQ(wxtest::ReadBytes(target), good) << row;
        EXPECT_EQ(fs::status(target).permissions() & fs::perms::owner_write, fs::perms::none) << row << ": still locked";
      } else {
        EXPECT_EQ(wxtest::ReadBytes(target), good) << row;
      }
      fs::remove_all(target);
    }
  }
}

}  // namespace
