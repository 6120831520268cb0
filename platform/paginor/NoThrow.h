// The C calls let no exception out: running out of memory is memFullErr.
#pragma once

#include <new>

#include "paginor/Paginor.h"
#include "toolbox/MacErrors.h"

template <typename Call>
OSErr NoThrow(Call call) {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return memFullErr;
  } catch (...) {
    return kPaginorEngineErr;
  }
}
