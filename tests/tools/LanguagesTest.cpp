// The application's resources compiled for every language letter, as the build does it:
// the shared sources, the language's own, and the language's defines. Each language must
// give the same resources with its own texts, in its own script.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "toolbox/TextConvert.h"

namespace fs = std::filesystem;

namespace {

struct Language {
  char letter;
  ScriptCode script;
  const char* cancel;        // the Cancel button of the alert layout
  const char* pdfNotOpened;  // error 33
  const char* german;        // item 4 of the text-language menu
};

const Language kLanguages[] = {
    {'E', smRoman, "Cancel", "The PDF file could not be opened.", "German"},
    {'J', smJapanese, "キャンセル", "PDFファイルを開けませんでした。", "ドイツ語"},
    {'F', smRoman, "Annuler", "Le fichier PDF n'a pas pu être ouvert.", "Allemand"},
    {'G', smRoman, "Abbrechen", "Die PDF-Datei konnte nicht geöffnet werden.", "Deutsch"},
};

fs::path ResourceDir() { return wxtest::SourceDir() / "resources"; }

std::string ShellQuoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// The NAME=text lines of a language's defines, in file order.
std::vector<std::string> Defines(char letter) {
  std::ifstream in(ResourceDir() / "text" / std::string(1, letter) / "defines");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  return lines;
}

std::vector<fs::path> Sources(const fs::path& dir) {
  std::vector<fs::path> out;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().extension() == ".r") out.push_back(entry.path());
  return out;
}

// Compiles the application's resources for `letter` into `dir`; "" on success, else what
// the compiler said.
std::string Compile(char letter, const fs::path& out) {
  const std::string l(1, letter);
  std::string command = std::string(WX_RESCOMP_PATH) + " --language " + l + " -D LANGUAGE=" + l +
                        " -D RESOURCES=" + ShellQuoted(ResourceDir().string());
  for (const std::string& d : Defines(letter)) command += " -D " + ShellQuoted(d);
  command += " -o " + ShellQuoted(out.string());
  for (const auto& dir : {ResourceDir(), ResourceDir() / "text" / l})
    for (const fs::path& source : Sources(dir)) command += " " + ShellQuoted(source.string());
  std::string text;
  return wxtest::Run(command + " 2>&1", &text) == 0 ? "" : text.empty() ? "failed" : text;
}

std::string Bytes(ConstStr255Param s) { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); }

// Every language's resource file, compiled once for the whole suite.
class Languages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sDir = new wxtest::ScratchDir;
    for (const Language& lang : kLanguages) {
      const fs::path file = sDir->path() / (std::string(1, lang.letter) + ".rsrc");
      sErrors[lang.letter] = Compile(lang.letter, file);
      if (sErrors[lang.letter].empty())
        fs::copy_file(file, wxtest::OutputDir("resources") / ("Wendrix-" + std::string(1, lang.letter) + ".rsrc"),
                      fs::copy_options::overwrite_existing);
    }
  }
  static void TearDownTestSuite() {
    delete sDir;
    sDir = nullptr;
  }

  // Opens the language's file as the current resource file for the test's scope.
  SInt16 Open(const Language& lang) {
    EXPECT_EQ(sErrors[lang.letter], "") << lang.letter;
    const SInt16 ref = OpenResFilePath((sDir->path() / (std::string(1, lang.letter) + ".rsrc")).string(), fsRdPerm);
    EXPECT_NE(ref, -1) << lang.letter << ": " << ResError();
    return ref;
  }

  // An item of a string list as UTF-8, failing when it is not valid text of the script.
  static std::string Item(const Language& lang, SInt16 list, SInt16 index) {
    Str255 s;
    GetIndString(s, list, index);
    std::string utf8;
    EXPECT_TRUE(ScriptToUTF8(Bytes(s), &utf8, lang.script)) << lang.letter << " STR# " << list << "/" << index;
    return utf8;
  }

  static wxtest::ScratchDir* sDir;
  static std::map<char, std::string> sErrors;
};

wxtest::ScratchDir* Languages::sDir = nullptr;
std::map<char, std::string> Languages::sErrors;

// The item texts of a 'MENU' record: header, title, then per item its text and four bytes.
std::vector<std::string> MenuItems(Handle h) {
  const auto* p = reinterpret_cast<const uint8_t*>(*h);
  const size_t size = static_cast<size_t>(GetHandleSize(h));
  std::vector<std::string> items;
  size_t at = 14;
  if (at >= size) return items;
  at += 1 + p[at];
  while (at < size && p[at] != 0) {
    items.emplace_back(reinterpret_cast<const char*>(p + at + 1), p[at]);
    at += 1 + p[at] + 4;
  }
  return items;
}

