#include "sbSession.h"

#include <algorithm>
#include <cstring>

const TwainHost* gHost = nullptr;
SbSession gSession;

void sbSetPstr(unsigned char* field, size_t capacity, const std::string& s) {
  size_t n = std::min(s.size(), capacity - 1);
  field[0] = static_cast<unsigned char>(n);
  std::memcpy(field + 1, s.data(), n);
}

TW_UINT16 sbFail(TW_UINT16 condition) {
  gSession.condition = condition;
  return TWRC_FAILURE;
}
