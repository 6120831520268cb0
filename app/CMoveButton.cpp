#include "app/CMoveButton.h"

#include <set>

#include "app/CAppearanceApp.h"
#include "app/CDragTask.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "framework/DragLocation.h"
#include "appservices/StAEDescriptor.h"
#include "framework/LException.h"
#include "framework/LGWorld.h"
#include "framework/LView.h"
#include "output/hub/WXChecks.h"
#include "output/hub/WXText.h"
#include "output/hubdialogs/WXScan.h"
#include "quickdraw/QuickDraw.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

const SMoveButtonKind kCopyMove{'CPYM', PREF_ALL::kCopy.off, PREF_COPY::kSize, PREF_COPY::kTag.off, 1, 1};
const SMoveButtonKind kPrintMove{'PRNM', PREF_ALL::kPrint.off, PREF_PRINT::kSize, PREF_PRINT::kTag.off, 1, 2};
const SMoveButtonKind kMailMove{'MALM', PREF_ALL::kMail.off, PREF_MAIL::kSize, PREF_MAIL::kTag.off, 1, 3};
const SMoveButtonKind kOCRMove{'OCRM', PREF_ALL::kOCR.off, PREF_OCR::kSize, PREF_OCR::kTag.off, 1, 4};
const SMoveButtonKind kSaveMove{'SAVM', PREF_ALL::kSave.off, PREF_SAVE::kSize, PREF_SAVE::kTag.off, 1, 5};
const SMoveButtonKind kFileMove{'FILM', PREF_ALL::kFile0, PREF_FILE::kSize, PREF_FILE::kTag.off, PREF_ALL::kFileRecords, 0};
const SMoveButtonKind kScan1Move{'SC1M', PREF_ALL::kScan1.off, PREF_SCANX::kSize, PREF_SCANX::kTag.off, 1, 6};
const SMoveButtonKind kScan2Move{'SC2M', PREF_ALL::kScan2.off, PREF_SCANX::kSize, PREF_SCANX::kTag.off, 1, 7};

namespace {

constexpr UInt32 kFourButtonFileFunction = 8;

std::set<const CMoveButton*>& LiveButtons() {
  static std::set<const CMoveButton*> live;
  return live;
}

bool FunctionDialogOpen() {
  return CAppearanceApp::sApplication && CAppearanceApp::sApplication->mFunctionDialogOpen;
}

}  // namespace

CMoveButton::CMoveButton(const SMoveButtonKind& kind, RecordBytes record, const SPaneInfo& paneInfo, UInt16 productID,
                         SInt32 value, SInt32 minValue, SInt32 maxValue, ResIDT pict1, ResIDT pict2, ResIDT)
    : CDropPane(paneInfo, kind.message, value, minValue, maxValue, pict1, pict2),
      mKind(kind),
      mRecord(record.sub(0, kind.recordSize).data(), record.data() + kind.recordSize),
      mProductID(productID),
      mToken(MemTokenFor(this)) {
  LiveButtons().insert(this);
}

CMoveButton::~CMoveButton() {
  LiveButtons().erase(this);
  MemTokenRelease(mToken);
}

SInt32 CMoveButton::GetMoveButtonValue() const {
  return static_cast<SInt32>(RecordBytes(const_cast<UInt8*>(mRecord.data()), mRecord.size()).u32(mKind.tagOffset));
}

void CMoveButton::SetTag(UInt32 tag) { RecordBytes(mRecord.data(), mRecord.size()).setU32(mKind.tagOffset, tag); }

void CMoveButton::StoreTag(RecordBytes prefsAll) const {
  for (UInt32 k = 0; k < mKind.records; ++k)
    prefsAll.setU32(mKind.recordOffset + k * mKind.recordSize + mKind.tagOffset, UInt32(GetMoveButtonValue()));
}

