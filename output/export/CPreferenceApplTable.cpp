#include "output/export/CPreferenceApplTable.h"

#include <string>

#include "framework/StColorState.h"
#include "output/hub/WXText.h"
#include "quickdraw/Fonts.h"
#include "quickdraw/QuickDrawText.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/RecordAccess.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

namespace {

constexpr SInt16 kApplStrings = 2100;
constexpr SInt16 kNoApplication = 1;
constexpr RGBColor kWhite = {0xFFFF, 0xFFFF, 0xFFFF};
constexpr size_t kValidAt = 0, kSpecAt = 1, kUserAddedAt = 71;

void Encode(const ApplEntry& entry, UInt8* bytes) {
  RecordBytes record(bytes, CPreferenceApplTable::kEntrySize);
  record.fill(0, CPreferenceApplTable::kEntrySize, 0);
  record.setU8(kValidAt, entry.valid ? 1 : 0);
  record.setFSSpec(kSpecAt, entry.app);
  record.setU8(kUserAddedAt, entry.userAdded ? 1 : 0);
}

}  // namespace

void CPreferenceApplTable::ShownName(const FSSpec& app, Str255 shown) {
  if (CWXUtility::DesktopEntryName(app, shown)) return;
  std::string text(reinterpret_cast<const char*>(app.name + 1), app.name[0]);
  const size_t at = text.rfind(".app");
  if (at != std::string::npos) text.erase(at, 4);
  shown[0] = UInt8(text.size());
  text.copy(reinterpret_cast<char*>(shown + 1), text.size());
}

ApplEntry CPreferenceApplTable::EntryAt(TableIndexT row) const {
  UInt8 bytes[kEntrySize] = {0};
  UInt32 size = kEntrySize;
  ApplEntry entry;
  if (!IsValidCell({row, 1})) return entry;
  GetCellData({row, 1}, bytes, size);
  const RecordBytes record(bytes, kEntrySize);
  entry.valid = record.u8(kValidAt) != 0;
  entry.app = record.fsspec(kSpecAt);
  entry.userAdded = record.u8(kUserAddedAt) != 0;
  return entry;
}

void CPreferenceApplTable::InsertEntryAtTop(const ApplEntry& entry) {
  UInt8 bytes[kEntrySize];
  Encode(entry, bytes);
  InsertRows(1, 0, bytes, kEntrySize);
}

UInt32 CPreferenceApplTable::UserAddedCount() const {
  TableIndexT rows = 0, cols = 0;
  GetTableSize(rows, cols);
  UInt32 count = 0;
  for (TableIndexT row = 1; row <= rows; ++row) {
    const ApplEntry entry = EntryAt(row);
    if (entry.valid && entry.userAdded) ++count;
  }
  return count;
}

void CPreferenceApplTable::SelectCell(const STableCell& cell) {
  LTable::SelectCell(cell);
  SInt32 valid = IsValidCell(cell) ? 1 : 0;
  BroadcastMessage(msg_ApplSelected, &valid);
}

void CPreferenceApplTable::SetSavedAppl(UInt32 count, const FSSpec* apps) {
  // A damaged settings file may claim more than the record holds.
  if (count > kMaxSavedAppl) count = kMaxSavedAppl;
  for (UInt32 i = 0; apps && i < count; ++i) InsertEntryAtTop(ApplEntry{true, apps[i], true});
}

void CPreferenceApplTable::GetMustSaveAppl(UInt32* count, FSSpec* apps) const {
  TableIndexT rows = 0, cols = 0;
  GetTableSize(rows, cols);
  UInt32 saved = 0;
  for (TableIndexT row = rows; row >= 1 && saved < kMaxSavedAppl; --row) {
    const ApplEntry entry = EntryAt(row);
    if (entry.valid && entry.userAdded) apps[saved++] = entry.app;
  }
  *count = saved;
}

void CPreferenceApplTable::SelectCurrentAppCell(const FSSpec& app) {
  TableIndexT rows = 0, cols = 0;
  GetTableSize(rows, cols);
  for (TableIndexT row = 1; row <= rows; ++row) {
    const ApplEntry entry = EntryAt(row);
    if (entry.app.vRefNum == app.vRefNum && entry.app.parID == app.parID &&
        EqualString(entry.app.name, app.name, false, true)) {
      SelectCell({row, 1});
      return;
    }
  }
}

void CPreferenceApplTable::FinishCreateSelf() {
  TableIndexT rows = 0, cols = 0;
  GetTableSize(rows, cols);
  if (rows > 0 && cols > 0) {
    ApplEntry placeholder;
    placeholder.app.name[0] = 1;
    UInt8 bytes[kEntrySize];
    Encode(placeholder, bytes);
    SetCellData({rows, 1}, bytes, kEntrySize);
  }
  LTable::FinishCreateSelf();
}

void CPreferenceApplTable::DrawSelf() {
  Rect frame;
  if (CalcLocalFrameRect(frame)) {
    StColorState saved;
    RGBBackColor(&kWhite);
    EraseRect(&frame);
  }
  LTable::DrawSelf();
}

void CPreferenceApplTable::DrawCell(const STableCell& cell) {
  Rect frame;
  if (!FetchLocalCellFrame(cell, frame)) return;
  StColorState saved;
  RGBBackColor(&kWhite);
  EraseRect(&frame);
  const ApplEntry entry = EntryAt(cell.row);
  if (entry.app.name[0] != 0) {
    Str255 text;
    if (entry.valid)
      ShownName(entry.app, text);
    else
      GetIndString(text, kApplStrings, kNoApplication);
    TextFont(systemFont);
    TruncString(SInt16(frame.right - frame.left - 4), text, truncEnd);
    FontInfo info{};
    GetFontInfo(&info);
    MoveTo(SInt16(frame.left + 2), SInt16(frame.top + 2 + info.ascent));
    DrawString(text);
  }
  // The selection is marked here, as the table's own highlighting draws nothing.
  STableCell selected{0, 0};
  if (GetSelectedCell(selected) && selected == cell) InvertRect(&frame);
}
