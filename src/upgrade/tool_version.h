// The tool's own version, from the build's project version.
#pragma once

#include "dayledger_version.h"

namespace dayledger {

inline constexpr char kToolVersion[] = DAYLEDGER_TOOL_VERSION;

}  // namespace dayledger
