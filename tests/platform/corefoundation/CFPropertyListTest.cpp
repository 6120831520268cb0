#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "corefoundation/CoreFoundation.h"
#include "support/TestEnv.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"

namespace {

namespace fs = std::filesystem;

const char kEventFile[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\"><dict>\n"
    "<key>FileID</key><string>OstrelZenbo_PushScan</string>\n"
    "<key>DeviceName</key><string>Dremlo Model A</string>\n"
    "<key>EventData</key><data>AwAAAAAAAAAAAAAAAAAAAA==</data>\n"
    "<key>Count</key><integer>-3</integer>\n"
    "<key>Flags</key><array><true/><real>1.5</real></array>\n"
    "</dict></plist>\n";

CFPropertyListRef Parse(const std::string& bytes) {
  CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()), static_cast<CFIndex>(bytes.size()));
  CFPropertyListRef list = CFPropertyListCreateFromXMLData(nullptr, data, kCFPropertyListImmutable, nullptr);
  CFRelease(data);
  return list;
}

class PropertyLists : public ::testing::Test {
 protected:
  void SetUp() override {
    mLive = CFLiveObjectCount();
    setenv("WENDRIX_ROOT", mDir.path().c_str(), 1);
  }
  void TearDown() override {
    unsetenv("WENDRIX_ROOT");
    EXPECT_EQ(CFLiveObjectCount(), mLive);
  }
  // The dictionary read through a URL from `path`, as the event-file reader does it.
  CFPropertyListRef ReadThroughURL(const std::string& path, SInt32* error) {
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(path.c_str()),
                                                           static_cast<CFIndex>(path.size()), false);
    CFDataRef data = nullptr;
    CFPropertyListRef list = nullptr;
    if (CFURLCreateDataAndPropertiesFromResource(nullptr, url, &data, nullptr, nullptr, error))
      list = CFPropertyListCreateFromXMLData(nullptr, data, kCFPropertyListImmutable, nullptr);
    CFRelease(data);
    CFRelease(url);
    return list;
  }
  wxtest::ScratchDir mDir;
  CFIndex mLive = 0;
};

void ExpectEventDictionary(CFPropertyListRef list) {
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(CFGetTypeID(list), CFDictionaryGetTypeID());
  auto dict = static_cast<CFDictionaryRef>(list);
  EXPECT_TRUE(CFEqual(CFDictionaryGetValue(dict, CFSTR("FileID")), CFSTR("OstrelZenbo_PushScan")));
  auto data = static_cast<CFDataRef>(CFDictionaryGetValue(dict, CFSTR("EventData")));
  ASSERT_EQ(CFGetTypeID(data), CFDataGetTypeID());
  ASSERT_EQ(CFDataGetLength(data), 16);
  EXPECT_EQ(CFDataGetBytePtr(data)[0], 3);
  SInt32 count = 0;
  ASSERT_TRUE(CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(dict, CFSTR("Count"))), kCFNumberSInt32Type, &count));
  EXPECT_EQ(count, -3);
  auto flags = static_cast<CFArrayRef>(CFDictionaryGetValue(dict, CFSTR("Flags")));
  ASSERT_EQ(CFArrayGetCount(flags), 2);
  EXPECT_EQ(CFArrayGetValueAtIndex(flags, 0), kCFBooleanTrue);
  double real = 0;
  EXPECT_TRUE(CFNumberGetValue(static_cast<CFNumberRef>(CFArrayGetValueAtIndex(flags, 1)), kCFNumberDoubleType, &real));
  EXPECT_EQ(real, 1.5);
}

TEST_F(PropertyLists, ReadsXML) {
  CFPropertyListRef list = Parse(kEventFile);
  ExpectEventDictionary(list);
  CFRelease(list);
}

TEST_F(PropertyLists, ReadsBinaryAsPythonWritesIt) {
  const fs::path xml = mDir / "event.plist", binary = mDir / "event.bplist";
  std::ofstream(xml) << kEventFile;
  ASSERT_EQ(wxtest::Run("python3 -c \"import plistlib,sys; d=plistlib.load(open(sys.argv[1],'rb')); "
                        "plistlib.dump(d, open(sys.argv[2],'wb'), fmt=plistlib.FMT_BINARY)\" '" +
                        xml.string() + "' '" + binary.string() + "'"),
            0);
  std::vector<uint8_t> bytes = wxtest::ReadBytes(binary);
  ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "bplist");
  CFPropertyListRef list = Parse(std::string(bytes.begin(), bytes.end()));
  ExpectEventDictionary(list);
  CFRelease(list);
}

