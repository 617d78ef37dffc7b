// The run's record: its name, its head, its lines and its pruning.
#include "floor/run_record.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "floor/tool_version.h"
#include "floor/version_steps.h"
#include "floor/words.h"
#include "platform/cp949_codec.h"
#include "state/file_names.h"
#include "state/version_code.h"
#include "texts/texts.h"

namespace dayledger {
namespace {

constexpr size_t kStampLength = 15;  // yyyymmdd-hhmmss

// A record's place in time: its stamp and its number in that second (1 for
// none), or nullopt for a name that is not a record's.
std::optional<std::pair<std::string, int>> RecordOrder(const std::string& name) {
  if (!name.ends_with(kRecordSuffix) || name.size() < kStampLength + sizeof kRecordSuffix - 1) {
    return std::nullopt;
  }
  const std::string stem = name.substr(0, name.size() - (sizeof kRecordSuffix - 1));
  const std::string stamp = stem.substr(0, kStampLength);
  for (size_t i = 0; i < stamp.size(); ++i) {
    if (i == 8 ? stamp[i] != '-' : (stamp[i] < '0' || stamp[i] > '9')) return std::nullopt;
  }
  if (stem.size() == kStampLength) return std::make_pair(stamp, 1);
  const std::string number = stem.substr(kStampLength);
  if (number.size() < 2 || number.size() > 6 || number[0] != '-' ||
      number.find_first_not_of("0123456789", 1) != std::string::npos) {
    return std::nullopt;
  }
  return std::make_pair(stamp, std::stoi(number.substr(1)));
}

// Removes all but the newest kRecordsKept records of the folder.
void Prune(Platform& platform, const Path& folder) {
  std::vector<std::pair<std::pair<std::string, int>, std::string>> records;
  // Pruning is a tidiness: a folder that cannot be listed keeps its records
  // until a later run, and so does a record that will not go.
  for (const FolderEntry& entry : platform.ListFolder(folder).value_or({})) {
    if (entry.folder) continue;
    if (const auto order = RecordOrder(entry.name)) records.emplace_back(*order, entry.name);
  }
  if (records.size() <= kRecordsKept) return;
  std::sort(records.begin(), records.end());
  for (size_t i = 0; i + kRecordsKept < records.size(); ++i) {
    IgnoreFailure(platform.DeleteFile(folder / records[i].second), "a later run prunes it");
  }
}

}  // namespace

std::string StampedLine(const LocalTime& now, const std::string& text) {
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "[%02d:%02d:%02d]", now.hour % 100, now.minute % 100,
                now.second % 100);
  return stamp + text;
}

std::string RecordStamp(const LocalTime& t) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", t.year % 10000, t.month % 100,
                t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
  return stamp;
}

RunRecord RunRecord::Begin(Installation& installation, const std::string& user,
                           const std::string& verb) {
  RunRecord record;
  Platform& platform = installation.platform();
  record.platform_ = &platform;
  const Path folder = installation.RecordsOf(user);
  // Or they are there already; a folder not made is told by the record's write.
  IgnoreFailure(installation.MakePlace(ToolPlace::kRecords), "the record's write tells");
  IgnoreFailure(platform.CreateDirectory(folder), "the record's write tells");
  const std::string stamp = RecordStamp(platform.Now());
  record.path_ = folder / (stamp + kRecordSuffix);
  // The first name the system says nothing bears, so that no record of a
  // run in the same second is written over. Where it cannot look at any of
  // a thousand, the last is taken, and the record's write says what is wrong.
  for (int n = 2; n <= 1000; ++n) {
    if (SurelyMissing(platform, record.path_)) break;
    record.path_ = folder / (stamp + "-" + std::to_string(n) + kRecordSuffix);
  }
  record.text_ = "\xEF\xBB\xBF";
  const Path store = installation.VirtualStore();
  for (const std::string& line : {
           texts::RecordTool(kToolVersion, ShownVersion(VersionChain::Standard().target())),
           Words(Say::kRecordSystem) + platform.SystemVersion(),
           Words(Say::kRecordInstallation) + installation.folder().text(),
           store.empty() ? std::string() : Words(Say::kRecordVirtualStore) + store.text(),
           Words(Say::kRecordUser) + Cp949ToUtf8Text(user),
           Words(Say::kRecordVerb) + verb,
       }) {
    if (!line.empty()) record.text_ += line + "\r\n";
  }
  record.Save();
  // The new record counts among those kept.
  Prune(platform, folder);
  return record;
}

void RunRecord::Line(const std::string& line) {
  if (!active()) return;
  // A notice of several lines keeps CR LF on each, for the Notepad of
  // Windows 7, which shows bare line feeds run together.
  for (size_t at = 0; at < line.size(); ++at) {
    if (line[at] == '\n' && (at == 0 || line[at - 1] != '\r')) text_ += '\r';
    text_ += line[at];
  }
  text_ += "\r\n";
}

void RunRecord::Note(const Reply& reply) {
  if (!active()) return;
  AddErrors(reply);
  Save();
}

void RunRecord::End(Reply* reply) {
  if (!active()) return;
  AddErrors(*reply);
  const bool done = reply->outcome == Outcome::kDone;
  Line(StampedLine(platform_->Now(), texts::RecordEnded(done, ExitStatusOf(reply->outcome))));
  Save();
  if (reply->outcome == Outcome::kStopped) NameRecord(path_, kept_, reply);
  if (kept_) reply->record = path_;
  platform_ = nullptr;
}

void RunRecord::AddErrors(const Reply& reply) {
  for (const Said& said : reply.said) {
    if (said.kind == NoticeKind::kError) {
      Line(StampedLine(platform_->Now(), Words(Say::kRecordError) + Worded(*platform_, said).text));
    }
  }
}

void RunRecord::Save() {
  // The record is a help, never a reason to stop: a failed write (or one
  // that ran out of memory) is only remembered, for the message to say so.
  // Each write holds the whole record.
  try {
    kept_ = platform_->WriteFile(path_, text_).ok();
  } catch (...) {
    kept_ = false;
  }
}

}  // namespace dayledger