// Every percent sign and what follows it, so that a translation keeps "%s" and "%%".
std::string Conversions(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    out += i + 1 < text.size() ? text.substr(i, 2) : "%";
    ++i;
  }
  return out;
}

std::set<std::pair<ResType, SInt16>> ResourcesOfFile() {
  std::set<std::pair<ResType, SInt16>> out;
  for (ResType type : {ResType('STR#'), ResType('MENU'), ResType('PPob')}) {
    for (SInt16 i = 1; i <= Count1Resources(type); ++i) {
      SInt16 id = 0;
      ResType t = 0;
      Str255 name;
      GetResInfo(Get1IndResource(type, i), &id, &t, name);
      out.insert({t, id});
    }
  }
  return out;
}

}  // namespace

TEST_F(Languages, EachFileCarriesItsLetterAndItsOwnTexts) {
  for (const Language& lang : kLanguages) {
    SCOPED_TRACE(lang.letter);
    const SInt16 ref = Open(lang);
    if (ref == -1) continue;
    EXPECT_EQ(Item(lang, 128, 1), std::string(1, lang.letter));
    EXPECT_EQ(Item(lang, 400, 33), lang.pdfNotOpened);

    Handle menu = Get1Resource('MENU', 300);
    ASSERT_NE(menu, nullptr);
    const std::vector<std::string> items = MenuItems(menu);
    ASSERT_EQ(items.size(), 11u);
    std::string german;
    EXPECT_TRUE(ScriptToUTF8(items[3], &german, lang.script));
    EXPECT_EQ(german, lang.german);

    // The layout is shared; its button title is the language's, in the language's script.
    Handle layout = Get1Resource('PPob', 400);
    ASSERT_NE(layout, nullptr);
    const std::string stream(*layout, static_cast<size_t>(GetHandleSize(layout)));
    std::string cancel;
    ASSERT_TRUE(UTF8ToScript(lang.cancel, &cancel, lang.script));
    EXPECT_NE(stream.find(std::string(1, char(cancel.size())) + cancel), std::string::npos);
    if (lang.letter != 'E') {
      EXPECT_EQ(stream.find("\x06" "Cancel"), std::string::npos);
    }
    CloseResFile(ref);
  }
}

TEST_F(Languages, JapaneseTextIsShiftJIS) {
  const Language& japanese = kLanguages[1];
  const SInt16 ref = Open(japanese);
  ASSERT_NE(ref, -1);
  Str255 s;
  GetIndString(s, 400, 33);
  // "PDF" in single bytes, then two bytes a character: 0x83 0x74 is "フ".
  ASSERT_GE(s[0], 5);
  EXPECT_EQ(Bytes(s).substr(0, 5), "PDF\x83\x74");
  CloseResFile(ref);
}

TEST_F(Languages, EveryLanguageGivesTheSameResourcesItemsAndPlaceholders) {
  const Language& english = kLanguages[0];
  SInt16 ref = Open(english);
  ASSERT_NE(ref, -1);
  const auto resources = ResourcesOfFile();
  std::map<SInt16, std::vector<std::string>> lists;
  for (const auto& [type, id] : resources) {
    if (type != 'STR#') continue;
    Handle h = Get1Resource('STR#', id);
    const int count = (UInt8((*h)[0]) << 8) | UInt8((*h)[1]);
    for (int i = 1; i <= count; ++i) lists[id].push_back(Item(english, id, SInt16(i)));
  }
  CloseResFile(ref);
  ASSERT_FALSE(lists[400].empty());

  std::vector<std::string> names;
  for (const std::string& d : Defines('E')) names.push_back(d.substr(0, d.find('=')));

  for (const Language& lang : kLanguages) {
    SCOPED_TRACE(lang.letter);
    std::vector<std::string> own;
    for (const std::string& d : Defines(lang.letter)) own.push_back(d.substr(0, d.find('=')));
    EXPECT_EQ(own, names) << "the defines name the same texts in the same order";

    ref = Open(lang);
    if (ref == -1) continue;
    EXPECT_EQ(ResourcesOfFile(), resources);
    for (const auto& [id, items] : lists) {
      Handle h = Get1Resource('STR#', id);
      ASSERT_NE(h, nullptr) << id;
      EXPECT_EQ((UInt8((*h)[0]) << 8) | UInt8((*h)[1]), int(items.size())) << "STR# " << id;
      for (size_t i = 0; i < items.size(); ++i) {
        const std::string text = Item(lang, id, SInt16(i + 1));
        EXPECT_EQ(Conversions(text), Conversions(items[i])) << "STR# " << id << "/" << i + 1 << ": " << text;
        EXPECT_EQ(text.empty(), items[i].empty()) << "STR# " << id << "/" << i + 1;
      }
    }
    CloseResFile(ref);
  }
}
