#include "corefoundation/CFBundle.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "corefoundation/CFPropertyList.h"
#include "corefoundation/CFURLAccess.h"
#include "corefoundation/cfObject.h"
#include "corefoundation/cfString.h"
#include "toolbox/FilePaths.h"
#include "toolbox/Folders.h"

namespace {

struct cfBundle : CFObject {
  cfBundle(std::string folder, CFDictionaryRef info, bool main)
      : CFObject(kCFTypeIDBundle), folder(std::move(folder)), info(info), isMain(main) {}
  ~cfBundle() override {
    CFRelease(info);
    for (auto& [name, table] : tables) CFRelease(table);
  }
  const std::string folder;
  const CFDictionaryRef info;
  const bool isMain;
  std::map<std::string, CFDictionaryRef> tables;  // null: no such table
};

cfBundle* Bundle(CFBundleRef bundle) {
  auto* object = reinterpret_cast<CFObject*>(bundle);
  return object && object->typeID == kCFTypeIDBundle ? static_cast<cfBundle*>(object) : nullptr;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

CFDictionaryRef EmptyDictionary() {
  return CFDictionaryCreate(nullptr, nullptr, nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
}

CFBundleRef Make(const std::string& folder, bool main) {
  CFDictionaryRef info = main ? nullptr : CFPropertyListCreateDictionaryFromFile(folder + "/Contents/Info.plist");
  return reinterpret_cast<CFBundleRef>(static_cast<CFObject*>(new cfBundle(folder, info ? info : EmptyDictionary(), main)));
}

CFURLRef URLFor(const std::string& path) {
  return CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(path.c_str()),
                                                 static_cast<CFIndex>(path.size()), true);
}

// The platform's language folder names, by ISO code.
const char* PlatformLanguageName(const std::string& code) {
  static const std::map<std::string, const char*> kNames = {
      {"en", "English"}, {"ja", "Japanese"}, {"fr", "French"}, {"de", "German"}};
  auto it = kNames.find(code);
  return it == kNames.end() ? nullptr : it->second;
}

// The .lproj names to try, best first: the user's locale, then English.
std::vector<std::string> Languages() {
  std::vector<std::string> out;
  auto add = [&out](const std::string& name) {
    if (!name.empty() && std::find(out.begin(), out.end(), name) == out.end()) out.push_back(name);
  };
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (!value || !*value) continue;
    std::string locale = value;
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale == "C" || locale == "POSIX") break;
    const std::string language = locale.substr(0, locale.find('_'));
    add(locale);
    add(language);
    if (const char* name = PlatformLanguageName(language)) add(name);
    break;
  }
  add("en");
  add("English");
  return out;
}

// The string table `table` of the best language that has one, or null.
CFDictionaryRef Table(cfBundle& bundle, const std::string& table) {
  auto found = bundle.tables.find(table);
  if (found != bundle.tables.end()) return found->second;
  CFDictionaryRef strings = nullptr;
  for (const std::string& language : Languages()) {
    strings = CFPropertyListCreateDictionaryFromFile(bundle.folder + "/Contents/Resources/" + language + ".lproj/" + table + ".strings");
    if (strings) break;
  }
  bundle.tables[table] = strings;
  return strings;
}

CFStringRef StringValue(CFDictionaryRef dict, CFStringRef key) {
  CFTypeRef value = dict ? CFDictionaryGetValue(dict, key) : nullptr;
  return value && CFGetTypeID(value) == CFStringGetTypeID() ? static_cast<CFStringRef>(value) : nullptr;
}

OSType FourCharCodeOf(CFDictionaryRef info, CFStringRef key) {
  const std::string* text = cfUTF8(StringValue(info, key));
  if (!text || text->size() != 4) return '????';
  OSType code = 0;
  for (unsigned char c : *text) code = (code << 8) | c;
  return code;
}

}  // namespace

CFTypeID CFBundleGetTypeID() { return kCFTypeIDBundle; }

CFBundleRef CFBundleCreate(CFAllocatorRef, CFURLRef bundleURL) {
  UInt8 path[4096];
  if (!CFURLGetFileSystemRepresentation(bundleURL, true, path, sizeof path)) return nullptr;
  const std::string folder(reinterpret_cast<const char*>(path));
  return IsFolder(folder) ? Make(folder, false) : nullptr;
}

CFBundleRef CFBundleGetMainBundle() {
  // One main bundle per application folder, so a bundle follows the folder when it moves;
  // those handed out before stay valid.
  // Kept for the life of the process, as a constant object is.
  static auto* mains = new std::map<std::string, CFBundleRef>;
  CFBundleRef& main = (*mains)[FolderApplicationDir()];
  if (!main) {
    main = Make(FolderApplicationDir(), true);
    cfMakeConstant(reinterpret_cast<CFObject*>(main));
    cfMakeConstant(const_cast<CFObject*>(reinterpret_cast<const CFObject*>(CFBundleGetInfoDictionary(main))));
  }
  return main;
}

CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle) {
  cfBundle* b = Bundle(bundle);
  return b ? URLFor(b->folder) : nullptr;
}

CFURLRef CFBundleCopyPrivateFrameworksURL(CFBundleRef bundle) {
  cfBundle* b = Bundle(bundle);
  if (!b) return nullptr;
  return URLFor(b->isMain ? FpJoin(b->folder, "Frameworks") : b->folder + "/Contents/Frameworks");
}

CFURLRef CFBundleCopyResourcesDirectoryURL(CFBundleRef bundle) {
  cfBundle* b = Bundle(bundle);
  if (!b) return nullptr;
  return URLFor(b->isMain ? FpJoin(b->folder, "Resources") : b->folder + "/Contents/Resources");
}

CFDictionaryRef CFBundleGetInfoDictionary(CFBundleRef bundle) {
  cfBundle* b = Bundle(bundle);
  return b ? b->info : nullptr;
}

CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key) {
  cfBundle* b = Bundle(bundle);
  return b && key ? CFDictionaryGetValue(b->info, key) : nullptr;
}

void CFBundleGetPackageInfo(CFBundleRef bundle, UInt32* packageType, UInt32* packageCreator) {
  cfBundle* b = Bundle(bundle);
  CFDictionaryRef info = b ? b->info : nullptr;
  if (packageType) *packageType = FourCharCodeOf(info, CFSTR("CFBundlePackageType"));
  if (packageCreator) *packageCreator = FourCharCodeOf(info, CFSTR("CFBundleSignature"));
}

CFStringRef CFBundleCopyLocalizedString(CFBundleRef bundle, CFStringRef key, CFStringRef value, CFStringRef tableName) {
  cfBundle* b = Bundle(bundle);
  if (!key) return nullptr;
  const std::string* tableText = cfUTF8(tableName);
  const std::string table = tableText && !tableText->empty() ? *tableText : "Localizable";
  CFStringRef found = nullptr;
  if (b && table.find('/') == std::string::npos) found = StringValue(Table(*b, table), key);
  if (!found && b && table == "InfoPlist") found = StringValue(b->info, key);
  if (!found) found = value && CFGetTypeID(value) == CFStringGetTypeID() ? value : key;
  return static_cast<CFStringRef>(CFRetain(found));
}
