// Surroundings of the glue's tests against the framework itself: the platform folders and
// preferences in a scratch root (with its temporary folder), the application's resources
// for the alerts, and readers of what the alerts showed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "framework/FrameworkDriver.h"
#include "framework/LWindow.h"
#include "output/hub/WXFolders.h"
#include "support/TestEnv.h"
#include "tests/prefs/PrefsTestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

namespace gluetest {

namespace fs = std::filesystem;

class GlueTest : public wxtest::DialogTest {
 protected:
  void TearDown() override {
    FSTestSetWriteLimit(-1);
    FSTestSetReadLimit(-1);
    MemSetTempLimit(0);
    MemSetHeapLimit(0);
    EXPECT_FALSE(wxframework::HasDialogActions()) << "an expected alert did not come";
    wxtest::DialogTest::TearDown();
  }
  const fs::path& root() const { return prefs.root(); }
  static FSSpec Spec(const fs::path& path) {
    FSSpec spec{};
    const OSErr err = FSpMakeFromPOSIXPath(path.string(), &spec);
    EXPECT_TRUE(err == noErr || err == fnfErr) << path << " " << err;
    return spec;
  }
  // The temporary folder the preferences name, made where missing.
  fs::path TempFolder() {
    SInt16 vRefNum = 0;
    SInt32 dirID = 0;
    EXPECT_EQ(CWXUtility::FindTempFolder(&vRefNum, &dirID), 1);
    FSSpec folder{};
    const unsigned char noName[] = {0};
    FSMakeFSSpec(vRefNum, dirID, noName, &folder);
    std::string path;
    FSpGetPOSIXPath(&folder, &path);
    return path;
  }
  // Expects the next modal window to show `textPane`'s text and answers it with `answer`;
  // the text lands in *shown.
  static void ExpectDialog(PaneIDT textPane, MessageT answer, std::string* shown) {
    wxframework::QueueDialogAction([textPane, shown](LWindow* dialog) { *shown = wxframework::PaneText(dialog, textPane); });
    wxframework::AnswerNextDialog(answer);
  }
  static std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  wxtest::PrefsEnv prefs;
};

// Item `index` of the application's string list `list`, as its bytes.
inline std::string Item(SInt16 list, SInt16 index) { return wxtest::ResourceText(list, index); }

}  // namespace gluetest
