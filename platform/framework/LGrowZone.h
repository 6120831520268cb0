// A reserve of memory kept for the whole run and given back when an allocation fails, so
// that the code that reports the failure still has room to work.
#pragma once

#include "framework/FrameworkTypes.h"

class LGrowZone {
 public:
  explicit LGrowZone(Size reserveSize);
  LGrowZone(const LGrowZone&) = delete;
  LGrowZone& operator=(const LGrowZone&) = delete;
  ~LGrowZone();

  static LGrowZone* GetGrowZone() { return sGrowZone; }
  // Frees the reserve; true when there was one to free.
  bool UseReserve();
  bool MemoryIsLow() const { return mReserve == nullptr; }
  // Takes the reserve again once memory is back.
  void Replenish();

 private:
  Size mReserveSize;
  Ptr mReserve;
  static LGrowZone* sGrowZone;
};
