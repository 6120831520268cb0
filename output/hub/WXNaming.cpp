#include "output/hub/WXNaming.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "output/hub/CNumbering.h"
#include "toolbox/Clock.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/TextUtils.h"

namespace CWXUtility {

namespace {

// Every extension a written file can have: a stem is free only when none of them exists.
const char* const kAllExtensions[] = {".PIC", ".JPG", ".TIF", ".PDF"};
constexpr unsigned char kPreviewStemLength = 16;

std::string ToString(ConstStr255Param s) { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); }

// The Pascal string of `text` (cut to 255 bytes).
void ToPString(const std::string& text, Str255 out) {
  const size_t n = std::min<size_t>(text.size(), 255);
  out[0] = static_cast<unsigned char>(n);
  std::memcpy(out + 1, text.data(), n);
}

enum class Probe { kFree, kTaken, kError };

// Whether `stem` is taken in the folder by a file with any output extension. A file system
// error other than "not found" stops the search, so it is reported by the write that follows.
Probe ProbeStem(SInt16 vRefNum, SInt32 dirID, const std::string& stem) {
  for (const char* ext : kAllExtensions) {
    Str255 name;
    ToPString(stem + ext, name);
    FInfo info{};
    OSErr err = HGetFInfo(vRefNum, dirID, name, &info);
    if (err == noErr) return Probe::kTaken;
    if (err != fnfErr) return Probe::kError;
  }
  return Probe::kFree;
}

void MakeSpec(SInt16 vRefNum, SInt32 dirID, const std::string& name, FSSpec* out) {
  Str255 pname;
  ToPString(name, pname);
  FSMakeFSSpec(vRefNum, dirID, pname, out);
}

// The destination folder's volume and ID, created where missing; today's subfolder when asked.
void Destination(const FSSpec& folder, long dayFolder, SInt16* vRefNum, SInt32* dirID) {
  Boolean isDirectory = false;
  FSSpec dest = folder;
  if (FSpGetDirectoryID(&dest, dirID, &isDirectory) != noErr) {
    FSpDirCreate(&dest, smRoman, dirID);
  }
  *vRefNum = dest.vRefNum;
  if (dayFolder) {
    Str255 day;
    DayFolderName(day);
    FSSpec sub{};
    FSMakeFSSpec(dest.vRefNum, *dirID, day, &sub);
    SInt32 subID = 0;
    if (FSpGetDirectoryID(&sub, &subID, &isDirectory) != noErr) FSpDirCreate(&sub, smRoman, &subID);
    *dirID = subID;
  }
}

// The display names of the pages being named together, as a set of plain strings.
std::set<std::string> NameSet(const std::vector<std::vector<unsigned char>>* names) {
  std::set<std::string> set;
  if (!names) return set;
  for (const std::vector<unsigned char>& name : *names)
    if (!name.empty() && name.size() >= size_t(name[0]) + 1) set.insert(ToString(name.data()));
  return set;
}

void CreateSpec(ConstStr255Param baseName, const FSSpec& folder, FSSpec* outSpec, long dayFolder,
                const OSType* fileType, unsigned char alwaysNumber, unsigned char underscore,
                const std::vector<std::vector<unsigned char>>* takenNames) {
  SInt16 vRefNum = 0;
  SInt32 dirID = 0;
  Destination(folder, dayFolder, &vRefNum, &dirID);
  const std::string ext = ExtensionOf(fileType ? *fileType : 0);
  std::string stem = underscore == 1 ? "_" : "";
  stem += ToString(baseName);
  const std::set<std::string> taken = NameSet(takenNames);

  if (alwaysNumber == 0 && taken.count(stem) == 0) {
    const Probe probe = ProbeStem(vRefNum, dirID, stem);
    if (probe != Probe::kTaken) {
      MakeSpec(vRefNum, dirID, stem + ext, outSpec);
      return;
    }
  }
  if (takenNames) {
    Str255 cut;
    ToPString(stem, cut);
    TruncPString(cut, cut, kPreviewStemLength);
    stem = ToString(cut);
  }
  CNumbering numbering;
  for (;;) {
    const std::string serial = numbering.GetNextNumber();
    if (serial.empty()) return;
    const std::string candidate = stem + serial;
    if (taken.count(candidate) != 0) continue;
    MakeSpec(vRefNum, dirID, candidate + ext, outSpec);
    if (ProbeStem(vRefNum, dirID, candidate) != Probe::kTaken) return;
  }
}

}  // namespace

const char* ExtensionOf(OSType fileType) {
  switch (fileType) {
    case 'JPEG': return ".JPG";
    case 'TIFF': return ".TIF";
    case 'PDF ': return ".PDF";
    case 'PICT': return ".PIC";
    default: return "";
  }
}

void DayFolderName(Str255 name) {
  DateTimeRec now{};
  GetTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", now.year, now.month, now.day);
  ToPString(text, name);
}

void create_finalfile_spec(ConstStr255Param baseName, const FSSpec& folder, FSSpec* outSpec, long dayFolder,
                           const OSType* fileType, unsigned char alwaysNumber, unsigned char underscore) {
  CreateSpec(baseName, folder, outSpec, dayFolder, fileType, alwaysNumber, underscore, nullptr);
}

void create_Previewfile_spec(ConstStr255Param baseName, const FSSpec& folder, FSSpec* outSpec, long dayFolder,
                             const OSType* fileType, unsigned char alwaysNumber,
                             const std::vector<std::vector<unsigned char>>& takenNames, unsigned char underscore) {
  CreateSpec(baseName, folder, outSpec, dayFolder, fileType, alwaysNumber, underscore, &takenNames);
}

}  // namespace CWXUtility