void CMoveButton::DrawSelf() {
  const long pictID = CWXUtility::GetMoveIconNo(GetMoveButtonValue(), mProductID);
  if (pictID == 0) return;
  Rect frame;
  CalcLocalFrameRect(frame);
  DrawArtwork(static_cast<ResIDT>(pictID), frame);
}

void CMoveButton::AdjustMouseSelf(Point portPt, const EventRecord& event, RgnHandle mouseRgn) {
  if (GetMoveButtonValue() != 0)
    CDropPane::AdjustMouseSelf(portPt, event, mouseRgn);
  else
    InitCursor();
}

void CMoveButton::ClickSelf(const SMouseDownEvent& event) {
  if (LView* super = GetSuperView()) super->FocusDraw();
  if (GetMoveButtonValue() == 0 || FunctionDialogOpen() || !WaitMouseMoved(event.macEvent.where)) return;

  Rect frame;
  CalcLocalFrameRect(frame);
  LGWorld image(frame, 32);
  if (image.BeginDrawing()) {
    DrawSelf();
    image.EndDrawing();
  }
  Point topLeft{frame.top, frame.left}, bottomRight{frame.bottom, frame.right};
  PortToGlobalPoint(topLeft);
  PortToGlobalPoint(bottomRight);
  const Rect globalFrame{topLeft.v, topLeft.h, bottomRight.v, bottomRight.h};
  const uint32_t token = mToken;
  CDragTask drag(event.macEvent, globalFrame, 1, kMoveFlavor, &token, sizeof token, flavorSenderOnly, &image);

  StAEDescriptor location, taken;
  ThrowIfOSErr_(GetDropLocation(drag.GetDragReference(), location));
  if (AECoerceDesc(location, typeBoolean, taken) != noErr) return;
  Boolean accepted = false;
  ThrowIfOSErr_(AEGetDescData(taken, &accepted, sizeof accepted));
  if (!accepted) return;
  CPreferences prefs(PREFS_FILE_NAME, 0);
  StoreTag(prefs.PrefAll());
  Refresh();
}

CMoveButton* CMoveButton::SourceOf(DragRef drag, DragItemRef item) {
  FlavorFlags flags = 0;
  if (GetFlavorFlags(drag, item, kMoveFlavor, &flags) != noErr || !(flags & flavorSenderOnly)) return nullptr;
  Size size = 0;
  if (GetFlavorDataSize(drag, item, kMoveFlavor, &size) != noErr || size != sizeof(uint32_t)) return nullptr;
  uint32_t token = 0;
  if (GetFlavorData(drag, item, kMoveFlavor, &token, &size, 0) != noErr) return nullptr;
  auto* source = static_cast<CMoveButton*>(MemTokenTarget(token));
  return LiveButtons().count(source) ? source : nullptr;
}

bool CMoveButton::ItemIsAcceptable(DragRef drag, DragItemRef item) {
  return !FunctionDialogOpen() && GetMoveButtonValue() == 0 && SourceOf(drag, item) != nullptr;
}

void CMoveButton::ReceiveDragItem(DragRef drag, DragItemRef item, FlavorFlags, Rect&) {
  CMoveButton* source = SourceOf(drag, item);
  if (!source) return;
  const UInt32 tag = UInt32(source->GetMoveButtonValue());
  SetTag(tag);
  source->SetTag(0);
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes all = prefs.PrefAll();
    UInt32 function = mKind.function;
    if (mKind.records > 1) {
      Str255 model;
      PREF_SETTING::kModelName.get(PREF_ALL::kSetting.in(all), model);
      function = CWXUtility::Is4ButtonDriver(CWXUtility::GetDriverVersion(1, nullptr, nullptr, model))
                     ? kFourButtonFileFunction
                     : 0;
    }
    CWXUtility::SetMove_Button_Popup_Value(all, long(tag), mProductID, function);
    StoreTag(all);
  }
  const Boolean taken = true;
  StAEDescriptor location(typeBoolean, &taken, sizeof taken);
  SetDropLocation(drag, location);
  Refresh();
}
