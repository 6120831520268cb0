#include "output/hub/WXText.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <locale>
#include <string>

#include "prefs/PrefRecords.h"
#include "framework/LException.h"
#include "framework/LWindow.h"
#include "output/hub/WXChecks.h"
#include "quickdraw/QuickDrawText.h"
#include "toolbox/DesktopEntry.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/TextConvert.h"
#include "toolbox/TextUtils.h"
#include "windows/MacWindows.h"

namespace CWXUtility {

namespace {

constexpr SInt16 kPDFNameLimit = 31;

// The item's name as Linux keeps it (UTF-8), or false when the item cannot be resolved.
bool LongNameUTF8(const FSSpec& spec, std::string* utf8) {
  FSRef ref;
  HFSUniStr255 name;
  if (FSpMakeFSRef(&spec, &ref) != noErr) return false;
  if (FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, &name, nullptr, nullptr) != noErr) return false;
  return UTF16ToUTF8(name.unicode, name.length, utf8);
}

// UTF-8 to the system script, cut to `maxBytes` without splitting a character.
bool ScriptName(const std::string& utf8, Str255 out, SInt16 maxBytes) {
  std::string bytes;
  if (!UTF8ToScript(utf8, &bytes)) return false;
  PStrFromString(bytes, out, size_t(maxBytes) + 1);
  return true;
}

}  // namespace

SInt16 Trank(SInt16 width, char* text, SInt16* length, SInt16 truncWhere) {
  SInt16 result = TruncText(width, text, length, truncWhere);
  text[*length] = 0;
  return result;
}

SInt16 PStringTrank(SInt16 width, Str255 text, SInt16 truncWhere) { return TruncString(width, text, truncWhere); }

void GetPSStringTrank(const FSSpec& spec, Str255 out) {
  std::string utf8;
  Str255 converted;
  if (LongNameUTF8(spec, &utf8) && ScriptName(utf8, converted, 255)) std::memcpy(out, converted, size_t(converted[0]) + 1);
}

Handle GetFullPathTrank(const FSSpec& spec, SInt16 width, SInt16* length) {
  *length = 0;
  SInt16 pathLength = 0;
  Handle pathHandle = nullptr;
  if (FSpGetFullPath(&spec, &pathLength, &pathHandle) != noErr) {
    if (pathHandle) DisposeHandle(pathHandle);
    return nullptr;
  }
  std::string path(*pathHandle, size_t(pathLength));
  DisposeHandle(pathHandle);

  std::string utf8, folders, name;
  if (!LongNameUTF8(spec, &utf8)) return nullptr;
  // The folders end at the last separator before the final character, so a folder's own
  // path keeps its name even when it ends in a separator.
  const size_t cut = path.size() > 1 ? path.rfind('/', path.size() - 2) : std::string::npos;
  if (cut == std::string::npos) return nullptr;
  if (!UTF8ToScript(path.substr(0, cut + 1), &folders) || !UTF8ToScript(utf8, &name)) return nullptr;
  std::string display = folders + name;
  if (display.size() >= 2 && display.compare(display.size() - 2, 2, "//") == 0) display.pop_back();
  if (display.size() > 32766) return nullptr;

  Handle result = NewHandle(Size(display.size() + 1));
  if (!result) return nullptr;
  std::memcpy(*result, display.data(), display.size());
  SInt16 newLength = SInt16(display.size());
  Trank(width, *result, &newLength, truncMiddle);
  *length = newLength;
  return result;
}

LStr255 GetPDFAddLongName(const FSSpec& spec) {
  std::string utf8;
  Str255 converted;
  if (LongNameUTF8(spec, &utf8) && ScriptName(utf8, converted, kPDFNameLimit)) return LStr255(converted);
  return LStr255(spec.name);
}

