// The anniversary work of the three version steps: the templates copied in,
// then `code`, the version the step brings the data to, stamped.
// Anniversary files are always plain.
#pragma once

#include <array>
#include <string>

namespace dayledger {

struct StageContext;

// Copy order, from the templates.
inline const std::array<std::string, 4> kAnniversaryCopyOrder = {
    "anniversary_holiday.qbd", "anniversary_24term.qbd", "anniversary_celebrate.qbd",
    "anniversary_user.qbd"};
// Rewrite order of the version steps.
inline const std::array<std::string, 4> kAnniversaryRewriteOrder = {
    "anniversary_24term.qbd", "anniversary_celebrate.qbd", "anniversary_holiday.qbd",
    "anniversary_user.qbd"};

// Creates the anniversary folder and copies the four templates into it.
void CopyAnniversaryTemplates(const StageContext& ctx);
// Writes `code` into line 1 of the four files.
void StampAnniversaryFiles(const StageContext& ctx, const std::string& code);

void UpgradeAnniversariesTo101(const StageContext& ctx, const std::string& code);
void UpgradeAnniversariesTo102(const StageContext& ctx, const std::string& code);
void UpgradeAnniversariesTo103(const StageContext& ctx, const std::string& code);

}  // namespace dayledger
