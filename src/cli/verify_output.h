// How `dayledger-upgrade verify` shows its report: a Korean summary with
// the missing, added and differing items, or a JSON object for scripts.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "platform/platform.h"
#include "verify/verify.h"

namespace dayledger::cli {

// UTF-8 text for standard output; entry lines and paths decoded from CP949.
std::string VerifySummary(Platform& platform, const VerifyReport& report);
nlohmann::ordered_json VerifyJson(Platform& platform, const VerifyReport& report);

}  // namespace dayledger::cli
