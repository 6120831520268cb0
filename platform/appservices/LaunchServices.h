// Launch Services: what an item is and which application opens what.
//
// An application is an executable regular file that is a program (an ELF file or a script
// starting with "#!"), a ".desktop" entry of Type=Application, or a bundle folder whose
// Contents/Info.plist gives package type 'APPL'. One that cannot run here (a desktop entry
// that is Hidden, or whose TryExec/Exec program is not found; a file typed 'APPL' that is not
// executable) is not native: it has kLSItemInfoAppPrefersClassic instead of
// kLSItemInfoIsNativeApp | kLSItemInfoAppPrefersNative.
//
// By creator: an application carries a creator in its Finder info or, for a desktop entry,
// in the key X-Wendrix-Creator; the Applications folders are searched, the user's before
// the system's. The mail application's code 'emal' is answered, when no application
// carries it, by the desktop's default handler of x-scheme-handler/mailto.
// By extension: the default application that the freedesktop mimeapps.list files give for
// the extension's MIME type (from the shared MIME database's globs), as a desktop entry.
// Every file read lies below the Folder Manager's roots.
#pragma once

#include <string>

#include "corefoundation/CFString.h"
#include "corefoundation/CFURL.h"
#include "toolbox/Files.h"

typedef UInt32 LSInitializeFlags;
typedef UInt32 LSRequestedInfo;
typedef UInt32 LSItemInfoFlags;
typedef UInt32 LSRolesMask;

enum : LSInitializeFlags { kLSInitializeDefaults = 1 };

enum : LSRequestedInfo {
  kLSRequestExtension = 0x01,
  kLSRequestTypeCreator = 0x02,
  kLSRequestBasicFlagsOnly = 0x04,
  kLSRequestAppTypeFlags = 0x08,
  kLSRequestAllFlags = 0x10,
  kLSRequestIconAndKind = 0x20,
  kLSRequestExtensionFlagsOnly = 0x40,
  kLSRequestAllInfo = 0xFFFFFFFFu,
};

enum : LSItemInfoFlags {
  kLSItemInfoIsPlainFile = 0x00000001,
  kLSItemInfoIsPackage = 0x00000002,
  kLSItemInfoIsApplication = 0x00000004,
  kLSItemInfoIsContainer = 0x00000008,
  kLSItemInfoIsAliasFile = 0x00000010,
  kLSItemInfoIsSymlink = 0x00000020,
  kLSItemInfoIsInvisible = 0x00000040,
  kLSItemInfoIsNativeApp = 0x00000080,
  kLSItemInfoIsClassicApp = 0x00000100,
  kLSItemInfoAppPrefersNative = 0x00000200,
  kLSItemInfoAppPrefersClassic = 0x00000400,
  kLSItemInfoAppIsScriptable = 0x00000800,
  kLSItemInfoIsVolume = 0x00001000,
  kLSItemInfoExtensionIsHidden = 0x00100000,
};

enum : LSRolesMask {
  kLSRolesNone = 0x00000001,
  kLSRolesViewer = 0x00000002,
  kLSRolesEditor = 0x00000004,
  kLSRolesAll = 0xFFFFFFFFu,
};

enum : OSStatus {
  kLSAppInTrashErr = -10660,
  kLSUnknownErr = -10810,
  kLSNotAnApplicationErr = -10811,
  kLSNotInitializedErr = -10812,
  kLSDataUnavailableErr = -10813,
  kLSApplicationNotFoundErr = -10814,
  kLSUnknownTypeErr = -10815,
};

struct LSItemInfoRecord {
  LSItemInfoFlags flags;
  OSType filetype;
  OSType creator;
  CFStringRef extension;  // a new string (the caller releases it), or null
  CFStringRef iconFileName;
  UInt32 kindID;
};

OSStatus LSInit(LSInitializeFlags flags);
OSStatus LSTerm();

// fnfErr when the item does not exist. A symbolic link is an alias file; its target's
// kind is not looked through.
OSStatus LSCopyItemInfoForRef(const FSRef* item, LSRequestedInfo whichInfo, LSItemInfoRecord* outItemInfo);
// By creator when `inCreator` is neither 0 nor '????', else by `inExtension`. Either out
// may be null; outAppURL is a new URL. kLSApplicationNotFoundErr when none is found.
OSStatus LSGetApplicationForInfo(OSType inType, OSType inCreator, CFStringRef inExtension, LSRolesMask inRoleMask,
                                 FSRef* outAppRef, CFURLRef* outAppURL);

// Platform side: whether the item at `path` is an application, and whether it can run
// here. False when it is no application.
bool LSPathIsApplication(const std::string& path, bool* native);
// The program inside the bundle folder `folder` (Contents/MacOS/<CFBundleExecutable>), or
// "" when its Info.plist names none.
std::string LSBundleExecutable(const std::string& folder);
