#include "framework/LPlaceHolder.h"

#include "framework/LStream.h"
#include "framework/ReadLayoutFields.h"

LPlaceHolder::LPlaceHolder(const SPaneInfo& paneInfo, const SViewInfo& viewInfo, SInt16 alignment)
    : LView(paneInfo, viewInfo), mAlignment(alignment) {}

LPlaceHolder::LPlaceHolder(LStream* stream) : LView(stream) { ReadLayoutFields<layout::kPlaceHolder>(*stream, mAlignment); }

LPlaceHolder::~LPlaceHolder() {
  // The occupant is only lent: give it back rather than delete it with this view.
  RemoveOccupant();
}

void LPlaceHolder::InstallOccupant(LPane* occupant, SInt16 alignment) {
  if (!occupant) return;
  RemoveOccupant();
  mOccupant = occupant;
  mOldSuper = occupant->GetSuperView();
  occupant->GetFrameLocation(mOldLocation);
  occupant->PutInside(this);
  SDimension16 size;
  occupant->GetFrameSize(size);
  if (alignment < 0) alignment = mAlignment;
  SInt32 h = 0, v = 0;
  if (alignment == kAlignAbsoluteCenter) {
    h = (mFrameSize.width - size.width) / 2;
    v = (mFrameSize.height - size.height) / 2;
  }
  occupant->MoveBy(mFrameLocation.h + h - mOldLocation.h, mFrameLocation.v + v - mOldLocation.v, false);
  Refresh();
}

LPane* LPlaceHolder::RemoveOccupant() {
  LPane* occupant = mOccupant;
  if (!occupant) return nullptr;
  mOccupant = nullptr;
  SPoint32 now;
  occupant->GetFrameLocation(now);
  occupant->PutInside(mOldSuper);
  occupant->MoveBy(mOldLocation.h - now.h, mOldLocation.v - now.v, false);
  mOldSuper = nullptr;
  Refresh();
  return occupant;
}
