// The mail chooser's list of applications: one column, one 72-byte entry a row (valid,
// file specification, user-added). The last row of the layout is the "no application"
// placeholder; found and saved applications stand above it. Selecting a cell broadcasts
// 'MGSL' with a SInt32* that is 1 for a cell of the table.
#pragma once

#include "framework/LBroadcaster.h"
#include "framework/LTable.h"

constexpr MessageT msg_ApplSelected = 'MGSL';
constexpr UInt32 kMaxSavedAppl = 256;  // the settings record's room

struct ApplEntry {
  bool valid = false;
  FSSpec app{};
  bool userAdded = false;
};

class CPreferenceApplTable : public LTable, public LBroadcaster {
 public:
  static constexpr ClassIDT class_ID = 'ATBL';
  using Inherited = LTable;
  static constexpr UInt32 kEntrySize = 72;

  explicit CPreferenceApplTable(LStream* stream) : LTable(stream) {}

  void SelectCell(const STableCell& cell) override;
  // Adds `count` applications (at most 256), each at the top as user-added: the last stands first.
  virtual void SetSavedAppl(UInt32 count, const FSSpec* apps);
  // The user-added applications from the last row up (at most 256) and their count.
  virtual void GetMustSaveAppl(UInt32* count, FSSpec* apps) const;
  virtual void SelectCurrentAppCell(const FSSpec& app);

  void InsertEntryAtTop(const ApplEntry& entry);
  ApplEntry EntryAt(TableIndexT row) const;
  UInt32 UserAddedCount() const;
  // An application's name as listed: a desktop entry's Name=, else the file name without its
  // last ".app".
  static void ShownName(const FSSpec& app, Str255 shown);

 protected:
  void DrawSelf() override;
  void FinishCreateSelf() override;
  void HiliteCell(const STableCell&) override {}
  void UnhiliteCell(const STableCell&) override {}
  void DrawCell(const STableCell& cell) override;
};
