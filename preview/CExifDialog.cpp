#include "preview/CExifDialog.h"

#include <cstring>
#include <string>

#include "app/CPopupButton.h"
#include "app/CTextTable.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "framework/LCheckBox.h"
#include "framework/LEditText.h"
#include "framework/StDialogHandler.h"
#include "framework/UReanimator.h"
#include "output/formats/ExifSettings.h"
#include "output/hub/WXText.h"
#include "output/hubdialogs/WXPanes.h"
#include "preview/ExifPageRecord.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

namespace {

constexpr SInt16 kColumnWidth = 168;

// A value popup and the record field it stands for.
struct PopupField {
  PaneIDT id;
  size_t offset;
  bool byte;  // stored in one byte
};
constexpr PopupField kPopups[] = {{'STYP', 2108, false}, {'STMP', 2112, false}, {'STDP', 2116, false},
                                  {'GEXP', 2428, false}, {'SPED', 2132, false}, {'SBOR', 2140, false},
                                  {'FLAS', 2145, true},  {'FISO', 2164, false}, {'MODP', 2436, false}};

// A check box, its record byte, and the panes it enables.
struct CheckField {
  PaneIDT id;
  size_t offset;
  PaneIDT panes[3];
  PaneIDT caption;
};
constexpr CheckField kChecks[] = {
    {'CTIT', 1336, {'GTIT'}, 'TXTL'}, {'CPAR', 1593, {'GPAR'}, 'TXCT'},
    {'CDAY', 1850, {'STYP', 'STMP', 'STDP'}, 'TXTM'}, {'CEXP', 2425, {'GEXP'}, 'TXEX'},
    {'CSPD', 2128, {'SPED'}, 'TXSS'}, {'CSBR', 2136, {'SBOR'}, 'TXAV'},
    {'CFLS', 2144, {'FLAS'}, 'TXFL'}, {'CISO', 2160, {'FISO'}, 'TXFS'},
    {'CCMT', 2168, {'CMNT'}, 'TXUC'}, {'CMOD', 2432, {'MODP'}, 'TXMD'},
};

// The typed texts and where they are kept.
struct TextField {
  PaneIDT id;
  size_t offset;
};
constexpr TextField kTexts[] = {{'GTIT', 1337}, {'GPAR', 1594}, {'CMNT', 2169}};

const PopupField* PopupFor(MessageT message) {
  for (const PopupField& p : kPopups)
    if (p.id == message) return &p;
  return nullptr;
}

const CheckField* CheckFor(MessageT message) {
  for (const CheckField& c : kChecks)
    if (c.id == message) return &c;
  return nullptr;
}

void PString(Str255 out, const std::string& text) {
  out[0] = uint8_t(std::min<size_t>(text.size(), 255));
  std::memcpy(out + 1, text.data(), out[0]);
}

std::string Text(ConstStr255Param p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

std::string ListItem(SInt16 list, SInt16 item) {
  Str255 text;
  GetIndString(text, list, item);
  return Text(text);
}

template <class T>
T* Pane(LView* view, PaneIDT id) {
  return CWXUtility::FindPaneAs<T>(view, id);
}

}  // namespace

CExifDialog::CExifDialog(LStream* stream) : LDialogBox(stream) {}

void CExifDialog::FinishCreateSelf() {
  LDialogBox::FinishCreateSelf();
  mPagePopup = Pane<CPopupButton>(this, 'FILP');
  mYear = Pane<CPopupButton>(this, 'STYP');
  mMonth = Pane<CPopupButton>(this, 'STMP');
  mDay = Pane<CPopupButton>(this, 'STDP');
  for (const PopupField& p : kPopups) Pane<CPopupButton>(this, p.id);
  for (const CheckField& c : kChecks) {
    Pane<LCheckBox>(this, c.id);
    Pane<LPane>(this, c.caption);
  }
  mUseDefault = Pane<LCheckBox>(this, 'SVCK');
  mTitle = Pane<LEditText>(this, 'GTIT');
  mAuthor = Pane<LEditText>(this, 'GPAR');
  mComment = Pane<LEditText>(this, 'CMNT');
  mTable = Pane<CTextTable>(this, 'EXFV');
  mTitle->SetKeyFilter(AlphaNumPlusSpaceField);
  mAuthor->SetKeyFilter(AlphaNumPlusSpaceField);
  UReanimator::LinkListenerToControls(this, this, kControlLinks);
}

MessageT CExifDialog::ShowExifDialog(EXIF_PREF*, Str255& name, LCommander* super, TArray<SExifPage>* pages) {
  bool anyListed = false;
  for (ArrayIndexT i = 1; pages && i <= pages->GetCount(); ++i) anyListed = anyListed || (*pages)[i].listed;
  if (!anyListed) return msg_Cancel;

  StCurResFile appResources(ApplicationResFile());
  StDialogHandler handler(kLayout, super);
  auto* dialog = dynamic_cast<CExifDialog*>(handler.GetDialog());
  ThrowIfNil_(dialog);
  dialog->mPages = pages;
  // Taken before any page is shown: showing one already stores its date string.
  for (ArrayIndexT i = 1; i <= pages->GetCount(); ++i) dialog->mSnapshots.AddItem(*(*pages)[i].record);
  for (ArrayIndexT i = 1; i <= pages->GetCount(); ++i) {
    const SExifPage& page = (*pages)[i];
    if (page.listed) {
      dialog->mListed.AddItem(long(i));
      dialog->mPagePopup->AppendMenuItem(page.name);
      if (page.name[0] == name[0] && std::memcmp(page.name + 1, name + 1, name[0]) == 0)
        dialog->mPagePopup->SetValue(dialog->mPagePopup->CountMenuItems());
    }
  }
  MessageT message = msg_Nothing;
  while (message != msg_OK && message != msg_Cancel) message = handler.DoDialog();
  if (message == msg_Cancel)
    for (ArrayIndexT i = 1; i <= pages->GetCount(); ++i) *(*pages)[i].record = dialog->mSnapshots[i];
  return message;
}

void CExifDialog::SetExifPref(EXIF_PREF* record) {
  mShown = record;
  mPageCopy = *record;
  mSwapCopy = mPageCopy;
  SetFieldsFromShown();
  mUseDefault->Enable();
}

void CExifDialog::SetExifPrefRefresh() { SetFieldsFromShown(); }

void CExifDialog::SetFieldsFromShown() {
  // Each control that changes reports back, which enables its fields and limits the days.
  const RecordBytes shown = Shown();
  for (const PopupField& p : kPopups)
    Pane<CPopupButton>(this, p.id)->SetValue(SInt32(p.byte ? shown.u8(p.offset) : shown.u32(p.offset)));
  for (const CheckField& c : kChecks) {
    LCheckBox* box = Pane<LCheckBox>(this, c.id);
    const SInt32 value = shown.u8(c.offset) ? 1 : 0;
    if (box->GetValue() == value)
      EnableFor(c.id);
    else
      box->SetValue(value);
  }
  for (const TextField& t : kTexts) {
    Str255 text;
    shown.pstr(t.offset, 256, text);
    Pane<LEditText>(this, t.id)->SetDescriptor(text);
  }
}

int CExifDialog::ItemNumber(CPopupButton* popup) const {
  Str255 text;
  popup->GetMenuItemText(SInt16(popup->GetValue()), text);
  long number = 0;
  StringToNum(text, &number);
  return int(number);
}

void CExifDialog::StoreTypedValues() {
  const RecordBytes shown = Shown();
  for (const TextField& t : kTexts) {
    Str255 text;
    Pane<LEditText>(this, t.id)->GetDescriptor(text);
    shown.fill(t.offset, 256, 0);
    shown.setPstr(t.offset, 256, text);
  }
  ExifPageRecord::StoreShootDate(shown, ItemNumber(mYear), ItemNumber(mMonth), ItemNumber(mDay));
}

void CExifDialog::ShowChosenPage() {
  if (mShown) StoreTypedValues();
  StopListening();
  mUseDefault->SetValue(0);
  StartListening();
  long position = 0;
  if (!mListed.FetchItemAt(ArrayIndexT(mPagePopup->GetValue()), position)) return;
  SetExifPref((*mPages)[ArrayIndexT(position)].record);
  RefillTable();
  Show();
}

void CExifDialog::RefillTable() {
  mTable->RemoveAllRows(true);
  mTable->RemoveAllCols(true);
  ShowNormalExifInfo();
  ShowAdvancedExifInfo();
}

void CExifDialog::AddTableRow(ConstStr255Param label, ConstStr255Param value, bool header) {
  TableIndexT rows = 0, cols = 0;
  mTable->GetTableSize(rows, cols);
  if (cols == 0) {
    mTable->InsertCols(2, 0, nullptr, 0, false);
    mTable->SetColWidth(kColumnWidth, 1, 2);
  }
  mTable->InsertRows(1, rows, label, UInt32(label[0] + 1), false);
  mTable->SetCellData(STableCell{rows + 1, 1}, label, UInt32(label[0] + 1));
  const Str255 none{};
  mTable->SetCellData(STableCell{rows + 1, 2}, header ? none : value, UInt32((header ? none : value)[0] + 1));
}

void CExifDialog::ShowNormalExifInfo() {
  const RecordBytes shown = Shown();
  auto row = [&](SInt16 labelItem, const std::string& value, bool header = false) {
    Str255 label, cell;
    PString(label, ListItem(kTableLabels, labelItem));
    PString(cell, header ? std::string() : ": " + value);
    AddTableRow(label, cell, header);
  };
  auto empty = [&](SInt16 labelItem) {
    Str255 label;
    PString(label, ListItem(kTableLabels, labelItem));
    const Str255 none{};
    AddTableRow(label, none, false);
  };
  Str255 text;
  row(1, "", true);
  empty(2);
  row(3, "", true);
  row(4, "2.21");
  shown.pstr(4, 256, text);
  row(5, Text(text));
  shown.pstr(516, 256, text);
  row(6, Text(text));
  shown.pstr(260, 256, text);
  row(18, Text(text));
  row(7, ListItem(kTableValues, shown.u32(776) == 1 ? 3 : 9));
  row(8, std::to_string(shown.u32(780)) + ListItem(kTableValues, 4));
  row(9, std::to_string(shown.u32(784)) + ListItem(kTableValues, 4));
  row(10, std::to_string(shown.i16(796)));
  row(11, std::to_string(shown.i16(800)));
  row(12, ListItem(kTableValues, 5));
  row(13, ExifPageRecord::ScanDateTimeText(shown));
  // As the written file has it.
  row(14, ListItem(kTableValues, SInt16(10 + ExifFileSource(long(shown.u32(1332))))));
  row(15, "", true);
  empty(16);
  row(17, "", true);
  mTable->Refresh();
}

void CExifDialog::ShowAdvancedExifInfo() {
  // The typed texts and the date enter the record as the table shows them.
  StoreTypedValues();
  const RecordBytes shown = Shown();
  struct Row {
    PaneIDT caption, check;
    std::string value;
  };
  auto popupText = [&](PaneIDT id) {
    CPopupButton* popup = Pane<CPopupButton>(this, id);
    Str255 text;
    popup->GetMenuItemText(SInt16(popup->GetValue()), text);
    return Text(text);
  };
  auto typed = [&](LEditText* field) {
    Str255 text;
    field->GetDescriptor(text);
    CWXUtility::PStringTrank(kColumnWidth, text, 0);
    return Text(text);
  };
  char date[32];
  std::snprintf(date, sizeof date, "%04d/%02d/%02d", ItemNumber(mYear), ItemNumber(mMonth), ItemNumber(mDay));
  const Row rows[] = {
      {'TXTL', 'CTIT', typed(mTitle)},      {'TXCT', 'CPAR', typed(mAuthor)},     {'TXTM', 'CDAY', date},
      {'TXEX', 'CEXP', popupText('GEXP')},  {'TXMD', 'CMOD', popupText('MODP')},  {'TXSS', 'CSPD', popupText('SPED')},
      {'TXAV', 'CSBR', popupText('SBOR')},  {'TXFL', 'CFLS', popupText('FLAS')},  {'TXFS', 'CISO', popupText('FISO')},
      {'TXUC', 'CCMT', typed(mComment)},
  };
  for (const Row& r : rows) {
    Str255 label, value;
    Pane<LPane>(this, r.caption)->GetDescriptor(label);
    if (label[0] > 0) --label[0];
    PString(value, shown.u8(CheckFor(r.check)->offset) ? ": " + r.value : std::string(": "));
    AddTableRow(label, value, false);
  }
  mTable->Refresh();
}

void CExifDialog::EnableFor(MessageT check) {
  const CheckField* c = CheckFor(check);
  const bool on = Shown().u8(c->offset) != 0;
  for (PaneIDT id : c->panes) {
    if (!id) continue;
    LPane* pane = Pane<LPane>(this, id);
    on ? pane->Enable() : pane->Disable();
  }
  LPane* caption = Pane<LPane>(this, c->caption);
  on ? caption->Enable() : caption->Disable();
}

void CExifDialog::SetShootTime_Day_Popup() {
  const RecordBytes shown = Shown();
  for (SInt16 item = 29; item <= 31; ++item) mDay->EnableItem(item);
  const int limit = ExifPageRecord::DayLimit(shown.u32(2108), shown.u32(2112));
  for (SInt16 item = SInt16(limit + 1); item <= 31; ++item) mDay->DisableItem(item);
  if (shown.u32(2116) > uint32_t(limit)) {
    StopListening();
    mDay->SetValue(limit);
    StartListening();
    shown.setU32(2116, uint32_t(limit));
  }
}

void CExifDialog::TakeOrGiveBackDefault(bool take) {
  StoreTypedValues();
  if (take) {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    ExifPageRecord::TakeDefault(Shown(), mSwapCopy.view(), PREF_ALL::kExif.in(prefs.PrefAll()));
  } else {
    *mShown = mSwapCopy;
  }
  SetExifPrefRefresh();
}

void CExifDialog::StoreAsDefault() {
  CPreferences prefs(PREFS_FILE_NAME, 0);
  std::memcpy(PREF_ALL::kExif.in(prefs.PrefAll()).data(), mShown->bytes.data(), EXIF_PREF::kSize);
}

void CExifDialog::ListenToMessage(MessageT message, void* param) {
  if (!mShown && message != 'FILP') {
    LDialogBox::ListenToMessage(message, param);
    return;
  }
  const RecordBytes shown = mShown ? Shown() : RecordBytes(nullptr, 0);
  if (const PopupField* p = PopupFor(message)) {
    const SInt32 value = Pane<CPopupButton>(this, p->id)->GetValue();
    p->byte ? shown.setU8(p->offset, uint8_t(value)) : shown.setU32(p->offset, uint32_t(value));
    if (message == 'STYP' || message == 'STMP') SetShootTime_Day_Popup();
    return;
  }
  if (const CheckField* c = CheckFor(message)) {
    shown.setU8(c->offset, uint8_t(Pane<LCheckBox>(this, c->id)->GetValue()));
    EnableFor(message);
    if (shown.u8(c->offset) && (message == 'CTIT' || message == 'CPAR' || message == 'CCMT'))
      SwitchTarget(Pane<LEditText>(this, c->panes[0]));
    return;
  }
  switch (message) {
    case 'FILP':
      ShowChosenPage();
      break;
    case 'SVCK':
      TakeOrGiveBackDefault(mUseDefault->GetValue() != 0);
      break;
    case 'APLY':
      RefillTable();
      EXIF_PREF::kIsDefault.set(shown, 1);
      StoreAsDefault();
      for (ArrayIndexT i = 1; i <= mPages->GetCount(); ++i) mSnapshots[i] = *(*mPages)[i].record;
      break;
    case msg_OK:
      StoreTypedValues();
      EXIF_PREF::kIsDefault.set(shown, 1);
      for (ArrayIndexT i = 1; i <= mListed.GetCount(); ++i)
        EXIF_PREF::kIsDefault.set((*mPages)[ArrayIndexT(mListed[i])].record->view(), 1);
      StoreAsDefault();
      break;
    case msg_Cancel:
      *mShown = mPageCopy;
      break;
    default:
      break;
  }
}

EKeyStatus CExifDialog::AlphaNumPlusSpaceField(TEHandle, UInt16, UInt16& ioCharCode, EventModifiers) {
  const UInt16 c = ioCharCode;
  if (UKeyFilters::IsTEDeleteKey(c)) return keyStatus_TEDelete;
  if (UKeyFilters::IsTECursorKey(c)) return keyStatus_TECursor;
  if (UKeyFilters::IsExtraEditKey(c)) return keyStatus_ExtraEdit;
  if (!UKeyFilters::IsPrintingChar(c)) return keyStatus_PassUp;
  if (UKeyFilters::IsNumberChar(c) || UKeyFilters::IsLetterChar(c) || c == ' ') return keyStatus_Input;
  return keyStatus_Reject;
}
