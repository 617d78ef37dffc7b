// The log texts (without time stamps) of a whole upgrade run, as the tool
// must write them, for a user starting at `version`; and the texts of a log
// as written.
#pragma once

#include <string>
#include <vector>

namespace dayledger::testing {

std::vector<std::string> ExpectedScheduleLog(const std::string& version);
std::vector<std::string> ExpectedAnniversaryLog(const std::string& version);
// From the start button to "업그레이드 완료!", backup taken.
std::vector<std::string> ExpectedRunLog(const std::string& version);

// The lines without their "[hh:mm:ss]" stamps.
std::vector<std::string> WithoutStamps(const std::vector<std::string>& lines);

}  // namespace dayledger::testing
