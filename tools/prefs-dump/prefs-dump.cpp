// prefs-dump FILE                  prints every record of a preferences file, field by field
// prefs-dump --factory LANG [MODEL] writes the factory-default record for language letter
//                                  LANG (J, E, F, G) and scanner model MODEL to standard output
//
// The application's string lists come from the resource file the application reads (the
// runtime tree's, or $WX_RESOURCE_FILE); without them --factory fails. Folders are found
// below $WENDRIX_ROOT when set.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "prefs/FactoryDefaults.h"
#include "prefs/LanguageTables.h"
#include "prefs/PrefRecords.h"
#include "toolbox/Resources.h"
#include "tools/common/ToolFiles.h"

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

// Prints the fields of one record, each under "<prefix>.<name>"; embedded records recurse.
class Printer {
 public:
  Printer(RecordBytes rec, std::string prefix) : mRec(rec), mPrefix(std::move(prefix)) {}

  template <class T>
  void operator()(const char* name, PrefInt<T> f) const {
    Line(name, std::to_string(f.get(mRec)));
  }
  void operator()(const char* name, PrefCount f) const { Line(name, Checked(mRec.u32(f.off), f.get(mRec))); }
  void operator()(const char* name, PrefIndex f) const { Line(name, Checked(mRec.u32(f.off), f.get(mRec))); }
  void operator()(const char* name, PrefIndex8 f) const { Line(name, Checked(mRec.u8(f.off), f.get(mRec))); }
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
    Line(std::string(name) + ".count", Checked(mRec.u32(f.off), count));
    for (uint32_t i = 0; i < count; ++i) {
      Str255 s;
      f.entry(mRec, i, s);
      Line(std::string(name) + "[" + std::to_string(i) + "]", Text(s));
    }
  }
  void operator()(const char* name, PrefSpecList f) const {
    const uint32_t count = f.stored.get(mRec);
    for (uint32_t i = 0; i < count; ++i) Line(std::string(name) + "[" + std::to_string(i) + "]", SpecText(f.get(mRec, i)));
  }
  template <class R>
  void operator()(const char* name, PrefSub<R> f) const {
    Dump<R>(f.in(mRec), f.label ? std::string(f.label) : mPrefix + "." + name);
  }
  template <class R>
  void operator()(const char*, PrefSubList<R> f) const {
    for (uint32_t k = 0; k < f.count; ++k)
      Dump<R>(f.at(k).in(mRec), std::string(f.label) + "[" + std::to_string(k) + "]");
  }

  template <class R>
  static void Dump(RecordBytes rec, std::string prefix) {
    Printer p(rec, std::move(prefix));
    R::ForEachField(p);
  }

 private:
  static std::string Checked(uint32_t stored, uint32_t read) {
    return std::to_string(stored) + " (read as " + std::to_string(read) + ")";
  }
  void Line(const std::string& name, const std::string& value) const {
    std::cout << mPrefix << "." << name << " = " << value << "\n";
  }
  RecordBytes mRec;
  std::string mPrefix;
};

void Dump(RecordBytes all) { Printer::Dump<PREF_ALL>(all, "PREF_ALL"); }

int Usage() {
  std::cerr << "usage: prefs-dump FILE\n       prefs-dump --factory LANG [MODEL] > FILE\n";
  return 2;
}

int DumpFileAt(const char* path) {
  // A file of the wrong size is refused before it is read: it may be huge.
  std::error_code sizeErr;
  const uintmax_t size = std::filesystem::file_size(path, sizeErr);
  if (!sizeErr && size != PREF_ALL::kSize) {
    std::cerr << "prefs-dump: " << path << " holds " << size << " bytes, not " << PREF_ALL::kSize << "\n";
    return 1;
  }
  std::string bytes, reason;
  if (!ToolReadFile(path, &bytes, &reason)) {
    std::cerr << "prefs-dump: cannot read " << path << ": " << reason << "\n";
    return 1;
  }
  if (bytes.size() != PREF_ALL::kSize) {
    std::cerr << "prefs-dump: " << path << " holds " << bytes.size() << " bytes, not " << PREF_ALL::kSize << "\n";
    return 1;
  }
  std::vector<uint8_t> data(bytes.begin(), bytes.end());
  Dump(RecordBytes(data.data(), data.size()));
  errno = 0;
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "prefs-dump: cannot write the standard output: " << std::strerror(errno ? errno : EIO) << "\n";
    return 1;
  }
  return 0;
}

int WriteFactory(const std::string& language, const std::string& model) {
  if (language.size() != 1 || std::strchr("JEFG", language[0]) == nullptr) return Usage();
  if (model.size() > 255) return Usage();
  Str255 item = {1, static_cast<unsigned char>(language[0])};
  SelectLanguage(item);
  const std::string resourceFile = FindApplicationResourceFile();
  const SInt16 resources = OpenApplicationResFile(resourceFile);
  if (resources == -1) {
    std::cerr << "prefs-dump: cannot open the application's resources " << resourceFile
              << " (set WX_RESOURCE_FILE to name another file)\n";
    return 1;
  }
  // A factory file with empty history names would pass for a good one.
  for (const SInt16 list : {2000, 3000, 4000, 5000, 6000, 7000}) {
    Str255 name;
    GetIndString(name, list, 1);
    if (name[0] == 0) {
      std::cerr << "prefs-dump: " << resourceFile << " holds no default file name in string list " << list << "\n";
      CloseResFile(resources);
      return 1;
    }
  }

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
  CloseResFile(resources);
  std::string reason;
  if (!ToolWriteStandardOutput(record.data(), record.size(), &reason)) {
    std::cerr << "prefs-dump: cannot write the factory file to the standard output: " << reason << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--factory") != 0) return DumpFileAt(argv[1]);
  if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--factory") == 0)
    return WriteFactory(argv[2], argc == 4 ? argv[3] : "");
  return Usage();
}
