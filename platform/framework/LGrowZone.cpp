#include "framework/LGrowZone.h"

#include "toolbox/MacMemory.h"

LGrowZone* LGrowZone::sGrowZone = nullptr;

LGrowZone::LGrowZone(Size reserveSize) : mReserveSize(reserveSize), mReserve(NewPtr(reserveSize)) {
  sGrowZone = this;
}

LGrowZone::~LGrowZone() {
  if (mReserve) DisposePtr(mReserve);
  if (sGrowZone == this) sGrowZone = nullptr;
}

bool LGrowZone::UseReserve() {
  if (!mReserve) return false;
  DisposePtr(mReserve);
  mReserve = nullptr;
  return true;
}

void LGrowZone::Replenish() {
  if (!mReserve) mReserve = NewPtr(mReserveSize);
}
