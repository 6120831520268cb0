// Navigation Services: the chooser's options, the items of a folder as the chooser shows
// them, and the object filter each item goes through ('fss ' descriptor and its info).
#pragma once

#include <string>
#include <vector>

#include "appservices/AppleEvents.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

typedef UInt32 NavDialogOptionFlags;
enum : NavDialogOptionFlags { kNavSupportPackages = 0x1000 };

struct NavDialogOptions {
  UInt16 version = 0;
  NavDialogOptionFlags dialogOptionFlags = 0;
  Str255 message = {0};
};

typedef SInt16 NavFilterModes;
enum : NavFilterModes { kNavFilteringBrowserList = 0 };

struct NavFileOrFolderInfo {
  UInt16 version = 0;
  Boolean isFolder = false;
  Boolean visible = true;
  union {
    struct {
      FInfo finderInfo;
    } fileInfo;
    struct {
      UInt16 frFlags;  // kIsAlias set on a package
      UInt32 numberOfFiles;
    } folderInfo;
  } fileAndFolder{};
};

// Answers whether an item is shown; `info` is a NavFileOrFolderInfo for 'fss ' items.
typedef Boolean (*NavObjectFilterProcPtr)(AEDesc* theItem, void* info, void* callBackUD, NavFilterModes filterMode);

// One item of a folder as the chooser lists it.
struct NavItem {
  FSSpec spec{};
  std::string shown;  // the name in the list: a desktop entry's Name, else the file's name
  std::string path;
  bool folder = false;   // a folder that can be entered
  bool package = false;  // a folder shown as one item
  NavFileOrFolderInfo info;
  OSType type = 0;  // the Finder type, an alias's target's, or a package's
};

// The folder's items, folders first, then by shown name ignoring case; dot-files are left out. Packages
// (folders with Contents/Info.plist) count as items when `packages`, else as folders.
std::vector<NavItem> NavListFolder(const std::string& folder, bool packages);
// The item of one path; false when it does not exist.
bool NavMakeItem(const std::string& path, bool packages, NavItem* item);
// Whether the object filter shows the item (true without a filter). The filter gets the
// item as an 'fss ' descriptor with its NavFileOrFolderInfo.
bool NavFilterShows(const NavItem& item, NavObjectFilterProcPtr filter, void* userData);
// A bundle folder's package type ('APPL' for an application), 0 for another folder.
OSType NavPackageType(const std::string& folder);
// The file specification an 'fss ' descriptor holds; paramErr for another descriptor.
OSErr NavGetItemSpec(const AEDesc* item, FSSpec* spec);
