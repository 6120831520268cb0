// Surroundings for tests of the preferences store and the hub functions that use it: every
// platform folder inside a scratch folder, the application's string lists from a resource
// file written here, a fixed clock, and writers for site-defaults files.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "support/TestEnv.h"
#include "toolbox/Aliases.h"
#include "toolbox/Clock.h"
#include "toolbox/Files.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"

namespace wxtest {

inline std::vector<unsigned char> PStr(const std::string& s) {
  std::vector<unsigned char> p(1, static_cast<unsigned char>(s.size()));
  p.insert(p.end(), s.begin(), s.end());
  return p;
}

inline std::string FromP(ConstStr255Param s) { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); }

// 2026-12-10 09:30:00 as seconds since 1904.
inline UInt32 FixedDate() {
  DateTimeRec d{2026, 12, 10, 9, 30, 0, 0};
  UInt32 secs = 0;
  DateToSeconds(&d, &secs);
  return secs;
}

inline Handle NewHandleFrom(const std::vector<unsigned char>& bytes) {
  Handle h = NewHandle(Size(bytes.size()));
  if (!bytes.empty()) std::memcpy(*h, bytes.data(), bytes.size());
  return h;
}

inline Handle StringList(const std::vector<std::string>& items) {
  std::vector<unsigned char> bytes = {static_cast<unsigned char>(items.size() >> 8),
                                      static_cast<unsigned char>(items.size())};
  for (const std::string& s : items) {
    std::vector<unsigned char> p = PStr(s);
    bytes.insert(bytes.end(), p.begin(), p.end());
  }
  return NewHandleFrom(bytes);
}

// The texts the application's string lists hold in these tests.
inline const std::vector<std::string>& ButtonNames() {
  static const std::vector<std::string> names = {"Copy",  "Print", "Mail",     "OCR",     "Save",
                                                 "File",  "Scan1", "Scan2",    "Setting", "More"};
  return names;
}
inline std::string DefaultFileName(short list) { return "Name" + std::to_string(list); }

// Makes a file or folder unwritable for this process for one scope: through the mode bits,
// or for root (whom mode bits do not stop) through the immutable attribute.
class ReadOnly {
 public:
  explicit ReadOnly(std::filesystem::path path) : mPath(std::move(path)) {
    mPerms = std::filesystem::status(mPath).permissions();
    if (geteuid() == 0) mOk = Run("chattr +i '" + mPath.string() + "' 2>/dev/null") == 0;
    else {
      std::filesystem::permissions(mPath, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
      mOk = true;
    }
  }
  ~ReadOnly() {
    if (geteuid() == 0) Run("chattr -i '" + mPath.string() + "' 2>/dev/null");
    else std::filesystem::permissions(mPath, mPerms);
  }
  ReadOnly(const ReadOnly&) = delete;
  ReadOnly& operator=(const ReadOnly&) = delete;
  // False when the file system offers no way to do it.
  bool ok() const { return mOk; }

 private:
  std::filesystem::path mPath;
  std::filesystem::perms mPerms;
  bool mOk = false;
};

class PrefsEnv {
 public:
  // The application's string list 128 names `language`, and it is selected from there.
  explicit PrefsEnv(const char* language = "E") : mLanguage(language) {
    setenv("WENDRIX_ROOT", mScratch.path().c_str(), 1);
    ClockSetFake(FixedDate(), 1000);
    ClockSetAutoAdvance(1);  // code that waits for the tick to change still finishes
    mSavedSources = CPreferences::sSources;
    CPreferences::sSources = FDSources{};
    WriteAppResources();
    SelectLanguageFromResources();
  }
  ~PrefsEnv() {
    if (mAppRes != -1) CloseResFile(mAppRes);
    CPreferences::sSources = mSavedSources;
    ClockSetAutoAdvance(0);
    ClockUseReal();
    unsetenv("WENDRIX_ROOT");
  }
  PrefsEnv(const PrefsEnv&) = delete;
  PrefsEnv& operator=(const PrefsEnv&) = delete;

