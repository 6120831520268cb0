#include "appservices/AppleEvents.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "AppServicesFixture.h"
#include "appservices/Processes.h"
#include "appservices/StAEDescriptor.h"
#include "toolbox/MacErrors.h"
#include "windows/Events.h"

namespace {

TEST(AppleEvents, DescriptorsOwnACopyOfTheirData) {
  char text[] = "scan";
  AEDesc desc;
  ASSERT_EQ(AECreateDesc(typeChar, text, 4, &desc), noErr);
  text[0] = 'X';
  EXPECT_EQ(AEGetDescDataSize(&desc), 4);
  char out[8] = {};
  ASSERT_EQ(AEGetDescData(&desc, out, sizeof out), noErr);
  EXPECT_STREQ(out, "scan");
  AEDesc copy;
  ASSERT_EQ(AEDuplicateDesc(&desc, &copy), noErr);
  AEDisposeDesc(&desc);
  EXPECT_EQ(desc.descriptorType, typeNull);
  EXPECT_EQ(desc.dataHandle, nullptr);
  EXPECT_EQ(AEGetDescDataSize(&copy), 4);
  AEDisposeDesc(&copy);
}

TEST(AppleEvents, CoercionToBooleanAndItsFailures) {
  struct Case {
    DescType type;
    std::vector<UInt8> data;
    OSErr err;
    UInt8 value;
  };
  const Case cases[] = {
      {typeBoolean, {1}, noErr, 1},
      {typeBoolean, {0}, noErr, 0},
      {typeTrue, {}, noErr, 1},
      {typeFalse, {}, noErr, 0},
      {typeSInt32, {0, 0, 0, 7}, noErr, 1},
      {typeSInt16, {0, 0}, noErr, 0},
      {typeType, {'t', 'r', 'u', 'e'}, noErr, 1},
      {typeNull, {}, errAECoercionFail, 0},
      {typeChar, {'y', 'e', 's'}, errAECoercionFail, 0},
      {typeSInt32, {1}, errAECoercionFail, 0},
  };
  for (const Case& c : cases) {
    AEDesc from, to;
    ASSERT_EQ(AECreateDesc(c.type, c.data.data(), static_cast<Size>(c.data.size()), &from), noErr);
    EXPECT_EQ(AECoerceDesc(&from, typeBoolean, &to), c.err);
    if (c.err == noErr) {
      UInt8 value = 9;
      AEGetDescData(&to, &value, 1);
      EXPECT_EQ(value, c.value);
    } else {
      EXPECT_EQ(to.descriptorType, typeNull);
    }
    AEDisposeDesc(&to);
    AEDisposeDesc(&from);
  }
}

TEST(AppleEvents, ListsKeepOrderAndCheckIndexes) {
  AEDescList list;
  ASSERT_EQ(AECreateList(nullptr, 0, false, &list), noErr);
  for (SInt32 i = 1; i <= 3; ++i) {
    UInt8 be[4] = {0, 0, 0, static_cast<UInt8>(i * 10)};
    ASSERT_EQ(AEPutPtr(&list, 0, typeSInt32, be, 4), noErr);
  }
  long count = 0;
  ASSERT_EQ(AECountItems(&list, &count), noErr);
  EXPECT_EQ(count, 3);
  UInt8 be[4];
  DescType type;
  Size size;
  ASSERT_EQ(AEGetNthPtr(&list, 2, typeSInt32, nullptr, &type, be, 4, &size), noErr);
  EXPECT_EQ(be[3], 20);
  EXPECT_EQ(AEGetNthPtr(&list, 4, typeWildCard, nullptr, &type, be, 4, &size), errAEBadListItem);
  EXPECT_EQ(AEGetNthPtr(&list, 0, typeWildCard, nullptr, &type, be, 4, &size), errAEBadListItem);
  ASSERT_EQ(AEDeleteItem(&list, 1), noErr);
  AECountItems(&list, &count);
  EXPECT_EQ(count, 2);
  AEDisposeDesc(&list);
  AEDesc notList;
  AECreateDesc(typeTrue, nullptr, 0, &notList);
  EXPECT_EQ(AECountItems(&notList, &count), errAEWrongDataType);
  AEDisposeDesc(&notList);
}

TEST(AppleEvents, EventsCarryParametersAndAttributes) {
  ProcessSerialNumber self;
  GetCurrentProcess(&self);
  AEAddressDesc target;
  AECreateDesc(typeProcessSerialNumber, &self, sizeof self, &target);
  AppleEvent event;
  ASSERT_EQ(AECreateAppleEvent(kCoreEventClass, kAEOpenDocuments, &target, kAutoGenerateReturnID, kAnyTransactionID, &event), noErr);
  AEDisposeDesc(&target);
  ASSERT_EQ(AEPutParamPtr(&event, keyDirectObject, typeChar, "abc", 3), noErr);
  char text[8] = {};
  DescType type;
  Size size = 0;
  ASSERT_EQ(AEGetParamPtr(&event, keyDirectObject, typeChar, &type, text, sizeof text, &size), noErr);
  EXPECT_EQ(size, 3);
  EXPECT_STREQ(text, "abc");
  EXPECT_EQ(AEGetParamPtr(&event, 'none', typeChar, &type, text, sizeof text, &size), errAEDescNotFound);
  ProcessSerialNumber to{};
  ASSERT_EQ(AEGetAttributePtr(&event, keyAddressAttr, typeProcessSerialNumber, &type, &to, sizeof to, &size), noErr);
  Boolean same = false;
  SameProcess(&to, &self, &same);
  EXPECT_TRUE(same);
  StAEDescriptor direct;
  EXPECT_EQ(direct.GetParamDesc(event, keyDirectObject, typeWildCard), noErr);
  EXPECT_EQ(direct.DescriptorType(), typeChar);
  EXPECT_EQ(direct.GetParamDesc(event, 'none', typeWildCard), errAEDescNotFound);
  EXPECT_TRUE(direct.IsNull());
  AEDisposeDesc(&event);
}

TEST(AppleEvents, SendingToThisProcessQueuesTheEventWithItsSender) {
  FlushEvents(everyEvent, 0);
  AEAddressDesc target;
  const OSType signature = kProcessSignatureSelf;
  AECreateDesc(typeApplSignature, &signature, 4, &target);
  AppleEvent event;
  AECreateAppleEvent(kCoreEventClass, kAEReopenApplication, &target, kAutoGenerateReturnID, kAnyTransactionID, &event);
  AEDisposeDesc(&target);
  AppleEvent reply;
  EXPECT_EQ(AESend(&event, &reply, kAEWaitReply, kAENormalPriority, kAEDefaultTimeout, nullptr, nullptr), errAEUnknownSendMode);
  ASSERT_EQ(AESend(&event, &reply, kAENoReply, kAENormalPriority, kAEDefaultTimeout, nullptr, nullptr), noErr);
  EXPECT_EQ(reply.descriptorType, typeNull);
  AEDisposeDesc(&event);

  EventRecord record;
  ASSERT_TRUE(GetNextEvent(highLevelEventMask, &record));
  EXPECT_EQ(record.message, UInt32(kCoreEventClass));
  const AppleEvent* received = AECurrentEventOf(CurrentHighLevelEventPayload());
  ASSERT_NE(received, nullptr);
  // The sender is a process of the table: here, this one.
  ProcessSerialNumber sender{};
  DescType type;
  Size size;
  ASSERT_EQ(AEGetAttributePtr(received, keyAddressAttr, typeProcessSerialNumber, &type, &sender, sizeof sender, &size), noErr);
  ProcessInfoRec info{};
  info.processInfoLength = kProcessInfoRecLength;
  ASSERT_EQ(GetProcessInformation(&sender, &info), noErr);
  EXPECT_EQ(info.processSignature, OSType(kProcessSignatureSelf));
}

TEST(AppleEvents, UnknownTargetsFail) {
  const ProcessSerialNumber nobody{0, 7};
  AEAddressDesc target;
  AECreateDesc(typeProcessSerialNumber, &nobody, sizeof nobody, &target);
  AppleEvent event;
  AECreateAppleEvent(kCoreEventClass, kAEOpenDocuments, &target, kAutoGenerateReturnID, kAnyTransactionID, &event);
  EXPECT_EQ(AESend(&event, nullptr, kAENoReply, kAENormalPriority, kAEDefaultTimeout, nullptr, nullptr), procNotFound);
  AEDisposeDesc(&event);
  AEDisposeDesc(&target);
}

TEST(AppleEvents, FileDescriptorsCoerceAmongEachOther) {
  wxtest::AppServicesRoot root;
  const auto file = root / "Scans" / "page 1.pdf";
  wxtest::WriteFile(file, "x");
  FSSpec spec;
  ASSERT_EQ(FSpMakeFromPOSIXPath(file.string(), &spec), noErr);
  AEDesc url;
  const std::string text = "file://" + (root.path() / "Scans" / "page%201.pdf").string();
  AECreateDesc(typeFileURL, text.data(), static_cast<Size>(text.size()), &url);
  for (DescType type : {typeFSS, typeAlias, typeFSRef}) {
    AEDesc as, back;
    ASSERT_EQ(AECoerceDesc(&url, type, &as), noErr) << type;
    ASSERT_EQ(AECoerceDesc(&as, typeFileURL, &back), noErr);
    std::string again(static_cast<size_t>(AEGetDescDataSize(&back)), '\0');
    AEGetDescData(&back, again.data(), static_cast<Size>(again.size()));
    EXPECT_EQ(again, text);
    AEDisposeDesc(&as);
    AEDisposeDesc(&back);
  }
  AEDisposeDesc(&url);
}

}  // namespace