TEST_F(PropertyLists, AnythingElseGivesNull) {
  const std::string good = kEventFile;
  const std::string cases[] = {
      "",
      "plain text",
      good.substr(0, good.size() / 2),
      "<plist version=\"1.0\"><string>\xff\xfe</string></plist>",
      "bplist00\x01\x02\x03",
      std::string(200, '<'),
      "<plist version=\"1.0\">" + std::string(1000, 'x') + "</plist>",
  };
  for (const std::string& bytes : cases) {
    CFStringRef error = nullptr;
    CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()), static_cast<CFIndex>(bytes.size()));
    CFPropertyListRef list = CFPropertyListCreateFromXMLData(nullptr, data, kCFPropertyListImmutable, &error);
    EXPECT_EQ(list, nullptr) << bytes.substr(0, 60);
    EXPECT_NE(error, nullptr);
    CFRelease(list);
    CFRelease(error);
    CFRelease(data);
  }
  EXPECT_EQ(CFPropertyListCreateFromXMLData(nullptr, nullptr, kCFPropertyListImmutable, nullptr), nullptr);
}

TEST_F(PropertyLists, ABinaryDictionaryWithOverlappingKeysDoesNotAbort) {
  // libplist's binary reader alone aborts on this one.
  const std::string bytes = std::string(
          "\x62\x70\x6c\x69\x73\x74\x30\x30\xd3\x01\x02\x03\x04\x09\x06\x59\x45\x76\x65\x6e\x74\x44\x74\x61\x61\x6c\x56\x69\x00\x01"
          "\x00\x00\x51\x61\x4f\x10\x10\x03\x03\x03\x03\x03\x03\x03\x03\x03\x03\x03\x03\x03\x03\x03\x03\x51\x78\xa3\x07\x04\x09\x10"
          "\x01\x23\x40\x04\x00\x00\x00\x00\x00\x00\x09\x08\x0f\x19\x20\x22\x35\x37\x3b\x3d\x46\x08\x00\x00\x00\x00\x00\x01\x01\x00"
          "\x00\x00\x00\x00\x00\x00\x0a\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x47",
          113);
  CFPropertyListRef list = Parse(bytes);
  EXPECT_TRUE(!list || CFGetTypeID(list) == CFDictionaryGetTypeID());
  CFRelease(list);
}

TEST_F(PropertyLists, DeepNestingIsRefused) {
  std::string deep = "<plist version=\"1.0\">";
  for (int i = 0; i < 300; ++i) deep += "<array>";
  for (int i = 0; i < 300; ++i) deep += "</array>";
  deep += "</plist>";
  CFPropertyListRef list = Parse(deep);
  EXPECT_EQ(list, nullptr);
  CFRelease(list);
}

TEST_F(PropertyLists, ReadsFilesThroughURLsUpToOneMegabyte) {
  const fs::path file = mDir / "KVQR.20261210153000.plist";
  std::ofstream(file) << kEventFile;
  SInt32 error = 1;
  CFPropertyListRef list = ReadThroughURL(file.string(), &error);
  EXPECT_EQ(error, 0);
  ExpectEventDictionary(list);
  CFRelease(list);

  const fs::path big = mDir / "big.plist";
  std::string padded = kEventFile;
  padded.insert(padded.find("<plist"), std::string(1024 * 1024, ' '));
  std::ofstream(big) << padded;
  EXPECT_EQ(ReadThroughURL(big.string(), &error), nullptr);
  EXPECT_EQ(error, kCFURLResourceAccessViolationError);

  EXPECT_EQ(ReadThroughURL((mDir / "missing.plist").string(), &error), nullptr);
  EXPECT_EQ(error, kCFURLResourceNotFoundError);
  EXPECT_EQ(ReadThroughURL(mDir.path().string(), &error), nullptr);
  EXPECT_EQ(error, kCFURLResourceAccessViolationError);
}

TEST_F(PropertyLists, OriginalTmpPathsNameTheEventFolder) {
  const std::string folder = FolderEventDir();
  std::ofstream(folder + "/KVQR.20261210153000.plist") << kEventFile;
  SInt32 error = 1;
  CFPropertyListRef list = ReadThroughURL("/Tmp/KVQR.20261210153000.plist", &error);
  ExpectEventDictionary(list);
  CFRelease(list);

  FSRef ref;
  ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>("/Tmp/"), &ref, nullptr), noErr);
  char path[1024];
  ASSERT_EQ(FSRefMakePath(&ref, reinterpret_cast<UInt8*>(path), sizeof path), noErr);
  EXPECT_EQ(fs::canonical(path), fs::canonical(folder));
}

}  // namespace
