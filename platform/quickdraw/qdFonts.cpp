// Family numbers: the classic numbers of the system, application and a few well-known
// families, and numbers from 1024 for every installed family (sorted, stable for the run).
// The system and application fonts are the sans-serif font; with a Japanese system script
// fontconfig is asked for one that covers Japanese.
#include "quickdraw/qdFonts.h"

#include <fontconfig/fontconfig.h>
#include FT_OUTLINE_H

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <map>
#include <mutex>
#include <tuple>
#include <vector>

#include "quickdraw/Fonts.h"
#include "toolbox/TextConvert.h"

namespace {

constexpr SInt16 kFirstInstalled = 1024;

struct Known {
  SInt16 number;
  const char* name;     // the name callers use
  const char* pattern;  // what fontconfig is asked
};
constexpr Known kKnown[] = {
    {kFontIDGeneva, "Geneva", "sans-serif"}, {kFontIDMonaco, "Monaco", "monospace"},
    {kFontIDTimes, "Times", "serif"},        {kFontIDHelvetica, "Helvetica", "sans-serif"},
    {kFontIDCourier, "Courier", "monospace"},
};

FT_Library Library() {
  static FT_Library lib = [] {
    FT_Library l = nullptr;
    FT_Init_FreeType(&l);
    FcInit();
    // fontconfig keeps what it parsed from its configuration until told to let go.
    std::atexit([] { FcFini(); });
    return l;
  }();
  return lib;
}

const std::vector<std::string>& InstalledFamilies() {
  static std::vector<std::string> families = [] {
    Library();
    std::vector<std::string> out;
    FcPattern* pat = FcPatternCreate();
    FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fs = FcFontList(nullptr, pat, os);
    for (int i = 0; fs && i < fs->nfont; ++i) {
      FcChar8* fam = nullptr;
      if (FcPatternGetString(fs->fonts[i], FC_FAMILY, 0, &fam) == FcResultMatch) out.emplace_back(reinterpret_cast<char*>(fam));
    }
    if (fs) FcFontSetDestroy(fs);
    FcObjectSetDestroy(os);
    FcPatternDestroy(pat);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
  }();
  return families;
}

std::string PatternFor(SInt16 family) {
  if (family == systemFont || family == applFont) return "sans-serif";
  for (const Known& k : kKnown)
    if (k.number == family) return k.pattern;
  const auto& installed = InstalledFamilies();
  int i = family - kFirstInstalled;
  if (i >= 0 && i < static_cast<int>(installed.size())) return installed[static_cast<size_t>(i)];
  return "sans-serif";
}

struct Match {
  std::string file;
  int index = 0;
  int weight = 0, slant = 0;
};

Match Resolve(const std::string& familyPattern, bool bold, bool italic, bool japanese) {
  Match m;
  FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(familyPattern.c_str()));
  if (japanese) FcPatternAddString(pat, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  FcResult result;
  FcPattern* found = FcFontMatch(nullptr, pat, &result);
  if (found) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch) m.file = reinterpret_cast<char*>(file);
    FcPatternGetInteger(found, FC_INDEX, 0, &m.index);
    FcPatternGetInteger(found, FC_WEIGHT, 0, &m.weight);
    FcPatternGetInteger(found, FC_SLANT, 0, &m.slant);
    FcPatternDestroy(found);
  }
  FcPatternDestroy(pat);
  return m;
}

std::mutex sMutex;

}  // namespace

const qdFace* qdFindFace(SInt16 family, SInt16 size, Style face) {
  std::lock_guard<std::mutex> lock(sMutex);
  static std::map<std::tuple<SInt16, SInt16, int, bool>, qdFace> cache;
  // 0 is the default size; glyphs are never rendered larger than a page could want.
  if (size <= 0) size = 12;
  size = std::min<SInt16>(size, 1024);
  bool isBold = (face & bold) != 0, isItalic = (face & italic) != 0;
  bool japanese = GetSystemScript() == smJapanese;
  auto key = std::make_tuple(family, size, (isBold ? 1 : 0) | (isItalic ? 2 : 0), japanese);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second.face ? &it->second : nullptr;
  qdFace& out = cache[key];
  std::string pattern = PatternFor(family);
  Match m = Resolve(pattern, isBold, isItalic, japanese && (family == systemFont || family == applFont));
  if (m.file.empty() || FT_New_Face(Library(), m.file.c_str(), m.index, &out.face) != 0) {
    out.face = nullptr;
    return nullptr;
  }
  FT_Set_Pixel_Sizes(out.face, 0, static_cast<FT_UInt>(size));
  out.synthBold = isBold && m.weight < FC_WEIGHT_DEMIBOLD;
  out.synthItalic = isItalic && m.slant == FC_SLANT_ROMAN;
  const FT_Size_Metrics& sm = out.face->size->metrics;
  out.ascent = static_cast<int>((sm.ascender + 63) >> 6);
  out.descent = static_cast<int>((-sm.descender + 63) >> 6);
  out.leading = std::max(0, static_cast<int>((sm.height + 32) >> 6) - out.ascent - out.descent);
  out.widMax = static_cast<int>((sm.max_advance + 63) >> 6);
  return &out;
}

std::string qdFamilyName(SInt16 family) {
  if (family == systemFont || family == applFont) {
    Match m = Resolve("sans-serif", false, false, GetSystemScript() == smJapanese);
    FcPattern* pat = FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(m.file.c_str()), static_cast<unsigned>(m.index), nullptr, nullptr);
    std::string name;
    FcChar8* fam = nullptr;
    if (pat && FcPatternGetString(pat, FC_FAMILY, 0, &fam) == FcResultMatch) name = reinterpret_cast<char*>(fam);
    if (pat) FcPatternDestroy(pat);
    return name;
  }
  for (const Known& k : kKnown)
    if (k.number == family) return k.name;
  const auto& installed = InstalledFamilies();
  int i = family - kFirstInstalled;
  if (i >= 0 && i < static_cast<int>(installed.size())) return installed[static_cast<size_t>(i)];
  return "";
}

void GetFontName(SInt16 familyID, Str255 name) {
  std::string utf8 = qdFamilyName(familyID);
  if (!UTF8ToPString(utf8, name, 256)) name[0] = 0;
}

void GetFNum(ConstStr255Param name, SInt16* familyID) {
  *familyID = systemFont;
  std::string utf8;
  if (!name || !PStringToUTF8(name, &utf8)) return;
  for (const Known& k : kKnown)
    if (utf8 == k.name) {
      *familyID = k.number;
      return;
    }
  const auto& installed = InstalledFamilies();
  auto it = std::find(installed.begin(), installed.end(), utf8);
  if (it != installed.end()) *familyID = static_cast<SInt16>(kFirstInstalled + (it - installed.begin()));
}

SInt16 GetDefFontSize() { return 12; }
SInt16 GetSysFont() { return systemFont; }
SInt16 GetAppFont() { return applFont; }
