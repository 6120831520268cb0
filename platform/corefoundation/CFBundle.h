// Bundles: a folder with Contents/Info.plist (help books, application bundles, frameworks),
// and the main bundle, the folder of the running executable.
//
// Localized strings come from Contents/Resources/<language>.lproj/<table>.strings (a
// property list), the language taken from the user's locale (LC_ALL, LC_MESSAGES, LANG),
// trying "<ll>_<CC>", "<ll>", the English names of the platform ("English", "Japanese",
// "French", "German") and then "en" / "English", and falling back to the Info.plist value.
#pragma once

#include "corefoundation/CFDictionary.h"
#include "corefoundation/CFString.h"
#include "corefoundation/CFURL.h"

typedef struct __CFBundle* CFBundleRef;

CFTypeID CFBundleGetTypeID();
// Null when `bundleURL` is not a folder. A folder without Contents/Info.plist is a bundle
// with an empty information dictionary.
CFBundleRef CFBundleCreate(CFAllocatorRef alloc, CFURLRef bundleURL);
// The bundle of the running executable's folder; lent, never released.
CFBundleRef CFBundleGetMainBundle();
CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle);
// "Frameworks" inside the bundle; for the main bundle, the folder "Frameworks" beside the
// executable.
CFURLRef CFBundleCopyPrivateFrameworksURL(CFBundleRef bundle);
CFURLRef CFBundleCopyResourcesDirectoryURL(CFBundleRef bundle);
// Lent, never null for a bundle.
CFDictionaryRef CFBundleGetInfoDictionary(CFBundleRef bundle);
CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key);
// CFBundlePackageType and CFBundleSignature as four-character codes ('????' when absent).
void CFBundleGetPackageInfo(CFBundleRef bundle, UInt32* packageType, UInt32* packageCreator);
// A new string: the table's value for `key`, else the Info.plist's value for `key` when the
// table is "InfoPlist", else `value` (when given), else `key`. A null table is "Localizable".
CFStringRef CFBundleCopyLocalizedString(CFBundleRef bundle, CFStringRef key, CFStringRef value, CFStringRef tableName);