  const std::filesystem::path& root() const { return mScratch.path(); }

  std::filesystem::path PrefsFolder() const {
    std::string path;
    FindFolderPath(kOnSystemDisk, kPreferencesFolderType, kCreateFolder, &path);
    return path;
  }
  std::filesystem::path PrefsFile() const { return PrefsFolder() / FromP(PREFS_FILE_NAME); }

  FSSpec PrefsFolderSpec(const std::string& name) const {
    SInt16 vRef = 0;
    SInt32 dirID = 0;
    FindFolder(kOnSystemDisk, kPreferencesFolderType, kCreateFolder, &vRef, &dirID);
    FSSpec spec{};
    std::vector<unsigned char> p = PStr(name);
    FSMakeFSSpec(vRef, dirID, p.data(), &spec);
    return spec;
  }

  static void UseModels(std::vector<std::string> models) {
    CPreferences::sSources.dataSources = [models](std::vector<std::vector<unsigned char>>* names) {
      for (const std::string& m : models) names->push_back(PStr(m));
      return true;
    };
  }

  // Writes "Vormix50.def.pref": 'dPre' 128 (when `dPre` is given) and an 'AliS' alias for
  // each (id, target).
  void WriteSiteDefaults(const std::vector<unsigned char>* dPre, const std::map<short, FSSpec>& aliases) const {
    FSSpec spec = PrefsFolderSpec("Vormix50.def.pref");
    FSpDelete(&spec);
    FSpCreateResFile(&spec, 'CTTX', 'pref', smSystemScript);
    SInt16 ref = FSpOpenResFile(&spec, fsRdWrPerm);
    if (dPre) AddResource(NewHandleFrom(*dPre), 'dPre', 128, reinterpret_cast<ConstStr255Param>(""));
    for (const auto& [id, target] : aliases) {
      AliasHandle alias = nullptr;
      NewAlias(nullptr, &target, &alias);
      AddResource(reinterpret_cast<Handle>(alias), 'AliS', id, reinterpret_cast<ConstStr255Param>(""));
    }
    CloseResFile(ref);
  }

  // A 308-byte 'dPre' 128 naming `model` at byte 36.
  static std::vector<unsigned char> ModelBlock(const std::string& model) {
    std::vector<unsigned char> block(308, 0);
    std::vector<unsigned char> p = PStr(model);
    std::copy(p.begin(), p.end(), block.begin() + 36);
    return block;
  }

  // A file of `bytes` at `path`, made through the platform so that it has a specification.
  FSSpec MakeFile(const std::filesystem::path& path, const std::string& bytes = "x") const {
    std::filesystem::create_directories(path.parent_path());
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    FSSpec spec{};
    FSpMakeFromPOSIXPath(path.string(), &spec);
    return spec;
  }

 private:
  void WriteAppResources() {
    const std::string path = (mScratch.path() / "app.rsrc").string();
    CreateResFilePath(path);
    SInt16 ref = OpenResFilePath(path, fsRdWrPerm);
    AddResource(StringList({mLanguage}), 'STR#', 128, reinterpret_cast<ConstStr255Param>(""));
    AddResource(StringList(ButtonNames()), 'STR#', 300, reinterpret_cast<ConstStr255Param>(""));
    for (short list = 2000; list <= 7000; list += 1000)
      AddResource(StringList({DefaultFileName(list)}), 'STR#', list, reinterpret_cast<ConstStr255Param>(""));
    AddResource(StringList({"Maker", "2", "3", "4", "5", "6", "7", "Software"}), 'STR#', 601,
                reinterpret_cast<ConstStr255Param>(""));
    CloseResFile(ref);
    mAppRes = OpenResFilePath(path, fsRdPerm);
  }

  std::string mLanguage;
  ScratchDir mScratch;
  FDSources mSavedSources;
  SInt16 mAppRes = -1;
};

}  // namespace wxtest
