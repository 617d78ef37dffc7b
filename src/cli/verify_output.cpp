// The verify report as a Korean summary or as one JSON object.
#include "cli/verify_output.h"

#include <cstdio>
#include <functional>

#include "platform/cp949_codec.h"
#include "texts/texts.h"

namespace dayledger::cli {
namespace {

std::string Month(const std::string& yyyymm) {
  return texts::ShownMonth(std::stoi(yyyymm.substr(0, 4)), std::stoi(yyyymm.substr(4, 2)));
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

template <typename Item>
std::string JsonList(const std::vector<Item>& items,
                     const std::function<std::string(const Item&)>& one) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += ',';
    out += one(items[i]);
  }
  return out + "]";
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

std::string VerifyJson(Platform& platform, const VerifyReport& report) {
  const std::function<std::string(const VerifyEntry&)> missing = [&](const VerifyEntry& entry) {
    return "{\"month\":" + Quoted(entry.month) +
           ",\"line\":" + Quoted(Cp949ToUtf8Text(entry.line)) + "}";
  };
  const std::function<std::string(const VerifyEntry&)> added = [&](const VerifyEntry& entry) {
    return Quoted(Cp949ToUtf8Text(entry.line));
  };
  const std::function<std::string(const Path&)> path = [&](const Path& p) {
    return Quoted(platform.Shown(p));
  };
  return "{\"backup_entries\":" + std::to_string(report.backup_entries) +
         ",\"current_entries\":" + std::to_string(report.current_entries) +
         ",\"missing\":" + JsonList(report.missing, missing) +
         ",\"added\":" + JsonList(report.added, added) +
         ",\"count_line\":{\"expected\":" + Quoted(report.count_expected) +
         ",\"found\":" + Quoted(report.count_found) + "}" +
         ",\"files_equal\":" + std::to_string(report.files_equal) +
         ",\"files_differing\":" + JsonList(report.files_differing, path) +
         ",\"accounted_for\":" + (report.accounted_for() ? "true" : "false") + "}\n";
}

}  // namespace dayledger::cli
