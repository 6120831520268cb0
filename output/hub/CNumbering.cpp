#include "output/hub/CNumbering.h"

#include <cstdio>

namespace {

std::string FourDigits(unsigned short n) {
  char text[8];
  std::snprintf(text, sizeof text, "%04u", unsigned(n));
  return text;
}

}  // namespace

std::string CNumbering::GetNextNumber() {
  ++mNumber;
  std::string prefix;
  if (mNumber > 9999) {
    mNumber = 0;
    if (!mNext) {
      if (mDepth >= kMaxLevels) return std::string();
      mNext = std::make_unique<CNumbering>();
      mNext->mDepth = static_cast<unsigned short>(mDepth + 1);
    }
    prefix = mNext->GetNextNumber();
    if (prefix.empty()) return std::string();
  } else if (mNext) {
    prefix = mNext->GetNumber();
  }
  return prefix + FourDigits(mNumber);
}

std::string CNumbering::GetNumber() const { return (mNext ? mNext->GetNumber() : std::string()) + FourDigits(mNumber); }
