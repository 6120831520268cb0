// The application's resources compiled for every language letter, as the build does it:
// the shared sources, the language's own, and the language's defines. Each language must
// give the same resources with its own texts, in its own script.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/LCaption.h"
#include "framework/LCheckBox.h"
#include "framework/LDataStream.h"
#include "framework/LGWorld.h"
#include "framework/LPushButton.h"
#include "framework/LRadioButton.h"
#include "framework/LStaticText.h"
#include "framework/UTextTraits.h"
#include "quickdraw/QuickDrawText.h"
#include "support/LanguageResources.h"
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

std::string Bytes(ConstStr255Param s) { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); }

// Every language's resource file, compiled once for the whole suite.
class Languages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sDir = new wxtest::ScratchDir;
    for (const Language& lang : kLanguages) {
      const fs::path file = sDir->path() / (std::string(1, lang.letter) + ".rsrc");
      sErrors[lang.letter] = wxtest::CompileLanguageResources(WX_RESCOMP_PATH, lang.letter, file);
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
  for (const std::string& d : wxtest::LanguageDefines('E')) names.push_back(d.substr(0, d.find('=')));

  for (const Language& lang : kLanguages) {
    SCOPED_TRACE(lang.letter);
    std::vector<std::string> own;
    for (const std::string& d : wxtest::LanguageDefines(lang.letter)) own.push_back(d.substr(0, d.find('=')));
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

namespace {

// The framework's text panes with what their drawing reads.
struct CheckProbe : LCheckBox {
  using LCheckBox::LCheckBox;
  ResIDT Traits() const { return mTextTraitsID; }
};
struct CaptionProbe : LCaption {
  using LCaption::LCaption;
  ResIDT Traits() const { return mTextTraitsID; }
};

// What of a pane's text does not fit, as its drawing would lay it out in the current port;
// empty when all of it fits.
std::string Overflow(const char* what, ConstStr255Param text, ResIDT traits, SInt16 width, SInt16 height,
                     bool wraps) {
  UTextTraits::SetPortTextTraits(traits);
  auto* bytes = reinterpret_cast<char*>(const_cast<UInt8*>(text + 1));
  const SInt32 length = text[0];
  if (!wraps) {
    const SInt16 w = TextWidth(bytes, 0, SInt16(length));
    return w <= width ? "" : std::string(what) + " " + std::to_string(w) + " > " + std::to_string(width);
  }
  FontInfo info;
  GetFontInfo(&info);
  const int lineHeight = info.ascent + info.descent + info.leading;
  int lines = 0;
  for (SInt32 start = 0; start < length;) {
    SInt32 end = start;
    while (end < length && bytes[end] != '\r' && bytes[end] != '\n') ++end;
    SInt32 lineEnd = end;
    if (end > start) {
      Fixed room = IntToFixed(width);
      SInt32 offset = 1;
      StyledLineBreak(bytes + start, end - start, 0, end - start, 0, &room, &offset);
      lineEnd = start + (offset > 0 ? offset : end - start);
    }
    const SInt16 w = TextWidth(bytes, SInt16(start), SInt16(VisibleLength(bytes + start, lineEnd - start)));
    if (w > width) return std::string(what) + " line " + std::to_string(w) + " > " + std::to_string(width);
    ++lines;
    start = lineEnd;
    if (start < length && start == end) ++start;
  }
  // The last line may end below the frame by its descent and leading.
  if (lines > 1 && lines * lineHeight - info.descent - info.leading > height)
    return std::string(what) + " " + std::to_string(lines) + " lines, " + std::to_string(height) + " high";
  return "";
}

// Every static text, caption, check box, radio button and push button of one layout whose
// text does not fit its pane, as "pane 'ID': text: why".
std::vector<std::string> OverflowsOfLayout(Handle layout, ScriptCode script) {
  std::vector<std::string> out;
  const auto* p = reinterpret_cast<const UInt8*>(*layout);
  const size_t size = size_t(GetHandleSize(layout));
  auto u32 = [&](size_t at) { return UInt32(p[at]) << 24 | UInt32(p[at + 1]) << 16 | UInt32(p[at + 2]) << 8 | p[at + 3]; };
  for (size_t at = 2; at + 4 <= size;) {
    const UInt32 tag = u32(at);
    at += 4;
    if (tag == 'end.') break;
    if (tag != 'objd') continue;
    const UInt32 length = u32(at), classID = u32(at + 4);
    LDataStream stream(p + at + 8, SInt32(length));
    at += 8 + length;
    std::unique_ptr<LPane> pane;
    ResIDT traits = 0;
    SInt16 inset = 0;
    bool wraps = false;
    switch (classID) {
      case LPushButton::class_ID: {
        auto* push = new LPushButton(&stream);
        pane.reset(push);
        traits = push->GetTextTraitsID();
        inset = SInt16(2 * push->TitleInset());
        break;
      }
      case LCheckBox::class_ID:
      case LRadioButton::class_ID: {
        auto* box = new CheckProbe(&stream);
        pane.reset(box);
        traits = box->Traits();
        inset = 18;
        break;
      }
      case LCaption::class_ID:
      case LStaticText::class_ID: {
        auto* caption = new CaptionProbe(&stream);
        pane.reset(caption);
        traits = caption->Traits();
        wraps = true;
        break;
      }
      default:
        continue;
    }
    Str255 text;
    pane->GetDescriptor(text);
    if (text[0] == 0) continue;
    SDimension16 frame;
    pane->GetFrameSize(frame);
    const std::string why = Overflow("", text, traits, SInt16(frame.width - inset), frame.height, wraps);
    if (why.empty()) continue;
    std::string utf8;
    ScriptToUTF8(std::string(reinterpret_cast<const char*>(text + 1), text[0]), &utf8, script);
    const PaneIDT id = pane->GetPaneID();
    const char name[5] = {char(id >> 24), char(id >> 16), char(id >> 8), char(id), 0};
    out.push_back(std::string("pane '") + name + "' \"" + utf8 + "\":" + why);
  }
  return out;
}

}  // namespace

TEST_F(Languages, EveryTextFitsItsPaneInTheFontItIsDrawnWith) {
  const Rect bounds{0, 0, 16, 16};
  LGWorld port(bounds);
  ASSERT_TRUE(port.BeginDrawing());
  for (const Language& lang : kLanguages) {
    SCOPED_TRACE(lang.letter);
    const SInt16 ref = Open(lang);
    if (ref == -1) continue;
    SetSystemScriptForLanguage(lang.letter);
    for (SInt16 i = 1; i <= Count1Resources('PPob'); ++i) {
      Handle layout = Get1IndResource('PPob', i);
      SInt16 id = 0;
      ResType type = 0;
      Str255 name;
      GetResInfo(layout, &id, &type, name);
      for (const std::string& overflow : OverflowsOfLayout(layout, lang.script))
        ADD_FAILURE() << lang.letter << " layout " << id << ": " << overflow;
    }
    CloseResFile(ref);
  }
  port.EndDrawing();
  SetSystemScriptForLanguage(WX_LANGUAGE_LETTER);
}
