// Whether a Result holds a value equal to the one a test expects; a
// failure holds none.
#pragma once

#include "platform/status.h"

namespace dayledger::testing {

template <typename T>
bool HoldsValue(const Result<T>& result, const T& value) {
  return result.ok() && *result == value;
}

}  // namespace dayledger::testing
