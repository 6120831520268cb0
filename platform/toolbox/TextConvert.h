// Text in the system script (Mac Roman, or Shift-JIS when the language is Japanese) to and
// from UTF-8 and UTF-16, the encodings Linux and the Unicode file calls speak.
//
// The system script is chosen once from the application's language letter ('J' is
// Japanese, every other letter is Roman). Script text that has no UTF-8 form, or UTF-8 that
// has no form in the script, is refused (the call returns false), never silently altered.
#pragma once

#include <string>
#include <string_view>

#include "toolbox/MacTypes.h"

// Script codes; smSystemScript stands for whatever the system script is.
enum : ScriptCode { smSystemScript = -1, smRoman = 0, smJapanese = 1 };

typedef uint32_t TextEncoding;
// Text encodings of the platform (base encodings share their script's number).
enum : TextEncoding {
  kTextEncodingMacRoman = 0,
  kTextEncodingMacJapanese = 1,
  kTextEncodingUnicodeDefault = 0x0100,
  kTextEncodingUTF8 = 0x08000100,
};

// 'J' selects Japanese; any other letter (E, F, G, ...) selects Roman.
void SetSystemScriptForLanguage(char letter);
// smRoman or smJapanese.
ScriptCode GetSystemScript();
// smSystemScript resolved to the system script; smRoman/smJapanese as they are; any other
// script is treated as Roman.
ScriptCode ResolveScript(ScriptCode script);
// The platform's text encoding for a script (kTextEncodingMacRoman / kTextEncodingMacJapanese).
TextEncoding ScriptTextEncoding(ScriptCode script);

// Bytes in `script` <-> UTF-8.
bool ScriptToUTF8(std::string_view bytes, std::string* utf8, ScriptCode script = smSystemScript);
bool UTF8ToScript(std::string_view utf8, std::string* bytes, ScriptCode script = smSystemScript);

// Pascal string in `script` <-> UTF-8. UTF8ToPString fails (leaving `out` an empty string)
// when the converted text does not fit in `capacity` bytes (length byte included, so 64 for
// a Str63 and 256 for a Str255).
bool PStringToUTF8(ConstStr255Param s, std::string* utf8, ScriptCode script = smSystemScript);
bool UTF8ToPString(std::string_view utf8, StringPtr out, size_t capacity, ScriptCode script = smSystemScript);

// UTF-16 (host order, as in HFSUniStr255) <-> UTF-8. Unpaired surrogates are refused.
bool UTF16ToUTF8(const UniChar* units, size_t count, std::string* utf8);
bool UTF8ToUTF16(std::string_view utf8, std::u16string* units);
