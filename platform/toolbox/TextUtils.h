// Script Manager and text utilities over Pascal strings in the system script: byte types
// of two-byte (Shift-JIS) text, comparison with and without case and diacritics, numbers
// as text, cutting a string without splitting a character, and the measurement system.
#pragma once

#include <string>
#include <string_view>

#include "toolbox/MacTypes.h"
#include "toolbox/TextConvert.h"

// What CharacterByteType says of a byte.
enum : SInt16 { smSingleByte = 0, smFirstByte = -1, smLastByte = 1, smMiddleByte = 2 };

// The type of the byte at `textOffset`, reading the text from its start. Only the Japanese
// script has two-byte characters; in Roman every byte is a single byte.
SInt16 CharacterByteType(Ptr textBuf, SInt16 textOffset, ScriptCode script);
SInt16 CharByte(Ptr textBuf, SInt16 textOffset);  // in the system script

// Byte for byte when both flags are set. Otherwise, in the system script: case folds ASCII
// and accented letters (Mac Roman) or ASCII and full-width Latin letters (Shift-JIS), and
// diacritics drop to the base letter (Mac Roman: é = e, Ø = O). Two-byte characters are
// compared whole, so a trail byte never matches a letter.
Boolean EqualString(ConstStr255Param a, ConstStr255Param b, Boolean caseSens, Boolean diacSens);
// -1, 0 or 1, in the order of the folded characters.
SInt16 RelString(ConstStr255Param a, ConstStr255Param b, Boolean caseSens, Boolean diacSens);
// Sorting order: letters first compared ignoring case and diacritics, ties broken byte for
// byte, so "a" and "A" sort together yet are not equal. The table handle is not used.
SInt16 CompareString(ConstStr255Param a, ConstStr255Param b, Handle itl2Handle);
SInt16 CompareText(const void* aPtr, const void* bPtr, SInt16 aLen, SInt16 bLen, Handle itl2Handle);

void NumToString(long theNum, Str255 theString);
// An optional sign, then digits up to the first other character; no digits gives 0.
// Values beyond 32 bits are clamped to the 32-bit range.
void StringToNum(ConstStr255Param theString, long* theNum);

// Copies `source` cut to at most `maxLength` bytes, dropping a two-byte character that
// would be split rather than leaving half of it. `destination` may be `source`.
void TruncPString(StringPtr destination, ConstStr255Param source, SInt16 maxLength);

// Metric (A4, centimetres) unless the locale's territory measures in inches (US, LR, MM).
// The locale is the first set of LC_ALL, LC_MEASUREMENT and LANG; without one (or with C or
// POSIX) the answer is metric.
Boolean IsMetric();

// Pascal strings and std::string.
std::string PStrToString(ConstStr255Param s);
// Cut to `capacity` - 1 bytes (as TruncPString does) and stored with its length byte.
void PStrFromString(std::string_view s, StringPtr out, size_t capacity = 256);
void CopyPascalStringToC(ConstStr255Param src, char* dst);
void CopyCStringToPascal(const char* src, Str255 dst);
