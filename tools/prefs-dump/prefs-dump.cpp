// prefs-dump FILE                  prints every record of a preferences file, field by field
// prefs-dump --factory LANG [MODEL] writes the factory-default record for language letter
//                                  LANG (J, E, F, G) and scanner model MODEL to standard output
//
// The application's string lists come from $WX_RESOURCE_FILE (or the resource file beside
// the executable) when it can be opened; folders are found below $WENDRIX_ROOT when set.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "app/FactoryDefaults.h"
#include "app/LanguageTables.h"
#include "app/PrefRecords.h"
#include "toolbox/Resources.h"

namespace {

std::string Text(ConstStr255Param s) {
  std::string out = "\"";
  for (unsigned i = 1; i <= s[0]; ++i) {
    const unsigned char c = s[i];
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c >= 0x20 && c < 0x7F) {
      out += char(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out + "\"";
}

std::string SpecText(const FSSpec& s) {
  return "{vRefNum " + std::to_string(s.vRefNum) + ", parID " + std::to_string(s.parID) + ", name " + Text(s.name) +
         "}";
}

// Prints the fields of one record, each under "<prefix>.<name>".
class Printer {
 public:
  Printer(RecordBytes rec, std::string prefix) : mRec(rec), mPrefix(std::move(prefix)) {}

  void operator()(const char* name, PrefU8 f) const { Line(name, std::to_string(f.get(mRec))); }
  void operator()(const char* name, PrefI16 f) const { Line(name, std::to_string(f.get(mRec))); }
  void operator()(const char* name, PrefU16 f) const { Line(name, std::to_string(f.get(mRec))); }
  void operator()(const char* name, PrefU32 f) const { Line(name, std::to_string(f.get(mRec))); }
  void operator()(const char* name, PrefCount f) const {
    Line(name, std::to_string(mRec.u32(f.off)) + " (read as " + std::to_string(f.get(mRec)) + ")");
  }
  void operator()(const char* name, PrefIndex f) const {
    Line(name, std::to_string(mRec.u32(f.off)) + " (read as " + std::to_string(f.get(mRec)) + ")");
  }
  void operator()(const char* name, PrefIndex8 f) const {
    Line(name, std::to_string(mRec.u8(f.off)) + " (read as " + std::to_string(f.get(mRec)) + ")");
  }
  void operator()(const char* name, PrefStr255 f) const {
    Str255 s;
    f.get(mRec, s);
    Line(name, Text(s));
  }
  void operator()(const char* name, PrefSpec f) const { Line(name, SpecText(f.get(mRec))); }
  void operator()(const char* name, PrefDocSize f) const {
    Line(name, std::to_string(f.width(mRec)) + " x " + std::to_string(f.height(mRec)) + ", unit " +
                   std::to_string(f.unit(mRec)));
  }
  void operator()(const char* name, PrefHistory f) const {
    const uint32_t count = f.count(mRec);
    Line(std::string(name) + ".count", std::to_string(mRec.u32(f.off)) + " (read as " + std::to_string(count) + ")");
    for (uint32_t i = 0; i < count; ++i) {
      Str255 s;
      f.entry(mRec, i, s);
      Line(std::string(name) + "[" + std::to_string(i) + "]", Text(s));
    }
  }
  void operator()(const char* name, PrefSpecList f, uint32_t count) const {
    for (uint32_t i = 0; i < count; ++i) Line(std::string(name) + "[" + std::to_string(i) + "]", SpecText(f.get(mRec, i)));
  }

 private:
  void Line(const std::string& name, const std::string& value) const {
    std::cout << mPrefix << "." << name << " = " << value << "\n";
  }
  RecordBytes mRec;
  std::string mPrefix;
};

void DumpPDF(RecordBytes r, const std::string& prefix) {
  using R = StPDFDialog;
  Printer p(r, prefix);
  p("kLanguageOption", R::kLanguageOption);
  p("kUnused4", R::kUnused4);
  p("kUnused8", R::kUnused8);
  p("kLanguage", R::kLanguage);
  p("kCompression", R::kCompression);
  p("kSavedCompression", R::kSavedCompression);
  p("kRestricted", R::kRestricted);
  p("kAppendTo", R::kAppendTo);
  p("kOptionCBCR", R::kOptionCBCR);
  p("kOptionCBXT", R::kOptionCBXT);
  p("kOptionCBXP", R::kOptionCBXP);
  p("kUnused108", R::kUnused108);
}

void DumpJPEG(RecordBytes r, const std::string& prefix) {
  using R = StJPEGDialog;
  Printer p(r, prefix);
  p("kLanguageOption", R::kLanguageOption);
  p("kLanguage", R::kLanguage);
  p("kOptionSLT", R::kOptionSLT);
  p("kOptionPRB", R::kOptionPRB);
  p("kCompression", R::kCompression);
}

void DumpOther(RecordBytes r, const std::string& prefix) {
  using R = StOtherDialog;
  Printer p(r, prefix);
  p("kLanguageOption", R::kLanguageOption);
  p("kLanguage", R::kLanguage);
  p("kOptionSLT", R::kOptionSLT);
  p("kOptionPRB", R::kOptionPRB);
}

void DumpCopy(RecordBytes r) {
  using R = PREF_COPY;
  Printer p(r, "PREF_COPY");
  p("kSource", R::kSource);
  p("kLastSource", R::kLastSource);
  p("kImageMode", R::kImageMode);
  p("kImageMode2", R::kImageMode2);
  p("kResolution", R::kResolution);
  p("kResolution2", R::kResolution2);
  p("kPaperSize", R::kPaperSize);
  p("kPaperSize2", R::kPaperSize2);
  p("kBrightness", R::kBrightness);
  p("kScale", R::kScale);
  p("kScale2", R::kScale2);
  p("kCustomPercent", R::kCustomPercent);
  p("kCheckUION", R::kCheckUION);
  p("kButtonName", R::kButtonName);
  p("kTag", R::kTag);
  p("kCustomSize", R::kCustomSize);
  p("kScanOption", R::kScanOption);
  p("kFirstPage", R::kFirstPage);
  p("kLastPage", R::kLastPage);
  p("kCopies", R::kCopies);
  p("kCollate", R::kCollate);
}

void DumpPrint(RecordBytes r) {
  using R = PREF_PRINT;
  Printer p(r, "PREF_PRINT");
  p("kSource", R::kSource);
  p("kLastSource", R::kLastSource);
  p("kImageMode", R::kImageMode);
  p("kImageMode2", R::kImageMode2);
  p("kResolution", R::kResolution);
  p("kResolution2", R::kResolution2);
  p("kPaperSize", R::kPaperSize);
  p("kPaperSize2", R::kPaperSize2);
  p("kBrightness", R::kBrightness);
  p("kCheckUION", R::kCheckUION);
  p("kButtonName", R::kButtonName);
  p("kTag", R::kTag);
  p("kCustomSize", R::kCustomSize);
  p("kJob308", R::kJob308);
  p("kJob312", R::kJob312);
  p("kJob316", R::kJob316);
  p("kCopies", R::kCopies);
  p("kJobFlag", R::kJobFlag);
}

void DumpMail(RecordBytes r) {
  using R = PREF_MAIL;
  Printer p(r, "PREF_MAIL");
  p("kSetting0", R::kSetting0);
  p("kSetting4", R::kSetting4);
  p("kPaperSize", R::kPaperSize);
  p("kSetting12", R::kSetting12);
  p("kSetting16", R::kSetting16);
  p("kCheckUION", R::kCheckUION);
  p("kCheckDYIN", R::kCheckDYIN);
  p("kButtonName", R::kButtonName);
  p("kDefaultFileName", R::kDefaultFileName);
  p("kFileName", R::kFileName);
  p("kHistory", R::kHistory);
  p("kFolder", R::kFolder);
  p("kMailApp", R::kMailApp);
  p("kTag", R::kTag);
  p("kCustomSize", R::kCustomSize);
  DumpPDF(R::kPDF.in(r), "PREF_MAIL.kPDF");
  DumpJPEG(R::kJPEG.in(r), "PREF_MAIL.kJPEG");
  DumpOther(R::kPICT.in(r), "PREF_MAIL.kPICT");
  DumpOther(R::kTIFF.in(r), "PREF_MAIL.kTIFF");
  p("kCheckAIRE", R::kCheckAIRE);
  p("kMailAppCount", R::kMailAppCount);
  p("kMailApps", R::kMailApps, R::kMailAppCount.get(r));
  p("kCheckEZFN", R::kCheckEZFN);
  p("kFlag21601", R::kFlag21601);
  p("kSetting21604", R::kSetting21604);
}

void DumpOCR(RecordBytes r) {
  using R = PREF_OCR;
  Printer p(r, "PREF_OCR");
  p("kColourMode", R::kColourMode);
  p("kSetting4", R::kSetting4);
  p("kPaperSize", R::kPaperSize);
  p("kColourSetting", R::kColourSetting);
  p("kFlag16", R::kFlag16);
  p("kCheckDYIN", R::kCheckDYIN);
  p("kButtonName", R::kButtonName);
  p("kDefaultFileName", R::kDefaultFileName);
  p("kHistory", R::kHistory);
  p("kFolder", R::kFolder);
  p("kOCRApp", R::kOCRApp);
  p("kTag", R::kTag);
  p("kCustomSize", R::kCustomSize);
  DumpJPEG(R::kJPEG.in(r), "PREF_OCR.kJPEG");
  DumpOther(R::kPICT.in(r), "PREF_OCR.kPICT");
  DumpOther(R::kTIFF.in(r), "PREF_OCR.kTIFF");
  p("kCheckEZFN", R::kCheckEZFN);
  p("kFlag3413", R::kFlag3413);
  p("kSetting3416", R::kSetting3416);
}

void DumpSave(RecordBytes r) {
  using R = PREF_SAVE;
  Printer p(r, "PREF_SAVE");
  p("kSource", R::kSource);
  p("kLastSource", R::kLastSource);
  p("kImageMode", R::kImageMode);
  p("kImageMode2", R::kImageMode2);
  p("kResolution", R::kResolution);
  p("kResolution2", R::kResolution2);
  p("kPaperSize", R::kPaperSize);
  p("kPaperSize2", R::kPaperSize2);
  p("kFileType", R::kFileType);
  p("kCheckUION", R::kCheckUION);
  p("kCheckDYIN", R::kCheckDYIN);
  p("kCheckSVAD", R::kCheckSVAD);
  p("kButtonName", R::kButtonName);
  p("kDefaultFileName", R::kDefaultFileName);
  p("kFileName", R::kFileName);
  p("kHistory", R::kHistory);
  p("kFolder", R::kFolder);
  p("kTag", R::kTag);
  p("kCustomSize", R::kCustomSize);
  DumpPDF(R::kPDF.in(r), "PREF_SAVE.kPDF");
  DumpJPEG(R::kJPEG.in(r), "PREF_SAVE.kJPEG");
  DumpOther(R::kPICT.in(r), "PREF_SAVE.kPICT");
  DumpOther(R::kTIFF.in(r), "PREF_SAVE.kTIFF");
  p("kCheckFORE", R::kCheckFORE);
  p("kCheckEZFN", R::kCheckEZFN);
  p("kFlag3622", R::kFlag3622);
  p("kSetting3624", R::kSetting3624);
}

void DumpFile(RecordBytes r, uint32_t k) {
  using R = PREF_FILE;
  const std::string prefix = "PREF_FILE[" + std::to_string(k) + "]";
  Printer p(r, prefix);
  p("kCurrentTab", R::kCurrentTab);
  p("kSetting4", R::kSetting4);
  p("kSetting8", R::kSetting8);
  p("kPaperSize", R::kPaperSize);
  p("kSetting16", R::kSetting16);
  p("kFlag20", R::kFlag20);
  p("kFlag21", R::kFlag21);
  p("kButtonName", R::kButtonName);
  p("kDefaultFileName", R::kDefaultFileName);
  p("kFileName", R::kFileName);
  p("kHistory", R::kHistory);
  p("kFolder", R::kFolder);
  p("kTargetApp", R::kTargetApp);
  p("kTag", R::kTag);
  p("kCustomSize", R::kCustomSize);
  DumpPDF(R::kPDF.in(r), prefix + ".kPDF");
  DumpJPEG(R::kJPEG.in(r), prefix + ".kJPEG");
  DumpOther(R::kPICT.in(r), prefix + ".kPICT");
  DumpOther(R::kTIFF.in(r), prefix + ".kTIFF");
  p("kFlag3672", R::kFlag3672);
  p("kFlag3673", R::kFlag3673);
  p("kFlag3674", R::kFlag3674);
  p("kFlag3675", R::kFlag3675);
  p("kSetting3676", R::kSetting3676);
  p("kFlag3680", R::kFlag3680);
  p("kButtonPending", R::kButtonPending);
}

void DumpScan(RecordBytes r, const std::string& prefix) {
  using R = PREF_SCANX;
  Printer p(r, prefix);
  p("kSource", R::kSource);
  p("kLastSource", R::kLastSource);
  p("kImageMode", R::kImageMode);
  p("kImageMode2", R::kImageMode2);
  p("kResolution", R::kResolution);
  p("kResolution2", R::kResolution2);
  p("kPaperSize", R::kPaperSize);
  p("kPaperSize2", R::kPaperSize2);
  p("kFileType", R::kFileType);
  p("kCheckUION", R::kCheckUION);
  p("kCheckDYIN", R::kCheckDYIN);
  p("kCheckSVAD", R::kCheckSVAD);
  p("kButtonName", R::kButtonName);
  p("kDefaultFileName", R::kDefaultFileName);
  p("kHistory", R::kHistory);
  p("kFolder", R::kFolder);
  p("kTargetApp", R::kTargetApp);
  p("kTag", R::kTag);
  p("kCustomSize", R::kCustomSize);
  p("kCheckFIRE", R::kCheckFIRE);
  DumpJPEG(R::kJPEG.in(r), prefix + ".kJPEG");
  DumpOther(R::kPICT.in(r), prefix + ".kPICT");
  DumpOther(R::kTIFF.in(r), prefix + ".kTIFF");
  p("kCheckEZFN", R::kCheckEZFN);
  p("kFlag3437", R::kFlag3437);
}

void DumpSetting(RecordBytes r) {
  using R = PREF_SETTING;
  Printer p(r, "PREF_SETTING");
  p("kModelName", R::kModelName);
  p("kButtonSlot0", R::kButtonSlot0);
  p("kButtonSlot1", R::kButtonSlot1);
  p("kButtonSlot2", R::kButtonSlot2);
  p("kButtonSlot3", R::kButtonSlot3);
  p("kButtonName", R::kButtonName);
  p("kTag", R::kTag);
  p("kTWAIN", R::kTWAIN);
  p("kPopupText", R::kPopupText);
  p("kFilmAdapter", R::kFilmAdapter);
  p("kQuitOption", R::kQuitOption);
  p("kCheckDone", R::kCheckDone);
  p("kTempFolder", R::kTempFolder);
  p("kTempBase", R::kTempBase);
}

void DumpExif(RecordBytes r) {
  using R = EXIF_PREF;
  Printer p(r, "EXIF_PREF");
  p("kMark", R::kMark);
  p("kMake", R::kMake);
  p("kSoftware", R::kSoftware);
  p("kModel", R::kModel);
  p("kKept772", R::kKept772);
  p("kColourPage", R::kColourPage);
  p("kWidth", R::kWidth);
  p("kHeight", R::kHeight);
  p("kKept788", R::kKept788);
  p("kKept792", R::kKept792);
  p("kXResolution", R::kXResolution);
  p("kYResolution", R::kYResolution);
  p("kDateTime", R::kDateTime);
  p("kSource", R::kSource);
  p("kTitleEnable", R::kTitleEnable);
  p("kTitle", R::kTitle);
  p("kAuthorEnable", R::kAuthorEnable);
  p("kAuthor", R::kAuthor);
  p("kShootDateEnable", R::kShootDateEnable);
  p("kShootDate", R::kShootDate);
  p("kYearIndex", R::kYearIndex);
  p("kMonth", R::kMonth);
  p("kDay", R::kDay);
  p("kShutterEnable", R::kShutterEnable);
  p("kShutterIndex", R::kShutterIndex);
  p("kApertureEnable", R::kApertureEnable);
  p("kApertureIndex", R::kApertureIndex);
  p("kFlashEnable", R::kFlashEnable);
  p("kFlashIndex", R::kFlashIndex);
  p("kISOEnable", R::kISOEnable);
  p("kISOIndex", R::kISOIndex);
  p("kCommentEnable", R::kCommentEnable);
  p("kComment", R::kComment);
  p("kSceneEnable", R::kSceneEnable);
  p("kSceneValue", R::kSceneValue);
  p("kExposureModeEnable", R::kExposureModeEnable);
  p("kExposureModeIndex", R::kExposureModeIndex);
  p("kKept2440", R::kKept2440);
  p("kIsDefault", R::kIsDefault);
}

void Dump(RecordBytes all) {
  DumpCopy(PREF_ALL::kCopy.in(all));
  DumpPrint(PREF_ALL::kPrint.in(all));
  DumpMail(PREF_ALL::kMail.in(all));
  DumpOCR(PREF_ALL::kOCR.in(all));
  DumpSave(PREF_ALL::kSave.in(all));
  for (uint32_t k = 0; k < PREF_ALL::kFileRecords; ++k) DumpFile(PREF_ALL::File(k).in(all), k);
  DumpScan(PREF_ALL::kScan1.in(all), "PREF_SCANX[Scan-1]");
  DumpScan(PREF_ALL::kScan2.in(all), "PREF_SCANX[Scan-2]");
  DumpSetting(PREF_ALL::kSetting.in(all));
  Printer p(all, "PREF_ALL");
  p("kWindowTop", PREF_ALL::kWindowTop);
  p("kWindowLeft", PREF_ALL::kWindowLeft);
  DumpExif(PREF_ALL::kExif.in(all));
  p("kLastEventFile", PREF_ALL::kLastEventFile);
  p("kLastButton", PREF_ALL::kLastButton);
}

int Usage() {
  std::cerr << "usage: prefs-dump FILE\n       prefs-dump --factory LANG [MODEL] > FILE\n";
  return 2;
}

int DumpFileAt(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "prefs-dump: cannot open " << path << "\n";
    return 1;
  }
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (data.size() != PREF_ALL::kSize) {
    std::cerr << "prefs-dump: " << path << " holds " << data.size() << " bytes, not " << PREF_ALL::kSize << "\n";
    return 1;
  }
  Dump(RecordBytes(data.data(), data.size()));
  return 0;
}

int WriteFactory(const std::string& language, const std::string& model) {
  if (language.size() != 1 || std::strchr("JEFG", language[0]) == nullptr) return Usage();
  if (model.size() > 255) return Usage();
  Str255 item = {1, static_cast<unsigned char>(language[0])};
  SelectLanguage(item);
  const SInt16 resources = OpenApplicationResFile(FindApplicationResourceFile());

  FDSources sources;
  sources.dataSources = [&model](std::vector<std::vector<unsigned char>>* names) {
    if (model.empty()) return false;
    std::vector<unsigned char> name(1, static_cast<unsigned char>(model.size()));
    name.insert(name.end(), model.begin(), model.end());
    names->push_back(std::move(name));
    return true;
  };
  std::vector<uint8_t> record(PREF_ALL::kSize, 0);
  RecordBytes all(record.data(), record.size());
  FDButtonNames(all);
  FDFileNames(all);
  FDSetDefault(all, sources);
  if (resources != -1) CloseResFile(resources);
  std::cout.write(reinterpret_cast<const char*>(record.data()), std::streamsize(record.size()));
  return std::cout ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--factory") != 0) return DumpFileAt(argv[1]);
  if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--factory") == 0)
    return WriteFactory(argv[2], argc == 4 ? argv[3] : "");
  return Usage();
}
