// The move buttons above the function buttons: each shows which scanner button runs its
// function, and dragging that mark onto the move button of a function without one moves
// the assignment there, in the preferences file at once. One class; a row of the table
// says which record a button keeps and writes. Nothing moves while a function dialog is
// open, since the dialog would write its older record back over the move.
#pragma once

#include <vector>

#include "app/CDropPane.h"
#include "prefs/PrefRecords.h"

enum : FlavorType { kMoveFlavor = 'FtWX' };

struct SMoveButtonKind {
  MessageT message;        // the value message and pane ID
  size_t recordOffset;     // the (first) record in PREF_ALL
  size_t recordSize;
  size_t tagOffset;        // the scanner-button tag inside the record
  UInt32 records;          // records written one after the other (the File function's five)
  UInt32 function;         // the function number a moved-in scanner button runs; 0 for File
};

class CMoveButton : public CDropPane {
 public:
  CMoveButton(const SMoveButtonKind& kind, RecordBytes record, const SPaneInfo& paneInfo, UInt16 productID,
              SInt32 value, SInt32 minValue, SInt32 maxValue, ResIDT pict1, ResIDT pict2, ResIDT pict3);
  ~CMoveButton() override;

  SInt32 GetMoveButtonValue() const override;

  bool ItemIsAcceptable(DragRef drag, DragItemRef item) override;
  void ReceiveDragItem(DragRef drag, DragItemRef item, FlavorFlags flags, Rect& itemBounds) override;

 protected:
  void ClickSelf(const SMouseDownEvent& event) override;
  void AdjustMouseSelf(Point portPt, const EventRecord& event, RgnHandle mouseRgn) override;
  void DrawSelf() override;

 private:
  void SetTag(UInt32 tag);
  // Writes the private tag into the button's record(s) of `prefsAll`.
  void StoreTag(RecordBytes prefsAll) const;
  // The live move button a drag names, or null.
  static CMoveButton* SourceOf(DragRef drag, DragItemRef item);

  const SMoveButtonKind& mKind;
  std::vector<UInt8> mRecord;
  UInt16 mProductID;
  uint32_t mToken;
};

// The named buttons of the main window: one row of the table each.
extern const SMoveButtonKind kCopyMove, kPrintMove, kMailMove, kOCRMove, kSaveMove, kFileMove, kScan1Move, kScan2Move;

template <const SMoveButtonKind& Kind>
class TMoveButton : public CMoveButton {
 public:
  TMoveButton(RecordBytes record, const SPaneInfo& paneInfo, MessageT, UInt16 productID, SInt32 value, SInt32 minValue,
              SInt32 maxValue, ResIDT pict1, ResIDT pict2, ResIDT pict3)
      : CMoveButton(Kind, record, paneInfo, productID, value, minValue, maxValue, pict1, pict2, pict3) {}
};

using CCopyMoveButton = TMoveButton<kCopyMove>;
using CPrintMoveButton = TMoveButton<kPrintMove>;
using CMailMoveButton = TMoveButton<kMailMove>;
using COCRMoveButton = TMoveButton<kOCRMove>;
using CSaveMoveButton = TMoveButton<kSaveMove>;
using CFileMoveButton = TMoveButton<kFileMove>;
using CScan1MoveButton = TMoveButton<kScan1Move>;
using CScan2MoveButton = TMoveButton<kScan2Move>;
