// Group information, group and timetable files: always plain line files
// whose line 1 is the data version code.
#pragma once

#include <string>

namespace dayledger {

struct StageContext;

// Writes `code` into line 1 of group.qbd and of every *.qbd in groups\ and
// timetables\.
void UpgradeGroupData(const StageContext& ctx, const std::string& code);

}  // namespace dayledger