void RemoveExtensionApp(Str255 name) {
  for (const char* suffix : {".app", ".desktop"}) {
    const unsigned length = static_cast<unsigned>(std::strlen(suffix));
    if (name[0] >= length && std::memcmp(name + 1 + name[0] - length, suffix, length) == 0) {
      name[0] = UInt8(name[0] - length);
      return;
    }
  }
}

bool DesktopEntryName(const FSSpec& app, Str255 name) {
  const std::string file(reinterpret_cast<const char*>(app.name + 1), app.name[0]);
  std::string path, shown;
  DesktopEntry entry;
  if (!file.ends_with(".desktop") || FSpGetPOSIXPath(&app, &path) != noErr || !DesktopEntryRead(path, &entry) ||
      !UTF8ToScript(entry.name, &shown) || shown.empty())
    return false;
  name[0] = UInt8(std::min<size_t>(shown.size(), 255));
  shown.copy(reinterpret_cast<char*>(name + 1), name[0]);
  return true;
}

void ApplicationName(const FSSpec& app, Str255 name) {
  if (DesktopEntryName(app, name)) return;
  std::memcpy(name, app.name, size_t(app.name[0]) + 1);
  RemoveExtensionApp(name);
}

char DecPointCharOfLocale(const char* localeName) {
  try {
    return std::use_facet<std::numpunct<char>>(std::locale(localeName)).decimal_point();
  } catch (const std::exception&) {
    return '.';
  }
}

char GetLocalizedDecPointChar() {
  static const char sDecPoint = [] {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
      const char* value = std::getenv(variable);
      if (value && *value) return DecPointCharOfLocale(value);
    }
    return '.';
  }();
  return sDecPoint;
}

TextEncoding GetEncoding() { return ScriptTextEncoding(GetSystemScript()); }

UniChar* ConvertFromPStringToUnicode(const LStr255& name, long& byteLength) {
  std::string utf8;
  std::u16string units;
  if (!PStringToUTF8(name, &utf8) || !UTF8ToUTF16(utf8, &units)) ThrowOSErr_(bdNamErr);
  auto* result = new UniChar[units.size() + 1];
  for (size_t i = 0; i < units.size(); ++i) result[i] = units[i];
  result[units.size()] = 0;
  byteLength = long(units.size() * sizeof(UniChar));
  return result;
}

long RenameFSSpecFile2UniFile(const FSSpec* spec) {
  FSRef ref;
  if (!spec || FSpMakeFSRef(spec, &ref) != noErr) return 0;
  try {
    long byteLength = 0;
    UniChar* name = ConvertFromPStringToUnicode(LStr255(spec->name), byteLength);
    OSErr err = FSRenameUnicode(&ref, UniCharCount(byteLength / long(sizeof(UniChar))), name, GetEncoding(), nullptr);
    delete[] name;
    return err == noErr || err == dupFNErr ? 1 : 0;
  } catch (const LException&) {
    return 0;
  }
}

long GetMoveIconNo(long tag, long productID) {
  switch (tag) {
    case 2000: return 400;
    case 2001: return 430;
    case 2002: return Is4ButtonDriver(productID) ? 420 : 0;
    case 2003: return 410;
    default: return 0;
  }
}

void SetMove_Button_Popup_Value(RecordBytes prefsAll, long tag, long productID, UInt32 value) {
  if (tag < long(kButtonTagBase) || tag >= long(kButtonTagBase + PREF_SETTING::kSlots)) return;
  if (tag == 2002 && !Is4ButtonDriver(productID)) return;
  PREF_SETTING::ButtonSlot(UInt32(tag - kButtonTagBase)).set(PREF_ALL::kSetting.in(prefsAll), value);
}

void UpdateProc() {
  // The scanning dialog is in front of the main window; both are framework windows.
  for (WindowRef window = GetWindowList(); window; window = GetNextWindow(window))
    if (LWindow* object = LWindow::FetchWindowObject(window); object && object->IsActive()) object->Deactivate();
}

}  // namespace CWXUtility
