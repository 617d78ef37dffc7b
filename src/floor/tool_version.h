// The tool's own version, from the build's project version.
#pragma once

#include "dayledger_version.h"

namespace dayledger {

inline constexpr char kToolVersion[] = DAYLEDGER_TOOL_VERSION;
// What the window's corner label says of the tool.
inline constexpr char kToolCaption[] = DAYLEDGER_TOOL_CAPTION;

}  // namespace dayledger
