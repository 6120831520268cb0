#include "dialogs/file/FunctionDialogKit.h"

#include <cstring>
#include <string_view>

#include "app/CAppearanceApp.h"
#include "app/CMainWindow.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "framework/LEditText.h"
#include "framework/LPopupButton.h"
#include "framework/LWindow.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hub/WXFolders.h"
#include "output/hub/WXText.h"
#include "output/hubdialogs/CWXUtility.h"
#include "output/hubdialogs/WXScan.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"
#include "toolbox/Files.h"
#include "toolbox/Gestalt.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/TextUtils.h"

namespace FunctionDialogKit {

namespace {
constexpr SInt16 kAlertLayout = 400;
constexpr SInt16 kAlertList = 400;
enum : long { kItemImageTooLarge = 37, kItemDeepImage = 38, kItemTooLargeAtResolution = 49 };
// Paths are cut this much narrower than their pane, to keep clear of its edge.
constexpr SInt16 kPathMargin = 15;
enum : CommandT { kCommandClose = 1, kCommandQuit = 10, kCommandSynthetic = -8388608 };
}  // namespace

bool SameText(ConstStr255Param a, ConstStr255Param b) { return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0; }

bool SpecResolves(const FSSpec& spec) {
  FSSpec resolved{};
  return spec.name[0] != 0 && FSMakeFSSpec(spec.vRefNum, spec.parID, spec.name, &resolved) == noErr;
}

SInt32 SystemVersion() {
  SInt32 version = 0;
  Gestalt(gestaltSystemVersion, &version);
  return version;
}

OSType FileTypeCode(UInt32 type) {
  switch (type) {
    case 1: return 'PICT';
    case 2: return 'JPEG';
    case 3: return 'TIFF';
    default: return 'PDF ';
  }
}

bool DecideCommandWhileScanning(CommandT command, UInt8 busy, bool& outEnabled) {
  if (CWXUtility::sIsQuellaneOpened == 1) {
    outEnabled = false;
    return true;
  }
  if (command == kCommandClose || command == kCommandQuit || command == kCommandSynthetic) {
    outEnabled = busy == 0;
    return true;
  }
  return false;
}

void Alert(LCommander* owner, long item) {
  CWXUtility::Show_Error(kAlertLayout, owner, kAlertList, item, 0, 1, nullptr, 0);
}

bool Ask(LCommander* owner, long item) {
  return CWXUtility::Show_Error(kAlertLayout, owner, kAlertList, item, 1, 1, nullptr, 0) == msg_OK;
}

bool FileNameAccepted(LCommander* owner, ConstStr255Param name) {
  const long problem = CWXUtility::CheckFileName(name);
  if (problem != 0) Alert(owner, problem);
  return problem == 0;
}

bool ShortPath(LPane* caption, const FSSpec& spec, Str255 text) {
  SDimension16 frame;
  caption->GetFrameSize(frame);
  SInt16 length = 0;
  Handle path = CWXUtility::GetFullPathTrank(spec, SInt16(frame.width - kPathMargin), &length);
  if (!path) return false;
  PStrFromString(std::string_view(*path, size_t(length)), text);
  DisposeHandle(path);
  return true;
}

void ShowFolderPath(LPane* caption, const FSSpec& folder) {
  Str255 text{};
  ShortPath(caption, folder, text);
  caption->SetDescriptor(text);
}

void ShowCustomSize(LPopupButton* size, RecordBytes record, const PrefDocSize& field) {
  if (Paper_Size_custom < 1 || Paper_Size_custom > size->CountMenuItems()) return;
  StDescriptDialog custom;
  custom.width = field.width(record);
  custom.height = field.height(record);
  custom.unit = SInt32(field.unit(record));
  Str255 text;
  CWXUtility::ManuscriptPrefToString(custom, text);
  size->SetMenuItemText(SInt16(Paper_Size_custom), text);
}

void ShowTransferRefusals(LWindow* dialog, CTWAIN& twain, bool driverWindow) {
  if (driverWindow && twain.IsImageSizeOver()) {
    twain.DisableDS();
    Alert(dialog, kItemImageTooLarge);
    twain.SetImageSizeOver(0);
  }
  if (driverWindow && twain.IsImageResOver()) {
    twain.DisableDS();
    Alert(dialog, kItemTooLargeAtResolution);
    twain.SetImageResOver(0);
  }
  if (twain.IsDeepImage()) {
    twain.DisableDS();
    Alert(dialog, kItemDeepImage);
  }
  CWXUtility::ShowScannerFault(dialog, twain);
  dialog->Refresh();
}

void MarkPdfFileType(RecordBytes pdf, bool onePDF, bool addToPDF) {
  StPDFDialog::kUnused4.set(pdf, onePDF ? 1 : 0);
  StPDFDialog::kUnused8.set(pdf, addToPDF ? 1 : 0);
}

void DeleteRunObjects(CThreadChecker* checker) {
  Scanner* scanner = checker->GetScanner();
  CTWAIN* twain = checker->GetTWAIN();
  delete checker;
  delete scanner;
  delete twain;
}

bool StartNextPass(CThreadChecker* checker, RecordBytes prefsAll) {
  checker->StartRepeating();
  // A plug-in scans inside the call; its end message follows.
  if (Scanner* scanner = checker->GetScanner()) return scanner->Scan() != 0;
  Str255 model;
  PREF_SETTING::kModelName.get(PREF_ALL::kSetting.in(prefsAll), model);
  return checker->GetTWAIN()->Scan_Next(model) == 0;
}

void DeletePages(TArray<ScanDataPlus>& pages, TArray<EXIF_PREF>& exifs) {
  for (ArrayIndexT i = 1; i <= pages.GetCount(); ++i) {
    ScanDataPlus page;
    pages.FetchItemAt(i, page);
    CWXUtility::DeleteFileWithRetry(page.imageFile);
    CWXUtility::DeleteFileWithRetry(page.rawFile);
  }
  pages.RemoveAllItems();
  exifs.RemoveAllItems();
}

void ReloadDefaultExif(RecordBytes prefsAll) {
  CPreferences stored(PREFS_FILE_NAME, 0);
  std::memcpy(PREF_ALL::kExif.in(prefsAll).data(), PREF_ALL::kExif.in(stored.PrefAll()).data(), EXIF_PREF::kSize);
}

bool HandleHistoryMessage(LListener* dialog, MessageT message, long value, LPopupButton* popup, LEditText* name,
                          RecordBytes record, const PrefHistory& history, UInt8& matched) {
  if (message != 'FACB' && message != 'FACA' && message != 'PuFN') return false;
  CWXUtility::StStopListening quiet(dialog);
  if (message == 'FACB') {
    Str255 current;
    name->GetDescriptor(current);
    popup->DeleteAllMenuItems();
    const UInt32 count = history.count(record);
    SInt16 item = 0;
    for (UInt32 i = 0; i < count; ++i) {
      Str255 entry;
      history.entry(record, i, entry);
      popup->InsertMenuItem(entry, 0);
      if (SameText(entry, current)) item = SInt16(count - i);
    }
    matched = item != 0 ? 1 : 0;
    if (matched)
      popup->SetValue(item);
    else
      popup->InsertMenuItem(current, 0);
  } else if (message == 'FACA') {
    if (!matched && popup->CountMenuItems() > 0) popup->DeleteMenuItem(1);
    name->Refresh();
  } else if (value >= 1 && value <= popup->CountMenuItems()) {
    Str255 entry;
    popup->GetMenuItemText(SInt16(value), entry);
    name->SetDescriptor(entry);
  }
  return true;
}

long AskForName(LCommander* owner, RecordBytes record, const PrefHistory& history, Str255 name) {
  const UInt32 count = history.count(record);
  Str255 names[PrefHistory::kEntries];
  for (UInt32 i = 0; i < count; ++i) history.entry(record, i, names[i]);
  return CWXUtility::AddFileName(owner, name, long(count), names);
}

}  // namespace FunctionDialogKit
