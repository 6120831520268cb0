#include "paginor/TextRecognizer.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "paginor/Paginor.h"
#include "toolbox/MacErrors.h"

namespace {

struct LanguageEntry {
  UInt32 value;
  SInt32 codePageClass;
  const char* language;
};

constexpr LanguageEntry kLanguages[] = {
    {2, 0, "eng"},   {8, 0, "fra"},   {16, 0, "ita"}, {32, 0, "deu"}, {64, 0, "spa"}, {128, 0, "nld"},
    {256, 0, "por"}, {8, 3, "rus"},   {64, 1, "pol"}, {16, 1, "ces"}, {32, 1, "hun"}, {3, 0, "jpn"},
};

bool Readable(const std::string& path) { return access(path.c_str(), R_OK) == 0; }

}  // namespace

const char* TextLanguage(UInt32 languageValue, SInt32 codePageClass) {
  for (const LanguageEntry& entry : kLanguages)
    if (entry.value == languageValue && entry.codePageClass == codePageClass) return entry.language;
  return "eng";
}

std::string TextDataFolder(const std::string& frameworksPath, const std::string& language) {
  if (frameworksPath.empty()) return "";
  const std::string folder = frameworksPath + "tessdata";
  return Readable(folder + "/" + language + ".traineddata") ? folder : "";
}

TextRecognizer::TextRecognizer() = default;
TextRecognizer::~TextRecognizer() {
  if (mApi) Tesseract().TessBaseAPIEnd(mApi.get());
}

OSErr TextRecognizer::Open(const std::string& frameworksPath, const std::string& language) {
  const TesseractCalls& tess = Tesseract();
  TessPtr api(tess.TessBaseAPICreate());
  const std::string folder = TextDataFolder(frameworksPath, language);
  if (tess.TessBaseAPIInit2(api.get(), folder.empty() ? nullptr : folder.c_str(), language.c_str(),
                            tesseract::OEM_LSTM_ONLY) != 0)
    return kPaginorLanguageDataErr;
  // Init succeeds on a partial match ("eng+..."); only the asked language will do.
  char** loaded = tess.TessBaseAPIGetLoadedLanguagesAsVector(api.get());
  const bool asked = loaded && loaded[0] && language == loaded[0];
  if (loaded) tess.TessDeleteTextArray(loaded);
  if (!asked) return kPaginorLanguageDataErr;
  tess.TessBaseAPISetVariable(api.get(), "debug_file", "/dev/null");
  tess.TessBaseAPISetPageSegMode(api.get(), tesseract::PSM_AUTO);
  mApi = std::move(api);
  return noErr;
}

OSErr TextRecognizer::Recognize(PIX* page, std::vector<RecognizedLine>* lines) {
  lines->clear();
  if (!mApi) return kPaginorSequenceErr;
  const TesseractCalls& tess = Tesseract();
  tess.TessBaseAPISetImage2(mApi.get(), page);
  if (tess.TessBaseAPIRecognize(mApi.get(), nullptr) != 0) return kPaginorEngineErr;
  std::unique_ptr<TessResultIterator, decltype(tess.TessResultIteratorDelete)> it(
      tess.TessBaseAPIGetIterator(mApi.get()), tess.TessResultIteratorDelete);
  if (!it) return noErr;
  do {
    const TessPageIterator* place = tess.TessResultIteratorGetPageIterator(it.get());
    if (lines->empty() || tess.TessPageIteratorIsAtBeginningOf(place, tesseract::RIL_TEXTLINE)) {
      if (!lines->empty() && lines->back().words.empty()) lines->pop_back();
      RecognizedLine line;
      int left = 0, right = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
      tess.TessPageIteratorBoundingBox(place, tesseract::RIL_TEXTLINE, &left, &line.top, &right, &line.bottom);
      line.baseline = tess.TessPageIteratorBaseline(place, tesseract::RIL_TEXTLINE, &x1, &y1, &x2, &y2)
                          ? (y1 + y2) / 2
                          : line.bottom;
      lines->push_back(std::move(line));
    }
    std::unique_ptr<char[], decltype(tess.TessDeleteText)> text(
        tess.TessResultIteratorGetUTF8Text(it.get(), tesseract::RIL_WORD), tess.TessDeleteText);
    RecognizedWord word;
    if (!text ||
        !tess.TessPageIteratorBoundingBox(place, tesseract::RIL_WORD, &word.left, &word.top, &word.right, &word.bottom))
      continue;
    word.utf8 = text.get();
    if (!word.utf8.empty()) lines->back().words.push_back(std::move(word));
  } while (tess.TessResultIteratorNext(it.get(), tesseract::RIL_WORD));
  if (!lines->empty() && lines->back().words.empty()) lines->pop_back();
  tess.TessBaseAPIClear(mApi.get());
  return noErr;
}

std::vector<UInt8> TextRecognizer::FontProgram() const {
  if (!mApi) return {};
  std::ifstream in(std::string(Tesseract().TessBaseAPIGetDatapath(mApi.get())) + "/pdf.ttf", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
