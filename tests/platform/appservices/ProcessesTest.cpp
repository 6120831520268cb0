#include "appservices/Processes.h"

#include <gtest/gtest.h>

#include "AppServicesFixture.h"
#include "appservices/AppleEvents.h"
#include "toolbox/Aliases.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

namespace {

namespace fs = std::filesystem;

class Processes : public ::testing::Test {
 protected:
  void SetUp() override {
    ProcessResetTable();
    mRecord = mRoot / "record.txt";
  }
  void TearDown() override {
    ProcessResetTable();
    unsetenv("WX_OPENER");
  }
  ProcessSerialNumber Launch(const fs::path& app) {
    FSSpec spec;
    EXPECT_EQ(FSpMakeFromPOSIXPath(app.string(), &spec), noErr);
    LaunchParamBlockRec pb{};
    pb.launchBlockID = extendedBlock;
    pb.launchEPBLength = extendedBlockLen;
    pb.launchControlFlags = launchContinue | launchNoFileFlags;
    pb.launchAppSpec = &spec;
    EXPECT_EQ(LaunchApplication(&pb), noErr);
    return pb.launchProcessSN;
  }
  // An open-documents event for `target` with an alias of each file, as a list.
  OSErr OpenDocuments(const AEAddressDesc& target, const std::vector<fs::path>& files) {
    AppleEvent event;
    AECreateAppleEvent(kCoreEventClass, kAEOpenDocuments, &target, kAutoGenerateReturnID, kAnyTransactionID, &event);
    AEDescList list;
    AECreateList(nullptr, 0, false, &list);
    for (const fs::path& file : files) {
      FSSpec spec;
      FSpMakeFromPOSIXPath(file.string(), &spec);
      AliasHandle alias = nullptr;
      NewAlias(nullptr, &spec, &alias);
      auto h = reinterpret_cast<Handle>(alias);
      AEPutPtr(&list, 0, typeAlias, *h, GetHandleSize(h));
      DisposeHandle(h);
    }
    AEPutParamDesc(&event, keyDirectObject, &list);
    OSErr err = AESend(&event, nullptr, kAENoReply, kAENormalPriority, kAEDefaultTimeout, nullptr, nullptr);
    AEDisposeDesc(&list);
    AEDisposeDesc(&event);
    return err;
  }
  OSErr OpenDocuments(const ProcessSerialNumber& psn, const std::vector<fs::path>& files) {
    AEAddressDesc target;
    AECreateDesc(typeProcessSerialNumber, &psn, sizeof psn, &target);
    OSErr err = OpenDocuments(target, files);
    AEDisposeDesc(&target);
    return err;
  }
  wxtest::AppServicesRoot mRoot;
  fs::path mRecord;
};

TEST_F(Processes, TheTableHoldsThisProcessAndTheFileManager) {
  ProcessSerialNumber self, psn{0, kNoProcess};
  ASSERT_EQ(GetCurrentProcess(&self), noErr);
  std::vector<OSType> signatures;
  while (GetNextProcess(&psn) == noErr) {
    Str31 name;
    FSSpec spec;
    ProcessInfoRec info{};
    info.processInfoLength = kProcessInfoRecLength;
    info.processName = name;
    info.processAppSpec = &spec;
    ASSERT_EQ(GetProcessInformation(&psn, &info), noErr);
    signatures.push_back(info.processSignature);
    if (info.processSignature == kProcessSignatureFileManager) {
      EXPECT_EQ(info.processType, UInt32(kProcessTypeFileManager));
    }
  }
  EXPECT_EQ(psn.lowLongOfPSN, UInt32(kNoProcess));
  EXPECT_EQ(signatures[0], OSType(kProcessSignatureSelf));
  EXPECT_EQ(signatures[1], OSType(kProcessSignatureFileManager));

  ProcessInfoRec info{};
  info.processInfoLength = 59;
  EXPECT_EQ(GetProcessInformation(&self, &info), paramErr);
  info.processInfoLength = kProcessInfoRecLength;
  const ProcessSerialNumber nobody{0, 5};
  EXPECT_EQ(GetProcessInformation(&nobody, &info), procNotFound);
  const ProcessSerialNumber current{0, kCurrentProcess};
  Boolean same = false;
  ASSERT_EQ(SameProcess(&current, &self, &same), noErr);
  EXPECT_TRUE(same);
  EXPECT_EQ(SameProcess(&nobody, &self, &same), procNotFound);
}

TEST_F(Processes, TheLauncherDeclaresItsSignatureInTheEnvironment) {
  setenv("WX_LAUNCHER_SIGNATURE", "syui", 1);
  ProcessResetTable();
  EXPECT_EQ(std::getenv("WX_LAUNCHER_SIGNATURE"), nullptr);  // taken, not passed on
  EXPECT_EQ(ProcessLauncherSignature(), OSType('syui'));
  ProcessSerialNumber self;
  GetCurrentProcess(&self);
  ProcessInfoRec info{};
  info.processInfoLength = kProcessInfoRecLength;
  ASSERT_EQ(GetProcessInformation(&self, &info), noErr);
  ProcessInfoRec launcher{};
  launcher.processInfoLength = kProcessInfoRecLength;
  ASSERT_EQ(GetProcessInformation(&info.processLauncher, &launcher), noErr);
  EXPECT_EQ(launcher.processSignature, OSType('syui'));
}

TEST_F(Processes, FrontProcessFollowsSetFrontProcess) {
  ProcessSerialNumber self, front, finder;
  GetCurrentProcess(&self);
  GetProcessForSignature(kProcessSignatureFileManager, &finder);
  EXPECT_EQ(SetFrontProcess(&finder), noErr);
  GetFrontProcess(&front);
  Boolean same = false;
  SameProcess(&front, &finder, &same);
  EXPECT_TRUE(same);
  EXPECT_EQ(SetFrontProcess(&self), noErr);
  const ProcessSerialNumber nobody{0, 5};
  EXPECT_EQ(SetFrontProcess(&nobody), procNotFound);
}

TEST_F(Processes, ALaunchStartsOnceWithTheDocumentsInOrder) {
  const fs::path app = mRoot / "bin" / "viewer";
  wxtest::WriteRecorder(app, mRecord);
  const fs::path a = mRoot / "b.pdf", b = mRoot / "a b.pdf";
  wxtest::WriteFile(a, "1");
  wxtest::WriteFile(b, "2");
  const ProcessSerialNumber psn = Launch(app);
  ASSERT_EQ(OpenDocuments(psn, {a, b}), noErr);
  ProcessRunPendingLaunches();
  EXPECT_EQ(wxtest::WaitForLines(mRecord, 1), "|" + a.string() + "|" + b.string() + "#QlWX\n");
  // A later event starts it again with its own documents.
  ASSERT_EQ(OpenDocuments(psn, {b}), noErr);
  EXPECT_EQ(wxtest::WaitForLines(mRecord, 2), "|" + a.string() + "|" + b.string() + "#QlWX\n|" + b.string() + "#QlWX\n");
}

TEST_F(Processes, ALaunchWithoutDocumentsStartsAtTheEndOfThePass) {
  const fs::path app = mRoot / "bin" / "viewer";
  wxtest::WriteRecorder(app, mRecord);
  const ProcessSerialNumber psn = Launch(app);
  ASSERT_EQ(OpenDocuments(psn, {}), noErr);
  EXPECT_EQ(wxtest::WaitForLines(mRecord, 1), "#QlWX\n");

  fs::remove(mRecord);
  Launch(app);
  EXPECT_FALSE(fs::exists(mRecord));
  ProcessRunPendingLaunches();
  EXPECT_EQ(wxtest::WaitForLines(mRecord, 1), "#QlWX\n");
}

TEST_F(Processes, DesktopEntriesStartThroughTheirExecLine) {
  const fs::path recorder = mRoot / "bin" / "mailer";
  wxtest::WriteRecorder(recorder, mRecord);
  const fs::path entry = mRoot / "Mailer.desktop";
  wxtest::WriteFile(entry, "[Desktop Entry]\nType=Application\nName=Mailer\nExec=\"" + recorder.string() + "\" --attach %F\n");
  const fs::path a = mRoot / "x.jpg", b = mRoot / "y.jpg";
  wxtest::WriteFile(a, "1");
  wxtest::WriteFile(b, "2");
  ASSERT_EQ(OpenDocuments(Launch(entry), {a, b}), noErr);
  EXPECT_EQ(wxtest::WaitForLines(mRecord, 1), "|--attach|" + a.string() + "|" + b.string() + "#QlWX\n");
}

TEST_F(Processes, MissingApplicationsAndBadBlocksFail) {
  FSSpec spec;
  FSpMakeFromPOSIXPath((mRoot / "none").string(), &spec);
  LaunchParamBlockRec pb{};
  pb.launchBlockID = extendedBlock;
  pb.launchEPBLength = extendedBlockLen;
  pb.launchAppSpec = &spec;
  EXPECT_EQ(LaunchApplication(&pb), fnfErr);
  pb.launchBlockID = 0;
  EXPECT_EQ(LaunchApplication(&pb), paramErr);
}

TEST_F(Processes, TheFileManagerOpensItemsWithTheOpener) {
  const fs::path opener = mRoot / "bin" / "opener";
  wxtest::WriteRecorder(opener, mRecord);
  setenv("WX_OPENER", opener.c_str(), 1);
  const fs::path folder = mRoot / "Scans";
  fs::create_directories(folder);
  FSSpec spec;
  FSpMakeFromPOSIXPath(folder.string(), &spec);
  AEAddressDesc target;
  const OSType finder = kProcessSignatureFileManager;
  AECreateDesc(typeApplSignature, &finder, 4, &target);
  AppleEvent event;
  AECreateAppleEvent(kCoreEventClass, kAEOpenDocuments, &target, kAutoGenerateReturnID, kAnyTransactionID, &event);
  UInt8 record[kFSSpecRecordSize];
  RecordBytes(record, sizeof record).setFSSpec(0, spec);
  AEPutParamPtr(&event, keyDirectObject, typeFSS, record, sizeof record);
  ASSERT_EQ(AESend(&event, nullptr, kAENoReply, kAENormalPriority, kAEDefaultTimeout, nullptr, nullptr), noErr);
  EXPECT_EQ(wxtest::WaitForLines(mRecord, 1), "|" + folder.string() + "#\n");

  setenv("WX_OPENER", (mRoot / "no-such-opener").c_str(), 1);
  EXPECT_EQ(AESend(&event, nullptr, kAENoReply, kAENormalPriority, kAEDefaultTimeout, nullptr, nullptr), connectionInvalid);
  AEDisposeDesc(&event);
  AEDisposeDesc(&target);
}

}  // namespace
