// Serial numbers for file names: a chain of four-digit counters. A fresh counter gives 0001
// to 9999, then 00010000, 00010001, ...; each further level adds four digits.
#pragma once

#include <memory>
#include <string>

class CNumbering {
 public:
  CNumbering() = default;

  // Advances and returns the serial text; empty once the levels are used up.
  std::string GetNextNumber();
  // The current serial text.
  std::string GetNumber() const;

 private:
  static constexpr unsigned short kMaxLevels = 6;
  unsigned short mNumber = 0;
  std::unique_ptr<CNumbering> mNext;
  unsigned short mDepth = 0;  // how many levels lie above this one
};
