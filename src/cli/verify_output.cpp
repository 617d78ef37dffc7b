// The verify report as a Korean summary or as one JSON object.
#include "cli/verify_output.h"

#include "platform/cp949_codec.h"
#include "texts/texts.h"

namespace dayledger::cli {
namespace {

std::string Month(const std::string& yyyymm) {
  return texts::ShownMonth(std::stoi(yyyymm.substr(0, 4)), std::stoi(yyyymm.substr(4, 2)));
}

}  // namespace

std::string VerifySummary(Platform& platform, const VerifyReport& report) {
  std::string out;
  auto count = [&out](const char* label, long long number, const char* unit) {
    out += label + std::to_string(number) + unit + "\n";
  };
  count(texts::kBackupEntries, report.backup_entries, texts::kEntryUnit);
  count(texts::kCurrentEntries, report.current_entries, texts::kEntryUnit);
  count(texts::kMissingEntries, report.missing.size(), texts::kEntryUnit);
  count(texts::kAddedEntries, report.added.size(), texts::kEntryUnit);
  count(texts::kEqualFiles, report.files_equal, texts::kFileUnit);
  count(texts::kDifferingFiles, report.files_differing.size(), texts::kFileUnit);
  for (const VerifyEntry& entry : report.missing) {
    out += texts::MissingEntry(Month(entry.month)) + Cp949ToUtf8Text(entry.line) + "\n";
  }
  for (const VerifyEntry& entry : report.added) {
    out += texts::kAddedEntry + Cp949ToUtf8Text(entry.line) + "\n";
  }
  for (const Path& path : report.files_differing) {
    out += texts::kDifferingFile + platform.Shown(path) + "\n";
  }
  if (report.count_found != report.count_expected) {
    out += texts::CountDiffers(report.count_found, report.count_expected) + "\n";
  }
  out += std::string(report.accounted_for() ? texts::kAllAccountedFor : texts::kSomethingMissing) +
         "\n";
  return out;
}

nlohmann::ordered_json VerifyJson(Platform& platform, const VerifyReport& report) {
  nlohmann::ordered_json missing = nlohmann::ordered_json::array();
  for (const VerifyEntry& entry : report.missing) {
    missing.push_back({{"month", entry.month}, {"line", Cp949ToUtf8Text(entry.line)}});
  }
  nlohmann::ordered_json added = nlohmann::ordered_json::array();
  for (const VerifyEntry& entry : report.added) added.push_back(Cp949ToUtf8Text(entry.line));
  nlohmann::ordered_json differing = nlohmann::ordered_json::array();
  for (const Path& path : report.files_differing) differing.push_back(platform.Shown(path));
  return {{"backup_entries", report.backup_entries},
          {"current_entries", report.current_entries},
          {"missing", missing},
          {"added", added},
          {"count_line",
           {{"expected", Cp949ToUtf8Text(report.count_expected)},
            {"found", Cp949ToUtf8Text(report.count_found)}}},
          {"files_equal", report.files_equal},
          {"files_differing", differing},
          {"accounted_for", report.accounted_for()}};
}

}  // namespace dayledger::cli
