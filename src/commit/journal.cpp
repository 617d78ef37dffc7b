// The journal's text: encoded with its checksum, decoded only when whole.
#include "commit/journal.h"

#include "digest/sha1.h"

namespace dayledger {
namespace {

constexpr char kHeader[] = "dayledger journal 1\n";

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

}  // namespace

std::string EncodeJournal(const Journal& journal) {
  std::string body = kHeader;
  for (const auto& [temporary, target] : journal.renames)
    body += "R\t" + temporary + "\t" + target + "\n";
  for (const std::string& path : journal.deletions) body += "D\t" + path + "\n";
  for (const std::string& folder : journal.removed_folders) body += "X\t" + folder + "\n";
  for (const std::string& folder : journal.folders) body += "F\t" + folder + "\n";
  return body + "C\t" + HexDigest(body) + "\n";
}

std::optional<Journal> DecodeJournal(const std::string& bytes) {
  const size_t last = bytes.rfind("C\t");
  if (bytes.rfind(kHeader, 0) != 0 || last == std::string::npos || bytes.back() != '\n') {
    return std::nullopt;
  }
  const std::string body = bytes.substr(0, last);
  if (bytes.substr(last) != "C\t" + HexDigest(body) + "\n") return std::nullopt;
  Journal journal;
  size_t start = sizeof kHeader - 1;
  while (start < body.size()) {
    const size_t end = body.find('\n', start);
    const std::vector<std::string> fields = Fields(body.substr(start, end - start));
    start = end + 1;
    if (fields[0] == "R" && fields.size() == 3) {
      journal.renames.emplace_back(fields[1], fields[2]);
    } else if (fields[0] == "D" && fields.size() == 2) {
      journal.deletions.push_back(fields[1]);
    } else if (fields[0] == "X" && fields.size() == 2) {
      journal.removed_folders.push_back(fields[1]);
    } else if (fields[0] == "F" && fields.size() == 2) {
      journal.folders.push_back(fields[1]);
    } else {
      return std::nullopt;
    }
  }
  return journal;
}

}  // namespace dayledger
