// The words people read, made in one place: what the core has to say is
// handed here as a kind and its facts, and an error that ends a verb as
// itself; this file makes the sentence (word for word as the windows and the
// terminal program show it, UTF-8). Every error that ends a verb becomes a
// notice with the error icon, shown under the application title.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "commit/commit.h"
#include "floor/notice.h"
#include "floor/reply.h"
#include "floor/said.h"
#include "platform/framework_error.h"
#include "platform/platform.h"

namespace dayledger {

// The sentence for `say`.
const char* Words(Say say);

// Sentences made with their facts.
namespace words {
// After kUserListMissing: where the list was looked for, and where the
// program belongs.
std::string UserListLookedFor(const std::string& path);
std::string InstallationAbove(const std::string& folder);
std::string RunAsOtherAccount(const std::string& running, const std::string& desktop);
std::string InstallationOfOtherAccount(const std::string& owner, const std::string& running);
std::string DiskTooFull(const std::string& needed_mb, const std::string& free_mb,
                        const std::string& where);
// What a step works on (kScheduleData, kAnniversaryData) and the version.
std::string LogStepStarting(const std::string& data, const std::string& shown_version);
std::string LogAllStepsDone(const std::string& data);
// What recovery did in a user's folder (not kNone).
std::string RecoveryNote(RecoveryAction action);
// After a recovery note: whose folder it is about.
std::string NoteUser(const std::string& user);
std::string RecordTool(const std::string& tool_version, const std::string& data_version);
std::string RecordEnded(bool done, int exit_status);
// Each with the target version as shown ("v 1.03.00").
std::string BackupNotOlder(const std::string& target);
std::string NotUpgraded(const std::string& target);
}  // namespace words

// The text as the report shows it (UTF-8, period rule applied): the one
// place where an error's kind and path become the words a person reads. It
// names the file and ends with the system's reason and code, when known.
std::string ReportedText(Platform& platform, const std::exception& error);
// What follows a failure's own sentence: the words for a virus scanner or
// a protected folder that stood behind it, and the system's reason and
// code, each on a line of its own; empty when the system gave no code.
std::string ReasonLines(Platform& platform, const Path& path, int code);

// The message for what the core told, as `platform` shows its places.
Notice Worded(Platform& platform, const Said& said);
// Every message of the reply, in order.
std::vector<Notice> WordedAll(Platform& platform, const Reply& reply);
// The words of the reply's last message; empty when it told nothing.
std::string LastWords(Platform& platform, const Reply& reply);

}  // namespace dayledger
