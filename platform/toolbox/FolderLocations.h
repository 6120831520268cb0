// The platform's well-known folders mapped onto Linux locations, below FindFolder and the
// folder ID table.
//
// Every location lies below one root. By default the root is the user's home (with the XDG
// variables and TMPDIR honoured) and system folders lie below '/'. When the environment
// variable WENDRIX_ROOT is set, it stands in for all of them: home, XDG folders, TMPDIR and
// the system prefix are all inside it, so a test points everything into a scratch folder.
//
// | folder                        | Linux location (defaults)                              |
// | Preferences                   | $XDG_CONFIG_HOME/wendrix (~/.config/wendrix)           |
// | Pictures                      | $XDG_PICTURES_DIR, else ~/Pictures                     |
// | Documents                     | $XDG_DOCUMENTS_DIR, else ~/Documents                   |
// | Temporary items               | $TMPDIR/wendrix-$UID                                   |
// | Trash                         | $XDG_DATA_HOME/Trash/files (the freedesktop trash)     |
// | ColorSync profiles            | user ~/.local/share/icc, local /usr/local/share/color/icc, system /usr/share/color/icc |
// | Applications                  | user ~/.local/share/applications, else /usr/share/applications |
// | Frameworks                    | /usr/lib                                               |
// | Application Support           | $XDG_DATA_HOME (~/.local/share)                        |
#pragma once

#include <string>
#include <vector>

#include "toolbox/MacTypes.h"

// Domains, passed where a volume reference is expected.
enum : SInt16 {
  kOnSystemDisk = -32768,
  kOnAppropriateDisk = -32767,
  kSystemDomain = -32766,
  kLocalDomain = -32765,
  kNetworkDomain = -32764,
  kUserDomain = -32763,
};

enum : Boolean { kDontCreateFolder = 0, kCreateFolder = 1 };

constexpr OSType kPreferencesFolderType = 'pref';
constexpr OSType kPictureDocumentsFolderType = 'pdoc';
constexpr OSType kDocumentsFolderType = 'docs';
constexpr OSType kTrashFolderType = 'trsh';
constexpr OSType kApplicationsFolderType = 'apps';
constexpr OSType kFrameworksFolderType = 'fram';
constexpr OSType kColorSyncProfilesFolderType = 'prof';
constexpr OSType kTemporaryFolderType = 'temp';
constexpr OSType kApplicationSupportFolderType = 'asup';

// ---- Linux side, for the platform layer ---------------------------------------------------

// The POSIX folder FindFolder answers for (domain, type), created (with its parents) when
// asked. fnfErr as FindFolder.
OSErr FindFolderPath(SInt16 vRefNum, OSType folderType, Boolean createFolder, std::string* path);

// $WENDRIX_ROOT, else the user's home folder.
std::string FolderRoot();
// The runtime tree, the same in a build tree and an installed one: every program stands in
// <prefix>/bin, and finds everything else from there.
inline constexpr const char* kRuntimeProgramDir = "bin";
inline constexpr const char* kRuntimeApplicationDir = "lib/wendrix";           // Plug-Ins, Frameworks
inline constexpr const char* kRuntimeTwainDir = "lib/wendrix/twain";           // data source modules
inline constexpr const char* kRuntimeResourceFile = "share/wendrix/Wendrix.rsrc";
inline constexpr const char* kRuntimeHelpDir = "share/wendrix/help";           // <language letter>/index.html
// The folder above the running executable's own.
std::string FolderInstallPrefix();
// `relative` (one of the kRuntime... paths, or below one) inside the runtime tree.
std::string FolderRuntimePath(const std::string& relative);
// The program `name` of the runtime tree (<prefix>/bin/<name>).
std::string FolderProgramPath(const std::string& name);
// The application's folder: the main bundle, with "Plug-Ins" and "Frameworks" in it; the
// executable's own folder for a program outside a runtime tree.
std::string FolderApplicationDir();
// The scanner-button event folder: TMPDIR (below the root when WENDRIX_ROOT is set).
std::string FolderEventDir();
// The platform's original absolute paths on this system: "/Tmp/..." lies in the event
// folder, "/Library/Application Support/..." in the local domain's Application Support
// folder. Any other path is returned as it is.
std::string FolderMapOriginalPath(const std::string& path);
// The freedesktop bases below the root: the user's configuration and data homes, and the
// prefix of the system's folders ("" for the real system).
std::string FolderConfigHome();
std::string FolderDataHome();
std::string FolderSystemPrefix();
// The application's own support folder ($XDG_DATA_HOME/wendrix), created on demand.
std::string FolderSupportDir();
// Where that folder is, without making it (for readers, to whom a missing folder is empty).
std::string FolderSupportPath();
// Every folder searched for colour profiles, user folders first.
std::vector<std::string> FolderColorProfileDirs();

// Test hook: the application folder to report instead of the executable's ("" = back to it).
void FolderSetApplicationDir(const std::string& path);
// Test hook: the runtime tree to report instead of the executable's ("" = back to it).
void FolderSetInstallPrefix(const std::string& path);
