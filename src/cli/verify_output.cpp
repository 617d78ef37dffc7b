// The verify report as a Korean summary or as one JSON object.
#include "cli/verify_output.h"

#include <cstdio>
#include <functional>

namespace dayledger::cli {
namespace {

std::string Month(const std::string& yyyymm) {
  return yyyymm.substr(0, 4) + "년 " + std::to_string(std::stoi(yyyymm.substr(4, 2))) + "월";
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
  out += "백업의 일정 : " + std::to_string(report.backup_entries) + "건\n";
  out += "현재의 일정 : " + std::to_string(report.current_entries) + "건\n";
  out += "없어진 일정 : " + std::to_string(report.missing.size()) + "건\n";
  out += "추가된 일정 : " + std::to_string(report.added.size()) + "건\n";
  out += "같은 파일 : " + std::to_string(report.files_equal) + "개\n";
  out += "다른 파일 : " + std::to_string(report.files_differing.size()) + "개\n";
  for (const VerifyEntry& entry : report.missing) {
    out +=
        " - 없어진 일정 (" + Month(entry.month) + ") : " + platform.Cp949ToUtf8(entry.line) + "\n";
  }
  for (const VerifyEntry& entry : report.added) {
    out += " - 추가된 일정 : " + platform.Cp949ToUtf8(entry.line) + "\n";
  }
  for (const std::string& path : report.files_differing) {
    out += " - 다른 파일 : " + platform.Cp949ToUtf8(path) + "\n";
  }
  if (report.count_found != report.count_expected) {
    out += " - 일정 개수가 다릅니다 : " + report.count_found + " (백업으로 계산한 값 " +
           report.count_expected + ")\n";
  }
  out += report.accounted_for() ? "백업의 데이터가 모두 그대로 있습니다.\n"
                                : "백업의 데이터 가운데 없어지거나 달라진 것이 있습니다.\n";
  return out;
}

std::string VerifyJson(Platform& platform, const VerifyReport& report) {
  const std::function<std::string(const VerifyEntry&)> missing = [&](const VerifyEntry& entry) {
    return "{\"month\":" + Quoted(entry.month) +
           ",\"line\":" + Quoted(platform.Cp949ToUtf8(entry.line)) + "}";
  };
  const std::function<std::string(const VerifyEntry&)> added = [&](const VerifyEntry& entry) {
    return Quoted(platform.Cp949ToUtf8(entry.line));
  };
  const std::function<std::string(const std::string&)> path = [&](const std::string& p) {
    return Quoted(platform.Cp949ToUtf8(p));
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
