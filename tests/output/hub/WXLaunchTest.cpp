#include "output/hub/WXLaunch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "appservices/LaunchServices.h"
#include "framework/LException.h"
#include "output/hub/UProcess.h"
#include "support/TestEnv.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/MacErrors.h"

namespace {

namespace fs = std::filesystem;

// A program that appends one line per run: its arguments separated by '|'.
void RecordingProgram(const fs::path& file, const fs::path& record) {
  std::ofstream(file) << "#!/bin/sh\n(IFS='|'; echo \"$*\") >> '" << record.string() << "'\n";
  fs::permissions(file, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
}

// The record's lines once `lines` have arrived (the programs run detached).
std::vector<std::string> Lines(const fs::path& record, size_t lines) {
  std::vector<std::string> out;
  for (int i = 0; i < 500; ++i) {
    out.clear();
    std::ifstream in(record);
    std::string line;
    while (std::getline(in, line)) out.push_back(line);
    if (out.size() >= lines) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return out;
}

FSSpec Spec(const fs::path& path) {
  FSSpec spec{};
  EXPECT_EQ(noErr, FSpMakeFromPOSIXPath(path.string(), &spec)) << path;
  return spec;
}

class LaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("WENDRIX_ROOT", mRoot.path().c_str(), 1);
    ProcessResetTable();
    mApps = mRoot.path() / "apps";
    fs::create_directories(mApps);
    RecordingProgram(mApps / "Recorder", mRoot.path() / "app.txt");
    RecordingProgram(mRoot.path() / "opener", mRoot.path() / "opener.txt");
    setenv("WX_OPENER", (mRoot.path() / "opener").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("WX_OPENER");
    unsetenv("WENDRIX_ROOT");
    ProcessResetTable();
  }
  wxtest::ScratchDir mRoot;
  fs::path mApps;
};

TEST_F(LaunchTest, LaunchAndOpenDocumentsStartsTheApplicationOnceWithTheFilesInOrder) {
  std::ofstream(mRoot.path() / "b.jpg") << "b";
  std::ofstream(mRoot.path() / "a.jpg") << "a";
  const ProcessSerialNumber psn = CWXUtility::LaunchWithFSSpec(Spec(mApps / "Recorder"));
  TArray<FSSpec> documents;
  documents.AddItem(Spec(mRoot.path() / "b.jpg"));
  documents.AddItem(Spec(mRoot.path() / "a.jpg"));
  CWXUtility::SendOpenDocListWithPSN(psn, documents);
  ProcessRunPendingLaunches();
  const std::vector<std::string> lines = Lines(mRoot.path() / "app.txt", 1);
  ASSERT_EQ(1u, lines.size());
  EXPECT_EQ((mRoot.path() / "b.jpg").string() + "|" + (mRoot.path() / "a.jpg").string(), lines[0]);
}

TEST_F(LaunchTest, AnEmptyListStartsTheApplicationWithoutDocuments) {
  const ProcessSerialNumber psn = CWXUtility::LaunchWithFSSpec(Spec(mApps / "Recorder"));
  CWXUtility::SendOpenDocListWithPSN(psn, TArray<FSSpec>());
  ProcessRunPendingLaunches();
  EXPECT_EQ(std::vector<std::string>{""}, Lines(mRoot.path() / "app.txt", 1));
}

TEST_F(LaunchTest, OneDocumentGoesAsOneAlias) {
  std::ofstream(mRoot.path() / "page.pdf") << "p";
  const ProcessSerialNumber psn = CWXUtility::LaunchWithFSSpec(Spec(mApps / "Recorder"));
  CWXUtility::SendOpenDocWithPSN(psn, Spec(mRoot.path() / "page.pdf"));
  EXPECT_EQ(std::vector<std::string>{(mRoot.path() / "page.pdf").string()}, Lines(mRoot.path() / "app.txt", 1));
}

TEST_F(LaunchTest, TheFileManagerOpensTheFolderOrTheFile) {
  fs::create_directories(mRoot.path() / "out");
  std::ofstream(mRoot.path() / "out" / "scan.jpg") << "s";
  CWXUtility::OpenFolderWithFSSpec(Spec(mRoot.path() / "out" / "scan.jpg"));
  CWXUtility::OpenFileByFinder(Spec(mRoot.path() / "out" / "scan.jpg"));
  const std::vector<std::string> lines = Lines(mRoot.path() / "opener.txt", 2);
  ASSERT_EQ(2u, lines.size());
  // The opener runs detached, so the two may arrive in either order.
  std::vector<std::string> sorted = lines;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ((std::vector<std::string>{(mRoot.path() / "out").string(), (mRoot.path() / "out" / "scan.jpg").string()}),
            sorted);
}

TEST_F(LaunchTest, AMissingApplicationThrowsItsError) {
  try {
    CWXUtility::LaunchWithFSSpec(Spec(mApps / "Recorder"));
    fs::remove(mApps / "Recorder");
    FSSpec missing{};
    FSpMakeFromPOSIXPath((mApps / "Recorder").string(), &missing);
    CWXUtility::LaunchWithFSSpec(missing);
    FAIL() << "no error";
  } catch (const LException& e) {
    EXPECT_EQ(fnfErr, e.GetErrorCode());
  }
}

TEST_F(LaunchTest, NativeApplicationsByKind) {
  std::ofstream(mApps / "Viewer.desktop") << "[Desktop Entry]\nType=Application\nName=V\nExec=/bin/true\n";
  std::ofstream(mApps / "Broken.desktop") << "[Desktop Entry]\nType=Application\nName=B\nExec=/no/such/program\n";
  std::ofstream(mApps / "Hidden.desktop") << "[Desktop Entry]\nType=Application\nName=H\nExec=/bin/true\nHidden=true\n";
  std::ofstream(mApps / "notes.txt") << "text";
  std::ofstream(mApps / "Typed") << "no program";
  FSSpec typed = Spec(mApps / "Typed");
  FInfo info{};
  info.fdType = 'APPL';
  ASSERT_EQ(noErr, FSpSetFInfo(&typed, &info));
  struct Case {
    const char* name;
    long answer;
  } cases[] = {
      {"Recorder", 1}, {"Viewer.desktop", 1}, {"Broken.desktop", 2}, {"Hidden.desktop", 2},
      {"notes.txt", 2}, {"Typed", 2},
  };
  for (const Case& c : cases) EXPECT_EQ(c.answer, CWXUtility::IsMacOSXNativeAppl(Spec(mApps / c.name))) << c.name;
  FSSpec gone{};
  FSpMakeFromPOSIXPath((mApps / "gone").string(), &gone);
  EXPECT_EQ(2, CWXUtility::IsMacOSXNativeAppl(gone));
}

TEST_F(LaunchTest, ApplicationsByCreator) {
  std::string user;
  ASSERT_EQ(noErr, FindFolderPath(kUserDomain, kApplicationsFolderType, kCreateFolder, &user));
  std::ofstream(fs::path(user) / "scanview.desktop")
      << "[Desktop Entry]\nType=Application\nName=Scan View\nExec=/bin/true\nX-Wendrix-Creator=SCVW\n";
  RecordingProgram(fs::path(user) / "Reader", mRoot.path() / "unused.txt");
  FSSpec reader = Spec(fs::path(user) / "Reader");
  FInfo info{};
  ASSERT_EQ(noErr, FSpGetFInfo(&reader, &info));
  info.fdCreator = 'RDER';
  ASSERT_EQ(noErr, FSpSetFInfo(&reader, &info));
  std::ofstream(fs::path(user) / "mailer.desktop") << "[Desktop Entry]\nType=Application\nName=Mailer\nExec=/bin/true %u\n";
  std::string config;
  ASSERT_EQ(noErr, FindFolderPath(kUserDomain, kPreferencesFolderType, kCreateFolder, &config));
  std::ofstream(fs::path(config).parent_path() / "mimeapps.list")
      << "[Default Applications]\nx-scheme-handler/mailto=mailer.desktop\n";
  struct Case {
    OSType creator;
    const char* found;  // null: none
  } cases[] = {{'SCVW', "scanview.desktop"}, {'RDER', "Reader"}, {'emal', "mailer.desktop"}, {'NONE', nullptr}};
  for (const Case& c : cases) {
    FSSpec app{};
    const long found = CWXUtility::SearchApplication(c.creator, &app);
    EXPECT_EQ(c.found ? 1 : 0, found) << c.creator;
    if (c.found) {
      EXPECT_EQ(c.found, std::string(reinterpret_cast<const char*>(app.name + 1), app.name[0]));
    }
  }
}

TEST_F(LaunchTest, ProcessesByTypeAndCreator) {
  const ProcessSerialNumber finder = UProcess::GetPSN('FNDR', 'MACS');
  EXPECT_FALSE(UProcess::IsSame(finder, UProcess::GetMyPSN()));
  try {
    UProcess::GetPSN('APPL', 'NONE');
    FAIL() << "found a process that does not run";
  } catch (const LException& e) {
    EXPECT_EQ(procNotFound, e.GetErrorCode());
  }
}

}  // namespace
