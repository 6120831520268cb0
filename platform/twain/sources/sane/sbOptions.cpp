#include "sbOptions.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstring>

int sbFindOption(SANE_Handle h, const char* name) {
  for (SANE_Int i = 1;; ++i) {
    const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, i);
    if (!d) return -1;
    if (d->name && std::strcmp(d->name, name) == 0) return SANE_OPTION_IS_ACTIVE(d->cap) ? i : -1;
  }
}

static bool sbIsNumber(const SANE_Option_Descriptor* d) {
  return (d->type == SANE_TYPE_INT || d->type == SANE_TYPE_FIXED) && d->size == sizeof(SANE_Word);
}

static double sbToDouble(const SANE_Option_Descriptor* d, SANE_Word w) {
  return d->type == SANE_TYPE_FIXED ? SANE_UNFIX(w) : double(w);
}

static SANE_Word sbFromDouble(const SANE_Option_Descriptor* d, double v) {
  return d->type == SANE_TYPE_FIXED ? SANE_FIX(v) : SANE_Word(std::lround(v));
}

// The allowed value nearest to `v`.
static SANE_Word sbConstrain(const SANE_Option_Descriptor* d, double v) {
  if (d->constraint_type == SANE_CONSTRAINT_RANGE) {
    const SANE_Range* r = d->constraint.range;
    double lo = sbToDouble(d, r->min), hi = sbToDouble(d, r->max);
    v = std::clamp(v, lo, hi);
  } else if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
    const SANE_Word* list = d->constraint.word_list;
    SANE_Word best = list[0] > 0 ? list[1] : sbFromDouble(d, v);
    for (SANE_Word i = 1; i <= list[0]; ++i) {
      if (std::fabs(sbToDouble(d, list[i]) - v) < std::fabs(sbToDouble(d, best) - v)) best = list[i];
    }
    return best;
  }
  return sbFromDouble(d, v);
}

bool sbSetNumber(SANE_Handle h, const char* name, double value) {
  int i = sbFindOption(h, name);
  if (i < 0) return false;
  const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, i);
  if (!sbIsNumber(d) || !SANE_OPTION_IS_SETTABLE(d->cap)) return false;
  SANE_Word w = sbConstrain(d, value);
  return sane_control_option(h, i, SANE_ACTION_SET_VALUE, &w, nullptr) == SANE_STATUS_GOOD;
}

bool sbSetFraction(SANE_Handle h, const char* name, double fraction) {
  int i = sbFindOption(h, name);
  if (i < 0) return false;
  const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, i);
  if (!sbIsNumber(d) || d->constraint_type != SANE_CONSTRAINT_RANGE) return false;
  double lo = sbToDouble(d, d->constraint.range->min), hi = sbToDouble(d, d->constraint.range->max);
  return sbSetNumber(h, name, lo + std::clamp(fraction, 0.0, 1.0) * (hi - lo));
}

static const char* sbFirstOffered(const SANE_Option_Descriptor* d, const std::vector<std::string>& wanted) {
  if (d->type != SANE_TYPE_STRING || d->constraint_type != SANE_CONSTRAINT_STRING_LIST) return nullptr;
  for (const std::string& w : wanted) {
    for (const SANE_String_Const* s = d->constraint.string_list; *s; ++s) {
      if (strncasecmp(*s, w.c_str(), w.size()) == 0) return *s;
    }
  }
  return nullptr;
}

bool sbSetChoice(SANE_Handle h, const char* name, const std::vector<std::string>& wanted) {
  int i = sbFindOption(h, name);
  if (i < 0) return false;
  const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, i);
  const char* value = sbFirstOffered(d, wanted);
  if (!value || !SANE_OPTION_IS_SETTABLE(d->cap)) return false;
  std::string buffer(std::max<size_t>(d->size, std::strlen(value) + 1), '\0');
  std::memcpy(buffer.data(), value, std::strlen(value));
  return sane_control_option(h, i, SANE_ACTION_SET_VALUE, buffer.data(), nullptr) == SANE_STATUS_GOOD;
}

bool sbOffers(SANE_Handle h, const char* name, const std::vector<std::string>& wanted) {
  int i = sbFindOption(h, name);
  return i >= 0 && sbFirstOffered(sane_get_option_descriptor(h, i), wanted) != nullptr;
}

bool sbCurrentIs(SANE_Handle h, const char* name, const std::vector<std::string>& wanted) {
  int i = sbFindOption(h, name);
  if (i < 0) return false;
  const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, i);
  if (d->type != SANE_TYPE_STRING || d->size <= 0) return false;
  std::string value(static_cast<size_t>(d->size), '\0');
  if (sane_control_option(h, i, SANE_ACTION_GET_VALUE, value.data(), nullptr) != SANE_STATUS_GOOD) return false;
  for (const std::string& w : wanted) {
    if (strncasecmp(value.c_str(), w.c_str(), w.size()) == 0) return true;
  }
  return false;
}

double sbGetNumber(SANE_Handle h, const char* name, double fallback) {
  int i = sbFindOption(h, name);
  if (i < 0) return fallback;
  const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, i);
  SANE_Word w = 0;
  if (!sbIsNumber(d) || sane_control_option(h, i, SANE_ACTION_GET_VALUE, &w, nullptr) != SANE_STATUS_GOOD) return fallback;
  return sbToDouble(d, w);
}

double sbRangeMax(SANE_Handle h, const char* name, double fallback) {
  int i = sbFindOption(h, name);
  if (i < 0) return fallback;
  const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, i);
  if (!sbIsNumber(d) || d->constraint_type != SANE_CONSTRAINT_RANGE) return fallback;
  return sbToDouble(d, d->constraint.range->max);
}
