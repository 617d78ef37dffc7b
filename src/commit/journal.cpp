// The journal's text: encoded with its checksum, decoded only when whole.
#include "commit/journal.h"

#include <charconv>

#include "digest/sha1.h"

namespace dayledger {
namespace {

// Each change to what the journal holds gets a new format number; older ones stay readable.
constexpr char kHeaderFirst[] = "dayledger journal 1\n";
// The second format's renames of files carry the size and digest of what
// the temporary holds.
constexpr char kHeader[] = "dayledger journal 2\n";
constexpr char kHeaderStem[] = "dayledger journal ";

// Whether the journal's first line is whole and names a format number
// other than this build's: a newer build wrote it. A line cut short or
// anything else there is a torn journal.
bool NamesOtherFormat(const std::string& bytes) {
  if (bytes.rfind(kHeaderStem, 0) != 0) return false;
  const size_t number = sizeof kHeaderStem - 1;
  const size_t end = bytes.find('\n', number);
  if (end == std::string::npos || end == number) return false;
  for (size_t at = number; at < end; ++at) {
    if (bytes[at] < '0' || bytes[at] > '9') return false;
  }
  return bytes.rfind(kHeaderFirst, 0) != 0 && bytes.rfind(kHeader, 0) != 0;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

// A rename's recorded size; kDamaged for anything but a whole number.
Result<unsigned long long> ParsedSize(const std::string& text) {
  unsigned long long size = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, size);
  if (text.empty() || error != std::errc() || at != end) {
    return Status::Failed(StatusKind::kDamaged, Path());
  }
  return size;
}

}  // namespace

std::string EncodeJournal(const Journal& journal) {
  std::string body = kHeader;
  for (const JournalRename& rename : journal.renames) {
    body += "R\t" + rename.temporary + "\t" + rename.target;
    // In steps: the Windows compiler takes a sum with a literal first for
    // an overlapping copy.
    if (rename.checked)
      body.append("\t").append(std::to_string(rename.size)).append("\t").append(rename.digest);
    body += "\n";
  }
  for (const std::string& path : journal.deletions) body += "D\t" + path + "\n";
  for (const std::string& folder : journal.removed_folders) body += "X\t" + folder + "\n";
  for (const std::string& folder : journal.folders) body += "F\t" + folder + "\n";
  return body + "C\t" + HexDigest(body) + "\n";
}

Result<Journal> DecodeJournal(const std::string& bytes) {
  const Status torn = Status::Failed(StatusKind::kDamaged, Path());
  // Its checksum may be made otherwise too: only the format's own build can
  // tell whether such a journal is whole.
  if (NamesOtherFormat(bytes)) return Status::Failed(StatusKind::kNewerFormat, Path());
  const size_t last = bytes.rfind("C\t");
  const bool first_format = bytes.rfind(kHeaderFirst, 0) == 0;
  if ((!first_format && bytes.rfind(kHeader, 0) != 0) || last == std::string::npos ||
      bytes.back() != '\n') {
    return torn;
  }
  const std::string body = bytes.substr(0, last);
  if (bytes.substr(last) != "C\t" + HexDigest(body) + "\n") return torn;
  Journal journal;
  size_t start = sizeof kHeader - 1;
  while (start < body.size()) {
    const size_t end = body.find('\n', start);
    const std::vector<std::string> fields = Fields(body.substr(start, end - start));
    start = end + 1;
    if (fields[0] == "R" && fields.size() == 3) {
      journal.renames.push_back({fields[1], fields[2]});
    } else if (fields[0] == "R" && fields.size() == 5 && !first_format) {
      JournalRename rename{fields[1], fields[2], true, 0, fields[4]};
      const Result<unsigned long long> size = ParsedSize(fields[3]);
      if (!size.ok()) return torn;
      rename.size = *size;
      journal.renames.push_back(rename);
    } else if (fields[0] == "D" && fields.size() == 2) {
      journal.deletions.push_back(fields[1]);
    } else if (fields[0] == "X" && fields.size() == 2) {
      journal.removed_folders.push_back(fields[1]);
    } else if (fields[0] == "F" && fields.size() == 2) {
      journal.folders.push_back(fields[1]);
    } else {
      return torn;
    }
  }
  return journal;
}

}  // namespace dayledger
