// The preferences file as outside input: loaded, read through every field that later code
// uses as a count or an index, changed, and merged back.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzRoot.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "output/hub/WXChecks.h"
#include "toolbox/Folders.h"

namespace {

std::string PrefsPath() {
  static const std::string path = [] {
    FuzzRoot("prefs");
    SelectLanguage(reinterpret_cast<ConstStr255Param>("\x01J"));
    std::string folder;
    FindFolderPath(kOnSystemDisk, kPreferencesFolderType, kCreateFolder, &folder);
    return folder + "/DRWX5011J.pref";
  }();
  return path;
}

void ReadHistory(RecordBytes rec, PrefHistory history) {
  const uint32_t count = history.count(rec);
  Str255 entry;
  for (uint32_t i = 0; i < count; ++i) history.entry(rec, i, entry);
  CWXUtility::CheckHistFileName(reinterpret_cast<ConstStr255Param>("\x04" "scan"), rec, history);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Mostly records of the right size (the input repeated), sometimes the raw input.
  std::vector<uint8_t> file;
  if (size > 0 && data[0] == 0xFF) {
    file.assign(data + 1, data + size);
  } else if (size > 0) {
    file.resize(PREF_ALL::kSize);
    // The input, then the filled part doubled until the record is full.
    size_t filled = std::min(size, file.size());
    std::memcpy(file.data(), data, filled);
    for (; filled < file.size(); filled *= 2) std::memcpy(&file[filled], file.data(), std::min(filled, file.size() - filled));
  }
  std::ofstream(PrefsPath(), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));

  CPreferences prefs(PREFS_FILE_NAME, 0);
  RecordBytes all = prefs.PrefAll();
  ReadHistory(PREF_ALL::kMail.in(all), PREF_MAIL::kHistory);
  ReadHistory(PREF_ALL::kOCR.in(all), PREF_OCR::kHistory);
  ReadHistory(PREF_ALL::kSave.in(all), PREF_SAVE::kHistory);
  ReadHistory(PREF_ALL::kScan1.in(all), PREF_SCANX::kHistory);
  for (uint32_t k = 0; k < PREF_ALL::kFileRecords; ++k) ReadHistory(PREF_ALL::File(k).in(all), PREF_FILE::kHistory);

  RecordBytes mail = PREF_ALL::kMail.in(all);
  for (uint32_t i = 0; i < PREF_MAIL::kMailAppCount.get(mail); ++i) PREF_MAIL::kMailApps.get(mail, i);

  Rect r;
  CPreferences::set_paper_size(&r, long(PREF_COPY::kPaperSize.get(PREF_ALL::kCopy.in(all))), 300);
  RecordBytes exif = PREF_ALL::kExif.in(all);
  EXIF_PREF::kShutterIndex.get(exif);
  EXIF_PREF::kFlashIndex.get(exif);

  RecordBytes setting = PREF_ALL::kSetting.in(all);
  Str255 model;
  PREF_SETTING::kModelName.get(setting, model);
  prefs.SetupButtonValue(static_cast<unsigned short>(FDProductID(PREF_SETTING::kTWAIN.get(setting), model)));
  return 0;
}
