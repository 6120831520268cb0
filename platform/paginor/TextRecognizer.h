// The words on a page, through Tesseract, for the PDF's invisible text layer.
#pragma once

#include <string>
#include <vector>

#include "paginor/Engines.h"
#include "toolbox/MacTypes.h"

// A recognised word and its box in pixels (top-left origin, right and bottom exclusive).
struct RecognizedWord {
  std::string utf8;
  SInt32 left = 0, top = 0, right = 0, bottom = 0;
};

// A recognised line: its words in reading order, its box and its baseline (pixels from the
// top).
struct RecognizedLine {
  SInt32 top = 0, bottom = 0, baseline = 0;
  std::vector<RecognizedWord> words;
};

// Tesseract's language for the PDF's language value and code-page class (English for any
// pair it does not know).
const char* TextLanguage(UInt32 languageValue, SInt32 codePageClass);

// Where a language's data is: "<frameworks>tessdata" when it is there, else "" (Tesseract's
// own folder).
std::string TextDataFolder(const std::string& frameworksPath, const std::string& language);

class TextRecognizer {
 public:
  TextRecognizer();
  ~TextRecognizer();
  TextRecognizer(const TextRecognizer&) = delete;
  TextRecognizer& operator=(const TextRecognizer&) = delete;

  // kPaginorLanguageDataErr when the language's data is not installed.
  OSErr Open(const std::string& frameworksPath, const std::string& language);
  // The lines of `page` in reading order; kPaginorEngineErr when recognition fails.
  OSErr Recognize(PIX* page, std::vector<RecognizedLine>* lines);
  // The glyph-less font program that ships with the language data (empty when it does not).
  std::vector<UInt8> FontProgram() const;

 private:
  TessPtr mApi;
};
